#include "section/section_stiffness.h"

#include "engine/analysis_model.h"
#include "engine/results.h"
#include "input/read_input.h"
#include "section/moment_curvature.h"
#include "section/neutral_axis.h"
#include "section/section_fixtures.h"
#include "section/section_setup.h"
#include "test_support.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno {
namespace {

constexpr double PI = std::numbers::pi;

// US customary model with one section; strengths in psi as the input gives them.
std::unique_ptr<AnalysisModel> Model(int analysis_type, std::initializer_list<double> thrusts) {
    auto m = test::Quiet_Model();
    m->IUNITS = USCS;
    m->i_Analysis_Type = analysis_type;
    m->i_Num_Sections = 1;
    for (const double p : thrusts) {
        m->Axial_Thrust_List[++m->i_Num_Axial_Thrusts] = p;
    }
    return m;
}

void Shaft_36(PileSection& s) {
    s = PileSection{};
    s.i_Section_Type = SECTION_DRILLED_SHAFT;
    s.Length = 480.0;
    s.Diameter = 36.0;
    s.fc = 4000.0;
    s.Max_Aggregate_Size = 0.75;
    s.Rebar_fy = 60000.0;
    s.Rebar_E = 29000000.0;
    s.b_Bars_In_Circle = true;
    s.i_Num_Bar_Positions = 12;
    s.i_Bars_Per_Position = 1;
    s.i_Num_Bars = 12;
    s.Bar_Diameter = 1.128;
    s.Bar_Area = 1.0;
    s.Cover = 3.0;
    for (int k = 1; k <= 12; ++k) {
        s.Bar_Dia[k] = 1.128;
        s.Bar_Area_k[k] = 1.0;
    }
}

TEST(SectionStiffness, EiOnlyRunDropsThrustsOutsideTheAxialCapacities) {
    auto m = Model(ANALYSIS_EI_ONLY, {-800.0, 0.0, 200.0, 5000.0});
    Shaft_36(m->Sections[1]);
    Compute_Section_Stiffness(*m, 1);
    ASSERT_EQ(m->RunStatus, 0);
    const SectionEITable& T = m->EI_Table;
    ASSERT_EQ(T.i_Num_Thrusts[1], 2);
    EXPECT_EQ(T.Thrust[1][1], 0.0);
    EXPECT_EQ(T.Thrust[1][2], 200.0);
    for (int t = 1; t <= 2; ++t) {
        const int n = T.n_Points[1][t];
        ASSERT_GT(n, 40);
        ASSERT_LE(n, MAX_MC_POINTS);
        for (int p = 1; p <= n; ++p) {
            EXPECT_NEAR(T.EI[1][t][p] * T.Phi[1][t][p], T.M[1][t][p], 1e-9 * T.M[1][t][p]);
        }
        // Mn is kept in in-lb; it lies within the stored curve.
        EXPECT_GT(T.Mn[1][t], 1000.0 * T.M[1][t][1]);
        EXPECT_LE(T.Mn[1][t], 1000.0 * T.M[1][t][n]);
    }
    // A compressive thrust raises the capacity of an under-reinforced shaft.
    EXPECT_GT(T.Mn[1][2], T.Mn[1][1]);
}

TEST(SectionStiffness, AxialCapacitiesByHand) {
    auto m = Model(ANALYSIS_EI_ONLY, {0.0});
    Shaft_36(m->Sections[1]);
    auto ws = std::make_unique<SectionWorkspace>();
    Fill_Section_Workspace(*m, 1, *ws);
    Initialize_EI_Vars(*m, *ws);
    Compute_Axial_Capacities(*ws);
    const double Ag = PI * 36.0 * 36.0 / 4.0;
    EXPECT_NEAR(ws->Pn, static_cast<double>(0.85f) * 4.0 * (Ag - 12.0) + 60.0 * 12.0, 1e-6);
    EXPECT_NEAR(ws->Nt, -720.0, 1e-9);
    const double Ec = 57.0 * std::sqrt(4000.0);
    const double fr = -0.0075 * std::sqrt(4000.0);
    const double e0 = 1.7 * 4.0 / Ec;
    const double ecr = -(1.0 - std::sqrt(1.0 + fr / 4.0)) * e0;
    EXPECT_NEAR(ws->Pcr, ecr * (29000.0 * 12.0 + Ec * (Ag - 12.0)), 1e-3);
    // Bars on a ring of radius (36 - 1.128)/2 - 3, the first on +X.
    EXPECT_NEAR(ws->Bar_X0[1], 14.436, 1e-12);
    EXPECT_NEAR(ws->Bar_Y0[4], 14.436, 1e-12);
}

struct LateralCase {
    bool lrfd;
    double thrust;
    int status;
    const char* problem; // the problem line and the two values, as the report shows them
};

// The block the report shows, and the error the results keep: the same lines as the
// report read back up to its premature-end line.
void Expect_Error_Block(const AnalysisModel& m, const std::string& block) {
    EXPECT_NE(m.Report.Text().find(block), std::string::npos) << m.Report.Text();
    const std::vector<std::string> read_back =
        Read_Error_Block_From_Text(m.Report.Text(), m.Messages.Text());
    ASSERT_FALSE(read_back.empty());
    EXPECT_EQ(m.Results.error.text, read_back);
}

TEST(SectionStiffness, LateralRunStopsOnThrustsBeyondTheCapacities) {
    const LateralCase cases[] = {
        {false, 5000.0, 224,
         "The axial thrust load for load case no. 1 exceeds the axial structural capacity in "
         "compression.\n"
         "          Axial thrust load                  =        5000.000 kips\n"
         "          Nominal axial compressive capacity =        4139.979 kips\n"},
        {false, -800.0, 225,
         "The axial thrust load for load case no. 1 exceeds the axial structural capacity in "
         "tension.\n"
         "          Axial thrust load              =        -800.000 kips\n"
         "          Nominal axial tensile capacity =        -720.000 kips\n"},
        {true, 5000.0, 226,
         "The axial thrust load for LRFD load case no. 1 exceeds the axial structural capacity "
         "in compression.\n"
         "          Factored axial thrust load     =        5000.000 kips\n"
         "          Nominal axial compressive capacity =        4139.979 kips\n"},
        {true, -800.0, 227,
         "The axial thrust load for LRFD load case no. 1 exceeds the axial structural capacity "
         "in tension.\n"
         "          Factored axial thrust load     =        -800.000 kips\n"
         "          Nominal axial tensile capacity =        -720.000 kips\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        auto m = Model(ANALYSIS_LATERAL, {c.thrust});
        m->Report.Open_In_Memory();
        m->b_Use_LRFD = c.lrfd;
        Shaft_36(m->Sections[1]);
        Compute_Section_Stiffness(*m, 1);
        EXPECT_EQ(m->RunStatus, c.status);
        Expect_Error_Block(*m, "\n\n\n**** Runtime Error No. " + std::to_string(c.status - 200) +
                                   " ****\n\nPROBLEM:  " + c.problem +
                                   "\nSOLUTION: Change the properties of the section to "
                                   "increase the axial structural capacity.\n\n");
    }
}

TEST(SectionStiffness, MicropileAndUnplaceableBarsAreInputErrors) {
    auto m = Model(ANALYSIS_EI_ONLY, {0.0});
    m->Report.Open_In_Memory();
    m->Sections[1].i_Section_Type = SECTION_MICROPILE;
    Compute_Section_Stiffness(*m, 1);
    EXPECT_EQ(m->RunStatus, 195);
    Expect_Error_Block(*m, "\nINPUT ERROR - Section 1 is a micropile section, for which no "
                           "bending stiffness can be\ncomputed. Describe the micropile by one of "
                           "the other section types.\n");

    const struct {
        double cover;
        int per_position;
    } bad[] = {{20.0, 1}, {3.0, 4}};
    for (const auto& b : bad) {
        auto m2 = Model(ANALYSIS_EI_ONLY, {0.0});
        m2->Report.Open_In_Memory();
        Shaft_36(m2->Sections[1]);
        m2->Sections[1].Cover = b.cover;
        m2->Sections[1].i_Bars_Per_Position = b.per_position;
        Compute_Section_Stiffness(*m2, 1);
        EXPECT_EQ(m2->RunStatus, 195) << b.cover << " " << b.per_position;
        Expect_Error_Block(*m2,
                           "\nINPUT ERROR - The reinforcing bars of section 1 cannot be placed:\n"
                           "the cover, bar size and number of positions leave no room for them, "
                           "or\nmore than three bars are bundled at one position.\n");
    }
}

TEST(SectionStiffness, MomentCurvatureFilesOnePerThrust) {
    test::TempDir dir;
    auto m = Model(ANALYSIS_EI_ONLY, {0.0, 200.0});
    Shaft_36(m->Sections[1]);
    m->MEI_Report_Names = {dir / "s1t1.txt"}; // no name for the second thrust
    Compute_Section_Stiffness(*m, 1);
    ASSERT_EQ(m->RunStatus, 0);
    const std::string text = test::Read_File(dir / "s1t1.txt");
    int lines = 0;
    for (const char c : text) {
        lines += c == '\n';
    }
    EXPECT_EQ(lines, m->EI_Table.n_Points[1][1]);
    // First line: the moment in in-lb and the curvature, E15.8 each.
    const double M1 = std::stod(text.substr(0, 15));
    const double phi1 = std::stod(text.substr(15, 15));
    EXPECT_NEAR(M1, 1000.0 * m->EI_Table.M[1][1][1], 1e-7 * M1);
    EXPECT_NEAR(phi1, m->EI_Table.Phi[1][1][1], 1e-15);
    EXPECT_FALSE(std::filesystem::exists(dir / "s1t2.txt"));
}

// One section of every sliced type under zero thrust and a compressive thrust: the
// curve exists, is in equilibrium and gives a positive capacity.
PileSection Section_Of_Type(AnalysisModel& m, int type) {
    PileSection s;
    s.i_Section_Type = type;
    s.Length = 240.0;
    s.Diameter = 24.0;
    s.fc = 6000.0;
    s.Max_Aggregate_Size = 0.75;
    switch (type) {
    case 0:
        s.Diameter = 24.0;
        s.Section_Width = 18.0;
        s.Rebar_fy = 60000.0;
        s.Rebar_E = 29000000.0;
        s.i_Num_Bars = 6;
        for (int k = 1; k <= 6; ++k) {
            s.Bar_Dia[k] = 1.0;
            s.Bar_Area_k[k] = 0.79;
            s.Bar_X[k] = k <= 3 ? -6.0 + 6.0 * (k - 1) : -6.0 + 6.0 * (k - 4);
            s.Bar_Y[k] = k <= 3 ? 9.0 : -9.0;
        }
        break;
    case 1:
    case 2:
    case 3:
        Shaft_36(s);
        s.i_Section_Type = type;
        s.Casing_Thickness = type >= 2 ? 0.5 : 0.0;
        s.Casing_Fy = 36000.0;
        s.Casing_E = 29000000.0;
        s.Core_Diameter = 12.0;
        s.Core_Thickness = 0.5;
        s.Core_Fy = 36000.0;
        s.Core_E = 29000000.0;
        s.b_Core_Filled = true;
        break;
    case 4:
        s.Casing_Thickness = 0.5;
        s.Casing_Fy = 36000.0;
        s.Casing_E = 29000000.0;
        break;
    default: {
        s.Void_Diameter = 10.0;
        s.Chamfer = type == 7 ? 1.0 : 0.0;
        s.i_Strand_Type = 1;
        s.i_Num_Strands = 12;
        s.i_Num_Bars = 12;
        s.Prestress_Force = 12 * 0.153 * 0.75 * 270000.0; // pounds
        s.Prestress_Loss = 0.2;
        s.Strand_Cover = 3.0;
        s.b_Autoposition_Strands = true;
        s.i_Strand_Arrangement = type == 5 || type == 6 ? 0 : 1;
        break;
    }
    }
    m.Sections[1] = s;
    if (type >= 5) {
        for (int k = 1; k <= 12; ++k) {
            m.Sections[1].i_Strand_Size[k] = 3;
            Set_Strand_Size(m, 1, k, 1, 3);
        }
        m.Sections[1].Strand_Diameter = m.Sections[1].Bar_Dia[1];
        m.Sections[1].Strand_Area = m.Sections[1].Bar_Area_k[1];
    }
    return m.Sections[1];
}

TEST(SectionStiffness, EverySlicedTypeGivesACurveInEquilibrium) {
    for (int type = 0; type <= 10; ++type) {
        auto m = Model(ANALYSIS_EI_ONLY, {0.0, 100.0});
        Section_Of_Type(*m, type);
        Compute_Section_Stiffness(*m, 1);
        ASSERT_EQ(m->RunStatus, 0) << "type " << type;
        const SectionEITable& T = m->EI_Table;
        ASSERT_EQ(T.i_Num_Thrusts[1], 2) << "type " << type;
        for (int t = 1; t <= 2; ++t) {
            EXPECT_GT(T.n_Points[1][t], 5) << "type " << type;
            EXPECT_GT(T.Mn[1][t], 0.0) << "type " << type;
            EXPECT_GT(T.EI[1][t][1], 0.0) << "type " << type;
        }
        // Equilibrium at the stored points, from a fresh workspace of the same section.
        auto ws = std::make_unique<SectionWorkspace>();
        Fill_Section_Workspace(*m, 1, *ws);
        ws->b_Prestress_Reported = true;
        Initialize_EI_Vars(*m, *ws);
        Compute_Axial_Capacities(*ws);
        ws->Thrust[1] = 100.0;
        ws->i_Num_Thrusts = 1;
        if (ws->i_Geometry_Kind != GEOM_PIPE) {
            ws->Curvature_Increment = fn_Initial_Curvature_Increment(USCS, ws->H);
        }
        Compute_Thrust_Curve(*m, *ws, 1);
        ASSERT_EQ(m->RunStatus, 0);
        EXPECT_EQ(ws->n_Points[1], T.n_Points[1][2]) << "type " << type;
        for (int k = 1; k <= ws->n_Points[1]; k += 7) {
            ws->Phi = ws->Curv[1][k];
            Compute_Axial_Thrust_Force(*ws, ws->Yn[1][k]);
            EXPECT_NEAR(ws->N, 100.0, 0.05) << "type " << type << " step " << k;
        }
    }
}

TEST(SectionStiffness, SiRunOfTheSameShaftGivesTheSameCapacity) {
    auto us = Model(ANALYSIS_EI_ONLY, {0.0, 200.0});
    Shaft_36(us->Sections[1]);
    Compute_Section_Stiffness(*us, 1);
    ASSERT_EQ(us->RunStatus, 0);

    const double in = 0.0254;
    const double ksi = 6894.75732421875; // kPa per ksi
    const double kip = 4.4482216152605;  // kN per kip
    auto si = Model(ANALYSIS_EI_ONLY, {0.0, 200.0 * kip});
    si->IUNITS = SI;
    PileSection& s = si->Sections[1];
    Shaft_36(s);
    s.Diameter *= in;
    s.Cover *= in;
    s.Max_Aggregate_Size *= in;
    s.Bar_Diameter *= in;
    s.Bar_Area *= in * in;
    for (int k = 1; k <= 12; ++k) {
        s.Bar_Dia[k] = s.Bar_Diameter;
        s.Bar_Area_k[k] = s.Bar_Area;
    }
    s.fc = 4.0 * ksi;
    s.Rebar_fy = 60.0 * ksi;
    s.Rebar_E = 29000.0 * ksi;
    Compute_Section_Stiffness(*si, 1);
    ASSERT_EQ(si->RunStatus, 0);
    // General units in kN and m give a real curve too, with their own curvature steps.
    auto gen = Model(ANALYSIS_EI_ONLY, {0.0, 200.0 * kip});
    gen->IUNITS = GENERAL;
    gen->Sections[1] = s;
    Compute_Section_Stiffness(*gen, 1);
    ASSERT_EQ(gen->RunStatus, 0);
    for (int t = 1; t <= 2; ++t) {
        EXPECT_GT(gen->EI_Table.n_Points[1][t], 40);
        EXPECT_NEAR(gen->EI_Table.Mn[1][t] / si->EI_Table.Mn[1][t], 1.0, 0.01);
    }
    const double kip_in = kip * in; // kN-m per kip-in
    for (int t = 1; t <= 2; ++t) {
        EXPECT_NEAR(si->EI_Table.Mn[1][t] / (us->EI_Table.Mn[1][t] / 1000.0 * kip_in), 1.0, 1e-4);
        EXPECT_EQ(si->EI_Table.n_Points[1][t], us->EI_Table.n_Points[1][t]);
        EXPECT_NEAR(si->EI_Table.EI[1][t][1] / (us->EI_Table.EI[1][t][1] * kip * in * in), 1.0,
                    1e-4);
    }
}

TEST(SectionStiffness, CurveThatNeverCrushesRunsTo150PointsWithWarning) {
    // Under a large tension the compression zone stays shallow: the top strain never
    // reaches the crushing limit within the curvature schedule.
    auto m = Model(ANALYSIS_EI_ONLY, {-600.0, 0.0});
    Shaft_36(m->Sections[1]);
    Compute_Section_Stiffness(*m, 1);
    ASSERT_EQ(m->RunStatus, 0);
    EXPECT_EQ(m->EI_Table.n_Points[1][1], MAX_MC_POINTS);
    EXPECT_LT(m->EI_Table.n_Points[1][2], MAX_MC_POINTS);
    EXPECT_EQ(m->Warnings.i_Warning_Tally[305], 1);
    // Tension: the capacity below the strain limit is not warned about.
    EXPECT_EQ(m->Warnings.i_Warning_Tally[355], 0);
}

// Two sections analysed one after the other in one run give, bit for bit, the tables each
// gives alone: nothing of the first section's slices, bars or search state reaches the
// second.
TEST(SectionStiffness, EachSectionOfARunGivesTheTablesItGivesAlone) {
    auto smaller = [](PileSection& s) {
        Shaft_36(s);
        s.Diameter = 30.0;
        s.Cover = 2.5;
        s.i_Num_Bar_Positions = 8;
        s.i_Num_Bars = 8;
        s.Bar_Diameter = 1.27;
        s.Bar_Area = 1.27;
        for (int k = 1; k <= 8; ++k) {
            s.Bar_Dia[k] = 1.27;
            s.Bar_Area_k[k] = 1.27;
        }
    };
    const std::initializer_list<double> thrusts = {0.0, 300.0};
    auto both = Model(ANALYSIS_EI_ONLY, thrusts);
    both->i_Num_Sections = 2;
    Shaft_36(both->Sections[1]);
    smaller(both->Sections[2]);
    Compute_Section_Stiffness(*both, 1);
    Compute_Section_Stiffness(*both, 2);
    ASSERT_EQ(both->RunStatus, 0);
    for (int k = 1; k <= 2; ++k) {
        auto alone = Model(ANALYSIS_EI_ONLY, thrusts);
        if (k == 1) {
            Shaft_36(alone->Sections[1]);
        } else {
            smaller(alone->Sections[1]);
        }
        Compute_Section_Stiffness(*alone, 1);
        ASSERT_EQ(alone->RunStatus, 0);
        const SectionEITable& A = alone->EI_Table;
        const SectionEITable& B = both->EI_Table;
        ASSERT_EQ(A.i_Num_Thrusts[1], 2);
        ASSERT_EQ(B.i_Num_Thrusts[k], 2);
        for (int t = 1; t <= 2; ++t) {
            ASSERT_EQ(A.n_Points[1][t], B.n_Points[k][t]) << k << " " << t;
            ASSERT_GT(A.n_Points[1][t], 10);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(A.Mn[1][t]),
                      std::bit_cast<std::uint64_t>(B.Mn[k][t]));
            for (int p = 1; p <= A.n_Points[1][t]; ++p) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>(A.M[1][t][p]),
                          std::bit_cast<std::uint64_t>(B.M[k][t][p]))
                    << k << " " << t << " " << p;
                ASSERT_EQ(std::bit_cast<std::uint64_t>(A.EI[1][t][p]),
                          std::bit_cast<std::uint64_t>(B.EI[k][t][p]));
                ASSERT_EQ(std::bit_cast<std::uint64_t>(A.Phi[1][t][p]),
                          std::bit_cast<std::uint64_t>(B.Phi[k][t][p]));
            }
        }
    }
    // The two sections differ, so the comparison above would see a leak.
    EXPECT_NE(both->EI_Table.Mn[1][1], both->EI_Table.Mn[2][1]);
}

