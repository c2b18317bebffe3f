// The springs of a pass come from the curves kept from earlier passes only where nothing
// that shapes a curve has changed. On sloping ground the side the pile moves to shapes the
// curve: pushed down the slope and then up it, each pass must give the springs of its own
// direction, the same as a pass in that direction the first time.
#include "py/py_models.h"
#include "py_layer_fixture.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zarno::test {
namespace {

struct SlopeCase {
    const char* name;
    int type;
    double c;   // psi
    double phi; // degrees
    double k;   // pci
};

// One p-y pass and the springs it leaves below the head.
class PyCacheTest : public PyLayerTest {
  protected:
    std::vector<double> Springs() {
        Pass();
        EXPECT_EQ(m().RunStatus, 0);
        std::vector<double> Es_of_node;
        for (int i = 2; i <= m().i_Num_Nodes; ++i) {
            Es_of_node.push_back(Es(i));
        }
        return Es_of_node;
    }
};

class PyCacheSlope : public PyCacheTest, public testing::WithParamInterface<SlopeCase> {
  protected:
    std::vector<double> Springs_Under(double y) {
        for (int i = 1; i <= m().i_Num_Nodes; ++i) {
            Y(i, y);
        }
        return Springs();
    }
};

TEST_P(PyCacheSlope, EachDirectionKeepsItsOwnSprings) {
    const SlopeCase& s = GetParam();
    Add_Layer({s.type, 0.0, 480.0, s.c, s.c, s.phi, s.phi, kGamma36, kGamma36});
    Set(m().Profile.eps50, 1, 0.01, 0.01);
    m().Layers[1].k_Top = m().Layers[1].k_Bottom = s.k;
    m().Ground_Slope = 0.25;
    m().Slope_Minus_Batter = 0.25;
    Grid(480.0, 24.0, 40);
    const std::vector<double> down = Springs_Under(0.5);
    const std::vector<double> up = Springs_Under(-0.5);
    EXPECT_EQ(Springs_Under(0.5), down);
    EXPECT_EQ(Springs_Under(-0.5), up);
    // The slope matters at these deflections: the two directions differ.
    EXPECT_NE(down, up);
}

INSTANTIATE_TEST_SUITE_P(
    Models, PyCacheSlope,
    testing::Values(SlopeCase{"SoftClay", PY_SOFT_CLAY, 5.0, 0.0, 0.0},
                    SlopeCase{"StiffClayWithFreeWater", PY_STIFF_CLAY_FREE_WATER, 10.0, 0.0, 500.0},
                    SlopeCase{"StiffClayWithoutFreeWater", PY_STIFF_CLAY_NO_WATER, 10.0, 0.0, 0.0},
                    SlopeCase{"ReeseSand", PY_SAND, 0.0, 35.0, 90.0},
                    SlopeCase{"ApiSand", PY_API_SAND, 0.0, 35.0, 90.0}),
    [](const testing::TestParamInfo<SlopeCase>& info) { return std::string(info.param.name); });

// The sand models keep each node's wedge angles between passes. The state a pass leaves for
// the equivalent depth must still be that of the node's friction angle after the profile is
// edited: Kp = tan^2(45 + phi/2) and Ka = tan^2(45 - phi/2), 3 and 1/3 at 30 degrees.
class PyCacheSandAngles : public PyLayerTest, public testing::WithParamInterface<int> {};

TEST_P(PyCacheSandAngles, FollowTheFrictionAngleAcrossPasses) {
    Add_Layer({GetParam(), 0.0, 480.0, 0.0, 0.0, 35.0, 35.0, kGamma36, kGamma36});
    m().Layers[1].k_Top = m().Layers[1].k_Bottom = 90.0;
    Grid(480.0, 24.0, 40);
    for (int i = 1; i <= m().i_Num_Nodes; ++i) {
        Y(i, 0.1);
    }
    const double t35 = std::tan((45.0 + 17.5) * kPi / 180.0);
    for (int pass = 0; pass < 2; ++pass) {
        Pass();
        ASSERT_EQ(m().RunStatus, 0);
        EXPECT_NEAR(m().Py.Kp, t35 * t35, 1e-12);
        EXPECT_DOUBLE_EQ(m().Py.phi, 35.0 * kPi / 180.0);
    }
    const std::vector<double> springs_35 = {Es(10), Es(20)};
    Set(m().Profile.phi, 1, 30.0, 30.0);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_NEAR(m().Py.Kp, 3.0, 1e-12);
    EXPECT_NEAR(m().Py.Ka, 1.0 / 3.0, 1e-12);
    EXPECT_NEAR(m().Py.beta, 60.0 * kPi / 180.0, 1e-12);
    EXPECT_NE((std::vector<double>{Es(10), Es(20)}), springs_35);
}

INSTANTIATE_TEST_SUITE_P(Models, PyCacheSandAngles, testing::Values(PY_SAND, PY_API_SAND),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(info.param == PY_SAND ? "ReeseSand" : "ApiSand");
                         });

