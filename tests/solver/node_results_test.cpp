#include "report/text_file.h"
#include "solver/elastic_pile.h"
#include "solver/fd_solver.h"
#include "solver/node_results.h"
#include "test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace zarno::test {
namespace {

constexpr double kEI = 4.0e10;
constexpr double kK = 1000.0;
const double kLambda = std::pow(kK / (4.0 * kEI), 0.25);
const double kLength = 14.0 / kLambda;

// One solved load case and its results, computed station by station with the balance
// check after each, as the results of a case are produced.
struct SolvedCase {
    std::unique_ptr<FdPileModel> p;
    std::unique_ptr<FdSolution> s = std::make_unique<FdSolution>();
    std::unique_ptr<NodeResultInputs> in = std::make_unique<NodeResultInputs>();
    std::unique_ptr<NodeResults> r = std::make_unique<NodeResults>();
    ResultMaxima mx;
    EquilibriumCheck eq;

    explicit SolvedCase(std::unique_ptr<FdPileModel> model) : p(std::move(model)) {
        TextFile sink(nullptr);
        EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
        for (int m = 1; m <= p->i_Num_Nodes; ++m) {
            in->Depth[static_cast<size_t>(m)] = (m - 1) * p->Increment;
            in->i_Section[static_cast<size_t>(m)] = 1;
        }
    }
    void Results(const EquilibriumReporting& out, TextFile& report, TextFile& messages) {
        Clear_Running_Maxima(mx);
        Clear_Equilibrium_Check(eq);
        const int N = p->i_Num_Nodes;
        for (int m = 1; m <= N; ++m) {
            Compute_Node_Results(m, *p, *in, *s, *r, mx);
            if (m >= 3) {
                Check_Segment_Equilibrium(m, 1, *p, *s, *r, eq, out, report, messages);
            }
        }
        Check_Segment_Equilibrium(N + 1, 1, *p, *s, *r, eq, out, report, messages);
    }
};

const EquilibriumReporting kUscs{1, false, false, "in   ", "lbs  "};

// A converged elastic solution is in balance: every segment's moment imbalance is far
// below 1 in-lb, the lateral forces close, and the soil reactions (trapezoidal sum) carry
// the head shear. The verdict line follows.
TEST(SegmentEquilibrium, ElasticSolutionIsInBalanceForEveryHeadCondition) {
    struct Case {
        const char* name;
        int type;
        double c1, c2, Q;
    };
    const Case cases[] = {
        {"shear", LOADING_SHEAR_MOMENT, 10000.0, 0.0, 0.0},
        {"shear, moment, thrust", LOADING_SHEAR_MOMENT, 10000.0, 1.0e6, 1.0e6},
        {"fixed head", LOADING_SHEAR_SLOPE, 10000.0, 0.0, 0.0},
        {"rotational restraint", LOADING_SHEAR_ROTATIONAL, 10000.0, 5.0e8, 5.0e5},
        {"deflection, moment", LOADING_DEFLECTION_MOMENT, 0.5, -2.0e5, 0.0},
        {"deflection, slope", LOADING_DEFLECTION_SLOPE, 0.5, -0.002, 2.0e5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SolvedCase sc(Make_Elastic_Pile(kLength, 200, kEI, kK, c.Q, c.type, c.c1, c.c2));
        ReportAndMessages f;
        sc.Results(kUscs, f.report, f.messages);
        const double V1 = sc.r->Shear[1];
        EXPECT_LT(std::fabs(sc.eq.dM_max), BALANCE_LIMIT_USCS);
        EXPECT_LT(std::fabs(sc.eq.dM_max), 1.0e-3); // well inside: the scheme is conservative
        EXPECT_LT(std::fabs(sc.eq.dV_max), 1.0e-6 * std::fabs(V1));

        const int N = sc.p->i_Num_Nodes;
        const double h = sc.p->Increment;
        double soil = 0.0;
        for (int m = 1; m <= N; ++m) {
            soil +=
                ((m == 1 || m == N) ? 0.5 : 1.0) * h * sc.r->Soil_Reaction[static_cast<size_t>(m)];
        }
        // With an imposed slope the head shear is a one-sided estimate: it agrees with the
        // soil reactions to the discretization error only.
        const double tolerance = c.type == LOADING_DEFLECTION_SLOPE ? 5.0e-3 : 1.0e-6;
        EXPECT_NEAR(soil, -V1, tolerance * std::fabs(V1));
        EXPECT_EQ(f.Report(), "\nOutput Verification: Computed forces and moments are within "
                              "specified convergence limits.\n\n");
        EXPECT_EQ(f.Messages(), "");
    }
}

TEST(NodeResults, HeadShearAndMomentReproduceTheImposedConditions) {
    SolvedCase sc(
        Make_Elastic_Pile(kLength, 100, kEI, kK, 2.0e6, LOADING_SHEAR_MOMENT, 12000.0, -3.0e5));
    TextFile sink(nullptr);
    sc.Results(kUscs, sink, sink);
    EXPECT_NEAR(sc.r->Shear[1], 12000.0, 1.0e-6);
    EXPECT_NEAR(sc.r->Moment[1], -3.0e5, 1.0e-4);
    EXPECT_DOUBLE_EQ(sc.r->Balance_Head_Moment, -3.0e5);
    const int N = sc.p->i_Num_Nodes;
    EXPECT_EQ(sc.r->Moment[static_cast<size_t>(N)], 0.0);
    EXPECT_EQ(sc.r->Shear[static_cast<size_t>(N)], sc.s->V_Tip);
    const double h = sc.p->Increment;
    EXPECT_DOUBLE_EQ(sc.r->Slope[static_cast<size_t>(N)], (sc.s->y(N) - sc.s->y(N - 1)) / h);
}

// With deflection and slope imposed, the printed head slope is the imposed one, the
// computed slope and the head shear come from one-sided differences and agree with the
// closed form to the discretization error.
TEST(NodeResults, ImposedSlopeHeadUsesOneSidedDifferences) {
    const double yt = 0.5, S = -0.002;
    ClosedFormPile cf(kEI, kK, 0.0);
    cf.Impose(cf.Z_Deflection(), yt, cf.Z_Slope(), S);
    double previous_error = 1.0e300;
    double previous_slope_error = 1.0e300;
    for (int n : {100, 200, 400}) {
        SolvedCase sc(Make_Elastic_Pile(kLength, n, kEI, kK, 0.0, LOADING_DEFLECTION_SLOPE, yt, S));
        TextFile sink(nullptr);
        sc.Results(kUscs, sink, sink);
        EXPECT_EQ(sc.r->Slope[1], S);
        const double error = std::fabs(sc.r->Shear[1] - cf.shear(0.0)) / std::fabs(cf.shear(0.0));
        const double slope_error = std::fabs(sc.r->Head_Slope_Computed - S);
        EXPECT_LT(error, previous_error / 3.5) << n;
        EXPECT_LT(slope_error, previous_slope_error / 3.5) << n;
        previous_error = error;
        previous_slope_error = slope_error;
        EXPECT_DOUBLE_EQ(sc.r->Balance_Head_Moment, sc.r->Moment[1]);
    }
    // lambda h = 0.035 at 400 increments; second-order errors of a few (lambda h)^2.
    EXPECT_LT(previous_error, 2.0e-3);
    EXPECT_LT(previous_slope_error, 3.0 * 0.035 * 0.035 * kLambda * yt);
}

TEST(NodeResults, HeadStiffnessIsCarriedToTheSecondStation) {
    auto p = Make_Elastic_Pile(kLength, 100, kEI, kK, 0.0, LOADING_SHEAR_MOMENT, 1.0, 0.0);
    p->EI[2] = 7.0;
    auto s = std::make_unique<FdSolution>();
    auto in = std::make_unique<NodeResultInputs>();
    auto r = std::make_unique<NodeResults>();
    ResultMaxima mx;
    Compute_Node_Results(50, *p, *in, *s, *r, mx);
    EXPECT_EQ(p->EI[2], kEI);
}

// Hand-made deflections on a short grid: every derived value is checked by hand.
TEST(NodeResults, StressReactionAndMaximaByHand) {
    auto p = std::make_unique<FdPileModel>();
    p->i_Num_Nodes = 6;
    p->Increment = 10.0;
    p->Axial_Thrust = -500.0; // tension: the axial stress counts in magnitude
    p->i_Loading_Type = LOADING_SHEAR_SLOPE;
    auto s = std::make_unique<FdSolution>();
    // y(-1) .. y(7): a parabola y = x^2 / 100 about station 1 (x = 0 there).
    for (int m = -1; m <= 7; ++m) {
        const double x = (m - 1) * 10.0;
        s->y(m) = x * x / 100.0;
    }
    auto in = std::make_unique<NodeResultInputs>();
    for (int m = 1; m <= 6; ++m) {
        const size_t k = static_cast<size_t>(m);
        p->EI[k] = 1000.0 * m;
        p->Es[k] = 3.0;
        p->Soil_Movement[k] = 0.25;
        in->Depth[k] = (m - 1) * 10.0;
        in->Dist_Load_Avg[k] = 2.0;
        in->Inertia[k] = 100.0;
        in->Area[k] = 50.0;
        in->Stress_Width[k] = 12.0;
        in->i_Section[k] = m <= 3 ? 1 : 2;
    }
    in->Inertia[5] = 0.0;
    in->b_Use_Soil_Movement = true;
    auto r = std::make_unique<NodeResults>();
    ResultMaxima mx;
    for (int m = 1; m <= 6; ++m) {
        Compute_Node_Results(m, *p, *in, *s, *r, mx);
    }
    // Curvature 2/100 everywhere but the tip; M = EI * 0.02 with EI(2) = EI(1).
    EXPECT_DOUBLE_EQ(r->Curvature[1], 0.02);
    EXPECT_DOUBLE_EQ(r->Moment[1], 20.0);
    EXPECT_DOUBLE_EQ(r->Moment[2], 20.0);
    EXPECT_DOUBLE_EQ(r->Moment[4], 80.0);
    EXPECT_EQ(r->Moment[6], 0.0);
    // Slope 2x/100 at x = 30.
    EXPECT_DOUBLE_EQ(r->Slope[4], 0.6);
    // Station 4: V = Q S + [R5 (y6 - 2y5 + y4) - R3 (y4 - 2y3 + y2)] / (2 h^3)
    //          = -500 * 0.6 + (5000 * 2 - 3000 * 2) / 2000 = -298.
    EXPECT_DOUBLE_EQ(r->Shear[4], -298.0);
    // p = -k (y - u) - q: station 3, y = 4.
    EXPECT_DOUBLE_EQ(r->Soil_Reaction[3], -3.0 * (4.0 - 0.25) - 2.0);
    // sigma = |Q| / A + |M| (b / 2) / I: station 4, 10 + 80 * 6 / 100.
    EXPECT_DOUBLE_EQ(r->Stress[4], 10.0 + 4.8);
    EXPECT_EQ(r->Stress[5], 0.0); // no section properties: no stress
    // Largest moment: station 5 (EI 5000), at depth 40; section 2 holds it, section 1 its
    // own largest (station 3, 60).
    EXPECT_DOUBLE_EQ(mx.Moment, 100.0);
    EXPECT_DOUBLE_EQ(mx.Moment_Depth, 40.0);
    EXPECT_DOUBLE_EQ(mx.Section_Moment[1], 60.0);
    EXPECT_EQ(mx.i_Section_Moment_Node[1], 3);
    EXPECT_DOUBLE_EQ(mx.Section_Moment[2], 100.0);
    EXPECT_EQ(mx.i_Section_Moment_Node[2], 5);
    EXPECT_DOUBLE_EQ(mx.Stress, 14.8);

    // Constant EI: equal moments at stations 1 to 5; the earlier station is kept.
    ResultMaxima flat;
    for (int m = 1; m <= 6; ++m) {
        p->EI[static_cast<size_t>(m)] = 1000.0;
        Compute_Node_Results(m, *p, *in, *s, *r, flat);
    }
    EXPECT_DOUBLE_EQ(flat.Moment, 20.0);
    EXPECT_DOUBLE_EQ(flat.Moment_Depth, 0.0);
    EXPECT_EQ(flat.i_Section_Moment_Node[1], 1);
    EXPECT_EQ(flat.i_Section_Moment_Node[2], 4);
}

TEST(NodeResults, ZeroDeflectionWithInfiniteSpringGivesZeroReaction) {
    auto p = Make_Elastic_Pile(100.0, 10, 1.0, 0.0, 0.0, LOADING_SHEAR_MOMENT, 0.0, 0.0);
    p->Es[4] = std::numeric_limits<double>::infinity();
    auto s = std::make_unique<FdSolution>();
    auto in = std::make_unique<NodeResultInputs>();
    auto r = std::make_unique<NodeResults>();
    ResultMaxima mx;
    Compute_Node_Results(4, *p, *in, *s, *r, mx);
    EXPECT_EQ(r->Soil_Reaction[4], 0.0);
}

// ---- verdict ---------------------------------------------------------------------------

EquilibriumCheck Imbalanced() {
    EquilibriumCheck e;
    e.dM_max = -5.25;
    e.i_dM_Index = 4;
    e.dV_max = 0.125;
    e.i_dV_Index = 17;
    return e;
}

const char* const kWarningBody =
    "\n"
    "Force and moment imbalances may be too large for a good solution.\n"
    "\n"
    "The cause of the imbalance may be due to extreme changes in magnitude\n";
const char* const kWarningTail =
    "which may affect the finite difference computation of shear force.\n"
    "\n"
    "Please examine curves and printed output for deflection, moment, shear force,\n"
    "and number of iterations to determine if computed values are reasonable.\n"
    "If the shear force shows large changes, increase the number of nodal points\n"
    "(pile increments) and repeat the analysis.\n"
    "\n";
const char* const kUscsLine =
    "of nonlinear bending stiffness within three nodal points of the top of the pile\n";

TEST(EquilibriumVerdict, UscsWarningBlocks) {
    ReportAndMessages f;
    Write_Equilibrium_Verdict(1, Imbalanced(), kUscs, f.report, f.messages);
    EXPECT_EQ(f.Report(), std::string("\n\n**** Warning - POSSIBLE SOLUTION ERROR 5501 ****\n") +
                              kWarningBody + kUscsLine + kWarningTail +
                              "Maximum internal moment imbalance for pile        =     -5.25000 "
                              "in-lbs\n"
                              "Maximum internal lateral force imbalance for pile =      0.12500 "
                              "lbs\n");
    EXPECT_EQ(f.Messages(), std::string("\n\n**** Warning - POSSIBLE SOLUTION ERROR 550 ****\n") +
                                kWarningBody + kUscsLine + kWarningTail +
                                "Maximum internal moment imbalance for pile solution         = "
                                "-5.25000E+00 in-lbs at node 4\n"
                                "Maximum internal lateral force imbalance for pile  solution = "
                                " 1.25000E-01 lbs at node 17\n");
}

TEST(EquilibriumVerdict, SiWarningBlocksUseTheirOwnWording) {
    ReportAndMessages f;
    EquilibriumCheck e = Imbalanced();
    e.dM_max = 0.0002;
    const EquilibriumReporting si{2, false, false, "m    ", "kN   "};
    Write_Equilibrium_Verdict(1, e, si, f.report, f.messages);
    const std::string rep = f.Report();
    EXPECT_EQ(rep.find("\n\n**** Warning - Possible Solution Error 5501 ****\n"), 0u);
    EXPECT_NE(rep.find("of nonlinear bending stiffness within the top three nodal points of the "
                       "pile\n"),
              std::string::npos);
    EXPECT_NE(rep.find(" m-kN\n"), std::string::npos);
    const std::string msg = f.Messages();
    EXPECT_EQ(msg.find("\n\n**** Warning - Possible Solution Error 550 ****\n"), 0u);
    EXPECT_NE(msg.find(kUscsLine), std::string::npos);
    EXPECT_NE(msg.find("=  2.00000E-04 m-kN at node 4\n"), std::string::npos);
}

// Which verdict appears under which options: (units, summary only, stiffness matrix,
// final, imbalance) -> verification line, warning.
TEST(EquilibriumVerdict, OptionsDecideWhatIsWritten) {
    struct Case {
        int units;
        bool summary, kmatrix;
        int final;
        double dM;
        bool verification, warning;
    };
    const Case cases[] = {
        {1, false, false, 1, 1.0, true, false},    // at the limit: in balance
        {1, false, false, 1, 1.0001, false, true}, // just beyond
        {1, true, false, 1, 0.5, false, false},    // summary only: no verification line
        {1, true, false, 1, 3.0, false, true},     // ... but the warning
        {1, false, true, 1, 0.5, false, false},    // stiffness matrix: no verification line
        {1, false, false, 0, 3.0, false, false},   // not the final call: no warning
        {2, false, false, 1, 0.00011298, true, false}, {2, false, false, 1, 0.000113, false, true},
        {3, false, false, 1, 1.0e6, false, false}, // general units: no verdict at all
        {3, false, false, 1, 0.0, false, false},
    };
    for (const Case& c : cases) {
        ReportAndMessages f;
        EquilibriumCheck e = Imbalanced();
        e.dM_max = c.dM;
        const EquilibriumReporting out{c.units, c.summary, c.kmatrix, "in", "lbs"};
        Write_Equilibrium_Verdict(c.final, e, out, f.report, f.messages);
        const std::string rep = f.Report();
        const std::string msg = f.Messages();
        SCOPED_TRACE(testing::Message() << "units " << c.units << " dM " << c.dM);
        EXPECT_EQ(rep.find("Output Verification") != std::string::npos, c.verification);
        EXPECT_EQ(rep.find("5501") != std::string::npos, c.warning);
        EXPECT_EQ(msg.find("550 ") != std::string::npos, c.warning);
    }
}

// The stiffness update takes only the curvature and moment of each station; they must be
// bit for bit those of the full results, with the same head stiffness carried to station 2,
// whatever the stiffness varies along the pile.
TEST(NodeBending, MomentOnlyPassGivesTheBitsOfTheFullResults) {
    for (const int type : {LOADING_SHEAR_MOMENT, LOADING_DEFLECTION_SLOPE}) {
        SolvedCase sc(Make_Elastic_Pile(kLength, 60, kEI, kK, 2.0e5, type, 0.5, -0.002));
        for (int m = 1; m <= sc.p->i_Num_Nodes; ++m) {
            sc.p->EI[m] = kEI * (1.0 + 0.01 * m); // a head stiffness unlike station 2's
        }
        auto full_p = std::make_unique<FdPileModel>(*sc.p);
        auto bending = std::make_unique<NodeResults>();
        for (int m = 1; m <= sc.p->i_Num_Nodes; ++m) {
            Compute_Node_Results(m, *full_p, *sc.in, *sc.s, *sc.r, sc.mx);
            Compute_Node_Bending(m, *sc.p, *sc.s, *bending);
            EXPECT_EQ(bending->Moment[m], sc.r->Moment[m]) << "station " << m;
            EXPECT_EQ(bending->Curvature[m], sc.r->Curvature[m]) << "station " << m;
        }
        EXPECT_EQ(sc.p->EI[2], sc.p->EI[1]);
        EXPECT_EQ(sc.p->EI[2], full_p->EI[2]);
        EXPECT_NE(bending->Moment[1], 0.0);
        EXPECT_EQ(bending->Moment[sc.p->i_Num_Nodes], 0.0); // free tip
    }
}

} // namespace
} // namespace zarno::test
