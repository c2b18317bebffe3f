// The results model against an independent reading of the same run: every node, curve
// point and table row of the JSON document must agree with the plot file's records and
// the report's summaries to the digits those files print, and the document must follow
// the published schema.
#include "report/results_json.h"
#include "schema_validator.h"
#include "test_support.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <stdexcept>

namespace zarno::test {
namespace {

using nlohmann::json;

SchemaValidator Results_Schema() {
    return SchemaValidator(
        json::parse(Read_File(fs::path(ZARNO_SOURCE_DIR) / "docs/results-schema.json")));
}

// ---- independent readers of the printed files -----------------------------------------------

// True when v rounds to the printed number: within half a unit of its last printed digit
// (relative to its exponent for E formats).
bool Agrees(double v, std::string printed) {
    printed.erase(0, printed.find_first_not_of(' '));
    printed.erase(printed.find_last_not_of(' ') + 1);
    const double p = std::strtod(printed.c_str(), nullptr);
    const size_t e = printed.find_first_of("Ee");
    const size_t dot = printed.find('.');
    int decimals = 0;
    if (dot != std::string::npos) {
        decimals = static_cast<int>((e == std::string::npos ? printed.size() : e) - dot - 1);
    }
    const int exponent = e == std::string::npos ? 0 : std::atoi(printed.c_str() + e + 1);
    const double half_unit = 0.5 * std::pow(10.0, exponent - decimals);
    return std::fabs(v - p) <= half_unit * (1.0 + 1e-9) + 1e-300;
}

struct PlotRecord {
    int line = 0;
    std::string text;
    std::string Field(size_t at, size_t width) const { return text.substr(at, width); }
};

// The records of the plot file with their line numbers, read from their labels.
std::vector<PlotRecord> Read_Plot(const std::string& plot) {
    std::vector<PlotRecord> records;
    std::istringstream in(plot);
    std::string line;
    while (std::getline(in, line)) {
        const size_t at = line.find("Line ");
        if (at == std::string::npos) {
            continue;
        }
        records.push_back({std::atoi(line.c_str() + at + 5), line});
    }
    return records;
}

std::vector<const PlotRecord*> Of_Line(const std::vector<PlotRecord>& r, int n) {
    std::vector<const PlotRecord*> out;
    for (const PlotRecord& x : r) {
        if (x.line == n) {
            out.push_back(&x);
        }
    }
    return out;
}

// The value printed after "label" and "=" in each "Output Summary for Load Case" block.
std::vector<std::string> Summary_Values(const std::string& report, const std::string& label) {
    std::vector<std::string> values;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(label, 0) == 0) {
            const size_t eq = line.find('=');
            std::istringstream rest(line.substr(eq + 1));
            std::string value;
            rest >> value;
            values.push_back(value);
        }
    }
    return values;
}

struct RunWithResults {
    int result = 0;
    json doc;
    std::string report;
    std::string plot;
};

RunWithResults Run_With_Results(const std::string& input_text) {
    TempDir dir;
    const RunRequest request = Request_In(dir, input_text);
    RunResults results;
    RunWithResults out;
    out.result = Run_Analysis(request, Fixed_Time, results);
    out.doc = json::parse(Results_To_Json(results));
    out.report = Read_File(request.report_file);
    out.plot = Read_File(request.plot_file);
    return out;
}

void Expect_Agrees(double v, const std::string& printed, const std::string& what) {
    EXPECT_TRUE(Agrees(v, printed)) << what << ": results " << v << ", printed " << printed;
}

