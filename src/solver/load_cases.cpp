#include "solver/load_cases.h"

#include "engine/analysis_model.h"

namespace zarno {

void Run_Load_Cases(AnalysisModel& /*m*/) {
    // The lateral solution of the load cases is not built yet.
}

} // namespace zarno
