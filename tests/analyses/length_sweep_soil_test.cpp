// Deflection against pile length in a profile whose upper soil gives no support at rest: the
// sweep stops at the first length that reaches no supporting soil, says so, and the run
// goes on with its other load cases.
#include "lateral/lateral_input.h"

#include <gtest/gtest.h>

namespace zarno::test {
namespace {

TEST(LengthSweepSoil, LengthWithoutSoilSupportEndsTheSweepNotTheRun) {
    // SI: a 20 m pile, 600 mm wide, liquefied sand to 2.5 m over stiff user-input curves.
    // The candidates run 20, 19, ..., 3 m; at 2 m the pile lies wholly in liquefied sand,
    // which has no stiffness at rest.
    LateralCase c;
    c.length_ft = 20.0;
    c.increments = 100;
    c.E = 2.0e8;
    c.b = 600.0;
    c.I = 6.4e9;
    c.excess_deflection = 10.0;
    c.layers = "2\n7 0.0 2.5\n8.0\n8.0\n"
               "14 2.5 30.0\n9.0 2\n0.0 0.0\n1.0 20000.0\n9.0 2\n0.0 0.0\n1.0 40000.0\n";
    c.loads = {"1 50.0 0.0 0.0 0", "1 80.0 0.0 0.0 1"};
    std::string text = Lateral_Input(c);
    text.replace(text.find("Units USCS"), 10, "Units SI");
    const RunOutput out = Run_Text(text);
    ASSERT_LE(out.result, 0) << out.messages;
    EXPECT_EQ(out.report.find("Runtime Error No. 40"), std::string::npos);
    EXPECT_NE(out.report.find("The sequence of pile lengths ended at a length of      2.000 "
                              "m:\nno part of a pile this short lies in soil that resists "
                              "lateral movement,"),
              std::string::npos)
        << out.report;
    // The lengths analysed before it are in the table: 20 m down to 3 m.
    const std::string line11 = "   18" + std::string(75, ' ') +
                               "Line 11: Num. points on Ytop vs. pile length curve for load case 1";
    EXPECT_NE(out.plot.find(line11), std::string::npos);
    // Load case 2 is analysed and reported after the sweep, on the whole pile.
    const auto cases = Read_Stations(out.plot);
    ASSERT_EQ(cases.size(), 2u);
    EXPECT_EQ(cases[1].size(), 101u);
    EXPECT_GT(cases[1].front().y, cases[0].front().y);
}

} // namespace
} // namespace zarno::test
