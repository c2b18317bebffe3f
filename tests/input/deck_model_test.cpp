// The deck as data: a deck read into its document, the document written back as deck text,
// and the round trip through both, which must give the same document and the same run.
#include "run/run.h"
#include "schema_validator.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace zarno::test {
namespace {

using nlohmann::json;

struct DeckRead {
    int status = 0;
    std::string document;
    RunResults results;
};

DeckRead Read_Deck_Text(const std::string& text, const std::string& label = "deck.inp") {
    RunRequest r;
    r.input_file = label;
    r.input_text = &text;
    DeckRead d;
    d.status = Read_Deck(r, d.document, d.results);
    return d;
}

std::string Write_Deck_Text(const std::string& document) {
    std::string text;
    std::string error;
    EXPECT_EQ(Write_Deck(document, text, error), 0) << error;
    return text;
}

struct RunOfText {
    int result = 0;
    std::string report;
    std::string plot;
};

RunOfText Run_Deck_Text(const std::string& text, const std::string& label) {
    RunRequest r = Request_In_Memory(label, &text);
    RunOfText out;
    r.report_text = &out.report;
    r.plot_text = &out.plot;
    out.result = Run_Analysis(r, Fixed_Time);
    return out;
}

std::string Source(const std::string& relative) {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / relative);
}

SchemaValidator Deck_Schema() {
    return SchemaValidator(json::parse(Source("docs/deck-schema.json")));
}

struct Deck {
    std::string name;
    std::string text;
};

// The shipped decks, and variants of them that reach what they leave out: p-y modifiers
// without their block, an interaction code, cyclic loading, batter and slope, soil
// movements in millimetres, thrusts of AXIAL THRUST LOADS over the loads of LOADING, and
// manual strands of two types in one section.
std::vector<Deck> Decks_Without_Errors() {
    std::vector<Deck> decks;
    for (const char* name :
         {"examples/pipe_pile.inp", "examples/drilled_shaft.inp", "examples/ei_only_shaft.inp",
          "examples/lrfd_pile.inp", "fuzz/seeds/all_sections.inp", "fuzz/seeds/all_soils.inp"}) {
        decks.push_back({name, Source(name)});
    }
    const std::string pipe = Source("examples/pipe_pile.inp");
    const std::string shaft = Source("examples/drilled_shaft.inp");
    decks.push_back({"py modifiers", Replaced(pipe, "UsePYModifiers NO", "UsePYModifiers YES")});
    decks.push_back(
        {"interaction and cyclic",
         Replaced(Replaced(pipe, "ComputeInteraction NO", "ComputeInteraction YES\nCode ACI318"),
                  "Loading STATIC     0", "Loading CYCLIC    20")});
    decks.push_back({"batter, slope and soil movements",
                     Replaced(Replaced(shaft, "UseSoilMovement NO", "UseSoilMovement YES"), "\nEND",
                              "\nPILE BATTER AND SLOPE\n5.0\n-2.5\nSOIL MOVEMENTS\n"
                              "2\n1 0.0 25.0\n2 6.0 0.0\nEND")});
    decks.push_back(
        {"interaction thrusts after the loads",
         Replaced(Replaced(pipe, "ComputeInteraction NO", "ComputeInteraction YES\nCode AASHTO"),
                  "\nEND", "\nAXIAL THRUST LOADS\n2\n1 150000.0\n2 0.0\nEND")});
    decks.push_back({"manual strands of two types", Replaced(Source("fuzz/seeds/all_sections.inp"),
                                                             "2 0 5 12.0 0.0", "2 1 3 12.0 0.0")});
    for (const char* name : {"examples/monopile_cowden.inp", "examples/monopile_dunkirk.inp",
                             "examples/monopile_bothkennar.inp"}) {
        decks.push_back({name, Source(name)});
    }
    return decks;
}

