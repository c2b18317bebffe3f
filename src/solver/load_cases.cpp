// The load-case loop: for every pile-head load, prepare the stations, iterate solution,
// soil springs and bending stiffness until the deflections settle, then report the case.
#include "solver/load_cases.h"

#include "analyses/deflection_vs_length.h"
#include "analyses/pile_head_stiffness.h"
#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/results.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"
#include "profile/pile_grid.h"
#include "profile/soil_profile.h"
#include "py/py_framework.h"
#include "py/py_print.h"
#include "report/fortran_format.h"
#include "report/warnings.h"
#include "solver/curvature_interval.h"
#include "solver/lrfd.h"
#include "solver/node_results.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fmt/format.h>
#include <string>
#include <string_view>

namespace zarno {

namespace {

// The balance warning of a solution whose forces and moments do not close: recorded with
// the case and the station where the imbalance is largest, so that every front end reports
// it beside the report's block.
void Record_Balance_Warning(AnalysisModel& m, int n, const EquilibriumCheck& e) {
    const std::string force = Trim_Both(m.Labels.Force);
    const std::string moment = Trim_Both(m.Labels.Length) + "-" + force;
    const std::string where = m.Lateral.b_Stiffness_Mode
                                  ? std::string("A load case of the pile-head stiffness matrix")
                                  : fmt::format("Load case {}", n);
    // The twenty cases of the stiffness matrix share one note.
    Record_Warning_Once(
        m, WARNING_SOLUTION_BALANCE, where + ":",
        {fmt::format("{}: the solution leaves a moment imbalance of {:.5g} {} (largest at "
                     "station {}) and a lateral force imbalance of {:.5g} {} (station {}).",
                     where, e.dM_max, moment, std::max(e.i_dM_Index - 1, 1), e.dV_max, force,
                     std::max(e.i_dV_Index - 1, 1)),
         "Examine deflection, moment and shear near the pile head; if the shear force changes "
         "abruptly, increase the number of pile increments and repeat the analysis."});
}

// Single-precision thresholds of the convergence recommendations.
constexpr double USCS_TOLERANCE_LIMIT = static_cast<double>(0.0001f);
constexpr double SI_TOLERANCE_LIMIT = static_cast<double>(2.54e-6f);

// Copies what a pass of the iteration changes into the linear model: the stiffness (the
// stiffness update), the springs and the load term (the p-y pass, which adds Es*u to the
// node's load when soil movements are on).
void Fill_Pass_Values(const StationGrid& grid, FdPileModel& p) {
    const int N = grid.i_Num_Nodes;
    for (int i = 1; i <= N; ++i) {
        const PileNode& n = grid.Nodes[i];
        p.EI[i] = n.EI;
        p.Es[i] = n.Es;
        p.Dist_Load[i] = n.Dist_Load;
        p.Km[i] = n.Km;
    }
    p.Base_Shear_Spring = grid.Base_Shear_Spring;
    p.Base_Moment_Spring = grid.Base_Moment_Spring;
}

// Copies the stations of the grid into the linear model of the next solution. Besides the
// values of Fill_Pass_Values, these are set only where a case is prepared (the grid, the
// head conditions, the soil movements, the tip shear table), so a solution within a case
// needs only Fill_Pass_Values once this has run for the case.
void Fill_Pile_Model(const RunInput& in, const StationGrid& grid, LateralState& lateral) {
    FdPileModel& p = lateral.Pile;
    const int N = grid.i_Num_Nodes;
    p.i_Num_Nodes = N;
    p.Increment = grid.Increment_Length;
    p.Axial_Thrust = lateral.Axial_Thrust;
    p.i_Loading_Type = lateral.i_Loading_Type;
    p.Condition_1 = lateral.Condition_1;
    p.Condition_2 = lateral.Condition_2;
    Fill_Pass_Values(grid, p);
    for (int i = 1; i <= N; ++i) {
        p.Movement_Load[i] = 0.0;
        p.Soil_Movement[i] = grid.Nodes[i].Soil_Movement;
    }
    p.i_Num_Tip_Shear_Points = in.b_Use_Tip_Shear ? in.i_Num_Tip_Shear_Points : 0;
    for (int k = 1; k <= p.i_Num_Tip_Shear_Points; ++k) {
        p.Tip_Shear[k] = in.Tip_Shear[k];
    }
}

void Compute_Results_Of_Node(AnalysisModel& m, int i) {
    LateralState& L = m.Lateral;
    Compute_Node_Results(i, L.Pile, L.Inputs, L.Solution, L.Results, L.Maxima);
    if (i == 1 && m.i_Num_Nodes >= 2) {
        m.Nodes[2].EI = L.Pile.EI[2]; // the head treatment shares the head stiffness
    }
}

// Index of the run's thrust list for Q (table units): the interval holding Q.
int Thrust_Index(const AnalysisModel& m, double Q) {
    const int n = m.i_Num_Axial_Thrusts;
    if (n < 1 || Q <= m.Axial_Thrust_List[1]) {
        return 1;
    }
    if (Q >= m.Axial_Thrust_List[n]) {
        return n;
    }
    int i = 1;
    while (i < n && !(m.Axial_Thrust_List[i] <= Q && Q < m.Axial_Thrust_List[i + 1])) {
        ++i;
    }
    return i;
}

int Write_Excess_Deflection_Error(AnalysisModel& m, double y1) {
    return Fail_Run(m, MessageId::ExcessDeflection, Format_Number(std::abs(y1), 12),
                    Trim_Right(m.Labels.Length), Format_Number(m.Excess_Deflection, 12));
}

// Lines collected for one placeholder of a message block, written as a file would be.
struct BlockLines {
    std::vector<std::string> lines;
    void Write_Line(std::string line) { lines.push_back(std::move(line)); }
    void Blank_Lines(int count) { lines.insert(lines.end(), static_cast<size_t>(count), ""); }
    std::string Joined() const {
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) {
            text += (i == 0 ? "" : "\n") + lines[i];
        }
        return text;
    }
};

void Raise_Tolerance_Text(BlockLines& r, bool si, double dYmax, const std::string& len) {
    if (si) {
        r.Write_Line("The current value for convergence tolerance is less than the recommended "
                     "upper limit of ");
        r.Write_Line("0.00000254 meters, so a solution is possible if the convergence tolerance is "
                     "raised to a value ");
    } else {
        r.Write_Line("The current value for convergence tolerance is less than the recommended "
                     "upper limit of ");
        r.Write_Line("0.0001 inches, so a solution is possible if the convergence tolerance is "
                     "raised to a value ");
    }
    r.Write_Line("greater than " + Format_Number(dYmax, 12) + " " + len + ".");
    r.Blank_Lines(1);
    r.Write_Line(si ? "It is recommended that the convergence tolerance not be raised above "
                      "0.00000254 meters."
                    : "It is recommended that the convergence tolerance not be raised above 0.0001 "
                      "inches.");
}

// The run ends with the block of runtime error 10 and what the last iterations suggest:
// more iterations, a larger tolerance, or neither (the pile is overloaded).
int Write_Nonconvergence_Report(AnalysisModel& m, int c) {
    BlockLines r;
    const FdSolution& s = m.Lateral.Solution;
    const std::string len = Trim_Right(m.Labels.Length);
    const int maxit = m.i_Max_Iterations;
    const double tol = m.Tolerance;
    const double dY = s.dYmax;
    const double dd = s.Delta_dYmax;
    const bool si = m.IUNITS != USCS;
    const double limit = si ? SI_TOLERANCE_LIMIT : USCS_TOLERANCE_LIMIT;
    const double E = std::abs(maxit + (dY - tol) / dd);
    if (m.Lateral.Control.i_Cycles_Damped > 0) {
        // An iteration that swings between states is not short of iterations: say what was
        // seen instead of estimating a count from the last two changes.
        r.Write_Line(
            "The iterations swung between states instead of settling, also when damped, so");
        r.Write_Line(
            "neither more iterations nor a larger tolerance is likely to give a solution.");
        r.Write_Line(
            "Check the loads and the soil and section data of this load case; a finer pile");
        r.Write_Line(
            "(more increments) or a smaller load step (a case with a smaller load) may help.");
    } else if (std::isnan(E)) {
        r.Write_Line(
            "The estimated number of iterations needed to obtain a solution cannot be computed.");
        r.Write_Line("for the current criteria values.");
        if (!si && tol < limit && maxit <= 1000 && dY < limit) {
            Raise_Tolerance_Text(r, false, dY, len);
        } else if (si && tol < limit && dY < limit) {
            Raise_Tolerance_Text(r, true, dY, len);
        }
    } else {
        // An infinite estimate (no change between the last two iterations) is taken as the
        // largest count an integer holds.
        const long long n = E < 2.0e9 ? static_cast<long long>(E) : 2000000000LL;
        r.Write_Line("The estimated number of iterations needed to obtain a solution for the "
                     "current convergence ");
        r.Write_Line(fmt::format("tolerance value is {} iterations.", n));
        if (tol < limit && (si || maxit <= 1000)) {
            if (n < 1000) {
                r.Write_Line("A solution may be possible by increasing the maximum number of "
                             "iterations to above this value.");
            }
            if (n > 1000) {
                r.Write_Line(si ? "The estimated number of iterations required to obtain a "
                                  "solution is greater than 1,000, so a "
                                : "The estimated number of iterations required to obtain a "
                                  "solution is greater than 1000, so a ");
                r.Write_Line("solution can only be obtained if the convergence tolerance is "
                             "increased in value.");
            }
            if (dY < limit) {
                Raise_Tolerance_Text(r, si, dY, len);
            }
        }
        if (dY >= limit) {
            if (n < 1000 && maxit < 1000) {
                r.Write_Line("The analysis of convergence performance found that it is not likely "
                             "that a ");
                r.Write_Line("solution can be obtained by changing the solution criteria for this "
                             "problem. ");
                r.Write_Line("However, the maximum number of iterations is less than 1000, so a "
                             "solution ");
                r.Write_Line("may be obtained by raising the maximum number of iterations to "
                             "1000.");
            } else if (!(n == 1000 && maxit < 1000)) {
                r.Write_Line("The analysis of convergence performance found that it is not "
                             "possible to obtain a ");
                r.Write_Line("solution by changing the solution criteria for this problem. This "
                             "indicates that  ");
                r.Write_Line("the pile is loaded above its structural and/or geotechnical "
                             "capacity.");
            }
        }
    }
    return Fail_Run(m, MessageId::Nonconvergence, maxit, Format_Number(dY, 12),
                    Format_Number(dd, 12), Format_Number(tol, 12), len, r.Joined(), c);
}

// Progress line of one iteration: columns 1, 20 and 36. Composed in one string with the
// fields appended in place, since a run writes one per iteration.
std::string Progress_Line(int c, int i, double y1, const FdSolution& s) {
    std::string line;
    line.reserve(128);
    auto append_integer = [&line](int v) {
        const fmt::format_int text(v);
        line.append(text.data(), text.size());
    };
    line += "Analysis Case ";
    append_integer(c);
    line += ',';
    line.resize(std::max<size_t>(line.size(), 19), ' ');
    line += "Iteration ";
    append_integer(i);
    line += ',';
    line.resize(std::max<size_t>(line.size(), 35), ' ');
    line += "Y(top) =";
    Append_ES(line, y1, 12, 4);
    line += ", dYmax =";
    Append_ES(line, s.dYmax, 12, 4);
    line += ", Node ";
    append_integer(s.i_dYmax_Node);
    line += ", Delta dYmax =";
    Append_ES(line, s.Delta_dYmax, 12, 4);
    return line;
}

bool Any_Nonlinear_Section(const AnalysisModel& m) {
    for (int s = 1; s <= m.i_Num_Sections; ++s) {
        if (m.Sections[s].i_Section_Type != SECTION_ELASTIC) {
            return true;
        }
    }
    return false;
}

// A converged solution that misses the moment balance by far more than the verification
// limit and whose lateral forces do not balance to a few percent of the largest shear does
// not describe the pile (an ill-conditioned system, such as a stiffness many orders of
// magnitude beyond the soil's): it is an error, not a remark. Sound nonlinear solutions
// with a moment imbalance above the limit keep the balance warning of the results block;
// their force imbalance stays well below one percent of the shear.
constexpr double GROSS_IMBALANCE_FACTOR = 1000.0;
constexpr double GROSS_FORCE_IMBALANCE_RATIO = 0.02;

bool Is_Gross_Imbalance(int iunits, const EquilibriumCheck& e, double max_shear) {
    double limit = 0.0;
    if (iunits == USCS) {
        limit = BALANCE_LIMIT_USCS;
    } else if (iunits == SI) {
        limit = BALANCE_LIMIT_SI;
    } else {
        return false; // general units have no verification limit
    }
    const bool moment_off = !(std::fabs(e.dM_max) <= GROSS_IMBALANCE_FACTOR * limit);
    const bool force_off =
        !(std::fabs(e.dV_max) <= GROSS_FORCE_IMBALANCE_RATIO * std::fabs(max_shear));
    return moment_off && force_off;
}

int Write_Imbalance_Error(AnalysisModel& m, int n, const EquilibriumCheck& e) {
    const std::string moment = Trim_Both(m.Labels.Moment);
    return Fail_Run(m, MessageId::GrossImbalance, n, fmt::format("{:.5E}", e.dM_max), moment,
                    fmt::format("{:.5E}", e.dV_max), Trim_Both(m.Labels.Force));
}

void Write_Load_Case_Results(AnalysisModel& m, int n, int iterations) {
    LateralState& L = m.Lateral;
    TextFile& r = m.Report;
    const PileHeadLoad& load = m.Loads[n];
    if (!L.b_Stiffness_Mode) {
        if (!m.b_Print_Summary_Only) {
            Write_Results_Heading(r, n, m.b_Use_LRFD,
                                  m.b_Use_LRFD && n >= 1 && n <= MAX_LRFD_COMBINATIONS
                                      ? std::string_view(m.Lrfd_Combinations[n].Name)
                                      : std::string_view());
        }
        if (n == 1) {
            m.Plot.Write_Line(Format_I(m.i_Num_Loads, 5) + Format_I(m.i_Num_Nodes, 5) +
                              Format_I(m.IUNITS, 5) + std::string(65, ' ') +
                              "Line 9:  No. loads, No. nodes, iunits: 1 = USCS, 2 = SI");
        }
        if (!m.b_Print_Summary_Only) {
            Write_Head_Conditions(r, m.IUNITS, load.i_Load_Type, load.Condition1, load.Condition2,
                                  load.Axial_Thrust);
        }
    }
    LoadCaseOutput out;
    out.IUNITS = m.IUNITS;
    out.i_Analysis_Type = m.i_Analysis_Type;
    out.b_Print_Summary_Only = m.b_Print_Summary_Only;
    out.b_Stiffness_Mode = L.b_Stiffness_Mode;
    out.b_Compute_Kmatrix = m.ib_ComputeKmatrix_1T0F;
    out.i_Print_Increment = m.i_Print_Increment;
    out.b_Nonlinear_Sections = Any_Nonlinear_Section(m);
    out.Length_Label = m.Labels.Length;
    out.Force_Label = m.Labels.Force;
    const LoadCaseSummary sum =
        Write_Load_Case_Table(n, iterations, L.Pile, L.Inputs, L.Solution, L.Results, L.Maxima,
                              L.Balance, out, r, m.Messages);
    if (m.i_Num_Nodes >= 2) {
        m.Nodes[2].EI = L.Pile.EI[2];
    }
    if (Balance_Warning_Due(m.IUNITS, L.Balance)) {
        Record_Balance_Warning(m, n, L.Balance);
    }
    if (!L.b_Stiffness_Mode && Is_Gross_Imbalance(m.IUNITS, L.Balance, sum.Max_Shear)) {
        if (Write_Imbalance_Error(m, n, L.Balance) > 0) {
            return;
        }
    }
    // Line 10 records are composed only when the plot text goes somewhere.
    if (!L.b_Stiffness_Mode && m.Plot.Composed()) {
        // Each record is composed in place in one buffer: six ES15.7 fields, the node
        // number and the label. A field placed in the buffer may use the room after it as
        // scratch, so the fields go in from left to right and the texts after them.
        constexpr std::string_view open = " Line 10(";
        constexpr std::string_view label = "): nodal depth, y, M, V, p, EI";
        constexpr int node_at = 6 * 15 + static_cast<int>(open.size());
        constexpr int label_at = node_at + 3;
        constexpr int length = label_at + static_cast<int>(label.size());
        std::array<char, node_at + kPlacedFieldRoom> line{};
        static_assert(length <= node_at + kPlacedFieldRoom);
        for (int i = 1; i <= m.i_Num_Nodes; ++i) {
            int at = 0;
            for (const double v :
                 {L.Inputs.Depth[i], Output_Value(L.Solution.y(i)),
                  Output_Value(L.Results.Moment[i]), Output_Value(L.Results.Shear[i]),
                  Output_Value(L.Results.Soil_Reaction[i]), L.Pile.EI[i]}) {
                Put_ES(line.data() + at, v, 15, 7);
                at += 15;
            }
            open.copy(line.data() + at, open.size());
            Put_I(line.data() + node_at, i, 3);
            label.copy(line.data() + label_at, label.size());
            m.Plot.Write_Line(std::string_view(line.data(), length));
        }
    }
    if (L.b_Stiffness_Mode) {
        // The stiffness cases keep their pile-head values apart, so the results of the
        // ordinary load cases stay as they were reported.
        Record_Stiffness_Case(m, n, sum);
        return;
    }
    if (n >= 1 && n <= MAX_PILE_HEAD_LOADS) {
        L.Case[n] = sum;
        for (int s = 1; s <= MAX_SECTIONS; ++s) {
            L.Section_Moment[n][s] = L.Maxima.Section_Moment[s];
            L.i_Section_Moment_Node[n][s] = L.Maxima.i_Section_Moment_Node[s];
            L.Section_Shear[n][s] = L.Maxima.Section_Shear[s];
        }
        L.i_Num_Cases_Done = std::max(L.i_Num_Cases_Done, n);
        Record_Load_Case(m, n);
    }
}

int Write_No_Soil_Error(AnalysisModel& m, int c) {
    return Fail_Run(m, MessageId::NoSoilSupport, c);
}

// Part of one load case before its iterations: stations, springs, head conditions. With
// `unsupported` given, a pile without soil support is reported there instead of as an error.
void Prepare_Load_Case(AnalysisModel& m, int c, double pile_length, bool ordinary = true,
                       bool* unsupported = nullptr) {
    Build_Node_Grid(m, pile_length);
    if (m.RunStatus > 0) {
        return;
    }
    const int N = m.i_Num_Nodes;
    Assign_Sections_To_Nodes(m.Run_Input(), m.Sections, m.Grid(), N);
    Record_Stranded_Layer(m, Assign_Layers_To_Nodes(m.Run_Input(), m.Grid(), m.Report, N), false);
    if (m.i_Num_Soil_Movements >= 2) {
        Interpolate_Soil_Movement(m.Run_Input(), m.Grid(), N);
    }
    if (m.b_Use_LRFD) {
        // A combination's distributed loads. The internal cases of the head stiffness are
        // built on load case 1, so they carry the distributed load of combination 1.
        Apply_Lrfd_Distributed_Loads(m, ordinary ? c : 1);
    }
    if (ordinary) {
        m.Messages.Write_Line(
            fmt::format("Computing lateral response of pile for load number {}", c));
        m.Warnings.Clear_Tallies();
    }
    Clear_Solution(m.Lateral.Solution);
    // Starting springs: none above the ground, a stiff one below it.
    for (int i = 1; i <= N; ++i) {
        m.Nodes[i].Es = m.Nodes[i].Xv < m.Ground_Surface_Depth ? 0.0 : 50000.0;
        m.Nodes[i].Km = 0.0; // set by the monopile layers' passes only
    }
    m.Base_Shear_Spring = 0.0;
    m.Base_Moment_Spring = 0.0;
    // Vuggy limestone starts from its own curve; its routine depends only on the
    // deflections (all zero here), so one pass after the starting springs is enough.
    for (int k = 1; k <= m.i_Num_Layers; ++k) {
        if (m.Layers[k].KTOP == 0 || py_Model_Of_Layer(m, k) != PY_VUGGY_LIMESTONE) {
            continue;
        }
        m.Py.KTOP = m.Layers[k].KTOP;
        m.Py.KBOT = m.Layers[k].i_BottomNodeInLayer;
        Run_py_Layer_Model(m, k);
        if (m.RunStatus > 0) {
            return;
        }
    }
    Compute_py_All_Layers(m, 0);
    if (m.RunStatus > 0) {
        return;
    }
    // A node in no soil layer (the pile deeper than the soil profile) has no soil to push
    // against: the starting spring must not stay as if it were soil.
    bool supported = false;
    for (int i = 1; i <= N; ++i) {
        if (m.Nodes[i].i_Layer == 0) {
            m.Nodes[i].Es = 0.0;
        }
        supported = supported || m.Nodes[i].Es > 0.0;
    }
    const PileHeadLoad& load = m.Loads[c];
    // Without any soil spring or tip resistance only a head fixed in deflection and slope
    // holds the pile; any other head condition leaves it free to move as a rigid body.
    const bool tip = m.b_Use_Tip_Shear && m.i_Num_Tip_Shear_Points > 0;
    if (!supported && !tip && load.i_Load_Type != LOADING_DEFLECTION_SLOPE) {
        if (unsupported != nullptr) {
            *unsupported = true;
            return;
        }
        if (Write_No_Soil_Error(m, c) > 0) {
            return;
        }
    }
    LateralState& L = m.Lateral;
    L.Pile.Own_Head_Stiffness = false;
    L.i_Loading_Type = load.i_Load_Type;
    L.Condition_1 = load.Condition1;
    L.Condition_2 = load.Condition2;
    L.Axial_Thrust = load.Axial_Thrust;
    L.Solution.V_Tip = 0.0;
    Fill_Result_Inputs(m);
    Fill_Pile_Model(m.Run_Input(), m.Grid(), L);
}

// The solver found the pile unstable under its axial thrust: the deflections it would
// give are those of a buckled beam and must not be reported as a result.
int Write_Buckling_Error(AnalysisModel& m, int iteration) {
    const LateralState& L = m.Lateral;
    // A modulus typed in a unit a thousand times larger makes the pile buckle under any
    // thrust: then the modulus, not the thrust, is what to correct first.
    std::string first_fix;
    for (const MessageResult& note : m.Results.notes) {
        if (note.code == WARNING_IMPLAUSIBLE_UNIT && !note.text.empty() &&
            note.text.front().find("modulus") != std::string::npos) {
            first_fix = note.text.front() + " Correct that modulus first; then, if the pile "
                                            "still buckles: ";
            break;
        }
    }
    return Fail_Run(m, MessageId::Buckling, Format_Number(L.Axial_Thrust, 12),
                    Trim_Right(m.Labels.Force), L.Solution.i_Unstable_Node, iteration, first_fix);
}

double Table_Thrust(const AnalysisModel& m) {
    return m.IUNITS == USCS ? m.Lateral.Axial_Thrust / 1000.0 : m.Lateral.Axial_Thrust;
}

bool Solve_Once(AnalysisModel& m, int i, bool* buckled = nullptr) {
    LateralState& L = m.Lateral;
    Clear_Running_Maxima(L.Maxima);
    // The rest of the model was filled when the case was prepared.
    Fill_Pass_Values(m.Grid(), L.Pile);
    // The solver writes to the report only the block of a refused solution (with the head
    // system it refused). A report that is not composed has that block written aside, so
    // the run's results keep it all the same.
    TextFile refusal(nullptr);
    const bool aside = !m.Report.Composed();
    if (aside) {
        refusal.Open_In_Memory(0);
    }
    const Solve_Result res =
        Solve_Pile_Deflection(L.Pile, i, L.Solution, aside ? refusal : m.Report, m.Messages);
    if (res == Solve_Result::Small_Pivot) {
        if (aside && m.RunStatus <= 0 && m.Results.error.text.empty()) {
            m.Results.error.text = Read_Error_Block_From_Text(refusal.Text(), std::string());
        }
        // The solver wrote the block and its matrices; the run ends here.
        return Report_Fatal_Error(m, Runtime_Error_Code(11), 211) == 0;
    }
    if (res == Solve_Result::Unstable) {
        if (buckled != nullptr) {
            *buckled = true;
            return false;
        }
        return Write_Buckling_Error(m, i) == 0;
    }
    if (res == Solve_Result::Invalid_Model) {
        // The reader admits no model the solver cannot take; reaching this is an internal
        // fault and is reported as such rather than solved wrongly.
        return Fail_Run(m, MessageId::InternalError,
                        "the pile model cannot be solved (" + std::to_string(m.i_Num_Nodes) +
                            " nodes, loading type " + std::to_string(L.i_Loading_Type) + ").") == 0;
    }
    return true;
}

} // namespace

