#include "report/fortran_format.h"
#include "report/text_file.h"
#include "test_support.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace zarno::test {
namespace {

TEST(WriteNumber, FormatFollowsMagnitude) {
    struct Case {
        double v;
        int h;
        const char* expected;
    };
    const Case cases[] = {
        {0.0, 15, "      0.0000000"},     // zero: F14.7
        {5.0e-13, 15, "      0.0000000"}, // below 1e-12 counts as zero
        {10000.0, 15, " 10000.00000000"}, // 10000 itself keeps H-7 decimals
        {10000.5, 15, "         10000."}, // above 10000: no decimals
        {-123456.0, 10, "  -123456."},
        {1.0e12, 15, "  1.0000000E+12"}, // beyond 10^(H-3)-1: scientific
        {12345678.0, 10, "  1.23E+07"},  // H=10: above 9999999 scientific
        {3.14159, 10, "     3.142"},     // H=10: 0.1 < |v| <= 10000 as F9.3
        {0.05, 10, "   0.05000"},        // H=10: 0.001 <= |v| <= 0.1 as F9.5
        {0.0005, 10, "  5.00E-04"},      // H=10: smaller values scientific
        {-2.5e-7, 12, " -2.5000E-07"},
        {1.0e100, 16, "  1.00000000+100"}, // three-digit exponent drops the E
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Format_Number(c.v, c.h), c.expected) << c.v << " in width " << c.h;
        EXPECT_EQ(Format_Number(c.v, c.h).size(), static_cast<size_t>(c.h));
    }
}

// The format changes at single-precision powers of ten: 10^(H-3) - 1, 10^(9-H) and
// 10^(7-H). Values on each threshold and beside it, in widths on both sides of those whose
// thresholds are decided once, against the rule with the powers computed here.
TEST(WriteNumber, FormatChangesAtSinglePrecisionPowersOfTen) {
    auto power = [](int e) { return static_cast<double>(std::pow(10.0f, static_cast<float>(e))); };
    for (int h = 8; h <= 30; ++h) {
        const double scientific_above = power(h - 3) - 1.0;
        const double seven_above = power(9 - h);
        const double five_from = power(7 - h);
        for (const double t : {scientific_above, seven_above, five_from}) {
            for (const double v : {std::nextafter(t, 0.0), t, std::nextafter(t, INFINITY)}) {
                std::string expected;
                if (v < 1.0e-12) {
                    expected = " " + Format_F(0.0, h - 1, h - 8); // counts as zero
                } else if (v > scientific_above || v < five_from) {
                    expected = " " + Format_ES(v, h - 1, h - 8);
                } else if (v > 10000.0) {
                    expected = " " + Format_F(v, h - 1, 0);
                } else {
                    expected = " " + Format_F(v, h - 1, v > seven_above ? h - 7 : h - 5);
                }
                EXPECT_EQ(Format_Number(v, h), expected) << v << " in width " << h;
            }
        }
    }
}

TEST(WriteNumber, NotANumberIsSpelledOut) {
    for (int h : {10, 15, 20}) {
        EXPECT_EQ(Format_Number(std::numeric_limits<double>::quiet_NaN(), h), "  Not-a-Number");
    }
}

// Fields are composed in place in the open line: a line far longer than its first room,
// with fields of every kind (a not-a-number field is wider than its width), must come out
// exactly as the fields formatted one by one.
TEST(TextFile, LongLinesKeepEveryField) {
    TextFile f;
    f.Open_In_Memory();
    std::string expected;
    for (int i = 0; i < 60; ++i) {
        const double v = i == 7 ? std::numeric_limits<double>::quiet_NaN() : (i - 20) * 12.375;
        const int width = 10 + i % 11;
        f.Write_Number(v, width);
        expected += Format_Number(v, width);
        f.Write_Integer(i, 4);
        expected += Format_I(i, 4);
        f.Write_Text("|");
        expected += "|";
    }
    f.Write_Field10("Sand");
    f.Write_Blanks(3);
    f.End_Line();
    f.Close();
    EXPECT_EQ(f.Text(), expected + "Sand         \n");
}

