#include "input/list_read.h"
#include "input/record_reader.h"
#include "input_test_support.h"

#include <charconv>
#include <gtest/gtest.h>

namespace zarno::test {
namespace {

TEST(ListLexing, RealsAcceptTheListDirectedForms) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"5", 5.0},      {"-1.5E3", -1500.0},   {"+2.D-2", 0.02}, {".5", 0.5},
                          {"5.", 5.0},     {"1.0e+2", 100.0},     {"3d1", 30.0},    {"-0", 0.0},
                          {"1e-999", 0.0}, {"0.0000254", 2.54e-5}};
    for (const Case& c : cases) {
        double v = -99.0;
        EXPECT_TRUE(Parse_List_Real(c.text, v)) << c.text;
        EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
}

TEST(ListLexing, MalformedOrOverflowingRealsAreRefused) {
    for (const char* text : {"1e999", "-1D400", "1e", "1.2.3", "abc", "inf", "nan", "0x10", "", "+",
                             ".", "1,0", "2*3.0", "1.5+3", "e5", "5 ", "１"}) {
        double v = 7.0;
        EXPECT_FALSE(Parse_List_Real(text, v)) << text;
        EXPECT_EQ(v, 7.0) << "a refused value leaves the target alone: " << text;
    }
}

// The stream conversion used where the standard library has no floating-point from_chars
// (the WebAssembly build) must give the same double, bit for bit, and the same range verdict.
TEST(ListLexing, ClassicStreamConversionMatchesFromChars) {
    for (const char* text :
         {"0", "5", "0.1", "36000", "29000000.0", "2.54e-7", "1.0e-5", "0.3333333333333333333333",
          "9007199254740993", "1.7976931348623157e308", "2.2250738585072014e-308", "4.9e-324",
          "1e-310", "1e-400", "1e400", "1.8e308", "123456789012345678901234567890e-20"}) {
        const std::string_view t(text);
        double expected = -1.0;
        const auto [end, expected_ec] =
            std::from_chars(t.data(), t.data() + t.size(), expected, std::chars_format::general);
        double v = -1.0;
        const std::errc ec = Convert_Decimal_Classic(t, v);
        EXPECT_EQ(ec, expected_ec) << text;
        if (expected_ec == std::errc()) {
            EXPECT_EQ(v, expected) << text;
        }
    }
    double v = 0.0;
    EXPECT_EQ(Convert_Decimal_Classic("1.5x", v), std::errc::invalid_argument);
}

TEST(ListLexing, IntegersAreWholeNumbersWithinRange) {
    int v = 0;
    EXPECT_TRUE(Parse_List_Int("-2147483648", v));
    EXPECT_EQ(v, -2147483647 - 1);
    EXPECT_TRUE(Parse_List_Int("+42", v));
    EXPECT_EQ(v, 42);
    for (const char* text : {"2147483648", "99999999999999999999", "1.0", "1e3", "-", "", "3x"}) {
        EXPECT_FALSE(Parse_List_Int(text, v)) << text;
    }
}

// Reads the items of one list-directed read statement from text.
struct Lexed {
    std::vector<std::string> items;
    ItemStatus last = ItemStatus::Item;
    int line = 0;
};

Lexed Lex(const std::string& text, int wanted, int skip_records = 0) {
    RecordReader r;
    r.Open_Text(text);
    std::string rec;
    for (int i = 0; i < skip_records; ++i) {
        r.Read_Record(rec);
    }
    r.Begin_List();
    Lexed out;
    for (int i = 0; i < wanted; ++i) {
        std::string token;
        bool quoted = false;
        out.last = r.Next_Item(token, quoted);
        if (out.last != ItemStatus::Item) {
            break;
        }
        out.items.push_back(token);
    }
    out.line = r.Line_Number();
    return out;
}

