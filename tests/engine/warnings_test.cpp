#include "engine/analysis_model.h"
#include "engine/run_status.h"
#include "report/warnings.h"
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <memory>

namespace zarno::test {
namespace {

struct Finished {
    int result;
    std::string report;
    std::string messages;
};

// Runs the end of a run on a model that recorded the given warnings, with the report and
// message files in a temporary directory.
template <typename Setup> Finished Finish_With(Setup setup) {
    ModelFiles files;
    AnalysisModel& m = *files.m;
    Reset_Model_State(m);
    setup(m);
    Finished f;
    f.result = Compute_Run_Return_Value(m); // closes the files
    f.report = Read_File(files.dir / "r.txt");
    f.messages = Read_File(files.dir / "m.txt");
    return f;
}

TEST(Warnings, ReturnCodeFollowsTheDistinctCodesRecorded) {
    struct Case {
        const char* what;
        std::vector<int> codes;
        int status;
        int expected;
    };
    const Case cases[] = {
        {"none", {}, 0, 0},
        {"one code three times", {-306, -306, -306}, 0, -306},
        {"two codes", {-306, -3041}, 0, -300},
        {"error beats warnings", {-306}, 111, 111},
    };
    for (const Case& c : cases) {
        Finished f = Finish_With([&](AnalysisModel& m) {
            for (int code : c.codes) {
                Record_Warning(m, code);
            }
            if (c.status != 0) {
                // The end of run reads the status from the model.
                static_cast<void>(Report_Fatal_Error(m, "INP00011", c.status));
            }
        });
        EXPECT_EQ(f.result, c.expected) << c.what;
    }
}

TEST(Warnings, SummaryListsEachCodeOnceWithItsCount) {
    Finished f = Finish_With([](AnalysisModel& m) {
        for (int i = 0; i < 3; ++i) {
            Record_Warning(m, -306);
        }
    });
    EXPECT_NE(f.messages.find("\n\nThe analysis ended with one or more warning messages. See the "
                              "output report file for more details.\n\n\n"),
              std::string::npos);
    EXPECT_NE(f.report.find(std::string(26, ' ') + "Summary of Warning Messages"),
              std::string::npos);
    EXPECT_NE(f.report.find("The following warning was reported 3 times\n\n\nWarning - Negative "
                            "values of bending moment were computed in nonlinear EI computations."),
              std::string::npos);
    EXPECT_NE(f.messages.find("The analysis ended normally. "), std::string::npos);
}

TEST(Warnings, TallyIsCappedAt4000) {
    auto m = std::make_unique<AnalysisModel>();
    Reset_Model_State(*m);
    for (int i = 0; i < 4100; ++i) {
        Record_Warning(*m, -302);
    }
    EXPECT_EQ(m->Warnings.i_Warning_Tally[302], 4000);
    EXPECT_EQ(m->Warnings.i_Warning_Count, 4000);
    EXPECT_EQ(m->Warnings.i_Warning_Code[4000], -302);
}

// The tallies are cleared, set aside and read only up to the highest code recorded; the
// highest code there is must survive all three like any other.
TEST(Warnings, TalliesSetAsideForTheLoadCasesComeBackWithTheirCap) {
    auto m = std::make_unique<AnalysisModel>();
    Reset_Model_State(*m);
    WarningStore& w = m->Warnings;
    Record_Warning(*m, -302);
    Record_Warning(*m, -302);
    Record_Warning(*m, -MAX_WARNING_CODES);
    const WarningTallies before = Set_Aside_Warning_Tallies(w);
    EXPECT_EQ(before, (WarningTallies{{302, 2}, {MAX_WARNING_CODES, 1}}));
    EXPECT_EQ(w.i_Warning_Tally[302], 0);
    EXPECT_EQ(w.i_Warning_Tally[MAX_WARNING_CODES], 0);
    EXPECT_EQ(Count_Distinct_Warnings(w), 0);
    // A load case that records 302 up to the cap and 305 once, then one that starts afresh.
    for (int i = 0; i < MAX_WARNING_CODES; ++i) {
        Record_Warning(*m, -302);
    }
    Record_Warning(*m, -305);
    w.Clear_Tallies();
    EXPECT_EQ(w.i_Warning_Tally[302], 0);
    EXPECT_EQ(w.i_Warning_Tally[305], 0);
    Record_Warning(*m, -302);
    Keep_Warnings_Recorded_Before(w, before);
    EXPECT_EQ(w.i_Warning_Tally[302], 3);
    EXPECT_EQ(w.i_Warning_Tally[MAX_WARNING_CODES], 1);
    EXPECT_EQ(Count_Distinct_Warnings(w), 2);
    EXPECT_EQ(Warning_Return_Code(w), -300);
    // Set aside again after the cap was reached: it is kept, not exceeded.
    for (int i = 0; i < MAX_WARNING_CODES; ++i) {
        Record_Warning(*m, -302);
    }
    const WarningTallies capped = Set_Aside_Warning_Tallies(w);
    Record_Warning(*m, -302);
    Keep_Warnings_Recorded_Before(w, capped);
    EXPECT_EQ(w.i_Warning_Tally[302], MAX_WARNING_CODES);
    EXPECT_EQ(Warning_Return_Code(w), -300);
}

TEST(Warnings, ClosingLinesNeverContradictTheListedWarnings) {
    // A warning whose tally a later load case replaced: nothing is listed, so neither the
    // announcement of warnings nor "No error or warning messages" may appear.
    Finished cleared = Finish_With([](AnalysisModel& m) {
        Record_Warning(m, -302);
        m.Warnings.i_Warning_Tally.fill(0);
    });
    EXPECT_EQ(cleared.result, 0);
    EXPECT_EQ(cleared.messages.find("ended with one or more warning"), std::string::npos);
    EXPECT_EQ(cleared.report.find("No error or warning messages"), std::string::npos);
    EXPECT_NE(cleared.report.find("The analysis ended normally. "), std::string::npos);
    // A runtime error after a cleared warning: the error line is the last word.
    Finished failed = Finish_With([](AnalysisModel& m) {
        Record_Warning(m, -305);
        m.Warnings.i_Warning_Tally.fill(0);
        static_cast<void>(Raise_Runtime_Error(m, 9)); // the end of run reads RunStatus
    });
    EXPECT_EQ(failed.result, 209);
    EXPECT_EQ(failed.report.find("No error or warning messages"), std::string::npos);
    EXPECT_EQ(failed.messages.find("ended with one or more warning"), std::string::npos);
}

TEST(Warnings, StiffClayUsingKAboveTheSiLimitHasItsText) {
    Finished f = Finish_With([](AnalysisModel& m) { Record_Warning(m, -3264); });
    EXPECT_EQ(f.result, -3264);
    EXPECT_NE(f.report.find("The following warning was reported 1 times\n\n\n**** Warning ****\n\n"
                            "An unreasonable input value for shear strength has been specified "
                            "for a layer.\ndefined using the stiff clay without free water "
                            "criteria using k.\nThe input value is greater than 383.04 kPa.\nYou "
                            "should check your input data for correctness.\n\n"),
              std::string::npos)
        << f.report;
    EXPECT_EQ(f.report.find("Warning code -3264"), std::string::npos);
}

TEST(FatalErrors, PrematureEndLineNamesTheCode) {
    Finished runtime =
        Finish_With([](AnalysisModel& m) { EXPECT_EQ(Raise_Runtime_Error(m, 11), 211); });
    EXPECT_EQ(runtime.result, 211);
    EXPECT_NE(
        runtime.report.find("\n\nZarno ended prematurely due to runtime error number RUN00011\n"),
        std::string::npos);
    EXPECT_NE(runtime.report.find("\nThe analysis ended due to runtime error No. 11.\n\n"),
              std::string::npos);
    Finished input =
        Finish_With([](AnalysisModel& m) { EXPECT_EQ(Raise_Input_Error(m, 99), 199); });
    EXPECT_EQ(input.result, 199);
    EXPECT_NE(input.report.find("Zarno ended prematurely due to input error number INP00099\n"),
              std::string::npos);
    // Special statuses end the run without a closing line.
    Finished massive = Finish_With([](AnalysisModel& m) { m.RunStatus = 99; });
    EXPECT_EQ(massive.result, 99);
    EXPECT_EQ(massive.report.find("The analysis ended"), std::string::npos);
}

} // namespace
} // namespace zarno::test
