// The echo of the input at the top of the report: its layout for whole example decks, the
// checks between input blocks, the unit-weight and liquefied-sand warnings, and the
// reader errors that keep malformed data away from the analysis.
#include "engine/run_status.h"
#include "input/input_test_support.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace zarno::test {
namespace {

// A lateral deck in parts, so that each case changes only what it is about. The base is
// a 40 ft elastic pile, 24 in wide, in one elastic subgrade layer reaching 60 ft.
struct Deck {
    std::string options = Options();
    std::string sections = "1\n1\n11\n40.0\n2\n29000000.0\n24.0\n24.0\n452.4\n452.4\n16286.0\n"
                           "16286.0\n";
    std::string layers = "1\n13 0.0 60.0\n60.0 500.0\n60.0 500.0\n";
    std::string extra; // further blocks, after the options
    std::string loading = "1\n1 1 1000.0 0.0 0.0 1\n0\n";

    std::string Text() const {
        return "ZARNOK6\nTITLE\nEcho test pile\n\n\n\n\n" + options + extra + "SECTIONS\n" +
               sections + "SOIL LAYERS\n" + layers + "LOADING\n" + loading + "END\n";
    }
};

Deck With_Option(int index, const std::string& line, const std::string& units = "Units USCS") {
    Deck d;
    d.options = Options(units, index, line);
    return d;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(InputEchoChecks, InconsistentInputStopsWithItsInputErrorInBothFiles) {
    struct Case {
        const char* what;
        Deck deck;
        int status;
        std::string line; // a line of the message, in both files
    };
    std::vector<Case> cases;
    {
        Deck d;
        d.sections = "0\n";
        cases.push_back({"SECTIONS with no section", d, 117,
                         "The number of points to define the pile properties is 2 to 40, not the "
                         "input value of          0"});
    }
    {
        Deck d;
        d.layers = "1\n13 0.0 10.0\n60.0 500.0\n60.0 500.0\n";
        cases.push_back({"elastic subgrade 0-10 ft under a 40 ft pile", d, 118,
                         "Problem: The depth at the bottom of the lowermost soil layer is "
                         "  1.0000E+01\n         This depth is higher than the tip of the pile at "
                         "  4.0000E+01."});
    }
    {
        Deck d;
        d.layers = "1\n12 0.0 39.9\n60.0 300.0\n60.0 300.0\n";
        cases.push_back({"loess ending just above the tip", d, 118,
                         "Solution: Increase the depth of the soil profile or shorten the pile "
                         "length."});
    }
    {
        Deck d;
        d.layers = "1\n10 0.0 30.0\n60.0 1 20.0 0 0 0\n60.0 1 25.0 0 0 0\n";
        cases.push_back({"Piedmont ending above the tip", d, 118,
                         "This depth is higher than the tip of the pile at   4.0000E+01."});
    }
    {
        Deck d;
        d.sections = "1\n1\n11\n40.0\n2\n29000000.0\n0.0\n0.0\n452.4\n452.4\n16286.0\n16286.0\n";
        cases.push_back({"pile width 0", d, 127,
                         "Problem:  Zero values for one of the following values were \nentered "
                         "for one or more values of pile diameter."});
    }
    {
        Deck d = With_Option(5, "UsePYModifiers YES");
        d.layers = "1\n13 5.0 60.0\n60.0 500.0\n60.0 500.0\n";
        d.extra = "GROUPEFF\n2\n1 0.0 0.8 1.0\n2 60.0 0.8 1.0\n";
        cases.push_back({"p-multipliers starting above the ground", d, 121,
                         "          located at   0.0000E+00 below the top of the pile.\n"
                         "          The ground surface is located at   5.0000E+00."});
    }
    for (const char* cycles : {"     0", "     1", "  6000"}) {
        cases.push_back(
            {"cyclic loading outside 2 to 5000 cycles",
             With_Option(7, std::string("Loading CYCLIC") + cycles), 128,
             "are outside the valid range of 2 to 5,000.\n\nSolution:  Either correct "
             "the number of cycles of loading to be within 2 to 5,000\nor specify "
             "static loading.\nNumber of cycles of loading = " +
                 std::string(cycles).substr(std::string(cycles).find_first_not_of(' '))});
    }
    {
        Deck d = With_Option(3, "UseTipShear YES");
        d.extra = "TIP SHEAR\n2\n1 0.1 0.0\n2 0.5 100.0\n";
        cases.push_back({"tip shear curve starting away from zero", d, 150,
                         "appears to be in error at point 1."});
    }
    {
        Deck d = With_Option(3, "UseTipShear YES");
        d.extra = "TIP SHEAR\n3\n1 0.0 0.0\n2 0.5 100.0\n3 0.5 200.0\n";
        cases.push_back({"tip shear displacements not increasing", d, 150,
                         "appears to be in error at point 3."});
    }
    {
        Deck d = With_Option(14, "PrintPYCurves YES");
        d.extra = "DEPTHS OF PRINTED P-Y CURVES\n2\n1 10.0\n2 45.0\n";
        cases.push_back({"printed p-y depth below the tip", d, 130,
                         "Input Point 2 at   45.00 ft was not printed because it is below the "
                         "pile tip."});
    }
    {
        Deck d = With_Option(14, "PrintPYCurves YES");
        d.layers = "1\n13 5.0 60.0\n60.0 500.0\n60.0 500.0\n";
        d.extra = "DEPTHS OF PRINTED P-Y CURVES\n1\n1 2.0\n";
        cases.push_back({"printed p-y depth above the ground", d, 129,
                         "Problem:  A depth above the ground surface was specified for the "
                         "printing\nof a p-y curve."});
    }

    RunOutput control = Run_Text(Deck().Text());
    ASSERT_EQ(control.result, 0) << control.report;
    for (const Case& c : cases) {
        RunOutput out = Run_Text(c.deck.Text());
        const int n = c.status - 100;
        EXPECT_EQ(out.result, c.status) << c.what;
        const std::string header = "**** Input Data Error No. " + std::to_string(n) + " ****\n";
        for (const std::string* text : {&out.report, &out.messages}) {
            EXPECT_TRUE(Has(*text, header)) << c.what << "\n" << *text;
            EXPECT_TRUE(Has(*text, c.line)) << c.what << "\n" << *text;
            EXPECT_TRUE(
                Has(*text, "The analysis ended due to input error No. " + std::to_string(n) + "."))
                << c.what;
        }
        EXPECT_TRUE(Has(out.report, "Zarno ended prematurely due to input error number INP" +
                                        std::string(n < 100 ? "000" : "00") + std::to_string(n)))
            << c.what;
        // Nothing the echo rejects may reach the section analysis or the solver.
        EXPECT_FALSE(Has(out.messages, "Computing")) << c.what;
        EXPECT_FALSE(Has(out.messages, "Output of input data completed")) << c.what;
    }
}

TEST(InputEchoChecks, ReaderRejectsValuesOutsideTheirCodesNamingTheLine) {
    struct Case {
        const char* what;
        Deck deck;
        int status;
        std::string line;
    };
    std::vector<Case> cases;
    for (const char* type : {"0", "6"}) {
        Deck d;
        d.loading = std::string("1\n1 ") + type + " 1000.0 0.0 0.0 1\n0\n";
        cases.push_back({"loading type outside 1 to 5", d, 173,
                         std::string("Problem:  Pile-head load 1 in the LOADING block at line 45 "
                                     "of the input file has the loading type ") +
                             type + "."});
    }
    {
        Deck d;
        d.sections = "1\n1\n11\n40.0\n7\n29000000.0\n24.0\n";
        cases.push_back({"elastic shape code 7", d, 175,
                         "Problem:  Section 1 in the SECTIONS block at line 30 of the input file "
                         "has the cross-sectional shape code 7."});
    }
    {
        Deck d;
        d.layers = "1\n14 0.0 60.0\n60.0 3\n0.0 0.0\n0.5 100.0\n0.4 150.0\n60.0 3\n0.0 0.0\n"
                   "0.5 100.0\n2.0 150.0\n";
        cases.push_back({"user p-y curve whose y falls", d, 176,
                         "Problem:  Point 3 of the top p-y curve of soil layer 1 at line 44 of "
                         "the input file has y = 0.4, not larger than y = 0.5 of point 2."});
    }
    for (const Case& c : cases) {
        RunOutput out = Run_Text(c.deck.Text());
        EXPECT_EQ(out.result, c.status) << c.what << "\n" << out.report;
        for (const std::string* text : {&out.report, &out.messages}) {
            EXPECT_TRUE(Has(*text, c.line)) << c.what << "\n" << *text;
        }
        EXPECT_TRUE(Has(out.report, "The analysis ended due to input error No. " +
                                        std::to_string(c.status - 100) + "."));
    }
}

bool Unit_Weight_Warned(const RunOutput& out) {
    const std::string w = "\n**** Warning - Possible Input Data Error ****\n\nValues entered for "
                          "effective unit weights of soil were outside\n";
    return Has(out.report, w) && Has(out.messages, w);
}

TEST(InputEchoWarnings, UnitWeightsAtTheLimitsAreFlaggedAndCounted) {
    struct Case {
        const char* units;
        const char* gamma;
        bool warned;
    };
    const Case cases[] = {
        {"Units USCS", "20.0", true},   {"Units USCS", "20.5", false},
        {"Units USCS", "139.9", false}, {"Units USCS", "140.0", true},
        {"Units USCS", "150.0", true},  {"Units SI", "3.15", true},
        {"Units SI", "3.16", false},    {"Units SI", "21.9", false},
        {"Units SI", "22.0", true},
    };
    for (const Case& c : cases) {
        Deck d;
        d.options = Options(c.units);
        d.layers = std::string("1\n13 0.0 60.0\n") + c.gamma + " 500.0\n" + c.gamma + " 500.0\n";
        RunOutput out = Run_Text(d.Text());
        EXPECT_EQ(Unit_Weight_Warned(out), c.warned) << c.units << " " << c.gamma;
        if (std::string(c.units) == "Units SI" && c.warned) {
            EXPECT_TRUE(Has(out.report, "the limits of 3.15 kN/m3 or 22 kN/m3.\nThe input data "
                                        "for effective unit weight may be erroneous. Please "
                                        "check your data.\n"));
            EXPECT_TRUE(Has(out.messages, "the limits of 3.15 kN/m3 or 22 kN/m3.\nThe input data "
                                          "may be erroneous. Please check your data.\n"));
        }
        if (std::string(c.units) == "Units USCS") {
            // A recorded warning of the run, whose note names the layer and the value.
            EXPECT_EQ(out.result, c.warned ? WARNING_UNIT_WEIGHT_LIMITS : 0) << c.gamma << "\n"
                                                                             << out.report;
        }
    }
}

TEST(InputEchoWarnings, LiquefiedSandBelowSixMetresWarnsOnceAndIsCounted) {
    struct Case {
        const char* units;
        const char* bottom;
        bool warned;
    };
    const Case cases[] = {{"Units SI", "6.0", false},
                          {"Units SI", "6.5", true},
                          {"Units USCS", "19.68", false},
                          {"Units USCS", "20.0", true}};
    for (const Case& c : cases) {
        Deck d;
        d.options = Options(c.units);
        const bool si = std::string(c.units) == "Units SI";
        const std::string g = si ? "9.0" : "60.0";
        d.layers = std::string("2\n7 0.0 ") + c.bottom + "\n" + g + "\n" + g + "\n13 " + c.bottom +
                   " 60.0\n" + g + " 500.0\n" + g + " 500.0\n";
        RunOutput out = Run_Text(d.Text());
        const std::string first =
            si ? "   Warning : The depth of this layer is deeper than the recommended depth \n"
                 "             limit for using the p-y criteria for liquefied sand.\n\n"
               : "   Warning : The depth of this layer is deeper than the recommended depth "
                 "limit \n             for using the p-y criteria for liquefied sand.\n\n";
        EXPECT_EQ(Has(out.report, first), c.warned) << c.units << " " << c.bottom;
        EXPECT_EQ(Has(out.report, "limit of 6 meters for using the p-y criteria"), c.warned)
            << c.units << " " << c.bottom << "\n"
            << out.report;
        if (!si) {
            EXPECT_EQ(out.result, c.warned ? -354 : 0) << c.bottom;
        }
    }
}

TEST(InputEchoSoil, MassiveRockTypeCodeNamesItsConstant) {
    Deck d;
    d.layers = "2\n16 0.0 10.0\n80.0 5000.0 50 50.0 500000.0\n80.0 5000.0 35 50.0 500000.0\n"
               "16 10.0 60.0\n80.0 5000.0 35 50.0 500000.0\n80.0 5000.0 35 50.0 500000.0\n";
    RunOutput out = Run_Text(d.Text());
    EXPECT_TRUE(Has(out.report, "\n The rock type is (unclassified) User-defined Hoek-Brown "
                                "Material Constant mi = 11\n"));
    EXPECT_TRUE(Has(out.report, "\n The rock type is (igneous) granite, Hoek-Brown Material "
                                "Constant mi = 32\n"));
}

TEST(InputEchoSoil, SandOnlySummaryHasFrictionAndKColumnsWithDefaults) {
    Deck d;
    d.layers = "2\n5 0.0 20.0\n60.0 32.0 0.0\n60.0 32.0 0.0\n6 20.0 60.0\n62.0 36.0 90.0\n"
               "62.0 36.0 90.0\n";
    RunOutput out = Run_Text(d.Text());
    EXPECT_TRUE(Has(out.report,
                    "\nLayer               Soil Type                   Depth       Unit Wt.    "
                    "Friction       kpy        \n"));
    EXPECT_TRUE(Has(out.report, "\n-----   ----------------------------------   ----------   "
                                "----------   ----------   ----------    \n"));
    // Rows: number, name, depth, unit weight, friction angle, k (or the default marker).
    EXPECT_TRUE(Has(out.report, "\n  1     Sand (Reese, et al.)                       0.00       "
                                "60.000       32.000     default    \n"));
    EXPECT_TRUE(Has(out.report, "\n                                                 60.000       "
                                "62.000       36.000       90.000   \n"));
    EXPECT_TRUE(Has(out.report, "   NOTE: Internal default values for subgrade k will be "
                                "computed for\n         the above soil layer.\n"));
}

TEST(InputEchoSoil, GeneralUnitsWriteTheUnitWeightNoteAndBareSummaryRows) {
    Deck d;
    d.options = Options("Units GENERAL");
    RunOutput out = Run_Text(d.Text());
    const std::string note = "\n**** Warning ****\n\nValues of effective unit weight cannot be "
                             "checked because \ngeneral units have been selected.\n\n";
    EXPECT_TRUE(Has(out.report, note));
    EXPECT_TRUE(Has(out.messages, note));
    EXPECT_FALSE(Has(out.report, "Summary of Soil Properties"));
    EXPECT_FALSE(Has(out.report, "(p-y Curve Criteria)"));
    EXPECT_TRUE(Has(out.report, "\n  1     Elastic Subgrade                           0.00       "
                                "60.000      500.000\n"));
}

TEST(InputEchoWarnings, SectionWarningSurvivesTheLoadCasesIntoSummaryAndResult) {
    // A 36 in shaft with two 0.2 sq. in bars: the moment-curvature analysis runs out of
    // points (warning -305) before any load case starts.
    Deck d;
    d.sections = "1\n1\n1\n40.0\n36.0\n4000.0\n0.75\nUse default concrete tensile strength\n"
                 "Use internal stress-strain curve for concrete\nRebar Arrangement Not Same As "
                 "Section Above\nRebar in circle\n60000.0\n29000000.0\n2\n1\n0.505\n0.2\n3.0\n"
                 "0.0\n";
    d.loading = "1\n1 1 5000.0 0.0 0.0 1\n0\n";
    RunOutput out = Run_Text(d.Text());
    EXPECT_EQ(out.result, -305) << out.report;
    EXPECT_TRUE(Has(out.report, "Summary of Warning Messages"));
    EXPECT_TRUE(Has(out.report, "***** Warning *****\n\nToo many values were calculated for "
                                "moment-curvature.\n"));
    EXPECT_FALSE(Has(out.report, "No error or warning messages were generated"));
    EXPECT_TRUE(Has(out.messages, "The analysis ended with one or more warning messages."));
}

TEST(InputEchoLoads, LoadRowsShowUnitsByTypeAndWhichCasesRunTheLengthSweep) {
    Deck d;
    // Flag 1 means no deflection-versus-length sweep; any other value asks for one.
    d.loading = "3\n1 1 1000.0 0.0 0.0 1\n2 2 1000.0 0.001 0.0 0\n3 4 0.5 0.0 0.0 1\n0\n";
    RunOutput out = Run_Text(d.Text());
    EXPECT_TRUE(Has(out.report, "- Analysis includes automatic computation of pile-top "
                                "deflection vs.\n  pile embedment length\n"));
    // Write_Number in width 12: 1000 as F11.5, 0.001 as F11.7, 0.5 as F11.5, 0 as F11.4;
    // the thrust 0 in width 15 as F14.7.
    EXPECT_TRUE(Has(out.report, "\n   1     1     V =   1000.00000 lbs   M =       0.0000 in-lbs  "
                                "       0.0000000             No  \n"));
    EXPECT_TRUE(Has(out.report, "\n   2     2     V =   1000.00000 lbs   S =    0.0010000 in/in   "
                                "       0.0000000             Yes \n"));
    EXPECT_TRUE(Has(out.report, "\n   3     4     y =      0.50000 in    M =       0.0000 in-lbs  "
                                "       0.0000000             No  \n"));
}

// The echo part of a report: from the banner of the title block to the banner of the
// section computations that follows it.
std::vector<std::string> Echo_Lines(const std::string& report) {
    std::vector<std::string> lines;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    std::size_t first = 0;
    std::size_t last = lines.size();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (first == 0 && lines[i] == std::string(32, ' ') + "Problem Title") {
            first = i - 1;
        }
        // The echo ends where the section computations start, or where an input error
        // found after the echo (such as a layer with no p-y criterion) stops the run.
        if (first != 0 &&
            (lines[i].find("Computations of Nominal Moment Capacity") != std::string::npos ||
             lines[i].rfind("**** Input Data Error", 0) == 0)) {
            last = i - 1;
            break;
        }
    }
    return {lines.begin() + static_cast<std::ptrdiff_t>(first),
            lines.begin() + static_cast<std::ptrdiff_t>(last)};
}

TEST(InputEchoLayout, ExampleDecksMatchTheirReviewedEcho) {
    const fs::path root(ZARNO_SOURCE_DIR);
    const struct {
        const char* input;
        const char* expected;
    } decks[] = {{"examples/pipe_pile.inp", "tests/report/echo_expected/pipe_pile.txt"},
                 {"examples/drilled_shaft.inp", "tests/report/echo_expected/drilled_shaft.txt"},
                 {"fuzz/seeds/all_sections.inp", "tests/report/echo_expected/all_sections.txt"},
                 {"fuzz/seeds/all_soils.inp", "tests/report/echo_expected/all_soils.txt"}};
    for (const auto& deck : decks) {
        RunOutput out = Run_Text(Read_File(root / deck.input));
        const std::vector<std::string> got = Echo_Lines(out.report);
        std::vector<std::string> want;
        std::istringstream in(Read_File(root / deck.expected));
        std::string line;
        while (std::getline(in, line)) {
            want.push_back(line);
        }
        ASSERT_FALSE(want.empty()) << deck.expected;
        for (std::size_t i = 0; i < std::max(got.size(), want.size()); ++i) {
            const std::string g = i < got.size() ? got[i] : "<missing>";
            const std::string w = i < want.size() ? want[i] : "<missing>";
            ASSERT_EQ(g, w) << deck.input << ", echo line " << i + 1;
        }
    }
}

} // namespace
} // namespace zarno::test
