#include "engine/results.h"
#include "solver/node_results.h"

#include "engine/analysis_model.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"
#include "report/warnings.h"
#include "solver/load_case_results.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace zarno {

namespace {

ResultUnits Units_Of(int iunits) {
    if (iunits == USCS) {
        return {"USCS", "in", "lb", "in-lb", "rad", "lb/in", "lb/in^2", "lb-in^2", "in-lb/rad"};
    }
    if (iunits == SI) {
        return {"SI", "m", "kN", "kN-m", "rad", "kN/m", "kN/m^2", "kN-m^2", "kN-m/rad"};
    }
    return {"GENERAL", "L", "F", "F-L", "rad", "F/L", "F/L^2", "F-L^2", "F-L/rad"};
}

// The units a plot label gives in parentheses, in order: "Moment (in-kips), EI (kip-in^2),
// Curvature (rad/in)" gives in-kips, kip-in^2 and rad/in. Missing ones are empty.
std::vector<std::string> Units_In_Label(std::string_view label) {
    std::vector<std::string> units;
    size_t at = 0;
    while ((at = label.find('(', at)) != std::string_view::npos) {
        const size_t close = label.find(')', at);
        if (close == std::string_view::npos) {
            break;
        }
        units.push_back(Trim_Both(label.substr(at + 1, close - at - 1)));
        at = close + 1;
    }
    return units;
}

std::string Unit_At(const std::vector<std::string>& units, size_t i) {
    return i < units.size() ? units[i] : std::string();
}

bool Starts_With(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool Is_End_Line(std::string_view line) {
    return Starts_With(line, "Zarno ended prematurely") ||
           Starts_With(line, "The analysis ended due to");
}

std::vector<std::string> Block_From_Stream(std::istream& in) {
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(Trim_Right(line, WHITE_SPACE));
    }
    // The last fatal (not "NON-FATAL") heading before the first end line.
    size_t end = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (Is_End_Line(lines[i])) {
            end = i;
            break;
        }
    }
    size_t start = end;
    for (size_t i = end; i-- > 0;) {
        if (Is_Error_Heading(lines[i]) && lines[i].find("NON-FATAL") == std::string::npos) {
            start = i;
            break;
        }
    }
    if (start == end) {
        return {};
    }
    std::vector<std::string> block(lines.begin() + static_cast<std::ptrdiff_t>(start),
                                   lines.begin() + static_cast<std::ptrdiff_t>(end));
    while (!block.empty() && block.back().empty()) {
        block.pop_back();
    }
    return block;
}

std::vector<std::string> Block_From_File(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        return {};
    }
    return Block_From_Stream(in);
}

std::vector<std::string> Block_From_Text(const std::string& text) {
    std::istringstream in(text);
    return Block_From_Stream(in);
}

// The load and the iteration count of case n, as both a solved and a failed case give them.
LoadCaseResult Case_Heading(const AnalysisModel& m, int n) {
    LoadCaseResult c;
    c.number = n;
    c.loading_type = m.Loads[n].i_Load_Type;
    c.condition_1 = m.Loads[n].Condition1;
    c.condition_2 = m.Loads[n].Condition2;
    c.axial_thrust = m.Loads[n].Axial_Thrust;
    c.iterations = m.Lateral.i_Iterations;
    c.final_change = m.Lateral.Solution.dYmax;
    return c;
}

} // namespace

bool Is_Error_Heading(std::string_view line) {
    const size_t b = line.find_first_not_of(' ');
    if (b == std::string_view::npos) {
        return false;
    }
    line.remove_prefix(b);
    // "**** Input Data Error No. 12 ****", "***** INPUT ERROR *****", and the one-line
    // "INPUT ERROR - ..." messages of the option and section readers.
    return (Starts_With(line, "****") && (line.find("Error") != std::string_view::npos ||
                                          line.find("ERROR") != std::string_view::npos)) ||
           Starts_With(line, "INPUT ERROR");
}

