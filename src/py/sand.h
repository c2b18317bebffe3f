// Sand p-y curves: Reese, Cox and Koop (1974) with sloping ground, and API RP-2A (1987).
// Both build the ultimate resistance from a shallow wedge and a deep flow-around mechanism
// and take the smaller.
#pragma once

#include "py/py_common.h"

#include <array>
#include <optional>

namespace zarno {

// Default subgrade modulus k from the friction angle (degrees): pci in USCS, kN/m3 in SI
// (two correlations split by the effective unit weight, above and below the water table).
// No default exists in GENERAL units: nullopt.
std::optional<double> fn_k_Sand_Default(double phi_deg, double gamma, int IUNITS);

// Reese sand resistance factors against x/b (0, 0.5, ..., 3, 4, 5, 6).
inline constexpr Table10 SAND_XB = {0, 0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
inline constexpr Table10 SAND_A_STATIC = {0,    2.83, 2.48, 2.11, 1.76, 1.48,
                                          1.23, 1.06, 0.90, 0.88, 0.88};
inline constexpr Table10 SAND_B_STATIC = {0,    2.14, 1.83, 1.54, 1.27, 1.05,
                                          0.86, 0.71, 0.53, 0.50, 0.50};
inline constexpr Table10 SAND_A_CYCLIC = {0,    0.75, 0.93, 1.07, 1.11, 1.03,
                                          0.98, 0.94, 0.90, 0.88, 0.88};
inline constexpr Table10 SAND_B_CYCLIC = {0,    0.53, 0.72, 0.83, 0.86, 0.82,
                                          0.77, 0.70, 0.55, 0.55, 0.55};

double Sand_A(double x, double b, bool b_Cyclic);
double Sand_B(double x, double b, bool b_Cyclic);

// Friction-angle derived quantities (phi in radians).
struct SandAngles {
    double phi = 0.0;
    double alpha = 0.0; // phi/2
    double beta = 0.0;  // pi/4 + phi/2
    double K0 = 0.4;
    double Ka = 0.0; // level ground, tan^2(pi/4 - phi/2)
    double Kp = 0.0; // tan^2(beta)
};

SandAngles Sand_Angles(double phi, double K0);

// Active coefficient on a slope theta. nullopt when the slope is as steep as the friction
// angle or steeper (cos^2 theta - cos^2 phi below 1e-10): no real value exists.
std::optional<double> Sand_Ka_Sloped(double theta, double phi);

// Coefficients of the API closed form: wedge (C1*x + C2*b)*gamma*x, deep C3*b*gamma*x.
struct SandCFactors {
    double C1 = 0.0;
    double C2 = 0.0;
    double C3 = 0.0;
};
SandCFactors Sand_C_Factors(const SandAngles& a, double Ka);

// Level-ground wedge resistance with the active coefficient Ka.
double Sand_Wedge_Level(const SandAngles& a, double Ka, double gamma, double x, double b);
// Sloping-ground wedge resistance for a slope factor s > 1e-20.
double Sand_Wedge_Sloped(const SandAngles& a, double Ka, double gamma, double x, double b, double s,
                         double tan_theta);
// Deep (flow-around) resistance at the true depth below the ground xt, with level Ka.
double Sand_Deep(const SandAngles& a, double gamma, double xt, double b);

enum class ReeseShape { Normal, TriLinear, BiLinear };

struct SandInput {
    double x = 0.0;     // depth used by the model (below ground or equivalent)
    double xt = 0.0;    // true depth below the ground surface
    double b = 0.0;     // pile width
    double gamma = 0.0; // average effective unit weight
    double phi = 0.0;   // friction angle, radians
    double k = 0.0;     // subgrade modulus, after the default
    double theta = 0.0; // effective slope, radians
    double y_slope = 0.0;
    bool b_Cyclic = false;
    bool b_Rock_Above = false; // API: the initial modulus uses xt
};

struct ReeseSandParams {
    SandAngles Angles;
    double Ka_Slope = 0.0; // active coefficient used by the wedge
    double s = 1.0;
    double pst = 0.0;
    double psd = 0.0;
    double ps = 0.0;
    bool b_Shallow = false; // ps = pst
    double A = 0.0;
    double B = 0.0;
    double pu = 0.0;
    double pm = 0.0; // resistance at ym
    double ym = 0.0; // b/60
    double yu = 0.0; // 3b/80
    double m = 0.0;
    double n = 0.0;
    double C = 0.0;
    double yk = 0.0;
    double pk = 0.0;
    double kx = 0.0;
    double x = 0.0;
    double b = 0.0;
    ReeseShape Shape = ReeseShape::Normal;
};

// nullopt when the slope is too steep for the friction angle (see Sand_Ka_Sloped).
std::optional<ReeseSandParams> Reese_Sand_Params(const SandInput& in);

// p at a scaled deflection y >= 0; b_Initial_Line is set when the straight line k*x*y governs.
double Reese_Sand_p(const ReeseSandParams& rs, double y, bool* b_Initial_Line = nullptr);
// Secant modulus; below 1e-14 the initial slope k*x.
double Reese_Sand_Es(const ReeseSandParams& rs, double y, double pm, double ym);
// The 17 printed deflections (index 1..17) for the curve's shape.
std::array<double, 18> Reese_Sand_Print_y(const ReeseSandParams& rs);

struct ApiSandParams {
    SandAngles Angles;
    double Ka_Slope = 0.0;
    double s = 1.0;
    double C1 = 0.0;
    double C2 = 0.0;
    double C3 = 0.0;
    double pus = 0.0;
    double pud = 0.0;
    double pu = 0.0;
    double A = 0.0;
    double pA = 0.0; // A*pu
    double kx = 0.0;
    double k_Initial = 0.0; // modulus at zero deflection
    double x = 0.0;
};

std::optional<ApiSandParams> API_Sand_Params(const SandInput& in);
double API_Sand_p(const ApiSandParams& as, double y);
double API_Sand_Es(const ApiSandParams& as, double y, double pm, double ym);
// Resistance at y = 3b/80, integrated into the layer's total resistance.
double API_Sand_p_At_yu(const ApiSandParams& as, double b);
// Spacing of the 17 printed deflections.
double API_Sand_Print_Step(const ApiSandParams& as, int IUNITS);

} // namespace zarno
