#include "engine/analysis_model.h"
#include "py/weak_rock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace zarno {
namespace {

// A 24-in shaft 36 in into rock of qur = 500 psi, RQD = 30 %, Eir = 100 000 psi and
// k_rm = 0.0005. By hand: Alpha_r = 1 − 30/150 = 0.8; pur = 0.8·500·24·(1 + 1.4·36/24)
// = 29 760 lb/in; K_ir = 100 + 400·36/72 = 300; Mir = 3.0e7 lb/in²; yrm = 0.012 in;
// yA = (29 760/(2·0.012^0.25·3.0e7))^1.333 = 1.71866e-4 in.
class WeakRockCurveTest : public ::testing::Test {
  protected:
    WeakRockCurve w = Weak_Rock_Curve(24.0, 500.0, 30.0, 1.0e5, 5.0e-4, 36.0);
};

TEST_F(WeakRockCurveTest, ParametersMatchHandCalculation) {
    ASSERT_EQ(w.Status, WeakRockStatus::OK);
    EXPECT_NEAR(w.Alpha_r, 0.8, 1e-8);
    EXPECT_NEAR(w.pur, 29760.0, 29760.0 * 1e-7);
    EXPECT_NEAR(w.K_ir, 300.0, 1e-9);
    EXPECT_NEAR(w.Mir, 3.0e7, 1e-2);
    EXPECT_NEAR(w.yrm, 0.012, 1e-12);
    EXPECT_NEAR(w.Yu, 0.192, 1e-11);
    EXPECT_NEAR(w.yA, 1.71866e-4, 1e-9);
}

TEST_F(WeakRockCurveTest, CurveBranchesAndModuli) {
    // Initial line.
    EXPECT_NEAR(Weak_Rock_p(w, 1.0e-4), 3000.0, 1e-6);
    // Quarter-power branch: at 4·yrm, (pur/2)·4^0.25 = 21 043.50 lb/in.
    EXPECT_NEAR(Weak_Rock_p(w, 0.048), 21043.4978, 1e-2);
    // Capped at pur from 16·yrm on.
    EXPECT_NEAR(Weak_Rock_p(w, 0.192), 29760.0, 1e-2);
    EXPECT_NEAR(Weak_Rock_p(w, 1.0), 29760.0, 1e-2);
    // Secant modulus with pm = 0.5, ym = 2 at y = 0.048: 0.5·21 043.50/(0.048·2).
    EXPECT_NEAR(Weak_Rock_Es(w, 0.048, 0.5, 2.0), 109601.551, 1e-2);
    // On the initial line the modulus is Mir, the multipliers do not enter.
    EXPECT_DOUBLE_EQ(Weak_Rock_Es(w, 0.5 * w.yA, 0.5, 2.0), w.Mir);
    EXPECT_DOUBLE_EQ(Weak_Rock_Es(w, 0.0, 1.0, 1.0), w.Mir);
}

TEST_F(WeakRockCurveTest, ContinuousAtYA) {
    // With the exponent 4/3 the two branches meet exactly; with 1.333 they differ by the
    // factor R^(1.333·0.75 − 1), R = pur/(2·yrm^0.25·Mir).
    const double below = w.Mir * std::nextafter(w.yA, 0.0);
    const double at = Weak_Rock_p(w, w.yA);
    const double R = 29760.0 / (2.0 * std::sqrt(std::sqrt(0.012)) * 3.0e7);
    EXPECT_NEAR(below / at, std::pow(R, 1.333 * 0.75 - 1.0), 1e-6);
    EXPECT_NEAR(below / at, 1.0, 2e-3);
}

TEST(WeakRock, AlphaRAtRqdLimits) {
    EXPECT_DOUBLE_EQ(fn_Alpha_r(0.0), 1.0);
    EXPECT_NEAR(fn_Alpha_r(100.0), 1.0 / 3.0, 1e-7);
}

TEST(WeakRock, BothUltimateFormulasAgreeAtThreeDiameters) {
    const double b = 30.0;
    const WeakRockCurve shallow = Weak_Rock_Curve(b, 800.0, 50.0, 2.0e5, 1.0e-4, 3.0 * b);
    const WeakRockCurve deep =
        Weak_Rock_Curve(b, 800.0, 50.0, 2.0e5, 1.0e-4, std::nextafter(3.0 * b, 1e9));
    // 5.2·Alpha_r·qur·b with Alpha_r = 2/3: 5.2·(2/3)·800·30 = 83 200 lb/in.
    EXPECT_NEAR(deep.pur, 83200.0, 83200.0 * 1e-6);
    EXPECT_NEAR(shallow.pur / deep.pur, 1.0, 1e-7);
    EXPECT_DOUBLE_EQ(shallow.K_ir, 500.0);
    EXPECT_DOUBLE_EQ(deep.K_ir, 500.0);
}

TEST(WeakRock, CurvesThatCannotBeFormedAreReported) {
    // Eir = 0: no initial slope, yA undefined.
    EXPECT_EQ(Weak_Rock_Curve(24.0, 500.0, 30.0, 0.0, 5.0e-4, 36.0).Status,
              WeakRockStatus::No_Initial_Slope);
    // Zero strength at an interface: pur = 0.
    EXPECT_EQ(Weak_Rock_Curve(24.0, 0.0, 30.0, 1.0e5, 5.0e-4, 36.0).Status,
              WeakRockStatus::No_Initial_Slope);
    EXPECT_EQ(Weak_Rock_Curve(24.0, 500.0, 30.0, 1.0e5, 0.0, 36.0).Status,
              WeakRockStatus::Yrm_Not_Positive);
}

TEST(WeakRock, DepthIntoRockRunsThroughContiguousRockLayers) {
    auto m = std::make_unique<AnalysisData>();
    auto set = [&](int l, int code, double top, double bottom) {
        m->Layers[l].i_SoilLayer_py_Type = code;
        m->Layers[l].XLayerTop = top;
        m->Layers[l].XLayerBottom = bottom;
    };
    set(1, 5, 0.0, 120.0);   // sand
    set(2, 8, 120.0, 240.0); // weak rock
    set(3, 8, 240.0, 400.0); // weak rock
    EXPECT_NEAR(Weak_Rock_Depth_Into_Rock(*m, 3, 300.0), 180.0, 1e-7);
    EXPECT_NEAR(Weak_Rock_Depth_Into_Rock(*m, 2, 150.0), 30.0, 1e-7);
    set(2, 9, 120.0, 240.0); // vuggy limestone above counts as rock too
    EXPECT_NEAR(Weak_Rock_Depth_Into_Rock(*m, 3, 300.0), 180.0, 1e-7);
    set(2, 1, 120.0, 240.0); // a clay layer in between ends the run of rock
    set(1, 8, 0.0, 120.0);
    EXPECT_NEAR(Weak_Rock_Depth_Into_Rock(*m, 3, 300.0), 60.0, 1e-7);
}

TEST(WeakRock, PrintedDeflections) {
    const WeakRockCurve w = Weak_Rock_Curve(24.0, 500.0, 30.0, 1.0e5, 5.0e-4, 36.0);
    const PyPrintDeflections y = Weak_Rock_Print_y(w);
    EXPECT_EQ(y[1], 0.0);
    EXPECT_EQ(y[2], w.yA);
    EXPECT_NEAR(y[3], w.yA + 0.02 * (0.192 - w.yA), 1e-10);
    EXPECT_NEAR(y[8], w.yA + 0.2 * (0.192 - w.yA), 1e-9);
    EXPECT_NEAR(y[16], 0.192, 1e-12);
    EXPECT_NEAR(y[17], 0.24, 1e-12);
    for (int j = 2; j <= PY_PRINT_POINTS; ++j) {
        EXPECT_GT(y[j], y[j - 1]) << j;
    }
}

TEST(WeakRock, Warnings) {
    struct Case {
        double value;
        int units;
        int code;
    };
    for (const Case& c : {Case{99.9, USCS, -3071}, Case{100.0, USCS, 0}, Case{1000.0, USCS, 0},
                          Case{1000.1, USCS, -3072}, Case{689.4, SI, -3073}, Case{689.5, SI, 0},
                          Case{6895.1, SI, -3074}, Case{1.0, GENERAL, 0}}) {
        EXPECT_EQ(Weak_Rock_Strength_Warning(c.value, c.units), c.code) << c.value;
    }
    EXPECT_EQ(Weak_Rock_krm_Warning(4.9e-5), -316);
    EXPECT_EQ(Weak_Rock_krm_Warning(5.0e-5), 0);
    EXPECT_EQ(Weak_Rock_krm_Warning(5.0e-4), 0);
    EXPECT_EQ(Weak_Rock_krm_Warning(5.1e-4), -317);
}

} // namespace
} // namespace zarno
