#include "report/plot_file.h"

#include "engine/analysis_model.h"
#include "report/fortran_format.h"

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

} // namespace zarno
