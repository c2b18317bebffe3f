#include "input/read_input.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/text_trim.h"
#include "input/input_warnings.h"
#include "input/list_read.h"

#include <algorithm>
#include <cctype>
#include <fmt/format.h>
#include <string>
#include <string_view>
#include <vector>

namespace zarno {

namespace {

constexpr std::string_view kOptions = "OPTIONS";
constexpr double kDegreesToRadians = 3.141592653589793 / 180.0;

// A YES/NO option line: true when the line is "<name> YES", false for "<name> NO"; any
// other line writes the option's message and raises input error 95.
// The keywords that open the blocks after the header, and END.
constexpr std::string_view kBlockKeywords[] = {"TITLE",
                                               "OPTIONS",
                                               "SECTIONS",
                                               "AXIAL THRUST LOADS",
                                               "SOIL LAYERS",
                                               "TIP SHEAR",
                                               "PILE BATTER AND SLOPE",
                                               "GROUP EFFECT FACTORS",
                                               "LRFD LOADS",
                                               "LRFD FACTORS AND CASES",
                                               "LOADING",
                                               "SOIL MOVEMENTS",
                                               "DEPTHS OF PRINTED P-Y CURVES",
                                               "END"};
constexpr std::string_view kUnitsLines[] = {"Units USCS", "Units SI", "Units GENERAL"};

// Edit distance of a and b, letters compared without case.
std::size_t Edit_Distance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    const auto up = [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    };
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min(
                {row[j] + 1, row[j - 1] + 1, diagonal + (up(a[i - 1]) == up(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// A line that is none of the words expected here: the run stops with the line, its line
// number and the nearest expected word when one is close (a misspelling, another case),
// else the list of what may stand there.
template <std::size_t N>
void Report_Unrecognized_Line_Expecting(AnalysisModel& m, const std::string& line,
                                        const std::string_view (&expected)[N],
                                        std::string_view kind) {
    const std::string typed = Trim_Both(line);
    std::string_view nearest;
    std::size_t best = std::string_view::npos;
    for (std::string_view word : expected) {
        const std::size_t d = Edit_Distance(typed, word);
        if (d < best) {
            best = d;
            nearest = word;
        }
    }
    std::string hint;
    if (best <= std::max<std::size_t>(2, nearest.size() / 4)) {
        hint = fmt::format("Found at line {} of the input file: did you mean \"{}\"? Keywords "
                           "are written in capitals as shown, alone on their line.",
                           m.Input.Line_Number(), nearest);
    } else {
        std::string list;
        for (std::string_view word : expected) {
            list += (list.empty() ? "" : ", ") + std::string(word);
        }
        hint = fmt::format("Found at line {} of the input file, where {} is expected: {}; or "
                           "the line belongs to the block before it, whose lines it does not "
                           "fit.",
                           m.Input.Line_Number(), kind, list);
    }
    // The reader is void: its caller tests RunStatus.
    static_cast<void>(Fail_Run(m, MessageId::UnrecognizedLine, line, hint));
}

bool Read_Yes_No(AnalysisModel& m, std::string_view name, std::string_view error_text,
                 bool& value) {
    std::string line;
    if (!Read_Block_Record(m, line, kOptions,
                           fmt::format("the line \"{} YES\" or \"{} NO\"", name, name))) {
        return false;
    }
    // "<name> <word>" exactly, compared in place.
    const auto is = [&](std::string_view word) {
        const std::string_view text = line;
        return text.size() == name.size() + 1 + word.size() &&
               text.substr(0, name.size()) == name && text[name.size()] == ' ' &&
               text.substr(name.size() + 1) == word;
    };
    if (is("YES")) {
        value = true;
        return true;
    }
    if (is("NO")) {
        value = false;
        return true;
    }
    return Fail_Run(m, MessageId::OptionUnrecognized, error_text,
                    fmt::format("Found at line {} of the input file: \"{}\"; the line must "
                                "read exactly \"{} YES\" or \"{} NO\" (capitals, one blank).",
                                m.Input.Line_Number(), Printable(line), name, name)) == 0;
}

int Write_Iteration_Error(AnalysisModel& m, int iterations, std::string_view tail) {
    return Fail_Run(m, MessageId::IterationLimit, iterations, tail);
}

int Write_Tolerance_Error(AnalysisModel& m, int n, std::string_view problem,
                          std::string_view advice) {
    return Fail_Run_Numbered(m, MessageId::ToleranceRange, 100 + n, problem, advice);
}

int Write_Increment_Error(AnalysisModel& m, int n, std::string_view problem,
                          std::string_view solution) {
    return Fail_Run_Numbered(m, MessageId::IncrementRange, 100 + n, problem, solution);
}

// Line 8: columns 9-14 "CYCLIC" or "STATIC", columns 15-20 the number of cycles.
bool Read_Loading_Type(AnalysisModel& m) {
    std::string line;
    if (!Read_Block_Record(m, line, kOptions, "the loading type line")) {
        return false;
    }
    const std::string kind = line.size() > 8 ? line.substr(8, 6) : std::string();
    if (kind == "CYCLIC") {
        m.b_Cyclic = true;
    } else if (kind == "STATIC") {
        m.b_Cyclic = false;
    } else {
        return Fail_Run(m, MessageId::OptionUnrecognized,
                        "INPUT ERROR - Unrecognized command for loading type option",
                        fmt::format("Found at line {} of the input file: \"{}\"; "
                                    "columns 9-14 must hold STATIC or CYCLIC (capitals) and "
                                    "columns 15-20 the number of cycles, as in \"Loading STATIC   "
                                    "  0\".",
                                    m.Input.Line_Number(), Printable(line))) == 0;
    }
    // A fixed field: blanks are not significant and an empty field is zero.
    std::string field = line.size() > 14 ? line.substr(14, 6) : std::string();
    field.erase(std::remove(field.begin(), field.end(), ' '), field.end());
    double cycles = 0.0;
    if (!field.empty() && !Parse_List_Real(field, cycles)) {
        return Raise_Bad_Value(m, kOptions,
                               "the number of cycles of loading in columns 15 to 20 (a number)",
                               line.substr(14, 6)) == 0;
    }
    m.Number_Of_Cycles = cycles;
    return true;
}

// A list-directed option line: a label and an integer or a real. The value is taken by its
// position whatever the label says, as stored decks rely on; a label other than the
// expected keyword only gets a warning that names it.
bool Read_Option_Int(AnalysisModel& m, std::string_view keyword, std::string_view what,
                     int& value) {
    ListRead r(m, kOptions);
    std::string label;
    if (!r.Word(label, 16, fmt::format("the label in front of {}", what)) || !r.Int(value, what)) {
        return false;
    }
    Check_Option_Keyword(m, label, keyword);
    return true;
}

bool Read_Option_Real(AnalysisModel& m, std::string_view keyword, std::string_view what,
                      double& value) {
    ListRead r(m, kOptions);
    std::string label;
    if (!r.Word(label, 16, fmt::format("the label in front of {}", what)) || !r.Real(value, what)) {
        return false;
    }
    Check_Option_Keyword(m, label, keyword);
    return true;
}

bool Read_Count(AnalysisModel& m, std::string_view block, std::string_view what, int& n) {
    ListRead r(m, block);
    return r.Int(n, what);
}

} // namespace

void Report_Unrecognized_Line(AnalysisModel& m, const std::string& line) {
    Report_Unrecognized_Line_Expecting(m, line, kBlockKeywords, "a block keyword");
}

void Read_Title(AnalysisModel& m) {
    m.Messages.Write_Line("Reading title data");
    for (std::string& line : m.Title) {
        if (!Read_Block_Record(m, line, "TITLE", "five title lines")) {
            return;
        }
    }
}

void Read_Options(AnalysisModel& m) {
    m.Messages.Write_Line("Reading analysis options");
    std::string line;
    if (!Read_Block_Record(m, line, kOptions, "the units line")) {
        return;
    }
    if (line == "Units USCS") {
        m.IUNITS = USCS;
    } else if (line == "Units SI") {
        m.IUNITS = SI;
    } else if (line == "Units GENERAL") {
        m.IUNITS = GENERAL;
    } else {
        Report_Unrecognized_Line_Expecting(m, line, kUnitsLines, "the units line");
        return;
    }
    if (!Read_Yes_No(m, "UseLRFD", "INPUT ERROR - Unrecognized command for LRFD analysis option",
                     m.b_Use_LRFD) ||
        !Read_Yes_No(
            m, "ComputeKmatrix",
            "INPUT ERROR - Unrecognized command for compute pile-head stiffness matrix option",
            m.ib_ComputeKmatrix_1T0F) ||
        !Read_Yes_No(m, "UseTipShear", "INPUT ERROR - Unrecognized command for tip shear option",
                     m.b_Use_Tip_Shear) ||
        !Read_Yes_No(m, "UseSoilMovement",
                     "INPUT ERROR - Unrecognized command for soil movement option",
                     m.b_Use_Soil_Movement) ||
        !Read_Yes_No(m, "UsePYModifiers",
                     "INPUT ERROR - Unrecognized command for use of p-y modifiers option",
                     m.b_Use_py_Modifiers)) {
        return;
    }
    m.i_Num_Group_Effect_Rows = m.b_Use_py_Modifiers ? 1 : 0;
    bool ei_only = false;
    if (!Read_Yes_No(m, "ComputeEIOnly",
                     "INPUT ERROR - Unrecognized command for compute nonlinear EI only option",
                     ei_only)) {
        return;
    }
    m.i_Analysis_Type = ei_only ? ANALYSIS_EI_ONLY : ANALYSIS_LATERAL;
    if (!Read_Loading_Type(m)) {
        return;
    }

    if (!Read_Option_Int(m, "MaxIterations", "the maximum number of iterations",
                         m.i_Max_Iterations)) {
        return;
    }
    if (m.i_Max_Iterations < 30) {
        if (Write_Iteration_Error(m, m.i_Max_Iterations, " and is less than 30 iteractions") > 0) {
            return;
        }
    }
    if (m.i_Max_Iterations > 1000) {
        if (Write_Iteration_Error(m, m.i_Max_Iterations, " and is more than 1,000 iteractions") >
            0) {
            return;
        }
    }
    if (!Read_Option_Real(m, "ExcessDeflection", "the maximum allowable deflection",
                          m.Excess_Deflection) ||
        !Read_Option_Real(m, "Tolerance", "the convergence tolerance on deflection", m.Tolerance)) {
        return;
    }
    const double tol = m.Tolerance;
    if (m.IUNITS == USCS) {
        if (tol < 1e-20) {
            if (Write_Tolerance_Error(
                    m, 65,
                    "Input value for convergence tolerance is too small (less than 1E-10 inches).",
                    "The recommended value for convergence tolerance is 0.00001 inches.") > 0) {
                return;
            }
        }
        if (tol > static_cast<double>(0.1f)) {
            if (Write_Tolerance_Error(
                    m, 66,
                    "Input value for convergence tolerance is too large (more than 0.1 inches). ",
                    "The recommended value for convergence tolerance is 0.00001 inches.") > 0) {
                return;
            }
        }
    }
    if (m.IUNITS == SI) {
        if (tol < 2.54e-22) {
            if (Write_Tolerance_Error(
                    m, 67,
                    "Input value for convergence tolerance is too small (less than 2.5E-12 "
                    "meters). ",
                    "The recommended value for convergence tolerance is 2.54E-7 meters.") > 0) {
                return;
            }
        }
        if (tol > 0.00254) {
            if (Write_Tolerance_Error(
                    m, 68,
                    "Input value of convergence tolerance too large (more than 2.54E-3 meters). ",
                    "The recommended value for convergence tolerance is 2.54E-7 meters.") > 0) {
                return;
            }
        }
    }
    if (!Read_Option_Int(m, "Increments", "the number of pile increments", m.i_Pile_Increments)) {
        return;
    }
    if (m.i_Pile_Increments < 40) {
        if (Write_Increment_Error(m, 55, "Problem:  The number of pile increments is less than 40.",
                                  "Solution: Increase the number of pile increments to more than "
                                  "40, preferably more than 100 increments.") > 0) {
            return;
        }
    }
    if (m.i_Pile_Increments > MAX_PILE_INCREMENTS) {
        if (Write_Increment_Error(
                m, 56, "Problem:  The number of pile increments is more than 500.",
                "Solution: Limit the number of pile increments to 500 or less.") > 0) {
            return;
        }
    }
    if (!Read_Yes_No(m, "PrintSummaryOnly",
                     "INPUT ERROR - Unrecognized command for print summary only option",
                     m.b_Print_Summary_Only) ||
        !Read_Option_Int(m, "PrintIncrement", "the printing increment", m.i_Print_Increment) ||
        // Every PrintIncrement-th station is printed; 0 or less names no station.
        !Check_Range(m, "OPTIONS", "the printing increment", m.i_Print_Increment, 1,
                     2147483647.0) ||
        !Read_Yes_No(m, "PrintPYCurves",
                     "INPUT ERROR - Unrecognized command for p-y curve output depths option",
                     m.b_Print_py_Curves)) {
        return;
    }
    m.i_Print_py_Curves = m.b_Print_py_Curves ? 1 : 0;
    if (!Read_Yes_No(m, "ComputeInteraction",
                     "INPUT ERROR - Unrecognized command for compute interaction option",
                     m.b_Compute_Interaction)) {
        return;
    }
    m.i_Interaction_Code = 0;
    if (m.b_Compute_Interaction) {
        ListRead r(m, kOptions);
        std::string label;
        std::string code;
        if (!r.Word(label, 11, "the label of the interaction code") ||
            !r.Word(code, 11, "the interaction code AASHTO, ACI318 or Eurocode2")) {
            return;
        }
        code = Trim_Right(code);
        if (code == "AASHTO") {
            m.i_Interaction_Code = 1;
        } else if (code == "ACI318") {
            m.i_Interaction_Code = 2;
        } else if (code == "Eurocode2") {
            m.i_Interaction_Code = 3;
        } else {
            if (Fail_Run(m, MessageId::OptionUnrecognized,
                         "INPUT ERROR - Unrecognized command for interaction code option",
                         fmt::format("Found at line {} of the input file: the interaction code "
                                     "\"{}\"; it must be AASHTO, ACI318 or Eurocode2.",
                                     m.Input.Line_Number(), Printable(code))) > 0) {
                return;
            }
        }
    }
}

void Read_Axial_Thrust_Loads(AnalysisModel& m) {
    constexpr std::string_view block = "AXIAL THRUST LOADS";
    m.Messages.Write_Line("Reading axial thrust force data for EI-only computations");
    m.Axial_Thrust_List.fill(0.0);
    m.Loads_From_Axial_Thrust_Block = true;
    int n = 0;
    if (!Read_Count(m, block, "the number of axial thrusts", n)) {
        return;
    }
    if (n > MAX_PILE_HEAD_LOADS) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Capacity_Error(m, block, "axial thrusts", n, MAX_PILE_HEAD_LOADS));
        return;
    }
    if (n < 1) {
        m.i_Num_Loads = 1;
        return;
    }
    m.i_Num_Loads = n;
    for (int i = 1; i <= n; ++i) {
        ListRead r(m, block);
        int k = 0;
        // Stored by position: the thrusts are sorted next, so the sequence number is not
        // needed to place them and cannot point outside the table.
        if (!r.Int(k, "the line number of an axial thrust") ||
            !r.Real(m.Loads[i].Axial_Thrust, fmt::format("axial thrust {}", i))) {
            return;
        }
    }
    if (m.i_Analysis_Type == ANALYSIS_LATERAL) {
        // In a lateral run (with ComputeInteraction YES) thrust i belongs to load case i.
        return;
    }
    std::array<double, MAX_PILE_HEAD_LOADS + 1> thrust{};
    for (int i = 1; i <= n; ++i) {
        thrust[i] = m.Loads[i].Axial_Thrust;
    }
    std::sort(thrust.begin() + 1, thrust.begin() + 1 + n);
    for (int i = 1; i <= n; ++i) {
        m.Loads[i].Axial_Thrust = thrust[i];
    }
}

void Read_Soil_Movements(AnalysisModel& m) {
    constexpr std::string_view block = "SOIL MOVEMENTS";
    m.Messages.Write_Line("Reading soil movement data");
    int n = 0;
    if (!Read_Count(m, block, "the number of lines of soil movement data", n)) {
        return;
    }
    if (n < 2 || n > MAX_SOIL_MOVEMENT_ROWS) {
        if (Fail_Run(m, MessageId::SoilMovementLines, n) > 0) {
            return;
        }
    }
    m.i_Num_Soil_Movements = n;
    for (int i = 1; i <= n; ++i) {
        ListRead r(m, block);
        int k = 0;
        DepthValue& row = m.Soil_Movement[i];
        if (!r.Int(k, "the line number of soil movement data") ||
            !r.Real(row.Depth, fmt::format("the depth of soil movement point {}", i)) ||
            !r.Real(row.Value, fmt::format("the soil movement of point {}", i))) {
            return;
        }
        if (m.IUNITS == SI) {
            row.Value /= 1000.0; // millimetres to metres
        }
    }
}

void Read_Group_Effect_Factors(AnalysisModel& m) {
    constexpr std::string_view block = "GROUP EFFECT FACTORS";
    m.Messages.Write_Line("Reading p-y multiplier data");
    int n = 0;
    if (!Read_Count(m, block, "the number of p-multiplier lines", n)) {
        return;
    }
    if (n > MAX_GROUP_EFFECT_ROWS) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(
            Raise_Capacity_Error(m, block, "p-multiplier lines", n, MAX_GROUP_EFFECT_ROWS));
        return;
    }
    m.i_Num_Group_Effect_Rows = std::max(n, 0);
    for (int i = 1; i <= n; ++i) {
        ListRead r(m, block);
        int k = 0;
        GroupEffectRow& row = m.Group_Effect[i];
        if (!r.Int(k, "the line number of p-multiplier data") ||
            !r.Real(row.Z, fmt::format("the depth of p-multiplier line {}", i)) ||
            !r.Real(row.pMult, fmt::format("the p-multiplier of line {}", i)) ||
            !r.Real(row.yMult, fmt::format("the y-multiplier of line {}", i))) {
            return;
        }
    }
}

void Read_Tip_Shear(AnalysisModel& m) {
    constexpr std::string_view block = "TIP SHEAR";
    m.Messages.Write_Line("Reading tip shear data");
    int n = 0;
    if (!Read_Count(m, block, "the number of tip shear points", n)) {
        return;
    }
    if (n > MAX_TIP_SHEAR_POINTS) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(
            Raise_Capacity_Error(m, block, "tip shear points", n, MAX_TIP_SHEAR_POINTS));
        return;
    }
    m.i_Num_Tip_Shear_Points = std::max(n, 0);
    for (int i = 1; i <= n; ++i) {
        ListRead r(m, block);
        int k = 0;
        TipShearPoint& p = m.Tip_Shear[i];
        if (!r.Int(k, "the line number of a tip shear point") ||
            !r.Real(p.Displacement, fmt::format("the tip displacement of point {}", i)) ||
            !r.Real(p.Shear, fmt::format("the tip shear force of point {}", i))) {
            return;
        }
    }
}

void Read_Pile_Batter_And_Slope(AnalysisModel& m) {
    constexpr std::string_view block = "PILE BATTER AND SLOPE";
    m.Messages.Write_Line("Reading pile batter and ground slope angles");
    double slope = 0.0;
    double batter = 0.0;
    {
        ListRead r(m, block);
        // Steeper than 89 degrees the ground and the pile would lie flat; the depths along
        // the pile and the earth pressure terms lose their meaning.
        if (!r.Real(slope, "the ground slope angle in degrees") ||
            !Check_Range(m, block, "ground slope angle in degrees", slope, -89.0, 89.0)) {
            return;
        }
    }
    {
        ListRead r(m, block);
        if (!r.Real(batter, "the pile batter angle in degrees") ||
            !Check_Range(m, block, "pile batter angle in degrees", batter, -89.0, 89.0)) {
            return;
        }
    }
    m.Ground_Slope = slope * kDegreesToRadians;
    m.Pile_Batter = batter * kDegreesToRadians;
    m.Slope_Minus_Batter = m.Ground_Slope - m.Pile_Batter;
}

void Read_Printed_py_Depths(AnalysisModel& m) {
    constexpr std::string_view block = "DEPTHS OF PRINTED P-Y CURVES";
    m.Messages.Write_Line("Reading p-y output depths data");
    int n = 0;
    if (!Read_Count(m, block, "the number of depths of printed p-y curves", n)) {
        return;
    }
    if (n > MAX_PRINTED_PY_DEPTHS) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Capacity_Error(m, block, "depths of printed p-y curves", n,
                                               MAX_PRINTED_PY_DEPTHS));
        return;
    }
    m.i_Num_Printed_py_Depths = std::max(n, 0);
    for (int i = 1; i <= n; ++i) {
        ListRead r(m, block);
        int k = 0;
        if (!r.Int(k, "the line number of a printed p-y curve depth") ||
            !r.Real(m.Printed_py_Depth[i], fmt::format("printed p-y curve depth {}", i))) {
            return;
        }
    }
}

