// Layouts of the section report blocks: the moment-curvature table headings in their two
// forms, and the column alignment of the headings and bar rows with their rules.
#include "section/section_reports.h"

#include "engine/analysis_model.h"
#include "section/section_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace zarno {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string Heading_Of(SectionWorkspace& ws, int iunits, double thrust) {
    test::TempDir dir;
    auto m = test::Quiet_Model();
    m->IUNITS = iunits;
    m->Report.Open(dir / "report.txt");
    Write_Moment_Curvature_Heading(*m, ws, thrust);
    m->Report.Close();
    return test::Read_File(dir.path() / "report.txt");
}

TEST(SectionReports, HeadingPerThrustOrPerDirectionOfLoading) {
    auto ws = test::Shaft(36.0);
    const std::string by_thrust = Heading_Of(*ws, USCS, 100.0);
    EXPECT_EQ(by_thrust.rfind("\n\nAxial Thrust Force =    100.000 kips  \n\n", 0), 0u)
        << by_thrust;
    EXPECT_EQ(by_thrust.find("Direction of Loading"), std::string::npos);

    ws->i_Heading_Mode = MC_HEADING_BY_DIRECTION;
    ws->Bending_Angle = 22.5;
    const std::string by_direction = Heading_Of(*ws, USCS, 100.0);
    EXPECT_EQ(by_direction.rfind("Direction of Loading =     22.500 degrees\n\n    Bending", 0), 0u)
        << by_direction;
    EXPECT_EQ(by_direction.find("Axial Thrust Force"), std::string::npos);
}

struct HeadingCase {
    int kind;
    int iunits;
    int columns; // numeric columns of a row
};

TEST(SectionReports, HeadingColumnsLineUpWithTheRows) {
    // A row is `columns` numbers of width 14, two blanks and three run-message letters.
    const HeadingCase cases[] = {{GEOM_CIRCLE, USCS, 8},    {GEOM_CASED, USCS, 9},
                                 {GEOM_CASED_CORE, SI, 10}, {GEOM_PIPE, USCS, 5},
                                 {GEOM_PIPE, SI, 5},        {GEOM_RECTANGLE, SI, 8}};
    for (const auto& c : cases) {
        auto ws = test::Shaft(36.0);
        ws->i_Geometry_Kind = c.kind;
        const std::vector<std::string> lines = Lines(Heading_Of(*ws, c.iunits, 0.0));
        ASSERT_EQ(lines.size(), 8u);
        const std::size_t row = 14 * c.columns + 5;
        const std::string& h1 = lines[4];
        const std::string& h2 = lines[5];
        const std::string& rule = lines[7];
        EXPECT_EQ(rule.size(), row) << c.kind;
        EXPECT_EQ(h1.substr(h1.size() - 3), "Run") << c.kind;
        EXPECT_EQ(h2.size(), row) << c.kind;
        EXPECT_EQ(h2.substr(row - 3), "Msg") << c.kind;
        for (int col = 0; col < c.columns; ++col) {
            EXPECT_EQ(rule.substr(14 * col, 14), " -------------") << c.kind << " col " << col;
        }
        EXPECT_EQ(rule.substr(row - 5), "  ---");
        EXPECT_EQ(lines[6].find(c.iunits == USCS ? "rad/in." : "rad/m"), 4u + (c.iunits != USCS))
            << c.kind;
    }
}

TEST(SectionReports, RectangularPileBarRowsSitUnderTheRule) {
    test::TempDir dir;
    auto m = test::Quiet_Model();
    m->IUNITS = USCS;
    m->Report.Open(dir / "report.txt");
    PileSection& s = m->Sections[1];
    s.i_Section_Type = SECTION_RECTANGULAR_CONCRETE;
    s.i_Bar_Index[1] = 9;
    auto ws = test::Rectangle(12.0, 24.0);
    ws->i_Section_Type = 0;
    test::Add_Bar(*ws, -4.0, -9.5, 1.128, 1.0);
    Write_Bar_Table(*m, 1, *ws);
    m->Report.Close();
    const std::vector<std::string> lines = Lines(test::Read_File(dir.path() / "report.txt"));
    ASSERT_EQ(lines.size(), 7u);
    const std::string& rule = lines[5];
    const std::string& row = lines[6];
    EXPECT_EQ(row, "    1                9              1.128000         1.000000        "
                   "-4.000000        -9.500000");
    // Every value ends where its dashed field ends.
    for (const std::size_t end : {43u, 60u, 77u, 94u}) {
        EXPECT_EQ(rule[end], '-') << end;
        EXPECT_TRUE(end + 1 == rule.size() || rule[end + 1] == ' ') << end;
        EXPECT_NE(row[end], ' ') << end;
        EXPECT_TRUE(end + 1 == row.size() || row[end + 1] == ' ') << end;
    }
    // Units: length text from column 38, area from 53, length from 73 and 89.
    EXPECT_EQ(lines[4].substr(37, 8), " in     ");
    EXPECT_EQ(lines[4].substr(52, 8), " sq. in.");
    EXPECT_EQ(lines[4].substr(72, 8), " in     ");
    EXPECT_EQ(lines[4].substr(88, 3), " in");
}

} // namespace
} // namespace zarno