TEST(TextFile, ComposesLinesFromSuccessiveWrites) {
    TempDir dir;
    {
        TextFile f;
        ASSERT_TRUE(f.Open(dir / "t.txt"));
        f.Write_Integer(7, 3);
        f.Write_Blanks(2);
        f.Write_Number(1.5, 10);
        f.End_Line();
        f.End_Line(); // no open line: an empty line
        f.Write_Integer(1000, 3);
        f.Write_Integer(42, 99); // out-of-range width is taken as 10
        f.Write_Field10("Sand");
        f.Write_Line("|");
        f.Write_Blank_Line_Text("text");
    }
    EXPECT_EQ(Read_File(dir / "t.txt"), "  7       1.500\n\n***        42Sand      |\n text\n");
}

TEST(TextFile, RewindStartsTheFileAfresh) {
    TempDir dir;
    {
        TextFile f;
        ASSERT_TRUE(f.Open(dir / "t.txt"));
        f.Write_Line("reader message");
        ASSERT_TRUE(f.Rewind());
        f.Write_Line("banner");
    }
    EXPECT_EQ(Read_File(dir / "t.txt"), "banner\n");
}

TEST(TextFile, LargeTextIsWrittenInBlocksAndRewindTruncatesWhatReachedTheFile) {
    TempDir dir;
    const std::string line(99, 'x');
    {
        TextFile f;
        ASSERT_TRUE(f.Open(dir / "t.txt"));
        for (int i = 0; i < 20000; ++i) { // 2 MB: more than one block reaches the file
            f.Write_Line(line);
        }
        EXPECT_GT(fs::file_size(dir / "t.txt"), 0u);
        ASSERT_TRUE(f.Rewind());
        f.Write_Line("banner");
        EXPECT_TRUE(f.Close());
    }
    EXPECT_EQ(Read_File(dir / "t.txt"), "banner\n");
}

TEST(TextFile, ReplacingAFileLeavesExactlyTheNewText) {
    // An existing file is overwritten in place: a longer old text must not survive past the
    // new one, nor the longer text a run wrote before it rewound (over a short old file as
    // over a long one), and a second name of the same file (a hard link) sees the new text.
    TempDir dir;
    struct Case {
        std::string old_text;
        std::string new_line;
        bool rewind;
    };
    const Case cases[] = {{std::string(5000, 'o') + "\n", "new", false},
                          {"old\n", std::string(300, 'n'), false},
                          {std::string(5000, 'o') + "\n", "new", true},
                          {"old\n", "new", true},
                          {"old\n", "new", false},
                          {"", "new", false}};
    for (const Case& c : cases) {
        const fs::path file = dir / "t.txt";
        const fs::path link = dir / "link.txt";
        fs::remove(link);
        { std::ofstream(file, std::ios::binary | std::ios::trunc) << c.old_text; }
        fs::create_hard_link(file, link);
        {
            TextFile f;
            ASSERT_TRUE(f.Open(file));
            if (c.rewind) {
                for (int i = 0; i < 20000; ++i) { // more than one block reaches the file
                    f.Write_Line(std::string(99, 'x'));
                }
                ASSERT_TRUE(f.Rewind());
            }
            f.Write_Line(c.new_line);
            EXPECT_TRUE(f.Close());
        }
        EXPECT_EQ(Read_File(file), c.new_line + "\n");
        EXPECT_EQ(Read_File(link), c.new_line + "\n");
    }
}

TEST(TextFile, FailedWriteAndCloseAreReported) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    TextFile f;
    ASSERT_TRUE(f.Open("/dev/full"));
    f.Write_Line("text");
    EXPECT_FALSE(f.Failed()); // still in memory
    EXPECT_FALSE(f.Flush());
    EXPECT_TRUE(f.Failed());
    EXPECT_EQ(f.Failure(), "writing failed: No space left on device");
    EXPECT_FALSE(f.Close());
}

