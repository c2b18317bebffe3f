// The state of one analysis run. A run owns exactly one AnalysisModel and passes it by
// reference to every phase; nothing else holds run data, so two runs never share state.
#pragma once

#include "analyses/analyses_state.h"
#include "engine/capacities.h"
#include "engine/model_entities.h"
#include "engine/pile_node.h"
#include "engine/results.h"
#include "input/record_reader.h"
#include "py/py_node_cache.h"
#include "report/text_file.h"
#include "section/section_ei_table.h"
#include "solver/lateral_results.h"
#include "solver/lrfd_state.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace zarno {

enum UnitSystem : int { USCS = 1, SI = 2, GENERAL = 3 };
inline constexpr int ANALYSIS_EI_ONLY = 2;
inline constexpr int ANALYSIS_LATERAL = 3;

// Unit label strings of the report, fixed width with their trailing blanks.
struct UnitLabels {
    std::string Division = "/";
    std::string Power = "**";
    std::string Cube = "3";
    std::string Force;
    std::string Length;
    std::string Moment;
    std::string Force_Per_Length;
    std::string Unit_Weight;
    std::string Force_Per_Volume;
    std::string Soil_Stress;
    std::string Depth;
    std::string Small_Length;
    std::string Force_Per_Volume2;
    std::string Material_Stress;
};

// Working state of the p-y generation, shared by the pass over the layers, the soil
// models and the equivalent-depth computation.
inline constexpr double X_EQ_NOT_SET = -10000.0;
inline constexpr int MAX_PRINT_POINTS = MAX_PRINTED_PY_DEPTHS;

// The points of one layer in a pass over points along the pile (stations, or the depths of
// printed curves): the first and last, 0 and 0 when the layer holds none.
struct LayerPointRange {
    int first = 0;
    int last = 0;
};
using LayerPointRanges = std::array<LayerPointRange, MAX_SOIL_LAYERS + 1>;

struct PyState {
    int KTOP = 0; // first node (or printed depth) of the layer being evaluated
    int KBOT = 0; // last one
    int i_RockLayersAbove = 0;
    // True only while the curves at the requested depths are printed: the model routines
    // then write curves instead of moduli, and their "nodes" are the requested depths.
    bool b_PrintPY = false;
    std::array<bool, MAX_SOIL_LAYERS + 1> b_BelowRock{};
    // Layers whose secant modulus has met the ceiling in this run (noted once per layer).
    std::array<bool, MAX_SOIL_LAYERS + 1> b_Es_Ceiling_Noted{};
    // Integral of the ultimate resistance over the layer, for the equivalent depth below.
    std::array<double, MAX_SOIL_LAYERS + 1> F_Layer{};
    std::array<double, MAX_SOIL_LAYERS + 1> F_Layer_Saved{};
    // Equivalent depth of the top of each layer; X_EQ_NOT_SET until computed.
    std::array<double, MAX_SOIL_LAYERS + 1> X_Eq{};
    // Node working values shared with the equivalent-depth computation.
    double b = 0.0;
    double c = 0.0;
    double ca = 0.0;
    double Gamma = 0.0;
    double J = 0.0;  // the node's J (soft clay with J) or the run-wide default
    double xt = 0.0; // true depth of the node below the ground surface
    // Friction-angle quantities of the sand and silt models (radians): alpha = phi/2,
    // beta = pi/4 + phi/2, the at-rest, active (level ground) and passive coefficients.
    double phi = 0.0;
    double alpha = 0.0;
    double beta = 0.0;
    double K0 = 0.0;
    double Ka = 0.0;
    double Kp = 0.0;
    // Requested depths of the printed curves (print mode): depth along the pile, vertical
    // depth, interpolated current deflection and soil movement.
    int i_Num_Print_Points = 0;
    std::array<double, MAX_PRINT_POINTS + 1> Print_X{};
    std::array<double, MAX_PRINT_POINTS + 1> Print_Xv{};
    std::array<double, MAX_PRINT_POINTS + 1> Print_y{};
    std::array<double, MAX_PRINT_POINTS + 1> Print_ysm{};
    std::array<int, MAX_PRINT_POINTS + 1> Print_Curve_Number{};
    // The requested depths each layer holds, kept apart from the layers' own node ranges so
    // that printing curves changes nothing of the stations.
    LayerPointRanges Print_Layers{};
};