// Every table of the document against the plot records and the report's case summaries.
void Expect_Matches_Printed_Files(const RunWithResults& run) {
    const json& d = run.doc;
    const std::vector<PlotRecord> plot = Read_Plot(run.plot);

    // Line 10: depth, y, M, V, p, EI per station, cases in order.
    const auto line10 = Of_Line(plot, 10);
    size_t k = 0;
    for (const json& c : d["load_cases"]) {
        for (const json& n : c["nodes"]) {
            ASSERT_LT(k, line10.size());
            const char* names[] = {"depth", "deflection",    "moment",
                                   "shear", "soil_reaction", "bending_stiffness"};
            for (size_t f = 0; f < 6; ++f) {
                Expect_Agrees(n[names[f]].get<double>(), line10[k]->Field(15 * f, 15),
                              "case " + c["number"].dump() + " node " + n["node"].dump() + " " +
                                  names[f]);
            }
            ++k;
        }
    }
    EXPECT_EQ(k, line10.size()) << "every station record has a node in the results";

    // Output summaries of the report.
    const std::vector<std::pair<std::string, std::string>> summary = {
        {"Pile-head deflection ", "head_deflection"},
        {"Computed slope at pile head ", "head_slope"},
        {"Maximum bending moment ", "max_moment"},
        {"Maximum shear force ", "max_shear"},
        {"Depth of maximum bending moment ", "max_moment_depth"},
        {"Depth of maximum shear force ", "max_shear_depth"},
        {"Number of iterations ", "iterations"},
        {"Number of zero deflection points ", "zero_deflection_points"}};
    for (const auto& [label, key] : summary) {
        const std::vector<std::string> printed = Summary_Values(run.report, label);
        ASSERT_EQ(printed.size(), d["load_cases"].size()) << label;
        for (size_t i = 0; i < printed.size(); ++i) {
            Expect_Agrees(d["load_cases"][i][key].get<double>(), printed[i], key);
        }
    }

    // Lines 4 and 5: the moment-curvature tables.
    const auto line4 = Of_Line(plot, 4);
    const auto line5 = Of_Line(plot, 5);
    ASSERT_EQ(line4.size(), d["section_curves"].size());
    size_t point = 0;
    for (size_t i = 0; i < line4.size(); ++i) {
        const json& c = d["section_curves"][i];
        EXPECT_EQ(std::atoi(line4[i]->Field(0, 5).c_str()), static_cast<int>(c["points"].size()));
        Expect_Agrees(c["axial_thrust"].get<double>(), line4[i]->Field(15, 15), "thrust");
        Expect_Agrees(c["nominal_moment"].get<double>(), line4[i]->Field(30, 15), "Mn");
        EXPECT_FALSE(c["units"]["moment"].get<std::string>().empty());
        for (const json& p : c["points"]) {
            ASSERT_LT(point, line5.size());
            Expect_Agrees(p["moment"].get<double>(), line5[point]->Field(0, 15), "M");
            Expect_Agrees(p["bending_stiffness"].get<double>(), line5[point]->Field(15, 15), "EI");
            Expect_Agrees(p["curvature"].get<double>(), line5[point]->Field(30, 15), "phi");
            ++point;
        }
    }
    EXPECT_EQ(point, line5.size());

    // Lines 7 and 8: the printed p-y curves.
    const auto line7 = Of_Line(plot, 7);
    const auto line8 = Of_Line(plot, 8);
    ASSERT_EQ(line7.size(), d["py_curves"].size());
    point = 0;
    for (size_t i = 0; i < line7.size(); ++i) {
        const json& c = d["py_curves"][i];
        Expect_Agrees(c["depth"].get<double>(), line7[i]->Field(0, 15), "p-y depth");
        EXPECT_EQ(std::atoi(line7[i]->Field(15, 5).c_str()), static_cast<int>(c["points"].size()));
        EXPECT_GE(c["layer"].get<int>(), 1);
        for (const json& p : c["points"]) {
            ASSERT_LT(point, line8.size());
            Expect_Agrees(p["y"].get<double>(), line8[point]->Field(0, 15), "y");
            Expect_Agrees(p["p"].get<double>(), line8[point]->Field(15, 15), "p");
            ++point;
        }
    }
    EXPECT_EQ(point, line8.size());

    // Line 12: pile-head deflection versus pile length.
    const auto line12 = Of_Line(plot, 12);
    point = 0;
    for (const json& s : d["length_sweeps"]) {
        for (const json& p : s["points"]) {
            ASSERT_LT(point, line12.size());
            const char* names[] = {"pile_length", "head_deflection", "max_moment", "max_shear"};
            for (size_t f = 0; f < 4; ++f) {
                Expect_Agrees(p[names[f]].get<double>(), line12[point]->Field(15 * f, 15),
                              names[f]);
            }
            ++point;
        }
    }
    EXPECT_EQ(point, line12.size());

    // Line 14: the pile-head stiffness levels.
    const auto line14 = Of_Line(plot, 14);
    ASSERT_EQ(line14.size(), d["head_stiffness"].size());
    for (size_t i = 0; i < line14.size(); ++i) {
        const char* names[] = {"shear", "moment",          "k22",          "k23", "k32",
                               "k33",   "head_deflection", "head_rotation"};
        for (size_t f = 0; f < 8; ++f) {
            Expect_Agrees(d["head_stiffness"][i][names[f]].get<double>(),
                          line14[i]->Field(15 * f, 15), names[f]);
        }
    }
}

