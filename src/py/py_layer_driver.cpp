#include "py/py_layer_driver.h"

#include "engine/analysis_model.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zarno {

namespace {

constexpr double HEAD_BELOW_GROUND = -9.999999747378752e-06;

// What stays fixed over one run of the layer: the model's answers to its constant questions
// and the geometry of the integral, taken once instead of at every point.
struct LayerRun {
    bool integrates = false;
    bool keeps_saved = false;
    bool whole_layer = false; // layer 1 with the pile head below the ground surface
    double cos_batter = 1.0;
};

// Adds one point's share to the layer integral; previous holds each strip's value at the
// point before.
void Integrate_Point(AnalysisModel& m, const PyLayerModel& model, const LayerRun& run,
                     const PyLayerPoint& p, double (&previous)[2]) {
    double& F = m.Py.F_Layer[p.layer];
    const PyResistance r = model.Resistance(m, p);
    if (!p.first) {
        for (int s = 0; s < 2; ++s) {
            if (r.integrate[s]) {
                F += model.Trapezoid(m, run.cos_batter, previous[s], r.strip[s]);
            }
        }
    }
    F += r.add;
    if (p.last && r.tail) {
        // Down to the layer bottom, not a whole increment past it: the layer below starts
        // its equivalent depth exactly there.
        F += (m.Layers[p.layer].XLayerBottom - p.v.Xv) * *r.tail;
    }
    if (run.whole_layer) {
        if (const std::optional<double> whole = model.Whole_Layer_Resistance(m)) {
            F = *whole;
        }
    }
    previous[0] = r.strip[0];
    previous[1] = r.strip[1];
    if (run.keeps_saved) {
        m.Py.F_Layer_Saved[p.layer] = F;
    }
}

} // namespace

PyResistance PyLayerModel::Resistance(const AnalysisModel&, const PyLayerPoint&) const {
    PyResistance r;
    r.strip[0] = Ultimate_Resistance();
    r.tail = r.strip[0];
    return r;
}

double PyLayerModel::Trapezoid(const AnalysisModel& m, double cos_batter, double previous,
                               double now) const {
    // The resistance is integrated over the vertical depth, the depth the lower layers'
    // equivalent depth is measured in.
    return (previous + now) * (m.Increment_Length * cos_batter) / 2.0;
}

std::optional<double> PyLayerModel::Whole_Layer_Resistance(const AnalysisModel&) const {
    return std::nullopt;
}

void Run_py_Layer(AnalysisModel& m, int layer, PyLayerModel& model) {
    PyState& py = m.Py;
    const bool print = py.b_PrintPY;
    LayerRun run;
    run.integrates = !print && model.Integrates_Resistance();
    run.keeps_saved = model.Keeps_Saved_Integral();
    run.whole_layer = layer == 1 && py_Head_Below_Ground(m);
    run.cos_batter = std::cos(m.Pile_Batter);
    const bool soil_loads_pile = model.Soil_Movement_Loads_Pile() && m.i_Num_Soil_Movements >= 1;
    double previous[2] = {0.0, 0.0};
    for (int i = py.KTOP; i <= py.KBOT; ++i) {
        PyLayerPoint p;
        p.layer = layer;
        p.i = i;
        p.first = i == py.KTOP;
        p.last = i == py.KBOT;
        p.v = py_Node_View(m, i);
        if (p.first && run.integrates) {
            py.F_Layer[layer] = 0.0;
        }
        if (!model.Set_Up(m, p)) {
            return;
        }
        if (print) {
            model.Print_Curve(m, p);
            continue;
        }
        if (run.integrates) {
            Integrate_Point(m, model, run, p, previous);
        }
        double Es = 0.0;
        if (!model.Secant_Modulus(m, p, Es)) {
            return;
        }
        m.Nodes[i].Es = Es;
        if (soil_loads_pile) {
            py_Set_Soil_Movement_Load(m, i);
        }
    }
}

PyNodeEntry* py_Claim_Node_Entry(AnalysisModel& m, const PyLayerPoint& p, PyNodeEntry& e) {
    PyNodeSoil& s = e.soil;
    const std::uint64_t generation = m.Py_Cache.generation;
    if (s.generation == generation && py_Same_Point(m, p, s) && s.layer != 0) {
        return nullptr;
    }
    e = PyNodeEntry{};
    s.generation = generation;
    s.layer = p.layer;
    s.X = p.v.X;
    s.Xv = p.v.Xv;
    s.Pile_Length = m.Pile_Length;
    s.Ground_Surface_Depth = m.Ground_Surface_Depth;
    return &e;
}

bool py_Head_Below_Ground(const AnalysisModel& m) {
    return m.Ground_Surface_Depth < HEAD_BELOW_GROUND;
}

double py_Layer_Thickness(const AnalysisModel& m, int layer) {
    return m.Layers[layer].XLayerBottom - m.Layers[layer].XLayerTop;
}

} // namespace zarno
