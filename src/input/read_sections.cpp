#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"
#include "input/list_read.h"
#include "input/read_input.h"

#include <fmt/format.h>
#include <string>
#include <string_view>

namespace zarno {

namespace {

constexpr std::string_view kBlock = "SECTIONS";

// A cleared section, copied over each section before it is read so that nothing of an
// earlier SECTIONS block survives (static storage: the record is too large for the stack).
const PileSection kEmptySection{};

// A value line: one number is taken, the rest of the line is ignored, and blank lines
// before it are skipped.
bool Value(AnalysisModel& m, double& v, std::string_view what) {
    ListRead r(m, kBlock);
    return r.Real(v, what);
}

bool Value(AnalysisModel& m, int& v, std::string_view what) {
    ListRead r(m, kBlock);
    return r.Int(v, what);
}

// Millimetre input of SI runs is stored in metres (areas in square metres, moments of
// inertia in metres to the fourth); other unit systems store what was entered.
double Length_In(const AnalysisModel& m, double v) {
    return m.IUNITS == SI ? v / 1000.0 : v;
}
double Area_In(const AnalysisModel& m, double v) {
    return m.IUNITS == SI ? v / 1000000.0 : v;
}
double Inertia_In(const AnalysisModel& m, double v) {
    return m.IUNITS == SI ? v / 1000000000000.0 : v;
}

// Physical limits of section data in the units they are entered in: psi and inches in
// US customary units, kPa and millimetres in SI. General units keep only the sign rules
// and the magnitude limit of every value, since their units are not known.
struct SectionLimits {
    double concrete_strength_min; // f'c: below 100 psi the tensile strength of the concrete
                                  // law would exceed its compressive strength
    double concrete_strength;     // f'c
    double steel_strength;        // yield stress of bars, casing, core and pipe
    double modulus;               // elastic modulus of any pile material
    double dimension;             // diameters, widths, thicknesses, cover, bar positions
    double section_length;        // feet (US customary) or metres
};

SectionLimits Limits_Of(const AnalysisModel& m) {
    constexpr double kPaPerPsi = 6.894757;
    if (m.IUNITS == USCS) {
        return {100.0, 30000.0, 1.0e6, 1.0e8, 1200.0, 10000.0};
    }
    if (m.IUNITS == SI) {
        return {100.0 * kPaPerPsi, 30000.0 * kPaPerPsi,
                1.0e6 * kPaPerPsi, 1.0e8 * kPaPerPsi,
                30000.0,           3000.0};
    }
    const double h = MAX_INPUT_MAGNITUDE;
    return {0.0, h, h, h, h, h};
}

// A value line checked against low .. high (low excluded when low_open).
bool Value_In(AnalysisModel& m, double& v, std::string_view what, double low, double high,
              bool low_open = false) {
    return Value(m, v, what) && Check_Range(m, kBlock, what, v, low, high, low_open);
}

// A length of the cross-section, 0 up to the dimension limit as entered, then stored in
// metres in SI runs.
bool Dimension_Value(AnalysisModel& m, double& v, std::string_view what) {
    if (!Value_In(m, v, what, 0.0, Limits_Of(m).dimension)) {
        return false;
    }
    v = Length_In(m, v);
    return true;
}

// The outer size (width, depth or diameter) of a sliced section: at least an inch (25.4 mm),
// below which the section has no area to slice and its ratios are infinite.
bool Outer_Dimension_Value(AnalysisModel& m, double& v, std::string_view what) {
    const double low = m.IUNITS == USCS ? 0.01 : m.IUNITS == SI ? 0.254 : 0.0;
    if (!Value_In(m, v, what, low, Limits_Of(m).dimension, low == 0.0)) {
        return false;
    }
    v = Length_In(m, v);
    return true;
}

// A stored length back in the units it was entered in, for messages and comparisons.
double Entered_Length(const AnalysisModel& m, double v) {
    return m.IUNITS == SI ? v * 1000.0 : v;
}

// A part that must fit in a bounding size (a wall in its radius, a void in its pile):
// part <= limit, both in stored units; the message shows entered units.
bool Fits_In(AnalysisModel& m, double part, double limit, std::string_view what,
             std::string_view bound) {
    // A tolerance of a few units in the last place keeps exact fits (a solid pipe) valid
    // after the millimetre conversion.
    if (part <= limit * (1.0 + 1e-12)) {
        return true;
    }
    return Raise_Out_Of_Range(
               m, kBlock, what, Entered_Length(m, part),
               fmt::format("of at most {:g}, {}", Entered_Length(m, limit), bound)) == 0;
}

std::string Of(const char* what, int i) {
    return fmt::format("the {} of section {}", what, i);
}

struct StrandSize {
    float fpu;
    float diameter;
    float area;
};

// Strand and bar sizes by strand type (0..5) and size index; fpu in psi, inches.
constexpr StrandSize kPci250[] = {{250000.0f, 0.34f, 0.058f},   {250000.0f, 0.25f, 0.036f},
                                  {250000.0f, 0.3125f, 0.058f}, {250000.0f, 0.375f, 0.08f},
                                  {250000.0f, 0.4375f, 0.108f}, {250000.0f, 0.5f, 0.144f},
                                  {250000.0f, 0.6f, 0.216f}};
constexpr StrandSize kPci270[] = {{270000.0f, 0.34f, 0.058f},   {270000.0f, 0.375f, 0.085f},
                                  {270000.0f, 0.4375f, 0.115f}, {270000.0f, 0.5f, 0.153f},
                                  {270000.0f, 0.5f, 0.167f},    {270000.0f, 0.5625f, 0.192f},
                                  {270000.0f, 0.6f, 0.217f},    {270000.0f, 0.7f, 0.294f}};
constexpr StrandSize kPci300[] = {{300000.0f, 0.375f, 0.085f},
                                  {300000.0f, 0.438f, 0.115f},
                                  {300000.0f, 0.5f, 0.153f},
                                  {300000.0f, 0.5f, 0.167f},
                                  {300000.0f, 0.6f, 0.217f}};
constexpr StrandSize kSmooth145[] = {{145000.0f, 0.75f, 0.442f}, {145000.0f, 0.875f, 0.601f},
                                     {145000.0f, 1.0f, 0.785f},  {145000.0f, 1.125f, 0.994f},
                                     {145000.0f, 1.25f, 1.227f}, {145000.0f, 1.375f, 1.485f}};
constexpr StrandSize kSmooth160[] = {{160000.0f, 0.75f, 0.442f}, {160000.0f, 0.875f, 0.601f},
                                     {160000.0f, 1.0f, 0.785f},  {160000.0f, 1.125f, 0.994f},
                                     {160000.0f, 1.25f, 1.227f}, {160000.0f, 1.375f, 1.485f}};
constexpr StrandSize kDeformed[] = {{157000.0f, 0.625f, 0.28f}, {150000.0f, 1.0f, 0.85f},
                                    {160000.0f, 1.0f, 0.85f},   {150000.0f, 1.25f, 1.25f},
                                    {160000.0f, 1.25f, 1.25f},  {150000.0f, 1.375f, 1.58f}};

template <std::size_t N> const StrandSize* Lookup(const StrandSize (&table)[N], int index) {
    return index >= 0 && index < static_cast<int>(N) ? &table[index] : nullptr;
}

bool Read_Bar_Count(AnalysisModel& m, int& n, const std::string& items) {
    if (!Value(m, n, "the number of " + items)) {
        return false;
    }
    if (n < 0 || n > MAX_BARS) {
        return Raise_Capacity_Error(m, kBlock, items, n, MAX_BARS) == 0;
    }
    return true;
}

} // namespace

namespace {

const StrandSize* Strand_Size_Entry(int strand_type, int size_index) {
    const StrandSize* s = nullptr;
    switch (strand_type) {
    case 0:
        s = Lookup(kPci250, size_index);
        break;
    case 1:
        s = Lookup(kPci270, size_index);
        break;
    case 2:
        s = Lookup(kPci300, size_index);
        break;
    case 3:
        s = Lookup(kSmooth145, size_index);
        break;
    case 4:
        s = Lookup(kSmooth160, size_index);
        break;
    case 5:
        s = Lookup(kDeformed, size_index);
        break;
    default:
        break;
    }
    return s;
}

} // namespace

StrandDimensions Strand_Size_Of(int units, int strand_type, int size_index) {
    const StrandSize* s = Strand_Size_Entry(strand_type, size_index);
    if (s == nullptr) {
        return {};
    }
    double d = static_cast<double>(s->diameter);
    double a = static_cast<double>(s->area);
    if (units == SI) {
        const double in = static_cast<double>(0.0254f);
        d *= in;
        a *= in * in;
    }
    return {d, a};
}

void Set_Strand_Size(AnalysisModel& m, int i, int k, int strand_type, int size_index) {
    if (k < 1 || k > MAX_BARS) {
        return;
    }
    const StrandSize* s = Strand_Size_Entry(strand_type, size_index);
    if (s == nullptr) {
        return; // no such size: nothing is set
    }
    PileSection& sec = m.Sections[i];
    sec.Strand_fpu = static_cast<double>(s->fpu);
    if (m.IUNITS == USCS) {
        sec.Strand_E = 29000.0;
    } else {
        sec.Strand_E = 199947760.0;
    }
    const StrandDimensions size = Strand_Size_Of(m.IUNITS, strand_type, size_index);
    sec.Bar_Dia[k] = size.diameter;
    sec.Bar_Area_k[k] = size.area;
}

void Read_Concrete_Properties(AnalysisModel& m, int i) {
    m.Messages.Write_Line(fmt::format("Reading concrete property data for Section {}", i));
    PileSection& s = m.Sections[i];
    const SectionLimits limits = Limits_Of(m);
    const std::string fc_name = Of("concrete compressive strength", i);
    if (!Value(m, s.fc, fc_name)) {
        return;
    }
    if (m.IUNITS != GENERAL && s.fc < limits.concrete_strength_min) {
        // Almost always a strength typed in the larger unit; say so.
        const bool si = m.IUNITS == SI;
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Out_Of_Range(
            m, kBlock, fc_name, s.fc,
            fmt::format("of at least {:g} and at most {:g} {}; the strength is "
                        "read in {}, so a value entered in {} is 1000 times too "
                        "small",
                        limits.concrete_strength_min, limits.concrete_strength, si ? "kPa" : "psi",
                        si ? "kPa" : "psi", si ? "MPa" : "ksi")));
        return;
    }
    if (!Check_Range(m, kBlock, fc_name, s.fc, limits.concrete_strength_min,
                     limits.concrete_strength, limits.concrete_strength_min == 0.0) ||
        !Dimension_Value(m, s.Max_Aggregate_Size, Of("maximum aggregate size", i))) {
        return;
    }
    std::string line;
    if (!Read_Block_Record(m, line, kBlock, Of("concrete tensile strength option line", i))) {
        return;
    }
    if (line == "Use default concrete tensile strength") {
        s.b_Default_Tensile_Strength = true;
    } else if (line == "Override concrete tensile strength") {
        s.b_Default_Tensile_Strength = false;
        if (!Value(m, s.Tensile_Strength, Of("concrete tensile strength", i))) {
            return;
        }
    } else {
        if (Fail_Run(m, MessageId::ConcreteTensileOption) > 0) {
            return;
        }
    }
    if (!Read_Block_Record(m, line, kBlock, Of("concrete stress-strain curve option line", i))) {
        return;
    }
    if (line == "Input stress-strain curve for concrete") {
        s.b_Input_Concrete_Curve = true;
        int n = 0;
        if (!Value(m, n, Of("number of points of the concrete stress-strain curve", i))) {
            return;
        }
        if (n < 0 || n > MAX_CONCRETE_CURVE_POINTS) {
            // The reader is void: its caller tests RunStatus.
            static_cast<void>(Raise_Capacity_Error(
                m, kBlock,
                fmt::format("points on the concrete stress-strain curve of section {}", i), n,
                MAX_CONCRETE_CURVE_POINTS));
            return;
        }
        s.i_Num_Concrete_Curve_Points = n;
        for (int j = 1; j <= n; ++j) {
            ListRead r(m, kBlock);
            int line_no = 0;
            const std::string what =
                fmt::format("point {} of the concrete stress-strain curve of section {}", j, i);
            if (!r.Int(line_no, "the line number of " + what) ||
                !r.Real(s.Concrete_Curve_Strain[j], "the first value of " + what) ||
                !r.Real(s.Concrete_Curve_Stress[j], "the second value of " + what)) {
                return;
            }
            if (line_no != j) {
                if (Fail_Run(m, MessageId::ConcreteCurveSequence, j, line_no) > 0) {
                    return;
                }
            }
        }
    } else if (line == "Use internal stress-strain curve for concrete") {
        s.b_Input_Concrete_Curve = false;
    } else {
        // The reader is void; its caller tests RunStatus.
        static_cast<void>(Fail_Run(m, MessageId::ConcreteCurveOption));
    }
}

