#include "engine/analysis_model.h"
#include "py/cemented_silt.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno {
namespace {

constexpr double DEG = 3.141592653589793 / 180.0;

// The reference case: a 24-in pile, 48 in deep (x/b = 2) in cemented silt of c = 10 psi,
// phi = 32 degrees, gamma' = 0.06 pci, k = 590 pci (the default), static loading, level
// ground. Hand calculation (K0 = 0.4, beta = 61 degrees, alpha = 16 degrees):
//   Ka = tan²29° = 0.307258; wedge pst = 519.092 lb/in; flow-around psd = 2544.583 lb/in;
//   ps = 519.092; Np = 3 + 0.06·48/10 + 0.5·48/24 = 4.288; pc = 10·24·4.288 = 1029.12;
//   A = 1.48 at x/b = 2; Pu = 1.48·519.092 + 1029.12 = 1797.376; Pm = 1.5·(ps + pc)
//   = 2322.318; Ym = 0.4 in, Yu = 0.9 in; m = (Pu − Pm)/0.5 = −1049.884; n = Pm/(m·Ym)
//   = −5.529942; C = Pm/Ym^(1/n) = 1967.708; yk = (C/(590·48))^(n/(n − 1)) = 0.1045261 in.
CementedSiltInput Reference() {
    CementedSiltInput in;
    in.b = 24.0;
    in.c = 10.0;
    in.gamma = 0.06;
    in.phi = 32.0 * DEG;
    in.k = 590.0;
    in.x = 48.0;
    in.xt = 48.0;
    return in;
}

double Rel(double expected) {
    return std::fabs(expected) * 1e-6;
}

TEST(CementedSilt, ParametersMatchHandCalculation) {
    const CementedSiltCurve cs = Cemented_Silt_Curve(Reference());
    ASSERT_EQ(cs.Status, CementedSiltStatus::OK);
    EXPECT_NEAR(cs.pst, 519.0920955, Rel(519.09));
    EXPECT_NEAR(cs.psd, 2544.5834314, Rel(2544.58));
    EXPECT_EQ(cs.ps, cs.pst);
    EXPECT_NEAR(cs.Np, 4.288, 1e-12);
    EXPECT_NEAR(cs.pc, 1029.12, 1e-9);
    EXPECT_NEAR(cs.A, 1.48, 1e-12);
    EXPECT_NEAR(cs.B, 1.05, 1e-12);
    EXPECT_NEAR(cs.Pu, 1797.3763014, Rel(1797.4));
    EXPECT_NEAR(cs.Pm, 2322.3181433, Rel(2322.3));
    EXPECT_NEAR(cs.Ym, 0.4, 1e-15);
    EXPECT_NEAR(cs.Yu, 0.9, 1e-15);
    EXPECT_NEAR(cs.m_s, -1049.8836838, Rel(1049.9));
    EXPECT_NEAR(cs.n, -5.5299415, Rel(5.53));
    EXPECT_NEAR(cs.C, 1967.7083810, Rel(1967.7));
    EXPECT_NEAR(cs.yk, 0.1045260992, Rel(0.1045));
}

TEST(CementedSilt, PeakedCurveThroughEachBranch) {
    const CementedSiltCurve cs = Cemented_Silt_Curve(Reference());
    struct Point {
        double y, p;
    };
    // Initial line, power curve past the peak, Pm at Ym, the falling line, the residual.
    for (const Point& pt : {Point{0.0522630496, 1480.0895649}, Point{0.2522630496, 2524.2117150},
                            Point{0.4, 2322.3181433}, Point{0.65, 2059.8472224},
                            Point{0.9, 1797.3763014}, Point{1.8, 1797.3763014}}) {
        EXPECT_NEAR(Cemented_Silt_p(cs, pt.y), pt.p, Rel(pt.p)) << pt.y;
    }
    // The peak sits at yk, where the power curve meets the initial line.
    EXPECT_NEAR(cs.C * std::pow(cs.yk, 1.0 / cs.n), 590.0 * 48.0 * cs.yk, 1e-6);
    // Moduli: k·x at a vanishing deflection, pm·p/(y·ym) otherwise.
    EXPECT_DOUBLE_EQ(Cemented_Silt_Es(cs, 0.0, 0.5, 2.0), 590.0 * 48.0);
    EXPECT_NEAR(Cemented_Silt_Es(cs, 0.65, 0.5, 2.0), 0.5 * 2059.8472224 / (0.65 * 2.0), 1e-3);
}

TEST(CementedSilt, SlopingGroundUsesTheDeflectionSign) {
    // Effective slope 10 degrees. Deflection down-slope (same sign): s = 1 + tan10°·tan61°,
    // sloped Ka = 0.320971, pst = 355.281 lb/in, Np = 4.288/(1 + tan 10°) = 3.645245.
    CementedSiltInput in = Reference();
    in.theta = 10.0 * DEG;
    in.y_Node = 0.1;
    CementedSiltCurve cs = Cemented_Silt_Curve(in);
    EXPECT_NEAR(cs.Ka, 0.3209709984, 1e-9);
    EXPECT_NEAR(cs.Ka_Level, 0.3072585, 1e-6);
    EXPECT_NEAR(cs.pst, 355.2811368, Rel(355.28));
    EXPECT_NEAR(cs.Np, 3.6452449619, 1e-8);
    EXPECT_NEAR(cs.pc, 874.8587909, 1e-6);
    // Deflection up-slope: s = 1 − tan10°·tan61°, pst = 870.489, Np = 4.288/(1 − tan 10°).
    in.y_Node = -0.1;
    cs = Cemented_Silt_Curve(in);
    EXPECT_NEAR(cs.pst, 870.4887373, Rel(870.49));
    EXPECT_NEAR(cs.Np, 5.2059493265, 1e-6);
    // A zero deflection counts as negative for both the wedge and the cohesive factor.
    in.y_Node = 0.0;
    const CementedSiltCurve zero = Cemented_Silt_Curve(in);
    EXPECT_EQ(zero.pst, cs.pst);
    EXPECT_EQ(zero.Np, cs.Np);
}

TEST(CementedSilt, SandFactorsAndSteepSlope) {
    // x/b = 1.25 lies midway between the 1.0 and 1.5 rows: A = 1.935, B = 1.405 (static),
    // A = 1.09, B = 0.845 (cyclic).
    CementedSiltInput in = Reference();
    in.x = 30.0;
    CementedSiltCurve cs = Cemented_Silt_Curve(in);
    EXPECT_NEAR(cs.A, 1.935, 1e-12);
    EXPECT_NEAR(cs.B, 1.405, 1e-12);
    in.b_Cyclic = true;
    cs = Cemented_Silt_Curve(in);
    EXPECT_NEAR(cs.A, 1.09, 1e-12);
    EXPECT_NEAR(cs.B, 0.845, 1e-12);
    // Slope equal to phi = 40 degrees, deflection up-slope: s = 1 − tan40°·tan65° < 0, the
    // wedge has no meaning and the flow-around resistance takes its place.
    in = Reference();
    in.phi = 40.0 * DEG;
    in.theta = 40.0 * DEG;
    in.y_Node = -0.5;
    cs = Cemented_Silt_Curve(in);
    ASSERT_EQ(cs.Status, CementedSiltStatus::OK);
    EXPECT_EQ(cs.pst, cs.psd);
    EXPECT_EQ(cs.ps, cs.psd);
}

TEST(CementedSilt, SlopeAndStrengthErrors) {
    CementedSiltInput in = Reference();
    in.theta = 32.0 * DEG; // equal to phi: passes
    EXPECT_EQ(Cemented_Silt_Curve(in).Status, CementedSiltStatus::OK);
    in.theta = -33.0 * DEG;
    EXPECT_EQ(Cemented_Silt_Curve(in).Status, CementedSiltStatus::Slope_Exceeds_Phi);
    in.theta = 32.0 * DEG;
    in.c = 0.0; // slope as steep as phi in a silt without cohesion
    EXPECT_EQ(Cemented_Silt_Curve(in).Status, CementedSiltStatus::Slope_Without_Cohesion);
}

TEST(CementedSilt, NoResistanceAtTheGroundSurface) {
    CementedSiltInput in = Reference();
    in.x = 0.0;
    in.xt = 0.0;
    const CementedSiltCurve cs = Cemented_Silt_Curve(in);
    for (double y : {0.0, 0.01, 0.4, 0.9, 5.0}) {
        EXPECT_EQ(Cemented_Silt_p(cs, y), 0.0) << y;
    }
}

TEST(CementedSilt, ZeroCohesionAtLayerTopGivesNoCohesiveResistance) {
    CementedSiltInput in = Reference();
    in.c = 0.0;
    const CementedSiltCurve cs = Cemented_Silt_Curve(in);
    ASSERT_EQ(cs.Status, CementedSiltStatus::OK);
    EXPECT_EQ(cs.pc, 0.0);
    EXPECT_NEAR(cs.Pu, 1.48 * cs.ps, 1e-9);
    EXPECT_TRUE(std::isfinite(Cemented_Silt_p(cs, 0.3)));
}

// Degenerate shapes, set up from the characteristic values: b = 60 gives Ym = 1, Yu = 2.25.
CementedSiltCurve Shape(double Pu, double Pm, double kx) {
    CementedSiltCurve cs;
    cs.b = 60.0;
    cs.x = 10.0;
    cs.Ym = 1.0;
    cs.Yu = 2.25;
    cs.Pu = Pu;
    cs.Pm = Pm;
    cs.kx = kx;
    Cemented_Silt_Shape(cs);
    return cs;
}

void Expect_Continuous(const CementedSiltCurve& cs) {
    double previous = Cemented_Silt_p(cs, 0.0);
    for (int i = 1; i <= 4000; ++i) {
        const double y = i * 0.001;
        const double p = Cemented_Silt_p(cs, y);
        ASSERT_TRUE(std::isfinite(p)) << y;
        ASSERT_LE(std::fabs(p - previous), 0.001 * cs.kx + 1e-9) << y;
        previous = p;
    }
}

TEST(CementedSilt, FlatSlopeWhenPuEqualsPm) {
    // Initial line reaches Pm = 1000 at 0.5, then the curve stays at 1000.
    const CementedSiltCurve cs = Shape(1000.0, 1000.0, 2000.0);
    EXPECT_TRUE(cs.b_Flat);
    EXPECT_DOUBLE_EQ(cs.yk, 0.5);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(cs, 0.25), 500.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(cs, 0.75), 1000.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(cs, 2.0), 1000.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(cs, 3.0), 1000.0);
    Expect_Continuous(cs);
    // A soft initial line reaches Pm only beyond Ym.
    const CementedSiltCurve soft = Shape(1000.0, 1000.0, 800.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(soft, 1.0), 800.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(soft, 3.0), 1000.0);
    Expect_Continuous(soft);
}

