#include "engine/analysis_model.h"
#include "py/rock_silt_report.h"
#include "report/report_header.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

namespace zarno {
namespace {

struct Printed : test::ModelFiles {
    explicit Printed(int units) {
        m->IUNITS = units;
        Set_Unit_Labels(*m, units);
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    std::vector<std::string> Report() { return Lines(ModelFiles::Report()); }
    std::vector<std::string> Plot() { return Lines(ModelFiles::Plot()); }
};

PyReportCommon Common() {
    PyReportCommon c;
    c.layer = 2;
    c.curve = 3;
    c.X = 60.0;
    c.xt = 60.0;
    c.b = 24.0;
    c.pm = 0.5;
    c.ym = 2.0;
    return c;
}

TEST(RockSiltReport, WeakRockBlockAndPlotRecords) {
    Printed out(USCS);
    const WeakRockCurve w = Weak_Rock_Curve(24.0, 500.0, 30.0, 1.0e5, 5.0e-4, 36.0);
    Write_Weak_Rock_Report(*out.m, Common(), w, 0.07, 30.0, 1.0e5, 5.0e-4);
    const auto report = out.Report();
    ASSERT_GE(report.size(), 6u);
    EXPECT_EQ(report[0], "");
    EXPECT_EQ(report[1], "");
    EXPECT_EQ(report[2], "p-y Curve Computed Using Weak Rock Criteria");
    EXPECT_EQ(report[3], "");
    EXPECT_EQ(report[4], "Soil Layer Number" + std::string(38, ' ') + "=            2");
    // 60 in below the head is 5 ft.
    EXPECT_EQ(report[5], "Depth below pile head" + std::string(34, ' ') + "=        5.000 ft");
    // 17 rows after the rule, y and p multiplied: the last row is 20·yrm·ym and pur·pm.
    const auto rule =
        std::find(report.begin(), report.end(), "----------------    -----------------");
    ASSERT_NE(rule, report.end());
    EXPECT_EQ(report.end() - rule - 1, PY_PRINT_POINTS);
    EXPECT_EQ(report.back(),
              "   " + Format_Number(0.48, 12) + "     " + Format_Number(14880.0, 12));

    const auto plot = out.Plot();
    ASSERT_EQ(plot.size(), 1u + PY_PRINT_POINTS);
    EXPECT_EQ(plot[0], "  6.0000000E+01   17" + std::string(60, ' ') +
                           "Line 7:  p-y curve depth in weak rock, no. p-y points on curve no. 3");
    EXPECT_EQ(plot[1], "  0.0000000E+00  0.0000000E+00" + std::string(50, ' ') +
                           "Line 8(1): y, p, for weak rock");
    EXPECT_EQ(plot[17], "  4.8000000E-01  1.4880000E+04" + std::string(50, ' ') +
                            "Line 8(17): y, p, for weak rock");
}

TEST(RockSiltReport, LoessUsesThePiedmontLine7Wording) {
    Printed out(SI);
    PyReportCommon c = Common();
    c.pm = 1.0;
    c.ym = 1.0;
    const LoessCurve l = Loess_Curve(1.0, 1.0, 5000.0, 2.0, SI);
    Write_Loess_Report(*out.m, c, l, 2.0);
    const auto report = out.Report();
    EXPECT_EQ(report[6], "Depth below ground surface" + std::string(29, ' ') + "=       60.000 m");
    EXPECT_EQ(report[8].substr(0, 30), "Depth Adj. Cone tip resistance");
    const auto plot = out.Plot();
    EXPECT_EQ(plot[0].substr(80), "Line 7:  p-y curve depth in Piedmont residual soil, no. p-y "
                                  "points on curve no. 3");
    EXPECT_EQ(plot[17].substr(80), "Line 8(17): y, p, for Loess");
}

TEST(RockSiltReport, PiedmontValueLineByTest) {
    Printed out(USCS);
    const PiedmontCurve p = Piedmont_Curve(PIEDMONT_PMT, 2000.0, 24.0, USCS);
    Write_Piedmont_Report(*out.m, Common(), p, PIEDMONT_PMT, 2000.0);
    const auto report = out.Report();
    EXPECT_EQ(report[8], "Type of Field Test" + std::string(37, ' ') + "= Pressuremeter Test");
    EXPECT_EQ(report[9], "DMT Epmt" + std::string(47, ' ') + "=     2000.000 psi");
}

} // namespace
} // namespace zarno
