// What the p-y pass keeps from one pass to the next. Each pass of the iteration rebuilds
// every node's curve, yet nearly all of a curve is fixed by the node's depth, its layer and
// the pile's width: only the deflection moves. The cache keeps, per node, the soil values
// looked up there and the last curve parameters with the input they were computed from,
// and, per layer, the last equivalent depth with its input.
//
// A hit needs the exact bits of the input it was computed from, so a cached value is
// always the one the computation would give again; a changed grid, pile length, loading
// or equivalent depth simply misses. The cache lives for the run: the load cases that
// rebuild the same stations over the same soil find their curves again, and a pass empties
// it only when a table a lookup reads is no longer the one the entries were filled from.
#pragma once

#include "engine/capacities.h"
#include "engine/model_entities.h"
#include "engine/pile_node.h"
#include "py/equivalent_depth.h"
#include "py/sand.h"
#include "py/soft_clay.h"
#include "py/stiff_clay_free_water.h"
#include "py/stiff_clay_no_water.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <variant>
#include <vector>

namespace zarno {

// The soil and pile values a model looks up at one node of its layer; each model fills
// the ones it uses.
struct PySoilValues {
    double b = 0.0;
    double c = 0.0;
    bool at_interface = false; // c fell on a layer interface of the strength table
    // The warning a clay's strength here records at every pass (outside the range of its
    // criteria; none on an interface), 0 for none.
    int strength_warning = 0;
    double c_avg = 0.0;
    double gamma = 0.0;
    double eps50 = 0.0;
    double J = 0.0;
    double phi_deg = 0.0;
    double pm = 1.0;
    double ym = 1.0;
};

// Where the values were looked up, and whether they have been.
struct PyNodeSoil {
    // The emptying of the cache the entry was filled after; an entry of an older one is
    // empty, whatever it still holds.
    std::uint64_t generation = 0;
    int layer = 0; // the layer that owns the entry, 0 for none
    double X = 0.0;
    double Xv = 0.0;
    double Pile_Length = 0.0;
    double Ground_Surface_Depth = 0.0;
    bool filled = false;
    PySoilValues values;
};

// A pure function's last input and the result it gave.
template <typename Input, typename Output> struct PyMemo {
    Input in;
    Output out;
};

using SoftClayMemo = PyMemo<SoftClayInput, SoftClayParams>;
using StiffClayFreeWaterMemo = PyMemo<StiffClayFreeWaterInput, StiffClayFreeWaterParams>;
using StiffClayNoWaterMemo = PyMemo<StiffClayNoWaterInput, StiffClayNoWaterParams>;
using ReeseSandMemo = PyMemo<SandInput, std::optional<ReeseSandParams>>;
using ApiSandMemo = PyMemo<SandInput, std::optional<ApiSandParams>>;
using XEqMemo = PyMemo<XEqInput, XEqResult>;

// The friction angle (radians) and at-rest coefficient the sand angles come from.
struct SandAnglesInput {
    double phi = 0.0;
    double K0 = 0.0;
};
using SandAnglesMemo = PyMemo<SandAnglesInput, SandAngles>;

// The layer values the stiff clays' subgrade modulus at a node comes from (the node's depth
// and strength are the entry's own), and the loading that picks the default.
struct ClayKInput {
    double k_Top = 0.0;
    double k_Bottom = 0.0; // after a bottom value of 0 or less took the top one
    double XLayerTop = 0.0;
    double XLayerBottom = 0.0;
    bool b_Cyclic = false;
};
using ClayKMemo = PyMemo<ClayKInput, double>;

// The state of the pass the depth a curve is measured at depends on; the layer tops and
// bottoms it also reads are fixed by the tables the cache was filled from, which no pass
// writes.
struct ModelDepthInput {
    double X_Eq = 0.0; // the layer's equivalent depth
    int i_RockLayersAbove = 0;
};
using ModelDepthMemo = PyMemo<ModelDepthInput, double>;

struct PyNodeEntry {
    PyNodeSoil soil;
    std::variant<std::monostate, SoftClayMemo, StiffClayFreeWaterMemo, StiffClayNoWaterMemo,
                 ReeseSandMemo, ApiSandMemo>
        curve;
    // The API sand layer computes its curve twice when it falls back on the default k.
    std::optional<ApiSandMemo> curve_default_k;
    // The sand models' wedge angles and earth pressure coefficients at the node (two
    // tangents, needed at every pass for the equivalent depth state).
    std::optional<SandAnglesMemo> sand_angles;
    // The stiff clays' subgrade modulus after its default.
    std::optional<ClayKMemo> clay_k;
    // The depth the curve is measured at (equivalent depth below the top layer).
    std::optional<ModelDepthMemo> model_depth;
};

// The tables every lookup reads. The passes compare them with the ones the cache was filled
// from, so a caller that edits the soil or the pile between passes gets fresh values.
struct PySoilTables {
    SoilProfile Profile{};
    PilePropertyTable Pile_Property_Table{};
    std::array<GroupEffectRow, MAX_GROUP_EFFECT_ROWS + 1> Group_Effect{};
    std::vector<SoilLayer> Layers; // the layers in use, from index 0
    int i_Num_Group_Effect_Rows = 0;
    int IUNITS = 0;
    double Default_J = 0.0;
};

// A lower layer's equivalent depth is asked for at its first node, and, where a boundary
// station is blended, once more at that station: two memos per layer serve both.
struct XEqMemos {
    std::uint64_t generation = 0; // as for a node's entry
    std::array<std::optional<XEqMemo>, 2> memo{};
    int next = 0; // the one a miss replaces
};

struct PyNodeCache {
    std::vector<PyNodeEntry> nodes; // indexed by node, sized by the grid
    std::array<XEqMemos, MAX_SOIL_LAYERS + 1> x_eq{};
    PySoilTables tables;
    // Counts the emptyings: an entry or memo is in use only when it carries the current one.
    // Starts above the 0 of a fresh entry, so nothing is in use before it is filled.
    std::uint64_t generation = 1;

