// Moment-curvature analysis of a sliced section for a list of axial thrusts, the
// nominal moment capacity and the stiffness at a factored moment.
#pragma once

#include "section/neutral_axis.h"
#include "section/section_workspace.h"

namespace zarno {

struct AnalysisModel;

// Slices the prepared section and derives its material constants and prestrains.
void Initialize_EI_Vars(AnalysisModel& m, SectionWorkspace& ws);
// The material constants and prestrains alone, for a workspace already sliced.
void Initialize_Materials(AnalysisModel& m, SectionWorkspace& ws);

// Initial curvature increment of a section of depth D in the bending direction. US
// customary runs use 1.25e-6 rad/in, reduced for large sections; SI runs the same rule
// in metres; runs in general units the same curvature-times-depth as a 24 in section.
double fn_Initial_Curvature_Increment(int iunits, double D);
// Curvature increment that leads to step k (the increment doubles at step 40, then
// grows fourfold at 80 and sixfold at 120).
double fn_Curvature_Step_Factor(int k);
// Curvature increment from step k-1 to step k of thrust t under thrust P: the fixed
// schedule, stretched over the last band for a prestressed pile under tension when it
// would end before the top fibre crushes.
double fn_Curvature_Step(const SectionWorkspace& ws, int t, int k, double P);
// Initial increment of a steel pipe under thrust P: 1/80 of its first-yield curvature.
double fn_Pipe_Curvature_Increment(const SectionWorkspace& ws, double P);
double fn_Pipe_Wall_Area(const SectionWorkspace& ws);

// The largest concrete and bar stresses of point k; the slices that hold steel are taken
// from the force-only pass of the current slices.
void Find_Max_Stresses(SectionWorkspace& ws, const ForceOnlyPass& pass, int t, int k);
void Compute_Section_Moments(SectionWorkspace& ws, int t, int k);
// Point k of thrust t after Find_Neutral_Axis: the evaluation at the depth of the trial
// evaluated last (ws.y_n), its flags, largest stresses, moment, stiffness and strains. A
// section with a force-only pass (concrete and bars, or a steel pipe) is evaluated, and its
// largest stresses and moment formed, in one pass over the slices, without storing the slice
// strains and stresses; every value it stores has the bits that the full evaluation
// followed by Find_Max_Stresses and Compute_Section_Moments gives. A composite section is
// evaluated in full at ws.y_n and takes those two; a section the search evaluated in full
// takes them on the slices it has left.
void Evaluate_Point(SectionWorkspace& ws, const ForceOnlyPass& pass, int t, int k);
// Nominal moment capacity of thrust t from its computed points (warning -355).
void Compute_Nominal_Moment_Capacity(AnalysisModel& m, SectionWorkspace& ws, int t);
// Secant stiffness of thrust t at moment M_target, interpolated between points.
double Interpolate_EI_At_Moment(const SectionWorkspace& ws, int t, double M_target);

// Curve of one thrust t: flags, tension start, curvature steps with their run
// messages and stop rules, nominal capacity. The heading and rows are written by the
// caller. Returns early when RunStatus is set.
void Compute_Thrust_Curve(AnalysisModel& m, SectionWorkspace& ws, int t);

} // namespace zarno