// The warning store: how often each code was recorded and in what order.
struct WarningStore {
    // No tally above this code is non-zero. Clearing, setting aside and reading the tallies
    // stop there, so a run that records few warnings touches few pages of the tallies (the
    // single values stand first, on the page where the tallies begin).
    int Highest_Tallied_Code = 0;
    int i_Warning_Count = 0;
    // While set, nothing is recorded: a value that is only borrowed for a blend (the
    // neighbouring layer's spring at a boundary station) warns about nothing.
    bool Recording_Paused = false;
    std::array<int, HIGHEST_WARNING_CODE + 1> i_Warning_Tally{};
    std::array<int, MAX_WARNING_CODES + 1> i_Warning_Code{};

    int Last_Tallied_Code() const {
        return std::clamp(Highest_Tallied_Code, 0, HIGHEST_WARNING_CODE);
    }
    // Every tally back to zero (code 0 is never tallied). A store with nothing tallied is
    // not written at all: writing even a zero would take a fresh page of its own.
    void Clear_Tallies() {
        if (Highest_Tallied_Code != 0) {
            std::fill_n(i_Warning_Tally.begin() + 1, Last_Tallied_Code(), 0);
            Highest_Tallied_Code = 0;
        }
    }
};

// The parts of a run's data. A phase is handed the parts it reads and writes; the model
// (AnalysisData, below) is all of them at once, so a reset still replaces everything.

// How the run is driven: its status, its files' names and what becomes of its outputs.
struct RunControl {
    int RunStatus = 0;
    std::string Input_File_Name;
    std::string Report_File_Name;
    std::string Plot_File_Name;
    std::string Message_File_Name;
    std::vector<std::string> MEI_Report_Names; // at most MAX_MEI_REPORT_NAMES
    bool b_Outputs_In_Memory = false;          // report, plot and messages composed in memory only
    // Which output texts the caller takes: a file keeps its text for the caller; in memory
    // the others are not composed at all.
    bool Report_Text_Wanted = false;
    bool Plot_Text_Wanted = false;
    bool Message_Text_Wanted = false;
    bool Input_From_Text = false; // the input was handed over as text; its name only labels it
    bool Stop_After_Input_Checks = false; // read and check the input, compute nothing
    std::string Input_Header_Token;
};

// The input as the analysis uses it: the options, the solution control and every table
// read from the input (in computation units once b_Units_Converted is set), the report's
// labels of its units, and the constants of the method that the reset sets. The sections
// and the LRFD loads belong here too but sit on zero pages (see AnalysisModel). The layers'
// node ranges (SoilLayer::KTOP, i_BottomNodeInLayer) are written with the station grid.
struct RunInput {
    // ---- options -----------------------------------------------------------------------
    int IUNITS = USCS;
    int i_Analysis_Type = 0;
    int KYL = 0;
    bool ib_ComputeKmatrix_1T0F = false;
    bool b_Use_LRFD = false;
    bool b_Use_Tip_Shear = false;
    bool b_Use_Soil_Movement = false;
    bool b_Use_py_Modifiers = false;
    // The distributed moment and base springs of the monopile (PISA) layers; off, those
    // layers give their p-y springs alone (the plain p-y analysis with the same curves).
    bool Pisa_Moment_And_Base_Springs = true;
    bool b_Cyclic = false;
    double Number_Of_Cycles = 0.0;
    bool b_Print_Summary_Only = false;
    int i_Print_py_Curves = 0;
    bool b_Print_py_Curves = false;
    bool b_Compute_Interaction = false;
    int i_Interaction_Code = 0;
    bool b_Units_Converted = false;
    std::array<std::string, 5> Title{};

    // ---- solution control --------------------------------------------------------------
    int i_Pile_Increments = 0;
    int i_Max_Iterations = 0;
    double Tolerance = 0.0;
    double Excess_Deflection = 0.0;
    int i_Print_Increment = 0;

