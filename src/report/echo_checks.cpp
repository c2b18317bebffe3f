// Consistency checks between input blocks. Each failed check writes its message to the
// runtime message file and the report and ends the run with its input error, before any
// value can reach the soil models or the solver.
#include "engine/analysis_model.h"
#include "engine/run_status.h"
#include "report/echo_lines.h"
#include "report/fortran_format.h"
#include "report/input_echo_blocks.h"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>

namespace zarno {

namespace {

void Fail(AnalysisModel& m, int n, std::initializer_list<std::string> lines) {
    Write_To_Both(m, lines);
    Report_Fatal_Error(m, Input_Error_Code(n), 100 + n);
}

std::string Header(int n) {
    return fmt::format("**** Input Data Error No. {} ****", n);
}

bool Soil_Reaches_Tip(AnalysisModel& m) {
    const double bottom = Bottom_Of_Lowest_Layer(m);
    const double tip = Vertical_Pile_Tip(m);
    // Not-a-number depths fail as well.
    if (m.i_Num_Layers >= 1 && bottom >= tip) {
        return true;
    }
    Fail(
        m, 18,
        {Header(18), "",
         "Problem: The depth at the bottom of the lowermost soil layer is " +
             Format_ES(bottom, 12, 4),
         "         This depth is higher than the tip of the pile at " + Format_ES(tip, 12, 4) + ".",
         "Solution: Increase the depth of the soil profile or shorten the pile length."});
    return false;
}

bool Profiles_Start_At_Ground(AnalysisModel& m) {
    const SoilProfile& p = m.Profile;
    const double xgs = m.Ground_Surface_Depth;
    if (p.i_Num_Gamma_Points >= 1 && p.Gamma_Depth[1] > xgs) {
        Fail(m, 19,
             {Header(19), "", "The depth of the first point of the data for effective unit",
              "is located at " + Format_F(p.Gamma_Depth[1], 12, 4) + " below the top of the pile.",
              "The ground surface is located at " + Format_F(xgs, 12, 4) + ".",
              "The first point for the effective unit weight should be located",
              "at the same elevation as the ground surface."});
        return false;
    }
    if (p.i_Num_Strength_Points >= 1 && p.Strength_Depth[1] != xgs) {
        Fail(m, 20,
             {Header(20), "",
              "Problem:  The first depth of the soil profile is located at " +
                  Format_F(p.Strength_Depth[1], 12, 4),
              "          below the top of the pile.",
              "          The ground surface is elevation is " + Format_F(xgs, 12, 4) + ".",
              "Solution: Correct the input data so that the first depth of ",
              "          the soil profile data is be located at the same elevation as the ground "
              "surface."});
        return false;
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
    Fail(m, 21,
         {Header(21), "", "Problem:  The depth for the first data for p-multipliers is ",
          "          located at " + Format_ES(z, 12, 4) + " below the top of the pile.",
          "          The ground surface is located at " + Format_ES(xgs, 12, 4) + ".",
          "Solution:  Correct the input data so that the first depth for ",
          "          the p-multiplier data is the same as the elevation as the ",
          "          ground surface."});
    return false;
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
        Fail(m, 28,
             {"", "", Header(28), "",
              "Problem:  Cyclic loading type was specified and the number of cycles of loading",
              "are outside the valid range of 2 to 5,000.", "",
              "Solution:  Either correct the number of cycles of loading to be within 2 to 5,000",
              "or specify static loading.", "Number of cycles of loading = " + count});
        return false;
    }
    // Covered by the range above; kept so that a narrower range there still leaves the
    // lower bound guarded.
    if (n < 2.0) {
        Fail(m, 22,
             {Header(22), "", "Loading was specified as cyclic, but the number of cycles of ",
              "loading was specified as " + Format_ES(n, 12, 4) + " (must be 2 or greater)."});
        return false;
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
    Fail(m, 50,
         {Header(50), "",
          fmt::format("Problem:   The input data for shear resistance at the pile tip appears to "
                      "be in error at point {}.",
                      bad),
          "",
          "Solution:  Check that the first point is (0,0) and that the x-values sucessively "
          "increase in deflection and magnitude."});
}

void Check_Printed_py_Depths(AnalysisModel& m) {
    const int n = std::clamp(m.i_Num_Printed_py_Depths, 0, MAX_PRINTED_PY_DEPTHS);
    const std::string unit = Without_Trailing_Blanks(m.Labels.Depth);
    for (int i = 1; i <= n; ++i) {
        const double x = m.Printed_py_Depth[i];
        if (x > m.Pile_Length) {
            Fail(m, 30,
                 {Header(30), "",
                  "Problem:  Printing of a p-y curve was specified below the pile tip.", "",
                  "Solution:  Specify printing depths only for depths above the pile tip.", "",
                  fmt::format("Input Point {} at {} {} was not printed because it is below the "
                              "pile tip.",
                              i, Format_F(x, 7, 2), unit)});
            return;
        }
        if (x < 0.0 || x < m.Ground_Surface_Depth) {
            Fail(m, 29,
                 {Header(29), "",
                  "Problem:  A depth above the ground surface was specified for the printing",
                  "of a p-y curve.", "",
                  "Solution:  Specify a depth between the ground surface and pile tip.", ""});
            return;
        }
    }
}

} // namespace zarno
