#include "report/response_summary.h"

#include "engine/analysis_model.h"
#include "report/fortran_format.h"

#include <algorithm>
#include <string>

namespace zarno {

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
    if (m.IUNITS == USCS) {
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
}

} // namespace zarno
