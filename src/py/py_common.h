// Pieces shared by the p-y curve cores: the sloping-ground factors of the clay models and
// the ten-point table type of the sand resistance factors.
#pragma once

#include <array>

namespace zarno {

inline constexpr double PY_PI = 3.141592653589793;
// sqrt(2)/2 as the clay models hold it: single precision in most places, double in the
// stiff clay with free water.
inline constexpr double SQRT2_HALF_SINGLE = 0.7071067690849304;
inline constexpr double SQRT2_HALF_DOUBLE = 0.7071067811865476;

// Factor on the wedge resistance of the clay models for an effective slope theta (ground
// slope minus batter, radians) and a deflection y. Deflecting down the slope (same sign)
// removes soil in front of the pile: 1/(1 + tan|theta|); deflecting up the slope adds soil:
// 1/(1 - tan|theta|), written in the cosine form. A zero deflection or a level ground
// gives 1.
double Sloping_Ground_Factor(double y, double theta);

// The stiff clay variant: a zero deflection counts as negative, so the factor already
// differs from 1 before the pile has moved. sqrt2_half selects the precision the model
// uses. Only meaningful for |theta| > 1e-20 (returns 1 otherwise).
double Stiff_Clay_Slope_Factor(double y, double theta, double sqrt2_half);

// A ten-point table indexed from 1 (element 0 unused), read with fn_Interp10.
using Table10 = std::array<double, 11>;

} // namespace zarno
