// Strengths that vanish and moduli without bound: a positive cohesion far below any clay is
// refused, a zero cohesion at the top of a lower layer gives results that settle as the
// stations get closer, and a secant modulus beyond any ground is held at the ceiling with a
// warning, so no run that ends normally carries a non-finite number.
#include "py/py_framework.h"
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace zarno::test {
namespace {

std::string Pipe_Deck() {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp");
}

// The pipe example with the cohesion at the top of its stiff clay (layer 2) replaced.
std::string With_Top_Cohesion(const std::string& c, int increments = 100) {
    return Replaced(
        Replaced(Pipe_Deck(), "57.6  1000.0  0.007  0.0", "57.6  " + c + "  0.007  0.0"),
        "Increments 100", "Increments " + std::to_string(increments));
}

bool All_Finite(const RunResults& r) {
    for (const LoadCaseResult& c : r.load_cases) {
        for (const NodeResult& n : c.nodes) {
            for (double v :
                 {n.deflection, n.slope, n.moment, n.shear, n.soil_reaction, n.soil_modulus}) {
                if (!std::isfinite(v)) {
                    return false;
                }
            }
        }
    }
    return true;
}

TEST(VanishingStrength, APositiveCohesionBelowAnyClayIsAnInputError) {
    for (const char* c : {"1e-9", "1e-300", "0.5", "-100.0"}) {
        const MemoryRun o = Run_Text_In_Memory(With_Top_Cohesion(c));
        EXPECT_EQ(o.result, 133) << c;
        const std::string text = Error_Text(o.results);
        EXPECT_NE(text.find("cohesion at the top of layer 2"), std::string::npos) << text;
        // A positive value names the floor; a negative one is refused with the other
        // negative strengths ("zero or more").
        EXPECT_NE(text.find(c[0] == '-' ? "zero or more" : "at least 1 psf"), std::string::npos)
            << text;
    }
    EXPECT_LE(Run_Text_In_Memory(With_Top_Cohesion("1.0")).result, 0)
        << "the floor itself is a strength";
}

// Zero is "no strength at this end": the layer gets no equivalent depth, and the pile-head
// deflection of the larger load settles as the stations get closer instead of jumping
// with the spacing as a pinned station does.
TEST(VanishingStrength, ZeroCohesionAtALayerTopGivesSpacingIndependentResults) {
    double previous = 0.0;
    for (int increments : {100, 200, 400}) {
        const MemoryRun o = Run_Text_In_Memory(With_Top_Cohesion("0.0", increments));
        ASSERT_LE(o.result, 0) << increments;
        ASSERT_EQ(o.results.load_cases.size(), 2u);
        const double y = o.results.load_cases[1].head_deflection;
        EXPECT_TRUE(All_Finite(o.results));
        if (previous != 0.0) {
            EXPECT_NEAR(y, previous, 0.001 * previous) << increments;
        }
        previous = y;
    }
}

// An elastic subgrade of 1e19 pci and a user curve through a point at y = 1e-300 ask for
// moduli beyond any ground; they are held at 1e11 lb/in^2 and named in a warning.
TEST(VanishingStrength, AModulusBeyondAnyGroundIsHeldAtTheCeilingWithAWarning) {
    const std::string soil_old =
        Pipe_Deck().substr(Pipe_Deck().find("SOIL LAYERS"),
                           Pipe_Deck().find("LOADING") - Pipe_Deck().find("SOIL LAYERS"));
    const std::string layers[] = {
        "SOIL LAYERS\n1\n13 0.0 70.0\n57.6 1e19\n57.6 1e19\n",
        "SOIL LAYERS\n1\n14 0.0 70.0\n57.6 3\n0.0 0.0\n1e-300 100.0\n2.0 150.0\n"
        "57.6 3\n0.0 0.0\n1e-300 100.0\n2.0 150.0\n",
    };
    for (const std::string& soil : layers) {
        const MemoryRun o = Run_Text_In_Memory(Replaced(Pipe_Deck(), soil_old, soil));
        // The subgrade run ends with the warning; the user curve, a step to 100 lb/in at
        // 1e-300 in, may end without converging (runtime error 10), which is an honest end.
        if (soil.find("1e19") != std::string::npos) {
            EXPECT_LT(o.result, 0) << Error_Text(o.results);
        } else {
            EXPECT_TRUE(o.result < 0 || o.result == 210) << o.result << Error_Text(o.results);
        }
        bool noted = false;
        for (const MessageResult& n : o.results.notes) {
            noted = noted || (n.code == WARNING_ES_CEILING &&
                              n.text[0].find("soil layer 1") != std::string::npos &&
                              n.text[0].find("1e+11 lb/in^2") != std::string::npos);
        }
        EXPECT_TRUE(noted) << soil;
        EXPECT_TRUE(All_Finite(o.results)) << soil;
        for (const LoadCaseResult& c : o.results.load_cases) {
            for (const NodeResult& n : c.nodes) {
                EXPECT_LE(n.soil_modulus, py_Max_Secant_Modulus(USCS));
            }
        }
        if (soil.find("1e19") != std::string::npos) {
            // A foundation this stiff against the pipe (beta * h far above 1) leaves the head
            // station alone to carry the shear on its half increment of spring:
            // y = V / (Es * h / 2), with h = 60 ft / 100 increments = 7.2 in.
            ASSERT_EQ(o.results.load_cases.size(), 2u);
            const double expected = 20000.0 / (1e11 * 7.2 / 2.0);
            EXPECT_NEAR(o.results.load_cases[0].head_deflection, expected, 0.01 * expected);
        }
        EXPECT_EQ(o.report.find("Infinity"), std::string::npos);
        EXPECT_EQ(o.report.find("NaN"), std::string::npos);
    }
}

} // namespace
} // namespace zarno::test
