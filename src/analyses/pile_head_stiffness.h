// Secant stiffness of the pile head at ten load levels: K22 and K32 from a fixed-head pile
// under a shear, K23 and K33 from a head held at zero deflection under a moment.
#pragma once
namespace zarno {
struct AnalysisModel;
struct LoadCaseSummary;
// Runs the twenty stiffness load cases through the load-case machinery when the run asks
// for the stiffness matrix, and reports the terms. The load table and the number of load
// cases are as before on return.
void Compute_Pile_Head_Stiffness(AnalysisModel& m);
// Keeps the pile-head values of converged stiffness case n; after the last case derives
// the stiffness terms and writes the report block and the plot records.
void Record_Stiffness_Case(AnalysisModel& m, int n, const LoadCaseSummary& head);
} // namespace zarno
