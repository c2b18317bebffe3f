// Warnings for values far outside what the run's unit system makes plausible: they name the
// value, the unit it was read in and the unit it was probably meant in, and change nothing.
#include "engine/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace zarno::test {
namespace {

std::string Example(const std::string& name) {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / name);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string Notes_Text(const RunResults& r) {
    std::string all;
    for (const MessageResult& note : r.notes) {
        EXPECT_EQ(note.code, -711);
        for (const std::string& line : note.text) {
            all += line + "\n";
        }
    }
    return all;
}

TEST(UnitPlausibility, ImplausibleValuesAreNamedWithTheirLikelyUnit) {
    struct Case {
        const char* what;
        std::string input;
        std::vector<std::string> expected; // empty: no warning at all
    };
    const std::string pipe = Example("pipe_pile.inp");
    const std::string shaft = Example("drilled_shaft.inp");
    const std::vector<Case> cases = {
        {"USCS deck as shipped", pipe, {}},
        {"SI deck as shipped", shaft, {}},
        {"USCS yield stress in ksi",
         Replaced(pipe, "36000.0", "36.0"),
         {"Pile section 1: the casing or pipe yield stress of 36 psi", "probably entered in ksi"}},
        {"USCS diameter in feet",
         Replaced(pipe, "\n24.0\n", "\n1.5\n"),
         {"diameter or width of 1.5 in", "probably entered in feet"}},
        {"SI diameter in meters",
         Replaced(shaft, "1200.0", "0.9"),
         {"diameter or width of 0.9 mm",
          "The value is read in mm; it was probably entered in meters"}},
        {"SI f'c in MPa",
         Replaced(shaft, "28000.0", "30.0"),
         {"concrete strength f'c of 30 kPa", "probably entered in MPa"}},
        {"SI steel yield stress in MPa",
         Replaced(shaft, "420000.0", "500.0"),
         {"reinforcement yield stress of 500 kPa", "probably entered in MPa"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const RunRequest request = Request_In(dir, c.input);
        RunResults results;
        const int rc = Run_Analysis(request, Fixed_Time, results);
        const std::string notes = Notes_Text(results);
        const std::string report = Read_File(request.report_file);
        if (c.expected.empty()) {
            EXPECT_EQ(notes, "");
            EXPECT_EQ(report.find("**** Warning -711 ****"), std::string::npos);
            continue;
        }
        EXPECT_EQ(results.notes.size(), 1u) << notes;
        for (const std::string& s : c.expected) {
            EXPECT_NE(notes.find(s), std::string::npos) << s << "\n" << notes;
            EXPECT_NE(report.find(s), std::string::npos) << "the report names it too: " << s;
        }
        if (rc <= 0) {
            EXPECT_EQ(rc, -711) << "the warning is the run's only one";
        }
    }
}

TEST(UnitPlausibility, TheValueIsUsedAsRead) {
    // A yield stress of 36 psi makes the steel yield at once: the moment capacity is a
    // thousandth of the one with 36000 psi, so the run used the value it was given.
    const std::string pipe = Example("pipe_pile.inp");
    auto capacity = [](const std::string& input) {
        TempDir dir;
        RunResults results;
        Run_Analysis(Request_In(dir, input), Fixed_Time, results);
        EXPECT_FALSE(results.section_curves.empty());
        return results.section_curves.empty() ? 0.0 : results.section_curves[0].nominal_moment;
    };
    const double as_shipped = capacity(pipe);
    const double typed_in_ksi = capacity(Replaced(pipe, "36000.0", "36.0"));
    EXPECT_NEAR(typed_in_ksi / as_shipped, 1.0e-3, 2.0e-4);
}

} // namespace
} // namespace zarno::test
