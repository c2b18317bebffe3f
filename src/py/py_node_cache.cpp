#include "py/py_node_cache.h"

namespace zarno {

namespace {

// The deflection enters a curve only through the side of a slope it picks.
bool Same_Slope_Side(double theta_a, double y_a, double theta_b, double y_b) {
    return Same_Bits(theta_a, theta_b) && (theta_a == 0.0 || Same_Bits(y_a, y_b));
}

} // namespace

void PyNodeCache::Clear() {
    nodes.assign(nodes.size(), PyNodeEntry{});
    x_eq.fill(XEqMemos{});
}

bool Same_Input(const SoftClayInput& a, const SoftClayInput& b) {
    return Same_Bits(a.x, b.x) && Same_Bits(a.b, b.b) && Same_Bits(a.c, b.c) &&
           Same_Bits(a.gamma, b.gamma) && Same_Bits(a.eps50, b.eps50) && Same_Bits(a.J, b.J) &&
           Same_Slope_Side(a.theta, a.y_slope, b.theta, b.y_slope) && a.b_Cyclic == b.b_Cyclic;
}

bool Same_Input(const StiffClayFreeWaterInput& a, const StiffClayFreeWaterInput& b) {
    return Same_Bits(a.x, b.x) && Same_Bits(a.b, b.b) && Same_Bits(a.c, b.c) &&
           Same_Bits(a.ca, b.ca) && Same_Bits(a.gamma, b.gamma) && Same_Bits(a.eps50, b.eps50) &&
           Same_Bits(a.k, b.k) && Same_Slope_Side(a.theta, a.y_slope, b.theta, b.y_slope) &&
           a.b_Cyclic == b.b_Cyclic;
}

bool Same_Input(const StiffClayNoWaterInput& a, const StiffClayNoWaterInput& b) {
    return Same_Bits(a.x, b.x) && Same_Bits(a.b, b.b) && Same_Bits(a.c, b.c) &&
           Same_Bits(a.gamma, b.gamma) && Same_Bits(a.eps50, b.eps50) && Same_Bits(a.k, b.k) &&
           Same_Bits(a.N, b.N) && Same_Slope_Side(a.theta, a.y_slope, b.theta, b.y_slope) &&
           a.b_Cyclic == b.b_Cyclic && a.b_Initial_k == b.b_Initial_k;
}

bool Same_Input(const SandInput& a, const SandInput& b) {
    return Same_Bits(a.x, b.x) && Same_Bits(a.xt, b.xt) && Same_Bits(a.b, b.b) &&
           Same_Bits(a.gamma, b.gamma) && Same_Bits(a.phi, b.phi) && Same_Bits(a.k, b.k) &&
           Same_Slope_Side(a.theta, a.y_slope, b.theta, b.y_slope) && a.b_Cyclic == b.b_Cyclic &&
           a.b_Rock_Above == b.b_Rock_Above;
}

bool Same_Input(const XEqInput& a, const XEqInput& b) {
    const SandAngles& s = a.Angles;
    const SandAngles& t = b.Angles;
    return a.i_py_Type == b.i_py_Type && Same_Bits(a.F_above, b.F_above) && Same_Bits(a.b, b.b) &&
           Same_Bits(a.c, b.c) && Same_Bits(a.ca, b.ca) && Same_Bits(a.gamma, b.gamma) &&
           Same_Bits(a.J, b.J) && Same_Bits(s.phi, t.phi) && Same_Bits(s.alpha, t.alpha) &&
           Same_Bits(s.beta, t.beta) && Same_Bits(s.K0, t.K0) && Same_Bits(s.Ka, t.Ka) &&
           Same_Bits(s.Kp, t.Kp) && Same_Bits(a.Ka, b.Ka) && Same_Bits(a.xt, b.xt) &&
           a.b_Cyclic == b.b_Cyclic;
}

bool Same_Input(const SandAnglesInput& a, const SandAnglesInput& b) {
    return Same_Bits(a.phi, b.phi) && Same_Bits(a.K0, b.K0);
}

} // namespace zarno
