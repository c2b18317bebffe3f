// Preparation of the section workspace from a pile section of the input: units,
// geometry kind, materials, bar and strand positions, axial capacities.
#pragma once

#include "engine/pile_section.h"
#include "section/section_workspace.h"

namespace zarno {

struct AnalysisModel;

// Geometry kind of a sliced section type (0 when the type is not sliced).
int fn_Geometry_Kind(const PileSection& s);

// Copies section k into ws in working units and places bars and strands that the input
// gives as an arrangement. An arrangement that cannot be placed is an input error
// naming the section.
void Fill_Section_Workspace(AnalysisModel& m, int k, SectionWorkspace& ws);

// Nominal axial compressive and tensile capacity and the tensile load that cracks the
// concrete, from the slices and materials of the initialized workspace.
void Compute_Axial_Capacities(SectionWorkspace& ws);

// Gross areas used by the capacity formulas of cased shafts and cores.
struct SectionAreas {
    double gross = 0.0;      // outline area
    double casing = 0.0;     // casing or pipe wall
    double inside = 0.0;     // inside the casing
    double core = 0.0;       // core tube
    double core_gross = 0.0; // core outline
    double bars = 0.0;       // all bars or strands
};
SectionAreas fn_Section_Areas(const SectionWorkspace& ws);

} // namespace zarno
