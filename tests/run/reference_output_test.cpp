// Whole-run reference outputs: the report, plot output and runtime message files of every
// shipped example, every fuzz seed and the soil-model inputs in tests/reference/inputs/
// (the seeds stop before the load cases), compared byte for byte with the reviewed copies in
// tests/reference/. They guard the layout of the three files and any restructuring of the
// engine; the numbers themselves keep their independent tests elsewhere.
//
// Two things in a run's files depend on when and where it ran, and both are masked on both
// sides before comparing, never edited in the stored files:
//   - the report line "Date:  <month day, year>     Time:  <hh:mm:ss>";
//   - the scratch directory the run used, which the file lists name (it becomes "<run dir>/").
//
// To regenerate after an intended change of output, run the test with ZARNO_UPDATE_REFERENCE=1:
//   ZARNO_UPDATE_REFERENCE=1 ./build/tests/zarno_tests --gtest_filter='ReferenceOutput*'
// It then writes the files into tests/reference/ of the source tree (and still compares);
// review the diff with git before committing it.
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace zarno::test {
namespace {

struct ReferenceCase {
    const char* name;  // stem of the stored files in tests/reference/
    const char* input; // input file, relative to the source tree
};

const ReferenceCase kCases[] = {
    {"pipe_pile", "examples/pipe_pile.inp"},
    {"drilled_shaft", "examples/drilled_shaft.inp"},
    {"ei_only_shaft", "examples/ei_only_shaft.inp"},
    {"lrfd_pile", "examples/lrfd_pile.inp"},
    {"seed_all_sections", "fuzz/seeds/all_sections.inp"},
    {"seed_all_soils", "fuzz/seeds/all_soils.inp"},
    // Every soil model with a curve, in evaluate and print mode (a printed curve in each
    // layer), with soil movements, multipliers and a battered pile on sloping ground.
    {"py_static", "tests/reference/inputs/py_static.inp"},
    {"py_cyclic", "tests/reference/inputs/py_cyclic.inp"},
    {"py_head_below", "tests/reference/inputs/py_head_below.inp"},
    {"py_massive_rock", "tests/reference/inputs/py_massive_rock.inp"},
    // A length sweep between two cases on the whole pile: shorter piles of the same
    // increments, then the stations of the whole pile again.
    {"length_sweep", "tests/reference/inputs/length_sweep.inp"},
};

const char* const kExtensions[] = {".zro", ".zrp", ".zrm"};

fs::path Reference_Dir() {
    return fs::path(ZARNO_SOURCE_DIR) / "tests" / "reference";
}

bool Updating() {
    const char* v = std::getenv("ZARNO_UPDATE_REFERENCE");
    return v != nullptr && std::string(v) == "1";
}

std::string Replace_All(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) {
        return text;
    }
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The run-dependent parts of a file, replaced by fixed markers.
std::string Masked(const std::string& text, const std::string& run_dir) {
    static const std::regex date_line(R"(( +)Date: +[A-Za-z]+ +\d+, +\d+ +Time: +\d+:\d\d:\d\d)");
    std::string out = Replace_All(text, run_dir + "/", "<run dir>/");
    return std::regex_replace(out, date_line, "$1<date and time>");
}

// The first line where two texts part, for a readable failure.
std::string First_Difference(const std::string& expected, const std::string& actual) {
    std::istringstream e(expected);
    std::istringstream a(actual);
    std::string le;
    std::string la;
    for (int line = 1;; ++line) {
        const bool more_e = static_cast<bool>(std::getline(e, le));
        const bool more_a = static_cast<bool>(std::getline(a, la));
        if (!more_e && !more_a) {
            return "texts differ only in line endings";
        }
        if (!more_e || !more_a || le != la) {
            return "line " + std::to_string(line) +
                   "\n  expected: " + (more_e ? le : "<end of file>") +
                   "\n  actual:   " + (more_a ? la : "<end of file>");
        }
    }
}

class ReferenceOutput : public testing::TestWithParam<ReferenceCase> {};

TEST_P(ReferenceOutput, FilesMatchTheReviewedCopies) {
    const ReferenceCase& c = GetParam();
    TempDir dir;
    const std::string input = Read_File(fs::path(ZARNO_SOURCE_DIR) / c.input);
    ASSERT_FALSE(input.empty()) << c.input;
    const std::string stem = c.name;
    Write_File(dir / (stem + ".inp"), input);
    RunRequest r;
    r.input_file = dir / (stem + ".inp");
    r.report_file = dir / (stem + ".zro");
    r.plot_file = dir / (stem + ".zrp");
    r.message_file = dir / (stem + ".zrm");
    Run_Analysis(r);

    const std::string run_dir = dir.path().string();
    for (const char* ext : kExtensions) {
        SCOPED_TRACE(stem + ext);
        const std::string actual = Masked(Read_File(dir / (stem + ext)), run_dir);
        const fs::path stored = Reference_Dir() / (stem + ext);
        if (Updating()) {
            fs::create_directories(Reference_Dir());
            Write_File(stored, actual);
        }
        ASSERT_TRUE(fs::exists(stored)) << stored << " is missing; see the head of this file";
        const std::string expected = Read_File(stored);
        EXPECT_TRUE(expected == actual) << First_Difference(expected, actual);
    }
}

INSTANTIATE_TEST_SUITE_P(ExamplesAndSeeds, ReferenceOutput, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ReferenceCase>& info) {
                             return std::string(info.param.name);
                         });

// The masks touch only what they are meant to: a date line and the run directory.
TEST(ReferenceOutputMask, ReplacesOnlyTheDateAndTheRunDirectory) {
    const std::string text = "Path to file locations:        /tmp/x1/\n"
                             "               Date:  December 10, 2026     Time:  9:05:07\n"
                             "Date: not a date line\n"
                             "/tmp/x12/other\n";
    EXPECT_EQ(Masked(text, "/tmp/x1"), "Path to file locations:        <run dir>/\n"
                                       "               <date and time>\n"
                                       "Date: not a date line\n"
                                       "/tmp/x12/other\n");
}

} // namespace
} // namespace zarno::test
