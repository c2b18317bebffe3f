#include "engine/analysis_model.h"
#include "py/py_common.h"
#include "py/soft_clay.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno {
namespace {

double Rel(double expected) {
    return std::fabs(expected) * 1e-12 + 1e-14;
}

TEST(SoftClayDefaults, Eps50ByStrengthBandAndUnitSystem) {
    // 4 psi (576 psf) lies in the 500-1000 psf band.
    EXPECT_EQ(Soft_Clay_Default_Eps50(4.0, USCS).value(), 0.009999999776482582);
    EXPECT_EQ(Soft_Clay_Default_Eps50(3.0, USCS).value(), 0.019999999552965164);
    // A threshold belongs to the band above it.
    EXPECT_EQ(Soft_Clay_Default_Eps50(3.472222328186035, USCS).value(), 0.009999999776482582);
    EXPECT_EQ(Soft_Clay_Default_Eps50(20.0, USCS).value(), 0.004999999888241291);
    EXPECT_EQ(Soft_Clay_Default_Eps50(27.77777862548828, USCS).value(), 0.004000000189989805);
    EXPECT_EQ(Soft_Clay_Default_Eps50(23.9, SI).value(), 0.019999999552965164);
    EXPECT_EQ(Soft_Clay_Default_Eps50(100.0, SI).value(), 0.004999999888241291);
    EXPECT_EQ(Soft_Clay_Default_Eps50(200.0, SI).value(), 0.004000000189989805);
    EXPECT_FALSE(Soft_Clay_Default_Eps50(4.0, GENERAL).has_value());
}

TEST(SoftClayParams, TransitionDepthTakesAtLeastTwoAndAHalfWidths) {
    SoftClayInput in{.x = 1.0, .b = 1.0, .c = 20.0, .gamma = 8.0, .eps50 = 0.01};
    SoftClayParams sc = Soft_Clay_Params(in);
    EXPECT_NEAR(sc.xr, 120.0 / 18.0, 1e-12);
    EXPECT_NEAR(sc.Xr, 120.0 / 18.0, 1e-12);
    in.b = 4.0;
    in.gamma = 20.0;
    sc = Soft_Clay_Params(in);
    EXPECT_NEAR(sc.xr, 480.0 / 90.0, 1e-12);
    EXPECT_DOUBLE_EQ(sc.Xr, 10.0);
}

TEST(SoftClayParams, UltimateResistanceFromSurfaceToCap) {
    // At the surface only the 3*c*b term remains.
    SoftClayInput in{.x = 0.0, .b = 24.0, .c = 4.0, .gamma = 0.0208, .eps50 = 0.01};
    EXPECT_NEAR(Soft_Clay_Params(in).pu, 288.0, 1e-12);
    // x = 60 in: Np = 3 + 0.0208*60/4 + 0.5*60/24 = 4.562.
    in.x = 60.0;
    SoftClayParams sc = Soft_Clay_Params(in);
    EXPECT_NEAR(sc.Np, 4.562, 1e-12);
    EXPECT_NEAR(sc.pu, 437.952, 1e-10);
    EXPECT_NEAR(sc.pu_s, 437.952, 1e-10);
    EXPECT_NEAR(sc.pu_d, 864.0, 1e-12);
    // Np = 9 exactly: with gamma = 0, 3 + 0.5*x/24 = 9 at x = 288.
    in.gamma = 0.0;
    in.x = 288.0;
    EXPECT_DOUBLE_EQ(Soft_Clay_Params(in).pu, 864.0);
    in.x = 1000.0;
    EXPECT_DOUBLE_EQ(Soft_Clay_Params(in).pu, 864.0);
}

TEST(SoftClayCurve, StaticBranches) {
    // c = 4 psi with eps50 from the default: 0.01 in single precision.
    const double eps50 = Soft_Clay_Default_Eps50(4.0, USCS).value();
    SoftClayInput in{.x = 60.0, .b = 24.0, .c = 4.0, .gamma = 0.0208, .eps50 = eps50};
    const SoftClayParams sc = Soft_Clay_Params(in);
    const double y50 = 2.5 * 0.009999999776482582 * 24.0;
    EXPECT_NEAR(sc.y50, y50, 1e-15);
    const double pu = 437.952;
    EXPECT_NEAR(Soft_Clay_p(sc, y50), 0.5 * pu, Rel(pu));
    EXPECT_NEAR(Soft_Clay_p(sc, 0.125 * y50), 0.25 * pu, Rel(pu));
    // 0.5 * 8^(1/3) = 1: the curve reaches pu at 8*y50.
    EXPECT_DOUBLE_EQ(Soft_Clay_p(sc, 8.0 * y50), sc.pu);
    EXPECT_DOUBLE_EQ(Soft_Clay_p(sc, 20.0 * y50), sc.pu);
    // Secant modulus with multipliers: pm*p(y/ym)/y.
    const double y = 2.0 * y50;
    EXPECT_NEAR(Soft_Clay_Es(sc, y / 2.0, 0.5, 2.0, false), 0.5 * (0.5 * pu) / y, Rel(pu));
}

TEST(SoftClayCurve, CyclicAboveAndBelowTransitionDepth) {
    // SI: b = 1 m, c = 20 kPa, gamma' = 8 kN/m3, J = 0.5 -> Xr = 6.667 m.
    SoftClayInput in{.x = 2.0, .b = 1.0, .c = 20.0, .gamma = 8.0, .eps50 = 0.01, .b_Cyclic = true};
    SoftClayParams sc = Soft_Clay_Params(in);
    const double y50 = 0.025;
    const double pu = 96.0; // Np = 3 + 0.8 + 1.0 = 4.8
    const double pc = 0.7211247682571411 * 96.0;
    const double pr = pc * 2.0 / (120.0 / 18.0);
    EXPECT_NEAR(sc.pu, pu, 1e-12);
    EXPECT_NEAR(sc.pc, pc, 1e-12);
    EXPECT_NEAR(sc.pr, pr, 1e-12);
    EXPECT_NEAR(Soft_Clay_p(sc, 0.4 * y50), 0.5 * pu * std::pow(0.4, 1.0 / 3.0), 1e-10);
    // Both sides of the break at 3*y50 give pc (to single precision of the factor).
    EXPECT_NEAR(Soft_Clay_p(sc, 3.0 * y50), pc, 2e-6);
    EXPECT_NEAR(Soft_Clay_p(sc, 3.0 * y50 * (1.0 + 1e-12)), pc, 1e-9);
    EXPECT_NEAR(Soft_Clay_p(sc, 9.0 * y50), 0.5 * (pc + pr), 1e-10);
    EXPECT_NEAR(Soft_Clay_p(sc, 15.0 * y50), pr, 1e-10);
    EXPECT_NEAR(Soft_Clay_p(sc, 16.0 * y50), pr, 1e-12);

    // Below the transition depth the cyclic curve stays at pc: x = 8 m caps Np at 9.
    in.x = 8.0;
    sc = Soft_Clay_Params(in);
    EXPECT_NEAR(sc.pu, 180.0, 1e-12);
    EXPECT_NEAR(Soft_Clay_p(sc, 9.0 * y50), 0.7211247682571411 * 180.0, 1e-10);
    EXPECT_NEAR(Soft_Clay_p(sc, 16.0 * y50), 0.7211247682571411 * 180.0, 1e-10);
}

TEST(SoftClayCurve, SmallDeflectionLimit) {
    SoftClayInput in{.x = 2.0, .b = 1.0, .c = 20.0, .gamma = 8.0, .eps50 = 0.01};
    const SoftClayParams sc = Soft_Clay_Params(in);
    // 1e-5 * y50 = 2.5e-7
    EXPECT_TRUE(Soft_Clay_Below_Limit(sc, 0.0));
    EXPECT_TRUE(Soft_Clay_Below_Limit(sc, 2.4e-7));
    EXPECT_FALSE(Soft_Clay_Below_Limit(sc, 2.6e-7));
    EXPECT_EQ(Soft_Clay_Es(sc, 0.0, 1.0, 1.0, false), 1.0e6);
    const double es_j = 96.0 * 0.01077217236161232 / (2.9999999242136255e-05 * 0.025);
    EXPECT_NEAR(Soft_Clay_Es(sc, 0.0, 1.0, 1.0, true), es_j, es_j * 1e-12);
    // Just above the limit the curve is used: 0.5*pu*(y/y50)^(1/3)/y.
    const double y = 1e-6;
    EXPECT_NEAR(Soft_Clay_Es(sc, y, 1.0, 1.0, false), 48.0 * std::pow(4e-5, 1.0 / 3.0) / y, 1e-6);
}

TEST(SlopingGround, FactorBySignOfDeflectionAndSlope) {
    const double t = 20.0 * 3.141592653589793 / 180.0;
    EXPECT_EQ(Sloping_Ground_Factor(0.1, 0.0), 1.0);
    EXPECT_EQ(Sloping_Ground_Factor(0.0, t), 1.0);
    EXPECT_NEAR(Sloping_Ground_Factor(0.1, t), 0.73316, 1e-5);
    EXPECT_NEAR(Sloping_Ground_Factor(-0.1, -t), 1.0 / (1.0 + std::tan(t)), 1e-15);
    EXPECT_NEAR(Sloping_Ground_Factor(-0.1, t), 1.0 / (1.0 - std::tan(t)), 1e-7);
    EXPECT_NEAR(Sloping_Ground_Factor(0.1, -t), 1.0 / (1.0 - std::tan(t)), 1e-7);
    // Stiff clays: zero deflection counts as negative.
    EXPECT_NEAR(Stiff_Clay_Slope_Factor(0.0, -t, SQRT2_HALF_DOUBLE), 1.0 / (1.0 + std::tan(t)),
                1e-15);
    EXPECT_NEAR(Stiff_Clay_Slope_Factor(0.0, t, SQRT2_HALF_DOUBLE), 1.0 / (1.0 - std::tan(t)),
                1e-14);

    // The factor scales Np of a soft clay node.
    SoftClayInput in{
        .x = 60.0, .b = 24.0, .c = 4.0, .gamma = 0.0208, .eps50 = 0.01, .theta = t, .y_slope = 0.5};
    const SoftClayParams sc = Soft_Clay_Params(in);
    EXPECT_NEAR(sc.pu_s, 437.952, 1e-10);
    EXPECT_NEAR(sc.pu, 437.952 / (1.0 + std::tan(t)), 1e-10);
}

} // namespace
} // namespace zarno
