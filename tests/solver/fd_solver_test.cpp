#include "report/text_file.h"
#include "solver/elastic_pile.h"
#include "solver/fd_solver.h"
#include "solver/node_results.h"
#include "test_support.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace zarno::test {
namespace {

// A 4e10 lb-in2 pile in a 1000 lb/in2 subgrade: lambda = 8.89e-3 /in. With lambda L = 14
// the tip is far enough away that the semi-infinite answer holds to about 1e-6.
constexpr double kEI = 4.0e10;
constexpr double kK = 1000.0;
const double kLambda = std::pow(kK / (4.0 * kEI), 0.25);
const double kLength = 14.0 / kLambda;

struct HeadCase {
    const char* name;
    int type;
    double c1;
    double c2;
    double Q;
};

// The closed-form constant for a case.
ClosedFormPile Closed_Form(const HeadCase& c) {
    ClosedFormPile cf(kEI, kK, c.Q);
    switch (c.type) {
    case LOADING_SHEAR_MOMENT:
        cf.Impose(cf.Z_Shear(), c.c1, cf.Z_Moment(), c.c2);
        break;
    case LOADING_SHEAR_SLOPE:
        cf.Impose(cf.Z_Shear(), c.c1, cf.Z_Slope(), c.c2);
        break;
    case LOADING_SHEAR_ROTATIONAL: // M = kr S at the head
        cf.Impose(cf.Z_Shear(), c.c1, cf.Z_Moment() - c.c2 * cf.Z_Slope(), 0.0);
        break;
    case LOADING_DEFLECTION_MOMENT:
        cf.Impose(cf.Z_Deflection(), c.c1, cf.Z_Moment(), c.c2);
        break;
    default:
        cf.Impose(cf.Z_Deflection(), c.c1, cf.Z_Slope(), c.c2);
        break;
    }
    return cf;
}

struct Errors {
    double deflection; // largest |y - y_cf| over the pile, relative to the largest |y_cf|
    double moment;     // the same for the bending moment
    double head_slope; // |S1c - S_cf(0)| relative to the largest |y_cf| * lambda
};

Errors Solve_And_Compare(const HeadCase& c, int n) {
    auto p = Make_Elastic_Pile(kLength, n, kEI, kK, c.Q, c.type, c.c1, c.c2);
    auto s = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);

    auto in = std::make_unique<NodeResultInputs>();
    auto r = std::make_unique<NodeResults>();
    ResultMaxima mx;
    const ClosedFormPile cf = Closed_Form(c);
    double y_scale = 0.0, m_scale = 0.0, y_err = 0.0, m_err = 0.0;
    for (int m = 1; m <= n + 1; ++m) {
        in->Depth[static_cast<size_t>(m)] = (m - 1) * p->Increment;
        Compute_Node_Results(m, *p, *in, *s, *r, mx);
        const double x = (m - 1) * p->Increment;
        y_scale = std::max(y_scale, std::fabs(cf.y(x)));
        m_scale = std::max(m_scale, std::fabs(cf.moment(x)));
        y_err = std::max(y_err, std::fabs(s->y(m) - cf.y(x)));
        m_err = std::max(m_err, std::fabs(r->Moment[static_cast<size_t>(m)] - cf.moment(x)));
    }
    return {y_err / y_scale, m_err / m_scale,
            std::fabs(r->Head_Slope_Computed - cf.slope(0.0)) / (y_scale * kLambda)};
}