TEST(SectionStiffness, WholeEiOnlyRunWritesCurvesAndSummary) {
    const std::string input =
        test::Read_File(std::string(ZARNO_SOURCE_DIR) + "/examples/ei_only_shaft.inp");
    if (input.empty()) {
        GTEST_SKIP() << "example input not found";
    }
    const test::RunOutput out = test::Run_Text(input);
    EXPECT_LE(out.result, 0);
    EXPECT_NE(out.report.find("Summary of Results for Nominal (Unfactored) Moment Capacity for "
                              "Section 1"),
              std::string::npos);
    EXPECT_NE(out.plot.find("Line 3 : Total number of axial thrusts for EI-only computations"),
              std::string::npos);
    EXPECT_NE(out.plot.find("CurvPnt#=1\n"), std::string::npos);
}

TEST(SectionStiffness, InteractionRunTakesTheThrustsOfTheAxialThrustBlock) {
    std::string input =
        test::Read_File(std::string(ZARNO_SOURCE_DIR) + "/examples/ei_only_shaft.inp");
    if (input.empty()) {
        GTEST_SKIP() << "example input not found";
    }
    const std::string no = "ComputeInteraction NO";
    input.replace(input.find(no), no.size(), "ComputeInteraction YES\nCode ACI318");
    // Out of order on purpose: the list is sorted, in kips.
    const std::string block = "AXIAL THRUST LOADS\n3\n1  0.0\n2  200000.0\n3  500000.0\n";
    input.replace(input.find(block), block.size(),
                  "AXIAL THRUST LOADS\n3\n1  500000.0\n2  0.0\n3  200000.0\n");
    const test::RunOutput out = test::Run_Text(input);
    EXPECT_LE(out.result, 0);
    EXPECT_NE(out.report.find("Axial thrust force values were determined from input values"),
              std::string::npos);
    EXPECT_NE(out.report.find("Number of Axial Thrust Force Values Determined from Input Data = 3"),
              std::string::npos);
    for (const char* row : {"      1                0.000", "      2              200.000",
                            "      3              500.000"}) {
        EXPECT_NE(out.report.find(row), std::string::npos) << row;
    }
    EXPECT_NE(out.plot.find("AxLd#=3, CurvPnt#=1\n"), std::string::npos);
}

} // namespace
} // namespace zarno
