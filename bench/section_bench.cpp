// One moment-curvature curve per section family: slicing, materials and up to 150
// neutral-axis searches.
#include "engine/analysis_model.h"
#include "section/moment_curvature.h"
#include "section/section_workspace.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

using namespace zarno;

std::unique_ptr<SectionWorkspace> Family(int family) {
    auto ws = std::make_unique<SectionWorkspace>();
    ws->fc = 4.0;
    ws->fy = 60.0;
    ws->Es = 29000.0;
    ws->Diameter = 36.0;
    ws->Width = 36.0;
    auto bar = [&](double x, double y, double a) {
        const int b = ++ws->i_Num_Bars;
        ws->Bar_X0[b] = x;
        ws->Bar_Y0[b] = y;
        ws->Bar_Diameter[b] = 1.128;
        ws->Bar_Area[b] = a;
    };
    switch (family) {
    case 0: // reinforced rectangle
        ws->i_Geometry_Kind = GEOM_RECTANGLE;
        ws->Width = 18.0;
        ws->Diameter = 24.0;
        for (int i = 0; i < 3; ++i) {
            bar(-6.0 + 6.0 * i, -9.5, 1.0);
            bar(-6.0 + 6.0 * i, 9.5, 1.0);
        }
        break;
    case 1: // drilled shaft with casing and filled core
        ws->i_Geometry_Kind = GEOM_CASED_CORE;
        ws->i_Core_Concrete_Model = 2;
        ws->Casing_Diameter = 36.0;
        ws->Casing_Wall = 0.5;
        ws->Casing_Fy = 36.0;
        ws->Casing_E = 29000.0;
        ws->b_Core_Present = true;
        ws->b_Core_Filled = true;
        ws->Core_Diameter = 12.0;
        ws->Core_Wall = 0.5;
        ws->Core_Fy = 36.0;
        ws->Core_E = 29000.0;
        for (int i = 0; i < 12; ++i) {
            const double a = i * 3.141592653589793 / 6.0;
            bar(13.9 * std::cos(a), 13.9 * std::sin(a), 1.0);
        }
        break;
    case 2: // steel pipe
        ws->i_Geometry_Kind = GEOM_PIPE;
        ws->i_Concrete_Model = 1;
        ws->Casing_Diameter = 36.0;
        ws->Casing_Wall = 0.5;
        ws->Casing_Fy = 36.0;
        ws->Casing_E = 29000.0;
        break;
    default: // square prestressed pile
        ws->i_Geometry_Kind = GEOM_POLYGON;
        ws->i_Section_Type = 7;
        ws->i_Reinf_Kind = REINF_PCI270;
        ws->fc = 6.0;
        ws->Width = ws->Diameter = 18.0;
        ws->Chamfer = 1.0;
        ws->fpu = 270.0;
        ws->Strand_E = 29000.0;
        ws->Prestress_Force = 264000.0;
        ws->b_Prestress_Reported = true;
        for (const double y : {-5.5, 5.5}) {
            for (const double x : {-5.5, -1.83, 1.83, 5.5}) {
                bar(x, y, 0.153);
            }
        }
        break;
    }
    ws->Thrust[1] = 100.0;
    ws->i_Num_Thrusts = 1;
    return ws;
}

void BM_Curve(benchmark::State& state) {
    auto m = std::make_unique<AnalysisModel>();
    m->Report.Set_Fallback(nullptr);
    auto ws = Family(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Initialize_EI_Vars(*m, *ws);
        ws->Curvature_Increment = fn_Initial_Curvature_Increment(USCS, ws->H);
        Compute_Thrust_Curve(*m, *ws, 1);
        benchmark::DoNotOptimize(ws->Mn[1]);
    }
}
BENCHMARK(BM_Curve)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

} // namespace
