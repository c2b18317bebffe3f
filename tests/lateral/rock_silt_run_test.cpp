// Whole lateral runs of a pile in one layer of each rock, silt, loess and Piedmont model:
// the load case converges and the soil reactions of the converged case carry the head
// shear (no moment at the head, no tip shear).
#include "engine/run_status.h"
#include "lateral_input.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace zarno::test {
namespace {

struct ModelRun {
    const char* name;
    const char* layer; // the two parameter lines follow "type 0.0 150.0"
    double shear;      // lb, large enough to reach the nonlinear part of the curve
};

class RockSiltRunTest : public ::testing::TestWithParam<ModelRun> {};

TEST_P(RockSiltRunTest, LoadCaseConvergesAndSoilCarriesTheHeadShear) {
    const ModelRun& r = GetParam();
    LateralCase c;
    c.layers = std::string("1\n") + r.layer;
    c.loads = {"1 " + std::to_string(r.shear) + " 0.0 0.0 1"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    // The rocks' unit weights (140 pcf) are at the limit of the soil check: warning -712.
    ASSERT_TRUE(out.result == 0 || out.result == WARNING_UNIT_WEIGHT_LIMITS) << out.report;
    EXPECT_NE(out.messages.find("The convergence criteria have been met for load case 1"),
              std::string::npos);
    const auto cases = Read_Stations(out.plot);
    ASSERT_EQ(cases.size(), 1u);
    const auto& st = cases[0];
    ASSERT_GT(st.size(), 2u);
    double force = 0.0;
    for (size_t i = 1; i < st.size(); ++i) {
        force += (st[i - 1].p + st[i].p) / 2.0 * (st[i].X - st[i - 1].X);
    }
    EXPECT_NEAR(std::abs(force), r.shear, 0.01 * r.shear);
    EXPECT_GT(st[0].y, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Models, RockSiltRunTest,
                         ::testing::Values(
                             // qur 800 psi, Eir 1e5 psi, RQD 30 %, k_rm 0.0005.
                             ModelRun{"WeakRock",
                                      "8 0.0 150.0\n120.0 800.0 100000.0 30.0 0.0005\n"
                                      "120.0 800.0 100000.0 30.0 0.0005\n",
                                      1.0e6},
                             // qu 1500 psi.
                             ModelRun{"VuggyLimestone", "9 0.0 150.0\n140.0 1500.0\n140.0 1500.0\n",
                                      4.0e5},
                             // c 1440 psf (10 psi), phi 32 deg, default eps50 and k.
                             ModelRun{"CementedSilt",
                                      "11 0.0 150.0\n103.68 1440.0 32.0 0.0 0.0\n"
                                      "103.68 1440.0 32.0 0.0 0.0\n",
                                      3.0e5},
                             // qc 200 psi; the static run gives no cycle count, taken as one cycle.
                             ModelRun{"Loess", "12 0.0 150.0\n120.96 200.0\n120.96 200.0\n", 3.0e4},
                             // SPT N60 = 20.
                             ModelRun{"Piedmont",
                                      "10 0.0 150.0\n120.96 1 20.0 0.0 0.0 0.0\n"
                                      "120.96 1 20.0 0.0 0.0 0.0\n",
                                      5.0e4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RockSiltRun, MassiveRockEndsTheRunWithStatus99) {
    LateralCase c;
    c.layers = "1\n16 0.0 150.0\n160.0 2000.0 3 50.0 1000000.0\n"
               "160.0 2000.0 3 50.0 1000000.0\n";
    c.loads = {"1 10000.0 0.0 0.0 1"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    EXPECT_EQ(out.result, 99) << out.report;
    EXPECT_EQ(out.report.find("Output Summary for Load Case"), std::string::npos);
}

} // namespace
} // namespace zarno::test
