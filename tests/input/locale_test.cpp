// Numbers in the input read the same whatever the process locale: a host program (a GUI
// front end) may have switched to a locale whose decimal mark is a comma.
#include "run/run.h"
#include "input/list_read.h"
#include "report/results_json.h"
#include "test_support.h"

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace zarno::test {
namespace {

// Switches the whole process to a comma-decimal locale for the life of the object.
class CommaLocale {
  public:
    CommaLocale() {
        saved_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                active_ = true;
                break;
            }
        }
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    bool active() const { return active_; }

  private:
    std::string saved_;
    bool active_ = false;
};

struct RealCase {
    const char* text;
    bool ok;
    double value;
};

const RealCase kReals[] = {
    {"1.5", true, 1.5},       {"-0.25", true, -0.25}, {"+2.54E-7", true, 2.54e-7},
    {"1.0D-5", true, 1.0e-5}, {".5", true, 0.5},      {"5.", true, 5.0},
    {"36000", true, 36000.0}, {"1e-400", true, 0.0},  {"0.1", true, 0.1},
    {"1e400", false, 0.0},    {"1,5", false, 0.0},    {"1.5e", false, 0.0},
    {".", false, 0.0},        {"", false, 0.0},       {"1.5.2", false, 0.0},
};

void Expect_Real_Cases() {
    for (const RealCase& c : kReals) {
        double v = -99.0;
        EXPECT_EQ(Parse_List_Real(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text; // exact: the correctly rounded double
        }
    }
    struct IntCase {
        const char* text;
        bool ok;
        int value;
    };
    const IntCase ints[] = {
        {"42", true, 42},         {"+42", true, 42}, {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0}, {"+-1", false, 0}, {"1.0", false, 0},
        {"", false, 0},           {"-", false, 0}};
    for (const IntCase& c : ints) {
        int v = -99;
        EXPECT_EQ(Parse_List_Int(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(LocaleIndependence, NumbersParseTheSameInTheCLocale) {
    Expect_Real_Cases();
}

TEST(LocaleIndependence, NumbersParseTheSameUnderACommaDecimalLocale) {
    CommaLocale locale;
    if (!locale.active()) {
        GTEST_SKIP() << "no de_DE locale installed (scripts/setup-debian.sh generates one)";
    }
    // The locale really reads a comma as the decimal mark, so a locale-bound parser would
    // stop at the point of "1.5".
    ASSERT_EQ(std::strtod("1,5", nullptr), 1.5);
    Expect_Real_Cases();
}

TEST(LocaleIndependence, WholeRunReadsTheSameUnderACommaDecimalLocale) {
    const std::string input = Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples/drilled_shaft.inp");
    auto run = [&] {
        TempDir dir;
        RunResults results;
        const int rc = Run_Analysis(Request_In(dir, input), Fixed_Time, results);
        EXPECT_LE(rc, 0);
        return nlohmann::json::parse(Results_To_Json(results));
    };
    const nlohmann::json plain = run();
    CommaLocale locale;
    if (!locale.active()) {
        GTEST_SKIP() << "no de_DE locale installed (scripts/setup-debian.sh generates one)";
    }
    const nlohmann::json comma = run();
    EXPECT_EQ(comma["load_cases"], plain["load_cases"]);
    EXPECT_EQ(comma["section_curves"], plain["section_curves"]);
    EXPECT_TRUE(comma["error"].is_null()) << comma["error"].dump();
}

} // namespace
} // namespace zarno::test