void Build_Axial_Thrust_List(AnalysisModel& m) {
    if (m.i_Num_Sections < 1) {
        return;
    }
    std::array<double, MAX_AXIAL_THRUSTS + 1> v{};
    int n = 0;
    if (m.b_Compute_Interaction) {
        // The thrusts of the AXIAL THRUST LOADS block are kept with the pile-head loads
        // (the block clears this list before reading); they are the section thrusts.
        for (int i = 1; i <= m.i_Num_Loads && n < MAX_AXIAL_THRUSTS; ++i) {
            v[++n] = m.Loads[i].Axial_Thrust;
        }
    } else if (m.b_Use_LRFD) {
        for (int i = 1; i <= m.i_Num_Lrfd_Loads && n < MAX_AXIAL_THRUSTS; ++i) {
            v[++n] = m.Lrfd_Loads[i].Axial_Force;
        }
    } else {
        for (int i = 1; i <= m.i_Num_Loads && n < MAX_AXIAL_THRUSTS; ++i) {
            v[++n] = m.Loads[i].Axial_Thrust;
        }
    }
    if (m.IUNITS == USCS) {
        for (int i = 1; i <= n; ++i) {
            v[i] /= 1000.0; // pounds to kips
        }
    }
    std::sort(v.begin() + 1, v.begin() + 1 + n);
    int count = 0;
    for (int i = 1; i <= n; ++i) {
        if (count == 0 || v[i] != m.Axial_Thrust_List[count]) {
            m.Axial_Thrust_List[++count] = v[i];
        }
    }
    m.i_Num_Axial_Thrusts = count;
}

