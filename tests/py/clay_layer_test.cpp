// Soft clay and stiff clay layer routines on a node grid: moduli at nodes against hand
// evaluations of the criteria, layer resistance, defaults, warnings and input errors.
#include "py/py_models.h"
#include "py_layer_fixture.h"

#include <algorithm>
#include <cmath>

namespace zarno::test {
namespace {

// 40 ft pile, 24 in wide, 40 increments of 12 in: node i at 12*(i - 1) in.
class ClayLayerTest : public PyLayerTest {
  protected:
    void One_Clay_Layer(int type, double c, double eps50, double J = 0.0) {
        Add_Layer({type, 0.0, 480.0, c, c, 0.0, 0.0, kGamma36, kGamma36});
        Set(m().Profile.eps50, 1, eps50, eps50);
        Set(m().Profile.J, 1, J, J);
        Grid(480.0, 24.0, 40);
    }
};

// Matlock: Np = 3 + gamma*x/c + J*x/b, pu = min(Np, 9)*c*b, y50 = 2.5*eps50*b.
double Matlock_pu(double x, double c, double b, double gamma, double J) {
    const double Np = 3.0 + gamma * x / c + J * x / b;
    return std::min(Np, 9.0) * c * b;
}

TEST_F(ClayLayerTest, SoftClayStaticModuliAtShallowAndDeepNodes) {
    One_Clay_Layer(PY_SOFT_CLAY, 5.0, 0.01);
    const double y50 = 2.5 * 0.01 * 24.0; // 0.6 in
    // Node 5 at 48 in: Np = 3 + 0.2 + 1 = 4.2, pu = 504 lb/in.
    Y(5, 0.5 * y50);
    // Node 31 at 360 in: Np = 12 is capped at 9, pu = 1080 lb/in; beyond 8*y50 p = pu.
    Y(31, 10.0);
    Y(21, 8.0 * y50);  // 240 in: exactly 8*y50, p = pu by both branches
    Y(11, 1e-6 * y50); // below the small-deflection limit
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const double pu5 = Matlock_pu(48.0, 5.0, 24.0, kGamma36, 0.5);
    EXPECT_NEAR(pu5, 504.0, 1e-9);
    EXPECT_NEAR(Es(5), 0.5 * 504.0 * std::cbrt(0.5) / (0.5 * y50), 1e-9);
    EXPECT_NEAR(Es(31), 1080.0 / 10.0, 1e-9);
    const double pu21 = Matlock_pu(240.0, 5.0, 24.0, kGamma36, 0.5);
    EXPECT_NEAR(Es(21), pu21 / (8.0 * y50), 1e-9);
    EXPECT_EQ(Es(11), 1.0e6);
    // Layer resistance: trapezoids of pu over the nodes; the last node lies on the layer
    // bottom, so nothing is carried below it.
    double F = 0.0;
    for (int i = 2; i <= 41; ++i) {
        F += (Matlock_pu(12.0 * (i - 2), 5.0, 24.0, kGamma36, 0.5) +
              Matlock_pu(12.0 * (i - 1), 5.0, 24.0, kGamma36, 0.5)) *
             6.0;
    }
    EXPECT_NEAR(m().Py.F_Layer[1], F, 1e-6 * F);
}

TEST_F(ClayLayerTest, SoftClayCyclicAboveAndBelowTheTransitionDepth) {
    One_Clay_Layer(PY_SOFT_CLAY, 5.0, 0.01);
    m().b_Cyclic = true;
    m().Number_Of_Cycles = 10.0;
    const double y50 = 0.6;
    // xr = 6*b*c/(gamma*b + J*c) = 720/3 = 240 in; Xr = max(240, 60).
    Y(5, 9.0 * y50);  // 48 in, above Xr: halfway from pc to pr
    Y(31, 9.0 * y50); // 360 in, below Xr: pc
    Y(3, 3.0 * y50);  // 24 in, at the break: static curve gives pc
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const double f = 0.5 * std::cbrt(3.0);
    const double pc5 = f * Matlock_pu(48.0, 5.0, 24.0, kGamma36, 0.5);
    const double pr5 = pc5 * 48.0 / 240.0;
    EXPECT_NEAR(Es(5), (pc5 + (pr5 - pc5) * 0.5) / (9.0 * y50), 1e-5);
    EXPECT_NEAR(Es(31), f * 1080.0 / (9.0 * y50), 1e-5);
    const double pu3 = Matlock_pu(24.0, 5.0, 24.0, kGamma36, 0.5);
    EXPECT_NEAR(Es(3), f * pu3 / (3.0 * y50), 1e-5);
}

TEST_F(ClayLayerTest, SoftClayWithJUsesItsJAndTheStaticSecantAsLimit) {
    One_Clay_Layer(PY_SOFT_CLAY_J, 5.0, 0.0, 0.25); // eps50 default: 0.01 at 5 psi
    const double y50 = 2.5 * 0.009999999776482582 * 24.0;
    Y(5, y50);
    Y(7, 0.0);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const double pu5 = Matlock_pu(48.0, 5.0, 24.0, kGamma36, 0.25);
    EXPECT_NEAR(Es(5), 0.5 * pu5 / y50, 1e-6);
    const double pu7 = Matlock_pu(72.0, 5.0, 24.0, kGamma36, 0.25);
    EXPECT_NEAR(Es(7), pu7 * 0.01077217236161232 / (2.9999999242136255e-05 * y50), 1e-6);
}

TEST_F(ClayLayerTest, SoftClayStrengthWarningOnlyAboveTheLimit) {
    One_Clay_Layer(PY_SOFT_CLAY, 8.68055534362793, 0.01);
    Pass();
    EXPECT_EQ(m().Warnings.i_Warning_Tally[3041], 0);
    m().Profile.c[1] = m().Profile.c[2] = 9.0;
    Pass();
    EXPECT_GT(m().Warnings.i_Warning_Tally[3041], 0);
}

TEST_F(ClayLayerTest, SoftClayWithoutStrainInGeneralUnitsStops) {
    for (const int type : {PY_SOFT_CLAY, PY_SOFT_CLAY_J}) {
        SetUp();
        One_Clay_Layer(type, 5.0, 0.0, 0.5);
        m().IUNITS = GENERAL;
        Pass();
        EXPECT_EQ(m().RunStatus, type == PY_SOFT_CLAY ? 237 : 238);
    }
}

TEST_F(ClayLayerTest, ZeroCohesionBelowTheFirstNodeIsAnInputErrorOfEachClay) {
    struct Case {
        int type;
        int status;
        const char* header;
    };
    const Case cases[] = {
        {PY_SOFT_CLAY, 112, "**** Input Data Error No. 12 ****"},
        {PY_SOFT_CLAY_J, 171, "**** Input Data Error No. 71 ****"},
        {PY_STIFF_CLAY_FREE_WATER, 114, "**** Input Data Error No. 14 ****"},
        {PY_STIFF_CLAY_NO_WATER, 113, "**** Input Data Error No. 13 ****"},
        {PY_STIFF_CLAY_NO_WATER_K, 113, "**** Input Data Error No. 13 ****"},
    };
    for (const Case& k : cases) {
        SetUp();
        Add_Layer({k.type, 0.0, 480.0, 5.0, 0.0, 0.0, 0.0, kGamma36, kGamma36});
        Set(m().Profile.eps50, 1, 0.01, 0.01);
        Set(m().Profile.J, 1, 0.5, 0.5);
        Grid(480.0, 24.0, 40);
        Pass();
        EXPECT_EQ(m().RunStatus, k.status) << k.type;
        const std::string msg = Messages();
        EXPECT_NE(msg.find(k.header), std::string::npos) << k.type;
    }
}

// Stiff clay with free water: As(r) and the static curve.
double As(double r) {
    if (r > 3.299999952316284) {
        return 0.6000000238418579;
    }
    return std::min(0.6000000238418579, 0.2345000058412552 + 0.295879602432251 * r -
                                            0.0786110982298851 * r * r +
                                            0.006898100022226572 * r * r * r);
}

TEST_F(ClayLayerTest, StiffClayWithFreeWaterStaticBranchesWithDefaults) {
    One_Clay_Layer(PY_STIFF_CLAY_FREE_WATER, 10.0, 0.0); // k 500 pci, eps50 0.007
    const double b = 24.0;
    const double x = 48.0; // node 5, x/b = 2
    const double a = As(2.0);
    const double y50 = 0.007000000216066837 * b;
    const double pct = 2.0 * 10.0 * b + kGamma36 * b * x + 2.8299999237060547 * 10.0 * x;
    const double pc = std::min(pct, 11.0 * 10.0 * b);
    const double pr = pc * (0.5 * std::sqrt(6.0 * a) - 0.41100001335144043 - 0.75 * a);
    Y(5, 0.5 * a * y50);
    Y(6, 10.0 * a * y50);
    Y(7, 20.0 * a * y50);
    Y(2, 0.0);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(5), 0.5 * pc * std::sqrt(0.5 * a) / (0.5 * a * y50), 1e-6);
    // Node 6 at 60 in: own As and pc.
    const double a6 = As(2.5);
    const double pct6 = 2.0 * 10.0 * b + kGamma36 * b * 60.0 + 2.8299999237060547 * 10.0 * 60.0;
    const double pc6 = std::min(pct6, 11.0 * 10.0 * b);
    const double y6 = 10.0 * a * y50;
    const double p6 = 0.5 * pc6 * std::sqrt(6.0 * a6) - 0.41100001335144043 * pc6 -
                      0.0625 * pc6 * (y6 - 6.0 * a6 * y50) / y50;
    EXPECT_NEAR(Es(6), std::min(p6, 500.0 * 60.0 * y6) / y6, 1e-6);
    const double a7 = As(3.0);
    const double pct7 = 2.0 * 10.0 * b + kGamma36 * b * 72.0 + 2.8299999237060547 * 10.0 * 72.0;
    const double pc7 = std::min(pct7, 11.0 * 10.0 * b);
    const double pr7 = pc7 * (0.5 * std::sqrt(6.0 * a7) - 0.41100001335144043 - 0.75 * a7);
    EXPECT_NEAR(Es(7), pr7 / (20.0 * a * y50), 1e-6);
    EXPECT_NEAR(Es(2), 500.0 * 12.0, 1e-9); // initial slope k*x at zero deflection
    (void)pr;
}

TEST_F(ClayLayerTest, StiffClayWithFreeWaterCyclicPlateauAndWarnings) {
    One_Clay_Layer(PY_STIFF_CLAY_FREE_WATER, 60.0, 0.005);
    m().b_Cyclic = true;
    const double b = 24.0;
    const double x = 48.0;
    const double a = As(2.0);
    const double Ac = 0.30000001192092896;
    const double y50 = 0.005 * b;
    const double yp = 4.099999904632568 * a * y50;
    const double pc =
        std::min(2.0 * 60.0 * b + kGamma36 * b * x + 2.8299999237060547 * 60.0 * x, 11.0 * 60 * b);
    Y(5, 2.0 * yp);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const double p = 0.9359999895095825 * Ac * pc - 0.10199999809265137 * pc * yp / y50;
    EXPECT_NEAR(Es(5), p / (2.0 * yp), 1e-6);
    EXPECT_GT(m().Warnings.i_Warning_Tally[3052], 0); // above 8000 psf
}

TEST_F(ClayLayerTest, StiffClayWithoutFreeWaterStaticCyclicAndInitialSlope) {
    One_Clay_Layer(PY_STIFF_CLAY_NO_WATER, 10.0, 0.0); // eps50 0.007
    const double b = 24.0;
    const double y50 = 2.5 * 0.007000000216066837 * b;
    auto pu = [&](double x) {
        return std::min(3.0 * 10.0 * b + kGamma36 * b * x + 0.5 * 10.0 * x, 9.0 * 10.0 * b);
    };
    Y(5, y50);
    Y(6, 20.0 * y50);
    Y(7, 1e-6);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(5), 0.5 * pu(48.0) / y50, 1e-6);
    EXPECT_NEAR(Es(6), pu(60.0) / (20.0 * y50), 1e-6);
    // Below 2e-5*b the secant of the static curve at 2e-5*b.
    EXPECT_NEAR(Es(7), 0.5 * pu(72.0) * std::pow(y50 / (2e-5 * b), 0.75) / y50, 1e-6);

