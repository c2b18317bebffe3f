// The files the command line writes besides the run's own three, and text of another
// encoding on its way into the JSON outputs.
#include "engine/cli_support.h"
#include "test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace zarno::test {
namespace {

std::string Quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

std::string With_Directory(std::string text, const std::string& dir) {
    for (size_t at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}")) {
        text.replace(at, 5, dir);
    }
    return text;
}

// Every extra output that would reach the input, one of the run's files or another extra
// output is refused before anything runs: exit 64, a message naming both files, the input
// byte for byte as it was and no report written.
TEST(CliOutputs, AnOutputThatWouldDestroyAFileIsRefusedBeforeTheRun) {
    const std::string deck = Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp");
    struct Case {
        const char* input;     // name of the input in the scratch directory
        const char* arguments; // after the input; {dir} is the scratch directory
        const char* expected;  // part of the message
    };
    const Case cases[] = {
        {"a.inp", "--json {dir}/a.inp", "JSON results file"},
        {"a.inp", "--deck-json {dir}/a.inp", "deck JSON file"},
        {"a.inp", "--json {dir}/a.zro", "the output report file"},
        {"a.inp", "--json {dir}/sub/../a.zrm", "the runtime message file"},
        {"nodes.csv", "--csv {dir}", "CSV results file"},
        {"a.inp", "--json {dir}/link.json", "input data file"},
        {"a.inp", "--json {dir}/out/nodes.csv --csv {dir}/out", "One output would overwrite"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        fs::create_directory(dir / "sub");
        Write_File(dir / c.input, deck);
        fs::create_symlink(dir / c.input, dir / "link.json");
        const std::string args = With_Directory(c.arguments, dir.path().string());
        std::string out;
        EXPECT_EQ(Run_Cli(Quoted(dir / c.input) + " " + args, &out), 64) << args << "\n" << out;
        EXPECT_NE(out.find("names the same file as"), std::string::npos) << args << "\n" << out;
        EXPECT_NE(out.find(c.expected), std::string::npos) << args << "\n" << out;
        EXPECT_EQ(Read_File(dir / c.input), deck) << args;
        const fs::path stem = fs::path(dir / c.input).replace_extension();
        EXPECT_FALSE(fs::exists(fs::path(stem).concat(".zro"))) << args;
        EXPECT_FALSE(fs::exists(dir / "out")) << args;
    }
}

TEST(CliOutputs, AnEmptyOutputNameIsAMistakeNotNoOutput) {
    TempDir dir;
    fs::copy_file(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp", dir / "a.inp");
    for (const char* option : {"--json", "--csv", "--deck-json"}) {
        std::string out;
        EXPECT_EQ(Run_Cli(Quoted(dir / "a.inp") + " " + option + " ''", &out), 64) << option;
        EXPECT_NE(out.find(std::string(option) + " was given an empty name"), std::string::npos)
            << out;
        EXPECT_FALSE(fs::exists(dir / "a.zro")) << option;
    }
}

TEST(CliOutputs, AnInputThatCannotBeOpenedSaysWhy) {
    TempDir dir;
    fs::create_symlink(dir / "loop.inp", dir / "loop.inp");
    std::string out;
    EXPECT_EQ(Run_Cli(Quoted(dir / "loop.inp"), &out), 2);
    EXPECT_NE(out.find("The input data file cannot be opened"), std::string::npos) << out;
    EXPECT_NE(out.find("symbolic links"), std::string::npos) << out;
}

// Decks saved in an 8-bit code page and UTF-8 decks cut inside a character: the run ends,
// its JSON parses (the parser refuses invalid UTF-8) and the replaced text is noted.
TEST(CliOutputs, TextThatIsNotUtf8GivesValidJson) {
    const std::string deck = Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp");
    const std::string long_title = std::string(255, 'x') + "\xC3\xA9" + "tail"; // é at 256
    struct Case {
        const char* what;
        std::string deck;
        const char* file_name;
        bool replaced; // bytes were replaced (warning -720)
    };
    const Case cases[] = {
        {"Latin-1 title", Replaced(deck, "Example 1: 24-inch", "Caf\xE9 1: 24-inch"), "a.inp",
         true},
        {"Latin-1 option label", Replaced(deck, "MaxIterations 100", "MaxIt\xE9rations 100"),
         "a.inp", true},
        {"title cut inside a character",
         Replaced(deck, "Example 1: 24-inch steel pipe pile in soft clay", long_title), "a.inp",
         false},
        {"option label cut inside a character",
         Replaced(deck, "MaxIterations 100", "MaxIterationsxx\xC3\xA9 100"), "a.inp", false},
        {"input file named in Latin-1", deck, "caf\xE9.inp", false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        Write_File(dir / c.file_name, c.deck);
        for (const char* option : {"--json", "--deck-json"}) {
            std::string out;
            const int code = Run_Cli(
                Quoted(dir / c.file_name) + " " + option + " " + Quoted(dir / "out.json"), &out);
            EXPECT_EQ(code, 0) << c.what << " " << option << "\n" << out;
            const std::string json = Read_File(dir / "out.json");
            nlohmann::json doc;
            EXPECT_NO_THROW(doc = nlohmann::json::parse(json)) << c.what << " " << option;
            // The deck document keeps no option labels; the results quote the label in the
            // note of warning -710.
            const bool label_only = std::string(c.what) == "Latin-1 option label";
            if (c.replaced && !(label_only && std::string(option) == "--deck-json")) {
                EXPECT_NE(json.find("\xEF\xBF\xBD"), std::string::npos) << c.what << option;
            } else if (std::string(c.file_name) == "a.inp") {
                EXPECT_EQ(json.find("\xEF\xBF\xBD"), std::string::npos) << c.what << option;
            }
            EXPECT_EQ(out.find("warning -720") != std::string::npos, c.replaced) << c.what << "\n"
                                                                                 << out;
        }
    }
}

} // namespace
} // namespace zarno::test