// Every head condition against the beam-on-elastic-foundation answer: second-order
// convergence (the error falls fourfold per halving of the increment) and, at 400
// increments, an error within twice (lambda h)^2 = 2.5e-3.
TEST(FdSolver, LongElasticPileMatchesClosedFormForEveryHeadCondition) {
    const HeadCase cases[] = {
        {"head shear", LOADING_SHEAR_MOMENT, 10000.0, 0.0, 0.0},
        {"head moment", LOADING_SHEAR_MOMENT, 0.0, 1.0e6, 0.0},
        {"shear and moment", LOADING_SHEAR_MOMENT, -8000.0, 2.0e6, 0.0},
        {"fixed head", LOADING_SHEAR_SLOPE, 10000.0, 0.0, 0.0},
        {"rotated head", LOADING_SHEAR_SLOPE, 10000.0, 0.002, 0.0},
        {"rotational restraint", LOADING_SHEAR_ROTATIONAL, 10000.0, 5.0e8, 0.0},
        {"deflection and moment", LOADING_DEFLECTION_MOMENT, 0.5, 1.0e6, 0.0},
        {"deflection and slope", LOADING_DEFLECTION_SLOPE, 0.5, -0.002, 0.0},
        {"head shear, axial thrust", LOADING_SHEAR_MOMENT, 10000.0, 0.0, 3.0e6},
        {"fixed head, axial thrust", LOADING_SHEAR_SLOPE, 10000.0, 0.0, 3.0e6},
        {"axial tension", LOADING_SHEAR_MOMENT, 10000.0, 5.0e5, -3.0e6},
    };
    for (const HeadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Errors e100 = Solve_And_Compare(c, 100);
        const Errors e200 = Solve_And_Compare(c, 200);
        const Errors e400 = Solve_And_Compare(c, 400);
        const double lh = kLambda * kLength / 400.0;
        EXPECT_LT(e400.deflection, 2.0 * lh * lh);
        EXPECT_LT(e400.moment, 2.0 * lh * lh);
        EXPECT_LT(e400.head_slope, 2.0 * lh * lh);
        EXPECT_GT(e100.deflection, 3.5 * e200.deflection);
        EXPECT_GT(e200.deflection, 3.5 * e400.deflection);
        EXPECT_GT(e100.moment, 3.5 * e200.moment);
        EXPECT_GT(e200.moment, 3.5 * e400.moment);
    }
}

// The textbook free-head answer, independently of the complex form used above:
// y0 = 2 V lambda / k + 2 M lambda^2 / k, slope -(2 V lambda^2 / k + 4 M lambda^3 / k).
TEST(FdSolver, FreeHeadDeflectionAndSlopeMatchTextbookFormula) {
    const double V = 10000.0, M = 1.0e6;
    const double y0 = 2.0 * V * kLambda / kK + 2.0 * M * kLambda * kLambda / kK;
    const double s0 = -(2.0 * V * kLambda * kLambda / kK + 4.0 * M * std::pow(kLambda, 3) / kK);
    auto p = Make_Elastic_Pile(kLength, 400, kEI, kK, 0.0, LOADING_SHEAR_MOMENT, V, M);
    auto s = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    ASSERT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
    // Discretization error at lambda h = 0.035: about (lambda h)^2 / 2.
    EXPECT_NEAR(s->y(1), y0, 1.0e-3 * y0);
    const double h = p->Increment;
    EXPECT_NEAR((s->y(2) - s->y(0)) / (2.0 * h), s0, 1.0e-3 * std::fabs(s0));
}

// Compression adds the P-delta moment: the head deflects more than without thrust, by
// the amount the beam-column closed form predicts; tension stiffens the pile.
TEST(FdSolver, AxialThrustSoftensThePileAsPDeltaPredicts) {
    TextFile sink(nullptr);
    double previous = 0.0;
    for (double Q : {-3.0e6, 0.0, 1.5e6, 3.0e6}) {
        auto p = Make_Elastic_Pile(kLength, 400, kEI, kK, Q, LOADING_SHEAR_MOMENT, 10000.0, 0.0);
        auto s = std::make_unique<FdSolution>();
        ASSERT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
        ClosedFormPile cf(kEI, kK, Q);
        cf.Impose(cf.Z_Shear(), 10000.0, cf.Z_Moment(), 0.0);
        EXPECT_NEAR(s->y(1), cf.y(0.0), 1.0e-3 * cf.y(0.0)) << "Q = " << Q;
        EXPECT_GT(s->y(1), previous) << "Q = " << Q;
        previous = s->y(1);
    }
}

TEST(FdSolver, FixedHeadHasEqualDeflectionsAboveAndBelowTheHead) {
    auto p = Make_Elastic_Pile(kLength, 100, kEI, kK, 1.0e6, LOADING_SHEAR_SLOPE, 25000.0, 0.0);
    auto s = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    ASSERT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
    EXPECT_NEAR(s->y(2), s->y(0), 1.0e-12 * std::fabs(s->y(1)));
    EXPECT_GT(s->y(1), 0.0);
}

TEST(FdSolver, ZeroDeflectionZeroMomentNoLoadGivesZeroEverywhere) {
    auto p = Make_Elastic_Pile(kLength, 100, kEI, kK, 2.0e6, LOADING_DEFLECTION_MOMENT, 0.0, 0.0);
    auto s = std::make_unique<FdSolution>();
    s->Y.fill(0.7); // a previous solution: must not leak into the new one
    TextFile sink(nullptr);
    ASSERT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
    for (int m = -1; m <= 102; ++m) {
        EXPECT_EQ(s->y(m), 0.0) << "station " << m;
    }
    EXPECT_DOUBLE_EQ(s->dYmax, 0.7);
}

