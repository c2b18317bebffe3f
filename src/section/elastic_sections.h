// Sections without a cross-section to slice: elastic (11), elastic with a plastic moment
// (12) and user-defined moment-EI (13). Each fills the section's curves of the
// SectionEITable directly, in the same form as a moment-curvature analysis, so the solver
// and the plot file treat every section alike. An elastic section keeps its EI whatever
// the moment: its thrusts and capacities are tabulated, its points only plotted and
// recorded (its tables hold no points).
#pragma once

namespace zarno {
struct AnalysisModel;

// Type 11: a straight line M = EI phi over 150 points, EI at the top of the section; the
// points are plotted and recorded, not tabulated.
void Compute_Elastic_Section_EI(AnalysisModel& m, int s);
// Type 12: elastic up to the plastic moment, then constant moment to 11 times the yield
// curvature; also sets the plastic moment of the nodes in the section.
void Compute_Elastic_Plastic_Section_EI(AnalysisModel& m, int s);
// Type 13: the user's moment-EI points, refined to fill the table.
void Build_User_EI_Tables(AnalysisModel& m, int s);
// Dispatch for types 11 to 13; returns false for any other type.
bool Compute_Tabulated_Section_EI(AnalysisModel& m, int s);
} // namespace zarno
