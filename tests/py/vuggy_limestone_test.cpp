#include "engine/analysis_model.h"
#include "py/vuggy_limestone.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno {
namespace {

// A 36-in shaft 120 in deep in limestone of qu = 1500 psi and gamma' = 0.08 pci. By hand:
// s = 750 psi; y1 = 0.0004·36 = 0.0144 in; p1 = 0.8·36·750 = 21 600 lb/in; the full
// resistance b·s = 27 000 lb/in is reached at y2 = 0.0144 + 5400/75 000 = 0.0864 in;
// beyond y2 only 0.5·0.08·36·120 = 172.8 lb/in remains.
class VuggyLimestoneTest : public ::testing::Test {
  protected:
    VuggyLimestoneCurve v = Vuggy_Limestone_Curve(1500.0, 36.0, 0.08, 120.0);
};

TEST_F(VuggyLimestoneTest, ParametersMatchHandCalculation) {
    EXPECT_DOUBLE_EQ(v.s, 750.0);
    EXPECT_NEAR(v.y1, 0.0144, 1e-8); // single-precision 0.0004
    EXPECT_NEAR(v.p1, 21600.0, 1e-3);
    EXPECT_NEAR(v.y2, 0.0864, 1e-8);
    EXPECT_NEAR(v.p_Residual, 172.8, 1e-9);
}

TEST_F(VuggyLimestoneTest, CurveBranches) {
    EXPECT_NEAR(Vuggy_Limestone_p(v, 0.01), 15000.0, 1e-9); // 2000·750·0.01
    EXPECT_NEAR(Vuggy_Limestone_p(v, 0.05), 24270.0, 1e-3); // 21 600 + 75 000·0.0356
    EXPECT_NEAR(Vuggy_Limestone_p(v, v.y2), 27000.0, 1e-3); // b·s at y2
    EXPECT_NEAR(Vuggy_Limestone_p(v, 0.0865), 172.8, 1e-9); // dropped beyond y2
    EXPECT_NEAR(Vuggy_Limestone_p(v, 10.0), 172.8, 1e-9);
    // The two lines meet at y1 up to the single-precision constants.
    EXPECT_NEAR(2000.0 * v.s * v.y1 / v.p1, 1.0, 1e-6);
}

TEST_F(VuggyLimestoneTest, Moduli) {
    // (p/y)·pm/ym with pm = 0.5, ym = 2 at the scaled deflection 0.05.
    EXPECT_NEAR(Vuggy_Limestone_Es(v, 0.05, 0.5, 2.0), 24270.0 / 0.05 * 0.25, 1e-2);
    // Beyond y2: 172.8/1.0.
    EXPECT_NEAR(Vuggy_Limestone_Es(v, 1.0, 1.0, 1.0), 172.8, 1e-9);
    // Vanishing deflection: 2000·s/ym, the p-multiplier does not enter.
    EXPECT_DOUBLE_EQ(Vuggy_Limestone_Es(v, 0.0, 0.5, 2.0), 750000.0);
}

TEST_F(VuggyLimestoneTest, PrintedDeflections) {
    const PyPrintDeflections y = Vuggy_Limestone_Print_y(v);
    EXPECT_EQ(y[1], 0.0);
    EXPECT_EQ(y[2], v.y1);
    EXPECT_NEAR(y[3], 0.0144 + 0.072 / 15.0, 1e-8);
    EXPECT_NEAR(y[16], 0.0144 + 14.0 * 0.072 / 15.0, 1e-8);
    EXPECT_EQ(y[17], v.y2);
}

TEST(VuggyLimestone, ZeroStrengthGivesNoUndefinedValues) {
    const VuggyLimestoneCurve v = Vuggy_Limestone_Curve(0.0, 36.0, 0.08, 120.0);
    EXPECT_EQ(v.y2, v.y1);
    for (double y : {0.0, 0.001, v.y1, 0.1}) {
        EXPECT_TRUE(std::isfinite(Vuggy_Limestone_Es(v, y, 1.0, 1.0))) << y;
    }
}

TEST(VuggyLimestone, StrengthRange) {
    EXPECT_TRUE(Vuggy_Limestone_Strength_Unreasonable(999.0, USCS));
    EXPECT_FALSE(Vuggy_Limestone_Strength_Unreasonable(1000.0, USCS));
    EXPECT_FALSE(Vuggy_Limestone_Strength_Unreasonable(2500.0, USCS));
    EXPECT_TRUE(Vuggy_Limestone_Strength_Unreasonable(2501.0, USCS));
    EXPECT_TRUE(Vuggy_Limestone_Strength_Unreasonable(6894.0, SI));
    EXPECT_FALSE(Vuggy_Limestone_Strength_Unreasonable(17237.5, SI));
    EXPECT_TRUE(Vuggy_Limestone_Strength_Unreasonable(17238.0, SI));
    EXPECT_FALSE(Vuggy_Limestone_Strength_Unreasonable(1.0, GENERAL));
}

} // namespace
} // namespace zarno
