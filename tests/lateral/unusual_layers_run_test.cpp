// Layers the engine cannot give a p-y curve: frozen soil, massive rock, and properties left
// to a default that general units cannot supply. Each ends the run with a message that
// names the layer and the remedy, never with a silent end or a misleading error.
#include "lateral_input.h"

#include <gtest/gtest.h>

namespace zarno::test {
namespace {

std::string General_Units(const std::string& input) {
    std::string text = input;
    text.replace(text.find("Units USCS"), 10, "Units GENERAL");
    return text;
}

// Clay 0-10 ft, frozen soil 10-20 ft, clay 20-60 ft: on some grids a station lands on the
// frozen layer's boundaries, on others not; the answer must not depend on that.
TEST(UnusualLayersRun, FrozenSoilIsAnInputErrorThatNamesTheLayer) {
    for (const int increments : {100, 120}) {
        SCOPED_TRACE(increments);
        LateralCase c;
        c.length_ft = 50.0;
        c.increments = increments;
        c.layers = "3\n1 0.0 10.0\n50.0 400.0 0.02\n50.0 400.0 0.02\n17 10.0 20.0\n"
                   "1 20.0 60.0\n50.0 600.0 0.01\n50.0 800.0 0.01\n";
        c.loads = {"1 20000.0 0.0 0.0 1"};
        const RunOutput out = Run_Text(Lateral_Input(c));
        EXPECT_EQ(out.result, 157);
        for (const std::string* text : {&out.report, &out.messages}) {
            EXPECT_NE(text->find("**** Input Data Error No. 57 ****"), std::string::npos);
            EXPECT_NE(text->find("Problem:  Soil layer 2 is frozen soil (p-y type 17). No p-y "
                                 "criterion is available"),
                      std::string::npos);
            EXPECT_NE(text->find("user-input p-y curves (p-y type 14)"), std::string::npos);
        }
        EXPECT_NE(out.report.find("input error number INP00057"), std::string::npos);
        EXPECT_EQ(out.report.find("Runtime Error"), std::string::npos);
    }
}

TEST(UnusualLayersRun, MassiveRockEndsWith99AndSaysWhyInBothFiles) {
    LateralCase c;
    c.length_ft = 50.0;
    c.layers = "2\n1 0.0 10.0\n50.0 400.0 0.02\n50.0 400.0 0.02\n"
               "16 10.0 60.0\n150.0 5000.0 35 50.0 500000.0\n150.0 5000.0 35 50.0 500000.0\n";
    c.loads = {"1 20000.0 0.0 0.0 1"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    EXPECT_EQ(out.result, 99);
    for (const std::string* text : {&out.report, &out.messages}) {
        EXPECT_NE(text->find("**** Analysis Stopped: Massive Rock Layer ****"), std::string::npos);
        EXPECT_NE(text->find("Problem:  Soil layer 2 is massive rock (p-y type 16). No p-y "
                             "criterion for massive"),
                  std::string::npos);
        EXPECT_NE(text->find("weak rock criteria (p-y type 8)"), std::string::npos);
        EXPECT_NE(text->find("user-input p-y curves (p-y type 14)"), std::string::npos);
    }
}

TEST(UnusualLayersRun, GeneralUnitsWithoutADefaultNameTheLayerAndTheProperty) {
    struct Case {
        const char* name;
        const char* layers;
        const char* problem;
    };
    const Case cases[] = {
        {"stiff clay without eps50",
         "2\n5 0.0 120.0\n0.03 35.0 90.0\n0.03 35.0 90.0\n"
         "3 120.0 700.0\n0.03 14.0 0.0\n0.03 28.0 0.0\n",
         "Problem:  Soil layer 2 (StfClyAW) has no value of epsilon-50 at its top."},
        {"soft clay without eps50 at its bottom", "1\n1 0.0 700.0\n0.03 3.0 0.02\n0.03 6.0 0.0\n",
         "Problem:  Soil layer 1 (SoftClay) has no value of epsilon-50 at its bottom."},
        {"API sand without k", "1\n6 0.0 700.0\n0.03 35.0 0.0\n0.03 35.0 0.0\n",
         "Problem:  Soil layer 1 (API Sand) has no value of the subgrade modulus k at its top."},
        {"stiff clay with free water without k",
         "1\n2 0.0 700.0\n0.03 14.0 0.005 0.0\n0.03 28.0 0.005 0.0\n",
         "Problem:  Soil layer 1 (StfClyBW) has no value of the subgrade modulus k at its top."},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        LateralCase c;
        c.length_ft = 600.0; // general units: the length unit of the input
        c.layers = k.layers;
        c.loads = {"1 20000.0 0.0 0.0 1"};
        const RunOutput out = Run_Text(General_Units(Lateral_Input(c)));
        EXPECT_EQ(out.result, 158);
        for (const std::string* text : {&out.report, &out.messages}) {
            EXPECT_NE(text->find("**** Input Data Error No. 58 ****"), std::string::npos);
            EXPECT_NE(text->find(k.problem), std::string::npos) << *text;
        }
        EXPECT_EQ(out.report.find("NaN"), std::string::npos);
        EXPECT_EQ(out.report.find("Runtime Error"), std::string::npos);
    }
    // With the strain given, the same stiff clay runs in general units.
    LateralCase c;
    c.length_ft = 600.0; // general units: the length unit of the input
    c.layers = "1\n3 0.0 700.0\n0.03 14.0 0.005\n0.03 28.0 0.005\n";
    c.loads = {"1 20000.0 0.0 0.0 1"};
    EXPECT_LE(Run_Text(General_Units(Lateral_Input(c))).result, 0);
}

} // namespace
} // namespace zarno::test
