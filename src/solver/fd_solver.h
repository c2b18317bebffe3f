// Finite-difference solution of the laterally loaded pile as a beam-column on springs.
//
// The pile is divided into N stations, 1 at the head and N at the tip, spaced h apart.
// At every station the fourth-order equation
//
//     d2/dx2 (EI d2y/dx2) + Q d2y/dx2 + Es y = w
//
// is written with central differences; this needs two fictitious stations above the head
// (y0, y-1) and one below the tip (yN+1). The tip carries zero moment and the tip shear
// force, which lets the rows be reduced from the tip upwards to
//
//     y(m) = A2(m) y(m-1) - A1(m) y(m-2) + F(m) + T(m),
//
// a two-term recurrence. The five unknowns at the head (y3 .. y-1) then follow from the
// reduced rows of stations 1 to 3 and the two pile-head conditions, and the recurrence is
// run down again. The cost is linear in the number of stations; no full matrix is formed.
//
// Sign conventions: x downwards along the pile, slope S = dy/dx, moment M = EI d2y/dx2,
// shear V = EI d3y/dx3 + Q dy/dx, axial thrust Q positive in compression, soil reaction
// p = -Es y.
#pragma once

#include "engine/capacities.h"
#include "engine/model_entities.h"
#include "engine/station_array.h"

#include <array>

namespace zarno {

class TextFile;

// Pile-head loading types: the two conditions imposed at the head.
inline constexpr int LOADING_SHEAR_MOMENT = 1;      // V and M
inline constexpr int LOADING_SHEAR_SLOPE = 2;       // V and S (S = 0: fixed head)
inline constexpr int LOADING_SHEAR_ROTATIONAL = 3;  // V and kr = M / S
inline constexpr int LOADING_DEFLECTION_MOMENT = 4; // yt and M
inline constexpr int LOADING_DEFLECTION_SLOPE = 5;  // yt and S

// A pivot of smaller magnitude than this means the equations have no usable solution.
inline constexpr double SMALL_PIVOT_LIMIT = 1.0e-50;

// Fewest stations the difference scheme can work with: the head system uses the reduced
// rows of stations 1 to 3 and the head shear uses station 4.
inline constexpr int MIN_SOLVER_NODES = 5;

// A value at each node, stations 1 .. N.
using NodeValues = StationArray<double, 1, MAX_NODES>;
// A deflection at each node and at the fictitious stations: two above the head (0, -1) and
// one below the tip (N + 1).
using StationDeflections = StationArray<double, -1, MAX_NODES + 1>;

// The linear problem of one solution: stiffness, springs and loads of the current
// iteration. Station arrays are indexed by station, 1 .. i_Num_Nodes.
struct FdPileModel {
    int i_Num_Nodes = 0;       // N
    double Increment = 0.0;    // h, the distance between stations
    double Axial_Thrust = 0.0; // Q, compression positive

    int i_Loading_Type = LOADING_SHEAR_MOMENT;
    // Condition 1: head shear (types 1-3) or head deflection (types 4, 5).
    // Condition 2: head moment (types 1, 4), head slope (types 2, 5) or rotational
    // stiffness M / S (type 3).
    double Condition_1 = 0.0;
    double Condition_2 = 0.0;

    // The head station and station 2 each keep their own bending stiffness in the head
    // conditions, the moments and the shears. Off, station 2 takes the head's stiffness
    // wherever the head differences reach it (the classic treatment): exact while the top
    // stations share one stiffness, but once the head cracks and station 2 does not, the
    // head shear then disagrees with the station equations, the iteration can cycle and the
    // converged moments miss their own balance. Switched on per load case by the load-case
    // loop when the classic treatment fails (see load_cases.cpp).
    bool Own_Head_Stiffness = false;

    NodeValues EI{};            // R(m), bending stiffness
    NodeValues Es{};            // k(m), secant soil modulus (F/L2)
    NodeValues Dist_Load{};     // distributed lateral load (F/L)
    NodeValues Movement_Load{}; // Es(m) u(m) with soil movements
    NodeValues Soil_Movement{}; // u(m), free-field soil movement

    // Shear resistance at the tip as a function of tip displacement.
    int i_Num_Tip_Shear_Points = 0;
    std::array<TipShearPoint, MAX_TIP_SHEAR_POINTS + 1> Tip_Shear{};

    // Monopile (PISA) layers: secant spring of the distributed moment at each station
    // (moment per length per radian), and the base shear (F/L) and base moment (F L / rad)
    // springs at the tip. All zero for every other soil.
    NodeValues Km{};
    double Base_Shear_Spring = 0.0;
    double Base_Moment_Spring = 0.0;

    // w(m): the lateral load term of the difference equation.
    double Load_Term(int m) const { return Dist_Load[m] + Movement_Load[m]; }

    // Whether any distributed moment or base spring acts: the equations then take the
    // general banded solution (fd_monopile.cpp) instead of the two-term recurrence.
    bool Has_Monopile_Springs() const;
};

// Deflections of the current solution and the convergence measures. Kept between the
// iterations of a load case: the previous deflections give the tip shear and the change.
// This is the one store of the pile's deflections: the soil springs, the results and the
// additional analyses all read it here.
struct FdSolution {
    StationDeflections Y{}; // y(m), m = -1 .. N + 1
    double y(int m) const { return Y[m]; }
    double& y(int m) { return Y[m]; }

