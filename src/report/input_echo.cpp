#include "report/input_echo.h"

#include "engine/analysis_model.h"
#include "engine/text_trim.h"
#include "report/echo_lines.h"
#include "report/fortran_format.h"
#include "report/input_echo_blocks.h"
#include "report/lrfd_echo.h"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>

namespace zarno {

namespace {

std::string Label(const std::string& label) {
    return Trim_Right(label);
}

void Write_Title_Block(AnalysisModel& m) {
    TextFile& r = m.Report;
    r.Blank_Lines(2);
    Write_Banner(r, 32, "Problem Title");
    r.Blank_Lines(1);
    for (const std::string& line : m.Title) {
        // The title records are 256 characters; their trailing blanks carry nothing.
        r.Write_Line(Trim_Right(line));
    }
    r.Blank_Lines(1);
}

bool Any_Deflection_vs_Length(const AnalysisModel& m) {
    const int n = std::clamp(m.i_Num_Loads, 0, MAX_PILE_HEAD_LOADS);
    for (int i = 1; i <= n; ++i) {
        if (m.Loads[i].i_Compute_Top_Deflection_vs_Length != 1) {
            return true;
        }
    }
    return false;
}

void Write_Program_Options(AnalysisModel& m) {
    TextFile& r = m.Report;
    r.Blank_Lines(1);
    Write_Banner(r, 31, "Program Options");
    r.Blank_Lines(1);
    if (m.IUNITS == USCS) {
        r.Write_Line("Engineering units are US Customary Units: pounds, inches, feet");
    } else if (m.IUNITS == SI) {
        r.Write_Line("Engineering units are SI Units: kilonewtons, meters, millimeters");
    } else {
        r.Write_Line("Engineering units are Generic Units: force, length");
    }
    r.Blank_Lines(1);
    r.Write_Line("Basic Program Options:");
    r.Blank_Lines(1);
    if (m.i_Analysis_Type == ANALYSIS_EI_ONLY) {
        r.Write_Line(
            "This analysis computes nominal moment capacity and nonlinear bending stiffness only.");
        r.Blank_Lines(2);
    } else {
        r.Write_Line("This analysis computes pile response to lateral loading and will compute "
                     "nonlinear ");
        r.Write_Line("moment-curvature and nominal moment capacity for section types with "
                     "nonlinear properties.");
        r.Blank_Lines(1);
    }

    r.Write_Line("Computation Options:");
    r.Write_Line(m.b_Use_py_Modifiers
                     ? "- Analysis uses p-y multiplers for group action"
                     : "- Analysis does not use p-y multipliers (individual pile or shaft only)");
    r.Write_Line(m.b_Use_Tip_Shear ? "- Analysis uses tip shear resistance for short pile or shaft"
                                   : "- Analysis assumes no shear resistance at pile tip");
    if (Any_Deflection_vs_Length(m)) {
        r.Write_Line("- Analysis includes automatic computation of pile-top deflection vs.");
        r.Write_Line("  pile embedment length");
    } else {
        r.Write_Line("- Analysis for fixed-length pile or shaft only");
    }
    r.Write_Line(m.ib_ComputeKmatrix_1T0F
                     ? "- Analysis includes computation of foundation stiffness matrix values "
                     : "- No computation of foundation stiffness matrix values");
    if (m.b_Print_Summary_Only) {
        r.Write_Line("- Report summary table of pile-top values for deflection, maximum bending ");
        r.Write_Line("  moment, and shear force only");
    } else {
        r.Write_Line("- Report pile response for full length of pile");
    }
    r.Write_Line(m.b_Use_Soil_Movement
                     ? "- Analysis includes loading by soil movements acting on pile"
                     : "- Analysis assumes no loading by soil movements acting on pile");
    r.Write_Line(m.b_Print_py_Curves
                     ? "- p-y curves computed and reported at user-specified depths"
                     : "- No p-y curves to be computed and reported for user-specified depths");
    r.Blank_Lines(1);

    const std::string length = Label(m.Labels.Length);
    r.Write_Line("Solution Control Parameters:");
    Write_Label_Value(r, "- Number of pile increments", Format_I(m.i_Pile_Increments, 12));
    Write_Label_Value(r, "- Maximum number of iterations allowed",
                      Format_I(m.i_Max_Iterations, 12));
    Write_Label_Value(r, "- Deflection tolerance for convergence",
                      Format_ES(m.Tolerance, 12, 4) + " " + length);
    Write_Label_Value(r, "- Maximum allowable deflection",
                      Format_F(m.Excess_Deflection, 12, 4) + " " + length);
    r.Blank_Lines(1);

    r.Write_Line("Pile Response Output Options:");
    if (m.b_Print_Summary_Only) {
        r.Write_Line("- Only summary tables of pile-head deflection, maximum bending moment,");
        r.Write_Line("  and maximum shear force are to be written to output report file.");
    } else {
        r.Write_Line("- Values of pile-head deflection, bending moment, shear force, and ");
        r.Write_Line("  soil reaction are printed for full length of pile.");
        Write_Label_Value(r, "- Printing Increment (nodal spacing of output points)",
                          Format_I(m.i_Print_Increment, 0));
    }
    r.Blank_Lines(2);
}

void Write_Angle_Lines(TextFile& r, const char* label, double radians) {
    const double degrees = radians * 180.0 / 3.141592653589793;
    Write_Label_Value(r, label, Format_F(degrees, 12, 3) + " degrees");
    Write_Label_Value(r, "", Format_F(radians, 12, 3) + " radians");
}

void Write_Slope_And_Batter(AnalysisModel& m) {
    TextFile& r = m.Report;
    r.Blank_Lines(2);
    Write_Banner(r, 22, "Ground Slope and Pile Batter Angles");
    r.Blank_Lines(1);
    Write_Angle_Lines(r, "Ground Slope Angle", m.Ground_Slope);
    r.Blank_Lines(1);
    Write_Angle_Lines(r, "Pile Batter Angle", m.Pile_Batter);
    r.Blank_Lines(2);
}

void Write_py_Modifiers(AnalysisModel& m) {
    TextFile& r = m.Report;
    const int n = std::clamp(m.i_Num_Group_Effect_Rows, 0, MAX_GROUP_EFFECT_ROWS);
    r.Blank_Lines(3);
    Write_Banner(r, 19, "p-y Modification Factors for Group Action");
    r.Blank_Lines(1);
    r.Write_Line(
        fmt::format("Distribution of p-y modifiers with depth defined using {} points", n));
    r.Blank_Lines(1);
    r.Write_Line("Point      Depth X         p-mult         y-mult");
    r.Write_Line(" No.          " + Label(m.Labels.Depth));
    r.Write_Line("-----     ----------     ----------     ----------");
    for (int i = 1; i <= n; ++i) {
        const GroupEffectRow& g = m.Group_Effect[i];
        r.Write_Line(Format_I(i, 3) + Format_F(g.Z, 17, 3) + Format_F(g.pMult, 15, 4) +
                     Format_F(g.yMult, 15, 4));
    }
}

void Write_Soil_Movements(AnalysisModel& m) {
    TextFile& r = m.Report;
    const int n = std::clamp(m.i_Num_Soil_Movements, 0, MAX_SOIL_MOVEMENT_ROWS);
    r.Blank_Lines(3);
    Write_Banner(r, 29, "Lateral Soil Movements");
    r.Blank_Lines(1);
    r.Write_Line(fmt::format("Profile of soil movement with depth defined using {} points", n));
    r.Blank_Lines(1);
    r.Write_Line("Point       Depth X     Soil Movement");
    // Depths are entered like the layer depths; movements in the length unit (SI
    // millimetres are stored as metres).
    std::string units;
    Put_At_Column(units, 16, Pad_To(Label(m.Labels.Depth), 5));
    Put_At_Column(units, 31, Label(m.Labels.Length));
    r.Write_Line(Trim_Right(units));
    for (int i = 1; i <= n; ++i) {
        const DepthValue& s = m.Soil_Movement[i];
        r.Write_Line(Format_I(i, 3) + "  " + Format_F(s.Depth, 15, 5) + Format_F(s.Value, 15, 5));
    }
}

void Write_Loading_Type(AnalysisModel& m) {
    TextFile& r = m.Report;
    r.Blank_Lines(3);
    Write_Banner(r, m.b_Cyclic ? 34 : 33, "Loading Type");
    r.Blank_Lines(1);
    if (m.b_Cyclic) {
        r.Write_Line(
            "Cyclic loading criteria were used for computation of p-y curves for all analyses.");
        r.Blank_Lines(1);
        const double n = m.Number_Of_Cycles;
        r.Write_Line("Number of cycles of loading = " +
                     (n == std::floor(n) && std::fabs(n) < 1e15
                          ? Format_I(static_cast<long long>(n), 0)
                          : Format_F(n, 0, 2)));
    } else {
        r.Write_Line(
            "Static loading criteria were used when computing p-y curves for all analyses.");
    }
}

void Write_Distributed_Loads(AnalysisModel& m) {
    TextFile& r = m.Report;
    const int n = std::clamp(m.i_Num_Dist_Load_Points, 0, MAX_DIST_LOAD_POINTS);
    r.Blank_Lines(3);
    Write_Banner(r, 27, "Distributed Lateral Loading");
    r.Blank_Lines(1);
    r.Write_Line(fmt::format("Distributed lateral load intensity defined using {} points", n));
    r.Blank_Lines(1);
    r.Write_Line("Point           Depth X            Dist. Load");
    // The depths of this table are read in the length unit (inches in US customary
    // input), not in the depth unit of the soil profile.
    std::string units;
    Put_At_Column(units, 20, Label(m.Labels.Length));
    Put_At_Column(units, 38, Label(m.Labels.Force_Per_Length));
    r.Write_Line(units);
    r.Write_Line("-----          ----------          ----------");
    for (int i = 1; i <= n; ++i) {
        const DepthValue& d = m.Dist_Load[i];
        r.Write_Line(Format_I(i, 3) + Format_F(d.Depth, 20, 3) + Format_F(d.Value, 20, 3));
    }
}

void Write_Pile_Head_Loads(AnalysisModel& m) {
    TextFile& r = m.Report;
    const int n = std::clamp(m.i_Num_Loads, 0, MAX_PILE_HEAD_LOADS);
    const std::string force = Label(m.Labels.Force);
    const std::string length = Label(m.Labels.Length);
    r.Blank_Lines(3);
    Write_Banner(r, 15, "Pile-head Loading and Pile-head Fixity Conditions");
    r.Blank_Lines(1);
    r.Write_Line(fmt::format("Number of loads specified = {}", n));
    r.Blank_Lines(1);
    r.Write_Line("Load    Load         Condition               Condition            Axial "
                 "Thrust            Compute");
    std::string units = " No.    Type             1                       2                 "
                        "Force, " +
                        force;
    Put_At_Column(units, 84, "Top y vs. Pile Length");
    r.Write_Line(units);
    r.Write_Line("-----   ----   --------------------   -----------------------   "
                 "----------------   ---------------------");
    const std::string moment_unit = length + "-" + force;
    const std::string slope_unit = length + "/" + length;
    for (int i = 1; i <= n; ++i) {
        const PileHeadLoad& load = m.Loads[i];
        const int type = load.i_Load_Type;
        const bool deflection = type == 4 || type == 5;
        const char* second = (type == 2 || type == 5) ? "S = " : type == 3 ? "R = " : "M = ";
        r.Write_Integer(i, 4);
        r.Write_Text(fmt::format("     {}     {} = ", type, deflection ? 'y' : 'V'));
        r.Write_Number(load.Condition1, 12);
        r.Write_Text(Pad_To(" " + (deflection ? length : force), 7).substr(0, 7));
        r.Write_Text(second);
        r.Write_Number(load.Condition2, 12);
        const std::string unit = (type == 2 || type == 5) ? slope_unit : moment_unit;
        r.Write_Text(Pad_To(" " + unit, 9).substr(0, 9) + " ");
        r.Write_Number(load.Axial_Thrust, 15);
        r.Write_Blanks(12);
        // A flag of 1 means "no sweep"; every other value asks for deflection versus
        // length, as the load-case loop reads it.
        r.Write_Line(load.i_Compute_Top_Deflection_vs_Length != 1 ? " Yes " : " No  ");
    }
    r.Blank_Lines(1);
    r.Write_Line("V = perpendicular shear force applied to pile head");
    r.Write_Line("M = bending moment applied to pile head");
    r.Write_Line("y = lateral deflection relative to pile axis");
    r.Write_Line("S = pile slope relative to original pile batter angle");
    r.Write_Line("R = rotational stiffness applie to pile head");
    r.Write_Line("Axial thrust is assumed to be acting axially for all pile batter angles.");
}

void Write_Tip_Shear_Curve(AnalysisModel& m) {
    TextFile& r = m.Report;
    const int n = std::clamp(m.i_Num_Tip_Shear_Points, 0, MAX_TIP_SHEAR_POINTS);
    r.Blank_Lines(3);
    Write_Banner(r, 22, "Shear Resistance Curve at Pile Tip ");
    r.Blank_Lines(1);
    r.Write_Line("Point     Displacement     Tip Shear Force");
    std::string units;
    Put_At_Column(units, 17, Label(m.Labels.Length));
    Put_At_Column(units, 35, Label(m.Labels.Force));
    r.Write_Line(units);
    r.Write_Line("-----     ------------     -----------");
    for (int i = 1; i <= n; ++i) {
        const TipShearPoint& p = m.Tip_Shear[i];
        r.Write_Line(Format_I(i, 4) + std::string(5, ' ') + Format_F(p.Displacement, 10, 3) +
                     std::string(10, ' ') + Format_F(p.Shear, 10, 3));
    }
}

void Write_Printed_py_Depths(AnalysisModel& m) {
    TextFile& r = m.Report;
    const int n = std::clamp(m.i_Num_Printed_py_Depths, 0, MAX_PRINTED_PY_DEPTHS);
    const std::string depth = Label(m.Labels.Depth);
    r.Blank_Lines(3);
    Write_Banner(r, 19, "Specified Depths for Output of p-y Curves");
    r.Blank_Lines(1);
    Check_Printed_py_Depths(m);
    if (m.RunStatus > 0) {
        return;
    }
    r.Write_Line(
        fmt::format("Lateral load-transfer (p-y) curves are computed and output at {} depths.", n));
    r.Write_Line(
        "(Note that these curves are independent from the curves used at nodal point depths)");
    r.Blank_Lines(2);
    r.Write_Line("Depth      Depth Below Pile Head      Depth Below Ground Surface");
    std::string units;
    Put_At_Column(units, 22, depth);
    Put_At_Column(units, 49, depth);
    r.Write_Line(units);
    r.Write_Line("-----      ---------------------      --------------------------");
    for (int i = 1; i <= n; ++i) {
        const double x = m.Printed_py_Depth[i];
        r.Write_Line(Format_I(i, 3) + Format_F(x, 22, 3) +
                     Format_F(x - m.Ground_Surface_Depth, 27, 3));
    }
    r.Blank_Lines(1);
    Write_Label_Value(r, "Depth of ground surface below top of pile",
                      Format_F(m.Ground_Surface_Depth, 10, 2) + " " + depth);
    r.Blank_Lines(1);
}

} // namespace

void Write_Input_Echo(AnalysisModel& m) {
    m.Messages.Write_Line("Output of input data begun");
    if (m.Input_Header_Token == "ZARNOK6") {
        Write_Input_Blocks(m);
        if (m.RunStatus > 0) {
            return;
        }
    }
    m.Messages.Write_Line("Output of input data completed");
    m.Messages.Blank_Lines(1);
}

void Write_Input_Blocks(AnalysisModel& m) {
    Write_Title_Block(m);
    if (m.i_Analysis_Type != ANALYSIS_EI_ONLY && m.i_Analysis_Type != ANALYSIS_LATERAL) {
        return; // without the options no analysis is run, so there is nothing to check
    }
    Write_Program_Options(m);
    Write_Section_Echo(m);
    if (m.RunStatus > 0) {
        return;
    }
    // The soil and the loads play no part in a bending-stiffness-only analysis.
    if (m.i_Analysis_Type != ANALYSIS_EI_ONLY) {
        Write_Slope_And_Batter(m);
        Write_Soil_Echo(m);
        if (m.RunStatus > 0) {
            return;
        }
    }
    Check_Input_Consistency(m);
    if (m.RunStatus > 0) {
        return;
    }
    if (m.i_Analysis_Type != ANALYSIS_EI_ONLY) {
        if (m.b_Use_py_Modifiers && m.i_Num_Group_Effect_Rows > 0) {
            Write_py_Modifiers(m);
        }
        if (m.b_Use_Soil_Movement && m.i_Num_Soil_Movements > 0) {
            Write_Soil_Movements(m);
        }
        Write_Loading_Type(m);
        if (m.i_Num_Dist_Load_Points > 0) {
            Write_Distributed_Loads(m);
        }
        if (m.b_Use_LRFD) {
            // The unfactored loads, the combinations and the factored loads; forming the
            // factored loads here also gives the section loop its list of thrusts.
            Write_Lrfd_Echo(m);
            if (m.RunStatus > 0) {
                return;
            }
        } else {
            Write_Pile_Head_Loads(m);
        }
        if (m.b_Use_Tip_Shear) {
            Write_Tip_Shear_Curve(m);
            Check_Tip_Shear_Curve(m);
            if (m.RunStatus > 0) {
                return;
            }
        }
        if (m.b_Print_py_Curves) {
            Write_Printed_py_Depths(m);
        }
    }
}

} // namespace zarno
