#include "engine/analysis_model.h"
#include "py/sand.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno {
namespace {

constexpr double kDeg = 3.141592653589793 / 180.0;

TEST(SandDefaults, SubgradeModulusFromFrictionAngle) {
    // 1.2098e-7 * 35^5.6945 = 75.05 pci (the charted value is about 77 pci).
    EXPECT_NEAR(fn_k_Sand_Default(35.0, 0.03, USCS).value(), 75.05335405086237, 1e-10);
    EXPECT_NEAR(fn_k_Sand_Default(35.0, 0.03, USCS).value(), 77.0, 2.0);
    // The correlation meets the constant above 40 degrees.
    EXPECT_NEAR(fn_k_Sand_Default(40.0, 0.03, USCS).value(), 160.547, 1e-3);
    EXPECT_EQ(fn_k_Sand_Default(42.0, 0.03, USCS).value(), 160.54745483398438);
    EXPECT_NEAR(fn_k_Sand_Default(30.0, 10.0, SI).value(),
                3.284046397311613e-05 * std::pow(30.0, 5.694468021392822), 1e-9);
    EXPECT_NEAR(fn_k_Sand_Default(30.0, 19.0, SI).value(),
                4.14174883189844e-06 * std::pow(30.0, 6.416118144989014), 1e-9);
    EXPECT_EQ(fn_k_Sand_Default(45.0, 10.0, SI).value(), 43580.1484375);
    EXPECT_EQ(fn_k_Sand_Default(45.0, 19.0, SI).value(), 78739.0078125);
    EXPECT_FALSE(fn_k_Sand_Default(35.0, 10.0, GENERAL).has_value());
}

TEST(SandFactors, ReeseTablesInterpolatedInXOverB) {
    EXPECT_NEAR(Sand_A(1.25, 1.0, false), 1.935, 1e-15);
    EXPECT_NEAR(Sand_B(1.25, 1.0, false), 1.405, 1e-15);
    EXPECT_DOUBLE_EQ(Sand_A(0.0, 2.0, false), 2.83);
    EXPECT_DOUBLE_EQ(Sand_B(0.0, 2.0, true), 0.53);
    EXPECT_NEAR(Sand_A(3.5, 1.0, true), 0.92, 1e-15);
    EXPECT_DOUBLE_EQ(Sand_A(20.0, 1.0, false), 0.88);
    EXPECT_DOUBLE_EQ(Sand_B(20.0, 1.0, true), 0.55);
}

TEST(SandSlope, ActiveCoefficientOnSlopeAndTooSteepSlope) {
    // cos t (cos t - sqrt(cos^2 t - cos^2 phi)) / (cos t + sqrt(...)), t = 15, phi = 35 deg.
    EXPECT_NEAR(Sand_Ka_Sloped(15 * kDeg, 35 * kDeg).value(), 0.2967896091313962, 1e-14);
    EXPECT_FALSE(Sand_Ka_Sloped(36 * kDeg, 35 * kDeg).has_value());
    EXPECT_FALSE(Sand_Ka_Sloped(-35 * kDeg, 35 * kDeg).has_value());
}

// USCS node: b = 24 in, gamma' = 0.0347 pci, phi = 35 deg, x = 30 in (x/b = 1.25).
// Expected values evaluated by hand (independent script) from the criteria.
SandInput Sand_Node(double k) {
    return {.x = 30.0, .xt = 30.0, .b = 24.0, .gamma = 0.0347, .phi = 35 * kDeg, .k = k};
}

TEST(ReeseSand, NormalShapeEachBranch) {
    const ReeseSandParams rs = Reese_Sand_Params(Sand_Node(77.0)).value();
    EXPECT_NEAR(rs.pst, 178.19192601782925, 1e-9);
    EXPECT_NEAR(rs.psd, 1343.9756376257933, 1e-9);
    EXPECT_TRUE(rs.b_Shallow);
    EXPECT_NEAR(rs.A, 1.935, 1e-15);
    EXPECT_NEAR(rs.B, 1.405, 1e-15);
    EXPECT_NEAR(rs.pu, 344.8013768444996, 1e-9);
    EXPECT_NEAR(rs.pm, 250.3596560550501, 1e-9);
    EXPECT_DOUBLE_EQ(rs.ym, 0.4);
    EXPECT_DOUBLE_EQ(rs.yu, 0.9);
    EXPECT_NEAR(rs.n, 3.313679245283019, 1e-12);
    EXPECT_NEAR(rs.C, 330.1067669582928, 1e-9);
    EXPECT_NEAR(rs.yk, 0.061637019416767184, 1e-13);
    EXPECT_NEAR(rs.pk, 142.38151485273218, 1e-9);
    EXPECT_EQ(rs.Shape, ReeseShape::Normal);
    bool line = false;
    EXPECT_NEAR(Reese_Sand_p(rs, 0.030818509708383592, &line), 71.1907574263661, 1e-9);
    EXPECT_TRUE(line);
    EXPECT_NEAR(Reese_Sand_p(rs, 0.2308185097083836, &line), 212.0814317081309, 1e-9);
    EXPECT_FALSE(line);
    EXPECT_NEAR(Reese_Sand_p(rs, 0.65), 297.58051644977485, 1e-9);
    EXPECT_DOUBLE_EQ(Reese_Sand_p(rs, 1.8), rs.pu);
    // The parabola and the straight line meet at ym: pm from both sides.
    EXPECT_NEAR(Reese_Sand_p(rs, 0.4), 250.3596560550501, 1e-9);
    EXPECT_DOUBLE_EQ(Reese_Sand_Es(rs, 0.0, 0.5, 2.0), 2310.0);
    EXPECT_NEAR(Reese_Sand_Es(rs, 0.65, 0.5, 2.0), 0.5 * 297.58051644977485 / (2.0 * 0.65), 1e-9);
    const std::array<double, 18> y = Reese_Sand_Print_y(rs);
    EXPECT_EQ(y[1], 0.0);
    EXPECT_DOUBLE_EQ(y[2], rs.yk);
    EXPECT_NEAR(y[7], rs.yk + 5.0 * (0.4 - rs.yk) / 11.0, 1e-15);
    EXPECT_DOUBLE_EQ(y[13], 0.4);
    EXPECT_DOUBLE_EQ(y[14], 0.65);
    EXPECT_DOUBLE_EQ(y[15], 0.9);
    EXPECT_DOUBLE_EQ(y[17], 0.9 * (1.0 + 0.05000000074505806));
}

TEST(ReeseSand, WorkedExampleFactorsAtThirtyDegrees) {
    // phi = 30 deg, x/b = 1.25, static: A = (2.11 + 1.76)/2, B = (1.54 + 1.27)/2.
    SandInput in = Sand_Node(50.0);
    in.phi = 30 * kDeg;
    const ReeseSandParams rs = Reese_Sand_Params(in).value();
    EXPECT_NEAR(rs.A, 1.935, 1e-15);
    EXPECT_NEAR(rs.B, 1.405, 1e-15);
    EXPECT_NEAR(rs.pu, 1.935 * rs.ps, 1e-12);
    EXPECT_NEAR(rs.pm, 1.405 * rs.ps, 1e-12);
}

TEST(ReeseSand, TriLinearAndBiLinearShapes) {
    const ReeseSandParams tri = Reese_Sand_Params(Sand_Node(20.0)).value();
    EXPECT_EQ(tri.Shape, ReeseShape::TriLinear);
    EXPECT_NEAR(tri.yk, 0.4249575293289221, 1e-13);
    EXPECT_NEAR(Reese_Sand_p(tri, 0.3), 180.0, 1e-10); // k*x*y = 600*0.3
    EXPECT_NEAR(Reese_Sand_p(tri, 0.5), 269.24800021294, 1e-9);
    EXPECT_NEAR(Reese_Sand_p(tri, 0.7), 307.02468852871976, 1e-9);
    // The initial line meets the line through (yk, pk) at yk itself.
    EXPECT_NEAR(Reese_Sand_Print_y(tri)[2], 0.4249575293289221, 1e-12);
    EXPECT_DOUBLE_EQ(Reese_Sand_Print_y(tri)[15], 0.9);

    const ReeseSandParams bi = Reese_Sand_Params(Sand_Node(5.0)).value();
    EXPECT_EQ(bi.Shape, ReeseShape::BiLinear);
    EXPECT_NEAR(Reese_Sand_p(bi, 0.65), 97.5, 1e-10);
    EXPECT_NEAR(Reese_Sand_p(bi, 1.8), 270.0, 1e-10);
    EXPECT_NEAR(Reese_Sand_p(bi, 3.0), 344.8013768444996, 1e-9);
    const std::array<double, 18> y = Reese_Sand_Print_y(bi);
    EXPECT_NEAR(y[15], 344.8013768444996 / 150.0, 1e-12);
    EXPECT_NEAR(y[8], 7.0 * 344.8013768444996 / 150.0 / 14.0, 1e-12);
}

TEST(ReeseSand, DeepResistanceUsesTrueDepthAndCyclicFactors) {
    SandInput in = Sand_Node(77.0);
    in.x = in.xt = 900.0;
    ReeseSandParams rs = Reese_Sand_Params(in).value();
    EXPECT_NEAR(rs.psd, 40319.269128773805, 1e-7);
    EXPECT_FALSE(rs.b_Shallow);
    EXPECT_NEAR(rs.pu, 35480.956833320946, 1e-7);
    // The deep term follows xt, not the equivalent depth.
    in.xt = 450.0;
    EXPECT_NEAR(Reese_Sand_Params(in).value().psd, 40319.269128773805 / 2.0, 1e-7);

    in = Sand_Node(77.0);
    in.x = in.xt = 300.0;
    in.b_Cyclic = true;
    rs = Reese_Sand_Params(in).value();
    EXPECT_NEAR(rs.pu, 8915.241366867092, 1e-7);
    EXPECT_NEAR(rs.pm, 5572.025854291933, 1e-7);
    EXPECT_NEAR(rs.yk, 0.1512304098544488, 1e-12);
}

TEST(ReeseSand, SurfaceNodeHasNoResistance) {
    SandInput in = Sand_Node(77.0);
    in.x = in.xt = 0.0;
    const ReeseSandParams rs = Reese_Sand_Params(in).value();
    EXPECT_EQ(rs.n, 0.0);
    EXPECT_EQ(rs.yk, 0.0);
    EXPECT_EQ(Reese_Sand_p(rs, 0.2), 0.0);
    EXPECT_EQ(Reese_Sand_p(rs, 2.0), 0.0);
    EXPECT_EQ(Reese_Sand_Es(rs, 0.0, 1.0, 1.0), 0.0);
}

TEST(ReeseSand, SlopingGroundWedge) {
    SandInput in = Sand_Node(77.0);
    in.theta = 15 * kDeg;
    in.y_slope = 0.1; // down the slope: less soil in front of the pile
    ReeseSandParams rs = Reese_Sand_Params(in).value();
    EXPECT_NEAR(rs.s, 1.5147256095965442, 1e-14);
    EXPECT_NEAR(rs.pst, 102.48811052811719, 1e-9);
    in.y_slope = 0.0; // an unmoved pile counts as deflecting up the slope
    rs = Reese_Sand_Params(in).value();
    EXPECT_NEAR(rs.s, 0.48527439040345566, 1e-14);
    EXPECT_NEAR(rs.pst, 534.0544079897626, 1e-9);
    in.theta = 40 * kDeg;
    EXPECT_FALSE(Reese_Sand_Params(in).has_value());
}

TEST(APISand, StaticCurveAndFactors) {
    const ApiSandParams as = API_Sand_Params(Sand_Node(77.0)).value();
    EXPECT_NEAR(as.C1, 2.970447528848209, 1e-13);
    EXPECT_NEAR(as.C2, 3.4191822780225216, 1e-13);
    EXPECT_NEAR(as.C3, 53.79345337198638, 1e-11);
    EXPECT_NEAR(as.pus, 178.19192636004425, 1e-9);
    EXPECT_NEAR(as.pud, 1343.9756390457078, 1e-9);
    // A = 3 - 0.8*1.25 = 2
    EXPECT_NEAR(as.A, 1.9999999850988388, 1e-15);
    EXPECT_NEAR(as.pA, 356.3838500648219, 1e-9);
    EXPECT_NEAR(API_Sand_p(as, 0.01), 23.067703948131225, 1e-9);
    EXPECT_NEAR(API_Sand_p(as, 0.1), 203.296247090236, 1e-9);
    EXPECT_NEAR(API_Sand_p(as, 1.0), 356.3821791720098, 1e-9);
    EXPECT_NEAR(API_Sand_p(as, 50.0), as.pA, 1e-9);
    EXPECT_NEAR(API_Sand_p_At_yu(as, 24.0), 356.3777414080085, 1e-9);
    EXPECT_DOUBLE_EQ(API_Sand_Es(as, 0.0, 0.5, 2.0), 2310.0);
    EXPECT_NEAR(API_Sand_Print_Step(as, USCS), 0.19634954084936207 * as.pA / 2310.0, 1e-15);

    SandInput in = Sand_Node(77.0);
    in.x = in.xt = 72.0; // x/b = 3: 3 - 2.4 = 0.6 is raised to 0.9
    EXPECT_EQ(API_Sand_Params(in).value().A, 0.8999999761581421);
    in.x = in.xt = 0.0;
    const ApiSandParams top = API_Sand_Params(in).value();
    EXPECT_EQ(API_Sand_p(top, 1.0), 0.0);
    EXPECT_EQ(API_Sand_Print_Step(top, USCS), 0.05);
    EXPECT_EQ(API_Sand_Print_Step(top, SI), 0.00127);
}

TEST(APISand, DeepCyclicAndRockAbove) {
    SandInput in = Sand_Node(77.0);
    in.x = in.xt = 1200.0;
    in.b_Cyclic = true;
    ApiSandParams as = API_Sand_Params(in).value();
    EXPECT_NEAR(as.pud, 53759.02556182831, 1e-7);
    EXPECT_NEAR(as.pu, 53759.02556182831, 1e-7);
    EXPECT_EQ(as.A, 0.8999999761581421);
    // Below a rock layer the zero-deflection modulus uses the true depth.
    in.x = 100.0;
    in.xt = 1200.0;
    in.b_Rock_Above = true;
    as = API_Sand_Params(in).value();
    EXPECT_DOUBLE_EQ(API_Sand_Es(as, 0.0, 1.0, 1.0), 77.0 * 1200.0);
}

TEST(APISand, SlopedGroundAndTooSteepSlope) {
    SandInput in = Sand_Node(77.0);
    in.theta = 15 * kDeg;
    in.y_slope = 0.0; // exactly zero on a positive slope: down the slope
    ApiSandParams as = API_Sand_Params(in).value();
    EXPECT_NEAR(as.s, 1.5147256095965442, 1e-14);
    in.y_slope = -0.1;
    as = API_Sand_Params(in).value();
    EXPECT_NEAR(as.s, 0.48527439040345566, 1e-14);
    // Same wedge as Reese's with K0 held in single precision.
    EXPECT_NEAR(as.pus, 534.0544079897626, 534.0 * 1e-7);
    in.theta = -36 * kDeg;
    EXPECT_FALSE(API_Sand_Params(in).has_value());
}

} // namespace
} // namespace zarno