namespace {

// One moment-curvature table (section s, thrust t) as the stiffness update reads it, taken
// once per update instead of at every node: its points and whether its curvatures ascend.
struct EITableView {
    const double* M = nullptr;
    const double* Phi = nullptr;
    const double* EI = nullptr;
    int P = 0;
    bool ascending = false;
};

EITableView EI_Table_View(const SectionEITable& T, int s, int t) {
    return {T.M[s][t].data(), T.Phi[s][t].data(), T.EI[s][t].data(), T.n_Points[s][t],
            Curvatures_Ascend(T.Phi[s][t].data(), T.n_Points[s][t])};
}

// Secant stiffness from table v for a station with bending moment `moment` and curvature
// `curvature` (scale: the tables' units to the model's); `current` is the station's EI,
// which a table without points leaves as it is. `hint` is the curvature interval last found
// in this table, and takes the one found here. Inline: it runs at every node of every
// update.
inline double EI_From_View(const EITableView& v, double moment, double curvature, double current,
                           double scale, int& hint) {
    const int P = v.P;
    if (P < 1) {
        return current;
    }
    const double M = std::abs(moment) / scale;
    if (M <= v.M[1]) {
        return v.EI[1] * scale;
    }
    const double phi = std::abs(curvature);
    if (phi <= v.Phi[1]) {
        return v.EI[1] * scale;
    }
    if (phi < v.Phi[P]) {
        const int k = Curvature_Interval_From(v.Phi, P, phi, v.ascending, hint);
        hint = k;
        const double Mk = v.M[k];
        const double Mk1 = v.M[k + 1];
        const double Ms =
            Mk == Mk1 ? Mk : Mk + (Mk1 - Mk) * (phi - v.Phi[k]) / (v.Phi[k + 1] - v.Phi[k]);
        return Ms / phi * scale;
    }
    return v.M[P] / phi * scale;
}

// What the update does with the stations of one section. The thrust index is the same for
// every station of an update, so all of this depends only on the section: it is worked out
// when the section's first station is reached and used for the rest.
enum class SectionRule { Unset, Keep, Elastic_Plastic, Table };

struct SectionUpdate {
    SectionRule rule = SectionRule::Unset;
    double First_Moment = 0.0; // first tabulated moment (elastic-plastic sections)
    EITableView at;            // the table of the thrust index
    EITableView above;         // the next one, when the stiffness is interpolated in Q
    bool interpolate = false;
    double Q_at = 0.0; // thrusts of the two tables
    double Q_above = 0.0;
    int hint_at = 0; // curvature intervals last found in each table
    int hint_above = 0;
};

SectionUpdate Plan_Section_Update(const AnalysisModel& m, int s, int t, double Q) {
    const SectionEITable& T = m.EI_Table;
    SectionUpdate u;
    const int type = m.Sections[s].i_Section_Type;
    const int nt = T.i_Num_Thrusts[s];
    if (type == SECTION_ELASTIC || nt < 1) {
        u.rule = SectionRule::Keep; // elastic, or a section without a table
        return u;
    }
    const int ts = std::min(t, nt);
    if (type == SECTION_ELASTIC_PLASTIC) {
        u.rule = SectionRule::Elastic_Plastic;
        u.First_Moment = T.M[s][ts][1];
        return u;
    }
    u.rule = SectionRule::Table;
    u.at = EI_Table_View(T, s, ts);
    if (ts < nt) {
        u.above = EI_Table_View(T, s, ts + 1);
    }
    u.interpolate = ts < nt && ts < m.i_Num_Axial_Thrusts && Q > m.Axial_Thrust_List[1];
    if (u.interpolate) {
        u.Q_at = m.Axial_Thrust_List[ts];
        u.Q_above = m.Axial_Thrust_List[ts + 1];
    }
    return u;
}

// Moment of table v at curvature phi (both in the table's units, phi >= 0): the straight
// line through the origin up to the first point, the points joined by straight lines, and
// the last moment beyond the last point, as the secant stiffness of the update reads it.
double Table_Moment(const EITableView& v, double phi) {
    const int P = v.P;
    if (P < 1) {
        return 0.0;
    }
    if (phi <= v.Phi[1]) {
        return v.EI[1] * phi;
    }
    if (phi >= v.Phi[P]) {
        return v.M[P];
    }
    const int k = Curvature_Interval(v.Phi, P, phi, v.ascending);
    const double dphi = v.Phi[k + 1] - v.Phi[k];
    return dphi > 0.0 ? v.M[k] + (v.M[k + 1] - v.M[k]) * (phi - v.Phi[k]) / dphi : v.M[k];
}

// How a solved state is held against the section tables: the tables' unit of moment (kip-in
// in US customary runs against the solver's lb-in), the station spacing, and the thrust the
// tables are entered with with its index.
struct TableFrame {
    double scale;
    double h;
    double Q_table;
    int t;
};

TableFrame Table_Frame(const AnalysisModel& m) {
    const double Q_table = Table_Thrust(m);
    return {m.IUNITS == USCS ? 1000.0 : 1.0, m.Increment_Length, Q_table, Thrust_Index(m, Q_table)};
}

} // namespace

