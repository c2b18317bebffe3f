// Battered piles: soil properties and layer membership follow the vertical depth below the
// pile head, for the stations and for the printed curves alike.
#include "lateral_input.h"

#include <cmath>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno::test {
namespace {

const double kBatter = 20.0 * std::numbers::pi / 180.0;

// The pile battered by `batter_deg` in ground sloping by the same angle, so that the
// effective slope (and with it any sloping-ground factor) is zero in both runs compared.
std::string Battered(const std::string& input, double batter_deg) {
    std::string text = input;
    const size_t end = text.rfind("END");
    text.insert(end, fmt::format("PILE BATTER AND SLOPE\n{}\n{}\n", batter_deg, batter_deg));
    return text;
}

std::string With_Printed_Depth(const std::string& input, double depth_ft) {
    std::string text = input;
    text.replace(text.find("PrintPYCurves NO"), 16, "PrintPYCurves YES");
    const size_t end = text.rfind("END");
    text.insert(end, fmt::format("DEPTHS OF PRINTED P-Y CURVES\n1\n1 {:.12f}\n", depth_ft));
    return text;
}

// The (y, p) rows of the printed curves (plot records Line 8).
std::vector<std::pair<double, double>> Printed_Points(const std::string& plot) {
    std::vector<std::pair<double, double>> points;
    std::istringstream in(plot);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("Line 8(") != std::string::npos) {
            points.emplace_back(std::strtod(line.substr(0, 15).c_str(), nullptr),
                                std::strtod(line.substr(15, 15).c_str(), nullptr));
        }
    }
    return points;
}

TEST(BatteredPileRun, PrintedCurveIsTheVerticalPilesCurveAtTheSameVerticalDepth) {
    // Soft clay over sand at 10 ft. Along the battered pile 10.5 ft lies at a vertical depth
    // of 9.87 ft, still in the clay.
    LateralCase c;
    c.length_ft = 50.0;
    c.layers = "2\n1 0.0 10.0\n50.0 400.0 0.02\n50.0 400.0 0.02\n"
               "5 10.0 60.0\n60.0 35.0 90.0\n60.0 35.0 90.0\n";
    c.loads = {"1 20000.0 0.0 0.0 1"};
    const double along = 10.5;
    const RunOutput battered =
        Run_Text(With_Printed_Depth(Battered(Lateral_Input(c), 20.0), along));
    const RunOutput vertical =
        Run_Text(With_Printed_Depth(Lateral_Input(c), along * std::cos(kBatter)));
    ASSERT_EQ(battered.result, 0) << battered.messages;
    ASSERT_EQ(vertical.result, 0) << vertical.messages;
    EXPECT_NE(battered.report.find("p-y Curve Computed Using the Soft Clay Criteria"),
              std::string::npos);
    const auto b = Printed_Points(battered.plot);
    const auto v = Printed_Points(vertical.plot);
    ASSERT_EQ(b.size(), 17u);
    ASSERT_EQ(v.size(), 17u);
    for (size_t j = 0; j < b.size(); ++j) {
        SCOPED_TRACE(j);
        EXPECT_NEAR(b[j].first, v[j].first, 1e-6 * std::fabs(v[j].first) + 1e-12);
        EXPECT_NEAR(b[j].second, v[j].second, 1e-6 * std::fabs(v[j].second) + 1e-9);
    }
    EXPECT_GT(b.back().second, 0.0);
}

TEST(BatteredPileRun, UserCurveLayerGivesEveryStationItsSpring) {
    // User curves 0 to 40 ft (straight lines: 100 pci at the top, 1000 pci at the bottom)
    // over an elastic subgrade. The battered pile reaches 40 ft vertically at 42.6 ft along
    // it, so the stations between 40 and 42.6 ft along the pile still lie in the user layer.
    LateralCase c;
    c.length_ft = 50.0;
    c.layers = "2\n14 0.0 40.0\n60.0 2\n0.0 0.0\n10.0 1000.0\n60.0 2\n0.0 0.0\n10.0 10000.0\n"
               "13 40.0 60.0\n60.0 500.0\n60.0 500.0\n";
    c.loads = {"1 20000.0 0.0 0.0 1"};
    const RunOutput out = Run_Text(Battered(Lateral_Input(c), 20.0));
    ASSERT_EQ(out.result, 0) << out.messages;
    const auto cases = Read_Stations(out.plot);
    ASSERT_EQ(cases.size(), 1u);
    int checked = 0;
    int beyond_along = 0;
    for (const Station& s : cases[0]) {
        const double Xv_ft = s.X * std::cos(kBatter) / 12.0;
        if (Xv_ft >= 40.0 - 1e-9 || std::fabs(s.y) < 1e-6) {
            continue;
        }
        SCOPED_TRACE(s.X / 12.0);
        // Straight curves: the secant modulus is the slope interpolated at the vertical depth.
        const double expected = 100.0 + (1000.0 - 100.0) * Xv_ft / 40.0;
        EXPECT_NEAR(std::fabs(s.p / s.y), expected, 1e-6 * expected);
        ++checked;
        beyond_along += s.X / 12.0 > 40.0 ? 1 : 0;
    }
    EXPECT_GT(checked, 80);
    EXPECT_GT(beyond_along, 3);
}

} // namespace
} // namespace zarno::test
