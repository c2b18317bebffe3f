// The LRFD performance table of the response summary on a prepared model: which nominal
// capacity each section gets, and the verdict at the factored capacity itself.
#include "engine/analysis_model.h"
#include "report/report_header.h"
#include "report/response_summary.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <string>

namespace zarno::test {
namespace {

TEST(LrfdSummary, CapacityPerSectionAndTheVerdictAtTheLimit) {
    ModelFiles files;
    AnalysisModel& m = *files.m;
    m.IUNITS = USCS;
    Set_Unit_Labels(m, USCS);
    m.b_Use_LRFD = true;
    m.i_Num_Sections = 2;
    // Section 1: plastic moment 1000 at node 3, where its largest moment developed.
    m.Sections[1].i_Section_Type = SECTION_ELASTIC_PLASTIC;
    m.EI_Table.i_Num_Thrusts[1] = 1;
    m.EI_Table.Mn[1][1] = 9999.0; // Mp at the top of the section; node 3 governs
    m.Lateral.Node_Mp[3] = 1000.0;
    // Section 2: sliced, capacities 100 and 400 at the two distinct thrusts.
    m.Sections[2].i_Section_Type = SECTION_DRILLED_SHAFT;
    m.EI_Table.i_Num_Thrusts[2] = 2;
    m.EI_Table.Mn[2][1] = 100.0;
    m.EI_Table.Mn[2][2] = 400.0;

    m.i_Num_Lrfd_Combinations = 1;
    m.Lrfd_Combinations[1].Resistance_Factor_Flexure = 0.5;
    m.Lrfd_Combinations[1].Name = "Strength I";
    m.Lrfd.i_Thrust_Index[1] = 2;
    m.i_Num_Loads = 1;
    m.Loads[1] = PileHeadLoad{1, 10.0, 20.0, 30.0, 1};
    m.Lateral.i_Num_Cases_Done = 1;
    // A negative moment whose magnitude equals the factored capacity 0.5 * 1000: fails.
    m.Lateral.Section_Moment[1][1] = -500.0;
    m.Lateral.i_Section_Moment_Node[1][1] = 3;
    // Just below 0.5 * 400 (the capacity at thrust 2, not thrust 1): passes.
    m.Lateral.Section_Moment[1][2] = 199.9;

    EXPECT_DOUBLE_EQ(Lrfd_Nominal_Moment_Capacity(m, 1, 1), 1000.0);
    EXPECT_DOUBLE_EQ(Lrfd_Nominal_Moment_Capacity(m, 1, 2), 400.0);
    Write_Pile_Response_Summary(m);
    const std::string report = files.Report();
    const size_t table = report.find("LRFD Performance by Load Case Combination");
    ASSERT_NE(table, std::string::npos) << report;
    const std::string rows = report.substr(table);
    const size_t row1 = rows.find("\n  1       1   ");
    const size_t row2 = rows.find("\n  1       2   ");
    ASSERT_NE(row1, std::string::npos) << rows;
    ASSERT_NE(row2, std::string::npos) << rows;
    const std::string r1 = rows.substr(row1 + 1, rows.find('\n', row1 + 1) - row1 - 1);
    const std::string r2 = rows.substr(row2 + 1, rows.find('\n', row2 + 1) - row2 - 1);
    EXPECT_NE(r1.find("    1.0000    > FAIL <"), std::string::npos) << r1;
    EXPECT_NE(r2.find("    0.9995      Pass"), std::string::npos) << r2;
    EXPECT_NE(r1.find("Strength I"), std::string::npos);
    EXPECT_NE(rows.find("\n1 LRFD load combinations have failed."), std::string::npos);
    EXPECT_EQ(m.Warnings.i_Warning_Tally[400], 1);
    // LRFD headings, no loading-type definitions.
    EXPECT_EQ(report.find("Definitions of Pile-head Loading Conditions:"), std::string::npos);
    EXPECT_NE(report.find("Case  Type        Shear         Moment           Load        "),
              std::string::npos);
}

} // namespace
} // namespace zarno::test
