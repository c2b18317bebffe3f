#include "report/text_file.h"
#include "solver/elastic_pile.h"
#include "solver/load_case_results.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace zarno::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        out.push_back(line);
    }
    return out;
}

TEST(ResultsBlock, HeadingWithAndWithoutLrfd) {
    const std::string rule(80, '-');
    {
        ReportAndMessages f;
        Write_Results_Heading(f.report, 12, false, "");
        EXPECT_EQ(f.Report(), "\n\n" + rule + "\n" + std::string(17, ' ') +
                                  "Computed Values of Pile Loading and Deflection\n" +
                                  std::string(19, ' ') +
                                  "for Lateral Loading for Load Case Number 12\n" + rule + "\n\n");
    }
    {
        ReportAndMessages f;
        Write_Results_Heading(f.report, 3, true, "Strength I");
        const auto lines = Lines(f.Report());
        ASSERT_EQ(lines.size(), 10u);
        EXPECT_EQ(lines[4],
                  std::string(17, ' ') + "for Lateral Loading for LRFD Load Case Number 3");
        EXPECT_EQ(lines[8], "Load Case No. 3:  Strength I" + std::string(246, ' '));
    }
}

TEST(ResultsBlock, HeadConditionsByLoadingTypeAndUnits) {
    {
        ReportAndMessages f;
        Write_Head_Conditions(f.report, 1, 1, 10000.0, -2.5e5, 1.0e5);
        EXPECT_EQ(
            f.Report(),
            "Pile-head conditions are Shear and Moment (Loading Type 1)\n"
            "\n"
            "Shear force at pile head                               =       10000.000 lbs\n"
            "Applied moment at pile head                            =     -250000.000 in-lbs\n"
            "Axial thrust load on pile head                         =      100000.000 lbs\n"
            "\n");
    }
    {
        ReportAndMessages f;
        Write_Head_Conditions(f.report, 2, 2, 50.0, 0.0, 300.0);
        const auto lines = Lines(f.Report());
        ASSERT_EQ(lines.size(), 8u);
        EXPECT_EQ(lines[3],
                  "Rotation of pile head                                  =       0.000E+00 "
                  "radians");
        EXPECT_EQ(lines[4], "Axial load at pile head                                =         "
                            "300.000 kN");
        EXPECT_EQ(lines[6], "(Zero slope for this load indicates fixed-head conditions)");
    }
    {
        // General units: only the note of loading type 2.
        ReportAndMessages f;
        Write_Head_Conditions(f.report, 3, 2, 50.0, 0.001, 300.0);
        EXPECT_EQ(f.Report(),
                  "(Non-zero slope for this load does indicates rotated pile-head condition)\n\n");
    }
    {
        ReportAndMessages f;
        Write_Head_Conditions(f.report, 1, 5, 0.25, -0.001, 0.0);
        const auto lines = Lines(f.Report());
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0], "Pile-head conditions are Displacement and Pile-head Rotation (Loading "
                            "Type 5)");
        EXPECT_EQ(lines[1], "Displacement of pile head                              =        "
                            "0.250000 inches");
        EXPECT_EQ(lines[2], "Rotation of pile head                                  =      "
                            "-1.000E-03 radians");
    }
    {
        ReportAndMessages f;
        Write_Head_Conditions(f.report, 1, 6, 1.0, 1.0, 1.0);
        EXPECT_EQ(f.Report(), "");
    }
}

TEST(ResultsBlock, ZeroDeflectionPointsCountSignChanges) {
    auto s = std::make_unique<FdSolution>();
    const double y[] = {1.0, 0.5, -0.2, -0.1, 0.0, 0.3, 0.1, -0.05};
    for (int m = 1; m <= 8; ++m) {
        s->y(m) = y[m - 1];
    }
    // +/- between 2 and 3; -,0,+ across station 5 counts nothing; +/- between 7 and 8
    // (the pair N, N + 1 with N = 7).
    EXPECT_EQ(Count_Zero_Deflection_Points(*s, 7), 2);
    EXPECT_EQ(Count_Zero_Deflection_Points(*s, 6), 1);
}

struct TableRun {
    std::string report;
    LoadCaseSummary sum;
};

TableRun Run_Table(int increments, int print_increment, int units, bool summary_only,
                   int type = LOADING_SHEAR_MOMENT, double c1 = 10000.0) {
    auto p = Make_Elastic_Pile(1200.0, increments, 4.0e10, 1000.0, 0.0, type, c1, 0.0);
    auto s = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    EXPECT_EQ(Solve_Pile_Deflection(*p, 1, *s, sink, sink), Solve_Result::Solved);
    auto in = std::make_unique<NodeResultInputs>();
    for (int m = 1; m <= p->i_Num_Nodes; ++m) {
        in->Depth[static_cast<size_t>(m)] = (m - 1) * p->Increment;
        in->i_Section[static_cast<size_t>(m)] = 1;
    }
    auto r = std::make_unique<NodeResults>();
    ResultMaxima mx;
    EquilibriumCheck eq;
    LoadCaseOutput out;
    out.IUNITS = units;
    out.i_Print_Increment = print_increment;
    out.b_Print_Summary_Only = summary_only;
    out.Length_Label = "in ";
    out.Force_Label = "lbs";
    ReportAndMessages f;
    TableRun t;
    t.sum = Write_Load_Case_Table(1, 7, *p, *in, *s, *r, mx, eq, out, f.report, f.messages);
    t.report = f.Report();
    return t;
}

