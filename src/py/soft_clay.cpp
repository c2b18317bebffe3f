#include "py/soft_clay.h"

#include "engine/analysis_model.h"
#include "py/py_common.h"

#include <algorithm>
#include <cmath>

namespace zarno {

std::optional<double> Soft_Clay_Default_Eps50(double c, int IUNITS) {
    double t1 = 0.0;
    double t2 = 0.0;
    double t4 = 0.0;
    if (IUNITS == USCS) {
        t1 = 3.472222328186035;
        t2 = 6.94444465637207;
        t4 = 27.77777862548828;
    } else if (IUNITS == SI) {
        t1 = 23.940128326416016;
        t2 = 47.88025665283203;
        t4 = 191.52102661132812;
    } else {
        return std::nullopt;
    }
    // The 2000 to 4000 psf band keeps 0.005, the same as the band below it.
    if (c < t1) {
        return 0.019999999552965164;
    }
    if (c < t2) {
        return 0.009999999776482582;
    }
    if (c < t4) {
        return 0.004999999888241291;
    }
    return 0.004000000189989805;
}

SoftClayParams Soft_Clay_Params(const SoftClayInput& in) {
    SoftClayParams sc;
    sc.x = in.x;
    sc.b_Cyclic = in.b_Cyclic;
    sc.y50 = 2.5 * in.eps50 * in.b;
    const double np = 3.0 + in.gamma * in.x / in.c + in.J * in.x / in.b;
    sc.xr = 6.0 * in.b * in.c / (in.gamma * in.b + in.J * in.c);
    sc.Xr = std::max(sc.xr, 2.5 * in.b);
    sc.pu_s = in.c * in.b * np;
    sc.Np = np;
    if (std::fabs(in.theta) > 1e-20) {
        sc.Slope_Factor = Sloping_Ground_Factor(in.y_slope, in.theta);
        sc.Np = np * sc.Slope_Factor;
    }
    sc.pu_d = 9.0 * in.c * in.b;
    sc.pu = sc.Np < 9.0 ? in.c * in.b * sc.Np : sc.pu_d;
    sc.pc = SOFT_CLAY_CYCLIC_FACTOR * sc.pu;
    sc.pr = in.x < sc.Xr ? sc.pc * in.x / sc.Xr : sc.pc;
    return sc;
}

double Soft_Clay_p(const SoftClayParams& sc, double y) {
    const double y50 = sc.y50;
    if (!sc.b_Cyclic) {
        if (y <= 8.0 * y50) {
            return 0.5 * sc.pu * std::cbrt(y / y50);
        }
        return sc.pu;
    }
    if (y <= 3.0 * y50) {
        return 0.5 * sc.pu * std::cbrt(y / y50);
    }
    if (sc.x >= sc.Xr) {
        return sc.pc;
    }
    // Above the transition depth the resistance degrades from pc to pr between 3 and 15 y50.
    if (y <= 15.0 * y50) {
        return sc.pc + (sc.pr - sc.pc) * (y - 3.0 * y50) / (12.0 * y50);
    }
    return sc.pr;
}

bool Soft_Clay_Below_Limit(const SoftClayParams& sc, double y) {
    return y < SOFT_CLAY_SMALL_Y_FRACTION * sc.y50;
}

double Soft_Clay_Limit_Modulus(const SoftClayParams& sc, bool b_User_J) {
    if (!b_User_J) {
        return SOFT_CLAY_LIMIT_MODULUS;
    }
    // 0.5*(1e-5)^(1/3) over 3e-5: the static secant near the limiting deflection.
    return sc.pu * 0.01077217236161232 / (2.9999999242136255e-05 * sc.y50);
}

double Soft_Clay_Es(const SoftClayParams& sc, double y, double pm, double ym, bool b_User_J) {
    if (Soft_Clay_Below_Limit(sc, y)) {
        return Soft_Clay_Limit_Modulus(sc, b_User_J);
    }
    return pm * Soft_Clay_p(sc, y) / (ym * y);
}

std::array<double, 18> Soft_Clay_Print_y(const SoftClayParams& sc) {
    constexpr std::array<double, 18> st = {0,   0,   0.05, 0.125, 0.25, 0.375, 0.5, 1.0, 1.5,
                                           2.0, 2.5, 3.0,  4.0,   5.0,  6.0,   7.0, 8.0, 8.5};
    constexpr std::array<double, 18> cy = {0,   0,   0.05, 0.1, 0.2, 0.3, 0.4, 0.5,  0.6,
                                           0.8, 1.0, 1.5,  2.0, 2.5, 3.0, 9.0, 15.0, 16.0};
    std::array<double, 18> y{};
    for (int j = 1; j <= 17; ++j) {
        y[j] = (sc.b_Cyclic ? cy[j] : st[j]) * sc.y50;
    }
    return y;
}

} // namespace zarno
