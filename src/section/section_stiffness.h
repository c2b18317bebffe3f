#pragma once
namespace zarno {
struct AnalysisModel;
// Computes the moment-curvature relation, nominal moment capacity and bending stiffness
// table of pile section k for every axial thrust of the run.
void Compute_Section_Stiffness(AnalysisModel& m, int k);
} // namespace zarno
