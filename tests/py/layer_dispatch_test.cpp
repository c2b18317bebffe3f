// Dispatch of a layer to its soil model by the model code.
#include "py/py_framework.h"
#include "py_layer_fixture.h"

#include <vector>

namespace zarno::test {
namespace {

class LayerDispatchTest : public PyLayerTest {
  protected:
    // A 50 ft pile, 24 in wide, in one layer of the given code; every node starts with the
    // modulus a load case starts with and a deflection of 0.1 in.
    // The grid refuses a layer without a model, so the code is set after it is built.
    void Run_One_Layer(int code) {
        Add_Layer({PY_SOFT_CLAY, 0.0, 600.0, 5.0, 5.0, 0.0, 0.0, kGamma36, kGamma36});
        Set(m().Profile.eps50, 1, 0.01, 0.01);
        Grid(600.0, 24.0, 40);
        m().Layers[1].i_SoilLayer_py_Type = code;
        for (int i = 1; i <= m().i_Num_Nodes; ++i) {
            m().Nodes[i].Es = 50000.0;
            Y(i, 0.1);
        }
        Pass();
    }
};

// Frozen soil and a code past the model table name no model: the pass leaves their moduli
// alone. (Codes 18 to 20 are the PISA monopile models.)
TEST_F(LayerDispatchTest, CodesWithoutAModelKeepTheirModuli) {
    for (const int code : {int{PY_FROZEN_SOIL}, 21}) {
        SCOPED_TRACE(code);
        SetUp();
        Run_One_Layer(code);
        EXPECT_EQ(py_Model_Of_Layer(m(), 1), 0);
        EXPECT_EQ(m().RunStatus, 0);
        for (int i = 1; i <= m().i_Num_Nodes; ++i) {
            EXPECT_EQ(Es(i), 50000.0) << "node " << i;
        }
    }
}

// A model code reaches its own model: soft clay, and soft clay with J given as the default
// J, give the same springs, which differ from the starting modulus.
TEST_F(LayerDispatchTest, ModelCodesReachTheirModels) {
    Run_One_Layer(PY_SOFT_CLAY);
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_EQ(py_Model_Of_Layer(m(), 1), PY_SOFT_CLAY);
    std::vector<double> soft_clay;
    for (int i = 1; i <= m().i_Num_Nodes; ++i) {
        soft_clay.push_back(Es(i));
    }
    EXPECT_NE(soft_clay[10], 50000.0);

    SetUp();
    const double J = m().Default_J;
    ASSERT_GT(J, 0.0);
    Set(m().Profile.J, 1, J, J);
    Run_One_Layer(PY_SOFT_CLAY_J);
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_EQ(py_Model_Of_Layer(m(), 1), PY_SOFT_CLAY_J);
    for (int i = 1; i <= m().i_Num_Nodes; ++i) {
        EXPECT_DOUBLE_EQ(Es(i), soft_clay[static_cast<size_t>(i - 1)]) << "node " << i;
    }
}

} // namespace
} // namespace zarno::test