TEST(CementedSilt, ExponentOneIsStraightLine) {
    // Pu = 2.25·Pm makes m = Pm/Ym and n = 1: the power curve is the line 1000·y.
    const CementedSiltCurve stiff = Shape(2250.0, 1000.0, 3000.0);
    ASSERT_EQ(stiff.n, 1.0);
    EXPECT_DOUBLE_EQ(stiff.yk, 0.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(stiff, 0.5), 500.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(stiff, 2.0), 2000.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(stiff, 3.0), 2250.0);
    Expect_Continuous(stiff);
    const CementedSiltCurve soft = Shape(2250.0, 1000.0, 600.0);
    EXPECT_DOUBLE_EQ(soft.yk, 1.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(soft, 0.5), 300.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(soft, 2.0), 1200.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(soft, 5.0), 2250.0);
    Expect_Continuous(soft);
}

TEST(CementedSilt, InitialLineNeverRisesAboveTheResidual) {
    // A shallow node with a soft initial line: the power curve meets k·x·y far beyond Yu.
    // The curve follows k·x·y only up to Ym and then the lower of k·x·y and the branches.
    const CementedSiltCurve cs = Shape(1000.0, 1500.0, 300.0);
    ASSERT_GT(cs.yk, cs.Yu);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(cs, 3.0), 900.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(cs, 3.5), 1000.0); // k·x·y = 1050 would exceed Pu
    EXPECT_DOUBLE_EQ(Cemented_Silt_p(cs, 5.0), 1000.0);
    Expect_Continuous(cs);
}

