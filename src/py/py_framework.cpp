#include "py/py_framework.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/results.h"
#include "engine/run_status.h"
#include "profile/soil_profile.h"
#include "py/py_models.h"
#include "report/fortran_format.h"
#include "solver/lrfd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <fmt/format.h>
#include <string>
#include <type_traits>
#include <vector>

namespace zarno {

namespace {

// The routine of each model code; the codes without a model (frozen soil, undefined)
// have none, and their layers keep the moduli they had.
using LayerRoutine = void (*)(AnalysisModel&, int);

LayerRoutine Routine_Of(int code) {
    switch (code) {
    case PY_SOFT_CLAY:
        return py_Soft_Clay;
    case PY_STIFF_CLAY_FREE_WATER:
        return py_Stiff_Clay_Free_Water;
    case PY_STIFF_CLAY_NO_WATER:
        return py_Stiff_Clay_No_Water;
    case PY_STIFF_CLAY_NO_WATER_K:
        return py_Stiff_Clay_No_Water_k;
    case PY_SAND:
        return py_Sand_Reese;
    case PY_API_SAND:
        return py_API_Sand;
    case PY_LIQUEFIED_SAND:
        return py_Liquefied_Sand;
    case PY_WEAK_ROCK:
        return py_Weak_Rock;
    case PY_VUGGY_LIMESTONE:
        return py_Vuggy_Limestone;
    case PY_PIEDMONT:
        return py_Piedmont;
    case PY_CEMENTED_SILT:
        return py_Cemented_Silt;
    case PY_LOESS:
        return py_Loess;
    case PY_ELASTIC_SUBGRADE:
        return py_Elastic_Subgrade;
    case PY_USER_INPUT:
        return py_User_Input;
    case PY_SOFT_CLAY_J:
        return py_Soft_Clay_J;
    case PY_MASSIVE_ROCK:
        return py_Massive_Rock;
    case PY_PISA_COWDEN_CLAY:
    case PY_PISA_DUNKIRK_SAND:
    case PY_PISA_BOTHKENNAR_CLAY:
        return py_Pisa;
    default:
        return nullptr;
    }
}

// Models whose curves come from soil strength and overburden; between two such layers a
// station that straddles the boundary takes a share of each layer's spring.
bool Blends_At_Boundary(int code) {
    switch (code) {
    case PY_SOFT_CLAY:
    case PY_SOFT_CLAY_J:
    case PY_STIFF_CLAY_FREE_WATER:
    case PY_STIFF_CLAY_NO_WATER:
    case PY_STIFF_CLAY_NO_WATER_K:
    case PY_SAND:
    case PY_API_SAND:
    case PY_LIQUEFIED_SAND:
    case PY_CEMENTED_SILT:
        return true;
    default:
        return false;
    }
}

// Rows 0 .. n of a one-based table (n clamped to the capacity, as every lookup clamps it).
template <typename T, std::size_t N>
bool Same_Rows(const std::array<T, N>& a, const std::array<T, N>& b, int n) {
    static_assert(std::is_trivially_copyable_v<T>);
    const std::size_t rows =
        static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(N) - 1)) + 1;
    return std::memcmp(a.data(), b.data(), rows * sizeof(T)) == 0;
}

// The strength columns of the profile, all read over the strength depths' rows.
using StrengthColumn = std::array<double, MAX_PROFILE_POINTS + 1> SoilProfile::*;
constexpr StrengthColumn STRENGTH_COLUMNS[] = {&SoilProfile::Strength_Depth,
                                               &SoilProfile::c,
                                               &SoilProfile::eps50,
                                               &SoilProfile::J,
                                               &SoilProfile::phi,
                                               &SoilProfile::RQD,
                                               &SoilProfile::N60,
                                               &SoilProfile::qc,
                                               &SoilProfile::EDMT,
                                               &SoilProfile::EPMT,
                                               &SoilProfile::Es,
                                               &SoilProfile::HB_qu,
                                               &SoilProfile::HB_GSI,
                                               &SoilProfile::HB_Erm,
                                               &SoilProfile::G0,
                                               &SoilProfile::Dr};
