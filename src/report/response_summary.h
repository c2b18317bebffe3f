#pragma once
namespace zarno {
struct AnalysisModel;
// Summary table of the pile-head responses of all load cases.
void Write_Pile_Response_Summary(AnalysisModel& m);
} // namespace zarno
