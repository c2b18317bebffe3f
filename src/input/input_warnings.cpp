#include "input/input_warnings.h"

#include "engine/analysis_model.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"

#include <algorithm>
#include <fmt/format.h>
#include <string>
#include <vector>

namespace zarno {

namespace {

// A value is implausible when it is positive (zero means "not given") and below the
// smallest value a real pile would have in the unit it was read in; such a value is
// almost always one entered in a larger unit.
struct UnitCheck {
    const char* what;
    double value;    // as read
    double smallest; // smallest plausible value in the unit it was read in
    const char* read_unit;
    const char* likely_unit;
};

void Note_Implausible(AnalysisModel& m, int section, const UnitCheck& c) {
    if (!(c.value > 0.0) || c.value >= c.smallest) {
        return;
    }
    Record_Warning(m, WARNING_IMPLAUSIBLE_UNIT);
    Record_Warning_Note(m, WARNING_IMPLAUSIBLE_UNIT,
                        {fmt::format("Pile section {}: the {} of {} {} is far below any real pile.",
                                     section, c.what, fmt::format("{:g}", c.value), c.read_unit),
                         fmt::format("The value is read in {}; it was probably entered in {}.",
                                     c.read_unit, c.likely_unit),
                         "The value is used as read. Please check the input data."});
}

void Check_Section_Units(AnalysisModel& m) {
    const bool si = m.IUNITS == SI;
    if (m.IUNITS != USCS && !si) {
        return; // general units have no scale to judge by
    }
    const char* stress = si ? "kPa" : "psi";
    const char* stress_big = si ? "MPa" : "ksi";
    for (int k = 1; k <= std::min(m.i_Num_Sections, MAX_SECTIONS); ++k) {
        const PileSection& s = m.Sections[k];
        if (s.i_Section_Type == SECTION_USER_EI) {
            continue;
        }
        // SI diameters are read in millimetres and kept in metres.
        const double diameter = si ? s.Diameter * 1000.0 : s.Diameter;
        Note_Implausible(m, k,
                         {"diameter or width", diameter, si ? 50.0 : 2.0, si ? "mm" : "in",
                          si ? "meters" : "feet"});
        // Steel yield stress: mild steel is about 36 ksi (250 MPa); below 1/20 of that the
        // value is in the larger unit.
        const double fy_smallest = si ? 10000.0 : 1500.0;
        const struct {
            const char* what;
            double value;
        } steels[] = {{"casing or pipe yield stress", s.Casing_Fy},
                      {"core yield stress", s.Core_Fy},
                      {"reinforcement yield stress", s.Rebar_fy}};
        for (const auto& f : steels) {
            Note_Implausible(m, k, {f.what, f.value, fy_smallest, stress, stress_big});
        }
        // Elastic moduli: no pile material (steel about 29,000 ksi or 200 GPa, concrete,
        // timber from 1,000 ksi or 7 GPa) comes near 100,000 psi or 690 MPa; a value below
        // that was typed in ksi, MPa or GPa and would make the pile a thousand times too
        // flexible.
        const double E_smallest = si ? 690000.0 : 100000.0;
        const char* E_big = si ? "MPa or GPa" : "ksi";
        const struct {
            const char* what;
            double value;
        } moduli[] = {{"elastic modulus", s.Elastic_E},
                      {"elastic modulus of casing or pipe", s.Casing_E},
                      {"core elastic modulus", s.Core_E},
                      {"rebar elastic modulus", s.Rebar_E}};
        for (const auto& E : moduli) {
            Note_Implausible(m, k, {E.what, E.value, E_smallest, stress, E_big});
        }
        // A concrete strength in the larger unit (below 100 psi) is refused by the reader,
        // whose message names the likely unit.
    }
}

// The PISA calibrations (Byrne et al. 2020; Burd et al. 2020) were fitted to monopiles
// embedded 2 to 6 diameters; outside that range the curves are extrapolations (the Cowden base
// moment's curvature passes 1 below L/D = 0.73). Checked on the input as read: the pile length
// and the ground depth in ft or m, the width at the tip in in (US customary) or m.
void Check_Monopile_Slenderness(AnalysisModel& m) {
    int layer = 0;
    for (int i = 1; i <= std::min(m.i_Num_Layers, MAX_SOIL_LAYERS) && layer == 0; ++i) {
        const int t = m.Layers[i].i_SoilLayer_py_Type;
        if (t >= 18 && t <= 20) {
            layer = i;
        }
    }
    if (layer == 0 || m.i_Analysis_Type == ANALYSIS_EI_ONLY) {
        return;
    }
    double D = 0.0;
    double bottom = -1.0;
    for (int k = 1; k <= std::min(m.i_Num_Sections, MAX_SECTIONS); ++k) {
        const PileSection& s = m.Sections[k];
        if (s.i_Section_Type != SECTION_MICROPILE && s.XBottom > bottom) {
            bottom = s.XBottom;
            D = s.Width_Bottom > 0.0 ? s.Width_Bottom : s.Diameter;
        }
    }
    const double to_width_unit = m.IUNITS == USCS ? 12.0 : 1.0; // ft to in in US customary
    const double L = (m.Pile_Length - m.Ground_Surface_Depth) * to_width_unit;
    if (!(D > 0.0) || (L >= 2.0 * D && L <= 6.0 * D)) {
        return;
    }
    const char* length_unit = m.IUNITS == USCS ? "ft" : (m.IUNITS == SI ? "m" : "length units");
    Record_Warning(m, WARNING_PISA_SLENDERNESS);
    Record_Warning_Note(
        m, WARNING_PISA_SLENDERNESS,
        {fmt::format("Soil layer {} uses a PISA monopile model, but the pile is embedded {:g} {} "
                     "for a width of {:g} {} at the tip: L/D = {:.2f}.",
                     layer, L / to_width_unit, length_unit, D / (m.IUNITS == USCS ? 12.0 : 1.0),
                     length_unit, L / D),
         "The PISA curves were calibrated for embedded lengths of 2 to 6 pile diameters; outside "
         "that range they are extrapolated.",
         "Check the results against another method, or model the soil with p-y types 1 to 16."});
}

// Lines of the deck whose bytes were not UTF-8 (a deck saved in an 8-bit code page): the
// reader replaced those bytes by U+FFFD, so titles and names read differently from the file.
void Note_Non_Utf8_Lines(AnalysisModel& m) {
    const std::vector<int>& lines = m.Input.Non_Utf8_Lines();
    if (lines.empty()) {
        return;
    }
    std::string list;
    for (const int n : lines) {
        list += (list.empty() ? "" : ", ") + std::to_string(n);
    }
    const int total = m.Input.Non_Utf8_Line_Count();
    const int more = total - static_cast<int>(lines.size());
    if (more > 0) {
        list += fmt::format(" and {} more", more);
    }
    Record_Warning(m, WARNING_TEXT_NOT_UTF8);
    Record_Warning_Note(
        m, WARNING_TEXT_NOT_UTF8,
        {fmt::format("Line{} {} of the input file hold{} bytes that are not UTF-8 text.",
                     total > 1 ? "s" : "", list, total > 1 ? "" : "s"),
         "Each such byte was replaced by the character U+FFFD; the deck was probably saved in "
         "an 8-bit code page.",
         "Save the input file as UTF-8 to keep its text as written."});
}

} // namespace

void Check_Option_Keyword(AnalysisModel& m, std::string_view label, std::string_view keyword) {
    const std::string found = Trim_Both(label);
    if (found == keyword) {
        return;
    }
    Record_Warning(m, WARNING_OPTION_KEYWORD);
    Record_Warning_Note(
        m, WARNING_OPTION_KEYWORD,
        {fmt::format("Line {} of the input file starts with \"{}\" where the option keyword "
                     "\"{}\" is expected.",
                     m.Input.Line_Number(), found, keyword),
         fmt::format("The value on the line was read as {} by its position; please correct "
                     "the keyword.",
                     keyword)});
}

void Write_Input_Warnings(AnalysisModel& m) {
    Note_Non_Utf8_Lines(m);
    Check_Section_Units(m);
    Check_Monopile_Slenderness(m);
    for (const MessageResult& note : m.Results.notes) {
        m.Report.Blank_Lines(1);
        m.Report.Write_Line(fmt::format("**** Warning {} ****", note.code));
        m.Report.Blank_Lines(1);
        for (const std::string& line : note.text) {
            m.Report.Write_Line(line);
        }
    }
    if (!m.Results.notes.empty()) {
        m.Report.Blank_Lines(1);
    }
}

} // namespace zarno
