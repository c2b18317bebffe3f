#include "engine/analysis_model.h"
#include "py/liquefied_sand.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno {
namespace {

// Expected values evaluated by hand (independent script) from the Rollins correlation.
TEST(LiquefiedSand, CappedCurveInSI) {
    // b = 0.6 m at 3 m in layer 1: A*(150*B)^C = 28.9 kN/m exceeds 15, so yu < 150 mm.
    const LiquefiedSandParams ls =
        Liquefied_Sand_Params({.x = 3.0, .b = 0.6, .gamma = 0.0, .b_Layer1 = true, .IUNITS = SI});
    EXPECT_NEAR(ls.Pd, 3.6537543073138203, 1e-13);
    EXPECT_NEAR(ls.A, 0.0013169955789974965, 1e-16);
    EXPECT_NEAR(ls.B, 3.26125398387809, 1e-13);
    EXPECT_NEAR(ls.C, 1.6143594905300307, 1e-13);
    EXPECT_TRUE(ls.b_Capped);
    EXPECT_DOUBLE_EQ(ls.pl, 15.0);
    EXPECT_NEAR(ls.yu, 0.09985755891674276, 1e-14);
    EXPECT_NEAR(ls.Pu, 54.80631460970731, 1e-11);
    EXPECT_NEAR(Liquefied_Sand_p(ls, 0.01), 1.3349668635307215, 1e-11);
    EXPECT_NEAR(Liquefied_Sand_p(ls, 0.05), 17.941524640876512, 1e-11);
    EXPECT_NEAR(Liquefied_Sand_p(ls, 0.2), 54.80631460970731, 1e-11);
    EXPECT_NEAR(Liquefied_Sand_Es(ls, 0.05, 0.5, 2.0), 0.25 * 17.941524640876512 / 0.05, 1e-9);
    const std::array<double, 18> y = Liquefied_Sand_Print_y(ls);
    EXPECT_EQ(y[1], 0.0);
    EXPECT_NEAR(y[4], 3.0 * 0.09985755891674276 / 15.0, 1e-15);
    EXPECT_NEAR(y[16], 0.09985755891674276, 1e-15);
    EXPECT_NEAR(y[17], 1.05 * 0.09985755891674276, 1e-15);
}

TEST(LiquefiedSand, UncappedCurveAndFixedPrintedDeflections) {
    const LiquefiedSandParams ls =
        Liquefied_Sand_Params({.x = 1.0, .b = 0.6, .gamma = 0.0, .b_Layer1 = true, .IUNITS = SI});
    EXPECT_FALSE(ls.b_Capped);
    EXPECT_NEAR(ls.pl, 9.912614791142767, 1e-12);
    EXPECT_DOUBLE_EQ(ls.yu, 0.15);
    EXPECT_NEAR(Liquefied_Sand_p(ls, 0.05), 3.431734396917012, 1e-12);
    EXPECT_NEAR(Liquefied_Sand_p(ls, 0.15), 36.21825898988057, 1e-10);
    EXPECT_NEAR(Liquefied_Sand_p(ls, 1.0), 36.21825898988057, 1e-10);
    const std::array<double, 18> y = Liquefied_Sand_Print_y(ls);
    EXPECT_EQ(y[2], static_cast<double>(0.003f));
    EXPECT_EQ(y[17], static_cast<double>(0.1575f));
}

TEST(LiquefiedSand, USCustomaryConversions) {
    // b = 24 in (0.6096 m), 120 in below the ground (3.048 m).
    const LiquefiedSandParams ls = Liquefied_Sand_Params(
        {.x = 120.0, .b = 24.0, .gamma = 0.0, .b_Layer1 = true, .IUNITS = USCS});
    EXPECT_NEAR(ls.Pd, 3.714231720646418, 1e-12);
    EXPECT_NEAR(ls.z, 3.048, 1e-14);
    EXPECT_NEAR(ls.pl, 85.65221071243286, 1e-10); // 15 kN/m in lb/in
    EXPECT_NEAR(ls.yu, 3.861774758051803, 1e-12);
    EXPECT_NEAR(ls.Pu, 318.13215797160905, 1e-9);
    EXPECT_NEAR(Liquefied_Sand_p(ls, 0.2), 2.73564916925133, 1e-11);
    EXPECT_NEAR(Liquefied_Sand_p(ls, 1.0), 36.30313300989816, 1e-10);
    const LiquefiedSandParams small = Liquefied_Sand_Params(
        {.x = 12.0, .b = 24.0, .gamma = 0.0, .b_Layer1 = true, .IUNITS = USCS});
    EXPECT_FALSE(small.b_Capped);
    EXPECT_EQ(Liquefied_Sand_Print_y(small)[16], 5.905511856079102);
}

TEST(LiquefiedSand, LowerLayerDepthFromEffectiveStress) {
    // Layer 2, 2 m below the ground under 8 kN/m3: z = 2*8/10 = 1.6 m; small pile Pd = b/0.3.
    const LiquefiedSandParams ls =
        Liquefied_Sand_Params({.x = 2.0, .b = 0.2, .gamma = 8.0, .b_Layer1 = false, .IUNITS = SI});
    EXPECT_NEAR(ls.z, 1.6, 1e-15);
    EXPECT_NEAR(ls.Pd, 0.6666666401757145, 1e-15);
    EXPECT_NEAR(ls.Pu, 8.963941177097677, 1e-11);
    EXPECT_NEAR(Liquefied_Sand_p(ls, 0.05), 1.0800869902213448, 1e-12);
    // A lighter soil above gives a shallower normalized depth.
    EXPECT_LT(
        Liquefied_Sand_Params({.x = 2.0, .b = 0.2, .gamma = 6.0, .b_Layer1 = false, .IUNITS = SI})
            .z,
        ls.z);
}

TEST(LiquefiedSand, ModulusAtZeroDeflectionIsTheLimitNeverADivision) {
    const LiquefiedSandParams shallow =
        Liquefied_Sand_Params({.x = 3.0, .b = 0.6, .gamma = 0.0, .b_Layer1 = true, .IUNITS = SI});
    ASSERT_GT(shallow.C, 1.0);
    EXPECT_EQ(Liquefied_Sand_Es(shallow, 0.0, 1.0, 1.0), 0.0);
    // Deeper than about 11.9 m the exponent drops below 1 and the curve starts steep.
    const LiquefiedSandParams deep =
        Liquefied_Sand_Params({.x = 15.0, .b = 0.6, .gamma = 0.0, .b_Layer1 = true, .IUNITS = SI});
    ASSERT_LT(deep.C, 1.0);
    const double es0 = Liquefied_Sand_Es(deep, 0.0, 1.0, 1.0);
    EXPECT_TRUE(std::isfinite(es0));
    EXPECT_GT(es0, Liquefied_Sand_Es(deep, 1e-6, 1.0, 1.0));
}

} // namespace
} // namespace zarno