std::string Example(const std::string& name) {
    return Read_File(fs::path(ZARNO_SOURCE_DIR) / "examples" / name);
}

// The pipe-pile example with every optional table switched on: printed p-y curves, the
// length sweep of its first case and the pile-head stiffness matrix.
std::string Pipe_Pile_With_All_Tables() {
    std::string input = Example("pipe_pile.inp");
    auto replace = [&](const std::string& from, const std::string& to) {
        const size_t at = input.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        input.replace(at, from.size(), to);
    };
    replace("PrintPYCurves NO", "PrintPYCurves YES");
    replace("ComputeKmatrix NO", "ComputeKmatrix YES");
    replace("1  1  20000.0  0.0  150000.0  1", "1  1  20000.0  0.0  150000.0  0");
    input.insert(input.rfind("END"), "DEPTHS OF PRINTED P-Y CURVES\n2\n1 5.0\n2 30.0\n");
    return input;
}

TEST(Results, EveryExampleAgreesWithItsPlotFileAndReportAndFollowsTheSchema) {
    const SchemaValidator schema = Results_Schema();
    std::vector<std::string> examples;
    for (const auto& entry : fs::directory_iterator(fs::path(ZARNO_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() == ".inp") {
            examples.push_back(entry.path().filename().string());
        }
    }
    ASSERT_GE(examples.size(), 3u);
    for (const std::string& name : examples) {
        SCOPED_TRACE(name);
        const RunWithResults run = Run_With_Results(Example(name));
        EXPECT_LE(run.result, 0);
        EXPECT_EQ(schema.Validate(run.doc), "");
        EXPECT_EQ(run.doc["return_value"].get<int>(), run.result);
        EXPECT_TRUE(run.doc["error"].is_null());
        EXPECT_FALSE(run.doc["section_curves"].empty());
        Expect_Matches_Printed_Files(run);
    }
}

TEST(Results, OptionalTablesAgreeWithTheirPlotRecords) {
    const RunWithResults run = Run_With_Results(Pipe_Pile_With_All_Tables());
    ASSERT_LE(run.result, 0) << run.report.substr(run.report.size() - 2000);
    EXPECT_EQ(Results_Schema().Validate(run.doc), "");
    EXPECT_EQ(run.doc["py_curves"].size(), 2u);
    EXPECT_EQ(run.doc["py_curves"][0]["layer"], 1);
    EXPECT_EQ(run.doc["py_curves"][1]["layer"], 2);
    EXPECT_EQ(run.doc["py_curves"][0]["soil"], "soft clay");
    EXPECT_FALSE(run.doc["length_sweeps"].empty());
    EXPECT_EQ(run.doc["head_stiffness"].size(), 10u);
    Expect_Matches_Printed_Files(run);
}

TEST(Results, NodeTableIsInEquilibriumWithTheHeadLoad) {
    // Independent of the printed files: the shear at the head is the applied shear, and
    // the soil reactions integrated along the pile balance it (trapezoidal rule).
    const RunWithResults run = Run_With_Results(Example("pipe_pile.inp"));
    ASSERT_EQ(run.result, 0);
    for (const json& c : run.doc["load_cases"]) {
        const json& nodes = c["nodes"];
        EXPECT_NEAR(nodes[0]["shear"].get<double>(), c["condition_1"].get<double>(),
                    1e-6 * c["condition_1"].get<double>());
        double resistance = 0.0;
        for (size_t i = 1; i < nodes.size(); ++i) {
            const double h = nodes[i]["depth"].get<double>() - nodes[i - 1]["depth"].get<double>();
            resistance += 0.5 * h *
                          (nodes[i]["soil_reaction"].get<double>() +
                           nodes[i - 1]["soil_reaction"].get<double>());
        }
        EXPECT_NEAR(-resistance, c["condition_1"].get<double>(),
                    0.01 * c["condition_1"].get<double>());
        EXPECT_TRUE(c["converged"].get<bool>());
        EXPECT_LE(std::fabs(c["final_change"].get<double>()), 1.0e-5);
    }
}

TEST(Results, FatalErrorCarriesItsCodeAndMessageBlock) {
    const RunWithResults run = Run_With_Results("ZARNOK6\nNONSENSE\n");
    EXPECT_EQ(run.result, 199);
    EXPECT_EQ(Results_Schema().Validate(run.doc), "");
    const json& e = run.doc["error"];
    ASSERT_FALSE(e.is_null());
    EXPECT_EQ(e["kind"], "input error");
    EXPECT_EQ(e["code"], 99);
    EXPECT_EQ(e["message_code"], "INP00099");
    ASSERT_FALSE(e["text"].empty());
    EXPECT_EQ(e["text"][0], "***** INPUT ERROR *****");
    bool names_line = false;
    for (const json& line : e["text"]) {
        names_line = names_line || line == "NONSENSE";
    }
    EXPECT_TRUE(names_line) << e.dump();
}

TEST(Results, SchemaValidatorRejectsDocumentsThatBreakTheLayout) {
    const SchemaValidator schema = Results_Schema();
    const json good = Run_With_Results(Example("ei_only_shaft.inp")).doc;
    ASSERT_EQ(schema.Validate(good), "");
    struct Break {
        const char* what;
        json doc;
    };
    std::vector<Break> broken;
    json d = good;
    d.erase("units");
    broken.push_back({"missing required", d});
    d = good;
    d["extra"] = 1;
    broken.push_back({"unexpected property", d});
    d = good;
    d["schema_version"] = 2;
    broken.push_back({"other version", d});
    d = good;
    d["section_curves"][0]["points"][0]["moment"] = "12";
    broken.push_back({"string for a number", d});
    d = good;
    d["status"] = -1;
    broken.push_back({"below minimum", d});
    for (const Break& b : broken) {
        EXPECT_NE(schema.Validate(b.doc), "") << b.what;
    }
}

TEST(Results, JsonKeepsFullPrecision) {
    RunResults r;
    LoadCaseResult c;
    c.number = 1;
    c.loading_type = 1;
    c.head_deflection = 0.1 + 0.2; // 0.30000000000000004
    c.max_moment = 1.0 / 3.0;
    r.load_cases.push_back(c);
    const json d = json::parse(Results_To_Json(r));
    EXPECT_EQ(d["load_cases"][0]["head_deflection"].get<double>(), 0.1 + 0.2);
    EXPECT_EQ(d["load_cases"][0]["max_moment"].get<double>(), 1.0 / 3.0);
}

TEST(Results, CsvTablesHoldTheSameRowsAsTheDocument) {
    TempDir dir;
    const RunRequest request = Request_In(dir, Pipe_Pile_With_All_Tables());
    RunResults results;
    ASSERT_LE(Run_Analysis(request, Fixed_Time, results), 0);
    std::string error;
    ASSERT_TRUE(Write_Results_Csv(results, dir / "csv", error)) << error;
    auto rows = [&](const std::string& name) {
        std::istringstream in(Read_File(dir.path() / "csv" / name));
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) {
            lines.push_back(line);
        }
        return lines;
    };
    size_t nodes = 0;
    for (const LoadCaseResult& c : results.load_cases) {
        nodes += c.nodes.size();
    }
    EXPECT_EQ(rows("nodes.csv").size(), nodes + 1);
    EXPECT_EQ(rows("load_cases.csv").size(), results.load_cases.size() + 1);
    EXPECT_EQ(rows("head_stiffness.csv").size(), results.head_stiffness.size() + 1);
    // The first node row reads back to the same doubles.
    const std::vector<std::string> first = [&] {
        std::vector<std::string> f;
        std::istringstream in(rows("nodes.csv").at(1));
        std::string cell;
        while (std::getline(in, cell, ',')) {
            f.push_back(cell);
        }
        return f;
    }();
    ASSERT_GE(first.size(), 6u);
    EXPECT_EQ(std::strtod(first[3].c_str(), nullptr), results.load_cases[0].nodes[0].deflection);
    EXPECT_EQ(std::strtod(first[5].c_str(), nullptr), results.load_cases[0].nodes[0].moment);
    EXPECT_FALSE(Write_Results_Csv(results, "/proc/zarno-no-such-dir", error));
}

} // namespace
} // namespace zarno::test
