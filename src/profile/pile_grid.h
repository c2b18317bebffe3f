// Finite-difference stations along the pile and what each station carries: its depths,
// its pile section, the soil layer it lies in, its stiffness, distributed load and soil
// movement.
#pragma once
namespace zarno {
struct AnalysisModel;
// The top of layer 1 becomes the ground surface; every later layer starts where the one
// above it ends.
void Make_Layers_Contiguous(AnalysisModel& m);
// Checks that every soil layer can be given p-y curves (Check_Soil_Layer_Models), then builds
// the grid for the model's pile length (see the overload).
void Build_Node_Grid(AnalysisModel& m);
// Divides a pile of length L into the run's number of increments: node depths along the
// pile and vertically, the pile property table, and per node the pile width, elastic EI
// and distributed load. The last node lies exactly at L.
void Build_Node_Grid(AnalysisModel& m, double L);
// Section index of nodes 1..N; a node on a section boundary belongs to the upper section.
void Assign_Sections_To_Nodes(AnalysisModel& m, int N);
// First and last node of every soil layer, comparing layer depths with the vertical
// depths of the nodes.
void Assign_Layers_To_Nodes(AnalysisModel& m, int N);
// The same for the depths of printed p-y curves, by their vertical depths (m.Py.Print_Xv).
void Assign_Layers_To_Printed_Depths(AnalysisModel& m, int N);
// Free-field soil movement of nodes 1..N from the soil movement table.
void Interpolate_Soil_Movement(AnalysisModel& m, int N);
// A node whose vertical depth is above the ground surface gets no soil spring.
bool Is_Node_Above_Ground(const AnalysisModel& m, int i);
} // namespace zarno
