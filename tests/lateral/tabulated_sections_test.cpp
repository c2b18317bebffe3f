// Curves of the sections that need no slicing, and a whole run in which an elastic-plastic
// pile reaches its plastic moment.
#include "engine/analysis_model.h"
#include "lateral_input.h"
#include "section/elastic_sections.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace zarno::test {
namespace {

struct SectionModel {
    TempDir dir;
    std::unique_ptr<AnalysisModel> m = std::make_unique<AnalysisModel>();
    SectionModel() {
        Reset_Model_State(*m);
        m->Report.Open(dir / "report.txt");
        m->Plot.Open(dir / "plot.txt");
        m->i_Num_Sections = 1;
        m->i_Num_Axial_Thrusts = 2;
        m->Axial_Thrust_List[1] = 0.0;
        m->Axial_Thrust_List[2] = 50.0;
    }
    std::string plot() {
        m->Plot.Close();
        return Read_File(dir.path() / "plot.txt");
    }
};

TEST(TabulatedSections, ElasticPlasticCurveYieldsAtPointHundredAndEndsAtElevenTimesYield) {
    SectionModel sm;
    AnalysisModel& m = *sm.m;
    PileSection& s = m.Sections[1];
    s.i_Section_Type = SECTION_ELASTIC_PLASTIC;
    // Mp = 1000 kip-in and EI = 1e6 kip-in^2, entered in lb-in and lb-in^2.
    s.E_Top = 1.0e9 / 100.0;
    s.I_Top = 100.0;
    s.Mp_Top = 1.0e6;
    s.Mp_Bottom = 2.0e6;
    s.XTop = 0.0;
    s.XBottom = 100.0;
    s.Length = 100.0;
    m.i_Num_Nodes = 3;
    m.Nodes[1].X = 0.0;
    m.Nodes[2].X = 50.0;
    m.Nodes[3].X = 100.0;
    Compute_Elastic_Plastic_Section_EI(m, 1);
    const SectionEITable& T = m.EI_Table;
    ASSERT_EQ(T.i_Num_Thrusts[1], 2);
    for (int t = 1; t <= 2; ++t) {
        ASSERT_EQ(T.n_Points[1][t], 150);
        EXPECT_NEAR(T.Phi[1][t][1], 1.0e-5, 1e-18);
        EXPECT_NEAR(T.M[1][t][100], 1000.0, 1e-9);
        EXPECT_NEAR(T.Phi[1][t][100], 0.001, 1e-15);
        EXPECT_NEAR(T.M[1][t][150], 1000.0, 1e-9);
        EXPECT_NEAR(T.Phi[1][t][150], 0.011, 1e-15);
        EXPECT_NEAR(T.EI[1][t][150], 1000.0 / 0.011, 1e-6);
        EXPECT_NEAR(T.Mn[1][t], 1.0e6, 1e-6) << "capacity kept in in-lb";
    }
    EXPECT_DOUBLE_EQ(m.Lateral.Node_Mp[1], 1.0e6);
    EXPECT_DOUBLE_EQ(m.Lateral.Node_Mp[2], 1.5e6) << "linear between top and bottom";
    EXPECT_DOUBLE_EQ(m.Lateral.Node_Mp[3], 2.0e6);
    const std::string plot = sm.plot();
    EXPECT_NE(plot.find("    2" + std::string(75, ' ') +
                        "Line 3 : Total number of axial thrusts for elastic-plastic section\n"),
              std::string::npos);
    EXPECT_NE(plot.find("Line 5 : Elas-Plas Moment (in-lb), EI (lb-in^2), Curvature (rad/in) for "
                        "Sect#=1, AxLd#=2, CurvPnt#=150\n"),
              std::string::npos);
}

TEST(TabulatedSections, UserCurvesAreRefinedToFillTheTable) {
    struct Case {
        int points;
        double first_moment;
        int expected;
    };
    // 10 points from zero: q = 140 div 9 = 15 -> 136; from a non-zero moment a zero point
    // is added: q = 140 div 10 = 14 -> 141; 100 points: q = 0, kept as they are.
    for (const Case c : {Case{10, 0.0, 136}, Case{10, 500.0, 141}, Case{100, 0.0, 100}}) {
        SectionModel sm;
        AnalysisModel& m = *sm.m;
        m.IUNITS = SI;
        PileSection& s = m.Sections[1];
        s.i_Section_Type = SECTION_USER_EI;
        s.b_Moment_vs_EI = true;
        s.i_Num_User_Thrusts = 1;
        UserEIThrust& u = s.User_EI[1];
        u.i_Num_Points = c.points;
        for (int k = 1; k <= c.points; ++k) {
            u.Moment[k] = c.first_moment + 100.0 * (k - 1);
            u.EI_or_Curvature[k] = 1.0e5 - 10.0 * k;
        }
        Build_User_EI_Tables(m, 1);
        const SectionEITable& T = m.EI_Table;
        EXPECT_EQ(T.n_Points[1][1], c.expected);
        const int n = T.n_Points[1][1];
        EXPECT_DOUBLE_EQ(T.M[1][1][n], u.Moment[c.points]);
        EXPECT_DOUBLE_EQ(T.Mn[1][1], u.Moment[c.points]);
        for (int p = 1; p <= n; ++p) {
            EXPECT_DOUBLE_EQ(T.Phi[1][1][p], T.M[1][1][p] / T.EI[1][1][p]);
        }
    }
}

TEST(TabulatedSections, ElasticSectionCapacityIsTheLastTabulatedMoment) {
    SectionModel sm;
    AnalysisModel& m = *sm.m;
    m.IUNITS = SI;
    PileSection& s = m.Sections[1];
    s.i_Section_Type = SECTION_ELASTIC;
    s.E_Top = 2.0e8;
    s.I_Top = 0.001;
    Compute_Elastic_Section_EI(m, 1);
    EXPECT_DOUBLE_EQ(m.EI_Table.Mn[1][1], 1500.0 * 2.0e5);
    EXPECT_DOUBLE_EQ(m.EI_Table.Mn[1][2], 1500.0 * 2.0e5);
    // The line M = EI phi of every thrust is plotted and recorded; the tables keep no points,
    // since the stiffness of an elastic section never leaves its EI.
    ASSERT_EQ(m.Results.section_curves.size(), 2U);
    for (int t = 1; t <= 2; ++t) {
        EXPECT_EQ(m.EI_Table.n_Points[1][t], 0);
        const SectionCurveResult& c = m.Results.section_curves[static_cast<size_t>(t - 1)];
        ASSERT_EQ(c.points.size(), 150U);
        EXPECT_DOUBLE_EQ(c.points[76].bending_stiffness, 2.0e5);
        EXPECT_DOUBLE_EQ(c.points[76].moment, 2.0e5 * c.points[76].curvature);
    }
}

// The moment of an elastic-plastic pile cannot rise far above its plastic moment: the
// stiffness update makes the yielded nodes softer until the moment settles near Mp.
TEST(TabulatedSections, ElasticPlasticPileMomentSettlesAtThePlasticMoment) {
    LateralCase c;
    const double Mp = 4.0e5; // in-lb, below the elastic maximum of about 5.3e5
    c.section_lines = "12\n150.0\n2\n29e6\n" + std::to_string(Mp) + "\n" + std::to_string(Mp) +
                      "\n24\n24\n452.4\n452.4\n16000\n16000\n";
    c.loads = {"1 10000.0 0.0 0.0 1"};
    const RunOutput out = Run_Text(Lateral_Input(c));
    // The pile stands with a hinge at Mp: a result, with the plastic-hinge warning.
    ASSERT_EQ(out.result, -356) << out.report;
    EXPECT_NE(out.report.find("a plastic hinge formed in section 1"), std::string::npos);
    const auto cases = Read_Stations(out.plot);
    ASSERT_EQ(cases.size(), 1u);
    double Mmax = 0.0;
    double EImin = 1e300;
    for (const Station& s : cases[0]) {
        Mmax = std::max(Mmax, std::abs(s.M));
        EImin = std::min(EImin, s.EI);
    }
    EXPECT_LT(Mmax, 1.02 * Mp);
    EXPECT_GT(Mmax, 0.95 * Mp);
    EXPECT_LT(EImin, 29.0e6 * 16000.0) << "yielded nodes are softer than the elastic pile";
    EXPECT_NE(out.report.find("* This analysis makes computations of pile response using "
                              "nonlinear moment-curvature relationships. "),
              std::string::npos);
}

} // namespace
} // namespace zarno::test