// Every column of the profile is compared: the two unit-weight columns, the strength columns
// above, the rock types and the two counts (a column added to the profile without being
// added here fails to compile; only padding is left over).
static_assert(sizeof(SoilProfile) - (2 + std::size(STRENGTH_COLUMNS)) * sizeof(SoilProfile::Gamma) -
                  sizeof(SoilProfile::HB_Rock_Type) - 2 * sizeof(int) <
              sizeof(double) * 2);

// The rows of the profile in use: the unit weights over their depths, every strength column
// over the strength depths.
bool Same_Profile_Rows(const SoilProfile& a, const SoilProfile& b) {
    if (a.i_Num_Gamma_Points != b.i_Num_Gamma_Points ||
        a.i_Num_Strength_Points != b.i_Num_Strength_Points) {
        return false;
    }
    const int g = a.i_Num_Gamma_Points;
    const int n = a.i_Num_Strength_Points;
    if (!Same_Rows(a.Gamma_Depth, b.Gamma_Depth, g) || !Same_Rows(a.Gamma, b.Gamma, g) ||
        !Same_Rows(a.HB_Rock_Type, b.HB_Rock_Type, n)) {
        return false;
    }
    for (const StrengthColumn column : STRENGTH_COLUMNS) {
        if (!Same_Rows(a.*column, b.*column, n)) {
            return false;
        }
    }
    return true;
}

// Empties the p-y cache when a table it was filled from is no longer the same.
//
// Only the rows in use are compared: a table of n points (its count, clamped to the
// capacity) is read by the lookups behind every kept value over its rows 1 .. n and no
// further. The strength lookups (fn_c, fn_c_In_Layer, the point values of eps50, J and phi,
// the average strength) search rows 2 .. n and read the row below a match only when the
// match lies above row n; the unit-weight average sums rows 1 .. n; the pile properties
// search rows 1 .. n and read the next row only below row n; the group multipliers read
// rows 1 .. n and the next row only below n. A row beyond the count is therefore never
// read, and an edit there cannot change a value (the test of junk past the rows in use
// shows it); the counts themselves are compared, so a table that grows or shrinks misses.
void Check_Cache_Tables(AnalysisModel& m) {
    PySoilTables& t = m.Py_Cache.tables;
    const std::size_t layers =
        static_cast<std::size_t>(std::clamp(m.i_Num_Layers, 0, MAX_SOIL_LAYERS)) + 1;
    const PilePropertyTable& pile = m.Pile_Property_Table;
    const bool same =
        t.Layers.size() == layers &&
        std::memcmp(t.Layers.data(), m.Layers.data(), layers * sizeof(SoilLayer)) == 0 &&
        Same_Profile_Rows(t.Profile, m.Profile) &&
        t.Pile_Property_Table.i_Num_Points == pile.i_Num_Points &&
        Same_Rows(t.Pile_Property_Table.Depth, pile.Depth, pile.i_Num_Points) &&
        Same_Rows(t.Pile_Property_Table.Props, pile.Props, pile.i_Num_Points) &&
        t.i_Num_Group_Effect_Rows == m.i_Num_Group_Effect_Rows &&
        Same_Rows(t.Group_Effect, m.Group_Effect, m.i_Num_Group_Effect_Rows) &&
        t.IUNITS == m.IUNITS && Same_Bits(t.Default_J, m.Default_J);
    if (same) {
        return;
    }
    m.Py_Cache.Clear();
    t.Layers.assign(m.Layers.begin(), m.Layers.begin() + static_cast<std::ptrdiff_t>(layers));
    t.Profile = m.Profile;
    t.Pile_Property_Table = m.Pile_Property_Table;
    t.Group_Effect = m.Group_Effect;
    t.i_Num_Group_Effect_Rows = m.i_Num_Group_Effect_Rows;
    t.IUNITS = m.IUNITS;
    t.Default_J = m.Default_J;
}

void Run_Layer_Routine(AnalysisModel& m, int layer) {
    if (const LayerRoutine routine = Routine_Of(m.Layers[layer].i_SoilLayer_py_Type)) {
        routine(m, layer);
    }
}

