#include "solver/iteration_control.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

// Changes that reverse and keep this fraction of their size four times in a row are not
// converging: a two-state cycle has a ratio of one, while an iteration that swings but
// converges, however slowly, is left to converge as it would.
constexpr double CYCLE_RATIO = 0.95;
constexpr int CYCLE_CONFIRMATIONS = 4;
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
    double size = 0.0;    // Euclidean size of the change over the stations
    double overlap = 0.0; // its scalar product with the previous change
    for (int k = 1; k <= last; ++k) {
        const size_t j = static_cast<size_t>(k);
        change[j] = s.Y[j] - c.Before_Solution[j];
        // Stations 1 .. N are Y[3] .. Y[N + 2]; the fictitious ones around them are left out.
        if (k >= 3 && k <= N + 2) {
            size += change[j] * change[j];
            overlap += change[j] * c.Last_Change[j];
        }
    }
    size = std::sqrt(size);
    if (c.i_Changes_Seen >= 2 && i >= FIRST_CHECKED_ITERATION) {
        // Two successive changes of opposite direction whose sum has not shrunk against the
        // two before: the iteration swings between two states instead of settling. Sums of
        // two changes also catch a cycle whose swings alternate in size.
        const bool reversed = overlap < 0.0;
        const double recent = size + c.Last_Size;
        const double before = c.Last_Size + c.Size_Before_Last;
        c.i_Cycle_Signs = reversed && recent >= CYCLE_RATIO * before ? c.i_Cycle_Signs + 1 : 0;
        if (c.i_Cycle_Signs >= CYCLE_CONFIRMATIONS) {
            c.Relaxation = c.i_Cycles_Damped == 0
                               ? FIRST_RELAXATION
                               : std::max(SMALLEST_RELAXATION, 0.5 * c.Relaxation);
            ++c.i_Cycles_Damped;
            c.i_Cycle_Signs = 0;
        }
    }
    c.Last_Change = change;
    c.Size_Before_Last = c.Last_Size;
    c.Last_Size = size;
    ++c.i_Changes_Seen;
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
