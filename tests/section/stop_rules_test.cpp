// Stop rules of the moment-curvature curve that end it before the crushing strain: the
// shallow compression zone of a prestressed pile ("Z") and a moment that is not
// positive (warning -306).
#include "section/moment_curvature.h"

#include "section/neutral_axis.h"
#include "section/section_fixtures.h"
#include "section/section_setup.h"
#include "test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno {
namespace {

// Rectangle 12 x 24 in whose four bars all lie 3 in below the top face.
std::unique_ptr<SectionWorkspace> Top_Reinforced_Rectangle() {
    auto ws = test::Rectangle(12.0, 24.0);
    ws->i_Section_Type = 0;
    for (const double x : {-4.5, -1.5, 1.5, 4.5}) {
        test::Add_Bar(*ws, x, 9.0, 1.41, 1.56);
    }
    return ws;
}

TEST(StopRules, TensionCarriedByBarsOnTheCompressionFaceGivesNegativeMoment) {
    test::TempDir dir;
    auto m = test::Quiet_Model();
    m->Report.Open(dir / "report.txt");
    auto ws = Top_Reinforced_Rectangle();
    Initialize_EI_Vars(*m, *ws);
    Compute_Axial_Capacities(*ws);
    const double P = -250.0;
    // Beyond the cracking load, within the tensile capacity of the bars.
    ASSERT_LT(P, ws->Pcr);
    ASSERT_GT(P, ws->Nt);
    ws->i_Num_Thrusts = 1;
    ws->Thrust[1] = P;
    ws->Curvature_Increment = fn_Initial_Curvature_Increment(USCS, ws->H);
    Compute_Thrust_Curve(*m, *ws, 1);
    ASSERT_EQ(m->RunStatus, 0);
    m->Report.Close();
    // The cracked concrete carries nothing; the bars, 9 in above mid-depth, carry the
    // whole tension: M = P x 9 in.
    ASSERT_EQ(ws->n_Points[1], 1);
    EXPECT_NEAR(ws->M[1][1] / (P * 9.0), 1.0, 0.005);
    EXPECT_EQ(ws->Msg[1][1][0], 'C');
    EXPECT_EQ(m->Warnings.i_Warning_Tally[306], 1);
    const std::string report = test::Read_File(dir.path() / "report.txt");
    EXPECT_NE(report.find("\nWarning - Negative values of bending moment were computed.\n"
                          "This usually indicates that the pile is too weak or is \n"
                          "under-reinforced, where all reinforcing steel has yielded.\n"
                          "You should examine your input data and increase the amount\n"
                          "of steel reinforcement if necessary.\n"),
              std::string::npos);
    // The same section without thrust bends the right way and does not warn.
    auto m2 = test::Quiet_Model();
    auto ws2 = Top_Reinforced_Rectangle();
    Initialize_EI_Vars(*m2, *ws2);
    Compute_Axial_Capacities(*ws2);
    ws2->i_Num_Thrusts = 1;
    ws2->Thrust[1] = 0.0;
    ws2->Curvature_Increment = fn_Initial_Curvature_Increment(USCS, ws2->H);
    Compute_Thrust_Curve(*m2, *ws2, 1);
    EXPECT_GT(ws2->n_Points[1], 1);
    EXPECT_GT(ws2->M[1][1], 0.0);
    EXPECT_EQ(m2->Warnings.i_Warning_Tally[306], 0);
}

// Square solid prestressed pile, no chamfer, four PCI 270 strands at the corners.
std::unique_ptr<SectionWorkspace> Lightly_Prestressed_Square(double W) {
    auto ws = test::Rectangle(W, W);
    ws->i_Section_Type = 7;
    ws->i_Reinf_Kind = REINF_PCI270;
    ws->fc = 6.0;
    ws->fpu = 270.0;
    ws->Strand_E = 28500.0;
    ws->Prestress_Force = 4 * 0.153 * 0.7 * 270000.0; // pounds
    ws->Prestress_Loss = 0.2;
    ws->b_Prestress_Reported = true;
    const double a = W / 2.0 - 3.0;
    for (const double x : {-a, a}) {
        for (const double y : {-a, a}) {
            test::Add_Bar(*ws, x, y, 0.5, 0.153);
        }
    }
    return ws;
}

TEST(StopRules, ShallowCompressionZoneOfPrestressedPileEndsCurveWithZ) {
    auto m = test::Quiet_Model();
    auto ws = Lightly_Prestressed_Square(36.0);
    Initialize_EI_Vars(*m, *ws);
    ASSERT_EQ(m->RunStatus, 0);
    ws->i_Num_Thrusts = 1;
    ws->Thrust[1] = 0.0;
    ws->Curvature_Increment = fn_Initial_Curvature_Increment(USCS, ws->H);
    Compute_Thrust_Curve(*m, *ws, 1);
    ASSERT_EQ(m->RunStatus, 0);
    const int n = ws->n_Points[1];
    ASSERT_GT(n, 2);
    ASSERT_LT(n, MAX_MC_POINTS);
    const double limit = static_cast<double>(0.1f) * 36.0;
    // The last point is the first whose neutral axis lies within 0.1 H of the top, and
    // the concrete has not crushed there: "Z" is the reason the curve ends.
    EXPECT_EQ(ws->Msg[1][n][1], 'Z');
    EXPECT_LT(ws->Yn[1][n], limit);
    EXPECT_LT(ws->Eps_Top[1][n], static_cast<double>(0.0038f));
    for (int k = 1; k < n; ++k) {
        EXPECT_GE(ws->Yn[1][k], limit) << k;
        EXPECT_NE(ws->Msg[1][k][1], 'Z') << k;
    }
    // Axial equilibrium at the stopping point.
    ws->Phi = ws->Curv[1][n];
    Compute_Axial_Thrust_Force(*ws, ws->Yn[1][n]);
    EXPECT_NEAR(ws->N, 0.0, 1e-3);

    // The same neutral-axis depth does not stop a reinforced (non-prestressed) section:
    // its curve runs on to the crushing strain.
    auto m2 = test::Quiet_Model();
    auto ws2 = test::Rectangle(36.0, 36.0);
    for (const double x : {-15.0, 15.0}) {
        for (const double y : {-15.0, 15.0}) {
            test::Add_Bar(*ws2, x, y, 0.5, 0.153);
        }
    }
    Initialize_EI_Vars(*m2, *ws2);
    ws2->i_Num_Thrusts = 1;
    ws2->Thrust[1] = 0.0;
    ws2->Curvature_Increment = fn_Initial_Curvature_Increment(USCS, ws2->H);
    Compute_Thrust_Curve(*m2, *ws2, 1);
    const int n2 = ws2->n_Points[1];
    int shallow = 0;
    for (int k = 1; k <= n2; ++k) {
        EXPECT_NE(ws2->Msg[1][k][1], 'Z') << k;
        if (shallow == 0 && ws2->Yn[1][k] < limit) {
            shallow = k;
        }
    }
    EXPECT_GT(shallow, 0);
    EXPECT_GT(n2, shallow);
}

TEST(StopRules, SteelPipeStopsAtFiveTimesItsNetYieldStrain) {
    for (const double P : {0.0, 300.0, -300.0}) {
        auto m = test::Quiet_Model();
        const double D = 24.0, t = 0.5, Fy = 36.0, E = 29000.0;
        auto ws = test::Pipe(D, t, Fy, E);
        Initialize_EI_Vars(*m, *ws);
        ws->i_Num_Thrusts = 1;
        ws->Thrust[1] = P;
        Compute_Thrust_Curve(*m, *ws, 1);
        ASSERT_EQ(m->RunStatus, 0);
        const double A = std::numbers::pi * (D * D - (D - 2 * t) * (D - 2 * t)) / 4.0;
        const double limit = 5.0 * Fy / E - P / (A * E);
        const int n = ws->n_Points[1];
        ASSERT_GT(n, 2) << P;
        ASSERT_LT(n, MAX_MC_POINTS) << P;
        auto largest = [&](int k) {
            return std::max(std::fabs(ws->Eps_Top[1][k]), std::fabs(ws->Eps_Bot[1][k]));
        };
        EXPECT_GE(largest(n), limit) << P;
        EXPECT_LT(largest(n - 1), limit) << P;
        // No concrete: no cracking letter, and no -305 or -306.
        EXPECT_EQ(ws->Msg[1][n][0], ' ');
        for (const int code : {305, 306, 355}) {
            EXPECT_EQ(m->Warnings.i_Warning_Tally[code], 0) << code;
        }
    }
}

} // namespace
} // namespace zarno
