#include "report/response_summary.h"

#include "engine/analysis_model.h"

namespace zarno {

void Write_Pile_Response_Summary(AnalysisModel& /*m*/) {
    // Written once the load cases produce results.
}

} // namespace zarno
