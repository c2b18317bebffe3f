// Finite-difference stations along the pile and what each station carries: its depths,
// its pile section, the soil layer it lies in, its stiffness, distributed load and soil
// movement.
#pragma once

#include "engine/analysis_model.h"

namespace zarno {
// The top of layer 1 becomes the ground surface; every later layer starts where the one
// above it ends.
void Make_Layers_Contiguous(RunInput& in);
// Checks that every soil layer can be given p-y curves (Check_Soil_Layer_Models), then builds
// the grid for the model's pile length (see the overload).
void Build_Node_Grid(AnalysisModel& m);
// Divides a pile of length L into the run's number of increments (Build_Stations) and
// empties what the p-y passes kept for the earlier stations. A count or length that cannot
// be gridded stops the run.
void Build_Node_Grid(AnalysisModel& m, double L);
// Node depths along the pile and vertically, the pile property table, and per node the pile
// width, elastic EI and distributed load, for a pile of length L in the input's number of
// increments (40 to 500). The last node lies exactly at L.
void Build_Stations(const RunInput& in, const SectionTable& sections, StationGrid& grid, double L);
// Section index of nodes 1..N; a node on a section boundary belongs to the upper section.
void Assign_Sections_To_Nodes(const RunInput& in, const SectionTable& sections, StationGrid& grid,
                              int N);
// First and last node of every soil layer (in.Layers[k].KTOP, i_BottomNodeInLayer) and the
// layer of every node, comparing layer depths with the vertical depths of the nodes. The
// report receives the diagnostic of a layer whose range cannot be closed.
// Returns the first layer whose last station had to be taken as the pile tip because no
// lower layer holds one (the diagnostic lines are then in the report), else 0.
int Assign_Layers_To_Nodes(RunInput& in, StationGrid& grid, TextFile& report, int N);
// The same for the depths of printed p-y curves, by their vertical depths (py.Print_Xv), into
// py.Print_Layers; the layers' node ranges and the nodes are left alone.
int Assign_Layers_To_Printed_Depths(const RunInput& in, PyState& py, TextFile& report, int N);
// Records the warning of a layer that Assign_Layers_To_Nodes (or, with printed_depths, the
// printed depths' variant) returned; nothing for 0.
void Record_Stranded_Layer(AnalysisModel& m, int layer, bool printed_depths);
// Free-field soil movement of nodes 1..N from the soil movement table.
void Interpolate_Soil_Movement(const RunInput& in, StationGrid& grid, int N);
// A node whose vertical depth is above the ground surface gets no soil spring.
bool Is_Node_Above_Ground(const RunInput& in, const StationGrid& grid, int i);
} // namespace zarno
