#include "section/moment_curvature.h"

#include "section/neutral_axis.h"
#include "section/section_fixtures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno {
namespace {

constexpr double PI = std::numbers::pi;

// Runs every thrust of ws through the curve and returns the model for its warnings.
std::unique_ptr<AnalysisModel> Run_Curves(SectionWorkspace& ws) {
    auto m = test::Quiet_Model();
    Initialize_EI_Vars(*m, ws);
    if (ws.i_Geometry_Kind != GEOM_PIPE) {
        ws.Curvature_Increment = fn_Initial_Curvature_Increment(ws.IUNITS, ws.H);
    }
    for (int t = 1; t <= ws.i_Num_Thrusts && m->RunStatus == 0; ++t) {
        Compute_Thrust_Curve(*m, ws, t);
    }
    return m;
}

void Set_Thrusts(SectionWorkspace& ws, std::initializer_list<double> thrusts) {
    ws.i_Num_Thrusts = 0;
    for (const double p : thrusts) {
        ws.Thrust[++ws.i_Num_Thrusts] = p;
    }
}

// Axial force at the stored neutral axis of every point equals the thrust.
void Expect_Equilibrium(SectionWorkspace& ws, int t, double tol) {
    ws.b_Tension_Off = ws.i_Geometry_Kind != GEOM_PIPE && ws.Thrust[t] < ws.Pcr;
    for (int k = 1; k <= ws.n_Points[t]; ++k) {
        ws.Phi = ws.Curv[t][k];
        Compute_Axial_Thrust_Force(ws, ws.Yn[t][k]);
        EXPECT_NEAR(ws.N, ws.Thrust[t], tol) << "thrust " << t << " step " << k;
    }
}

TEST(CurvatureSchedule, InitialIncrementBySize) {
    EXPECT_DOUBLE_EQ(fn_Initial_Curvature_Increment(USCS, 24.0), 1.25e-6);
    EXPECT_DOUBLE_EQ(fn_Initial_Curvature_Increment(USCS, 30.0), 1.25e-6);
    EXPECT_DOUBLE_EQ(fn_Initial_Curvature_Increment(USCS, 36.0), 6.25e-7);
    EXPECT_DOUBLE_EQ(fn_Initial_Curvature_Increment(USCS, 60.0), 1.25e-6 / 3.0);
    EXPECT_DOUBLE_EQ(fn_Initial_Curvature_Increment(USCS, 12.0), 1.25e-6);
    EXPECT_NEAR(fn_Initial_Curvature_Increment(SI, 0.9144), 1.25e-6 / 0.0254 / 2.0, 1e-12);
    // General units: the same curvature times depth as a 24 in shaft.
    EXPECT_DOUBLE_EQ(fn_Initial_Curvature_Increment(GENERAL, 2.0) * 2.0, 1.25e-6 * 24.0);
}

TEST(CurvatureSchedule, CurvatureReaches1927TimesTheIncrementAt150) {
    auto ws = test::Rectangle(12.0, 24.0);
    test::Add_Bar(*ws, 0.0, -9.5, 1.0, 0.79);
    Set_Thrusts(*ws, {0.0});
    auto m = Run_Curves(*ws);
    const double d0 = 1.25e-6;
    const int n = ws->n_Points[1];
    ASSERT_GE(n, 119);
    EXPECT_NEAR(ws->Curv[1][1], d0, 1e-18);
    EXPECT_NEAR(ws->Curv[1][39], 39 * d0, 1e-15);
    EXPECT_NEAR(ws->Curv[1][79], 119 * d0, 1e-15);
    EXPECT_NEAR(ws->Curv[1][119], 439 * d0, 1e-15);
    double phi = d0;
    for (int k = 2; k <= 150; ++k) {
        phi += d0 * fn_Curvature_Step_Factor(k);
    }
    EXPECT_NEAR(phi, 1927 * d0, 1e-14);
}

TEST(NeutralAxis, SymmetricSectionUnderZeroThrustNearMidDepth) {
    auto m = test::Quiet_Model();
    auto ws = test::Shaft(24.0);
    Initialize_EI_Vars(*m, *ws);
    ws->Phi = 1.25e-6;
    ws->P_Target = 0.0;
    ws->y_n_Seed = 100.0; // beyond the depth: the search starts at mid-depth
    Find_Neutral_Axis(*m, *ws, Prepare_Force_Only_Pass(*ws), 1, 1);
    ASSERT_EQ(m->RunStatus, 0);
    EXPECT_NEAR(ws->Yn[1][1], 12.0, 1e-4);
}

TEST(NeutralAxis, CompressionBeyondTheSectionMovesTheAxisBelowIt) {
    auto m = test::Quiet_Model();
    auto ws = test::Rectangle(12.0, 24.0);
    Initialize_EI_Vars(*m, *ws);
    ws->Phi = 1e-6;
    // Nearly uniform strain of 0.0005 over the whole section.
    const double e = 0.0005;
    const double x = e / ws->e0;
    ws->P_Target = 288.0 * 4.0 * (2.0 * x - x * x);
    ws->y_n_Seed = 12.0;
    Find_Neutral_Axis(*m, *ws, Prepare_Force_Only_Pass(*ws), 1, 1);
    ASSERT_EQ(m->RunStatus, 0);
    EXPECT_GT(ws->Yn[1][1], 24.0);
    Compute_Axial_Thrust_Force(*ws, ws->Yn[1][1]);
    EXPECT_NEAR(ws->N, ws->P_Target, 1e-3);
}

TEST(SteelPipe, ElasticBranchAndPlasticMomentByHand) {
    const double D = 24.0, t = 0.5, Fy = 36.0, E = 29000.0;
    auto ws = test::Pipe(D, t, Fy, E);
    Set_Thrusts(*ws, {0.0, 100.0});
    auto m = Run_Curves(*ws);
    ASSERT_EQ(m->RunStatus, 0);
    const double d = D - 2 * t;
    const double I = PI * (std::pow(D, 4) - std::pow(d, 4)) / 64.0;
    const double Z = (std::pow(D, 3) - std::pow(d, 3)) / 6.0;
    const double A = PI * (D * D - d * d) / 4.0;
    EXPECT_NEAR(ws->EI[1][1] / (E * I), 1.0, 1e-3);
    // Curvature steps of 1/80 of first yield; the curve ends at five times the yield
    // strain, where the ring has nearly reached its plastic moment.
    EXPECT_NEAR(ws->Curv[1][1], 1.7 * Fy / E / (D / 2) / 80.0, 1e-12);
    const int n = ws->n_Points[1];
    EXPECT_LE(ws->M[1][n], Fy * Z * 1.002);
    EXPECT_GE(ws->M[1][n], Fy * Z * 0.98);
    EXPECT_DOUBLE_EQ(ws->Mn[1], ws->M[1][n]);
    EXPECT_EQ(ws->Msg[1][n][1], 'Y');
    EXPECT_EQ(ws->Msg[1][1][1], ' ');
    // Under compression P the web of the ring about the neutral axis carries P:
    // the plastic moment drops, and equilibrium holds at every point.
    const int n2 = ws->n_Points[2];
    EXPECT_LT(ws->M[2][n2], ws->M[1][n]);
    EXPECT_LT(std::fabs(ws->Eps_Top[2][n2]), 5.0 * Fy / E + 0.01);
    Expect_Equilibrium(*ws, 1, 1e-3);
    Expect_Equilibrium(*ws, 2, 1e-3);
    (void)A;
}

// Hand computation of the nominal moment of a singly reinforced rectangle at a top
// strain of 0.003 with the parabolic-linear concrete law, tension concrete cracked and
// yielded steel.
double Hand_Nominal_Moment(double b, double dd, double As, double fc, double fy) {
    const double Ec = 57.0 * std::sqrt(1000.0 * fc);
    const double e0 = 1.7 * fc / Ec;
    const double et = 0.003;
    const double s = 0.15 * fc / (0.0038 - e0);
    // Integrals of the law over strain: area and first moment.
    const double a1 = 2.0 / 3.0 * fc * e0 + fc * (et - e0) - s * (et - e0) * (et - e0) / 2.0;
    const double m1 = 5.0 / 12.0 * fc * e0 * e0 + fc * (et * et - e0 * e0) / 2.0 -
                      s * ((et * et * et - e0 * e0 * e0) / 3.0 - e0 * (et * et - e0 * e0) / 2.0);
    const double T = As * fy;
    const double c = T * et / (b * a1);     // C = b c a1 / et = T
    const double ybar = c * m1 / (et * a1); // resultant above the neutral axis
    return T * (dd - c + ybar);
}

TEST(ReinforcedRectangle, NominalMomentMatchesHandComputation) {
    auto ws = test::Rectangle(12.0, 24.0);
    for (const double x : {-4.0, 0.0, 4.0}) {
        test::Add_Bar(*ws, x, -9.5, 1.0, 0.79);
    }
    Set_Thrusts(*ws, {0.0});
    auto m = Run_Curves(*ws);
    ASSERT_EQ(m->RunStatus, 0);
    const double hand = Hand_Nominal_Moment(12.0, 21.5, 3 * 0.79, 4.0, 60.0);
    EXPECT_NEAR(ws->Mn[1] / hand, 1.0, 0.005);
    EXPECT_DOUBLE_EQ(ws->Strain_At_Mn[1], static_cast<double>(0.003f));
    Expect_Equilibrium(*ws, 1, 1e-3);
    const int n = ws->n_Points[1];
    // Run messages: cracked and yielded from their first step on; the curve stops at
    // the crushing strain; the under-reinforced section is tension-controlled.
    int first_c = 0, first_y = 0;
    for (int k = 1; k <= n; ++k) {
        if (first_c == 0 && ws->Msg[1][k][0] == 'C') {
            first_c = k;
        }
        if (first_y == 0 && ws->Msg[1][k][1] == 'Y') {
            first_y = k;
        }
        EXPECT_EQ(ws->Msg[1][k][0], first_c > 0 ? 'C' : ' ') << k;
        EXPECT_EQ(ws->Msg[1][k][1], first_y > 0 ? 'Y' : ' ') << k;
        if (k > 1) {
            EXPECT_GE(ws->M[1][k], ws->M[1][k - 1]);
        }
    }
    EXPECT_GT(first_c, 1);
    EXPECT_GT(first_y, first_c);
    EXPECT_GE(ws->Eps_Top[1][n], static_cast<double>(0.0038f));
    EXPECT_LT(ws->Eps_Top[1][n - 1], static_cast<double>(0.0038f));
    EXPECT_EQ(ws->Msg[1][n][2], 'T');
    // Uncracked elastic start: the transformed section with the initial tangent of the
    // concrete parabola, 2 f'c / e0.
    const double Ecc = 2.0 * 4.0 / (1.7 * 4.0 / (57.0 * std::sqrt(4000.0)));
    const double nAs = (29000.0 / Ecc - 1.0) * 3 * 0.79;
    const double ybar = nAs * 9.5 / (288.0 + nAs);
    const double Itr =
        12.0 * std::pow(24.0, 3) / 12.0 + 288.0 * ybar * ybar + nAs * (9.5 - ybar) * (9.5 - ybar);
    EXPECT_NEAR(ws->EI[1][1] / (Ecc * Itr), 1.0, 0.01);
}

TEST(ReinforcedRectangle, TensionBeyondCrackingLoadStartsCracked) {
    auto ws = test::Rectangle(12.0, 24.0);
    test::Add_Bar(*ws, 0.0, -9.5, 1.0, 0.79);
    test::Add_Bar(*ws, 0.0, 9.5, 1.0, 0.79);
    ws->Pcr = -100.0;
    // Two bars of 0.79 in2 at 60 ksi hold at most 94.8 kips of tension.
    Set_Thrusts(*ws, {-50.0, -80.0, -90.0});
    auto m = Run_Curves(*ws);
    ASSERT_EQ(m->RunStatus, 0);
    EXPECT_EQ(ws->Msg[1][1][0], ' ');
    EXPECT_EQ(ws->Msg[3][1][0], ' ');
    ws->Pcr = -85.0;
    m = Run_Curves(*ws);
    EXPECT_EQ(ws->Msg[1][1][0], ' ');
    EXPECT_EQ(ws->Msg[3][1][0], 'C');
    for (int t = 1; t <= 3; ++t) {
        Expect_Equilibrium(*ws, t, 1e-3);
    }
    // Tensile thrusts never warn about a capacity below the strain limit.
    EXPECT_EQ(m->Warnings.i_Warning_Tally[355], 0);
}

TEST(NominalCapacity, InterpolationRules) {
    auto m = test::Quiet_Model();
    auto ws = std::make_unique<SectionWorkspace>();
    ws->i_Geometry_Kind = GEOM_CIRCLE;
    const double e = static_cast<double>(0.003f);
    // Top strain crosses the limit between points 2 and 3.
    ws->n_Points[1] = 4;
    ws->Thrust[1] = 10.0;
    const double eps1[] = {0, 0.001, 0.002, 0.004, 0.005};
    const double mom1[] = {0, 100, 200, 300, 310};
    for (int k = 1; k <= 4; ++k) {
        ws->Eps_Top[1][k] = eps1[k];
        ws->M[1][k] = mom1[k];
    }
    Compute_Nominal_Moment_Capacity(*m, *ws, 1);
    EXPECT_NEAR(ws->Mn[1], 200.0 + 100.0 * (e - 0.002) / 0.002, 1e-9);
    EXPECT_EQ(ws->Strain_At_Mn[1], e);
    EXPECT_EQ(m->Warnings.i_Warning_Tally[355], 0);

    // A strain exactly at the limit is not interpolated: Mn is the previous point,
    // and under compression the capacity below the limit is warned about.
    ws->Eps_Top[1][3] = e;
    Compute_Nominal_Moment_Capacity(*m, *ws, 1);
    EXPECT_DOUBLE_EQ(ws->Mn[1], 200.0);
    EXPECT_DOUBLE_EQ(ws->Strain_At_Mn[1], 0.002);
    EXPECT_EQ(m->Warnings.i_Warning_Tally[355], 1);

    // A curve that never reaches the limit: the last-but-one point, no warning in tension.
    ws->Thrust[1] = -10.0;
    for (int k = 1; k <= 4; ++k) {
        ws->Eps_Top[1][k] = 0.0005 * k;
    }
    Compute_Nominal_Moment_Capacity(*m, *ws, 1);
    EXPECT_DOUBLE_EQ(ws->Mn[1], 300.0);
    EXPECT_DOUBLE_EQ(ws->Strain_At_Mn[1], 0.0015);
    EXPECT_EQ(m->Warnings.i_Warning_Tally[355], 1);
}

TEST(NominalCapacity, StiffnessAtFactoredMoment) {
    auto ws = std::make_unique<SectionWorkspace>();
    ws->n_Points[1] = 3;
    const double M[] = {0, 10, 20, 30};
    const double EI[] = {0, 1000, 800, 500};
    for (int k = 1; k <= 3; ++k) {
        ws->M[1][k] = M[k];
        ws->EI[1][k] = EI[k];
    }
    EXPECT_DOUBLE_EQ(Interpolate_EI_At_Moment(*ws, 1, 25.0), 650.0);
    EXPECT_DOUBLE_EQ(Interpolate_EI_At_Moment(*ws, 1, 15.0), 900.0);
    EXPECT_DOUBLE_EQ(Interpolate_EI_At_Moment(*ws, 1, 5.0), 1100.0); // below the first point
}

} // namespace
} // namespace zarno
