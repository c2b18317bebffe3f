// p-y curves at requested depths in a whole run: printed once, after the first load case.
#include "test_support.h"

#include <gtest/gtest.h>

namespace zarno::test {
namespace {

int Count_Of(const std::string& text, const std::string& key) {
    int count = 0;
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        ++count;
    }
    return count;
}

TEST(PrintedCurvesRun, CurvesAtRequestedDepthsFollowTheFirstLoadCase) {
    std::string input = Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp");
    const size_t opt = input.find("PrintPYCurves NO");
    ASSERT_NE(opt, std::string::npos);
    input.replace(opt, 16, "PrintPYCurves YES");
    const size_t end = input.rfind("END");
    // Depths in feet below the pile head, one of them repeated: printed once each.
    input.insert(end, "DEPTHS OF PRINTED P-Y CURVES\n3\n1 10.0\n2 5.0\n3 10.0\n");
    RunOutput out = Run_Text(input);
    ASSERT_EQ(out.result, 0) << out.report.substr(
        out.report.size() > 3000 ? out.report.size() - 3000 : 0);
    EXPECT_NE(
        out.plot.find("    2" + std::string(75, ' ') + "Line 6 : number of output p-y curves"),
        std::string::npos);
    EXPECT_EQ(Count_Of(out.plot, "Line 7:  p-y curve depth in soft clay"), 2);
    EXPECT_EQ(Count_Of(out.plot, "Line 6 :"), 1)
        << "curves are printed for the first load case only";
    EXPECT_NE(out.messages.find("Computing p-y curves for output at user-specified depths."),
              std::string::npos);
    // The curves come after the first case converged and before its results.
    EXPECT_LT(out.messages.find("The convergence criteria have been met for load case 1"),
              out.messages.find("Computing p-y curves for output"));
}

} // namespace
} // namespace zarno::test
