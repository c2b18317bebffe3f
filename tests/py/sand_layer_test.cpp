// Reese, API and liquefied sand layer routines on a node grid: moduli against hand
// evaluations of the criteria, default k, warnings and input errors.
#include "py/py_models.h"
#include "py_layer_fixture.h"

#include <algorithm>
#include <cmath>

namespace zarno::test {
namespace {

// 50 ft pile, 24 in wide, 40 increments of 15 in: node i at 15*(i - 1) in.
class SandLayerTest : public PyLayerTest {
  protected:
    void One_Sand_Layer(int type, double phi, double k) {
        Add_Layer({type, 0.0, 600.0, 0.0, 0.0, phi, phi, kGamma36, kGamma36});
        m().Layers[1].k_Top = m().Layers[1].k_Bottom = k;
        Grid(600.0, 24.0, 40);
    }
};

struct Angles {
    double phi, a, be, K0, Ka, Kp;
};
Angles Sand(double phi_deg, double K0) {
    const double phi = phi_deg * 3.141592653589793 / 180.0;
    const double ka = std::tan(3.141592653589793 / 4.0 - phi / 2.0);
    const double kp = std::tan(3.141592653589793 / 4.0 + phi / 2.0);
    return {phi, phi / 2.0, 3.141592653589793 / 4.0 + phi / 2.0, K0, ka * ka, kp * kp};
}

// Reese's shallow wedge and deep flow-around resistance on level ground.
double Reese_ps(double x, double b, double g, const Angles& s) {
    const double tp = std::tan(s.phi);
    const double tb = std::tan(s.be);
    const double ta = std::tan(s.a);
    const double tbp = std::tan(s.be - s.phi);
    const double pst =
        g * x *
        (s.K0 * x * tp * std::sin(s.be) / (tbp * std::cos(s.a)) + tb / tbp * (b + x * tb * ta) +
         s.K0 * x * tb * (tp * std::sin(s.be) - ta) - s.Ka * b);
    const double psd =
        s.Ka * b * g * x * (std::pow(tb, 8) - 1.0) + s.K0 * b * g * x * tp * std::pow(tb, 4);
    return std::min(pst, psd);
}

TEST_F(SandLayerTest, ReeseSandStaticAtOneAndAQuarterDiameters) {
    One_Sand_Layer(PY_SAND, 30.0, 90.0);
    const double b = 24.0;
    const double x = 30.0; // node 3; x/b = 1.25: A = 1.935, B = 1.405
    const Angles s = Sand(30.0, 0.4);
    const double ps = Reese_ps(x, b, kGamma36, s);
    const double pu = 1.935 * ps;
    const double pm = 1.405 * ps;
    const double ym = b / 60.0;
    const double yu = 3.0 * b / 80.0;
    const double slope = (pu - pm) / (yu - ym);
    Y(3, 0.6); // between ym and yu: the straight line
    Y(2, 0.0); // k*x at zero deflection
    Y(4, 2.0); // beyond yu at 45 in, x/b = 1.875: A = 1.76 - 0.75*0.28 = 1.55
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(3), std::min(pm + slope * (0.6 - ym), 90.0 * x * 0.6) / 0.6, 1e-6 * Es(3));
    EXPECT_NEAR(Es(2), 90.0 * 15.0, 1e-9);
    EXPECT_NEAR(Es(4), 1.55 * Reese_ps(45.0, b, kGamma36, s) / 2.0, 1e-6 * Es(4));
    EXPECT_EQ(m().Warnings.i_Warning_Tally[302], 0);
}

TEST_F(SandLayerTest, ReeseSandDefaultKAndFrictionAngleWarning) {
    One_Sand_Layer(PY_SAND, 35.0, 0.0);
    Y(5, 0.0);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    // 1.2098290369522147e-07 * 35^5.694468021392822 = 75.05 pci.
    const double k = 1.2098290369522147e-07 * std::pow(35.0, 5.694468021392822);
    EXPECT_NEAR(k, 75.05, 0.01);
    EXPECT_NEAR(Es(5), k * 60.0, 1e-9);
    EXPECT_EQ(m().Layers[1].k_Top, 0.0);

    m().Profile.phi[1] = m().Profile.phi[2] = 50.0;
    Pass();
    EXPECT_GT(m().Warnings.i_Warning_Tally[302], 0);
    EXPECT_NE(Messages().find("An unreasonable value for friction angle was input for a Reese "
                              "sand layer. "),
              std::string::npos);
}

TEST_F(SandLayerTest, APISandStaticAtThreeDiameters) {
    One_Sand_Layer(PY_API_SAND, 35.0, 100.0);
    const double b = 24.0;
    const double x = 75.0; // node 6, x/b = 3.125: A = 3 - 2.5 = 0.5, raised to 0.9
    const double g = kGamma36;
    const Angles s = Sand(35.0, 0.4000000059604645);
    const double tp = std::tan(s.phi);
    const double tb = std::tan(s.be);
    const double ta = std::tan(s.a);
    const double C1 =
        tb * (s.Kp * ta + s.K0 * (tp * std::sin(s.be) * (1.0 / std::cos(s.a) + 1.0) - ta));
    const double C2 = s.Kp - s.Ka;
    const double C3 = s.Kp * s.Kp * (s.Kp + s.K0 * tp) - s.Ka;
    const double pu = std::min((C1 * x + C2 * b) * g * x, C3 * b * g * x);
    const double pA = 0.8999999761581421 * pu;
    Y(6, 0.5);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(6), pA * std::tanh(100.0 * x * 0.5 / pA) / 0.5, 1e-6 * Es(6));
}

