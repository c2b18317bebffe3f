// Layer routines of the rock, cemented silt, loess and Piedmont models run over a real
// node grid: the springs they leave at given deflections, checked against hand values.
#include "../profile/profile_fixture.h"
#include "engine/pile_section.h"
#include "engine/run_status.h"
#include "profile/pile_grid.h"
#include "py/py_common.h"
#include "py/py_framework.h"
#include "py/py_models.h"
#include "report/report_header.h"
#include "solver/fd_solver.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <string>

namespace zarno::test {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// A 24-in elastic shaft, 480 in long, in layers given with the ProfileTest helpers.
class RockSiltLayerTest : public ProfileTest {
  protected:
    void SetUp() override {
        ProfileTest::SetUp();
        Set_Unit_Labels(m(), USCS);
        PileSection& s = m().Sections[++m().i_Num_Sections];
        s.i_Section_Type = SECTION_ELASTIC;
        s.i_Shape_Type = SHAPE_CIRCULAR;
        s.XTop = 0.0;
        s.XBottom = 480.0;
        s.Length = 480.0;
        s.Width_Top = s.Width_Bottom = 24.0;
        s.E_Top = s.E_Bottom = 29e6;
        s.I_Top = s.I_Bottom = 16286.0;
        s.Area_Top = s.Area_Bottom = 452.4;
        m().Pile_Length = 480.0;
        m().i_Pile_Increments = 40; // h = 12 in
    }

    void Grid() {
        Build_Node_Grid(m());
        ASSERT_EQ(m().RunStatus, 0);
    }

    // Node at X along the pile (the grid is uniform from the head).
    int Node(double X) const {
        return static_cast<int>(std::lround(X / files_.m->Increment_Length)) + 1;
    }
    void Deflect(double X, double y) { m().Lateral.Solution.y(Node(X)) = y; }
    double Es(double X) const { return files_.m->Nodes[Node(X)].Es; }

    // One evaluate pass over all layers, as at the start of a load case.
    void Pass() { Compute_py_All_Layers(m(), 0); }

    bool Warned(int code) const { return files_.m->Warnings.i_Warning_Tally[std::abs(code)] > 0; }

    // Weak rock at both ends of layer i: qur, Eir, RQD, k_rm.
    void Weak_Rock_Data(int i, double qur, double Eir, double RQD, double k_rm) {
        SoilProfile& p = m().Profile;
        for (int k : {2 * i - 1, 2 * i}) {
            p.c[k] = qur;
            p.RQD[k] = RQD;
            p.eps50[k] = k_rm;
        }
        m().Layers[i].k_Top = m().Layers[i].k_Bottom = Eir;
    }

    std::string Plot_Text() { return files_.Plot(); }
};

// ---- weak rock ----------------------------------------------------------------------

// qur = 500 psi, RQD 30 % (Alpha_r = 0.8), Eir = 1e5 psi, k_rm = 0.0005, b = 24 in.
class WeakRockLayerTest : public RockSiltLayerTest {
  protected:
    void SetUp() override {
        RockSiltLayerTest::SetUp();
        Add_Layer({PY_WEAK_ROCK, 0.0, 480.0, 500.0, 500.0, 0, 0, 0.05, 0.05});
        Weak_Rock_Data(1, 500.0, 1.0e5, 30.0, 5.0e-4);
    }
};

TEST_F(WeakRockLayerTest, SpringsOnEachBranchMatchHandValues) {
    Grid();
    Deflect(0.0, 0.0);    // at the top: K_ir = 100, on the initial line Es = Mir = 1e7
    Deflect(36.0, 0.048); // xr = 36: pur = 0.8·500·24·(1 + 1.4·1.5) = 29 760, yrm = 0.012
    Deflect(96.0, 1.0);   // xr > 3b: pur = 5.2·0.8·500·24 = 49 920, reached from 16·yrm
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(0.0), 1.0e7, 1.0);
    // (pur/2)·(0.048/0.012)^0.25 = 21 043.498 lb/in over 0.048 in.
    EXPECT_NEAR(Es(36.0), 21043.498 / 0.048, 0.5);
    EXPECT_NEAR(Es(96.0), 49920.0, 0.05);
    EXPECT_FALSE(Warned(-3071));
    EXPECT_FALSE(Warned(-316));
}