CapacityReached Find_Capacity_Reached(AnalysisModel& m) {
    CapacityReached c;
    const LateralState& L = m.Lateral;
    const FdSolution& sol = L.Solution;
    const int N = m.i_Num_Nodes;
    if (N < MIN_SOLVER_NODES || N > MAX_NODES) {
        return c;
    }
    const auto [scale, h, Q_table, t] = Table_Frame(m);
    double worst = 0.0;
    for (int i = 1; i < N; ++i) {
        const int s = m.Nodes[i].i_Section;
        if (s < 1 || s > std::min(m.i_Num_Sections, MAX_SECTIONS)) {
            continue;
        }
        const SectionUpdate u = Plan_Section_Update(m, s, t, Q_table);
        const double phi = std::abs((sol.y(i + 1) - 2.0 * sol.y(i) + sol.y(i - 1)) / (h * h));
        double M = 0.0;  // the section's moment at the station's curvature, table units
        double Mn = 0.0; // its capacity
        double last = 0.0;
        if (u.rule == SectionRule::Table && u.at.P >= 1) {
            const int ts = std::min(t, m.EI_Table.i_Num_Thrusts[s]);
            M = Table_Moment(u.at, phi);
            Mn = m.EI_Table.Mn[s][ts] / scale;
            last = u.at.M[u.at.P];
            if (Mn <= 0.0) {
                Mn = last;
            }
        } else if (u.rule == SectionRule::Elastic_Plastic) {
            Mn = L.Node_Mp[i] / scale;
            M = std::min(L.Inputs.Elastic_EI[i] / scale * phi, Mn);
            last = Mn;
        } else {
            continue;
        }
        // The capacity counts as reached a hair below it: a hinge holds its moment there.
        const double ratio = Mn > 0.0 ? M / Mn : 0.0;
        if (ratio >= 0.999 && ratio > worst) {
            worst = ratio;
            c.reached = true;
            c.node = i;
            c.section = s;
            c.Depth = L.Inputs.Depth[i];
            c.Moment = M * scale;
            c.Mn = Mn * scale;
            c.Last_Moment = last * scale;
        }
    }
    return c;
}

