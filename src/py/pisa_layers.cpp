// The monopile (PISA) layers as the layer driver runs them (py_layer_driver.h).
//
// A layer of the Cowden clay, Dunkirk sand or Bothkennar clay calibration gives every node it
// holds three things at the node's current deflection and rotation: the secant p-y spring Es
// (as every model does), the secant spring Km of the distributed moment, and, at the pile tip,
// the secant base shear and base moment springs. The solver takes Km into its difference
// equations like an axial term and the base springs as tip conditions.
//
// Normalisation (Byrne et al. 2020; Burd et al. 2020): with s the undrained strength s_u of a
// clay or the vertical effective stress sigma'_v of the sand, and D the pile diameter,
//   p-y   p = s D  p(v G0 / (s D))
//   m-th  clay: m = s_u D^2 m(th G0 / s_u);  sand: m = |p| D m(th G0 / sigma'_v)
//   H_B   H = s D^2 H(v G0 / (s D))
//   M_B   M = s D^3 M(th G0 / s)
// where each bar function is the calibration's conic. The initial slopes are therefore k G0
// (p-y), k G0 D^2 (clay m-theta), k G0 D (base shear) and k G0 D^3 (base moment).
#include "py/py_models.h"

#include "engine/analysis_model.h"
#include "engine/text_trim.h"
#include "input/list_read.h"
#include "profile/soil_profile.h"
#include "py/pisa_curves.h"
#include "py/pisa_report.h"
#include "py/py_framework.h"
#include "py/py_layer_driver.h"
#include "report/fortran_format.h"

#include <cmath>
#include <fmt/format.h>
#include <string>

