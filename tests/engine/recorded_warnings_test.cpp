// Nothing the engine writes as a warning is lost to the programs that read its results, and
// every message about the input says where the fault is and what to do about it.
#include "lateral/lateral_input.h"
#include "report/warnings.h"
#include "test_support.h"

#include <algorithm>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zarno::test {
namespace {

std::string Example(const std::string& name) {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / name);
}

// Line number (from 1) of the first line of text holding `needle`.
int Line_Of(const std::string& text, const std::string& needle) {
    const size_t at = text.find(needle);
    EXPECT_NE(at, std::string::npos) << needle;
    return 1 +
           static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}

RunResults Run_Deck(const std::string& text, std::string* report = nullptr) {
    RunRequest r = Request_In_Memory("deck.inp", &text);
    r.report_text = report;
    RunResults results;
    Run_Analysis(r, Fixed_Time, results);
    return results;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) {
        s += l + "\n";
    }
    return s;
}

// The notes of one code, joined.
std::string Notes_Of(const RunResults& r, int code) {
    std::string s;
    for (const MessageResult& n : r.notes) {
        if (n.code == code) {
            s += Joined(n.text);
        }
    }
    return s;
}

const MessageResult* Warning_Of(const RunResults& r, int code) {
    for (const MessageResult& w : r.warnings) {
        if (w.code == code) {
            return &w;
        }
    }
    return nullptr;
}

struct WarningCase {
    const char* name;
    std::string deck;
    int code;
    std::vector<std::string> in_note; // each must appear in the code's notes
};

TEST(RecordedWarnings, EveryWarningTheEngineWritesIsInTheResultsWithWhereItArose) {
    const std::string pipe = Example("pipe_pile.inp");
    const std::string shaft = Example("drilled_shaft.inp");
    const std::string sand_top = "5  0.0  6.0\n18.0  32.0  24400.0\n18.0  32.0  24400.0";
    const std::vector<WarningCase> cases = {
        {"solution imbalance of the drilled-shaft example",
         shaft,
         -5501,
         {"Load case 1", "moment imbalance", "increase the number of pile increments"}},
        {"layers with a gap",
         Replaced(pipe, "2  20.0  70.0", "2  25.0  70.0"),
         -717,
         {"layer 1 ends at 20 ft and layer 2 starts at 25 ft, leaving a gap of 5 ft",
          "Layer 2 was analysed from 20 ft"}},
        {"layers that overlap",
         Replaced(pipe, "2  20.0  70.0", "2  15.0  70.0"),
         -717,
         {"layer 2 starts at 15 ft, an overlap of 5 ft"}},
        {"numbers left over on the section count line",
         Replaced(pipe, "SECTIONS\n1\n", "SECTIONS\n1 1 20\n"),
         -718,
         {fmt::format("SECTIONS block at line {} of the input file: \"1 20\" was left over",
                      Line_Of(pipe, "SECTIONS") + 1),
          "put each value on a line of its own"}},
        {"a seventh number on a load line",
         Replaced(pipe, "1  1  20000.0  0.0  150000.0  1", "1  1  20000.0  0.0  150000.0  1  7"),
         -718,
         {fmt::format("LOADING block at line {}", Line_Of(pipe, "1  1  20000.0")), "\"7\""}},
        {"unit weight in pci",
         Replaced(pipe, "52.6  500.0  0.02", "0.03  500.0  0.02"),
         -712,
         {"SOIL LAYERS, layer 1: the effective unit weight of 0.03 pcf", "pci"}},
        {"unit weights unchecked in general units",
         Replaced(pipe, "Units USCS", "Units GENERAL"),
         -713,
         {"cannot be checked in general units"}},
        {"cohesion in Pa",
         Replaced(shaft, sand_top, "1  0.0  6.0\n8.0  20000.0  0.02\n8.0  20000.0  0.02"),
         -3042,
         {"SOIL LAYERS, layer 1 (soft clay): the undrained shear strength of 20000 kPa",
          "entered in Pa"}},
        {"friction angle above 48 degrees",
         Replaced(shaft, sand_top, "5  0.0  6.0\n18.0  50.0  24400.0\n18.0  50.0  24400.0"),
         -302,
         {"SOIL LAYERS, layer 1 (sand): the friction angle of 50 degrees"}},
        {"steel modulus in ksi",
         Replaced(pipe, "29000000.0", "29000.0"),
         -711,
         {"Pile section 1: the elastic modulus of casing or pipe of 29000 psi", "ksi"}},
        {"steel modulus in MPa",
         Replaced(shaft, "420000.0\n200000000.0", "420000.0\n200000.0"),
         -711,
         {"rebar elastic modulus of 200000 kPa", "MPa or GPa"}},
    };
    for (const WarningCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResults r = Run_Deck(c.deck);
        const MessageResult* w = Warning_Of(r, c.code);
        ASSERT_NE(w, nullptr) << "warning " << c.code << " not recorded";
        EXPECT_GE(w->count, 1);
        EXPECT_FALSE(w->text.empty()) << "warning " << c.code << " has no text";
        const std::string notes = Notes_Of(r, c.code);
        for (const std::string& s : c.in_note) {
            EXPECT_NE(notes.find(s), std::string::npos) << s << "\n--- notes:\n" << notes;
        }
    }
}

