#include "py/loess.h"

#include "engine/analysis_model.h"

#include <cmath>

namespace zarno {

namespace {
constexpr double MAX_CYCLES = 10.100000381469727;
constexpr double PU_PER_QC = 0.4090000092983246;
constexpr double CYCLE_FACTOR = 0.23999999463558197;
constexpr double SHAPE_FACTOR = 0.10000000149011612;
} // namespace

bool Loess_Cycles_Invalid(double N) {
    return std::fabs(N) > MAX_CYCLES;
}

double Loess_yref(int units) {
    return units == USCS ? 0.11699999868869781 : 0.0029718000441789627;
}

LoessCurve Loess_Curve(double b, double X, double qc, double N, int units) {
    LoessCurve l;
    l.yref = Loess_yref(units);
    // Near the surface the cone resistance is reduced linearly: half at the top, three
    // quarters at X = b, the full value from X = 2·b on (continuous there).
    l.b_Depth_Adjusted = X < 2.0 * b;
    l.qc_adj = l.b_Depth_Adjusted ? qc * (X / (4.0 * b) + 0.5) : qc;
    l.p_u0 = PU_PER_QC * l.qc_adj;
    // ln|N| is only meaningful from one cycle on; fewer count as one.
    const double cycles = std::fabs(N) < 1.0 ? 1.0 : std::fabs(N);
    l.p_u = b * l.p_u0 / (1.0 + CYCLE_FACTOR * std::log(cycles));
    l.Ei = l.p_u / l.yref;
    return l;
}

double Loess_p(const LoessCurve& l, double y) {
    const double r = y / l.yref;
    return l.Ei * y / (1.0 + r * (1.0 + SHAPE_FACTOR * std::exp(-r)));
}

double Loess_Es(const LoessCurve& l, double y, double pm, double ym) {
    if (y > 0.0) {
        return (pm / ym) * (Loess_p(l, y) / y);
    }
    return (pm / ym) * l.Ei;
}

PyPrintDeflections Loess_Print_y(const LoessCurve& l) {
    static constexpr double kMultiple[PY_PRINT_POINTS] = {0.0,  0.25, 0.5,  0.75, 1.0, 1.5,
                                                          2.0,  3.0,  4.0,  6.0,  8.0, 12.0,
                                                          16.0, 23.0, 30.0, 40.0, 50.0};
    PyPrintDeflections y{};
    for (int j = 1; j <= PY_PRINT_POINTS; ++j) {
        y[j] = l.yref * kMultiple[j - 1];
    }
    return y;
}

} // namespace zarno
