// Pile-head deflection against pile length: one load case re-solved for piles cut to
// 100 %, 95 %, ... 5 % of the whole-unit pile length.
#pragma once
namespace zarno {
struct AnalysisModel;
// Re-solves load case n for the candidate lengths that reach at least one step below the
// ground surface, reports the converged points (report table, plot Lines 11 and 12) and
// leaves the pile, its stations and the report options as they were.
void Compute_Top_Deflection_vs_Length(AnalysisModel& m, int n);
// Candidate length i = 0 .. 19 for a pile of length L: (1 - 0.05 i) times the whole-unit
// part of L, in single precision as the length table has always been computed.
double Candidate_Pile_Length(double L, int i);
} // namespace zarno
