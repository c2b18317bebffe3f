// Printed p-y curves (report block and plot records Line 7 and Line 8) of the weak rock,
// vuggy limestone, cemented silt, loess and Piedmont residual soil models at one
// requested depth.
#pragma once

#include "py/cemented_silt.h"
#include "py/loess.h"
#include "py/piedmont.h"
#include "py/vuggy_limestone.h"
#include "py/weak_rock.h"

namespace zarno {

struct AnalysisModel;

// What every printed curve shows besides its model's values.
struct PyReportCommon {
    int layer = 0;
    int curve = 0;   // curve number (position in the sorted list of requested depths)
    double X = 0.0;  // requested depth below the pile head
    double xt = 0.0; // depth below the ground surface
    double b = 0.0;
    double pm = 1.0;
    double ym = 1.0;
};

void Write_Weak_Rock_Report(AnalysisModel& m, const PyReportCommon& c, const WeakRockCurve& w,
                            double gamma, double RQD, double Eir, double k_rm);
void Write_Vuggy_Limestone_Report(AnalysisModel& m, const PyReportCommon& c,
                                  const VuggyLimestoneCurve& v);
void Write_Cemented_Silt_Report(AnalysisModel& m, const PyReportCommon& c,
                                const CementedSiltCurve& cs, double cohesion, double phi_deg,
                                double gamma, double k, double eps50);
void Write_Loess_Report(AnalysisModel& m, const PyReportCommon& c, const LoessCurve& l, double N);
void Write_Piedmont_Report(AnalysisModel& m, const PyReportCommon& c, const PiedmontCurve& p,
                           int test, double value);

} // namespace zarno