// A uniform distributed load on a free pile in uniform springs translates it: y = w / k.
TEST(FdSolver, DistributedLoadFarFromTheHeadDeflectsByLoadOverModulus) {
    auto p = Make_Elastic_Pile(kLength, 200, kEI, kK, 0.0, LOADING_SHEAR_MOMENT, 0.0, 0.0);
    for (int m = 1; m <= 201; ++m) {
        p->Dist_Load[static_cast<size_t>(m)] = 30.0;
    }
    auto s = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    ASSERT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
    for (int m = 1; m <= 201; m += 20) {
        EXPECT_NEAR(s->y(m), 30.0 / kK, 1.0e-9) << "station " << m;
    }
}

TEST(FdSolver, ChangeMeasureTracksSuccessiveSolutions) {
    auto p = Make_Elastic_Pile(kLength, 100, kEI, kK, 0.0, LOADING_SHEAR_MOMENT, 10000.0, 0.0);
    auto s = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    ASSERT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
    // From rest the largest change is the head deflection; a maximum at station 1 is
    // reported at station 2.
    EXPECT_DOUBLE_EQ(s->dYmax, std::fabs(s->y(1)));
    EXPECT_EQ(s->i_dYmax_Node, 2);
    EXPECT_DOUBLE_EQ(s->Delta_dYmax, s->dYmax);
    const double first = s->dYmax;

    // Halving the shear: the change is half the head deflection, largest at the head.
    p->Condition_1 = 5000.0;
    ASSERT_EQ(Solve_Pile_Deflection(*p, 2, *s, sink, sink), Solve_Result::Solved);
    EXPECT_NEAR(s->dYmax, 0.5 * first, 1.0e-12);
    EXPECT_NEAR(s->Delta_dYmax, 0.5 * first, 1.0e-12);

    // A load at depth: the largest change is where it acts.
    p->Dist_Load[60] = 1.0e5;
    ASSERT_EQ(Solve_Pile_Deflection(*p, 3, *s, sink, sink), Solve_Result::Solved);
    EXPECT_EQ(s->i_dYmax_Node, 60);
}

TEST(TipShear, InterpolatesInTheTableAndFollowsTheTipMovement) {
    auto p = std::make_unique<FdPileModel>();
    p->i_Num_Tip_Shear_Points = 3;
    p->Tip_Shear[1] = {0.0, 0.0};
    p->Tip_Shear[2] = {1.0, 100.0};
    p->Tip_Shear[3] = {2.0, 150.0};
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, 0.5, 0.0), 50.0);
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, -0.5, 0.0), -50.0);
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, 1.5, 0.0), 125.0);
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, 1.0, 0.0), 100.0);
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, 7.0, 0.0), 150.0);
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, -7.0, 0.0), -150.0);

    // A single point: the full value beyond its displacement; within it the magnitude of
    // the previous tip shear in the current direction of movement (no flip-flopping).
    p->i_Num_Tip_Shear_Points = 1;
    p->Tip_Shear[1] = {0.2, 80.0};
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, 0.1, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, -0.3, 0.0), -80.0);
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, -0.1, -80.0), -80.0);
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, 0.1, -80.0), 80.0);

    // Two points at one displacement: a step, never a division by zero.
    p->i_Num_Tip_Shear_Points = 2;
    p->Tip_Shear[1] = {0.5, 10.0};
    p->Tip_Shear[2] = {0.5, 40.0};
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, 0.5, 0.0), 40.0);

    p->i_Num_Tip_Shear_Points = 0;
    EXPECT_DOUBLE_EQ(Tip_Shear_Force(*p, 3.0, 99.0), 0.0);
}

// A short stiff pile: the tip shear resisting the tip movement reduces it, and the solver
// applies it as the shear at the tip (the force balance of the whole pile closes with it).
TEST(TipShear, ResistsTipMovementInTheSolution) {
    const double L = 120.0;
    auto p = Make_Elastic_Pile(L, 60, kEI, 200.0, 0.0, LOADING_SHEAR_MOMENT, 20000.0, 0.0);
    auto free_tip = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    ASSERT_EQ(Solve_Pile_Deflection(*p, 1, *free_tip, sink, sink), Solve_Result::Solved);
    const double y_tip = free_tip->y(61);
    ASSERT_LT(y_tip, 0.0); // a short pile rotates: the tip moves against the load

    p->i_Num_Tip_Shear_Points = 2;
    p->Tip_Shear[1] = {0.0, 0.0};
    p->Tip_Shear[2] = {10.0, 2.0e4};
    auto s = std::make_unique<FdSolution>();
    *s = *free_tip;
    ASSERT_EQ(Solve_Pile_Deflection(*p, 2, *s, sink, sink), Solve_Result::Solved);
    EXPECT_DOUBLE_EQ(s->V_Tip, 2000.0 * y_tip);
    EXPECT_LT(std::fabs(s->y(61)), std::fabs(y_tip));

    // Whole-pile force balance: head shear + soil reactions + tip shear.
    const double h = p->Increment;
    double soil = 0.0;
    for (int m = 1; m <= 61; ++m) {
        const double weight = (m == 1 || m == 61) ? 0.5 : 1.0;
        soil += weight * h * p->Es[static_cast<size_t>(m)] * s->y(m);
    }
    EXPECT_NEAR(20000.0 - soil - s->V_Tip, 0.0, 1.0e-6 * 20000.0);
}

