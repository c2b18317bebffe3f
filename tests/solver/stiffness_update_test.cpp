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

// Stations of sections with moment-curvature tables take the secant stiffness M / phi of
// their curvature, M read off the table between the two points around phi (in kip-in, the
// model in lb-in); a station below the first point or at the tip takes the table's first
// stiffness, one beyond the last point that point's moment over phi. Under a thrust between
// two tables the stiffness is interpolated linearly in the thrust. The pile here has runs of
// stations of a table section, an elastic section (kept) and a section of two tables, and the
// curvature grows down the pile through all the cases of the tables.
TEST_F(StationPropertiesTest, TableStationsTakeTheSecantStiffnessOfTheirCurvature) {
    Add_Section({SECTION_STEEL_PIPE, SHAPE_CIRCULAR, 0, 200, 1000, 1000, 30, 30});
    Add_Section({SECTION_ELASTIC, SHAPE_CIRCULAR, 200, 300, 3000, 3000, 30, 30});
    Add_Section({SECTION_USER_EI, SHAPE_CIRCULAR, 300, 600, 1000, 1000, 30, 30});
    Stations(600, 100, 0.0);
    AnalysisModel& a = m();
    const int N = a.i_Num_Nodes;
    const double h = a.Increment_Length;
    a.IUNITS = USCS;
    // Tables (kip-in, 1/in): one for section 1, two (thrusts 0 and 100 kips) for section 3.
    struct Table {
        int s, t;
        std::vector<double> phi, M;
    };
    const std::vector<Table> tables = {{1, 1, {2e-6, 4e-6, 8e-6, 1.6e-5}, {600, 1000, 1400, 1500}},
                                       {3, 1, {3e-6, 6e-6, 1.2e-5}, {800, 1300, 1600}},
                                       {3, 2, {2.5e-6, 5e-6, 1e-5, 2e-5}, {900, 1500, 2000, 2200}}};
    SectionEITable& T = a.EI_Table;
    for (const Table& tb : tables) {
        T.i_Num_Thrusts[tb.s] = tb.t;
        T.n_Points[tb.s][tb.t] = static_cast<int>(tb.phi.size());
        for (std::size_t k = 0; k < tb.phi.size(); ++k) {
            T.Phi[tb.s][tb.t][k + 1] = tb.phi[k];
            T.M[tb.s][tb.t][k + 1] = tb.M[k];
            T.EI[tb.s][tb.t][k + 1] = tb.M[k] / tb.phi[k];
        }
    }
    a.i_Num_Axial_Thrusts = 2;
    a.Axial_Thrust_List[1] = 0.0;
    a.Axial_Thrust_List[2] = 100.0;
    const double Q = 25.0;
    Fill_Result_Inputs(a);
    // y = c i^3: curvature 6 c i / h^2 = 2e-7 i at station i, 0 at the tip.
    const double c = 2e-7 * h * h / 6.0;
    const double EI_before = 1.1e11; // lb-in^2: the moments of the last solution
    for (int i = -1; i <= N + 1; ++i) {
        a.Lateral.Solution.y(i) = c * i * i * i;
    }
    std::vector<double> before(static_cast<std::size_t>(N) + 1);
    for (int i = 1; i <= N; ++i) {
        before[static_cast<std::size_t>(i)] = a.Nodes[i].EI =
            a.Nodes[i].i_Section == 2 ? 7e10 : EI_before;
    }
    // The secant stiffness (lb-in^2) of a table at curvature phi under the moment M (lb-in).
    auto secant = [](const Table& tb, double phi, double M) {
        const std::size_t P = tb.phi.size();
        const double first = tb.M[0] / tb.phi[0] * 1000.0;
        if (M / 1000.0 <= tb.M[0] || phi <= tb.phi[0]) {
            return first;
        }
        if (phi >= tb.phi[P - 1]) {
            return tb.M[P - 1] / phi * 1000.0;
        }
        std::size_t k = 0;
        while (!(tb.phi[k] < phi && phi <= tb.phi[k + 1])) {
            ++k;
        }
        const double Ms =
            tb.M[k] + (tb.M[k + 1] - tb.M[k]) * (phi - tb.phi[k]) / (tb.phi[k + 1] - tb.phi[k]);
        return Ms / phi * 1000.0;
    };
    Update_Nonlinear_EI(a, 1, Q);
    int below_first = 0, between = 0, beyond_last = 0;
    for (int i = 1; i <= N; ++i) {
        const int s = a.Nodes[i].i_Section;
        const double phi = i == N ? 0.0 : 6.0 * c * i / (h * h);
        const double M = (s == 2 ? 7e10 : EI_before) * phi;
        const NodeResults& r = a.Lateral.Results;
        EXPECT_NEAR(r.Curvature[i], phi, 1e-9 * 2e-5) << i;
        EXPECT_NEAR(r.Moment[i], M, 1e-9 * EI_before * 2e-5) << i;
        double expected = before[static_cast<std::size_t>(i)];
        if (s == 1) {
            expected = secant(tables[0], phi, M);
        } else if (s == 3) {
            const double at = secant(tables[1], phi, M);
            const double above = secant(tables[2], phi, M);
            expected = at + (above - at) * (Q - 0.0) / (100.0 - 0.0);
        }
        EXPECT_NEAR(a.Nodes[i].EI, expected, 1e-9 * expected)
            << "station " << i << " section " << s;
        if (s != 2 && i < N) {
            const Table& tb = tables[s == 1 ? 0 : 1];
            below_first += phi <= tb.phi.front() || M / 1000.0 <= tb.M.front();
            between += phi > tb.phi.front() && phi < tb.phi.back() && M / 1000.0 > tb.M.front();
            beyond_last += phi >= tb.phi.back();
        }
    }
    ASSERT_EQ(a.Nodes[1].i_Section, 1);
    ASSERT_EQ(a.Nodes[N].i_Section, 3);
    // The curvatures of the stations of each run reach every case of the tables.
    EXPECT_GT(below_first, 0);
    EXPECT_GT(between, 0);
    EXPECT_GT(beyond_last, 0);
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
