#include "py/liquefied_sand.h"

#include "engine/analysis_model.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

constexpr double KN_PER_M_TO_LB_PER_IN = 5.710147380828857;

// Deflection in mm of a deflection in the engine's length unit.
double To_mm(double y, int IUNITS) {
    return IUNITS == USCS ? 25.4 * y : 1000.0 * y;
}

} // namespace

LiquefiedSandParams Liquefied_Sand_Params(const LiquefiedSandInput& in) {
    LiquefiedSandParams ls;
    ls.IUNITS = in.IUNITS;
    const bool uscs = in.IUNITS == USCS;
    ls.b_m = uscs ? in.b * 0.02539999969303608 : in.b;
    ls.Pd = ls.b_m <= 0.30000001192092896
                ? ls.b_m / 0.30000001192092896
                : 3.809999942779541 * std::log(ls.b_m) + 5.599999904632568;
    if (in.b_Layer1) {
        ls.z = uscs ? in.x * 0.0254 : in.x;
    } else {
        // Depth equated to the vertical effective stress over 10 kN/m3.
        ls.z = uscs ? in.x * in.gamma / 0.036839600652456284 * 0.0254 : in.x * in.gamma / 10.0;
    }
    const double z1 = ls.z + 1.0;
    ls.A = 3e-7 * std::pow(z1, 6.050000190734863);
    ls.B = 2.799999952316284 * std::pow(z1, 0.10999999940395355);
    ls.C = 2.8499999046325684 * std::pow(z1, -0.4099999964237213);
    const double p150 = ls.A * std::pow(150.0 * ls.B, ls.C);
    double pl = std::min(p150, 15.0);
    double yu_mm = 150.0;
    ls.b_Capped = p150 >= 15.0;
    if (ls.b_Capped) {
        yu_mm = std::pow(pl / ls.A, 1.0 / ls.C) / ls.B;
    }
    if (uscs) {
        ls.yu = yu_mm / 25.399999618530273;
        pl *= KN_PER_M_TO_LB_PER_IN;
    } else {
        ls.yu = yu_mm / 1000.0;
    }
    ls.pl = pl;
    ls.Pu = ls.Pd * pl;
    return ls;
}

double Liquefied_Sand_p(const LiquefiedSandParams& ls, double y) {
    double p = ls.Pd * ls.A * std::pow(ls.B * To_mm(y, ls.IUNITS), ls.C);
    if (ls.IUNITS == USCS) {
        p *= KN_PER_M_TO_LB_PER_IN;
    }
    return std::min(p, ls.Pu);
}

double Liquefied_Sand_Es(const LiquefiedSandParams& ls, double y, double pm, double ym) {
    if (y < 1e-14) {
        if (ls.C > 1.0) {
            return 0.0;
        }
        if (ls.C == 1.0) {
            const double conv = ls.IUNITS == USCS ? KN_PER_M_TO_LB_PER_IN : 1.0;
            return (pm / ym) * ls.Pd * ls.A * ls.B * To_mm(1.0, ls.IUNITS) * conv;
        }
        return (pm / ym) * Liquefied_Sand_p(ls, 1e-14) / 1e-14;
    }
    return (pm / ym) * (Liquefied_Sand_p(ls, y) / y);
}

std::array<double, 18> Liquefied_Sand_Print_y(const LiquefiedSandParams& ls) {
    std::array<double, 18> y{};
    if (ls.b_Capped) {
        for (int j = 1; j <= 15; ++j) {
            y[j] = (j - 1) * ls.yu / 15.0;
        }
        y[16] = ls.yu;
        y[17] = 1.05 * ls.yu;
        return y;
    }
    constexpr std::array<float, 18> si = {0,      0,      0.003f, 0.0065f, 0.01f,  0.0125f,
                                          0.015f, 0.03f,  0.045f, 0.06f,   0.075f, 0.09f,
                                          0.1f,   0.115f, 0.125f, 0.14f,   0.15f,  0.1575f};
    constexpr std::array<double, 18> other = {0,
                                              0,
                                              0.125,
                                              0.25,
                                              0.375,
                                              0.5,
                                              1,
                                              1.5,
                                              2,
                                              2.5,
                                              3,
                                              3.5,
                                              4,
                                              4.5,
                                              5,
                                              5.5,
                                              5.905511856079102,
                                              6.200787544250488};
    for (int j = 1; j <= 17; ++j) {
        y[j] = ls.IUNITS == SI ? static_cast<double>(si[j]) : other[j];
    }
    return y;
}

} // namespace zarno
