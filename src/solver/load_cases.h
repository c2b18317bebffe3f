#pragma once
namespace zarno {
struct AnalysisModel;
// Iterates every load case of the run to convergence and reports its results.
void Run_Load_Cases(AnalysisModel& m);
// Bending stiffness of every node from the section tables for thrust index t (Q in the
// tables' units); elastic sections keep their elastic stiffness.
void Update_Nonlinear_EI(AnalysisModel& m, int t, double Q);
// Secant stiffness of node i from the table of section s and thrust index t.
double EI_From_Table(AnalysisModel& m, int i, int s, int t);
} // namespace zarno