TEST_F(WeakRockLayerTest, SecondRockLayerMeasuresDepthFromTheTopOfTheFirst) {
    m().Layers[1].XLayerBottom = 48.0;
    m().Profile.Strength_Depth[2] = m().Profile.Gamma_Depth[2] = 48.0;
    Add_Layer({PY_WEAK_ROCK, 48.0, 480.0, 500.0, 500.0, 0, 0, 0.05, 0.05});
    Weak_Rock_Data(2, 500.0, 1.0e5, 30.0, 5.0e-4);
    Grid();
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    // At X = 60 the depth into rock is 60, not 12: K_ir = 100 + 400·60/72.
    EXPECT_NEAR(Es(60.0), (100.0 + 400.0 * 60.0 / 72.0) * 1.0e5, 1.0);
}

TEST_F(WeakRockLayerTest, WeakStrengthAndSmallStrainFactorAreWarned) {
    Weak_Rock_Data(1, 50.0, 1.0e5, 30.0, 1.0e-5);
    Grid();
    Pass();
    EXPECT_EQ(m().RunStatus, 0);
    EXPECT_TRUE(Warned(-3071));
    EXPECT_TRUE(Warned(-316));
}

struct WeakRockErrorCase {
    const char* name;
    double qur, Eir, k_rm, width;
    int status;
    const char* code;
    const char* text;
};

class WeakRockErrorTest : public WeakRockLayerTest,
                          public ::testing::WithParamInterface<WeakRockErrorCase> {};

