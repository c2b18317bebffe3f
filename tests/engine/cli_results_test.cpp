// The command-line program's own behaviours: machine-readable results, the error block on
// standard error, the version, and the input warnings, as a user at a terminal meets them.
#include "test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace zarno::test {
namespace {

struct CliRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

CliRun Run_Program(const TempDir& dir, const std::string& args) {
    const std::string err_file = dir / "stderr.txt";
    const std::string cmd = "cd '" + dir.path().string() + "' && " + ZARNO_CLI_PROGRAM + " " +
                            args + " 2>'" + err_file + "'";
    CliRun run;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[256];
    while (fgets(buf, sizeof buf, p) != nullptr) {
        run.out += buf;
    }
    const int status = pclose(p);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = Read_File(err_file);
    return run;
}

std::string Example(const std::string& name) {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / name);
}

struct CliCase {
    const char* name;
    std::string input; // written to pile.inp; empty for none
    std::string args;
    int exit_code;
    std::vector<std::string> in_stderr;
    std::vector<std::string> in_stdout;
    std::vector<std::string> not_in_stderr;
};

TEST(CliResults, BehavioursOfTheProgram) {
    const std::string pipe = Example("pipe_pile.inp");
    const std::vector<CliCase> cases = {
        {"normal run writes JSON and CSV and says where",
         pipe,
         "pile.inp --json out.json --csv tables",
         0,
         {},
         {"The analysis ended normally.", "JSON results:     out.json", "CSV results:      tables"},
         {"zarno:"}},
        {"input error block goes to stderr with where and what to read",
         "ZARNOK6\nNONSENSE\n",
         "pile.inp",
         1,
         {"zarno: INP00099 in pile.inp", "***** INPUT ERROR *****",
          "The following line is unrecognized or is out-of-order", "NONSENSE", "See pile.zro"},
         {"The analysis ended due to input error No. 99."},
         {}},
        {"runtime error block goes to stderr, with its recommendations",
         Replaced(Replaced(pipe, "MaxIterations 100", "MaxIterations 30"), "Tolerance 1.0E-05",
                  "Tolerance 1.0E-19"),
         "pile.inp",
         2,
         {"zarno: RUN00010 in pile.inp", "Runtime Error No. 10",
          "failed to converge within the limit of 30 iterations", "Recommendations"},
         {"The analysis ended due to runtime error No. 10."},
         {}},
        {"misspelled option keywords are warned about and read by position",
         Replaced(Replaced(pipe, "Tolerance 1.0E-05", "Tolerence 1.0E-05"), "Increments 100",
                  "Increment 100"),
         "pile.inp",
         0,
         {"zarno: warning -710:", "\"Tolerence\"", "\"Tolerance\" is expected", "\"Increment\"",
          "\"Increments\" is expected"},
         {"The analysis ended normally with warnings (code -710)."},
         {}},
        {"a yield stress typed in ksi is warned about before the run stops on it",
         Replaced(pipe, "36000.0", "36.0"),
         "pile.inp",
         2,
         {"zarno: warning -711:", "yield stress of 36 psi", "probably entered in ksi",
          "zarno: RUN00024 in pile.inp"},
         {},
         {}},
        {"the solution imbalance of the drilled-shaft example is a warning with its case",
         Example("drilled_shaft.inp"),
         "pile.inp",
         0,
         {"zarno: warning -5501: Load case 1: the solution leaves a moment imbalance"},
         {"The analysis ended normally with warnings (code -5501)."},
         {}},
        {"a layer gap names both layers and the depths",
         Replaced(pipe, "2  20.0  70.0", "2  25.0  70.0"),
         "pile.inp",
         0,
         {"zarno: warning -717: SOIL LAYERS: layer 1 ends at 20 ft and layer 2 starts at 25 ft"},
         {},
         {}},
        {"a cohesion typed in Pa names the layer and the likely unit",
         Replaced(Example("drilled_shaft.inp"),
                  "5  0.0  6.0\n18.0  32.0  24400.0\n18.0  32.0  24400.0",
                  "1  0.0  6.0\n8.0  20000.0  0.02\n8.0  20000.0  0.02"),
         "pile.inp",
         0,
         {"zarno: warning -3042: SOIL LAYERS, layer 1 (soft clay)", "entered in Pa"},
         {},
         {}},
        {"a warning without a note of its own is written with its text and count",
         Read_File(fs::path(ZARNO_SOURCE_DIR) / "tests" / "reference" / "inputs" / "py_static.inp"),
         "pile.inp",
         0,
         {"zarno: warning -354 (reported 1 time): The depth of this liquefied sand layer"},
         {},
         {}},
        {"a run that wrote no files points to none",
         "",
         "missing.inp",
         2,
         {"zarno: RUN00003 in missing.inp"},
         {},
         {"See ", "missing.zro"}},
        {"version names the engine and the project",
         "",
         "--version",
         0,
         {},
         {"zarno engine 2012-06.036", "zarno project 0.1.0"},
         {}},
        {"results that cannot be written fail the command",
         pipe,
         "pile.inp --json no-such-dir/out.json",
         73,
         {"zarno: the JSON results were not written: cannot create no-such-dir/out.json"},
         {"The analysis ended normally."},
         {}},
    };
    for (const CliCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (!c.input.empty()) {
            Write_File(dir / "pile.inp", c.input);
        }
        const CliRun run = Run_Program(dir, c.args);
        EXPECT_EQ(run.exit_code, c.exit_code) << run.out << run.err;
        for (const std::string& s : c.in_stderr) {
            EXPECT_NE(run.err.find(s), std::string::npos) << s << "\n--- stderr:\n" << run.err;
        }
        for (const std::string& s : c.not_in_stderr) {
            EXPECT_EQ(run.err.find(s), std::string::npos) << s << "\n--- stderr:\n" << run.err;
        }
        for (const std::string& s : c.in_stdout) {
            EXPECT_NE(run.out.find(s), std::string::npos) << s << "\n--- stdout:\n" << run.out;
        }
    }
}