void Record_Run_Facts(const RunInput& in, RunResults& results) {
    RunResults& r = results;
    r.analysis_type = in.i_Analysis_Type;
    r.units = Units_Of(in.IUNITS);
    r.title.clear();
    for (const std::string& t : in.Title) {
        r.title.push_back(Trim_Right(t, WHITE_SPACE));
    }
}

void Record_Failed_Load_Case(AnalysisModel& m, int n) {
    if (n < 1 || n > MAX_PILE_HEAD_LOADS) {
        return;
    }
    std::vector<LoadCaseResult>& cases = m.Results.load_cases;
    if (cases.empty() || cases.back().number != n) {
        cases.push_back(Case_Heading(m, n));
    }
    // The block is attached when the run ends: some blocks are read back from the report.
    cases.back().converged = false;
}

void Record_Load_Case(AnalysisModel& m, int n) {
    if (n < 1 || n > MAX_PILE_HEAD_LOADS) {
        return;
    }
    const LateralState& L = m.Lateral;
    const LoadCaseSummary& sum = L.Case[n];
    LoadCaseResult c = Case_Heading(m, n);
    c.converged = std::fabs(L.Solution.dYmax) <= m.Tolerance;
    c.head_deflection = sum.Head_Deflection;
    c.head_slope = sum.Head_Slope;
    c.head_shear = sum.Head_Shear;
    c.head_moment = sum.Head_Moment;
    c.max_moment = sum.Max_Moment;
    c.max_moment_depth = sum.Max_Moment_Depth;
    c.max_shear = sum.Max_Shear;
    c.max_shear_depth = sum.Max_Shear_Depth;
    c.zero_deflection_points = sum.i_Zero_Deflection_Points;
    const int N = std::min(m.i_Num_Nodes, MAX_NODES);
    c.nodes.reserve(static_cast<size_t>(std::max(N, 0)));
    c.monopile = L.Pile.Has_Monopile_Springs();
    if (c.monopile && N >= 2) {
        const double h = L.Pile.Increment;
        c.base_shear = Output_Value(-L.Pile.Base_Shear_Spring * L.Solution.y(N));
        c.base_moment = Output_Value(-L.Pile.Base_Moment_Spring *
                                     (L.Solution.y(N + 1) - L.Solution.y(N - 1)) / (2.0 * h));
    }
    for (int i = 1; i <= N; ++i) {
        const size_t k = static_cast<size_t>(i);
        NodeResult node;
        node.node = i;
        node.depth = L.Inputs.Depth[k];
        node.deflection = Output_Value(L.Solution.y(i));
        node.slope = L.Results.Slope[k];
        node.moment = Output_Value(L.Results.Moment[k]);
        node.shear = Output_Value(L.Results.Shear[k]);
        node.soil_reaction = Output_Value(L.Results.Soil_Reaction[k]);
        node.soil_modulus = L.Pile.Es[k];
        node.bending_stiffness = L.Pile.EI[k];
        node.distributed_load = L.Pile.Load_Term(i);
        node.section = m.Nodes[k].i_Section;
        node.layer = m.Nodes[k].i_Layer;
        const int s = node.section;
        node.nonlinear_section =
            s >= 1 && s <= MAX_SECTIONS && m.Sections[s].i_Section_Type != SECTION_ELASTIC;
        if (c.monopile) {
            node.moment_spring = L.Pile.Km[k];
            node.distributed_moment = Output_Value(-Distributed_Moment_Flux(L.Pile, L.Solution, i));
        }
        c.nodes.push_back(node);
    }
    m.Results.load_cases.push_back(std::move(c));
}

void Record_Section_Curve(AnalysisModel& m, int section, int thrust_index, double thrust, double Mn,
                          std::string_view line4_label) {
    SectionCurveResult c;
    c.section = section;
    c.thrust_index = thrust_index;
    c.axial_thrust = thrust;
    c.nominal_moment = Mn;
    const std::vector<std::string> units = Units_In_Label(line4_label);
    c.thrust_unit = Unit_At(units, 0);
    m.Results.section_curves.push_back(std::move(c));
}

