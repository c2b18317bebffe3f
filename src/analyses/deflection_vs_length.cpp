// Pile-head deflection against pile length. A short pile rotates as a rigid body and its
// head deflection grows quickly once the length falls below the depth the load reaches;
// the table shows the engineer where that happens. The candidate lengths are steps of 5 %
// of the pile length in whole units; a candidate that does not reach one step below the
// ground surface is not a pile in soil and is skipped.
#include "analyses/deflection_vs_length.h"

#include "analyses/analyses_state.h"
#include "engine/analysis_model.h"
#include "engine/text_trim.h"
#include "profile/pile_grid.h"
#include "report/fortran_format.h"
#include "solver/load_cases.h"

#include <cmath>
#include <fmt/format.h>
#include <string>

namespace zarno {

namespace {

constexpr float LENGTH_STEP_FRACTION = 0.05f;

// The whole-unit part of the pile length, as a single-precision value.
float Whole_Length(double L) {
    return static_cast<float>(std::trunc(L));
}

enum class LengthOutcome { Converged, Failed, Fatal };

// Iterates the current stations to convergence; leaves the last change of deflection in
// the solution.
LengthOutcome Iterate_Length(AnalysisModel& m) {
    const int maxit = m.i_Max_Iterations;
    for (int it = 1; it <= maxit; ++it) {
        bool buckled = false;
        if (!Solve_Trial_Pass(m, it, buckled)) {
            // A shorter pile that buckles under the thrust carries it at no shorter length
            // either: the useful sequence ends here, the run goes on.
            return buckled ? LengthOutcome::Failed : LengthOutcome::Fatal;
        }
        const FdSolution& s = m.Lateral.Solution;
        if (std::abs(s.dYmax) <= m.Tolerance) {
            if (it > 5) {
                return LengthOutcome::Converged;
            }
        } else if (it > 10 && std::abs(s.y(1)) >= m.Excess_Deflection) {
            return LengthOutcome::Failed;
        }
        if (!Regenerate_Case_Springs(m) || !Update_Case_EI(m)) {
            return LengthOutcome::Fatal;
        }
    }
    return LengthOutcome::Failed;
}

// Station results of the converged length and the point they give.
void Store_Length_Point(AnalysisModel& m, int n, int k) {
    Compute_Case_Node_Results(m);
    const LateralState& L = m.Lateral;
    LengthPoint& p = m.Analyses.Length.Points[static_cast<size_t>(n)][static_cast<size_t>(k)];
    p.Pile_Length = m.Nodes[m.i_Num_Nodes].X;
    p.Top_y = L.Solution.y(1);
    p.Max_Moment = L.Maxima.Moment;
    p.Max_Shear = L.Maxima.Shear;
    p.Head_Moment = L.Results.Moment[1];
}

void Write_Boundary_Conditions(AnalysisModel& m, int n) {
    TextFile& r = m.Report;
    const PileHeadLoad& load = m.Loads[n];
    const std::string force = Trim_Right(m.Labels.Force);
    const std::string length = Trim_Right(m.Labels.Length);
    const std::string moment = length + "-" + force;
    const std::string axial = "Axial Load = " + Format_F(load.Axial_Thrust, 15, 0) + " " + force;
    const std::string shear = "Shear      = " + Format_F(load.Condition1, 15, 0) + " " + force;
    const std::string deflection =
        "Deflection = " + Format_F(load.Condition1, 15, 5) + " " + length;
    const std::string slope = "Slope      = " + Format_F(load.Condition2, 15, 5);
    const std::string head_moment =
        "Moment     = " + Format_F(load.Condition2, 15, 0) + " " + moment;
    switch (load.i_Load_Type) {
    case LOADING_SHEAR_MOMENT:
        r.Write_Line("Boundary Condition Type 1, Shear and Moment");
        r.Blank_Lines(1);
        r.Write_Line(shear);
        r.Write_Line(head_moment);
        break;
    case LOADING_SHEAR_SLOPE:
        r.Write_Line("Boundary Condition Type 2, Shear and Slope");
        r.Blank_Lines(1);
        r.Write_Line(shear);
        r.Write_Line(slope);
        break;
    case LOADING_SHEAR_ROTATIONAL:
        r.Write_Line("Boundary Condition Type 3, Shear and Rotational Restraint");
        r.Blank_Lines(1);
        r.Write_Line(shear);
        r.Write_Line("Rot. Rest. = " + Format_ES(load.Condition2, 15, 7) + " " + moment +
                     "/Radian");
        break;
    case LOADING_DEFLECTION_MOMENT:
        r.Write_Line("Boundary Condition Type 4, Deflection and Moment");
        r.Blank_Lines(1);
        r.Write_Line(deflection);
        r.Write_Line(head_moment);
        break;
    case LOADING_DEFLECTION_SLOPE:
        r.Write_Line("Boundary Condition Type 5, Deflection and Slope");
        r.Blank_Lines(1);
        r.Write_Line(deflection);
        r.Write_Line(slope);
        break;
    default:
        return;
    }
    r.Write_Line(axial);
}

// A sweep that ended at a length without soil support says so below the table.
void Write_Unsupported_Length(AnalysisModel& m, int n) {
    const double length = m.Analyses.Length.Unsupported_Length[static_cast<size_t>(n)];
    if (!(length > 0.0)) {
        return;
    }
    const bool uscs = m.IUNITS == USCS;
    const std::string unit = uscs ? "feet" : Trim_Right(m.Labels.Length);
    TextFile& r = m.Report;
    r.Blank_Lines(1);
    r.Write_Line("The sequence of pile lengths ended at a length of " +
                 Format_F(uscs ? length / 12.0 : length, 10, 3) + " " + unit + ":");
    r.Write_Line("no part of a pile this short lies in soil that resists lateral movement,");
    r.Write_Line("so this and shorter lengths were not analysed.");
}

void Write_Length_Report(AnalysisModel& m, int n) {
    TextFile& r = m.Report;
    const bool uscs = m.IUNITS == USCS;
    const int count = m.Analyses.Length.i_Num_Points[static_cast<size_t>(n)];
    r.Blank_Lines(2);
    r.Write_Line(std::string(80, '-'));
    r.Write_Line(std::string(12, ' ') +
                 fmt::format("Pile-head Deflection vs. Pile Length for Load Case {}", n));
    r.Write_Line(std::string(80, '-'));
    r.Blank_Lines(1);
    Write_Boundary_Conditions(m, n);
    const std::string line11 =
        Format_I(count, 5) + std::string(75, ' ') +
        fmt::format("Line 11: Num. points on Ytop vs. pile length curve for load case {}", n);
    if (count == 0) {
        r.Blank_Lines(2);
        r.Write_Line("No computations for top deflection vs. pile length were successful for "
                     "this load case.");
        r.Blank_Lines(1);
        r.Write_Line("Results of last two iterations:");
        r.Blank_Lines(1);
        Write_Unsupported_Length(m, n);
        m.Plot.Write_Line(line11);
        return;
    }
    r.Blank_Lines(2);
    r.Write_Line("    Pile       Pile Head       Maximum       Maximum");
    r.Write_Line("   Length      Deflection      Moment         Shear ");
    r.Write_Line(uscs ? "    feet         inches        ln-lbs          lbs "
                      : "   meters        meters         kN-m           kN  ");
    r.Write_Line("------------  ------------  ------------  ------------");
    const auto& points = m.Analyses.Length.Points[static_cast<size_t>(n)];
    for (int k = 1; k <= count; ++k) {
        const LengthPoint& p = points[static_cast<size_t>(k)];
        r.Write_Number(uscs ? p.Pile_Length / 12.0 : p.Pile_Length, 11);
        r.Write_Number(p.Top_y, 14);
        r.Write_Number(p.Max_Moment, 14);
        r.Write_Number(p.Max_Shear, 14);
        r.End_Line();
    }
    Write_Unsupported_Length(m, n);
    m.Plot.Write_Line(line11);
    const std::string label =
        uscs ? "Line 12: pile length (in), Ytop (in), Max Moment(in-lb), Max Shear(lbs)"
             : "Line 12: pile length (m), Ytop (m), Max Moment(kN-m), Max Shear(kN)";
    for (int k = 1; k <= count; ++k) {
        const LengthPoint& p = points[static_cast<size_t>(k)];
        m.Plot.Write_Line(Format_ES(p.Pile_Length, 15, 7) + Format_ES(p.Top_y, 15, 7) +
                          Format_ES(p.Max_Moment, 15, 7) + Format_ES(p.Max_Shear, 15, 7) +
                          std::string(20, ' ') + label);
        Record_Length_Point(m, n, p.Pile_Length, p.Top_y, p.Max_Moment, p.Max_Shear);
    }
}

} // namespace

double Candidate_Pile_Length(double L, int i) {
    const float L0 = Whole_Length(L);
    return static_cast<double>((1.0f - LENGTH_STEP_FRACTION * static_cast<float>(i)) * L0);
}

void Compute_Top_Deflection_vs_Length(AnalysisModel& m, int n) {
    if (n < 1 || n > MAX_PILE_HEAD_LOADS) {
        return;
    }
    int& count = m.Analyses.Length.i_Num_Points[static_cast<size_t>(n)];
    count = 0;
    double& unsupported_length = m.Analyses.Length.Unsupported_Length[static_cast<size_t>(n)];
    unsupported_length = 0.0;
    // One flagged case must not change how later cases are reported: the summary-only
    // option is put back on the way out, like the pile itself.
    const bool summary_only = m.b_Print_Summary_Only;
    const double L = m.Pile_Length;
    m.b_Print_py_Curves = false;
    m.b_Print_Summary_Only = false;
    const auto restore = [&] {
        m.Pile_Length = L;
        m.b_Print_Summary_Only = summary_only;
    };

    const double step = static_cast<double>(LENGTH_STEP_FRACTION * Whole_Length(L));
    const double Xg = m.Ground_Surface_Depth;
    for (int i = 0; i < MAX_LENGTH_CANDIDATES; ++i) {
        const double Li = Candidate_Pile_Length(L, i);
        if (Li < Xg + step) {
            continue;
        }
        m.Pile_Length = Li;
        m.Messages.Write_Line(
            fmt::format("Computing lateral response of pile for load number {}", n));
        bool unsupported = false;
        if (!Prepare_Length_Case(m, n, Li, unsupported)) {
            restore();
            return;
        }
        if (unsupported) {
            // Every shorter candidate lies in the same soil or less of it: this length is
            // where the useful sequence ends, and the load case itself was analysed.
            unsupported_length = Li;
            break;
        }
        if (!Update_Case_EI(m)) {
            restore();
            return;
        }
        const LengthOutcome outcome = Iterate_Length(m);
        if (outcome == LengthOutcome::Fatal) {
            restore();
            return;
        }
        if (outcome == LengthOutcome::Failed) {
            break; // a length that does not converge ends the sequence
        }
        const FdSolution& s = m.Lateral.Solution;
        if (std::abs(s.y(1)) <= m.Excess_Deflection && std::abs(s.dYmax) < m.Tolerance) {
            ++count;
            Store_Length_Point(m, n, count);
        }
    }
    restore();
    Write_Length_Report(m, n);
    // Back to the stations of the whole pile.
    Build_Node_Grid(m);
}

} // namespace zarno
