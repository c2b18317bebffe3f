// Text of the input as UTF-8: characters are never cut in two, bytes of another encoding
// are replaced and noted, and the deck document of such a deck is valid JSON.
#include "engine/utf8.h"
#include "input/record_reader.h"
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace zarno::test {
namespace {

TEST(Utf8Text, ValidityReplacementAndCuts) {
    const struct {
        std::string text;
        bool valid;
        std::string replaced;
    } cases[] = {
        {"plain", true, "plain"},
        {"Caf\xC3\xA9", true, "Caf\xC3\xA9"},
        {"Caf\xE9", false, "Caf\xEF\xBF\xBD"},                           // Latin-1 e acute
        {"\xC3", false, "\xEF\xBF\xBD"},                                 // a character cut short
        {"\xC0\xAF", false, "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // overlong form of '/'
        {"\xED\xA0\x80", false, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // a surrogate
        {"\xF4\x90\x80\x80", false,
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // above U+10FFFF
        {"\xF0\x9F\x8C\x89 pile", true, "\xF0\x9F\x8C\x89 pile"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Is_Valid_Utf8(c.text), c.valid) << c.text;
        std::string s = c.text;
        EXPECT_EQ(Replace_Invalid_Utf8(s), !c.valid) << c.text;
        EXPECT_EQ(s, c.replaced);
        EXPECT_TRUE(Is_Valid_Utf8(s));
    }
    // "aé€" is 1 + 2 + 3 bytes: every cut falls before a character, never inside one.
    const std::string s = "a\xC3\xA9\xE2\x82\xAC";
    const size_t expected[] = {0, 1, 1, 3, 3, 3, 6, 6};
    for (size_t n = 0; n < std::size(expected); ++n) {
        EXPECT_EQ(Utf8_Prefix_Length(s, n), expected[n]) << n;
    }
}

TEST(Utf8Text, RecordsAreCutOnACharacterBoundaryAndReplacedBytesNoted) {
    RecordReader r;
    r.Open_Text(std::string(255, 'x') + "\xC3\xA9tail\nCaf\xE9\nplain\n1 2\xE9 3\n");
    std::string record;
    ASSERT_TRUE(r.Read_Record(record));
    EXPECT_EQ(record, std::string(255, 'x'));
    ASSERT_TRUE(r.Read_Record(record));
    EXPECT_EQ(record, "Caf\xEF\xBF\xBD");
    ASSERT_TRUE(r.Read_Record(record));
    r.Begin_List();
    std::string token;
    bool quoted = false;
    ASSERT_EQ(r.Next_Item(token, quoted), ItemStatus::Item);
    ASSERT_EQ(r.Next_Item(token, quoted), ItemStatus::Item);
    EXPECT_EQ(token, "2\xEF\xBF\xBD");
    EXPECT_EQ(r.Non_Utf8_Lines(), (std::vector<int>{2, 4}));
    EXPECT_EQ(r.Non_Utf8_Line_Count(), 2);
}

TEST(Utf8Text, ADeckInAnEightBitCodePageReadsToValidJsonWithAWarning) {
    const std::string text =
        Replaced(Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp"),
                 "Two service load cases", "Two service load cases, Caf\xE9 \xAB\xBB");
    RunRequest r;
    r.input_file = "deck.inp";
    r.input_text = &text;
    std::string document;
    RunResults results;
    EXPECT_EQ(Read_Deck(r, document, results), -720);
    const nlohmann::json doc = nlohmann::json::parse(document);
    EXPECT_EQ(doc["title"][4], "Two service load cases, Caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD");
    ASSERT_EQ(results.notes.size(), 1u);
    EXPECT_EQ(results.notes[0].code, -720);
    EXPECT_NE(results.notes[0].text[0].find("Line 7 of the input file"), std::string::npos)
        << results.notes[0].text[0];
}

} // namespace
} // namespace zarno::test