int Write_Capacity_Reached(AnalysisModel& m, int c, const CapacityReached& cap,
                           const std::string& seen) {
    const std::string length = Trim_Both(m.Labels.Length);
    const std::string moment = Trim_Both(m.Labels.Moment);
    // Depths print in the report's unit for them (feet in US customary runs).
    const double depth = m.IUNITS == USCS ? cap.Depth / 12.0 : cap.Depth;
    return Fail_Run(
        m, MessageId::CapacityReached, c, cap.section, Trim_Both(Format_Number(depth, 12)),
        m.IUNITS == USCS ? std::string("ft") : length, Trim_Both(Format_Number(cap.Moment, 14)),
        moment, Trim_Both(Format_Number(cap.Mn, 14)), Trim_Both(Format_Number(cap.Last_Moment, 14)),
        seen);
}

ConvergedStateCheck Check_Converged_State(AnalysisModel& m) {
    ConvergedStateCheck c;
    const LateralState& L = m.Lateral;
    const FdPileModel& p = L.Pile;
    const FdSolution& sol = L.Solution;
    const int N = m.i_Num_Nodes;
    if (N < MIN_SOLVER_NODES || N > MAX_NODES) {
        return c;
    }
    const auto [scale, h, Q_table, t] = Table_Frame(m);
    // Bending stiffness of each station as the last solution used it; station 2 carries
    // the head's where the classic head treatment shares it.
    auto R = [&](int i) { return i == 2 && !p.Own_Head_Stiffness ? m.Nodes[1].EI : m.Nodes[i].EI; };
    std::array<SectionUpdate, MAX_SECTIONS + 1> plans{};
    for (int s = 1; s <= std::min(m.i_Num_Sections, MAX_SECTIONS); ++s) {
        plans[static_cast<std::size_t>(s)] = Plan_Section_Update(m, s, t, Q_table);
    }
    // 1. Every station's moment against its section's moment at the station's curvature.
    for (int i = 1; i < N; ++i) {
        const int s = m.Nodes[i].i_Section;
        if (s < 1 || s > MAX_SECTIONS) {
            continue;
        }
        const SectionUpdate& u = plans[static_cast<std::size_t>(s)];
        const double phi = std::abs((sol.y(i + 1) - 2.0 * sol.y(i) + sol.y(i - 1)) / (h * h));
        const double M = std::abs(R(i) * phi) / scale;
        double M_table = 0.0;
        double reference = 0.0; // a moment the residual is measured against
        if (u.rule == SectionRule::Table) {
            M_table = Table_Moment(u.at, phi);
            reference = u.at.P >= 1 ? u.at.M[1] : 0.0;
            if (u.interpolate && u.Q_above != u.Q_at) {
                const double M_above = Table_Moment(u.above, phi);
                M_table =
                    M_above - (M_above - M_table) * (u.Q_above - Q_table) / (u.Q_above - u.Q_at);
            }
        } else if (u.rule == SectionRule::Elastic_Plastic) {
            const double Mp = L.Node_Mp[i] / scale;
            M_table = std::min(L.Inputs.Elastic_EI[i] / scale * phi, Mp);
            reference = 0.01 * Mp;
        } else {
            continue; // elastic: on its line by construction
        }
        const double residual = std::abs(M - M_table) / std::max(M_table, reference);
        if (!(residual <= c.Table_Residual)) {
            c.Table_Residual = residual;
            c.Table_Node = i;
            c.Table_Moment = M_table * scale;
            c.Node_Moment = M * scale;
        }
    }
    // 2. The whole pile in balance: the soil reactions and the applied lateral loads,
    // integrated along the pile by trapezoids, against the head shear, and their moments
    // about the head against the head moment, the tip shear and the axial thrust's lever.
    const int type = L.i_Loading_Type;
    const double y0 = sol.y(0);
    const double y1 = sol.y(1);
    const double y2 = sol.y(2);
    const double y3 = sol.y(3);
    const double phi0 = (y1 - 2.0 * y0 + sol.y(-1)) / (h * h);
    const double phi1 = (y2 - 2.0 * y1 + y0) / (h * h);
    const double phi2 = (y3 - 2.0 * y2 + y1) / (h * h);
    const double Q = p.Axial_Thrust;
    const double head_moment = type == LOADING_SHEAR_MOMENT || type == LOADING_DEFLECTION_MOMENT
                                   ? L.Condition_2
                                   : R(1) * phi1;
    const double head_shear =
        type == LOADING_SHEAR_MOMENT || type == LOADING_SHEAR_SLOPE ||
                type == LOADING_SHEAR_ROTATIONAL
            ? L.Condition_1
            : Q * (y2 - y0) / (2.0 * h) + (R(2) * phi2 - R(1) * phi0) / (2.0 * h);
    double force = 0.0;      // integral of (w - k y)
    double moment = 0.0;     // integral of z (w - k y)
    double force_abs = 0.0;  // integral of |w - k y|
    double moment_abs = 0.0; // integral of |z (w - k y)|
    for (int i = 1; i <= N; ++i) {
        const double weight = (i == 1 || i == N) ? 0.5 * h : h;
        const double z = (i - 1) * h;
        const double q = p.Load_Term(i) - p.Es[i] * sol.y(i);
        force += weight * q;
        moment += weight * z * q;
        force_abs += weight * std::abs(q);
        moment_abs += weight * std::abs(z * q);
    }
    const double pile = (N - 1) * h;
    // dV/dz = w - k y and dM/dz = V - Q y', with V(L) the tip shear and M(L) = 0.
    c.Force_Imbalance = sol.V_Tip - head_shear - force;
    c.Moment_Imbalance = head_moment + pile * sol.V_Tip - moment - Q * (sol.y(N) - y1);
    c.Head_Shear = head_shear;
    c.Head_Moment = head_moment;
    const double force_scale = std::max({std::abs(head_shear), force_abs, std::abs(sol.V_Tip)});
    const double moment_scale =
        std::max({std::abs(head_moment), moment_abs, std::abs(Q * (sol.y(N) - y1))});
    c.Force_Ratio = force_scale > 0.0 ? std::abs(c.Force_Imbalance) / force_scale : 0.0;
    c.Moment_Ratio = moment_scale > 0.0 ? std::abs(c.Moment_Imbalance) / moment_scale : 0.0;
    // The sums above hold the lateral soil reactions only: a pile with distributed moment or
    // base springs (the monopile reactions) balances with those too, which this check does
    // not sum, so only its moments on their tables are judged here.
    c.balance_checked = !p.Has_Monopile_Springs();
    c.checked = true;
    return c;
}