int Table_Rows(const std::string& report) {
    int rows = 0;
    for (const std::string& line : Lines(report)) {
        if (line.size() == 109 && line.find("----------") == std::string::npos &&
            line.find("Depth") == std::string::npos && line.find("Moment") == std::string::npos &&
            line.find("radians") == std::string::npos) {
            ++rows;
        }
    }
    return rows;
}

TEST(ResultsBlock, TableRowsFollowThePrintingIncrement) {
    EXPECT_EQ(Table_Rows(Run_Table(100, 10, 1, false).report), 11); // 1, 11, ..., 101
    EXPECT_EQ(Table_Rows(Run_Table(99, 10, 1, false).report), 10);  // no tip row
    EXPECT_EQ(Table_Rows(Run_Table(100, 0, 1, false).report), 1);   // head only
    EXPECT_EQ(Table_Rows(Run_Table(100, 1, 1, false).report), 101);
}

TEST(ResultsBlock, HeadRowAndOutputSummary) {
    const TableRun t = Run_Table(100, 50, 1, false);
    const auto lines = Lines(t.report);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[2], "   feet      inches     in-lbs      lbs       radians     psi*      "
                        "lb-in^2    lb/in      lb/inch    lb/inch ");
    // Head row: depth 0, the head deflection, zero moment, the head shear; the spring is
    // half of k h at the head (1000 * 12 / 2).
    const std::string head = lines[4];
    EXPECT_EQ(head.substr(0, 10), Format_Number(0.0, 10));
    EXPECT_EQ(head.substr(10, 11), Format_Number(t.sum.Head_Deflection, 11));
    EXPECT_EQ(head.substr(32, 11), Format_Number(t.sum.Head_Shear, 11));
    EXPECT_NEAR(t.sum.Head_Shear, 10000.0, 1.0e-6);
    EXPECT_EQ(head.substr(87, 11), Format_Number(6000.0, 11));
    // Depth in feet: the row of station 51 is at 600 in = 50 ft.
    EXPECT_EQ(lines[5].substr(0, 10), Format_Number(50.0, 10));

    const std::string summary = "Output Summary for Load Case No. 1:\n\n"
                                "Pile-head deflection             = " +
                                Format_Number(t.sum.Head_Deflection, 14) + " inches\n";
    EXPECT_NE(t.report.find(summary), std::string::npos);
    EXPECT_NE(t.report.find("Maximum shear force              = " +
                            Format_Number(t.sum.Max_Shear, 14) + " lbs\n"),
              std::string::npos);
    EXPECT_NE(t.report.find("Number of iterations             =              7\n"
                            "Number of zero deflection points =              " +
                            std::to_string(t.sum.i_Zero_Deflection_Points) + "\n\n"),
              std::string::npos);
    EXPECT_NE(t.report.find("* The above values of total stress are combined axial and bending "
                            "stress. \n"),
              std::string::npos);
    EXPECT_NE(t.report.find("Output Verification"), std::string::npos);
    // A free-head long pile crosses zero deflection more than once along its length.
    EXPECT_GE(t.sum.i_Zero_Deflection_Points, 2);
    EXPECT_NEAR(t.sum.Max_Shear, 10000.0, 1.0e-6);
}

TEST(ResultsBlock, SummaryOnlyAndGeneralUnits) {
    const TableRun summary = Run_Table(100, 10, 1, true);
    EXPECT_EQ(summary.report, ""); // in balance: no verdict line in summary-only runs
    EXPECT_GT(summary.sum.Head_Deflection, 0.0);

    const TableRun general = Run_Table(100, 10, 3, false);
    EXPECT_EQ(general.report.find("Depth"), std::string::npos);
    EXPECT_EQ(Table_Rows(general.report), 11);
    EXPECT_NE(general.report.find("Output Summary for Load Case No. 1:\n\n"), std::string::npos);
    EXPECT_EQ(general.report.find("Pile-head deflection"), std::string::npos);
    EXPECT_EQ(general.report.find("Output Verification"), std::string::npos);
}

// Deflections below 1e-20 print as 0: an unloaded pile gives a table of zeros.
TEST(ResultsBlock, TinyValuesPrintAsZero) {
    const TableRun t = Run_Table(40, 40, 1, false, LOADING_DEFLECTION_MOMENT, 1.0e-25);
    const auto lines = Lines(t.report);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[4].substr(10, 11), Format_Number(0.0, 11));
    EXPECT_EQ(t.sum.Head_Deflection, 0.0);
}

} // namespace
} // namespace zarno::test
