// The node loop that every soil model shares. A model says what it computes at one point of
// its layer (the soil there and the curve's parameters, the ultimate resistance for the
// layer integral, the secant modulus at the current deflection, the printed curve); the
// driver walks the points KTOP..KBOT of the layer, keeps the layer's resistance integral,
// stores the springs and, with soil movements, the load the moving soil puts on the pile.
#pragma once

#include "engine/analysis_model.h"
#include "py/py_framework.h"
#include "py/py_node_cache.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <type_traits>
#include <variant>

namespace zarno {

// One point of a layer: node i in evaluate mode, requested depth i in print mode.
struct PyLayerPoint {
    int layer = 0;
    int i = 0;
    bool first = false; // the first point of the layer
    bool last = false;  // the last one
    PyNodeView v;
};

// What one point adds to the layer's integral of ultimate resistance: trapezoids between
// consecutive points over the vertical increment, in up to two strips (a model may integrate
// two resistances, or one only above a depth), and at the last point the resistance carried
// down to the layer bottom.
struct PyResistance {
    double strip[2] = {0.0, 0.0};
    bool integrate[2] = {true, false};
    std::optional<double> tail;
    // An amount this point adds as it stands (models that sum their own increments).
    double add = 0.0;
};

class PyLayerModel {
  public:
    virtual ~PyLayerModel() = default;

    // Looks up the soil at the point and builds the model's curve there. Returns false when
    // the layer must stop: a lookup or the model raised an error (RunStatus is set).
    virtual bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) = 0;

    // Print mode: the curve at the requested depth, to the report and the plot file.
    virtual void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) = 0;

    // Evaluate mode: the secant modulus at the node's current deflection, multipliers
    // applied. Returns false when the model raised a runtime error (not a number).
    virtual bool Secant_Modulus(AnalysisModel& m, const PyLayerPoint& p, double& Es) = 0;

    // Whether the model builds the layer's resistance integral, which the layers below
    // measure their equivalent depth against.
    virtual bool Integrates_Resistance() const { return false; }
    // The ultimate resistance at the point, integrated in one strip and carried down to the
    // layer bottom from the last point.
    virtual double Ultimate_Resistance() const { return 0.0; }
    // This point's share of the integral; by default the ultimate resistance as above.
    virtual PyResistance Resistance(const AnalysisModel&, const PyLayerPoint&) const {
        PyResistance r;
        r.strip[0] = Ultimate_Resistance();
        r.tail = r.strip[0];
        return r;
    }
    // Area of one trapezoid between the previous point's resistance and this one's; the
    // driver hands over cos(batter), which is the same for every point of the pile.
    virtual double Trapezoid(const AnalysisModel& m, double cos_batter, double previous,
                             double now) const {
        // The resistance is integrated over the vertical depth, the depth the lower layers'
        // equivalent depth is measured in.
        return (previous + now) * (m.Increment_Length * cos_batter) / 2.0;
    }
    // With the pile head below the ground surface, the integral of layer 1 as a whole (the
    // layer stands for all the soil above the head); none where the model keeps its sum.
    virtual std::optional<double> Whole_Layer_Resistance(const AnalysisModel& m) const;
    // Liquefied sand keeps a copy of its integral that the equivalent depth reads.
    virtual bool Keeps_Saved_Integral() const { return false; }

    // Whether, with soil movements, the moving soil loads the pile through this model's
    // springs (rock and the in-situ test models take the soil to stay in place).
    virtual bool Soil_Movement_Loads_Pile() const { return true; }
};

// The point at index i: node i in evaluate mode, requested depth i in print mode.
inline PyNodeView py_Node_View(const AnalysisModel& m, int i) {
    PyNodeView v;
    if (m.Py.b_PrintPY) {
        v.X = m.Py.Print_X[i];
        v.Xv = m.Py.Print_Xv[i];
        v.y = m.Py.Print_y[i];
        v.ysm = m.Py.Print_ysm[i];
    } else {
        const PileNode& node = m.Nodes[i];
        v.X = node.X;
        v.Xv = node.Xv;
        v.y = m.Lateral.Solution.y(i);
        v.ysm = node.Soil_Movement;
    }
    return v;
}

