#include "py/soft_clay.h"
#include "py/stiff_clay_free_water.h"
#include "py/stiff_clay_no_water.h"

#include <gtest/gtest.h>

namespace zarno {
namespace {

TEST(PrintedDeflections, SoftClayMultiplesOfY50) {
    SoftClayInput in{.x = 1.0, .b = 1.0, .c = 20.0, .gamma = 8.0, .eps50 = 0.02};
    const double y50 = 0.05;
    std::array<double, 18> y = Soft_Clay_Print_y(Soft_Clay_Params(in));
    EXPECT_EQ(y[1], 0.0);
    EXPECT_NEAR(y[3], 0.125 * y50, 1e-15);
    EXPECT_NEAR(y[16], 8.0 * y50, 1e-15);
    EXPECT_NEAR(y[17], 8.5 * y50, 1e-15);
    in.b_Cyclic = true;
    y = Soft_Clay_Print_y(Soft_Clay_Params(in));
    EXPECT_NEAR(y[14], 3.0 * y50, 1e-15);
    EXPECT_NEAR(y[15], 9.0 * y50, 1e-15);
    EXPECT_NEAR(y[17], 16.0 * y50, 1e-15);
}

TEST(PrintedDeflections, StiffClayWithFreeWater) {
    StiffClayFreeWaterInput in{
        .x = 0.0, .b = 1.0, .c = 100.0, .ca = 100.0, .gamma = 9.0, .eps50 = 0.01, .k = 1000.0};
    const double a = 0.2345000058412552 * 0.01; // As*y50 at the surface
    std::array<double, 18> y = Stiff_Clay_Free_Water_Print_y(Stiff_Clay_Free_Water_Params(in));
    EXPECT_NEAR(y[13], 6.0 * a, 1e-15);
    EXPECT_NEAR(y[14], 10.0 * a, 1e-15);
    EXPECT_NEAR(y[17], 19.0 * a, 1e-15);
    in.b_Cyclic = true;
    y = Stiff_Clay_Free_Water_Print_y(Stiff_Clay_Free_Water_Params(in));
    const double yp = 4.099999904632568 * a;
    EXPECT_NEAR(y[13], 0.6 * yp, 1e-15);
    EXPECT_NEAR(y[16], 1.8 * yp, 1e-15);
    EXPECT_NEAR(y[17], 1.9 * yp, 1e-15);
}

TEST(PrintedDeflections, StiffClayWithoutFreeWater) {
    StiffClayNoWaterInput in{.x = 1.0, .b = 1.0, .c = 100.0, .gamma = 9.0, .eps50 = 0.01};
    const double y16 = 16.0 * 0.025;
    std::array<double, 18> y = Stiff_Clay_No_Water_Print_y(Stiff_Clay_No_Water_Params(in), 1.0);
    EXPECT_EQ(y[2], static_cast<double>(1e-5f) * y16);
    EXPECT_NEAR(y[15], y16, 1e-15);
    EXPECT_NEAR(y[17], 16.799999237060547 * 0.025, 1e-15);
    EXPECT_NEAR(y[16], 0.5 * (y16 + 16.799999237060547 * 0.025), 1e-15);
    in.b_Cyclic = true;
    in.N = 100.0;
    y = Stiff_Clay_No_Water_Print_y(Stiff_Clay_No_Water_Params(in), 100.0);
    EXPECT_NEAR(y[17], 18.75 * (16.0 + 2.0 * 9.600000381469727) * 0.025 / 15.0, 1e-14);
}

} // namespace
} // namespace zarno