// Every deck that reads without an error: its document follows the schema, the written deck
// reads back to the same document, and a run of the written deck gives the same report and
// plot file, digit for digit, as a run of the original.
TEST(DeckRoundTrip, WrittenDeckReadsAndRunsLikeTheOriginal) {
    const SchemaValidator schema = Deck_Schema();
    for (const Deck& deck : Decks_Without_Errors()) {
        SCOPED_TRACE(deck.name);
        const std::string label = "deck.inp";
        const DeckRead first = Read_Deck_Text(deck.text, label);
        ASSERT_LE(first.status, 0);
        const json document = json::parse(first.document);
        EXPECT_EQ(schema.Validate(document), "");

        const std::string written = Write_Deck_Text(first.document);
        const DeckRead second = Read_Deck_Text(written, label);
        EXPECT_EQ(second.status, first.status);
        EXPECT_EQ(json::parse(second.document), document) << written;

        const RunOfText original = Run_Deck_Text(deck.text, label);
        const RunOfText again = Run_Deck_Text(written, label);
        EXPECT_EQ(again.result, original.result);
        EXPECT_EQ(again.report, original.report);
        EXPECT_EQ(again.plot, original.plot);
    }
}

// The document holds values as the deck gives them: millimetres, square millimetres and
// degrees of an SI deck come back as entered although the reader stores metres and radians.
TEST(DeckDocument, HoldsTheValuesAsEnteredInTheDeckUnits) {
    const Deck deck = Decks_Without_Errors()[8];
    ASSERT_EQ(deck.name, "batter, slope and soil movements");
    const DeckRead d = Read_Deck_Text(deck.text);
    ASSERT_EQ(d.status, 0);
    const json j = json::parse(d.document);
    EXPECT_EQ(j["options"]["Units"], "SI");
    const json& s = j["sections"][0];
    EXPECT_EQ(s["section_type_code"], 1);
    EXPECT_EQ(s["section_length"].get<double>(), 15.0);
    EXPECT_EQ(s["diameter"].get<double>(), 1200.0);
    EXPECT_EQ(s["concrete"]["maximum_aggregate_size"].get<double>(), 19.0);
    EXPECT_TRUE(s["concrete"]["concrete_tensile_strength"].is_null());
    EXPECT_EQ(s["rebar"]["arrangement"], "circle");
    EXPECT_EQ(s["rebar"]["bar_diameter"].get<double>(), 32.0);
    EXPECT_EQ(s["rebar"]["bar_area"].get<double>(), 804.0);
    EXPECT_EQ(s["rebar"]["concrete_cover_thickness"].get<double>(), 75.0);
    EXPECT_EQ(j["pile_batter_and_slope"]["ground_slope_angle"].get<double>(), 5.0);
    EXPECT_EQ(j["pile_batter_and_slope"]["pile_batter_angle"].get<double>(), -2.5);
    EXPECT_EQ(j["soil_movements"][0]["movement"].get<double>(), 25.0);
    const json& layer = j["soil_layers"][1];
    EXPECT_EQ(layer["py_type"], 6);
    EXPECT_EQ(layer["py_name"], "API Sand");
    EXPECT_EQ(layer["top"].get<double>(), 6.0);
    EXPECT_EQ(layer["bottom_values"]["friction_angle"].get<double>(), 38.0);
    EXPECT_EQ(layer["bottom_values"]["subgrade_modulus_k"].get<double>(), 33900.0);
    const json& load = j["loading"]["loads"][1];
    EXPECT_EQ(load["loading_type"], 2);
    EXPECT_EQ(load["condition_1"].get<double>(), 250.0);
    EXPECT_EQ(load["axial_thrust"].get<double>(), 1500.0);
    EXPECT_TRUE(j["axial_thrusts"].is_null());

    // Thrusts of AXIAL THRUST LOADS after LOADING (with ComputeInteraction YES) replace the
    // loads' thrusts one for one, in their order; the loads keep their types and conditions.
    const Deck both = Decks_Without_Errors()[9];
    ASSERT_EQ(both.name, "interaction thrusts after the loads");
    const json b = json::parse(Read_Deck_Text(both.text).document);
    EXPECT_EQ(b["axial_thrusts"], json::parse("[150000.0, 0.0]"));
    EXPECT_EQ(b["loading"]["loads"][1]["loading_type"], 1);
    EXPECT_EQ(b["loading"]["loads"][1]["axial_thrust"].get<double>(), 0.0);

    // A bending stiffness run keeps the thrusts of its AXIAL THRUST LOADS block.
    const json ei = json::parse(Read_Deck_Text(Source("examples/ei_only_shaft.inp")).document);
    EXPECT_EQ(ei["axial_thrusts"], json::parse("[0.0, 200000.0, 500000.0]"));
    EXPECT_TRUE(ei["loading"].is_null());
    EXPECT_EQ(ei["options"]["ComputeEIOnly"], true);
}