// What a layer routine writes of the pass's working state in evaluate mode: the node
// range and rock count it is run with, the node scalars it shares with the equivalent depth,
// and the layer integrals and equivalent depths (its own, and the small integrals above it
// that the equivalent depth may rewrite). The printed depths and the rock marks are not
// touched by an evaluation.
struct PyPassValues {
    int KTOP, KBOT, i_RockLayersAbove;
    double b, c, ca, Gamma, J, xt, phi, alpha, beta, K0, Ka, Kp;
    std::array<double, MAX_SOIL_LAYERS + 1> F_Layer, F_Layer_Saved, X_Eq;

    explicit PyPassValues(const PyState& py)
        : KTOP(py.KTOP), KBOT(py.KBOT), i_RockLayersAbove(py.i_RockLayersAbove), b(py.b), c(py.c),
          ca(py.ca), Gamma(py.Gamma), J(py.J), xt(py.xt), phi(py.phi), alpha(py.alpha),
          beta(py.beta), K0(py.K0), Ka(py.Ka), Kp(py.Kp), F_Layer(py.F_Layer),
          F_Layer_Saved(py.F_Layer_Saved), X_Eq(py.X_Eq) {}

    void Restore(PyState& py) const {
        py.KTOP = KTOP;
        py.KBOT = KBOT;
        py.i_RockLayersAbove = i_RockLayersAbove;
        py.b = b;
        py.c = c;
        py.ca = ca;
        py.Gamma = Gamma;
        py.J = J;
        py.xt = xt;
        py.phi = phi;
        py.alpha = alpha;
        py.beta = beta;
        py.K0 = K0;
        py.Ka = Ka;
        py.Kp = Kp;
        py.F_Layer = F_Layer;
        py.F_Layer_Saved = F_Layer_Saved;
        py.X_Eq = X_Eq;
    }
};

// Spring of node k as layer `other`'s model gives it, with every working value of the pass
// (layer integrals, equivalent depths, warnings, the node's own spring) left as it was.
// Returns false when the model stopped the run.
bool Spring_Of_Neighbour_Layer(AnalysisModel& m, int other, int k, double& Es) {
    const PyPassValues saved_py(m.Py);
    const PileNode saved_node = m.Nodes[k];
    const bool was_paused = m.Warnings.Recording_Paused;
    m.Warnings.Recording_Paused = true;
    m.Py.KTOP = k;
    m.Py.KBOT = k;
    m.Py.i_RockLayersAbove = m.Py.b_BelowRock[other] ? 1 : 0;
    Run_Layer_Routine(m, other);
    Es = m.Nodes[k].Es;
    saved_py.Restore(m.Py);
    m.Warnings.Recording_Paused = was_paused;
    m.Nodes[k] = saved_node;
    return m.RunStatus == 0;
}

// A station stands for the soil over half an increment above and below it. Where a layer
// boundary cuts that length, the station's spring is the two layers' springs weighted by
// their shares of it, so the pile's response changes smoothly as a boundary moves past a
// station instead of jumping when the station changes layer.
void Blend_Boundary_Stations(AnalysisModel& m) {
    const int N = m.i_Num_Nodes;
    const double hv = m.Increment_Length * std::cos(m.Pile_Batter);
    if (N < 3 || !(hv > 0.0)) {
        return;
    }
    for (int upper = 1; upper < m.i_Num_Layers; ++upper) {
        const int lower = upper + 1;
        const SoilLayer& a = m.Layers[upper];
        const SoilLayer& b = m.Layers[lower];
        if (a.KTOP == 0 || b.KTOP == 0 || !Blends_At_Boundary(py_Model_Of_Layer(m, upper)) ||
            !Blends_At_Boundary(py_Model_Of_Layer(m, lower))) {
            continue;
        }
        const double B = b.XLayerTop;
        const struct {
            int node;
            int other;
            double share; // of the node's tributary length in the other layer
        } candidates[] = {
            {a.i_BottomNodeInLayer, lower, (m.Nodes[a.i_BottomNodeInLayer].Xv + hv / 2 - B) / hv},
            {b.KTOP, upper, (B - (m.Nodes[b.KTOP].Xv - hv / 2)) / hv},
        };
        for (const auto& c : candidates) {
            if (!(c.share > 0.0) || c.node <= 1 || c.node >= N ||
                m.Nodes[c.node].Xv < m.Ground_Surface_Depth) {
                continue;
            }
            const double share = std::min(c.share, 1.0);
            double Es_other = 0.0;
            if (!Spring_Of_Neighbour_Layer(m, c.other, c.node, Es_other)) {
                return;
            }
            PileNode& node = m.Nodes[c.node];
            node.Es = (1.0 - share) * node.Es + share * Es_other;
            py_Set_Soil_Movement_Load(m, c.node);
        }
    }
}

} // namespace

