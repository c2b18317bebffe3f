// The compiled part of the zarno Python package: runs the engine in-process and hands its
// results to Python as plain dictionaries and numpy arrays (no JSON text in between, which
// would cost more than the conversion itself).
#include "engine/results.h"
#include "run/run.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace {

// Engine texts are ASCII but echo the input's own words (titles, labels), which may be in a
// legacy 8-bit encoding: undecodable bytes become replacement characters instead of failing
// the whole conversion.
py::str Text(const std::string& s) {
    return py::reinterpret_steal<py::str>(
        PyUnicode_DecodeUTF8(s.data(), static_cast<Py_ssize_t>(s.size()), "replace"));
}

// Runs one engine call; anything it throws reaches Python as a RuntimeError that says which
// call failed and why, never as a bare exception text.
template <typename Call> auto Guarded(const char* what, Call&& call) {
    try {
        return call();
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("Zarno engine internal error while ") + what + ": " +
                                 e.what() + ". Please report this with the deck.");
    }
}

py::list Text_Lines(const std::vector<std::string>& lines) {
    py::list l;
    for (const std::string& s : lines) {
        l.append(Text(s));
    }
    return l;
}

// A numpy array of one member of every element of a table.
template <typename Row, typename Getter>
py::array_t<double> Column(const std::vector<Row>& rows, Getter get) {
    py::array_t<double> a(static_cast<py::ssize_t>(rows.size()));
    double* out = a.mutable_data();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        out[i] = get(rows[i]);
    }
    return a;
}

template <typename Row, typename Getter>
py::array_t<int> Int_Column(const std::vector<Row>& rows, Getter get) {
    py::array_t<int> a(static_cast<py::ssize_t>(rows.size()));
    int* out = a.mutable_data();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        out[i] = get(rows[i]);
    }
    return a;
}

py::dict Units_Dict(const zarno::ResultUnits& u) {
    py::dict d;
    d["system"] = u.system;
    d["length"] = u.length;
    d["force"] = u.force;
    d["moment"] = u.moment;
    d["slope"] = u.slope;
    d["force_per_length"] = u.force_per_length;
    d["soil_modulus"] = u.soil_modulus;
    d["bending_stiffness"] = u.bending_stiffness;
    d["rotational_stiffness"] = u.rotational_stiffness;
    return d;
}

py::dict Message_Dict(const zarno::MessageResult& w) {
    py::dict d;
    d["code"] = w.code;
    d["kind"] = w.kind;
    d["message_code"] = w.message_code;
    d["count"] = w.count;
    d["text"] = Text_Lines(w.text);
    return d;
}

py::dict Load_Case_Dict(const zarno::LoadCaseResult& c, bool tables) {
    using zarno::NodeResult;
    py::dict d;
    d["number"] = c.number;
    d["loading_type"] = c.loading_type;
    d["condition_1"] = c.condition_1;
    d["condition_2"] = c.condition_2;
    d["axial_thrust"] = c.axial_thrust;
    d["converged"] = c.converged;
    d["error"] = Text_Lines(c.error);
    d["iterations"] = c.iterations;
    d["final_change"] = c.final_change;
    d["head_deflection"] = c.head_deflection;
    d["head_slope"] = c.head_slope;
    d["head_shear"] = c.head_shear;
    d["head_moment"] = c.head_moment;
    d["max_moment"] = c.max_moment;
    d["max_moment_depth"] = c.max_moment_depth;
    d["max_shear"] = c.max_shear;
    d["max_shear_depth"] = c.max_shear_depth;
    d["zero_deflection_points"] = c.zero_deflection_points;
    if (c.monopile) {
        d["base_shear"] = c.base_shear;
        d["base_moment"] = c.base_moment;
    }
    if (!tables) {
        return d;
    }
    const auto& n = c.nodes;
    py::dict nodes;
    nodes["node"] = Int_Column(n, [](const NodeResult& r) { return r.node; });
    nodes["depth"] = Column(n, [](const NodeResult& r) { return r.depth; });
    nodes["deflection"] = Column(n, [](const NodeResult& r) { return r.deflection; });
    nodes["slope"] = Column(n, [](const NodeResult& r) { return r.slope; });
    nodes["moment"] = Column(n, [](const NodeResult& r) { return r.moment; });
    nodes["shear"] = Column(n, [](const NodeResult& r) { return r.shear; });
    nodes["soil_reaction"] = Column(n, [](const NodeResult& r) { return r.soil_reaction; });
    nodes["Es"] = Column(n, [](const NodeResult& r) { return r.soil_modulus; });
    nodes["EI"] = Column(n, [](const NodeResult& r) { return r.bending_stiffness; });
    nodes["distributed_load"] = Column(n, [](const NodeResult& r) { return r.distributed_load; });
    nodes["section"] = Int_Column(n, [](const NodeResult& r) { return r.section; });
    nodes["layer"] = Int_Column(n, [](const NodeResult& r) { return r.layer; });
    nodes["nonlinear_section"] =
        Int_Column(n, [](const NodeResult& r) { return r.nonlinear_section ? 1 : 0; });
    if (c.monopile) {
        nodes["distributed_moment"] =
            Column(n, [](const NodeResult& r) { return r.distributed_moment; });
        nodes["moment_spring"] = Column(n, [](const NodeResult& r) { return r.moment_spring; });
    }
    d["nodes"] = nodes;
    return d;
}