// Typed decimals that the reader converts (millimetres, square millimetres, degrees) come
// back exactly as typed, not as the converted value multiplied back (500.1 mm would come
// back as 500.09999999999997).
TEST(DeckDocument, TypedDecimalsComeBackExactlyAfterConversion) {
    const std::string shaft = Source("examples/drilled_shaft.inp");
    for (const char* typed : {"1219.2", "500.1", "501.3", "254.3", "1234.5678"}) {
        SCOPED_TRACE(typed);
        const std::string deck = Replaced(shaft, "\n1200.0\n", std::string("\n") + typed + "\n");
        const DeckRead d = Read_Deck_Text(deck);
        ASSERT_EQ(d.status, 0);
        EXPECT_EQ(json::parse(d.document)["sections"][0]["diameter"].get<double>(),
                  std::stod(typed));
    }
    for (const char* typed : {"804.25", "3.83", "1.97", "506.7"}) {
        SCOPED_TRACE(typed);
        const std::string deck = Replaced(shaft, "\n804.0\n", std::string("\n") + typed + "\n");
        const DeckRead d = Read_Deck_Text(deck);
        ASSERT_EQ(d.status, 0);
        EXPECT_EQ(json::parse(d.document)["sections"][0]["rebar"]["bar_area"].get<double>(),
                  std::stod(typed));
    }
    for (const char* typed : {"0.1", "1.7", "7.5", "30.0", "45.0", "-12.3", "88.9"}) {
        SCOPED_TRACE(typed);
        const std::string deck = Replaced(
            shaft, "\nEND", std::string("\nPILE BATTER AND SLOPE\n0.0\n") + typed + "\nEND");
        const DeckRead d = Read_Deck_Text(deck);
        ASSERT_EQ(d.status, 0);
        EXPECT_EQ(
            json::parse(d.document)["pile_batter_and_slope"]["pile_batter_angle"].get<double>(),
            std::stod(typed));
    }
}

// Reading computes nothing and writes nothing: a deck in a directory of its own leaves the
// directory as it was, and gives the same document as the same bytes handed over as text.
TEST(DeckDocument, ReadingAFileWritesNoFile) {
    TempDir dir;
    const std::string text = Source("examples/pipe_pile.inp");
    Write_File(dir / "pipe.inp", text);
    RunRequest r;
    r.input_file = dir / "pipe.inp";
    std::string document;
    RunResults results;
    EXPECT_EQ(Read_Deck(r, document, results), 0);
    EXPECT_EQ(document, Read_Deck_Text(text, r.input_file).document);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_TRUE(results.load_cases.empty());
}

