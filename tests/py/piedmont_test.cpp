#include "engine/analysis_model.h"
#include "py/piedmont.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno {
namespace {

// One pci expressed in kN/m³: 4.4482216 N·1e-3 / (0.0254 m)³.
constexpr double PCI_IN_KN_M3 = 271.44713752631344;
constexpr double KPA_PER_PSI = 6.894757293168361;

TEST(Piedmont, InitialModulusForEachFieldTest) {
    struct Case {
        int test;
        double value_us; // blows/ft or psi
        double esi_us;   // pci, by hand
        double value_si; // blows/0.3 m or kPa
    };
    for (const Case& c : {Case{PIEDMONT_SPT, 20.0, 440.0, 20.0},
                          Case{PIEDMONT_CPT, 1000.0, 813.5813629, 1000.0 * KPA_PER_PSI},
                          Case{PIEDMONT_DMT, 5000.0, 380.0, 5000.0 * KPA_PER_PSI},
                          Case{PIEDMONT_PMT, 2000.0, 470.0, 2000.0 * KPA_PER_PSI}}) {
        EXPECT_NEAR(Piedmont_Esi(c.test, c.value_us, USCS), c.esi_us, c.esi_us * 1e-7) << c.test;
        // The SI correlation is the US one in converted units.
        EXPECT_NEAR(Piedmont_Esi(c.test, c.value_si, SI), c.esi_us * PCI_IN_KN_M3,
                    c.esi_us * PCI_IN_KN_M3 * 1e-6)
            << c.test;
        EXPECT_EQ(Piedmont_Esi(c.test, c.value_us, GENERAL), 0.0);
    }
    EXPECT_EQ(Piedmont_Esi(5, 20.0, USCS), 0.0);
}

// A 30-in shaft, SPT N60 = 20: Esi = 440 pci; y1 = 0.03 in, y2 = 1.125 in; plateau
// 0.008112028·440·30² = 3212.363 lb/in.
class PiedmontSptTest : public ::testing::Test {
  protected:
    PiedmontCurve pc = Piedmont_Curve(PIEDMONT_SPT, 20.0, 30.0, USCS);
};

TEST_F(PiedmontSptTest, CurveBranches) {
    EXPECT_NEAR(pc.y1, 0.03, 1e-8); // single-precision 0.001
    EXPECT_NEAR(pc.y2, 1.125, 1e-7);
    EXPECT_NEAR(Piedmont_p(pc, 0.02), 264.0, 1e-9);
    // 440·30·0.3·(1 − 0.21624703·ln 10) = 1988.208 lb/in.
    EXPECT_NEAR(Piedmont_p(pc, 0.3), 1988.2083219, 1e-5);
    EXPECT_NEAR(Piedmont_p(pc, 1.2), 3212.3631419, 1e-5);
    // Continuous at y1; the middle branch ends about 0.03 % short of the plateau at y2.
    EXPECT_NEAR(Piedmont_p(pc, pc.y1) / (440.0 * 30.0 * pc.y1), 1.0, 1e-6);
    const double end_of_middle = Piedmont_p(pc, std::nextafter(pc.y2, 0.0));
    EXPECT_NEAR(1.0 - end_of_middle / pc.p_Ultimate, 3.4e-4, 0.2e-4);
}

TEST_F(PiedmontSptTest, Moduli) {
    EXPECT_NEAR(Piedmont_Es(pc, 0.3, 0.5, 2.0), 0.25 * 1988.2083219 / 0.3, 1e-4);
    // Vanishing deflection: b·Esi/ym, the p-multiplier does not enter.
    EXPECT_DOUBLE_EQ(Piedmont_Es(pc, 0.0, 0.5, 2.0), 30.0 * 440.0 / 2.0);
}

TEST_F(PiedmontSptTest, PrintedDeflections) {
    const PyPrintDeflections y = Piedmont_Print_y(pc);
    EXPECT_EQ(y[1], 0.0);
    EXPECT_EQ(y[2], pc.y1);
    EXPECT_NEAR(y[3], 0.03 + 1.095 / 14.0, 1e-7);
    EXPECT_NEAR(y[15], 0.03 + 13.0 * 1.095 / 14.0, 1e-7);
    EXPECT_EQ(y[16], pc.y2);
    EXPECT_NEAR(y[17], 1.05 * 1.125, 1e-6);
}

TEST(Piedmont, GeneralUnitsGiveNoResistance) {
    const PiedmontCurve pc = Piedmont_Curve(PIEDMONT_CPT, 1000.0, 1.0, GENERAL);
    for (double y : {0.0, 0.0005, 0.01, 1.0}) {
        EXPECT_EQ(Piedmont_p(pc, y), 0.0) << y;
        EXPECT_EQ(Piedmont_Es(pc, y, 1.0, 1.0), 0.0) << y;
    }
}

} // namespace
} // namespace zarno
