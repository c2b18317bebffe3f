// Axial force equilibrium of the section at an imposed curvature.
#pragma once

#include "section/section_workspace.h"

#include <array>

namespace zarno {

struct AnalysisModel;

// Strains, stresses, component forces and the total axial force N at the trial
// neutral-axis depth y_n (below the top) and the curvature ws.Phi.
void Compute_Axial_Thrust_Force(SectionWorkspace& ws, double y_n);

// The yielded forces of one elastic-perfectly plastic steel of yield stress Fy over its
// slices, the j-th of which (in section order) has the area A_j. When the strains fall down
// the section the slices yielded in compression are the first ones, so their force is the
// sum compressed[j] of Fy A_1, ..., Fy A_j, added in slice order starting at +0 exactly as a
// pass over the slices adds them; a slice yielded in tension adds in_tension[j] = -Fy A_j.
// They depend on the areas and Fy alone.
struct SteelBands {
    SliceArray compressed{};
    SliceArray in_tension{};
};

// The Newton search needs only the axial force at most of its trial depths; the slice
// stresses and the state flags matter only at the trial evaluated last, which leaves them
// for the moments. For a section of concrete and bars alone the trials are therefore
// evaluated by a pass that forms the force and nothing else: the same expressions on the
// same values in the same order as the full evaluation, without storing the slices, and
// the bars taken only in the slices that hold them. The pass depends on the slices and the
// material constants alone (not on the curvature), so it is prepared once per curve, after
// the section is sliced and its materials are set.
struct ForceOnlyPass {
    bool usable = false; // the section is of concrete and bars alone (the rest holds for all)
    // Depths increase from slice to slice. Under a positive curvature the strains then fall
    // down the section: once a slice is in tension with the concrete cracked, so is every
    // slice below it, and their stresses of zero add nothing to the concrete force.
    bool depths_increase = false;
    // A steel pipe: its trials sum the casing alone, over every slice.
    bool pipe = false;
    // Any other section (a casing, a core tube or its concrete fill, or strands): its trials
    // sum each component in turn, as the full evaluation does, without storing the slices.
    bool composite = false;
    bool casing = false;
    bool core_tube = false;
    bool core_concrete = false;
    int num_bar_slices = 0;
    std::array<int, MAX_SLICES + 1> bar_slices{};
    // The yielded forces of each elastic-perfectly plastic steel (casing, bars, core tube)
    // over its slices, for the trials that take the steel by bands.
    SteelBands casing_bands;
    // For a steel pipe, the moments about the centre of the section of the same yielded
    // casing forces, each force times its arm H/2 - d_j (compressed[j] their running sum).
    SteelBands casing_moments;
    SteelBands bar_bands;
    SteelBands core_tube_bands;
};

ForceOnlyPass Prepare_Force_Only_Pass(const SectionWorkspace& ws);

// The bands of a steel pipe's casing at the depth y under a positive curvature with the
// slice depths increasing (pass.depths_increase) and a positive finite modulus: slices
// 1 .. elastic - 1 are yielded in compression (E e >= Fy), elastic .. tension - 1 elastic
// and tension .. n yielded in tension (E e <= -Fy), each slice in the band that the steel law
// puts it in.
struct SteelBandEnds {
    int elastic = 1;
    int tension = 1;
};
bool Pipe_Bands_Apply(const SectionWorkspace& ws, const ForceOnlyPass& pass);
SteelBandEnds Pipe_Band_Ends(const SectionWorkspace& ws, double y);

// The axial forces of several trial depths (a Newton iteration tries y, y - delta and
// y + delta), for a pass that is usable, a pipe or composite, without storing the slices.
// Where the strains fall down the section each trial takes the slices by bands of the
// material laws; otherwise the trials of a usable section or a pipe share one pass over the
// slices. A composite section has each trial summed component by component. Each trial
// keeps its own cracked flag, stopping point and sums, formed in the order of the full
// evaluation, so each force equals the N that Compute_Axial_Thrust_Force gives at that
// depth, to the last bit; the workspace is not changed.
inline constexpr int TRIALS_PER_PASS = 3;
std::array<double, TRIALS_PER_PASS>
Axial_Forces_Of_Trials(const SectionWorkspace& ws, const ForceOnlyPass& pass,
                       const std::array<double, TRIALS_PER_PASS>& y_n);

// Newton search for the depth at which N equals ws.P_Target; stores it in the
// neutral-axis table of thrust t at step k and as the seed of the next step. When Newton's
// method has not settled after 1000 iterations a bracketed search takes over. Returns
// false when no depth balances the thrust at this curvature: after the first step that is
// the failure of the section under its thrust (the caller ends the curve there, nothing is
// reported); at the first step it is RUN00016.
// pass is the force-only pass of the current slices (Prepare_Force_Only_Pass).
// On success ws.y_n is the depth of the trial evaluated last, at which the point's stresses
// are taken (Evaluate_Point). Without a force-only pass (none of usable, pipe and composite)
// the slices, flags and forces are evaluated there already; with one, Evaluate_Point
// evaluates them.
bool Find_Neutral_Axis(AnalysisModel& m, SectionWorkspace& ws, const ForceOnlyPass& pass, int t,
                       int k);

} // namespace zarno
