// Output files of a whole run: failures to write them, the in-memory mode of the C++
// entry, and independence from the locale of the host process.
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace zarno::test {
namespace {

std::string Example(const char* name) {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / name);
}

bool Can_Write_Dev_Full() {
    return fs::exists("/dev/full");
}

// A full disk under each output file: the run must not say it ended normally, the status
// must be runtime error 58, and the input must be untouched.
TEST(OutputWriteFailure, FullDiskIsRuntimeError58ForEveryOutput) {
    if (!Can_Write_Dev_Full()) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    const std::string input = Example("pipe_pile.inp");
    struct Case {
        const char* which;
        const char* named;
    };
    for (const Case c : {Case{"report", "output report file"}, Case{"plot", "plot output file"},
                         Case{"messages", "runtime message file"}}) {
        SCOPED_TRACE(c.which);
        TempDir dir;
        RunRequest r = Request_In(dir, input);
        const std::string which = c.which;
        std::string& target = which == "report" ? r.report_file
                              : which == "plot" ? r.plot_file
                                                : r.message_file;
        target = "/dev/full";
        testing::internal::CaptureStderr();
        const int result = Run_Analysis(r, Fixed_Time);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, 258);
        EXPECT_NE(err.find("**** Runtime Error No. 58 ****"), std::string::npos) << err;
        EXPECT_NE(err.find(std::string("The ") + c.named + " /dev/full could not be written"),
                  std::string::npos)
            << err;
        EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
        EXPECT_EQ(Read_File(r.input_file), input);
        if (which != "messages") {
            const std::string messages = Read_File(r.message_file);
            EXPECT_EQ(messages.find("ended normally"), std::string::npos);
            EXPECT_NE(messages.find("**** Runtime Error No. 58 ****"), std::string::npos);
            EXPECT_NE(messages.find("The analysis ended due to runtime error No. 58."),
                      std::string::npos);
        }
        if (which == "plot") {
            // The report is intact up to the end and says how the run really ended.
            const std::string report = Read_File(r.report_file);
            EXPECT_NE(report.find("Zarno ended prematurely due to runtime error number RUN00058"),
                      std::string::npos);
            EXPECT_EQ(report.find("ended normally"), std::string::npos);
        }
    }
}

TEST(OutputWriteFailure, AnEarlierFatalErrorKeepsItsStatus) {
    if (!Can_Write_Dev_Full()) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    TempDir dir;
    RunRequest r = Request_In(dir, "ZARNOK6\n OPTIONS\nEND\n");
    r.report_file = "/dev/full";
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run_Analysis(r, Fixed_Time), 199);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("**** Runtime Error No. 58 ****"),
              std::string::npos);
}

TEST(InMemoryRun, TextsEqualTheFilesAndNothingIsWritten) {
    for (const char* example : {"pipe_pile.inp", "drilled_shaft.inp", "ei_only_shaft.inp"}) {
        SCOPED_TRACE(example);
        TempDir dir;
        RunRequest r = Request_In(dir, Example(example));
        const int on_disk = Run_Analysis(r, Fixed_Time);
        const std::string report = Read_File(r.report_file);
        const std::string plot = Read_File(r.plot_file);
        const std::string messages = Read_File(r.message_file);
        ASSERT_GT(report.size(), 1000u);

        TempDir other;
        RunRequest q = r;
        q.report_file = other / "case.zro";
        q.plot_file = other / "case.zrp";
        q.message_file = other / "case.zrm";
        q.write_files = false;
        std::string report_text, plot_text, message_text;
        q.report_text = &report_text;
        q.plot_text = &plot_text;
        q.message_text = &message_text;
        EXPECT_EQ(Run_Analysis(q, Fixed_Time), on_disk);
        EXPECT_TRUE(fs::is_empty(other.path())) << "an in-memory run created a file";
        // The report lists the file names, which are the same apart from the directory.
        EXPECT_EQ(report_text, report);
        EXPECT_EQ(plot_text, plot);
        EXPECT_EQ(message_text, messages);
    }
}

TEST(InMemoryRun, TextsCanBeTakenWhileFilesAreWritten) {
    TempDir dir;
    RunRequest r = Request_In(dir, Example("pipe_pile.inp"));
    std::string report_text;
    r.report_text = &report_text;
    EXPECT_EQ(Run_Analysis(r, Fixed_Time), 0);
    EXPECT_EQ(report_text, Read_File(r.report_file));
    EXPECT_NE(report_text.find("The analysis ended normally."), std::string::npos);
}

// Restores the process locale at the end of a test.
class LocaleRestorer {
  public:
    LocaleRestorer() : saved_(std::setlocale(LC_ALL, nullptr)) {}
    ~LocaleRestorer() { std::setlocale(LC_ALL, saved_.c_str()); }

  private:
    std::string saved_;
};

// Runs the input in dir (the report lists the directory, so both runs share it).
RunOutput Run_In(const TempDir& dir, const std::string& input) {
    const RunRequest r = Request_In(dir, input);
    RunOutput out;
    out.result = Run_Analysis(r, Fixed_Time);
    out.report = Read_File(r.report_file);
    out.plot = Read_File(r.plot_file);
    out.messages = Read_File(r.message_file);
    return out;
}

TEST(LocaleIndependence, FilesAreIdenticalUnderACommaDecimalLocale) {
    LocaleRestorer restore;
    for (const char* example : {"pipe_pile.inp", "drilled_shaft.inp", "ei_only_shaft.inp"}) {
        SCOPED_TRACE(example);
        TempDir dir;
        std::setlocale(LC_ALL, "C");
        const RunOutput classic = Run_In(dir, Example(example));
        const char* comma = nullptr;
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                comma = name;
                break;
            }
        }
        if (comma == nullptr) {
            GTEST_SKIP() << "no comma-decimal locale installed (scripts/setup-debian.sh)";
        }
        ASSERT_EQ(std::localeconv()->decimal_point, std::string(","));
        const RunOutput local = Run_In(dir, Example(example));
        EXPECT_EQ(local.result, classic.result);
        EXPECT_EQ(local.report, classic.report);
        EXPECT_EQ(local.plot, classic.plot);
        EXPECT_EQ(local.messages, classic.messages);
        // The host's own locale is back after the run.
        EXPECT_EQ(std::localeconv()->decimal_point, std::string(","));
    }
}

} // namespace
} // namespace zarno::test
