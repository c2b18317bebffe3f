#include "py/py_common.h"

#include <cmath>

namespace zarno {

double Sloping_Ground_Factor(double y, double theta) {
    if (std::fabs(theta) <= 1e-20 || std::fabs(y) <= 1e-20) {
        return 1.0;
    }
    const double a = std::fabs(theta);
    if ((y > 0.0) == (theta > 0.0)) {
        return 1.0 / (1.0 + std::tan(a));
    }
    return std::cos(a) * SQRT2_HALF_SINGLE / std::cos(a + PY_PI / 4.0);
}

double Stiff_Clay_Slope_Factor(double y, double theta, double sqrt2_half) {
    const double a = std::fabs(theta);
    if (a <= 1e-20) {
        return 1.0;
    }
    const bool y_positive = y > 1e-20;
    const bool down_slope = (y_positive && theta > 0.0) || (!y_positive && theta < 0.0);
    if (down_slope) {
        return 1.0 / (1.0 + std::tan(a));
    }
    return std::cos(a) * sqrt2_half / std::cos(a + PY_PI / 4.0);
}

} // namespace zarno
