// Damping of a load-case iteration that cycles instead of converging.
//
// Each iteration of a load case solves the pile for the springs and stiffnesses of the
// previous deflections. Where a p-y curve or a moment-curvature table turns sharply, this
// fixed-point scheme can jump between two states, or keep stepping by about the same amount
// in alternating directions just above the tolerance, so it never converges although the
// problem has a solution. Such a cycle is recognised from the changes of the deflections
// over the stations: a change that points against the one before (negative scalar product)
// while the last two changes together are not clearly smaller than the two before them.
// Seen twice in a row, the cycle is damped: from then on every new solution is
// under-relaxed,
//
//     y(used) = y(previous) + w (y(solved) - y(previous)),
//
// before the springs and stiffnesses are regenerated from it, with w = 1/2, halved again
// (down to 1/8) whenever the damped iteration still cycles. The fixed point is unchanged:
// the iteration still ends only when an undamped solution differs from the deflections it
// was computed from by no more than the tolerance. An iteration that converges without
// cycling is never touched.
#pragma once

#include "solver/fd_solver.h"

namespace zarno {

struct IterationControl {
    StationDeflections Before_Solution{}; // deflections the current solution was computed from
    StationDeflections Last_Change{};     // solved minus used deflections of the previous iteration
    double Last_Size = 0.0;               // Euclidean size of that change over the stations
    double Size_Before_Last = 0.0;        // and of the change before it
    int i_Changes_Seen = 0;
    double Relaxation = 1.0; // w; 1 until a cycle has been seen
    int i_Cycle_Signs = 0;   // successive iterations that looked like a cycle
    int i_Cycles_Damped = 0; // cycles recognised in this load case
};

// Start of the iterations of a load case: no history, no damping.
void Start_Iteration_Control(IterationControl& c);

// Before each solution: keeps the deflections the solution starts from.
void Remember_Deflections(IterationControl& c, const FdSolution& s);

// After a solution that has not converged (iteration i, N stations): recognises a cycle and
// under-relaxes s.Y in place while damping is on. Returns true when s.Y was changed.
bool Damp_Cycling_Iteration(IterationControl& c, FdSolution& s, int N, int i);

} // namespace zarno
