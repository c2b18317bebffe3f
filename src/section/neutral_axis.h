// Axial force equilibrium of the section at an imposed curvature.
#pragma once

#include "section/section_workspace.h"

namespace zarno {

struct AnalysisModel;

// Strains, stresses, component forces and the total axial force N at the trial
// neutral-axis depth y_n (below the top) and the curvature ws.Phi.
void Compute_Axial_Thrust_Force(SectionWorkspace& ws, double y_n);

// Newton search for the depth at which N equals ws.P_Target; stores it in the
// neutral-axis table of thrust t at step k and as the seed of the next step. When Newton's
// method has not settled after 1000 iterations a bracketed search takes over. Returns
// false when no depth balances the thrust at this curvature: after the first step that is
// the failure of the section under its thrust (the caller ends the curve there, nothing is
// reported); at the first step it is RUN00016.
bool Find_Neutral_Axis(AnalysisModel& m, SectionWorkspace& ws, int t, int k);

} // namespace zarno
