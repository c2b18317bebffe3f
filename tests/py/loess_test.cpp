#include "engine/analysis_model.h"
#include "py/loess.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno {
namespace {

// A 24-in shaft in loess of qc = 500 psi under 5 cycles. Below 2·b = 48 in:
// p_u0 = 0.409·500 = 204.5 psi; p_u = 24·204.5/(1 + 0.24·ln 5) = 3540.448 lb/in;
// Ei = p_u/0.117 = 30 260.24 lb/in².
TEST(Loess, ParametersMatchHandCalculation) {
    const LoessCurve l = Loess_Curve(24.0, 60.0, 500.0, 5.0, USCS);
    EXPECT_FALSE(l.b_Depth_Adjusted);
    EXPECT_EQ(l.qc_adj, 500.0);
    EXPECT_NEAR(l.p_u0, 204.5, 1e-5);
    EXPECT_NEAR(l.p_u, 3540.44836, 1e-3);
    EXPECT_NEAR(l.Ei, 30260.2424, 1e-2);
    EXPECT_NEAR(l.yref, 0.117, 1e-8);
}

TEST(Loess, CurvePoints) {
    const LoessCurve l = Loess_Curve(24.0, 60.0, 500.0, 5.0, USCS);
    // At yref: p = p_u/(2 + 0.1/e) = 0.4909691·p_u.
    EXPECT_NEAR(Loess_p(l, l.yref) / l.p_u, 0.4909691276, 1e-7);
    // At 0.3 in: r = 0.3/0.117, p = Ei·0.3/(1 + r·(1 + 0.1·e^−r)) = 2533.055 lb/in.
    EXPECT_NEAR(Loess_p(l, 0.3), 2533.0553, 1e-2);
    // Tends to p_u.
    EXPECT_NEAR(Loess_p(l, 1.0e4) / l.p_u, 1.0, 2e-5);
    EXPECT_EQ(Loess_p(l, 0.0), 0.0);
}

TEST(Loess, Moduli) {
    const LoessCurve l = Loess_Curve(24.0, 60.0, 500.0, 5.0, USCS);
    EXPECT_NEAR(Loess_Es(l, 0.3, 0.5, 2.0), 0.25 * 2533.0553 / 0.3, 1e-2);
    // Zero deflection: the initial modulus with the multipliers, the limit of p/y.
    EXPECT_DOUBLE_EQ(Loess_Es(l, 0.0, 0.5, 2.0), 0.25 * l.Ei);
    EXPECT_NEAR(Loess_Es(l, 1e-12, 0.5, 2.0), 0.25 * l.Ei, 1e-6);
}

TEST(Loess, NearSurfaceReduction) {
    struct Case {
        double X, factor;
    };
    for (const Case& c :
         {Case{0.0, 0.5}, Case{24.0, 0.75}, Case{36.0, 0.875}, Case{48.0, 1.0}, Case{96.0, 1.0}}) {
        const LoessCurve l = Loess_Curve(24.0, c.X, 500.0, 1.0, USCS);
        EXPECT_NEAR(l.qc_adj, 500.0 * c.factor, 1e-9) << c.X;
        EXPECT_EQ(l.b_Depth_Adjusted, c.X < 48.0) << c.X;
    }
    // Continuous where the full value takes over.
    EXPECT_NEAR(Loess_Curve(24.0, std::nextafter(48.0, 0.0), 500.0, 1.0, USCS).qc_adj, 500.0, 1e-9);
}

TEST(Loess, CycleCount) {
    const double one = Loess_Curve(24.0, 60.0, 500.0, 1.0, USCS).p_u;
    EXPECT_NEAR(one, 24.0 * 204.5, 1e-3); // one cycle: no reduction
    // Fewer than one cycle (none given for a static run) count as one.
    for (double N : {0.0, 0.5, -0.5}) {
        EXPECT_EQ(Loess_Curve(24.0, 60.0, 500.0, N, USCS).p_u, one) << N;
    }
    // The count enters by its magnitude.
    EXPECT_EQ(Loess_Curve(24.0, 60.0, 500.0, -5.0, USCS).p_u,
              Loess_Curve(24.0, 60.0, 500.0, 5.0, USCS).p_u);
    EXPECT_FALSE(Loess_Cycles_Invalid(10.0));
    EXPECT_FALSE(Loess_Cycles_Invalid(10.1));
    EXPECT_TRUE(Loess_Cycles_Invalid(10.2));
    EXPECT_TRUE(Loess_Cycles_Invalid(-12.0));
}

TEST(Loess, ReferenceDeflectionAndPrintedPoints) {
    EXPECT_NEAR(Loess_yref(SI), 0.0029718, 1e-10);
    EXPECT_NEAR(Loess_yref(GENERAL), 0.0029718, 1e-10);
    const PyPrintDeflections y = Loess_Print_y(Loess_Curve(1.0, 3.0, 5000.0, 2.0, SI));
    EXPECT_EQ(y[1], 0.0);
    EXPECT_DOUBLE_EQ(y[5], Loess_yref(SI));
    EXPECT_DOUBLE_EQ(y[14], 23.0 * Loess_yref(SI));
    EXPECT_DOUBLE_EQ(y[17], 50.0 * Loess_yref(SI));
}

} // namespace
} // namespace zarno
