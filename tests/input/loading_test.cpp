#include "input_test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zarno::test {
namespace {

namespace fs = std::filesystem;

std::string Lrfd_Options() {
    return Options("Units USCS", 1, "UseLRFD YES");
}

TEST(Loading, PileHeadLoadsAndDistributedLoad) {
    ReadResult r = Read_Text(Input(Options() + "LOADING\n2\n1 1 1000 2000 3000 1\n"
                                               "2,5,0.5,0.01,0,0\n2\n1 0 10\n2 120 0\n"));
    ASSERT_EQ(r.status(), 0) << r.report;
    const AnalysisModel& m = *r.model;
    EXPECT_EQ(m.i_Num_Loads, 2);
    EXPECT_EQ(m.Loads[1].Condition2, 2000.0);
    EXPECT_EQ(m.Loads[1].i_Compute_Top_Deflection_vs_Length, 1);
    EXPECT_EQ(m.Loads[2].i_Load_Type, 5);
    EXPECT_EQ(m.Loads[2].i_Compute_Top_Deflection_vs_Length, 0);
    EXPECT_EQ(m.i_Num_Dist_Load_Points, 2);
    EXPECT_EQ(m.Dist_Load[2].Depth, 120.0);
    ReadResult big = Read_Text(Input(Options() + "LOADING\n101\n"));
    EXPECT_EQ(big.status(), 192);
    ReadResult points = Read_Text(Input(Options() + "LOADING\n1\n1 1 1 1 1 1\n51\n"));
    EXPECT_EQ(points.status(), 192);
    EXPECT_TRUE(Contains(points.report, "At most 50 distributed lateral load points"));
}

TEST(Loading, AxialThrustListIsSortedDistinctAndInKips) {
    const std::string section = "SECTIONS\n1\n1\n11\n10\n2\n29e6\n24\n24\n400\n400\n16000\n16000\n";
    ReadResult r = Read_Text(
        Input(Options() + section + "LOADING\n3\n1 1 1 0 100 1\n2 1 1 0 50 1\n3 1 1 0 100 1\n0\n"));
    ASSERT_EQ(r.status(), 0) << r.report;
    EXPECT_EQ(r.model->i_Num_Axial_Thrusts, 2);
    EXPECT_EQ(r.model->Axial_Thrust_List[1], 0.05);
    EXPECT_EQ(r.model->Axial_Thrust_List[2], 0.1);

    ReadResult none = Read_Text(Input(Options() + "LOADING\n1\n1 1 1 0 100 1\n0\n"));
    EXPECT_EQ(none.model->i_Num_Axial_Thrusts, 0) << "no sections, no stiffness tables";

    // The EI-only block: sorted in place; N = 0 keeps one slot and reads no line.
    ReadResult ei = Read_Text(Input(Options("Units SI", 6, "ComputeEIOnly YES") + section +
                                    "AXIAL THRUST LOADS\n3\n1 500\n2 -20\n3 0\n"));
    ASSERT_EQ(ei.status(), 0) << ei.report;
    EXPECT_EQ(ei.model->Loads[1].Axial_Thrust, -20.0);
    EXPECT_EQ(ei.model->Loads[3].Axial_Thrust, 500.0);
    EXPECT_EQ(ei.model->i_Num_Axial_Thrusts, 3);
    EXPECT_EQ(ei.model->Axial_Thrust_List[3], 500.0);
    ReadResult zero = Read_Text(Input(Options() + "AXIAL THRUST LOADS\n0\nTIP SHEAR\n0\n"));
    ASSERT_EQ(zero.status(), 0);
    EXPECT_EQ(zero.model->i_Num_Loads, 1);

    // With LRFD the unfactored axial forces are the source.
    ReadResult lrfd = Read_Text(
        Input(Lrfd_Options() + section + "LRFD LOADS\n2\n1 1 0 0 7000 0\n2 2 0 0 3000 0\n"));
    ASSERT_EQ(lrfd.status(), 0) << lrfd.report;
    EXPECT_EQ(lrfd.model->i_Num_Axial_Thrusts, 2);
    EXPECT_EQ(lrfd.model->Axial_Thrust_List[1], 3.0);
}

TEST(Lrfd, LoadsAndTheirErrors) {
    struct Case {
        std::string body;
        int status;
        std::string text;
    };
    const Case cases[] = {
        {"0\n", 198,
         "\n\n***** Input Data Error No. 98 *****\n\nNumber of LRFD loads specified is 0\nThis "
         "is outside of the valid range to 1 to 100\n\n\n"},
        {"101\n", 198, "Number of LRFD loads specified is 101\n"},
        {"2\n1 1 0 0 0 0\n3 1 0 0 0 0\n", 197,
         "***** Input Data Error No. 97 *****\n\nInput appears to be out-of-order for LRFD "
         "loading\nInput load number is 3 and the expected load number is 2\n\n\n"},
        {"1\n1 1 0 0 0 2\n1 0 1\n3 5 0\n", 196,
         "***** Input Data Error No. 96 *****\n\nInput appears to be out-of-order for LRFD "
         "distributed load 1\n\nInput distributed load point is 3 and the expected point number "
         "is 2\n\n\n"},
        {"1\n1 1 0 0 0 1\n", 195,
         "***** Input Data Error No. 95 *****\n\nNumber of distributed load points for LRFD "
         "load number 1 is outside of the valid range of 0 or 2 to 100.\n\nThe input number of "
         "distributed load points is 1\n\n\n"},
        {"1\n1 1 0 0 0 101\n", 195, "The input number of distributed load points is 101"},
        {"1\n1 1 0 0 0 51\n", 192, "At most 50 distributed load points for LRFD load 1"},
        {"1\n1 1 0 0 0 0\n", 0, ""},
    };
    for (const Case& c : cases) {
        ReadResult r = Read_Text(Input(Lrfd_Options() + "LRFD LOADS\n" + c.body));
        EXPECT_EQ(r.status(), c.status) << c.body;
        EXPECT_TRUE(Contains(r.report, c.text)) << c.body << "\n----\n" << r.report;
    }
    ReadResult ok = Read_Text(Input(Lrfd_Options() + "LRFD LOADS\n1\n1 5 10 20 30 2\n1 0 4\n"
                                                     "2 100 0\n"));
    ASSERT_EQ(ok.status(), 0);
    const LrfdLoad& load = ok.model->Lrfd_Loads[1];
    EXPECT_EQ(load.i_Load_Type, 5);
    EXPECT_EQ(load.Moment, 20.0);
    EXPECT_EQ(load.i_Num_Dist_Points, 2);
    EXPECT_EQ(load.Dist_Load[2].Depth, 100.0);
}

TEST(Lrfd, FactorsAndCombinations) {
    const std::string zeros = " 0 0 0 0 0 0 0 0 0 0 0 0 0";
    ReadResult r = Read_Text(Input(Lrfd_Options() +
                                   "LRFD FACTORS AND CASES\n3\n"
                                   "1" +
                                   zeros +
                                   " 0 0\nNothing\n"
                                   "2 1.25 1.75 0 0 0 0 0 0 0 0 0 0 0 0 -1\n"
                                   "Strength I  \n"
                                   "3 0.01 0 0 0 0 0 0 0 0 0 0 0 0 0.9 0.8\n"
                                   "Tiny\n"));
    EXPECT_EQ(r.status(), 172) << "an all-zero combination ends the run after the block";
    const AnalysisModel& m = *r.model;
    EXPECT_EQ(m.i_Num_Lrfd_Combinations, 3);
    EXPECT_EQ(m.Lrfd_Combinations[2].Resistance_Factor_Flexure, 0.75);
    EXPECT_EQ(m.Lrfd_Combinations[2].Resistance_Factor_Shear, 0.75);
    EXPECT_EQ(m.Lrfd_Combinations[2].Load_Factor[2], 1.75);
    EXPECT_EQ(m.Lrfd_Combinations[2].Name, "Strength I");
    EXPECT_EQ(m.Lrfd_Combinations[3].Resistance_Factor_Shear, 0.8);
    EXPECT_TRUE(Contains(r.report, "\n\n***** Input Data Error No. 72 *****\n\nAll input load "
                                   "factors for LRFD analysis are zero.\n\nThe number of the "
                                   "LRFD load combination in error is 1\n\n\n"));
    EXPECT_FALSE(Contains(r.report, "combination in error is 3"));

    ReadResult two_bad = Read_Text(Input(Lrfd_Options() + "LRFD FACTORS AND CASES\n2\n1" + zeros +
                                         " 0 0\nA\n2" + zeros + " 0 0\nB\n"));
    EXPECT_EQ(two_bad.status(), 172);
    EXPECT_TRUE(Contains(two_bad.report, "combination in error is 2"));

    for (const char* count : {"0", "101"}) {
        ReadResult c = Read_Text(Input(Lrfd_Options() + "LRFD FACTORS AND CASES\n" + count + "\n"));
        EXPECT_EQ(c.status(), 194);
        EXPECT_TRUE(Contains(c.report, "***** Input Data Error No. 94 *****\n\nNumber of LRFD "
                                       "load combinations outside of the valid range of 1 to "
                                       "100.\n\nNumber of LRFD load combinations input is " +
                                           std::string(count) + "\n\n\n"));
    }
    ReadResult no_name =
        Read_Text("ZARNOK6\n" + Lrfd_Options() + "LRFD FACTORS AND CASES\n1\n1 1" + zeros + " 0\n");
    EXPECT_EQ(no_name.status(), 191);
}

TEST(SmallBlocks, SoilMovementsNeedTheirOption) {
    ReadResult off = Read_Text(Input(Options() + "SOIL MOVEMENTS\n2\n1 0 10\n2 5 0\n"));
    EXPECT_EQ(off.status(), 199);
    EXPECT_TRUE(Contains(off.report, "out-of-order\n\n2\nFound at line"));

    const std::string on = Options("Units SI", 4, "UseSoilMovement YES");
    ReadResult r = Read_Text(Input(on + "SOIL MOVEMENTS\n2\n1 0 10\n2 5 0\n"));
    ASSERT_EQ(r.status(), 0) << r.report;
    EXPECT_EQ(r.model->Soil_Movement[1].Value, 0.01) << "millimetres are stored as metres";
    EXPECT_EQ(r.model->Soil_Movement[2].Depth, 5.0);
    std::string hundred = "100\n";
    for (int i = 1; i <= 100; ++i) {
        hundred += std::to_string(i) + " " + std::to_string(i) + " 0\n";
    }
    EXPECT_EQ(Read_Text(Input(on + "SOIL MOVEMENTS\n" + hundred)).status(), 0);
    for (const char* count : {"1", "101"}) {
        ReadResult bad = Read_Text(Input(on + "SOIL MOVEMENTS\n" + count + "\n"));
        EXPECT_EQ(bad.status(), 153);
        const std::string block = "**** Input Data Error No. 53 ****\n\nNumber of lines "
                                  "specified for soil movement data = " +
                                  std::string(count) +
                                  "\nThe number of lines of soil movement data cannot be less "
                                  "than 2 or exceed 100.\n\n";
        EXPECT_TRUE(Contains(bad.report, block));
        EXPECT_TRUE(Contains(bad.messages, block));
    }
}

TEST(SmallBlocks, TablesAnglesAndCapacities) {
    const std::string opts = Options("Units USCS", 14, "PrintPYCurves YES");
    ReadResult r = Read_Text(
        Input(opts + "GROUPEFF\n2\n1 0 0.8 1\n2 10 0.7 1.1\nTIP SHEAR\n1\n1 0.5 1000\n"
                     "PILE BATTER AND SLOPE\n10\n-5\nDEPTHS OF PRINTED P-Y CURVES\n2\n1 5\n2 10\n"
                     "GROUP EFFECT FACTORS\n1\n1 0 0.5 1\n"),
        true);
    ASSERT_EQ(r.status(), 0) << r.report;
    const AnalysisModel& m = *r.model;
    EXPECT_EQ(m.i_Num_Group_Effect_Rows, 1) << "a later block replaces the earlier one";
    EXPECT_EQ(m.Group_Effect[1].pMult, 0.5);
    EXPECT_EQ(m.i_Num_Tip_Shear_Points, 1);
    EXPECT_EQ(m.Tip_Shear[1].Shear, 1000.0);
    EXPECT_DOUBLE_EQ(m.Ground_Slope, 10.0 * 3.141592653589793 / 180.0);
    EXPECT_DOUBLE_EQ(m.Pile_Batter, -5.0 * 3.141592653589793 / 180.0);
    EXPECT_DOUBLE_EQ(m.Slope_Minus_Batter, 15.0 * 3.141592653589793 / 180.0);
    EXPECT_EQ(m.i_Num_Printed_py_Depths, 2);
    EXPECT_EQ(m.Printed_py_Depth[2], 120.0) << "feet to inches";
    EXPECT_EQ(m.Group_Effect[2].Z, 10.0) << "rows beyond the count are not converted";

    EXPECT_EQ(Read_Text(Input(Options() + "DEPTHS OF PRINTED P-Y CURVES\n1\n1 5\n")).status(), 199)
        << "without the option the depth lines are keyword lines";
    EXPECT_EQ(Read_Text(Input(Options() + "GROUPEFF\n81\n")).status(), 192);
    EXPECT_EQ(Read_Text(Input(Options() + "TIP SHEAR\n51\n")).status(), 192);
    EXPECT_EQ(Read_Text(Input(opts + "DEPTHS OF PRINTED P-Y CURVES\n101\n")).status(), 192);
    EXPECT_EQ(Read_Text(Input(Options() + "TIP SHEAR\n0\nGROUPEFF\n-1\n")).status(), 0);
}

TEST(Examples, EveryExampleAndSeedInputIsReadWithoutError) {
    int files = 0;
    for (const char* dir : {"examples", "fuzz/seeds"}) {
        for (const auto& e : fs::directory_iterator(fs::path(ZARNO_SOURCE_DIR) / dir)) {
            if (e.path().extension() != ".inp") {
                continue;
            }
            ++files;
            ReadResult r = Read_Text(Read_File(e.path()), true);
            EXPECT_EQ(r.status(), 0) << e.path() << "\n" << r.report;
        }
    }
    EXPECT_GE(files, 5);
    ReadResult ei = Read_Text(Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples/ei_only_shaft.inp"));
    EXPECT_EQ(ei.model->i_Analysis_Type, 2);
    EXPECT_EQ(ei.model->i_Num_Axial_Thrusts, 3);
    EXPECT_EQ(ei.model->Axial_Thrust_List[3], 500.0);
}

} // namespace
} // namespace zarno::test
