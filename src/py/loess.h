// Loess p-y curve: a hyperbola from the cone tip resistance, reduced for the number of
// load cycles.
#pragma once

#include "py/py_print_points.h"

namespace zarno {

struct LoessCurve {
    double yref = 0.0;   // reference deflection
    double qc_adj = 0.0; // cone tip resistance, reduced near the surface
    bool b_Depth_Adjusted = false;
    double p_u0 = 0.0; // ultimate resistance per unit width for one cycle
    double p_u = 0.0;  // ultimate resistance after the cycle reduction
    double Ei = 0.0;   // initial modulus p_u/yref
};

// True when the number of cycles is outside the calibrated range (|N| > 10.1).
bool Loess_Cycles_Invalid(double N);
// 0.117 in (US customary) or 0.0029718 m (SI and general units).
double Loess_yref(int units);
// Curve at depth X along the pile for width b, cone tip resistance qc and N cycles.
// A count below one (a static run gives none) is taken as one cycle: no reduction.
LoessCurve Loess_Curve(double b, double X, double qc, double N, int units);
double Loess_p(const LoessCurve& l, double y);
// Secant modulus (pm/ym)·p/y; at a zero deflection the initial modulus (pm/ym)·Ei.
double Loess_Es(const LoessCurve& l, double y, double pm, double ym);
// Deflections of the printed curve: fixed multiples of yref from 0 to 50·yref.
PyPrintDeflections Loess_Print_y(const LoessCurve& l);

} // namespace zarno
