// The last line of the runtime message file states how the run ended, so a front end that
// reads only that line never takes a stopped run for a finished one.
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace zarno::test {
namespace {

std::string Last_Line(const std::string& text) {
    const size_t end = text.find_last_not_of("\r\n ");
    if (end == std::string::npos) {
        return {};
    }
    const size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end + 1 - (start + 1));
}

std::string Source(const std::string& relative) {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / relative);
}

TEST(ClosingLines, TheLastMessageLineStatesTheOutcome) {
    const std::string pipe = Source("examples/pipe_pile.inp");
    // A misspelled option label (warning -710) and a stiff clay without strength (input
    // error 14, found in the first load case).
    const std::string warned_then_failed =
        Replaced(Replaced(Replaced(pipe, "Tolerance 1.0E-05", "Tolerence 1.0E-05"),
                          "57.6  1000.0  0.007  0.0", "57.6  0.0  0.007  0.0"),
                 "57.6  2000.0  0.005  0.0", "57.6  0.0  0.005  0.0");
    const struct {
        const char* what;
        std::string deck;
        int result;
        const char* last_line; // how the last line begins
    } cases[] = {
        {"normal end", pipe, 0, "The analysis ended normally."},
        {"warnings, then an input error", warned_then_failed, 114,
         "The analysis ended due to input error No. 14. The run recorded "},
        {"input error without warnings", Replaced(pipe, "Increments 100", "Increments 10"), 155,
         "The analysis ended due to input error No. 55."},
        {"massive rock stop", Source("tests/reference/inputs/py_massive_rock.inp"), 99,
         "The analysis stopped with status 99."},
    };
    for (const auto& c : cases) {
        const MemoryRun e = Run_Text_In_Memory(c.deck);
        EXPECT_EQ(e.result, c.result) << c.what;
        EXPECT_EQ(Last_Line(e.messages).rfind(c.last_line, 0), 0u) << c.what << "\n" << e.messages;
        if (c.result > 0) {
            // The report still closes with the fatal line before its warning list.
            const std::string line(c.last_line);
            EXPECT_NE(e.report.find(line.substr(0, line.find(" The run recorded"))),
                      std::string::npos)
                << c.what;
        }
    }
}

} // namespace
} // namespace zarno::test