void Read_Rebar_Properties(AnalysisModel& m, int i) {
    m.Messages.Write_Line(fmt::format("Reading rebar property data for Section {}", i));
    PileSection& s = m.Sections[i];
    std::string line;
    if (!Read_Block_Record(m, line, kBlock, Of("rebar continuation line", i))) {
        return;
    }
    if (line == "No rebar") {
        s.i_Num_Bars = 0;
        return;
    }
    if (line == "Rebar Arrangement Same As Section Above") {
        s.b_Rebar_Same_As_Above = true;
    } else if (line == "Rebar Arrangement Not Same As Section Above") {
        s.b_Rebar_Same_As_Above = false;
    } else {
        if (Fail_Run(m, MessageId::RebarContinuation) > 0) {
            return;
        }
    }
    if (!Read_Block_Record(m, line, kBlock, Of("rebar arrangement line", i))) {
        return;
    }
    if (line == "Rebar in circle") {
        s.b_Bars_In_Circle = true;
        const SectionLimits lim = Limits_Of(m);
        if (!Value_In(m, s.Rebar_fy, Of("rebar yield stress", i), 0.0, lim.steel_strength) ||
            !Value_In(m, s.Rebar_E, Of("rebar elastic modulus", i), 0.0, lim.modulus, true) ||
            !Value(m, s.i_Num_Bar_Positions, Of("number of bar positions", i)) ||
            !Value(m, s.i_Bars_Per_Position, Of("number of bars per position", i))) {
            return;
        }
        const long long bars =
            static_cast<long long>(s.i_Num_Bar_Positions) * s.i_Bars_Per_Position;
        if (s.i_Num_Bar_Positions < 0 || s.i_Bars_Per_Position < 0 || bars > MAX_BARS) {
            // The reader is void: its caller tests RunStatus.
            static_cast<void>(Raise_Capacity_Error(
                m, kBlock, fmt::format("reinforcing bars in section {}", i), bars, MAX_BARS));
            return;
        }
        if (!Dimension_Value(m, s.Bar_Diameter, Of("bar diameter", i)) ||
            !Value_In(m, s.Bar_Area, Of("bar area", i), 0.0, lim.dimension * lim.dimension) ||
            !Dimension_Value(m, s.Cover, Of("concrete cover thickness", i)) ||
            !Value_In(m, s.Cage_Offset, Of("offset of the rebar cage centre", i), -lim.dimension,
                      lim.dimension)) {
            return;
        }
        s.Cage_Offset = Length_In(m, s.Cage_Offset);
        s.Bar_Area = Area_In(m, s.Bar_Area);
        s.i_Num_Bars = static_cast<int>(bars);
        // The bar positions are computed from these data by the section analysis.
        for (int k = 1; k <= s.i_Num_Bars; ++k) {
            s.Bar_Dia[k] = s.Bar_Diameter;
            s.Bar_Area_k[k] = s.Bar_Area;
        }
    } else if (line == "Rebar in noncircular pattern") {
        s.b_Bars_In_Circle = false;
        int n = 0;
        const SectionLimits lim = Limits_Of(m);
        if (!Value_In(m, s.Rebar_fy, Of("rebar yield stress", i), 0.0, lim.steel_strength) ||
            !Value_In(m, s.Rebar_E, Of("rebar elastic modulus", i), 0.0, lim.modulus, true) ||
            !Read_Bar_Count(m, n, fmt::format("reinforcing bars in section {}", i))) {
            return;
        }
        s.i_Num_Bars = n;
        for (int k = 1; k <= n; ++k) {
            ListRead r(m, kBlock);
            int bar_no = 0;
            const std::string what = fmt::format("bar {} of section {}", k, i);
            if (!r.Int(bar_no, "the number of " + what) ||
                !r.Int(s.i_Bar_Index[k], "the bar index of " + what) ||
                !r.Real(s.Bar_Dia[k], "the diameter of " + what) ||
                !r.Real(s.Bar_Area_k[k], "the area of " + what) ||
                !r.Real(s.Bar_X[k], "the X coordinate of " + what) ||
                !r.Real(s.Bar_Y[k], "the Y coordinate of " + what)) {
                return;
            }
            if (!Check_Range(m, kBlock, "diameter of " + what, s.Bar_Dia[k], 0.0, lim.dimension) ||
                !Check_Range(m, kBlock, "area of " + what, s.Bar_Area_k[k], 0.0,
                             lim.dimension * lim.dimension) ||
                !Check_Range(m, kBlock, "X coordinate of " + what, s.Bar_X[k], -lim.dimension,
                             lim.dimension) ||
                !Check_Range(m, kBlock, "Y coordinate of " + what, s.Bar_Y[k], -lim.dimension,
                             lim.dimension)) {
                return;
            }
            s.Bar_Dia[k] = Length_In(m, s.Bar_Dia[k]);
            s.Bar_Area_k[k] = Area_In(m, s.Bar_Area_k[k]);
            s.Bar_X[k] = Length_In(m, s.Bar_X[k]);
            s.Bar_Y[k] = Length_In(m, s.Bar_Y[k]);
        }
    } else {
        // Without a known arrangement the bar data that follow would be read as whatever
        // comes next, so the section would silently lose its reinforcement.
        line = Trim_Right(line);
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Input_Line_Error(
            m, INPUT_ERROR_BAR_PATTERN,
            fmt::format("Problem:  Section {} in the SECTIONS block at line {} of the input file "
                        "has the bar arrangement line \"{}\".",
                        i, m.Input.Line_Number(), line),
            "Solution: Use \"Rebar in circle\" or \"Rebar in noncircular pattern\"."));
    }
}

