// Pile-head stiffness and pile-head deflection versus pile length, through whole runs of
// input text. The stiffness of a long elastic pile in an elastic subgrade is checked
// against the closed form of a beam on an elastic foundation; the length sweep against
// the candidate lengths and the behaviour of a pile that becomes short.
#include "analyses/deflection_vs_length.h"
#include "engine/run_status.h"
#include "lateral/lateral_input.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace zarno::test {
namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string With_Kmatrix(const LateralCase& c) {
    return Replace(Lateral_Input(c), "ComputeKmatrix NO", "ComputeKmatrix YES");
}

// Records whose label starts at column `at` with `label`: the leading 15-wide fields.
std::vector<std::vector<double>> Records(const std::string& plot, const std::string& label,
                                         size_t at, int fields) {
    std::vector<std::vector<double>> rows;
    std::istringstream in(plot);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > at && line.compare(at, label.size(), label) == 0) {
            std::vector<double> v;
            for (int k = 0; k < fields; ++k) {
                v.push_back(
                    std::strtod(line.substr(static_cast<size_t>(15 * k), 15).c_str(), nullptr));
            }
            rows.push_back(v);
        }
    }
    return rows;
}

std::vector<std::vector<double>> Line14(const std::string& plot) {
    return Records(plot, "  Line 14: V, M, K22, K23, K32, K33, ytop, theta", 120, 8);
}

std::vector<std::vector<double>> Line12(const std::string& plot) {
    return Records(plot, "Line 12: pile length", 80, 4);
}

// Counts of the Line 11 records, in file order.
std::vector<int> Line11_Counts(const std::string& plot) {
    std::vector<int> counts;
    std::istringstream in(plot);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > 80 && line.compare(80, 8, "Line 11:") == 0) {
            counts.push_back(std::atoi(line.substr(0, 5).c_str()));
        }
    }
    return counts;
}

constexpr double kEI = 29.0e6 * 16000.0; // lb-in^2
constexpr double kSpring = 100.0 * 24.0; // subgrade modulus times width, lb/in^2

// ---- pile-head stiffness --------------------------------------------------------------

TEST(PileHeadStiffness, LongElasticPileMatchesBeamOnElasticFoundationAtEveryLevel) {
    LateralCase c;
    c.increments = 300; // h = 6 in, lambda*h = 0.036
    c.loads = {"1 10000.0 200000.0 0.0 1"};
    const RunOutput out = Run_Text(With_Kmatrix(c));
    ASSERT_EQ(out.result, 0) << out.report;
    const double lambda = std::pow(kSpring / (4.0 * kEI), 0.25);
    const double K22 = 4.0 * kEI * lambda * lambda * lambda;
    const double K23 = 2.0 * kEI * lambda * lambda;
    const double K33 = 2.0 * kEI * lambda;
    const auto rows = Line14(out.plot);
    ASSERT_EQ(rows.size(), 10u) << out.plot;
    const double first = static_cast<double>(0.1f);
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        SCOPED_TRACE(i + 1);
        const double level = i == 0 ? first : std::log10(static_cast<double>(i + 1));
        EXPECT_NEAR(r[0], 10000.0 * level, 1e-6 * 10000.0);
        EXPECT_NEAR(r[1], 200000.0 * level, 1e-6 * 200000.0);
        // Closed form, up to the discretization of the finite differences.
        EXPECT_NEAR(r[2], K22, 0.01 * K22);
        EXPECT_NEAR(r[3], K23, 0.01 * K23);
        EXPECT_NEAR(r[4], K23, 0.01 * K23);
        EXPECT_NEAR(r[5], K33, 0.01 * K33);
        // A linear pile has one stiffness at every level (ES15.7 carries 8 digits).
        for (int k = 2; k <= 5; ++k) {
            EXPECT_NEAR(r[static_cast<size_t>(k)], rows[0][static_cast<size_t>(k)],
                        1e-6 * std::abs(rows[0][static_cast<size_t>(k)]));
        }
        // The head deflection and rotation are the loads over the stiffness.
        EXPECT_NEAR(r[6], r[0] / r[2], 1e-6 * r[6]);
        EXPECT_NEAR(r[7], r[1] / r[5], 1e-6 * r[7]);
    }
    // The report block carries the same magnitudes.
    EXPECT_NE(out.report.find("                   Computed Pile-head Stiffness Matrix Values"),
              std::string::npos);
    EXPECT_NE(out.report.find("  K33 = abs(Moment Reaction/Top Rotation)"), std::string::npos);
    EXPECT_EQ(out.report.find("Output Verification"), std::string::npos);
    EXPECT_EQ(out.report.find("Error in computing pile-head stiffness matrix"), std::string::npos);
    // The stiffness cases write no station records of their own.
    EXPECT_EQ(Read_Stations(out.plot).size(), 1u);
    EXPECT_NE(out.messages.find("Computing pile-head stiffness matrix components."),
              std::string::npos);
}

