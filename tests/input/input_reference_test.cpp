// Every field the input reader reads has an entry in docs/input-reference.md under the
// name the reader's error messages give it, so a user who meets "Expected the <name> ..."
// finds the field explained, and a renamed field cannot leave the reference behind.
#include "test_support.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace zarno::test {
namespace {

// Field names as the reader passes them to its reads: literal names, the per-section and
// per-layer names built by its helpers, and formatted names with running numbers ("{}",
// written "n" in the reference).
std::set<std::string> Reader_Field_Names() {
    const std::regex patterns[] = {
        std::regex(R"re(\bOf\(\s*"([^"]+)")re"),
        std::regex(R"re(\bwhat\(\s*"([^"]+)"\s*\))re"),
        std::regex(R"re(\breal\(v\.values\[\d\],\s*"([^"]+)"\))re"),
        std::regex(R"re(\.(?:Int|Real|Word)\([^,;]+,\s*(?:\d+\s*,\s*)?"([^"]+)")re"),
        std::regex(R"re(fmt::format\(\s*"([a-z][^"]*\{\}[^"]*)")re"),
        std::regex(R"re(Value\(m,\s*[^,]+,\s*"([^"]+)")re"),
        std::regex(R"re(Read_Option_(?:Int|Real)\(m,\s*"[^"]+",\s*"([^"]+)")re"),
    };
    // Message fragments and the templates that compose the names above, not names.
    const std::set<std::string> not_names = {"a line longer than n characters",
                                             "in the n block",
                                             "the n at the n of layer n",
                                             "the n of n",
                                             "the n of section n",
                                             "from 1 to n for a lateral analysis",
                                             "of at most {:g}, n"};
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(ZARNO_SOURCE_DIR) / "src/input")) {
        if (entry.path().extension() != ".cpp") {
            continue;
        }
        const std::string source = Read_File(entry.path());
        for (const std::regex& re : patterns) {
            for (auto it = std::sregex_iterator(source.begin(), source.end(), re);
                 it != std::sregex_iterator(); ++it) {
                std::string name = (*it)[1].str();
                if (name.empty() || name.back() == ' ') {
                    continue; // the start of a name completed elsewhere
                }
                for (size_t at = name.find("{}"); at != std::string::npos;
                     at = name.find("{}", at)) {
                    name.replace(at, 2, "n");
                }
                if (!not_names.count(name)) {
                    names.insert(name);
                }
            }
        }
    }
    return names;
}

TEST(InputReference, EveryFieldTheReaderReadsHasAnEntry) {
    const std::string reference = Read_File(fs::path(ZARNO_SOURCE_DIR) / "docs/input-reference.md");
    const std::set<std::string> names = Reader_Field_Names();
    // The scan must find the reader's names at all, or the test would pass on nothing.
    ASSERT_GT(names.size(), 100u);
    for (const char* known : {"the number of pile increments", "cohesion", "section length",
                              "the axial thrust of load n"}) {
        EXPECT_TRUE(names.count(known)) << known;
    }
    for (const std::string& name : names) {
        EXPECT_NE(reference.find(name), std::string::npos)
            << "docs/input-reference.md has no entry for \"" << name << "\"";
    }
}

TEST(InputReference, EveryBlockKeywordAndOptionIsDocumented) {
    const std::string reference = Read_File(fs::path(ZARNO_SOURCE_DIR) / "docs/input-reference.md");
    const std::string reader = Read_File(fs::path(ZARNO_SOURCE_DIR) / "src/input/read_input.cpp");
    const std::regex keyword(R"re(line == "([A-Z][A-Z -]+)")re");
    int found = 0;
    for (auto it = std::sregex_iterator(reader.begin(), reader.end(), keyword);
         it != std::sregex_iterator(); ++it, ++found) {
        EXPECT_NE(reference.find("`" + (*it)[1].str() + "`"), std::string::npos) << (*it)[1];
    }
    EXPECT_GE(found, 12);
    for (const char* option :
         {"Units", "UseLRFD", "ComputeKmatrix", "UseTipShear", "UseSoilMovement", "UsePYModifiers",
          "ComputeEIOnly", "Loading", "MaxIterations", "ExcessDeflection", "Tolerance",
          "Increments", "PrintSummaryOnly", "PrintIncrement", "PrintPYCurves",
          "ComputeInteraction"}) {
        EXPECT_NE(reference.find(std::string("| `") + option + "` |"), std::string::npos) << option;
    }
}

} // namespace
} // namespace zarno::test
