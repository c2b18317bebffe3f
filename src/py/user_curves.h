// Soil response given by the user instead of a soil criterion: an elastic subgrade whose
// modulus varies linearly through the layer, and p-y curves interpolated in depth between
// a curve at the top and a curve at the bottom of the layer.
#pragma once

#include "engine/model_entities.h"

#include <array>

namespace zarno {

// Subgrade modulus at X, linear between the layer's top and bottom values. A layer of no
// thickness takes its top value.
double Elastic_Subgrade_Modulus(double X, double X_top, double X_bottom, double Esub_top,
                                double Esub_bottom);
// Spring of the node: pm*Esub*b/ym, the same at every deflection.
double Elastic_Subgrade_Es(double Esub, double b, double pm, double ym);
// The 17 printed deflections (index 1..17), 0 to 2*b.
std::array<double, 18> Elastic_Subgrade_Print_y(double b);

// p of one user curve at deflection y >= 0: linear between its points, the last p beyond
// the last point. Below a positive first deflection the curve is taken to start at the
// origin; a curve without points gives 0.
double User_Curve_p(const UserPyCurve& c, double y);
// Initial slope of one curve: p(2)/y(2) when the curve starts at y = 0, p(1)/y(1) when it
// starts at a positive deflection, 0 for a curve without a usable segment.
double User_Curve_Initial_Slope(const UserPyCurve& c);

// Depth interpolation between the layer's top curve (at Dt) and bottom curve (at Db), X the
// vertical depth of the station, like the curves' depths. Outside Dt .. Db the value is 0;
// a layer of no thickness (|Db - Dt| <= 1e-6) uses the top curve.
double User_py_p(const UserPyCurve& top, const UserPyCurve& bottom, double X, double y);
double User_py_Initial_Slope(const UserPyCurve& top, const UserPyCurve& bottom, double X);
// Secant modulus: pm*p/(ym*y); below 1e-14 the interpolated initial slope (no multipliers).
double User_py_Es(const UserPyCurve& top, const UserPyCurve& bottom, double X, double y, double pm,
                  double ym);
// Contribution of a node to the layer's total resistance: h times the last p of the curves
// interpolated (or extrapolated) to X.
double User_py_F_Increment(const UserPyCurve& top, const UserPyCurve& bottom, double X, double h);
// The 17 printed deflections (index 1..17), fixed fractions of b.
std::array<double, 18> User_py_Print_y(double b);

} // namespace zarno
