// Moment-curvature tables of every section, kept for the whole run. The lateral solver
// takes the bending stiffness of each node from them.
//
// Indices: section s (1..MAX_SECTIONS), thrust t (1..i_Num_Thrusts[s]), point p
// (1..n_Points[s][t]). Thrusts of a section ascend. Moments, stiffnesses and curvatures
// are in the working units of the section analysis (kip-in, kip-in^2, rad/in in US
// customary runs, so the solver multiplies EI by 1000 to get lb-in^2); the nominal
// moment capacity Mn is stored in in-lb in US customary runs and unscaled otherwise.
// An elastic section tabulates its thrusts and capacities but no points (n = 0): its
// stiffness is its EI whatever the moment.
#pragma once

#include "engine/capacities.h"

#include <array>

namespace zarno {

struct SectionEITable {
    template <typename T>
    using PerThrust = std::array<std::array<T, MAX_AXIAL_THRUSTS + 1>, MAX_SECTIONS + 1>;
    using PerPoint =
        std::array<std::array<std::array<double, MAX_MC_POINTS + 1>, MAX_AXIAL_THRUSTS + 1>,
                   MAX_SECTIONS + 1>;

    std::array<int, MAX_SECTIONS + 1> i_Num_Thrusts{}; // thrusts analysed for section s
    PerThrust<double> Thrust{};                        // P(s,t), compression positive
    PerThrust<int> n_Points{};                         // n(s,t)
    PerThrust<double> Mn{};                            // nominal moment capacity
    PerPoint M{};                                      // M(s,t,p)
    PerPoint EI{};                                     // EI(s,t,p) = M / phi
    PerPoint Phi{};                                    // curvature phi(s,t,p)
};

} // namespace zarno