// What a pass gives with nothing kept from earlier passes.
std::vector<double> Fresh_Springs(AnalysisModel& a, int from, int to) {
    a.Py_Cache.Clear();
    Compute_py_All_Layers(a, 0);
    std::vector<double> Es_of_node;
    for (int i = from; i <= to; ++i) {
        Es_of_node.push_back(a.Nodes[i].Es);
    }
    return Es_of_node;
}

// The stiff clays keep each node's subgrade modulus. Without k in the layer the default
// follows the loading: after a static pass, a cyclic one must take the cyclic default (the
// loading is no table the cache compares), and k given later must be taken as given.
class PyCacheClayK : public PyCacheTest, public testing::WithParamInterface<int> {};

TEST_P(PyCacheClayK, FollowsTheLoadingAndTheLayer) {
    Add_Layer({GetParam(), 0.0, 480.0, 10.0, 20.0, 0.0, 0.0, kGamma36, kGamma36});
    Set(m().Profile.eps50, 1, 0.005, 0.005);
    m().Number_Of_Cycles = 100.0;
    Grid(480.0, 24.0, 40);
    // Deflections small enough that the initial slope k*x governs near the head.
    for (int i = 1; i <= m().i_Num_Nodes; ++i) {
        Y(i, 1e-5);
    }
    const std::vector<double> first = Springs();
    EXPECT_EQ(Springs(), first);
    m().b_Cyclic = true;
    const std::vector<double> cyclic = Springs();
    EXPECT_EQ(cyclic, Fresh_Springs(m(), 2, m().i_Num_Nodes));
    EXPECT_NE(cyclic, first);
    m().b_Cyclic = false;
    EXPECT_EQ(Springs(), first);
    m().Layers[1].k_Top = 50.0;
    m().Layers[1].k_Bottom = 0.0; // takes the top value, for the whole layer
    const std::vector<double> given = Springs();
    EXPECT_EQ(given, Fresh_Springs(m(), 2, m().i_Num_Nodes));
    EXPECT_EQ(m().Layers[1].k_Bottom, 50.0);
    EXPECT_NE(given, first);
}

INSTANTIATE_TEST_SUITE_P(Models, PyCacheClayK,
                         testing::Values(PY_STIFF_CLAY_FREE_WATER, PY_STIFF_CLAY_NO_WATER_K),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(info.param == PY_STIFF_CLAY_FREE_WATER
                                                    ? "StiffClayWithFreeWater"
                                                    : "StiffClayWithoutFreeWaterWithK");
                         });

// A lower layer measures its curves from its equivalent depth, which follows the resistance
// of the layer above. On a slope that resistance depends on the side the pile moves to, so
// the equivalent depth changes from pass to pass with no table edited: each node's kept
// depth must follow it.
struct DepthCase {
    const char* name;
    int type;
    double y; // where the model's springs depend on the depth
    double c = 10.0;
    double phi = 0.0;
};

class PyCacheModelDepth : public PyLayerTest, public testing::WithParamInterface<DepthCase> {};

