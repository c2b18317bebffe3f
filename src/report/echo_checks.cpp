// Consistency checks between input blocks. Each failed check writes its message to the
// runtime message file and the report and ends the run with its input error, before any
// value can reach the soil models or the solver.
#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"
#include "report/echo_lines.h"
#include "report/fortran_format.h"
#include "report/input_echo_blocks.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

bool Soil_Reaches_Tip(AnalysisModel& m) {
    const double bottom = Bottom_Of_Lowest_Layer(m);
    const double tip = Vertical_Pile_Tip(m);
    // Not-a-number depths fail as well.
    if (m.i_Num_Layers >= 1 && bottom >= tip) {
        return true;
    }
    return Fail_Run(m, MessageId::SoilAboveTip, Format_ES(bottom, 12, 4), Format_ES(tip, 12, 4)) ==
           0;
}

bool Profiles_Start_At_Ground(AnalysisModel& m) {
    const SoilProfile& p = m.Profile;
    const double xgs = m.Ground_Surface_Depth;
    if (p.i_Num_Gamma_Points >= 1 && p.Gamma_Depth[1] > xgs) {
        return Fail_Run(m, MessageId::UnitWeightStartsBelowGround,
                        Format_F(p.Gamma_Depth[1], 12, 4), Format_F(xgs, 12, 4)) == 0;
    }
    if (p.i_Num_Strength_Points >= 1 && p.Strength_Depth[1] != xgs) {
        return Fail_Run(m, MessageId::StrengthStartsOffGround, Format_F(p.Strength_Depth[1], 12, 4),
                        Format_F(xgs, 12, 4)) == 0;
    }
    return true;
}

bool Modifiers_Start_At_Ground(AnalysisModel& m) {
    if (!m.b_Use_py_Modifiers || m.i_Num_Group_Effect_Rows < 1) {
        return true;
    }
    const double z = m.Group_Effect[1].Z;
    const double xgs = m.Ground_Surface_Depth;
    if (z >= xgs) {
        return true;
    }
    return Fail_Run(m, MessageId::MultipliersStartOffGround, Format_ES(z, 12, 4),
                    Format_ES(xgs, 12, 4)) == 0;
}

bool Cycles_In_Range(AnalysisModel& m) {
    if (!m.b_Cyclic) {
        return true;
    }
    const double n = m.Number_Of_Cycles;
    if (!(n >= 2.0 && n <= 5000.0)) {
        const std::string count = n == std::floor(n) && std::fabs(n) < 1e15
                                      ? Format_I(static_cast<long long>(n), 0)
                                      : Format_F(n, 0, 2);
        return Fail_Run(m, MessageId::CyclesOutOfRange, count) == 0;
    }
    // Covered by the range above; kept so that a narrower range there still leaves the
    // lower bound guarded.
    if (n < 2.0) {
        return Fail_Run(m, MessageId::TooFewCycles, Format_ES(n, 12, 4)) == 0;
    }
    return true;
}

} // namespace

void Check_Input_Consistency(AnalysisModel& m) {
    if (m.i_Analysis_Type == ANALYSIS_EI_ONLY) {
        return; // the soil and the loads are not used
    }
    if (!Soil_Reaches_Tip(m) || !Profiles_Start_At_Ground(m) || !Modifiers_Start_At_Ground(m)) {
        return;
    }
    Cycles_In_Range(m);
}

void Check_Tip_Shear_Curve(AnalysisModel& m) {
    const int n = std::clamp(m.i_Num_Tip_Shear_Points, 0, MAX_TIP_SHEAR_POINTS);
    int bad = 0;
    if (n >= 1 && m.Tip_Shear[1].Displacement != 0.0) {
        bad = 1;
    }
    for (int i = 2; i <= n && bad == 0; ++i) {
        if (!(m.Tip_Shear[i].Displacement > m.Tip_Shear[i - 1].Displacement)) {
            bad = i;
        }
    }
    if (bad == 0) {
        return;
    }
    // The checks are void; the echo tests RunStatus after them.
    static_cast<void>(Fail_Run(m, MessageId::TipShearCurve, bad));
}

void Check_Printed_py_Depths(AnalysisModel& m) {
    const int n = std::clamp(m.i_Num_Printed_py_Depths, 0, MAX_PRINTED_PY_DEPTHS);
    const std::string unit = Trim_Right(m.Labels.Depth);
    for (int i = 1; i <= n; ++i) {
        const double x = m.Printed_py_Depth[i];
        if (x > m.Pile_Length) {
            if (Fail_Run(m, MessageId::PrintDepthBelowTip, i, Format_F(x, 7, 2), unit) > 0) {
                return;
            }
        }
        if (x < 0.0 || x < m.Ground_Surface_Depth) {
            if (Fail_Run(m, MessageId::PrintDepthAboveGroundInput) > 0) {
                return;
            }
        }
    }
}

} // namespace zarno