void Read_Strand_Properties(AnalysisModel& m, int i) {
    m.Messages.Write_Line(fmt::format("Reading prestressing strand data for Section {}", i));
    PileSection& s = m.Sections[i];
    std::string line;
    if (!Read_Block_Record(m, line, kBlock, Of("strand positioning line", i))) {
        return;
    }
    if (line == "Autoposition strands") {
        s.b_Autoposition_Strands = true;
        int size = 0;
        int n = 0;
        if (!Value(m, s.i_Strand_Type, Of("strand type", i)) ||
            !Value(m, size, Of("strand size index", i)) ||
            !Read_Bar_Count(m, n, fmt::format("prestressing strands in section {}", i)) ||
            !Value_In(m, s.Prestress_Force, Of("initial prestressing force", i), 0.0,
                      MAX_INPUT_MAGNITUDE) ||
            !Value_In(m, s.Prestress_Loss, Of("fraction of loss of prestress", i), 0.0, 1.0) ||
            !Dimension_Value(m, s.Strand_Cover, Of("concrete cover over strands", i)) ||
            !Value(m, s.i_Strand_Arrangement, Of("strand arrangement code", i))) {
            return;
        }
        s.i_Num_Strands = n;
        s.i_Num_Bars = n;
        for (int k = 1; k <= n; ++k) {
            s.i_Strand_Size[k] = size;
            Set_Strand_Size(m, i, k, s.i_Strand_Type, size);
        }
        s.Strand_Diameter = s.Bar_Dia[1];
        s.Strand_Area = s.Bar_Area_k[1];
        // The strand positions are computed from these data by the section analysis.
    } else if (line == "Manually-positioned strands") {
        s.b_Autoposition_Strands = false;
        int n = 0;
        if (!Value(m, s.i_Strand_Type, Of("strand type", i)) ||
            !Read_Bar_Count(m, n, fmt::format("prestressing strands in section {}", i)) ||
            !Value_In(m, s.Prestress_Force, Of("initial prestressing force", i), 0.0,
                      MAX_INPUT_MAGNITUDE) ||
            !Value_In(m, s.Prestress_Loss, Of("fraction of loss of prestress", i), 0.0, 1.0)) {
            return;
        }
        s.i_Num_Strands = n;
        s.i_Num_Bars = n;
        for (int k = 1; k <= n; ++k) {
            ListRead r(m, kBlock);
            int strand_no = 0;
            const std::string what = fmt::format("strand {} of section {}", k, i);
            if (!r.Int(strand_no, "the number of " + what) ||
                !r.Int(s.i_Strand_Type, "the strand type of " + what) ||
                !r.Int(s.i_Strand_Size[k], "the strand size index of " + what) ||
                !r.Real(s.Bar_X[k], "the X coordinate of " + what) ||
                !r.Real(s.Bar_Y[k], "the Y coordinate of " + what)) {
                return;
            }
            const double reach = Limits_Of(m).dimension;
            if (!Check_Range(m, kBlock, "X coordinate of " + what, s.Bar_X[k], -reach, reach) ||
                !Check_Range(m, kBlock, "Y coordinate of " + what, s.Bar_Y[k], -reach, reach)) {
                return;
            }
            s.Bar_X[k] = Length_In(m, s.Bar_X[k]);
            s.Bar_Y[k] = Length_In(m, s.Bar_Y[k]);
            Set_Strand_Size(m, i, k, s.i_Strand_Type, s.i_Strand_Size[k]);
            if (strand_no != k) {
                if (Fail_Run(m, MessageId::StrandOrder) > 0) {
                    return;
                }
            }
        }
    } else {
        // No strand has been read at this point, so the number printed is 0.
        // The reader is void; its caller tests RunStatus.
        static_cast<void>(Fail_Run(m, MessageId::StrandInput));
    }
}