    // ---- constants and name tables set by the reset ------------------------------------
    std::array<std::string, NUM_PY_TYPES + 1> py_Type_Names{};
    // Matlock's J, the default the soft clay, silt, layered-soil and rock routines use.
    double Default_J = 0.0;

    UnitLabels Labels;

    // ---- entities read from the input --------------------------------------------------
    int i_Num_Sections = 0;
    int i_Num_Section_Breakpoints = 0; // top and bottom of every section
    // Sections: see AnalysisModel (large table on zero pages).
    int i_Num_Layers = 0;
    std::array<SoilLayer, MAX_SOIL_LAYERS + 1> Layers{};
    SoilProfile Profile;
    double Pile_Length = 0.0;
    double Ground_Surface_Depth = 0.0; // Xgs, from the top of layer 1

    int i_Num_Loads = 0;
    std::array<PileHeadLoad, MAX_PILE_HEAD_LOADS + 1> Loads{};
    // The load table was last filled by AXIAL THRUST LOADS rather than by LOADING.
    bool Loads_From_Axial_Thrust_Block = false;
    int i_Num_Dist_Load_Points = 0;
    std::array<DepthValue, MAX_DIST_LOAD_POINTS + 1> Dist_Load{};
    int i_Num_Lrfd_Loads = 0;
    // Lrfd_Loads: see AnalysisModel (on zero pages).
    int i_Num_Lrfd_Combinations = 0;
    std::array<LrfdCombination, MAX_LRFD_COMBINATIONS + 1> Lrfd_Combinations{};
    int i_Num_Soil_Movements = 0;
    std::array<DepthValue, MAX_SOIL_MOVEMENT_ROWS + 1> Soil_Movement{};
    int i_Num_Group_Effect_Rows = 0;
    std::array<GroupEffectRow, MAX_GROUP_EFFECT_ROWS + 1> Group_Effect{};
    int i_Num_Tip_Shear_Points = 0;
    std::array<TipShearPoint, MAX_TIP_SHEAR_POINTS + 1> Tip_Shear{};
    double Ground_Slope = 0.0; // radians
    double Pile_Batter = 0.0;  // radians
    double Slope_Minus_Batter = 0.0;
    int i_Num_Printed_py_Depths = 0;
    std::array<double, MAX_PRINTED_PY_DEPTHS + 1> Printed_py_Depth{};
    // Distinct axial thrusts of the bending stiffness tables, ascending (kips in USCS).
    int i_Num_Axial_Thrusts = 0;
    std::array<double, MAX_AXIAL_THRUSTS + 1> Axial_Thrust_List{};
};

// The finite-difference stations along the pile and the pile property table they were
// built from. The deflections of the stations live in LateralState::Solution (one store
// for the solver, the soil springs and the results).
struct StationGrid {
    int i_Num_Nodes = 0;           // N = increments + 1
    double Increment_Length = 0.0; // h
    double Grid_Pile_Length = 0.0; // length the grid was built for
    std::array<PileNode, NODE_TABLE_SIZE + 1> Nodes{};
    PilePropertyTable Pile_Property_Table;
    // Secant base springs of a monopile (PISA) layer at the tip: base shear per unit tip
    // displacement (F/L) and base moment per radian of tip rotation (F L). 0 otherwise.
    double Base_Shear_Spring = 0.0;
    double Base_Moment_Spring = 0.0;
};

// Every value of a run except its open files and the zero-page tables: the parts above,
// the p-y state, the lateral analysis and the results. The reset replaces all of it at
// once, so no value can survive from an earlier run.
struct AnalysisData : RunControl, RunInput, StationGrid {
    RunControl& Run_Control() { return *this; }
    const RunControl& Run_Control() const { return *this; }
    RunInput& Run_Input() { return *this; }
    const RunInput& Run_Input() const { return *this; }
    StationGrid& Grid() { return *this; }
    const StationGrid& Grid() const { return *this; }

    // ---- p-y curves: the working state of a pass and what the passes keep ---------------
    PyState Py;
    PyNodeCache Py_Cache; // what the p-y passes keep between passes, emptied with the grid