// The drilled-shaft example reports its imbalance in every place a program looks: the
// return value (its only warning), the summary at the end of the report.
TEST(RecordedWarnings, SolutionImbalanceCountsInTheReturnValueAndTheSummary) {
    std::string report;
    const RunResults r = Run_Deck(Example("drilled_shaft.inp"), &report);
    EXPECT_EQ(r.return_value, -5501);
    EXPECT_NE(report.find("Summary of Warning Messages"), std::string::npos);
    EXPECT_NE(report.find("**** Warning - Possible Solution Error 5501 ****\n\nForce and moment "
                          "imbalances may be too large for a good solution.\nSee the output"),
              std::string::npos);
}

// Every code the engine records has a text for the summary and the programs.
TEST(RecordedWarnings, EveryCodeHasASummaryText) {
    for (const int code : {-302,  -303,  -305,  -306,  -308,  -316,  -317,  -354,  -355,  -400,
                           -710,  -711,  -712,  -713,  -714,  -715,  -716,  -717,  -718,  -719,
                           -3041, -3042, -3051, -3052, -3053, -3054, -3061, -3062, -3063, -3064,
                           -3071, -3072, -3073, -3074, -3261, -3262, -3263, -3264, -5501}) {
        EXPECT_FALSE(Warning_Text_Lines(code).empty()) << code;
    }
}

// A layer gap is shown in the echo beside the depth as typed.
TEST(RecordedWarnings, EchoShowsTheTopOfALayerAsTypedAndAsUsed) {
    std::string report;
    Run_Deck(Replaced(Example("pipe_pile.inp"), "2  20.0  70.0", "2  25.0  70.0"), &report);
    const size_t layer2 = report.find("Layer 2");
    ASSERT_NE(layer2, std::string::npos);
    const std::string echo = report.substr(layer2, 400);
    EXPECT_NE(echo.find("to top of layer"), std::string::npos);
    EXPECT_NE(echo.find("25.000"), std::string::npos) << echo;
    EXPECT_NE(echo.find("Top of layer used (bottom of the layer above)"), std::string::npos)
        << echo;
}

struct ErrorCase {
    const char* name;
    std::string deck;
    int code;
    std::vector<std::string> in_text;
};

TEST(InputMessages, ErrorsNameTheLineTheFieldAndWhatIsAllowed) {
    const std::string pipe = Example("pipe_pile.inp");
    const std::string shaft = Example("drilled_shaft.inp");
    const std::vector<ErrorCase> cases = {
        {"negative friction angle",
         Replaced(shaft, "18.0  32.0  24400.0", "18.0  -34.0  24400.0"),
         33,
         {"friction angle at the top of layer 1 in the SOIL LAYERS block at line " +
              std::to_string(Line_Of(shaft, "18.0  32.0")) + " of the input file is -34",
          "below 90 degrees"}},
        {"negative cohesion",
         Replaced(pipe, "52.6  720.0  0.02", "52.6  -720.0  0.02"),
         33,
         {"cohesion at the bottom of layer 1", "-720", "zero or more"}},
        {"misspelt block keyword",
         Replaced(pipe, "SOIL LAYERS", "SOIL LAYER"),
         99,
         {"SOIL LAYER",
          fmt::format("Found at line {} of the input file: did you mean \"SOIL LAYERS\"?",
                      Line_Of(pipe, "SOIL LAYERS"))}},
        {"lower-case keyword",
         Replaced(pipe, "LOADING", "Loading"),
         99,
         {"did you mean \"LOADING\"?"}},
        {"unknown line",
         Replaced(pipe, "END", "FINISH"),
         99,
         {"where a block keyword is expected: TITLE, OPTIONS"}},
        {"yes-no option",
         Replaced(pipe, "PrintPYCurves NO", "PrintPYCurves Y"),
         95,
         {fmt::format("Found at line {} of the input file: \"PrintPYCurves Y\"",
                      Line_Of(pipe, "PrintPYCurves")),
          "\"PrintPYCurves YES\" or \"PrintPYCurves NO\""}},
        {"loading option",
         Replaced(pipe, "Loading STATIC", "Loading Static"),
         95,
         {"columns 9-14 must hold STATIC or CYCLIC"}},
        {"units line",
         Replaced(pipe, "Units USCS", "Units US"),
         99,
         {"did you mean \"Units USCS\"?"}},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResults r = Run_Deck(c.deck);
        ASSERT_TRUE(r.has_error);
        EXPECT_EQ(r.error.code, c.code);
        const std::string text = Joined(r.error.text);
        for (const std::string& s : c.in_text) {
            EXPECT_NE(text.find(s), std::string::npos) << s << "\n--- error:\n" << text;
        }
    }
}

// A pile whose modulus was typed in ksi buckles under a thrust that the true pile carries
// (2 sqrt(k EI) is about 67,000 kips with 29,000 ksi, 2,100 kips with 29,000 psi); the stop
// says to correct the modulus rather than the thrust.
TEST(InputMessages, BucklingFromAnImplausibleModulusSaysSo) {
    LateralCase c;
    c.loads = {"1 10000.0 0.0 5000000.0 1"};
    const RunResults sound = Run_Deck(Lateral_Input(c));
    EXPECT_FALSE(sound.has_error) << Joined(sound.error.text);
    c.E = 29000.0;
    const RunResults r = Run_Deck(Lateral_Input(c));
    ASSERT_TRUE(r.has_error);
    const std::string text = Joined(r.error.text);
    EXPECT_NE(text.find("exceeds the buckling load"), std::string::npos) << text;
    EXPECT_NE(text.find("Pile section 1: the elastic modulus of 29000 psi"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Correct that modulus first"), std::string::npos) << text;
}

} // namespace
} // namespace zarno::test
