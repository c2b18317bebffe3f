#include "section/section_stiffness.h"

#include "engine/analysis_model.h"

namespace zarno {

void Compute_Section_Stiffness(AnalysisModel& /*m*/, int /*k*/) {
    // Sections keep their elastic bending stiffness until the section analysis exists.
}

} // namespace zarno