TEST(TextFile, InMemoryTextIsKeptAndNoFileIsCreated) {
    TextFile f(nullptr);
    f.Open_In_Memory();
    f.Write_Number(2.5, 10);
    f.End_Line();
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(f.Text(), "     2.500\n");
    f.Write_Line("after close"); // has nowhere to go
    EXPECT_EQ(f.Take_Text(), "     2.500\n");
}

// A discarded output is open (the run treats it as its file) but composes and keeps
// nothing, even on a fallback stream; opened afresh in memory it composes again.
TEST(TextFile, DiscardedOutputKeepsNothingUntilOpenedAfresh) {
    TempDir dir;
    const fs::path console = dir / "console.txt";
    std::FILE* fallback = std::fopen(console.c_str(), "w");
    ASSERT_NE(fallback, nullptr);
    {
        TextFile f(fallback);
        f.Open_Discarding();
        EXPECT_TRUE(f.Is_Open());
        EXPECT_FALSE(f.Composed());
        f.Write_Number(2.5, 10);
        f.Write_Integer(7, 4);
        f.Write_Blanks(3);
        f.Write_Field10("Sand");
        f.Write_Text("text");
        f.End_Line();
        f.Write_Line("line");
        f.Blank_Lines(2);
        EXPECT_TRUE(f.Rewind());
        EXPECT_TRUE(f.Flush());
        EXPECT_TRUE(f.Close());
        EXPECT_FALSE(f.Failed());
        EXPECT_EQ(f.Text(), "");

        f.Open_In_Memory(0);
        EXPECT_TRUE(f.Composed());
        f.Write_Number(2.5, 10);
        f.End_Line();
        EXPECT_TRUE(f.Close());
        EXPECT_EQ(f.Text(), "     2.500\n");
    }
    std::fclose(fallback);
    EXPECT_EQ(Read_File(console), "");
}

// Until the file is opened, whole lines and composed lines go to the fallback stream, each
// with its end; after the open they go to the file only.
TEST(TextFile, LinesBeforeTheOpenGoToTheFallbackStream) {
    TempDir dir;
    const fs::path console = dir / "console.txt";
    std::FILE* fallback = std::fopen(console.c_str(), "w");
    ASSERT_NE(fallback, nullptr);
    {
        TextFile f(fallback);
        f.Write_Line("whole");
        f.Write_Text("open ");
        f.Write_Line("line");
        f.End_Line();
        ASSERT_TRUE(f.Open(dir / "t.txt"));
        f.Write_Line("in the file");
        EXPECT_TRUE(f.Close());
    }
    std::fclose(fallback);
    EXPECT_EQ(Read_File(console), "whole\nopen line\n\n");
    EXPECT_EQ(Read_File(dir / "t.txt"), "in the file\n");
}

// Every width, the ones composed in place and the narrower and wider ones that are not, in
// one line far longer than its first room: each field as the formatted number.
TEST(TextFile, NumberFieldsOfEveryWidthMatchTheFormattedNumber) {
    const double values[] = {0.0,      -0.0,      2.5e-13,
                             -3.14159, 12345.678, -1.0e20,
                             7.5e-5,   1.0e100,   std::numeric_limits<double>::quiet_NaN(),
                             INFINITY};
    TextFile f;
    f.Open_In_Memory();
    std::string expected;
    for (int width = 0; width <= kMaxPlacedNumber + 3; ++width) {
        for (const double v : values) {
            f.Write_Number(v, width);
            expected += Format_Number(v, width);
        }
    }
    f.End_Line();
    f.Close();
    EXPECT_EQ(f.Text(), expected + "\n");
}

} // namespace
} // namespace zarno::test