// Type 5 takes the head deflection relative to the soil movement at the head.
TEST(FdSolver, ImposedDeflectionIncludesSoilMovementAtTheHead) {
    auto p = Make_Elastic_Pile(kLength, 100, kEI, kK, 0.0, LOADING_DEFLECTION_SLOPE, 0.25, 0.0);
    p->Soil_Movement[1] = 0.1;
    auto s = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    ASSERT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
    EXPECT_DOUBLE_EQ(s->y(1), 0.35);
    EXPECT_NEAR(s->y(2), s->y(0), 1.0e-14);
}

TEST(FdSolver, RejectsModelsOutsideItsRange) {
    TextFile sink(nullptr);
    auto s = std::make_unique<FdSolution>();
    auto p = Make_Elastic_Pile(100.0, 3, kEI, kK, 0.0, LOADING_SHEAR_MOMENT, 1.0, 0.0);
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Invalid_Model);
    p = Make_Elastic_Pile(100.0, 40, kEI, kK, 0.0, 6, 1.0, 0.0);
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Invalid_Model);
    p = Make_Elastic_Pile(100.0, 40, kEI, kK, 0.0, LOADING_SHEAR_MOMENT, 1.0, 0.0);
    p->i_Num_Nodes = MAX_NODES + 1;
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Invalid_Model);
    p->i_Num_Nodes = 41;
    p->Increment = 0.0;
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Invalid_Model);
}

// ---- small pivots ---------------------------------------------------------------------

const char* const kPivotBlockHead = "\n\n**** Runtime Error No. 11 ****\n"
                                    "\n"
                                    "Problem:  Solution failed due to small pivot value.\n";
const char* const kPivotBlockTail =
    "\n"
    "Solution: This error usually occurs when a lateral bearing capacity failure occurs.  \n"
    "          Reduce the load on the pile and repeat the analysis.\n"
    "          You may also consider increasing pile diameter or pile length.\n";

TEST(SmallPivot, HeadSystemReportsColumnPivotAndDumps) {
    HeadSystem hs;
    hs.n = 5;
    // Rows 1 and 2 are proportional in their first two columns: column 2 loses its pivot.
    const double rows[5][5] = {
        {1, 2, 0, 0, 0}, {2, 4, 1, 0, 0}, {0, 1, 3, 0, 0}, {0, 0, 0, 1, 0}, {0, 0, 0, 0, 1}};
    for (int r = 1; r <= 5; ++r) {
        for (int c = 1; c <= 5; ++c) {
            hs.a(r, c) = rows[r - 1][c - 1];
        }
        hs.G[r] = r;
    }
    ReportAndMessages f;
    EXPECT_EQ(Solve_Head_System(hs, f.report, f.messages), Solve_Result::Small_Pivot);
    const std::string block = std::string(kPivotBlockHead) +
                              "          Node number = 2\n"
                              "          Pivot value =  0.00000E+00\n" +
                              kPivotBlockTail;
    EXPECT_EQ(f.Messages(), block);
    // The matrix as it stood when elimination stopped, column by column, five to a line.
    const std::string dumps = "\n\nF Matrix \n\n"
                              "  1.0000E+00  0.0000E+00  0.0000E+00  0.0000E+00  0.0000E+00\n"
                              "  2.0000E+00  0.0000E+00  1.0000E+00  0.0000E+00  0.0000E+00\n"
                              "  0.0000E+00  1.0000E+00  3.0000E+00  0.0000E+00  0.0000E+00\n"
                              "  0.0000E+00  0.0000E+00  0.0000E+00  1.0000E+00  0.0000E+00\n"
                              "  0.0000E+00  0.0000E+00  0.0000E+00  0.0000E+00  1.0000E+00\n"
                              "\n\nG Vector \n\n"
                              "  1.0000E+00\n  0.0000E+00\n  3.0000E+00\n  4.0000E+00\n"
                              "  5.0000E+00\n"
                              "\n\nYG Vector\n\n"
                              "  0.0000E+00\n  0.0000E+00\n  0.0000E+00\n  0.0000E+00\n"
                              "  0.0000E+00\n";
    EXPECT_EQ(f.Report(), block + dumps);
}

