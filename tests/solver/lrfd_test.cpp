// Factored loads of LRFD combinations and the averaging of their distributed loads over
// the station windows, checked against hand calculations.
#include "engine/analysis_model.h"
#include "lateral/lateral_input.h"
#include "report/report_header.h"
#include "solver/lrfd.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zarno::test {
namespace {

constexpr double PI = 3.141592653589793;

struct UnfactoredLoad {
    int type;
    double H, M, P;
};

struct FactoredCase {
    const char* what;
    std::vector<UnfactoredLoad> loads;
    std::vector<std::vector<double>> factors; // per combination: {type, factor, ...}
    double batter_rad;
    std::vector<double> V, M, P; // expected per combination
};

std::unique_ptr<AnalysisModel> Model_With(const FactoredCase& c) {
    auto m = Make_Fresh_Model();
    m->b_Use_LRFD = true;
    m->i_Num_Lrfd_Loads = static_cast<int>(c.loads.size());
    for (size_t i = 0; i < c.loads.size(); ++i) {
        LrfdLoad& l = m->Lrfd_Loads[i + 1];
        l.i_Load_Type = c.loads[i].type;
        l.Horizontal_Force = c.loads[i].H;
        l.Moment = c.loads[i].M;
        l.Axial_Force = c.loads[i].P;
    }
    m->i_Num_Lrfd_Combinations = static_cast<int>(c.factors.size());
    for (size_t k = 0; k < c.factors.size(); ++k) {
        for (size_t j = 0; j + 1 < c.factors[k].size(); j += 2) {
            m->Lrfd_Combinations[k + 1].Load_Factor[static_cast<size_t>(c.factors[k][j])] =
                c.factors[k][j + 1];
        }
    }
    m->Pile_Batter = c.batter_rad;
    return m;
}

TEST(LrfdFactoredLoads, SumsByTypeFactorsAndBatter) {
    const double b10 = 10.0 * PI / 180.0;
    const FactoredCase cases[] = {
        {"two dead loads and a live load",
         {{1, 10, 0, 0}, {1, 20, 0, 0}, {2, 5, 0, 0}},
         {{1, 1.25, 2, 1.75}},
         0.0,
         {46.25},
         {0.0},
         {0.0}},
        {"moments and axial forces factored the same way",
         {{1, 0, 1000, 100}, {2, 0, -200, 50}, {5, 7, 300, 0}},
         {{1, 1.25, 2, 1.75}, {1, 0.9, 5, 1.4}},
         0.0,
         {0.0, 9.8},
         {1250.0 - 350.0, 900.0 + 420.0},
         {212.5, 90.0}},
        {"10 degrees of batter rotate shear and thrust into the pile axes",
         {{1, 100, 50, 1000}},
         {{1, 1.0}},
         b10,
         {100 * std::cos(b10) + 1000 * std::sin(b10)},
         {50.0},
         {-100 * std::sin(b10) + 1000 * std::cos(b10)}},
        {"a batter of 1e-6 rad is a vertical pile",
         {{1, 100, 50, 1000}},
         {{1, 1.0}},
         1.0e-6,
         {100.0},
         {50.0},
         {1000.0}},
    };
    for (const FactoredCase& c : cases) {
        auto m = Model_With(c);
        Compute_Factored_Loads(*m);
        for (size_t k = 0; k < c.V.size(); ++k) {
            const int n = static_cast<int>(k) + 1;
            EXPECT_NEAR(m->Lrfd.Shear[n], c.V[k], 1e-9) << c.what << " combination " << n;
            EXPECT_NEAR(m->Lrfd.Moment[n], c.M[k], 1e-9) << c.what << " combination " << n;
            EXPECT_NEAR(m->Lrfd.Axial[n], c.P[k], 1e-9) << c.what << " combination " << n;
        }
    }
}

TEST(LrfdFactoredLoads, DistinctThrustsReplaceTheSectionThrustList) {
    // Dead P = 100 kips, live P = 50 kips: 1.25/1.75 gives 212.5 kips, the other two
    // combinations both 100 kips, which share one table.
    FactoredCase c{"",
                   {{1, 0, 0, 100000}, {2, 0, 0, 50000}},
                   {{1, 1.0}, {1, 1.25, 2, 1.75}, {2, 2.0}},
                   0.0,
                   {},
                   {},
                   {}};
    auto m = Model_With(c);
    m->IUNITS = USCS;
    m->i_Num_Axial_Thrusts = 2; // the unfactored forces the reader listed
    m->Axial_Thrust_List[1] = 50.0;
    m->Axial_Thrust_List[2] = 100.0;
    Compute_Factored_Loads(*m);
    ASSERT_EQ(m->i_Num_Axial_Thrusts, 2);
    EXPECT_DOUBLE_EQ(m->Axial_Thrust_List[1], 100.0);
    EXPECT_DOUBLE_EQ(m->Axial_Thrust_List[2], 212.5);
    EXPECT_EQ(m->Lrfd.i_Thrust_Index[1], 1);
    EXPECT_EQ(m->Lrfd.i_Thrust_Index[2], 2);
    EXPECT_EQ(m->Lrfd.i_Thrust_Index[3], 1);

    // SI keeps the forces as computed; the load cases become shear-and-moment cases.
    m->IUNITS = SI;
    Compute_Factored_Loads(*m);
    EXPECT_DOUBLE_EQ(m->Axial_Thrust_List[2], 212500.0);
    Set_Lrfd_Load_Cases(*m);
    EXPECT_EQ(m->i_Num_Loads, 3);
    EXPECT_EQ(m->Loads[2].i_Load_Type, 1);
    EXPECT_DOUBLE_EQ(m->Loads[2].Axial_Thrust, 212500.0);
    EXPECT_EQ(m->Loads[2].i_Compute_Top_Deflection_vs_Length, 1);
}

// A 500 in pile in 10 increments: stations every 50 in, windows of 50 in (25 at the ends).
struct Grid : ModelFiles {
    Grid() {
        m->b_Use_LRFD = true;
        m->i_Num_Nodes = 11;
        m->Increment_Length = 50.0;
        m->Grid_Pile_Length = 500.0;
        for (int i = 1; i <= 11; ++i) {
            m->Nodes[i].X = 50.0 * (i - 1);
        }
        m->i_Num_Lrfd_Combinations = 1;
        m->Lrfd_Combinations[1].Load_Factor[1] = 1.0;
        m->Lrfd_Combinations[1].Load_Factor[5] = 2.0;
    }
    void Add_Load(int type, std::vector<DepthValue> profile) {
        LrfdLoad& l = m->Lrfd_Loads[++m->i_Num_Lrfd_Loads];
        l.i_Load_Type = type;
        l.i_Num_Dist_Points = static_cast<int>(profile.size());
        for (size_t j = 0; j < profile.size(); ++j) {
            l.Dist_Load[j + 1] = profile[j];
        }
    }
};

TEST(LrfdDistributedLoads, WindowAveragesMatchHandIntegration) {
    struct Case {
        const char* what;
        std::vector<DepthValue> profile;
        std::vector<double> expected; // average at stations 1..11
    };
    const Case cases[] = {
        {"uniform from head to tip, head and tip included",
         {{0, 12}, {500, 12}},
         {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12}},
        {"linear from 0 to 50: the average is the value at the window centre",
         {{0, 0}, {500, 50}},
         {1.25, 5, 10, 15, 20, 25, 30, 35, 40, 45, 48.75}},
        // Windows [75,125] and [225,275] straddle the ends: 5 and 15 in loaded of 50.
        {"profile from 120 to 240 in", {{120, 10}, {240, 10}}, {0, 0, 1, 10, 10, 3, 0, 0, 0, 0, 0}},
        // Step at 225 in: the window [175,225] ends on it (value above), [225,275] starts
        // on it (value below).
        {"step in the profile",
         {{0, 10}, {225, 10}, {225, 30}, {500, 30}},
         {10, 10, 10, 10, 10, 30, 30, 30, 30, 30, 30}},
    };
    for (const Case& c : cases) {
        Grid g;
        g.Add_Load(1, c.profile);
        Compute_Lrfd_Distributed_Loads(*g.m);
        for (int i = 1; i <= 11; ++i) {
            EXPECT_NEAR(g.m->Lrfd.Type_Load[1][static_cast<size_t>(i)], c.expected[i - 1], 1e-12)
                << c.what << ", station " << i;
        }
    }
}

TEST(LrfdDistributedLoads, FactoredSumOverTypesAndItsReport) {
    Grid g;
    Set_Unit_Labels(*g.m, USCS);
    g.Add_Load(1, {{0, 4}, {500, 4}});     // dead, factor 1
    g.Add_Load(1, {{0, 1}, {500, 1}});     // a second dead load adds to the same type
    g.Add_Load(5, {{250, 3}, {500, 3}});   // wind, factor 2
    g.Add_Load(2, {{0, 100}, {500, 100}}); // live, factor 0 in this combination
    g.Add_Load(3, {});                     // no profile: nothing reported for its type
    Apply_Lrfd_Distributed_Loads(*g.m, 1);
    EXPECT_DOUBLE_EQ(g.m->Nodes[1].Dist_Load, 5.0);
    EXPECT_DOUBLE_EQ(g.m->Nodes[6].Dist_Load, 5.0 + 2.0 * 1.5); // [225,275]: half loaded
    EXPECT_DOUBLE_EQ(g.m->Nodes[11].Dist_Load, 11.0);
    EXPECT_DOUBLE_EQ(Factored_Distributed_Load(*g.m, 11, 1), 11.0);
    EXPECT_DOUBLE_EQ(Applied_Distributed_Load(*g.m, 11), 11.0);
    const std::string report = g.Report();
    // Dead, live and wind have loads: three blocks, each with its own heading.
    EXPECT_EQ(Count(report, "Distributed Lateral Loads for LRFD:"), 3);
    EXPECT_NE(report.find("Sums of Distributed Lateral Load Per Unit Length due to Dead Loads" +
                          std::string(20, ' ') + "\n"),
              std::string::npos);
    EXPECT_EQ(report.find("Earthquake"), std::string::npos);
    EXPECT_NE(report.find("   Depth     Distributed Load\n    in            lbs/in\n"
                          "----------   ----------------\n      0.00         5.00\n"),
              std::string::npos)
        << report;
    // The wind block lists only the stations it loads: 225..500 in.
    const size_t wind = report.find("Wind Loads");
    ASSERT_NE(wind, std::string::npos);
    EXPECT_NE(report.find("    250.00         1.50\n    300.00         3.00\n", wind),
              std::string::npos);
    EXPECT_EQ(report.find("    200.00", wind), std::string::npos);
}

} // namespace
} // namespace zarno::test