// Whether an entry was filled at this very point: same depths, same pile length and ground.
inline bool py_Same_Point(const AnalysisModel& m, const PyLayerPoint& p, const PyNodeSoil& s) {
    return Same_Bits(s.X, p.v.X) && Same_Bits(s.Xv, p.v.Xv) &&
           Same_Bits(s.Pile_Length, m.Pile_Length) &&
           Same_Bits(s.Ground_Surface_Depth, m.Ground_Surface_Depth);
}

// The entry of a node whose layer does not hold it at this point: emptied and given to the
// layer, or none where another layer holds it at this very point.
PyNodeEntry* py_Claim_Node_Entry(AnalysisModel& m, const PyLayerPoint& p, PyNodeEntry& e);

// The cache entry of an evaluated node in its own layer, emptied when the point differs
// from the one it was filled for; none in print mode, or where another layer owns the node
// (a boundary station blended with its neighbour's spring). Asked at every node of every
// pass, so the usual case (the layer's own entry at the same point) is decided here.
//
// An entry outlives the stations: the next load case (or the grid rebuilt after a length
// sweep) finds it again. What it holds is still what a lookup would give, because
// everything it was computed from is checked before it is used:
// - the point: the owning layer, X (width and multipliers are looked up along the pile),
//   Xv (soil values by vertical depth), the pile length (the tip rules of the strength
//   lookups) and the ground surface depth (the depth below it, layer 1's model depth), here;
// - the tables every lookup reads (the layers with their node ranges and k values, the soil
//   profile, the pile property and group tables, the unit system and default J): at the
//   start of every pass, which empties the cache when one of them differs
//   (Check_Cache_Tables); a new grid of another pitch changes the layers' node ranges too;
// - what a pass or a load case sets (loading, cycles, slope, the deflection's side of it,
//   the equivalent depth and the rock above): in each memo's input, at every use.
// Anything a curve depends on and none of these covers must empty the cache.
inline PyNodeEntry* py_Node_Cache_Entry(AnalysisModel& m, const PyLayerPoint& p) {
    PyNodeCache& cache = m.Py_Cache;
    if (m.Py.b_PrintPY || p.i < 1 || static_cast<std::size_t>(p.i) >= cache.nodes.size()) {
        return nullptr;
    }
    PyNodeEntry& e = cache.nodes[static_cast<std::size_t>(p.i)];
    if (e.soil.generation == cache.generation && e.soil.layer == p.layer &&
        py_Same_Point(m, p, e.soil)) {
        return &e;
    }
    return py_Claim_Node_Entry(m, p, e);
}

// The soil values already looked up at the entry's node, or none.
inline const PySoilValues* py_Known_Soil(const PyNodeEntry* e) {
    return e != nullptr && e->soil.filled ? &e->soil.values : nullptr;
}

// Keeps the values just looked up at the entry's node (no entry: nothing to keep).
inline void py_Keep_Soil(PyNodeEntry* e, const PySoilValues& v) {
    if (e != nullptr && !e->soil.filled) {
        e->soil.values = v;
        e->soil.filled = true;
    }
}

// The curve a model kept in the entry at an earlier pass, or none. What a kept curve was
// computed from splits in two:
// - what the entry fixes: the soil values looked up at the point (kept with the curve, in the
//   same call, and never rewritten while the entry lives), the defaults taken from them and
//   the unit system, and the layer's own values (k top and bottom, its depths), which are
//   among the tables every pass compares before it uses an entry;
// - what a pass or a load case sets: the depth the curve is measured at (the equivalent
//   depth), the loading, the slope and the deflection's side of it, and for a stiff clay
//   below the top layer its running average strength.
// A model that finds its kept curve compares only the second kind and takes the first from
// the kept input; when those differ it takes its full path, which compares everything.
template <typename Memo> const Memo* py_Kept_Curve(PyNodeEntry* e) {
    return e != nullptr && e->soil.filled ? std::get_if<Memo>(&e->curve) : nullptr;
}

