// Arrays indexed by station number, the fictitious stations beyond the head and tip included.
#include "engine/station_array.h"
#include "solver/fd_solver.h"

#include <gtest/gtest.h>
#include <memory>

namespace zarno::test {
namespace {

TEST(StationArray, EveryStationHasItsOwnValue) {
    StationArray<int, -1, 4> a{};
    for (int m = -1; m <= 4; ++m) {
        EXPECT_EQ(a[m], 0) << "value-initialised arrays start cleared";
        a[m] = 10 * m + 7;
    }
    for (int m = -1; m <= 4; ++m) {
        EXPECT_EQ(a[m], 10 * m + 7) << m;
    }
    a.fill(3);
    EXPECT_EQ(a[-1], 3);
    EXPECT_EQ(a[4], 3);
}

TEST(StationArray, SolutionHoldsTheFictitiousStationsOfTheLargestGrid) {
    auto s = std::make_unique<FdSolution>();
    const int N = MAX_NODES;
    s->y(-1) = -1.0;
    s->y(0) = -0.5;
    s->y(1) = 1.0;
    s->y(N) = 2.0;
    s->y(N + 1) = 3.0;
    EXPECT_EQ(s->Y[-1], -1.0);
    EXPECT_EQ(s->Y[0], -0.5);
    EXPECT_EQ(s->Y[1], 1.0);
    EXPECT_EQ(s->Y[N], 2.0);
    EXPECT_EQ(s->Y[N + 1], 3.0);
    EXPECT_EQ(StationDeflections::first_station, -1);
    EXPECT_EQ(StationDeflections::last_station, MAX_NODES + 1);
    EXPECT_EQ(NodeValues::first_station, 1);
    EXPECT_EQ(NodeValues::last_station, MAX_NODES);
}

#ifndef NDEBUG
TEST(StationArrayDeathTest, StationOutsideTheArrayStopsADebugBuild) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    StationArray<double, 1, 5> a{};
    EXPECT_DEATH(a[0] = 1.0, "station outside the array");
    EXPECT_DEATH(a[6] = 1.0, "station outside the array");
}
#endif

} // namespace
} // namespace zarno::test