namespace {

// The elastic data of types 11 and 12; Mp lines are present only with plastic moments.
void Read_Elastic_Data(AnalysisModel& m, int i, bool with_mp) {
    PileSection& s = m.Sections[i];
    if (!Value(m, s.i_Shape_Type, Of("cross-sectional shape code", i))) {
        return;
    }
    const int shape = s.i_Shape_Type;
    if (shape < 1 || shape > 6) {
        // An unknown shape would leave the section without width or stiffness.
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Input_Line_Error(
            m, INPUT_ERROR_SHAPE_CODE,
            fmt::format("Problem:  Section {} in the SECTIONS block at line {} of the input file "
                        "has the cross-sectional shape code {}.",
                        i, m.Input.Line_Number(), shape),
            "Solution: Use a shape code from 1 to 6 (1 rectangular, 2 circular, 3 circular pipe, "
            "4 strong H-pile, 5 weak H-pile, 6 embedded circular pole)."));
        return;
    }
    const SectionLimits lim = Limits_Of(m);
    constexpr double huge = MAX_INPUT_MAGNITUDE;
    if (!Value_In(m, s.Elastic_E, Of("elastic modulus", i), 0.0, lim.modulus, true)) {
        return;
    }
    if (shape == SHAPE_STRONG_H_PILE || shape == SHAPE_WEAK_H_PILE) {
        if (with_mp) {
            if (!Value_In(m, s.Mp_Top, Of("plastic moment capacity", i), 0.0, huge)) {
                return;
            }
            s.Mp_Bottom = s.Mp_Top;
        }
        double area = 0.0;
        double inertia = 0.0;
        if (!Dimension_Value(m, s.Elastic_Width_Top, Of("flange width", i)) ||
            !Dimension_Value(m, s.Elastic_Depth_Top, Of("section depth", i)) ||
            !Dimension_Value(m, s.Flange_Thickness, Of("flange thickness", i)) ||
            !Dimension_Value(m, s.Web_Thickness, Of("web thickness", i)) ||
            !Value_In(m, area, Of("section area", i), 0.0, huge) ||
            !Value_In(m, inertia, Of("moment of inertia", i), 0.0, huge)) {
            return;
        }
        s.Elastic_Width_Bottom = s.Elastic_Width_Top;
        s.Elastic_Depth_Bottom = s.Elastic_Depth_Top;
        s.Elastic_Area_Top = s.Elastic_Area_Bottom = Area_In(m, area);
        s.Elastic_I_Top = s.Elastic_I_Bottom = Inertia_In(m, inertia);
        return;
    }
    if (with_mp) {
        if (!Value_In(m, s.Mp_Top, Of("plastic moment capacity at the top", i), 0.0, huge) ||
            !Value_In(m, s.Mp_Bottom, Of("plastic moment capacity at the bottom", i), 0.0, huge)) {
            return;
        }
    }
    if (!Dimension_Value(m, s.Elastic_Width_Top, Of("width at the top", i)) ||
        !Dimension_Value(m, s.Elastic_Width_Bottom, Of("width at the bottom", i))) {
        return;
    }
    if (shape == SHAPE_RECTANGULAR || shape == SHAPE_CIRCULAR_PIPE) {
        const char* top =
            shape == SHAPE_RECTANGULAR ? "section depth at the top" : "wall thickness at the top";
        const char* bottom = shape == SHAPE_RECTANGULAR ? "section depth at the bottom"
                                                        : "wall thickness at the bottom";
        if (!Dimension_Value(m, s.Elastic_Depth_Top, Of(top, i)) ||
            !Dimension_Value(m, s.Elastic_Depth_Bottom, Of(bottom, i))) {
            return;
        }
        if (shape == SHAPE_CIRCULAR_PIPE &&
            (!Fits_In(m, s.Elastic_Depth_Top, 0.5 * s.Elastic_Width_Top, Of(top, i),
                      "half the width at the top") ||
             !Fits_In(m, s.Elastic_Depth_Bottom, 0.5 * s.Elastic_Width_Bottom, Of(bottom, i),
                      "half the width at the bottom"))) {
            return;
        }
    }
    if (!Value_In(m, s.Elastic_Area_Top, Of("area at the top", i), 0.0, huge) ||
        !Value_In(m, s.Elastic_Area_Bottom, Of("area at the bottom", i), 0.0, huge) ||
        !Value_In(m, s.Elastic_I_Top, Of("moment of inertia at the top", i), 0.0, huge) ||
        !Value_In(m, s.Elastic_I_Bottom, Of("moment of inertia at the bottom", i), 0.0, huge)) {
        return;
    }
    s.Elastic_Area_Top = Area_In(m, s.Elastic_Area_Top);
    s.Elastic_Area_Bottom = Area_In(m, s.Elastic_Area_Bottom);
    s.Elastic_I_Top = Inertia_In(m, s.Elastic_I_Top);
    s.Elastic_I_Bottom = Inertia_In(m, s.Elastic_I_Bottom);
    if (shape == SHAPE_EMBEDDED_POLE) {
        Dimension_Value(m, s.Diameter, Of("drilled hole diameter", i));
    }
}

