#include "py/vuggy_limestone.h"

#include "engine/analysis_model.h"

#include <cmath>

namespace zarno {

namespace {
constexpr double Y1_PER_WIDTH = 0.00039999998989515007;
constexpr double P1_FACTOR = 0.800000011920929;
} // namespace

VuggyLimestoneCurve Vuggy_Limestone_Curve(double qu, double b, double gamma, double x) {
    VuggyLimestoneCurve v;
    v.b = b;
    v.s = qu / 2.0;
    v.y1 = Y1_PER_WIDTH * b;
    v.p1 = P1_FACTOR * b * v.s;
    // Without strength there is no second line (its length would be 0/0).
    v.y2 = v.s > 0.0 ? v.y1 + (b * v.s - v.p1) / (100.0 * v.s) : v.y1;
    v.p_Residual = 0.5 * gamma * b * x;
    return v;
}

double Vuggy_Limestone_p(const VuggyLimestoneCurve& v, double y) {
    if (y < v.y1) {
        return 2000.0 * v.s * y;
    }
    if (y <= v.y2) {
        return v.p1 + 100.0 * v.s * (y - v.y1);
    }
    return v.p_Residual;
}

double Vuggy_Limestone_Es(const VuggyLimestoneCurve& v, double y, double pm, double ym) {
    if (y >= 1e-14) {
        return (Vuggy_Limestone_p(v, y) / y) * pm / ym;
    }
    return 2000.0 * v.s / ym;
}

PyPrintDeflections Vuggy_Limestone_Print_y(const VuggyLimestoneCurve& v) {
    PyPrintDeflections y{};
    y[1] = 0.0;
    y[2] = v.y1;
    for (int j = 1; j <= 14; ++j) {
        y[2 + j] = v.y1 + j * (v.y2 - v.y1) / 15.0;
    }
    y[17] = v.y2;
    return y;
}

bool Vuggy_Limestone_Strength_Unreasonable(double qu, int units) {
    if (units == USCS) {
        return qu < 1000.0 || qu > 2500.0;
    }
    if (units == SI) {
        return qu < 6895.0 || qu > 17237.5;
    }
    return false;
}

} // namespace zarno