// A deck with an error gives the run's input error status, the error in the results and
// no document: a range check of the reader, a check of the whole input, an option and a
// check the echo makes (tip shear curve not starting at 0).
TEST(DeckDocument, DeckWithAnErrorGivesTheInputErrorAndNoDocument) {
    const std::string pipe = Source("examples/pipe_pile.inp");
    struct Case {
        std::string text;
        int status;
    };
    const Case cases[] = {
        {Replaced(pipe, "Increments 100", "Increments 39"), 155},
        {Replaced(pipe, "52.6", "5260.0"), 133},
        {pipe.substr(0, pipe.find("LOADING")) + "END\n", 136},
        {Replaced(pipe, "UseLRFD NO", "UseLRFD MAYBE"), 195},
        {Replaced(Replaced(pipe, "UseTipShear NO", "UseTipShear YES"), "\nEND",
                  "\nTIP SHEAR\n2\n1 0.1 0.0\n2 0.5 100.0\nEND"),
         150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        const DeckRead d = Read_Deck_Text(c.text);
        EXPECT_EQ(d.status, c.status);
        EXPECT_EQ(d.document, "");
        EXPECT_TRUE(d.results.has_error);
        EXPECT_EQ(d.results.error.code, c.status - 100);
        EXPECT_FALSE(d.results.error.text.empty());
    }
}

// The writer names the JSON path of the first field it cannot use.
TEST(DeckWriter, NamesThePathOfTheFirstBadField) {
    const json good = json::parse(Read_Deck_Text(Source("examples/pipe_pile.inp")).document);
    struct Case {
        const char* pointer;
        json value; // null: remove the field
        const char* error;
    };
    const Case cases[] = {
        {"/options/Tolerance", nullptr, "/options/Tolerance: missing"},
        {"/sections/0/section_length", "60", "/sections/0/section_length: expected a number"},
        {"/soil_layers/1/top_values/cohesion", nullptr,
         "/soil_layers/1/top_values/cohesion: missing"},
        {"/loading/loads/0/loading_type", 1.5,
         "/loading/loads/0/loading_type: expected an integer"},
        {"/options/Loading", "SOMETIMES", "/options/Loading: expected one of STATIC, CYCLIC"},
        {"/options/NumberOfCycles", 1234567.5,
         "/options/NumberOfCycles: does not fit in its six columns"},
        {"/title/1", "two\nlines", "/title/1: a line break cannot stand in a one-line text"},
        {"/sections/0/section_type_code", 15,
         "/sections/0/section_type_code: expected 0 to 14, -3 or -13"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointer);
        json bad = good;
        const json::json_pointer p(c.pointer);
        if (c.value.is_null()) {
            bad[p.parent_pointer()].erase(p.back());
        } else {
            bad[p] = c.value;
        }
        std::string text = "left over";
        std::string error;
        EXPECT_EQ(Write_Deck(bad.dump(), text, error), 1);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(text, "");
    }
    std::string text;
    std::string error;
    EXPECT_EQ(Write_Deck("{\"title\": [", text, error), 2);
    EXPECT_FALSE(error.empty());
}

// A document built by hand, as a front end builds one, with only the required fields and the
// blocks it needs: the written deck reads and runs, and whole numbers written as reals count.
TEST(DeckWriter, MinimalHandBuiltDocumentRuns) {
    const json document = json::parse(R"({
      "title": ["Elastic pile in elastic subgrade"],
      "options": {"Units": "USCS", "UseLRFD": false, "ComputeKmatrix": false,
        "UseTipShear": false, "UseSoilMovement": false, "UsePYModifiers": false,
        "ComputeEIOnly": false, "Loading": "STATIC", "MaxIterations": 100.0,
        "ExcessDeflection": 10, "Tolerance": 1e-5, "Increments": 100,
        "PrintSummaryOnly": false, "PrintIncrement": 5, "PrintPYCurves": false,
        "ComputeInteraction": false},
      "sections": [{"section_type_code": 11, "section_length": 50,
        "cross_sectional_shape_code": 2, "elastic_modulus": 29000000,
        "width_at_the_top": 24, "width_at_the_bottom": 24,
        "area_at_the_top": 452.4, "area_at_the_bottom": 452.4,
        "moment_of_inertia_at_the_top": 16286, "moment_of_inertia_at_the_bottom": 16286}],
      "soil_layers": [{"py_type": 13, "top": 0, "bottom": 60,
        "top_values": {"effective_unit_weight": 60, "elastic_subgrade_modulus": 500},
        "bottom_values": {"effective_unit_weight": 60, "elastic_subgrade_modulus": 500}}],
      "loading": {"loads": [{"loading_type": 1, "condition_1": 10000, "condition_2": 0,
        "axial_thrust": 0, "deflection_vs_length_flag": 1}], "distributed_load": []}
    })");
    const std::string text = Write_Deck_Text(document.dump());
    const DeckRead d = Read_Deck_Text(text);
    ASSERT_EQ(d.status, 0) << text;
    const json back = json::parse(d.document);
    EXPECT_EQ(back["options"]["MaxIterations"], 100);
    EXPECT_EQ(back["title"][0], "Elastic pile in elastic subgrade");
    EXPECT_EQ(back["sections"][0]["moment_of_inertia_at_the_top"].get<double>(), 16286.0);
    EXPECT_EQ(back["soil_layers"][0]["py_name"], "Elast SG");
    EXPECT_EQ(Run_Deck_Text(text, "deck.inp").result, 0);
}

} // namespace
} // namespace zarno::test