TEST(PileHeadStiffness, OrdinaryResultsAndLoadCasesSurviveTheStiffnessCases) {
    LateralCase c;
    c.loads = {"1 10000.0 0.0 0.0 1", "1 20000.0 0.0 0.0 1"};
    TempDir dir;
    const RunRequest r = Request_In(dir, With_Kmatrix(c));
    RunSummary summary;
    ASSERT_EQ(Run_Analysis(r, Fixed_Time, &summary), 0) << Read_File(r.report_file);
    // Two ordinary cases, not twenty, and their values are those of the ordinary loads:
    // a linear pile deflects twice as much under twice the shear.
    ASSERT_EQ(summary.Cases.size(), 2u);
    EXPECT_NEAR(summary.Cases[1].Head_Deflection, 2.0 * summary.Cases[0].Head_Deflection,
                1e-9 * summary.Cases[1].Head_Deflection);
    const auto rows = Line14(Read_File(r.plot_file));
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_NEAR(rows[9][0], 10000.0, 1e-3);
}

TEST(PileHeadStiffness, ZeroLoadsTakeTheUnitSystemDefaults) {
    LateralCase c;
    c.loads = {"1 0.0 0.0 0.0 1"};
    const RunOutput out = Run_Text(With_Kmatrix(c));
    ASSERT_EQ(out.result, 0) << out.report;
    const auto rows = Line14(out.plot);
    ASSERT_EQ(rows.size(), 10u);
    // 10 lbs and 100 in-lbs; the first level is a tenth of each.
    EXPECT_NEAR(rows[0][0], 1.0, 1e-6);
    EXPECT_NEAR(rows[0][1], 10.0, 1e-5);
    EXPECT_NEAR(rows[4][0], 10.0 * std::log10(5.0), 1e-6);
    EXPECT_NEAR(rows[4][1], 100.0 * std::log10(5.0), 1e-5);
    EXPECT_NEAR(rows[9][0], 10.0, 1e-6);
    EXPECT_NEAR(rows[9][1], 100.0, 1e-5);
    EXPECT_GT(rows[0][2], 0.0);
}

TEST(PileHeadStiffness, SoftClayStiffnessFallsAsTheLoadRises) {
    LateralCase c;
    c.increments = 100;
    c.length_ft = 60.0;
    c.layers = "1\n1 0.0 60.0\n50.0 300.0 0.02\n50.0 1200.0 0.01\n";
    c.loads = {"1 30000.0 600000.0 0.0 1"};
    const RunOutput out = Run_Text(With_Kmatrix(c));
    ASSERT_EQ(out.result, 0) << out.report;
    const auto rows = Line14(out.plot);
    ASSERT_EQ(rows.size(), 10u) << out.report;
    for (size_t i = 1; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_LT(rows[i][2], rows[i - 1][2]); // K22
        EXPECT_LT(rows[i][5], rows[i - 1][5]); // K33
        EXPECT_GT(rows[i][6], rows[i - 1][6]); // deflection grows with the shear
    }
    // The softening is not a rounding effect: the last level is well below the first.
    EXPECT_LT(rows[9][2], 0.8 * rows[0][2]);
}

