// Records of the plot output file that the run sequence writes itself.
#pragma once

namespace zarno {

class TextFile;
struct RunInput;

// Line 1: analysis type, unit system, KYL and whether the head stiffness is computed.
void Write_Plot_Line1(const RunInput& in, TextFile& plot);
// Line 2: number of pile sections.
void Write_Plot_Line2(const RunInput& in, TextFile& plot);

} // namespace zarno
