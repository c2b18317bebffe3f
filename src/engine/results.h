// The results of one run as data: what the report and the plot file print, kept with full
// precision for programs (the command line's JSON and CSV output, front ends, scripts).
//
// The run fills it as it goes, at the places that compute or print each value; nothing here
// is read back from the run's own files. Values are in the units named in `Units` (the
// computation units of the run: pounds and inches in US customary runs, kilonewtons and
// meters in SI runs) unless a table names its own, as the moment-curvature tables do.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarno {

struct AnalysisModel;
struct RunInput;

// Version of the layout of RunResults as written to JSON; raised whenever a field is renamed
// or removed, or its meaning changes.
inline constexpr int RESULTS_SCHEMA_VERSION = 1;

// Unit of every quantity of the node tables and the summaries.
struct ResultUnits {
    std::string system; // "USCS", "SI" or "GENERAL"
    std::string length;
    std::string force;
    std::string moment;
    std::string slope;
    std::string force_per_length;  // soil reaction p and distributed load
    std::string soil_modulus;      // Es, force per length squared
    std::string bending_stiffness; // EI, force times length squared
    std::string rotational_stiffness;
};

// One station of a converged load case.
struct NodeResult {
    int node = 0;
    double depth = 0.0; // along the pile from the head
    double deflection = 0.0;
    double slope = 0.0;
    double moment = 0.0;
    double shear = 0.0;
    double soil_reaction = 0.0;
    double soil_modulus = 0.0; // secant Es of the p-y spring
    double bending_stiffness = 0.0;
    double distributed_load = 0.0;
    int section = 0;
    int layer = 0; // 0 above the ground or below the last layer
    // The node's stiffness comes from a moment-curvature table (it may crack or yield).
    bool nonlinear_section = false;
    // Monopile (PISA) layers: the distributed moment the soil puts on the pile (moment per
    // length, opposing the rotation) and its secant spring (moment per length per radian).
    double distributed_moment = 0.0;
    double moment_spring = 0.0;
};

struct LoadCaseResult {
    int number = 0;
    int loading_type = 0;
    double condition_1 = 0.0;
    double condition_2 = 0.0;
    double axial_thrust = 0.0;
    bool converged = false;
    int iterations = 0;
    double final_change = 0.0; // largest change of deflection in the last iteration
    double head_deflection = 0.0;
    double head_slope = 0.0;
    double head_shear = 0.0;
    double head_moment = 0.0;
    double max_moment = 0.0;
    double max_moment_depth = 0.0;
    double max_shear = 0.0;
    double max_shear_depth = 0.0;
    int zero_deflection_points = 0;
    // With a monopile (PISA) layer: the distributed moments of the nodes are given, and with
    // such a layer at the tip the base shear and base moment on the pile (opposing the tip's
    // displacement and rotation).
    bool monopile = false;
    double base_shear = 0.0;
    double base_moment = 0.0;
    // The message block of the error that stopped this case; empty for a case that was
    // solved. A failed case has converged false and no stations.
    std::vector<std::string> error;
    std::vector<NodeResult> nodes;
};

struct PyPoint {
    double y = 0.0;
    double p = 0.0;
};

// A p-y curve printed at a requested depth.
struct PyCurveResult {
    int number = 0;
    double depth = 0.0;
    int layer = 0;
    std::string soil;
    std::vector<PyPoint> points;
};

struct MomentCurvaturePoint {
    double moment = 0.0;
    double bending_stiffness = 0.0;
    double curvature = 0.0;
};

// Moment-curvature table of one section at one axial thrust, in the units its plot record
// names (the section analysis works in kips and inches in US customary runs).
struct SectionCurveResult {
    int section = 0;
    int thrust_index = 0;
    double axial_thrust = 0.0;
    double nominal_moment = 0.0;
    std::string thrust_unit;
    std::string moment_unit;
    std::string stiffness_unit;
    std::string curvature_unit;
    std::vector<MomentCurvaturePoint> points;
};

