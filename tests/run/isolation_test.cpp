// Runs in one process must not see each other: every run's files are identical to those
// of the same run in a fresh process, whatever ran before it or beside it.
#include "run/run.h"
#include "test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace zarno::test {
namespace {

// The date line and the directory of the files are the only content that depends on when
// and where a run happens.
std::string Without_Date(std::string text) {
    for (const char* key : {"Date:  ", "Path to file locations:"}) {
        size_t at;
        while ((at = text.find(key)) != std::string::npos) {
            const size_t begin = text.rfind('\n', at);
            const size_t end = text.find('\n', at);
            text.erase(begin, end - begin);
        }
    }
    return text;
}

struct Files {
    std::string report, plot, messages;
    bool operator==(const Files&) const = default;
    friend void PrintTo(const Files& f, std::ostream* os) {
        *os << "report:\n" << f.report << "\nplot:\n" << f.plot << "\nmessages:\n" << f.messages;
    }
};

Files Run_In_Process(const std::string& input, const TempDir& dir, const std::string& stem) {
    fs::copy_file(input, dir / (stem + ".inp"), fs::copy_options::overwrite_existing);
    RunRequest r;
    r.input_file = dir / (stem + ".inp");
    r.report_file = dir / (stem + ".zro");
    r.plot_file = dir / (stem + ".zrp");
    r.message_file = dir / (stem + ".zrm");
    Run_Analysis(r, Fixed_Time);
    return {Without_Date(Read_File(r.report_file)), Read_File(r.plot_file),
            Without_Date(Read_File(r.message_file))};
}

Files Run_In_Fresh_Process(const std::string& input, const TempDir& dir, const std::string& stem) {
    fs::copy_file(input, dir / (stem + ".inp"), fs::copy_options::overwrite_existing);
    const std::string cmd =
        std::string(ZARNO_CLI_PROGRAM) + " '" + (dir / (stem + ".inp")) + "' > /dev/null";
    EXPECT_NE(std::system(cmd.c_str()), -1);
    return {Without_Date(Read_File(dir / (stem + ".zro"))), Read_File(dir / (stem + ".zrp")),
            Without_Date(Read_File(dir / (stem + ".zrm")))};
}

std::vector<std::string> Example_Inputs() {
    std::vector<std::string> inputs;
    for (const auto& e : fs::directory_iterator(fs::path(ZARNO_SOURCE_DIR) / "examples")) {
        if (e.path().extension() == ".inp") {
            inputs.push_back(e.path().string());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

TEST(Isolation, RunsInOneProcessMatchFreshProcessesInEitherOrder) {
    const std::vector<std::string> inputs = Example_Inputs();
    ASSERT_GE(inputs.size(), 2u) << "needs two different example inputs";
    TempDir fresh_dir, forward_dir, backward_dir;
    std::vector<Files> fresh;
    for (size_t i = 0; i < inputs.size(); ++i) {
        fresh.push_back(Run_In_Fresh_Process(inputs[i], fresh_dir, "case"));
    }
    for (size_t i = 0; i < inputs.size(); ++i) {
        EXPECT_EQ(Run_In_Process(inputs[i], forward_dir, "case"), fresh[i]) << inputs[i];
    }
    for (size_t i = inputs.size(); i-- > 0;) {
        EXPECT_EQ(Run_In_Process(inputs[i], backward_dir, "case"), fresh[i]) << inputs[i];
    }
}

TEST(Isolation, ConcurrentRunsInTwoThreadsDoNotInterfere) {
    const std::vector<std::string> inputs = Example_Inputs();
    ASSERT_GE(inputs.size(), 2u);
    TempDir serial_dir, a_dir, b_dir;
    const Files a_alone = Run_In_Process(inputs[0], serial_dir, "a");
    const Files b_alone = Run_In_Process(inputs[1], serial_dir, "b");
    Files a_together, b_together;
    std::thread ta([&] {
        for (int i = 0; i < 5; ++i) {
            a_together = Run_In_Process(inputs[0], a_dir, "a");
        }
    });
    std::thread tb([&] {
        for (int i = 0; i < 5; ++i) {
            b_together = Run_In_Process(inputs[1], b_dir, "b");
        }
    });
    ta.join();
    tb.join();
    EXPECT_EQ(a_together, a_alone);
    EXPECT_EQ(b_together, b_alone);
}

} // namespace
} // namespace zarno::test