TEST_P(WeakRockErrorTest, StopsWithItsCodeAndNamesTheLayer) {
    const WeakRockErrorCase& e = GetParam();
    Weak_Rock_Data(1, e.qur, e.Eir, 30.0, e.k_rm);
    m().Sections[1].Width_Top = m().Sections[1].Width_Bottom = e.width;
    Grid();
    for (int i = 1; i <= m().i_Num_Nodes; ++i) {
        m().Nodes[i].Es = 50000.0;
    }
    Pass();
    EXPECT_EQ(m().RunStatus, e.status);
    const std::string report = Report();
    EXPECT_NE(report.find(std::string("due to ") + (e.status >= 200 ? "runtime" : "input") +
                          " error number " + e.code),
              std::string::npos)
        << report;
    EXPECT_NE(report.find(e.text), std::string::npos) << report;
    EXPECT_EQ(Es(0.0), 50000.0); // the failing node keeps its spring
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WeakRockErrorTest,
    ::testing::Values(WeakRockErrorCase{"ZeroStrength", 0.0, 1.0e5, 5.0e-4, 24.0, 162, "INP00062",
                                        "Check the input values for layer 1"},
                      WeakRockErrorCase{"ZeroStrainFactor", 500.0, 1.0e5, 0.0, 24.0, 163,
                                        "INP00163", "Solution: Check the input values for layer 1"},
                      WeakRockErrorCase{"NoInitialModulus", 500.0, 0.0, 5.0e-4, 24.0, 164,
                                        "INP00064", "compressive strength of layer 1"},
                      WeakRockErrorCase{"NoPileWidth", 500.0, 1.0e5, 5.0e-4, 0.0, 222, "RUN00022",
                                        "properties in the soil layer 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WeakRockLayerTest, MissingInitialSlopeIsTracedInTheMessageFile) {
    Weak_Rock_Data(1, 500.0, 0.0, 30.0, 5.0e-4);
    Grid();
    Pass();
    ASSERT_EQ(m().RunStatus, 164);
    EXPECT_NE(Messages().find("ERROR 2 BEFORE EQN 11"), std::string::npos);
}

// ---- vuggy limestone and massive rock -----------------------------------------------

TEST_F(RockSiltLayerTest, VuggyLimestoneFollowsItsThreeBranchesAndIgnoresSoilMovement) {
    // qu = 1500 psi: s = 750, y1 = 0.0096, p1 = 14 400, y2 = 0.0576 in.
    Add_Layer({PY_VUGGY_LIMESTONE, 0.0, 480.0, 1500.0, 1500.0, 0, 0, 0.08, 0.08});
    m().Soil_Movement[1] = {0.0, 0.5};
    m().Soil_Movement[2] = {480.0, 0.5};
    m().i_Num_Soil_Movements = 2;
    Grid();
    Deflect(120.0, -0.005); // initial line 2000·s, whatever the sign
    Deflect(240.0, 0.03);   // 14 400 + 100·750·(0.03 − 0.0096) = 15 930
    Deflect(360.0, 0.1);    // beyond y2: 0.5·0.08·24·360 = 345.6
    const double load_before = m().Nodes[Node(240.0)].Dist_Load;
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(120.0), 1.5e6, 0.1);
    EXPECT_NEAR(Es(240.0), 15930.0 / 0.03, 0.5);
    EXPECT_NEAR(Es(360.0), 3456.0, 1e-6);
    EXPECT_EQ(m().Nodes[Node(240.0)].Dist_Load, load_before);
    EXPECT_FALSE(Warned(-308));
}

TEST_F(RockSiltLayerTest, VuggyLimestoneOutsideItsStrengthRangeIsWarned) {
    Add_Layer({PY_VUGGY_LIMESTONE, 0.0, 480.0, 500.0, 500.0, 0, 0, 0.08, 0.08});
    Grid();
    Pass();
    EXPECT_EQ(m().RunStatus, 0);
    EXPECT_TRUE(Warned(-308));
}

TEST_F(RockSiltLayerTest, MassiveRockEndsTheRunWithStatus99BeforeLaterLayers) {
    Add_Layer({PY_MASSIVE_ROCK, 0.0, 240.0, 3000.0, 3000.0, 0, 0, 0.09, 0.09});
    Add_Layer({PY_PIEDMONT, 240.0, 480.0, 0, 0, 0, 0, 0.06, 0.06});
    Grid();
    m().Nodes[Node(360.0)].Es = 50000.0;
    Pass();
    EXPECT_EQ(m().RunStatus, 99);
    EXPECT_EQ(Es(360.0), 50000.0);
    // Status 99 is what front ends expect; the block says why and what to use instead.
    const std::string report = Report();
    EXPECT_NE(report.find("**** Analysis Stopped: Massive Rock Layer ****"), std::string::npos);
    EXPECT_NE(report.find("Problem:  Soil layer 1 is massive rock (p-y type 16)."),
              std::string::npos);
}

// ---- cemented silt ------------------------------------------------------------------

// c = 10 psi, phi = 32 deg, gamma' = 0.06 pci, no k given (default 500 + 90 = 590 pci).
class CementedSiltLayerTest : public RockSiltLayerTest {
  protected:
    void SetUp() override {
        RockSiltLayerTest::SetUp();
        Add_Layer({PY_CEMENTED_SILT, 0.0, 480.0, 10.0, 10.0, 32.0, 32.0, 0.06, 0.06});
    }
};

TEST_F(CementedSiltLayerTest, DefaultModulusAndResidualResistanceMatchHandValues) {
    Grid();
    Deflect(120.0, 0.0);
    Deflect(240.0, 1.0); // beyond Yu = 0.9 in: the residual Pu
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(120.0), 590.0 * 120.0, 1e-6);
    // Pu = A·ps + pc at x = 240 (x/b = 10): A = 0.88, pc = 9·c·b (Np = 9.44 > 9), ps the
    // wedge gamma'·x·(C1·x + C2·b), smaller than the flow-around value there.
    const double phi = 32.0 * kDeg;
    const double K0 = 0.4000000059604645;
    const double alpha = phi / 2.0;
    const double beta = std::numbers::pi / 4.0 + alpha;
    const double Ka = std::pow(std::tan(std::numbers::pi / 4.0 - alpha), 2);
    const double Kp = std::pow(std::tan(beta), 2);
    const double C1 =
        std::tan(beta) *
        (Kp * std::tan(alpha) +
         K0 * (std::tan(phi) * std::sin(beta) * (1.0 / std::cos(alpha) + 1.0) - std::tan(alpha)));
    const double C2 = Kp - Ka;
    const double ps = 0.06 * 240.0 * (C1 * 240.0 + C2 * 24.0);
    EXPECT_NEAR(ps, 8902.9137, 1e-3);
    EXPECT_NEAR(Es(240.0), 0.88 * ps + 9.0 * 10.0 * 24.0, 1e-6);
}