// One load level of the pile-head stiffness matrix.
struct HeadStiffnessResult {
    double shear = 0.0;
    double moment = 0.0;
    double k22 = 0.0;
    double k23 = 0.0;
    double k32 = 0.0;
    double k33 = 0.0;
    double head_deflection = 0.0;
    double head_rotation = 0.0;
};

struct LengthPointResult {
    double pile_length = 0.0;
    double head_deflection = 0.0;
    double max_moment = 0.0;
    double max_shear = 0.0;
};

struct LengthSweepResult {
    int load_case = 0;
    std::vector<LengthPointResult> points;
};

// A warning of the run, or the fatal error that stopped it.
struct MessageResult {
    int code = 0;             // negative warning code, or the error number
    std::string kind;         // "warning", "input error", "runtime error" or "stop"
    std::string message_code; // "INP00012" / "RUN00009" for errors, empty for warnings
    int count = 0;            // how often a warning was recorded
    std::vector<std::string> text;
};

struct RunResults {
    int schema_version = RESULTS_SCHEMA_VERSION;
    std::string engine_version;
    std::string input_file;
    int analysis_type = 0;
    int status = 0;       // RunStatus at the end: 0, or the fatal status
    int return_value = 0; // what the entry returned
    std::vector<std::string> title;
    ResultUnits units;
    std::vector<SectionCurveResult> section_curves;
    std::vector<PyCurveResult> py_curves;
    std::vector<LoadCaseResult> load_cases;
    std::vector<LengthSweepResult> length_sweeps;
    std::vector<HeadStiffnessResult> head_stiffness;
    std::vector<MessageResult> warnings;
    std::vector<MessageResult> notes; // warnings with a text of their own (input checks)
    bool has_error = false;
    MessageResult error;
    // False when the run stopped before its output files were created; its messages and
    // closing line then went to the standard output. Not part of the JSON document.
    bool output_files_created = false;
};

// ---- filled by the run, one call where the values are at hand -----------------------------

// Run-wide facts after the input was read: units, analysis type, title.
void Record_Run_Facts(const RunInput& in, RunResults& results);
// A converged (or last) load case, from the lateral state after its results were written.
void Record_Load_Case(AnalysisModel& m, int n);
// The case n that the run's error stopped: kept with converged false and the error's block,
// so that the cases solved before it keep their results beside it.
void Record_Failed_Load_Case(AnalysisModel& m, int n);
// A moment-curvature table as its plot records give it: Line 4 opens it, Line 5 adds points.
void Record_Section_Curve(AnalysisModel& m, int section, int thrust_index, double thrust, double Mn,
                          std::string_view line4_label);
void Record_Section_Point(AnalysisModel& m, int section, int thrust_index, double M, double EI,
                          double phi, std::string_view line5_label);
// Printed p-y curves: the layer whose curves are being printed, a curve's depth, its points.
void Record_py_Layer(AnalysisModel& m, int layer);
void Record_py_Curve(AnalysisModel& m, double depth, int curve);
void Record_py_Point(AnalysisModel& m, double y, double p, std::string_view soil);
void Record_Length_Point(AnalysisModel& m, int load_case, double L, double y, double M, double V);
void Record_Head_Stiffness(AnalysisModel& m, const HeadStiffnessResult& level);
// A warning whose text is specific to this input (named value, line, expected keyword).
void Record_Warning_Note(AnalysisModel& m, int code, std::vector<std::string> text);
// At the end of the run: the warning tallies and the fatal error, if any.
void Record_Run_End(AnalysisModel& m, int return_value);

// A line that heads a fatal or non-fatal error block ("**** Input Data Error No. 12 ****",
// "***** INPUT ERROR *****", "INPUT ERROR - ...").
bool Is_Error_Heading(std::string_view line);

// The message block of the fatal error as the run wrote it: from its "****" heading to the
// line before the premature-end line, taken from the report or else the message file.
std::vector<std::string> Read_Error_Block(const std::string& report_file,
                                          const std::string& message_file);
// The same, from the texts of a run whose files were kept in memory.
std::vector<std::string> Read_Error_Block_From_Text(const std::string& report_text,
                                                    const std::string& message_text);

} // namespace zarno
