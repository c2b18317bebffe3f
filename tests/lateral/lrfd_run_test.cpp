// Whole LRFD runs: a combination that reproduces a pile-head load must give the plain
// analysis of that load, the structural verdict must switch exactly at the factored
// capacity, and every faulty LRFD input must end as an input error.
#include "lateral_input.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <vector>

namespace zarno::test {
namespace {

namespace fs = std::filesystem;

// Elastic stiffness of a 24 in x 0.5 in steel pipe, lb-in^2.
const double PIPE_EI = 29.0e6 * 3.141592653589793 / 64.0 * (std::pow(24.0, 4) - std::pow(23.0, 4));

// The input of c with LRFD on and the given LRFD blocks in place of the LOADING block.
std::string Lrfd_Input(LateralCase c, const std::string& lrfd_blocks) {
    c.loads.clear();
    std::string s = Lateral_Input(c);
    s.replace(s.find("UseLRFD NO"), 10, "UseLRFD YES");
    s.erase(s.find("LOADING\n"));
    return s + lrfd_blocks + "END\n";
}

// One combination: its number, the factors by load type, the two resistance factors and
// its name line.
std::string Combination(int k, const std::map<int, double>& factors, double phi,
                        const std::string& name) {
    std::string s = std::to_string(k);
    for (int t = 1; t <= 13; ++t) {
        const auto f = factors.find(t);
        s += " " + std::to_string(f == factors.end() ? 0.0 : f->second);
    }
    return s + " " + std::to_string(phi) + " " + std::to_string(phi) + "\n" + name + "\n";
}

void Expect_Same_Stations(const std::vector<Station>& a, const std::vector<Station>& b) {
    ASSERT_EQ(a.size(), b.size());
    const auto same = [](double x, double y) {
        return std::abs(x - y) <= 1e-6 * std::max(std::abs(x), std::abs(y)) + 1e-12;
    };
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_TRUE(same(a[i].X, b[i].X)) << "station " << i + 1;
        EXPECT_TRUE(same(a[i].y, b[i].y))
            << "y at station " << i + 1 << ": " << a[i].y << " vs " << b[i].y;
        EXPECT_TRUE(same(a[i].M, b[i].M)) << "M at station " << i + 1;
        EXPECT_TRUE(same(a[i].V, b[i].V)) << "V at station " << i + 1;
        EXPECT_TRUE(same(a[i].p, b[i].p)) << "p at station " << i + 1;
        EXPECT_TRUE(same(a[i].EI, b[i].EI)) << "EI at station " << i + 1;
    }
}

// A nonlinear pile: a steel pipe whose stiffness comes from its moment-curvature tables at
// the case's thrust, in soft clay.
LateralCase Nonlinear_Pile() {
    LateralCase c;
    c.section_lines = "4\n150.0\n24.0\n0.5\n36000.0\n29000000.0\n";
    c.layers = "1\n1 0.0 150.0\n52.6 500.0 0.02\n52.6 720.0 0.02\n";
    return c;
}

TEST(LrfdRun, SingleUnitCombinationReproducesThePlainAnalysis) {
    struct Case {
        const char* what;
        std::string plain_profile; // LOADING distributed load points
        std::string lrfd_profile;  // the same profile as LRFD points
        bool soil_movement = false;
    };
    const Case cases[] = {
        {"free head, head loads only", "0\n", "0\n"},
        {"with a distributed load over the upper pile", "3\n1 0 30\n2 300 10\n3 600 0\n",
         "3\n1 0 30\n2 300 10\n3 600 0\n"},
        // The soil-movement load and the soil reaction both take the applied load.
        {"with a distributed load and soil movements", "2\n1 0 20\n2 400 20\n",
         "2\n1 0 20\n2 400 20\n", true},
    };
    for (const Case& k : cases) {
        LateralCase c = Nonlinear_Pile();
        c.loads = {"1 30000.0 5500000.0 80000.0 1"};
        std::string plain = Lateral_Input(c);
        plain.replace(plain.rfind("0\nEND\n"), 6, k.plain_profile + "END\n");
        std::string lrfd = Lrfd_Input(c, "LRFD LOADS\n1\n1 2 30000.0 5500000.0 80000.0 " +
                                             k.lrfd_profile + "LRFD FACTORS AND CASES\n1\n" +
                                             Combination(1, {{2, 1.0}}, 0.9, "Strength check"));
        if (k.soil_movement) {
            const std::string movement = "SOIL MOVEMENTS\n2\n1 0.0 0.5\n2 40.0 0.0\n";
            for (std::string* text : {&plain, &lrfd}) {
                text->replace(text->find("UseSoilMovement NO"), 18, "UseSoilMovement YES");
            }
            plain.insert(plain.find("LOADING\n"), movement);
            lrfd.insert(lrfd.find("LRFD LOADS\n"), movement);
        }
        const RunOutput a = Run_Text(plain);
        const RunOutput b = Run_Text(lrfd);
        ASSERT_EQ(a.result, 0) << k.what << "\n" << a.report;
        ASSERT_EQ(b.result, 0) << k.what << "\n" << b.report;
        const auto sa = Read_Stations(a.plot);
        const auto sb = Read_Stations(b.plot);
        ASSERT_EQ(sa.size(), 1u);
        ASSERT_EQ(sb.size(), 1u);
        Expect_Same_Stations(sa[0], sb[0]);
        // The stiffness near the head came from the tables of the case's thrust, not the
        // elastic value.
        const auto softest =
            std::min_element(sa[0].begin(), sa[0].end(),
                             [](const Station& x, const Station& y) { return x.EI < y.EI; });
        EXPECT_LT(softest->EI, 0.997 * PIPE_EI) << k.what;
        const auto ra = Read_Summary_Records(a.plot);
        const auto rb = Read_Summary_Records(b.plot);
        ASSERT_EQ(ra.size(), 1u);
        ASSERT_EQ(rb.size(), 1u);
        for (size_t j = 0; j < 5; ++j) {
            EXPECT_NEAR(ra[0][j], rb[0][j], 1e-6 * std::abs(ra[0][j]) + 1e-12) << k.what;
        }
        EXPECT_NE(b.report.find("for Lateral Loading for LRFD Load Case Number 1"),
                  std::string::npos);
        EXPECT_NE(b.report.find("Load Case No. 1:  Strength check"), std::string::npos);
        EXPECT_NE(b.plot.find("Line 11: Num. points on Ytop vs. Length curve for LRFD load case 1"),
                  std::string::npos);
    }
}

// Line 14 records of the head stiffness: V, M, K22, K23, K32, K33, ytop, theta.
std::vector<std::vector<double>> Stiffness_Records(const std::string& plot) {
    std::vector<std::vector<double>> rows;
    std::istringstream in(plot);
    for (std::string line; std::getline(in, line);) {
        if (line.find("Line 14:") != std::string::npos) {
            std::vector<double> v;
            for (size_t k = 0; k < 8; ++k) {
                v.push_back(std::strtod(line.substr(15 * k, 15).c_str(), nullptr));
            }
            rows.push_back(v);
        }
    }
    return rows;
}

TEST(LrfdRun, HeadStiffnessIsBasedOnTheFirstCombinationWithItsDistributedLoad) {
    // A distributed load changes the head deflections and so the secant stiffness terms.
    // Combination 2 doubles it: the stiffness cases must carry combination 1's load, as
    // the plain run of the same head load and profile does.
    LateralCase c;
    c.loads = {"1 20000.0 100000.0 40000.0 1"};
    std::string plain = Lateral_Input(c);
    plain.replace(plain.find("ComputeKmatrix NO"), 17, "ComputeKmatrix YES");
    plain.replace(plain.rfind("0\nEND\n"), 6, "2\n1 0 20\n2 600 20\nEND\n");
    std::string lrfd =
        Lrfd_Input(c, "LRFD LOADS\n1\n1 1 20000.0 100000.0 40000.0 2\n1 0 20\n2 600 20\n"
                      "LRFD FACTORS AND CASES\n2\n" +
                          Combination(1, {{1, 1.0}}, 0.9, "Service") +
                          Combination(2, {{1, 2.0}}, 0.9, "Doubled"));
    lrfd.replace(lrfd.find("ComputeKmatrix NO"), 17, "ComputeKmatrix YES");
    const RunOutput a = Run_Text(plain);
    const RunOutput b = Run_Text(lrfd);
    ASSERT_EQ(a.result, 0) << a.report;
    ASSERT_EQ(b.result, 0) << b.report;
    const auto ka = Stiffness_Records(a.plot);
    const auto kb = Stiffness_Records(b.plot);
    ASSERT_EQ(ka.size(), 10u);
    ASSERT_EQ(kb.size(), 10u);
    for (size_t i = 0; i < 10; ++i) {
        for (size_t j = 0; j < 8; ++j) {
            EXPECT_NEAR(ka[i][j], kb[i][j], 1e-6 * std::abs(ka[i][j]) + 1e-12)
                << "level " << i + 1 << " value " << j;
        }
    }
    EXPECT_NE(b.report.find("Based on Load Case 1"), std::string::npos);
}

TEST(LrfdRun, SectionTablesAreComputedForTheFactoredThrusts) {
    // Dead P = 100 kips and live P = 50 kips under 1.25/1.75: one table at 212.5 kips, not
    // tables at the unfactored 50 and 100 kips.
    const std::string input =
        Lrfd_Input(Nonlinear_Pile(), "LRFD LOADS\n2\n1 1 10000.0 0.0 100000.0 0\n"
                                     "2 2 0.0 0.0 50000.0 0\nLRFD FACTORS AND CASES\n1\n" +
                                         Combination(1, {{1, 1.25}, {2, 1.75}}, 0.9, "Strength I"));
    const RunOutput out = Run_Text(input);
    ASSERT_EQ(out.result, 0) << out.report;
    EXPECT_NE(out.report.find("Number of Axial Thrust Force Values Determined from LRFD Pile-head "
                              "Loadings = 1\n"),
              std::string::npos);
    EXPECT_EQ(Count(out.plot, "Line 4 : "), 1);
    EXPECT_NE(out.plot.find("  2.1250000E+02"), std::string::npos);
    EXPECT_NE(out.plot.find("Line 3 : Total number of axial thrusts for LRFD"), std::string::npos);
    // The case itself: 1.25 * 10000 lbs of shear and the factored thrust at the head.
    const auto head = Read_Summary_Records(out.plot);
    ASSERT_EQ(head.size(), 1u);
    EXPECT_NEAR(head[0][0], 12500.0, 1e-3);
}

TEST(LrfdRun, VerdictSwitchesAtTheFactoredCapacity) {
    // Upper 20 ft: plastic moment 2e6 in-lb; below: elastic. With a head moment alone the
    // largest moment is the head moment, and phi = 0.5 puts the factored capacity at 1e6.
    LateralCase c;
    c.section_lines = "12\n20.0\n2\n29e6\n2.0e6\n2.0e6\n24\n24\n452.4\n452.4\n16000\n16000\n"
                      "2\n11\n130.0\n2\n29e6\n24\n24\n452.4\n452.4\n16000\n16000\n";
    std::string input =
        Lrfd_Input(c, "LRFD LOADS\n1\n1 1 0.0 1.0e6 0.0 0\nLRFD FACTORS AND CASES\n2\n" +
                          Combination(1, {{1, 0.98}}, 0.5, "Below capacity") +
                          Combination(2, {{1, 1.02}}, 0.5, "Above capacity"));
    input.replace(input.find("SECTIONS\n1\n"), 11, "SECTIONS\n2\n");
    const RunOutput out = Run_Text(input);
    ASSERT_EQ(out.result, -400) << out.report;
    const size_t table = out.report.find("LRFD Performance by Load Case Combination");
    ASSERT_NE(table, std::string::npos);
    const std::string rows = out.report.substr(table);
    EXPECT_NE(
        rows.find("  1       1        0.500        1000000.      980000.       0.9800      Pass"),
        std::string::npos)
        << rows;
    EXPECT_NE(
        rows.find("  2       1        0.500        1000000.     1020000.       1.0200    > FAIL <"),
        std::string::npos)
        << rows;
    EXPECT_EQ(Count(rows, " Infinite "), 2) << "the elastic section has no finite capacity";
    EXPECT_EQ(Count(rows, "    N/A          N/A      "), 2);
    EXPECT_NE(rows.find("\n1 LRFD load combinations have failed."), std::string::npos);
    EXPECT_NE(out.report.find("**** Warning - Failure for One or More LRFD Load Cases ****"),
              std::string::npos);
}

TEST(LrfdRun, FaultyLrfdInputEndsAsAnInputError) {
    const std::string one_load = "LRFD LOADS\n1\n1 1 1000.0 0.0 0.0 0\n";
    const std::string one_comb =
        "LRFD FACTORS AND CASES\n1\n" + Combination(1, {{1, 1.0}}, 0.9, "C1");
    std::string many_loads = "LRFD LOADS\n101\n";
    for (int i = 1; i <= 101; ++i) {
        many_loads += std::to_string(i) + " 1 10.0 0.0 0.0 0\n";
    }
    std::string many_combs = "LRFD FACTORS AND CASES\n101\n";
    for (int i = 1; i <= 101; ++i) {
        many_combs += Combination(i, {{1, 1.0}}, 0.9, "C");
    }
    std::string points = "LRFD LOADS\n1\n1 1 0.0 0.0 0.0 51\n";
    for (int j = 1; j <= 51; ++j) {
        points += std::to_string(j) + " " + std::to_string(10 * j) + " 1.0\n";
    }
    struct Case {
        const char* what;
        std::string blocks;
        int status;
    };
    const Case cases[] = {
        {"valid loads and combination", one_load + one_comb, 0},
        {"factors summing to zero",
         one_load + "LRFD FACTORS AND CASES\n1\n" + Combination(1, {{1, 1.0}, {2, -1.0}}, 0.9, "Z"),
         172},
        {"101 loads", many_loads + one_comb, 198},
        {"101 combinations", one_load + many_combs, 194},
        {"51 distributed load points", points + one_comb, 192},
        {"one distributed load point", "LRFD LOADS\n1\n1 1 0.0 0.0 0.0 1\n1 0 1\n" + one_comb, 195},
        {"depths decreasing",
         "LRFD LOADS\n1\n1 1 0.0 0.0 0.0 3\n1 0 1\n2 100 1\n3 50 1\n" + one_comb, 134},
        {"load type 14", "LRFD LOADS\n1\n1 14 1000.0 0.0 0.0 0\n" + one_comb, 151},
        {"load type 0", "LRFD LOADS\n1\n1 0 1000.0 0.0 0.0 0\n" + one_comb, 151},
        {"no combinations", one_load, 154},
        {"no loads", one_comb, 154},
    };
    for (const Case& k : cases) {
        const RunOutput out = Run_Text(Lrfd_Input(LateralCase{}, k.blocks));
        EXPECT_EQ(out.result, k.status) << k.what << "\n" << out.report.substr(0, 3000);
    }
    // The message of a run without combinations names what is missing.
    const RunOutput none = Run_Text(Lrfd_Input(LateralCase{}, one_load));
    EXPECT_NE(none.report.find("**** Input Data Error No. 54 ****"), std::string::npos);
    EXPECT_NE(none.messages.find("no LRFD FACTORS AND CASES data."), std::string::npos);
}

TEST(LrfdRun, ShippedBridgeExampleRuns) {
    const std::string input = Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples/lrfd_pile.inp");
    const RunOutput out = Run_Text(input);
    ASSERT_LE(out.result, 0) << out.report;
    EXPECT_EQ(Count(out.report, "for Lateral Loading for LRFD Load Case Number "), 3);
    EXPECT_NE(out.report.find("LRFD Performance by Load Case Combination"), std::string::npos);
    EXPECT_EQ(Read_Summary_Records(out.plot).size(), 3u);
}

} // namespace
} // namespace zarno::test
