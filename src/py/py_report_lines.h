// Pieces of the printed p-y curve blocks shared by the clay and sand models: label lines
// with "= " in column 56, depth and slope lines, the column heading and plot records
// Line 7 and Line 8.
#pragma once

#include <string>
#include <string_view>

namespace zarno {

struct AnalysisModel;

inline constexpr int PY_LABEL_COLUMN = 56;

// Label, blanks up to the "= " column, the value and, after a blank, the trimmed unit.
void Write_py_Label_Line(AnalysisModel& m, std::string_view label, const std::string& value,
                         std::string_view unit = {});
// F12.d, the value field of the label lines.
std::string py_F12(double v, int d);
// Force per length label, "lb/in" style.
std::string py_Force_Per_Length(const AnalysisModel& m);
// Two blank lines, the title line(s) and one blank line.
void Write_py_Title(AnalysisModel& m, std::string_view title, std::string_view second = {});
// Depth below pile head, below ground surface and, when eq_label is given, the equivalent
// depth; in feet when in_feet, else in the length unit.
void Write_py_Depth_Lines(AnalysisModel& m, double X, double xt, const char* eq_label, double x,
                          bool in_feet);
// Ground slope, pile batter (with its label) and effective slope in degrees.
void Write_py_Slope_Lines(AnalysisModel& m, std::string_view batter_label);
void Write_py_Multiplier_Lines(AnalysisModel& m, double pm, double ym);
// Plot record Line 7: depth, number of points, the label and the curve number.
void Write_py_Plot_Line7(AnalysisModel& m, double depth, int points, std::string_view label,
                         int curve, std::string_view count_words = "no. p-y points on curve no. ");
// Plot record Line 8: y, p and "Line 8(j): y, p, for " soil; the short form puts the label
// at column 51 with a two-digit point number.
void Write_py_Plot_Line8(AnalysisModel& m, double y, double p, int j, std::string_view soil,
                         bool short_form = false);
// A table row in the report's number format: 3 blanks, y (width 12), 5 blanks, p (width 12).
void Write_py_Number_Row(AnalysisModel& m, double y, double p);

} // namespace zarno
