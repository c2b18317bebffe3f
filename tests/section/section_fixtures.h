// Small hand-built sections for the section analysis tests (US customary: kips, in, ksi).
#pragma once

#include "engine/analysis_model.h"
#include "section/moment_curvature.h"
#include "section/section_workspace.h"

#include <memory>

namespace zarno::test {

inline std::unique_ptr<AnalysisModel> Quiet_Model() {
    auto m = std::make_unique<AnalysisModel>();
    m->Report.Set_Fallback(nullptr);
    m->Messages.Set_Fallback(nullptr);
    return m;
}

inline std::unique_ptr<SectionWorkspace> Rectangle(double width, double depth) {
    auto ws = std::make_unique<SectionWorkspace>();
    ws->i_Geometry_Kind = GEOM_RECTANGLE;
    ws->Width = width;
    ws->Diameter = depth;
    ws->fc = 4.0;
    ws->fy = 60.0;
    ws->Es = 29000.0;
    return ws;
}

inline std::unique_ptr<SectionWorkspace> Shaft(double D) {
    auto ws = std::make_unique<SectionWorkspace>();
    ws->i_Geometry_Kind = GEOM_CIRCLE;
    ws->Diameter = D;
    ws->fc = 4.0;
    ws->fy = 60.0;
    ws->Es = 29000.0;
    return ws;
}

inline std::unique_ptr<SectionWorkspace> Pipe(double D, double t, double Fy, double E) {
    auto ws = std::make_unique<SectionWorkspace>();
    ws->i_Geometry_Kind = GEOM_PIPE;
    ws->i_Section_Type = 4;
    ws->i_Concrete_Model = 1;
    ws->Diameter = D;
    ws->Casing_Diameter = D;
    ws->Casing_Wall = t;
    ws->Casing_Fy = Fy;
    ws->Casing_E = E;
    return ws;
}

inline void Add_Bar(SectionWorkspace& ws, double x, double y, double d, double area) {
    const int b = ++ws.i_Num_Bars;
    ws.Bar_X0[b] = x;
    ws.Bar_Y0[b] = y;
    ws.Bar_Diameter[b] = d;
    ws.Bar_Area[b] = area;
}

} // namespace zarno::test
