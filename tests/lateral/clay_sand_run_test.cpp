// Whole lateral runs in clay and sand layers: each model converges under a head shear, its
// solution passes the equilibrium verdict, and the soil reaction at every station lies on
// the secant the model gave it.
#include "lateral_input.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zarno::test {
namespace {

struct ModelRun {
    const char* name;
    const char* layers; // SOIL LAYERS body (feet, pcf, psf, pci)
    const char* loading;
};

constexpr ModelRun kRuns[] = {
    {"soft clay", "1\n1 0.0 60.0\n50.0 400.0 0.02\n60.0 1200.0 0.01\n", "STATIC     0"},
    {"soft clay cyclic", "1\n1 0.0 60.0\n50.0 400.0 0.02\n60.0 1200.0 0.01\n", "CYCLIC   100"},
    {"soft clay with J", "1\n15 0.0 60.0\n50.0 400.0 0.02 0.25\n60.0 1200.0 0.01 0.25\n",
     "STATIC     0"},
    {"stiff clay with free water", "1\n2 0.0 60.0\n60.0 2000.0 0.0 0.0\n60.0 4000.0 0.0 0.0\n",
     "STATIC     0"},
    {"stiff clay with free water cyclic",
     "1\n2 0.0 60.0\n60.0 2000.0 0.0 0.0\n60.0 4000.0 0.0 0.0\n", "CYCLIC    10"},
    {"stiff clay without free water", "1\n3 0.0 60.0\n60.0 2000.0 0.0\n60.0 4000.0 0.0\n",
     "STATIC     0"},
    {"stiff clay without free water with k",
     "1\n4 0.0 60.0\n60.0 2000.0 0.0 0.0\n60.0 4000.0 0.0 0.0\n", "CYCLIC    10"},
    {"Reese sand", "1\n5 0.0 60.0\n60.0 35.0 90.0\n60.0 35.0 90.0\n", "STATIC     0"},
    {"Reese sand cyclic default k", "1\n5 0.0 60.0\n60.0 35.0 0.0\n60.0 35.0 0.0\n",
     "CYCLIC   100"},
    {"API sand", "1\n6 0.0 60.0\n60.0 35.0 90.0\n60.0 35.0 90.0\n", "STATIC     0"},
    {"soft clay over sand",
     "2\n1 0.0 10.0\n50.0 400.0 0.02\n50.0 400.0 0.02\n"
     "5 10.0 60.0\n60.0 35.0 90.0\n60.0 35.0 90.0\n",
     "STATIC     0"},
    {"sand over stiff clay",
     "2\n6 0.0 10.0\n60.0 35.0 90.0\n60.0 35.0 90.0\n"
     "3 10.0 60.0\n60.0 2000.0 0.0\n60.0 3000.0 0.0\n",
     "STATIC     0"},
    {"liquefied sand over sand",
     "2\n7 0.0 10.0\n50.0\n50.0\n5 10.0 60.0\n60.0 35.0 90.0\n"
     "60.0 35.0 90.0\n",
     "STATIC     0"},
};

std::string With_Loading(std::string input, const char* loading) {
    const std::string from = "Loading STATIC     0";
    input.replace(input.find(from), from.size(), std::string("Loading ") + loading);
    return input;
}

TEST(ClaySandRun, EveryModelConvergesAndPassesTheEquilibriumCheck) {
    for (const ModelRun& r : kRuns) {
        SCOPED_TRACE(r.name);
        LateralCase c;
        c.length_ft = 50.0;
        c.layers = r.layers;
        c.loads = {"1 20000.0 0.0 0.0 1"};
        const RunOutput out = Run_Text(With_Loading(Lateral_Input(c), r.loading));
        ASSERT_LE(out.result, 0) << out.report;
        EXPECT_NE(out.report.find("Output Verification: Computed forces and moments are within"),
                  std::string::npos);
        const auto cases = Read_Stations(out.plot);
        ASSERT_EQ(cases.size(), 1u);
        const auto& st = cases[0];
        ASSERT_EQ(st.size(), 101u);
        // The head moves with the load and the soil pushes back against it below the head.
        EXPECT_GT(st[0].y, 0.0);
        EXPECT_LT(st[10].p, 0.0);
        EXPECT_EQ(out.report.find("NaN"), std::string::npos);
    }
}

// Liquefied sand has no stiffness at rest (the curve starts flat), but it stiffens with
// deflection: a loaded pile finds the deflection where the sand carries the load, and an
// unloaded one stays at rest with no spring at all, never dividing by a zero deflection.
TEST(ClaySandRun, PileInLiquefiedSandOnlyFindsItsSupportByDeflecting) {
    LateralCase c;
    c.length_ft = 50.0;
    c.layers = "1\n7 0.0 60.0\n50.0\n50.0\n";
    c.loads = {"1 20000.0 0.0 0.0 1", "1 0.0 0.0 0.0 1"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    ASSERT_LE(out.result, 0) << out.report;
    EXPECT_EQ(Count(out.report, "Output Verification: Computed forces and moments are within"), 2);
    const auto cases = Read_Stations(out.plot);
    ASSERT_EQ(cases.size(), 2u);
    EXPECT_GT(cases[0][0].y, 0.5); // far softer than the sands above
    for (const Station& s : cases[1]) {
        EXPECT_EQ(s.y, 0.0);
        EXPECT_EQ(s.p, 0.0);
    }
    EXPECT_EQ(out.report.find("NaN"), std::string::npos);
}

} // namespace
} // namespace zarno::test