TEST(CliResults, JsonAndCsvFilesHoldTheRun) {
    TempDir dir;
    Write_File(dir / "pile.inp", Example("pipe_pile.inp"));
    const CliRun run = Run_Program(dir, "pile.inp --json out.json --csv tables");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(Read_File(dir / "out.json"));
    EXPECT_EQ(doc["schema_version"], 1);
    EXPECT_EQ(doc["load_cases"].size(), 2u);
    EXPECT_EQ(doc["load_cases"][0]["nodes"].size(), 101u);
    for (const char* table :
         {"load_cases.csv", "nodes.csv", "py_curves.csv", "moment_curvature.csv",
          "length_sweeps.csv", "head_stiffness.csv", "messages.csv"}) {
        EXPECT_TRUE(fs::exists(dir.path() / "tables" / table)) << table;
    }
}

TEST(CliResults, MisspelledKeywordsChangeNoValue) {
    // The values are taken by position, so the run with misspelled labels computes exactly
    // what the correct deck computes; only the warning is added.
    const std::string pipe = Example("pipe_pile.inp");
    const std::string typo = Replaced(Replaced(pipe, "Tolerance 1.0E-05", "Tolerence 1.0E-05"),
                                      "Increments 100", "Increment 100");
    TempDir a;
    TempDir b;
    Write_File(a / "pile.inp", pipe);
    Write_File(b / "pile.inp", typo);
    ASSERT_EQ(Run_Program(a, "pile.inp --json r.json").exit_code, 0);
    ASSERT_EQ(Run_Program(b, "pile.inp --json r.json").exit_code, 0);
    const nlohmann::json ra = nlohmann::json::parse(Read_File(a / "r.json"));
    const nlohmann::json rb = nlohmann::json::parse(Read_File(b / "r.json"));
    EXPECT_EQ(ra["load_cases"], rb["load_cases"]);
    EXPECT_EQ(Read_File(a / "pile.zrp"), Read_File(b / "pile.zrp"));
    // One note per line, then the end-of-run summary entry that counts both.
    ASSERT_EQ(rb["warnings"].size(), 3u) << rb["warnings"].dump(1);
    EXPECT_EQ(rb["warnings"][0]["code"], -710);
    EXPECT_EQ(rb["warnings"][1]["code"], -710);
    EXPECT_EQ(rb["warnings"][2]["code"], -710);
    EXPECT_EQ(rb["warnings"][2]["count"], 2);
    EXPECT_TRUE(ra["warnings"].empty());
    EXPECT_NE(Read_File(b / "pile.zro").find("where the option keyword \"Tolerance\" is expected"),
              std::string::npos);
}

} // namespace
} // namespace zarno::test