void Read_Input_Data(AnalysisModel& m) {
    InputBlocksRead blocks;
    Read_Input_Data(m, blocks);
}

void Read_Input_Data(AnalysisModel& m, InputBlocksRead& blocks) {
    m.Messages.Write_Line("Input of data begun");
    std::string line;
    while (true) {
        if (!m.Input.Read_Record(line)) {
            // The reader is void: its caller tests RunStatus.
            static_cast<void>(Raise_End_Of_File(m, "", "a keyword line or the line END"));
            return;
        }
        if (line == "TITLE") {
            Read_Title(m);
        } else if (line == "OPTIONS") {
            blocks.options = true;
            Read_Options(m);
        } else if (line == "SECTIONS") {
            blocks.sections = true;
            Read_Section_Properties(m);
        } else if (line == "AXIAL THRUST LOADS") {
            blocks.axial_thrust_line = m.Input.Line_Number();
            Read_Axial_Thrust_Loads(m);
        } else if (line == "SOIL LAYERS") {
            Read_Soil_Layers(m);
        } else if (line == "TIP SHEAR") {
            Read_Tip_Shear(m);
        } else if (line == "PILE BATTER AND SLOPE") {
            Read_Pile_Batter_And_Slope(m);
        } else if (line == "GROUPEFF" || line == "GROUP EFFECT FACTORS") {
            Read_Group_Effect_Factors(m);
        } else if (line == "LRFD LOADS") {
            Read_Lrfd_Loads(m);
        } else if (line == "LRFD FACTORS AND CASES") {
            Read_Lrfd_Factors(m);
        } else if (line == "LOADING") {
            Read_Pile_Head_Loading(m);
            blocks.loading_loads = m.i_Num_Loads;
        } else if (line == "SOIL MOVEMENTS") {
            // Without the option its lines are not data and end the run as unknown lines.
            if (m.b_Use_Soil_Movement) {
                Read_Soil_Movements(m);
            }
        } else if (line == "DEPTHS OF PRINTED P-Y CURVES") {
            if (m.b_Print_py_Curves) {
                Read_Printed_py_Depths(m);
            }
        } else if (line == "END") {
            Build_Axial_Thrust_List(m);
            return;
        } else {
            Report_Unrecognized_Line(m, line);
            return;
        }
        if (m.RunStatus > 0) {
            return;
        }
    }
}

} // namespace zarno
