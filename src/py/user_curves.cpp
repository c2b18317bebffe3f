#include "py/user_curves.h"

#include <algorithm>
#include <cmath>

namespace zarno {

double Elastic_Subgrade_Modulus(double X, double X_top, double X_bottom, double Esub_top,
                                double Esub_bottom) {
    if (X_bottom - X_top <= 0.0) {
        return Esub_top;
    }
    return Esub_top + (Esub_bottom - Esub_top) * (X - X_top) / (X_bottom - X_top);
}

double Elastic_Subgrade_Es(double Esub, double b, double pm, double ym) {
    return pm * Esub * b / ym;
}

std::array<double, 18> Elastic_Subgrade_Print_y(double b) {
    std::array<double, 18> y{};
    const double dy = 2.0 * b * 0.0625;
    for (int j = 1; j <= 17; ++j) {
        y[j] = (j - 1) * dy;
    }
    return y;
}

double User_Curve_p(const UserPyCurve& c, double y) {
    const int n = c.i_Num_Points;
    if (n < 1) {
        return 0.0;
    }
    if (y == c.y[1]) {
        return c.p[1];
    }
    if (y < c.y[1]) {
        // Between the origin and the first point.
        return c.y[1] > 0.0 ? c.p[1] * y / c.y[1] : c.p[1];
    }
    if (y > c.y[n]) {
        return c.p[n];
    }
    for (int j = 2; j <= n; ++j) {
        if (c.y[j - 1] < y && y <= c.y[j]) {
            return c.p[j - 1] + (c.p[j] - c.p[j - 1]) * (y - c.y[j - 1]) / (c.y[j] - c.y[j - 1]);
        }
    }
    return c.p[n];
}

double User_Curve_Initial_Slope(const UserPyCurve& c) {
    if (c.i_Num_Points >= 1 && c.y[1] > 0.0) {
        return c.p[1] / c.y[1];
    }
    if (c.i_Num_Points >= 2 && c.y[2] > 0.0) {
        return c.p[2] / c.y[2];
    }
    return 0.0;
}

namespace {

// A station within 1e-6 of a layer's top or bottom lies on that boundary: the layer
// assignment gives it to the layer below whichever way its depth was rounded, so the
// layer's curves must take it as lying at their own depth, not outside it with no soil.
constexpr double ON_BOUNDARY = 1e-6;

double Depth_Interpolate(double vt, double vb, double Dt, double Db, double X) {
    if (X < Dt - ON_BOUNDARY || X > Db + ON_BOUNDARY) {
        return 0.0;
    }
    if (std::fabs(Db - Dt) <= ON_BOUNDARY) {
        return vt;
    }
    X = std::clamp(X, std::min(Dt, Db), std::max(Dt, Db));
    return vt + (vb - vt) * (X - Dt) / (Db - Dt);
}

} // namespace

double User_py_p(const UserPyCurve& top, const UserPyCurve& bottom, double X, double y) {
    return Depth_Interpolate(User_Curve_p(top, y), User_Curve_p(bottom, y), top.Depth, bottom.Depth,
                             X);
}

double User_py_Initial_Slope(const UserPyCurve& top, const UserPyCurve& bottom, double X) {
    return Depth_Interpolate(User_Curve_Initial_Slope(top), User_Curve_Initial_Slope(bottom),
                             top.Depth, bottom.Depth, X);
}

double User_py_Es(const UserPyCurve& top, const UserPyCurve& bottom, double X, double y, double pm,
                  double ym) {
    if (y < 1e-14) {
        return User_py_Initial_Slope(top, bottom, X);
    }
    return pm * User_py_p(top, bottom, X, y) / (ym * y);
}

double User_py_F_Increment(const UserPyCurve& top, const UserPyCurve& bottom, double X, double h) {
    const double Pt = top.i_Num_Points >= 1 ? top.p[top.i_Num_Points] : 0.0;
    const double Pb = bottom.i_Num_Points >= 1 ? bottom.p[bottom.i_Num_Points] : 0.0;
    const double Dt = top.Depth;
    const double Db = bottom.Depth;
    if (std::fabs(Db - Dt) <= 1e-6) {
        return h * Pt;
    }
    return h * (Pt + (X - Dt) * (Pb - Pt) / (Db - Dt));
}

std::array<double, 18> User_py_Print_y(double b) {
    std::array<double, 18> y{};
    y[2] = b * 9.999999747378752e-05;
    for (int k = 1; k <= 12; ++k) {
        y[2 + k] = b * static_cast<double>(static_cast<float>(0.000625 * k));
    }
    y[15] = b * 0.019999999552965164;
    y[16] = b * 0.03750000149011612;
    y[17] = b * 0.05000000074505806;
    return y;
}

} // namespace zarno