int py_Model_Of_Layer(const AnalysisModel& m, int layer) {
    const int code = m.Layers[layer].i_SoilLayer_py_Type;
    return Routine_Of(code) != nullptr ? code : 0;
}

void Run_py_Layer_Model(AnalysisModel& m, int layer) {
    Check_Cache_Tables(m);
    Run_Layer_Routine(m, layer);
}

void Apply_Rock_Protocol(AnalysisModel& m, int layer) {
    PyState& py = m.Py;
    switch (py_Model_Of_Layer(m, layer)) {
    case PY_WEAK_ROCK:
        ++py.i_RockLayersAbove;
        py.b_BelowRock[layer] = true;
        break;
    case PY_VUGGY_LIMESTONE:
    case PY_MASSIVE_ROCK:
    case PY_PIEDMONT:
    case PY_ELASTIC_SUBGRADE:
    // The monopile curves have no ultimate-resistance integral for the equivalent depth of
    // the layers below to balance: those layers use their depth below the ground surface.
    case PY_PISA_COWDEN_CLAY:
    case PY_PISA_DUNKIRK_SAND:
    case PY_PISA_BOTHKENNAR_CLAY:
        if (py.i_RockLayersAbove > 0) {
            py.b_BelowRock[layer] = true;
        }
        ++py.i_RockLayersAbove;
        break;
    case PY_SOFT_CLAY:
    case PY_SOFT_CLAY_J:
    case PY_STIFF_CLAY_FREE_WATER:
    case PY_STIFF_CLAY_NO_WATER:
    case PY_STIFF_CLAY_NO_WATER_K:
    case PY_SAND:
    case PY_API_SAND:
    case PY_LIQUEFIED_SAND:
    case PY_CEMENTED_SILT:
    case PY_LOESS:
        if (py.i_RockLayersAbove > 0) {
            py.b_BelowRock[layer] = true;
        }
        break;
    default:
        break;
    }
}

bool Check_Thin_Layer(AnalysisModel& m, int layer) {
    const SoilLayer& s = m.Layers[layer];
    const int n = m.i_Num_Nodes;
    if (layer <= 1 || s.KTOP != 0 || n < 2) {
        return false;
    }
    if (!(s.XLayerTop < m.Nodes[n].Xv) || m.Py.X_Eq[layer] != X_EQ_NOT_SET ||
        m.Py.b_BelowRock[layer]) {
        return false;
    }
    const std::string length = std::string(m.Labels.Length.substr(0, m.Labels.Length.find(' ')));
    const double thickness = s.XLayerBottom - s.XLayerTop;
    const double increment = m.Grid_Pile_Length / (n - 1);
    const long long needed =
        thickness > 0.0 ? static_cast<long long>(m.Grid_Pile_Length / thickness) : 0;
    const int status = Fail_Run(m, MessageId::ThinLayer, layer, Format_F(thickness, 9, 3), length,
                                Format_F(increment, 9, 3), n - 1, needed);
    return status > 0;
}

