// The bracketing points of a curvature in a moment-curvature table: the binary search must
// find exactly the interval of the scan from the first point, or the interpolated
// stiffness would change.
#include "solver/curvature_interval.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

namespace zarno::test {
namespace {

// The scan as the stiffness update has always made it, written out independently.
int Scan(const std::vector<double>& Phi, int P, double phi) {
    int k = 1;
    while (k < P - 1 && !(Phi[k] < phi && phi <= Phi[k + 1])) {
        ++k;
    }
    return k;
}

// Curvatures at, between, below and beyond the points of a one-based table.
std::vector<double> Probes(const std::vector<double>& Phi, int P) {
    std::vector<double> v{0.0, -0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity()};
    for (int k = 1; k <= P; ++k) {
        v.push_back(Phi[k]);
        v.push_back(std::nextafter(Phi[k], -1.0e300));
        v.push_back(std::nextafter(Phi[k], 1.0e300));
        v.push_back(Phi[k] * 10.0 + 1.0);
        if (k < P) {
            v.push_back(0.5 * (Phi[k] + Phi[k + 1]));
        }
    }
    return v;
}

void Expect_Same_As_Scan(const std::vector<double>& Phi, const char* name) {
    const int P = static_cast<int>(Phi.size()) - 1;
    const bool ascending = Curvatures_Ascend(Phi.data(), P);
    for (const double phi : Probes(Phi, P)) {
        const int scan = Scan(Phi, P, phi);
        EXPECT_EQ(Curvature_Interval(Phi.data(), P, phi, ascending), scan)
            << name << ", phi = " << phi;
        // Whatever interval the station before left, in range or not.
        for (int hint = -1; hint <= P + 1; ++hint) {
            ASSERT_EQ(Curvature_Interval_From(Phi.data(), P, phi, ascending, hint), scan)
                << name << ", phi = " << phi << ", hint " << hint;
        }
    }
}

TEST(CurvatureInterval, FindsTheScansIntervalInEveryKindOfTable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Table {
        const char* name;
        std::vector<double> Phi; // slot 0 unused, as in the section tables
    };
    const std::vector<Table> tables{
        {"one point", {0.0, 1.0e-5}},
        {"two points", {0.0, 1.0e-5, 2.0e-5}},
        {"ascending", {0.0, 1.0e-6, 2.0e-6, 4.0e-6, 8.0e-6, 1.6e-5, 3.2e-5}},
        {"starts at zero", {0.0, 0.0, 1.0e-6, 3.0e-6}},
        {"repeated inside", {0.0, 1.0, 2.0, 2.0, 2.0, 3.0, 4.0}},
        {"repeated first", {0.0, 1.0, 1.0, 1.0, 2.0}},
        {"repeated last", {0.0, 1.0, 2.0, 3.0, 3.0}},
        {"all equal", {0.0, 5.0, 5.0, 5.0, 5.0}},
        {"descending step", {0.0, 1.0, 3.0, 2.0, 4.0, 5.0}},
        {"NaN inside", {0.0, 1.0, nan, 3.0, 4.0}},
        {"NaN first", {0.0, nan, 2.0, 3.0}},
    };
    for (const Table& t : tables) {
        Expect_Same_As_Scan(t.Phi, t.name);
    }
    EXPECT_FALSE(Curvatures_Ascend(tables[8].Phi.data(), 5));
    EXPECT_FALSE(Curvatures_Ascend(tables[9].Phi.data(), 4));
    EXPECT_TRUE(Curvatures_Ascend(tables[4].Phi.data(), 6));
}

TEST(CurvatureInterval, RandomAscendingTablesWithRepeatsMatchTheScan) {
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> points(1, 150);
    std::uniform_real_distribution<double> step(0.0, 1.0e-5);
    std::bernoulli_distribution repeat(0.2);
    for (int n = 0; n < 300; ++n) {
        const int P = points(rng);
        std::vector<double> Phi(static_cast<size_t>(P) + 1, 0.0);
        Phi[1] = step(rng);
        for (int k = 2; k <= P; ++k) {
            Phi[static_cast<size_t>(k)] =
                Phi[static_cast<size_t>(k - 1)] + (repeat(rng) ? 0.0 : step(rng));
        }
        ASSERT_TRUE(Curvatures_Ascend(Phi.data(), P));
        Expect_Same_As_Scan(Phi, "random");
        if (testing::Test::HasFailure()) {
            return;
        }
    }
}

} // namespace
} // namespace zarno::test
