// The banded solution with distributed moment and base springs, against closed forms and
// against the two-term recurrence where both apply.
#include "elastic_pile.h"
#include "report/text_file.h"
#include "solver/fd_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace zarno::test {
namespace {

Solve_Result Solve(const FdPileModel& p, FdSolution& s) {
    TextFile report(nullptr);
    TextFile messages(nullptr);
    return Solve_Pile_Deflection(p, 1, s, report, messages);
}

Solve_Result Solve_Banded(const FdPileModel& p, FdSolution& s) {
    TextFile report(nullptr);
    TextFile messages(nullptr);
    return Solve_Monopile_Deflection(p, s, report, messages);
}

// A long elastic pile with a uniform distributed moment spring k_m. The moment m = k_m y'
// enters the beam equation as -(k_m y')', so
//
//     EI y'''' - k_m y'' + k y = 0,
//
// which is the beam-column equation EI y'''' + Q y'' + k y = 0 with the thrust Q = -k_m:
// the rotational spring stiffens the pile like a tension. The decaying solution is
// y = Re(A e^(r x)) with EI r^4 - k_m r^2 + k = 0, Re r < 0, and the head shear that
// balances the soil is EI y''' - k_m y' (the distributed moment carries part of it). With
// the free head (M = 0, V = H) A follows from two linear conditions (elastic_pile.h).
TEST(MonopileSolver, UniformMomentSpringMatchesTheTensionLikeClosedForm) {
    const double L = 30.0, EI = 4.0e5, k = 1.0e5, H = 100.0;
    // k_m below 2 sqrt(k EI) = 4e5: the decaying solution oscillates (r complex).
    for (const double km : {0.0, 1.5e5, 3.5e5}) {
        SCOPED_TRACE(km);
        auto p = Make_Elastic_Pile(L, 500, EI, k, 0.0, LOADING_SHEAR_MOMENT, H, 0.0);
        for (int m = 1; m <= p->i_Num_Nodes; ++m) {
            p->Km[m] = km;
        }
        FdSolution s;
        ASSERT_EQ(Solve(*p, s), Solve_Result::Solved);
        ClosedFormPile exact(EI, k, -km);
        exact.Impose(exact.Z_Moment(), 0.0, exact.Z_Shear(), H);
        for (const int m : {1, 17, 51}) {
            const double x = (m - 1) * p->Increment;
            EXPECT_NEAR(s.y(m), exact.y(x), 2e-3 * std::fabs(exact.y(0.0))) << x;
        }
        // And the recurrence, given the same stiffening as a tension, agrees to round-off.
        auto q = Make_Elastic_Pile(L, 500, EI, k, -km, LOADING_SHEAR_MOMENT, H, 0.0);
        FdSolution t;
        ASSERT_EQ(Solve(*q, t), Solve_Result::Solved);
        for (int m = 1; m <= p->i_Num_Nodes; m += 50) {
            EXPECT_NEAR(s.y(m), t.y(m), 1e-9 * std::fabs(t.y(1))) << m;
        }
    }
    // The spring does stiffen: the head moves less with it.
    auto free = Make_Elastic_Pile(L, 500, EI, k, 0.0, LOADING_SHEAR_MOMENT, H, 0.0);
    auto held = Make_Elastic_Pile(L, 500, EI, k, 0.0, LOADING_SHEAR_MOMENT, H, 0.0);
    for (int m = 1; m <= held->i_Num_Nodes; ++m) {
        held->Km[m] = 3.5e5;
    }
    FdSolution a, b;
    ASSERT_EQ(Solve(*free, a), Solve_Result::Solved);
    ASSERT_EQ(Solve(*held, b), Solve_Result::Solved);
    EXPECT_LT(b.y(1), 0.9 * a.y(1));
}

// A pile in no soil, held at its tip by the base springs alone, under a head shear H: a
// cantilever on a translational and a rotational spring. Its head deflection is the sum of
// the base translation H / K_HB, the base rotation H L / K_MB carried up the length L, and
// the bending H L^3 / (3 EI).
TEST(MonopileSolver, BaseSpringsHoldACantileverAsTheirClosedForm) {
    const double L = 20.0, EI = 2.0e7, H = 50.0, KHB = 4.0e4, KMB = 6.0e6;
    auto p = Make_Elastic_Pile(L, 500, EI, 0.0, 0.0, LOADING_SHEAR_MOMENT, H, 0.0);
    p->Base_Shear_Spring = KHB;
    p->Base_Moment_Spring = KMB;
    FdSolution s;
    ASSERT_EQ(Solve(*p, s), Solve_Result::Solved);
    const int N = p->i_Num_Nodes;
    const double h = p->Increment;
    EXPECT_NEAR(s.y(N), H / KHB, 1e-6 * H / KHB);
    const double tip_rotation = (s.y(N + 1) - s.y(N - 1)) / (2.0 * h);
    EXPECT_NEAR(std::fabs(tip_rotation), H * L / KMB, 1e-4 * H * L / KMB);
    const double head = H / KHB + H * L * L / KMB + H * L * L * L / (3.0 * EI);
    EXPECT_NEAR(s.y(1), head, 1e-4 * head);
}

// With neither distributed moment nor base springs the banded equations are those of the
// recurrence: every loading type, a thrust, varying stiffness and springs, tip shear.
TEST(MonopileSolver, WithoutTheNewSpringsTheBandedSolutionIsTheRecurrences) {
    const double conditions[6][2] = {{0, 0},         {150.0, 300.0}, {150.0, 0.001},
                                     {150.0, 5.0e4}, {0.02, 300.0},  {0.02, -0.001}};
    // Each loading type with the classic head treatment and with each head station's own
    // stiffness (the stiffness varies from station 1 to 2, so the two differ).
    for (const bool own_head : {false, true})
        for (int type = LOADING_SHEAR_MOMENT; type <= LOADING_DEFLECTION_SLOPE; ++type) {
            SCOPED_TRACE(::testing::Message() << "type " << type << ", own head " << own_head);
            auto p = Make_Elastic_Pile(25.0, 200, 3.0e5, 0.0, 400.0, type, conditions[type][0],
                                       conditions[type][1]);
            p->Own_Head_Stiffness = own_head;
            for (int m = 1; m <= p->i_Num_Nodes; ++m) {
                p->EI[m] = 3.0e5 * (1.0 + 0.5 * std::sin(0.1 * m));
                p->Es[m] = 2.0e4 * (m - 1) * p->Increment;
                p->Dist_Load[m] = m < 20 ? 3.0 : 0.0;
            }
            // One tip shear point beyond the tip movement: the solution keeps the shear it has.
            p->i_Num_Tip_Shear_Points = 1;
            p->Tip_Shear[1].Displacement = 1.0;
            p->Tip_Shear[1].Shear = 7.0;
            FdSolution a, b;
            a.V_Tip = b.V_Tip = 7.0;
            ASSERT_EQ(Solve(*p, a), Solve_Result::Solved);
            ASSERT_EQ(Solve_Banded(*p, b), Solve_Result::Solved);
            for (int m = -1; m <= p->i_Num_Nodes + 1; ++m) {
                EXPECT_NEAR(a.y(m), b.y(m), 1e-9 * std::fabs(a.y(1)) + 1e-15) << m;
            }
            EXPECT_NEAR(a.dYmax, b.dYmax, 1e-9 * a.dYmax);
        }
}

} // namespace
} // namespace zarno::test