namespace {} // namespace

void Fill_Result_Inputs(AnalysisModel& m) {
    NodeResultInputs& in = m.Lateral.Inputs;
    in.b_Use_Soil_Movement = m.b_Use_Soil_Movement;
    for (int i = 1; i <= m.i_Num_Nodes; ++i) {
        const double X = m.Nodes[i].X;
        const PileProps pp = Pile_Props_at_DepthX(m, X);
        in.Depth[i] = X;
        in.Inertia[i] = pp.I;
        in.Area[i] = pp.A;
        in.Elastic_EI[i] = pp.EI;
        const int s = pp.i_Section;
        const bool pole = s >= 1 && s <= MAX_SECTIONS &&
                          (m.Sections[s].i_Section_Type == SECTION_ELASTIC ||
                           m.Sections[s].i_Section_Type == SECTION_ELASTIC_PLASTIC) &&
                          m.Sections[s].i_Shape_Type == SHAPE_EMBEDDED_POLE;
        in.Stress_Width[i] = pole ? pp.Pole_Width : pp.b;
        in.i_Section[i] = std::clamp(m.Nodes[i].i_Section, 0, MAX_SECTIONS);
        // Only the reaction relative to moving soil subtracts the applied load; without soil
        // movements nothing reads it.
        in.Dist_Load_Avg[i] = in.b_Use_Soil_Movement ? Applied_Distributed_Load(m, i) : 0.0;
    }
}

