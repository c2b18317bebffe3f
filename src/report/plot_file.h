// Records of the plot output file that the run sequence writes itself, and the point
// record of a moment-curvature curve, which every kind of section writes.
#pragma once

#include <string_view>

namespace zarno {

class TextFile;
struct RunInput;

// Line 1: analysis type, unit system, KYL and whether the head stiffness is computed.
void Write_Plot_Line1(const RunInput& in, TextFile& plot);
// Line 2: number of pile sections.
void Write_Plot_Line2(const RunInput& in, TextFile& plot);
// Line 5: one point of a moment-curvature curve, moment, EI and curvature as ES15.7, 35
// blanks, the label and "for Sect#=s, AxLd#=t, CurvPnt#=p".
void Write_Curve_Point_Line(TextFile& plot, double moment, double EI, double curvature,
                            std::string_view label, int section, int thrust, int point);

} // namespace zarno
