// The blocks of the input echo, in the order the report carries them. Each returns with
// RunStatus set when one of its consistency checks fails.
#pragma once

namespace zarno {

struct AnalysisModel;

// Pile structural properties and geometry: sections, pile diameter points.
void Write_Section_Echo(AnalysisModel& m);
// Soil and rock layering, the effective unit weight check and the summary of soil
// properties.
void Write_Soil_Echo(AnalysisModel& m);
// Checks between blocks that no single input line can show: the pile diameter points,
// soil reaching the tip, the first profile depths, p-multipliers and cycles of loading.
void Check_Input_Consistency(AnalysisModel& m);
// Tip shear curve starting at zero displacement with rising displacements.
void Check_Tip_Shear_Curve(AnalysisModel& m);
// Printed p-y depths between the ground surface and the pile tip.
void Check_Printed_py_Depths(AnalysisModel& m);

} // namespace zarno
