#include "py/stiff_clay_free_water.h"

#include "engine/analysis_model.h"
#include "py/py_common.h"

#include <algorithm>
#include <cmath>

namespace zarno {

double A_s(double r) {
    if (r > 3.299999952316284) {
        return 0.6000000238418579;
    }
    const double a = 0.2345000058412552 + 0.295879602432251 * r - 0.0786110982298851 * r * r +
                     0.006898100022226572 * r * r * r;
    return std::min(0.6000000238418579, a);
}

double A_c(double r) {
    if (r > 1.5) {
        return 0.30000001192092896;
    }
    const double a = 0.20000000298023224 + 0.15333299338817596 * r - 0.07500000298023224 * r * r +
                     0.011667000129818916 * r * r * r;
    return std::min(0.30000001192092896, a);
}

namespace {

// Band 1 below t1, band 2 below t2, band 3 below t3, band 4 from t3 on.
int Free_Water_Band(double c, int IUNITS) {
    const bool uscs = IUNITS == USCS;
    const double t1 = uscs ? 6.94444465637207 : 47.8802604675293;
    const double t2 = uscs ? 13.88888931274414 : 95.7605209350586;
    const double t3 = uscs ? 27.77777862548828 : 191.5210418701172;
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

std::optional<double> Stiff_Clay_Free_Water_Default_k(double c, int IUNITS, bool b_Cyclic) {
    static constexpr double uscs_static[5] = {0, 250.0, 500.0, 1000.0, 2000.0};
    static constexpr double uscs_cyclic[5] = {0, 100.0, 200.0, 400.0, 800.0};
    static constexpr double si_static[5] = {0, 67861.78125, 135723.5625, 271447.125, 542894.25};
    static constexpr double si_cyclic[5] = {0, 27144.7109375, 54289.421875, 108578.84375,
                                            217157.6875};
    if (IUNITS != USCS && IUNITS != SI) {
        return std::nullopt;
    }
    const int band = Free_Water_Band(c, IUNITS);
    if (IUNITS == USCS) {
        return b_Cyclic ? uscs_cyclic[band] : uscs_static[band];
    }
    return b_Cyclic ? si_cyclic[band] : si_static[band];
}

std::optional<double> Stiff_Clay_Free_Water_Default_Eps50(double c, int IUNITS) {
    static constexpr double eps[5] = {0, 0.010999999940395355, 0.007000000216066837,
                                      0.004999999888241291, 0.004000000189989805};
    if (IUNITS != USCS && IUNITS != SI) {
        return std::nullopt;
    }
    return eps[Free_Water_Band(c, IUNITS)];
}

StiffClayFreeWaterParams Stiff_Clay_Free_Water_Params(const StiffClayFreeWaterInput& in) {
    StiffClayFreeWaterParams sc;
    sc.b_Cyclic = in.b_Cyclic;
    const double r = in.x / in.b;
    sc.As = A_s(r);
    sc.Ac = A_c(r);
    sc.y50 = in.eps50 * in.b;
    sc.yp = 4.099999904632568 * sc.As * sc.y50;
    sc.pct = 2.0 * in.ca * in.b + in.gamma * in.b * in.x + 2.8299999237060547 * in.ca * in.x;
    if (std::fabs(in.theta) > 1e-20) {
        sc.Slope_Factor = Stiff_Clay_Slope_Factor(in.y_slope, in.theta, SQRT2_HALF_DOUBLE);
        sc.pct *= sc.Slope_Factor;
    }
    sc.pcd = 11.0 * in.c * in.b;
    sc.pc = std::min(sc.pct, sc.pcd);
    if (in.b_Cyclic) {
        sc.pr = sc.pc * (0.9359999895095825 * sc.Ac - 0.41819998621940613 * sc.As);
    } else {
        sc.pr = sc.pc * (0.5 * std::sqrt(6.0 * sc.As) - 0.41100001335144043 - 0.75 * sc.As);
    }
    sc.Esi = in.k * in.x;
    return sc;
}

double Stiff_Clay_Free_Water_p(const StiffClayFreeWaterParams& sc, double y) {
    const double y50 = sc.y50;
    const double pc = sc.pc;
    double p = 0.0;
    if (!sc.b_Cyclic) {
        const double a_y50 = sc.As * y50;
        if (y <= a_y50) {
            p = 0.5 * pc * std::sqrt(y / y50);
        } else if (y <= 6.0 * a_y50) {
            p = pc *
                (0.5 * std::sqrt(y / y50) - 0.054999999701976776 * std::pow(y / a_y50 - 1.0, 1.25));
        } else if (y <= 18.0 * a_y50) {
            p = 0.5 * pc * std::sqrt(6.0 * sc.As) - 0.41100001335144043 * pc -
                0.0625 * pc * (y - 6.0 * a_y50) / y50;
        } else {
            p = sc.pr;
        }
    } else {
        const double yp = sc.yp;
        if (y <= 0.6000000238418579 * yp) {
            const double h = 0.44999998807907104 * yp;
            p = sc.Ac * pc * (1.0 - std::pow(std::fabs((y - h) / h), 2.5));
        } else if (y <= 1.7999999523162842 * yp) {
            p = 0.9359999895095825 * sc.Ac * pc -
                0.08500000089406967 * pc * (y - 0.6000000238418579 * yp) / y50;
        } else {
            p = 0.9359999895095825 * sc.Ac * pc - 0.10199999809265137 * pc * yp / y50;
        }
    }
    return std::min(p, sc.Esi * y);
}

double Stiff_Clay_Free_Water_Es(const StiffClayFreeWaterParams& sc, double y, double pm,
                                double ym) {
    if (y < 1e-14) {
        return sc.Esi;
    }
    return pm * Stiff_Clay_Free_Water_p(sc, y) / (y * ym);
}

std::array<double, 18> Stiff_Clay_Free_Water_Print_y(const StiffClayFreeWaterParams& sc) {
    std::array<double, 18> y{};
    if (!sc.b_Cyclic) {
        const double a = sc.As * sc.y50;
        for (int k = 1; k <= 13; ++k) {
            y[k] = 0.5 * (k - 1) * a;
        }
        y[14] = 10.0 * a;
        y[15] = 14.0 * a;
        y[16] = 18.0 * a;
        y[17] = 19.0 * a;
        return y;
    }
    for (int k = 1; k <= 13; ++k) {
        y[k] = 0.05 * (k - 1) * sc.yp;
    }
    y[14] = 1.0 * sc.yp;
    y[15] = 1.4 * sc.yp;
    y[16] = 1.8 * sc.yp;
    y[17] = 1.9 * sc.yp;
    return y;
}

} // namespace zarno
