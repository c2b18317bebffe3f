// Strong rock (vuggy limestone) p-y curve.
//
// A steep initial line of slope 2000·s (s = qu/2) up to y1 = 0.0004·b, a flatter line of
// slope 100·s up to the full resistance b·s at y2, and beyond y2 the rock is taken as
// fractured: only 0.5·gamma'·b·x, the weight of the rock column, remains.
#pragma once

#include "py/py_print_points.h"

namespace zarno {

struct VuggyLimestoneCurve {
    double b = 0.0;
    double s = 0.0;  // qu/2
    double y1 = 0.0; // end of the initial line
    double p1 = 0.0; // 0.8·b·s
    double y2 = 0.0; // where the resistance reaches b·s
    double p_Residual = 0.0;
};

// Curve at depth x below the ground surface for uniaxial strength qu, pile width b and
// average effective unit weight gamma.
VuggyLimestoneCurve Vuggy_Limestone_Curve(double qu, double b, double gamma, double x);
// Resistance at the scaled deflection y (|y|/ym).
double Vuggy_Limestone_p(const VuggyLimestoneCurve& v, double y);
// Secant modulus (p/y)·pm/ym; at a vanishing deflection the initial slope 2000·s/ym.
double Vuggy_Limestone_Es(const VuggyLimestoneCurve& v, double y, double pm, double ym);
// Deflections of the printed curve: 0, y1, 14 points evenly between y1 and y2, y2.
PyPrintDeflections Vuggy_Limestone_Print_y(const VuggyLimestoneCurve& v);
// True when qu lies outside 1000..2500 psi (US customary) or 6895..17237.5 kPa (SI);
// general units have no range.
bool Vuggy_Limestone_Strength_Unreasonable(double qu, int units);

} // namespace zarno