TEST(CementedSilt, DefaultK) {
    struct Case {
        double c, gamma, phi;
        bool cyclic;
        int units;
        double k;
    };
    for (const Case& t : {
             Case{10.0, 0.06, 32.0, false, USCS, 590.0},  // 500 + 90
             Case{10.0, 0.06, 32.0, true, USCS, 290.0},   // 200 + 90
             Case{5.0, 0.04, 30.0, false, USCS, 270.0},   // 250 + 20
             Case{30.0, 0.05, 40.0, true, USCS, 1025.0},  // 800 + 225
             Case{13.88, 0.06, 36.0, false, USCS, 590.0}, // 13.88 still below 13.880000114
             Case{100.0, 15.0, 35.0, false, SI, 271447.1875 + 24430.240234375},
             Case{40.0, 10.0, 25.0, true, SI, 27144.7109375 + 5428.93994140625},
             Case{10.0, 0.06, 32.0, false, GENERAL, 0.0},
         }) {
        EXPECT_DOUBLE_EQ(Cemented_Silt_Default_k(t.c, t.gamma, t.phi, t.cyclic, t.units), t.k)
            << t.c << " " << t.units;
    }
}

TEST(CementedSilt, DefaultEps50AndLayerK) {
    EXPECT_EQ(Cemented_Silt_Default_Eps50(3.0, USCS), 0.019999999552965164);
    EXPECT_EQ(Cemented_Silt_Default_Eps50(5.0, USCS), 0.009999999776482582);
    EXPECT_EQ(Cemented_Silt_Default_Eps50(20.0, USCS), 0.004999999888241291);
    EXPECT_EQ(Cemented_Silt_Default_Eps50(30.0, USCS), 0.004000000189989805);
    EXPECT_EQ(Cemented_Silt_Default_Eps50(30.0, SI), 0.009999999776482582);
    EXPECT_EQ(Cemented_Silt_Default_Eps50(30.0, GENERAL), 0.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_k_In_Layer(100.0, 300.0, 0.0, 100.0, 25.0), 150.0);
    EXPECT_DOUBLE_EQ(Cemented_Silt_k_In_Layer(100.0, 0.0, 0.0, 100.0, 25.0), 100.0);
}

TEST(CementedSilt, PrintedDeflections) {
    const PyPrintDeflections y = Cemented_Silt_Print_y(Cemented_Silt_Curve(Reference()));
    EXPECT_EQ(y[1], 0.0);
    EXPECT_NEAR(y[2], 0.4 / 12.0, 1e-15);
    EXPECT_NEAR(y[13], 0.4, 1e-15);
    EXPECT_NEAR(y[14], 0.9, 1e-15);
    EXPECT_NEAR(y[15], 0.945, 1e-8);
    EXPECT_NEAR(y[17], 1.035, 1e-8);
}

} // namespace
} // namespace zarno
