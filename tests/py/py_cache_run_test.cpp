// The p-y passes keep each node's soil values and curve between passes. What they keep must
// never outlive what it was computed from: a load case that moves the pile the other way on
// a slope, or a case that follows a sweep over shorter piles, must come out exactly as the
// same case run on its own.
#include "lateral/lateral_input.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

namespace zarno::test {
namespace {

struct Profile {
    const char* name;
    const char* layers; // SOIL LAYERS body, a 50 ft pile
};

const Profile kProfiles[] = {
    {"SoftClayOverStiffClayWithFreeWater",
     "2\n1 0.0 10.0\n50.0 400.0 0.02\n55.0 500.0 0.02\n2 10.0 60.0\n57.6 1000.0 0.007 0.0\n"
     "57.6 1400.0 0.005 0.0\n"},
    {"StiffClayWithoutFreeWaterOverSoftClayWithJ",
     "2\n3 0.0 12.0\n110.0 1500.0 0.005\n110.0 1800.0 0.005\n15 12.0 60.0\n"
     "50.0 600.0 0.01 0.5\n55.0 900.0 0.01 0.5\n"},
    {"ReeseSandOverApiSand",
     "2\n5 0.0 10.0\n110.0 32.0 0.0\n110.0 32.0 0.0\n6 10.0 60.0\n60.0 36.0 0.0\n"
     "60.0 38.0 0.0\n"},
};

std::string Deck(const Profile& p, std::vector<std::string> loads, double slope_deg) {
    LateralCase c;
    c.length_ft = 50.0;
    c.layers = p.layers;
    c.loads = std::move(loads);
    std::string text = Lateral_Input(c);
    if (slope_deg != 0.0) {
        text.insert(text.rfind("END"), fmt::format("PILE BATTER AND SLOPE\n{}\n0\n", slope_deg));
    }
    return text;
}

// Station records of every converged case.
std::vector<std::vector<Station>> Cases_Of(const std::string& deck) {
    const RunOutput out = Run_Text(deck);
    EXPECT_LE(out.result, 0) << out.messages;
    return Read_Stations(out.plot);
}

void Expect_Same_Stations(const std::vector<Station>& a, const std::vector<Station>& b) {
    ASSERT_EQ(a.size(), b.size());
    ASSERT_FALSE(a.empty());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a[i].X, b[i].X);
        EXPECT_EQ(a[i].y, b[i].y);
        EXPECT_EQ(a[i].M, b[i].M);
        EXPECT_EQ(a[i].V, b[i].V);
        EXPECT_EQ(a[i].p, b[i].p);
    }
}

class PyCacheRun : public testing::TestWithParam<Profile> {};

TEST_P(PyCacheRun, CasePushingTheOtherWayOnASlopeMatchesItsOwnRun) {
    // On a 15 degree slope a clay or sand wedge is weaker when the pile moves down the
    // slope than up it. Case 2 pushes the other way from case 1, so curves kept from case 1
    // would be on the wrong side of the slope.
    const std::string up = "1 30000.0 0.0 0.0 1";
    const std::string down = "1 -30000.0 0.0 0.0 1";
    const auto both = Cases_Of(Deck(GetParam(), {up, down}, 15.0));
    const auto first = Cases_Of(Deck(GetParam(), {up}, 15.0));
    const auto second = Cases_Of(Deck(GetParam(), {down}, 15.0));
    ASSERT_EQ(both.size(), 2u);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    Expect_Same_Stations(both[0], first[0]);
    Expect_Same_Stations(both[1], second[0]);
    // The slope matters: the two directions are not mirror images of each other.
    EXPECT_NE(std::fabs(first[0].front().y), std::fabs(second[0].front().y));
}

TEST_P(PyCacheRun, CaseAfterALengthSweepMatchesItsOwnRun) {
    // Case 1 sweeps the pile length down from 50 ft, rebuilding the stations for every
    // shorter pile; case 2 then runs on the whole pile again, as if on its own.
    const std::string sweep = "1 20000.0 0.0 0.0 0";
    const std::string plain = "1 25000.0 0.0 0.0 1";
    const auto both = Cases_Of(Deck(GetParam(), {sweep, plain}, 0.0));
    const auto alone = Cases_Of(Deck(GetParam(), {plain}, 0.0));
    ASSERT_GE(both.size(), 2u);
    ASSERT_EQ(alone.size(), 1u);
    Expect_Same_Stations(both.back(), alone[0]);
}

INSTANTIATE_TEST_SUITE_P(Profiles, PyCacheRun, testing::ValuesIn(kProfiles),
                         [](const testing::TestParamInfo<Profile>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace zarno::test