py::dict Section_Curve_Dict(const zarno::SectionCurveResult& s) {
    using zarno::MomentCurvaturePoint;
    py::dict d;
    d["section"] = s.section;
    d["thrust_index"] = s.thrust_index;
    d["axial_thrust"] = s.axial_thrust;
    d["nominal_moment"] = s.nominal_moment;
    d["thrust_unit"] = s.thrust_unit;
    d["moment_unit"] = s.moment_unit;
    d["stiffness_unit"] = s.stiffness_unit;
    d["curvature_unit"] = s.curvature_unit;
    d["moment"] = Column(s.points, [](const MomentCurvaturePoint& p) { return p.moment; });
    d["EI"] = Column(s.points, [](const MomentCurvaturePoint& p) { return p.bending_stiffness; });
    d["curvature"] = Column(s.points, [](const MomentCurvaturePoint& p) { return p.curvature; });
    return d;
}

py::dict Py_Curve_Dict(const zarno::PyCurveResult& c) {
    using zarno::PyPoint;
    py::dict d;
    d["number"] = c.number;
    d["depth"] = c.depth;
    d["layer"] = c.layer;
    d["soil"] = Text(c.soil);
    d["y"] = Column(c.points, [](const PyPoint& p) { return p.y; });
    d["p"] = Column(c.points, [](const PyPoint& p) { return p.p; });
    return d;
}

// The results; without tables only the run-wide facts, the load cases' key values and the
// messages (what a study keeps of each run).
py::dict Results_Dict(const zarno::RunResults& r, bool tables = true) {
    using zarno::HeadStiffnessResult;
    using zarno::LengthPointResult;
    py::dict d;
    d["schema_version"] = r.schema_version;
    d["engine_version"] = r.engine_version;
    d["input_file"] = Text(r.input_file);
    d["analysis_type"] = r.analysis_type;
    d["status"] = r.status;
    d["return_value"] = r.return_value;
    d["title"] = Text_Lines(r.title);
    d["units"] = Units_Dict(r.units);
    py::list sections;
    for (const auto& s : r.section_curves) {
        if (tables) {
            sections.append(Section_Curve_Dict(s));
        }
    }
    d["section_curves"] = sections;
    py::list curves;
    for (const auto& c : r.py_curves) {
        if (tables) {
            curves.append(Py_Curve_Dict(c));
        }
    }
    d["py_curves"] = curves;
    py::list cases;
    for (const auto& c : r.load_cases) {
        cases.append(Load_Case_Dict(c, tables));
    }
    d["load_cases"] = cases;
    py::list sweeps;
    for (const auto& s : r.length_sweeps) {
        py::dict sd;
        const auto& p = s.points;
        sd["load_case"] = s.load_case;
        sd["pile_length"] = Column(p, [](const LengthPointResult& x) { return x.pile_length; });
        sd["head_deflection"] =
            Column(p, [](const LengthPointResult& x) { return x.head_deflection; });
        sd["max_moment"] = Column(p, [](const LengthPointResult& x) { return x.max_moment; });
        sd["max_shear"] = Column(p, [](const LengthPointResult& x) { return x.max_shear; });
        sweeps.append(sd);
    }
    d["length_sweeps"] = sweeps;
    const auto& k = r.head_stiffness;
    py::dict stiffness;
    stiffness["shear"] = Column(k, [](const HeadStiffnessResult& x) { return x.shear; });
    stiffness["moment"] = Column(k, [](const HeadStiffnessResult& x) { return x.moment; });
    stiffness["K22"] = Column(k, [](const HeadStiffnessResult& x) { return x.k22; });
    stiffness["K23"] = Column(k, [](const HeadStiffnessResult& x) { return x.k23; });
    stiffness["K32"] = Column(k, [](const HeadStiffnessResult& x) { return x.k32; });
    stiffness["K33"] = Column(k, [](const HeadStiffnessResult& x) { return x.k33; });
    stiffness["head_deflection"] =
        Column(k, [](const HeadStiffnessResult& x) { return x.head_deflection; });
    stiffness["head_rotation"] =
        Column(k, [](const HeadStiffnessResult& x) { return x.head_rotation; });
    d["head_stiffness"] = stiffness;
    py::list warnings;
    for (const auto& w : r.warnings) {
        warnings.append(Message_Dict(w));
    }
    d["warnings"] = warnings;
    py::list notes;
    for (const auto& w : r.notes) {
        notes.append(Message_Dict(w));
    }
    d["notes"] = notes;
    d["error"] = r.has_error ? py::object(Message_Dict(r.error)) : py::object(py::none());
    return d;
}

