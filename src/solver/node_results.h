// Structural response at the stations of a solved pile, and the check that the solution
// is in force and moment balance segment by segment.
//
// Moments, shears and slopes follow from the deflections by central differences (one-sided
// at the head when deflection and slope are imposed there); the soil reaction is the
// spring force p = -Es (y - u). The balance check integrates the net lateral load
// f = w - Es y over each segment and compares the moment and shear carried across it with
// those computed at its ends.
#pragma once

#include "engine/capacities.h"
#include "solver/fd_solver.h"

#include <array>
#include <string_view>

namespace zarno {

class TextFile;

// Station data the results need beyond the solver's: depth along the pile, section
// properties for the combined stress, the section each station belongs to, and the average
// distributed load used for the reaction with soil movements. All of it depends only on the
// stations and the load case, so it is taken once when a case is prepared; the stiffness
// update reads the elastic stiffness from here as well.
struct NodeResultInputs {
    NodeValues Depth{};         // X(m), below the pile head
    NodeValues Dist_Load_Avg{}; // distributed load at X(m)
    NodeValues Inertia{};       // I at X(m)
    NodeValues Area{};          // A at X(m)
    NodeValues Elastic_EI{};    // elastic EI at X(m), which an elastic-plastic section keeps
                                // below its plastic moment
    // Width whose half is the extreme fibre distance: the pile width, or for an embedded
    // pole the pole's own diameter rather than that of the drilled hole.
    NodeValues Stress_Width{};
    StationArray<int, 1, MAX_NODES> i_Section{}; // section number of the station, 1 .. 20
    bool b_Use_Soil_Movement = false;
};

// Results per station, 1 .. N.
struct NodeResults {
    NodeValues Curvature{};
    NodeValues Moment{};
    NodeValues Slope{}; // as printed (type 5: the imposed head slope)
    NodeValues Shear{};
    NodeValues Soil_Reaction{};
    NodeValues Stress{};
    double Head_Slope_Computed = 0.0; // S1c, from the deflections
    // Head moment the balance check starts from: the computed one, or the imposed one for
    // loading types 1 and 4.
    double Balance_Head_Moment = 0.0;
};

// Running maxima of one solution, and the per-section maxima of the current load case.
struct ResultMaxima {
    double Moment = 0.0; // of largest magnitude, signed
    double Moment_Depth = 0.0;
    double Shear = 0.0;
    double Shear_Depth = 0.0;
    double Stress = 0.0;
    std::array<double, MAX_SECTIONS + 1> Section_Moment{};
    std::array<int, MAX_SECTIONS + 1> i_Section_Moment_Node{};
    std::array<double, MAX_SECTIONS + 1> Section_Shear{};
    std::array<int, MAX_SECTIONS + 1> i_Section_Shear_Node{};
};

// Clears the largest moment, shear and stress (before each solution and at the start of
// the results of a case).
void Clear_Running_Maxima(ResultMaxima& mx);
// Clears the per-section entries (before the results of a case are written).
void Clear_Section_Maxima(ResultMaxima& mx);

// Curvature and bending moment of station m (1 .. N) from the deflections of s: the second
// difference at the station (with the fictitious station above the head), none at the free
// tip (a monopile tip: the moment of its base spring). p must already carry the head stiffness at
// station 2 (see Compute_Node_Results).
struct NodeBending {
    double Curvature = 0.0;
    double Moment = 0.0;
};
// Inline: the stiffness update takes it at every station of every pass.
inline NodeBending Node_Bending(int m, const FdPileModel& p, const FdSolution& s) {
    const int N = p.i_Num_Nodes;
    const double h = p.Increment;
    const double h2 = h * h;
    NodeBending b;
    if (m == 1) {
        b.Curvature = (s.y(2) - 2.0 * s.y(1) + s.y(0)) / h2;
        b.Moment = p.EI[1] * b.Curvature;
    } else if (m != N) {
        b.Curvature = (s.y(m + 1) - 2.0 * s.y(m) + s.y(m - 1)) / h2;
        b.Moment = p.EI[m] * b.Curvature;
    } else if (p.Base_Moment_Spring != 0.0) {
        // A monopile tip carries the base moment, which resists the tip's rotation.
        b.Moment = -p.Base_Moment_Spring * (s.y(N + 1) - s.y(N - 1)) / (2.0 * h);
        b.Curvature = p.EI[N] != 0.0 ? b.Moment / p.EI[N] : 0.0;
    }
    return b;
}

// The distributed moment of a monopile's springs at station m, Km dy/dx, taken as the mean of
// the spring fluxes between the station and its neighbours (the difference equations' form);
// 0 where no such spring acts.
double Distributed_Moment_Flux(const FdPileModel& p, const FdSolution& s, int m);

// Only the curvature and moment of station m, for the stiffness update, which reads no
// other result: the same values and the same change of p as Compute_Node_Results, without
// the shear, slope, reaction, stress and maxima that every writer of results computes
// afresh from the converged deflections.
void Compute_Node_Bending(int m, FdPileModel& p, const FdSolution& s, NodeResults& r);

// Results of station m (1 .. N) from the deflections of s. Stations are computed in order:
// station 2 uses the head moment of the last call for station 1. Before anything else the
// EI of station 2 is set to that of the head station in p, as the head treatment of the
// difference scheme requires; the change stays in p.
void Compute_Node_Results(int m, FdPileModel& p, const NodeResultInputs& in, const FdSolution& s,
                          NodeResults& r, ResultMaxima& mx);

// Balance check state of one load case.
struct EquilibriumCheck {
    double M_a = 0.0;    // moment at the upper end of the segment
    double M_b = 0.0;    // moment at the lower end
    double V_a = 0.0;    // shear at the upper end
    double S_a = 0.0;    // slope at the upper end
    double dM_max = 0.0; // moment imbalance of largest magnitude, signed
    int i_dM_Index = 0;  // call index where it occurred (segment i-2 .. i-1)
    double dV_max = 0.0; // lateral force imbalance of largest magnitude, signed
    int i_dV_Index = 0;
};

void Clear_Equilibrium_Check(EquilibriumCheck& e);

// How and where the verdict of the closing call is written.
struct EquilibriumReporting {
    int IUNITS = 1;
    bool b_Print_Summary_Only = false;
    bool b_Compute_Kmatrix = false;
    std::string_view Length_Label; // unit labels of the report, trailing blanks allowed
    std::string_view Force_Label;
};

// Moment imbalance limit of the verdict: 1 in-lb, or its equivalent in kN-m. GENERAL units
// have no limit and get no verdict.
inline constexpr double BALANCE_LIMIT_USCS = 1.0;
inline constexpr double BALANCE_LIMIT_SI = 0.00011298;

// Warning code of the balance warning ("Possible Solution Error 5501"), recorded by the
// load-case loop whenever the verdict writes that block.
inline constexpr int WARNING_SOLUTION_BALANCE = -5501;

// Whether the closing verdict of a final solution writes the balance warning: a moment
// imbalance beyond the limit of the unit system (none in GENERAL units).
bool Balance_Warning_Due(int IUNITS, const EquilibriumCheck& e);

// Call i (3 .. N, after Compute_Node_Results of station i) checks the segment from station
// i - 2 to i - 1; the closing call i = N + 1 checks the segment N - 1 .. N and writes the
// verdict: the "Output Verification" line when the moment imbalance is within the limit,
// the balance warning blocks when it is not and final is 1.
void Check_Segment_Equilibrium(int i, int final, const FdPileModel& p, const FdSolution& s,
                               const NodeResults& r, EquilibriumCheck& e,
                               const EquilibriumReporting& out, TextFile& report,
                               TextFile& messages);

// The verdict alone, as the closing call writes it.
void Write_Equilibrium_Verdict(int final, const EquilibriumCheck& e,
                               const EquilibriumReporting& out, TextFile& report,
                               TextFile& messages);

} // namespace zarno
