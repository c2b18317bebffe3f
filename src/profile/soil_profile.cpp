#include "profile/soil_profile.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "report/fortran_format.h"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>
#include <string>
#include <string_view>
#include <vector>

namespace zarno {

namespace {

using Column = std::array<double, MAX_PROFILE_POINTS + 1>;

// Tables never report more points than they can hold.
int Strength_Points(const AnalysisModel& m) {
    return std::clamp(m.Profile.i_Num_Strength_Points, 0, MAX_PROFILE_POINTS);
}
int Gamma_Points(const AnalysisModel& m) {
    return std::clamp(m.Profile.i_Num_Gamma_Points, 0, MAX_PROFILE_POINTS);
}

double Interpolate(double x0, double v0, double x1, double v1, double x) {
    return v0 + (v1 - v0) * (x - x0) / (x1 - x0);
}

std::string ES12(double v) {
    return Format_ES(v, 12, 4);
}

// The errors of the profile's look-ups. A look-up returns a value, so its callers learn of
// the error from RunStatus, which they test after each look-up.
void Input_Error_5(AnalysisModel& m, double X, int n) {
    const double deepest = n >= 1 ? m.Profile.Strength_Depth[n] : 0.0;
    static_cast<void>(Fail_Run(m, MessageId::StrengthCurveTooShallow, ES12(X), m.Labels.Length,
                               Format_F(deepest, 10, 3)));
}

void Input_Error_60(AnalysisModel& m, double X) {
    static_cast<void>(Fail_Run(m, MessageId::StrengthDepthIncrementZero, Format_F(X, 10, 3)));
}

// Soil class of a layer model at an interface: 1 cohesive, 2 cohesionless, 3 rock,
// 4 user input, 5 elastic subgrade, 0 none of these. Cemented silt counts as cohesive
// when it has cohesion at the interface and as cohesionless otherwise.
int Interface_Soil_Class(int py_type, double c_at_interface) {
    switch (py_type) {
    case 1:  // SoftClay
    case 2:  // StfClyBW
    case 3:  // StfClyAW
    case 4:  // StfClyAK
    case 15: // SoftClyJ
    case 18: // PisaCowd (monopile stiff clay)
    case 20: // PisaBoth (monopile soft clay)
        return 1;
    case 19: // PisaDunk (monopile sand)
    case 5:  // Sand
    case 6:  // API Sand
    case 7:  // Liq Sand
    case 12: // KS Loess
        return 2;
    case 8:  // WeakRock
    case 9:  // Vuggy LS
    case 16: // MassRock
        return 3;
    case 14: // User p-y
        return 4;
    case 13: // Elast SG
        return 5;
    case 11: // Cem Silt
        return c_at_interface > 0.0 ? 1 : 2;
    default:
        return 0;
    }
}

// Strength of the soil at a layer interface: a weak layer next to a strong one takes the
// weak value (a granular layer has no strength to average with), two strengths of one
// kind are averaged, and rock next to clay leans towards the rock.
bool Interface_Strength(int above, int below, double a, double b, double& result) {
    const bool above_cr = above == 1 || above == 3;
    const bool above_weak = above == 2 || above == 4 || above == 5;
    const bool below_open = below == 2 || below == 4 || below == 5;
    if (above_cr && below_open) {
        result = a;
        return true;
    }
    if (above_weak && (below == 1 || below == 3)) {
        result = b;
        return true;
    }
    if (above == 1 && below == 1) {
        result = (a + b) / 2.0;
    } else if (above == 1 && below == 3) {
        result = (2.0 * a + b) / 2.0;
    } else if (above == 3 && below == 1) {
        result = (2.0 * b + a) / 2.0;
    } else if (above == 3 && below == 3) {
        result = (a + b) / 2.0;
    } else {
        return false;
    }
    return true;
}

// Shared body of fn_c and fn_HB_qu_at_DepthX (massive_rock selects the tip value and
// the wording of the diagnostic block).
StrengthAtX Strength_At_Depth(AnalysisModel& m, double X, bool massive_rock) {
    const SoilProfile& p = m.Profile;
    const Column& D = p.Strength_Depth;
    const Column& V = p.c;
    const int n = Strength_Points(m);

    bool at_node = false;
    for (int j = 2; j <= n - 1; ++j) {
        if (std::fabs(X - D[j]) <= 1e-6) {
            at_node = true;
            break;
        }
    }
    // Every answer carries the interface flag, errors included.
    const auto result_of = [at_node](double value) { return StrengthAtX{value, at_node}; };
    int k = 0;
    for (int j = 2; j <= n; ++j) {
        if (X <= D[j] + 1e-6) {
            k = j;
            break;
        }
    }
    if (k == 0) {
        Input_Error_5(m, X, n);
        return result_of(0.0);
    }
    if (std::fabs(X - D[n]) <= 1e-6) {
        return result_of(V[n]);
    }
    if (!at_node) {
        if (D[k] - D[k - 1] <= 0.0) {
            Input_Error_60(m, X);
            return result_of(0.0);
        }
        return result_of(Interpolate(D[k - 1], V[k - 1], D[k], V[k], X));
    }

    // On an interface: find the two layers that meet here.
    const bool b_AtTip = X == m.Pile_Length;
    const int num_layers = std::clamp(m.i_Num_Layers, 0, MAX_SOIL_LAYERS);
    int upper = 0;
    int lower = 0;
    for (int j = 2; j <= num_layers; ++j) {
        if (std::fabs(X - m.Layers[j - 1].XLayerBottom) < 1e-6 &&
            std::fabs(X - m.Layers[j].XLayerTop) < 1e-6) {
            upper = j - 1;
            lower = j;
            break;
        }
    }
    if (upper == 0) {
        // The strength table has a point here but no two layers meet at it: the layers were
        // given with a gap, which the layer table closed. The point is then simply the end
        // of one layer's data, and its value is the soil at X.
        return result_of(V[k]);
    }

    const double a = V[k];
    const double b = V[k + 1];
    if (b_AtTip) {
        return result_of(massive_rock ? p.HB_qu[k] : a);
    }
    const int class_above = Interface_Soil_Class(m.Layers[upper].i_SoilLayer_py_Type, a);
    const int class_below = Interface_Soil_Class(m.Layers[lower].i_SoilLayer_py_Type, b);
    double result = 0.0;
    if (Interface_Strength(class_above, class_below, a, b, result)) {
        return result_of(result);
    }

    // Pairs without a rule of their own (two granular or user-defined layers, or a model
    // without a strength class such as Piedmont soil) take the rule of the point lookups:
    // the mean where both layers have a strength, otherwise the one that has it.
    if (a >= 1e-20 && b >= 1e-20) {
        return result_of((a + b) / 2.0);
    }
    return result_of(b < 1e-20 ? a : b);
}

enum class PointFunction { Phi, Eps50, J, RQD };

// Value of a strength-table column at X; across an interface the two layers' values are
// averaged, and a layer without the property (value 0) yields to the other one. Returns
// false when X is below the data.
bool Point_Value(const AnalysisModel& m, const Column& V, double X, bool tip_takes_above,
                 double& result) {
    const Column& D = m.Profile.Strength_Depth;
    const int n = Strength_Points(m);
    int k = 0;
    for (int j = 2; j <= n; ++j) {
        if (X <= D[j]) {
            k = j;
            break;
        }
    }
    if (k == 0) {
        return false;
    }
    if (X == D[n]) {
        result = V[k];
        return true;
    }
    if (X == D[k] && k < n && D[k + 1] == D[k]) {
        const double a = V[k];
        const double b = V[k + 1];
        if (tip_takes_above && X == m.Pile_Length) {
            result = a;
        } else if (a >= 1e-20 && b >= 1e-20) {
            result = (a + b) / 2.0;
        } else if (b < 1e-20) {
            result = a;
        } else {
            result = b;
        }
        return true;
    }
    if (X == D[k]) {
        result = V[k];
        return true;
    }
    if (D[k] - D[k - 1] <= 0.0) {
        // Only a depth above a first layer without thickness gets here: nothing to
        // interpolate over, so the value at the top of the data stands.
        result = V[k - 1];
        return true;
    }
    result = Interpolate(D[k - 1], V[k - 1], D[k], V[k], X);
    return true;
}

// A station below the deepest point of the data a look-up needs (see Input_Error_5).
void Outside_Data_Error(AnalysisModel& m, MessageId id, double X) {
    static_cast<void>(Fail_Run(m, id, ES12(X)));
}

// Mean of a column from the ground surface down to X (trapezoids over the table).
double Average_From_Surface(const Column& D, const Column& V, int n, double Xgs, double X) {
    if (n < 2) {
        return 0.0;
    }
    double sum = 0.0;
    for (int k = 2; k <= n; ++k) {
        if (D[k] <= X) {
            sum += (V[k - 1] + V[k]) / 2.0 * (D[k] - D[k - 1]);
        } else {
            if (D[k - 1] < X && D[k] - D[k - 1] >= 1e-6) {
                const double vx = Interpolate(D[k - 1], V[k - 1], D[k], V[k], X);
                sum += (V[k - 1] + vx) / 2.0 * (X - D[k - 1]);
            }
            break;
        }
    }
    return sum / (X - Xgs);
}

// The step rule of the depth tables: inside a row interval interpolate; on a repeated
// depth take the row below.
template <typename Table, typename Get>
double Step_Table_Value(const Table& rows, int n, double X, Get get_depth, Get get_value) {
    int k = n;
    for (int j = 2; j <= n; ++j) {
        if (X <= get_depth(rows[j])) {
            k = j;
            break;
        }
    }
    const double zk = get_depth(rows[k]);
    if (X == get_depth(rows[n])) {
        return get_value(rows[k]);
    }
    if (X == zk && k < n && get_depth(rows[k + 1]) == zk) {
        return get_value(rows[k + 1]);
    }
    if (X == zk) {
        return get_value(rows[k]);
    }
    const double z0 = get_depth(rows[k - 1]);
    if (zk - z0 <= 0.0) {
        return get_value(rows[k]);
    }
    return Interpolate(z0, get_value(rows[k - 1]), zk, get_value(rows[k]), X);
}

double Group_Multiplier(const RunInput& in, double X, bool p_mult) {
    const int n = std::clamp(in.i_Num_Group_Effect_Rows, 0, MAX_GROUP_EFFECT_ROWS);
    const auto& rows = in.Group_Effect;
    if (n < 2 || X < rows[1].Z || X > rows[n].Z) {
        return 1.0;
    }
    auto depth = [](const GroupEffectRow& r) { return r.Z; };
    if (p_mult) {
        return Step_Table_Value(
            rows, n, X, +depth, +[](const GroupEffectRow& r) { return r.pMult; });
    }
    return Step_Table_Value(
        rows, n, X, +depth, +[](const GroupEffectRow& r) { return r.yMult; });
}

// Distributed load at X by linear interpolation; on a repeated depth the row below.
double Load_At(const std::array<DepthValue, MAX_DIST_LOAD_POINTS + 1>& rows, int n, double X) {
    return Step_Table_Value(
        rows, n, X, +[](const DepthValue& r) { return r.Depth; },
        +[](const DepthValue& r) { return r.Value; });
}

// The layer's own value of a column where X lies (within 1e-6) on the layer's top or bottom
// point; `value` is left alone otherwise.
double Own_Layer_Value(const AnalysisModel& m, const Column& V, int layer, double X, double value) {
    const int n = Strength_Points(m);
    const int top = 2 * layer - 1;
    const int bottom = 2 * layer;
    if (layer < 1 || bottom > n) {
        return value;
    }
    const Column& D = m.Profile.Strength_Depth;
    // On its top point, or above it (a neighbouring station that shares the layer's soil),
    // the layer's own top value; likewise at and below its bottom, except below the last
    // layer, where there is no soil data at all and the ordinary lookup reports it.
    if (X <= D[top] + 1e-6) {
        return V[top];
    }
    if (std::fabs(X - D[bottom]) <= 1e-6 || (X > D[bottom] && bottom < n)) {
        return V[bottom];
    }
    return value;
}

} // namespace

StrengthAtX fn_c_In_Layer(AnalysisModel& m, int layer, double X) {
    // At the layer's own end points (and beyond them, where a neighbouring station takes a
    // share of this layer's soil) the layer's strength is known without asking which
    // neighbour it meets; only the interface flag of fn_c is still wanted.
    const double own = Own_Layer_Value(m, m.Profile.c, layer, X, NAN);
    if (!std::isnan(own)) {
        const int n = Strength_Points(m);
        StrengthAtX r{own, false};
        for (int j = 2; j <= n - 1; ++j) {
            if (std::fabs(X - m.Profile.Strength_Depth[j]) <= 1e-6) {
                r.b_AtNode = true;
            }
        }
        return r;
    }
    StrengthAtX c = fn_c(m, X);
    if (m.RunStatus > 0) {
        return c;
    }
    c.value = Own_Layer_Value(m, m.Profile.c, layer, X, c.value);
    return c;
}

double fn_Phi_In_Layer(AnalysisModel& m, int layer, double X) {
    const double phi = fn_Phi(m, X);
    if (m.RunStatus > 0) {
        return phi;
    }
    return Own_Layer_Value(m, m.Profile.phi, layer, X, phi);
}

double fn_Eps50_In_Layer(AnalysisModel& m, int layer, double X) {
    return Own_Layer_Value(m, m.Profile.eps50, layer, X, fn_Eps50(m, X));
}

double fn_J_In_Layer(AnalysisModel& m, int layer, double X) {
    return Own_Layer_Value(m, m.Profile.J, layer, X, fn_J(m, X));
}

StrengthAtX fn_c(AnalysisModel& m, double X) {
    return Strength_At_Depth(m, X, false);
}

StrengthAtX fn_HB_qu_at_DepthX(AnalysisModel& m, double X) {
    return Strength_At_Depth(m, X, true);
}

double fn_c_Avg(AnalysisModel& m, double X) {
    const double Xgs = m.Ground_Surface_Depth;
    if (X < Xgs) {
        return 0.0;
    }
    const int n = Strength_Points(m);
    if (n >= 2 && X - Xgs < 1e-6) {
        return fn_c(m, X).value;
    }
    if (n < 1 || X > m.Profile.Strength_Depth[n]) {
        Outside_Data_Error(m, MessageId::ShearStrengthTooShallow, X);
        return 0.0;
    }
    return Average_From_Surface(m.Profile.Strength_Depth, m.Profile.c, n, Xgs, X);
}

double fn_Gamma_Avg(AnalysisModel& m, double X) {
    const double Xgs = m.Ground_Surface_Depth;
    if (X < Xgs) {
        return 0.0;
    }
    const SoilProfile& p = m.Profile;
    const int n = Gamma_Points(m);
    if (n >= 2 && X - Xgs < 1e-6) {
        // At the ground surface: the first unit weight of the profile that is positive.
        for (int k = 1; k <= n; ++k) {
            if (p.Gamma[k] > 0.0) {
                return p.Gamma[k];
            }
        }
        return p.Gamma[n];
    }
    if (n < 1 || X > p.Gamma_Depth[n]) {
        Outside_Data_Error(m, MessageId::UnitWeightTooShallow, X);
        return 0.0;
    }
    return Average_From_Surface(p.Gamma_Depth, p.Gamma, n, Xgs, X);
}

double fn_Phi(AnalysisModel& m, double X) {
    double v = 0.0;
    if (!Point_Value(m, m.Profile.phi, X, true, v)) {
        Outside_Data_Error(m, MessageId::FrictionAngleTooShallow, X);
        return 0.0;
    }
    return v;
}

double fn_Eps50(AnalysisModel& m, double X) {
    double v = 0.0;
    return Point_Value(m, m.Profile.eps50, X, true, v) ? v : 0.0;
}

double fn_J(AnalysisModel& m, double X) {
    double v = 0.0;
    return Point_Value(m, m.Profile.J, X, true, v) ? v : 0.0;
}

double fn_RQD(AnalysisModel& m, double X) {
    double v = 0.0;
    if (!Point_Value(m, m.Profile.RQD, X, false, v)) {
        Outside_Data_Error(m, MessageId::RqdTooShallow, X);
        return 0.0;
    }
    if (v < 0.0 || v > 100.0) {
        static_cast<void>(Fail_Run(m, MessageId::RqdOutOfRange, ES12(v))); // see Input_Error_5
        return 0.0;
    }
    return v;
}

double fn_krm(AnalysisModel& m, double X) {
    const Column& D = m.Profile.Strength_Depth;
    const Column& V = m.Profile.eps50;
    const int n = Strength_Points(m);
    for (int k = 2; k <= n; ++k) {
        if (D[k - 1] <= X && X <= D[k]) {
            if (X == D[k] && k < n && D[k + 1] == D[k] && X != m.Pile_Length) {
                return V[k + 1];
            }
            if (X == D[k]) {
                return V[k];
            }
            if (X == D[k - 1]) {
                return V[k - 1];
            }
            return Interpolate(D[k - 1], V[k - 1], D[k], V[k], X);
        }
    }
    return 0.0;
}

double fn_k_in_Layer(AnalysisModel& m, int i, double X) {
    if (i < 1 || i > MAX_SOIL_LAYERS) {
        return 0.0;
    }
    const SoilLayer& layer = m.Layers[i];
    if (layer.XLayerTop == layer.XLayerBottom) {
        // The block follows the premature-end line, so the results take it from here (a
        // block read back from the report ends at that line). The look-up returns a value;
        // its callers test RunStatus.
        const std::vector<std::string> block = {
            "**** Runtime Error No. 20 ****", "",
            "Problem:  The top and bottom elevations for weak rock layer are equal.",
            "Solution: Correct the input data for elevations defining weak rock layer."};
        const bool first_error = m.RunStatus <= 0 && m.Results.error.text.empty();
        static_cast<void>(Raise_Runtime_Error(m, 20));
        if (first_error) {
            m.Results.error.text = block;
        }
        for (const std::string& line : block) {
            m.Report.Write_Line(line);
        }
        m.Report.Blank_Lines(1);
        return 0.0;
    }
    return Interpolate(layer.XLayerTop, layer.k_Top, layer.XLayerBottom, layer.k_Bottom, X);
}

double fn_pMult(const RunInput& in, double X) {
    return Group_Multiplier(in, X, true);
}

double fn_yMult(const RunInput& in, double X) {
    return Group_Multiplier(in, X, false);
}

double fn_DistLoad_Avg(const RunInput& in, const StationGrid& grid, double X) {
    const int n = std::clamp(in.i_Num_Dist_Load_Points, 0, MAX_DIST_LOAD_POINTS);
    const auto& rows = in.Dist_Load;
    const double h = grid.Increment_Length;
    const double L = grid.Grid_Pile_Length; // the pile the stations were built for
    if (n < 1 || h <= 0.0) {
        return 0.0;
    }
    double lo = std::max(X - h / 2.0, 0.0);
    double hi = std::min(X + h / 2.0, L);
    // The window is h long, or h/2 at the head and the tip; dividing by its computed
    // length keeps a uniform load exact at every node.
    const double window = hi - lo;
    if (hi <= rows[1].Depth || lo > rows[n].Depth) {
        return 0.0;
    }
    lo = std::max(lo, rows[1].Depth);
    hi = std::min(hi, rows[n].Depth);
    double integral = 0.0;
    if (hi > lo) {
        // Trapezoids between the window ends and every table depth strictly inside it.
        double x0 = lo;
        double q0 = Load_At(rows, n, lo);
        for (int k = 1; k <= n; ++k) {
            const double d = rows[k].Depth;
            if (d > lo && d < hi) {
                // Left limit at d: the load just above a step is the row above it.
                const double q_left =
                    (k >= 2 && rows[k - 1].Depth == d) ? rows[k - 1].Value : rows[k].Value;
                integral += (q0 + q_left) / 2.0 * (d - x0);
                x0 = d;
                q0 = Load_At(rows, n, d);
            }
        }
        // Right limit at hi: on a step the load just above hi is that of the row above.
        double q_hi = Load_At(rows, n, hi);
        for (int k = 2; k <= n; ++k) {
            if (rows[k].Depth == hi && rows[k - 1].Depth == hi) {
                q_hi = rows[k - 1].Value;
                break;
            }
        }
        integral += (q0 + q_hi) / 2.0 * (hi - x0);
    }
    return window > 0.0 ? integral / window : 0.0;
}

PileProps Pile_Props_at_DepthX(const StationGrid& grid, double X) {
    const PilePropertyTable& t = grid.Pile_Property_Table;
    const int n = std::clamp(t.i_Num_Points, 0, MAX_PILE_PROPERTY_POINTS);
    if (n < 1) {
        return PileProps{};
    }
    if (X >= t.Depth[n] || n == 1) {
        return t.Props[n];
    }
    if (X <= t.Depth[1]) {
        return (X == t.Depth[1] && n >= 2 && t.Depth[2] == t.Depth[1]) ? t.Props[2] : t.Props[1];
    }
    int k = n;
    for (int j = 2; j <= n; ++j) {
        if (X <= t.Depth[j]) {
            k = j;
            break;
        }
    }
    if (X == t.Depth[k]) {
        // At a section change the section below wins.
        return (k < n && t.Depth[k + 1] == t.Depth[k]) ? t.Props[k + 1] : t.Props[k];
    }
    const double x0 = t.Depth[k - 1];
    const double x1 = t.Depth[k];
    const PileProps& p0 = t.Props[k - 1];
    const PileProps& p1 = t.Props[k];
    PileProps r = p1;
    if (x1 - x0 > 0.0) {
        r.b = Interpolate(x0, p0.b, x1, p1.b, X);
        r.E = Interpolate(x0, p0.E, x1, p1.E, X);
        r.I = Interpolate(x0, p0.I, x1, p1.I, X);
        r.A = Interpolate(x0, p0.A, x1, p1.A, X);
        r.EI = Interpolate(x0, p0.EI, x1, p1.EI, X);
        r.Pole_Width = Interpolate(x0, p0.Pole_Width, x1, p1.Pole_Width, X);
    }
    return r;
}

double fn_Interp10(double a, double b, const std::array<double, 11>& xs,
                   const std::array<double, 11>& ys) {
    // A zero denominator (no pile width) is treated as a ratio beyond the table.
    if (b == 0.0) {
        return ys[10];
    }
    const double r = a / b;
    if (r > xs[10]) {
        return ys[10];
    }
    int k = 10;
    for (int j = 2; j <= 10; ++j) {
        if (r < xs[j]) {
            k = j;
            break;
        }
    }
    if (xs[k] == xs[k - 1]) {
        return ys[k];
    }
    return Interpolate(xs[k - 1], ys[k - 1], xs[k], ys[k], r);
}

} // namespace zarno
