// Whole lateral runs through the input file, checked against the beam on an elastic
// foundation and against the balance of the solution. The expected values come from the
// closed form, never from an earlier run.
#include "lateral_input.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>

namespace zarno::test {
namespace {

// Semi-infinite beam on springs k (force per length per deflection) with head shear V0 and
// head moment M0, x downwards, M = EI y'', V = EI y''':
//   y = exp(-bx) (A cos bx + B sin bx), B = -M0 / (2 b^2 EI), A = V0 / (2 b^3 EI) - B.
// A fixed head (zero slope) under V0 has A = B = V0 / (4 b^3 EI).
struct Beam {
    double EI, k, A, B, beta;
    static Beam Free(double EI, double k, double V0, double M0) {
        const double beta = std::pow(k / (4.0 * EI), 0.25);
        const double B = -M0 / (2.0 * beta * beta * EI);
        return {EI, k, V0 / (2.0 * beta * beta * beta * EI) - B, B, beta};
    }
    static Beam Fixed(double EI, double k, double V0) {
        const double beta = std::pow(k / (4.0 * EI), 0.25);
        const double A = V0 / (4.0 * beta * beta * beta * EI);
        return {EI, k, A, A, beta};
    }
    // Head deflection y0 imposed with zero moment (B = 0) or with zero slope (A = B).
    static Beam Deflected(double EI, double k, double y0, bool fixed) {
        const double beta = std::pow(k / (4.0 * EI), 0.25);
        return {EI, k, y0, fixed ? y0 : 0.0, beta};
    }
    double y(double x) const {
        const double bx = beta * x;
        return std::exp(-bx) * (A * std::cos(bx) + B * std::sin(bx));
    }
    double slope(double x) const {
        const double bx = beta * x;
        return beta * std::exp(-bx) * ((B - A) * std::cos(bx) - (A + B) * std::sin(bx));
    }
    double M(double x) const {
        const double bx = beta * x;
        return 2.0 * beta * beta * EI * std::exp(-bx) * (A * std::sin(bx) - B * std::cos(bx));
    }
};

struct Errors {
    double y = 0.0, slope = 0.0, M = 0.0;
};

// Largest differences along the pile, each relative to the largest closed-form value.
Errors Compare(const std::vector<Station>& st, const Beam& beam) {
    Errors e;
    double ymax = 0.0, smax = 0.0, mmax = 0.0;
    for (const Station& s : st) {
        ymax = std::max(ymax, std::abs(beam.y(s.X)));
        smax = std::max(smax, std::abs(beam.slope(s.X)));
        mmax = std::max(mmax, std::abs(beam.M(s.X)));
    }
    for (size_t i = 0; i < st.size(); ++i) {
        e.y = std::max(e.y, std::abs(st[i].y - beam.y(st[i].X)) / ymax);
        e.M = std::max(e.M, std::abs(st[i].M - beam.M(st[i].X)) / mmax);
        if (i > 0 && i + 1 < st.size()) {
            const double s = (st[i + 1].y - st[i - 1].y) / (st[i + 1].X - st[i - 1].X);
            e.slope = std::max(e.slope, std::abs(s - beam.slope(st[i].X)) / smax);
        }
    }
    return e;
}

constexpr double kEI = 29.0e6 * 16000.0; // lb-in^2
constexpr double kSpring = 100.0 * 24.0; // Esub * b, lb/in^2

TEST(LateralRun, ElasticPileMatchesBeamOnElasticFoundationAndConvergesWithIncrements) {
    struct Load {
        const char* line;
        Beam beam;
    };
    const Load loads[] = {
        {"1 10000.0 0.0 0.0 1", Beam::Free(kEI, kSpring, 10000.0, 0.0)},  // head shear
        {"1 0.0 1000000.0 0.0 1", Beam::Free(kEI, kSpring, 0.0, 1.0e6)},  // head moment
        {"2 10000.0 0.0 0.0 1", Beam::Fixed(kEI, kSpring, 10000.0)},      // fixed head
        {"4 0.05 0.0 0.0 1", Beam::Deflected(kEI, kSpring, 0.05, false)}, // y and M = 0
        {"5 0.05 0.0 0.0 1", Beam::Deflected(kEI, kSpring, 0.05, true)},  // y and S = 0
    };
    constexpr size_t kLoads = std::size(loads);
    const int increments[] = {50, 100, 200, 400};
    std::vector<std::vector<Errors>> errors(kLoads);
    for (int n : increments) {
        LateralCase c;
        c.increments = n;
        for (const Load& l : loads) {
            c.loads.push_back(l.line);
        }
        const RunOutput out = Run_Text(Lateral_Input(c));
        ASSERT_EQ(out.result, 0) << out.report;
        const auto cases = Read_Stations(out.plot);
        ASSERT_EQ(cases.size(), kLoads);
        for (size_t k = 0; k < kLoads; ++k) {
            ASSERT_EQ(cases[k].size(), static_cast<size_t>(n + 1));
            errors[k].push_back(Compare(cases[k], loads[k].beam));
        }
        EXPECT_EQ(Count(out.report, "Output Verification: Computed forces and moments are within "
                                    "specified convergence limits."),
                  static_cast<int>(kLoads));
        // Fixed head: the computed head rotation (y2 - y0) / 2h is zero, so y2 = y0.
        const auto summary = Read_Summary_Records(out.plot);
        ASSERT_EQ(summary.size(), kLoads);
        EXPECT_LT(std::abs(summary[2][4]), 1e-12);
        EXPECT_NEAR(summary[2][0], 10000.0, 1e-6);
    }
    for (size_t k = 0; k < kLoads; ++k) {
        SCOPED_TRACE(loads[k].line);
        // Second-order differences: at least three times smaller per halving of h, until
        // the error reaches the floor of the finite pile (exp(-beta L), about 2e-5 here).
        constexpr double kFloor = 1e-4;
        for (size_t j = 1; j < errors[k].size(); ++j) {
            if (errors[k][j - 1].y > kFloor) {
                EXPECT_LT(errors[k][j].y, errors[k][j - 1].y / 3.0);
            }
            if (errors[k][j - 1].M > kFloor) {
                EXPECT_LT(errors[k][j].M, errors[k][j - 1].M / 3.0);
            }
        }
        EXPECT_LT(errors[k][1].y, 0.01); // 100 increments: within 1 %
        EXPECT_LT(errors[k].back().y, 1e-3);
        EXPECT_LT(errors[k].back().M, 1e-3);
        EXPECT_LT(errors[k].back().slope, 2e-3);
    }
}

TEST(LateralRun, ZeroDeflectionZeroMomentAndNoLoadGiveZeroEverywhere) {
    LateralCase c;
    c.loads = {"4 0.0 0.0 0.0 1"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    ASSERT_EQ(out.result, 0) << out.report;
    const auto cases = Read_Stations(out.plot);
    ASSERT_EQ(cases.size(), 1u);
    for (const Station& s : cases[0]) {
        EXPECT_EQ(s.y, 0.0);
        EXPECT_EQ(s.M, 0.0);
        EXPECT_EQ(s.V, 0.0);
        EXPECT_EQ(s.p, 0.0);
    }
}

TEST(LateralRun, UserCurvesOfALinearSpringGiveTheElasticSubgradeAnswer) {
    LateralCase elastic;
    elastic.loads = {"1 10000.0 50000.0 0.0 1"};
    LateralCase user = elastic;
    // p = Esub * b * y at the top and the bottom of the layer (y in inches, p in lb/in).
    user.layers = "1\n14 0.0 150.0\n60.0 2\n0.0 0.0\n10.0 24000.0\n60.0 2\n0.0 0.0\n10.0 24000.0\n";
    const RunOutput a = Run_Text(Lateral_Input(elastic));
    const RunOutput b = Run_Text(Lateral_Input(user));
    ASSERT_EQ(a.result, 0) << a.report;
    ASSERT_EQ(b.result, 0) << b.report;
    const auto sa = Read_Stations(a.plot);
    const auto sb = Read_Stations(b.plot);
    ASSERT_EQ(sa.size(), 1u);
    ASSERT_EQ(sb.size(), 1u);
    ASSERT_EQ(sa[0].size(), sb[0].size());
    const double y0 = std::abs(sa[0][0].y);
    for (size_t i = 0; i < sa[0].size(); ++i) {
        EXPECT_NEAR(sb[0][i].y, sa[0][i].y, 1e-6 * y0) << "station " << i + 1;
    }
}

TEST(LateralRun, ConvergenceNeedsSixIterationsAndTheLastFiveGoToTheReport) {
    LateralCase c;
    c.loads = {"1 10000.0 0.0 0.0 1"};
    c.max_iterations = 30;
    const RunOutput out = Run_Text(Lateral_Input(c));
    ASSERT_EQ(out.result, 0) << out.report;
    // A linear problem settles after two solutions but is accepted only at the sixth.
    EXPECT_NE(out.messages.find("Iteration 6,"), std::string::npos);
    EXPECT_EQ(out.messages.find("Iteration 7,"), std::string::npos);
    EXPECT_NE(out.messages.find("The convergence criteria have been met for load case 1"),
              std::string::npos);
    EXPECT_EQ(Count(out.report, "For Analysis Case 1,"), 0); // only iterations 26 to 30 go there
}

TEST(LateralRun, NonConvergenceReportsRun00010WithRecommendations) {
    const RunOutput out = Run_Text(Lateral_Input(Non_Converging_Case()));
    EXPECT_EQ(out.result, 210) << out.report;
    EXPECT_EQ(Count(out.report, "For Analysis Case 1,"), 5);
    EXPECT_NE(out.report.find("  ****  Runtime Error No. 10  ****  "), std::string::npos);
    EXPECT_NE(
        out.report.find(
            "The analysis of load case 1 failed to converge within the limit of 30 iterations."),
        std::string::npos);
    EXPECT_NE(out.report.find("convergence performancefor the last analysis. "), std::string::npos);
    EXPECT_EQ(out.report.find("Output Summary for Load Case"), std::string::npos);
    EXPECT_NE(out.messages.find("The analysis ended due to runtime error No. 10."),
              std::string::npos);
}

// Failing runs end with their status and message; no result and no not-a-number is
// presented as an answer.
TEST(LateralRun, RuntimeFailuresEndWithAStatusAndNoResults) {
    struct Case {
        const char* name;
        LateralCase c;
    };
    std::vector<Case> cases;
    {
        LateralCase over; // soil that gives out at 1 inch, loaded far beyond it
        over.layers = "1\n14 0.0 150.0\n60.0 3\n0.0 0.0\n1.0 100.0\n100.0 100.0\n60.0 3\n0.0 0.0\n"
                      "1.0 100.0\n100.0 100.0\n";
        over.loads = {"1 1000000.0 0.0 0.0 1"};
        over.excess_deflection = 10.0;
        cases.push_back({"overloaded pile", over});
    }
    {
        LateralCase none;
        none.layers = "none";
        none.loads = {"1 10000.0 0.0 0.0 1"};
        cases.push_back({"no soil", none});
    }
    {
        LateralCase zero_ei;
        zero_ei.E = 0.0;
        zero_ei.loads = {"1 10000.0 0.0 0.0 1"};
        cases.push_back({"zero EI", zero_ei});
    }
    {
        LateralCase zero_length;
        zero_length.length_ft = 0.0;
        zero_length.layers = "1\n13 0.0 10.0\n60.0 100.0\n60.0 100.0\n";
        zero_length.loads = {"1 10000.0 0.0 0.0 1"};
        cases.push_back({"zero-length section", zero_length});
    }
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const RunOutput out = Run_Text(Lateral_Input(k.c));
        EXPECT_GT(out.result, 100);
        EXPECT_EQ(out.report.find("Output Summary for Load Case"), std::string::npos);
        EXPECT_EQ(out.report.find("nan"), std::string::npos);
        EXPECT_EQ(out.report.find("NaN"), std::string::npos);
        EXPECT_EQ(out.plot.find("Line 10("), std::string::npos);
        EXPECT_NE(out.report.find("rror"), std::string::npos) << "an error message is written";
    }
}

} // namespace
} // namespace zarno::test

namespace zarno::test {
namespace {

TEST(LateralRun, LayerThinnerThanAnIncrementStopsInIterationOne) {
    const std::string curve = "60.0 2\n0.0 0.0\n10.0 24000.0\n";
    LateralCase c;
    // A 1-inch layer at 50 ft between stations 18 in apart.
    c.layers = "3\n14 0.0 50.0\n" + curve + curve + "14 50.0 50.08333333\n" + curve + curve +
               "14 50.08333333 150.0\n" + curve + curve;
    c.loads = {"1 10000.0 0.0 0.0 1"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    EXPECT_EQ(out.result, 229);
    EXPECT_NE(out.messages.find("Iteration 1,"), std::string::npos);
    EXPECT_EQ(out.messages.find("Iteration 2,"), std::string::npos);
    EXPECT_NE(out.report.find("needed to get at least one nodal point in the layer is 1800."),
              std::string::npos);
    EXPECT_EQ(out.plot.find("Line 10("), std::string::npos);
}

} // namespace
} // namespace zarno::test
