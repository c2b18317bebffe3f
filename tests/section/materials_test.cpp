#include "section/materials.h"

#include "engine/analysis_model.h"
#include "engine/results.h"
#include "section/moment_curvature.h"
#include "section/section_fixtures.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zarno {
namespace {

TEST(ConcreteConstants, FourKsiConcreteWithBars) {
    auto ws = test::Shaft(24.0);
    ws->i_Reinf_Kind = REINF_BARS;
    Set_Concrete_Constants(*ws);
    EXPECT_NEAR(ws->Ec, 3604.997, 5e-4);
    EXPECT_NEAR(ws->ft, -0.47434, 5e-6);
    EXPECT_NEAR(ws->e0, 0.0018863, 5e-8);
    // The mirrored parabola reaches ft exactly at the cracking strain.
    const double x = ws->ecr / ws->e0;
    EXPECT_NEAR(-ws->fc * (2.0 * std::fabs(x) - x * x), ws->ft, 1e-12);
    EXPECT_NEAR(ws->fc_15, 0.6, 1e-7);
}

TEST(ConcreteConstants, PrestressedConcreteHasLowerTensileStrengthAndSiScalesStresses) {
    auto ws = test::Shaft(24.0);
    ws->i_Reinf_Kind = REINF_PCI270;
    Set_Concrete_Constants(*ws);
    EXPECT_NEAR(ws->ft, -0.004 * std::sqrt(4000.0), 1e-6);

    // The same concrete in kPa: moduli and strengths scale, strains do not.
    auto si = test::Shaft(0.6);
    si->IUNITS = SI;
    si->fc = 4.0 * 6894.75732421875;
    Set_Concrete_Constants(*si);
    EXPECT_NEAR(si->Ec, 3604.997 * 6894.75732421875, 5.0);
    EXPECT_NEAR(si->e0, 0.0018863, 5e-8);
    EXPECT_NEAR(si->ft, -0.47434 * 6894.75732421875, 0.05);
}

TEST(ConcreteLaw, ParabolaSofteningAndCrushing) {
    auto ws = test::Shaft(24.0);
    Set_Concrete_Constants(*ws);
    EXPECT_NEAR(fn_Concrete_Compression(*ws, ws->e0), 4.0, 1e-12);
    EXPECT_NEAR(fn_Concrete_Compression(*ws, ws->e0 / 2.0), 4.0 * 0.75, 1e-12);
    EXPECT_NEAR(fn_Concrete_Compression(*ws, 0.0038), 0.85 * 4.0, 1e-6);
    EXPECT_NEAR(fn_Concrete_Compression(*ws, 0.00381), 0.001, 1e-9);
    // Core concrete follows the plain parabola, which is zero at twice the peak strain.
    EXPECT_NEAR(fn_Core_Concrete_Compression(*ws, 2.0 * ws->e0), 0.0, 1e-12);
}

TEST(SteelLaw, BarYieldsAtFyAndRaisesFlag) {
    bool yielded = false;
    EXPECT_DOUBLE_EQ(fn_Elastic_Plastic_Stress(0.001, 29000.0, 60.0, yielded), 29.0);
    EXPECT_FALSE(yielded);
    EXPECT_DOUBLE_EQ(fn_Elastic_Plastic_Stress(2.0 * 60.0 / 29000.0, 29000.0, 60.0, yielded), 60.0);
    EXPECT_TRUE(yielded);
    yielded = false;
    EXPECT_DOUBLE_EQ(fn_Elastic_Plastic_Stress(-0.01, 29000.0, 60.0, yielded), -60.0);
    EXPECT_TRUE(yielded);
}

TEST(SteelLaw, SectionWithoutBarsNeverYields) {
    auto ws = test::Shaft(24.0);
    Set_Concrete_Constants(*ws);
    ws->Strain.fill(0.05);
    Compute_Reinforcement_Stresses(*ws);
    EXPECT_FALSE(ws->b_Eval_Yielded);
}

struct StrandCase {
    int kind;
    double strain;
    double stress;
    double tol;
};

TEST(StrandLaws, TabledPoints) {
    const StrandCase cases[] = {
        {REINF_PCI270, -0.0086, -245.1, 1e-3},
        {REINF_PCI270, -0.02, -(270.0 - 0.04 / 0.013), 1e-3},
        {REINF_PCI270, -0.02, -266.92, 5e-3},
        {REINF_PCI270, 0.5, 270.0 - 0.04 / 0.493, 1e-3},
        {REINF_PCI250, 0.0076, 28500.0 * 0.0076, 1e-3},
        {REINF_PCI250, 0.02, 250.0 - 0.04 / 0.0136, 1e-3},
        {REINF_PCI250, -0.02, -(250.0 - 0.04 / 0.0136), 1e-3},
        {REINF_PCI300, 0.008, 28500.0 * 0.008, 1e-3},
        {REINF_PCI300, -0.03, -(300.0 - 0.0835 / 0.0229), 1e-3},
        {REINF_SMOOTH145, 0.004, 116.0, 1e-9},
        {REINF_SMOOTH145, -0.006, -145.0, 1e-9},
        {REINF_SMOOTH160, 0.0055, 159.5, 1e-9},
        {REINF_SMOOTH160, 0.0056, 160.0, 1e-9},
        {REINF_DEFORMED, 0.01, 157.0, 1e-9},
        {REINF_DEFORMED, -0.001, -29.0, 1e-9},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(fn_Strand_Stress_ksi(c.kind, c.strain, 157.0), c.stress, c.tol)
            << "kind " << c.kind << " strain " << c.strain;
    }
    EXPECT_DOUBLE_EQ(fn_Deformed_Bar_fpu(2), 160.0);
}

std::unique_ptr<SectionWorkspace> Prestressed_Square(double strand_area) {
    auto ws = test::Rectangle(12.0, 12.0);
    ws->i_Section_Type = 7;
    ws->i_Reinf_Kind = REINF_PCI270;
    ws->fc = 6.0;
    ws->Strand_E = 28500.0;
    ws->fpu = 270.0;
    ws->Prestress_Force = 100000.0; // pounds
    ws->Prestress_Loss = 0.2;
    for (const double x : {-4.0, 4.0}) {
        for (const double y : {-4.0, 4.0}) {
            test::Add_Bar(*ws, x, y, 0.5, strand_area);
        }
    }
    return ws;
}

TEST(Prestress, InitialStrainsAndPciCapacitiesByHand) {
    auto m = test::Quiet_Model();
    auto ws = Prestressed_Square(0.153);
    Initialize_EI_Vars(*m, *ws);
    ASSERT_EQ(m->RunStatus, 0);
    const double As = 4 * 0.153;
    const double Ac = 144.0 - As;
    const double Ec = 57.0 * std::sqrt(6000.0);
    const double P = 80.0; // kips after losses
    EXPECT_NEAR(ws->e_ps, -P / (28500.0 * As), 1e-9);
    EXPECT_NEAR(ws->e_pc, P / (Ac * Ec), 1e-10);
    const double fpc = P / Ac;
    EXPECT_NEAR(ws->Prestress_Pn, (0.85 * 6.0 - 0.6 * fpc) * 144.0, 1e-3);
    EXPECT_NEAR(ws->Prestress_Nt, -As * 270.0, 1e-9);
    EXPECT_NEAR(ws->Prestress_Mn, 0.37 * 12.0 * As * 270.0, 1e-9);
}

TEST(Prestress, ZeroStrandAreaStopsWithRuntimeError15) {
    auto m = test::Quiet_Model();
    m->Report.Open_In_Memory();
    auto ws = Prestressed_Square(0.0);
    Initialize_EI_Vars(*m, *ws);
    EXPECT_EQ(m->RunStatus, 215);
    EXPECT_EQ(m->Report.Text(), "**** Runtime Error No. 15 ****\n\n"
                                "An error occurred in prestressing computations\n"
                                "The computed area of steel in the section is less than 0.0 = "
                                "      0.0000000\n\n\nZarno ended prematurely due to runtime "
                                "error number RUN00015\n");
    EXPECT_EQ(m->Results.error.text,
              Read_Error_Block_From_Text(m->Report.Text(), m->Messages.Text()));
}

TEST(Prestress, StrandsOutsideTheOutlineStillCount) {
    auto m = test::Quiet_Model();
    auto ws = Prestressed_Square(0.153);
    ws->Bar_Y0[1] = 20.0; // far above the pile
    Initialize_EI_Vars(*m, *ws);
    ASSERT_EQ(m->RunStatus, 0);
    EXPECT_NEAR(ws->Total_Bar_Area, 4 * 0.153, 1e-12);
}

} // namespace
} // namespace zarno

namespace zarno {
namespace {

TEST(SteelLaw, OnlySlicesHoldingBarsSignalYielding) {
    auto m = test::Quiet_Model();
    auto ws = test::Rectangle(12.0, 24.0);
    test::Add_Bar(*ws, 0.0, 0.12, 0.1, 0.2); // slice 50 only
    Initialize_EI_Vars(*m, *ws);
    ws->Strain.fill(0.0);
    ws->Strain[1] = 0.01; // far beyond yield, but no bar in slice 1
    Compute_Reinforcement_Stresses(*ws);
    EXPECT_FALSE(ws->b_Eval_Yielded);
    ws->Strain[50] = -0.01;
    Compute_Reinforcement_Stresses(*ws);
    EXPECT_TRUE(ws->b_Eval_Yielded);
}

} // namespace
} // namespace zarno
