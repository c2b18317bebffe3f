// LRFD load combinations: unfactored loads by load type are combined with the load factors
// of each combination into one factored pile-head load case per combination, and their
// distributed lateral loads into one factored load per station.
#pragma once

#include <string>

namespace zarno {

struct AnalysisModel;
struct LrfdLoad;

// Name of load type t (1..13) as the distributed-load report prints it, 30 characters.
std::string Lrfd_Load_Type_Name(int t);

// Sums the unfactored loads per load type, forms the factored shear, moment and axial
// force of every combination (rotated into the pile axes when the pile is battered), and
// replaces the axial thrusts of the section stiffness tables by the distinct factored
// axial forces (kips in US customary runs). Runs once, before the section analysis.
void Compute_Factored_Loads(AnalysisModel& m);

// Makes the combinations the load cases of the run: combination c becomes load case c,
// shear and moment at the head (loading type 1) with its factored values.
void Set_Lrfd_Load_Cases(AnalysisModel& m);

// Integral of a load's distributed-load profile from depth a to depth b (a <= b). The
// profile is linear between its points; two points at one depth form a step.
double Lrfd_Profile_Integral(const LrfdLoad& load, double a, double b);

// Averages the distributed load of each load type over the window of every station of the
// current grid (h long, h/2 at the head and the tip) and reports the non-zero ones.
void Compute_Lrfd_Distributed_Loads(AnalysisModel& m);

// Factored distributed load of station i for combination c, from the per-type averages.
double Factored_Distributed_Load(const AnalysisModel& m, int i, int c);

// Per-type averages for the current grid, then the factored load of combination c at
// every station (replacing any distributed load of the station).
void Apply_Lrfd_Distributed_Loads(AnalysisModel& m, int c);

// The distributed lateral load applied at station i by the loading: the factored load of
// the current combination in LRFD runs, else the average of the LOADING profile.
double Applied_Distributed_Load(const AnalysisModel& m, int i);

} // namespace zarno
