#include "profile/pile_grid.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "profile/section_props.h"
#include "profile/soil_layer_models.h"
#include "profile/soil_profile.h"
#include "report/fortran_format.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <fmt/format.h>

namespace zarno {

namespace {

int Clamp_Nodes(int N) {
    return std::clamp(N, 0, MAX_NODES);
}

// Layer assignment shared by the pile grid and the printed p-y depths: the first and last
// of the points 1..N (vertical depths depth(i), increasing) that every layer holds. Layer
// membership is always decided by the vertical depth below the pile head, as the soil
// properties are, so that a battered pile's station and a printed curve at the same vertical
// depth see the same layer.
template <typename Depth>
LayerPointRanges Layer_Ranges(const RunInput& in, int N, Depth depth, TextFile& report,
                              int& stranded) {
    stranded = 0;
    LayerPointRanges ranges{};
    N = Clamp_Nodes(N);
    const int num_layers = std::clamp(in.i_Num_Layers, 0, MAX_SOIL_LAYERS);
    if (N < 1 || num_layers < 1) {
        return ranges;
    }

    int scanned = 0;
    for (int k = 1; k <= num_layers; ++k) {
        scanned = k;
        const SoilLayer& layer = in.Layers[k];
        int a = 0;
        for (int i = 1; i <= N; ++i) {
            // A node within 1e-6 of a boundary lies on it, as the soil lookups see it, and
            // belongs to the layer below whichever way the depth was rounded.
            if (layer.XLayerTop <= depth(i) + 1e-6) {
                a = i;
                break;
            }
        }
        if (a == 0) {
            break; // the layer starts below the pile tip, and so do all below it
        }
        if (layer.XLayerBottom >= depth(a)) {
            ranges[k].first = a;
            if (layer.XLayerBottom >= depth(N)) {
                break; // this layer reaches the last node
            }
        }
    }
    if (ranges[scanned].first != 0) {
        ranges[scanned].last = N;
    }
    for (int j = 1; j < scanned; ++j) {
        if (ranges[j].first == 0) {
            continue;
        }
        int next = 0;
        for (int k = j + 1; k <= scanned; ++k) {
            if (ranges[k].first != 0) {
                next = k;
                break;
            }
        }
        if (next == 0) {
            TextFile& r = report;
            r.Write_Line("ERROR 2 in computing i_BottomNodeInLayer");
            r.Write_Line("Num_Nodes_To_Assign = " + Format_I(N, 0));
            r.Write_Line("ilayer = " + Format_I(j, 0));
            r.Write_Line("klayer = " + Format_I(scanned + 1, 0));
            r.Write_Line("jlayer = " + Format_I(scanned, 0));
            r.Write_Line("i_Number_of_Layers = " + Format_I(num_layers, 0));
            // No lower layer holds a node, so this layer's nodes run to the tip: the
            // lookups then stop the run at the first node below the soil data instead
            // of leaving those nodes without any p-y curve.
            ranges[j].last = N;
            stranded = stranded == 0 ? j : stranded;
            continue;
        }
        ranges[j].last = ranges[next].first - 1;
    }
    return ranges;
}

} // namespace

void Make_Layers_Contiguous(RunInput& in) {
    if (in.i_Num_Layers < 1) {
        return;
    }
    in.Layers[1].XLayerTop = in.Ground_Surface_Depth;
    for (int i = 2; i <= std::min(in.i_Num_Layers, MAX_SOIL_LAYERS); ++i) {
        in.Layers[i].XLayerTop = in.Layers[i - 1].XLayerBottom;
        // The property profiles follow the layer: its top values now stand at its new
        // top, so a lookup never meets a profile point that no layer boundary explains
        // (two layers given with one top would otherwise look like an interface at the
        // ground surface).
        in.Profile.Gamma_Depth[2 * i - 1] = in.Layers[i].XLayerTop;
        in.Profile.Strength_Depth[2 * i - 1] = in.Layers[i].XLayerTop;
    }
}

void Build_Node_Grid(AnalysisModel& m) {
    if (!Check_Soil_Layer_Models(m)) {
        return;
    }
    Build_Node_Grid(m, m.Pile_Length);
    if (m.RunStatus > 0) {
        return;
    }
    const int N = m.i_Num_Nodes;
    Assign_Sections_To_Nodes(m.Run_Input(), m.Sections, m.Grid(), N);
    Record_Stranded_Layer(m, Assign_Layers_To_Nodes(m.Run_Input(), m.Grid(), m.Report, N), false);
    if (m.i_Num_Soil_Movements >= 2) {
        Interpolate_Soil_Movement(m.Run_Input(), m.Grid(), N);
    }
}

void Build_Node_Grid(AnalysisModel& m, double L) {
    const int n = m.i_Pile_Increments;
    if (n == 0) {
        // No pile was described (the input had no solution options): nothing to divide.
        m.i_Num_Nodes = 0;
        return;
    }
    if (n < 1 || n > MAX_PILE_INCREMENTS || !(L > 0.0)) {
        // The reader admits 40 to 500 increments and a positive length; anything else
        // cannot be gridded.
        if (Fail_Run(m, MessageId::InternalError,
                     "the pile cannot be divided into " + Format_I(n, 0) +
                         " increments over a length of " + Format_ES(L, 12, 4)) > 0) {
            return;
        }
    }
    Build_Stations(m.Run_Input(), m.Sections, m.Grid(), L);
    // The p-y cache keeps its entries: each is keyed by its point and checked against the
    // tables at every pass, so stations at new depths or over changed tables miss while the
    // next load case on the same stations finds its curves.
    m.Py_Cache.Size_For_Nodes(m.i_Num_Nodes);
}

void Build_Stations(const RunInput& in, const SectionTable& sections, StationGrid& grid, double L) {
    Build_Pile_Property_Table(in, sections, grid);
    const int n = std::clamp(in.i_Pile_Increments, 1, MAX_PILE_INCREMENTS);
    const double h = L / n;
    const int N = n + 1;
    const double cos_batter = std::cos(in.Pile_Batter);
    grid.Increment_Length = h;
    grid.i_Num_Nodes = N;
    grid.Grid_Pile_Length = L;
    for (int i = 1; i <= N; ++i) {
        PileNode& node = grid.Nodes[i];
        node.X = (i - 1) * h;
        node.Xv = node.X * cos_batter;
    }
    if (grid.Nodes[N].X != L) {
        grid.Nodes[N].X = L;
        grid.Nodes[N].Xv = L * cos_batter;
    }
    for (int i = 1; i <= N; ++i) {
        PileNode& node = grid.Nodes[i];
        const PileProps props = Pile_Props_at_DepthX(grid, node.X);
        node.EI = props.EI;
        node.b = props.b;
        node.Dist_Load = fn_DistLoad_Avg(in, grid, node.X);
    }
}

void Assign_Sections_To_Nodes(const RunInput& in, const SectionTable& sections, StationGrid& grid,
                              int N) {
    auto& nodes = grid.Nodes;
    const int ns = std::clamp(in.i_Num_Sections, 0, MAX_SECTIONS);
    if (ns <= 1) {
        for (int i = 1; i <= NODE_TABLE_SIZE; ++i) {
            nodes[i].i_Section = ns;
        }
        return;
    }
    N = Clamp_Nodes(N);
    if (N >= 1) {
        nodes[1].i_Section = 1;
    }
    for (int i = 2; i <= N; ++i) {
        const double X = nodes[i].X;
        int found = 0;
        for (int k = 1; k <= ns; ++k) {
            const PileSection& s = sections[k];
            if (s.XTop < X && X <= s.XBottom) {
                found = k; // a later match replaces an earlier one
            }
        }
        if (found == 0) {
            // Outside every section's range (a gap, or below the last section): the
            // nearest section, the upper one on a tie.
            double best = 0.0;
            for (int k = 1; k <= ns; ++k) {
                const PileSection& s = sections[k];
                if (s.i_Section_Type == SECTION_MICROPILE) {
                    continue;
                }
                const double d = X <= s.XTop ? s.XTop - X : std::max(X - s.XBottom, 0.0);
                if (found == 0 || d < best) {
                    found = k;
                    best = d;
                }
            }
        }
        nodes[i].i_Section = found;
    }
}

int Assign_Layers_To_Nodes(RunInput& in, StationGrid& grid, TextFile& report, int N) {
    int stranded = 0;
    const LayerPointRanges ranges = Layer_Ranges(
        in, N, [&](int i) { return grid.Nodes[i].Xv; }, report, stranded);
    for (int k = 1; k <= MAX_SOIL_LAYERS; ++k) {
        in.Layers[k].KTOP = ranges[k].first;
        in.Layers[k].i_BottomNodeInLayer = ranges[k].last;
    }
    for (int i = 1; i <= NODE_TABLE_SIZE; ++i) {
        grid.Nodes[i].i_Layer = 0;
    }
    N = Clamp_Nodes(N);
    for (int k = 1; k <= std::clamp(in.i_Num_Layers, 0, MAX_SOIL_LAYERS); ++k) {
        if (ranges[k].first == 0) {
            continue;
        }
        for (int i = ranges[k].first; i <= std::min(ranges[k].last, N); ++i) {
            grid.Nodes[i].i_Layer = k;
        }
    }
    return stranded;
}

int Assign_Layers_To_Printed_Depths(const RunInput& in, PyState& py, TextFile& report, int N) {
    N = std::clamp(N, 0, MAX_PRINT_POINTS);
    int stranded = 0;
    py.Print_Layers = Layer_Ranges(
        in, N, [&](int i) { return py.Print_Xv[static_cast<std::size_t>(i)]; }, report, stranded);
    return stranded;
}

void Record_Stranded_Layer(AnalysisModel& m, int layer, bool printed_depths) {
    if (layer == 0) {
        return;
    }
    Record_Warning(m, WARNING_LAYER_NODE_RANGE,
                   {fmt::format("SOIL LAYERS, layer {}: no lower layer holds {}, so the {} of "
                                "layer {} were taken down to the last one.",
                                layer, printed_depths ? "a printed p-y curve depth" : "a station",
                                printed_depths ? "printed depths" : "stations", layer),
                    "A layer below it is thinner than the pile increment; combine it with a "
                    "neighbouring layer or increase the number of pile increments."});
}

void Interpolate_Soil_Movement(const RunInput& in, StationGrid& grid, int N) {
    N = Clamp_Nodes(N);
    const int n = std::clamp(in.i_Num_Soil_Movements, 0, MAX_SOIL_MOVEMENT_ROWS);
    const auto& rows = in.Soil_Movement;
    int pair = 2; // upper row of the pair found for the previous node
    for (int i = 1; i <= N; ++i) {
        PileNode& node = grid.Nodes[i];
        node.Soil_Movement = 0.0;
        const double d = node.X;
        if (n < 2 || d < rows[1].Depth || d > rows[n].Depth) {
            continue;
        }
        int hi = 0;
        for (int pass = 0; pass < 2 && hi == 0; ++pass) {
            for (int k = (pass == 0 ? pair : 2); k <= n; ++k) {
                if (rows[k - 1].Depth <= d && d <= rows[k].Depth) {
                    hi = k;
                    break;
                }
            }
        }
        if (hi == 0) {
            continue; // depths out of order: no pair holds the node
        }
        pair = hi;
        const DepthValue& lo_row = rows[hi - 1];
        const DepthValue& hi_row = rows[hi];
        const double span = hi_row.Depth - lo_row.Depth;
        if (std::fabs(span) < 1e-5) {
            node.Soil_Movement = (lo_row.Value + hi_row.Value) / 2.0;
        } else {
            node.Soil_Movement =
                lo_row.Value + (hi_row.Value - lo_row.Value) * (d - lo_row.Depth) / span;
        }
    }
}

bool Is_Node_Above_Ground(const RunInput& in, const StationGrid& grid, int i) {
    return grid.Nodes[i].Xv < in.Ground_Surface_Depth;
}

} // namespace zarno
