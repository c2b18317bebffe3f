#include "py/compute_x_eq.h"

#include "engine/analysis_model.h"
#include "profile/soil_profile.h"
#include "py/equivalent_depth.h"
#include "py/py_framework.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace zarno {

namespace {

// The equivalent depth is a search over the layer's resistance; with the same input it
// finds the same depth, so the layer's memos answer the passes that ask again.
XEqResult Memoized_X_Eq(XEqMemos& memos, std::uint64_t generation, const XEqInput& in) {
    if (memos.generation != generation) {
        // Kept from before the cache was last emptied.
        memos = XEqMemos{};
        memos.generation = generation;
    }
    for (const std::optional<XEqMemo>& memo : memos.memo) {
        if (memo && Same_Input(memo->in, in)) {
            return memo->out;
        }
    }
    const XEqResult r = X_Eq_For_Model(in);
    memos.memo[static_cast<std::size_t>(memos.next)] = XEqMemo{in, r};
    memos.next = 1 - memos.next;
    return r;
}

} // namespace

void Compute_X_Eq(AnalysisModel& m, int layer) {
    if (layer < 2 || layer > MAX_SOIL_LAYERS) {
        return;
    }
    PyState& py = m.Py;
    XEqInput in;
    in.i_py_Type = py_Model_Of_Layer(m, layer);
    in.F_above = X_Eq_Resistance_Above(std::span<double>(py.F_Layer),
                                       std::span<const double>(py.F_Layer_Saved), layer);
    in.b = py.b;
    in.c = py.c;
    in.ca = py.ca;
    // The equivalent depth belongs to the top of the layer, so the overburden it is found
    // under is the one at the top, whichever depth the layer's first station happens to
    // have; otherwise the answer would move with the grid.
    const double top = m.Layers[layer].XLayerTop;
    const double gamma_top = fn_Gamma_Avg(m, top);
    if (m.RunStatus > 0) {
        return;
    }
    in.gamma = gamma_top;
    in.J = py.J;
    in.Angles.phi = py.phi;
    in.Angles.alpha = py.alpha;
    in.Angles.beta = py.beta;
    in.Angles.K0 = py.K0;
    in.Angles.Ka = py.Ka;
    in.Angles.Kp = py.Kp;
    in.Ka = py.Ka;
    in.xt = top - m.Ground_Surface_Depth;
    in.b_Cyclic = m.b_Cyclic;
    const XEqResult r = Memoized_X_Eq(m.Py_Cache.x_eq[layer], m.Py_Cache.generation, in);
    switch (r.status) {
    case XEqResult::Computed:
        py.X_Eq[layer] = r.X_Eq;
        break;
    case XEqResult::Degenerate:
        py.X_Eq[layer] = m.Layers[layer].XLayerTop - m.Ground_Surface_Depth;
        break;
    case XEqResult::Not_Applicable:
        break;
    }
}

} // namespace zarno
