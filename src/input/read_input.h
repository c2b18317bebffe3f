// The keyword loop of the input file and its block readers.
#pragma once

namespace zarno {

struct AnalysisModel;

// Reads every block of the input file up to END; returns with RunStatus set on the first
// fatal input error.
void Read_Input_Data(AnalysisModel& m);
void Read_Title(AnalysisModel& m);

} // namespace zarno
