// The per-case station properties and the stiffness update of elastic-plastic sections.
#include "solver/load_cases.h"

#include "../profile/profile_fixture.h"
#include "engine/pile_section.h"
#include "profile/pile_grid.h"
#include "profile/soil_profile.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace zarno::test {
namespace {

struct SectionSpan {
    int type; // SECTION_ELASTIC or SECTION_ELASTIC_PLASTIC
    int shape;
    double top, bottom;
    double I_top, I_bottom;
    double width_top, width_bottom;
};

class StationPropertiesTest : public ProfileTest {
  protected:
    void Add_Section(const SectionSpan& d) {
        const int k = ++m().i_Num_Sections;
        PileSection& s = m().Sections[k];
        s.i_Section_Type = d.type;
        s.i_Shape_Type = d.shape;
        s.XTop = d.top;
        s.XBottom = d.bottom;
        s.Length = d.bottom - d.top;
        s.Width_Top = d.width_top;
        s.Width_Bottom = d.width_bottom;
        s.Elastic_Width_Top = 0.5 * d.width_top; // an embedded pole's own width
        s.Elastic_Width_Bottom = 0.5 * d.width_bottom;
        s.E_Top = 29e6;
        s.E_Bottom = 28e6;
        s.I_Top = d.I_top;
        s.I_Bottom = d.I_bottom;
        s.Area_Top = 100.0;
        s.Area_Bottom = 80.0;
    }
    // Stations and their sections for a pile of length L, as a load case builds them.
    void Stations(double L, int increments, double batter) {
        m().Pile_Batter = batter;
        m().Pile_Length = L;
        m().i_Pile_Increments = increments;
        Build_Node_Grid(m(), L);
        ASSERT_EQ(m().RunStatus, 0);
        Assign_Sections_To_Nodes(m().Run_Input(), m().Sections, m().Grid(), m().i_Num_Nodes);
    }
};

// The properties taken once per case must be those the look-up gives at every station's
// depth along the pile (not its vertical depth), whatever the sections and the batter.
TEST_F(StationPropertiesTest, TakenOncePerCaseEqualTheLookUpAtEveryStation) {
    constexpr double deg = std::numbers::pi / 180.0;
    struct Geometry {
        const char* name;
        std::vector<SectionSpan> sections;
        double L;
        int increments;
        double batter;
    };
    const std::vector<Geometry> geometries = {
        {"one tapered elastic-plastic section, battered",
         {{SECTION_ELASTIC_PLASTIC, SHAPE_CIRCULAR, 0, 600, 3000, 1000, 30, 20}},
         600,
         100,
         15 * deg},
        {"three sections, boundaries between stations and on one, a pole",
         {{SECTION_ELASTIC, SHAPE_CIRCULAR_PIPE, 0, 120, 2000, 2000, 36, 36},
          {SECTION_ELASTIC_PLASTIC, SHAPE_EMBEDDED_POLE, 120, 333.3, 1500, 900, 30, 24},
          {SECTION_ELASTIC_PLASTIC, SHAPE_RECTANGULAR, 333.3, 480, 800, 800, 24, 24}},
         480,
         97,
         -20 * deg},
        {"a gap between sections and a pile longer than them",
         {{SECTION_ELASTIC_PLASTIC, SHAPE_CIRCULAR, 0, 100, 2500, 2500, 36, 36},
          {SECTION_ELASTIC, SHAPE_CIRCULAR, 200, 400, 1000, 500, 24, 18}},
         500,
         40,
         5 * deg},
    };
    for (const Geometry& g : geometries) {
        SCOPED_TRACE(g.name);
        SetUp();
        for (const SectionSpan& s : g.sections) {
            Add_Section(s);
        }
        Stations(g.L, g.increments, g.batter);
        Fill_Result_Inputs(m());
        const NodeResultInputs& in = m().Lateral.Inputs;
        for (int i = 1; i <= m().i_Num_Nodes; ++i) {
            const double X = m().Nodes[i].X;
            const PileProps p = Pile_Props_at_DepthX(m(), X);
            ASSERT_EQ(in.Depth[i], X) << i;
            // Bit for bit: the update uses the kept value where it used the look-up.
            ASSERT_EQ(in.Elastic_EI[i], p.EI) << i;
            ASSERT_EQ(in.Inertia[i], p.I) << i;
            ASSERT_EQ(in.Area[i], p.A) << i;
            ASSERT_EQ(in.i_Section[i], m().Nodes[i].i_Section) << i;
        }
    }
}

// An elastic-plastic station keeps the elastic stiffness of its depth while its moment is
// below the plastic moment and carries Mp / phi beyond it; the tip has no curvature and
// stays elastic. The stiffness the stations held before (here a stale 1e9) plays no part
// except through the moment of the last solution.
TEST_F(StationPropertiesTest,
       ElasticPlasticStationsTakeElasticStiffnessOrPlasticMomentOverCurvature) {
    Add_Section({SECTION_ELASTIC_PLASTIC, SHAPE_CIRCULAR, 0, 600, 3000, 1000, 30, 20});
    Stations(600, 100, 10 * std::numbers::pi / 180.0);
    AnalysisModel& a = m();
    const int N = a.i_Num_Nodes;
    const double h = a.Increment_Length;
    a.IUNITS = USCS;
    a.EI_Table.i_Num_Thrusts[1] = 1; // one table; its first moment (0 kip-in) plays no part
    a.i_Num_Axial_Thrusts = 1;
    Fill_Result_Inputs(a);
    // y = c i^3 has the second difference 6 c i: the curvature grows down the pile, and so
    // does the moment with the stiffness of the last solution.
    const double c = 1e-6;
    const double EI_before = 1e9;
    for (int i = -1; i <= N + 1; ++i) {
        a.Lateral.Solution.y(i) = c * i * i * i;
    }
    const double Mp = 6.0 * c * 50.5 / (h * h) * EI_before; // between stations 50 and 51
    for (int i = 1; i <= N; ++i) {
        a.Nodes[i].EI = EI_before;
        a.Lateral.Node_Mp[i] = Mp;
    }
    Update_Nonlinear_EI(a, 1, 0.0);
    for (int i = 1; i <= N; ++i) {
        const double phi = 6.0 * c * i / (h * h);
        if (i <= 50 || i == N) {
            EXPECT_EQ(a.Nodes[i].EI, Pile_Props_at_DepthX(a, a.Nodes[i].X).EI) << i;
        } else {
            EXPECT_NEAR(a.Nodes[i].EI, Mp / phi, 1e-9 * Mp / phi) << i;
        }
    }
    // The elastic stiffness tapers from E I at the top to that at the bottom.
    EXPECT_DOUBLE_EQ(a.Nodes[1].EI, 29e6 * 3000);
    EXPECT_DOUBLE_EQ(a.Nodes[N].EI, 28e6 * 1000);
}

// Elastic sections keep their stiffness, but the head station's stiffness still reaches
// station 2, where the head differences reach, as in every update.
TEST_F(StationPropertiesTest, ElasticSectionsKeepTheirStiffnessButShareTheHeadStiffness) {
    Add_Section({SECTION_ELASTIC, SHAPE_CIRCULAR, 0, 600, 3000, 1000, 30, 20});
    Stations(600, 100, 0.0);
    AnalysisModel& a = m();
    Fill_Result_Inputs(a);
    std::vector<double> before;
    for (int i = 0; i <= a.i_Num_Nodes; ++i) {
        before.push_back(a.Nodes[i].EI);
        a.Lateral.Solution.y(i) = 1e-3 * i * i;
    }
    ASSERT_NE(before[2], before[1]); // tapered
    Update_Nonlinear_EI(a, 1, 0.0);
    EXPECT_EQ(a.Nodes[1].EI, before[1]);
    EXPECT_EQ(a.Nodes[2].EI, before[1]);
    for (int i = 3; i <= a.i_Num_Nodes; ++i) {
        ASSERT_EQ(a.Nodes[i].EI, before[static_cast<size_t>(i)]) << i;
    }
}

} // namespace
} // namespace zarno::test