void Update_Nonlinear_EI(AnalysisModel& m, int t, double Q) {
    LateralState& L = m.Lateral;
    FdPileModel& p = L.Pile;
    NodeResults& r = L.Results;
    const FdSolution& sol = L.Solution;
    const double scale = m.IUNITS == USCS ? 1000.0 : 1.0;
    const int N = m.i_Num_Nodes;
    if (N < MIN_SOLVER_NODES || N > MAX_NODES) {
        return; // no difference scheme on so few stations, and so no moments to read
    }
    // The rule of every section. Stations take their sections from 1 .. i_Num_Sections, so
    // when none of those changes a stiffness (a pile of elastic sections) no station does.
    std::array<SectionUpdate, MAX_SECTIONS + 1> sections;
    bool any_change = false;
    for (int s = 1; s <= std::min(m.i_Num_Sections, MAX_SECTIONS); ++s) {
        SectionUpdate& u = sections[static_cast<std::size_t>(s)];
        u = Plan_Section_Update(m, s, t, Q);
        any_change = any_change || u.rule != SectionRule::Keep;
    }
    // The head treatment shares the head stiffness with station 2 before any station's
    // stiffness changes, as the node results do it.
    if (!p.Own_Head_Stiffness) {
        m.Nodes[2].EI = m.Nodes[1].EI;
    }
    if (!any_change) {
        return;
    }
    // The moments are those of the stiffness the last solution used, copied into the linear
    // model (station 2 holds the head stiffness already). Only the stiffness is copied: the
    // springs and loads there are filled again before anything reads them (the next
    // solution, or the results of the case).
    p.i_Num_Nodes = N;
    p.Increment = m.Increment_Length;
    // Station by station: the stiffness of the last solution goes into the linear model, the
    // curvature and moment are formed from it (Node_Bending reads the deflections and this
    // station's stiffness alone, which no later station changes), and then the station takes
    // its new stiffness.
    auto bend = [&](int i) {
        p.EI[i] = m.Nodes[i].EI;
        const NodeBending b = Node_Bending(i, p, sol);
        r.Curvature[i] = b.Curvature;
        r.Moment[i] = b.Moment;
    };
    // Stations come in runs of one section, whose rule is looked up once per run.
    int i = 1;
    while (i <= N) {
        const int s = m.Nodes[i].i_Section;
        // The stations from i on that hold section s.
        auto in_run = [&] { return i <= N && m.Nodes[i].i_Section == s; };
        SectionRule rule = SectionRule::Keep; // a station outside the listed sections
        SectionUpdate* listed = nullptr;
        if (s >= 1 && s <= MAX_SECTIONS) {
            listed = &sections[static_cast<std::size_t>(s)];
            if (listed->rule == SectionRule::Unset) {
                *listed =
                    Plan_Section_Update(m, s, t, Q); // not reached: stations hold listed sections
            }
            rule = listed->rule;
        }
        if (rule == SectionRule::Keep) {
            for (; in_run(); ++i) {
                bend(i);
            }
        } else if (rule == SectionRule::Elastic_Plastic) {
            const double first_moment = listed->First_Moment;
            for (; in_run(); ++i) {
                bend(i);
                // The curvature of the second difference at the station, 0 at the tip.
                const double phi = r.Curvature[i];
                const double M = std::abs(r.Moment[i]) / scale;
                const double Mp = L.Node_Mp[i] / scale;
                const bool plastic = std::max(M, first_moment) >= Mp;
                if (plastic && i < N && phi != 0.0) {
                    m.Nodes[i].EI = std::abs(Mp / phi) * scale;
                } else if (!plastic) {
                    m.Nodes[i].EI = L.Inputs.Elastic_EI[i];
                }
            }
        } else if (!listed->interpolate) {
            SectionUpdate& u = *listed;
            for (; in_run(); ++i) {
                bend(i);
                m.Nodes[i].EI = EI_From_View(u.at, r.Moment[i], r.Curvature[i], m.Nodes[i].EI,
                                             scale, u.hint_at);
            }
        } else {
            SectionUpdate& u = *listed;
            const double Qi = u.Q_at;
            const double Qn = u.Q_above;
            for (; in_run(); ++i) {
                bend(i);
                const double phi = r.Curvature[i];
                double EI = EI_From_View(u.at, r.Moment[i], phi, m.Nodes[i].EI, scale, u.hint_at);
                const double EIn =
                    EI_From_View(u.above, r.Moment[i], phi, m.Nodes[i].EI, scale, u.hint_above);
                if (Qn != Qi) {
                    EI = EIn - (EIn - EI) * (Qn - Q) / (Qn - Qi);
                }
                m.Nodes[i].EI = EI;
            }
        }
    }
}