TEST_P(PyCacheModelDepth, FollowsTheEquivalentDepthAcrossPasses) {
    const DepthCase& d = GetParam();
    Add_Layer({PY_SAND, 0.0, 120.0, 0.0, 0.0, 35.0, 35.0, kGamma36, kGamma36});
    Add_Layer({d.type, 120.0, 480.0, d.c, d.c, d.phi, d.phi, kGamma36, kGamma36});
    Set(m().Profile.eps50, 2, 0.005, 0.005);
    m().Layers[1].k_Top = m().Layers[1].k_Bottom = 90.0;
    m().Ground_Slope = 0.25;
    m().Slope_Minus_Batter = 0.25;
    Grid(480.0, 24.0, 40);
    const int top = m().Layers[2].KTOP;
    const int N = m().i_Num_Nodes;
    std::vector<double> x_eq;
    for (const double y : {d.y, -d.y, d.y, -d.y}) {
        for (int i = 1; i <= N; ++i) {
            Y(i, y);
        }
        Pass();
        ASSERT_EQ(m().RunStatus, 0);
        std::vector<double> kept;
        for (int i = top + 1; i <= N; ++i) {
            kept.push_back(Es(i));
        }
        x_eq.push_back(m().Py.X_Eq[2]);
        EXPECT_EQ(kept, Fresh_Springs(m(), top + 1, N)) << "deflection " << y;
    }
    // The two directions give two equivalent depths.
    EXPECT_NE(x_eq[0], x_eq[1]);
    EXPECT_EQ(x_eq[0], x_eq[2]);
}

// Stiff clay with free water: below the flow-around cap only while the initial slope k*x
// governs, at small deflections.
INSTANTIATE_TEST_SUITE_P(
    Models, PyCacheModelDepth,
    testing::Values(DepthCase{"SoftClay", PY_SOFT_CLAY, 0.5},
                    DepthCase{"StiffClayWithFreeWater", PY_STIFF_CLAY_FREE_WATER, 1e-4},
                    DepthCase{"StiffClayWithoutFreeWater", PY_STIFF_CLAY_NO_WATER, 0.5},
                    DepthCase{"ApiSand", PY_API_SAND, 0.5, 0.0, 35.0}),
    [](const testing::TestParamInfo<DepthCase>& info) { return std::string(info.param.name); });

// A clay finds its station's kept curve and takes it as it stands when only the deflection
// moved. Three pass inputs can change with no table edited and the deflection on the same
// side: the resistance of the layer above (so the equivalent depth the curve is measured
// at), the first node a stiff clay with free water averages its strength from (the strength
// grows with depth here, so the average differs), and the loading. After each change the
// lower layer, run with its kept curves in place, must give the springs of the same run
// with nothing kept, and other springs than before the change.
enum class PassChange { MoreResistanceAbove, LowerFirstNode, CyclicLoading };

struct KeptCurveCase {
    const char* name;
    int type;
    PassChange change;
    double y; // where the springs depend on the changed input
};

class PyCacheKeptCurve : public PyCacheTest, public testing::WithParamInterface<KeptCurveCase> {
  protected:
    // The lower layer's springs, run from node `first` with `rock` rock layers above.
    std::vector<double> Lower_Layer(int first, int rock, double F_above) {
        m().Py.KTOP = first;
        m().Py.KBOT = m().Layers[2].i_BottomNodeInLayer;
        m().Py.i_RockLayersAbove = rock;
        m().Py.F_Layer[1] = F_above;
        Run_py_Layer_Model(m(), 2);
        EXPECT_EQ(m().RunStatus, 0);
        std::vector<double> springs;
        for (int i = first; i <= m().Py.KBOT; ++i) {
            springs.push_back(Es(i));
        }
        return springs;
    }
};

TEST_P(PyCacheKeptCurve, MissesWhenAPassInputChanges) {
    const KeptCurveCase& k = GetParam();
    Add_Layer({PY_SOFT_CLAY, 0.0, 12.0, 3.0, 3.0, 0.0, 0.0, kGamma36, kGamma36});
    Add_Layer({k.type, 12.0, 480.0, 5.0, 15.0, 0.0, 0.0, kGamma36, kGamma36});
    Set(m().Profile.eps50, 1, 0.02, 0.02);
    Set(m().Profile.eps50, 2, 0.01, 0.01);
    m().Layers[2].k_Top = m().Layers[2].k_Bottom = 500.0;
    m().Number_Of_Cycles = 100.0;
    Grid(480.0, 24.0, 40);
    for (int i = 1; i <= m().i_Num_Nodes; ++i) {
        Y(i, k.y);
    }
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const int top = m().Layers[2].KTOP;
    const double F = m().Py.F_Layer[1];
    // Below rock the curve is measured from the ground surface, whatever the first node.
    const int rock = k.change == PassChange::LowerFirstNode ? 1 : 0;
    const std::vector<double> before = Lower_Layer(top, rock, F);
    EXPECT_EQ(Lower_Layer(top, rock, F), before); // kept curves, as they were
    int first = top;
    double F_after = F;
    switch (k.change) {
    case PassChange::MoreResistanceAbove:
        F_after = 1.5 * F;
        break;
    case PassChange::LowerFirstNode:
        first = top + 3;
        break;
    case PassChange::CyclicLoading:
        m().b_Cyclic = true;
        break;
    }
    const std::vector<double> after = Lower_Layer(first, rock, F_after);
    m().Py_Cache.Clear();
    EXPECT_EQ(after, Lower_Layer(first, rock, F_after));
    EXPECT_NE(after,
              std::vector<double>(before.end() - static_cast<long>(after.size()), before.end()));
}

