// Results of the additional analyses: the pile-head values of the twenty stiffness load
// cases with the stiffness terms derived from them, and the pile-head deflection of every
// flagged load case against a sequence of shorter piles.
#pragma once

#include "engine/capacities.h"

#include <array>

namespace zarno {

inline constexpr int NUM_STIFFNESS_CASES = 20;
inline constexpr int NUM_STIFFNESS_LEVELS = 10;
inline constexpr int MAX_LENGTH_CANDIDATES = 20;

struct PileHeadStiffness {
    // Per stiffness load case 1..20, copied from the pile head of the converged solution.
    std::array<double, NUM_STIFFNESS_CASES + 1> Top_y{};
    std::array<double, NUM_STIFFNESS_CASES + 1> Top_Rotation{};
    std::array<double, NUM_STIFFNESS_CASES + 1> Top_Shear{};
    std::array<double, NUM_STIFFNESS_CASES + 1> Top_Moment{};
    // Per load level 1..10, signed.
    std::array<double, NUM_STIFFNESS_LEVELS + 1> K22{};
    std::array<double, NUM_STIFFNESS_LEVELS + 1> K32{};
    std::array<double, NUM_STIFFNESS_LEVELS + 1> K23{};
    std::array<double, NUM_STIFFNESS_LEVELS + 1> K33{};
    bool b_Computed = false; // all twenty cases converged and the terms were derived
};

struct LengthPoint {
    double Pile_Length = 0.0; // depth of the last station
    double Top_y = 0.0;
    double Max_Moment = 0.0;
    double Max_Shear = 0.0;
    double Head_Moment = 0.0; // kept, not reported
};

struct DeflectionVsLength {
    std::array<int, MAX_PILE_HEAD_LOADS + 1> i_Num_Points{};
    std::array<std::array<LengthPoint, MAX_LENGTH_CANDIDATES + 1>, MAX_PILE_HEAD_LOADS + 1>
        Points{};
    // Per load case, the candidate length at which the pile had no soil support and the
    // sweep ended (0 when it did not end that way).
    std::array<double, MAX_PILE_HEAD_LOADS + 1> Unsupported_Length{};
};

struct AnalysesState {
    PileHeadStiffness Stiffness;
    DeflectionVsLength Length;
};

} // namespace zarno
