// Coordinates of reinforcing bars on a circle (single or bundled) and of prestressing
// strands on a circle or a square perimeter, and the clear spacing of a bar set.
// Arrays are indexed from 1 and hold MAX_BARS + 1 entries.
#pragma once

#include "engine/capacities.h"

#include <array>

namespace zarno {

using BarCoordinates = std::array<double, MAX_BARS + 1>;

// Bars on a ring of radius (D - d)/2 - cover, h positions from the +X axis towards +Y,
// b bars per position (pairs straddle the position, a third bar sits inside the ring).
// success is false when the data cannot be placed (nothing is placed then); four or
// more bars per position place nothing but report success.
void Place_Bars_In_Circle(BarCoordinates& X, BarCoordinates& Y, double D, double cover, double d,
                          int h, int b, bool& success);

// Strands on the perimeter of a square of half side (W - d)/2 - cover; arrangement 1
// puts the extra pair of an N = 4b + 2 layout in the rows, arrangement 2 on the sides.
void Place_Strands_Square(BarCoordinates& X, BarCoordinates& Y, double W, double cover, double d,
                          int n, int arrangement, bool& success);

struct BarSpacing {
    double spacing = 0.0;
    int bar_i = 0;
    int bar_j = 0;
};

// Smallest clear spacing above 1e-4 between two bars (touching bundles are skipped).
BarSpacing fn_Min_Clear_Bar_Spacing(const BarCoordinates& X, const BarCoordinates& Y,
                                    const BarCoordinates& diameter, int n);

} // namespace zarno