    double dYmax = 0.0;          // largest change of deflection over stations 1 .. N
    int i_dYmax_Node = 0;        // where it occurred (2 when at station 1 or 2)
    double Delta_dYmax = 0.0;    // change of dYmax from the previous solution
    double Previous_dYmax = 0.0; // dYmax of the previous solution
    double V_Tip = 0.0;          // tip shear used by the last solution
    int i_Unstable_Node = 0;     // station where the last solution lost stability, 0 if none
};

// Clears the deflections and the convergence measures (start of a load case).
void Clear_Solution(FdSolution& s);

enum class Solve_Result {
    Solved,
    Small_Pivot,   // RUN00011: the message block is written, the caller raises the error
    Invalid_Model, // station count, increment or loading type outside the solver's range
    Unstable,      // the axial thrust exceeds the buckling load: no deflections are returned
};

// The head system, at most 5 x 5, stored column by column as it is dumped on failure.
struct HeadSystem {
    int n = 5;
    OneBasedArray<double, 25> F{}; // F[(c - 1) * 5 + r], r, c = 1 .. 5
    OneBasedArray<double, 5> G{};  // right-hand side
    OneBasedArray<double, 5> YG{}; // solution
    int Determinant_Sign = 0;      // sign of the determinant, from the pivots of the elimination
    double& a(int r, int c) { return F[(c - 1) * 5 + r]; }
    double a(int r, int c) const { return F[(c - 1) * 5 + r]; }
};

// Gaussian elimination without row exchange, pivot test on every column. On a small pivot
// writes the RUN00011 block (with the three dumps on the report) and returns Small_Pivot.
Solve_Result Solve_Head_System(HeadSystem& hs, TextFile& report, TextFile& messages);

// Writes the RUN00011 block: the problem and solution text to both files, the dumps of
// the head system to the report only. node is the column or station, pivot its value.
void Write_Small_Pivot_Error(int node, double pivot, const HeadSystem& hs, TextFile& report,
                             TextFile& messages);

// Tip shear for the tip deflection yN of the previous solution; previous is the tip shear
// of the previous solution (kept in magnitude with a single point below its displacement).
double Tip_Shear_Force(const FdPileModel& p, double y_tip, double previous);

// One solution of the difference equations. iteration is 1 for the first solution of a
// load case. On Solved, s holds the new deflections (fictitious stations included), the
// change measures and the tip shear. On Small_Pivot the message block has been written
// and s is unchanged except for the tip shear; the caller raises RUN00011 (status 211).
//
// Stability. Written with the pile-head and tip conditions, the difference equations are
// those of a symmetric stiffness: bending and soil springs, less the geometric softening
// Q (dy/dx)^2 of a compressive thrust. The pile is stable while that stiffness is positive
// definite. Then every diagonal D(m) of the sweep from the tip is positive (they are the
// pivots of the trailing blocks) and the head system keeps the sign of determinant it has
// for every stable pile. A compressive thrust that drives a diagonal to zero or below, or
// turns the sign of the head determinant, has passed the buckling load of the pile on its
// springs: the equations still have a solution, but it is the saddle point of an unstable
// beam (typically with the head moving against its load). Such a solution is refused with
// Unstable and the station in s.i_Unstable_Node (s otherwise unchanged, as for a small
// pivot); the caller reports the buckling.
Solve_Result Solve_Pile_Deflection(const FdPileModel& p, int iteration, FdSolution& s,
                                   TextFile& report, TextFile& messages);

// The same solution for a pile with distributed moment springs Km and base springs (the
// monopile soil reactions). The distributed moment m = Km dy/dx enters the beam equation
// like a tensile axial force,
//
//     d2/dx2 (EI d2y/dx2) + Q d2y/dx2 - d/dx (Km dy/dx) + Es y = w,
//
// written as (K(m+1/2) (y(m+1) - y(m)) - K(m-1/2) (y(m) - y(m-1))) / h^2 with the springs
// averaged between stations. The shear that balances the lateral loads is then
// V = EI y''' + (Q - Km) y', at the head and at the tip. The tip carries the base moment
// M = EI y'' = -K_MB y' and the base shear V = V_tip + K_HB y (both resisting the tip's
// rotation and displacement; with both zero these are the free-tip conditions above).
// The N + 4 equations in y(-1) .. y(N+2) are solved as one banded system with row
// exchanges. Called by Solve_Pile_Deflection after the tip shear of the iteration is set;
// the change measures and the results are those of the recurrence. A compressive thrust
// past the buckling load is not detected on this path.
Solve_Result Solve_Monopile_Deflection(const FdPileModel& p, FdSolution& s, TextFile& report,
                                       TextFile& messages);

// Sign of the head-system determinant of a stable pile for a loading type, with the rows
// and unknowns ordered as the solver builds them.
int Stable_Head_Determinant_Sign(int loading_type);

} // namespace zarno
