// In-memory runs whose caller takes none (or only some) of the output texts: an output
// nobody takes is not composed, and nothing else the caller receives may change.
#include "lateral/lateral_input.h"
#include "report/results_json.h"
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zarno::test {
namespace {

// A deck and how it ends: its status (kNoError for 0 or a warning code) and the first line
// of the error block its results keep.
constexpr int kNoError = 0;
struct Deck {
    const char* name;
    std::string text;
    int status = kNoError;
    const char* heading = "";
};

struct InMemoryRun {
    int result = 0;
    int summary_result = 0;
    std::string json;
    std::vector<std::string> error_text;
    RunSummary summary;
    std::string console; // what reached standard output and standard error
    std::string report, plot, messages;
};

// Runs the deck from text into memory twice (once for the results, once for the summary),
// taking the texts named by `take`: "rpm" for report, plot and messages, "" for none.
InMemoryRun Run_Deck(const std::string& deck, const std::string& take) {
    InMemoryRun out;
    RunRequest r = Request_In_Memory("deck.inp", &deck);
    if (take.find('r') != std::string::npos) {
        r.report_text = &out.report;
    }
    if (take.find('p') != std::string::npos) {
        r.plot_text = &out.plot;
    }
    if (take.find('m') != std::string::npos) {
        r.message_text = &out.messages;
    }
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    RunResults results;
    out.result = Run_Analysis(r, Fixed_Time, results);
    out.summary_result = Run_Analysis(r, Fixed_Time, &out.summary);
    out.console = testing::internal::GetCapturedStdout();
    out.console += testing::internal::GetCapturedStderr();
    out.json = Results_To_Json(results);
    out.error_text = results.error.text;
    return out;
}

std::vector<Deck> Decks() {
    std::vector<Deck> decks;
    for (const char* name :
         {"pipe_pile.inp", "drilled_shaft.inp", "ei_only_shaft.inp", "lrfd_pile.inp"}) {
        decks.push_back({name, Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / name)});
    }
    // Printed p-y curves and a pile head below the ground.
    for (const char* name : {"py_static.inp", "py_head_below.inp"}) {
        decks.push_back({name, Read_File(fs::path(ZARNO_SOURCE_DIR) / "tests" / "reference" /
                                         "inputs" / name)});
    }
    decks.push_back({"massive rock",
                     Read_File(fs::path(ZARNO_SOURCE_DIR) / "tests" / "reference" / "inputs" /
                               "py_massive_rock.inp"),
                     99, "**** Analysis Stopped: Massive Rock Layer ****"});
    LateralCase base;
    base.length_ft = 50.0;
    base.loads = {"1 20000 0 0 1"};
    LateralCase huge_e = base;
    huge_e.E = 1e25;
    LateralCase unbalanced = base;
    unbalanced.E = 1e8;
    unbalanced.I = 1e14;
    LateralCase buckling = base;
    buckling.loads = {"1 20000 0 1e12 1"};
    // A pile without bending stiffness: the solver refuses a small pivot, and the results
    // keep the block with the head system it dumps, which is written by hand after it.
    LateralCase no_stiffness = base;
    no_stiffness.section_lines = "13\n50\n24\n1\n0.0\n2\n0.0 0.0\n1.0E6 0.0\n";
    decks.push_back(
        {"input error", Lateral_Input(huge_e), 133, "**** Input Data Error No. 33 ****"});
    decks.push_back({"unrecognized line", "ZARNOK6\nNONSENSE\n", 199, "***** INPUT ERROR *****"});
    decks.push_back({"empty input", "", 125, "**** Input Data Error No. 25 ****"});
    decks.push_back({"no convergence", Lateral_Input(Non_Converging_Case()), 210,
                     "  ****  Runtime Error No. 10  ****"});
    decks.push_back(
        {"gross imbalance", Lateral_Input(unbalanced), 252, "**** Runtime Error No. 52 ****"});
    decks.push_back({"buckling", Lateral_Input(buckling), 255, "**** Runtime Error No. 55 ****"});
    decks.push_back(
        {"small pivot", Lateral_Input(no_stiffness), 211, "**** Runtime Error No. 11 ****"});
    return decks;
}

// The return value, the summary, the results (as JSON, which holds every field, the error
// block included) and what reaches the console are the same whether the texts are taken
// or not; a text taken alone is the same text.
TEST(UntakenOutputs, ChangeNothingButTheTexts) {
    for (const Deck& deck : Decks()) {
        SCOPED_TRACE(deck.name);
        const InMemoryRun all = Run_Deck(deck.text, "rpm");
        const InMemoryRun none = Run_Deck(deck.text, "");
        if (deck.status == kNoError) {
            EXPECT_LE(all.result, 0);
        } else {
            // The deck ends the way it is named for, with its block in the results.
            EXPECT_EQ(all.result, deck.status);
            ASSERT_FALSE(all.error_text.empty());
            EXPECT_EQ(all.error_text.front(), deck.heading);
        }
        EXPECT_EQ(none.result, all.result);
        EXPECT_EQ(none.summary_result, all.result);
        EXPECT_EQ(none.error_text, all.error_text);
        EXPECT_TRUE(none.json == all.json) << "the results differ";
        EXPECT_EQ(none.console, all.console);
        EXPECT_EQ(none.summary.IUNITS, all.summary.IUNITS);
        ASSERT_EQ(none.summary.Cases.size(), all.summary.Cases.size());
        for (size_t k = 0; k < all.summary.Cases.size(); ++k) {
            EXPECT_EQ(none.summary.Cases[k].Head_Deflection, all.summary.Cases[k].Head_Deflection);
            EXPECT_EQ(none.summary.Cases[k].Max_Moment, all.summary.Cases[k].Max_Moment);
            EXPECT_EQ(none.summary.Cases[k].Max_Shear, all.summary.Cases[k].Max_Shear);
        }
        EXPECT_TRUE(none.report.empty() && none.plot.empty() && none.messages.empty());
        EXPECT_FALSE(all.messages.empty());
        // Each text taken alone is the same text.
        const InMemoryRun report_only = Run_Deck(deck.text, "r");
        const InMemoryRun plot_only = Run_Deck(deck.text, "p");
        EXPECT_EQ(report_only.report, all.report);
        EXPECT_EQ(plot_only.plot, all.plot);
        EXPECT_TRUE(report_only.json == all.json) << "the results differ";
        EXPECT_TRUE(plot_only.json == all.json) << "the results differ";
        EXPECT_TRUE(report_only.plot.empty() && report_only.messages.empty());
        EXPECT_TRUE(plot_only.report.empty() && plot_only.messages.empty());
    }
}

// Names only label an input given as text and outputs kept in memory: clashing names
// cannot destroy anything there, so the run goes ahead. Once a name is a file that is
// written, the same clash is refused as before.
TEST(UntakenOutputs, ClashingNamesMatterOnlyForFiles) {
    TempDir dir;
    const std::string deck = Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / "pipe_pile.inp");
    const std::string input = dir / "case.inp";
    Write_File(input, deck);
    const std::string same = input;
    struct Row {
        const char* layout;
        bool from_text;
        bool write_files;
        std::vector<std::string> mei_names;
        int result;
    };
    const Row rows[] = {
        {"text into memory, every name the same", true, false, {}, 0},
        {"file into memory, outputs named as the input", false, false, {}, 0},
        {"text into files, every name the same", true, true, {}, 250},
        {"file into files, every name the same", false, true, {}, 250},
        // A moment-curvature file is a file in every mode.
        {"file into memory, moment-curvature file named as the input", false, false, {same}, 250},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.layout);
        RunRequest r;
        r.input_file = same;
        r.report_file = same;
        r.plot_file = same;
        r.message_file = same;
        r.mei_report_names = row.mei_names;
        r.write_files = row.write_files;
        r.input_text = row.from_text ? &deck : nullptr;
        testing::internal::CaptureStdout();
        EXPECT_EQ(Run_Analysis(r, Fixed_Time), row.result);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(Read_File(input), deck) << "the input is untouched";
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) {
            ++files;
        }
        EXPECT_EQ(files, 1u) << "no file besides the input";
    }
    // An input read from a file must still be a regular file.
    fs::create_directory(dir / "folder.inp");
    const RunRequest r = Request_In_Memory(dir / "folder.inp", nullptr);
    testing::internal::CaptureStdout();
    EXPECT_EQ(Run_Analysis(r, Fixed_Time), 251);
    testing::internal::GetCapturedStdout();
}

} // namespace
} // namespace zarno::test