    // Warnings: see AnalysisModel (on zero pages).
    // EI_Table: see AnalysisModel (large table on zero pages).

    // ---- lateral analysis: current load case and the results of converged cases --------
    LateralState Lateral;

    // LRFD working state (Lrfd) and the pile-head stiffness and length sweep (Analyses):
    // see AnalysisModel (on zero pages).

    // ---- results as data, filled as the run computes them --------------------------------
    RunResults Results;
    int Results_py_Layer = 0; // layer whose p-y curves are being printed
};

// The sections table (on zero pages, see LargeTables), handed on its own to the phases
// that read the sections.
using SectionTable = std::array<PileSection, MAX_SECTIONS + 1>;

// The tables that make up almost all of a model's size (about 13 MB at full capacity)
// while a run fills only a few sections and thrusts of them, and the fixed-capacity
// stores that many runs never touch (LRFD loads, the optional analyses, the warning
// tallies). They hold only numbers whose cleared value is zero, so a block of zero bytes
// is a valid, cleared instance, and a run pays only for the pages it writes.
struct LargeTables {
    SectionTable Sections;
    // Moment-curvature points of every section and thrust, written by the section
    // analysis and read by the lateral solver.
    SectionEITable EI_Table;
    std::array<LrfdLoad, MAX_LRFD_LOADS + 1> Lrfd_Loads;
    LrfdState Lrfd;         // LRFD load combinations
    AnalysesState Analyses; // pile-head stiffness and deflection versus pile length
    WarningStore Warnings;
};

// Owns one LargeTables on zero-filled pages from the operating system: creating it costs
// no clearing, and a page is only backed by memory once a run writes to it, so the memory
// of a run follows what its input uses rather than the capacities.
class ZeroPageTables {
  public:
    ZeroPageTables();
    ~ZeroPageTables();
    ZeroPageTables(const ZeroPageTables&) = delete;
    ZeroPageTables& operator=(const ZeroPageTables&) = delete;

    LargeTables& Tables() { return *tables_; }
    // Returns every byte to zero (and the pages to the system where it can).
    void Clear();

  private:
    LargeTables* tables_ = nullptr;
    std::size_t bytes_ = 0;
    [[maybe_unused]] bool mapped_ = false; // only platforms with mmap map the tables
};

// The run's four files: the input reader and the three outputs.
struct RunFiles {
    RecordReader Input;
    TextFile Report{stdout};
    TextFile Plot{stdout};
    TextFile Messages{stdout};
};

// One run: its data and its four files. Heap-allocate it.
struct AnalysisModel : AnalysisData, RunFiles {
    AnalysisModel()
        : Sections(Storage.Tables().Sections), EI_Table(Storage.Tables().EI_Table),
          Lrfd_Loads(Storage.Tables().Lrfd_Loads), Lrfd(Storage.Tables().Lrfd),
          Analyses(Storage.Tables().Analyses), Warnings(Storage.Tables().Warnings) {}
    AnalysisModel(const AnalysisModel&) = delete;
    AnalysisModel& operator=(const AnalysisModel&) = delete;

    ZeroPageTables Storage; // declared first: the references below point into it
    SectionTable& Sections;
    SectionEITable& EI_Table;
    std::array<LrfdLoad, MAX_LRFD_LOADS + 1>& Lrfd_Loads;
    LrfdState& Lrfd;
    AnalysesState& Analyses;
    WarningStore& Warnings;

    RunFiles& Files() { return *this; }
};

// Clears the whole model and applies the start-of-run settings.
void Reset_Model_State(AnalysisModel& m);
// A new model in its start-of-run state: the same as a reset, without clearing twice.
std::unique_ptr<AnalysisModel> Make_Fresh_Model();
// The settings a reset applies on top of the zeroed model (type names, defaults).
void Apply_Start_Of_Run_Settings(AnalysisModel& m);
// One-time conversion of the input values to computation units (pounds and inches).
void Convert_USCS_Input_Units(AnalysisModel& m);
void Convert_SI_Input_Units(AnalysisModel& m);

} // namespace zarno