namespace zarno {

namespace {

PisaSoil Soil_Of(int code) {
    switch (code) {
    case PY_PISA_DUNKIRK_SAND:
        return PisaSoil::Dunkirk_Sand;
    case PY_PISA_BOTHKENNAR_CLAY:
        return PisaSoil::Bothkennar_Clay;
    default:
        return PisaSoil::Cowden_Clay;
    }
}

const char* Reaction_Name(PisaReaction r) {
    switch (r) {
    case PisaReaction::Lateral:
        return "p-y";
    case PisaReaction::Moment:
        return "distributed moment (m-theta)";
    case PisaReaction::Base_Shear:
        return "base shear";
    default:
        return "base moment";
    }
}

// A value of the layer, linear in the vertical depth between its top and bottom points.
double Layer_Value(const SoilProfile& prof, int layer, double Xv,
                   const std::array<double, MAX_PROFILE_POINTS + 1>& column) {
    const int top = 2 * layer - 1;
    const int bottom = 2 * layer;
    const double d0 = prof.Strength_Depth[top];
    const double d1 = prof.Strength_Depth[bottom];
    if (d1 - d0 <= 0.0) {
        return column[top];
    }
    const double t = std::clamp((Xv - d0) / (d1 - d0), 0.0, 1.0);
    return column[top] + (column[bottom] - column[top]) * t;
}

// A calibration whose linear fits have turned negative (far outside the range it was fitted
// in) gives no spring: an input error naming the layer, the depth and the parameter.
bool Check_Parameters(AnalysisModel& m, const PisaParameters& p, PisaReaction r, int layer,
                      double depth, double ratio, const char* ratio_name) {
    if (p.valid) {
        return true;
    }
    const std::string unit = Trim_Right(m.IUNITS == USCS ? m.Labels.Depth : m.Labels.Length);
    const double shown = m.IUNITS == USCS ? depth / 12.0 : depth;
    static_cast<void>(Raise_Input_Line_Error(
        m, INPUT_ERROR_PISA_PARAMETER,
        fmt::format("Problem:  The {} curve of soil layer {} (p-y type {}) at {:.3f} {} below the "
                    "ground surface has the parameter {} = {:g} at {} = {:.3f}; the calibration "
                    "gives no valid curve there.",
                    Reaction_Name(r), layer, m.Layers[layer].i_SoilLayer_py_Type, shown, unit,
                    p.bad, p.bad_value, ratio_name, ratio),
        "Solution: The PISA calibrations hold for embedded lengths of 2 to 6 pile diameters; "
        "shorten or widen the pile, or model this soil with a p-y type of codes 1 to 16."));
    return false;
}

struct PisaPoint {
    double D = 0.0;     // pile diameter
    double z = 0.0;     // depth below the ground surface
    double su = 0.0;    // undrained strength (clays)
    double Dr = 0.0;    // relative density, fraction (sand)
    double G0 = 0.0;    // small-strain shear modulus
    double sigma = 0.0; // vertical effective stress
    double s = 0.0;     // the normalising stress: s_u of a clay, sigma'_v of the sand
    double pm = 1.0;    // p- and y-multipliers of the group table
    double ym = 1.0;
    ConicParameters py; // p-y conic
    ConicParameters mt; // m-theta conic
};

// Secant of a normalised conic in physical units: reaction = scale_y * f(x / scale_x), slope
// at zero k scale_y / scale_x. Returns the secant reaction/displacement at |x|.
double Secant(const ConicParameters& c, double x, double scale_x, double scale_y) {
    const double ax = std::fabs(x);
    if (ax == 0.0) {
        return c.k * scale_y / scale_x;
    }
    return scale_y * Conic_Reaction(c, ax / scale_x) / ax;
}

class PisaModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const int code = m.Layers[p.layer].i_SoilLayer_py_Type;
        soil_ = Soil_Of(code);
        clay_ = soil_ != PisaSoil::Dunkirk_Sand;
        PisaPoint& q = q_;
        q.pm = fn_pMult(m, p.v.X);
        q.ym = fn_yMult(m, p.v.X);
        q.D = Pile_Props_at_DepthX(m, p.v.X).b;
        if (m.RunStatus != 0) {
            return false;
        }
        const double Xgs = m.Ground_Surface_Depth;
        q.z = std::max(p.v.Xv - Xgs, 0.0);
        q.sigma = q.z > 0.0 ? fn_Gamma_Avg(m, p.v.Xv) * q.z : 0.0;
        if (m.RunStatus != 0) {
            return false;
        }
        const SoilProfile& prof = m.Profile;
        q.su = Layer_Value(prof, p.layer, p.v.Xv, prof.c);
        q.Dr = Layer_Value(prof, p.layer, p.v.Xv, prof.Dr) / 100.0;
        q.G0 = Layer_Value(prof, p.layer, p.v.Xv, prof.G0);
        q.s = clay_ ? q.su : q.sigma;
        L_ = Embedded_Length(m);
        const double z_D = q.D > 0.0 ? q.z / q.D : 0.0;
        const double z_L = L_ > 0.0 ? q.z / L_ : 0.0;
        const PisaParameters py =
            Pisa_Parameters(soil_, PisaReaction::Lateral, z_D, z_L, 0.0, q.Dr);
        const PisaParameters mt = Pisa_Parameters(soil_, PisaReaction::Moment, z_D, z_L, 0.0, q.Dr);
        if (!Check_Parameters(m, py, PisaReaction::Lateral, p.layer, q.z, z_D, "z/D") ||
            !Check_Parameters(m, mt, PisaReaction::Moment, p.layer, q.z, z_D, "z/D")) {
            return false;
        }
        q.py = py.c;
        q.mt = mt.c;
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        PisaPrintedCurve c;
        c.layer = p.layer;
        c.curve = m.Py.Print_Curve_Number[p.i] > 0 ? m.Py.Print_Curve_Number[p.i] : p.i;
        c.soil = soil_;
        c.X = p.v.X;
        c.Xv = p.v.Xv;
        c.D = q_.D;
        c.su = q_.su;
        c.Dr = q_.Dr;
        c.G0 = q_.G0;
        c.sigma = q_.sigma;
        c.pm = q_.pm;
        c.ym = q_.ym;
        c.py = q_.py;
        c.mt = q_.mt;
        // The sand's m-theta curve scales with the lateral reaction mobilised at this depth.
        c.p_mobilised = std::fabs(Lateral_Reaction(py_Scaled_Deflection(p.v, q_.ym)));
        Print_Pisa_Curve(m, c);
    }

