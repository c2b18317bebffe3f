#include "report/response_summary.h"

#include "engine/analysis_model.h"
#include "engine/run_status.h"
#include "report/fortran_format.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zarno {

namespace {

void Write_Lrfd_Headings(TextFile& r, int IUNITS) {
    if (IUNITS != USCS && IUNITS != SI) {
        return;
    }
    r.Write_Line("                                                                              "
                 "Maximum       Maximum                  ");
    r.Write_Line("Load  Load      Pile-head     Pile-head         Axial        Pile-head        "
                 "Moment         Shear        Pile-Head  ");
    if (IUNITS == USCS) {
        r.Write_Line(
            "Case  Type        Shear         Moment           Load        Deflection       "
            "in Pile       in Pile       Rotation   ");
        r.Write_Line(
            " No.   No.         lbs          in-lbs           lbs          inches          "
            "in-lbs          lbs          radians   ");
    } else {
        r.Write_Line(
            "Case  Type       Shear          Moment           Load        Deflection       "
            "in Pile       in Pile       Rotation   ");
        r.Write_Line(
            " No.   No.    kilonewtons        kN-m             kN           meters          "
            "kN-m           kN           radians   ");
    }
}

// The structural verdict of every combination in every section: the largest moment
// developed in the section against the resistance factor times its nominal capacity.
void Write_Lrfd_Performance_Table(AnalysisModel& m, int cases) {
    const LateralState& L = m.Lateral;
    TextFile& r = m.Report;
    r.Blank_Lines(2);
    r.Write_Line(std::string(80, '-'));
    r.Write_Line(std::string(19, ' ') + "LRFD Performance by Load Case Combination");
    r.Write_Line(std::string(80, '-'));
    r.Blank_Lines(2);
    r.Write_Line(
        "Load             Resistance    Factored      Maximum    Fact. Mom.    Pass/Fail    "
        " Maximum                           ");
    r.Write_Line(
        "Case   Section     Factor       Moment        Moment     Fraction     for LRFD    "
        "Shear For.    Pile-Top     Pile-Top ");
    r.Write_Line(
        " No.     No.     for Moment    Capacity     Developed    Mobilized     Moment     "
        " Developed   Deflection    Rotation ");
    r.Write_Line(
        "                              of Section   in Section   in Section   of Section   "
        "in Section    Developed    Developed   Name of Load Case Combination");
    r.Write_Line(
        "----   -------   ----------   ----------   ----------   ----------   ----------   "
        "----------   ----------   ----------   -----------------------------------------");
    int failures = 0;
    const int sections = std::clamp(m.i_Num_Sections, 0, MAX_SECTIONS);
    for (int n = 1; n <= cases; ++n) {
        const LrfdCombination& comb = m.Lrfd_Combinations[n];
        const LoadCaseSummary& head = L.Case[n];
        const double phi = comb.Resistance_Factor_Flexure;
        for (int s = 1; s <= sections; ++s) {
            const bool elastic = m.Sections[s].i_Section_Type == SECTION_ELASTIC;
            const double M = L.Section_Moment[n][s];
            const double capacity = elastic ? 0.0 : phi * Lrfd_Nominal_Moment_Capacity(m, n, s);
            r.Write_Integer(n, 3);
            r.Write_Blanks(1);
            r.Write_Integer(s, 7);
            r.Write_Blanks(3);
            r.Write_Number(phi, 10);
            r.Write_Blanks(6);
            if (elastic) {
                r.Write_Text(" Infinite ");
            } else {
                r.Write_Number(capacity, 10);
            }
            r.Write_Blanks(3);
            r.Write_Number(M, 10);
            r.Write_Blanks(3);
            // A moment of either sign loads the section: its magnitude is what is checked.
            if (elastic || !(capacity > 0.0)) {
                r.Write_Text("    N/A   ");
            } else {
                r.Write_Text(Format_F(std::abs(M) / capacity, 10, 4));
            }
            r.Write_Blanks(3);
            if (elastic) {
                r.Write_Text("    N/A      ");
            } else if (std::abs(M) < capacity) {
                r.Write_Text("   Pass      ");
            } else {
                r.Write_Text(" > FAIL <    ");
                Record_Warning(m, -400);
                ++failures;
            }
            r.Write_Number(L.Section_Shear[n][s], 10);
            r.Write_Blanks(3);
            r.Write_Number(head.Head_Deflection, 10);
            r.Write_Blanks(3);
            r.Write_Number(head.Head_Slope, 10);
            r.Write_Blanks(3);
            r.Write_Line(comb.Name);
        }
    }
    r.Blank_Lines(1);
    if (failures > 0) {
        r.Write_Line(Format_I(failures, 0) + " LRFD load combinations have failed.");
    } else {
        r.Write_Line("All LRFD load combinations have passed for all pile sections.");
    }
}

} // namespace