void Read_User_EI(AnalysisModel& m, int i) {
    PileSection& s = m.Sections[i];
    int n = 0;
    if (!Dimension_Value(m, s.Diameter, Of("section diameter", i)) ||
        !Value(m, n, Of("number of axial thrusts", i))) {
        return;
    }
    if (n < 0 || n > MAX_USER_EI_THRUSTS) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Capacity_Error(
            m, kBlock, fmt::format("axial thrusts in section {}", i), n, MAX_USER_EI_THRUSTS));
        return;
    }
    s.i_Num_User_Thrusts = n;
    const char* second = s.b_Moment_vs_EI ? "EI" : "curvature";
    for (int k = 1; k <= n; ++k) {
        UserEIThrust& t = s.User_EI[k];
        int p = 0;
        if (!Value(m, t.Axial_Thrust, fmt::format("axial thrust {} of section {}", k, i)) ||
            !Value(m, p,
                   fmt::format("the number of points for axial thrust {} of section {}", k, i))) {
            return;
        }
        if (p < 0 || p > MAX_USER_EI_POINTS) {
            // The reader is void: its caller tests RunStatus.
            static_cast<void>(Raise_Capacity_Error(
                m, kBlock, fmt::format("moment points for axial thrust {} of section {}", k, i), p,
                MAX_USER_EI_POINTS));
            return;
        }
        t.i_Num_Points = p;
        for (int j = 1; j <= p; ++j) {
            ListRead r(m, kBlock);
            const std::string what =
                fmt::format("point {} for axial thrust {} of section {}", j, k, i);
            if (!r.Real(t.Moment[j], "the bending moment of " + what) ||
                !r.Real(t.EI_or_Curvature[j], fmt::format("the {} of {}", second, what))) {
                return;
            }
            // A bending stiffness below zero has no physical meaning; curvature keeps its
            // sign.
            if (s.b_Moment_vs_EI && !Check_Range(m, kBlock, "EI of " + what, t.EI_or_Curvature[j],
                                                 0.0, MAX_INPUT_MAGNITUDE)) {
                return;
            }
        }
    }
}

} // namespace

