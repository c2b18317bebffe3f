// Piedmont residual soil p-y curve from one of four field tests.
//
// The initial modulus Esi comes from the test value (SPT N60, CPT qc, dilatometer Edmt or
// pressuremeter Epmt). The curve is linear to y1 = 0.001·b, softens logarithmically to
// y2 = 0.0375·b and is constant at 0.008112·Esi·b² beyond.
#pragma once

#include "py/py_print_points.h"

namespace zarno {

enum PiedmontTest : int { PIEDMONT_SPT = 1, PIEDMONT_CPT = 2, PIEDMONT_DMT = 3, PIEDMONT_PMT = 4 };

struct PiedmontCurve {
    double Esi = 0.0; // initial p-y modulus, force per length cubed
    double b = 0.0;
    double y1 = 0.0;
    double y2 = 0.0;
    double p_Ultimate = 0.0;
};

// Initial modulus for the test type and its value; 0 in general units and for an
// unknown test type.
double Piedmont_Esi(int test, double value, int units);
PiedmontCurve Piedmont_Curve(int test, double value, double b, int units);
double Piedmont_p(const PiedmontCurve& pc, double y);
// Secant modulus (p/y)·pm/ym; at a vanishing deflection b·Esi/ym (no p-multiplier).
double Piedmont_Es(const PiedmontCurve& pc, double y, double pm, double ym);
// Deflections of the printed curve: 0, y1, 13 points between y1 and y2, y2, 1.05·y2.
PyPrintDeflections Piedmont_Print_y(const PiedmontCurve& pc);

} // namespace zarno
