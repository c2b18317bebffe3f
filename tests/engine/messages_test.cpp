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

#include <algorithm>
#include <fmt/format.h>
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
            // A block without an error heading (the massive-rock stop, the non-fatal depth
            // error that still stops, the section-order message, an internal error) is kept
            // as written, from its first line.
            ASSERT_FALSE(recorded.empty()) << static_cast<int>(e.id);
            std::vector<std::string> written = Message_Lines(e, MessageTarget::Report, args);
            if (written.empty()) {
                written = Message_Lines(e, MessageTarget::Messages, args);
            }
            const auto first = std::find_if(written.begin(), written.end(),
                                            [](const std::string& s) { return !s.empty(); });
            ASSERT_NE(first, written.end());
            EXPECT_EQ(recorded.front(), *first) << static_cast<int>(e.id);
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
    const RunRequest r = Request_In_Memory("massive.inp", &deck, "massive");
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
    const LateralCase no_convergence = Non_Converging_Case();
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
        RunRequest r = Request_In_Memory("deck.inp", &row.deck);
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

// The blocks moved into the catalogue from the routines that wrote them line by line, with
// the text each file had: a table of blocks no whole-run test pins word for word.
TEST(Messages, MovedBlocksKeepTheTextOfEachFile) {
    struct Row {
        MessageId id;
        std::vector<std::string> args;
        std::string report;   // what the report gets before the premature-end line
        std::string messages; // what the runtime message file gets
    };
    const std::string slope_api = "**** Input Data Error No. 2 ****\n\n"
                                  "An error was detected in the input data when computing a p-y.\n"
                                  "curve using the API criteria for sand for layer 3.\n\n"
                                  "Problem:  The angle of the ground slope can not be greater \n"
                                  "than the internal friction angle of the sand.\n\n"
                                  "Solution:  Set the value for slope angle to be less than \n"
                                  "the angle of friction.\n";
    const std::string slope_reese =
        "**** Input Data Error No. 9 ****\n\n"
        "An error was found in the input data when computing a p-y curve using \n"
        "the Reese sand criteria for layer 4.\n\n"
        "Problem:  The angle of the ground slope can not be greater than the \n"
        "internal friction angle of the sand.\n\n"
        "Solution:  Set the value for slope angle to be less than the angle of friction.\n";
    const std::string increment_zero =
        "**** Input Data Error No. 60 ****\n\n"
        "An error was found in the strength of soil input data when interpolating \n"
        "to obtain values of cohesion or uniaxial compressive strength.\n\n"
        "Problem:  The depth increment between the upper and lower soil depths in a \n"
        "layer is zero.  The depth of computation is    120.000\n\n"
        "Solution:  Examine the program output file to find the depth in question\n"
        "and correct the soil layer depth values. \n\n";
    const std::string rqd_range =
        "**** Input Data Error No. 49 ****\n\n"
        "Problem:  The interpolated value of RQD used for p-y curves in weak rock \n"
        "was found to be invalid because it was either less than zero or more than \n"
        "100 percent.\n\n"
        "Solution:  Check your input data and revise in the data for RQD.\n\n"
        "The interpolated value of RQD =   1.2000E+02 %\n\n";
    const std::string zero_diameter =
        "\n**** Input Data Error No. 27 ****\n\n"
        "Problem:  Zero values for one of the following values were \n"
        "entered for one or more values of pile diameter.\n\n"
        "Solution:  NONE of these values may be zero.  Correct the \n"
        "pile property data in your input data.\n\n";
    const std::string soil_above_tip =
        "**** Input Data Error No. 18 ****\n\n"
        "Problem: The depth at the bottom of the lowermost soil layer is   5.0000E+02\n"
        "         This depth is higher than the tip of the pile at   6.0000E+02.\n"
        "Solution: Increase the depth of the soil profile or shorten the pile length.\n";
    const std::string cycles =
        "\n\n**** Input Data Error No. 28 ****\n\n"
        "Problem:  Cyclic loading type was specified and the number of cycles of loading\n"
        "are outside the valid range of 2 to 5,000.\n\n"
        "Solution:  Either correct the number of cycles of loading to be within 2 to 5,000\n"
        "or specify static loading.\n"
        "Number of cycles of loading = 9000\n";
    const std::string below_tip =
        "**** Input Data Error No. 30 ****\n\n"
        "Problem:  Printing of a p-y curve was specified below the pile tip.\n\n"
        "Solution:  Specify printing depths only for depths above the pile tip.\n\n"
        "Input Point 2 at  700.00 in was not printed because it is below the pile tip.\n";
    const std::string tip_shear =
        "**** Input Data Error No. 50 ****\n\n"
        "Problem:   The input data for shear resistance at the pile tip appears to be in error "
        "at point 3.\n\n"
        "Solution:  Check that the first point is (0,0) and that the x-values sucessively "
        "increase in deflection and magnitude.\n";
    const std::vector<Row> rows = {
        {MessageId::ApiSandSlope, {"3"}, slope_api, slope_api},
        {MessageId::ReeseSandSlope, {"4"}, slope_reese, slope_reese},
        {MessageId::StrengthDepthIncrementZero, {"   120.000"}, increment_zero, increment_zero},
        {MessageId::RqdOutOfRange, {"  1.2000E+02"}, rqd_range, rqd_range},
        {MessageId::PileZeroDiameter, {}, zero_diameter, zero_diameter},
        {MessageId::SoilAboveTip, {"  5.0000E+02", "  6.0000E+02"}, soil_above_tip, soil_above_tip},
        {MessageId::CyclesOutOfRange, {"9000"}, cycles, cycles},
        {MessageId::PrintDepthBelowTip, {"2", " 700.00", "in"}, below_tip, below_tip},
        {MessageId::TipShearCurve, {"3"}, tip_shear, tip_shear},
        // Report only; the heading keeps the form it has always had.
        {MessageId::ApiSoftClayModulusNotANumber,
         {"12"},
         "**** Runtime Error No 36. ****\n\n"
         "The computed value of soil modulus computed in API soft clay is not-a-number for "
         "node number 12\n\n"
         "This problem is usually due to a required soil property being left equal to zero.\n",
         ""},
        {MessageId::SoilModulusNotANumber,
         {"default", "Reese Sand", "7"},
         "**** Runtime Error No. 31 ****\n\n"
         "The default value of soil modulus computed in Reese Sand is not-a-number for node "
         "number 7\n\n"
         "This problem is usually due to a required soil property being left equal to zero.\n",
         ""},
        {MessageId::SectionOrder,
         {"2", "3"},
         "SECTION DATA OUT-OF-ORDER\n\nExpecting section number 2, but section number 3 was "
         "found\n",
         ""},
        // Message file only (the report's own lines of error 25 follow its end line).
        {MessageId::ReeseSandZeroFriction,
         {},
         "",
         "**** Input Data Error No. 8 ****\n\n"
         "An error was detected in the input data for friction angle.\n"
         "Problem:  Zero was input for the friction angle for a sand when computing \n"
         "          a p-y curve using the Reese et al. criteria.\n\n"
         "Solution: Check values of soil strength values and revise the input data.\n\n"},
        {MessageId::EmptyInputFile,
         {},
         "",
         "\n\n**** Input Data Error No. 25 ****\n\n\n"
         "Size of input data file is 0 bytes.  No analysis performed.\n\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.id));
        const MessageEntry& e = Message_Entry(row.id);
        auto m = In_Memory_Model();
        // The numbered block of the table is error 31 of its range.
        const int status = row.id == MessageId::SoilModulusNotANumber ? 231 : 0;
        const int returned = Fail_Run_With(*m, row.id, row.args, status);
        EXPECT_EQ(returned, status == 0 ? e.status : status);
        EXPECT_EQ(m->Messages.Text(), row.messages);
        const std::string& report = m->Report.Text();
        ASSERT_GE(report.size(), row.report.size());
        EXPECT_EQ(report.substr(0, row.report.size()), row.report);
        // The rest of the report is the premature-end line alone.
        EXPECT_EQ(report.substr(row.report.size()).rfind("\n\nZarno ended prematurely", 0), 0U)
            << report;
    }
}

// The run's file errors come before any file exists: the caller gets the status, the
// block as the message file would hold it, and no file.
TEST(Messages, FileErrorsBeforeAnyFileExistReachTheCaller) {
    TempDir dir;
    const std::string input = (dir / "case.inp");
    Write_File(input, "ZARNOK6\n");
    fs::create_directory(dir / "folder.inp");
    const std::string long_name = (dir / std::string(300, 'a'));
    struct Row {
        const char* fault;
        std::string input;
        std::string report;
        int status;
        std::vector<std::string> text;
    };
    const std::vector<Row> rows = {
        {"blank report name",
         input,
         "  ",
         217,
         {"**** Runtime Error No. 17 ****", "",
          "Output filename information is corrupted. No analysis was performed."}},
        {"report name too long",
         input,
         long_name,
         253,
         {"**** Runtime Error No. 53 ****", "",
          fmt::format("The name of the output report file is longer than 256 characters ({}).",
                      long_name.size()),
          long_name, "No analysis was performed and no file was written."}},
        {"input is a directory",
         (dir / "folder.inp"),
         (dir / "case.zro"),
         251,
         {"**** Runtime Error No. 51 ****", "",
          "The input data file is a directory, not a regular file: " + (dir / "folder.inp"),
          "No analysis was performed and no file was written."}},
        {"report replaces the input",
         input,
         input,
         250,
         {"**** Runtime Error No. 50 ****", "",
          "The output report file " + input + " names the same file as the input data file " +
              input + ".",
          "Writing it would destroy the input data. Give every output file a name of its own.",
          "No analysis was performed and no file was written."}},
        {"missing input",
         (dir / "missing.inp"),
         (dir / "case.zro"),
         203,
         {"**** Runtime Error No. 3 ****", "",
          "The input data file cannot be opened: " + (dir / "missing.inp") +
              " (No such file or directory)"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        RunRequest r;
        r.input_file = row.input;
        r.report_file = row.report;
        r.plot_file = (dir / "case.zrp");
        r.message_file = (dir / "case.zrm");
        RunResults results;
        EXPECT_EQ(Run_Analysis(r, Fixed_Time, results), row.status);
        EXPECT_FALSE(results.output_files_created);
        EXPECT_EQ(results.error.text, row.text);
        EXPECT_FALSE(fs::exists(dir / "case.zrp"));
        EXPECT_FALSE(fs::exists(dir / "case.zrm"));
    }
    EXPECT_EQ(Read_File(input), "ZARNOK6\n") << "the input is untouched";
}

} // namespace
} // namespace zarno::test