// Stiff clay with free water: the initial slope k*x governs at the smallest deflection, the
// average strength through the wedge resistance near the ground at the larger one. Soft
// clay under cyclic loading leaves the static curve beyond 3*y50 (1.8 in here).
INSTANTIATE_TEST_SUITE_P(
    Models, PyCacheKeptCurve,
    testing::Values(KeptCurveCase{"SoftClayEquivalentDepth", PY_SOFT_CLAY,
                                  PassChange::MoreResistanceAbove, 0.05},
                    KeptCurveCase{"SoftClayLoading", PY_SOFT_CLAY, PassChange::CyclicLoading, 2.0},
                    KeptCurveCase{"StiffClayWithFreeWaterEquivalentDepth", PY_STIFF_CLAY_FREE_WATER,
                                  PassChange::MoreResistanceAbove, 1e-5},
                    KeptCurveCase{"StiffClayWithFreeWaterAverageStrength", PY_STIFF_CLAY_FREE_WATER,
                                  PassChange::LowerFirstNode, 0.05},
                    KeptCurveCase{"StiffClayWithFreeWaterLoading", PY_STIFF_CLAY_FREE_WATER,
                                  PassChange::CyclicLoading, 0.05}),
    [](const testing::TestParamInfo<KeptCurveCase>& info) { return std::string(info.param.name); });

// A clay whose strength lies outside the range of its criteria records its warning at
// every station of every pass, whether the station's soil values were looked up in this pass
// or kept from the last: a second pass doubles the tally of the first.
struct StrengthWarningCase {
    const char* name;
    int type;
    double c; // psi
    int code; // the warning's number
};

class PyCacheStrengthWarning : public PyLayerTest,
                               public testing::WithParamInterface<StrengthWarningCase> {};

TEST_P(PyCacheStrengthWarning, IsRecordedAtEveryPass) {
    const StrengthWarningCase& w = GetParam();
    Add_Layer({w.type, 0.0, 480.0, w.c, w.c, 0.0, 0.0, kGamma36, kGamma36});
    Set(m().Profile.eps50, 1, 0.01, 0.01);
    m().Layers[1].k_Top = m().Layers[1].k_Bottom = 500.0;
    Grid(480.0, 24.0, 40);
    for (int i = 1; i <= m().i_Num_Nodes; ++i) {
        Y(i, 0.05);
    }
    const int& tally = m().Warnings.i_Warning_Tally[static_cast<std::size_t>(w.code)];
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const int first = tally;
    EXPECT_GE(first, m().i_Num_Nodes - 2); // all but the stations on the layer's bounds
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_EQ(tally, 2 * first);
}

// Soft clay above 1250 psf, the stiff clays below 500 psf.
INSTANTIATE_TEST_SUITE_P(Models, PyCacheStrengthWarning,
                         testing::Values(StrengthWarningCase{"SoftClay", PY_SOFT_CLAY, 10.0, 3041},
                                         StrengthWarningCase{"StiffClayWithFreeWater",
                                                             PY_STIFF_CLAY_FREE_WATER, 2.0, 3051},
                                         StrengthWarningCase{"StiffClayWithoutFreeWater",
                                                             PY_STIFF_CLAY_NO_WATER, 2.0, 3061}),
                         [](const testing::TestParamInfo<StrengthWarningCase>& info) {
                             return std::string(info.param.name);
                         });

