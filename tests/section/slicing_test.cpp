#include "section/slicing.h"

#include "section/section_fixtures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno {
namespace {

constexpr double PI = std::numbers::pi;

TEST(CircleSegment, EmptyHalfAndFull) {
    EXPECT_NEAR(fn_Circle_Segment_Area(10.0, 0.0), 0.0, 1e-12);
    EXPECT_NEAR(fn_Circle_Segment_Area(10.0, 5.0), PI * 25.0 / 2.0, 1e-12);
    EXPECT_NEAR(fn_Circle_Segment_Area(10.0, 10.0), PI * 25.0, 1e-12);
    // Segment of height 2 in a circle of radius 5: r^2 acos((r-h)/r) - (r-h) sqrt(2rh - h^2)
    EXPECT_NEAR(fn_Circle_Segment_Area(10.0, 2.0), 25.0 * std::acos(0.6) - 3.0 * 4.0, 1e-12);
    EXPECT_NEAR(fn_Circle_Segment_Area(10.0, 12.0), PI * 25.0, 1e-12); // snapped beyond
}

TEST(Slicing, ShaftSlicesSumToCircleAndAreSymmetric) {
    auto m = test::Quiet_Model();
    auto ws = test::Shaft(24.0);
    Slice_Section(*m, *ws);
    double sum = 0.0;
    for (int i = 1; i <= 100; ++i) {
        sum += ws->Area_Concrete[i];
        EXPECT_NEAR(ws->Area_Concrete[i], ws->Area_Concrete[101 - i], 1e-9) << i;
    }
    EXPECT_NEAR(sum, PI * 24.0 * 24.0 / 4.0, 1e-9);
    EXPECT_NEAR(ws->Slice_Depth[1], 0.12, 1e-12);
    EXPECT_NEAR(ws->Slice_Depth[100], 23.88, 1e-9);
    EXPECT_EQ(fn_FindSliceY(*ws, 12.5), 100);
    EXPECT_EQ(fn_FindSliceY(*ws, -12.5), 100);
    EXPECT_EQ(fn_FindSliceY(*ws, 11.9), 1);
}

TEST(Slicing, RectangleSlicesAreEqual) {
    auto m = test::Quiet_Model();
    auto ws = test::Rectangle(12.0, 24.0);
    Slice_Section(*m, *ws);
    for (int i = 1; i <= 100; ++i) {
        EXPECT_NEAR(ws->Area_Concrete[i], 2.88, 1e-12);
    }
    EXPECT_NEAR(ws->H, 24.0, 1e-12);
}

TEST(Slicing, BarInsideOneSliceMovesItsAreaFromConcreteToSteel) {
    auto m = test::Quiet_Model();
    auto ws = test::Rectangle(12.0, 24.0);
    // Slice 50 spans Y from 0.24 down to 0; a 0.2 in bar centred at 0.12 lies inside it.
    const double A = std::numbers::pi * 0.2 * 0.2 / 4.0;
    test::Add_Bar(*ws, 0.0, 0.12, 0.2, A);
    Slice_Section(*m, *ws);
    EXPECT_NEAR(ws->Area_Bars[50], A, 1e-12);
    EXPECT_NEAR(ws->Area_Concrete[50], 2.88 - A, 1e-12);
    EXPECT_NEAR(ws->Area_Concrete[49], 2.88, 1e-12);
    EXPECT_NEAR(ws->Total_Bar_Area, A, 1e-12);
}

TEST(Slicing, LargeBarSpreadsOverSlicesKeepingItsAreaAndCentroid) {
    auto m = test::Quiet_Model();
    auto ws = test::Rectangle(12.0, 24.0);
    test::Add_Bar(*ws, 3.0, -9.5, 1.128, 1.0);
    Slice_Section(*m, *ws);
    double area = 0.0;
    double moment = 0.0;
    for (int i = 1; i <= 100; ++i) {
        area += ws->Area_Bars[i];
        moment += ws->Area_Bars[i] * (ws->Y_Top - ws->Slice_Depth[i]);
    }
    EXPECT_NEAR(area, 1.0, 1e-12);
    EXPECT_NEAR(moment / area, -9.5, 0.01);
    EXPECT_NEAR(ws->Total_Concrete_Area, 288.0 - 1.0, 1e-9);
}

TEST(Slicing, ChamferedSquareAndOctagonAreasByHand) {
    auto m = test::Quiet_Model();
    auto sq = test::Rectangle(14.0, 14.0);
    sq->i_Geometry_Kind = GEOM_POLYGON;
    sq->i_Section_Type = 7;
    sq->Chamfer = 1.0;
    Slice_Section(*m, *sq);
    EXPECT_NEAR(sq->Total_Concrete_Area, 14.0 * 14.0 - 2.0 * 1.0, 1e-9);
    // The top slice of a chamfered square is narrower than the middle one.
    EXPECT_LT(sq->Area_Concrete[1], sq->Area_Concrete[50]);
    EXPECT_NEAR(sq->Area_Concrete[50], 14.0 * 0.14, 1e-9);

    auto oct = test::Rectangle(24.0, 24.0);
    oct->i_Geometry_Kind = GEOM_POLYGON_VOID;
    oct->i_Section_Type = 10;
    oct->Core_Diameter = 12.0;
    Slice_Section(*m, *oct);
    const double a = static_cast<double>(0.2071f) * 24.0;
    const double leg = 12.0 - a;
    EXPECT_NEAR(oct->Total_Concrete_Area, 24.0 * 24.0 - 2.0 * leg * leg - PI * 36.0, 1e-9);
    for (int i = 1; i <= 100; ++i) {
        EXPECT_EQ(oct->Area_Core_Concrete[i], 0.0);
        EXPECT_NEAR(oct->Area_Core_Tube[i], 0.0, 1e-12);
    }
}

TEST(Slicing, CasingRingAndCore) {
    auto m = test::Quiet_Model();
    auto ws = test::Shaft(36.0);
    ws->i_Geometry_Kind = GEOM_CASED_CORE;
    ws->Casing_Diameter = 36.0;
    ws->Casing_Wall = 0.5;
    ws->Core_Diameter = 12.0;
    ws->Core_Wall = 0.5;
    ws->b_Core_Filled = true;
    Slice_Section(*m, *ws);
    double casing = 0.0, tube = 0.0, core = 0.0;
    for (int i = 1; i <= 100; ++i) {
        casing += ws->Area_Casing[i];
        tube += ws->Area_Core_Tube[i];
        core += ws->Area_Core_Concrete[i];
    }
    EXPECT_NEAR(casing, PI * (36.0 * 36.0 - 35.0 * 35.0) / 4.0, 1e-9);
    EXPECT_NEAR(tube, PI * (144.0 - 121.0) / 4.0, 1e-9);
    EXPECT_NEAR(core, PI * 121.0 / 4.0, 1e-9);
    EXPECT_NEAR(ws->Total_Concrete_Area, PI * (35.0 * 35.0 - 144.0) / 4.0, 1e-9);
    EXPECT_EQ(ws->i_Core_First_Slice, 34);
    EXPECT_EQ(ws->i_Core_Last_Slice, 67);

    // A void core leaves no concrete inside it; a casing of zero wall removes nothing.
    auto v = test::Shaft(36.0);
    v->i_Geometry_Kind = GEOM_CASED_CORE;
    v->Casing_Diameter = 36.0;
    v->Casing_Wall = 0.0;
    v->Core_Diameter = 12.0;
    v->Core_Wall = 0.5;
    v->b_Core_Filled = false;
    Slice_Section(*m, *v);
    for (int i = 1; i <= 100; ++i) {
        EXPECT_EQ(v->Area_Core_Concrete[i], 0.0);
        EXPECT_NEAR(v->Area_Casing[i], 0.0, 1e-9);
    }
    EXPECT_NEAR(v->Total_Concrete_Area, PI * (36.0 * 36.0 - 144.0) / 4.0, 1e-9);
}

TEST(Slicing, PipeHasOnlyWallArea) {
    auto m = test::Quiet_Model();
    auto ws = test::Pipe(24.0, 0.5, 36.0, 29000.0);
    Slice_Section(*m, *ws);
    double wall = 0.0;
    for (int i = 1; i <= 100; ++i) {
        wall += ws->Area_Casing[i];
        EXPECT_EQ(ws->Area_Concrete[i], 0.0);
        EXPECT_NEAR(ws->Area_Casing[i], ws->Area_Casing[101 - i], 1e-9);
    }
    EXPECT_NEAR(wall, PI * (576.0 - 23.0 * 23.0) / 4.0, 1e-9);
}

} // namespace
} // namespace zarno
