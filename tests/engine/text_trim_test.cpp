// Trimming of fixed-width fields and of lines read from files.
#include "engine/text_trim.h"

#include <gtest/gtest.h>

namespace zarno::test {
namespace {

TEST(TextTrim, TrailingAndBothEnds) {
    struct Case {
        const char* text;
        const char* right_blanks; // Trim_Right(text)
        const char* right_white;  // Trim_Right(text, WHITE_SPACE)
        const char* both_white;   // Trim_Both(text, WHITE_SPACE)
    };
    const Case cases[] = {
        {"in ", "in", "in", "in"},
        {" in-kip ", " in-kip", " in-kip", "in-kip"},
        {"title\r\n", "title\r\n", "title", "title"},
        {"a b \t ", "a b \t", "a b", "a b"},
        {"\t x.inp \r", "\t x.inp \r", "\t x.inp", "x.inp"},
        {"     ", "", "", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(Trim_Right(c.text), c.right_blanks);
        EXPECT_EQ(Trim_Right(c.text, WHITE_SPACE), c.right_white);
        EXPECT_EQ(Trim_Both(c.text, WHITE_SPACE), c.both_white);
    }
    EXPECT_EQ(Trim_Both("  kN "), "kN");
}

} // namespace
} // namespace zarno::test
