// The message catalogue and the one way to stop a run: what each file gets, in which
// form, the status the run ends with, and the error block the results keep.
#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/results.h"
#include "engine/run_status.h"
#include "lateral/lateral_input.h"
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zarno::test {
namespace {

std::unique_ptr<AnalysisModel> In_Memory_Model() {
    auto m = Make_Fresh_Model();
    m->Report.Open_In_Memory();
    m->Messages.Open_In_Memory();
    return m;
}

TEST(Messages, PlaceholdersAreFilledByPosition) {
    const std::vector<std::string> args = {"7", "  12.500", "in"};
    struct Case {
        const char* text;
        const char* filled;
    };
    const Case cases[] = {
        {"layer {0}", "layer 7"},
        {"{1} {2} and {1} {2}", "  12.500 in and   12.500 in"},
        {"{0}{1}", "7  12.500"},
        {"no value for {5}", "no value for {5}"}, // a missing value is left visible
        {"{x} {} {12} {", "{x} {} {12} {"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Fill_Placeholders(c.text, args), c.filled) << c.text;
    }
    // The error number, and values that hold braces of their own (a quoted input line).
    EXPECT_EQ(Fill_Placeholders("No. {n}: {0}", args, "52"), "No. 52: 7");
    const std::vector<std::string> quoted = {"A {1} {n} B", "x"};
    EXPECT_EQ(Fill_Placeholders("line {0} {1}", quoted, "99"), "line A {1} {n} B x");
}

TEST(Messages, EveryEntryFillsAllItsPlaceholdersAndStopsWithAFatalStatus) {
    const std::vector<std::string> args(10, "v");
    for (const MessageEntry& e : Message_Catalogue()) {
        EXPECT_EQ(&Message_Entry(e.id), &e);
        for (MessageTarget file : {MessageTarget::Report, MessageTarget::Messages}) {
            for (const std::string& line : Message_Lines(e, file, args)) {
                EXPECT_EQ(line.find('{'), std::string::npos) << line;
            }
        }
        if (e.effect == MessageEffect::EndRun) {
            EXPECT_TRUE(e.status > 100 && e.status < 300) << e.status;
            EXPECT_EQ(Message_Code(e, e.status).size(), 8U);
        } else if (e.effect == MessageEffect::Stop) {
            EXPECT_GT(e.status, 0);
        }
    }
}

// The thin-layer block differs between the files in its second problem line and carries
// six values; the run stops with status 229 and no premature-end line.
TEST(Messages, ThinLayerBlockGivesEachFileItsOwnLines) {
    auto m = In_Memory_Model();
    const int status =
        Fail_Run(*m, MessageId::ThinLayer, 3, "    2.000", "in", "   14.400", 40, 300);
    EXPECT_EQ(status, 229);
    EXPECT_EQ(m->RunStatus, 229);
    const std::string common_head = "\n\n**** Runtime Error No. 29 ****\n\n"
                                    "PROBLEM:  The thickness of layer 3 was too thin to contain "
                                    "a nodal point.\n";
    const std::string common_tail =
        "          The thickness of layer 3 is     2.000 in and the pile increment length is "
        "   14.400 in\n"
        "          The current number of pile increments is 40.\n"
        "          The estimated minimum number of increments needed to get at least one nodal "
        "point in the layer is 300.\n"
        "\n"
        "SOLUTION: Increase the number of pile increments. Up to 500 pile increments are "
        "allowed in Zarno.\n"
        "          If this error occurs with the maximum number of pile increments, you will "
        "need to combine the thinnest\n"
        "          soil layer with an adjacent layer.\n\n\n";
    EXPECT_EQ(m->Report.Text(), common_head +
                                    "          This layer lacks a nodal point and this prevents "
                                    "the correct computation of p-y curves for the layer . \n" +
                                    common_tail);
    EXPECT_EQ(m->Messages.Text(), common_head +
                                      "          This layer lacks a nodal point and this prevents "
                                      "the correct computation of the layer's p-y curves. \n" +
                                      common_tail);
}

// What the results keep is what the run wrote to the report: for every fatal block whose
// heading reads as an error, the recorded text equals the block read back from the report
// up to the closing line, so callers see the same text with or without the report.
TEST(Messages, RecordedErrorBlockEqualsTheBlockReadBackFromTheReport) {
    const std::vector<std::string> args = {"4", "   1.000", "in", "   2.000", "m", "6"};
    for (const MessageEntry& e : Message_Catalogue()) {
        if (e.effect == MessageEffect::Note) {
            continue;
        }
        auto m = In_Memory_Model();
        const int status = Fail_Run_With(*m, e.id, args);
        EXPECT_EQ(status, e.status);
        const std::string& report = m->Report.Text();
        EXPECT_EQ(report.find("Zarno ended prematurely") != std::string::npos,
                  e.effect == MessageEffect::EndRun)
            << static_cast<int>(e.id);
        m->Report.Write_Line("The analysis ended due to runtime error No. 1.");
        const std::vector<std::string> read_back =
            Read_Error_Block_From_Text(m->Report.Text(), m->Messages.Text());
        const std::vector<std::string>& recorded = m->Results.error.text;
        if (!read_back.empty()) {
            EXPECT_EQ(recorded, read_back) << static_cast<int>(e.id);
        } else if (!e.lines.empty()) {
            // A block without an error heading (the massive-rock stop, the non-fatal
            // depth error that still stops) is kept as written, heading first.
            ASSERT_FALSE(recorded.empty()) << static_cast<int>(e.id);
            if (recorded.front().find("{") == std::string::npos && recorded.front() != args[0]) {
                EXPECT_NE(recorded.front().find("****"), std::string::npos);
            }
        }
    }
}

TEST(Messages, TheFirstFailureOfARunIsTheOneKept) {
    auto m = In_Memory_Model();
    EXPECT_EQ(Fail_Run(*m, MessageId::TopDeflectionNotANumber, 7), 228);
    const std::vector<std::string> first = m->Results.error.text;
    ASSERT_EQ(first.size(), 3U);
    EXPECT_EQ(first[2], "Top deflection is Not-A-Number after iteration 7");
    EXPECT_EQ(Fail_Run(*m, MessageId::MassiveRock, 2), 99);
    EXPECT_EQ(m->Results.error.text, first);
}

TEST(Messages, StatusAloneLeavesBothFilesUntouched) {
    auto m = In_Memory_Model();
    EXPECT_EQ(Fail_Run(*m, MessageId::NoStrainSoftClayWithJ), 238);
    EXPECT_EQ(m->Report.Text(), "");
    EXPECT_EQ(m->Messages.Text(), "");
    EXPECT_TRUE(m->Results.error.text.empty());
}

// A whole run that stops at a massive-rock layer hands its explanation to the caller in
// the results, without the report being read back.
TEST(Messages, MassiveRockStopCarriesItsBlockInTheResults) {
    const std::string deck =
        Read_File(fs::path(ZARNO_SOURCE_DIR) / "tests/reference/inputs/py_massive_rock.inp");
    RunRequest r;
    r.input_file = "massive.inp";
    r.report_file = "massive.zro";
    r.plot_file = "massive.zrp";
    r.message_file = "massive.zrm";
    r.write_files = false;
    r.input_text = &deck;
    RunResults results;
    EXPECT_EQ(Run_Analysis(r, Fixed_Time, results), 99);
    ASSERT_TRUE(results.has_error);
    EXPECT_EQ(results.error.kind, "stop");
    ASSERT_FALSE(results.error.text.empty());
    EXPECT_EQ(results.error.text.front(), "**** Analysis Stopped: Massive Rock Layer ****");
    EXPECT_EQ(results.error.text.back(),
              "          limestone criteria (p-y type 9), or with user-input p-y curves (p-y "
              "type 14).");
}

// Whole runs that stop on errors raised through the catalogue: the error the results
// carry is the block the report shows, without reading the report back.
TEST(Messages, FailedRunsCarryTheBlockTheirReportShows) {
    LateralCase few_increments;
    few_increments.length_ft = 50.0;
    few_increments.loads = {"1 20000 0 0 1"};
    const std::string base = Lateral_Input(few_increments);
    few_increments.increments = 20;
    LateralCase few_iterations = few_increments;
    few_iterations.increments = 100;
    few_iterations.max_iterations = 10;
    LateralCase zero_length = few_increments;
    zero_length.increments = 100;
    zero_length.length_ft = 0.0;
    // Soil that gives out at a small deflection: the secant springs keep changing and the
    // deflection grows without settling.
    LateralCase no_convergence;
    no_convergence.loads = {"1 10000.0 0.0 0.0 1"};
    no_convergence.max_iterations = 30;
    no_convergence.layers = "1\n14 0.0 150.0\n60.0 3\n0.0 0.0\n0.01 10.0\n100.0 10.0\n60.0 3\n"
                            "0.0 0.0\n0.01 10.0\n100.0 10.0\n";
    no_convergence.excess_deflection = 1.0e6;
    struct Row {
        const char* fault;
        std::string deck;
        int status;
        const char* heading;
    };
    const std::vector<Row> rows = {
        {"unrecognized line", "ZARNOK6\nNONSENSE\n", 199, "***** INPUT ERROR *****"},
        {"not an input file", "<html>\n", 132, "**** Input Data Error No. 32 ****"},
        {"too few increments", Lateral_Input(few_increments), 155,
         "**** Input Data Error No. 55 ****"},
        {"pile length 0", Lateral_Input(zero_length), 137, "**** Input Data Error No. 37 ****"},
        {"tolerance too large", Replaced(base, "Tolerance 1.0E-05", "Tolerance 0.5"), 166,
         "**** Input Data Error No. 66 ****"},
        {"unknown loading type", Replaced(base, "Loading STATIC", "Loading STATIX"), 195,
         "INPUT ERROR - Unrecognized command for loading type option"},
        {"iteration limit 10", Lateral_Input(few_iterations), 195,
         "***** Input Data Error No. 95 *****"},
        {"no convergence", Lateral_Input(no_convergence), 210,
         "  ****  Runtime Error No. 10  ****"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        RunRequest r;
        r.input_file = "deck.inp";
        r.report_file = "deck.zro";
        r.plot_file = "deck.zrp";
        r.message_file = "deck.zrm";
        r.write_files = false;
        r.input_text = &row.deck;
        std::string report;
        std::string messages;
        r.report_text = &report;
        r.message_text = &messages;
        RunResults results;
        EXPECT_EQ(Run_Analysis(r, Fixed_Time, results), row.status);
        ASSERT_FALSE(results.error.text.empty());
        EXPECT_EQ(results.error.text.front(), row.heading);
        EXPECT_EQ(results.error.text, Read_Error_Block_From_Text(report, messages));
        const std::string end_line = row.status < 200
                                         ? "Zarno ended prematurely due to input error number " +
                                               Input_Error_Code(row.status - 100)
                                         : "Zarno ended prematurely due to runtime error number " +
                                               Runtime_Error_Code(row.status - 200);
        EXPECT_NE(report.find(end_line), std::string::npos);
    }
}

} // namespace
} // namespace zarno::test
