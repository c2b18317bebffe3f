// Rock, cemented silt, loess and Piedmont soil models: layer routines over the nodes
// KTOP..KBOT. In evaluate mode each node gets its secant modulus Es at the current
// deflection; in print mode each requested depth gets its report block and plot records.
//
// Rock never uses an equivalent depth: the depth into the rock is measured from the top
// of the run of rock layers, and every layer below rock uses its true depth as well.
#include "py/py_models.h"

#include "engine/analysis_model.h"
#include "engine/run_status.h"
#include "profile/soil_profile.h"
#include "py/cemented_silt.h"
#include "py/equivalent_depth.h"
#include "py/loess.h"
#include "py/piedmont.h"
#include "py/py_framework.h"
#include "py/rock_silt_messages.h"
#include "py/rock_silt_report.h"
#include "py/sand.h"
#include "py/vuggy_limestone.h"
#include "py/weak_rock.h"

#include <array>
#include <cmath>
#include <fmt/format.h>
#include <span>

namespace zarno {

namespace {

constexpr double K0_SILT = 0.4000000059604645;
constexpr double HEAD_BELOW_GROUND = -9.999999747378752e-06;

// What every model looks up at one node before its own soil properties: the node's depths,
// its deflection, the pile width and the group multipliers (taken along the pile).
struct NodeContext {
    PyNodeView v;
    double X = 0.0;  // vertical depth: soil properties and layer ranges
    double Xp = 0.0; // depth along the pile: pile properties and multipliers
    double xt = 0.0; // depth below the ground surface
    double b = 0.0;
    double pm = 1.0;
    double ym = 1.0;
};

NodeContext Node_Context(AnalysisModel& m, int i) {
    NodeContext n;
    n.v = py_Node_View(m, i);
    n.X = n.v.Xv;
    n.Xp = n.v.X;
    n.xt = n.X - m.Ground_Surface_Depth;
    n.pm = fn_pMult(m, n.Xp);
    n.ym = fn_yMult(m, n.Xp);
    Pile_Props_at_DepthX(m, n.Xp);
    n.b = m.Props_At_X.b;
    return n;
}

// Deflection entering the curve: relative to the soil movement, scaled by the y-multiplier.
double Scaled_Deflection(const NodeContext& n) {
    return std::fabs(n.v.y - n.v.ysm) / n.ym;
}

// Printed curves are numbered by their position in the list of requested depths.
int Curve_Number(const AnalysisModel& m, int i) {
    const int k = m.Py.Print_Curve_Number[i];
    return k > 0 ? k : i;
}

PyReportCommon Report_Common(const AnalysisModel& m, int layer, int i, const NodeContext& n) {
    PyReportCommon c;
    c.layer = layer;
    c.curve = Curve_Number(m, i);
    c.X = n.Xp;
    c.xt = n.xt;
    c.b = n.b;
    c.pm = n.pm;
    c.ym = n.ym;
    return c;
}

// The spring of node i, and with soil movements the load the moving soil puts on it.
void Set_Spring(AnalysisModel& m, int i, double Es, bool soil_movement_load) {
    m.Nodes[i].Es = Es;
    if (soil_movement_load) {
        py_Set_Soil_Movement_Load(m, i);
    }
}

// A strength-table column of the layer, linear between its top and bottom points.
double Layer_Column_Value(const AnalysisModel& m,
                          const std::array<double, MAX_PROFILE_POINTS + 1>& V, int layer,
                          double X) {
    const int top = 2 * layer - 1;
    const int bottom = 2 * layer;
    const double d0 = m.Profile.Strength_Depth[top];
    const double d1 = m.Profile.Strength_Depth[bottom];
    if (!(d1 - d0 > 0.0)) {
        return V[top];
    }
    return V[top] + (V[bottom] - V[top]) * (X - d0) / (d1 - d0);
}

// Equivalent depth of the top of a cemented silt layer below other soils: the depth at
// which the silt itself would have mobilised the resistance of the layers above.
void Cemented_Silt_X_Eq(AnalysisModel& m, int layer, const NodeContext& n, double c, double gamma,
                        double phi, double Ka) {
    PyState& py = m.Py;
    py.b = n.b;
    py.c = c;
    py.Gamma = gamma;
    XEqInput in;
    in.i_py_Type = PY_CEMENTED_SILT;
    in.F_above = X_Eq_Resistance_Above(std::span<double>(py.F_Layer),
                                       std::span<const double>(py.F_Layer_Saved), layer);
    in.b = n.b;
    in.c = c;
    in.gamma = gamma;
    in.J = m.Default_J;
    in.Angles = Sand_Angles(phi, K0_SILT);
    in.Ka = Ka;
    in.xt = n.xt;
    in.b_Cyclic = m.b_Cyclic;
    const XEqResult r = X_Eq_For_Model(in);
    if (r.status == XEqResult::Computed) {
        py.X_Eq[layer] = r.X_Eq;
    } else if (r.status == XEqResult::Degenerate) {
        // Nothing to match the resistance above against: the true depth, as below rock.
        py.X_Eq[layer] = m.Layers[layer].XLayerTop - m.Ground_Surface_Depth;
    }
}

} // namespace

void py_Weak_Rock(AnalysisModel& m, int layer) {
    const PyState& py = m.Py;
    for (int i = py.KTOP; i <= py.KBOT; ++i) {
        const NodeContext n = Node_Context(m, i);
        const double qur = fn_c(m, n.X);
        if (m.RunStatus > 0) {
            return;
        }
        // On a layer interface the strength is a blend of two layers: neither judged nor
        // rejected there.
        const bool at_interface = m.b_AtNode;
        if (!at_interface) {
            if (const int code = Weak_Rock_Strength_Warning(qur, m.IUNITS); code != 0) {
                Record_Warning(m, code);
            }
            if (qur <= 0.0) {
                Raise_Weak_Rock_Strength_Error(m, layer);
                return;
            }
        }
        const double RQD = fn_RQD(m, n.X);
        if (m.RunStatus > 0) {
            return;
        }
        const double Eir = fn_k_in_Layer(m, layer, n.X);
        if (m.RunStatus > 0) {
            return;
        }
        if (i != py.KTOP && qur < 1e-10) {
            Raise_Weak_Rock_Zero_Strength_Error(m);
            return;
        }
        const double gamma = fn_Gamma_Avg(m, n.X);
        if (m.RunStatus > 0) {
            return;
        }
        const double k_rm = fn_krm(m, n.X);
        if (k_rm <= 0.0) {
            Raise_Weak_Rock_krm_Error(m, layer);
            return;
        }
        if (const int code = Weak_Rock_krm_Warning(k_rm); code != 0) {
            Record_Warning(m, code);
        }
        const double xr = Weak_Rock_Depth_Into_Rock(m, layer, n.X);
        const WeakRockCurve w = Weak_Rock_Curve(n.b, qur, RQD, Eir, k_rm, xr);
        if (w.Status == WeakRockStatus::Yrm_Not_Positive) {
            Raise_Weak_Rock_yrm_Error(m, layer);
            return;
        }
        if (w.Status == WeakRockStatus::No_Initial_Slope) {
            Raise_Weak_Rock_Initial_Slope_Error(m, layer);
            return;
        }
        if (py.b_PrintPY) {
            Write_Weak_Rock_Report(m, Report_Common(m, layer, i, n), w, gamma, RQD, Eir, k_rm);
            continue;
        }
        Set_Spring(m, i, Weak_Rock_Es(w, Scaled_Deflection(n), n.pm, n.ym), true);
    }
}

void py_Vuggy_Limestone(AnalysisModel& m, int layer) {
    const PyState& py = m.Py;
    for (int i = py.KTOP; i <= py.KBOT; ++i) {
        const NodeContext n = Node_Context(m, i);
        const double qu = fn_c(m, n.X);
        if (m.RunStatus > 0) {
            return;
        }
        const double gamma = fn_Gamma_Avg(m, n.X);
        if (m.RunStatus > 0) {
            return;
        }
        if (n.X > m.Layers[layer].XLayerTop &&
            Vuggy_Limestone_Strength_Unreasonable(qu, m.IUNITS)) {
            Record_Warning(m, -308);
        }
        const VuggyLimestoneCurve v = Vuggy_Limestone_Curve(qu, n.b, gamma, n.xt);
        if (py.b_PrintPY) {
            Write_Vuggy_Limestone_Report(m, Report_Common(m, layer, i, n), v);
            continue;
        }
        // The rock is taken to stay in place: its curve ignores soil movements and puts
        // no load on the pile.
        Set_Spring(m, i, Vuggy_Limestone_Es(v, std::fabs(n.v.y) / n.ym, n.pm, n.ym), false);
    }
}

void py_Massive_Rock(AnalysisModel& m, int layer) {
    const PyState& py = m.Py;
    if (py.KTOP < 1) {
        return;
    }
    // No p-y curve exists for massive rock: the strength profile is looked up (so that
    // its input errors are still reported) and the run ends with status 99, which front
    // ends know; the block below tells the engineer why and what to use instead.
    const NodeContext n = Node_Context(m, py.KTOP);
    fn_Gamma_Avg(m, n.X);
    if (m.RunStatus > 0) {
        return;
    }
    fn_HB_qu_at_DepthX(m, n.X);
    if (m.RunStatus > 0) {
        return;
    }
    for (TextFile* f : {&m.Report, &m.Messages}) {
        f->Blank_Lines(2);
        f->Write_Line("**** Analysis Stopped: Massive Rock Layer ****");
        f->Blank_Lines(1);
        f->Write_Line(fmt::format("Problem:  Soil layer {} is massive rock (p-y type 16). No p-y "
                                  "criterion for massive",
                                  layer));
        f->Write_Line("          rock is available in this version of Zarno, so the lateral "
                      "analysis cannot be made.");
        f->Blank_Lines(1);
        f->Write_Line("Solution: Describe this layer with the weak rock criteria (p-y type 8) "
                      "or the vuggy");
        f->Write_Line("          limestone criteria (p-y type 9), or with user-input p-y curves "
                      "(p-y type 14).");
        f->Blank_Lines(1);
    }
    m.RunStatus = 99;
}

void py_Cemented_Silt(AnalysisModel& m, int layer) {
    PyState& py = m.Py;
    SoilLayer& s = m.Layers[layer];
    const bool evaluate = !py.b_PrintPY;
    double Pu_previous = 0.0;
    for (int i = py.KTOP; i <= py.KBOT; ++i) {
        if (evaluate && i == py.KTOP) {
            py.F_Layer[layer] = 0.0;
        }
        const NodeContext n = Node_Context(m, i);
        const double c = fn_c_In_Layer(m, layer, n.X);
        if (m.RunStatus > 0) {
            return;
        }
        // A silt may start without cohesion at its top, never below it.
        if (c < 1e-10 && n.X > s.XLayerTop) {
            Raise_Silt_Cohesion_Error(m, layer, n.X, c);
            return;
        }
        const double gamma = fn_Gamma_Avg(m, n.X);
        if (m.RunStatus > 0) {
            return;
        }
        double eps50 = fn_Eps50_In_Layer(m, layer, n.X);
        if (eps50 <= 0.0 && (m.IUNITS == USCS || m.IUNITS == SI)) {
            eps50 = Cemented_Silt_Default_Eps50(c, m.IUNITS);
        }
        const double phi_deg = fn_Phi_In_Layer(m, layer, n.X);
        if (m.RunStatus > 0) {
            return;
        }
        const double phi = phi_deg * PY_PI / 180.0;
        if (phi < 1e-10) {
            Raise_Silt_Friction_Error(m);
            return;
        }
        double k = 0.0;
        if (s.k_Top > 0.0) {
            if (s.k_Bottom == 0.0) {
                s.k_Bottom = s.k_Top; // a constant modulus when only the top one is given
            }
            k = Cemented_Silt_k_In_Layer(s.k_Top, s.k_Bottom, s.XLayerTop, s.XLayerBottom, n.X);
        } else {
            k = Cemented_Silt_Default_k(c, gamma, phi_deg, m.b_Cyclic, m.IUNITS);
        }

        CementedSiltInput in;
        in.b = n.b;
        in.c = c;
        in.gamma = gamma;
        in.phi = phi;
        in.k = k;
        in.x = n.xt;
        in.xt = n.xt;
        in.theta = m.Slope_Minus_Batter;
        in.y_Node = n.v.y;
        in.b_Cyclic = m.b_Cyclic;
        in.J = m.Default_J;
        // The slope checks and the active coefficient do not depend on the depth: settle
        // them before the equivalent depth, which needs the coefficient.
        CementedSiltCurve cs = Cemented_Silt_Curve(in);
        if (cs.Status == CementedSiltStatus::Slope_Exceeds_Phi) {
            Raise_Silt_Slope_Runtime_Error(m, layer);
            return;
        }
        if (cs.Status == CementedSiltStatus::Slope_Without_Cohesion) {
            Raise_Silt_Slope_Input_Error(m, layer);
            return;
        }
        if (evaluate && i == py.KTOP && layer > 1 && py.i_RockLayersAbove == 0) {
            Cemented_Silt_X_Eq(m, layer, n, c, gamma, phi, cs.Ka);
        }
        in.x = py_Model_Depth(m, layer, n.X);
        cs = Cemented_Silt_Curve(in);

        if (py.b_PrintPY) {
            Write_Cemented_Silt_Report(m, Report_Common(m, layer, i, n), cs, c, phi_deg, gamma, k,
                                       eps50);
            continue;
        }

        // Resistance of the layer for the equivalent depth of the layers below it.
        double& F = py.F_Layer[layer];
        if (i > py.KTOP) {
            F += (Pu_previous + cs.Pu) * m.Increment_Length * std::cos(m.Pile_Batter) / 2.0;
        }
        if (i == py.KBOT) {
            F += (s.XLayerBottom - n.X) * cs.Pu;
        }
        if (m.Ground_Surface_Depth < HEAD_BELOW_GROUND && layer == 1) {
            F = (3.0 * c * n.b + cs.Pu) * 0.5 * (s.XLayerBottom - s.XLayerTop);
        }
        Pu_previous = cs.Pu;

        Set_Spring(m, i, Cemented_Silt_Es(cs, Scaled_Deflection(n), n.pm, n.ym), true);
    }
}

void py_Loess(AnalysisModel& m, int layer) {
    const PyState& py = m.Py;
    const double N = m.Number_Of_Cycles;
    if (Loess_Cycles_Invalid(N)) {
        Raise_Loess_Cycles_Error(m, layer, N);
        return;
    }
    for (int i = py.KTOP; i <= py.KBOT; ++i) {
        const NodeContext n = Node_Context(m, i);
        const double qc = Layer_Column_Value(m, m.Profile.qc, layer, n.X);
        // The near-surface reduction of the cone resistance goes by the depth along the pile.
        const LoessCurve l = Loess_Curve(n.b, n.Xp, qc, N, m.IUNITS);
        if (py.b_PrintPY) {
            Write_Loess_Report(m, Report_Common(m, layer, i, n), l, N);
            continue;
        }
        Set_Spring(m, i, Loess_Es(l, Scaled_Deflection(n), n.pm, n.ym), false);
    }
}

void py_Piedmont(AnalysisModel& m, int layer) {
    const PyState& py = m.Py;
    const int test = m.Layers[layer].i_Piedmont_Test_Type;
    const SoilProfile& p = m.Profile;
    for (int i = py.KTOP; i <= py.KBOT; ++i) {
        const NodeContext n = Node_Context(m, i);
        double value = 0.0;
        switch (test) {
        case PIEDMONT_SPT:
            value = Layer_Column_Value(m, p.N60, layer, n.X);
            break;
        case PIEDMONT_CPT:
            value = Layer_Column_Value(m, p.qc, layer, n.X);
            break;
        case PIEDMONT_DMT:
            value = Layer_Column_Value(m, p.EDMT, layer, n.X);
            break;
        case PIEDMONT_PMT:
            value = Layer_Column_Value(m, p.EPMT, layer, n.X);
            break;
        default:
            break;
        }
        const PiedmontCurve pc = Piedmont_Curve(test, value, n.b, m.IUNITS);
        if (py.b_PrintPY) {
            Write_Piedmont_Report(m, Report_Common(m, layer, i, n), pc, test, value);
            continue;
        }
        Set_Spring(m, i, Piedmont_Es(pc, Scaled_Deflection(n), n.pm, n.ym), false);
    }
}

} // namespace zarno
