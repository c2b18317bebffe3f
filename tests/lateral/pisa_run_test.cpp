// Whole runs with monopile (PISA) layers: the linear range against the beam on an elastic
// foundation, the equilibrium of the converged state with all four reactions, and the
// distributed moment and base springs switched off.
#include "engine/analysis_model.h"
#include "engine/results.h"
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

namespace zarno::test {
namespace {

struct HeldRun {
    int result = 0;
    RunResults results;
    std::string report;
};

// A run on a model held here, so that the monopile springs can be switched.
HeldRun Run_Deck(const std::string& deck, bool monopile_springs = true) {
    TempDir dir;
    Write_File(dir / "case.inp", deck);
    auto model = Make_Fresh_Model();
    AnalysisModel& m = *model;
    m.Input_File_Name = dir / "case.inp";
    m.Report_File_Name = dir / "case.zro";
    m.Plot_File_Name = dir / "case.zrp";
    m.Message_File_Name = dir / "case.zrm";
    m.Pisa_Moment_And_Base_Springs = monopile_springs;
    Run_Sequence(m, Fixed_Time);
    HeldRun r;
    r.result = Compute_Run_Return_Value(m);
    Record_Run_End(m, r.result);
    r.results = std::move(m.Results);
    r.report = Read_File(dir / "case.zro");
    return r;
}

std::string Si_Deck(const std::string& title, int increments, const std::string& section,
                    const std::string& layers, const std::string& loads, int n_loads,
                    const std::string& tolerance = "1.0E-06") {
    std::ostringstream s;
    s << "ZARNOK6\nTITLE\n" << title << "\n\n\n\n\n";
    s << "OPTIONS\nUnits SI\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\n"
         "UseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     0\n"
         "MaxIterations 500\nExcessDeflection 100.0\nTolerance "
      << tolerance << "\nIncrements " << increments
      << "\nPrintSummaryOnly NO\nPrintIncrement 10\nPrintPYCurves NO\nComputeInteraction NO\n";
    s << "SECTIONS\n1\n1\n" << section << "SOIL LAYERS\n" << layers;
    s << "LOADING\n" << n_loads << "\n" << loads << "0\nEND\n";
    return s.str();
}

// The Cowden D1 pile of Byrne et al. (2020): D = 7.5 m, wall 68 mm, 22.5 m embedded, loaded
// at 37.5 m above the ground (head moment H e at the ground); stiff till with s_u 80 -> 140
// kPa and G0 20 -> 200 MPa over 0-11 m, then 140 -> 200 kPa and 200 -> 400 MPa; effective
// unit weight 21 - 9.81 kN/m3 (water table at the surface).
std::string Cowden_D1(double H) {
    const std::string layers = "2\n"
                               "18 0.0 11.0\n11.19 80.0 20000.0\n11.19 140.0 200000.0\n"
                               "18 11.0 35.0\n11.19 140.0 200000.0\n11.19 200.0 400000.0\n";
    std::ostringstream load;
    load << "1 1 " << H << " " << H * 37.5 << " 0.0 1\n";
    return Si_Deck("Cowden D1", 150, "4\n22.5\n7500.0\n68.0\n355000.0\n210000000.0\n", layers,
                   load.str(), 1);
}

// The Dunkirk D2t pile of Burd et al. (2020): D = 10 m, wall 91 mm, 35 m embedded, load at
// 87.5 m; dense sand Dr = 55 %, submerged unit weight 10.09 kN/m3, G0 from the note's void
// ratio relation taken at the ends of five layers (linear in between).
std::string Dunkirk_D2t(double H) {
    auto G0 = [](double z) {
        const double sigma = 10.09 * z;
        const double p = sigma * (1.0 + 2.0 * 0.4) / 3.0;
        return 875.0 * 101.3 / (0.3 + 0.7 * 0.629 * 0.629) * std::sqrt(p / 101.3);
    };
    const double depths[] = {0.0, 2.0, 6.0, 12.0, 22.0, 40.0};
    std::ostringstream layers;
    layers << "5\n";
    for (int i = 0; i < 5; ++i) {
        const double top = std::max(depths[i], 0.25); // G0 vanishes at the surface
        layers << "19 " << depths[i] << " " << depths[i + 1] << "\n10.09 55.0 " << G0(top)
               << "\n10.09 55.0 " << G0(depths[i + 1]) << "\n";
    }
    std::ostringstream load;
    load << "1 1 " << H << " " << H * 87.5 << " 0.0 1\n";
    return Si_Deck("Dunkirk D2t", 175, "4\n35.0\n10000.0\n91.0\n355000.0\n210000000.0\n",
                   layers.str(), load.str(), 1);
}

// Trapezoid weights of the stations over the pile.
double Weight(const std::vector<NodeResult>& n, size_t i) {
    const double h = n[1].depth - n[0].depth;
    return i == 0 || i + 1 == n.size() ? h / 2.0 : h;
}

// In the linear range a PISA p-y spring is the conic's initial slope k G0. A Cowden layer
// stack whose G0 is K / k(z) at every layer end (k = 10.6 - 1.65 z/D) therefore gives the
// uniform subgrade K, and a long free-head pile under a small head shear H deflects as the
// beam on an elastic foundation: y(0) = 2 H beta / K, beta = (K / (4 EI))^(1/4).
TEST(PisaRun, LinearRangeMatchesTheBeamOnElasticFoundation) {
    // With n near 1 the conic bends early: the secant is within 1e-5 of the initial slope
    // only below x = y G0 / (s_u D) of about 1e-6, so the head shear is small.
    const double D = 10.0, K = 1.0e5, EI = 4.0e5, H = 0.001;
    std::ostringstream layers;
    layers << "20\n";
    for (int i = 0; i < 20; ++i) {
        const double z0 = i, z1 = i + 1.0;
        layers << "18 " << z0 << " " << z1 << "\n10.0 100.0 " << K / (10.6 - 1.65 * z0 / D)
               << "\n10.0 100.0 " << K / (10.6 - 1.65 * z1 / D) << "\n";
    }
    // Elastic circular section: E 2e8 kPa, width 10 m, area 2 m2, I 2e-3 m4 (EI = 4e5 kN m2).
    const std::string deck = Si_Deck("PISA linear range", 500,
                                     "11\n20.0\n2\n200000000.0\n10000.0\n10000.0\n2.0e6\n2.0e6\n"
                                     "2.0e9\n2.0e9\n",
                                     layers.str(), "1 1 0.001 0.0 0.0 1\n", 1, "1.0E-15");
    const HeldRun run = Run_Deck(deck, false);
    ASSERT_EQ(run.results.load_cases.size(), 1u) << run.report;
    const LoadCaseResult& c = run.results.load_cases[0];
    const double beta = std::pow(K / (4.0 * EI), 0.25);
    EXPECT_NEAR(c.head_deflection, 2.0 * H * beta / K, 2e-3 * 2.0 * H * beta / K);
    for (const size_t i : {0u, 100u, 250u}) {
        EXPECT_NEAR(c.nodes[i].soil_modulus, K, 1e-4 * K) << i;
    }
    EXPECT_FALSE(c.monopile);
}

// The converged state balances: with p the lateral reactions, m the distributed moments,
// H_B and M_B the base reactions (all acting on the pile), V and M at the head and L the
// pile length, the beam equation integrates to
//     V + int p dx + H_B = 0,     M = M_B + L H_B + int x p dx + int m dx.
TEST(PisaRun, ConvergedStateIsInEquilibriumWithAllFourReactions) {
    struct Case {
        const char* name;
        std::string deck;
        double H, M;
    };
    const Case cases[] = {{"Cowden D1", Cowden_D1(4000.0), 4000.0, 4000.0 * 37.5},
                          {"Dunkirk D2t", Dunkirk_D2t(8000.0), 8000.0, 8000.0 * 87.5}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const HeldRun run = Run_Deck(k.deck);
        ASSERT_EQ(run.results.load_cases.size(), 1u) << run.report;
        const LoadCaseResult& c = run.results.load_cases[0];
        ASSERT_TRUE(c.converged);
        ASSERT_TRUE(c.monopile);
        const std::vector<NodeResult>& n = c.nodes;
        double P = 0.0, Px = 0.0, Mm = 0.0;
        for (size_t i = 0; i < n.size(); ++i) {
            P += Weight(n, i) * n[i].soil_reaction;
            Px += Weight(n, i) * n[i].soil_reaction * n[i].depth;
            Mm += Weight(n, i) * n[i].distributed_moment;
        }
        const double L = n.back().depth;
        EXPECT_NEAR(k.H + P + c.base_shear, 0.0, 5e-3 * k.H);
        EXPECT_NEAR(c.base_moment + L * c.base_shear + Px + Mm, k.M, 5e-3 * k.M);
        // Each monopile reaction carries a share the balance would miss without it; the
        // base reactions oppose the tip's displacement.
        EXPECT_GT(std::fabs(Mm), 0.01 * k.M);
        EXPECT_GT(std::fabs(c.base_moment), 0.0);
        EXPECT_LT(c.base_shear * n.back().deflection, 0.0);
    }
}

// The conic by bisection on its implicit equation, independent of the engine's closed form.
double Conic_By_Bisection(double x, double xu, double k, double n, double yu) {
    if (x >= xu) {
        return yu;
    }
    auto f = [&](double y) {
        const double r = y / yu;
        return -n * (r - x / xu) * (r - x / xu) + (1.0 - n) * (r - x * k / yu) * (r - 1.0);
    };
    double lo = 0.0, hi = std::min(k * x, yu); // the branch lies below the tangent and y_u
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        (f(lo) > 0.0) == (f(mid) > 0.0) ? lo = mid : hi = mid;
    }
    return 0.5 * (lo + hi);
}

// Switched off, the distributed moment and base springs leave the plain p-y analysis with the
// same curves: no monopile results, every station's spring the Cowden conic secant at its own
// deflection, a softer pile than with all four reactions, and equilibrium by p alone.
TEST(PisaRun, SwitchingTheMomentAndBaseSpringsOffLeavesThePlainPyAnalysis) {
    const double H = 4000.0;
    const HeldRun off = Run_Deck(Cowden_D1(H), false);
    const HeldRun on = Run_Deck(Cowden_D1(H), true);
    ASSERT_EQ(off.results.load_cases.size(), 1u) << off.report;
    ASSERT_EQ(on.results.load_cases.size(), 1u) << on.report;
    const LoadCaseResult& c = off.results.load_cases[0];
    EXPECT_FALSE(c.monopile);
    EXPECT_EQ(c.base_shear, 0.0);
    EXPECT_LT(on.results.load_cases[0].head_deflection, 0.98 * c.head_deflection);
    const double D = 7.5;
    for (const size_t i : {10u, 40u, 100u}) {
        const NodeResult& s = c.nodes[i];
        const double z = s.depth;
        const bool upper = z <= 11.0;
        const double t = upper ? z / 11.0 : (z - 11.0) / 24.0;
        const double su = upper ? 80.0 + 60.0 * t : 140.0 + 60.0 * t;
        const double G0 = upper ? 20000.0 + 180000.0 * t : 200000.0 + 200000.0 * t;
        const double zD = z / D;
        const double k = 10.6 - 1.65 * zD, n = 0.9390 - 0.03345 * zD;
        const double yu = 10.7 - 7.101 * std::exp(-0.3085 * zD);
        const double y = std::fabs(s.deflection);
        const double p = su * D * Conic_By_Bisection(y * G0 / (su * D), 241.4, k, n, yu);
        SCOPED_TRACE(z);
        EXPECT_NEAR(s.soil_modulus, p / y, 1e-3 * p / y);
    }
    double P = 0.0;
    for (size_t i = 0; i < c.nodes.size(); ++i) {
        P += Weight(c.nodes, i) * c.nodes[i].soil_reaction;
    }
    EXPECT_NEAR(H + P, 0.0, 5e-3 * H);
}

// What an engineer sees for monopile input the calibrations cannot take: a relative density
// outside 0..100 % and a G0 of zero are refused at their line; a pile embedded 9 diameters
// draws the slenderness warning, and deeper than the Cowden m-theta ultimate stays positive
// (0.2899 - 0.04775 z/D < 0 below z/D = 6.07, z = 45.5 m) the run stops at the first station
// there (45.9 m) naming layer, curve, depth and parameter.
TEST(PisaRun, InputOutsideTheCalibrationIsNamedWithItsPlace) {
    const std::string section = "4\n22.5\n7500.0\n68.0\n355000.0\n210000000.0\n";
    const std::string load = "1 1 1000.0 0.0 0.0 1\n";
    const struct {
        const char* name;
        std::string layers;
        int status;
        const char* text;
    } cases[] = {
        {"relative density", "1\n19 0.0 30.0\n10.0 120.0 50000.0\n10.0 55.0 90000.0\n", 133,
         "relative density (percent) at the top of layer 1"},
        {"G0", "1\n18 0.0 30.0\n11.0 80.0 20000.0\n11.0 140.0 0.0\n", 133,
         "small-strain shear modulus G0 at the bottom of layer 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HeldRun run = Run_Deck(Si_Deck("bad", 100, section, c.layers, load, 1));
        EXPECT_EQ(run.result, c.status);
        EXPECT_NE(run.report.find(c.text), std::string::npos) << run.report;
    }
    // 67.5 m of pile for 7.5 m of width: L/D = 9.
    const std::string deep =
        Si_Deck("deep", 150, "4\n67.5\n7500.0\n68.0\n355000.0\n210000000.0\n",
                "1\n18 0.0 70.0\n11.0 80.0 20000.0\n11.0 300.0 400000.0\n", load, 1);
    const HeldRun run = Run_Deck(deep);
    EXPECT_EQ(run.result, 177) << run.report;
    EXPECT_NE(run.report.find("L/D = 9.00"), std::string::npos);
    EXPECT_NE(run.report.find("The distributed moment (m-theta) curve of soil layer 1 (p-y type "
                              "18) at 45.900 m below the ground surface has the parameter y_u ="),
              std::string::npos)
        << run.report;
    bool warned = false;
    for (const MessageResult& w : run.results.notes) {
        warned = warned || w.code == -719;
    }
    EXPECT_TRUE(warned);
}

// The printed curves of a PISA layer: p-y and m-theta side by side in the report, the p-y
// points in the results, their p the conic of the depth (Cowden at z = 3.75 m, z/D = 0.5).
TEST(PisaRun, PrintedCurvesGiveTheConicOfTheirDepth) {
    const std::string deck =
        Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / "monopile_cowden.inp");
    const HeldRun run = Run_Deck(deck);
    ASSERT_LE(run.result, 0) << run.report;
    EXPECT_NE(run.report.find("p-y and m-theta Curves for PISA Cowden Stiff Clay"),
              std::string::npos);
    ASSERT_EQ(run.results.py_curves.size(), 2u);
    const PyCurveResult& c = run.results.py_curves[0];
    ASSERT_EQ(c.points.size(), 17u);
    const double D = 7.5, z = 3.75, zD = z / D;
    const double su = 80.0 + 60.0 * z / 11.0, G0 = 20000.0 + 180000.0 * z / 11.0;
    const double k = 10.6 - 1.65 * zD, n = 0.9390 - 0.03345 * zD;
    const double yu = 10.7 - 7.101 * std::exp(-0.3085 * zD);
    for (const PyPoint& p : c.points) {
        const double expected = su * D * Conic_By_Bisection(p.y * G0 / (su * D), 241.4, k, n, yu);
        EXPECT_NEAR(p.p, expected, 1e-6 * su * D * yu) << p.y;
    }
    EXPECT_NEAR(c.points.back().p, su * D * yu, 1e-6 * su * D * yu); // past x_u: ultimate
}

} // namespace
} // namespace zarno::test
