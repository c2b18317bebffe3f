#include "report/plot_file.h"

#include "engine/analysis_model.h"
#include "report/fortran_format.h"
#include "report/text_file.h"

#include <cstring>
#include <fmt/format.h>
#include <string>

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

void Write_Curve_Point_Line(TextFile& plot, double moment, double EI, double curvature,
                            std::string_view label, int section, int thrust, int point) {
    // A curve has up to 150 points per thrust: the record is composed in a buffer on the
    // stack, the fields placed directly in it, and handed to the file at once.
    constexpr int kField = 15;
    constexpr std::size_t kLead = 3 * kField + 35; // the fields and the blanks before the label
    const fmt::format_int section_text(section);
    const fmt::format_int thrust_text(thrust);
    const fmt::format_int point_text(point);
    const std::string_view parts[] = {label,
                                      "for Sect#=",
                                      {section_text.data(), section_text.size()},
                                      ", AxLd#=",
                                      {thrust_text.data(), thrust_text.size()},
                                      ", CurvPnt#=",
                                      {point_text.data(), point_text.size()}};
    std::size_t length = kLead;
    for (const std::string_view part : parts) {
        length += part.size();
    }
    char line[256];
    if (length > sizeof line) { // a label far longer than any curve's
        std::string text = Format_ES(moment, kField, 7) + Format_ES(EI, kField, 7) +
                           Format_ES(curvature, kField, 7) + std::string(35, ' ');
        for (const std::string_view part : parts) {
            text += part;
        }
        plot.Write_Line(text);
        return;
    }
    // Each field's scratch room beyond its width is overwritten by the next part.
    Put_ES(line, moment, kField, 7);
    Put_ES(line + kField, EI, kField, 7);
    Put_ES(line + 2 * kField, curvature, kField, 7);
    std::memset(line + 3 * kField, ' ', kLead - 3 * kField);
    char* at = line + kLead;
    for (const std::string_view part : parts) {
        std::memcpy(at, part.data(), part.size());
        at += part.size();
    }
    plot.Write_Line({line, length});
}

} // namespace zarno
