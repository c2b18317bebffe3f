// Stiff clay above the water table (Welch and Reese), with ("StfClyAK") or without
// ("StfClyAW") an initial straight line of slope k*x. The curve is a quarter-power parabola
// that reaches pu at 16*y50; cyclic loading stretches the deflections by 1 + 0.6*log10(N).
#pragma once

#include <array>
#include <optional>

namespace zarno {

inline constexpr double STIFF_CLAY_AW_MIN_C_USCS = 3.472222328186035;
inline constexpr double STIFF_CLAY_AW_MAX_C_USCS = 55.55555725097656;
inline constexpr double STIFF_CLAY_AW_MIN_C_SI = 23.940000534057617;
inline constexpr double STIFF_CLAY_AW_MAX_C_SI = 383.0400085449219;

// Defaults by strength band; no default in GENERAL units (nullopt).
std::optional<double> Stiff_Clay_No_Water_Default_Eps50(double c, int IUNITS);
std::optional<double> Stiff_Clay_No_Water_Default_k(double c, int IUNITS, bool b_Cyclic);

struct StiffClayNoWaterInput {
    double x = 0.0;
    double b = 0.0;
    double c = 0.0;
    double gamma = 0.0;
    double eps50 = 0.0; // after the default
    double k = 0.0;     // "StfClyAK" only, after the default
    double N = 1.0;     // number of cycles (already raised to at least 1 by the caller)
    double theta = 0.0;
    double y_slope = 0.0;
    bool b_Cyclic = false;
    bool b_Initial_k = false; // "StfClyAK"
};

struct StiffClayNoWaterParams {
    double y50 = 0.0;
    double y50c = 0.0; // cyclic reference deflection
    double Slope_Factor = 1.0;
    double pct = 0.0;
    double pcd = 0.0;
    double pu = 0.0;
    double Esi = 0.0; // k*x ("StfClyAK")
    double b = 0.0;
    bool b_Cyclic = false;
    bool b_Initial_k = false;
};

StiffClayNoWaterParams Stiff_Clay_No_Water_Params(const StiffClayNoWaterInput& in);

// p at a scaled deflection y >= 0 (no small-deflection limit).
double Stiff_Clay_No_Water_p(const StiffClayNoWaterParams& sc, double y);

// True below the small-deflection limit: y < 2e-5*b ("StfClyAW"), y < 1e-14 ("StfClyAK").
bool Stiff_Clay_No_Water_Below_Limit(const StiffClayNoWaterParams& sc, double y);

// Modulus used below the limit: the static secant at 2e-5*b with the multipliers
// ("StfClyAW"), or the initial slope k*x ("StfClyAK").
double Stiff_Clay_No_Water_Limit_Modulus(const StiffClayNoWaterParams& sc, double pm, double ym);

double Stiff_Clay_No_Water_Es(const StiffClayNoWaterParams& sc, double y, double pm, double ym);

// Deflection of the last printed point: 16.8*y50 static, 18.75*(16 + 9.6*log10 N)*y50/15
// cyclic.
double Stiff_Clay_No_Water_y_End(const StiffClayNoWaterParams& sc, double N);

// The 17 printed deflections (index 1..17): fractions of 16*y50, then halfway to y_end and
// y_end itself.
std::array<double, 18> Stiff_Clay_No_Water_Print_y(const StiffClayNoWaterParams& sc, double N);

} // namespace zarno
