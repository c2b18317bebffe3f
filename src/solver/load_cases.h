#pragma once
namespace zarno {
struct AnalysisModel;
// Iterates every load case of the run to convergence and reports its results.
void Run_Load_Cases(AnalysisModel& m);
} // namespace zarno
