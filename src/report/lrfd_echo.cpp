#include "report/lrfd_echo.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"
#include "report/echo_lines.h"
#include "report/fortran_format.h"
#include "solver/lrfd.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zarno {

namespace {

// Input error of an LRFD run without loads or without combinations.
constexpr int LRFD_DATA_MISSING_ERROR = 54;

constexpr const char* GROUP_TYPE_NAMES[NUM_LRFD_LOAD_TYPES + 1] = {"",
                                                                   "Dead Load   (DL)",
                                                                   "Live Load   (LL)",
                                                                   "Earthquake  (EQ)",
                                                                   "Impact Load (IM)",
                                                                   "Wind Load    (W)",
                                                                   "Water Load  (HW)",
                                                                   "Ice Load   (Ice)",
                                                                   "Horiz. Soil (Hs)",
                                                                   "Live Roof   (Lr)",
                                                                   "Rain Load   (Rn)",
                                                                   "Snow Load   (Sn)",
                                                                   "Temperature (Tm)",
                                                                   "Special     (Sp)"};

constexpr const char* TOTAL_TYPE_NAMES[NUM_LRFD_LOAD_TYPES + 1] = {"",
                                                                   "Dead Loads   (DL)",
                                                                   "Live Loads   (LL)",
                                                                   "Earthquake   (EQ)",
                                                                   "Impact Load  (IM)",
                                                                   "Wind Loads    (W)",
                                                                   "Water Loads  (HW)",
                                                                   "Ice Loads   (Ice)",
                                                                   "Horiz. Soil  (Hs)",
                                                                   "Live Roof    (Lr)",
                                                                   "Rain Loads   (Rn)",
                                                                   "Snow Loads   (Sn)",
                                                                   "Temperature  (Tm)",
                                                                   "Special      (Sp)"};

constexpr const char* TYPE_SYMBOLS[NUM_LRFD_LOAD_TYPES + 1] = {
    "", "DL", "LL", "EQ", "IM", "W", "HW", "Ice", "Hs", "Lr", "Rn", "Sn", "Tm", "Sp"};

constexpr double DEGREES_PER_RADIAN = 180.0 / 3.141592653589793;

struct EchoUnits {
    std::string force;  // " lbs"
    std::string moment; // " in-lbs"
};

EchoUnits Units_Of(const AnalysisModel& m) {
    if (m.IUNITS == USCS) {
        return {" lbs", " in-lbs"};
    }
    if (m.IUNITS == SI) {
        return {" kN", " kN-m"};
    }
    return {" " + Trim_Right(m.Labels.Force),
            " " + Trim_Right(m.Labels.Force) + "-" + Trim_Right(m.Labels.Length)};
}

// An LRFD run needs unfactored loads and combinations; without either there is no load
// case to analyse, which must not pass for a run without findings.
bool Check_Lrfd_Data(AnalysisModel& m) {
    const bool loads = m.i_Num_Lrfd_Loads >= 1;
    const bool combinations = m.i_Num_Lrfd_Combinations >= 1;
    if (loads && combinations) {
        return true;
    }
    return Fail_Run_Numbered(m, MessageId::LrfdDataMissing, 100 + LRFD_DATA_MISSING_ERROR,
                             !loads ? "LRFD LOADS" : "LRFD FACTORS AND CASES") == 0;
}

void Write_Unfactored_Loads(AnalysisModel& m) {
    TextFile& r = m.Report;
    const bool si = m.IUNITS == SI;
    r.Blank_Lines(3);
    r.Write_Line(std::string(79, '-'));
    r.Write_Line("                  Unfactored Loading Groups for LRFD Analysis");
    r.Write_Line(std::string(79, '-'));
    r.Blank_Lines(1);
    r.Write_Line("Number of Loading Groups = " + Format_I(m.i_Num_Lrfd_Loads, 0));
    r.Blank_Lines(1);
    r.Write_Line("      Load                    Load                Horiz. Force               "
                 "Moment                Axial Force           Number of ");
    r.Write_Line(si ? "      Group                   Type                     kN                   "
                      "  kN-m                     kN             Distrib. Lds. "
                    : "      Group                   Type                     lbs                  "
                      "inch-lbs                   lbs             Distrib. Lds. ");
    r.Write_Line("    -------            ----------------      ----------------      "
                 "----------------      ----------------     -------------");
    const int N = std::clamp(m.i_Num_Lrfd_Loads, 0, MAX_LRFD_LOADS);
    for (int i = 1; i <= N; ++i) {
        const LrfdLoad& load = m.Lrfd_Loads[i];
        const int t = std::clamp(load.i_Load_Type, 0, NUM_LRFD_LOAD_TYPES);
        std::string name = GROUP_TYPE_NAMES[t];
        name.resize(16, ' ');
        r.Write_Line(Format_I(i, 9) + std::string(15, ' ') + name +
                     Format_F(load.Horizontal_Force, 24, 2) + Format_F(load.Moment, 24, 2) +
                     Format_F(load.Axial_Force, 24, 2) + Format_I(load.i_Num_Dist_Points, 14));
    }
    for (int i = 1; i <= N; ++i) {
        const LrfdLoad& load = m.Lrfd_Loads[i];
        const int D = std::clamp(load.i_Num_Dist_Points, 0, MAX_DIST_LOAD_POINTS);
        if (D < 1) {
            continue;
        }
        r.Blank_Lines(1);
        r.Write_Line("Number of Distributed Loading Points Input for Load Group " + Format_I(i, 0) +
                     " = " + Format_I(D, 0));
        r.Blank_Lines(1);
        r.Write_Line("Point           Depth          Distributed Load");
        // Depths of distributed loads are entered in inches (meters in SI).
        r.Write_Line(si ? "                  m                kN/m      "
                        : "                  in               lb/inch   ");
        r.Write_Line("-----     ----------------     ----------------");
        for (int j = 1; j <= D; ++j) {
            const DepthValue& p = load.Dist_Load[static_cast<size_t>(j)];
            r.Write_Line(Format_I(j, 4) + Format_F(p.Depth, 21, 2) + Format_F(p.Value, 21, 2));
        }
    }
}

void Write_Type_Totals(AnalysisModel& m) {
    const LrfdState& s = m.Lrfd;
    TextFile& r = m.Report;
    const bool si = m.IUNITS == SI;
    r.Blank_Lines(2);
    r.Write_Line("Totals of Unfactored Loads by Load Type for LRFD Analyses:");
    r.Write_Line(std::string(58, '-'));
    r.Blank_Lines(1);
    r.Write_Line("Number of Defined Unfactored Load Cases = " + Format_I(m.i_Num_Lrfd_Loads, 0));
    r.Blank_Lines(1);
    r.Write_Line(
        "The following table presents the sum of unfactored pile-head loads for each load type.");
    r.Blank_Lines(1);
    r.Write_Line("   Load Type                  Horiz. Force                  Moment             "
                 "Axial Force   No. Loads");
    r.Write_Line(
        si ? "                                     kN                    kN-m              "
             "        kN            "
           : "                                    lbs                inch-lbs              "
             "       lbs            ");
    r.Write_Line("-----------------      ----------------        ----------------        "
                 "----------------   ---------");
    for (int t = 1; t <= NUM_LRFD_LOAD_TYPES; ++t) {
        r.Write_Line(std::string(TOTAL_TYPE_NAMES[t]) + Format_F(s.Sum_Horizontal[t], 24, 2) +
                     Format_F(s.Sum_Moment[t], 24, 2) + Format_F(s.Sum_Axial[t], 24, 2) +
                     Format_I(s.i_Num_Loads_Of_Type[t], 12));
    }
}

void Write_Factor_Table(AnalysisModel& m) {
    TextFile& r = m.Report;
    const int C = std::clamp(m.i_Num_Lrfd_Combinations, 0, MAX_LRFD_COMBINATIONS);
    r.Blank_Lines(2);
    r.Write_Line(std::string(77, '-'));
    r.Write_Line("     Load and Resistance Factors by Load Combinations for LRFD Analyses      ");
    r.Write_Line(std::string(77, '-'));
    r.Blank_Lines(1);
    r.Write_Line("Number of Factored Load Combinations = " + Format_I(C, 0));
    r.Blank_Lines(1);
    r.Write_Line("Summary of Load and Resistance Factors:");
    r.Blank_Lines(1);
    r.Write_Line(
        " No.    DL     LL     EQ     IM    Wind   Watr    Ice   Soil   Roof   Rain   Snow "
        "  Temp   Spcl   M RF   V RF   Name");
    for (int c = 1; c <= C; ++c) {
        const LrfdCombination& comb = m.Lrfd_Combinations[c];
        std::string line = Format_I(c, 4);
        for (int t = 1; t <= NUM_LRFD_LOAD_TYPES; ++t) {
            line += comb.Load_Factor[t] != 0.0 ? Format_F(comb.Load_Factor[t], 7, 2) : "    -- ";
        }
        line += Format_F(comb.Resistance_Factor_Flexure, 7, 2) +
                Format_F(comb.Resistance_Factor_Shear, 7, 2) + "   " + Trim_Right(comb.Name);
        r.Write_Line(line);
    }
}

void Write_Factored_Loads(AnalysisModel& m, const EchoUnits& u) {
    const LrfdState& s = m.Lrfd;
    TextFile& r = m.Report;
    const int C = std::clamp(m.i_Num_Lrfd_Combinations, 0, MAX_LRFD_COMBINATIONS);
    r.Blank_Lines(2);
    r.Write_Line(std::string(78, '-'));
    r.Write_Line(std::string(18, ' ') + "Computed Factored Loads for LRFD Analyses");
    r.Write_Line(std::string(78, '-'));
    for (int c = 1; c <= C; ++c) {
        const LrfdCombination& comb = m.Lrfd_Combinations[c];
        r.Blank_Lines(1);
        r.Write_Line("Factored Load Combination No. " + Format_I(c, 0));
        r.Blank_Lines(1);
        r.Write_Line("Load Combination Name = " + Trim_Right(comb.Name));
        r.Write_Line("Structural Resistance Factor for Flexure =" +
                     Format_F(comb.Resistance_Factor_Flexure, 6, 3));
        r.Write_Line("Structural Resistance Factor for Shear   =" +
                     Format_F(comb.Resistance_Factor_Shear, 6, 3));
        std::string formula = "Factored Load = ";
        bool first = true;
        for (int t = 1; t <= NUM_LRFD_LOAD_TYPES; ++t) {
            if (comb.Load_Factor[t] == 0.0) {
                continue;
            }
            formula +=
                (first ? "" : " +") + Format_F(comb.Load_Factor[t], 5, 2) + "*" + TYPE_SYMBOLS[t];
            first = false;
        }
        r.Write_Line(formula);
        r.Write_Line("Factored Horizontal Force = " + Format_F(s.Horizontal[c], 24, 2) + u.force);
        r.Write_Line("Factored Vertical Force   = " + Format_F(s.Vertical[c], 24, 2) + u.force);
        r.Write_Line("Factored Moment           = " + Format_F(s.Moment[c], 24, 2) + u.moment);
    }

    r.Blank_Lines(2);
    r.Write_Line("Totals of Factored Loads by Load Combination:");
    r.Write_Line(std::string(45, '-'));
    r.Blank_Lines(1);
    r.Write_Line(" No.        Horizontal Force          Vertical Force                  Moment");
    r.Write_Line("    " + std::string(24 - static_cast<int>(u.force.size()), ' ') + u.force +
                 std::string(24 - static_cast<int>(u.force.size()), ' ') + u.force +
                 std::string(24 - static_cast<int>(u.moment.size()), ' ') + u.moment);
    for (int c = 1; c <= C; ++c) {
        r.Write_Line(Format_I(c, 4) + Format_F(s.Horizontal[c], 24, 2) +
                     Format_F(s.Vertical[c], 24, 2) + Format_F(s.Moment[c], 24, 2));
    }

    const double beta = m.Pile_Batter;
    r.Blank_Lines(2);
    r.Write_Line("Factored Loads Transformed for Pile Batter by Load Combination:");
    r.Write_Line(std::string(63, '-'));
    r.Blank_Lines(1);
    r.Write_Line("Pile PileBatter = " + Format_F(beta * DEGREES_PER_RADIAN, 10, 4) + " degrees");
    r.Blank_Lines(1);
    r.Write_Line("   T(1,1) =  Cos(PileBatter) = " + Format_F(std::cos(beta), 12, 8));
    r.Write_Line("   T(1,2) = Sin(PileBatter) = " + Format_F(std::sin(beta), 12, 8));
    r.Write_Line("   T(2,1) = -Sin(PileBatter) = " + Format_F(0.0 - std::sin(beta), 12, 8));
    r.Write_Line("   T(2,2) = Cos(PileBatter) = " + Format_F(std::cos(beta), 12, 8));
    r.Blank_Lines(1);
    r.Write_Line("   Shear Force = T(1,1) * Horiz. Force + T(1,2) * Vertical Force");
    r.Write_Line("   Axial Force = T(2,1) * Horiz. Force + T(2,2) * Vertical Force");
    r.Blank_Lines(1);
    r.Write_Line(" No.             Shear Force             Axial Force                  Moment");
    r.Write_Line("    " + std::string(24 - static_cast<int>(u.force.size()), ' ') + u.force +
                 std::string(24 - static_cast<int>(u.force.size()), ' ') + u.force +
                 std::string(24 - static_cast<int>(u.moment.size()), ' ') + u.moment);
    for (int c = 1; c <= C; ++c) {
        r.Write_Line(Format_I(c, 4) + Format_F(s.Shear[c], 24, 2) + Format_F(s.Axial[c], 24, 2) +
                     Format_F(s.Moment[c], 24, 2));
    }

    r.Blank_Lines(2);
    r.Write_Line("Sorted Values of Axial Thrust Forces Sorted for LRFD Computations:");
    r.Write_Line(std::string(66, '-'));
    r.Blank_Lines(1);
    r.Write_Line("Number of Unique Axial Thrust Values = " + Format_I(s.i_Num_Distinct_Axial, 0));
    r.Blank_Lines(1);
    r.Write_Line("  No.  Axial Thrust," + u.force);
    for (int j = 1; j <= s.i_Num_Distinct_Axial; ++j) {
        r.Write_Line(Format_I(j, 4) + Format_F(s.Distinct_Axial[j], 16, 3));
    }
    r.Blank_Lines(1);
}

} // namespace

void Write_Lrfd_Echo(AnalysisModel& m) {
    if (!m.b_Use_LRFD) {
        return;
    }
    if (!Check_Lrfd_Data(m)) {
        return;
    }
    Compute_Factored_Loads(m);
    const EchoUnits u = Units_Of(m);
    Write_Unfactored_Loads(m);
    Write_Type_Totals(m);
    Write_Factor_Table(m);
    Write_Factored_Loads(m, u);
}

} // namespace zarno