    // Ten cycles: y50c = 1.6*y50, p = pu/2 there.
    m().b_Cyclic = true;
    m().Number_Of_Cycles = 10.0;
    const double y50c = (1.0 + 0.6000000238418579) * y50;
    Y(5, y50c);
    Pass();
    EXPECT_NEAR(Es(5), 0.5 * pu(48.0) / y50c, 1e-6);
}

TEST_F(ClayLayerTest, StiffClayWithInitialKTakesDefaultKAndFollowsTheLine) {
    One_Clay_Layer(PY_STIFF_CLAY_NO_WATER_K, 10.0, 0.0);
    m().Layers[1].k_Bottom = 900.0; // the top value decides: default 500 pci
    Y(5, 1e-6);
    Y(6, 0.0);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(5), 500.0 * 48.0, 1e-6);
    EXPECT_NEAR(Es(6), 500.0 * 60.0, 1e-6);
    EXPECT_EQ(m().Warnings.i_Warning_Tally[3261], 0);
    m().Profile.c[1] = m().Profile.c[2] = 3.0; // below 500 psf
    Pass();
    EXPECT_GT(m().Warnings.i_Warning_Tally[3261], 0);
}

TEST_F(ClayLayerTest, NotANumberModulusIsARuntimeErrorNamingTheNode) {
    // A section without width: y50 = 0 and pu = 0, so at rest p = 0*cbrt(0/0) is not a
    // number (node 1, deflected beyond 8*y50, takes p = pu = 0).
    struct Case {
        int type;
        int status;
        const char* text;
    };
    for (const Case& k :
         {Case{PY_SOFT_CLAY, 234,
               "The computed value of soil modulus computed in soft clay is not-a-number for "
               "node number 2"},
          Case{PY_SOFT_CLAY_J, 236,
               "The computed value of soil modulus computed in API soft clay is not-a-number "
               "for node number 2"}}) {
        SetUp();
        Add_Layer({k.type, 0.0, 480.0, 5.0, 5.0, 0.0, 0.0, kGamma36, kGamma36});
        Set(m().Profile.eps50, 1, 0.01, 0.01);
        Set(m().Profile.J, 1, 0.5, 0.5);
        Grid(480.0, 0.0, 40);
        Y(1, 1.0);
        Pass();
        EXPECT_EQ(m().RunStatus, k.status);
        EXPECT_NE(Report().find(k.text), std::string::npos);
    }
}

TEST_F(ClayLayerTest, SoilMovementLoadsTheNodeWithItsSpring) {
    One_Clay_Layer(PY_SOFT_CLAY, 5.0, 0.01);
    m().i_Num_Soil_Movements = 2;
    m().Soil_Movement[1] = {0.0, 0.4};
    m().Soil_Movement[2] = {480.0, 0.4};
    Interpolate_Soil_Movement(m(), m(), m().i_Num_Nodes);
    Y(5, 0.7); // relative to the soil: 0.3 = y50/2
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const double y50 = 0.6;
    const double Es5 = 0.5 * 504.0 * std::cbrt(0.5) / (0.5 * y50);
    EXPECT_NEAR(Es(5), Es5, 1e-9);
    EXPECT_NEAR(m().Nodes[5].Dist_Load, 0.4 * Es5, 1e-9);
}

} // namespace
} // namespace zarno::test
