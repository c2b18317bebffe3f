// Weak rock p-y curve (Reese, 1997).
//
// The curve rises on the initial rock-mass modulus Mir = K_ir·Eir up to yA, then follows
// (pur/2)·(y/yrm)^0.25 and is capped at the ultimate resistance pur. The routines here
// are the curve mathematics at one depth; the lookups of qur, RQD, Eir, gamma' and k_rm
// are done by the layer routine.
#pragma once

#include "py/py_print_points.h"

namespace zarno {

struct AnalysisData;

enum class WeakRockStatus {
    OK,
    Yrm_Not_Positive, // yrm = k_rm·b is zero or negative: no strain scale for the curve
    No_Initial_Slope, // pur/(2·yrm^0.25·Mir) is not a positive number: yA cannot be formed
};

struct WeakRockCurve {
    WeakRockStatus Status = WeakRockStatus::OK;
    double b = 0.0;
    double qur = 0.0;
    double xr = 0.0;
    double Alpha_r = 0.0; // strength reduction for fractured rock
    double pur = 0.0;     // ultimate resistance
    double K_ir = 0.0;    // dimensionless modulus factor
    double Mir = 0.0;     // initial slope of the curve
    double yrm = 0.0;
    double yA = 0.0; // end of the initial straight line
    double Yu = 0.0;
};

// 1 − RQD/150: intact rock (RQD 100) keeps a third of its strength reduction.
double fn_Alpha_r(double RQD);

// Depth into the rock at depth X (along the pile) in layer m: measured from the top of
// the uppermost of the contiguous weak-rock and vuggy-limestone layers that end at the
// top of layer m.
double Weak_Rock_Depth_Into_Rock(const AnalysisData& m, int layer, double X);

// Curve parameters at one depth. Status tells whether the curve could be formed; the
// values computed before the failing step are kept for the report.
WeakRockCurve Weak_Rock_Curve(double b, double qur, double RQD, double Eir, double k_rm, double xr);

// Resistance at the (scaled, non-negative) deflection y.
double Weak_Rock_p(const WeakRockCurve& w, double y);
// Secant modulus pm·p/(y·ym) at the scaled deflection y; on the initial line (y < yA)
// the initial slope Mir itself.
double Weak_Rock_Es(const WeakRockCurve& w, double y, double pm, double ym);
// Deflections of the printed curve: 0, yA, 14 points towards 16·yrm, then 20·yrm.
PyPrintDeflections Weak_Rock_Print_y(const WeakRockCurve& w);

// Warning code for an unreasonable compressive strength (0 when reasonable or when the
// unit system has no range): US customary below 100 or above 1000 psi, SI below 689.5 or
// above 6895 kPa.
int Weak_Rock_Strength_Warning(double qur, int units);
// Warning code for k_rm outside 0.00005 .. 0.0005 (0 inside).
int Weak_Rock_krm_Warning(double k_rm);

} // namespace zarno
