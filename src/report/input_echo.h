#pragma once
namespace zarno {
struct AnalysisModel;
// Writes the input data back to the report, block by block, and checks the input's
// cross-block consistency.
void Write_Input_Echo(AnalysisModel& m);
// The blocks of the echo (title, options, sections, soil, loads) with their checks.
void Write_Input_Blocks(AnalysisModel& m);
} // namespace zarno