// The passes compare only the rows of the soil, pile and group tables in use. That holds
// only if no lookup reads past them: junk there must change no spring computed afresh,
// while an edit of the last row in use must reach the next pass.
class PyCacheTables : public PyLayerTest {
  protected:
    void Layered_Pile() {
        Add_Layer({PY_STIFF_CLAY_FREE_WATER, 0.0, 120.0, 10.0, 12.0, 0.0, 0.0, kGamma36, kGamma36});
        Add_Layer({PY_API_SAND, 120.0, 240.0, 0.0, 0.0, 32.0, 34.0, kGamma36, kGamma36});
        Add_Layer({PY_SOFT_CLAY, 240.0, 480.0, 5.0, 6.0, 0.0, 0.0, kGamma36, kGamma36});
        Set(m().Profile.eps50, 1, 0.005, 0.005);
        Set(m().Profile.eps50, 3, 0.02, 0.02);
        m().Layers[2].k_Top = m().Layers[2].k_Bottom = 90.0;
        m().i_Num_Group_Effect_Rows = 2;
        m().Group_Effect[1] = {0.0, 0.8, 1.2};
        m().Group_Effect[2] = {480.0, 0.7, 1.1};
        Grid(480.0, 24.0, 40);
        for (int i = 1; i <= m().i_Num_Nodes; ++i) {
            Y(i, 0.2);
        }
    }

    // Depths a search or a sum running past the rows would take in, values it would then
    // return.
    void Junk_Past_The_Rows(double depth) {
        SoilProfile& p = m().Profile;
        for (int k = p.i_Num_Strength_Points + 1; k <= MAX_PROFILE_POINTS; ++k) {
            p.Strength_Depth[k] = depth;
            for (auto* column : {&p.c, &p.eps50, &p.J, &p.phi}) {
                (*column)[k] = 1e6;
            }
        }
        for (int k = p.i_Num_Gamma_Points + 1; k <= MAX_PROFILE_POINTS; ++k) {
            p.Gamma_Depth[k] = depth;
            p.Gamma[k] = 1e6;
        }
        PilePropertyTable& t = m().Pile_Property_Table;
        for (int k = t.i_Num_Points + 1; k <= MAX_PILE_PROPERTY_POINTS; ++k) {
            t.Depth[k] = depth;
            t.Props[k].b = 1e6;
        }
        for (int k = m().i_Num_Group_Effect_Rows + 1; k <= MAX_GROUP_EFFECT_ROWS; ++k) {
            m().Group_Effect[k] = {depth, 1e6, 1e6};
        }
    }
};

TEST_F(PyCacheTables, JunkPastTheRowsInUseChangesNothing) {
    Layered_Pile();
    const std::vector<double> clean = Fresh_Springs(m(), 1, m().i_Num_Nodes);
    ASSERT_EQ(m().RunStatus, 0);
    // At the head, inside the pile and far below it.
    for (const double depth : {0.0, 200.0, 1e9}) {
        Junk_Past_The_Rows(depth);
        EXPECT_EQ(Fresh_Springs(m(), 1, m().i_Num_Nodes), clean) << "junk at " << depth;
    }
}

TEST_F(PyCacheTables, AnEditOfTheLastRowInUseReachesTheNextPass) {
    Layered_Pile();
    const int N = m().i_Num_Nodes;
    Pass();
    Pass();
    std::vector<double> before;
    for (int i = 1; i <= N; ++i) {
        before.push_back(Es(i));
    }
    m().Profile.c[m().Profile.i_Num_Strength_Points] = 16.0;
    m().Profile.Gamma[m().Profile.i_Num_Gamma_Points] = 2.0 * kGamma36;
    m().Group_Effect[m().i_Num_Group_Effect_Rows].pMult = 0.5;
    Pass();
    std::vector<double> kept;
    for (int i = 1; i <= N; ++i) {
        kept.push_back(Es(i));
    }
    EXPECT_EQ(kept, Fresh_Springs(m(), 1, N));
    EXPECT_NE(kept, before);
}