TEST(ListLexing, ItemsSplitOnBlanksAndCommasAndContinueOnFollowingLines) {
    Lexed a = Lex("1, 2  ,3\t4\n\n   \n5 6 7\n8\n", 5);
    EXPECT_EQ(a.items, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(a.line, 4) << "blank lines are skipped while values are wanted";
    Lexed b = Lex("1,\n2\n", 2);
    EXPECT_EQ(b.items, (std::vector<std::string>{"1", "2"})) << "a comma ending a line";
    Lexed q = Lex("'Strength I' \"it\"\"s\" plain\n", 3);
    EXPECT_EQ(q.items, (std::vector<std::string>{"Strength I", "it\"s", "plain"}));
}

TEST(ListLexing, NullValuesSlashesOpenQuotesAndLongLinesAreReported) {
    EXPECT_EQ(Lex("1,,3\n", 3).last, ItemStatus::Null_Value);
    EXPECT_EQ(Lex(",1\n", 2).last, ItemStatus::Null_Value);
    EXPECT_EQ(Lex("1,\n,3\n", 3).last, ItemStatus::Null_Value);
    EXPECT_EQ(Lex("1 2 /\n", 3).last, ItemStatus::Slash);
    EXPECT_EQ(Lex("'open\n", 1).last, ItemStatus::Bad_Quote);
    EXPECT_EQ(Lex("1\n", 2).last, ItemStatus::End_Of_File);
    EXPECT_EQ(Lex(std::string(5000, '1') + "\n", 1).last, ItemStatus::Long_Line);
}

TEST(ListLexing, EachReadStartsOnANewLineAndRecordsKeep256Characters) {
    RecordReader r;
    r.Open_Text("1 2 3\n4\r\n" + std::string(300, 'x') + "   \nlast");
    r.Begin_List();
    std::string token;
    bool quoted = false;
    ASSERT_EQ(r.Next_Item(token, quoted), ItemStatus::Item);
    EXPECT_EQ(token, "1");
    r.Begin_List(); // the rest of line 1 is skipped
    ASSERT_EQ(r.Next_Item(token, quoted), ItemStatus::Item);
    EXPECT_EQ(token, "4") << "a carriage return ends the line like a blank";
    std::string rec;
    ASSERT_TRUE(r.Read_Record(rec));
    EXPECT_EQ(rec, std::string(256, 'x'));
    ASSERT_TRUE(r.Read_Record(rec));
    EXPECT_EQ(rec, "last");
    EXPECT_EQ(r.Line_Number(), 4);
    EXPECT_FALSE(r.Read_Record(rec));
}

TEST(ListErrors, MessagesNameTheBlockTheLineAndTheExpectedValue) {
    ReadResult r = Read_Text(Input("SOIL LAYERS\n1\n1 0.0 abc\n"));
    EXPECT_EQ(r.status(), 190);
    EXPECT_TRUE(Contains(r.report, "**** Input Data Error No. 90 ****"));
    EXPECT_TRUE(Contains(r.report, "Unreadable input in the SOIL LAYERS block at line 4 of the "
                                   "input file."));
    EXPECT_TRUE(Contains(r.report, "Expected the depth of the bottom of layer 1 (a finite "
                                   "number), but found \"abc\"."));
    EXPECT_TRUE(Contains(r.messages, "Input Data Error No. 90"));
    EXPECT_TRUE(Contains(r.report, "Zarno ended prematurely due to input error number INP00090"));
}

TEST(ListErrors, HostileInputEndsWithAnInputError) {
    struct Case {
        std::string text;
        int status;
    };
    std::string random_bytes;
    for (int i = 0; i < 3000; ++i) {
        random_bytes.push_back(static_cast<char>((i * 7919 + 13) % 256));
    }
    const Case cases[] = {
        {"ZARNOK6\nTITLE\na\n", 191},                                  // end of file in a block
        {"ZARNOK6\nTITLE\n\n\n\n\n\n", 191},                           // no END
        {"ZARNOK6\nSOIL LAYERS\n2\n1 0 10\n", 191},                    // truncated table
        {"ZARNOK6\nLOADING\n1\n1 1 1e999 0 0 1\n", 190},               // overflow
        {"ZARNOK6\nLOADING\n1\n1 1.5 1 0 0 1\n", 190},                 // real for an integer
        {"ZARNOK6\nLOADING\n1\n1,,1 0 0 1\n", 190},                    // null value
        {"ZARNOK6\nLOADING\n1\n1 1 1 /\n", 190},                       // slash
        {"ZARNOK6\nLOADING\n" + std::string(100000, '9') + "\n", 190}, // endless number
        {"ZARNOK6\n" + random_bytes, 199},
        {"ZARNOK6\nSOIL LAYERS\n" + random_bytes, 190},
    };
    for (const Case& c : cases) {
        ReadResult r = Read_Text(c.text);
        EXPECT_EQ(r.status(), c.status) << c.text.substr(0, 60);
    }
}

TEST(ListErrors, EndOfFileNamesTheBlockAndWhatWasExpected) {
    ReadResult r = Read_Text("ZARNOK6\nTITLE\nt\n\n\n\n\n");
    EXPECT_EQ(r.status(), 191);
    EXPECT_TRUE(Contains(r.report, "The input file ended between blocks after line 7."));
    EXPECT_TRUE(Contains(r.report, "Expected a keyword line or the line END."));
    ReadResult s = Read_Text("ZARNOK6\nLOADING\n2\n1 1 100 0 0 1\n");
    EXPECT_EQ(s.status(), 191);
    EXPECT_TRUE(Contains(s.report, "The input file ended in the LOADING block after line 4."));
    EXPECT_TRUE(Contains(s.report, "Expected the line number of pile-head load 2 (an integer)."));
}

} // namespace
} // namespace zarno::test
