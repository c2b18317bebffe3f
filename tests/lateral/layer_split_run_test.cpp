// A layer split into two layers of the same soil is the same ground: the pile must not see
// the boundary, whether it falls on a station, between stations, or on a station up to
// rounding. Every p-y type is split at each kind of boundary; the profile's properties vary
// linearly with depth where the type allows it, and the two halves take the values of the
// whole layer at the boundary.
#include "lateral_input.h"
#include "test_support.h"

#include <cmath>
#include <fmt/format.h>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace zarno::test {
namespace {

constexpr double kTop = 0.0;
constexpr double kBottom = 150.0; // ft; the 150 ft pile has 100 increments of 1.5 ft

struct SplitType {
    const char* name;
    int code;
    // The property line of the unsplit layer at depth d (ft).
    std::function<std::string(double d)> line;
    double shear; // lb
    // Relative agreement: 1e-9 where the split changes nothing in the physics; looser where
    // the lower half takes its depth from the equivalent depth of the soil above it, which
    // integrates the upper half's resistance over the stations.
    double tolerance;
};

double Lerp(double a, double b, double d) {
    return a + (b - a) * (d - kTop) / (kBottom - kTop);
}

std::string User_Curve_Line(double d) {
    // Points of the same deflections at every depth; the resistance grows linearly.
    const double f = Lerp(1.0, 3.0, d);
    return fmt::format("60.0 4\n0.0 0.0\n{:.17g} {:.17g}\n{:.17g} {:.17g}\n100.0 {:.17g}", 0.05,
                       50.0 * f, 0.5, 200.0 * f, 250.0 * f);
}

std::string Layer(const SplitType& t, double top, double bottom) {
    return fmt::format("{} {:.17g} {:.17g}\n{}\n{}\n", t.code, top, bottom, t.line(top),
                       t.line(bottom));
}

std::string Profile(const SplitType& t, double boundary) {
    if (boundary <= 0.0) {
        return "1\n" + Layer(t, kTop, kBottom);
    }
    return "2\n" + Layer(t, kTop, boundary) + Layer(t, boundary, kBottom);
}

LoadCaseResult Head_Case(const SplitType& t, double boundary) {
    LateralCase c;
    c.layers = Profile(t, boundary);
    c.loads = {fmt::format("1 {} 0.0 0.0 1", t.shear)};
    c.max_iterations = 500;
    const std::string text = Lateral_Input(c);
    const RunRequest r = Request_In_Memory("split.inp", &text);
    RunResults results;
    const int rc = Run_Analysis(r, Fixed_Time, results);
    EXPECT_LE(rc, 0) << (results.has_error ? results.error.text.front() : "");
    EXPECT_EQ(results.load_cases.size(), 1u);
    return results.load_cases.empty() ? LoadCaseResult{} : results.load_cases.front();
}

const SplitType kTypes[] = {
    {"SoftClay", 1, [](double d) { return fmt::format("50.0 {:.17g} 0.01", Lerp(400, 1600, d)); },
     2.0e4, 2e-3},
    {"StiffClayFreeWater", 2,
     [](double d) { return fmt::format("60.0 {:.17g} 0.005 500.0", Lerp(1500, 3000, d)); }, 5.0e4,
     2e-3},
    {"StiffClayNoWater", 3,
     [](double d) { return fmt::format("120.0 {:.17g} 0.005", Lerp(1500, 3000, d)); }, 5.0e4, 2e-3},
    {"Sand", 5, [](double) { return std::string("60.0 34.0 90.0"); }, 3.0e4, 2e-3},
    {"ApiSand", 6, [](double) { return std::string("60.0 34.0 90.0"); }, 3.0e4, 2e-3},
    {"WeakRock", 8, [](double) { return std::string("120.0 800.0 100000.0 30.0 0.0005"); }, 1.0e6,
     1e-9},
    {"VuggyLimestone", 9, [](double) { return std::string("140.0 1500.0"); }, 4.0e5, 1e-9},
    {"Piedmont", 10, [](double) { return std::string("120.96 1 20.0 0.0 0.0 0.0"); }, 5.0e4, 1e-9},
    {"CementedSilt", 11, [](double) { return std::string("103.68 1440.0 32.0 0.0 0.0"); }, 3.0e5,
     2e-3},
    {"Loess", 12, [](double) { return std::string("120.96 200.0"); }, 3.0e4, 1e-9},
    {"ElasticSubgrade", 13, [](double d) { return fmt::format("60.0 {:.17g}", Lerp(50, 350, d)); },
     2.0e4, 1e-9},
    {"UserCurves", 14, User_Curve_Line, 2.0e4, 1e-9},
    {"SoftClayJ", 15, [](double) { return std::string("50.0 800.0 0.01 0.25"); }, 2.0e4, 2e-3},
};

// Boundaries (ft): on station 21 (30 ft), between stations, and on station 21 up to rounding.
const double kBoundaries[] = {30.0, 30.7, 30.0 - 1e-9, 30.0 + 1e-9, 30.0 - 4e-8};

TEST(LayerSplitRun, SplittingALayerChangesNoResultForAnyPyType) {
    for (const SplitType& t : kTypes) {
        SCOPED_TRACE(t.name);
        const LoadCaseResult whole = Head_Case(t, 0.0);
        ASSERT_TRUE(whole.converged);
        ASSERT_GT(whole.head_deflection, 0.0);
        for (const double boundary : kBoundaries) {
            SCOPED_TRACE(fmt::format("boundary {:.17g} ft", boundary));
            const LoadCaseResult split = Head_Case(t, boundary);
            ASSERT_TRUE(split.converged);
            EXPECT_NEAR(split.head_deflection, whole.head_deflection,
                        t.tolerance * whole.head_deflection);
            EXPECT_NEAR(split.max_moment, whole.max_moment,
                        t.tolerance * std::fabs(whole.max_moment));
            // Every station below the ground keeps its spring.
            ASSERT_EQ(split.nodes.size(), whole.nodes.size());
            for (size_t i = 1; i < whole.nodes.size(); ++i) {
                if (whole.nodes[i].soil_modulus > 0.0) {
                    EXPECT_GT(split.nodes[i].soil_modulus, 0.0) << "station " << i + 1;
                }
            }
        }
    }
}

// Forty layers of user curves, every boundary on a station up to rounding, against one layer.
TEST(LayerSplitRun, FortyUserCurveLayersOnStationsAreOneLayer) {
    const SplitType& t = kTypes[11];
    ASSERT_EQ(t.code, 14);
    const LoadCaseResult whole = Head_Case(t, 0.0);
    LateralCase c;
    std::string layers = "40\n";
    // 3.75 ft = 2.5 increments: every second boundary lies on a station, typed a hair below
    // it, so that the station computed from the increments lies just above the layer's top,
    // as rounding leaves it (0.8999999999 for a top at 0.9).
    double top = 0.0;
    for (int k = 1; k <= 40; ++k) {
        const double bottom = k == 40 ? kBottom : 3.75 * k + 1e-10;
        layers += Layer(t, top, bottom);
        top = bottom;
    }
    c.layers = layers;
    c.loads = {fmt::format("1 {} 0.0 0.0 1", t.shear)};
    const std::string text = Lateral_Input(c);
    const RunRequest r = Request_In_Memory("forty.inp", &text);
    RunResults results;
    ASSERT_LE(Run_Analysis(r, Fixed_Time, results), 0);
    ASSERT_EQ(results.load_cases.size(), 1u);
    EXPECT_NEAR(results.load_cases[0].head_deflection, whole.head_deflection,
                1e-9 * whole.head_deflection);
}

} // namespace
} // namespace zarno::test
