// Loss of stability under axial thrust: the solver refuses the solution of a buckled pile,
// and a whole run ends with a runtime error instead of reporting it.
//
// Critical load, independently: a long beam on a Winkler foundation, EI y'''' + Q y'' + k y
// = 0. Its deflection decays from a free end as y = Re(A e^(r x)) with r^4 EI + Q r^2 + k = 0;
// with EI = k = 1, r^2 = e^(i theta), cos theta = -Q/2, and zero moment and shear at the end
// (y'' = 0, y''' + Q y' = 0) leave a non-zero A only when Im(e^(-3 i theta / 2)) = 0, that is
// theta = 2 pi / 3 and Q = 1. So a free end buckles at Q = sqrt(k EI), half the load
// 2 sqrt(k EI) of the infinite beam, and the tip of every pile here is such an end.
#include "lateral/lateral_input.h"
#include "report/text_file.h"
#include "solver/elastic_pile.h"
#include "solver/fd_solver.h"
#include "test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace zarno::test {
namespace {

TEST(Buckling, SolverRefusesThrustAboveTheCriticalLoadForEveryHeadCondition) {
    // lambda L = 12: both ends are far apart.
    const double EI = 4.0e10, k = 1000.0;
    const double L = 12.0 / std::pow(k / (4.0 * EI), 0.25);
    const double Pcr = std::sqrt(k * EI);
    struct Case {
        int type;
        double c1, c2;
    };
    const Case cases[] = {{LOADING_SHEAR_MOMENT, 10000.0, 0.0},
                          {LOADING_SHEAR_SLOPE, 10000.0, 0.0},
                          {LOADING_SHEAR_ROTATIONAL, 10000.0, 1.0e9},
                          {LOADING_DEFLECTION_MOMENT, 0.5, 0.0},
                          {LOADING_DEFLECTION_SLOPE, 0.5, 0.0}};
    TextFile sink;
    sink.Set_Fallback(nullptr);
    for (const Case& c : cases) {
        for (const double Q : {0.0, 0.5 * Pcr, 0.9 * Pcr}) {
            auto p = Make_Elastic_Pile(L, 400, EI, k, Q, c.type, c.c1, c.c2);
            auto s = std::make_unique<FdSolution>();
            ASSERT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved)
                << "type " << c.type << " Q/Pcr " << Q / Pcr;
            EXPECT_EQ(s->i_Unstable_Node, 0);
            // The head moves with its load.
            EXPECT_GT(s->y(1), 0.0) << "type " << c.type << " Q/Pcr " << Q / Pcr;
        }
        auto p = Make_Elastic_Pile(L, 400, EI, k, 1.1 * Pcr, c.type, c.c1, c.c2);
        auto s = std::make_unique<FdSolution>();
        EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Unstable)
            << "type " << c.type;
        EXPECT_GE(s->i_Unstable_Node, 1);
        EXPECT_EQ(s->y(1), 0.0); // nothing of the buckled solution is returned
    }
    // Soil a thousand times stiffer over the lower half holds the tip: the free head alone
    // buckles, at sqrt(k EI) of its own soil, which the head system has to show.
    for (const double ratio : {0.9, 1.1}) {
        auto p = Make_Elastic_Pile(L, 400, EI, k, ratio * Pcr, LOADING_SHEAR_MOMENT, 10000.0, 0.0);
        for (int m = 202; m <= 401; ++m) {
            p->Es[static_cast<size_t>(m)] = 1000.0 * k;
        }
        auto s = std::make_unique<FdSolution>();
        const Solve_Result r = Solve_Pile_Deflection(*p, 1, *s, sink, sink);
        EXPECT_EQ(r, ratio < 1.0 ? Solve_Result::Solved : Solve_Result::Unstable) << ratio;
        EXPECT_EQ(s->i_Unstable_Node, ratio < 1.0 ? 0 : 1) << ratio;
    }
    // Tension never buckles.
    auto p = Make_Elastic_Pile(L, 400, EI, k, -10.0 * Pcr, LOADING_SHEAR_MOMENT, 10000.0, 0.0);
    auto s = std::make_unique<FdSolution>();
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
}

TEST(Buckling, WholeRunAboveTheCriticalLoadEndsWithRuntimeError) {
    // Elastic pile EI = 29e6 x 1e4 lb-in2, 24 in wide, 100 ft, subgrade 100 pci: the
    // spring is 2400 lb/in2 and Pcr = sqrt(k EI) = 2.638e7 lb.
    const double Pcr = std::sqrt(100.0 * 24.0 * 29.0e6 * 1.0e4);
    auto run = [&](double Q) {
        LateralCase c;
        c.increments = 400;
        c.length_ft = 100.0;
        c.E = 29.0e6;
        c.I = 1.0e4;
        c.b = 24.0;
        c.Esub = 100.0;
        c.loads = {"1 10000.0 0.0 " + std::to_string(Q) + " 1"};
        return Run_Text(Lateral_Input(c));
    };
    const RunOutput below = run(0.9 * Pcr);
    EXPECT_LE(below.result, 0) << below.report.substr(below.report.size() - 2000);
    const auto stations = Read_Stations(below.plot);
    ASSERT_EQ(stations.size(), 1u);
    EXPECT_GT(stations[0][0].y, 0.0); // the head moves with the shear

    const RunOutput above = run(1.1 * Pcr);
    EXPECT_EQ(above.result, 255);
    for (const std::string* text : {&above.report, &above.messages}) {
        EXPECT_NE(text->find("**** Runtime Error No. 55 ****\n\n"
                             "Problem:  The axial thrust exceeds the buckling load of the pile "
                             "in this soil.\n"),
                  std::string::npos);
    }
    EXPECT_NE(above.report.find("RUN00055"), std::string::npos);
    EXPECT_EQ(Read_Stations(above.plot).size(), 0u);
    // 5e7 lb, nearly twice the critical load, stops as well.
    EXPECT_EQ(run(5.0e7).result, 255);
}

TEST(Buckling, ShorterTrialLengthThatBucklesEndsTheSweepNotTheRun) {
    // The 100 ft pile carries 0.9 Pcr, but a short, nearly rigid trial pile cannot: at 10 ft
    // the soil's rotational restraint k L^3 / 3 = 1.4e9 in-lb is below the overturning
    // P L = 2.8e9 in-lb. The sweep stops at such a length; the load case stands.
    const double Pcr = std::sqrt(100.0 * 24.0 * 29.0e6 * 1.0e4);
    LateralCase c;
    c.increments = 100;
    c.length_ft = 100.0;
    c.E = 29.0e6;
    c.I = 1.0e4;
    c.b = 24.0;
    c.Esub = 100.0;
    c.loads = {"1 10000.0 0.0 " + std::to_string(0.9 * Pcr) + " 0"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    EXPECT_LE(out.result, 0) << out.report.substr(out.report.size() - 2000);
    EXPECT_EQ(out.report.find("Runtime Error No. 55"), std::string::npos);
    EXPECT_NE(out.report.find("Pile-head Deflection vs. Pile Length for Load Case 1"),
              std::string::npos);
    // At least the full length itself is a point of the sweep.
    const size_t at = out.plot.find("Line 11: Num. points on Ytop vs. pile length curve");
    ASSERT_NE(at, std::string::npos);
    const size_t line = out.plot.rfind('\n', at);
    EXPECT_GE(std::stoi(out.plot.substr(line == std::string::npos ? 0 : line + 1, 5)), 1);
}

} // namespace
} // namespace zarno::test
