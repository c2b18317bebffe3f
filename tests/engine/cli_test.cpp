// The command-line program on a shipped example.
#include "engine/cli_support.h"
#include "test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace zarno::test {
namespace {

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

TEST(Cli, AnInputWhoseReportWouldReplaceItIsRefusedAndKept) {
    TempDir dir;
    fs::copy_file(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp", dir / "case.zro");
    const std::string before = Read_File(dir / "case.zro");
    std::string out;
    EXPECT_EQ(Run_Cli("'" + (dir / "case.zro") + "'", &out), 2);
    EXPECT_EQ(Read_File(dir / "case.zro"), before) << "the input is byte-identical";
    EXPECT_FALSE(fs::exists(dir / "case.zrp"));
    EXPECT_FALSE(fs::exists(dir / "case.zrm"));
    EXPECT_NE(out.find("names the same file as the input data file"), std::string::npos) << out;
    EXPECT_EQ(out.find("ended normally"), std::string::npos) << out;
}

TEST(Cli, AMissingInputIsReportedOnceWithOneClosingLine) {
    TempDir dir;
    std::string out;
    EXPECT_EQ(Run_Cli("'" + (dir / "missing.inp") + "'", &out), 2);
    auto count = [&](const std::string& part) {
        int n = 0;
        for (size_t at = out.find(part); at != std::string::npos; at = out.find(part, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count("The input data file cannot be opened"), 1) << out;
    EXPECT_EQ(count("The analysis ended due to runtime error No. 3."), 1) << out;
    EXPECT_EQ(count("Report:"), 0) << "no file was written, so none is listed\n" << out;
}

// --deck-json reads and checks the deck only: the document goes to the file, no analysis
// runs and no report, plot or message file appears; a deck with an error writes no document.
TEST(Cli, DeckJsonReadsTheDeckWithoutAnalysis) {
    TempDir dir;
    fs::copy_file(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp", dir / "pile.inp");
    std::string out;
    EXPECT_EQ(
        Run_Cli("'" + (dir / "pile.inp") + "' --deck-json '" + (dir / "pile.json") + "'", &out), 0)
        << out;
    const std::string document = Read_File(dir / "pile.json");
    EXPECT_NE(document.find("\"outer_diameter\":24.0"), std::string::npos) << document;
    EXPECT_FALSE(fs::exists(dir / "pile.zro"));
    EXPECT_FALSE(fs::exists(dir / "pile.zrm"));

    Write_File(dir / "bad.inp", "ZARNOK6\nNONSENSE\n");
    EXPECT_EQ(Run_Cli("'" + (dir / "bad.inp") + "' --deck-json '" + (dir / "bad.json") + "'", &out),
              1);
    EXPECT_NE(out.find("NONSENSE"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(dir / "bad.json"));
    EXPECT_EQ(Run_Cli("'" + (dir / "pile.inp") + "' --deck-json a.json --json b.json"), 64);
}

} // namespace
} // namespace zarno::test