TEST(PileHeadStiffness, CaseThatCannotConvergeWritesTheFailureBlockAndTheRunGoesOn) {
    // Load case 1 holds a light shear against a rotational restraint; its restraint is
    // taken as the base moment, far beyond what soft clay carries: the first moment case
    // (a tenth of it, in single precision) runs out of its 30 iterations.
    LateralCase c;
    c.length_ft = 60.0;
    c.max_iterations = 30;
    c.layers = "1\n1 0.0 60.0\n50.0 300.0 0.02\n50.0 1200.0 0.01\n";
    c.loads = {"3 1000.0 5.0e9 0.0 1"};
    const RunOutput out = Run_Text(With_Kmatrix(c));
    // The failure is a recorded warning of the run.
    ASSERT_EQ(out.result, WARNING_STIFFNESS_CASE) << out.report;
    const size_t at = out.report.find("\n\n\n\nError in computing pile-head stiffness matrix\n");
    ASSERT_NE(at, std::string::npos) << out.report;
    EXPECT_NE(out.report.find("i_Analysis = 11\nIteration Count = 31\n\n"
                              "Shear Force =          0.000\nMoment      =  500000007.451\n\n",
                              at),
              std::string::npos)
        << out.report.substr(at);
    EXPECT_TRUE(Line14(out.plot).empty());
    EXPECT_EQ(out.report.find("Computed Pile-head Stiffness Matrix Values"), std::string::npos);
}

// ---- deflection versus pile length ----------------------------------------------------

TEST(DeflectionVsLength, CandidatesComeFromTheWholeUnitLength) {
    EXPECT_EQ(Candidate_Pile_Length(600.9, 0), 600.0);
    EXPECT_EQ(Candidate_Pile_Length(600.9, 1), 570.0);
    EXPECT_EQ(Candidate_Pile_Length(600.9, 2), 540.0);
    EXPECT_NEAR(Candidate_Pile_Length(600.9, 19), 30.0, 1e-4);
    EXPECT_EQ(Candidate_Pile_Length(15.24, 0), 15.0);
}

