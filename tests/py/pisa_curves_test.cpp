// The PISA conic and the parameter tables of the three calibrations, checked against values
// worked by hand from the published formulas and against the implicit conic equation itself.
#include "py/pisa_curves.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno {
namespace {

// Residual of the implicit conic equation at (x, y), normalised by y_u.
double Conic_Residual(const ConicParameters& c, double x, double y) {
    const double r = y / c.y_u;
    return -c.n * (r - x / c.x_u) * (r - x / c.x_u) +
           (1.0 - c.n) * (r - x * c.k / c.y_u) * (r - 1.0);
}

TEST(PisaConic, NoteCheckValues) {
    // Cowden clay p-y at z/D = 2 and GDSM p-y at Dr = 0.75, z/D = 2, z/L = 0.5.
    const PisaParameters cowden =
        Pisa_Parameters(PisaSoil::Cowden_Clay, PisaReaction::Lateral, 2.0, 0.0, 0.0, 0.0);
    ASSERT_TRUE(cowden.valid);
    EXPECT_NEAR(cowden.c.k, 7.30, 1e-12);
    EXPECT_NEAR(cowden.c.n, 0.8721, 1e-12);
    EXPECT_NEAR(cowden.c.y_u, 6.8686, 5e-4);
    EXPECT_DOUBLE_EQ(cowden.c.x_u, 241.4);
    EXPECT_NEAR(Conic_Reaction(cowden.c, 10.0), 4.8155, 5e-4);
    EXPECT_NEAR(Conic_Reaction(cowden.c, 1e-9) / 1e-9, 7.30, 1e-6);

    const PisaParameters gdsm =
        Pisa_Parameters(PisaSoil::Dunkirk_Sand, PisaReaction::Lateral, 2.0, 0.5, 0.0, 0.75);
    ASSERT_TRUE(gdsm.valid);
    EXPECT_NEAR(gdsm.c.x_u, 77.0175, 1e-10);
    EXPECT_NEAR(gdsm.c.k, 6.37175, 1e-10);
    EXPECT_NEAR(gdsm.c.n, 0.96345, 1e-5);
    EXPECT_NEAR(gdsm.c.y_u, 16.6155, 1e-4);
    EXPECT_NEAR(Conic_Reaction(gdsm.c, 10.0), 6.7696, 5e-4);
}

TEST(PisaConic, StableFormSolvesTheConicAndAgreesWithTheQuadraticFormula) {
    // n from bilinear through the singular n = 0.5 of the textbook form to the clamp.
    for (const double n : {0.0, 0.3, 0.499, 0.5, 0.508, 0.8721, 0.999}) {
        const ConicParameters c{50.0, 3.0, n, 8.0};
        for (const double x : {0.01, 0.5, 2.0, 2.7, 10.0, 49.9, 50.0}) {
            const double y = Conic_Reaction(c, x);
            SCOPED_TRACE(testing::Message() << "n = " << n << ", x = " << x);
            EXPECT_NEAR(Conic_Residual(c, x, y), 0.0, 1e-12);
            EXPECT_GT(y, 0.0);
            EXPECT_LE(y, c.y_u * (1.0 + 1e-12));
            EXPECT_LE(y, c.k * x * (1.0 + 1e-12)); // below the initial tangent
            EXPECT_DOUBLE_EQ(Conic_Reaction(c, -x), -y);
            if (std::fabs(n - 0.5) > 1e-6) {
                EXPECT_NEAR(Conic_Reaction_Quadratic(c, x), y, 1e-9 * c.y_u);
            }
        }
        EXPECT_NEAR(Conic_Reaction(c, 50.0), 8.0, 1e-9); // reaches y_u at x_u ...
        EXPECT_DOUBLE_EQ(Conic_Reaction(c, 80.0), 8.0);  // ... and stays there
    }
    // n = 0 is bilinear: slope k up to y_u.
    const ConicParameters bilinear{50.0, 3.0, 0.0, 8.0};
    EXPECT_NEAR(Conic_Reaction(bilinear, 2.0), 6.0, 1e-12);
    EXPECT_NEAR(Conic_Reaction(bilinear, 3.0), 8.0, 1e-12);
    // Near n = 0.5 the stable form is continuous.
    EXPECT_NEAR(Conic_Reaction({50.0, 3.0, 0.5, 8.0}, 2.0),
                Conic_Reaction_Quadratic({50.0, 3.0, 0.5 + 1e-7, 8.0}, 2.0), 1e-5);
}

struct TableCase {
    const char* name;
    PisaSoil soil;
    PisaReaction reaction;
    double z_D, z_L, L_D, Dr;
    ConicParameters expected; // worked by hand from the published formulas
};

TEST(PisaParametersTable, HandWorkedValues) {
    const TableCase cases[] = {
        // 12.05 - 1.547; 0.7204 - 0.002679; 7.743 - 3.945 exp(-0.8456) = 7.743 - 1.693589
        {"Bothkennar p-y z/D=1",
         PisaSoil::Bothkennar_Clay,
         PisaReaction::Lateral,
         1.0,
         0.0,
         0.0,
         0.0,
         {173.8, 10.503, 0.717721, 6.049411}},
        // k = 1.42 - 0.09643, y_u = 0.2899 - 0.04775, corner at y_u / k
        {"Cowden m-theta z/D=1",
         PisaSoil::Cowden_Clay,
         PisaReaction::Moment,
         1.0,
         0.0,
         0.0,
         0.0,
         {0.24215 / 1.32357, 1.32357, 0.0, 0.24215}},
        // y_u = 0.2605 + (-0.1989 + 0.2019 * 0.55) * 0.5
        {"GDSM m-theta Dr=0.55 z/L=0.5",
         PisaSoil::Dunkirk_Sand,
         PisaReaction::Moment,
         2.0,
         0.5,
         0.0,
         0.55,
         {0.2165725 / 17.0, 17.0, 0.0, 0.2165725}},
        {"Cowden H_B L/D=3",
         PisaSoil::Cowden_Clay,
         PisaReaction::Base_Shear,
         0.0,
         0.0,
         3.0,
         0.0,
         {235.7, 1.6445, 0.7848, 0.54816}},
        {"Cowden M_B L/D=3",
         PisaSoil::Cowden_Clay,
         PisaReaction::Base_Moment,
         0.0,
         0.0,
         3.0,
         0.0,
         {173.1, 0.208204, 0.7529, 0.56156}},
        // The note's n = 0.508 case of the sand base shear.
        {"GDSM H_B Dr=0.75 L/D=4",
         PisaSoil::Dunkirk_Sand,
         PisaReaction::Base_Shear,
         0.0,
         0.0,
         4.0,
         0.75,
         {1.24985, 2.944674, 0.50766, 0.37694}},
        {"GDSM M_B Dr=0.55 L/D=3.5",
         PisaSoil::Dunkirk_Sand,
         PisaReaction::Base_Moment,
         0.0,
         0.0,
         3.5,
         0.55,
         {44.89, 0.3515, 0.57423, 0.19975075}},
        {"Bothkennar M_B L/D=5",
         PisaSoil::Bothkennar_Clay,
         PisaReaction::Base_Moment,
         0.0,
         0.0,
         5.0,
         0.0,
         {187.0, 0.24115, 0.1215, 0.41585}},
        // Clamped: n = 1.079 - 0.1087 * 0.5 > 1 (the Cowden base moment below L/D = 0.73).
        {"Cowden M_B L/D=0.5 n clamped",
         PisaSoil::Cowden_Clay,
         PisaReaction::Base_Moment,
         0.0,
         0.0,
         0.5,
         0.0,
         {173.1, 0.213534, 0.999, 0.77626}},
        // k = 0.761425 is below y_u / x_u = 0.138584 / 0.04451: the secant slope is used.
        {"GDSM H_B Dr=1 L/D=6.3 k raised",
         PisaSoil::Dunkirk_Sand,
         PisaReaction::Base_Shear,
         0.0,
         0.0,
         6.3,
         1.0,
         {0.04451, 0.138584 / 0.04451, 0.487327, 0.138584}},
    };
    for (const TableCase& t : cases) {
        SCOPED_TRACE(t.name);
        const PisaParameters p = Pisa_Parameters(t.soil, t.reaction, t.z_D, t.z_L, t.L_D, t.Dr);
        ASSERT_TRUE(p.valid);
        EXPECT_NEAR(p.c.x_u, t.expected.x_u, 1e-5 * t.expected.x_u);
        EXPECT_NEAR(p.c.k, t.expected.k, 1e-5 * t.expected.k);
        EXPECT_NEAR(p.c.n, t.expected.n, 1e-5);
        EXPECT_NEAR(p.c.y_u, t.expected.y_u, 1e-5 * t.expected.y_u);
    }
}

TEST(PisaParametersTable, NegativeParametersFarOutsideTheCalibrationAreRefused) {
    // Cowden p-y slope 10.6 - 1.65 * 7 < 0; its m-theta ultimate 0.2899 - 0.04775 * 7 < 0;
    // GDSM base-shear y_u 0.89912 - 0.12072 * 8 < 0 (its slope 3.52 - 0.43787 * 8 is still
    // positive).
    const PisaParameters k =
        Pisa_Parameters(PisaSoil::Cowden_Clay, PisaReaction::Lateral, 7.0, 0.0, 0.0, 0.0);
    EXPECT_FALSE(k.valid);
    EXPECT_STREQ(k.bad, "k");
    EXPECT_NEAR(k.bad_value, -0.95, 1e-12);
    const PisaParameters m =
        Pisa_Parameters(PisaSoil::Cowden_Clay, PisaReaction::Moment, 7.0, 0.0, 0.0, 0.0);
    EXPECT_FALSE(m.valid);
    EXPECT_STREQ(m.bad, "y_u");
    const PisaParameters h =
        Pisa_Parameters(PisaSoil::Dunkirk_Sand, PisaReaction::Base_Shear, 0.0, 0.0, 8.0, 1.0);
    EXPECT_FALSE(h.valid);
    EXPECT_STREQ(h.bad, "y_u");
    const PisaParameters nan =
        Pisa_Parameters(PisaSoil::Dunkirk_Sand, PisaReaction::Lateral, 1.0, 0.2, 0.0, std::nan(""));
    EXPECT_FALSE(nan.valid);
    EXPECT_TRUE(Pisa_Slenderness_Calibrated(2.0) && Pisa_Slenderness_Calibrated(6.0));
    EXPECT_FALSE(Pisa_Slenderness_Calibrated(1.99) || Pisa_Slenderness_Calibrated(6.01));
}

} // namespace
} // namespace zarno