namespace {

// Largest departures of a converged state that still make it the answer of the case.
constexpr double TABLE_TOLERANCE = 0.05;
constexpr double BALANCE_TOLERANCE = 0.01;

// A cycle is blamed on the head treatment only where the head station and station 2 hold
// clearly different stiffnesses (by more than 1 %, a cracked head over an uncracked
// station); elsewhere it comes from the soil and is left to the damping.
bool Head_Stiffnesses_Differ(const AnalysisModel& m) {
    if (m.i_Num_Nodes < 2) {
        return false;
    }
    const double a = m.Nodes[1].EI;
    const double b = m.Nodes[2].EI;
    return std::abs(a - b) > 0.01 * std::max(std::abs(a), std::abs(b));
}

bool State_Is_Answer(const ConvergedStateCheck& c) {
    return c.Table_Residual <= TABLE_TOLERANCE &&
           (!c.balance_checked ||
            (c.Force_Ratio <= BALANCE_TOLERANCE && c.Moment_Ratio <= BALANCE_TOLERANCE));
}

} // namespace

static void Iterate_Load_Cases(AnalysisModel& m);

void Run_Load_Cases(AnalysisModel& m) {
    m.Lateral.Case_In_Progress = 0;
    Iterate_Load_Cases(m);
    if (m.RunStatus > 0 && m.Lateral.Case_In_Progress > 0) {
        Record_Failed_Load_Case(m, m.Lateral.Case_In_Progress);
    }
    m.Lateral.Case_In_Progress = 0;
}