TEST_F(CementedSiltLayerTest, CyclicDefaultModulusAndGivenModulus) {
    m().b_Cyclic = true;
    Grid();
    Pass();
    EXPECT_NEAR(Es(120.0), 290.0 * 120.0, 1e-6); // 200 + 90 pci
    // A top value alone is used over the whole layer, and written back as the bottom one.
    m().Layers[1].k_Top = 100.0;
    Pass();
    EXPECT_NEAR(Es(120.0), 100.0 * 120.0, 1e-6);
    EXPECT_EQ(m().Layers[1].k_Bottom, 100.0);
}

TEST_F(CementedSiltLayerTest, LayerBelowWeakRockUsesTheTrueDepth) {
    m().Layers[1].XLayerBottom = 120.0;
    m().Layers[1].i_SoilLayer_py_Type = PY_WEAK_ROCK;
    m().Profile.Strength_Depth[2] = m().Profile.Gamma_Depth[2] = 120.0;
    Weak_Rock_Data(1, 500.0, 1.0e5, 30.0, 5.0e-4);
    Add_Layer({PY_CEMENTED_SILT, 120.0, 480.0, 10.0, 10.0, 32.0, 32.0, 0.06, 0.06});
    m().Layers[2].k_Top = m().Layers[2].k_Bottom = 100.0;
    Grid();
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_EQ(m().Py.X_Eq[2], X_EQ_NOT_SET);
    EXPECT_TRUE(m().Py.b_BelowRock[2]);
    EXPECT_NEAR(Es(240.0), 100.0 * 240.0, 1e-6);
}

TEST_F(CementedSiltLayerTest, LayerBelowLoessStartsAtTheSurface) {
    // Loess builds no resistance for the layers below: the equivalent depth of the silt
    // below it is 0, so the silt's curves start as at the ground surface.
    m().Layers[1].XLayerBottom = 120.0;
    m().Layers[1].i_SoilLayer_py_Type = PY_LOESS;
    m().Profile.qc[1] = m().Profile.qc[2] = 200.0;
    m().Profile.Strength_Depth[2] = m().Profile.Gamma_Depth[2] = 120.0;
    Add_Layer({PY_CEMENTED_SILT, 120.0, 480.0, 10.0, 10.0, 32.0, 32.0, 0.06, 0.06});
    m().Layers[2].k_Top = m().Layers[2].k_Bottom = 100.0;
    Grid();
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_EQ(m().Py.X_Eq[2], 0.0);
    EXPECT_NEAR(Es(240.0), 100.0 * 120.0, 1e-6);
}

TEST_F(CementedSiltLayerTest, SiltBelowTheSameSiltFindsItsOwnDepth) {
    // Two layers of one material: the resistance integrated over the upper one is matched
    // by the lower one's material at about the interface depth itself.
    m().i_Pile_Increments = 96; // h = 5 in
    m().Layers[1].XLayerBottom = 120.0;
    m().Profile.Strength_Depth[2] = m().Profile.Gamma_Depth[2] = 120.0;
    Add_Layer({PY_CEMENTED_SILT, 120.0, 480.0, 10.0, 10.0, 32.0, 32.0, 0.06, 0.06});
    Grid();
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_GT(m().Py.F_Layer[1], 0.0);
    EXPECT_NEAR(m().Py.X_Eq[2], 120.0, 1.0);
}

struct SiltErrorCase {
    const char* name;
    double c_top, c_bottom, phi, slope_deg;
    int status;
    const char* code;
    const char* text;
};

class CementedSiltErrorTest : public CementedSiltLayerTest,
                              public ::testing::WithParamInterface<SiltErrorCase> {};

