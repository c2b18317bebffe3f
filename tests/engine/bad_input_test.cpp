// Bad input must never lose the input file nor end as a success: every deck or file
// layout below is refused with its own status and a message that names the cause.
#include "engine/run_status.h"
#include "lateral/lateral_input.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace zarno::test {
namespace {

// A valid lateral deck: elastic pipe-like pile in elastic subgrade, one shear load.
LateralCase Base_Case() {
    LateralCase c;
    c.length_ft = 50.0;
    c.loads = {"1 20000 0 0 1"};
    return c;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

const char* kConcreteShaft = "1\n50\n36\n"
                             "FC\n0.75\nUse default concrete tensile strength\n"
                             "Use internal stress-strain curve for concrete\n"
                             "Rebar Arrangement Not Same As Section Above\nRebar in circle\n"
                             "60000\n29000000\n8\n1\nBARDIA\n0.79\n3\n0\n";

std::string Shaft(const std::string& fc, const std::string& bar_diameter) {
    std::string s = Replace(kConcreteShaft, "FC", fc);
    return Replace(s, "BARDIA", bar_diameter);
}

std::string With_Section(const std::string& lines) {
    LateralCase c = Base_Case();
    c.section_lines = lines;
    return Lateral_Input(c);
}

std::string With_Layers(const std::string& layers) {
    LateralCase c = Base_Case();
    c.layers = layers;
    return Lateral_Input(c);
}

bool Has_Non_Finite_Number(const std::string& text) {
    return text.find("NaN") != std::string::npos || text.find("Infinity") != std::string::npos;
}

TEST(BadInput, ValidBaseDeckEndsNormally) {
    // The decks below differ from this one by one fault each.
    const RunOutput out = Run_Text(Lateral_Input(Base_Case()));
    EXPECT_EQ(out.result, 0) << out.report;
    EXPECT_EQ(Run_Text(With_Section(Shaft("4000", "1.0"))).result, 0);
}

TEST(BadInput, EachImpossibleDeckIsAnInputErrorNamingItsCause) {
    struct Row {
        const char* fault;
        std::string deck;
        int status;
        const char* message;
    };
    LateralCase huge_e = Base_Case();
    huge_e.E = 1e25;
    LateralCase zero_length = Base_Case();
    zero_length.length_ft = 0.0;
    LateralCase no_load = Base_Case();
    no_load.loads.clear();
    const std::string base = Lateral_Input(Base_Case());
    const std::string no_sections = Replace(
        base,
        base.substr(base.find("SECTIONS\n"), base.find("SOIL LAYERS\n") - base.find("SECTIONS\n")),
        "");
    const std::vector<Row> rows = {
        {"f'c of 0", With_Section(Shaft("0", "1.0")), 133,
         "The concrete compressive strength of section 1 in the SECTIONS block at line 31 of "
         "the input file is 0."},
        {"f'c below 0", With_Section(Shaft("-4000", "1.0")), 133,
         "Solution: Give a value of at least 100 and at most 30000 psi; the strength is read in "
         "psi, so a value entered in ksi is 1000 times too small."},
        // Positive but far too small values used to reach the report as NaN and Infinity.
        {"f'c of 1e-30 psi", With_Section(Shaft("1e-30", "1.0")), 133,
         "Give a value of at least 100 and at most 30000 psi"},
        {"diameter of 1e-30 in",
         With_Section(Replace(Shaft("4000", "1.0"), "1\n50\n36\n", "1\n50\n1e-30\n")), 133,
         "Solution: Give a value of at least 0.01 and at most 1200."},
        {"negative bar diameter", With_Section(Shaft("4000", "-1.0")), 133,
         "The bar diameter of section 1 in the SECTIONS block at line 41"},
        {"E of 1e25 psi", Lateral_Input(huge_e), 133,
         "The elastic modulus of section 1 in the SECTIONS block at line 31 of the input file "
         "is 1e+25."},
        {"pipe wall thicker than the radius", With_Section("4\n50\n24\n13\n36000\n29000000\n"), 133,
         "Solution: Give a value of at most 12, half the outer diameter."},
        {"subgrade k of 1.7e308", With_Layers("1\n5 0 50\n60 30 1.7e308\n60 30 1.7e308\n"), 133,
         "The subgrade modulus k at the top of layer 1 in the SOIL LAYERS block"},
        {"negative unit weight", With_Layers("1\n13 0 50\n-60 100\n60 100\n"), 133,
         "The effective unit weight at the top of layer 1 in the SOIL LAYERS block at line 41"},
        {"layer bottom above its top", With_Layers("1\n13 50 0\n60 100\n60 100\n"), 134,
         "The depth of the bottom of layer 1 in the SOIL LAYERS block at line 40 of the input "
         "file is 0, above the top of the layer (50)."},
        {"LOADING count of 0", Lateral_Input(no_load), 133,
         "Solution: Give a value from 1 to 100 for a lateral analysis."},
        {"LOADING count of -1", Replace(Lateral_Input(no_load), "LOADING\n0\n", "LOADING\n-1\n"),
         133, "The number of pile-head loads in the LOADING block at line 44"},
        {"distributed-load depths decreasing", Replace(base, "0\nEND\n", "2\n1 10 5\n2 0 5\nEND\n"),
         134, "The depth of distributed load point 2 in the LOADING block at line 48"},
        {"pile length 0", Lateral_Input(zero_length), 137,
         "Problem:  The pile length (the sum of the section lengths) is 0."},
        {"no SECTIONS block", no_sections, 135,
         "The input has no SECTIONS block, so there is no pile to analyse."},
        {"no OPTIONS block", "ZARNOK6\nTITLE\nt\n\n\n\n\nEND\n", 135,
         "The input has no OPTIONS block"},
        {"lower-case header", "zarnok6\n" + base.substr(8), 132,
         "is not a Zarno input file: its first item is \"zarnok6\"."},
        {"unrelated file", "<html>\n<body>hello</body>\n", 132, "its first item is \"<html>\"."},
        {"longer first item", "ZARNOK6X\n" + base.substr(8), 132,
         "its first item is \"ZARNOK6X\"."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        const RunOutput out = Run_Text(row.deck);
        EXPECT_EQ(out.result, row.status);
        EXPECT_NE(out.report.find(row.message), std::string::npos) << out.report;
        EXPECT_NE(out.messages.find(row.message), std::string::npos);
        const std::string closing =
            "The analysis ended due to input error No. " + std::to_string(row.status - 100) + ".";
        EXPECT_NE(out.messages.find(closing), std::string::npos);
        EXPECT_EQ(out.report.find("ended normally"), std::string::npos);
        EXPECT_FALSE(Has_Non_Finite_Number(out.report + out.plot + out.messages));
    }
}

TEST(BadInput, ByteOrderMarkIsSkippedAndEqualLayerTopsAreMadeContiguous) {
    const std::string base = Lateral_Input(Base_Case());
    const RunOutput plain = Run_Text(base);
    const RunOutput bom = Run_Text("\xEF\xBB\xBF" + base);
    EXPECT_EQ(bom.result, 0) << bom.report;
    EXPECT_EQ(bom.plot, plain.plot);

    // Two layers that both start at the pile head: the second starts at the bottom of the
    // first, exactly as an overlap of a few feet does.
    const std::string equal_tops = With_Layers("2\n13 0 20\n60 100\n60 100\n"
                                               "13 0 50\n60 300\n60 300\n");
    const std::string overlap = With_Layers("2\n13 0 20\n60 100\n60 100\n"
                                            "13 15 50\n60 300\n60 300\n");
    const RunOutput a = Run_Text(equal_tops);
    const RunOutput b = Run_Text(overlap);
    // Both are closed for the analysis and said so (warning -717).
    EXPECT_EQ(a.result, WARNING_LAYER_GAP) << a.report;
    EXPECT_EQ(b.result, WARNING_LAYER_GAP) << b.report;
    const auto sa = Read_Stations(a.plot);
    const auto sb = Read_Stations(b.plot);
    ASSERT_FALSE(sa.empty());
    ASSERT_EQ(sa.size(), sb.size());
    EXPECT_DOUBLE_EQ(sa[0][0].y, sb[0][0].y);
}

TEST(BadInput, DistributedLoadDepthsInAscendingOrderWithAStepAreAccepted) {
    const std::string base = Lateral_Input(Base_Case());
    const RunOutput out = Run_Text(Replace(base, "0\nEND\n", "3\n1 0 5\n2 10 5\n3 10 0\nEND\n"));
    EXPECT_EQ(out.result, 0) << out.report;
}

TEST(BadInput, AGrosslyUnbalancedSolutionIsARuntimeErrorNotARemark) {
    // A stiffness of 1e22 lb-in2 (E and I each within their ranges) makes the difference
    // equations ill-conditioned: the head of a rigid pile pushed by a positive shear moves
    // backwards and the lateral forces miss their balance by percent of the load.
    LateralCase c = Base_Case();
    c.E = 1e8;
    c.I = 1e14;
    const RunOutput out = Run_Text(Lateral_Input(c));
    EXPECT_EQ(out.result, 252);
    EXPECT_NE(out.report.find("Problem:  The solution of load case 1 is not in equilibrium."),
              std::string::npos)
        << out.report;
    EXPECT_NE(out.messages.find("The analysis ended due to runtime error No. 52."),
              std::string::npos);
    // The same pile with a real steel stiffness balances and ends normally.
    c.E = 29.0e6;
    c.I = 16000.0;
    EXPECT_EQ(Run_Text(Lateral_Input(c)).result, 0);
}

// ---- the run's files -------------------------------------------------------------------

struct FileCase {
    const char* fault;
    int status;
    const char* message;
};

// Runs the request and checks that the input is untouched (when input_before is given; a
// FIFO must not be read here either) and that no output exists.
void Expect_Refused(const RunRequest& r, const std::string* input_before, const FileCase& c,
                    const std::vector<std::string>& absent) {
    SCOPED_TRACE(c.fault);
    testing::internal::CaptureStdout();
    const int result = Run_Analysis(r, Fixed_Time);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, c.status);
    EXPECT_NE(out.find(c.message), std::string::npos) << out;
    const std::string closing =
        "The analysis ended due to runtime error No. " + std::to_string(c.status - 200) + ".";
    EXPECT_EQ(Count(out, closing), 1) << out;
    EXPECT_EQ(out.find("ended normally"), std::string::npos);
    if (input_before != nullptr) {
        EXPECT_EQ(Read_File(r.input_file), *input_before) << "the input is byte-identical";
    }
    for (const std::string& name : absent) {
        EXPECT_FALSE(fs::exists(name)) << name;
    }
}

TEST(BadInput, AnOutputThatWouldReplaceTheInputOrAnotherOutputIsRefused) {
    const std::string deck = Lateral_Input(Base_Case());
    enum Layout {
        report_is_input,
        plot_is_input_by_other_spelling,
        messages_link_to_input,
        report_hard_link_to_input,
        report_is_plot,
        report_is_future_plot_by_other_spelling,
        report_link_to_future_plot,
        mei_file_is_input,
    };
    struct Row {
        Layout layout;
        FileCase expect;
    };
    const Row rows[] = {
        {report_is_input,
         {"report named as the input", 250, "names the same file as the input data file"}},
        {plot_is_input_by_other_spelling, {"plot through ./sub/../", 250, "The plot output file"}},
        {messages_link_to_input,
         {"message file a symbolic link to the input", 250, "The runtime message file"}},
        {report_hard_link_to_input,
         {"report a hard link to the input", 250, "Writing it would destroy the input data."}},
        {report_is_plot,
         {"report and plot one file", 250, "One output would overwrite the other."}},
        {report_is_future_plot_by_other_spelling,
         {"report the plot through ./sub/../", 250, "One output would overwrite the other."}},
        {report_link_to_future_plot,
         {"report a dangling link to the plot", 250, "names the same file as the output report"}},
        {mei_file_is_input,
         {"moment-curvature file named as the input", 250, "The moment-curvature file"}},
    };
    for (const Row& row : rows) {
        TempDir dir;
        RunRequest r = Request_In(dir, deck);
        fs::create_directory(dir / "sub");
        std::vector<std::string> absent = {r.report_file, r.plot_file, r.message_file};
        switch (row.layout) {
        case report_is_input:
            r.report_file = r.input_file;
            absent.erase(absent.begin());
            break;
        case plot_is_input_by_other_spelling:
            r.plot_file = (dir.path() / "sub" / ".." / "case.inp").string();
            absent.erase(absent.begin() + 1);
            break;
        case messages_link_to_input:
            fs::create_symlink(r.input_file, dir / "link.zrm");
            r.message_file = dir / "link.zrm";
            absent.pop_back();
            break;
        case report_hard_link_to_input:
            fs::create_hard_link(r.input_file, dir / "hard.zro");
            r.report_file = dir / "hard.zro";
            absent.erase(absent.begin());
            break;
        case report_is_plot:
            r.report_file = r.plot_file;
            break;
        case report_is_future_plot_by_other_spelling:
            r.report_file = (dir.path() / "sub" / ".." / "case.zrp").string();
            break;
        case report_link_to_future_plot:
            fs::create_symlink(dir / "case.zrp", dir / "link.zro");
            r.report_file = dir / "link.zro";
            absent.erase(absent.begin());
            break;
        case mei_file_is_input:
            r.mei_report_names = {dir / "mc1.txt", r.input_file};
            break;
        }
        Expect_Refused(r, &deck, row.expect, absent);
    }
}

TEST(BadInput, OutputsThatAlreadyExistOrAreADeviceAreTheirOwnFiles) {
    // Existing outputs of an earlier run are distinct files, and so is a device beside
    // regular files; two outputs sent to the one device are still one file.
    if (!fs::exists("/dev/null")) {
        GTEST_SKIP() << "no /dev/null on this system";
    }
    const std::string deck = Lateral_Input(Base_Case());
    TempDir dir;
    RunRequest r = Request_In(dir, deck);
    ASSERT_EQ(Run_Analysis(r, Fixed_Time), 0);
    const std::string report = Read_File(r.report_file);
    EXPECT_EQ(Run_Analysis(r, Fixed_Time), 0) << "the same names again";
    EXPECT_EQ(Read_File(r.report_file), report);

    RunRequest to_device = r;
    to_device.plot_file = "/dev/null";
    EXPECT_EQ(Run_Analysis(to_device, Fixed_Time), 0);

    TempDir other;
    RunRequest both = Request_In(other, deck);
    both.plot_file = "/dev/null";
    both.message_file = "/dev/null";
    Expect_Refused(
        both, &deck,
        {"plot and messages to one device", 250, "One output would overwrite the other."},
        {both.report_file});
}

TEST(BadInput, AnInputThatIsNotARegularFileOrANameTooLongIsRefused) {
    const std::string deck = Lateral_Input(Base_Case());
    {
        TempDir dir;
        RunRequest r = Request_In(dir, deck);
        fs::create_directory(dir / "folder.inp");
        r.input_file = dir / "folder.inp";
        Expect_Refused(r, nullptr, {"directory", 251, "is a directory, not a regular file"},
                       {r.report_file, r.plot_file, r.message_file});
    }
    {
        TempDir dir;
        RunRequest r = Request_In(dir, deck);
        ASSERT_EQ(mkfifo((dir / "pipe.inp").c_str(), 0600), 0);
        r.input_file = dir / "pipe.inp";
        // Opening a FIFO for reading would wait for a writer forever.
        Expect_Refused(r, nullptr, {"FIFO", 251, "is a FIFO (named pipe), not a regular file"},
                       {r.report_file, r.plot_file, r.message_file});
    }
    {
        // A name one character longer than the 256-character field is refused, not cut to
        // the name of another file.
        TempDir dir;
        RunRequest r = Request_In(dir, deck);
        const std::string prefix = dir / "";
        const std::string long_name = prefix + std::string(257 - prefix.size(), 'x');
        r.report_file = long_name;
        Expect_Refused(r, &deck,
                       {"report name too long", 253,
                        "The name of the output report file is longer than 256 characters (257)."},
                       {long_name, r.plot_file, r.message_file});
    }
}

TEST(BadInput, NamesDatNamingTheInputAsReportLeavesTheInputIntact) {
    TempDir dir;
    const std::string deck = Lateral_Input(Base_Case());
    Write_File(dir / "in.inp", deck);
    Write_File(dir / "NAMES.DAT", (dir / "in.inp") + "\n" + (dir / "in.inp") + "\n" +
                                      (dir / "o.zrp") + "\n" + (dir / "o.zrm") + "\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Run_From_Directory(dir.path().string(), Fixed_Time), 250);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Read_File(dir / "in.inp"), deck);
    EXPECT_FALSE(fs::exists(dir / "o.zrp"));
}

} // namespace
} // namespace zarno::test
