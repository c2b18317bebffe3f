#pragma once
namespace zarno {
struct AnalysisModel;
// LRFD part of the input echo: checks that an LRFD run has loads and combinations, forms
// the factored loads and the distinct factored axial thrusts, and writes the unfactored
// loads, the load and resistance factors, the factored loads before and after the batter
// transformation and the sorted thrusts to the report. Does nothing without LRFD.
void Write_Lrfd_Echo(AnalysisModel& m);
} // namespace zarno