TEST_F(SandLayerTest, APISandCyclicAndOutOfRangeAngle) {
    One_Sand_Layer(PY_API_SAND, 19.0, 100.0);
    m().b_Cyclic = true;
    Y(6, 0.5);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_GT(m().Warnings.i_Warning_Tally[303], 0);
    EXPECT_GT(Es(6), 0.0);
}

TEST_F(SandLayerTest, ZeroFrictionAngleIsAnInputError) {
    struct Case {
        int type;
        int status;
        const char* header;
    };
    for (const Case& c : {Case{PY_SAND, 108, "**** Input Data Error No. 8 ****"},
                          Case{PY_API_SAND, 101, "**** Input Data Error No. 1 ****"}}) {
        SetUp();
        Add_Layer({c.type, 0.0, 600.0, 0.0, 0.0, 30.0, 0.0, kGamma36, kGamma36});
        m().Layers[1].k_Top = 100.0;
        Grid(600.0, 24.0, 40);
        Pass();
        EXPECT_EQ(m().RunStatus, c.status);
        EXPECT_NE(Messages().find(c.header), std::string::npos);
    }
}

TEST_F(SandLayerTest, SlopeSteeperThanFrictionIsAnInputErrorInALowerLayerToo) {
    // Sand over sand on a 35 degree slope; the lower sand has only 30 degrees.
    for (const int type : {PY_SAND, PY_API_SAND}) {
        SetUp();
        Add_Layer({PY_SAND, 0.0, 120.0, 0.0, 0.0, 40.0, 40.0, kGamma36, kGamma36});
        Add_Layer({type, 120.0, 600.0, 0.0, 0.0, 30.0, 30.0, kGamma36, kGamma36});
        m().Layers[1].k_Top = m().Layers[2].k_Top = 100.0;
        m().Ground_Slope = m().Slope_Minus_Batter = 35.0 * kPi / 180.0;
        Grid(600.0, 24.0, 40);
        Pass();
        EXPECT_EQ(m().RunStatus, type == PY_SAND ? 109 : 102);
        const std::string text = Messages();
        EXPECT_NE(text.find(type == PY_SAND ? "the Reese sand criteria for layer 2."
                                            : "curve using the API criteria for sand for layer 2."),
                  std::string::npos);
    }
}

TEST_F(SandLayerTest, DefaultKInGeneralUnitsIsRuntimeError13) {
    One_Sand_Layer(PY_SAND, 35.0, 0.0);
    m().IUNITS = GENERAL;
    Pass();
    EXPECT_EQ(m().RunStatus, 213);
    EXPECT_NE(Messages().find("**** Runtime Error No. 13 ****"), std::string::npos);
}

TEST_F(SandLayerTest, LiquefiedSandSecantAndZeroModulusAtRest) {
    // SI: 0.6 m pile, 12 m long, 40 increments of 0.3 m; node 11 at 3 m.
    Set_Unit_Labels(m(), SI);
    m().IUNITS = SI;
    Add_Layer({PY_LIQUEFIED_SAND, 0.0, 12.0, 0.0, 0.0, 0.0, 0.0, 8.0, 8.0});
    Grid(12.0, 0.6, 40);
    const double z1 = 3.0 + 1.0;
    const double A = 3e-7 * std::pow(z1, 6.050000190734863);
    const double B = 2.799999952316284 * std::pow(z1, 0.10999999940395355);
    const double C = 2.8499999046325684 * std::pow(z1, -0.4099999964237213);
    ASSERT_GT(C, 1.0);
    const double pl = std::min(A * std::pow(150.0 * B, C), 15.0);
    const double Pd = 3.809999942779541 * std::log(0.6) + 5.599999904632568;
    const double p = std::min(Pd * A * std::pow(B * 50.0, C), Pd * pl);
    Y(11, 0.05);
    Y(12, 0.0);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(11), p / 0.05, 1e-9 * Es(11));
    // The curve starts flat (C > 1): the limit of p/y at rest is zero, not a division by zero.
    EXPECT_EQ(Es(12), 0.0);
    EXPECT_EQ(m().Py.F_Layer_Saved[1], m().Py.F_Layer[1]);
    EXPECT_GT(m().Py.F_Layer[1], 0.0);
}

} // namespace
} // namespace zarno::test
