#pragma once
namespace zarno {
struct AnalysisModel;
// The top of layer 1 becomes the ground surface; every later layer starts where the one
// above it ends.
void Make_Layers_Contiguous(AnalysisModel& m);
// Divides the pile into its finite-difference stations.
void Build_Node_Grid(AnalysisModel& m);
} // namespace zarno
