#include "input_test_support.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zarno::test {
namespace {

std::string Layers(const std::string& body, const std::string& units = "Units USCS") {
    return Input(Options(units) + "SOIL LAYERS\n" + body);
}

TEST(SoilLayers, EveryTypeReadsItsLinesInto17Layers) {
    // The coverage seed holds all seventeen p-y types, user curves included.
    const std::string text =
        Read_File(std::filesystem::path(ZARNO_SOURCE_DIR) / "fuzz/seeds/all_soils.inp");
    ReadResult r = Read_Text(text);
    ASSERT_EQ(r.status(), 0) << r.report;
    const AnalysisModel& m = *r.model;
    ASSERT_EQ(m.i_Num_Layers, 17);
    EXPECT_EQ(m.Profile.i_Num_Gamma_Points, 34);
    EXPECT_EQ(m.Profile.i_Num_Strength_Points, 34);
    for (int c = 1; c <= 17; ++c) {
        EXPECT_EQ(m.Layers[c].i_SoilLayer_py_Type, c);
        EXPECT_EQ(m.Profile.Strength_Depth[2 * c - 1], m.Layers[c].XLayerTop);
        EXPECT_EQ(m.Profile.Gamma_Depth[2 * c], m.Layers[c].XLayerBottom);
    }
    const SoilProfile& p = m.Profile;
    EXPECT_EQ(p.c[2], 600.0); // soft clay, bottom
    EXPECT_EQ(m.Layers[2].k_Top, 500.0);
    EXPECT_EQ(p.phi[11], 36.0); // API sand
    EXPECT_EQ(m.Layers[6].k_Bottom, 125.0);
    EXPECT_EQ(p.Gamma[13], 60.0);   // liquefied sand: unit weight only
    EXPECT_EQ(p.RQD[15], 50.0);     // weak rock
    EXPECT_EQ(p.eps50[16], 0.0005); // k_rm
    EXPECT_EQ(m.Layers[8].k_Top, 100000.0);
    EXPECT_EQ(m.Layers[10].i_Piedmont_Test_Type, 1);
    EXPECT_EQ(p.N60[20], 25.0);
    EXPECT_EQ(p.eps50[22], 0.005); // cemented silt
    EXPECT_EQ(p.qc[23], 300.0);    // loess
    EXPECT_EQ(p.Es[26], 500.0);    // elastic subgrade
    const SoilLayer& user = m.Layers[14];
    EXPECT_EQ(user.User_py_Top.i_Num_Points, 3);
    EXPECT_EQ(user.User_py_Bottom.p[2], 120.0);
    EXPECT_EQ(user.User_py_Bottom.Depth, 70.0);
    EXPECT_EQ(p.J[30], 0.25); // soft clay with J
    EXPECT_EQ(p.HB_Rock_Type[31], 35);
    EXPECT_EQ(p.HB_Erm[32], 500000.0);
    EXPECT_EQ(p.c[31], 5000.0);
    EXPECT_EQ(m.Layers[17].XLayerBottom, 110.0) << "frozen soil reads only its header line";
}

TEST(SoilLayers, UsCustomaryConversion) {
    ReadResult r = Read_Text(Layers("3\n1 5 20\n432 1440 0.02\n432 2880 0.01\n"
                                    "8 20 30\n100 1440 1e5 50 5e-4\n100 1440 1e5 50 5e-4\n"
                                    "14 30 40\n60 1\n0.5 100\n60 1\n0.5 120\n"),
                             true);
    ASSERT_EQ(r.status(), 0) << r.report;
    const AnalysisModel& m = *r.model;
    EXPECT_EQ(m.Ground_Surface_Depth, 60.0) << "a first layer at 5 ft puts the ground at 60 in";
    EXPECT_EQ(m.Layers[1].XLayerTop, 60.0);
    EXPECT_EQ(m.Layers[1].XLayerBottom, 240.0);
    EXPECT_EQ(m.Profile.c[1], 10.0) << "1440 psf is 10 psi";
    EXPECT_EQ(m.Profile.c[2], 20.0);
    EXPECT_EQ(m.Profile.Gamma[1], 0.25) << "432 pcf is 0.25 pci";
    EXPECT_EQ(m.Profile.c[3], 1440.0) << "weak rock strength is read in psi";
    EXPECT_EQ(m.Profile.Strength_Depth[6], 480.0);
    EXPECT_EQ(m.Layers[3].User_py_Bottom.Depth, 480.0);
    EXPECT_TRUE(m.b_Units_Converted);
    Convert_USCS_Input_Units(*r.model); // a second call changes nothing
    EXPECT_EQ(m.Profile.c[1], 10.0);

    ReadResult si = Read_Text(Layers("1\n1 5 20\n18 50 0.02\n18 60 0.01\n", "Units SI"), true);
    ASSERT_EQ(si.status(), 0);
    EXPECT_EQ(si.model->Profile.c[1], 50.0) << "SI data are used as read";
    EXPECT_EQ(si.model->Ground_Surface_Depth, 5.0);
}

TEST(SoilLayers, Errors) {
    struct Case {
        std::string body;
        int status;
        std::string text;
    };
    std::string forty_one = "41\n";
    const Case cases[] = {
        {"2\n1 0 5\n110 500 0.02\n110 500 0.02\n21 5 10\n", 193,
         "Soil layer 2 in the SOIL LAYERS block at line 24 of the input file has the p-y type "
         "code 21."},
        {"1\n0 0 5\n", 193, "has the p-y type code 0."},
        {"1\n-4 0 5\n", 193, "Solution: Use a p-y type code from 1 to 20 for every soil layer."},
        {forty_one, 192, "At most 40 soil layers can be analysed"},
        {"1\n14 0 5\n60 31\n", 192, "gives 31 points on the top p-y curve of layer 1."},
        {"1\n14 0 5\n60 2\n0 0\n1 1\n60 -1\n", 192, "points on the bottom p-y curve of layer 1"},
        {"1\n1 0 5\n110 500\n", 190, "Expected the eps50 at the top of layer 1 (a finite number)"},
        {"1\n10 0 5\n110 1.5 1 1 1 1\n", 190, "field-test type at the top of layer 1 (an integer)"},
    };
    for (const Case& c : cases) {
        ReadResult r = Read_Text(Layers(c.body));
        EXPECT_EQ(r.status(), c.status) << c.body;
        EXPECT_TRUE(Contains(r.report, c.text)) << c.body << "\n----\n" << r.report;
    }
}

TEST(SoilLayers, ForeignLinesAreNotSwallowedAsValues) {
    // A table that ends early runs into the next keyword, which is not a number.
    ReadResult r = Read_Text(Layers("2\n1 0 5\n110 500 0.02\n110 500 0.02\nLOADING\n"));
    EXPECT_EQ(r.status(), 190);
    EXPECT_TRUE(Contains(r.report, "Expected the p-y type code of layer 2 (an integer), but "
                                   "found \"LOADING\"."));
}

} // namespace
} // namespace zarno::test