    bool Secant_Modulus(AnalysisModel& m, const PyLayerPoint& p, double& Es) override {
        const PisaPoint& q = q_;
        const double yr = py_Scaled_Deflection(p.v, q.ym);
        Es = q.s > 0.0 && q.G0 > 0.0 ? q.pm * Secant(q.py, yr, q.s * q.D / q.G0, q.s * q.D) / q.ym
                                     : 0.0;
        PileNode& node = m.Nodes[p.i];
        node.Km = 0.0;
        if (!m.Pisa_Moment_And_Base_Springs || !(q.s > 0.0) || !(q.G0 > 0.0)) {
            return true;
        }
        const FdSolution& sol = m.Lateral.Solution;
        const double h = m.Increment_Length;
        const double theta = (sol.y(p.i + 1) - sol.y(p.i - 1)) / (2.0 * h);
        if (clay_) {
            node.Km = Secant(q.mt, theta, q.su / q.G0, q.su * q.D * q.D);
        } else {
            // m = |p| D m(theta G0 / sigma'_v) with p the mobilised lateral reaction.
            const double p_mob = Es * std::fabs(p.v.y - p.v.ysm);
            node.Km = Secant(q.mt, theta, q.sigma / q.G0, p_mob * q.D);
        }
        if (p.i == m.i_Num_Nodes) {
            return Set_Base_Springs(m, p, sol, theta);
        }
        return true;
    }

  private:
    // The embedded length: from the ground surface to the tip, vertically.
    static double Embedded_Length(const AnalysisModel& m) {
        const int N = m.i_Num_Nodes;
        return N > 0 ? m.Nodes[N].Xv - m.Ground_Surface_Depth : 0.0;
    }

    // p at the scaled deflection, multiplied, unsigned.
    double Lateral_Reaction(double yr) const {
        const PisaPoint& q = q_;
        if (!(q.s > 0.0) || !(q.G0 > 0.0)) {
            return 0.0;
        }
        return q.pm * q.s * q.D * Conic_Reaction(q.py, yr * q.G0 / (q.s * q.D));
    }

    // The base springs of the layer that holds the tip: shear against the tip displacement,
    // moment against the tip rotation, with the soil values at the tip.
    bool Set_Base_Springs(AnalysisModel& m, const PyLayerPoint& p, const FdSolution& sol,
                          double theta) {
        const PisaPoint& q = q_;
        const double L_D = q.D > 0.0 ? L_ / q.D : 0.0;
        const PisaParameters hb =
            Pisa_Parameters(soil_, PisaReaction::Base_Shear, 0.0, 0.0, L_D, q.Dr);
        const PisaParameters mb =
            Pisa_Parameters(soil_, PisaReaction::Base_Moment, 0.0, 0.0, L_D, q.Dr);
        if (!Check_Parameters(m, hb, PisaReaction::Base_Shear, p.layer, q.z, L_D, "L/D") ||
            !Check_Parameters(m, mb, PisaReaction::Base_Moment, p.layer, q.z, L_D, "L/D")) {
            return false;
        }
        const double v = sol.y(p.i) - p.v.ysm;
        m.Base_Shear_Spring = Secant(hb.c, v, q.s * q.D / q.G0, q.s * q.D * q.D);
        m.Base_Moment_Spring = Secant(mb.c, theta, q.s / q.G0, q.s * q.D * q.D * q.D);
        return true;
    }

    PisaSoil soil_ = PisaSoil::Cowden_Clay;
    bool clay_ = true;
    double L_ = 0.0;
    PisaPoint q_;
};

} // namespace

void py_Pisa(AnalysisModel& m, int layer) {
    PisaModel model;
    Run_py_Layer(m, layer, model);
}

} // namespace zarno
