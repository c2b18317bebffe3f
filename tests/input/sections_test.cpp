#include "input_test_support.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zarno::test {
namespace {

std::string Sections(const std::string& units, const std::string& body) {
    return Input(Options(units) + "SECTIONS\n" + body);
}

const char* kConcrete = "4000.0\n0.75\nUse default concrete tensile strength\n"
                        "Use internal stress-strain curve for concrete\n";

TEST(Sections, SiShaftStoresMetresAndCircularRebar) {
    ReadResult r =
        Read_Text(Sections("Units SI", "1\n1\n1\n15.0\n600.0\n28000.0\n19.0\n"
                                       "Use default concrete tensile strength\n"
                                       "Use internal stress-strain curve for concrete\n"
                                       "Rebar Arrangement Not Same As Section Above\n"
                                       "Rebar in circle\n420000.0\n2.0E8\n8\n2\n25.0\n491.0\n"
                                       "75.0\n10.0\n"));
    ASSERT_EQ(r.status(), 0) << r.report;
    const PileSection& s = r.model->Sections[1];
    EXPECT_EQ(s.i_Section_Type, 1);
    EXPECT_DOUBLE_EQ(s.Diameter, 0.6);
    EXPECT_EQ(s.Length, 15.0) << "section lengths are stored as entered";
    EXPECT_EQ(s.fc, 28000.0) << "strengths are stored as entered";
    EXPECT_DOUBLE_EQ(s.Max_Aggregate_Size, 0.019);
    EXPECT_EQ(s.Rebar_fy, 420000.0);
    EXPECT_EQ(s.i_Num_Bars, 16);
    EXPECT_DOUBLE_EQ(s.Bar_Dia[16], 0.025);
    EXPECT_DOUBLE_EQ(s.Bar_Area_k[16], 491.0e-6);
    EXPECT_DOUBLE_EQ(s.Cover, 0.075);
    EXPECT_DOUBLE_EQ(s.Cage_Offset, 0.01);
    EXPECT_TRUE(s.b_Bars_In_Circle);
    EXPECT_EQ(s.XTop, 0.0);
    EXPECT_EQ(s.XBottom, 15.0);
    EXPECT_EQ(r.model->Pile_Length, 15.0);
    EXPECT_DOUBLE_EQ(s.Width_Top, 0.6);
    EXPECT_EQ(r.messages, "Input of data begun\nReading analysis options\nReading section "
                          "properties for Section 1\nReading concrete property data for Section "
                          "1\nReading rebar property data for Section 1\n");
}

TEST(Sections, CoreAndUserEiCodesAreStoredWithTheirFlags) {
    ReadResult r = Read_Text(Sections(
        "Units USCS", std::string("3\n1\n-3\n10\n42\n0.5\n36000\n29e6\n12\n0.5\n36000\n29e6\n") +
                          kConcrete + "No rebar\n2\n-13\n20\n24\n1\n100.0\n2\n0 0\n1e6 1e-4\n" +
                          "3\n13\n5\n24\n1\n0\n1\n0 4e10\n"));
    ASSERT_EQ(r.status(), 0) << r.report;
    const PileSection& core = r.model->Sections[1];
    EXPECT_EQ(core.i_Section_Type, 3);
    EXPECT_FALSE(core.b_Core_Filled);
    EXPECT_EQ(core.Core_Diameter, 12.0);
    EXPECT_EQ(core.i_Num_Bars, 0);
    const PileSection& curv = r.model->Sections[2];
    EXPECT_EQ(curv.i_Section_Type, 13);
    EXPECT_TRUE(curv.b_User_EI);
    EXPECT_TRUE(curv.b_Moment_vs_Curvature);
    EXPECT_FALSE(curv.b_Moment_vs_EI);
    EXPECT_EQ(curv.User_EI[1].Axial_Thrust, 100.0);
    EXPECT_EQ(curv.User_EI[1].i_Num_Points, 2);
    EXPECT_EQ(curv.User_EI[1].EI_or_Curvature[2], 1e-4);
    EXPECT_EQ(curv.XTop, 10.0);
    EXPECT_EQ(curv.XBottom, 30.0);
    EXPECT_TRUE(r.model->Sections[3].b_Moment_vs_EI);
    EXPECT_EQ(r.model->Sections[3].i_Section_Type, 13);
}

TEST(Sections, PipeAndHPileDerivedValues) {
    ReadResult r = Read_Text(Sections("Units USCS", "3\n1\n4\n10\n24\n0.5\n36000\n29e6\n"
                                                    "2\n11\n10\n5\n29e6\n14.585\n13.61\n0.505\n"
                                                    "0.505\n21.4\n904\n"
                                                    "3\n12\n10\n4\n29e6\n1e7\n14.585\n13.61\n"
                                                    "0.505\n0.505\n21.4\n904\n"));
    ASSERT_EQ(r.status(), 0) << r.report;
    const PileSection& pipe = r.model->Sections[1];
    const double pi = 3.141592653589793;
    EXPECT_NEAR(pipe.I_Top, pi / 64.0 * (std::pow(24.0, 4) - std::pow(23.0, 4)), 1e-9);
    EXPECT_NEAR(pipe.Area_Bottom, pi / 4.0 * (24.0 * 24.0 - 23.0 * 23.0), 1e-12);
    EXPECT_EQ(pipe.E_Top, 29e6);
    const PileSection& weak = r.model->Sections[2];
    EXPECT_EQ(weak.Width_Top, 13.61) << "a weak-axis H-pile faces the soil with its depth";
    EXPECT_EQ(weak.Area_Top, 21.4);
    EXPECT_EQ(weak.I_Bottom, 904.0);
    const PileSection& strong = r.model->Sections[3];
    EXPECT_EQ(strong.Width_Bottom, 14.585);
    EXPECT_EQ(strong.Mp_Top, 1e7);
    EXPECT_EQ(strong.Mp_Bottom, 1e7);
    EXPECT_EQ(strong.XTop, 20.0);
    EXPECT_EQ(r.model->Pile_Length, 30.0);
}

TEST(Sections, SiElasticAndStrandConversions) {
    ReadResult r = Read_Text(Sections(
        "Units SI", std::string("2\n1\n11\n10\n3\n2e8\n610\n610\n12.7\n12.7\n23830\n23830\n"
                                "1.05e9\n1.05e9\n") +
                        "2\n5\n10\n600\n40000\n19\nUse default concrete tensile strength\n"
                        "Use internal stress-strain curve for concrete\n"
                        "Autoposition strands\n1\n3\n8\n1000\n0.1\n75\n0\n"));
    ASSERT_EQ(r.status(), 0) << r.report;
    const PileSection& e = r.model->Sections[1];
    EXPECT_DOUBLE_EQ(e.Elastic_Depth_Top, 0.0127);
    EXPECT_DOUBLE_EQ(e.Area_Top, 0.02383);
    EXPECT_DOUBLE_EQ(e.I_Bottom, 1.05e-3);
    const PileSection& p = r.model->Sections[2];
    EXPECT_EQ(p.i_Num_Strands, 8);
    EXPECT_EQ(p.Strand_fpu, 270000.0);
    EXPECT_EQ(p.Strand_E, 199947760.0);
    const double in = static_cast<double>(0.0254f);
    EXPECT_EQ(p.Bar_Dia[8], static_cast<double>(0.5f) * in);
    EXPECT_EQ(p.Strand_Area, static_cast<double>(0.153f) * in * in);
    EXPECT_DOUBLE_EQ(p.Strand_Cover, 0.075);
}

TEST(Sections, StrandSizeTable) {
    ReadResult r = Read_Text(Input(Options()));
    AnalysisModel& m = *r.model;
    Set_Strand_Size(m, 1, 1, 5, 0);
    EXPECT_EQ(m.Sections[1].Strand_fpu, 157000.0);
    EXPECT_EQ(m.Sections[1].Bar_Area_k[1], static_cast<double>(0.28f));
    EXPECT_EQ(m.Sections[1].Strand_E, 29000.0);
    Set_Strand_Size(m, 1, 2, 2, 1);
    EXPECT_EQ(m.Sections[1].Bar_Dia[2], static_cast<double>(0.438f));
    Set_Strand_Size(m, 1, 3, 2, 5); // no size 5 for this type: nothing set
    Set_Strand_Size(m, 1, 3, 6, 0); // no strand type 6
    EXPECT_EQ(m.Sections[1].Bar_Dia[3], 0.0);
    EXPECT_EQ(m.Sections[1].Strand_fpu, 300000.0);
}

TEST(Sections, Errors) {
    struct Case {
        std::string body;
        int status;
        std::string text;
    };
    const std::string c = kConcrete;
    const Case cases[] = {
        {"2\n1\n1\n10\n36\n" + c + "No rebar\n1\n", 195,
         "SECTION DATA OUT-OF-ORDER\n\nExpecting section number 2, but section number 1 was "
         "found\n"},
        {"1\n1\n1\n10\n36\n4000\n0.75\nuse default concrete tensile strength\n", 195,
         "\nINPUT ERROR - Unrecognized command for concrete tensile strength option\n"},
        {"1\n1\n1\n10\n36\n4000\n0.75\nUse default concrete tensile strength\nInternal\n", 195,
         "\nINPUT ERROR - Unrecognized input for concrete stress-strain option\n"},
        {"1\n1\n1\n10\n36\n4000\n0.75\nOverride concrete tensile strength\n450\n"
         "Input stress-strain curve for concrete\n2\n1 0 0\n3 0.003 4\n",
         195,
         "\nINPUT ERROR - Sequence error encountered when reading concrete stress-strain "
         "curve\n\nExpecting line no. 2 but line no. 3 was read\n\n\n"},
        {"1\n1\n1\n10\n36\n" + c + "Rebar Arrangement\n", 195,
         "\nINPUT ERROR - Unrecognized command for rebar continuation from section above "
         "option\n"},
        {"1\n1\n5\n10\n24\n" + c +
             "Manually-positioned strands\n0\n2\n1e5\n0.1\n1 0 5 0 0\n"
             "3 0 5 1 1\n",
         195, "INPUT ERROR - Input out-of-order for strand no. \n"},
        {"1\n1\n5\n10\n24\n" + c + "Strands by hand\n", 195,
         "INPUT ERROR - Unrecognized input for strand no. 0\n\n"},
        {"21\n", 192, "At most 20 pile sections can be analysed"},
        {"1\n1\n1\n10\n36\n" + c +
             "Rebar Arrangement Same As Section Above\nRebar in circle\n"
             "60000\n29e6\n101\n3\n",
         192, "gives 303 reinforcing bars in section 1."},
        {"1\n1\n1\n10\n36\n" + c + "No rebar\n", 0, ""},
        {"1\n1\n15\n10\n", 190,
         "Expected the section type code (0 to 14, -3 or -13) of section "
         "1, but found \"15\"."},
        {"1\n1\n13\n10\n24\n101\n", 192, "gives 101 axial thrusts in section 1."},
        {"1\n1\n13\n10\n24\n1\n0\n151\n", 192, "moment points for axial thrust 1 of section 1"},
        {"1\n1\n1\n10\n36\n4000\n0.75\nUse default concrete tensile strength\n"
         "Input stress-strain curve for concrete\n101\n",
         192, "gives 101 points on the concrete stress-strain curve of section 1."},
    };
    for (const Case& k : cases) {
        ReadResult r = Read_Text(Sections("Units USCS", k.body));
        EXPECT_EQ(r.status(), k.status) << k.body;
        EXPECT_TRUE(Contains(r.report, k.text)) << k.body << "\n----\n" << r.report;
    }
}

TEST(Sections, NoSectionsAndMicropiles) {
    ReadResult none = Read_Text(Sections("Units USCS", "0\n"));
    ASSERT_EQ(none.status(), 0);
    EXPECT_EQ(none.model->i_Num_Sections, 0);
    ReadResult micro = Read_Text(Sections("Units USCS", "2\n1\n14\n10\n2\n4\n10\n24\n0.5\n"
                                                        "36000\n29e6\n"));
    ASSERT_EQ(micro.status(), 0) << micro.report;
    EXPECT_EQ(micro.model->Sections[1].XBottom, 0.0) << "a micropile takes no depth";
    EXPECT_EQ(micro.model->Sections[2].XTop, 0.0);
    EXPECT_EQ(micro.model->Sections[2].XBottom, 10.0);
}

TEST(Sections, UnknownBarArrangementIsAnInputErrorNamingTheLine) {
    // Read on, the bar data would be taken for the next keywords and the section would
    // lose its reinforcement without a word.
    ReadResult r = Read_Text(Sections("Units USCS", std::string("1\n1\n1\n10\n36\n") + kConcrete +
                                                        "Rebar Arrangement Same As Section Above\n"
                                                        "Rebar in spiral\nTIP SHEAR\n0\n"));
    EXPECT_EQ(r.status(), 174);
    for (const std::string* text : {&r.report, &r.messages}) {
        EXPECT_TRUE(Contains(*text, "**** Input Data Error No. 74 ****")) << *text;
        EXPECT_TRUE(Contains(*text, "Section 1 in the SECTIONS block at line 30 of the input file "
                                    "has the bar arrangement line \"Rebar in spiral\"."))
            << *text;
        EXPECT_TRUE(Contains(*text, "\"Rebar in circle\" or \"Rebar in noncircular pattern\""));
    }
}

} // namespace
} // namespace zarno::test

