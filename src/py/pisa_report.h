// The printed curves of a monopile (PISA) layer at a requested depth: the p-y curve, and the
// distributed-moment (m-theta) curve beside it, to the report and the plot file.
#pragma once

#include "py/pisa_curves.h"

namespace zarno {

struct AnalysisModel;

struct PisaPrintedCurve {
    int layer = 0;
    int curve = 0; // number of the printed curve
    PisaSoil soil = PisaSoil::Cowden_Clay;
    double X = 0.0;  // depth along the pile
    double Xv = 0.0; // vertical depth
    double D = 0.0;
    double su = 0.0;
    double Dr = 0.0; // fraction
    double G0 = 0.0;
    double sigma = 0.0; // vertical effective stress
    double pm = 1.0;
    double ym = 1.0;
    ConicParameters py;
    ConicParameters mt;
    double p_mobilised = 0.0; // lateral reaction at the current deflection (sand m-theta)
};

// Number of points of a printed curve.
inline constexpr int PISA_PRINT_POINTS = 17;

// Fractions of the displacement (rotation) at the ultimate value at which a curve is printed.
double Pisa_Print_Fraction(int j);

void Print_Pisa_Curve(AnalysisModel& m, const PisaPrintedCurve& c);

// Title of a calibration for reports.
const char* Pisa_Soil_Title(PisaSoil soil);

} // namespace zarno