void Read_Elastic_Section(AnalysisModel& m, int i) {
    m.Messages.Write_Line(fmt::format("Reading elastic section properties for Section {}", i));
    Read_Elastic_Data(m, i, false);
}

void Read_Elastic_Plastic_Section(AnalysisModel& m, int i) {
    m.Messages.Write_Line(
        fmt::format("Reading elastic-plastic section properties for Section {}", i));
    Read_Elastic_Data(m, i, true);
}

void Read_Section_Properties(AnalysisModel& m) {
    int n = 0;
    if (!Value(m, n, "the number of pile sections")) {
        return;
    }
    double running = 0.0;
    // A model starts with empty sections; only a second SECTIONS block finds them filled.
    const bool sections_filled = m.i_Num_Sections > 0;
    m.Sections[1].XTop = 0.0;
    if (n < 1) {
        m.i_Num_Sections = 0;
        m.i_Num_Section_Breakpoints = 0;
        return;
    }
    if (n > MAX_SECTIONS) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Capacity_Error(m, kBlock, "pile sections", n, MAX_SECTIONS));
        return;
    }
    m.i_Num_Sections = n;
    m.i_Num_Section_Breakpoints = 2 * n;
    m.Pile_Length = 0.0;
    for (int i = 1; i <= n; ++i) {
        m.Messages.Write_Line(fmt::format("Reading section properties for Section {}", i));
        PileSection& s = m.Sections[i];
        if (sections_filled) {
            s = kEmptySection;
        }
        int number = 0;
        if (!Value(m, number, "the section number")) {
            return;
        }
        if (number != i) {
            if (Fail_Run(m, MessageId::SectionOrder, i, number) > 0) {
                return;
            }
        }
        int code = 0;
        if (!Value(m, code, Of("section type code", i))) {
            return;
        }
        if (code == 3 || code == -3) {
            s.b_Core_Filled = code == 3;
            code = 3;
        } else if (code == 13 || code == -13) {
            s.b_User_EI = true;
            s.b_Moment_vs_EI = code == 13;
            s.b_Moment_vs_Curvature = code == -13;
            code = 13;
        } else if (code < 0 || code > 14) {
            // The reader is void: its caller tests RunStatus.
            static_cast<void>(Raise_Bad_Value(
                m, kBlock, Of("section type code (0 to 14, -3 or -13)", i), std::to_string(code)));
            return;
        }
        s.i_Section_Type = code;
        const SectionLimits lim = Limits_Of(m);
        if (!Value_In(m, s.Length, Of("section length", i), 0.0, lim.section_length)) {
            return;
        }
        bool ok = true;
        switch (code) {
        case 0:
            ok = Outer_Dimension_Value(m, s.Diameter, Of("section depth", i)) &&
                 Outer_Dimension_Value(m, s.Section_Width, Of("section width", i));
            break;
        case 1:
        case 5:
            ok = Outer_Dimension_Value(m, s.Diameter, Of("diameter", i));
            break;
        case 2:
        case 3:
        case 4:
            // A pipe pile is nothing but its steel, so its modulus must be positive; a
            // casing or core may be given without stiffness.
            ok = Outer_Dimension_Value(m, s.Diameter, Of("outer diameter", i)) &&
                 Dimension_Value(m, s.Casing_Thickness, Of("wall thickness", i)) &&
                 Fits_In(m, s.Casing_Thickness, 0.5 * s.Diameter, Of("wall thickness", i),
                         "half the outer diameter") &&
                 Value_In(m, s.Casing_Fy, Of("yield stress of casing or pipe", i), 0.0,
                          lim.steel_strength) &&
                 Value_In(m, s.Casing_E, Of("elastic modulus of casing or pipe", i), 0.0,
                          lim.modulus, code == SECTION_STEEL_PIPE);
            if (ok && code == 3) {
                ok = Dimension_Value(m, s.Core_Diameter, Of("outside diameter of the core", i)) &&
                     Fits_In(m, s.Core_Diameter, s.Diameter - 2.0 * s.Casing_Thickness,
                             Of("outside diameter of the core", i),
                             "the inside diameter of the casing") &&
                     Dimension_Value(m, s.Core_Thickness, Of("core wall thickness", i)) &&
                     Fits_In(m, s.Core_Thickness, 0.5 * s.Core_Diameter,
                             Of("core wall thickness", i), "half the core diameter") &&
                     Value_In(m, s.Core_Fy, Of("core yield stress", i), 0.0, lim.steel_strength) &&
                     Value_In(m, s.Core_E, Of("core elastic modulus", i), 0.0, lim.modulus);
            }
            break;
        case 6:
        case 10:
            ok = Outer_Dimension_Value(m, s.Diameter,
                                       Of(code == 6 ? "diameter" : "pile width", i)) &&
                 Dimension_Value(m, s.Void_Diameter, Of("void diameter", i)) &&
                 Fits_In(m, s.Void_Diameter, s.Diameter, Of("void diameter", i),
                         code == 6 ? "the diameter" : "the pile width");
            break;
        case 7:
            ok = Outer_Dimension_Value(m, s.Diameter, Of("pile width", i)) &&
                 Dimension_Value(m, s.Chamfer, Of("corner chamfer", i)) &&
                 Fits_In(m, s.Chamfer, 0.5 * s.Diameter, Of("corner chamfer", i),
                         "half the pile width");
            break;
        case 8:
            ok =
                Outer_Dimension_Value(m, s.Diameter, Of("pile width", i)) &&
                Dimension_Value(m, s.Void_Diameter, Of("void diameter", i)) &&
                Fits_In(m, s.Void_Diameter, s.Diameter, Of("void diameter", i), "the pile width") &&
                Dimension_Value(m, s.Chamfer, Of("corner chamfer", i)) &&
                Fits_In(m, s.Chamfer, 0.5 * s.Diameter, Of("corner chamfer", i),
                        "half the pile width");
            break;
        case 9:
            ok = Outer_Dimension_Value(m, s.Diameter, Of("pile width", i));
            break;
        case 11:
            Read_Elastic_Section(m, i);
            break;
        case 12:
            Read_Elastic_Plastic_Section(m, i);
            break;
        case 13:
            Read_User_EI(m, i);
            break;
        default:
            break;
        }
        if (!ok || m.RunStatus > 0) {
            return;
        }
        if (code <= 3 || (code >= 5 && code <= 10)) {
            Read_Concrete_Properties(m, i);
            if (m.RunStatus > 0) {
                return;
            }
            if (code <= 3) {
                Read_Rebar_Properties(m, i);
            } else {
                Read_Strand_Properties(m, i);
            }
            if (m.RunStatus > 0) {
                return;
            }
        }
        if (code == SECTION_MICROPILE) {
            continue; // a micropile takes no place in the depth and width tables
        }
        s.XTop = running;
        running += s.Length;
        s.XBottom = running;
        m.Pile_Length = running; // the pile ends at the bottom of its last section
        switch (code) {
        case 0:
            s.Width_Top = s.Width_Bottom = s.Section_Width;
            break;
        case 11:
        case 12:
            switch (s.i_Shape_Type) {
            case SHAPE_RECTANGULAR:
            case SHAPE_CIRCULAR:
            case SHAPE_CIRCULAR_PIPE:
                s.Width_Top = s.Elastic_Width_Top;
                s.Width_Bottom = s.Elastic_Width_Bottom;
                break;
            case SHAPE_STRONG_H_PILE:
                s.Width_Top = s.Width_Bottom = s.Elastic_Width_Top;
                break;
            case SHAPE_WEAK_H_PILE:
                s.Width_Top = s.Width_Bottom = s.Elastic_Depth_Top;
                break;
            case SHAPE_EMBEDDED_POLE:
                s.Width_Top = s.Width_Bottom = s.Diameter;
                break;
            default:
                break;
            }
            s.E_Top = s.E_Bottom = s.Elastic_E;
            s.I_Top = s.Elastic_I_Top;
            s.I_Bottom = s.Elastic_I_Bottom;
            s.Area_Top = s.Elastic_Area_Top;
            s.Area_Bottom = s.Elastic_Area_Bottom;
            break;
        default:
            s.Width_Top = s.Width_Bottom = s.Diameter;
            break;
        }
        if (code == SECTION_STEEL_PIPE) {
            const double d = s.Diameter;
            const double di = d - 2.0 * s.Casing_Thickness;
            s.I_Top = s.I_Bottom = 0.04908738521234052 * (d * d * d * d - di * di * di * di);
            s.Area_Top = s.Area_Bottom = 0.7853981633974483 * (d * d - di * di);
            s.E_Top = s.E_Bottom = s.Casing_E;
        }
    }
}

} // namespace zarno
