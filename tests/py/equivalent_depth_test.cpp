#include "py/equivalent_depth.h"
#include "py/sand.h"
#include "py/soft_clay.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace zarno {
namespace {

constexpr double kDeg = 3.141592653589793 / 180.0;

TEST(EquivalentDepth, ResistanceAboveTakesSavedValuesAndResetsOverflow) {
    std::array<double, 5> F{0, 100.0, 0.005, 50.0, 7.0};
    const std::array<double, 5> saved{0, 1.0, 30.0, 2.0, 3.0};
    EXPECT_DOUBLE_EQ(X_Eq_Resistance_Above(F, saved, 4), 180.0);
    EXPECT_EQ(F[2], 30.0); // replaced in the model state
    EXPECT_EQ(F[4], 7.0);  // layer m itself untouched
    std::array<double, 4> big{0, 2e20, 5.0, 0};
    const std::array<double, 4> none{};
    EXPECT_DOUBLE_EQ(X_Eq_Resistance_Above(big, none, 3), 105.0);
}

TEST(EquivalentDepth, NoResistanceAboveGivesZeroInEveryBranch) {
    const SandAngles a = Sand_Angles(35 * kDeg, 0.4);
    EXPECT_EQ(X_Eq_Soft_Clay(0.0, 1.0, 20.0, 8.0, 0.5, false).value(), 0.0);
    EXPECT_EQ(X_Eq_Stiff_Clay_No_Water(0.0, 1.0, 100.0, 80.0, 9.0).value(), 0.0);
    EXPECT_EQ(X_Eq_Stiff_Clay_Free_Water(0.0, 1.0, 100.0, 80.0, 9.0, true).value(), 0.0);
    EXPECT_EQ(X_Eq_Sand(0.0, 24.0, 0.0347, a, a.Ka, 200.0, false).value(), 0.0);
    EXPECT_EQ(X_Eq_Cemented_Silt(0.0, 24.0, 1.0, 0.0347, a, a.Ka, 200.0, false).value(), 0.0);
}

TEST(EquivalentDepth, SoftClayBothBranchesBothLoadings) {
    // b = 1, c = 20, gamma' = 8, J = 0.5: xr = 120/18, Fr = 120*xr = 800 (static).
    const double xr = 120.0 / 18.0;
    // Quadratic 9 x^2 + 60 x = F: F = 300 -> (120 - 60)/18; F = Fr -> xr.
    EXPECT_NEAR(X_Eq_Soft_Clay(300.0, 1.0, 20.0, 8.0, 0.5, false).value(), 60.0 / 18.0, 1e-12);
    EXPECT_NEAR(X_Eq_Soft_Clay(800.0, 1.0, 20.0, 8.0, 0.5, false).value(), xr, 1e-12);
    // Beyond Fr the flow-around resistance 9*c*b = 180 carries the rest.
    EXPECT_NEAR(X_Eq_Soft_Clay(1000.0, 1.0, 20.0, 8.0, 0.5, false).value(), xr + 200.0 / 180.0,
                1e-12);
    // Cyclic: Fr = (200 + 148.148 + 118.519)*0.72 = 336.0, Fu = 180*0.72.
    EXPECT_NEAR(X_Eq_Soft_Clay(500.0, 1.0, 20.0, 8.0, 0.5, true).value(), 7.9320986121279775,
                1e-12);
    // The cyclic quadratic is the static one.
    EXPECT_NEAR(X_Eq_Soft_Clay(300.0, 1.0, 20.0, 8.0, 0.5, true).value(), 60.0 / 18.0, 1e-12);
}

TEST(EquivalentDepth, StiffClayWithoutFreeWater) {
    // b = 1, c = 100, ca = 80, gamma' = 9: xw = 660/49. d = 2 < xw:
    // F = 3*1*80*2 + (20 + 4.5)*4 = 578.
    EXPECT_NEAR(X_Eq_Stiff_Clay_No_Water(578.0, 1.0, 100.0, 80.0, 9.0).value(), 2.0, 1e-12);
    const double xw = 660.0 / 49.0;
    const double Fw = ((0.25 * xw + 3.0) * 80.0 + 4.5 * xw) * xw;
    EXPECT_NEAR(X_Eq_Stiff_Clay_No_Water(Fw + 1350.0, 1.0, 100.0, 80.0, 9.0).value(), xw + 1.5,
                1e-10);
}

TEST(EquivalentDepth, StiffClayWithFreeWaterRectangles) {
    // Expected values from an independent 50-step evaluation.
    EXPECT_NEAR(X_Eq_Stiff_Clay_Free_Water(100.0, 1.0, 100.0, 80.0, 9.0, false).value(),
                2.648987321579857, 1e-12);
    // Beyond x_max = 3.993 the last step's resistance extends the integral.
    EXPECT_NEAR(X_Eq_Stiff_Clay_Free_Water(500.0, 1.0, 100.0, 80.0, 9.0, false).value(),
                6.978251231602004, 1e-12);
    EXPECT_NEAR(X_Eq_Stiff_Clay_Free_Water(500.0, 1.0, 100.0, 80.0, 9.0, true).value(),
                15.834249838421337, 1e-11);
}

TEST(EquivalentDepth, SandTrapezoidsAndDeepExtension) {
    // USCS: b = 24 in, gamma' = 0.0347 pci, phi = 35 deg, xt = 200 in; xs = 407.0 in.
    const SandAngles a = Sand_Angles(35 * kDeg, 0.4);
    EXPECT_NEAR(X_Eq_Sand(5000.0, 24.0, 0.0347, a, a.Ka, 200.0, false).value(), 30.385097419898532,
                1e-10);
    EXPECT_NEAR(X_Eq_Sand(5000.0, 24.0, 0.0347, a, a.Ka, 200.0, true).value(), 40.808576865178985,
                1e-10);
    EXPECT_NEAR(X_Eq_Sand(1e9, 24.0, 0.0347, a, a.Ka, 200.0, false).value(), 126948.9866809799,
                1e-6);
}

TEST(EquivalentDepth, DegenerateInputsAreReportedNotDivided) {
    EXPECT_FALSE(X_Eq_Soft_Clay(100.0, 1.0, 0.0, 8.0, 0.5, false).has_value());
    EXPECT_FALSE(X_Eq_Stiff_Clay_No_Water(100.0, 1.0, 0.0, 0.0, 0.0).has_value());
    EXPECT_FALSE(X_Eq_Stiff_Clay_Free_Water(100.0, 1.0, 0.0, 0.0, 9.0, false).has_value());
    const SandAngles zero = Sand_Angles(0.0, 0.4);
    EXPECT_FALSE(X_Eq_Sand(100.0, 24.0, 0.0347, zero, zero.Ka, 200.0, false).has_value());
    const SandAngles a = Sand_Angles(35 * kDeg, 0.4);
    EXPECT_FALSE(X_Eq_Sand(100.0, 24.0, 0.0, a, a.Ka, 200.0, false).has_value());

    XEqInput in;
    in.i_py_Type = 1;
    in.F_above = 100.0;
    in.b = 1.0;
    in.c = 0.0;
    in.gamma = 8.0;
    EXPECT_EQ(X_Eq_For_Model(in).status, XEqResult::Degenerate);
    in.c = 20.0;
    const XEqResult r = X_Eq_For_Model(in);
    EXPECT_EQ(r.status, XEqResult::Computed);
    EXPECT_NEAR(r.X_Eq, (std::sqrt(3600.0 + 3600.0) - 60.0) / 18.0, 1e-12);
    in.i_py_Type = 12; // loess has no equivalent depth
    EXPECT_EQ(X_Eq_For_Model(in).status, XEqResult::Not_Applicable);
}

// Layered profiles, USCS, b = 24 in, nodes every 12 in through an upper layer 0 .. 120 in.
// The upper layer's resistance is built as its routine does (trapezoids of pu between
// nodes; soft clay adds pu*h at its last node), and the lower layer's equivalent depth is
// compared with an independent evaluation of the same chain.
TEST(EquivalentDepth, SandBelowSoftClay) {
    const double h = 12.0;
    double F = 0.0;
    double pu_prev = 0.0;
    for (int i = 0; i <= 10; ++i) {
        const SoftClayInput in{.x = h * i, .b = 24.0, .c = 4.0, .gamma = 0.0208, .eps50 = 0.01};
        const double pu = Soft_Clay_Params(in).pu;
        if (i > 0) {
            F += (pu_prev + pu) * h / 2.0;
        }
        pu_prev = pu;
    }
    F += pu_prev * h;
    EXPECT_NEAR(F, 59609.08799999999, 1e-7);
    const SandAngles a = Sand_Angles(35 * kDeg, 0.4);
    EXPECT_NEAR(X_Eq_Sand(F, 24.0, 0.0347, a, a.Ka, 120.0, false).value(), 102.70107434883357,
                1e-9);
}

TEST(EquivalentDepth, StiffClayBelowSand) {
    const double h = 12.0;
    double F = 0.0;
    double pu_prev = 0.0;
    for (int i = 0; i <= 10; ++i) {
        const SandInput in{
            .x = h * i, .xt = h * i, .b = 24.0, .gamma = 0.0347, .phi = 35 * kDeg, .k = 75.0};
        const double pu = Reese_Sand_Params(in).value().pu;
        if (i > 0) {
            F += (pu_prev + pu) * h / 2.0;
        }
        pu_prev = pu;
    }
    EXPECT_NEAR(F, 84070.18101092507, 1e-7);
    EXPECT_NEAR(X_Eq_Stiff_Clay_No_Water(F, 24.0, 15.0, 15.0, 0.04).value(), 62.52905357596805,
                1e-9);
}

} // namespace
} // namespace zarno
