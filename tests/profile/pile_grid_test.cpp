#include "profile/pile_grid.h"

#include "engine/pile_section.h"
#include "profile/section_props.h"
#include "profile/soil_profile.h"
#include "profile_fixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno::test {
namespace {

constexpr double kPi = std::numbers::pi;

class GridTest : public ProfileTest {
  protected:
    // An elastic section between two depths with its end properties.
    void Add_Elastic_Section(double top, double bottom, double w_top, double w_bottom, double I_top,
                             double I_bottom, double E = 29e6) {
        const int k = ++m().i_Num_Sections;
        PileSection& s = m().Sections[k];
        s.i_Section_Type = SECTION_ELASTIC;
        s.i_Shape_Type = SHAPE_CIRCULAR;
        s.XTop = top;
        s.XBottom = bottom;
        s.Length = bottom - top;
        s.Width_Top = w_top;
        s.Width_Bottom = w_bottom;
        s.E_Top = s.E_Bottom = E;
        s.I_Top = I_top;
        s.I_Bottom = I_bottom;
        s.Area_Top = s.Area_Bottom = 100.0;
    }
    void Grid(double L, int increments) {
        m().Pile_Length = L;
        m().i_Pile_Increments = increments;
        Build_Node_Grid(m(), L);
        ASSERT_EQ(m().RunStatus, 0);
    }
};

TEST_F(GridTest, FortyFootPileWithHundredIncrementsEndsExactlyAtItsTip) {
    Add_Elastic_Section(0.0, 480.0, 24.0, 24.0, 1000.0, 1000.0);
    m().Pile_Batter = 10.0 * kPi / 180.0;
    Grid(480.0, 100);
    ASSERT_EQ(m().i_Num_Nodes, 101);
    EXPECT_DOUBLE_EQ(m().Increment_Length, 4.8);
    EXPECT_EQ(m().Nodes[1].X, 0.0);
    EXPECT_EQ(m().Nodes[101].X, 480.0);
    EXPECT_DOUBLE_EQ(m().Nodes[51].X, 240.0);
    EXPECT_DOUBLE_EQ(m().Nodes[101].Xv, 480.0 * std::cos(10.0 * kPi / 180.0));
    EXPECT_DOUBLE_EQ(m().Nodes[51].Xv, 240.0 * std::cos(10.0 * kPi / 180.0));
    EXPECT_DOUBLE_EQ(m().Nodes[30].EI, 29e6 * 1000.0);
    EXPECT_DOUBLE_EQ(m().Nodes[30].b, 24.0);
}

TEST_F(GridTest, NodeOnASectionBoundaryBelongsToTheUpperSection) {
    Add_Elastic_Section(0.0, 120.0, 36.0, 36.0, 2000.0, 2000.0);
    Add_Elastic_Section(120.0, 480.0, 24.0, 24.0, 1000.0, 1000.0);
    Grid(480.0, 96); // h = 5 in: node 25 lies at 120 in
    Assign_Sections_To_Nodes(m(), m().Sections, m(), m().i_Num_Nodes);
    EXPECT_EQ(m().Nodes[1].i_Section, 1);
    EXPECT_EQ(m().Nodes[24].i_Section, 1);
    ASSERT_EQ(m().Nodes[25].X, 120.0);
    EXPECT_EQ(m().Nodes[25].i_Section, 1);
    EXPECT_EQ(m().Nodes[26].i_Section, 2);
    EXPECT_EQ(m().Nodes[97].i_Section, 2);
    // The property lookup takes the section below at the same depth.
    EXPECT_EQ(Pile_Props_at_DepthX(m(), 120.0).i_Section, 2);
    EXPECT_DOUBLE_EQ(Pile_Props_at_DepthX(m(), 120.0).b, 24.0);
    EXPECT_DOUBLE_EQ(Pile_Props_at_DepthX(m(), 119.0).b, 36.0);
    // Beyond the table: the last point.
    EXPECT_EQ(Pile_Props_at_DepthX(m(), 600.0).i_Section, 2);
}

TEST_F(GridTest, TaperedSectionIsInterpolatedAlongThePile) {
    Add_Elastic_Section(0.0, 480.0, 24.0, 12.0, 1000.0, 500.0);
    Grid(480.0, 96);
    EXPECT_DOUBLE_EQ(m().Nodes[49].b, 18.0); // 240 in
    EXPECT_DOUBLE_EQ(m().Nodes[49].EI, 29e6 * 750.0);
    EXPECT_DOUBLE_EQ(m().Nodes[97].EI, 29e6 * 500.0);
    const PileProps props = Pile_Props_at_DepthX(m(), 120.0);
    EXPECT_DOUBLE_EQ(props.I, 875.0);
    EXPECT_DOUBLE_EQ(props.A, 100.0);
}

TEST_F(GridTest, NodeOutsideEverySectionTakesTheNearestOne) {
    Add_Elastic_Section(0.0, 100.0, 36.0, 36.0, 2000.0, 2000.0);
    Add_Elastic_Section(200.0, 400.0, 24.0, 24.0, 1000.0, 1000.0);
    Grid(480.0, 96);
    Assign_Sections_To_Nodes(m(), m().Sections, m(), m().i_Num_Nodes);
    EXPECT_EQ(m().Nodes[29].i_Section, 1); // 140 in: 40 below section 1, 60 above section 2
    EXPECT_EQ(m().Nodes[37].i_Section, 2); // 180 in
    EXPECT_EQ(m().Nodes[31].i_Section, 1); // 150 in: a tie goes to the upper section
    EXPECT_EQ(m().Nodes[97].i_Section, 2); // 480 in, below the last section
}

TEST_F(GridTest, SingleSectionFillsTheWholeNodeTable) {
    Add_Elastic_Section(0.0, 480.0, 24.0, 24.0, 1000.0, 1000.0);
    Grid(480.0, 40);
    Assign_Sections_To_Nodes(m(), m().Sections, m(), m().i_Num_Nodes);
    for (int i = 1; i <= NODE_TABLE_SIZE; ++i) {
        ASSERT_EQ(m().Nodes[i].i_Section, 1) << i;
    }
}

TEST_F(GridTest, RunSequenceGridAlsoAssignsSectionsLayersAndSoilMovement) {
    Add_Elastic_Section(0.0, 240.0, 36.0, 36.0, 2000.0, 2000.0);
    Add_Elastic_Section(240.0, 480.0, 24.0, 24.0, 1000.0, 1000.0);
    Add_Layer({1, 0.0, 120.0});
    Add_Layer({1, 120.0, 600.0});
    m().Soil_Movement[1] = {0.0, 1.0};
    m().Soil_Movement[2] = {480.0, 1.0};
    m().i_Num_Soil_Movements = 2;
    m().Pile_Length = 480.0;
    m().i_Pile_Increments = 48;
    Build_Node_Grid(m());
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_EQ(m().i_Num_Nodes, 49);
    EXPECT_EQ(m().Nodes[26].i_Section, 2);
    EXPECT_EQ(m().Layers[2].KTOP, 13);
    EXPECT_DOUBLE_EQ(m().Nodes[49].Soil_Movement, 1.0);
}

TEST_F(GridTest, IncrementsBeyondTheTableStopTheRun) {
    m().i_Pile_Increments = MAX_PILE_INCREMENTS + 1;
    Build_Node_Grid(m(), 480.0);
    EXPECT_EQ(m().RunStatus, 999);
    EXPECT_EQ(m().i_Num_Nodes, 0);
}

TEST_F(GridTest, LayersGetTheirFirstAndLastNodes) {
    Add_Layer({1, 0.0, 121.0});
    Add_Layer({1, 121.0, 123.0}); // between the nodes at 120 and 125 in
    Add_Layer({5, 123.0, 600.0});
    Grid(480.0, 96);
    Assign_Layers_To_Nodes(m(), m(), m().Report, m().i_Num_Nodes);
    const auto& L = m().Layers;
    EXPECT_EQ(L[1].KTOP, 1);
    EXPECT_EQ(L[1].i_BottomNodeInLayer, 25);
    EXPECT_EQ(L[2].KTOP, 0);
    EXPECT_EQ(L[2].i_BottomNodeInLayer, 0);
    EXPECT_EQ(L[3].KTOP, 26);
    EXPECT_EQ(L[3].i_BottomNodeInLayer, 97);
    EXPECT_EQ(m().Nodes[25].i_Layer, 1);
    EXPECT_EQ(m().Nodes[26].i_Layer, 3);
}

TEST_F(GridTest, NodeOnALayerInterfaceStartsTheLowerLayer) {
    Add_Layer({1, 0.0, 120.0});
    Add_Layer({1, 120.0, 480.0});
    Grid(480.0, 96);
    Assign_Layers_To_Nodes(m(), m(), m().Report, m().i_Num_Nodes);
    EXPECT_EQ(m().Layers[1].i_BottomNodeInLayer, 24);
    EXPECT_EQ(m().Layers[2].KTOP, 25);
    EXPECT_EQ(m().Layers[2].i_BottomNodeInLayer, 97);
}

TEST_F(GridTest, PileDeeperThanTheSoilGivesItsLowerNodesToTheLastLayer) {
    Add_Layer({1, 0.0, 100.0});
    Add_Layer({1, 100.0, 200.0});
    Grid(480.0, 96);
    Assign_Layers_To_Nodes(m(), m(), m().Report, m().i_Num_Nodes);
    EXPECT_EQ(m().Layers[1].i_BottomNodeInLayer, 20);
    EXPECT_EQ(m().Layers[2].KTOP, 21);
    EXPECT_EQ(m().Layers[2].i_BottomNodeInLayer, 97);
    // The nodes below the data then stop the run through the lookups.
    EXPECT_EQ(fn_c(m(), m().Nodes[97].Xv).value, 0.0);
    EXPECT_EQ(m().RunStatus, 105);
}

TEST_F(GridTest, ThinLastLayerAbovePileTipLeavesTheNodesToTheLayerAboveIt) {
    Add_Layer({1, 0.0, 201.0, 10.0, 10.0});
    Add_Layer({1, 201.0, 203.0, 10.0, 10.0}); // between the nodes at 200 and 205 in
    Grid(480.0, 96);
    const int stranded = Assign_Layers_To_Nodes(m(), m(), m().Report, m().i_Num_Nodes);
    EXPECT_EQ(stranded, 1);
    // The diagnostic is a recorded warning that names the layer.
    Record_Stranded_Layer(m(), stranded, false);
    EXPECT_EQ(m().Warnings.i_Warning_Tally[715], 1);
    ASSERT_EQ(m().Results.notes.size(), 1u);
    EXPECT_NE(m().Results.notes[0].text[0].find("layer 1"), std::string::npos);
    EXPECT_EQ(m().Layers[1].KTOP, 1);
    EXPECT_EQ(m().Layers[1].i_BottomNodeInLayer, 97);
    EXPECT_EQ(m().Layers[2].KTOP, 0);
    EXPECT_NE(Report().find("ERROR 2 in computing i_BottomNodeInLayer\nNum_Nodes_To_Assign = "
                            "97\nilayer = 1\nklayer = 3\njlayer = 2\ni_Number_of_Layers = 2\n"),
              std::string::npos);
    // The nodes below the soil data are not silently left without springs.
    EXPECT_EQ(m().Nodes[97].i_Layer, 1);
}

TEST_F(GridTest, BatteredPileComparesLayersWithVerticalDepthAlsoWhenPrinting) {
    Add_Layer({1, 0.0, 101.0});
    Add_Layer({1, 101.0, 1000.0});
    m().Pile_Batter = kPi / 3.0; // cos = 0.5
    Grid(480.0, 96);
    Assign_Layers_To_Nodes(m(), m(), m().Report, m().i_Num_Nodes);
    EXPECT_EQ(m().Layers[2].KTOP, 42); // X = 205 in, the first vertical depth past 101 in
    // Printed depths 5, 10, ..., 100 in along the pile lie at half that vertically: all in
    // layer 1, although those from 105 in along the pile would be below 101 in.
    for (int k = 1; k <= 40; ++k) {
        m().Py.Print_Xv[static_cast<size_t>(k)] = 5.0 * k * 0.5;
    }
    Assign_Layers_To_Printed_Depths(m(), m().Py, m().Report, 40);
    EXPECT_EQ(m().Py.Print_Layers[1].first, 1);
    EXPECT_EQ(m().Py.Print_Layers[1].last, 40);
    EXPECT_EQ(m().Py.Print_Layers[2].first, 0);
    // The stations keep their own ranges.
    EXPECT_EQ(m().Layers[2].KTOP, 42);
    EXPECT_EQ(m().Nodes[42].i_Layer, 2);
}

TEST_F(GridTest, GroundSurfaceSeparatesNodesWithoutSprings) {
    Add_Layer({1, 60.0, 480.0});
    Grid(480.0, 96);
    EXPECT_TRUE(Is_Node_Above_Ground(m(), m(), 12));  // 55 in
    EXPECT_FALSE(Is_Node_Above_Ground(m(), m(), 13)); // 60 in
}

TEST_F(GridTest, SoilMovementIsInterpolatedInsideItsDepthRangeOnly) {
    auto& s = m().Soil_Movement;
    s[1] = {60.0, 2.0};
    s[2] = {160.0, 0.0};
    s[3] = {260.0, 1.0};
    m().i_Num_Soil_Movements = 3;
    Grid(480.0, 96);
    Interpolate_Soil_Movement(m(), m(), m().i_Num_Nodes);
    EXPECT_EQ(m().Nodes[11].Soil_Movement, 0.0); // 50 in, above the data
    EXPECT_DOUBLE_EQ(m().Nodes[13].Soil_Movement, 2.0);
    EXPECT_DOUBLE_EQ(m().Nodes[23].Soil_Movement, 1.0); // 110 in
    EXPECT_DOUBLE_EQ(m().Nodes[43].Soil_Movement, 0.5); // 210 in
    EXPECT_DOUBLE_EQ(m().Nodes[53].Soil_Movement, 1.0); // 260 in
    EXPECT_EQ(m().Nodes[54].Soil_Movement, 0.0);        // below the data
}

TEST_F(GridTest, UniformDistributedLoadIsTheLoadAtEveryNode) {
    m().Dist_Load[1] = {0.0, 12.5};
    m().Dist_Load[2] = {480.0, 12.5};
    m().i_Num_Dist_Load_Points = 2;
    Grid(480.0, 100);
    for (int i = 1; i <= 101; ++i) {
        EXPECT_DOUBLE_EQ(m().Nodes[i].Dist_Load, 12.5) << "node " << i;
    }
}

TEST_F(GridTest, LinearDistributedLoadIsAveragedOverEachTributaryLength) {
    // q(x) = x: an interior node's window is symmetric and averages to q(X); the head
    // averages over [0, h/2] and the tip over [L - h/2, L].
    m().Dist_Load[1] = {0.0, 0.0};
    m().Dist_Load[2] = {480.0, 480.0};
    m().i_Num_Dist_Load_Points = 2;
    Grid(480.0, 96);
    const double h = 5.0;
    EXPECT_DOUBLE_EQ(m().Nodes[1].Dist_Load, h / 4.0);
    EXPECT_DOUBLE_EQ(m().Nodes[40].Dist_Load, 195.0);
    EXPECT_DOUBLE_EQ(m().Nodes[97].Dist_Load, 480.0 - h / 4.0);
}

TEST_F(GridTest, StepInTheDistributedLoadIsIntegratedExactly) {
    auto& q = m().Dist_Load;
    q[1] = {0.0, 0.0};
    q[2] = {100.0, 0.0};
    q[3] = {100.0, 10.0};
    q[4] = {300.0, 10.0};
    m().i_Num_Dist_Load_Points = 4;
    Grid(480.0, 96);
    EXPECT_DOUBLE_EQ(m().Nodes[20].Dist_Load, 0.0);  // 95 in: window ends at 97.5
    EXPECT_DOUBLE_EQ(m().Nodes[21].Dist_Load, 5.0);  // 100 in: half the window loaded
    EXPECT_DOUBLE_EQ(m().Nodes[22].Dist_Load, 10.0); // 105 in
    EXPECT_DOUBLE_EQ(m().Nodes[61].Dist_Load, 5.0);  // 300 in: the load ends mid-window
    EXPECT_DOUBLE_EQ(m().Nodes[62].Dist_Load, 0.0);  // 305 in: window starts below the data
    // Windows ending exactly on the step see none of the load below it.
    m().Increment_Length = 10.0;
    EXPECT_DOUBLE_EQ(fn_DistLoad_Avg(m(), m(), 95.0), 0.0);
}

TEST_F(GridTest, ElasticStiffnessOfSlicedSectionsIsTheGrossUncrackedValue) {
    PileSection shaft;
    shaft.i_Section_Type = SECTION_DRILLED_SHAFT;
    shaft.Diameter = 36.0;
    shaft.Width_Top = shaft.Width_Bottom = 36.0;
    shaft.fc = 4000.0;
    const PileProps p = Section_End_Props(shaft, false, USCS);
    // Ec = 57 sqrt(1000 f'c) ksi = 3604.997 ksi for f'c = 4 ksi.
    EXPECT_NEAR(Concrete_Elastic_Modulus(4000.0, USCS), 3604997.0, 0.5);
    EXPECT_DOUBLE_EQ(p.EI, Concrete_Elastic_Modulus(4000.0, USCS) * kPi * std::pow(36.0, 4) / 64.0);
    EXPECT_EQ(p.I, 0.0); // no elastic section properties for the stress check
    EXPECT_DOUBLE_EQ(p.b, 36.0);
    // The same concrete in kPa gives the same modulus in kPa.
    EXPECT_NEAR(Concrete_Elastic_Modulus(4000.0 * 6.894757, SI), 3604.997 * 6894.757, 30.0);

    PileSection rect;
    rect.i_Section_Type = SECTION_RECTANGULAR_CONCRETE;
    rect.Diameter = 24.0;      // depth in the bending direction
    rect.Section_Width = 12.0; // facing the soil
    rect.Width_Top = rect.Width_Bottom = 12.0;
    rect.fc = 4000.0;
    EXPECT_DOUBLE_EQ(Section_End_Props(rect, true, USCS).EI,
                     Concrete_Elastic_Modulus(4000.0, USCS) * 12.0 * 24.0 * 24.0 * 24.0 / 12.0);

    PileSection pole;
    pole.i_Section_Type = SECTION_ELASTIC_PLASTIC;
    pole.i_Shape_Type = SHAPE_EMBEDDED_POLE;
    pole.Width_Top = pole.Width_Bottom = 30.0; // the drilled hole
    pole.Elastic_Width_Top = 12.0;
    pole.Elastic_Width_Bottom = 10.0;
    pole.E_Top = pole.E_Bottom = 1.6e6;
    pole.I_Top = 1000.0;
    pole.I_Bottom = 490.0;
    const PileProps pb = Section_End_Props(pole, true, USCS);
    EXPECT_DOUBLE_EQ(pb.b, 30.0);
    EXPECT_DOUBLE_EQ(pb.Pole_Width, 10.0);
    EXPECT_DOUBLE_EQ(pb.EI, 1.6e6 * 490.0);
}

} // namespace
} // namespace zarno::test
