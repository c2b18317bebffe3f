// Decks that used to change silently or wrap: an AXIAL THRUST LOADS block in a lateral run,
// integers beyond the 32-bit range in a deck document, a printing increment below 1, and
// text cut inside a character or saved in an 8-bit code page.
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace zarno::test {
namespace {

using nlohmann::json;

std::string Pipe_Deck() {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp");
}

json Pipe_Document() {
    const std::string text = Pipe_Deck();
    RunRequest r;
    r.input_file = "pipe.inp";
    r.input_text = &text;
    std::string document;
    RunResults results;
    EXPECT_LE(Read_Deck(r, document, results), 0);
    return json::parse(document);
}

// The block shares the load table with LOADING: in a lateral run it replaced the number of
// load cases and re-sorted the thrusts. Whatever its count, it is now refused by name.
TEST(DeckFaults, AxialThrustBlockInALateralRunIsAnInputError) {
    for (const char* block : {"AXIAL THRUST LOADS\n0\n", "AXIAL THRUST LOADS\n1\n1 5000.0\n",
                              "AXIAL THRUST LOADS\n2\n1 9000.0\n2 1000.0\n",
                              "AXIAL THRUST LOADS\n3\n1 1.0\n2 2.0\n3 3.0\n"}) {
        const std::string deck = Replaced(Pipe_Deck(), "END\n", std::string(block) + "END\n");
        const MemoryRun run = Run_Text_In_Memory(deck);
        EXPECT_EQ(run.result, 141) << block;
        EXPECT_NE(Error_Text(run.results).find("AXIAL THRUST LOADS block at line 47"),
                  std::string::npos)
            << Error_Text(run.results);
        EXPECT_TRUE(run.results.load_cases.empty()) << block;
    }
}

// An empty list is "none": no block is written and both load cases run as given; a list of
// another length than the loads is refused by the writer naming the path.
TEST(DeckFaults, DeckWriterWritesNoEmptyThrustBlockAndRefusesAMismatchedOne) {
    json doc = Pipe_Document();
    doc["axial_thrusts"] = json::array();
    std::string text;
    std::string error;
    ASSERT_EQ(Write_Deck(doc.dump(), text, error), 0) << error;
    EXPECT_EQ(text.find("AXIAL THRUST LOADS"), std::string::npos) << text;
    const MemoryRun run = Run_Text_In_Memory(text);
    EXPECT_EQ(run.result, 0);
    ASSERT_EQ(run.results.load_cases.size(), 2u);
    EXPECT_EQ(run.results.load_cases[1].axial_thrust, 150000.0);

    for (const json& thrusts : {json::array({5000.0}), json::array({1.0, 2.0, 3.0})}) {
        doc["axial_thrusts"] = thrusts;
        EXPECT_NE(Write_Deck(doc.dump(), text, error), 0);
        EXPECT_EQ(error.rfind("/axial_thrusts: holds", 0), 0u) << error;
    }
}

// JSON keeps integers from 2^63 up as unsigned numbers; they used to wrap to negative ints.
TEST(DeckFaults, IntegersBeyondTheIntRangeAreRefusedWithTheirPath) {
    const struct {
        const char* path; // JSON pointer of the field
        const char* value;
    } cases[] = {
        {"/options/PrintIncrement", "18446744073709551615"},
        {"/options/MaxIterations", "18446744073709551516"},
        {"/options/Increments", "9223372036854775808"},
        {"/options/MaxIterations", "-9223372036854775808"},
        {"/options/PrintIncrement", "2147483648"},
        {"/format_version", "18446744073709551615"},
    };
    for (const auto& c : cases) {
        json doc = Pipe_Document();
        doc[json::json_pointer(c.path)] = json::parse(c.value);
        std::string text;
        std::string error;
        EXPECT_NE(Write_Deck(doc.dump(), text, error), 0) << c.path << " " << c.value;
        EXPECT_EQ(error.rfind(std::string(c.path) + ": integer out of range", 0), 0u)
            << c.path << " " << c.value << ": " << error;
    }
}

TEST(DeckFaults, PrintIncrementBelowOneIsAnInputError) {
    for (const char* value : {"0", "-1", "-2147483647"}) {
        const std::string deck = Replaced(Pipe_Deck(), "PrintIncrement 1\n",
                                          std::string("PrintIncrement ") + value + "\n");
        const MemoryRun run = Run_Text_In_Memory(deck);
        EXPECT_EQ(run.result, 133) << value;
        EXPECT_NE(
            Error_Text(run.results).find("printing increment in the OPTIONS block at line 22"),
            std::string::npos)
            << Error_Text(run.results);
    }
}

TEST(DeckFaults, AFirstLineTooLongToReadIsNamed) {
    const MemoryRun run =
        Run_Text_In_Memory("ZARNOK6" + std::string(5000, ' ') + "\n" + Pipe_Deck().substr(8));
    EXPECT_EQ(run.result, 132);
    EXPECT_NE(Error_Text(run.results).find("its first line is longer than the 4096 characters"),
              std::string::npos)
        << Error_Text(run.results);
}

} // namespace
} // namespace zarno::test
