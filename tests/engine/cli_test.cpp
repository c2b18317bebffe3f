// The command-line program on a shipped example.
#include "test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace zarno::test {
namespace {

int Run_Cli(const std::string& args, std::string* output = nullptr) {
    const std::string cmd = std::string(ZARNO_CLI_PROGRAM) + " " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    std::string text;
    char buf[256];
    while (fgets(buf, sizeof buf, p) != nullptr) {
        text += buf;
    }
    const int status = pclose(p);
    if (output != nullptr) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Cli, RunsAnInputAndWritesTheThreeFilesBesideIt) {
    TempDir dir;
    fs::copy_file(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp", dir / "pile.inp");
    std::string out;
    EXPECT_EQ(Run_Cli("'" + (dir / "pile.inp") + "'", &out), 0);
    EXPECT_NE(out.find("The analysis ended normally."), std::string::npos) << out;
    EXPECT_NE(out.find(dir / "pile.zro"), std::string::npos) << out;
    EXPECT_NE(Read_File(dir / "pile.zro").find("The analysis ended normally. "), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "pile.zrp"));
    EXPECT_TRUE(fs::exists(dir / "pile.zrm"));
}

TEST(Cli, ExitStatusSaysHowTheRunEnded) {
    TempDir dir;
    Write_File(dir / "bad.inp", "ZARNOK6\nNONSENSE\n");
    std::string out;
    EXPECT_EQ(Run_Cli("'" + (dir / "bad.inp") + "'", &out), 1);
    EXPECT_NE(out.find("input error No. 99"), std::string::npos) << out;
    EXPECT_EQ(Run_Cli("'" + (dir / "missing.inp") + "'"), 2);
    EXPECT_EQ(Run_Cli(""), 64);
    EXPECT_EQ(Run_Cli("--version", &out), 0);
    EXPECT_NE(out.find("2012-06.036"), std::string::npos);
}

} // namespace
} // namespace zarno::test
