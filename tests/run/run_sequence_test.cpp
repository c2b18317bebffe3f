#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace zarno::test {
namespace {

// The smallest complete input: one elastic section, bending stiffness only.
const char* kMinimalInput = "ZARNOK6\nTITLE\nA pile\n\n\n\n\n"
                            "OPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\n"
                            "UseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly YES\n"
                            "Loading STATIC     0\nMaxIterations 100\nExcessDeflection 100\n"
                            "Tolerance 1.0E-05\nIncrements 100\nPrintSummaryOnly NO\n"
                            "PrintIncrement 1\nPrintPYCurves NO\nComputeInteraction NO\n"
                            "SECTIONS\n1\n1\n11\n50\n2\n29000000\n24\n24\n452.4\n452.4\n"
                            "16000\n16000\nEND\n";

TEST(RunSequence, MinimalInputEndsNormallyWithBannerAndClosingLines) {
    RunOutput out = Run_Text(kMinimalInput);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.report.rfind(std::string(80, '='), 0), 0u) << "report starts with the banner";
    EXPECT_NE(out.report.find("2012-06.036"), std::string::npos);
    EXPECT_NE(out.report.find("               Date:  December 10, 2026     Time:   9:05:07\n"),
              std::string::npos);
    EXPECT_NE(out.report.find("Name of input data file:       case.inp\n"), std::string::npos);
    EXPECT_NE(out.report.find("Name of runtime messeage file: case.zrm\n"), std::string::npos);
    EXPECT_NE(out.report.find("\nThe analysis ended normally. \n\n"), std::string::npos);
    EXPECT_NE(out.messages.find("Input of data begun\nReading title data\n"), std::string::npos);
    EXPECT_NE(out.messages.find("\nInput of data completed\n\n"), std::string::npos);
    EXPECT_NE(out.messages.find("\nThe analysis ended normally. \n\n"), std::string::npos);
    // Plot Line 1: bending stiffness only, US customary units.
    EXPECT_EQ(out.plot.substr(0, 81), "    2    1    0    0" + std::string(60, ' ') + "L");
}

TEST(RunSequence, EmptyInputEndsWithInputError25) {
    RunOutput out = Run_Text("");
    EXPECT_EQ(out.result, 125);
    EXPECT_NE(
        out.messages.find("\n\n**** Input Data Error No. 25 ****\n\n\nSize of input data file "
                          "is 0 bytes.  No analysis performed.\n\n"),
        std::string::npos);
    EXPECT_NE(out.report.find("Zarno ended prematurely due to input error number INP00025\n\n"
                              "**** Input Data Error No. 25 ****\n\nLength of input file is 0 "
                              "bytes.  No analysis can be performed.\n"),
              std::string::npos);
    EXPECT_NE(out.messages.find("The analysis ended due to input error No. 25."),
              std::string::npos);
    EXPECT_EQ(out.report.find("The analysis ended normally"), std::string::npos);
}

TEST(RunSequence, ForeignHeaderIsRefusedBeforeAnyBlockIsRead) {
    RunOutput out = Run_Text("SOMETHING ELSE\nTITLE\nx\n");
    EXPECT_EQ(out.result, 132);
    EXPECT_EQ(out.messages.find("Input of data begun"), std::string::npos);
    EXPECT_NE(out.report.find("Zarno ended prematurely due to input error number INP00032"),
              std::string::npos);
    EXPECT_EQ(out.report.find("The analysis ended normally. "), std::string::npos);
}

TEST(RunSequence, UnrecognizedLineEndsWithInputError99) {
    RunOutput out = Run_Text("ZARNOK6\n OPTIONS\nEND\n");
    EXPECT_EQ(out.result, 199);
    const std::string block =
        "\n\n***** INPUT ERROR *****\n\nThe following line is unrecognized "
        "or is out-of-order\n\n OPTIONS\nFound at line 2 of the input file: did you "
        "mean \"OPTIONS\"? Keywords are written in capitals as shown, alone "
        "on their line.\n\n";
    EXPECT_NE(out.report.find(block), std::string::npos);
    EXPECT_NE(out.messages.find(block), std::string::npos);
    EXPECT_NE(out.report.find("Zarno ended prematurely due to input error number INP00099"),
              std::string::npos);
    EXPECT_NE(out.report.find("\nThe analysis ended due to input error No. 99.\n\n"),
              std::string::npos);
}

TEST(RunSequence, EndOfFileBeforeEndIsAnInputError) {
    RunOutput out = Run_Text("ZARNOK6\nTITLE\nx\n\n\n\n\n");
    EXPECT_GT(out.result, 100);
    EXPECT_LT(out.result, 200);
}

TEST(RunSequence, MissingInputFileIsRuntimeError3AndWritesNoFiles) {
    TempDir dir;
    RunRequest r;
    r.input_file = dir / "missing.inp";
    r.report_file = dir / "a.zro";
    r.plot_file = dir / "a.zrp";
    r.message_file = dir / "a.zrm";
    testing::internal::CaptureStdout();
    EXPECT_EQ(Run_Analysis(r, Fixed_Time), 203);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("**** Runtime Error No. 3 ****"), std::string::npos);
    EXPECT_FALSE(fs::exists(r.report_file));
}

TEST(RunSequence, UncreatableOutputFilesAreRuntimeErrors) {
    struct Case {
        int which;
        int status;
    };
    for (Case c : {Case{1, 204}, Case{2, 205}, Case{3, 206}}) {
        TempDir dir;
        RunRequest r = Request_In(dir, kMinimalInput);
        std::string* target[] = {nullptr, &r.report_file, &r.plot_file, &r.message_file};
        *target[c.which] = dir / "no_such_dir/file.out";
        testing::internal::CaptureStdout();
        EXPECT_EQ(Run_Analysis(r, Fixed_Time), c.status) << "file " << c.which;
        testing::internal::GetCapturedStdout();
    }
}

TEST(RunSequence, BlankFileNameIsRuntimeError17) {
    TempDir dir;
    RunRequest r = Request_In(dir, kMinimalInput);
    r.message_file = "   ";
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_EQ(Run_Analysis(r, Fixed_Time), 217);
    const std::string err = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_NE(err.find("**** Runtime Error No. 17 ****\n\nRun message filename information is "
                       "corrupted. No analysis performed.\n"),
              std::string::npos);
}

TEST(RunSequence, ReportIsRewoundAfterSuccessfulReading) {
    // Whatever the reader wrote before the header is dropped once reading succeeded.
    RunOutput out = Run_Text(kMinimalInput);
    EXPECT_EQ(out.report.find("Reading"), std::string::npos);
    EXPECT_EQ(out.report.rfind(std::string(80, '='), 0), 0u);
}

} // namespace
} // namespace zarno::test