void Compute_py_All_Layers(AnalysisModel& m, int i_Pass) {
    PyState& py = m.Py;
    py.i_RockLayersAbove = 0;
    Check_Cache_Tables(m);
    for (int layer = 1; layer <= m.i_Num_Layers; ++layer) {
        const SoilLayer& s = m.Layers[layer];
        if (s.KTOP == 0) {
            continue;
        }
        py.KTOP = s.KTOP;
        py.KBOT = s.i_BottomNodeInLayer;
        Run_Layer_Routine(m, layer);
        if (m.RunStatus != 0) {
            return;
        }
        Apply_Rock_Protocol(m, layer);
    }
    Blend_Boundary_Stations(m);
    if (m.RunStatus != 0) {
        return;
    }
    if (i_Pass == 1) {
        for (int layer = 2; layer <= m.i_Num_Layers; ++layer) {
            if (Check_Thin_Layer(m, layer)) {
                return;
            }
        }
    }
}

double py_Model_Depth(const AnalysisModel& m, int layer, double Xv) {
    const double Xgs = m.Ground_Surface_Depth;
    const bool head_below_layers = m.Layers[1].XLayerBottom < -1.0e-8 ||
                                   (m.i_Num_Layers >= 2 && m.Layers[2].XLayerBottom < -1.0e-8);
    if (head_below_layers) {
        return Xv - m.Layers[1].XLayerTop;
    }
    if (layer == 1 || m.Py.i_RockLayersAbove > 0) {
        return Xv - Xgs;
    }
    return Xv - m.Layers[layer].XLayerTop + m.Py.X_Eq[layer];
}

void py_Set_Soil_Movement_Load(AnalysisModel& m, int node) {
    if (m.i_Num_Soil_Movements < 1) {
        return;
    }
    PileNode& n = m.Nodes[node];
    n.Dist_Load = n.Soil_Movement * n.Es + Applied_Distributed_Load(m, node);
}

} // namespace zarno

namespace zarno {

double py_Max_Secant_Modulus(int iunits) {
    // A p-y spring is at most a few times the modulus of the ground around the pile, and the
    // stiffest model here (rock, k_ir up to 500) takes 500 times the rock mass modulus. No
    // ground is stiffer than diamond (1,050 GPa): 500 x 1,050 GPa is about 7.6e10 psi,
    // rounded up to 1e11 psi. In general units the scale is unknown; 1e15 lies above that
    // limit in N and m (6.9e14 Pa), the largest of the usual consistent systems.
    constexpr double psi = 1e11;
    constexpr double kpa_per_psi = 6.894757293168361;
    if (iunits == USCS) {
        return psi;
    }
    if (iunits == SI) {
        return psi * kpa_per_psi;
    }
    return 1e15;
}

double py_Limit_Secant_Modulus(AnalysisModel& m, int layer, int i, double Es) {
    const double ceiling = py_Max_Secant_Modulus(m.IUNITS);
    if (!(Es > ceiling)) {
        return Es;
    }
    Record_Warning(m, WARNING_ES_CEILING);
    bool& noted = m.Py.b_Es_Ceiling_Noted[static_cast<std::size_t>(layer)];
    if (!noted) {
        noted = true;
        const std::string unit = m.IUNITS == USCS ? "lb/in^2" : m.IUNITS == SI ? "kN/m^2" : "";
        const std::string length = m.IUNITS == USCS ? " in" : m.IUNITS == SI ? " m" : "";
        std::vector<std::string> text = {
            fmt::format("The secant soil modulus of soil layer {} at depth {:g}{} below the pile "
                        "head is {:g} {}, above the largest modulus any ground can give ({:g} "
                        "{}); the ceiling is used there.",
                        layer, m.Nodes[i].X, length, Es, unit, ceiling, unit),
            "A vanishing strength under a stronger layer, a huge subgrade modulus or a user "
            "p-y point at a vanishing deflection gives such a value.",
            fmt::format("Check the strength, modulus and p-y values of soil layer {}.", layer)};
        m.Messages.Write_Line("**** Warning ****");
        for (const std::string& line : text) {
            m.Messages.Write_Line(line);
        }
        Record_Warning_Note(m, WARNING_ES_CEILING, std::move(text));
    }
    return ceiling;
}

} // namespace zarno
