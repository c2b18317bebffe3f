#include "solver/load_case_results.h"

#include "report/fortran_format.h"
#include "report/text_file.h"

#include <cmath>
#include <string>

namespace zarno {

namespace {

const std::string kRule80(80, '-');

// Label padded so that "= " starts in column 56, then the value and the unit text.
void Condition_Line(TextFile& report, std::string_view label, const std::string& value,
                    std::string_view unit) {
    std::string line(label);
    if (line.size() < 55) {
        line.resize(55, ' ');
    }
    line += "= ";
    line += value;
    line += unit;
    report.Write_Line(line);
}

} // namespace

void Write_Results_Heading(TextFile& report, int n, bool lrfd, std::string_view lrfd_name) {
    report.Blank_Lines(2);
    report.Write_Line(kRule80);
    report.Write_Line(std::string(17, ' ') + "Computed Values of Pile Loading and Deflection");
    if (lrfd) {
        report.Write_Line(std::string(17, ' ') + "for Lateral Loading for LRFD Load Case Number " +
                          Format_I(n, 0));
    } else {
        report.Write_Line(std::string(19, ' ') + "for Lateral Loading for Load Case Number " +
                          Format_I(n, 0));
    }
    report.Write_Line(kRule80);
    report.Blank_Lines(1);
    if (lrfd) {
        std::string name(lrfd_name.substr(0, RECORD_LENGTH));
        name.resize(RECORD_LENGTH, ' ');
        report.Blank_Lines(1);
        report.Write_Line("Load Case No. " + Format_I(n, 0) + ":  " + name);
        report.Blank_Lines(1);
    }
}

void Write_Head_Conditions(TextFile& report, int IUNITS, int type, double condition_1,
                           double condition_2, double axial_thrust) {
    if (type < 1 || type > 5) {
        return;
    }
    const bool si = IUNITS == 2;
    if (IUNITS == 1 || IUNITS == 2) {
        const std::string c1_f3 = Format_F(condition_1, 15, 3);
        const std::string c1_f6 = Format_F(condition_1, 15, 6);
        const std::string c2_f3 = Format_F(condition_2, 15, 3);
        const std::string c2_es = Format_ES(condition_2, 15, 3);
        const std::string q = Format_F(axial_thrust, 15, 3);
        const char* force = si ? " kN" : " lbs";
        const char* moment = si ? " kN-m" : " in-lbs";
        const char* length = si ? " meters" : " inches";
        switch (type) {
        case 1:
            report.Write_Line("Pile-head conditions are Shear and Moment (Loading Type 1)");
            report.Blank_Lines(1);
            Condition_Line(report, "Shear force at pile head", c1_f3, force);
            Condition_Line(report, "Applied moment at pile head        ", c2_f3, moment);
            Condition_Line(report, "Axial thrust load on pile head     ", q, force);
            break;
        case 2:
            report.Write_Line(
                "Pile-head conditions are Shear and Pile-head Rotation (Loading Type 2)");
            report.Blank_Lines(1);
            Condition_Line(report, "Shear force at pile head", c1_f3, force);
            Condition_Line(report, "Rotation of pile head   ", c2_es, " radians");
            Condition_Line(report, "Axial load at pile head ", q, force);
            break;
        case 3:
            report.Write_Line(
                "Pile-head conditions are Shear and Rotational Stiffness (Loading Type 3)");
            Condition_Line(report, "Shear force at pile head", c1_f3, si ? " kN" : " lb");
            Condition_Line(report, "Rotational stiffness    ", c2_f3,
                           si ? " kN-m/rad" : " in-lb/rad");
            Condition_Line(report, "Axial load at pile head ", q, force);
            break;
        case 4:
            report.Write_Line("Pile-head conditions are Displacement and Moment (Loading Type 4)");
            Condition_Line(report, "Displacement of pile head", c1_f6, length);
            Condition_Line(report, "Moment at pile head      ", c2_f3, moment);
            Condition_Line(report, "Axial load at pile head  ", q, force);
            break;
        default:
            report.Write_Line(
                "Pile-head conditions are Displacement and Pile-head Rotation (Loading Type 5)");
            Condition_Line(report, "Displacement of pile head", c1_f6, length);
            Condition_Line(report, "Rotation of pile head    ", c2_es, " radians");
            Condition_Line(report, "Axial load on pile head  ", q, force);
            break;
        }
        report.Blank_Lines(1);
    }
    if (type == 2) {
        if (std::fabs(condition_2) >= 1.0e-10) {
            report.Write_Line(
                "(Non-zero slope for this load does indicates rotated pile-head condition)");
        } else {
            report.Write_Line("(Zero slope for this load indicates fixed-head conditions)");
        }
        report.Blank_Lines(1);
    }
}

void Write_Results_Column_Headings(TextFile& report, int IUNITS) {
    if (IUNITS != 1 && IUNITS != 2) {
        return;
    }
    report.Write_Line("   Depth    Deflect.    Bending    Shear       Slope      Total    Bending "
                      "  Soil Res.  Soil Spr.   Distrib. ");
    report.Write_Line("     X         y        Moment     Force         S       Stress   Stiffness "
                      "     p         Es*h    Lat. Load ");
    if (IUNITS == 1) {
        report.Write_Line("   feet      inches     in-lbs      lbs       radians     psi*      "
                          "lb-in^2    lb/in      lb/inch    lb/inch ");
    } else {
        report.Write_Line("   meters    meters      kN-m       kN        radians     kPa*      "
                          "kN-m^2     kN/m        kN/m      kN/m    ");
    }
    report.Write_Line(
        "---------- ---------- ---------- ---------- ---------- ---------- ---------- "
        "---------- ---------- ----------");
}

int Count_Zero_Deflection_Points(const FdSolution& s, int N) {
    int count = 0;
    for (int i = 1; i <= N; ++i) {
        const double a = s.y(i);
        const double b = s.y(i + 1);
        if ((a > 0.0 && b < 0.0) || (a < 0.0 && b > 0.0)) {
            ++count;
        }
    }
    return count;
}

LoadCaseSummary Write_Load_Case_Table(int n, int iterations, FdPileModel& p,
                                      const NodeResultInputs& in, const FdSolution& s,
                                      NodeResults& r, ResultMaxima& mx, EquilibriumCheck& eq,
                                      const LoadCaseOutput& out, TextFile& report,
                                      TextFile& messages) {
    LoadCaseSummary sum;
    const int N = p.i_Num_Nodes;
    if (N < MIN_SOLVER_NODES || N > MAX_NODES) {
        return sum;
    }
    Clear_Running_Maxima(mx);
    Clear_Equilibrium_Check(eq);
    const bool full = !out.b_Print_Summary_Only;
    const bool lateral = out.i_Analysis_Type >= 3;
    if (full && !out.b_Stiffness_Mode && lateral) {
        Write_Results_Column_Headings(report, out.IUNITS);
    }
    const EquilibriumReporting balance{out.IUNITS, out.b_Print_Summary_Only, out.b_Compute_Kmatrix,
                                       out.Length_Label, out.Force_Label};
    const double h = p.Increment;
    const int step = out.i_Print_Increment;
    for (int m = 1; m <= N; ++m) {
        const size_t k = static_cast<size_t>(m);
        Compute_Node_Results(m, p, in, s, r, mx);
        if (m >= 3) {
            Check_Segment_Equilibrium(m, 1, p, s, r, eq, balance, report, messages);
        }
        const double y = Output_Value(s.y(m));
        const double M = Output_Value(r.Moment[k]);
        const double V = Output_Value(r.Shear[k]);
        const double pr = Output_Value(r.Soil_Reaction[k]);
        if (m == 1) {
            sum.Head_Shear = V;
            sum.Head_Slope = r.Head_Slope_Computed;
            sum.Head_Moment = M;
            sum.Head_Deflection = y;
        }
        const bool printed = step > 0 ? (m - 1) % step == 0 : m == 1;
        if (printed && full && lateral) {
            const double depth = out.IUNITS == 1 ? in.Depth[k] / 12.0 : in.Depth[k];
            const double spring = (m == 1 || m == N) ? 0.5 * p.Es[k] * h : p.Es[k] * h;
            report.Write_Number(depth, 10);
            report.Write_Number(y, 11);
            report.Write_Number(M, 11);
            report.Write_Number(V, 11);
            report.Write_Number(r.Slope[k], 11);
            report.Write_Number(r.Stress[k], 11);
            report.Write_Number(p.EI[k], 11);
            report.Write_Number(pr, 11);
            report.Write_Number(spring, 11);
            report.Write_Number(p.Load_Term(m), 11);
            report.End_Line();
        }
    }
    Check_Segment_Equilibrium(N + 1, 1, p, s, r, eq, balance, report, messages);

    if (full && out.i_Analysis_Type == 3) {
        report.Blank_Lines(1);
        if (out.b_Nonlinear_Sections) {
            report.Write_Line("* This analysis makes computations of pile response using nonlinear "
                              "moment-curvature relationships. ");
            report.Write_Line("  The above values of total stress are computed for combined axial "
                              "and bending stress in elastic ");
            report.Write_Line(
                "  sections and do not equal actual stresses in concrete and steel in "
                "the range of nonlinear bending. ");
        } else {
            report.Write_Line("* The above values of total stress are combined axial and bending "
                              "stress. ");
        }
        report.Blank_Lines(1);
    }

    sum.Max_Moment = mx.Moment;
    sum.Max_Moment_Depth = mx.Moment_Depth;
    sum.Max_Shear = mx.Shear;
    sum.Max_Shear_Depth = mx.Shear_Depth;
    sum.Max_Stress = mx.Stress;
    sum.i_Zero_Deflection_Points = Count_Zero_Deflection_Points(s, N);

    if (full) {
        report.Blank_Lines(1);
        report.Write_Line("Output Summary for Load Case No. " + Format_I(n, 0) + ":");
        report.Blank_Lines(1);
        if (out.IUNITS == 1 || out.IUNITS == 2) {
            const bool si = out.IUNITS == 2;
            auto line = [&](std::string_view label, double v, std::string_view unit) {
                report.Write_Text(label);
                report.Write_Number(v, 14);
                report.Write_Line(unit);
            };
            auto count = [&](std::string_view label, int v) {
                report.Write_Text(label);
                report.Write_Integer(v, 14);
                report.End_Line();
            };
            const char* below = si ? " meters below pile head" : " inches below pile head";
            line("Pile-head deflection             = ", sum.Head_Deflection,
                 si ? " meters" : " inches");
            line("Computed slope at pile head      = ", sum.Head_Slope, " radians");
            line("Maximum bending moment           = ", sum.Max_Moment, si ? " kN-m" : " inch-lbs");
            line("Maximum shear force              = ", sum.Max_Shear, si ? " kN" : " lbs");
            line("Depth of maximum bending moment  = ", sum.Max_Moment_Depth, below);
            line("Depth of maximum shear force     = ", sum.Max_Shear_Depth, below);
            count("Number of iterations             = ", iterations);
            count("Number of zero deflection points = ", sum.i_Zero_Deflection_Points);
            report.End_Line();
        }
    }
    return sum;
}

} // namespace zarno
