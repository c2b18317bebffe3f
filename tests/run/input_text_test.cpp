// A run whose input comes as text instead of a file.
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace zarno::test {
namespace {

struct Outputs {
    int result = 0;
    std::string report;
    std::string plot;
    std::string messages;
};

// Runs with outputs in memory; the input is the file itself or, with text, its bytes.
Outputs Run_In_Memory(const std::string& input_file, const std::string* text) {
    RunRequest r = Request_In_Memory(input_file, text, "case");
    Outputs o;
    r.report_text = &o.report;
    r.plot_text = &o.plot;
    r.message_text = &o.messages;
    o.result = Run_Analysis(r, Fixed_Time);
    return o;
}

// The same bytes give the same three outputs, whether read from the file or from text;
// the name still labels the report.
TEST(InputText, EveryExampleGivesTheSameOutputsAsItsFile) {
    for (const char* name :
         {"pipe_pile.inp", "drilled_shaft.inp", "ei_only_shaft.inp", "lrfd_pile.inp"}) {
        SCOPED_TRACE(name);
        const std::string path = (fs::path(ZARNO_SOURCE_DIR) / "examples" / name).string();
        const std::string text = Read_File(path);
        const Outputs from_file = Run_In_Memory(path, nullptr);
        const Outputs from_text = Run_In_Memory(path, &text);
        EXPECT_LE(from_file.result, 0);
        EXPECT_EQ(from_text.result, from_file.result);
        EXPECT_EQ(from_text.report, from_file.report);
        EXPECT_EQ(from_text.plot, from_file.plot);
        EXPECT_EQ(from_text.messages, from_file.messages);
        EXPECT_NE(from_text.report.find(name), std::string::npos);
    }
}

// With text the input name is only a label: it may name a file that does not exist, a
// directory, or even one of the outputs, since nothing is read from it.
TEST(InputText, NameOnlyLabelsTheInput) {
    TempDir dir;
    const std::string text = Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / "pipe_pile.inp");
    for (const std::string& label : {dir / "missing.inp", dir.path().string(), dir / "case.zro"}) {
        SCOPED_TRACE(label);
        RunRequest r;
        r.input_file = label;
        r.report_file = dir / "case.zro";
        r.plot_file = dir / "case.zrp";
        r.message_file = dir / "case.zrm";
        r.input_text = &text;
        EXPECT_EQ(Run_Analysis(r, Fixed_Time), 0);
        EXPECT_NE(Read_File(r.report_file).find("The analysis ended normally."), std::string::npos);
    }
}

// The checks that do not concern the input file stay: an empty text is input error 25,
// a text that is no input is input error 32, a blank name is runtime error 17 and two
// outputs that are one file are runtime error 50.
TEST(InputText, ChecksOfTheTextAndTheOutputsStay) {
    TempDir dir;
    const std::string example =
        Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / "pipe_pile.inp");
    const std::string empty;
    const std::string not_input = "hello\n";
    struct Case {
        const std::string* text;
        std::string input_file;
        std::string plot_file;
        int result;
    };
    const Case cases[] = {
        {&empty, "a.inp", dir / "a.zrp", 125},
        {&not_input, "a.inp", dir / "a.zrp", 132},
        {&example, "   ", dir / "a.zrp", 217},
        {&example, "a.inp", dir / "a.zro", 250},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        RunRequest r;
        r.input_file = c.input_file;
        r.report_file = dir / "a.zro";
        r.plot_file = c.plot_file;
        r.message_file = dir / "a.zrm";
        r.input_text = c.text;
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        EXPECT_EQ(Run_Analysis(r, Fixed_Time), c.result);
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
    }
}

} // namespace
} // namespace zarno::test
