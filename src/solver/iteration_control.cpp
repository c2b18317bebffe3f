#include "solver/iteration_control.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

// A change at least this fraction of the previous one, in the opposite direction, is not
// converging at a useful rate: an undamped iteration with this ratio needs more than ten
// iterations per decade and a two-state cycle has a ratio of one.
constexpr double CYCLE_RATIO = 0.8;
constexpr double FIRST_RELAXATION = 0.5;
constexpr double SMALLEST_RELAXATION = 0.125;
// The first solutions start from the uniform starting springs; their changes say nothing
// about cycling.
constexpr int FIRST_CHECKED_ITERATION = 3;

} // namespace

void Start_Iteration_Control(IterationControl& c) {
    c = IterationControl{};
}

void Remember_Deflections(IterationControl& c, const FdSolution& s) {
    c.Before_Solution = s.Y;
}

bool Damp_Cycling_Iteration(IterationControl& c, FdSolution& s, int N, int i) {
    const int last = std::min(N + 3, DEFLECTION_ARRAY_SIZE); // y(-1) .. y(N+1)
    IterationControl::Deflections change{};
    double largest = 0.0;
    int at = 0;
    for (int k = 1; k <= last; ++k) {
        const size_t j = static_cast<size_t>(k);
        change[j] = s.Y[j] - c.Before_Solution[j];
        // Stations 1 .. N are Y[3] .. Y[N + 2]; the fictitious ones follow them.
        if (k >= 3 && k <= N + 2 && std::fabs(change[j]) > largest) {
            largest = std::fabs(change[j]);
            at = k;
        }
    }
    if (c.b_Have_Last_Change && i >= FIRST_CHECKED_ITERATION && at > 0) {
        const size_t j = static_cast<size_t>(at);
        const bool reversed = change[j] * c.Last_Change[j] < 0.0;
        if (reversed && largest >= CYCLE_RATIO * c.Last_Largest_Change) {
            c.Relaxation = c.i_Cycles_Damped == 0
                               ? FIRST_RELAXATION
                               : std::max(SMALLEST_RELAXATION, 0.5 * c.Relaxation);
            ++c.i_Cycles_Damped;
        }
    }
    c.Last_Change = change;
    c.Last_Largest_Change = largest;
    c.b_Have_Last_Change = true;
    if (c.Relaxation >= 1.0) {
        return false;
    }
    for (int k = 1; k <= last; ++k) {
        const size_t j = static_cast<size_t>(k);
        s.Y[j] = c.Before_Solution[j] + c.Relaxation * change[j];
    }
    return true;
}

} // namespace zarno
