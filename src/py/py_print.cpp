#include "py/py_print.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/text_trim.h"
#include "profile/pile_grid.h"
#include "py/py_framework.h"
#include "py/py_report_lines.h"
#include "report/fortran_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace zarno {

namespace {

// Value of a node quantity at vertical depth Xv: linear between the first node at or below
// it and the node above; beyond the tip the tip value.
template <typename Get> double Interpolate_At_Depth(const AnalysisModel& m, double Xv, Get value) {
    const int N = m.i_Num_Nodes;
    if (N < 1) {
        return 0.0;
    }
    for (int i = 1; i <= N; ++i) {
        if (m.Nodes[i].Xv >= Xv) {
            if (i == 1) {
                return value(1);
            }
            const double x0 = m.Nodes[i - 1].Xv;
            const double x1 = m.Nodes[i].Xv;
            if (!(x1 > x0)) {
                return value(i);
            }
            return value(i - 1) + (value(i) - value(i - 1)) * (Xv - x0) / (x1 - x0);
        }
    }
    return value(N);
}

// A requested depth above the ground surface has no curve, and the run stops there.
int Depth_Above_Ground_Error(AnalysisModel& m, double depth) {
    return Fail_Run(m, MessageId::PrintDepthAboveGround, Format_F(depth, 9, 3),
                    Trim_Right(m.Labels.Length), Format_F(m.Ground_Surface_Depth, 9, 3),
                    m.Labels.Length);
}

} // namespace

void Report_py_Curves_At_Depths(AnalysisModel& m) {
    PyState& py = m.Py;
    auto& depth = m.Printed_py_Depth;
    int n = std::clamp(m.i_Num_Printed_py_Depths, 0, MAX_PRINTED_PY_DEPTHS);

    for (int i = 1; i <= n - 1; ++i) {
        for (int j = i + 1; j <= n; ++j) {
            if (depth[j] < depth[i]) {
                std::swap(depth[i], depth[j]);
            }
        }
    }
    if (n > 1) {
        int kept = 1;
        for (int i = 2; i <= n; ++i) {
            bool repeated = false;
            for (int k = 1; k <= kept; ++k) {
                if (depth[i] == depth[k]) {
                    repeated = true;
                    break;
                }
            }
            if (!repeated) {
                depth[++kept] = depth[i];
            }
        }
        n = kept;
    }
    m.i_Num_Printed_py_Depths = n;

    m.Plot.Write_Line(Format_I(n, 5) + std::string(75, ' ') +
                      "Line 6 : number of output p-y curves");
    m.Messages.Write_Line("Computing p-y curves for output at user-specified depths.");
    m.Report.Write_Line(std::string(80, '-'));
    m.Report.Write_Line(std::string(20, ' ') + "p-y Curves Reported for Specified Depths");
    m.Report.Write_Line(std::string(80, '-'));

    // The ground surface is a vertical depth below the pile head, like every soil boundary.
    const double cos_batter = std::cos(m.Pile_Batter);
    if (n >= 1 && depth[1] * cos_batter < m.Ground_Surface_Depth) {
        // The run stops; the plot file still gets the curve's record, without points.
        const int status = Depth_Above_Ground_Error(m, depth[1]);
        m.Plot.Write_Line(Format_ES(depth[1], 15, 7) + Format_I(0, 5) + std::string(60, ' ') +
                          "Line 7:  p-y curve depth, no. p-y points");
        if (status > 0) {
            return;
        }
    }

    // The requested depths stand in for the nodes: the soil is looked up at their vertical
    // depth and the sloping-ground tests use the deflection of the solved case there.
    py.i_Num_Print_Points = n;
    for (int k = 1; k <= n; ++k) {
        const double Xv = depth[k] * cos_batter;
        py.Print_X[k] = depth[k];
        py.Print_Xv[k] = Xv;
        py.Print_y[k] = Interpolate_At_Depth(m, Xv, [&](int i) { return m.Lateral.Solution.y(i); });
        py.Print_ysm[k] =
            Interpolate_At_Depth(m, Xv, [&](int i) { return m.Nodes[i].Soil_Movement; });
        py.Print_Curve_Number[k] = k;
    }
    // Each layer's share of the requested depths is the print pass's own: the layers' node
    // ranges and the nodes' layers stay those of the stations.
    Record_Stranded_Layer(m, Assign_Layers_To_Printed_Depths(m, py, m.Report, n), true);

    py.b_PrintPY = true;
    for (int layer = 1; layer <= std::min(m.i_Num_Layers, MAX_SOIL_LAYERS); ++layer) {
        const LayerPointRange& range = py.Print_Layers[layer];
        if (range.first == 0) {
            continue;
        }
        py.i_RockLayersAbove = py.b_BelowRock[layer] ? 1 : 0;
        py.KTOP = range.first;
        py.KBOT = range.last;
        Record_py_Layer(m, layer);
        Run_py_Layer_Model(m, layer);
        if (m.RunStatus > 0) {
            py.b_PrintPY = false;
            return;
        }
        m.Report.Blank_Lines(3);
    }
    py.b_PrintPY = false;
}

} // namespace zarno