double Lrfd_Nominal_Moment_Capacity(const AnalysisModel& m, int c, int s) {
    if (c < 1 || c > MAX_LRFD_COMBINATIONS || s < 1 || s > MAX_SECTIONS) {
        return 0.0;
    }
    const SectionEITable& T = m.EI_Table;
    const int nt = T.i_Num_Thrusts[s];
    if (m.Sections[s].i_Section_Type == SECTION_ELASTIC_PLASTIC) {
        // The plastic moment varies along the section: take it where the largest moment
        // of the combination developed.
        const int node = c <= MAX_PILE_HEAD_LOADS ? m.Lateral.i_Section_Moment_Node[c][s] : 0;
        if (node >= 1 && node <= NODE_TABLE_SIZE) {
            return std::abs(m.Lateral.Node_Mp[node]);
        }
        return nt >= 1 ? T.Mn[s][1] : 0.0;
    }
    if (nt < 1) {
        return 0.0;
    }
    // The table of the combination's factored thrust (user tables by position).
    const int t = std::clamp(m.Lrfd.i_Thrust_Index[c], 1, nt);
    return T.Mn[s][t];
}

void Write_Pile_Response_Summary(AnalysisModel& m) {
    const LateralState& L = m.Lateral;
    if (L.b_Stiffness_Mode) {
        return;
    }
    TextFile& r = m.Report;
    r.Blank_Lines(3);
    r.Write_Line(std::string(80, '-'));
    r.Write_Line(std::string(27, ' ') + "Summary of Pile Response(s)");
    r.Write_Line(std::string(80, '-'));
    r.Blank_Lines(2);
    const bool lrfd = m.b_Use_LRFD;
    if (lrfd) {
        Write_Lrfd_Headings(r, m.IUNITS);
    } else if (m.IUNITS == USCS) {
        r.Write_Line("Definitions of Pile-head Loading Conditions:");
        r.Blank_Lines(1);
        r.Write_Line("Load Type 1: Load 1 = Shear, lbs, and Load 2 = Moment, in-lbs");
        r.Write_Line("Load Type 2: Load 1 = Shear, lbs, and Load 2 = Slope, radians");
        r.Write_Line(
            "Load Type 3: Load 1 = Shear, lbs, and Load 2 = Rotational Stiffness, in-lbs/radian");
        r.Write_Line("Load Type 4: Load 1 = Top Deflection, inches, and Load 2 = Moment, in-lbs");
        r.Write_Line("Load Type 5: Load 1 = Top Deflection, inches, and Load 2 = Slope, radians");
        r.Blank_Lines(2);
        r.Write_Line("               Pile-head      Pile-head                                      "
                     "Maximum        Maximum                  ");
        r.Write_Line("Load  Load    Condition 1    Condition 2        Axial        Pile-head       "
                     "Moment          Shear        Pile-head  ");
        r.Write_Line("Case  Type    V(lbs) or     in-lb, rad.,       Loading      Deflection       "
                     "in Pile        in Pile       Rotation   ");
        r.Write_Line(" No.   No.    y(inches)     or in-lb/rad.        lbs          inches         "
                     "in-lbs           lbs          radians   ");
    } else if (m.IUNITS == SI) {
        r.Write_Line("Definitions of Pile-head Loading Conditions:");
        r.Blank_Lines(1);
        r.Write_Line("Load Type 1: Load 1 = Shear, kN, and Load 2 = Moment, kN-m ");
        r.Write_Line("Load Type 2: Load 1 = Shear, kN, and Load 2 = Slope, radians");
        r.Write_Line(
            "Load Type 3: Load 1 = Shear, kN, and Load 2 = Rotational Stiffness, kN-m/radian");
        r.Write_Line("Load Type 4: Load 1 = Top Deflection, m, and Load 2 = Moment, kN-m");
        r.Write_Line("Load Type 5: Load 1 = Top Deflection, m, and Load 2 = Slope, radians");
        r.Blank_Lines(2);
        r.Write_Line("               Pile-head      Pile-head                                      "
                     "Maximum        Maximum                  ");
        r.Write_Line("Load  Load    Condition 1    Condition 2        Axial        Pile-head       "
                     "Moment          Shear        Pile-head  ");
        r.Write_Line("Case  Type    V(kN) or       kN-m, rad.,       Loading      Deflection       "
                     "in Pile        in Pile       Rotation   ");
        r.Write_Line(
            " No.   No.    y(meters)      or kN-m/rad.        kN           meters          "
            "kN-m            kN           radians   ");
    }
    r.Write_Line("----  ----  --------------  --------------  -------------  -------------  "
                 "-------------  -------------  -------------");
    static constexpr const char* before_1[] = {
        "", "    1   V =", "    2   V =", "    3   V =", "    4   y =", "    5   y ="};
    static constexpr const char* before_2[] = {"", "  M =", "  S =", "  R =", "  M =", "  S ="};
    const int cases = std::min(L.i_Num_Cases_Done, MAX_PILE_HEAD_LOADS);
    for (int n = 1; n <= cases; ++n) {
        const PileHeadLoad& load = m.Loads[n];
        const LoadCaseSummary& c = L.Case[n];
        const int type = std::clamp(load.i_Load_Type, 0, 5);
        r.Write_Integer(n, 3);
        r.Write_Blanks(1);
        r.Write_Text(before_1[type]);
        r.Write_Number(load.Condition1, 11);
        r.Write_Text(before_2[type]);
        r.Write_Number(load.Condition2, 11);
        r.Write_Number(load.Axial_Thrust, 15);
        r.Write_Number(c.Head_Deflection, 15);
        r.Write_Number(c.Max_Moment, 15);
        r.Write_Blanks(4);
        r.Write_Number(c.Max_Shear, 11);
        r.Write_Line(Format_F(c.Head_Slope, 15, 8));
    }
    const bool us = m.IUNITS == USCS;
    for (int n = 1; n <= cases; ++n) {
        const LoadCaseSummary& c = L.Case[n];
        m.Plot.Write_Line(
            Format_ES(c.Head_Shear, 15, 7) + Format_ES(c.Head_Deflection, 15, 7) +
            Format_ES(c.Max_Moment, 15, 7) + Format_ES(c.Max_Shear, 15, 7) +
            Format_ES(c.Head_Slope, 15, 7) + std::string(5, ' ') +
            (us ? "Line 13: TopV(lbs), TopY(in), Max Moment(in-lbs), Max Shear(lbs), Rotation(rad)"
                : "Line 13: TopV(kN) TopY(m), Max Moment(kN-m), Max Shear(kN), Rotation(rad)"));
    }
    if (lrfd) {
        Write_Lrfd_Performance_Table(m, std::min(cases, MAX_LRFD_COMBINATIONS));
    }
}

} // namespace zarno
