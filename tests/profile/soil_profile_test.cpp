#include "profile/soil_profile.h"

#include "profile/pile_grid.h"
#include "profile_fixture.h"
#include "report/fortran_format.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zarno::test {
namespace {

constexpr int kSoftClay = 1, kStiffClay = 3, kSand = 5, kWeakRock = 8, kPiedmont = 10,
              kCemSilt = 11, kElastic = 13, kUser = 14, kMassRock = 16;

// Strength at the interface of two layers that meet at 120 in, for every pair of soil
// classes that has a defined rule.
struct InterfaceCase {
    const char* name;
    int above;
    int below;
    double c_above; // strength of the upper layer at the interface
    double c_below; // strength of the lower layer at the interface
    double expected;
};

class InterfaceStrength : public ProfileTest,
                          public ::testing::WithParamInterface<InterfaceCase> {};

TEST_P(InterfaceStrength, FollowsTheRuleOfTheTwoSoilClasses) {
    const InterfaceCase& c = GetParam();
    Add_Layer({c.above, 0.0, 120.0, 10.0, c.c_above});
    Add_Layer({c.below, 120.0, 240.0, c.c_below, 99.0});
    m().Pile_Length = 200.0;
    const StrengthAtX at_interface = fn_c(m(), 120.0);
    EXPECT_DOUBLE_EQ(at_interface.value, c.expected);
    EXPECT_TRUE(at_interface.b_AtNode);
    EXPECT_EQ(m().RunStatus, 0);
    // Inside a layer the strength is interpolated and the interface flag is clear.
    const StrengthAtX inside = fn_c(m(), 60.0);
    EXPECT_DOUBLE_EQ(inside.value, (10.0 + c.c_above) / 2.0);
    EXPECT_FALSE(inside.b_AtNode);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InterfaceStrength,
    ::testing::Values(InterfaceCase{"ClayOverClay", kSoftClay, kStiffClay, 40, 60, 50},
                      InterfaceCase{"ClayOverSand", kSoftClay, kSand, 40, 0, 40},
                      InterfaceCase{"SandOverClay", kSand, kSoftClay, 0, 60, 60},
                      InterfaceCase{"ClayOverRock", kSoftClay, kWeakRock, 40, 1000, 540},
                      InterfaceCase{"RockOverClay", kWeakRock, kSoftClay, 1000, 40, 540},
                      InterfaceCase{"RockOverRock", kWeakRock, kMassRock, 1000, 3000, 2000},
                      InterfaceCase{"RockOverSand", kWeakRock, kSand, 1000, 0, 1000},
                      InterfaceCase{"ClayOverElastic", kSoftClay, kElastic, 40, 7, 40},
                      InterfaceCase{"ElasticOverClay", kElastic, kSoftClay, 7, 60, 60},
                      InterfaceCase{"UserOverRock", kUser, kWeakRock, 3, 1000, 1000},
                      InterfaceCase{"CohesiveSiltOverClay", kCemSilt, kSoftClay, 20, 60, 40},
                      InterfaceCase{"FrictionalSiltOverClay", kCemSilt, kSoftClay, 0, 60, 60}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileTest, InterfaceAtThePileTipTakesTheLayerAbove) {
    Add_Layer({kSoftClay, 0.0, 120.0, 10.0, 40.0, 30.0, 30.0});
    Add_Layer({kSoftClay, 120.0, 240.0, 60.0, 80.0, 34.0, 34.0});
    m().Profile.eps50[2] = 0.01;
    m().Profile.eps50[3] = 0.02;
    m().Profile.J[2] = 0.5;
    m().Profile.J[3] = 0.25;
    m().Profile.RQD[2] = 50.0;
    m().Profile.RQD[3] = 70.0;
    m().Pile_Length = 120.0;
    EXPECT_DOUBLE_EQ(fn_c(m(), 120.0).value, 40.0);
    EXPECT_DOUBLE_EQ(fn_Phi(m(), 120.0), 30.0);
    EXPECT_DOUBLE_EQ(fn_Eps50(m(), 120.0), 0.01);
    EXPECT_DOUBLE_EQ(fn_J(m(), 120.0), 0.5);
    // RQD has no tip rule: the two layers are averaged.
    EXPECT_DOUBLE_EQ(fn_RQD(m(), 120.0), 60.0);
    // A longer pile averages them.
    m().Pile_Length = 200.0;
    EXPECT_DOUBLE_EQ(fn_c(m(), 120.0).value, 50.0);
    EXPECT_DOUBLE_EQ(fn_Phi(m(), 120.0), 32.0);
    EXPECT_DOUBLE_EQ(fn_Eps50(m(), 120.0), 0.015);
    EXPECT_EQ(m().RunStatus, 0);
}

TEST_F(ProfileTest, MassiveRockTakesItsIntactStrengthAtTheTip) {
    Add_Layer({kMassRock, 0.0, 120.0, 500.0, 600.0});
    Add_Layer({kMassRock, 120.0, 240.0, 800.0, 900.0});
    m().Profile.HB_qu[2] = 4321.0;
    m().Pile_Length = 120.0;
    EXPECT_DOUBLE_EQ(fn_HB_qu_at_DepthX(m(), 120.0).value, 4321.0);
    m().Pile_Length = 200.0;
    EXPECT_DOUBLE_EQ(fn_HB_qu_at_DepthX(m(), 120.0).value, 700.0);
}

struct UndefinedPair {
    const char* name;
    int above;
    int below;
};

class UndefinedInterface : public ProfileTest,
                           public ::testing::WithParamInterface<UndefinedPair> {};

// Pairs without a rule of their own, two granular layers or a model without a strength
// class (Piedmont), are valid profiles: the interface takes the mean where both layers have
// a strength and the one that has it otherwise, never an internal error.
TEST_P(UndefinedInterface, TakesTheMeanOrTheLayerThatHasAStrength) {
    Add_Layer({GetParam().above, 0.0, 120.0, 40.0, 40.0});
    Add_Layer({GetParam().below, 120.0, 240.0, 60.0, 60.0});
    m().Pile_Length = 200.0;
    EXPECT_EQ(fn_c(m(), 120.0).value, 50.0);
    m().Profile.c[2] = 0.0;
    EXPECT_EQ(fn_c(m(), 120.0).value, 60.0);
    EXPECT_EQ(m().RunStatus, 0);
    EXPECT_EQ(Report().find("Runtime Error"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Pairs, UndefinedInterface,
                         ::testing::Values(UndefinedPair{"SandOverSand", kSand, kSand},
                                           UndefinedPair{"ClayOverPiedmont", kSoftClay, kPiedmont},
                                           UndefinedPair{"SandOverUser", kSand, kUser},
                                           UndefinedPair{"ElasticOverElastic", kElastic, kElastic}),
                         [](const auto& info) { return std::string(info.param.name); });

// A station on a boundary belongs to the layer below; that layer's model sees its own
// strength there, not the interface value shared with the layer above.
TEST_F(ProfileTest, LayerLookupsGiveTheLayersOwnValueOnItsBoundaries) {
    Add_Layer({kSand, 0.0, 120.0, 0.0, 0.0, 30.0, 30.0});
    Add_Layer({kSand, 120.0, 240.0, 0.0, 0.0, 38.0, 40.0});
    Add_Layer({kPiedmont, 240.0, 300.0});
    Add_Layer({kSoftClay, 300.0, 400.0, 8.0, 9.0});
    m().Pile_Length = 350.0;
    EXPECT_EQ(fn_Phi(m(), 120.0), 34.0); // the interface value itself is unchanged
    EXPECT_EQ(fn_Phi_In_Layer(m(), 2, 120.0), 38.0);
    EXPECT_EQ(fn_Phi_In_Layer(m(), 1, 120.0), 30.0);
    EXPECT_EQ(fn_Phi_In_Layer(m(), 2, 180.0), 39.0);
    // Clay under a layer without a strength class: its own strength, flagged as on an
    // interface (no strength-range warnings), and no error.
    const StrengthAtX own = fn_c_In_Layer(m(), 4, 300.0);
    EXPECT_EQ(own.value, 8.0);
    EXPECT_TRUE(own.b_AtNode);
    EXPECT_EQ(m().RunStatus, 0);
}

TEST_F(ProfileTest, StrengthPointWhereNoTwoLayersMeetIsThatPointsValue) {
    // Layers given with a gap (0-120 in and 144-240 in) are made contiguous in the layer
    // table, while the strength data keep the given depths: 144 in is then the top of the
    // second layer's data, not an interface.
    Add_Layer({kSoftClay, 0.0, 120.0, 40.0, 40.0});
    Add_Layer({kSoftClay, 144.0, 240.0, 60.0, 70.0});
    m().Layers[2].XLayerTop = 120.0;
    m().Pile_Length = 200.0;
    const StrengthAtX gap = fn_c(m(), 144.0);
    EXPECT_EQ(gap.value, 60.0);
    EXPECT_TRUE(gap.b_AtNode);
    EXPECT_EQ(m().RunStatus, 0);
    EXPECT_EQ(Report().find("Internal error"), std::string::npos);
}

TEST_F(ProfileTest, StrengthJustBelowTheDataIsToleratedOnlyWithinOneMillionth) {
    Add_Layer({kSoftClay, 0.0, 240.0, 10.0, 40.0});
    EXPECT_DOUBLE_EQ(fn_c(m(), 240.0 + 1e-7).value, 40.0);
    EXPECT_EQ(m().RunStatus, 0);
    EXPECT_EQ(fn_c(m(), 240.0 + 1e-5).value, 0.0);
    EXPECT_EQ(m().RunStatus, 105);
    const std::string block =
        "**** Input Data Error No. 5 ****\n\nAn error was detected that is related to an "
        "incompatibility between \nthe input data defining pile embedment depth and values of "
        "shear \nstrength of soil versus depth.\n\nProblem:  The value for a pile station depth "
        "is   2.4000E+02 in \nThis depth is below the deepest extent of the input curve for "
        "\nshear strength of soil versus depth at    240.000 in \n\n";
    EXPECT_NE(Report().find(block), std::string::npos);
    EXPECT_NE(Messages().find(block), std::string::npos);
}

TEST_F(ProfileTest, StrengthWithoutDataStopsInsteadOfReadingOutsideTheTable) {
    EXPECT_EQ(fn_c(m(), 10.0).value, 0.0);
    EXPECT_EQ(m().RunStatus, 105);
}

TEST_F(ProfileTest, ZeroThicknessFirstLayerStopsWithInputError60) {
    // A depth above a layer of no thickness has no segment to interpolate over.
    Add_Layer({kSoftClay, 60.0, 60.0, 10.0, 40.0});
    EXPECT_EQ(fn_c(m(), 30.0).value, 0.0);
    EXPECT_EQ(m().RunStatus, 160);
    EXPECT_NE(Report().find("layer is zero.  The depth of computation is     30.000\n"),
              std::string::npos);
}

struct PointCase {
    double above;
    double below;
    double expected;
};

class FrictionAngleAtInterface : public ProfileTest,
                                 public ::testing::WithParamInterface<PointCase> {};

TEST_P(FrictionAngleAtInterface, AveragesOnlyWhereBothLayersHaveOne) {
    Add_Layer({kSand, 0.0, 120.0, 0, 0, 28.0, GetParam().above});
    Add_Layer({kSand, 120.0, 240.0, 0, 0, GetParam().below, 40.0});
    m().Pile_Length = 240.0;
    EXPECT_DOUBLE_EQ(fn_Phi(m(), 120.0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FrictionAngleAtInterface,
                         ::testing::Values(PointCase{30, 0, 30}, PointCase{0, 34, 34},
                                           PointCase{30, 34, 32}, PointCase{0, 0, 0}),
                         [](const auto& info) {
                             return "Above" + std::to_string(int(info.param.above)) + "Below" +
                                    std::to_string(int(info.param.below));
                         });

TEST_F(ProfileTest, PointLookupsInterpolateAndReportDepthsBelowTheData) {
    Add_Layer({kSand, 0.0, 120.0, 0, 0, 30.0, 36.0});
    m().Profile.eps50[1] = 0.01;
    m().Profile.eps50[2] = 0.02;
    EXPECT_DOUBLE_EQ(fn_Phi(m(), 40.0), 32.0);
    EXPECT_DOUBLE_EQ(fn_Phi(m(), 120.0), 36.0);
    EXPECT_DOUBLE_EQ(fn_Eps50(m(), 60.0), 0.015);
    // eps50 and J outside the data are simply 0.
    EXPECT_EQ(fn_Eps50(m(), 121.0), 0.0);
    EXPECT_EQ(fn_J(m(), 121.0), 0.0);
    EXPECT_EQ(m().RunStatus, 0);
    EXPECT_EQ(fn_Phi(m(), 121.0), 0.0);
    EXPECT_EQ(m().RunStatus, 104);
    EXPECT_NE(Report().find("**** Input Data Error No. 4 ****\n\nAn error was detected that is "
                            "related to an incompatibility\n"),
              std::string::npos);
}

TEST_F(ProfileTest, RqdOutsideZeroToHundredStopsWithInputError49) {
    Add_Layer({kWeakRock, 0.0, 120.0});
    m().Profile.RQD[1] = 80.0;
    m().Profile.RQD[2] = 120.0;
    EXPECT_DOUBLE_EQ(fn_RQD(m(), 30.0), 90.0);
    EXPECT_EQ(fn_RQD(m(), 90.0), 0.0);
    EXPECT_EQ(m().RunStatus, 149);
    EXPECT_NE(Report().find("The interpolated value of RQD =   1.1000E+02 %\n"), std::string::npos);
}

TEST_F(ProfileTest, RqdBelowTheDataStopsWithInputError31) {
    Add_Layer({kWeakRock, 0.0, 120.0});
    EXPECT_EQ(fn_RQD(m(), 130.0), 0.0);
    EXPECT_EQ(m().RunStatus, 131);
    EXPECT_NE(Messages().find("RQD versus depth.\n"), std::string::npos);
}

TEST_F(ProfileTest, RockStrainFactorTakesTheLayerBelowExceptAtTheTip) {
    Add_Layer({kWeakRock, 0.0, 120.0});
    Add_Layer({kWeakRock, 120.0, 240.0});
    auto& e = m().Profile.eps50;
    e[1] = 0.0001, e[2] = 0.0003, e[3] = 0.0005, e[4] = 0.0007;
    m().Pile_Length = 240.0;
    EXPECT_DOUBLE_EQ(fn_krm(m(), 60.0), 0.0002);
    EXPECT_DOUBLE_EQ(fn_krm(m(), 120.0), 0.0005);
    EXPECT_DOUBLE_EQ(fn_krm(m(), 240.0), 0.0007);
    EXPECT_EQ(fn_krm(m(), 241.0), 0.0);
    m().Pile_Length = 120.0;
    EXPECT_DOUBLE_EQ(fn_krm(m(), 120.0), 0.0003);
}

TEST_F(ProfileTest, UnitWeightAverageFromTheGroundSurface) {
    // Ground surface 60 in below the pile head; the first point has no weight.
    Add_Layer({kSand, 60.0, 180.0, 0, 0, 30, 30, 0.0, 0.04});
    Add_Layer({kSand, 180.0, 300.0, 0, 0, 30, 30, 0.05, 0.05});
    EXPECT_EQ(fn_Gamma_Avg(m(), 30.0), 0.0); // above the ground
    EXPECT_DOUBLE_EQ(fn_Gamma_Avg(m(), 60.0), 0.04);
    // One inch below: the mean of the linear profile from 0 to 0.04/120.
    EXPECT_DOUBLE_EQ(fn_Gamma_Avg(m(), 61.0), 0.04 / 240.0);
    // 120 in of the first layer (mean 0.02) and 60 in of the second (0.05).
    EXPECT_NEAR(fn_Gamma_Avg(m(), 240.0), (0.02 * 120.0 + 0.05 * 60.0) / 180.0, 1e-15);
    EXPECT_EQ(m().RunStatus, 0);
    EXPECT_EQ(fn_Gamma_Avg(m(), 301.0), 0.0);
    EXPECT_EQ(m().RunStatus, 115);
    EXPECT_NE(Messages().find("**** Input Data Error No. 15 ****\n\nAn error was detected related "
                              "to an incompatibility between \n"),
              std::string::npos);
}

TEST_F(ProfileTest, StrengthAverageFromTheGroundSurface) {
    Add_Layer({kSoftClay, 0.0, 100.0, 10.0, 30.0});
    Add_Layer({kSoftClay, 100.0, 200.0, 50.0, 50.0});
    m().Pile_Length = 200.0;
    EXPECT_DOUBLE_EQ(fn_c_Avg(m(), 0.0), 10.0);
    EXPECT_DOUBLE_EQ(fn_c_Avg(m(), 50.0), 15.0);
    EXPECT_DOUBLE_EQ(fn_c_Avg(m(), 150.0), (20.0 * 100.0 + 50.0 * 50.0) / 150.0);
    EXPECT_EQ(fn_c_Avg(m(), 250.0), 0.0);
    EXPECT_EQ(m().RunStatus, 103);
    EXPECT_NE(Report().find("The value for a pile station depth is   2.5000E+02\n"),
              std::string::npos);
}

TEST_F(ProfileTest, RockModulusInALayerAndALayerWithoutThickness) {
    Add_Layer({kWeakRock, 0.0, 100.0});
    m().Layers[1].k_Top = 1000.0;
    m().Layers[1].k_Bottom = 3000.0;
    EXPECT_DOUBLE_EQ(fn_k_in_Layer(m(), 1, 25.0), 1500.0);
    m().Layers[1].XLayerBottom = 0.0;
    EXPECT_EQ(fn_k_in_Layer(m(), 1, 0.0), 0.0);
    EXPECT_EQ(m().RunStatus, 220);
    EXPECT_NE(Report().find("RUN00020\n**** Runtime Error No. 20 ****\n\nProblem:  The top and "
                            "bottom elevations for weak rock layer are equal.\n"),
              std::string::npos);
    // The block follows the premature-end line, so the results hold it from where it is
    // raised, not from the report.
    const std::vector<std::string> block = {
        "**** Runtime Error No. 20 ****", "",
        "Problem:  The top and bottom elevations for weak rock layer are equal.",
        "Solution: Correct the input data for elevations defining weak rock layer."};
    EXPECT_EQ(m().Results.error.text, block);
}

TEST_F(ProfileTest, GroupMultipliersAreOneOutsideTheirRows) {
    EXPECT_EQ(fn_pMult(m(), 50.0), 1.0);
    EXPECT_EQ(fn_yMult(m(), 50.0), 1.0);
    auto& g = m().Group_Effect;
    g[1] = {100.0, 0.5, 2.0};
    g[2] = {200.0, 0.7, 3.0};
    g[3] = {200.0, 0.8, 4.0};
    g[4] = {300.0, 0.8, 4.0};
    m().i_Num_Group_Effect_Rows = 4;
    EXPECT_EQ(fn_pMult(m(), 99.0), 1.0);
    EXPECT_EQ(fn_yMult(m(), 301.0), 1.0);
    EXPECT_DOUBLE_EQ(fn_pMult(m(), 100.0), 0.5);
    EXPECT_DOUBLE_EQ(fn_pMult(m(), 150.0), 0.6);
    EXPECT_DOUBLE_EQ(fn_yMult(m(), 150.0), 2.5);
    // On the step the row below wins.
    EXPECT_DOUBLE_EQ(fn_pMult(m(), 200.0), 0.8);
    EXPECT_DOUBLE_EQ(fn_yMult(m(), 300.0), 4.0);
    m().i_Num_Group_Effect_Rows = 1;
    EXPECT_EQ(fn_pMult(m(), 100.0), 1.0);
}

TEST_F(ProfileTest, TenPointInterpolation) {
    const std::array<double, 11> xs{0, 0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
    const std::array<double, 11> ys{0, 2, 1.8, 1.6, 1.4, 1.2, 1.0, 0.9, 0.9, 0.9, 0.88};
    EXPECT_DOUBLE_EQ(fn_Interp10(3.0, 4.0, xs, ys), 1.7);   // r = 0.75
    EXPECT_DOUBLE_EQ(fn_Interp10(10.0, 1.0, xs, ys), 0.88); // beyond the table
    EXPECT_DOUBLE_EQ(fn_Interp10(6.0, 1.0, xs, ys), 0.88);
    EXPECT_DOUBLE_EQ(fn_Interp10(5.5, 1.0, xs, ys), 0.89);
    EXPECT_DOUBLE_EQ(fn_Interp10(-0.5, 1.0, xs, ys), 2.2); // first segment extended
    EXPECT_DOUBLE_EQ(fn_Interp10(1.0, 0.0, xs, ys), 0.88);
}

} // namespace
} // namespace zarno::test
