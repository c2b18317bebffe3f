#include "py/py_layer_driver.h"

#include "engine/analysis_model.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zarno {

namespace {

constexpr double HEAD_BELOW_GROUND = -9.999999747378752e-06;

} // namespace

std::optional<double> PyLayerModel::Whole_Layer_Resistance(const AnalysisModel&) const {
    return std::nullopt;
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
