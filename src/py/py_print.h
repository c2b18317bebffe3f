// p-y curves printed at the depths the user asked for, after the first load case.
#pragma once

namespace zarno {

struct AnalysisModel;

// Sorts the requested depths and drops repeats, announces the number of curves (plot
// Line 6) and runs every layer's model in print mode over the depths that fall in it,
// with the deflections of the load case just solved. A shallowest depth above the ground
// surface is the non-fatal input error 23 (RunStatus 123, no curves). The layers' node
// ranges and the stations are left as they were.
void Report_py_Curves_At_Depths(AnalysisModel& m);

} // namespace zarno