static void Iterate_Load_Cases(AnalysisModel& m) {
    if (m.b_Use_LRFD) {
        // Every combination is one load case: factored shear and moment at the head.
        Set_Lrfd_Load_Cases(m);
    }
    LateralState& L = m.Lateral;
    const double pile_length = m.Pile_Length;
    const bool print_py = m.b_Print_py_Curves;
    m.b_Print_py_Curves = false;
    const int cases = std::min(m.i_Num_Loads, MAX_PILE_HEAD_LOADS);
    const bool nonlinear = m.i_Analysis_Type >= ANALYSIS_LATERAL;
    for (int c = 1; c <= cases; ++c) {
        L.Case_In_Progress = c;
        const int maxit = m.i_Max_Iterations;
        bool converged = false;
        int i = 1;
        // A case is iterated with the classic head treatment first; when that cycles, runs
        // out of iterations or stops at a state that is no answer, it is solved again from
        // its start with every station's own stiffness at the head.
        for (int attempt = 1; attempt <= 2; ++attempt) {
            Prepare_Load_Case(m, c, pile_length);
            if (m.RunStatus > 0) {
                return;
            }
            const bool own = attempt == 2;
            L.Pile.Own_Head_Stiffness = own;
            if (own) {
                m.Messages.Write_Line(fmt::format(
                    "Load case {} is solved again with the head station's own bending stiffness.",
                    c));
            }
            if (nonlinear) {
                const double Q = Table_Thrust(m);
                Update_Nonlinear_EI(m, Thrust_Index(m, Q), Q);
                if (m.RunStatus > 0) {
                    return;
                }
            }
            converged = false;
            bool again = false;
            i = 1;
            Start_Iteration_Control(L.Control);
            for (; i <= maxit; ++i) {
                Remember_Deflections(L.Control, L.Solution);
                bool buckled = false;
                if (!Solve_Once(m, i, &buckled)) {
                    if (buckled) {
                        // Hinges soften the pile until the thrust buckles it: the capacity
                        // reached is the cause to report.
                        const CapacityReached cap = Find_Capacity_Reached(m);
                        if (cap.reached) {
                            (void)Write_Capacity_Reached(
                                m, c, cap,
                                "the pile lost its stability under the axial thrust once hinges "
                                "formed");
                        } else {
                            (void)Write_Buckling_Error(m, i);
                        }
                    }
                    return;
                }
                const FdSolution& s = L.Solution;
                const double y1 = s.y(1);
                if (std::isnan(y1) || std::isnan(s.dYmax)) {
                    if (Fail_Run(m,
                                 std::isnan(y1) ? MessageId::TopDeflectionNotANumber
                                                : MessageId::DeflectionChangeNotANumber,
                                 i) > 0) {
                        return;
                    }
                }
                // The progress line is composed only for a file that takes it.
                const bool last_iterations = i > maxit - 5;
                if (m.Messages.Composed() || (last_iterations && m.Report.Composed())) {
                    const std::string progress = Progress_Line(c, i, y1, s);
                    m.Messages.Write_Line(progress);
                    if (last_iterations) {
                        m.Report.Write_Line("For " + progress);
                    }
                }
                if (std::abs(s.dYmax) <= m.Tolerance && i >= 6) {
                    const ConvergedStateCheck chk = Check_Converged_State(m);
                    if (State_Is_Answer(chk)) {
                        converged = true;
                        break;
                    }
                    if (!own && m.Nodes[1].EI != m.Nodes[2].EI) {
                        again = true;
                        break;
                    }
                    if (!own) {
                        // The head treatment plays no part: the state stands as the classic
                        // iteration found it, and the results' balance check judges it.
                        converged = true;
                        break;
                    }
                    // The deflections have settled but the stiffnesses have not: go on.
                }
                if (std::abs(s.dYmax) > m.Tolerance && i >= 11 &&
                    std::abs(y1) >= m.Excess_Deflection) {
                    const CapacityReached cap = Find_Capacity_Reached(m);
                    if (cap.reached) {
                        if (Write_Capacity_Reached(m, c, cap,
                                                   "the pile-head deflection grew past the "
                                                   "excess deflection limit") > 0) {
                            return;
                        }
                    }
                    if (Write_Excess_Deflection_Error(m, y1) > 0) {
                        return;
                    }
                }
                const int cycles_seen = L.Control.i_Cycles_Damped;
                Damp_Cycling_Iteration(L.Control, L.Solution, m.i_Num_Nodes, i);
                if (!own && L.Control.i_Cycles_Damped > cycles_seen && Head_Stiffnesses_Differ(m)) {
                    again = true;
                    break;
                }
                Compute_py_All_Layers(m, 0);
                if (m.RunStatus > 0) {
                    return;
                }
                if (i == 1) {
                    for (int k = 2; k <= m.i_Num_Layers; ++k) {
                        if (Check_Thin_Layer(m, k)) {
                            return;
                        }
                    }
                }
                if (nonlinear) {
                    const double Q = Table_Thrust(m);
                    Update_Nonlinear_EI(m, Thrust_Index(m, Q), Q);
                    if (m.RunStatus > 0) {
                        return;
                    }
                }
            }
            if (converged || !(again || (!own && nonlinear && m.Nodes[1].EI != m.Nodes[2].EI))) {
                break;
            }
        }
        const int iterations = converged ? i : maxit;
        L.i_Iterations = iterations;
        if (!converged) {
            const CapacityReached cap = Find_Capacity_Reached(m);
            if (cap.reached) {
                (void)Write_Capacity_Reached(m, c, cap,
                                             "the iteration found no state of equilibrium");
                return;
            }
            // A deflection-moment case still prints what it reached; its status stays set.
            if (Write_Nonconvergence_Report(m, c) > 0 &&
                L.i_Loading_Type != LOADING_DEFLECTION_MOMENT) {
                return;
            }
        } else {
            m.Messages.Write_Line(
                fmt::format("The convergence criteria have been met for load case {}", c));
            // A hinge that leaves the pile stable (a fixed head at its capacity) is a result;
            // where it formed and at what moment is said beside it.
            const CapacityReached cap = Find_Capacity_Reached(m);
            if (cap.reached) {
                const bool uscs = m.IUNITS == USCS;
                const std::string line = fmt::format(
                    "Warning: in load case {} a plastic hinge formed in section {} at {} {} below "
                    "the pile head (moment {} {}-{}, nominal moment capacity {}).",
                    c, cap.section,
                    Trim_Both(Format_Number(uscs ? cap.Depth / 12.0 : cap.Depth, 12)),
                    uscs ? "ft" : Trim_Both(m.Labels.Length),
                    Trim_Both(Format_Number(cap.Moment, 14)), Trim_Both(m.Labels.Length),
                    Trim_Both(m.Labels.Force), Trim_Both(Format_Number(cap.Mn, 14)));
                m.Report.Blank_Lines(1);
                m.Report.Write_Line(line);
                m.Messages.Write_Line(line);
                Record_Warning(m, -356);
                Record_Warning_Note(m, -356, {line});
            }
        }
        if (c == 1) {
            if (print_py) {
                // The curves at the requested depths, from the deflections of this case.
                m.b_Print_py_Curves = true;
                Report_py_Curves_At_Depths(m);
                m.b_Print_py_Curves = false;
                if (m.RunStatus > 0) {
                    return;
                }
            } else {
                m.Plot.Write_Line(Format_I(0, 5) + std::string(75, ' ') +
                                  "Line 6 : number of output p-y curves");
            }
        }
        L.b_Stiffness_Mode = false;
        Clear_Section_Maxima(L.Maxima);
        Fill_Pile_Model(m.Run_Input(), m.Grid(), m.Lateral);
        Write_Load_Case_Results(m, c, iterations);
        if (m.RunStatus > 0) {
            return;
        }
        if (m.b_Use_LRFD) {
            m.Plot.Write_Line(Format_I(0, 5) + std::string(75, ' ') +
                              "Line 11: Num. points on Ytop vs. Length curve for LRFD load case " +
                              std::to_string(c));
        } else if (m.Loads[c].i_Compute_Top_Deflection_vs_Length != 1) {
            m.Messages.Write_Line(fmt::format(
                "Computing top deflection vs. pile embedment length for load case {}.", c));
            Compute_Top_Deflection_vs_Length(m, c);
            if (m.RunStatus > 0) {
                return;
            }
        } else {
            m.Plot.Write_Line(Format_I(0, 5) + std::string(75, ' ') +
                              "Line 11: Num. points on Ytop vs. Length curve for load case " +
                              std::to_string(c));
        }
        m.Messages.Write_Line(fmt::format("Completed Analysis {}", c));
        m.Messages.Blank_Lines(1);
        if (!converged) {
            return; // a non-converged deflection-and-moment case ends the run after its results
        }
        L.Case_In_Progress = 0;
    }
    m.b_Print_py_Curves = print_py;
}

// ---- services shared with the additional analyses ------------------------------------------

bool Prepare_Case(AnalysisModel& m, int c, double L, bool ordinary) {
    Prepare_Load_Case(m, c, L, ordinary);
    return m.RunStatus == 0;
}

bool Prepare_Length_Case(AnalysisModel& m, int c, double L, bool& unsupported) {
    unsupported = false;
    Prepare_Load_Case(m, c, L, false, &unsupported);
    return m.RunStatus == 0;
}

bool Update_Case_EI(AnalysisModel& m) {
    if (m.i_Analysis_Type >= ANALYSIS_LATERAL) {
        const double Q = Table_Thrust(m);
        Update_Nonlinear_EI(m, Thrust_Index(m, Q), Q);
    }
    return m.RunStatus == 0;
}

bool Solve_Case_Pass(AnalysisModel& m, int i) {
    return Solve_Once(m, i);
}

bool Solve_Trial_Pass(AnalysisModel& m, int i, bool& buckled) {
    buckled = false;
    return Solve_Once(m, i, &buckled);
}

bool Regenerate_Case_Springs(AnalysisModel& m) {
    Compute_py_All_Layers(m, 0);
    return m.RunStatus == 0;
}

void Compute_Case_Node_Results(AnalysisModel& m) {
    Clear_Running_Maxima(m.Lateral.Maxima);
    Fill_Pile_Model(m.Run_Input(), m.Grid(), m.Lateral);
    for (int i = 1; i <= m.i_Num_Nodes; ++i) {
        Compute_Results_Of_Node(m, i);
    }
}

void Write_Case_Results(AnalysisModel& m, int n, int iterations, bool stiffness_mode) {
    LateralState& L = m.Lateral;
    L.i_Iterations = iterations;
    L.b_Stiffness_Mode = stiffness_mode;
    Clear_Section_Maxima(L.Maxima);
    Fill_Pile_Model(m.Run_Input(), m.Grid(), m.Lateral);
    Write_Load_Case_Results(m, n, iterations);
    L.b_Stiffness_Mode = false;
}

} // namespace zarno
