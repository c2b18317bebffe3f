#include "analyses/pile_head_stiffness.h"

#include "engine/analysis_model.h"

namespace zarno {

void Compute_Pile_Head_Stiffness(AnalysisModel& /*m*/) {
    // Needs the lateral solution of the load cases.
}

} // namespace zarno