TEST_P(CementedSiltErrorTest, StopsWithItsCode) {
    const SiltErrorCase& e = GetParam();
    SoilProfile& p = m().Profile;
    p.c[1] = e.c_top;
    p.c[2] = e.c_bottom;
    p.phi[1] = p.phi[2] = e.phi;
    m().Slope_Minus_Batter = e.slope_deg * PY_PI / 180.0; // as the routine converts phi
    Grid();
    Pass();
    EXPECT_EQ(m().RunStatus, e.status);
    const std::string report = Report();
    EXPECT_NE(report.find(std::string(" error number ") + e.code), std::string::npos) << report;
    EXPECT_NE(report.find(e.text), std::string::npos) << report;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CementedSiltErrorTest,
    ::testing::Values(SiltErrorCase{"ZeroCohesionBelowTop", 10.0, -10.0, 32.0, 0.0, 148, "INP00048",
                                    "Layer = 1, Depth = "},
                      SiltErrorCase{"NoFriction", 10.0, 10.0, 0.0, 0.0, 110, "INP00010",
                                    "value was input for the friction angle for a silt."},
                      SiltErrorCase{"SlopeSteeperThanPhi", 10.0, 10.0, 32.0, 33.0, 223, "RUN00023",
                                    "friction angle for silt for layer 1."},
                      SiltErrorCase{"SlopeOfPhiWithoutCohesion", 0.0, 10.0, 32.0, 32.0, 111,
                                    "INP00011", "curve using the criteria for silt for layer 1."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CementedSiltLayerTest, ZeroCohesionAtTheTopAloneIsAccepted) {
    m().Profile.c[1] = 0.0;
    Grid();
    Pass();
    EXPECT_EQ(m().RunStatus, 0);
    EXPECT_EQ(Es(0.0), 0.0); // at the surface k·x = 0
}

// ---- loess and Piedmont -------------------------------------------------------------

class LoessLayerTest : public RockSiltLayerTest {
  protected:
    void SetUp() override {
        RockSiltLayerTest::SetUp();
        Add_Layer({PY_LOESS, 0.0, 480.0, 0, 0, 0, 0, 0.07, 0.07});
        m().Profile.qc[1] = m().Profile.qc[2] = 200.0;
        m().Number_Of_Cycles = 1.0;
    }
};

TEST_F(LoessLayerTest, HyperbolaAtTheReferenceDeflectionAndNearTheSurface) {
    Grid();
    const double yref = 0.11699999868869781;
    Deflect(240.0, yref);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    // p_u = 0.409·qc·b = 1963.2 lb/in; at yref p = p_u/(2 + 0.1/e).
    const double p_u = 0.4090000092983246 * 200.0 * 24.0;
    EXPECT_NEAR(Es(240.0), p_u / (2.0 + 0.10000000149011612 * std::exp(-1.0)) / yref, 1e-6);
    EXPECT_NEAR(Es(240.0) * yref / p_u, 0.491, 1e-3);
    // At the pile head half the cone resistance, at X = 12 in (b/2) five eighths; an
    // undeflected node takes the initial modulus p_u/yref.
    EXPECT_NEAR(Es(0.0), 0.5 * p_u / yref, 1e-6);
    EXPECT_NEAR(Es(12.0), 0.625 * p_u / yref, 1e-6);
}

TEST_F(LoessLayerTest, CyclesReduceTheResistanceAndFewerThanOneCountAsOne) {
    Grid();
    const double p_u = 0.4090000092983246 * 200.0 * 24.0;
    const double yref = 0.11699999868869781;
    m().Number_Of_Cycles = 5.0;
    Pass();
    EXPECT_NEAR(Es(240.0), p_u / (1.0 + 0.23999999463558197 * std::log(5.0)) / yref, 1e-6);
    m().Number_Of_Cycles = 0.0; // a static run gives no count
    Pass();
    EXPECT_NEAR(Es(240.0), p_u / yref, 1e-6);
}

TEST_F(LoessLayerTest, MoreThanTenCyclesStopTheRunWhateverTheSign) {
    for (double N : {10.2, -12.0}) {
        m().RunStatus = 0;
        m().Number_Of_Cycles = N;
        Grid();
        Pass();
        EXPECT_EQ(m().RunStatus, 170) << N;
    }
    EXPECT_NE(Report().find("error number INP00170"), std::string::npos);
    m().RunStatus = 0;
    m().Number_Of_Cycles = 10.0;
    Pass();
    EXPECT_EQ(m().RunStatus, 0);
}

struct PiedmontCase {
    int test;
    double value;
    int units;
    double Esi; // hand value, force per length cubed
};

class PiedmontLayerTest : public RockSiltLayerTest,
                          public ::testing::WithParamInterface<PiedmontCase> {};

TEST_P(PiedmontLayerTest, InitialModulusFromEachFieldTest) {
    const PiedmontCase& c = GetParam();
    m().IUNITS = c.units;
    Add_Layer({PY_PIEDMONT, 0.0, 480.0, 0, 0, 0, 0, 0.07, 0.07});
    m().Layers[1].i_Piedmont_Test_Type = c.test;
    SoilProfile& p = m().Profile;
    for (int k : {1, 2}) {
        p.N60[k] = p.qc[k] = p.EDMT[k] = p.EPMT[k] = c.value;
    }
    Grid();
    m().Nodes[Node(240.0)].Es = 50000.0;
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(Es(240.0), 24.0 * c.Esi, 1e-6 * (1.0 + c.Esi)); // b·Esi at rest
}

std::string Piedmont_Case_Name(const testing::TestParamInfo<PiedmontCase>& info) {
    static const char* const kTests[] = {"", "Spt", "Cpt", "Dmt", "Pmt"};
    static const char* const kUnits[] = {"", "Uscs", "Si", "General"};
    return std::string(kTests[info.param.test]) + kUnits[info.param.units];
}

INSTANTIATE_TEST_SUITE_P(
    Tests, PiedmontLayerTest,
    ::testing::Values(PiedmontCase{1, 20.0, USCS, 440.0}, // 22·N60
                      PiedmontCase{2, 1000.0, USCS, 813.5813628874473},
                      PiedmontCase{3, 1000.0, USCS, 75.99999755620956},
                      PiedmontCase{4, 1000.0, USCS, 234.99999940395355},
                      // SI: N60 = 20 blows/0.3 m gives 20·151.68466/0.0254 kN/m3.
                      PiedmontCase{1, 20.0, SI, 20.0 * 151.68465995788574 / 0.02539999969303608},
                      PiedmontCase{1, 20.0, GENERAL, 0.0}),
    Piedmont_Case_Name);

TEST_F(RockSiltLayerTest, PiedmontCurveWithGroupMultipliers) {
    // SPT N60 = 20 (Esi = 440 pci), b = 24: y1 = 0.024, y2 = 0.9 in. With pm = 0.5 and
    // ym = 2 a node deflected 0.2 in reads the curve at 0.1 in:
    // p = 440·24·0.1·(1 − 0.216247·ln(1000·0.1/24)) = 730.108 lb/in, Es = 0.5·p/0.2.
    Add_Layer({PY_PIEDMONT, 0.0, 480.0, 0, 0, 0, 0, 0.07, 0.07});
    m().Layers[1].i_Piedmont_Test_Type = 1;
    m().Profile.N60[1] = m().Profile.N60[2] = 20.0;
    m().Group_Effect[1] = {0.0, 0.5, 2.0};
    m().Group_Effect[2] = {480.0, 0.5, 2.0};
    m().i_Num_Group_Effect_Rows = 2;
    Grid();
    Deflect(240.0, 0.2);
    Deflect(360.0, 4.0); // scaled 2 in, on the plateau 0.008112·440·24²
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const double p = 440.0 * 24.0 * 0.1 * (1.0 - 0.21624703162973105 * std::log(100.0 / 24.0));
    EXPECT_NEAR(p, 730.108, 1e-3);
    EXPECT_NEAR(Es(240.0), 0.5 * p / 0.2, 1e-6);
    EXPECT_NEAR(Es(360.0), 0.5 * 0.008112028136109242 * 440.0 * 576.0 / 4.0, 1e-6);
}

// ---- print mode ---------------------------------------------------------------------

struct PrintCase {
    int type;
    const char* title;
    const char* plot_label;
};

class PrintModeTest : public RockSiltLayerTest, public ::testing::WithParamInterface<PrintCase> {};

TEST_P(PrintModeTest, RequestedDepthGetsItsBlockAndNoSpringChanges) {
    const PrintCase& c = GetParam();
    Add_Layer({c.type, 0.0, 480.0, 1500.0, 1500.0, 32.0, 32.0, 0.06, 0.06});
    Weak_Rock_Data(1, 1500.0, 1.0e5, 30.0, 5.0e-4);
    m().Profile.qc[1] = m().Profile.qc[2] = 200.0;
    m().Profile.N60[1] = m().Profile.N60[2] = 20.0;
    m().Layers[1].i_Piedmont_Test_Type = 1;
    m().Number_Of_Cycles = 1.0;
    Grid();
    Pass(); // an evaluate pass first, as after the first load case
    ASSERT_EQ(m().RunStatus, 0);
    const double Es_before = Es(60.0);

    PyState& py = m().Py;
    py.b_PrintPY = true;
    py.i_Num_Print_Points = 2;
    py.Print_X[1] = py.Print_Xv[1] = 60.0;
    py.Print_X[2] = py.Print_Xv[2] = 300.0;
    py.Print_Curve_Number[1] = 1;
    py.Print_Curve_Number[2] = 2;
    py.KTOP = 1;
    py.KBOT = 2;
    py.i_RockLayersAbove = 0;
    Run_py_Layer_Model(m(), 1);
    py.b_PrintPY = false;
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_EQ(Es(60.0), Es_before);

    const std::string report = Report();
    const std::size_t first = report.find(c.title);
    ASSERT_NE(first, std::string::npos) << report;
    EXPECT_NE(report.find(c.title, first + 1), std::string::npos); // one block per depth
    EXPECT_NE(
        report.find("Depth below pile head                                  =        5.000 ft"),
        std::string::npos)
        << report;
    const std::string plot = Plot_Text();
    EXPECT_NE(plot.find(std::string(c.plot_label) + "no. p-y points on curve no. 2"),
              std::string::npos)
        << plot;
    EXPECT_NE(plot.find("Line 8(17)"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Models, PrintModeTest,
    ::testing::Values(PrintCase{PY_WEAK_ROCK, "p-y Curve Computed Using Weak Rock Criteria",
                                "Line 7:  p-y curve depth in weak rock, "},
                      PrintCase{PY_VUGGY_LIMESTONE,
                                "p-y Curve for Vuggy Limestone (Strong Rock) Criteria",
                                "Line 7:  p-y curve depth in vuggy limestone, "},
                      PrintCase{PY_CEMENTED_SILT,
                                "p-y Curve Computed Using the Static Criteria for Cemented Silt",
                                "Line 7:  p-y curve depth in cemented silt (in), "},
                      PrintCase{PY_LOESS, "p-y Curve for Loess",
                                "Line 7:  p-y curve depth in Piedmont residual soil, "},
                      PrintCase{PY_PIEDMONT,
                                "p-y Curve Computed Using the Piedmont Residual Soil Criteria",
                                "Line 7:  p-y curve depth in Piedmont residual soil, "}),
    [](const auto& info) {
        switch (info.param.type) {
        case PY_WEAK_ROCK:
            return std::string("WeakRock");
        case PY_VUGGY_LIMESTONE:
            return std::string("VuggyLimestone");
        case PY_CEMENTED_SILT:
            return std::string("CementedSilt");
        case PY_LOESS:
            return std::string("Loess");
        case PY_PIEDMONT:
            return std::string("Piedmont");
        default:
            return "Type" + std::to_string(info.param.type);
        }
    });

// ---- iterations with the finite-difference solver -------------------------------------

// Until the load-case loop exists, its core is reproduced here: start every node below the
// ground at 50 000, solve, regenerate the springs at the new deflections, repeat until the
// largest change of deflection is below 1e-5 in. The converged springs must carry the
// head shear: the soil reactions Es·y integrated along the pile equal it.
struct IterationCase {
    const char* name;
    int type;
    double shear; // lb at the head, no moment; enough to leave the initial branches
};

class IterationTest : public RockSiltLayerTest,
                      public ::testing::WithParamInterface<IterationCase> {
  protected:
    // Returns the number of solutions, 0 when the springs did not settle in 100.
    int Iterate(double shear) {
        AnalysisModel& a = m();
        const int N = a.i_Num_Nodes;
        auto p = std::make_unique<FdPileModel>();
        auto s = std::make_unique<FdSolution>();
        p->i_Num_Nodes = N;
        p->Increment = a.Increment_Length;
        p->i_Loading_Type = LOADING_SHEAR_MOMENT;
        p->Condition_1 = shear;
        p->Condition_2 = 0.0;
        for (int i = 1; i <= N; ++i) {
            p->EI[i] = a.Nodes[i].EI;
            a.Nodes[i].Es = Is_Node_Above_Ground(a, a, i) ? 0.0 : 50000.0;
        }
        Clear_Solution(*s);
        Pass();
        for (int iteration = 1; iteration <= 100; ++iteration) {
            for (int i = 1; i <= N; ++i) {
                p->Es[i] = a.Nodes[i].Es;
            }
            if (Solve_Pile_Deflection(*p, iteration, *s, a.Report, a.Messages) !=
                Solve_Result::Solved) {
                return 0;
            }
            for (int i = -1; i <= N + 1; ++i) {
                a.Lateral.Solution.y(i) = s->y(i);
            }
            Pass();
            if (a.RunStatus != 0) {
                return 0;
            }
            if (iteration > 1 && s->dYmax < 1e-5) {
                return iteration;
            }
        }
        return 0;
    }

    // Soil reaction integrated along the pile (trapezoids between stations).
    double Soil_Force() {
        AnalysisModel& a = m();
        double F = 0.0;
        for (int i = 2; i <= a.i_Num_Nodes; ++i) {
            const double p0 = a.Nodes[i - 1].Es * a.Lateral.Solution.y(i - 1);
            const double p1 = a.Nodes[i].Es * a.Lateral.Solution.y(i);
            F += (p0 + p1) / 2.0 * a.Increment_Length;
        }
        return F;
    }
};

TEST_P(IterationTest, SpringsSettleAndCarryTheHeadShear) {
    const IterationCase& c = GetParam();
    m().i_Pile_Increments = 100;
    Add_Layer({c.type, 0.0, 480.0, 10.0, 10.0, 32.0, 32.0, 0.06, 0.06});
    if (c.type == PY_WEAK_ROCK || c.type == PY_VUGGY_LIMESTONE) {
        Weak_Rock_Data(1, 1500.0, 1.0e5, 30.0, 5.0e-4);
    }
    m().Profile.qc[1] = m().Profile.qc[2] = 200.0;
    m().Profile.N60[1] = m().Profile.N60[2] = 20.0;
    m().Layers[1].i_Piedmont_Test_Type = 1;
    m().Number_Of_Cycles = 1.0;
    Grid();
    const int solutions = Iterate(c.shear);
    ASSERT_GT(solutions, 0) << "no convergence, status " << m().RunStatus;
    EXPECT_GT(solutions, 2); // the load reaches the nonlinear part of the curves
    EXPECT_GT(m().Lateral.Solution.y(1), 0.0);
    EXPECT_NEAR(Soil_Force(), c.shear, 0.01 * c.shear);
}

INSTANTIATE_TEST_SUITE_P(
    Models, IterationTest,
    ::testing::Values(IterationCase{"WeakRock", PY_WEAK_ROCK, 1.0e6},
                      IterationCase{"VuggyLimestone", PY_VUGGY_LIMESTONE, 400000.0},
                      IterationCase{"CementedSilt", PY_CEMENTED_SILT, 300000.0},
                      IterationCase{"Loess", PY_LOESS, 30000.0},
                      IterationCase{"Piedmont", PY_PIEDMONT, 50000.0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zarno::test