TEST(SmallPivot, HeadSystemSolvesARegularSystem) {
    HeadSystem hs;
    hs.n = 4;
    // Upper rows need no exchange; a zero below the diagonal is skipped.
    const double rows[4][4] = {{4, 1, 0, 0}, {1, 4, 1, 0}, {0, 1, 4, 1}, {0, 0, 1, 4}};
    const double x[4] = {1.0, -2.0, 3.0, 0.5};
    for (int r = 1; r <= 4; ++r) {
        double g = 0.0;
        for (int c = 1; c <= 4; ++c) {
            hs.a(r, c) = rows[r - 1][c - 1];
            g += rows[r - 1][c - 1] * x[c - 1];
        }
        hs.G[r] = g;
    }
    TextFile sink(nullptr);
    ASSERT_EQ(Solve_Head_System(hs, sink, sink), Solve_Result::Solved);
    for (int r = 1; r <= 4; ++r) {
        EXPECT_NEAR(hs.YG[r], x[r - 1], 1.0e-14);
    }
}

// No bending stiffness and no soil: nothing holds the pile. The elimination meets a zero
// pivot at the tip and stops cleanly instead of producing not-a-number deflections.
TEST(SmallPivot, PileWithoutStiffnessOrSoilStopsWithRuntimeError11) {
    for (int type = 1; type <= 5; ++type) {
        auto p = Make_Elastic_Pile(480.0, 100, 0.0, 0.0, 0.0, type, 1000.0, 0.0);
        auto s = std::make_unique<FdSolution>();
        ReportAndMessages f;
        EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, f.report, f.messages),
                  Solve_Result::Small_Pivot);
        const std::string msg = f.Messages();
        EXPECT_NE(msg.find("          Node number = 101\n"), std::string::npos) << msg;
        EXPECT_EQ(msg.find("F Matrix"), std::string::npos);
        const std::string rep = f.Report();
        EXPECT_EQ(rep.find(kPivotBlockHead), 0u);
        EXPECT_NE(rep.find("YG Vector"), std::string::npos);
        for (int m = -1; m <= 102; ++m) {
            EXPECT_EQ(s->y(m), 0.0); // the previous solution is left as it was
        }
    }
}

// Soil but no bending stiffness at the head: the head conditions (shear and moment are
// EI times differences of y) cannot be imposed.
TEST(SmallPivot, NoStiffnessAtTheHeadStopsWithRuntimeError11) {
    auto p = Make_Elastic_Pile(480.0, 100, kEI, kK, 0.0, LOADING_SHEAR_SLOPE, 1000.0, 0.0);
    p->EI[1] = 0.0;
    auto s = std::make_unique<FdSolution>();
    ReportAndMessages f;
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, f.report, f.messages), Solve_Result::Small_Pivot);
    EXPECT_NE(f.Messages().find("          Node number = 1\n"), std::string::npos);
}

// A free pile without soil under a head shear is a mechanism: no equilibrium exists.
TEST(SmallPivot, FreePileWithoutSoilIsSingular) {
    auto p = Make_Elastic_Pile(480.0, 64, 1.0, 0.0, 0.0, LOADING_SHEAR_MOMENT, 1.0, 0.0);
    auto s = std::make_unique<FdSolution>();
    ReportAndMessages f;
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, f.report, f.messages), Solve_Result::Small_Pivot);
    EXPECT_NE(f.Report().find("F Matrix "), std::string::npos);
}

} // namespace
} // namespace zarno::test

namespace zarno::test {
namespace {

// A not-a-number spring is no small pivot: the solution comes back as not-a-number so that
// the load-case loop reports it as such (its own runtime error) rather than as a pivot.
TEST(SmallPivot, NotANumberSpringIsLeftToTheNotANumberCheck) {
    auto p = Make_Elastic_Pile(kLength, 100, kEI, kK, 0.0, LOADING_SHEAR_MOMENT, 1000.0, 0.0);
    p->Es[50] = std::nan("");
    auto s = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
    EXPECT_TRUE(std::isnan(s->y(1)));
}

} // namespace
} // namespace zarno::test
