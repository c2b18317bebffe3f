#include "py/py_report_lines.h"

#include "engine/analysis_model.h"
#include "engine/text_trim.h"
#include "py/py_common.h"
#include "report/fortran_format.h"

namespace zarno {

void Write_py_Label_Line(AnalysisModel& m, std::string_view label, const std::string& value,
                         std::string_view unit) {
    std::string line(label);
    if (line.size() < PY_LABEL_COLUMN - 1) {
        line.append(PY_LABEL_COLUMN - 1 - line.size(), ' ');
    }
    line += "= " + value;
    const std::string u = Trim_Right(unit);
    if (!u.empty()) {
        line += " " + u;
    }
    m.Report.Write_Line(line);
}

std::string py_F12(double v, int d) {
    return Format_F(v, 12, d);
}

std::string py_Force_Per_Length(const AnalysisModel& m) {
    return Trim_Right(m.Labels.Force) + "/" + Trim_Right(m.Labels.Length);
}

void Write_py_Title(AnalysisModel& m, std::string_view title, std::string_view second) {
    m.Report.Blank_Lines(2);
    m.Report.Write_Line(title);
    if (!second.empty()) {
        m.Report.Write_Line(second);
    }
    m.Report.Blank_Lines(1);
}

void Write_py_Depth_Lines(AnalysisModel& m, double X, double xt, const char* eq_label, double x,
                          bool in_feet) {
    const double scale = in_feet ? 12.0 : 1.0;
    const std::string& unit = in_feet ? m.Labels.Depth : m.Labels.Length;
    Write_py_Label_Line(m, "Depth below pile head", py_F12(X / scale, 3), unit);
    Write_py_Label_Line(m, "Depth below ground surface", py_F12(xt / scale, 3), unit);
    if (eq_label != nullptr) {
        Write_py_Label_Line(m, eq_label, py_F12(x / scale, 3), unit);
    }
}

void Write_py_Slope_Lines(AnalysisModel& m, std::string_view batter_label) {
    const double deg = 180.0 / PY_PI;
    Write_py_Label_Line(m, "Ground Slope Angle", py_F12(m.Ground_Slope * deg, 3), "degrees");
    Write_py_Label_Line(m, batter_label, py_F12(m.Pile_Batter * deg, 3), "degrees");
    Write_py_Label_Line(m, "Effective Slope", py_F12(m.Slope_Minus_Batter * deg, 3), "degrees");
}

void Write_py_Multiplier_Lines(AnalysisModel& m, double pm, double ym) {
    Write_py_Label_Line(m, "p-multiplier", py_F12(pm, 5));
    Write_py_Label_Line(m, "y-multiplier", py_F12(ym, 5));
}

void Write_py_Plot_Line7(AnalysisModel& m, double depth, int points, std::string_view label,
                         int curve, std::string_view count_words) {
    m.Plot.Write_Line(Format_ES(depth, 15, 7) + Format_I(points, 5) + std::string(60, ' ') +
                      std::string(label) + std::string(count_words) + Format_I(curve, 0));
    Record_py_Curve(m, depth, curve);
}

void Write_py_Plot_Line8(AnalysisModel& m, double y, double p, int j, std::string_view soil,
                         bool short_form) {
    const std::string fields = Format_ES(y, 15, 7) + Format_ES(p, 15, 7);
    Record_py_Point(m, y, p, soil);
    if (short_form) {
        m.Plot.Write_Line(fields + std::string(20, ' ') + "Line 8(" + Format_I(j, 2) +
                          "): y, p, for " + std::string(soil));
    } else {
        m.Plot.Write_Line(fields + std::string(50, ' ') + "Line 8(" + Format_I(j, 0) +
                          "): y, p, for " + std::string(soil));
    }
}

void Write_py_Number_Row(AnalysisModel& m, double y, double p) {
    m.Report.Write_Blanks(3);
    m.Report.Write_Number(y, 12);
    m.Report.Write_Blanks(5);
    m.Report.Write_Number(p, 12);
    m.Report.End_Line();
}

} // namespace zarno
