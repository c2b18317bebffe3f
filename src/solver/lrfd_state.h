// What an LRFD run keeps in the model: the factored loads of every load combination,
// formed once from the unfactored loads, and the distributed loads of the current load
// case averaged per load type over each station's window.
#pragma once

#include "engine/capacities.h"
#include "engine/pile_node.h"

#include <array>

namespace zarno {

inline constexpr int NUM_LRFD_LOAD_TYPES = 13;

struct LrfdState {
    // ---- formed once per run from the unfactored loads ----------------------------------
    bool b_Factored_Loads_Formed = false;
    // Per load type 1..13: how many loads, and the sums of their head forces.
    std::array<int, NUM_LRFD_LOAD_TYPES + 1> i_Num_Loads_Of_Type{};
    std::array<double, NUM_LRFD_LOAD_TYPES + 1> Sum_Horizontal{};
    std::array<double, NUM_LRFD_LOAD_TYPES + 1> Sum_Moment{};
    std::array<double, NUM_LRFD_LOAD_TYPES + 1> Sum_Axial{};
    // Per combination: horizontal and vertical force before the batter transformation,
    // then the transverse shear, moment and axial force applied to the pile head.
    std::array<double, MAX_LRFD_COMBINATIONS + 1> Horizontal{};
    std::array<double, MAX_LRFD_COMBINATIONS + 1> Vertical{};
    std::array<double, MAX_LRFD_COMBINATIONS + 1> Shear{};
    std::array<double, MAX_LRFD_COMBINATIONS + 1> Moment{};
    std::array<double, MAX_LRFD_COMBINATIONS + 1> Axial{};
    // Distinct factored axial forces, ascending, in computation units, and the position of
    // each combination's axial force in that list.
    int i_Num_Distinct_Axial = 0;
    std::array<double, MAX_LRFD_COMBINATIONS + 1> Distinct_Axial{};
    std::array<int, MAX_LRFD_COMBINATIONS + 1> i_Thrust_Index{};

    // ---- rebuilt for every load case --------------------------------------------------------
    // Distributed load of each load type averaged over the window of each station.
    std::array<std::array<double, NODE_TABLE_SIZE + 1>, NUM_LRFD_LOAD_TYPES + 1> Type_Load{};
    // Factored distributed load of each station for the combination being analysed.
    std::array<double, NODE_TABLE_SIZE + 1> Node_Load{};
};

} // namespace zarno