// An elastic subgrade keeps each station's width and multipliers between passes: a new
// width or multiplier must reach the next pass, and the springs must stay pm*Esub*b/ym.
TEST_F(PyCacheTables, ElasticSubgradeFollowsTheWidthAndTheMultipliers) {
    Add_Layer({PY_ELASTIC_SUBGRADE, 0.0, 480.0});
    Set(m().Profile.Es, 1, 100.0, 500.0);
    m().i_Num_Group_Effect_Rows = 2;
    m().Group_Effect[1] = {0.0, 0.8, 1.25};
    m().Group_Effect[2] = {480.0, 0.8, 1.25};
    Grid(480.0, 24.0, 40);
    const int N = m().i_Num_Nodes;
    const auto expected = [&](int i, double b, double pm, double ym) {
        const double X = m().Nodes[i].X;
        return pm * (100.0 + 400.0 * X / 480.0) * b / ym;
    };
    Pass();
    Pass();
    for (int i = 2; i <= N; ++i) {
        EXPECT_NEAR(Es(i), expected(i, 24.0, 0.8, 1.25), 1e-9 * Es(i)) << "node " << i;
    }
    PilePropertyTable& t = m().Pile_Property_Table;
    for (int k = 1; k <= t.i_Num_Points; ++k) {
        t.Props[k].b = 36.0;
    }
    m().Group_Effect[1].pMult = m().Group_Effect[2].pMult = 0.5;
    Pass();
    for (int i = 2; i <= N; ++i) {
        EXPECT_NEAR(Es(i), expected(i, 36.0, 0.5, 1.25), 1e-9 * Es(i)) << "node " << i;
    }
    std::vector<double> kept;
    for (int i = 1; i <= N; ++i) {
        kept.push_back(Es(i));
    }
    EXPECT_EQ(kept, Fresh_Springs(m(), 1, N));
}

// The cache lives for the run: a load case rebuilds the stations, and where they stand
// where they stood over the same soil, the next case's passes find the curves of the last
// one; where the stations or the tables changed, every curve must come afresh. One deep
// layer of soft clay keeps every node in the layer whatever the grid, so a change of the
// stations reaches the curves only through the keys of the nodes' entries.
class PyCacheGrid : public PyCacheTest {
  protected:
    void Clay_Pile() {
        Add_Layer({PY_SOFT_CLAY, 0.0, 960.0, 5.0, 25.0, 0.0, 0.0, kGamma36, 2.0 * kGamma36});
        Set(m().Profile.eps50, 1, 0.01, 0.01);
        Grid(480.0, 24.0, 40);
        Deflect(0.2);
    }
    void Deflect(double y) {
        for (int i = 1; i <= m().i_Num_Nodes; ++i) {
            Y(i, y);
        }
    }
    // The stations of the next load case, built as the load-case loop builds them.
    void Next_Case() {
        Build_Node_Grid(m());
        ASSERT_EQ(m().RunStatus, 0);
    }
};

TEST_F(PyCacheGrid, TheNextCaseOnTheSameStationsKeepsTheCurves) {
    Clay_Pile();
    Springs();
    const std::uint64_t filled = m().Py_Cache.generation;
    Next_Case();
    Deflect(0.35); // another load, another deflection
    const std::vector<double> next = Springs();
    // Nothing was emptied: the entries of the first case served the second.
    EXPECT_EQ(m().Py_Cache.generation, filled);
    EXPECT_TRUE(m().Py_Cache.nodes[10].soil.filled);
    EXPECT_EQ(next, Fresh_Springs(m(), 2, m().i_Num_Nodes));
}

struct GridChange {
    const char* name;
    void (*change)(AnalysisModel&);
};

class PyCacheGridChange : public PyCacheGrid, public testing::WithParamInterface<GridChange> {};

// Each change leaves the layer's node range as it was, so only the entry's point (or the
// pile property table) can tell the new stations from the old.
TEST_P(PyCacheGridChange, GivesFreshCurves) {
    Clay_Pile();
    const std::vector<double> before = Springs();
    GetParam().change(m());
    Next_Case();
    const std::vector<double> after = Springs();
    EXPECT_EQ(after, Fresh_Springs(m(), 2, m().i_Num_Nodes));
    EXPECT_NE(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, PyCacheGridChange,
    testing::Values(
        // A candidate of the length sweep: the same increments over a shorter pile.
        GridChange{"ShorterPile", [](AnalysisModel& a) { a.Pile_Length = 432.0; }},
        // Same stations along the pile, other vertical depths.
        GridChange{"Batter", [](AnalysisModel& a) { a.Pile_Batter = 0.2; }},
        // Same depths, measured from another ground surface.
        GridChange{"GroundSurface", [](AnalysisModel& a) { a.Ground_Surface_Depth = 12.0; }},
        // Another section: the pile property table is rebuilt with the stations.
        GridChange{
            "WiderSection",
            [](AnalysisModel& a) { a.Sections[1].Width_Top = a.Sections[1].Width_Bottom = 36.0; }}),
    [](const testing::TestParamInfo<GridChange>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zarno::test
