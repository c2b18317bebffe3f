#include "py/py_node_cache.h"

#include <algorithm>
#include <cstddef>

namespace zarno {

void PyNodeCache::Size_For_Nodes(int N) {
    const std::size_t size = static_cast<std::size_t>(std::max(N, 0)) + 1;
    if (nodes.size() != size) {
        nodes.resize(size);
    }
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

} // namespace zarno
