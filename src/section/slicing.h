// Outline of the section under analysis, its 100 horizontal slices and the area of
// every material component that falls into each slice.
#pragma once

#include "section/section_workspace.h"

namespace zarno {

struct AnalysisModel;

// Area of a circle of diameter d lying within depth h below its top.
double fn_Circle_Segment_Area(double d, double h);
// Area of the polygon (n vertices, indexed from 1) below the line Y = y.
double fn_Polygon_Area_Below(const double* x, const double* y, int n, double y_cut);
double fn_Polygon_Strip_Area(const double* x, const double* y, int n, double y_low, double y_high);
// Slice holding coordinate y; N when no slice holds it.
int fn_FindSliceY(SectionWorkspace& ws, double y);

// Builds the outline of the geometry kind from Diameter, Width and Chamfer.
void Build_Outline(SectionWorkspace& ws);
void Rotate_Points(SectionWorkspace& ws);
void Find_Y_Extents(SectionWorkspace& ws);
void Set_Slice_Depths(SectionWorkspace& ws);

// Adds the area of a circle of diameter d_area whose top lies at y_top (and whose
// bottom at y_bottom) slice by slice to out.
void Slice_Circle(SectionWorkspace& ws, double d_area, double y_top, double y_bottom,
                  SliceArray& out);

void Calculate_Casing_Slice_Areas(SectionWorkspace& ws);
void Calculate_Core_Slice_Areas(SectionWorkspace& ws);
void Calculate_Rebar_Slice_Areas(AnalysisModel& m, SectionWorkspace& ws);
void Calculate_Slice_Areas(AnalysisModel& m, SectionWorkspace& ws);

// Outline, rotation, extents, slices and component areas of the prepared workspace.
void Slice_Section(AnalysisModel& m, SectionWorkspace& ws);

} // namespace zarno
