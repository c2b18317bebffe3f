// Entities read from the input file: pile sections, soil layers and loads.
#pragma once

#include "engine/capacities.h"

#include <array>
#include <string>

namespace zarno {

struct PileSection {
    int i_Section_Type = 0;
    double Length = 0.0;
};

struct SoilLayer {
    int i_SoilLayer_py_Type = 0;
    double XTop = 0.0;
    double XBottom = 0.0;
};

struct PileHeadLoad {
    int i_Load_Type = 0;
    double Condition1 = 0.0;
    double Condition2 = 0.0;
    double Axial_Thrust = 0.0;
    bool b_Compute_Top_Deflection_vs_Length = false;
};

} // namespace zarno
