// Rock, cemented silt, loess and Piedmont soil models as the layer driver runs them
// (py_layer_driver.h). In evaluate mode each node gets its secant modulus Es at the current
// deflection; in print mode each requested depth gets its report block and plot records.
//
// Rock never uses an equivalent depth: the depth into the rock is measured from the top
// of the run of rock layers, and every layer below rock uses its true depth as well.
#include "py/py_models.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "profile/soil_profile.h"
#include "py/cemented_silt.h"
#include "py/equivalent_depth.h"
#include "py/loess.h"
#include "py/piedmont.h"
#include "py/py_framework.h"
#include "py/py_layer_driver.h"
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
    n.b = Pile_Props_at_DepthX(m, n.Xp).b;
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

namespace {

class WeakRockModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const int layer = p.layer;
        n_ = Node_Context(m, p.i);
        const StrengthAtX strength = fn_c(m, n_.X);
        const double qur = strength.value;
        if (m.RunStatus > 0) {
            return false;
        }
        // On a layer interface the strength is a blend of two layers: neither judged nor
        // rejected there.
        const bool at_interface = strength.b_AtNode;
        if (!at_interface) {
            if (const int code = Weak_Rock_Strength_Warning(qur, m.IUNITS); code != 0) {
                Record_Warning(m, code);
            }
            if (qur <= 0.0) {
                return Raise_Weak_Rock_Strength_Error(m, layer) == 0;
            }
        }
        RQD_ = fn_RQD(m, n_.X);
        if (m.RunStatus > 0) {
            return false;
        }
        Eir_ = fn_k_in_Layer(m, layer, n_.X);
        if (m.RunStatus > 0) {
            return false;
        }
        if (!p.first && qur < 1e-10) {
            return Raise_Weak_Rock_Zero_Strength_Error(m) == 0;
        }
        gamma_ = fn_Gamma_Avg(m, n_.X);
        if (m.RunStatus > 0) {
            return false;
        }
        k_rm_ = fn_krm(m, n_.X);
        if (k_rm_ <= 0.0) {
            return Raise_Weak_Rock_krm_Error(m, layer) == 0;
        }
        if (const int code = Weak_Rock_krm_Warning(k_rm_); code != 0) {
            Record_Warning(m, code);
        }
        const double xr = Weak_Rock_Depth_Into_Rock(m, layer, n_.X);
        w_ = Weak_Rock_Curve(n_.b, qur, RQD_, Eir_, k_rm_, xr);
        if (w_.Status == WeakRockStatus::Yrm_Not_Positive) {
            return Raise_Weak_Rock_yrm_Error(m, layer) == 0;
        }
        if (w_.Status == WeakRockStatus::No_Initial_Slope) {
            return Raise_Weak_Rock_Initial_Slope_Error(m, layer) == 0;
        }
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Write_Weak_Rock_Report(m, Report_Common(m, p.layer, p.i, n_), w_, gamma_, RQD_, Eir_,
                               k_rm_);
    }

    bool Secant_Modulus(AnalysisModel&, const PyLayerPoint&, double& Es) override {
        Es = Weak_Rock_Es(w_, Scaled_Deflection(n_), n_.pm, n_.ym);
        return true;
    }

  private:
    NodeContext n_;
    double RQD_ = 0.0, Eir_ = 0.0, gamma_ = 0.0, k_rm_ = 0.0;
    WeakRockCurve w_{};
};

class VuggyLimestoneModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        n_ = Node_Context(m, p.i);
        const double qu = fn_c(m, n_.X).value;
        if (m.RunStatus > 0) {
            return false;
        }
        const double gamma = fn_Gamma_Avg(m, n_.X);
        if (m.RunStatus > 0) {
            return false;
        }
        if (n_.X > m.Layers[p.layer].XLayerTop &&
            Vuggy_Limestone_Strength_Unreasonable(qu, m.IUNITS)) {
            Record_Warning(m, -308);
        }
        v_ = Vuggy_Limestone_Curve(qu, n_.b, gamma, n_.xt);
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Write_Vuggy_Limestone_Report(m, Report_Common(m, p.layer, p.i, n_), v_);
    }

    // The rock is taken to stay in place: its curve ignores soil movements and puts no load
    // on the pile.
    bool Soil_Movement_Loads_Pile() const override { return false; }

    bool Secant_Modulus(AnalysisModel&, const PyLayerPoint&, double& Es) override {
        Es = Vuggy_Limestone_Es(v_, std::fabs(n_.v.y) / n_.ym, n_.pm, n_.ym);
        return true;
    }

  private:
    NodeContext n_;
    VuggyLimestoneCurve v_{};
};

class CementedSiltModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const int layer = p.layer;
        SoilLayer& s = m.Layers[layer];
        n_ = Node_Context(m, p.i);
        c_ = fn_c_In_Layer(m, layer, n_.X).value;
        if (m.RunStatus > 0) {
            return false;
        }
        // A silt may start without cohesion at its top, never below it.
        if (c_ < 1e-10 && n_.X > s.XLayerTop) {
            return Raise_Silt_Cohesion_Error(m, layer, n_.X, c_) == 0;
        }
        gamma_ = fn_Gamma_Avg(m, n_.X);
        if (m.RunStatus > 0) {
            return false;
        }
        eps50_ = fn_Eps50_In_Layer(m, layer, n_.X);
        if (eps50_ <= 0.0 && (m.IUNITS == USCS || m.IUNITS == SI)) {
            eps50_ = Cemented_Silt_Default_Eps50(c_, m.IUNITS);
        }
        phi_deg_ = fn_Phi_In_Layer(m, layer, n_.X);
        if (m.RunStatus > 0) {
            return false;
        }
        const double phi = phi_deg_ * PY_PI / 180.0;
        if (phi < 1e-10) {
            return Raise_Silt_Friction_Error(m) == 0;
        }
        if (s.k_Top > 0.0) {
            if (s.k_Bottom == 0.0) {
                s.k_Bottom = s.k_Top; // a constant modulus when only the top one is given
            }
            k_ = Cemented_Silt_k_In_Layer(s.k_Top, s.k_Bottom, s.XLayerTop, s.XLayerBottom, n_.X);
        } else {
            k_ = Cemented_Silt_Default_k(c_, gamma_, phi_deg_, m.b_Cyclic, m.IUNITS);
        }

        CementedSiltInput in;
        in.b = n_.b;
        in.c = c_;
        in.gamma = gamma_;
        in.phi = phi;
        in.k = k_;
        in.x = n_.xt;
        in.xt = n_.xt;
        in.theta = m.Slope_Minus_Batter;
        in.y_Node = n_.v.y;
        in.b_Cyclic = m.b_Cyclic;
        in.J = m.Default_J;
        // The slope checks and the active coefficient do not depend on the depth: settle
        // them before the equivalent depth, which needs the coefficient.
        cs_ = Cemented_Silt_Curve(in);
        if (cs_.Status == CementedSiltStatus::Slope_Exceeds_Phi) {
            return Raise_Silt_Slope_Runtime_Error(m, layer) == 0;
        }
        if (cs_.Status == CementedSiltStatus::Slope_Without_Cohesion) {
            return Raise_Silt_Slope_Input_Error(m, layer) == 0;
        }
        if (py_Needs_X_Eq(m, p)) {
            Cemented_Silt_X_Eq(m, layer, n_, c_, gamma_, phi, cs_.Ka);
        }
        in.x = py_Model_Depth(m, layer, n_.X);
        cs_ = Cemented_Silt_Curve(in);
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Write_Cemented_Silt_Report(m, Report_Common(m, p.layer, p.i, n_), cs_, c_, phi_deg_, gamma_,
                                   k_, eps50_);
    }

    // Resistance of the layer for the equivalent depth of the layers below it.
    bool Integrates_Resistance() const override { return true; }
    double Ultimate_Resistance() const override { return cs_.Pu; }
    double Trapezoid(const AnalysisModel& m, double cos_batter, double previous,
                     double now) const override {
        return (previous + now) * m.Increment_Length * cos_batter / 2.0;
    }
    std::optional<double> Whole_Layer_Resistance(const AnalysisModel& m) const override {
        return (3.0 * c_ * n_.b + cs_.Pu) * 0.5 * py_Layer_Thickness(m, 1);
    }

    bool Secant_Modulus(AnalysisModel&, const PyLayerPoint&, double& Es) override {
        Es = Cemented_Silt_Es(cs_, Scaled_Deflection(n_), n_.pm, n_.ym);
        return true;
    }

  private:
    NodeContext n_;
    double c_ = 0.0, gamma_ = 0.0, eps50_ = 0.0, phi_deg_ = 0.0, k_ = 0.0;
    CementedSiltCurve cs_{};
};

class LoessModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        n_ = Node_Context(m, p.i);
        const double qc = Layer_Column_Value(m, m.Profile.qc, p.layer, n_.X);
        // The near-surface reduction of the cone resistance goes by the depth along the pile.
        l_ = Loess_Curve(n_.b, n_.Xp, qc, m.Number_Of_Cycles, m.IUNITS);
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Write_Loess_Report(m, Report_Common(m, p.layer, p.i, n_), l_, m.Number_Of_Cycles);
    }

    bool Soil_Movement_Loads_Pile() const override { return false; }

    bool Secant_Modulus(AnalysisModel&, const PyLayerPoint&, double& Es) override {
        Es = Loess_Es(l_, Scaled_Deflection(n_), n_.pm, n_.ym);
        return true;
    }

  private:
    NodeContext n_;
    LoessCurve l_{};
};

class PiedmontModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const SoilProfile& prof = m.Profile;
        test_ = m.Layers[p.layer].i_Piedmont_Test_Type;
        n_ = Node_Context(m, p.i);
        value_ = 0.0;
        switch (test_) {
        case PIEDMONT_SPT:
            value_ = Layer_Column_Value(m, prof.N60, p.layer, n_.X);
            break;
        case PIEDMONT_CPT:
            value_ = Layer_Column_Value(m, prof.qc, p.layer, n_.X);
            break;
        case PIEDMONT_DMT:
            value_ = Layer_Column_Value(m, prof.EDMT, p.layer, n_.X);
            break;
        case PIEDMONT_PMT:
            value_ = Layer_Column_Value(m, prof.EPMT, p.layer, n_.X);
            break;
        default:
            break;
        }
        pc_ = Piedmont_Curve(test_, value_, n_.b, m.IUNITS);
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Write_Piedmont_Report(m, Report_Common(m, p.layer, p.i, n_), pc_, test_, value_);
    }

    bool Soil_Movement_Loads_Pile() const override { return false; }

    bool Secant_Modulus(AnalysisModel&, const PyLayerPoint&, double& Es) override {
        Es = Piedmont_Es(pc_, Scaled_Deflection(n_), n_.pm, n_.ym);
        return true;
    }

  private:
    NodeContext n_;
    int test_ = 0;
    double value_ = 0.0;
    PiedmontCurve pc_{};
};

} // namespace

void py_Weak_Rock(AnalysisModel& m, int layer) {
    WeakRockModel model;
    Run_py_Layer(m, layer, model);
}

void py_Vuggy_Limestone(AnalysisModel& m, int layer) {
    VuggyLimestoneModel model;
    Run_py_Layer(m, layer, model);
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
    if (Fail_Run(m, MessageId::MassiveRock, layer) > 0) {
        return;
    }
}

void py_Cemented_Silt(AnalysisModel& m, int layer) {
    CementedSiltModel model;
    Run_py_Layer(m, layer, model);
}

void py_Loess(AnalysisModel& m, int layer) {
    if (Loess_Cycles_Invalid(m.Number_Of_Cycles)) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Loess_Cycles_Error(m, layer, m.Number_Of_Cycles));
        return;
    }
    LoessModel model;
    Run_py_Layer(m, layer, model);
}

void py_Piedmont(AnalysisModel& m, int layer) {
    PiedmontModel model;
    Run_py_Layer(m, layer, model);
}

} // namespace zarno