// The request of a run or a deck reading: outputs in memory, labelled after the input.
zarno::RunRequest Request(const std::string& input_file, const std::string* input_text) {
    zarno::RunRequest request;
    request.input_file = input_file;
    const auto dot = input_file.find_last_of('.');
    const auto slash = input_file.find_last_of('/');
    const std::string stem =
        (dot != std::string::npos && (slash == std::string::npos || dot > slash))
            ? input_file.substr(0, dot)
            : input_file;
    request.report_file = stem + ".zro";
    request.plot_file = stem + ".zrp";
    request.message_file = stem + ".zrm";
    request.write_files = false;
    request.input_text = input_text;
    return request;
}

// One analysis of an input file, the outputs kept in memory. The file names only label the
// report's list of files. The engine runs without the interpreter lock, so other Python
// threads (and other runs) go on meanwhile.
py::dict Run(const std::string& input_file, const std::optional<std::string>& input_text,
             bool keep_texts, bool tables) {
    zarno::RunRequest request = Request(input_file, input_text ? &*input_text : nullptr);
    std::string report;
    std::string plot;
    std::string messages;
    if (keep_texts) {
        request.report_text = &report;
        request.plot_text = &plot;
        request.message_text = &messages;
    }
    zarno::RunResults results;
    int value = 0;
    double seconds = 0.0;
    {
        py::gil_scoped_release release;
        const auto start = std::chrono::steady_clock::now();
        value = Guarded("running the analysis", [&] {
            return zarno::Run_Analysis(request, zarno::Local_Date_Time, results);
        });
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    py::dict d = Results_Dict(results, tables);
    d["return_value"] = value;
    d["engine_seconds"] = seconds; // the engine's own wall time, without the conversion
    if (keep_texts) {
        d["report"] = Text(report);
        d["plot"] = Text(plot);
        d["messages"] = Text(messages);
    }
    return d;
}

// Reads and checks a deck without computing: (status, deck document as JSON text, the error
// and warnings as in a run's results).
py::tuple Read_Deck(const std::string& input_file, const std::optional<std::string>& input_text) {
    const zarno::RunRequest request = Request(input_file, input_text ? &*input_text : nullptr);
    std::string deck_json;
    zarno::RunResults results;
    int value = 0;
    {
        py::gil_scoped_release release;
        value = Guarded("reading the deck",
                        [&] { return zarno::Read_Deck(request, deck_json, results); });
    }
    py::dict d = Results_Dict(results);
    d["return_value"] = value;
    return py::make_tuple(value, Text(deck_json), d);
}

// Writes deck text from a deck document: (0, text, "") or (non-zero, "", the JSON path of the
// first missing or ill-typed field).
py::tuple Write_Deck(const std::string& deck_json) {
    std::string text;
    std::string error;
    int value = 0;
    {
        py::gil_scoped_release release;
        value =
            Guarded("writing the deck", [&] { return zarno::Write_Deck(deck_json, text, error); });
    }
    return py::make_tuple(value, Text(text), Text(error));
}

} // namespace

PYBIND11_MODULE(_engine, module) {
    module.doc() = "Zarno lateral pile engine: one call is one complete analysis.";
    module.def("run", &Run, py::arg("input_file"), py::arg("input_text") = py::none(),
               py::arg("keep_texts") = true, py::arg("tables") = true,
               "Runs one analysis (of input_text when given, input_file then only labelling "
               "the outputs) with its outputs in memory and returns its results.");
    module.def("read_deck", &Read_Deck, py::arg("input_file"), py::arg("input_text") = py::none(),
               "Reads and checks a deck: (status, deck JSON, results with error and warnings).");
    module.def("write_deck", &Write_Deck, py::arg("deck_json"),
               "Writes deck text from a deck document: (status, text, error path).");

    module.attr("RESULTS_SCHEMA_VERSION") = zarno::RESULTS_SCHEMA_VERSION;
}
