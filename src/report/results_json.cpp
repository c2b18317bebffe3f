#include "report/results_json.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fmt/format.h>
#include <iterator>
#include <nlohmann/json.hpp>

namespace zarno {

namespace {

using nlohmann::ordered_json;

// Non-finite values have no JSON number; they are written as null.
ordered_json Number(double v) {
    if (!std::isfinite(v)) {
        return nullptr;
    }
    return v;
}

ordered_json Message_Json(const MessageResult& w) {
    ordered_json j;
    j["code"] = w.code;
    j["kind"] = w.kind;
    j["message_code"] = w.message_code;
    j["count"] = w.count;
    j["text"] = w.text;
    return j;
}

ordered_json Units_Json(const ResultUnits& u) {
    return ordered_json{{"system", u.system},
                        {"length", u.length},
                        {"force", u.force},
                        {"moment", u.moment},
                        {"slope", u.slope},
                        {"force_per_length", u.force_per_length},
                        {"soil_modulus", u.soil_modulus},
                        {"bending_stiffness", u.bending_stiffness},
                        {"rotational_stiffness", u.rotational_stiffness}};
}

ordered_json Load_Case_Json(const LoadCaseResult& c) {
    ordered_json j;
    j["number"] = c.number;
    j["loading_type"] = c.loading_type;
    j["condition_1"] = Number(c.condition_1);
    j["condition_2"] = Number(c.condition_2);
    j["axial_thrust"] = Number(c.axial_thrust);
    j["converged"] = c.converged;
    j["iterations"] = c.iterations;
    j["final_change"] = Number(c.final_change);
    j["head_deflection"] = Number(c.head_deflection);
    j["head_slope"] = Number(c.head_slope);
    j["head_shear"] = Number(c.head_shear);
    j["head_moment"] = Number(c.head_moment);
    j["max_moment"] = Number(c.max_moment);
    j["max_moment_depth"] = Number(c.max_moment_depth);
    j["max_shear"] = Number(c.max_shear);
    j["max_shear_depth"] = Number(c.max_shear_depth);
    j["zero_deflection_points"] = c.zero_deflection_points;
    if (c.monopile) {
        // Only cases with a monopile (PISA) layer carry these, so the document of every other
        // run keeps its layout.
        j["base_shear"] = Number(c.base_shear);
        j["base_moment"] = Number(c.base_moment);
    }
    if (!c.error.empty()) {
        j["error"] = c.error; // the block of the error that stopped this case
    }
    ordered_json nodes = ordered_json::array();
    for (const NodeResult& n : c.nodes) {
        nodes.push_back(ordered_json{{"node", n.node},
                                     {"depth", Number(n.depth)},
                                     {"deflection", Number(n.deflection)},
                                     {"slope", Number(n.slope)},
                                     {"moment", Number(n.moment)},
                                     {"shear", Number(n.shear)},
                                     {"soil_reaction", Number(n.soil_reaction)},
                                     {"soil_modulus", Number(n.soil_modulus)},
                                     {"bending_stiffness", Number(n.bending_stiffness)},
                                     {"distributed_load", Number(n.distributed_load)},
                                     {"section", n.section},
                                     {"layer", n.layer},
                                     {"nonlinear_section", n.nonlinear_section}});
        if (c.monopile) {
            nodes.back()["distributed_moment"] = Number(n.distributed_moment);
            nodes.back()["moment_spring"] = Number(n.moment_spring);
        }
    }
    j["nodes"] = std::move(nodes);
    return j;
}

ordered_json To_Json(const RunResults& r) {
    ordered_json j;
    j["schema_version"] = r.schema_version;
    j["engine_version"] = r.engine_version;
    j["input_file"] = r.input_file;
    j["analysis_type"] = r.analysis_type;
    j["status"] = r.status;
    j["return_value"] = r.return_value;
    j["title"] = r.title;
    j["units"] = Units_Json(r.units);

    ordered_json sections = ordered_json::array();
    for (const SectionCurveResult& c : r.section_curves) {
        ordered_json points = ordered_json::array();
        for (const MomentCurvaturePoint& p : c.points) {
            points.push_back(ordered_json{{"moment", Number(p.moment)},
                                          {"bending_stiffness", Number(p.bending_stiffness)},
                                          {"curvature", Number(p.curvature)}});
        }
        sections.push_back(ordered_json{{"section", c.section},
                                        {"thrust_index", c.thrust_index},
                                        {"axial_thrust", Number(c.axial_thrust)},
                                        {"nominal_moment", Number(c.nominal_moment)},
                                        {"units",
                                         {{"thrust", c.thrust_unit},
                                          {"moment", c.moment_unit},
                                          {"bending_stiffness", c.stiffness_unit},
                                          {"curvature", c.curvature_unit}}},
                                        {"points", std::move(points)}});
    }
    j["section_curves"] = std::move(sections);

    ordered_json curves = ordered_json::array();
    for (const PyCurveResult& c : r.py_curves) {
        ordered_json points = ordered_json::array();
        for (const PyPoint& p : c.points) {
            points.push_back(ordered_json{{"y", Number(p.y)}, {"p", Number(p.p)}});
        }
        curves.push_back(ordered_json{{"number", c.number},
                                      {"depth", Number(c.depth)},
                                      {"layer", c.layer},
                                      {"soil", c.soil},
                                      {"points", std::move(points)}});
    }
    j["py_curves"] = std::move(curves);

    ordered_json cases = ordered_json::array();
    for (const LoadCaseResult& c : r.load_cases) {
        cases.push_back(Load_Case_Json(c));
    }
    j["load_cases"] = std::move(cases);

    ordered_json sweeps = ordered_json::array();
    for (const LengthSweepResult& s : r.length_sweeps) {
        ordered_json points = ordered_json::array();
        for (const LengthPointResult& p : s.points) {
            points.push_back(ordered_json{{"pile_length", Number(p.pile_length)},
                                          {"head_deflection", Number(p.head_deflection)},
                                          {"max_moment", Number(p.max_moment)},
                                          {"max_shear", Number(p.max_shear)}});
        }
        sweeps.push_back(ordered_json{{"load_case", s.load_case}, {"points", std::move(points)}});
    }
    j["length_sweeps"] = std::move(sweeps);

    ordered_json stiffness = ordered_json::array();
    for (const HeadStiffnessResult& k : r.head_stiffness) {
        stiffness.push_back(ordered_json{{"shear", Number(k.shear)},
                                         {"moment", Number(k.moment)},
                                         {"k22", Number(k.k22)},
                                         {"k23", Number(k.k23)},
                                         {"k32", Number(k.k32)},
                                         {"k33", Number(k.k33)},
                                         {"head_deflection", Number(k.head_deflection)},
                                         {"head_rotation", Number(k.head_rotation)}});
    }
    j["head_stiffness"] = std::move(stiffness);

    ordered_json warnings = ordered_json::array();
    for (const MessageResult& w : r.notes) {
        warnings.push_back(Message_Json(w));
    }
    for (const MessageResult& w : r.warnings) {
        warnings.push_back(Message_Json(w));
    }
    j["warnings"] = std::move(warnings);
    j["error"] = r.has_error ? Message_Json(r.error) : ordered_json(nullptr);
    return j;
}

// Shortest round-trip text of a double ({fmt} is locale-free by default).
std::string Csv_Number(double v) {
    if (!std::isfinite(v)) {
        return {};
    }
    return fmt::format("{}", v);
}

std::string Csv_Text(const std::string& s) {
    std::string q = "\"";
    for (char c : s) {
        if (c == '"') {
            q += '"';
        }
        q += c;
    }
    return q + "\"";
}

// Writes the whole text and closes the file, reporting any failure.
bool Write_File(const std::filesystem::path& path, const std::string& text, std::string& error) {
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (f == nullptr) {
        error = fmt::format("cannot create {}: {}", path.string(), std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        error = fmt::format("cannot write {} completely", path.string());
        return false;
    }
    return true;
}

// The error that stopped a case, its block's lines without blanks joined on one line (empty
// for a case that was solved), quoted for the CSV.
std::string Case_Error_Text(const LoadCaseResult& c) {
    std::string text;
    for (const std::string& line : c.error) {
        const size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos) {
            continue;
        }
        const size_t last = line.find_last_not_of(' ');
        text += (text.empty() ? "" : " ") + line.substr(first, last - first + 1);
    }
    return text.empty() ? text : Csv_Text(text);
}

template <typename... T> void Row(std::string& out, const T&... fields) {
    bool first = true;
    ((out += (first ? "" : ","), out += fields, first = false), ...);
    out += "\r\n";
}

std::string I(long long v) {
    return std::to_string(v);
}

} // namespace

std::string Results_To_Json(const RunResults& results) {
    // Text the run carries is UTF-8; a file name of another encoding is written replaced.
    return To_Json(results).dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

bool Write_Results_Json(const RunResults& results, const std::string& path, std::string& error) {
    return Write_File(path, Results_To_Json(results), error);
}

bool Write_Results_Csv(const RunResults& r, const std::string& directory, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path dir(directory);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        error = fmt::format("cannot create the directory {}", directory);
        return false;
    }
    const ResultUnits& u = r.units;
    const std::string L = "(" + u.length + ")";

    // The conditions' units depend on the loading type: 1-3 give a shear, 4-5 a deflection;
    // 1 and 4 a moment, 2 and 5 a slope, 3 a rotational stiffness.
    const std::string condition_1 =
        fmt::format("condition_1 ({} for types 1-3; {} for 4-5)", u.force, u.length);
    const std::string condition_2 =
        fmt::format("condition_2 ({} for types 1 and 4; {} for 2 and 5; {} for 3)", u.moment,
                    u.slope, u.rotational_stiffness);
    std::string cases;
    Row(cases, std::string("load_case"), std::string("loading_type"), condition_1, condition_2,
        "axial_thrust " + std::string("(") + u.force + ")", std::string("converged"),
        std::string("iterations"), "final_change " + L, "head_deflection " + L,
        "head_slope (" + u.slope + ")", "head_shear (" + u.force + ")",
        "head_moment (" + u.moment + ")", "max_moment (" + u.moment + ")", "max_moment_depth " + L,
        "max_shear (" + u.force + ")", "max_shear_depth " + L,
        std::string("zero_deflection_points"), std::string("error"));
    std::string nodes;
    Row(nodes, std::string("load_case"), std::string("node"), "depth " + L, "deflection " + L,
        "slope (" + u.slope + ")", "moment (" + u.moment + ")", "shear (" + u.force + ")",
        "soil_reaction (" + u.force_per_length + ")", "soil_modulus (" + u.soil_modulus + ")",
        "bending_stiffness (" + u.bending_stiffness + ")",
        "distributed_load (" + u.force_per_length + ")", std::string("section"),
        std::string("layer"), std::string("nonlinear_section"));
    for (const LoadCaseResult& c : r.load_cases) {
        Row(cases, I(c.number), I(c.loading_type), Csv_Number(c.condition_1),
            Csv_Number(c.condition_2), Csv_Number(c.axial_thrust),
            std::string(c.converged ? "1" : "0"), I(c.iterations), Csv_Number(c.final_change),
            Csv_Number(c.head_deflection), Csv_Number(c.head_slope), Csv_Number(c.head_shear),
            Csv_Number(c.head_moment), Csv_Number(c.max_moment), Csv_Number(c.max_moment_depth),
            Csv_Number(c.max_shear), Csv_Number(c.max_shear_depth), I(c.zero_deflection_points),
            Case_Error_Text(c));
        for (const NodeResult& n : c.nodes) {
            Row(nodes, I(c.number), I(n.node), Csv_Number(n.depth), Csv_Number(n.deflection),
                Csv_Number(n.slope), Csv_Number(n.moment), Csv_Number(n.shear),
                Csv_Number(n.soil_reaction), Csv_Number(n.soil_modulus),
                Csv_Number(n.bending_stiffness), Csv_Number(n.distributed_load), I(n.section),
                I(n.layer), std::string(n.nonlinear_section ? "1" : "0"));
        }
    }

    std::string py;
    Row(py, std::string("curve"), "depth " + L, std::string("layer"), std::string("soil"),
        std::string("point"), "y " + L, "p (" + u.force_per_length + ")");
    for (const PyCurveResult& c : r.py_curves) {
        int k = 0;
        for (const PyPoint& p : c.points) {
            Row(py, I(c.number), Csv_Number(c.depth), I(c.layer), Csv_Text(c.soil), I(++k),
                Csv_Number(p.y), Csv_Number(p.p));
        }
    }

    // Units in the header like every other table, when all curves share them (they are the
    // report's units); the unit columns stay for readers of the earlier layout.
    auto in_header = [&r](const std::string& name, std::string SectionCurveResult::*unit) {
        if (r.section_curves.empty()) {
            return name;
        }
        const std::string& first = r.section_curves.front().*unit;
        for (const SectionCurveResult& c : r.section_curves) {
            if (c.*unit != first) {
                return name;
            }
        }
        return name + " (" + first + ")";
    };
    std::string mc;
    Row(mc, std::string("section"), std::string("thrust_index"),
        in_header("axial_thrust", &SectionCurveResult::thrust_unit), std::string("thrust_unit"),
        in_header("nominal_moment", &SectionCurveResult::moment_unit), std::string("point"),
        in_header("moment", &SectionCurveResult::moment_unit),
        in_header("bending_stiffness", &SectionCurveResult::stiffness_unit),
        in_header("curvature", &SectionCurveResult::curvature_unit), std::string("moment_unit"),
        std::string("stiffness_unit"), std::string("curvature_unit"));
    for (const SectionCurveResult& c : r.section_curves) {
        int k = 0;
        for (const MomentCurvaturePoint& p : c.points) {
            Row(mc, I(c.section), I(c.thrust_index), Csv_Number(c.axial_thrust),
                Csv_Text(c.thrust_unit), Csv_Number(c.nominal_moment), I(++k), Csv_Number(p.moment),
                Csv_Number(p.bending_stiffness), Csv_Number(p.curvature), Csv_Text(c.moment_unit),
                Csv_Text(c.stiffness_unit), Csv_Text(c.curvature_unit));
        }
    }

    std::string sweeps;
    Row(sweeps, std::string("load_case"), "pile_length " + L, "head_deflection " + L,
        "max_moment (" + u.moment + ")", "max_shear (" + u.force + ")");
    for (const LengthSweepResult& s : r.length_sweeps) {
        for (const LengthPointResult& p : s.points) {
            Row(sweeps, I(s.load_case), Csv_Number(p.pile_length), Csv_Number(p.head_deflection),
                Csv_Number(p.max_moment), Csv_Number(p.max_shear));
        }
    }

    std::string stiffness;
    Row(stiffness, "shear (" + u.force + ")", "moment (" + u.moment + ")",
        "k22 (" + u.force + "/" + u.length + ")", "k23 (" + u.force + ")",
        "k32 (" + u.moment + "/" + u.length + ")", "k33 (" + u.rotational_stiffness + ")",
        "head_deflection " + L, "head_rotation (" + u.slope + ")");
    for (const HeadStiffnessResult& k : r.head_stiffness) {
        Row(stiffness, Csv_Number(k.shear), Csv_Number(k.moment), Csv_Number(k.k22),
            Csv_Number(k.k23), Csv_Number(k.k32), Csv_Number(k.k33), Csv_Number(k.head_deflection),
            Csv_Number(k.head_rotation));
    }

    std::string messages;
    Row(messages, std::string("kind"), std::string("code"), std::string("message_code"),
        std::string("count"), std::string("text"));
    auto message_row = [&](const MessageResult& w) {
        std::string text;
        for (const std::string& line : w.text) {
            text += (text.empty() ? "" : "\n") + line;
        }
        Row(messages, Csv_Text(w.kind), I(w.code), Csv_Text(w.message_code), I(w.count),
            Csv_Text(text));
    };
    for (const MessageResult& w : r.notes) {
        message_row(w);
    }
    for (const MessageResult& w : r.warnings) {
        message_row(w);
    }
    if (r.has_error) {
        message_row(r.error);
    }

    // The monopile (PISA) reactions, written only by runs that have them.
    std::string monopile;
    bool any_monopile = false;
    Row(monopile, std::string("load_case"), std::string("node"), "depth " + L,
        "distributed_moment (" + u.moment + "/" + u.length + ")",
        "moment_spring (" + u.moment + "/" + u.length + ")", "base_shear (" + u.force + ")",
        "base_moment (" + u.moment + ")");
    for (const LoadCaseResult& c : r.load_cases) {
        if (!c.monopile) {
            continue;
        }
        any_monopile = true;
        for (const NodeResult& n : c.nodes) {
            const bool tip = &n == &c.nodes.back();
            Row(monopile, I(c.number), I(n.node), Csv_Number(n.depth),
                Csv_Number(n.distributed_moment), Csv_Number(n.moment_spring),
                tip ? Csv_Number(c.base_shear) : std::string(),
                tip ? Csv_Number(c.base_moment) : std::string());
        }
    }
    if (any_monopile && !Write_File(dir / Csv_File_Names().back(), monopile, error)) {
        return false;
    }

    // Every run writes the first seven tables of Csv_File_Names(); monopile.csv, the last name,
    // only runs with the monopile reactions.
    const std::string* texts[] = {&cases, &nodes, &py, &mc, &sweeps, &stiffness, &messages};
    const std::vector<std::string>& names = Csv_File_Names();
    for (size_t i = 0; i < std::size(texts); ++i) {
        if (!Write_File(dir / names[i], *texts[i], error)) {
            return false;
        }
    }
    return true;
}

const std::vector<std::string>& Csv_File_Names() {
    static const std::vector<std::string> names = {
        "load_cases.csv",    "nodes.csv",          "py_curves.csv", "moment_curvature.csv",
        "length_sweeps.csv", "head_stiffness.csv", "messages.csv",  "monopile.csv"};
    return names;
}

} // namespace zarno