void Record_Section_Point(AnalysisModel& m, int section, int thrust_index, double M, double EI,
                          double phi, std::string_view line5_label) {
    if (m.Results.section_curves.empty()) {
        return;
    }
    SectionCurveResult& c = m.Results.section_curves.back();
    if (c.points.empty()) {
        c.section = section;
        c.thrust_index = thrust_index;
        const std::vector<std::string> units = Units_In_Label(line5_label);
        c.moment_unit = Unit_At(units, 0);
        c.stiffness_unit = Unit_At(units, 1);
        c.curvature_unit = Unit_At(units, 2);
    }
    c.points.push_back({M, EI, phi});
}

void Record_py_Layer(AnalysisModel& m, int layer) {
    m.Results_py_Layer = layer;
}

void Record_py_Curve(AnalysisModel& m, double depth, int curve) {
    PyCurveResult c;
    c.number = curve;
    c.depth = depth;
    c.layer = m.Results_py_Layer;
    m.Results.py_curves.push_back(std::move(c));
}

void Record_py_Point(AnalysisModel& m, double y, double p, std::string_view soil) {
    if (m.Results.py_curves.empty()) {
        return;
    }
    PyCurveResult& c = m.Results.py_curves.back();
    if (c.soil.empty()) {
        c.soil = soil;
    }
    c.points.push_back({y, p});
}

void Record_Length_Point(AnalysisModel& m, int load_case, double L, double y, double M, double V) {
    std::vector<LengthSweepResult>& sweeps = m.Results.length_sweeps;
    if (sweeps.empty() || sweeps.back().load_case != load_case) {
        sweeps.push_back({load_case, {}});
    }
    sweeps.back().points.push_back({L, y, M, V});
}

void Record_Head_Stiffness(AnalysisModel& m, const HeadStiffnessResult& level) {
    m.Results.head_stiffness.push_back(level);
}

void Record_Warning_Note(AnalysisModel& m, int code, std::vector<std::string> text) {
    MessageResult note;
    note.code = code;
    note.kind = "warning";
    note.count = 1;
    note.text = std::move(text);
    m.Results.notes.push_back(std::move(note));
}

void Record_Run_End(AnalysisModel& m, int return_value) {
    RunResults& r = m.Results;
    r.engine_version = ENGINE_VERSION_STRING;
    r.input_file = m.Input_File_Name;
    r.status = m.RunStatus;
    r.return_value = return_value;
    r.warnings.clear();
    for (int k = 1; k <= m.Warnings.Last_Tallied_Code(); ++k) {
        const int tally = m.Warnings.i_Warning_Tally[static_cast<size_t>(k)];
        if (tally == 0) {
            continue;
        }
        MessageResult w;
        w.code = -k;
        w.kind = "warning";
        w.count = tally;
        w.text = Warning_Text_Lines(-k);
        for (std::string& line : w.text) {
            line = Trim_Right(line, WHITE_SPACE);
        }
        while (!w.text.empty() && w.text.front().empty()) {
            w.text.erase(w.text.begin());
        }
        while (!w.text.empty() && w.text.back().empty()) {
            w.text.pop_back();
        }
        r.warnings.push_back(std::move(w));
    }
    const int status = m.RunStatus;
    r.has_error = status > 0;
    if (!r.has_error) {
        return;
    }
    MessageResult& e = r.error;
    if (status >= 100 && status <= 199) {
        e.kind = "input error";
        e.code = status - 100;
        e.message_code = Input_Error_Code(e.code);
    } else if (status >= 200 && status <= 299) {
        e.kind = "runtime error";
        e.code = status - 200;
        e.message_code = Runtime_Error_Code(e.code);
    } else {
        e.kind = "stop";
        e.code = status;
    }
    e.count = 1;
}

std::vector<std::string> Read_Error_Block(const std::string& report_file,
                                          const std::string& message_file) {
    std::vector<std::string> block = Block_From_File(report_file);
    if (block.empty()) {
        block = Block_From_File(message_file);
    }
    return block;
}

std::vector<std::string> Read_Error_Block_From_Text(const std::string& report_text,
                                                    const std::string& message_text) {
    std::vector<std::string> block = Block_From_Text(report_text);
    if (block.empty()) {
        block = Block_From_Text(message_text);
    }
    return block;
}

} // namespace zarno
