// Rectangle around a central steel core tube (geometry kind 2): slice areas of the
// three components, and the uncracked stiffness of the composite section by hand.
#include "section/moment_curvature.h"

#include "section/neutral_axis.h"
#include "section/section_fixtures.h"
#include "section/section_setup.h"
#include "section/slicing.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno {
namespace {

constexpr double PI = std::numbers::pi;

std::unique_ptr<SectionWorkspace> Rectangle_With_Core(bool filled) {
    auto ws = test::Rectangle(12.0, 24.0);
    ws->i_Geometry_Kind = GEOM_RECTANGLE_CORE;
    ws->b_Core_Present = true;
    ws->b_Core_Filled = filled;
    ws->Core_Diameter = 6.0;
    ws->Core_Wall = 0.5;
    ws->Core_E = 29000.0;
    ws->Core_Fy = 36.0;
    ws->i_Core_Concrete_Model = 2;
    return ws;
}

TEST(RectangleWithCore, SliceAreasOfConcreteTubeAndFill) {
    SliceArray concrete_filled{};
    for (const bool filled : {true, false}) {
        auto m = test::Quiet_Model();
        auto ws = Rectangle_With_Core(filled);
        Slice_Section(*m, *ws);
        double concrete = 0.0, tube = 0.0, fill = 0.0;
        for (int i = 1; i <= 100; ++i) {
            concrete += ws->Area_Concrete[i];
            tube += ws->Area_Core_Tube[i];
            fill += ws->Area_Core_Concrete[i];
            // Symmetric about mid-depth.
            EXPECT_NEAR(ws->Area_Concrete[i], ws->Area_Concrete[101 - i], 1e-9) << i;
            EXPECT_NEAR(ws->Area_Core_Tube[i], ws->Area_Core_Tube[101 - i], 1e-9) << i;
            if (filled) {
                // Every slice of 12 x 0.24 is shared by the three components.
                EXPECT_NEAR(ws->Area_Concrete[i] + ws->Area_Core_Tube[i] +
                                ws->Area_Core_Concrete[i],
                            12.0 * 0.24, 1e-9)
                    << i;
                concrete_filled[i] = ws->Area_Concrete[i];
            } else {
                // The core outline displaces the outer concrete whether or not it is filled.
                EXPECT_NEAR(ws->Area_Concrete[i], concrete_filled[i], 1e-12) << i;
            }
        }
        EXPECT_NEAR(concrete, 288.0 - PI * 36.0 / 4.0, 1e-9);
        EXPECT_NEAR(tube, PI * (36.0 - 25.0) / 4.0, 1e-9);
        EXPECT_NEAR(fill, filled ? PI * 25.0 / 4.0 : 0.0, 1e-9);
        EXPECT_NEAR(ws->Area_Concrete[1], 12.0 * 0.24, 1e-12);
        const SectionAreas a = fn_Section_Areas(*ws);
        EXPECT_DOUBLE_EQ(a.gross, 288.0);
        EXPECT_NEAR(a.core, tube, 1e-9);
        // The core spans depths 9 to 15 in below the top: slices 38 to 63.
        EXPECT_EQ(ws->i_Core_First_Slice, 38);
        EXPECT_EQ(ws->i_Core_Last_Slice, 63);
        EXPECT_EQ(ws->Area_Core_Tube[37], 0.0);
        EXPECT_GT(ws->Area_Core_Tube[38], 0.0);
    }
}

TEST(RectangleWithCore, UncrackedStiffnessOfTheCompositeSection) {
    auto m = test::Quiet_Model();
    auto ws = Rectangle_With_Core(true);
    ws->i_Num_Thrusts = 2;
    ws->Thrust[1] = 0.0;
    ws->Thrust[2] = 150.0;
    Initialize_EI_Vars(*m, *ws);
    ws->Curvature_Increment = fn_Initial_Curvature_Increment(USCS, ws->H);
    for (int t = 1; t <= 2; ++t) {
        Compute_Thrust_Curve(*m, *ws, t);
        ASSERT_EQ(m->RunStatus, 0);
        for (int k = 1; k <= ws->n_Points[t]; k += 5) {
            ws->Phi = ws->Curv[t][k];
            Compute_Axial_Thrust_Force(*ws, ws->Yn[t][k]);
            EXPECT_NEAR(ws->N, ws->Thrust[t], 1e-3) << t << " " << k;
        }
    }
    // Initial tangent of the concrete parabola, 2 f'c / e0, for the outer concrete and the
    // fill; the tube elastic.
    const double Ecc = 2.0 * 4.0 / (1.7 * 4.0 / (57.0 * std::sqrt(4000.0)));
    const double I_outer = PI * std::pow(6.0, 4) / 64.0;
    const double I_inner = PI * std::pow(5.0, 4) / 64.0;
    const double EI = Ecc * (12.0 * std::pow(24.0, 3) / 12.0 - I_outer) +
                      29000.0 * (I_outer - I_inner) + Ecc * I_inner;
    EXPECT_NEAR(ws->EI[1][1] / EI, 1.0, 0.01);
    // The tube and the fill carry moment: a void core gives less.
    auto ws_void = Rectangle_With_Core(false);
    ws_void->i_Num_Thrusts = 1;
    ws_void->Thrust[1] = 0.0;
    Initialize_EI_Vars(*m, *ws_void);
    ws_void->Curvature_Increment = ws->Curvature_Increment;
    Compute_Thrust_Curve(*m, *ws_void, 1);
    EXPECT_NEAR(ws_void->EI[1][1] / (EI - Ecc * I_inner), 1.0, 0.01);
}

} // namespace
} // namespace zarno