// A model's curve through the entry's memo, or computed directly without an entry.
template <typename Memo, typename Input, typename F>
auto py_Cached_Curve(PyNodeEntry* e, const Input& in, F f) {
    return e != nullptr ? Memoized<Memo>(e->curve, in, f) : f(in);
}

// The same, without a copy: computed directly into `own` without an
// entry. The reference stays valid while the model works at this point: nothing else
// writes the entry's curve until the layer moves on.
template <typename Memo, typename Input, typename F, typename Out>
const Out& py_Cached_Curve(PyNodeEntry* e, const Input& in, F f, Out& own) {
    if (e != nullptr) {
        return Memoized<Memo>(e->curve, in, f);
    }
    own = f(in);
    return own;
}

// The depth a curve is measured at (py_Model_Depth), through the entry when it has one. The
// entry already holds the node's layer, depth and ground surface.
inline double py_Node_Model_Depth(const AnalysisModel& m, PyNodeEntry* e, int layer, double Xv) {
    if (e == nullptr) {
        return py_Model_Depth(m, layer, Xv);
    }
    const ModelDepthInput in{.X_Eq = m.Py.X_Eq[layer], .i_RockLayersAbove = m.Py.i_RockLayersAbove};
    return Memoized<ModelDepthMemo>(
        e->model_depth, in, [&](const ModelDepthInput&) { return py_Model_Depth(m, layer, Xv); });
}

// Deflection entering a curve: relative to the soil movement, scaled by the y-multiplier.
inline double py_Scaled_Deflection(const PyNodeView& v, double ym) {
    return std::fabs(v.y - v.ysm) / ym;
}

// A pile head below the ground surface: layer 1 then stands for all the soil above it.
bool py_Head_Below_Ground(const AnalysisModel& m);

// Thickness of a layer.
double py_Layer_Thickness(const AnalysisModel& m, int layer);

// The equivalent depth is computed at the first node of a lower layer, in evaluate mode,
// when no rock-like layer lies above.
inline bool py_Needs_X_Eq(const AnalysisModel& m, const PyLayerPoint& p) {
    return p.first && !m.Py.b_PrintPY && p.layer > 1 && m.Py.i_RockLayersAbove == 0;
}

// What stays fixed over one run of the layer: the model's answers to its constant questions
// and the geometry of the integral, taken once instead of at every point.
struct PyLayerRun {
    bool integrates = false;
    bool keeps_saved = false;
    bool whole_layer = false; // layer 1 with the pile head below the ground surface
    double cos_batter = 1.0;
};

// Adds one point's share to the layer integral; previous holds each strip's value at the
// point before.
template <typename Model>
void py_Integrate_Point(AnalysisModel& m, const Model& model, const PyLayerRun& run,
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

// Runs the model over the points KTOP..KBOT of the layer (m.Py), in evaluate or print mode.
// A template over the model class: every model is final, so its calls here are direct and
// the small ones inline (the loop runs at every station of every pass).
template <typename Model> void Run_py_Layer(AnalysisModel& m, int layer, Model& model) {
    static_assert(std::is_base_of_v<PyLayerModel, Model> && std::is_final_v<Model>);
    PyState& py = m.Py;
    const bool print = py.b_PrintPY;
    PyLayerRun run;
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
            py_Integrate_Point(m, model, run, p, previous);
        }
        double Es = 0.0;
        if (!model.Secant_Modulus(m, p, Es)) {
            return;
        }
        m.Nodes[i].Es = py_Limit_Secant_Modulus(m, layer, i, Es);
        if (soil_loads_pile) {
            py_Set_Soil_Movement_Load(m, i);
        }
    }
}

} // namespace zarno
