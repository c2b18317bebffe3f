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
    // The change of every station, the fictitious ones included, replaces the previous
    // change once its scalar product with it is taken; only stations 1 .. N are measured.
    const int last = std::min(N + 1, StationDeflections::last_station);
    double size = 0.0;    // Euclidean size of the change over the stations
    double overlap = 0.0; // its scalar product with the previous change
    auto keep_change = [&](int m) { c.Last_Change[m] = s.Y[m] - c.Before_Solution[m]; };
    // The fictitious stations above the head, the measured stations 1 .. N in order, and
    // the fictitious station below the tip.
    int m = -1;
    for (; m <= std::min(0, last); ++m) {
        keep_change(m);
    }
    for (const int measured = std::min(N, last); m <= measured; ++m) {
        const double change = s.Y[m] - c.Before_Solution[m];
        size += change * change;
        overlap += change * c.Last_Change[m];
        c.Last_Change[m] = change;
    }
    for (; m <= last; ++m) {
        keep_change(m);
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
    c.Size_Before_Last = c.Last_Size;
    c.Last_Size = size;
    ++c.i_Changes_Seen;
    if (c.Relaxation >= 1.0) {
        return false;
    }
    for (int m = -1; m <= last; ++m) {
        s.Y[m] = c.Before_Solution[m] + c.Relaxation * c.Last_Change[m];
    }
    return true;
}

} // namespace zarno
