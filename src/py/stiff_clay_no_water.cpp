#include "py/stiff_clay_no_water.h"

#include "engine/analysis_model.h"
#include "py/py_common.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

int No_Water_Band(double c, int IUNITS) {
    const bool uscs = IUNITS == USCS;
    const double t1 = uscs ? 6.940000057220459 : 47.8927001953125;
    const double t2 = uscs ? 13.880000114440918 : 95.785400390625;
    const double t3 = uscs ? 27.780000686645508 : 191.57080078125;
    if (c < t1) {
        return 1;
    }
    if (c < t2) {
        return 2;
    }
    if (c < t3) {
        return 3;
    }
    return 4;
}

} // namespace

std::optional<double> Stiff_Clay_No_Water_Default_Eps50(double c, int IUNITS) {
    static constexpr double eps[5] = {0, 0.010999999940395355, 0.007000000216066837,
                                      0.004999999888241291, 0.004000000189989805};
    if (IUNITS != USCS && IUNITS != SI) {
        return std::nullopt;
    }
    return eps[No_Water_Band(c, IUNITS)];
}

std::optional<double> Stiff_Clay_No_Water_Default_k(double c, int IUNITS, bool b_Cyclic) {
    static constexpr double uscs_static[5] = {0, 250.0, 500.0, 1000.0, 2000.0};
    static constexpr double uscs_cyclic[5] = {0, 100.0, 200.0, 400.0, 800.0};
    static constexpr double si_static[5] = {0, 67861.796875, 135723.59375, 271447.1875, 542894.375};
    static constexpr double si_cyclic[5] = {0, 27144.7109375, 54289.3984375, 108578.8984375,
                                            217157.703125};
    if (IUNITS != USCS && IUNITS != SI) {
        return std::nullopt;
    }
    const int band = No_Water_Band(c, IUNITS);
    if (IUNITS == USCS) {
        return b_Cyclic ? uscs_cyclic[band] : uscs_static[band];
    }
    return b_Cyclic ? si_cyclic[band] : si_static[band];
}

StiffClayNoWaterParams Stiff_Clay_No_Water_Params(const StiffClayNoWaterInput& in) {
    StiffClayNoWaterParams sc;
    sc.b = in.b;
    sc.b_Cyclic = in.b_Cyclic;
    sc.b_Initial_k = in.b_Initial_k;
    sc.y50 = 2.5 * in.eps50 * in.b;
    sc.y50c = (1.0 + 0.6000000238418579 * std::log10(in.N)) * sc.y50;
    sc.pct = 3.0 * in.c * in.b + in.gamma * in.b * in.x + 0.5 * in.c * in.x;
    if (std::fabs(in.theta) > 1e-20) {
        sc.Slope_Factor = Stiff_Clay_Slope_Factor(in.y_slope, in.theta, SQRT2_HALF_SINGLE);
        sc.pct *= sc.Slope_Factor;
    }
    sc.pcd = 9.0 * in.c * in.b;
    sc.pu = std::min(sc.pct, sc.pcd);
    sc.Esi = in.b_Initial_k ? in.k * in.x : 0.0;
    return sc;
}

double Stiff_Clay_No_Water_p(const StiffClayNoWaterParams& sc, double y) {
    const double pu = sc.pu;
    if (!sc.b_Cyclic) {
        if (y > 16.0 * sc.y50) {
            return pu;
        }
        const double p = 0.5 * pu * std::pow(y / sc.y50, 0.25);
        return sc.b_Initial_k ? std::min(p, sc.Esi * y) : p;
    }
    const double p = std::min(0.5 * pu * std::pow(y / sc.y50c, 0.25), pu);
    return sc.b_Initial_k ? std::min(p, sc.Esi * y) : p;
}

bool Stiff_Clay_No_Water_Below_Limit(const StiffClayNoWaterParams& sc, double y) {
    return sc.b_Initial_k ? y < 1e-14 : y < 2e-05 * sc.b;
}

double Stiff_Clay_No_Water_Limit_Modulus(const StiffClayNoWaterParams& sc, double pm, double ym) {
    if (sc.b_Initial_k) {
        return sc.Esi;
    }
    // Secant of the static quarter-power curve at y = 2e-5*b.
    return (pm / ym) * 0.5 * sc.pu * std::pow(sc.y50 / (2e-05 * sc.b), 0.75) / sc.y50;
}

double Stiff_Clay_No_Water_Es(const StiffClayNoWaterParams& sc, double y, double pm, double ym) {
    if (Stiff_Clay_No_Water_Below_Limit(sc, y)) {
        return Stiff_Clay_No_Water_Limit_Modulus(sc, pm, ym);
    }
    return pm * Stiff_Clay_No_Water_p(sc, y) / (y * ym);
}

double Stiff_Clay_No_Water_y_End(const StiffClayNoWaterParams& sc, double N) {
    if (!sc.b_Cyclic) {
        return 16.799999237060547 * sc.y50;
    }
    return 18.75 * (16.0 + 9.600000381469727 * std::log10(N)) * sc.y50 / 15.0;
}

std::array<double, 18> Stiff_Clay_No_Water_Print_y(const StiffClayNoWaterParams& sc, double N) {
    constexpr std::array<float, 16> f = {0,     0,      1e-5f, 5e-5f,  1e-4f, 5e-4f, 0.001f, 0.005f,
                                         0.01f, 0.025f, 0.05f, 0.075f, 0.1f,  0.25f, 0.5f,   1.0f};
    std::array<double, 18> y{};
    const double y16 = 16.0 * sc.y50;
    for (int j = 1; j <= 15; ++j) {
        y[j] = static_cast<double>(f[j]) * y16;
    }
    const double y_end = Stiff_Clay_No_Water_y_End(sc, N);
    y[16] = 0.5 * (y16 + y_end);
    y[17] = y_end;
    return y;
}

} // namespace zarno
