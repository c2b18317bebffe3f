#pragma once

#include <string>
namespace zarno {
struct AnalysisModel;
// Iterates every load case of the run to convergence and reports its results.
void Run_Load_Cases(AnalysisModel& m);
// Bending stiffness of every node from the section tables for thrust index t (Q in the
// tables' units); elastic sections keep their elastic stiffness.
void Update_Nonlinear_EI(AnalysisModel& m, int t, double Q);
// The station values of a case that depend only on the stations (m.Lateral.Inputs): depth,
// section, the section properties at the depth and the applied distributed load. Taken
// once when a case is prepared; the results and the stiffness update read them from there.
void Fill_Result_Inputs(AnalysisModel& m);

// What the converged state of the current case satisfies. A converged iteration has only
// stopped moving; this says whether where it stopped is an answer: every station's moment
// (its stiffness times its curvature) on its section's moment-curvature table at that
// curvature, and the pile as a whole in balance (soil reactions and applied loads against
// the head shear and moment).
struct ConvergedStateCheck {
    bool checked = false;
    bool balance_checked = false; // the balance below applies (no monopile springs)
    double Table_Residual = 0.0;  // largest |M - M_table(phi)| / M_table(phi) over the stations
    int Table_Node = 0;           // where
    double Node_Moment = 0.0;     // |M| there and the table's moment, computation units
    double Table_Moment = 0.0;
    double Head_Shear = 0.0; // applied or computed, computation units
    double Head_Moment = 0.0;
    double Force_Imbalance = 0.0;  // tip shear - head shear - integral of (w - k y)
    double Moment_Imbalance = 0.0; // about the head
    double Force_Ratio = 0.0;      // |imbalance| / largest force term
    double Moment_Ratio = 0.0;     // |imbalance| / largest moment term
};
ConvergedStateCheck Check_Converged_State(AnalysisModel& m);

// The station of the current deflections whose section has reached its moment capacity (the
// nominal capacity Mn, or the plastic moment of an elastic-plastic section) at its
// curvature, the one furthest beyond it; reached false when none has.
struct CapacityReached {
    bool reached = false;
    int node = 0;
    int section = 0;
    double Depth = 0.0;       // computation units
    double Moment = 0.0;      // the section's moment at the station's curvature
    double Mn = 0.0;          // its nominal capacity
    double Last_Moment = 0.0; // moment of the last point of its table
};
CapacityReached Find_Capacity_Reached(AnalysisModel& m);
// Stops the run for load case c with the capacity reached and what was seen.
int Write_Capacity_Reached(AnalysisModel& m, int c, const CapacityReached& cap,
                           const std::string& seen);

// Services of one load case, shared with the pile-head stiffness and the deflection versus
// pile length analyses. Each returns false when RunStatus was set.
// Stations for a pile of length L, sections, layers, soil movements, starting springs, the
// first p-y pass and the head conditions of load c. An ordinary case also writes its
// progress line and clears the warning tallies.
bool Prepare_Case(AnalysisModel& m, int c, double L, bool ordinary);
// Prepare_Case for a candidate length of the deflection-versus-length analysis (no progress
// line): a pile left without any soil support sets `unsupported` and is not an error there.
bool Prepare_Length_Case(AnalysisModel& m, int c, double L, bool& unsupported);
// Bending stiffness of every node for the thrust of the current case (nonlinear runs).
bool Update_Case_EI(AnalysisModel& m);
// One solution of the linear model, written into the one store of the deflections
// (m.Lateral.Solution) that every consumer reads.
bool Solve_Case_Pass(AnalysisModel& m, int i);
// The same for a trial pile whose loss of stability is an answer rather than a fault (the
// shorter piles of the length sweep): a buckled pile sets `buckled` and returns false
// without stopping the run; any other failure stops it as in Solve_Case_Pass.
bool Solve_Trial_Pass(AnalysisModel& m, int i, bool& buckled);
// p-y springs of every layer at the current deflections.
bool Regenerate_Case_Springs(AnalysisModel& m);
// Moments, shears and reactions of every station from the current deflections, with the
// running maxima cleared first.
void Compute_Case_Node_Results(AnalysisModel& m);
// Results of a converged case; in stiffness mode only its pile-head values are kept.
void Write_Case_Results(AnalysisModel& m, int n, int iterations, bool stiffness_mode);
} // namespace zarno
