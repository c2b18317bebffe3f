#include "report/plot_file.h"

#include "engine/analysis_model.h"
#include "report/fortran_format.h"
#include "report/text_file.h"

#include <cstring>
#include <fmt/format.h>

namespace zarno {

void Write_Plot_Line1(const RunInput& in, TextFile& plot) {
    TextFile& p = plot;
    p.Write_Text(Format_I(in.i_Analysis_Type, 5));
    p.Write_Text(Format_I(in.IUNITS, 5));
    p.Write_Text(Format_I(in.KYL, 5));
    p.Write_Text(Format_I(in.ib_ComputeKmatrix_1T0F ? 1 : 0, 5));
    p.Write_Blanks(60);
    p.Write_Line("Line 1 : i_Analysis_Type, IUNITS, KYL, ib_ComputeKmatrix_1T0F");
}

void Write_Plot_Line2(const RunInput& in, TextFile& plot) {
    TextFile& p = plot;
    p.Write_Text(Format_I(in.i_Num_Sections, 5));
    p.Write_Blanks(75);
    p.Write_Line("Line 2 : Total number of sections");
}

namespace {

// The decimal digits of a count written at `at`; returns the end of them. Counts of
// points, thrusts and sections are small, so the digits are written one by one.
char* Put_Count(char* at, int value) {
    if (value < 0) {
        const fmt::format_int text(value);
        std::memcpy(at, text.data(), text.size());
        return at + text.size();
    }
    auto rest = static_cast<unsigned>(value);
    int count = 1;
    for (unsigned limit = 10; rest >= limit && count < 10; limit *= 10) {
        ++count;
    }
    char* p = at + count;
    do {
        *--p = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    return at + count;
}

template <std::size_t N> char* Put_Literal(char* at, const char (&text)[N]) {
    std::memcpy(at, text, N - 1);
    return at + (N - 1);
}

} // namespace

void Write_Curve_Point_Line(TextFile& plot, double moment, double EI, double curvature,
                            std::string_view label, int section, int thrust, int point) {
    // A curve has up to 150 points per thrust: the record is composed in a buffer on the
    // stack, the fields placed directly in it, and handed to the file at once.
    constexpr int kField = 15;
    constexpr std::size_t kLead = 3 * kField + 35; // the fields and the blanks before the label
    constexpr std::size_t kTail = 10 + 8 + 11 + 3 * 11; // the three counts and their names
    char line[256];
    if (kLead + label.size() + kTail > sizeof line) { // a label far longer than any curve's
        plot.Write_Line(fmt::format("{}{}{}{:35}{}for Sect#={}, AxLd#={}, CurvPnt#={}",
                                    Format_ES(moment, kField, 7), Format_ES(EI, kField, 7),
                                    Format_ES(curvature, kField, 7), "", label, section, thrust,
                                    point));
        return;
    }
    // Each field's scratch room beyond its width is overwritten by the next part.
    Put_ES(line, moment, kField, 7);
    Put_ES(line + kField, EI, kField, 7);
    Put_ES(line + 2 * kField, curvature, kField, 7);
    std::memset(line + 3 * kField, ' ', kLead - 3 * kField);
    char* at = line + kLead;
    std::memcpy(at, label.data(), label.size());
    at += label.size();
    at = Put_Count(Put_Literal(at, "for Sect#="), section);
    at = Put_Count(Put_Literal(at, ", AxLd#="), thrust);
    at = Put_Count(Put_Literal(at, ", CurvPnt#="), point);
    plot.Write_Line({line, static_cast<std::size_t>(at - line)});
}

} // namespace zarno
