// Number of points of every printed p-y curve of the rock, silt, loess and Piedmont
// models, and the table that holds their deflections (indexed from 1, slot 0 unused).
#pragma once

#include <array>

namespace zarno {

inline constexpr int PY_PRINT_POINTS = 17;
using PyPrintDeflections = std::array<double, PY_PRINT_POINTS + 1>;

} // namespace zarno
