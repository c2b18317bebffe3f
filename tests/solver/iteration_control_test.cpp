// Damping of load-case iterations that cycle between two states instead of converging.
#include "solver/iteration_control.h"

#include "lateral/lateral_input.h"
#include "test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zarno::test {
namespace {

// Feeds one solution to the control: the deflections it started from and those it gave.
bool Step(IterationControl& c, FdSolution& s, int i, double start, double solved) {
    s.Y.fill(start);
    Remember_Deflections(c, s);
    s.Y.fill(solved);
    return Damp_Cycling_Iteration(c, s, 10, i);
}

TEST(IterationControl, OnlyACycleIsDamped) {
    auto s = std::make_unique<FdSolution>();
    // A two-state cycle, confirmed four times in a row: from then on every solution is drawn
    // halfway back towards the state it started from; a swing that keeps growing through
    // four more reversals halves the step again.
    {
        IterationControl c;
        Start_Iteration_Control(c);
        EXPECT_FALSE(Step(c, *s, 1, 0.0, 1.0));
        EXPECT_FALSE(Step(c, *s, 2, 1.0, 2.0));
        EXPECT_FALSE(Step(c, *s, 3, 2.0, 3.0));
        EXPECT_FALSE(Step(c, *s, 4, 3.0, 2.0));
        EXPECT_FALSE(Step(c, *s, 5, 2.0, 3.0));
        EXPECT_FALSE(Step(c, *s, 6, 3.0, 2.0));
        EXPECT_TRUE(Step(c, *s, 7, 2.0, 3.0));
        EXPECT_DOUBLE_EQ(s->y(5), 2.5);
        EXPECT_DOUBLE_EQ(c.Relaxation, 0.5);
        EXPECT_TRUE(Step(c, *s, 8, 2.5, 2.0)); // damped; the swing has shrunk
        EXPECT_DOUBLE_EQ(s->y(5), 2.25);
        EXPECT_TRUE(Step(c, *s, 9, 2.25, 3.5));
        EXPECT_TRUE(Step(c, *s, 10, 2.875, 1.0));
        EXPECT_TRUE(Step(c, *s, 11, 1.9375, 4.0));
        EXPECT_DOUBLE_EQ(c.Relaxation, 0.5);
        EXPECT_TRUE(Step(c, *s, 12, 2.96875, 0.0));
        EXPECT_DOUBLE_EQ(c.Relaxation, 0.25);
        EXPECT_DOUBLE_EQ(s->y(5), 2.96875 - 0.25 * 2.96875);
    }
    // Converging sequences, monotone or alternating, even slowly, are left alone.
    for (const double ratio : {0.9, 0.5, -0.5, -0.9}) {
        IterationControl c;
        Start_Iteration_Control(c);
        double y = 0.0, step = 1.0;
        for (int i = 1; i <= 30; ++i) {
            EXPECT_FALSE(Step(c, *s, i, y, y + step)) << ratio << " " << i;
            y += step;
            step *= ratio;
        }
    }
}

// The cycle is measured over the real stations 1 .. N alone: a two-state cycle at the head
// station or at the station above the tip alone is damped at the seventh solution, as a cycle
// of every station is, whatever the fictitious stations (-1, 0, N + 1) do meanwhile (here
// they drift steadily, which measured with the rest would hide the reversals); a cycle of
// the fictitious stations alone is not. Once damped, every station, the fictitious ones
// included, is drawn halfway back.
TEST(IterationControl, OnlyTheRealStationsAreMeasured) {
    constexpr int N = 10;
    struct Case {
        const char* name;
        std::vector<int> cycling;
        bool damped;
    };
    const Case cases[] = {{"head station", {1}, true},
                          {"station above the tip", {N}, true},
                          {"fictitious stations", {-1, 0, N + 1}, false}};
    const double cycle[][2] = {{0.0, 1.0}, {1.0, 2.0}, {2.0, 3.0}, {3.0, 2.0},
                               {2.0, 3.0}, {3.0, 2.0}, {2.0, 3.0}};
    auto s = std::make_unique<FdSolution>();
    for (const Case& t : cases) {
        IterationControl c;
        Start_Iteration_Control(c);
        bool damped = false;
        for (int i = 1; i <= 7; ++i) {
            auto set = [&](int end) {
                s->Y.fill(0.0);
                for (const int m : {-1, 0, N + 1}) {
                    s->Y[m] = 100.0 * (i + end); // drifting
                }
                for (const int m : t.cycling) {
                    s->Y[m] = cycle[i - 1][end];
                }
            };
            set(0);
            Remember_Deflections(c, *s);
            set(1);
            damped = Damp_Cycling_Iteration(c, *s, N, i);
            ASSERT_TRUE(!damped || i == 7) << t.name << " " << i;
        }
        EXPECT_EQ(damped, t.damped) << t.name;
        if (damped) {
            EXPECT_DOUBLE_EQ(s->y(t.cycling[0]), 2.5) << t.name;
            EXPECT_DOUBLE_EQ(s->y(N + 1), 100.0 * 7 + 50.0) << t.name;
            EXPECT_DOUBLE_EQ(s->y(-1), 100.0 * 7 + 50.0) << t.name;
        }
    }
}

// Soft clay (c = 5760 psf = 40 psi, eps50 0.02) 20 ft deep over weak rock, 24 in steel pipe
// 50 ft long, 20 kips at the free head. The station where the deflected shape crosses zero
// sits on the steep start of the clay curve and the undamped iteration jumps between two
// states 1.45e-5 in apart, forever, against a tolerance of 1e-5 in.
std::string Clay_Over_Rock(const std::string& tolerance) {
    return "ZARNOK6\nTITLE\nSoft clay over weak rock\n\n\n\n\nOPTIONS\nUnits USCS\nUseLRFD NO\n"
           "ComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
           "ComputeEIOnly NO\nLoading STATIC     0\nMaxIterations 300\n"
           "ExcessDeflection 100.0\nTolerance " +
           tolerance +
           "\nIncrements 100\nPrintSummaryOnly NO\nPrintIncrement 10\nPrintPYCurves NO\n"
           "ComputeInteraction NO\nSECTIONS\n1\n1\n4\n50.0\n24.0\n0.5\n36000.0\n29000000.0\n"
           "SOIL LAYERS\n2\n1  0.0  20.0\n52.6  5760.0  0.02\n52.6  5760.0  0.02\n"
           "8  20.0  100.0\n70.0  500.0  50000.0  50.0  0.0005\n"
           "70.0  500.0  50000.0  50.0  0.0005\nLOADING\n1\n1  1  20000.0  0.0  0.0  1\n0\nEND\n";
}

// SI: 610 x 12.7 mm steel pipe 20 m long in soft clay, c from 20 to 60 kPa, eps50 0.01,
// 100 kN at the free head, tolerance 1e-7 m. Undamped it stalls in a two-state cycle at a
// change of 2.37e-7 m.
std::string Si_Soft_Clay(const std::string& tolerance) {
    return "ZARNOK6\nTITLE\nSI soft clay pipe pile\n\n\n\n\nOPTIONS\nUnits SI\nUseLRFD NO\n"
           "ComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
           "ComputeEIOnly NO\nLoading STATIC     0\nMaxIterations 100\nExcessDeflection 10.0\n"
           "Tolerance " +
           tolerance +
           "\nIncrements 100\nPrintSummaryOnly NO\nPrintIncrement 10\nPrintPYCurves NO\n"
           "ComputeInteraction NO\nSECTIONS\n1\n1\n4\n20\n610.0\n12.7\n248000.0\n"
           "200000000.0\nSOIL LAYERS\n1\n1  0.0  20\n8.0  20.0  0.01\n8.0  60.0  0.01\n"
           "LOADING\n1\n1  1  100  0.0  0.0  1\n0\nEND\n";
}

int Iterations(const std::string& messages) {
    return Count(messages, "Analysis Case 1,");
}

TEST(IterationControl, CyclingCasesConvergeToTheUndampedSolution) {
    struct Deck {
        const char* name;
        std::string tight;
        std::string loose; // a tolerance above the cycle, where the plain iteration ends
        double tolerance;
    };
    const Deck decks[] = {
        {"clay over rock", Clay_Over_Rock("1.0E-05"), Clay_Over_Rock("3.0E-05"), 1.0e-5},
        {"SI soft clay", Si_Soft_Clay("1.0E-07"), Si_Soft_Clay("1.0E-06"), 1.0e-7},
    };
    for (const Deck& d : decks) {
        const RunOutput tight = Run_Text(d.tight);
        ASSERT_LE(tight.result, 0) << d.name;
        EXPECT_NE(tight.messages.find("The convergence criteria have been met for load case 1"),
                  std::string::npos)
            << d.name;
        EXPECT_LT(Iterations(tight.messages), 60) << d.name;
        const RunOutput loose = Run_Text(d.loose);
        ASSERT_LE(loose.result, 0) << d.name;
        const auto a = Read_Stations(tight.plot);
        const auto b = Read_Stations(loose.plot);
        ASSERT_EQ(a.size(), 1u);
        ASSERT_EQ(b.size(), 1u);
        ASSERT_EQ(a[0].size(), b[0].size());
        // The same deflected shape, within the looser tolerance.
        for (size_t k = 0; k < a[0].size(); ++k) {
            EXPECT_NEAR(a[0][k].y, b[0][k].y, 10.0 * d.tolerance) << d.name << " station " << k;
        }
    }
}

} // namespace
} // namespace zarno::test
