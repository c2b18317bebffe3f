#include "section/section_stiffness.h"

#include "section/elastic_sections.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/results.h"
#include "engine/run_status.h"
#include "report/fortran_format.h"
#include "report/plot_file.h"
#include "section/moment_curvature.h"
#include "section/section_reports.h"
#include "section/section_setup.h"

#include <cmath>
#include <cstdio>
#include <fmt/format.h>
#include <memory>

namespace zarno {

namespace {

struct TableUnitTexts {
    std::string force, moment, stiffness, curvature;
};

TableUnitTexts Table_Unit_Texts(int iunits) {
    if (iunits == USCS) {
        return {" kips", " in-kip", "kip-in^2", " rad/in"};
    }
    if (iunits == SI) {
        return {" kN", " kN-m", "kN-m^2", " rad/m"};
    }
    return {" F", " F-L", "F-L^2", " rad/L"};
}

std::string At_Column(std::string line, int column, const std::string& text) {
    line.resize(std::max<std::size_t>(line.size(), static_cast<std::size_t>(column - 1)), ' ');
    return line + text;
}

[[nodiscard]] int Micropile_Error(AnalysisModel& m, int k) {
    return Fail_Run(m, MessageId::SectionMicropile, k);
}

[[nodiscard]] int Capacity_Error(AnalysisModel& m, int code, int t, double P, double limit,
                                 bool lrfd, bool compression) {
    const TableUnitTexts u = Table_Unit_Texts(m.IUNITS);
    // The thrust's label lines up its value with the capacity's line below it.
    const char* load = lrfd          ? "Factored axial thrust load     "
                       : compression ? "Axial thrust load                  "
                                     : "Axial thrust load              ";
    const char* cap =
        compression ? "Nominal axial compressive capacity " : "Nominal axial tensile capacity ";
    return Fail_Run_Numbered(m, MessageId::SectionAxialCapacity, 200 + code, lrfd ? "LRFD " : "", t,
                             compression ? "compression" : "tension", load, Format_F(P, 15, 3), cap,
                             Format_F(limit, 15, 3), u.force);
}

void Write_Plot_Line3(AnalysisModel& m, int count) {
    const char* label = m.i_Analysis_Type == ANALYSIS_EI_ONLY
                            ? "Line 3 : Total number of axial thrusts for EI-only computations"
                        : m.b_Use_LRFD ? "Line 3 : Total number of axial thrusts for LRFD"
                                       : "Line 3 : Total number of axial thrusts";
    m.Plot.Write_Text(Format_I(count, 5));
    m.Plot.Write_Blanks(75);
    m.Plot.Write_Line(label);
}

// Thrust list of the section, validated against its axial capacities.
void Validate_Thrusts(AnalysisModel& m, int k, SectionWorkspace& ws) {
    TextFile& r = m.Report;
    const int n = m.i_Num_Axial_Thrusts;
    if (m.i_Analysis_Type == ANALYSIS_EI_ONLY) {
        int kept = 0;
        for (int t = 1; t <= n; ++t) {
            const double P = m.Axial_Thrust_List[t];
            if (ws.Nt < P && P < ws.Pn) {
                ws.Thrust[++kept] = P;
            }
        }
        ws.i_Num_Thrusts = kept;
        if (kept < n) {
            r.Blank_Lines(1);
            r.Write_Line("The following computations were performed only for the axial thrust "
                         "values in the valid range.");
        }
        r.Blank_Lines(2);
        r.Write_Line("Input Axial Thrust Forces:");
        r.Write_Line("--------------------------");
        r.Blank_Lines(1);
        r.Write_Line(fmt::format(
            "Number of Axial Thrust Force Values Determined from Input Data = {}", kept));
        r.Blank_Lines(1);
    } else {
        const bool lrfd = m.b_Use_LRFD;
        for (int t = 1; t <= n; ++t) {
            const double P = m.Axial_Thrust_List[t];
            if (P > ws.Pn) {
                if (Capacity_Error(m, lrfd ? 26 : 24, t, P, ws.Pn, lrfd, true) > 0) {
                    return;
                }
            }
            if (P < ws.Nt) {
                if (Capacity_Error(m, lrfd ? 27 : 25, t, P, ws.Nt, lrfd, false) > 0) {
                    return;
                }
            }
            ws.Thrust[t] = P;
        }
        ws.i_Num_Thrusts = n;
        r.Blank_Lines(2);
        r.Write_Line(fmt::format("Number of Axial Thrust Force Values Determined from {}Pile-head "
                                 "Loadings = {}",
                                 lrfd ? "LRFD " : "", n));
        r.Blank_Lines(1);
    }
    if (k == 1) {
        Write_Plot_Line3(m, ws.i_Num_Thrusts);
    }
    const TableUnitTexts u = Table_Unit_Texts(m.IUNITS);
    r.Write_Line("   Number     Axial Thrust Force");
    r.Write_Line(At_Column("", 20, u.force));
    r.Write_Line("   ------     ------------------");
    for (int t = 1; t <= ws.i_Num_Thrusts; ++t) {
        r.Write_Integer(t, 7);
        r.Write_Blanks(9);
        r.Write_Line(Format_F(ws.Thrust[t], 12, 3));
    }
}

void Write_Curve_Rows(AnalysisModel& m, const SectionWorkspace& ws, int t) {
    TextFile& r = m.Report;
    const int kind = ws.i_Geometry_Kind;
    for (int k = 1; k <= ws.n_Points[t]; ++k) {
        r.Write_Number(ws.Curv[t][k], 14);
        r.Write_Number(ws.M[t][k], 14);
        r.Write_Number(ws.EI[t][k], 14);
        r.Write_Number(ws.Yn[t][k], 14);
        if (kind == GEOM_PIPE) {
            r.Write_Number(ws.Max_Casing[t][k], 14);
        } else {
            r.Write_Number(ws.Eps_Top[t][k], 14);
            r.Write_Number(ws.Eps_Bot[t][k], 14);
            r.Write_Number(ws.Max_Concrete[t][k], 14);
            r.Write_Number(ws.Max_Steel[t][k], 14);
            if (kind == GEOM_CASED || kind == GEOM_CASED_CORE) {
                r.Write_Number(ws.Max_Casing[t][k], 14);
            }
            if (kind == GEOM_CASED_CORE) {
                r.Write_Number(ws.Max_Core[t][k], 14);
            }
        }
        const auto& msg = ws.Msg[t][k];
        r.Write_Text("  ");
        r.Write_Line(std::string{msg[0], msg[1], msg[2]});
    }
}

void Write_Points_Warning(AnalysisModel& m) {
    TextFile& r = m.Report;
    r.Blank_Lines(1);
    r.Write_Line(
        fmt::format("Warning: {} values were calculated for moment-curvature.", MAX_MC_POINTS));
    r.Write_Line("This usually indicates that the pile is too weak or is under-reinforced, where "
                 "all reinforcing steel has yielded.");
    r.Blank_Lines(1);
    r.Write_Line("The input data should be examined and the amount of steel reinforcement should "
                 "be increased if necessary.");
    r.Blank_Lines(1);
    Record_Warning(m, -305);
}

// Moment-curvature file of section k and thrust t: moment and curvature per point.
void Write_Moment_Curvature_File(AnalysisModel& m, int k, const SectionWorkspace& ws, int t,
                                 bool& missing) {
    const std::size_t entry = static_cast<std::size_t>((k - 1) * ws.i_Num_Thrusts + t);
    if (entry > m.MEI_Report_Names.size() || m.MEI_Report_Names[entry - 1].empty()) {
        missing = true;
        return;
    }
    std::FILE* f = std::fopen(m.MEI_Report_Names[entry - 1].c_str(), "w");
    if (f == nullptr) {
        missing = true;
        return;
    }
    const double scale = m.IUNITS == USCS ? 1000.0 : 1.0;
    for (int p = 1; p <= ws.n_Points[t]; ++p) {
        const std::string line =
            Format_E(ws.M[t][p] * scale, 15, 8) + Format_E(ws.Curv[t][p], 15, 8) + "\n";
        std::fputs(line.c_str(), f);
    }
    std::fclose(f);
}

void Store_Curves(AnalysisModel& m, int k, const SectionWorkspace& ws) {
    SectionEITable& T = m.EI_Table;
    const bool us = m.IUNITS == USCS;
    T.i_Num_Thrusts[k] = ws.i_Num_Thrusts;
    bool missing = false;
    for (int t = 1; t <= ws.i_Num_Thrusts; ++t) {
        const int n = ws.n_Points[t];
        T.n_Points[k][t] = n;
        T.Mn[k][t] = us ? ws.Mn[t] * 1000.0 : ws.Mn[t];
        T.Thrust[k][t] = ws.Thrust[t];
        m.Plot.Write_Text(Format_I(n, 5));
        m.Plot.Write_Blanks(10);
        m.Plot.Write_Text(Format_ES(ws.Thrust[t], 15, 7));
        m.Plot.Write_Text(Format_ES(ws.Mn[t], 15, 7));
        m.Plot.Write_Blanks(35);
        const char* line4 =
            us ? "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load (kips), Nom. Moment Cap. "
                 "(in-kips), Section "
               : "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load (kN), Nom. Moment Cap. (kN-m), "
                 "Section ";
        m.Plot.Write_Line(line4 + std::to_string(k));
        Record_Section_Curve(m, k, t, ws.Thrust[t], ws.Mn[t], line4);
        const char* line5 = us ? "Line 5 : Moment (in-kips), EI (kip-in^2), Curvature (rad/in) "
                               : "Line 5 : Moment (kN-m), EI (kN-m^2), Curvature (rad/m) ";
        for (int p = 1; p <= n; ++p) {
            T.M[k][t][p] = ws.M[t][p];
            T.EI[k][t][p] = ws.EI[t][p];
            T.Phi[k][t][p] = ws.Curv[t][p];
            Write_Curve_Point_Line(m.Plot, ws.M[t][p], ws.EI[t][p], ws.Curv[t][p], line5, k, t, p);
            Record_Section_Point(m, k, t, ws.M[t][p], ws.EI[t][p], ws.Curv[t][p], line5);
        }
        Write_Moment_Curvature_File(m, k, ws, t, missing);
    }
    if (missing && ws.i_Num_Thrusts > 0) {
        m.Report.Blank_Lines(1);
        m.Report.Write_Line(fmt::format(
            "Note: no moment-curvature file was written for one or more axial thrusts of "
            "section {}",
            k));
        m.Report.Write_Line("because no file name was given for it.");
    }
}

void Write_Capacity_Summary(AnalysisModel& m, int k, const SectionWorkspace& ws) {
    TextFile& r = m.Report;
    const TableUnitTexts u = Table_Unit_Texts(m.IUNITS);
    r.Blank_Lines(2);
    r.Write_Line(std::string(80, '-'));
    r.Write_Line(fmt::format(
        "   Summary of Results for Nominal (Unfactored) Moment Capacity for Section {}", k));
    r.Write_Line(std::string(80, '-'));
    r.Blank_Lines(1);
    if (ws.i_Geometry_Kind == GEOM_PIPE) {
        r.Write_Line(" Load           Axial Thrust        Nominal Mom. Cap.");
        r.Write_Line(fmt::format("  No.              {:<7}{}{:<7}", u.force, std::string(14, ' '),
                                 u.moment));
        r.Write_Line(" ----         ----------------     ------------------");
        for (int t = 1; t <= ws.i_Num_Thrusts; ++t) {
            r.Write_Line(Format_I(t, 4) + Format_F(ws.Thrust[t], 22, 3) +
                         Format_F(ws.Mn[t], 22, 1));
        }
        r.Blank_Lines(1);
        r.Write_Line("Note that the values in the above table are not factored by a strength");
        r.Write_Line("reduction factor for LRFD.");
        r.Blank_Lines(1);
        r.Write_Line(
            "The value of the strength reduction factor depends on the provisions of the ");
        r.Write_Line("LRFD code being followed.");
        r.Blank_Lines(1);
        r.Write_Line(
            "The above values should be multiplied by the appropriate strength reduction ");
        r.Write_Line(
            "factor to compute ultimate moment capacity according to the LRFD structural ");
        r.Write_Line("design standard being followed.");
        r.Blank_Lines(2);
    } else {
        r.Write_Line("Moment values interpolated at maximum compressive strain = 0.003");
        r.Write_Line("or maximum developed moment if pile fails at smaller strains.");
        r.Blank_Lines(1);
        r.Write_Line(" Load           Axial Thrust        Nominal Mom. Cap.      Max. Comp.");
        r.Write_Line(
            At_Column(At_Column(At_Column("  No.", 20, u.force), 41, u.moment), 62, "Strain"));
        r.Write_Line(" ----         ----------------     ------------------     ------------");
        for (int t = 1; t <= ws.i_Num_Thrusts; ++t) {
            r.Write_Line(Format_I(t, 4) + Format_F(ws.Thrust[t], 22, 3) +
                         Format_F(ws.Mn[t], 22, 3) + Format_F(ws.Strain_At_Mn[t], 21, 8));
        }
        r.Blank_Lines(1);
        for (const char* line :
             {"Note note that the values of moment capacity in the table above are not ",
              "factored by a strength reduction factor (phi-factor).", "",
              "In ACI 318-08, the value of the strength reduction factor depends on whether ",
              "the transverse reinforcing steel bars are tied hoops (0.65) or spirals (0.70).", "",
              "The above values should be multiplied by the appropriate strength reduction ",
              "factor to compute ultimate moment capacity according to ACI 318-08, Section ",
              "9.3.2.2 or the value required by the design standard being followed.", "",
              "The following table presents factored moment capacities and corresponding ",
              "bending stiffnesses computed for common resistance factor values used for ",
              "reinforced concrete sections."}) {
            if (*line == '\0') {
                r.Blank_Lines(1);
            } else {
                r.Write_Line(line);
            }
        }
        r.Blank_Lines(1);
        r.Write_Line(" Axial     Resistance           Nominal           Ultimate (Factored)     "
                     "Ultimate (Factored)     Bending Stiffness");
        r.Write_Line(" Load        Factor         Moment Capacity          Axial Thrust           "
                     "Moment Capacity       at Ult. Mom. Cap.");
        r.Write_Line(At_Column(
            At_Column(At_Column(At_Column("  No.      for Moment", 32, u.moment), 57, u.force), 80,
                      u.moment),
            104, u.stiffness));
        r.Write_Line(" -----     ----------     -------------------     -------------------     "
                     "-------------------     -------------------");
        const double factors[] = {static_cast<double>(0.65f), static_cast<double>(0.70f), 0.75};
        for (int g = 0; g < 3; ++g) {
            if (g > 0) {
                r.Write_Line(" ");
            }
            const double f = factors[g];
            for (int t = 1; t <= ws.i_Num_Thrusts; ++t) {
                r.Write_Line(Format_I(t, 4) + std::string(9, ' ') + Format_F(f, 5, 2) +
                             Format_F(ws.Mn[t], 24, 3) + Format_F(f * ws.Thrust[t], 24, 3) +
                             Format_F(f * ws.Mn[t], 24, 3) +
                             Format_F(Interpolate_EI_At_Moment(ws, t, f * ws.Mn[t]), 24, 3));
            }
        }
    }
    r.Blank_Lines(2);
}

} // namespace

void Compute_Moment_Curvature(AnalysisModel& m, int k, SectionWorkspace& ws) {
    const bool pipe = ws.i_Geometry_Kind == GEOM_PIPE;
    // The caller has sliced the section; slicing depends on the geometry and bars alone,
    // so the slices stand. The prestrains are formed again, now with their report block.
    Initialize_Materials(m, ws);
    if (m.RunStatus > 0) {
        return;
    }
    Compute_Axial_Capacities(ws);
    ws.Curvature_Increment = fn_Initial_Curvature_Increment(m.IUNITS, ws.H);
    if (!pipe) {
        Write_Concrete_Properties(m, k, ws);
    }
    Validate_Thrusts(m, k, ws);
    if (m.RunStatus > 0) {
        return;
    }
    Write_Run_Message_Definitions(m, ws);
    for (int t = 1; t <= ws.i_Num_Thrusts; ++t) {
        Write_Moment_Curvature_Heading(m, ws, ws.Thrust[t]);
        Compute_Thrust_Curve(m, ws, t);
        if (m.RunStatus > 0) {
            return;
        }
        Write_Curve_Rows(m, ws, t);
        if (!pipe && ws.n_Points[t] >= MAX_MC_POINTS) {
            Write_Points_Warning(m);
        }
    }
    Store_Curves(m, k, ws);
    Write_Capacity_Summary(m, k, ws);
}

void Compute_Section_Stiffness(AnalysisModel& m, int k) {
    const PileSection& s = m.Sections[k];
    const int type = s.i_Section_Type;
    const SectionUnitTexts u = Section_Unit_Texts(m.IUNITS);
    m.Labels.Moment = u.moment;
    if (type == SECTION_MICROPILE) {
        if (Micropile_Error(m, k) > 0) {
            return;
        }
    }
    if (type > SECTION_OCTAGONAL_HOLLOW_PRESTRESSED) {
        // Elastic, elastic-plastic and user-defined EI sections are tabulated directly.
        Compute_Tabulated_Section_EI(m, k);
        return;
    }
    // Every member of the workspace has its own initializer, so default-initialization
    // (new without braces) sets it completely without the extra clearing pass of
    // value-initialization.
    std::unique_ptr<SectionWorkspace> ws(new SectionWorkspace);
    Fill_Section_Workspace(m, k, *ws);
    if (m.RunStatus > 0) {
        return;
    }
    // The slices give the bar areas and capacities that the property blocks report; the
    // loss-of-prestress block follows them, in the moment-curvature computation.
    ws->b_Prestress_Reported = true;
    Initialize_EI_Vars(m, *ws);
    if (m.RunStatus > 0) {
        return;
    }
    ws->b_Prestress_Reported = false;
    Compute_Axial_Capacities(*ws);
    Write_Section_Dimensions(m, k, *ws);
    if (type <= SECTION_STEEL_PIPE) {
        Write_Axial_Capacities(m, *ws);
        if (type <= SECTION_CASED_SHAFT_WITH_CORE) {
            Write_Bar_Table(m, k, *ws);
        }
    } else {
        Write_Strand_Details(m, k, *ws);
    }
    Compute_Moment_Curvature(m, k, *ws);
}

} // namespace zarno
