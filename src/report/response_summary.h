#pragma once
namespace zarno {
struct AnalysisModel;
// Summary table of the pile-head responses of all load cases.
// In LRFD runs it adds the structural verdict of every combination in every section
// (warning -400 for each section whose factored moment capacity is reached).
void Write_Pile_Response_Summary(AnalysisModel& m);
// Nominal moment capacity of section s for LRFD combination c: the capacity at the
// combination's factored thrust, or for a section with a specified plastic moment the
// plastic moment where the combination's largest moment in the section developed.
double Lrfd_Nominal_Moment_Capacity(const AnalysisModel& m, int c, int s);
} // namespace zarno
