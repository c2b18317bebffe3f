#include "py/user_curves.h"

#include <gtest/gtest.h>

namespace zarno {
namespace {

UserPyCurve Curve(double depth, std::initializer_list<std::pair<double, double>> pts) {
    UserPyCurve c;
    c.Depth = depth;
    for (const auto& [y, p] : pts) {
        ++c.i_Num_Points;
        c.y[c.i_Num_Points] = y;
        c.p[c.i_Num_Points] = p;
    }
    return c;
}

TEST(ElasticSubgrade, LinearModulusAndConstantSpring) {
    EXPECT_DOUBLE_EQ(Elastic_Subgrade_Modulus(15.0, 10.0, 20.0, 100.0, 300.0), 200.0);
    EXPECT_DOUBLE_EQ(Elastic_Subgrade_Modulus(10.0, 10.0, 10.0, 100.0, 300.0), 100.0);
    // p-mult 0.5 halves it and y-mult 2 halves it again.
    EXPECT_DOUBLE_EQ(Elastic_Subgrade_Es(200.0, 2.0, 1.0, 1.0), 400.0);
    EXPECT_DOUBLE_EQ(Elastic_Subgrade_Es(200.0, 2.0, 0.5, 2.0), 100.0);
    const std::array<double, 18> y = Elastic_Subgrade_Print_y(2.0);
    EXPECT_EQ(y[1], 0.0);
    EXPECT_DOUBLE_EQ(y[2], 0.25);
    EXPECT_DOUBLE_EQ(y[17], 4.0); // 2*b
}

TEST(UserCurves, InterpolationAlongACurve) {
    const UserPyCurve c = Curve(0.0, {{0.0, 0.0}, {0.1, 50.0}, {0.5, 90.0}, {1.0, 100.0}});
    EXPECT_DOUBLE_EQ(User_Curve_p(c, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(User_Curve_p(c, 0.05), 25.0);
    EXPECT_DOUBLE_EQ(User_Curve_p(c, 0.3), 70.0);
    EXPECT_DOUBLE_EQ(User_Curve_p(c, 1.0), 100.0);
    EXPECT_DOUBLE_EQ(User_Curve_p(c, 3.0), 100.0); // flat beyond the last point
    EXPECT_DOUBLE_EQ(User_Curve_Initial_Slope(c), 500.0);
    // A curve that starts at a positive deflection is taken to start at the origin.
    const UserPyCurve off = Curve(0.0, {{0.2, 40.0}, {1.0, 80.0}});
    EXPECT_DOUBLE_EQ(User_Curve_p(off, 0.1), 20.0);
    EXPECT_DOUBLE_EQ(User_Curve_p(off, 0.6), 60.0);
    EXPECT_DOUBLE_EQ(User_Curve_Initial_Slope(off), 200.0);
    const UserPyCurve empty = Curve(0.0, {});
    EXPECT_EQ(User_Curve_p(empty, 0.5), 0.0);
    EXPECT_EQ(User_Curve_Initial_Slope(empty), 0.0);
}

TEST(UserCurves, DepthInterpolationModulusAndResistance) {
    const UserPyCurve top = Curve(100.0, {{0.0, 0.0}, {0.1, 50.0}, {1.0, 100.0}});
    const UserPyCurve bot = Curve(200.0, {{0.0, 0.0}, {0.2, 150.0}, {1.0, 300.0}});
    // Midway: the mean of the two curves at the same deflection.
    EXPECT_DOUBLE_EQ(User_py_p(top, bot, 150.0, 0.1), 0.5 * (50.0 + 75.0));
    EXPECT_DOUBLE_EQ(User_py_Initial_Slope(top, bot, 150.0), 0.5 * (500.0 + 750.0));
    EXPECT_DOUBLE_EQ(User_py_Es(top, bot, 150.0, 0.0, 0.5, 2.0), 625.0);
    EXPECT_DOUBLE_EQ(User_py_Es(top, bot, 150.0, 0.05, 0.5, 2.0),
                     0.5 * (0.5 * (25.0 + 37.5)) / (2.0 * 0.05));
    // Outside the two depths: no resistance and no modulus.
    EXPECT_EQ(User_py_p(top, bot, 250.0, 0.1), 0.0);
    EXPECT_EQ(User_py_Es(top, bot, 99.0, 0.0, 1.0, 1.0), 0.0);
    // A station on the top or bottom up to rounding lies on it and takes that curve; the
    // layer assignment gives such a station to this layer.
    EXPECT_DOUBLE_EQ(User_py_p(top, bot, 100.0 - 1e-7, 0.1), 50.0);
    EXPECT_DOUBLE_EQ(User_py_p(top, bot, 200.0 + 1e-7, 0.1), 75.0);
    EXPECT_DOUBLE_EQ(User_py_Initial_Slope(top, bot, 100.0 - 1e-7), 500.0);
    EXPECT_EQ(User_py_p(top, bot, 100.0 - 2e-6, 0.1), 0.0);
    // h*(Pt + (X - Dt)(Pb - Pt)/(Db - Dt)), not limited to the layer.
    EXPECT_DOUBLE_EQ(User_py_F_Increment(top, bot, 150.0, 10.0), 2000.0);
    EXPECT_DOUBLE_EQ(User_py_F_Increment(top, bot, 250.0, 10.0), 4000.0);
    // A layer of no thickness uses its top curve.
    const UserPyCurve same = Curve(100.0, {{0.0, 0.0}, {0.2, 150.0}, {1.0, 300.0}});
    EXPECT_DOUBLE_EQ(User_py_p(top, same, 100.0, 0.1), 50.0);
    EXPECT_DOUBLE_EQ(User_py_F_Increment(top, same, 100.0, 10.0), 1000.0);
}

TEST(UserCurves, PrintedDeflections) {
    const std::array<double, 18> y = User_py_Print_y(2.0);
    EXPECT_EQ(y[1], 0.0);
    EXPECT_EQ(y[2], 2.0 * 9.999999747378752e-05);
    EXPECT_EQ(y[3], 2.0 * 0.0006249999860301614);
    EXPECT_EQ(y[4], 2.0 * 0.0012499999720603228);
    EXPECT_EQ(y[14], 2.0 * 0.007499999832361937);
    EXPECT_EQ(y[17], 2.0 * 0.05000000074505806);
}

} // namespace
} // namespace zarno
