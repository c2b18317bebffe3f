#pragma once
namespace zarno {
struct AnalysisModel;
// Pile-head stiffness matrix from twenty internal load cases.
void Compute_Pile_Head_Stiffness(AnalysisModel& m);
} // namespace zarno
