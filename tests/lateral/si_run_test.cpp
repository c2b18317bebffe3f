// An SI run against the closed-form beam on an elastic foundation: section dimensions are
// read in millimetres, soil and loads in kN and metres.
#include "test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno::test {
namespace {

const char* kSiElasticPile = R"(ZARNOK6
TITLE
SI elastic check




OPTIONS
Units SI
UseLRFD NO
ComputeKmatrix NO
UseTipShear NO
UseSoilMovement NO
UsePYModifiers NO
ComputeEIOnly NO
Loading STATIC     0
MaxIterations 100
ExcessDeflection 10.0
Tolerance 1.0E-08
Increments 200
PrintSummaryOnly NO
PrintIncrement 10
PrintPYCurves NO
ComputeInteraction NO
SECTIONS
1
1
11
45.0
2
200000000.0
600.0
600.0
282743.0
282743.0
6.4E9
6.4E9
SOIL LAYERS
1
13 0.0 45.0
10.0 20000.0
10.0 20000.0
LOADING
1
1 1 50.0 0.0 0.0 1
0
END
)";

double Value_After(const std::string& text, const std::string& label) {
    const size_t at = text.find(label);
    return at == std::string::npos ? std::nan("") : std::stod(text.substr(at + label.size()));
}

TEST(SiRun, ElasticPileMatchesTheBeamOnElasticFoundation) {
    RunOutput out = Run_Text(kSiElasticPile);
    ASSERT_EQ(out.result, 0);
    // 600 mm wide, E = 2e8 kPa, I = 6.4e9 mm^4 = 0.0064 m^4, subgrade 20000 kN/m^3, V = 50 kN.
    const double k = 20000.0 * 0.6;
    const double EI = 2.0e8 * 0.0064;
    const double lambda = std::pow(k / (4.0 * EI), 0.25);
    const double y0 = 2.0 * 50.0 * lambda / k;
    // Free head under shear: M(x) = -(V/lambda) e^(-lambda x) sin(lambda x), largest at
    // lambda x = pi/4.
    const double Mmax =
        50.0 / lambda * std::exp(-std::numbers::pi / 4.0) * std::sin(std::numbers::pi / 4.0);
    EXPECT_NEAR(Value_After(out.report, "Pile-head deflection             = "), y0, 2e-3 * y0);
    EXPECT_NEAR(std::fabs(Value_After(out.report, "Maximum bending moment           = ")), Mmax,
                3e-3 * Mmax);
    EXPECT_NE(out.report.find(" meters"), std::string::npos);
}

} // namespace
} // namespace zarno::test
