#include "report/echo_lines.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "report/text_file.h"

#include <algorithm>
#include <cmath>

namespace zarno {

std::string Pad_To(std::string_view text, std::size_t n) {
    std::string s(text);
    if (s.size() < n) {
        s.resize(n, ' ');
    }
    return s;
}

void Put_At_Column(std::string& line, int column, std::string_view text) {
    const std::size_t at = static_cast<std::size_t>(std::max(column, 1) - 1);
    if (line.size() < at) {
        line.resize(at, ' ');
    }
    line.replace(at, std::min(text.size(), line.size() - at), text);
}

void Write_Banner(TextFile& r, int indent, std::string_view title) {
    r.Write_Line(std::string(80, '-'));
    r.Write_Line(std::string(static_cast<std::size_t>(indent), ' ') + std::string(title));
    r.Write_Line(std::string(80, '-'));
}

void Write_Label_Value(TextFile& r, std::string_view label, std::string_view value) {
    r.Write_Line(Pad_To(label, 55) + "= " + std::string(value));
}

void Write_Label_Number(TextFile& r, std::string_view label, double value, int width,
                        std::string_view unit) {
    r.Write_Text(Pad_To(label, 55) + "= ");
    r.Write_Number(value, width);
    if (unit.empty() || unit.front() == ' ') {
        r.Write_Line(unit);
    } else {
        r.Write_Line(" " + std::string(unit));
    }
}

void Write_To_Both(AnalysisModel& m, std::initializer_list<std::string> lines) {
    Write_To_Both(m.Messages, m.Report, lines);
}

double Vertical_Pile_Tip(const RunInput& in) {
    return in.Pile_Length * std::cos(in.Pile_Batter);
}

double Bottom_Of_Lowest_Layer(const RunInput& in) {
    double bottom = 0.0;
    const int n = std::clamp(in.i_Num_Layers, 0, MAX_SOIL_LAYERS);
    for (int i = 1; i <= n; ++i) {
        bottom = i == 1 ? in.Layers[i].XLayerBottom : std::max(bottom, in.Layers[i].XLayerBottom);
    }
    return bottom;
}

} // namespace zarno
