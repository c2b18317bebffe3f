// Matlock's (1970) soft clay p-y curves, static and cyclic, with the run-wide default J
// ("SoftClay") or a J from the strength profile ("SoftClyJ").
#pragma once

#include <array>
#include <optional>

namespace zarno {

inline constexpr double SOFT_CLAY_DEFAULT_J = 0.5;
// 0.5 * 3^(1/3) in single precision: the cyclic plateau meets the static curve at 3*y50.
inline constexpr double SOFT_CLAY_CYCLIC_FACTOR = 0.7211247682571411;
// Below this fraction of y50 the curve is not evaluated (1e-5 in single precision).
inline constexpr double SOFT_CLAY_SMALL_Y_FRACTION = 9.999999747378752e-06;
inline constexpr double SOFT_CLAY_LIMIT_MODULUS = 1.0e6;
// 1250 psf in psi and its SI counterpart in kPa: above these the model is outside its range.
inline constexpr double SOFT_CLAY_MAX_C_USCS = 8.68055534362793;
inline constexpr double SOFT_CLAY_MAX_C_SI = 59.85032272338867;

// eps50 when the profile gives 0 or less, by strength band (500, 1000, 2000 and 4000 psf).
// No default exists in GENERAL units: nullopt.
std::optional<double> Soft_Clay_Default_Eps50(double c, int IUNITS);

// Values the soft clay model uses at one node.
struct SoftClayInput {
    double x = 0.0;     // depth used by the model (below ground, or equivalent depth)
    double b = 0.0;     // pile width
    double c = 0.0;     // undrained shear strength
    double gamma = 0.0; // average effective unit weight above the node
    double eps50 = 0.0; // after the default has been applied
    double J = SOFT_CLAY_DEFAULT_J;
    double theta = 0.0;   // effective slope angle, radians
    double y_slope = 0.0; // deflection whose sign selects the sloping-ground factor
    bool b_Cyclic = false;
};

struct SoftClayParams {
    double y50 = 0.0;
    double Np = 0.0; // bearing factor after the sloping-ground factor
    double xr = 0.0; // depth where the wedge reaches the flow-around resistance
    double Xr = 0.0; // transition depth used: max(xr, 2.5*b)
    double Slope_Factor = 1.0;
    double pu_s = 0.0; // c*b*Np before the sloping-ground factor
    double pu_d = 0.0; // 9*c*b
    double pu = 0.0;   // static ultimate resistance
    double pc = 0.0;   // cyclic plateau
    double pr = 0.0;   // cyclic residual resistance above the transition depth
    double x = 0.0;
    bool b_Cyclic = false;
};

SoftClayParams Soft_Clay_Params(const SoftClayInput& in);

// p at a scaled deflection y >= 0 (the curve itself, no small-deflection limit).
double Soft_Clay_p(const SoftClayParams& sc, double y);

// True when y is below the small-deflection limit 1e-5*y50.
bool Soft_Clay_Below_Limit(const SoftClayParams& sc, double y);

// Limiting modulus used below the small-deflection limit: 1.0e6 for the default-J model;
// for the user-J model the secant of the static curve at 3e-5*y50.
double Soft_Clay_Limit_Modulus(const SoftClayParams& sc, bool b_User_J);

// Secant modulus pm*p(y)/(ym*y) with the small-deflection limit applied.
double Soft_Clay_Es(const SoftClayParams& sc, double y, double pm, double ym, bool b_User_J);

// The 17 printed deflections (index 1..17), fixed multiples of y50.
std::array<double, 18> Soft_Clay_Print_y(const SoftClayParams& sc);

} // namespace zarno
