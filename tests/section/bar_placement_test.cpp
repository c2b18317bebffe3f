#include "section/bar_placement.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno {
namespace {

TEST(BarsInCircle, EightSingleBars) {
    BarCoordinates X{}, Y{};
    bool ok = false;
    Place_Bars_In_Circle(X, Y, 36.0, 3.0, 1.0, 8, 1, ok);
    ASSERT_TRUE(ok);
    EXPECT_NEAR(X[1], 14.5, 1e-12);
    EXPECT_NEAR(Y[1], 0.0, 1e-12);
    EXPECT_NEAR(X[3], 0.0, 1e-12);
    EXPECT_NEAR(Y[3], 14.5, 1e-12);
    EXPECT_NEAR(X[5], -14.5, 1e-12);
    for (int k = 1; k <= 8; ++k) {
        EXPECT_NEAR(std::hypot(X[k], Y[k]), 14.5, 1e-12);
    }
}

TEST(BarsInCircle, BundlesOfTwoAndThree) {
    BarCoordinates X{}, Y{};
    bool ok = false;
    Place_Bars_In_Circle(X, Y, 36.0, 3.0, 1.0, 4, 2, ok);
    ASSERT_TRUE(ok);
    const double alpha = 1.0 / (2.0 * 14.5);
    // Bars 3 and 4 straddle position 2 at 90 degrees.
    EXPECT_NEAR(std::atan2(Y[3], X[3]), std::numbers::pi / 2 - alpha, 1e-12);
    EXPECT_NEAR(std::atan2(Y[4], X[4]), std::numbers::pi / 2 + alpha, 1e-12);

    Place_Bars_In_Circle(X, Y, 36.0, 3.0, 1.0, 4, 3, ok);
    ASSERT_TRUE(ok);
    EXPECT_NEAR(X[3], 14.5 - std::sqrt(3.0) / 2.0, 1e-12);
    EXPECT_NEAR(Y[3], 0.0, 1e-12);
    // The spacing skips the touching bars of each bundle.
    BarCoordinates dia{};
    dia.fill(1.0);
    const BarSpacing s = fn_Min_Clear_Bar_Spacing(X, Y, dia, 12);
    EXPECT_GT(s.spacing, 1.0);
    EXPECT_NE((s.bar_i - 1) / 3, (s.bar_j - 1) / 3);
}

TEST(BarsInCircle, UnplaceableDataFail) {
    BarCoordinates X{}, Y{};
    bool ok = true;
    const struct {
        double D, cover, d;
        int h, b;
    } bad[] = {{36, 3, 40, 8, 1},  {0, 3, 1, 8, 1},  {36, 0, 1, 8, 1}, {36, 3, 1, 0, 1},
               {36, 3, 1, 301, 1}, {36, 3, 1, 8, 0}, {6, 3, 1, 8, 1}};
    for (const auto& c : bad) {
        Place_Bars_In_Circle(X, Y, c.D, c.cover, c.d, c.h, c.b, ok);
        EXPECT_FALSE(ok) << c.D << " " << c.cover << " " << c.d << " " << c.h << " " << c.b;
    }
}

TEST(StrandsSquare, TwelveAndFourteenStrands) {
    BarCoordinates X{}, Y{};
    bool ok = false;
    const double a = (14.0 - 0.5) / 2.0 - 2.0;
    for (const int code : {1, 2}) {
        Place_Strands_Square(X, Y, 14.0, 2.0, 0.5, 12, code, ok);
        EXPECT_NEAR(X[1], -a, 1e-12);
        EXPECT_NEAR(X[2], -a / 3.0, 1e-12);
        EXPECT_NEAR(X[4], a, 1e-12);
        EXPECT_NEAR(Y[5], -a / 3.0, 1e-12);
        EXPECT_NEAR(Y[6], a / 3.0, 1e-12);
        EXPECT_NEAR(X[7], a, 1e-12);
        EXPECT_NEAR(Y[7], a, 1e-12);
        EXPECT_NEAR(Y[11], a / 3.0, 1e-12);
        EXPECT_NEAR(X[12], -a, 1e-12);
    }
    Place_Strands_Square(X, Y, 14.0, 2.0, 0.5, 14, 1, ok);
    EXPECT_NEAR(X[5], a, 1e-12); // row of five
    EXPECT_NEAR(Y[6], -a / 3.0, 1e-12);
    Place_Strands_Square(X, Y, 14.0, 2.0, 0.5, 14, 2, ok);
    EXPECT_NEAR(X[4], a, 1e-12); // row of four
    EXPECT_NEAR(Y[5], -a / 2.0, 1e-12);
    EXPECT_NEAR(Y[6], 0.0, 1e-12);
    EXPECT_NEAR(Y[7], a / 2.0, 1e-12);
    // Thirteen strands: twelve placed, the last keeps its coordinates.
    X[13] = 99.0;
    Place_Strands_Square(X, Y, 14.0, 2.0, 0.5, 13, 1, ok);
    EXPECT_EQ(X[13], 99.0);
}

} // namespace
} // namespace zarno
