// Stiff clay below free water (Reese, Cox and Koop), static and cyclic. The empirical
// factors As and Ac grow with depth over width and cap at 0.6 and 0.3.
#pragma once

#include <array>
#include <optional>

namespace zarno {

// Strength range of the criteria: below 500 psf or above 8000 psf the model is stretched.
inline constexpr double STIFF_CLAY_BW_MIN_C_USCS = 3.472222328186035;
inline constexpr double STIFF_CLAY_BW_MAX_C_USCS = 55.55555725097656;
inline constexpr double STIFF_CLAY_BW_MIN_C_SI = 23.940128326416016;
inline constexpr double STIFF_CLAY_BW_MAX_C_SI = 383.04205322265625;

// Static factor As at r = x/b, and cyclic factor Ac.
double A_s(double r);
double A_c(double r);

// Defaults when the layer gives none: subgrade modulus k by loading and eps50, both by
// strength band. No default in GENERAL units: nullopt.
std::optional<double> Stiff_Clay_Free_Water_Default_k(double c, int IUNITS, bool b_Cyclic);
std::optional<double> Stiff_Clay_Free_Water_Default_Eps50(double c, int IUNITS);

struct StiffClayFreeWaterInput {
    double x = 0.0;     // depth used by the model
    double b = 0.0;     // pile width
    double c = 0.0;     // undrained strength at the node
    double ca = 0.0;    // average undrained strength
    double gamma = 0.0; // average effective unit weight
    double eps50 = 0.0; // after the default
    double k = 0.0;     // after the default
    double theta = 0.0;
    double y_slope = 0.0;
    bool b_Cyclic = false;
};

struct StiffClayFreeWaterParams {
    double As = 0.0;
    double Ac = 0.0;
    double y50 = 0.0;
    double yp = 0.0; // cyclic reference deflection 4.1*As*y50
    double Slope_Factor = 1.0;
    double pct = 0.0; // wedge resistance (with the sloping-ground factor)
    double pcd = 0.0; // flow-around resistance 11*c*b
    double pc = 0.0;
    double pr = 0.0;  // residual resistance, reported as pu
    double Esi = 0.0; // initial slope k*x
    bool b_Cyclic = false;
};

StiffClayFreeWaterParams Stiff_Clay_Free_Water_Params(const StiffClayFreeWaterInput& in);

// p at a scaled deflection y >= 0, capped by the initial slope Esi*y.
double Stiff_Clay_Free_Water_p(const StiffClayFreeWaterParams& sc, double y);

// Secant modulus; below 1e-14 the initial slope (without multipliers).
double Stiff_Clay_Free_Water_Es(const StiffClayFreeWaterParams& sc, double y, double pm, double ym);

// The 17 printed deflections (index 1..17): steps of As*y50 (static) or of yp (cyclic).
std::array<double, 18> Stiff_Clay_Free_Water_Print_y(const StiffClayFreeWaterParams& sc);

} // namespace zarno