namespace zarno::test {
namespace {

// Sections start empty: a section read by a second SECTIONS block keeps nothing of the
// section of that number in the first (here the steel core of a cased shaft).
TEST(Sections, ASecondBlockStartsEverySectionEmpty) {
    const std::string first =
        "SECTIONS\n3\n1\n-3\n10\n42\n0.5\n36000\n29e6\n12\n0.5\n36000\n29e6\n" +
        std::string(kConcrete) +
        "No rebar\n2\n-13\n20\n24\n1\n100.0\n2\n0 0\n1e6 1e-4\n"
        "3\n13\n5\n24\n1\n0\n1\n0 4e10\n";
    const std::string second = "SECTIONS\n1\n1\n1\n50\n36\n" + std::string(kConcrete) +
                               "Rebar Arrangement Not Same As Section Above\nRebar in circle\n"
                               "60000\n29e6\n8\n2\n1.0\n0.79\n3.0\n0.5\n";
    ReadResult r = Read_Text(Input(Options("Units USCS") + first + second));
    ASSERT_EQ(r.status(), 0) << r.report;
    const PileSection& s = r.model->Sections[1];
    EXPECT_EQ(s.i_Section_Type, 1);
    EXPECT_EQ(s.Core_Diameter, 0.0);
    EXPECT_EQ(s.Casing_Thickness, 0.0);
    EXPECT_EQ(s.i_Num_Bars, 16);
}

} // namespace
} // namespace zarno::test
