#include "report/plot_file.h"

#include "engine/analysis_model.h"
#include "report/fortran_format.h"

namespace zarno {

void Write_Plot_Line1(AnalysisModel& m) {
    TextFile& p = m.Plot;
    p.Write_Text(Format_I(m.i_Analysis_Type, 5));
    p.Write_Text(Format_I(m.IUNITS, 5));
    p.Write_Text(Format_I(m.KYL, 5));
    p.Write_Text(Format_I(m.ib_ComputeKmatrix_1T0F ? 1 : 0, 5));
    p.Write_Blanks(60);
    p.Write_Line("Line 1 : i_Analysis_Type, IUNITS, KYL, ib_ComputeKmatrix_1T0F");
}

void Write_Plot_Line2(AnalysisModel& m) {
    TextFile& p = m.Plot;
    p.Write_Text(Format_I(m.i_Num_Sections, 5));
    p.Write_Blanks(75);
    p.Write_Line("Line 2 : Total number of sections");
}

} // namespace zarno
