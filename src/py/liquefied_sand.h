// Liquefied sand p-y curves (Rollins et al.): a concave-up curve from full-scale tests on
// a 0.3 m pile, scaled by a diameter factor Pd. The correlation works in kN, m and mm;
// US customary values are converted in and out.
#pragma once

#include <array>

namespace zarno {

struct LiquefiedSandInput {
    double x = 0.0;     // depth below the ground surface
    double b = 0.0;     // pile width
    double gamma = 0.0; // average effective unit weight above the node
    bool b_Layer1 = true;
    int IUNITS = 1;
};

struct LiquefiedSandParams {
    double b_m = 0.0; // width in meters
    double Pd = 0.0;  // diameter factor
    double z = 0.0;   // depth in meters (normalized by the effective stress below layer 1)
    double A = 0.0;
    double B = 0.0;
    double C = 0.0;
    double pl = 0.0; // limit of the reference curve, in p units
    bool b_Capped = false;
    double yu = 0.0; // deflection at the limit, in length units
    double Pu = 0.0; // upper limit Pd*pl
    int IUNITS = 1;
};

LiquefiedSandParams Liquefied_Sand_Params(const LiquefiedSandInput& in);

// p at a scaled deflection y >= 0.
double Liquefied_Sand_p(const LiquefiedSandParams& ls, double y);

// Secant modulus (pm/ym)*p/y. Below 1e-14 the limit of p/y as y -> 0: zero for C > 1 (the
// curve starts flat), the initial slope for C = 1, and the secant at 1e-14 for C < 1 (the
// tangent is vertical there), so no division by zero ever happens.
double Liquefied_Sand_Es(const LiquefiedSandParams& ls, double y, double pm, double ym);

// The 17 printed deflections (index 1..17).
std::array<double, 18> Liquefied_Sand_Print_y(const LiquefiedSandParams& ls);

} // namespace zarno
