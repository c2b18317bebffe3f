#include "report/input_echo.h"

#include "engine/analysis_model.h"
#include "report/lrfd_echo.h"

namespace zarno {

void Write_Input_Echo(AnalysisModel& m) {
    m.Messages.Write_Line("Output of input data begun");
    // The block-by-block echo of the input is not written yet.
    Write_Lrfd_Echo(m);
    if (m.RunStatus > 0) {
        return;
    }
    m.Messages.Write_Line("Output of input data completed");
    m.Messages.Blank_Lines(1);
}

} // namespace zarno
