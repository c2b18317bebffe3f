#pragma once

#include "section/section_workspace.h"

namespace zarno {
struct AnalysisModel;
// Computes the moment-curvature relation, nominal moment capacity and bending stiffness
// table of pile section k for every axial thrust of the run, with its report blocks.
void Compute_Section_Stiffness(AnalysisModel& m, int k);
// Moment-curvature curves of the prepared (sliced) workspace of section k for every valid thrust;
// stores them in the model's SectionEITable.
void Compute_Moment_Curvature(AnalysisModel& m, int k, SectionWorkspace& ws);
} // namespace zarno
