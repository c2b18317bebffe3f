// The springs of a pass come from the curves kept from earlier passes only where nothing
// that shapes a curve has changed. On sloping ground the side the pile moves to shapes the
// curve: pushed down the slope and then up it, each pass must give the springs of its own
// direction, the same as a pass in that direction the first time.
#include "py/py_models.h"
#include "py_layer_fixture.h"

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

class PyCacheSlope : public PyLayerTest, public testing::WithParamInterface<SlopeCase> {
  protected:
    std::vector<double> Springs_Under(double y) {
        for (int i = 1; i <= m().i_Num_Nodes; ++i) {
            Y(i, y);
        }
        Pass();
        EXPECT_EQ(m().RunStatus, 0);
        std::vector<double> Es_of_node;
        for (int i = 2; i <= m().i_Num_Nodes; ++i) {
            Es_of_node.push_back(Es(i));
        }
        return Es_of_node;
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

} // namespace
} // namespace zarno::test