TEST(DeflectionVsLength, LongElasticPileIsFlatUntilItBecomesShort) {
    LateralCase c;
    c.length_ft = 50.0; // 600 in; 1/lambda = 167 in
    c.increments = 100;
    c.loads = {"1 10000.0 0.0 0.0 0", "1 10000.0 0.0 0.0 1"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    ASSERT_EQ(out.result, 0) << out.report;
    const auto counts = Line11_Counts(out.plot);
    ASSERT_EQ(counts.size(), 2u);
    // Ground at the head: every candidate down to 5 % is analysed.
    EXPECT_EQ(counts[0], 20);
    EXPECT_EQ(counts[1], 0);
    const auto pts = Line12(out.plot);
    ASSERT_EQ(pts.size(), 20u);
    const double lambda = std::pow(kSpring / (4.0 * kEI), 0.25);
    const double y_long = 10000.0 * 2.0 * lambda / kSpring; // free head, shear only
    for (size_t k = 0; k < pts.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(pts[k][0], 600.0 * (1.0 - 0.05 * static_cast<double>(k)), 1e-3);
        if (lambda * pts[k][0] > 4.0) {
            EXPECT_NEAR(pts[k][1], y_long, 0.01 * y_long); // long pile: length does not matter
        }
        if (k > 0) {
            EXPECT_GE(pts[k][1], pts[k - 1][1] * (1.0 - 1e-6));
        }
    }
    // Short piles deflect much more; a 30 in pile is nearly a rigid body on springs:
    // y = 4V/(k L) for a free rigid pile under a head shear.
    EXPECT_GT(pts[19][1], 5.0 * y_long);
    EXPECT_NEAR(pts[19][1], 4.0 * 10000.0 / (kSpring * 30.0), 0.05 * pts[19][1]);
    // The table: heading, conditions and one row per point, length in feet.
    EXPECT_NE(out.report.find("            Pile-head Deflection vs. Pile Length for Load Case 1"),
              std::string::npos);
    EXPECT_NE(out.report.find("Boundary Condition Type 1, Shear and Moment"), std::string::npos);
    EXPECT_NE(out.report.find("Shear      =          10000. lbs"), std::string::npos);
    EXPECT_NE(out.report.find("Moment     =              0. in-lbs"), std::string::npos);
    EXPECT_NE(out.report.find("    feet         inches        ln-lbs          lbs "),
              std::string::npos);
    EXPECT_EQ(Count(out.messages, "Computing lateral response of pile for load number 1"), 21);
    // The ordinary case 2 is reported in full after the sweep, on the whole pile.
    const auto st = Read_Stations(out.plot);
    ASSERT_EQ(st.size(), 2u);
    EXPECT_EQ(st[1].size(), 101u);
    EXPECT_NEAR(st[1].back().X, 600.0, 1e-9);
    EXPECT_NEAR(st[1].front().y, st[0].front().y, 1e-12);
}

TEST(DeflectionVsLength, LengthsThatDoNotReachBelowTheGroundAreSkipped) {
    LateralCase c;
    c.length_ft = 50.0;
    c.increments = 100;
    // Ground 20 ft below the head: lengths below 240 + 30 in are not analysed.
    c.layers = "1\n13 20.0 50.0\n60.0 100.0\n60.0 100.0\n";
    c.loads = {"1 1000.0 0.0 0.0 0"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    ASSERT_EQ(out.result, 0) << out.report;
    const auto pts = Line12(out.plot);
    ASSERT_EQ(pts.size(), 12u); // 600, 570, ..., 270 in
    EXPECT_NEAR(pts.back()[0], 270.0, 1e-3);
    EXPECT_EQ(Count(out.messages, "Computing lateral response of pile for load number 1"), 13);
}

TEST(DeflectionVsLength, ExcessiveDeflectionsAreLeftOutAndSummaryOnlyIsRestored) {
    LateralCase c;
    c.length_ft = 50.0;
    c.increments = 100;
    // The whole pile deflects about 0.05 in; the short candidates approach the rigid pile's
    // 4V/(kL), which passes 0.2 in below about 83 in.
    c.excess_deflection = 0.2;
    c.loads = {"1 10000.0 0.0 0.0 0", "1 10000.0 0.0 0.0 1"};
    const std::string text =
        Replace(Lateral_Input(c), "PrintSummaryOnly NO", "PrintSummaryOnly YES");
    const RunOutput out = Run_Text(text);
    ASSERT_EQ(out.result, 0) << out.report;
    const auto pts = Line12(out.plot);
    ASSERT_GT(pts.size(), 10u);
    ASSERT_LT(pts.size(), 20u);
    for (const auto& p : pts) {
        EXPECT_LE(std::abs(p[1]), 0.2);
    }
    // Every candidate was still analysed after the first one left out.
    EXPECT_EQ(Count(out.messages, "Computing lateral response of pile for load number 1"), 21);
    // Case 2 comes after the flagged case and is still reported as summary only.
    EXPECT_EQ(out.report.find("Computed Values of Pile Loading and Deflection"), std::string::npos);
    EXPECT_NE(out.report.find("Pile-head Deflection vs. Pile Length for Load Case 1"),
              std::string::npos);
}

TEST(DeflectionVsLength, SiRunUsesMetersAndTheSiLabel) {
    LateralCase c;
    c.length_ft = 15.24; // meters in an SI run; candidates from 15 m
    c.E = 2.0e8;         // kPa
    c.b = 0.6;
    c.I = 0.0064;
    c.layers = "1\n13 0.0 15.24\n10.0 20000.0\n10.0 20000.0\n";
    c.loads = {"1 50.0 0.0 0.0 0"};
    c.excess_deflection = 1.0e4; // the check here is of units and lengths, not magnitudes
    const std::string text = Replace(Lateral_Input(c), "Units USCS", "Units SI");
    const RunOutput out = Run_Text(text);
    ASSERT_EQ(out.result, 0) << out.report;
    const auto pts = Line12(out.plot);
    ASSERT_EQ(pts.size(), 20u);
    EXPECT_NEAR(pts[0][0], 15.0, 1e-6);
    EXPECT_NEAR(pts[1][0], 14.25, 1e-6);
    EXPECT_NE(out.plot.find("Line 12: pile length (m), Ytop (m), Max Moment(kN-m), Max Shear(kN)"),
              std::string::npos);
    EXPECT_NE(out.report.find("   meters        meters         kN-m           kN  "),
              std::string::npos);
    EXPECT_NE(out.report.find("Shear      =             50. kN"), std::string::npos);
}

} // namespace
} // namespace zarno::test