    // Empties every entry and memo at once, keeping the size of the grid (a 64-bit count
    // does not wrap within any run).
    void Clear() { ++generation; }

    // Room for the entries of nodes 1 .. N; entries already there are kept, so the stations
    // of the next load case find the curves of this one.
    void Size_For_Nodes(int N);
};

// Two doubles with the same bits (so -0.0 and 0.0 differ, and NaN meets NaN). Compared
// through memcpy rather than std::bit_cast, which not every standard library used to build
// the engine offers.
inline bool Same_Bits(double a, double b) {
    std::uint64_t bits_a = 0;
    std::uint64_t bits_b = 0;
    std::memcpy(&bits_a, &a, sizeof a);
    std::memcpy(&bits_b, &b, sizeof b);
    return bits_a == bits_b;
}

// The deflection enters a curve only through the side of a slope it picks.
inline bool Same_Slope_Side(double theta_a, double y_a, double theta_b, double y_b) {
    return Same_Bits(theta_a, theta_b) && (theta_a == 0.0 || Same_Bits(y_a, y_b));
}

// Whether two inputs give the same curve. On level ground without batter (theta exactly
// 0) the deflection does not enter the parameters: it only picks the side of a slope.
// Asked at every node of every pass, so defined here where the passes can inline them.
inline bool Same_Input(const SoftClayInput& a, const SoftClayInput& b) {
    return Same_Bits(a.x, b.x) && Same_Bits(a.b, b.b) && Same_Bits(a.c, b.c) &&
           Same_Bits(a.gamma, b.gamma) && Same_Bits(a.eps50, b.eps50) && Same_Bits(a.J, b.J) &&
           Same_Slope_Side(a.theta, a.y_slope, b.theta, b.y_slope) && a.b_Cyclic == b.b_Cyclic;
}

inline bool Same_Input(const StiffClayFreeWaterInput& a, const StiffClayFreeWaterInput& b) {
    return Same_Bits(a.x, b.x) && Same_Bits(a.b, b.b) && Same_Bits(a.c, b.c) &&
           Same_Bits(a.ca, b.ca) && Same_Bits(a.gamma, b.gamma) && Same_Bits(a.eps50, b.eps50) &&
           Same_Bits(a.k, b.k) && Same_Slope_Side(a.theta, a.y_slope, b.theta, b.y_slope) &&
           a.b_Cyclic == b.b_Cyclic;
}

inline bool Same_Input(const StiffClayNoWaterInput& a, const StiffClayNoWaterInput& b) {
    return Same_Bits(a.x, b.x) && Same_Bits(a.b, b.b) && Same_Bits(a.c, b.c) &&
           Same_Bits(a.gamma, b.gamma) && Same_Bits(a.eps50, b.eps50) && Same_Bits(a.k, b.k) &&
           Same_Bits(a.N, b.N) && Same_Slope_Side(a.theta, a.y_slope, b.theta, b.y_slope) &&
           a.b_Cyclic == b.b_Cyclic && a.b_Initial_k == b.b_Initial_k;
}

inline bool Same_Input(const SandInput& a, const SandInput& b) {
    return Same_Bits(a.x, b.x) && Same_Bits(a.xt, b.xt) && Same_Bits(a.b, b.b) &&
           Same_Bits(a.gamma, b.gamma) && Same_Bits(a.phi, b.phi) && Same_Bits(a.k, b.k) &&
           Same_Slope_Side(a.theta, a.y_slope, b.theta, b.y_slope) && a.b_Cyclic == b.b_Cyclic &&
           a.b_Rock_Above == b.b_Rock_Above;
}

inline bool Same_Input(const SandAnglesInput& a, const SandAnglesInput& b) {
    return Same_Bits(a.phi, b.phi) && Same_Bits(a.K0, b.K0);
}

inline bool Same_Input(const ClayKInput& a, const ClayKInput& b) {
    return Same_Bits(a.k_Top, b.k_Top) && Same_Bits(a.k_Bottom, b.k_Bottom) &&
           Same_Bits(a.XLayerTop, b.XLayerTop) && Same_Bits(a.XLayerBottom, b.XLayerBottom) &&
           a.b_Cyclic == b.b_Cyclic;
}

inline bool Same_Input(const ModelDepthInput& a, const ModelDepthInput& b) {
    return Same_Bits(a.X_Eq, b.X_Eq) && a.i_RockLayersAbove == b.i_RockLayersAbove;
}

bool Same_Input(const XEqInput& a, const XEqInput& b);

// f(in) through a memo slot: the stored result when the input is the same, otherwise f's
// result, which is then stored. The slot is an optional or a variant of memos.
template <typename Memo, typename Input, typename F>
const auto& Memoized(std::optional<Memo>& slot, const Input& in, F f) {
    if (!slot || !Same_Input(slot->in, in)) {
        slot = Memo{in, f(in)};
    }
    return slot->out;
}

template <typename Memo, typename Input, typename F, typename... Memos>
const auto& Memoized(std::variant<Memos...>& slot, const Input& in, F f) {
    const Memo* memo = std::get_if<Memo>(&slot);
    if (memo == nullptr || !Same_Input(memo->in, in)) {
        memo = &slot.template emplace<Memo>(Memo{in, f(in)});
    }
    return memo->out;
}

} // namespace zarno
