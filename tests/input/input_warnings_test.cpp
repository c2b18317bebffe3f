// Warnings for values far outside what the run's unit system makes plausible: they name the
// value, the unit it was read in and the unit it was probably meant in, and change nothing.
#include "run/run.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace zarno::test {
namespace {

std::string Example(const std::string& name) {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / name);
}

std::string Notes_Text(const RunResults& r) {
    std::string all;
    for (const MessageResult& note : r.notes) {
        if (note.code != -711) {
            continue; // the run's other warnings (the shaft's solution balance) have their own
        }
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
        {"SI steel yield stress in MPa",
         Replaced(shaft, "420000.0", "500.0"),
         {"reinforcement yield stress of 500 kPa", "probably entered in MPa"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const RunRequest request = Request_In(dir, c.input);
        RunResults results;
        Run_Analysis(request, Fixed_Time, results);
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
    }
}

TEST(UnitPlausibility, ConcreteStrengthInTheLargerUnitIsRefusedNamingTheUnit) {
    // 30 "kPa" is 30 MPa typed in the wrong unit; as read, the concrete law would give a
    // tensile strength above the compressive one (NaN cracking strain), so it cannot run.
    TempDir dir;
    RunResults results;
    const RunRequest request =
        Request_In(dir, Replaced(Example("drilled_shaft.inp"), "28000.0", "30.0"));
    EXPECT_EQ(Run_Analysis(request, Fixed_Time, results), 133);
    const std::string report = Read_File(request.report_file);
    EXPECT_NE(report.find("the strength is read in kPa, so a value entered in MPa is 1000 times "
                          "too small"),
              std::string::npos)
        << report;
}

TEST(UnitPlausibility, TheValueIsUsedAsRead) {
    // With a yield stress of 36 psi the 24 x 0.5 in pipe carries only
    // pi (24^2 - 23^2) / 4 in^2 x 36 psi = 1328.9 lb in compression, so the 150 kip thrust
    // stops the run on runtime error 24 with that capacity: the value was used as read.
    TempDir dir;
    RunResults results;
    const int rc =
        Run_Analysis(Request_In(dir, Replaced(Example("pipe_pile.inp"), "36000.0", "36.0")),
                     Fixed_Time, results);
    EXPECT_EQ(rc, 224);
    std::string block;
    for (const std::string& line : results.error.text) {
        block += line + "\n";
    }
    EXPECT_NE(block.find("Nominal axial compressive capacity =           1.329 kips"),
              std::string::npos)
        << block;
}

} // namespace
} // namespace zarno::test
