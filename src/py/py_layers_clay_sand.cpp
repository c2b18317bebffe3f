// Clay and sand soil models as the layer driver runs them (py_layer_driver.h): each looks
// up the soil at a point of its layer, builds the model's curve with its core, and gives
// the driver its resistance for the layer integral, its secant modulus at the current
// deflection or its printed curve for the report and plot files.
#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"
#include "profile/soil_profile.h"
#include "py/compute_x_eq.h"
#include "py/liquefied_sand.h"
#include "py/py_framework.h"
#include "py/py_layer_driver.h"
#include "py/py_models.h"
#include "py/py_report_lines.h"
#include "py/sand.h"
#include "py/soft_clay.h"
#include "py/stiff_clay_free_water.h"
#include "py/stiff_clay_no_water.h"
#include "report/fortran_format.h"

#include <cmath>
#include <fmt/format.h>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zarno {

namespace {

// A clay strength outside the usual range of its p-y type: the warning's code with a note
// naming the layer, the value in the units it was typed in and the likely unit mistake.
// The code's tally counts every station; the note is kept once per layer.
void Record_Clay_Strength_Warning(AnalysisModel& m, int code, int layer, const char* model,
                                  double c, double X) {
    const bool si = m.IUNITS == SI;
    const double typed = si ? c : c * 144.0; // psi inside, psf in the input
    const char* unit = si ? "kPa" : "psf";
    const double depth = si ? X : X / 12.0;
    const char* depth_unit = si ? "m" : "ft";
    std::string hint;
    if (si && typed > 5000.0) {
        hint = "The value is more than any clay has in kPa: was it entered in Pa? Cohesion is "
               "read in kPa.";
    } else if (!si && typed > 100000.0) {
        hint = "The value is more than any clay has in psf: was it entered in another unit? "
               "Cohesion is read in psf.";
    } else if (si && typed < 1.0) {
        hint = "The value is very small in kPa: was it entered in MPa? Cohesion is read in kPa.";
    } else if (!si && typed < 10.0) {
        hint = "The value is very small in psf: was it entered in psi or ksf? Cohesion is read "
               "in psf.";
    } else {
        hint = "Check the value; another p-y type may suit a clay of this strength.";
    }
    const std::string subject = fmt::format("SOIL LAYERS, layer {} ({})", layer, model);
    Record_Warning_Once(m, code, subject,
                        {fmt::format("{}: the undrained shear strength of {:g} {} at {:g} {} "
                                     "below the pile head is outside the usual range of this "
                                     "p-y type.",
                                     subject, typed, unit, depth, depth_unit),
                         hint});
}

// A friction angle outside 20 to 48 degrees, with the layer and the value.
void Record_Friction_Warning(AnalysisModel& m, int code, int layer, const char* model,
                             double phi_deg) {
    const std::string subject = fmt::format("SOIL LAYERS, layer {} ({})", layer, model);
    Record_Warning_Once(m, code, subject,
                        {fmt::format("{}: the friction angle of {:g} degrees is outside 20 to "
                                     "48 degrees.",
                                     subject, phi_deg),
                         "The friction angle is read in degrees; check the value."});
}

// A layer's bottom k of 0 or less takes the top value (and keeps it), at every point that
// asks for k.
void Settle_Bottom_k(SoilLayer& s) {
    if (s.k_Bottom <= 0.0) {
        s.k_Bottom = s.k_Top;
    }
}

// The subgrade modulus k of a layer at X: linear between its top and bottom values, after
// Settle_Bottom_k.
double Layer_k(AnalysisModel& m, int layer, double X) {
    SoilLayer& s = m.Layers[layer];
    Settle_Bottom_k(s);
    const double t = s.XLayerBottom - s.XLayerTop;
    if (!(std::fabs(t) > 0.0)) {
        return s.k_Top;
    }
    return s.k_Top + (s.k_Bottom - s.k_Top) * (X - s.XLayerTop) / t;
}

// The stiff clays' subgrade modulus at a point: Layer_k, then the model's default where the
// layer gives none (k_at computes both). Through the node's entry when the layer's values
// and the loading are those it was found for; the layer's bottom value still settles on the
// top one at every point, as Layer_k does.
template <typename F> double Stiff_Clay_k(AnalysisModel& m, PyNodeEntry* e, int layer, F k_at) {
    if (e == nullptr) {
        return k_at();
    }
    SoilLayer& s = m.Layers[layer];
    Settle_Bottom_k(s);
    const ClayKInput in{.k_Top = s.k_Top,
                        .k_Bottom = s.k_Bottom,
                        .XLayerTop = s.XLayerTop,
                        .XLayerBottom = s.XLayerBottom,
                        .b_Cyclic = m.b_Cyclic};
    return Memoized<ClayKMemo>(e->clay_k, in, [&](const ClayKInput&) { return k_at(); });
}

// The equivalent depth of a lower clay layer, computed at its first node from the node's
// values; ca and J only for the models that use them, the others leave them as they are.
void Clay_X_Eq(AnalysisModel& m, const PyLayerPoint& p, double b, double c, double gamma,
               std::optional<double> ca, std::optional<double> J) {
    if (!py_Needs_X_Eq(m, p)) {
        return;
    }
    PyState& py = m.Py;
    py.b = b;
    py.c = c;
    if (ca) {
        py.ca = *ca;
    }
    py.Gamma = gamma;
    if (J) {
        py.J = *J;
    }
    py.xt = p.v.Xv - m.Ground_Surface_Depth;
    Compute_X_Eq(m, p.layer);
}

// A soil modulus that is not a number: {"default", "computed"} value of the model.
int Modulus_Not_A_Number(AnalysisModel& m, int number, const char* value, const char* model,
                         int node) {
    return Fail_Run_Numbered(m, MessageId::SoilModulusNotANumber, 200 + number, value, model,
                             Format_I(node, 0));
}

// ---------------------------------------------------------------------------------------
// Soft clay

int Soft_Clay_Zero_Strength(AnalysisModel& m, int layer, int node, double X, double c,
                            bool user_J) {
    const std::string where = fmt::format(
        "Layer no. = {}, Node no. = {}, Top node in layer = {}, Elevation = {}, c(x) = {}", layer,
        node, m.Py.KTOP, Format_F(X, 10, 3), Format_F(c, 10, 3));
    const std::string pile = fmt::format(", Pile length = {}, ITOP = {}, IBOT = {}",
                                         Format_F(m.Pile_Length, 10, 3), m.Py.KTOP, m.Py.KBOT);
    return Fail_Run_Numbered(m, MessageId::SoftClayZeroStrength, user_J ? 171 : 112,
                             user_J ? " with J" : "", where, pile);
}

struct SoftClayPrint {
    int layer;
    int curve;
    PyNodeView v;
    double b, c, gamma, eps50, J, pm, ym;
};

void Print_Soft_Clay(AnalysisModel& m, const SoftClayPrint& d, const SoftClayParams& sc,
                     bool user_J) {
    const UnitLabels& u = m.Labels;
    const bool cycles = m.Number_Of_Cycles >= 2.0;
    const std::string fpl = py_Force_Per_Length(m);
    const char* loading = cycles ? "Cyclic" : "Static";
    Write_py_Title(m, user_J ? fmt::format("p-y Curve Computed Using the Soft Clay Criteria with J "
                                           "for {} Loading Conditions",
                                           loading)
                             : fmt::format("p-y Curve Computed Using the Soft Clay Criteria for "
                                           "{} Loading Conditions",
                                           loading));
    Write_py_Label_Line(m, "Soil Layer Number", Format_I(d.layer, 12));
    const bool feet = user_J ? m.IUNITS != SI : m.IUNITS == USCS;
    Write_py_Depth_Lines(m, d.v.X, d.v.Xv - m.Ground_Surface_Depth, "Equivalent Depth", sc.x, feet);
    Write_py_Slope_Lines(m, "Pile Batter");
    Write_py_Label_Line(m, "Pile Diameter", py_F12(d.b, 3), u.Length);
    const bool si_only = user_J && m.IUNITS != SI; // SoftClyJ shows only psf outside SI
    if (!si_only) {
        Write_py_Label_Line(m, "Cohesion, c", py_F12(d.c, 3), u.Material_Stress);
    }
    if (si_only || (!user_J && m.IUNITS == USCS)) {
        Write_py_Label_Line(m, "Cohesion, c", py_F12(d.c * 144.0, 3), u.Soil_Stress);
    }
    if (!si_only) {
        Write_py_Label_Line(m, "Avg. Eff. Unit Weight", py_F12(d.gamma, 5), u.Force_Per_Volume);
    }
    if (si_only || (!user_J && m.IUNITS == USCS)) {
        Write_py_Label_Line(m, "Avg. Eff. Unit Weight", py_F12(d.gamma * 1728.0, 5), u.Unit_Weight);
    }
    Write_py_Label_Line(m, "Epsilon50 parameter", py_F12(d.eps50, 5));
    Write_py_Label_Line(m, user_J ? "J parameter" : "J (default value)", py_F12(d.J, 3));
    Write_py_Label_Line(m, "Transition Depth Xr", py_F12(sc.Xr, 3), u.Length);
    Write_py_Label_Line(m, "pu_s", py_F12(sc.pu_s, 3), fpl);
    Write_py_Label_Line(m, "pu_d", py_F12(sc.pu_d, 3), fpl);
    Write_py_Label_Line(m, "y_50", py_F12(sc.y50, 5), u.Length);
    Write_py_Multiplier_Lines(m, d.pm, d.ym);
    if (cycles) {
        Write_py_Label_Line(m, "Number of cycles of loading", py_F12(m.Number_Of_Cycles, 0),
                            user_J ? "" : "cycles");
        Write_py_Label_Line(m, user_J ? "Xr" : "X_r", py_F12(sc.Xr, 3), u.Length);
    }
    Write_py_Plot_Line7(m, d.v.X, 17,
                        user_J ? "Line 7:  p-y curve depth in soft clay with J, "
                               : "Line 7:  p-y curve depth in soft clay, ",
                        d.curve,
                        user_J ? "no. points on p-y curve no. " : "no. p-y points on curve no. ");
    const double factor = std::fabs(m.Slope_Minus_Batter) > 1e-20 ? sc.Slope_Factor : 1.0;
    Write_py_Label_Line(m, "Sloping Ground Factor", py_F12(factor, 5));
    Write_py_Label_Line(m, "pu_static", py_F12(sc.pu, 3), fpl);
    if (cycles) {
        Write_py_Label_Line(m, "pu_cyclic", py_F12(sc.pc, 3), fpl);
    }
    m.Report.Blank_Lines(1);
    m.Report.Write_Line("        y, " + Trim_Right(u.Length) + "             p, " + fpl);
    m.Report.Write_Line("----------------    -----------------");
    const std::array<double, 18> y = Soft_Clay_Print_y(sc);
    const double limit = Soft_Clay_Limit_Modulus(sc, user_J);
    bool limited = false;
    for (int j = 1; j <= 17; ++j) {
        const bool below = Soft_Clay_Below_Limit(sc, y[j]);
        const double p = below ? y[j] * limit : Soft_Clay_p(sc, y[j]);
        Write_py_Number_Row(m, y[j] * d.ym, p * d.pm);
        Write_py_Plot_Line8(m, y[j] * d.ym, p * d.pm, j, user_J ? "API soft clay" : "soft clay");
        if (below && j > 1) {
            TextFile& r = m.Report;
            r.Blank_Lines(1);
            r.Write_Line("**** Warning ****");
            r.Blank_Lines(1);
            r.Write_Line("The pile deflection is less than 0.00001*Y50.");
            r.Write_Line("Zarno used the limiting value of soil modulus (= " +
                         Format_ES(limit, 12, 4) + " " + fpl + "/" + Trim_Right(u.Length));
            r.Write_Line(user_J ? ") when computing the p-y curve for soft clay with J."
                                : ") when computing the p-y curve for soft clay.");
            limited = true;
        }
    }
    if (limited) {
        Record_Warning(m, WARNING_LIMITING_MODULUS,
                       {fmt::format("Printed p-y curve {} (soil layer {}, depth {:g} {} below the "
                                    "pile head): its smallest deflections are below 0.00001*y50, "
                                    "where the limiting soil modulus is used.",
                                    d.curve, d.layer, d.v.X, Trim_Right(u.Length)),
                        "No action is needed unless the pile deflects that little."});
    }
}

class SoftClayModel final : public PyLayerModel {
  public:
    explicit SoftClayModel(bool user_J) : user_J_(user_J) {}

    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const int layer = p.layer;
        const double X = p.v.Xv;
        PyNodeEntry* const e = py_Node_Cache_Entry(m, p);
        const PySoilValues* const known = py_Known_Soil(e);
        bool at_node = false;
        int warning = 0;
        if (known != nullptr) {
            b_ = known->b;
            c_ = known->c;
            at_node = known->at_interface;
            warning = known->strength_warning;
            gamma_ = known->gamma;
            J_ = known->J;
            pm_ = known->pm;
            ym_ = known->ym;
        } else {
            b_ = Pile_Props_at_DepthX(m, p.v.X).b;
            const StrengthAtX strength = fn_c_In_Layer(m, layer, X);
            c_ = strength.value;
            if (m.RunStatus > 0) {
                return false;
            }
            at_node = strength.b_AtNode;
            gamma_ = fn_Gamma_Avg(m, X);
            if (m.RunStatus > 0) {
                return false;
            }
            J_ = user_J_ ? fn_J_In_Layer(m, layer, X) : m.Default_J;
            pm_ = fn_pMult(m, p.v.X);
            ym_ = fn_yMult(m, p.v.X);
            if (!at_node) {
                if (m.IUNITS == USCS && c_ > SOFT_CLAY_MAX_C_USCS) {
                    warning = -3041;
                } else if (m.IUNITS == SI && c_ > SOFT_CLAY_MAX_C_SI) {
                    warning = -3042;
                }
            }
        }
        if (warning != 0) {
            Record_Clay_Strength_Warning(m, warning, layer,
                                         user_J_ ? "soft clay with J" : "soft clay", c_, X);
        }
        // A curve kept for the same loading: eps50 after its default is the entry's own, as
        // py_Kept_Curve argues.
        const SoftClayMemo* kept = py_Kept_Curve<SoftClayMemo>(e);
        if (kept != nullptr && kept->in.b_Cyclic != m.b_Cyclic) {
            kept = nullptr;
        }
        if (kept != nullptr) {
            eps50_ = kept->in.eps50;
        } else {
            eps50_ = known != nullptr ? known->eps50 : fn_Eps50_In_Layer(m, layer, X);
            py_Keep_Soil(e, {.b = b_,
                             .c = c_,
                             .at_interface = at_node,
                             .strength_warning = warning,
                             .gamma = gamma_,
                             .eps50 = eps50_,
                             .J = J_,
                             .pm = pm_,
                             .ym = ym_});
            if (eps50_ <= 0.0) {
                const std::optional<double> d = Soft_Clay_Default_Eps50(c_, m.IUNITS);
                if (!d) {
                    // No default strain in general units: the run stops, the caller explains.
                    return Fail_Run(m, user_J_ ? MessageId::NoStrainSoftClayWithJ
                                               : MessageId::NoStrainSoftClay) == 0;
                }
                eps50_ = *d;
            }
        }
        if (!p.first && c_ < 1e-10) {
            return Soft_Clay_Zero_Strength(m, layer, p.i, X, c_, user_J_) == 0;
        }
        Clay_X_Eq(m, p, b_, c_, gamma_, std::nullopt, J_);
        const double x = py_Node_Model_Depth(m, e, layer, X);
        if (kept != nullptr && Same_Bits(kept->in.x, x) &&
            Same_Slope_Side(kept->in.theta, kept->in.y_slope, m.Slope_Minus_Batter, p.v.y)) {
            sc_ = &kept->out;
            return true;
        }
        SoftClayInput in;
        in.x = x;
        in.b = b_;
        in.c = c_;
        in.gamma = gamma_;
        in.eps50 = eps50_;
        in.J = J_;
        in.theta = m.Slope_Minus_Batter;
        in.y_slope = p.v.y;
        in.b_Cyclic = m.b_Cyclic;
        sc_ = &py_Cached_Curve<SoftClayMemo>(e, in, Soft_Clay_Params, own_);
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Print_Soft_Clay(
            m, {p.layer, m.Py.Print_Curve_Number[p.i], p.v, b_, c_, gamma_, eps50_, J_, pm_, ym_},
            *sc_, user_J_);
    }

    bool Integrates_Resistance() const override { return true; }

    PyResistance Resistance(const AnalysisModel& m, const PyLayerPoint&) const override {
        // Cyclic loading integrates the cyclic resistance, and the reduced one above the
        // transition depth; the tail below the last node is the static resistance.
        PyResistance r;
        if (m.b_Cyclic) {
            r.strip[0] = sc_->pc;
            r.strip[1] = sc_->pr;
            r.integrate[1] = sc_->x < sc_->Xr;
        } else {
            r.strip[0] = sc_->pu;
        }
        r.tail = sc_->pu;
        return r;
    }

    std::optional<double> Whole_Layer_Resistance(const AnalysisModel& m) const override {
        return (3.0 * c_ * b_ + sc_->pu) * 0.5 * py_Layer_Thickness(m, 1);
    }

    bool Secant_Modulus(AnalysisModel& m, const PyLayerPoint& p, double& Es) override {
        const double yr = py_Scaled_Deflection(p.v, ym_);
        if (Soft_Clay_Below_Limit(*sc_, yr)) {
            Es = Soft_Clay_Limit_Modulus(*sc_, user_J_);
            if (std::isnan(Es)) {
                return Modulus_Not_A_Number(m, user_J_ ? 35 : 33, "default",
                                            user_J_ ? "API soft clay" : "soft clay", p.i) == 0;
            }
            return true;
        }
        Es = pm_ * Soft_Clay_p(*sc_, yr) / (ym_ * yr);
        if (std::isnan(Es)) {
            return (user_J_ ? Fail_Run(m, MessageId::ApiSoftClayModulusNotANumber, Format_I(p.i, 0))
                            : Modulus_Not_A_Number(m, 34, "computed", "soft clay", p.i)) == 0;
        }
        return true;
    }

  private:
    bool user_J_;
    double b_ = 0.0, c_ = 0.0, gamma_ = 0.0, J_ = 0.0, eps50_ = 0.0, pm_ = 1.0, ym_ = 1.0;
    // The curve at the point: the entry's, or own_ without an entry.
    SoftClayParams own_{};
    const SoftClayParams* sc_ = &own_;
};

// ---------------------------------------------------------------------------------------
// Stiff clay with free water

void Print_Stiff_Clay_Free_Water(AnalysisModel& m, int layer, int curve, const PyNodeView& v,
                                 double x, double b, double c, double ca, double gamma, double k,
                                 double eps50, double pm, double ym,
                                 const StiffClayFreeWaterParams& sc) {
    const UnitLabels& u = m.Labels;
    const bool us = m.IUNITS == USCS;
    const std::string fpl = py_Force_Per_Length(m);
    Write_py_Title(m, m.b_Cyclic ? "p-y Curve Computed Using Cyclic Criteria for Stiff Clay with "
                                   "Free Water"
                                 : "p-y Curve Computed Using Static Criteria for Stiff Clay with "
                                   "Free Water");
    Write_py_Label_Line(m, "Soil Layer Number", Format_I(layer, 12));
    Write_py_Depth_Lines(m, v.X, v.Xv - m.Ground_Surface_Depth, "Equivalent Depth", x, us);
    Write_py_Label_Line(m, "Diameter", py_F12(b, 3), u.Length);
    Write_py_Label_Line(m, "c (at curve depth)", py_F12(c, 3), u.Material_Stress);
    Write_py_Label_Line(m, "Average cohesion, c", py_F12(ca, 5), u.Material_Stress);
    if (us) {
        Write_py_Label_Line(m, "Undrained cohesion, c", py_F12(ca * 144.0, 3), u.Soil_Stress);
    }
    Write_py_Label_Line(m, "Average Eff. Unit Weight", py_F12(gamma, 5), u.Force_Per_Volume);
    if (us) {
        Write_py_Label_Line(m, "Average Eff. Unit Weight", py_F12(gamma * 1728.0, 5),
                            u.Unit_Weight);
    }
    Write_py_Label_Line(m, "k", py_F12(k, 3), u.Force_Per_Volume2);
    Write_py_Label_Line(m, "Epsilon50", py_F12(eps50, 5));
    Write_py_Label_Line(m, "y50", py_F12(sc.y50, 5), u.Length);
    Write_py_Label_Line(m, "As", py_F12(sc.As, 5));
    Write_py_Label_Line(m, m.b_Cyclic ? "Ac" : "Ac (not used)", py_F12(sc.Ac, 5));
    Write_py_Label_Line(m, "pct", py_F12(sc.pct, 3), fpl);
    Write_py_Label_Line(m, "pcd", py_F12(sc.pcd, 3), fpl);
    Write_py_Label_Line(m, "pc", py_F12(sc.pc, 3), fpl);
    Write_py_Label_Line(m, "pu", py_F12(sc.pr, 3), fpl);
    Write_py_Multiplier_Lines(m, pm, ym);
    if (m.b_Cyclic) {
        Write_py_Label_Line(m, "Number of Cycles of Loading", py_F12(m.Number_Of_Cycles, 0));
    }
    m.Report.Blank_Lines(1);
    m.Report.Write_Line("        y, " + Trim_Right(u.Length) + "             p," + fpl);
    m.Report.Write_Line("----------------    -----------------");
    Write_py_Plot_Line7(m, v.X, 17, "Line 7:  p-y curve depth in stiff clay with free water, ",
                        curve);
    const std::array<double, 18> y = Stiff_Clay_Free_Water_Print_y(sc);
    for (int j = 1; j <= 17; ++j) {
        const double p = y[j] < 1e-14 ? sc.Esi * y[j] : Stiff_Clay_Free_Water_p(sc, y[j]);
        const double yy = y[j] * ym;
        const double pp = p * pm;
        if (m.b_Cyclic) {
            m.Report.Write_Line(Format_F(yy, 15, 4) + Format_F(pp, 17, 3));
        } else {
            Write_py_Number_Row(m, yy, pp);
        }
        Write_py_Plot_Line8(m, yy, pp, j,
                            m.b_Cyclic ? "cyclic stiff clay with free water"
                                       : "static stiff clay with free water");
    }
}

// The warning of a stiff clay whose strength c lies outside the range of its criteria (none
// on an interface of the strength table), 0 for none.
int Stiff_Clay_Warning(int IUNITS, double c, bool at_node, double min_us, double max_us,
                       double min_si, double max_si, int base) {
    if (at_node) {
        return 0;
    }
    if (IUNITS == USCS) {
        if (c < min_us) {
            return base - 1;
        }
        if (c > max_us) {
            return base - 2;
        }
    } else if (IUNITS == SI) {
        if (c < min_si) {
            return base - 3;
        }
        if (c > max_si) {
            return base - 4;
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------------------
// Stiff clay without free water

void Print_Stiff_Clay_No_Water(AnalysisModel& m, int layer, int curve, const PyNodeView& v,
                               double x, double b, double c, double gamma, double k, double eps50,
                               double pm, double ym, const StiffClayNoWaterParams& sc,
                               bool initial_k) {
    const UnitLabels& u = m.Labels;
    const bool us = m.IUNITS == USCS;
    const std::string fpl = py_Force_Per_Length(m);
    const char* title = m.b_Cyclic
                            ? "p-y Curve Computed Using Cyclic Criteria for Stiff Clay without "
                              "Free Water"
                            : "p-y Curve Computed Using Static Criteria for Stiff Clay without "
                              "Free Water";
    Write_py_Title(m, title, initial_k ? "with Option of Defining Initial k" : "");
    Write_py_Label_Line(m, "Soil Layer Number", Format_I(layer, 12));
    Write_py_Depth_Lines(m, v.X, v.Xv - m.Ground_Surface_Depth, "Equivalent Depth", x, us);
    if (!initial_k) {
        Write_py_Slope_Lines(m, "Pile Batter Angle");
    }
    Write_py_Label_Line(m, "Diameter", py_F12(b, 3), u.Length);
    Write_py_Label_Line(m, "Undrained cohesion, c", py_F12(c, 5), u.Material_Stress);
    if (us) {
        Write_py_Label_Line(m, "Undrained cohesion, c", py_F12(c * 144.0, 5), u.Soil_Stress);
    }
    Write_py_Label_Line(m, "Average Eff. Unit Weight", py_F12(gamma, 5), u.Force_Per_Volume);
    if (us) {
        Write_py_Label_Line(m, "Average Eff. Unit Weight", py_F12(gamma * 1728.0, 5),
                            u.Unit_Weight);
    }
    if (initial_k) {
        Write_py_Label_Line(m, "k", py_F12(k, 0), u.Force_Per_Volume2);
    }
    Write_py_Label_Line(m, "Epsilon-50", py_F12(eps50, 5));
    Write_py_Label_Line(m, "Pct", py_F12(sc.pct, 3), fpl);
    Write_py_Label_Line(m, "Pcd", py_F12(sc.pcd, 3), fpl);
    Write_py_Label_Line(m, "Pu", py_F12(sc.pu, 3), fpl);
    Write_py_Label_Line(m, "y50", py_F12(sc.y50, 5), u.Length);
    Write_py_Multiplier_Lines(m, pm, ym);
    if (m.b_Cyclic) {
        Write_py_Label_Line(
            m, initial_k ? "Number of Cycles of Loading" : "Number of cycles of loading ",
            py_F12(m.Number_Of_Cycles, 0));
    }
    m.Report.Blank_Lines(1);
    m.Report.Write_Line("        y, " + Trim_Right(u.Length) + "            p, " + fpl);
    m.Report.Write_Line("----------------    -----------------");
    Write_py_Plot_Line7(m, v.X, 17,
                        initial_k ? "Line 7:  p-y curve depth in stiff clay w/o free water with k, "
                                  : "Line 7:  p-y curve depth in stiff clay w/o free water, ",
                        curve);
    const std::array<double, 18> y = Stiff_Clay_No_Water_Print_y(sc, m.Number_Of_Cycles);
    for (int j = 1; j <= 17; ++j) {
        const double p = Stiff_Clay_No_Water_Below_Limit(sc, y[j])
                             ? y[j] * Stiff_Clay_No_Water_Limit_Modulus(sc, 1.0, 1.0)
                             : Stiff_Clay_No_Water_p(sc, y[j]);
        Write_py_Number_Row(m, y[j] * ym, p * pm);
        Write_py_Plot_Line8(m, y[j] * ym, p * pm, j,
                            initial_k ? "stiff clay with k" : "stiff clay w/o water");
    }
}

// Multipliers, pile width and cohesion of a stiff clay at a point, from the tables (in that
// order, so a failed look-up stops the run where it always did). False when a look-up
// stopped the run.
bool Stiff_Clay_Soil_Lookups(AnalysisModel& m, const PyLayerPoint& p, double& pm, double& ym,
                             double& b, double& c, bool& at_node) {
    pm = fn_pMult(m, p.v.X);
    ym = fn_yMult(m, p.v.X);
    b = Pile_Props_at_DepthX(m, p.v.X).b;
    const StrengthAtX strength = fn_c_In_Layer(m, p.layer, p.v.Xv);
    c = strength.value;
    if (m.RunStatus > 0) {
        return false;
    }
    at_node = strength.b_AtNode;
    return true;
}

// The same values from the station's cache when they were looked up there before; asked at
// every node of every pass, so the cached case is decided here, inline.
inline bool Stiff_Clay_Soil_At(AnalysisModel& m, const PyLayerPoint& p, const PySoilValues* known,
                               double& pm, double& ym, double& b, double& c, bool& at_node) {
    if (known == nullptr) {
        return Stiff_Clay_Soil_Lookups(m, p, pm, ym, b, c, at_node);
    }
    pm = known->pm;
    ym = known->ym;
    b = known->b;
    c = known->c;
    at_node = known->at_interface;
    return true;
}

class StiffClayNoWaterModel final : public PyLayerModel {
  public:
    explicit StiffClayNoWaterModel(bool initial_k) : initial_k_(initial_k) {}

    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const int layer = p.layer;
        const double X = p.v.Xv;
        PyNodeEntry* const e = py_Node_Cache_Entry(m, p);
        const PySoilValues* const known = py_Known_Soil(e);
        bool at_node = false;
        if (!Stiff_Clay_Soil_At(m, p, known, pm_, ym_, b_, c_, at_node)) {
            return false;
        }
        if (!p.first && c_ < 1e-10) {
            return Fail_Run(m, initial_k_ ? MessageId::StiffClayZeroCohesionInitialK
                                          : MessageId::StiffClayZeroCohesion) == 0;
        }
        const int warning =
            known != nullptr
                ? known->strength_warning
                : Stiff_Clay_Warning(m.IUNITS, c_, at_node, STIFF_CLAY_AW_MIN_C_USCS,
                                     STIFF_CLAY_AW_MAX_C_USCS, STIFF_CLAY_AW_MIN_C_SI,
                                     STIFF_CLAY_AW_MAX_C_SI, initial_k_ ? -3260 : -3060);
        if (warning != 0) {
            Record_Clay_Strength_Warning(m, warning, layer,
                                         initial_k_ ? "stiff clay without free water, with k"
                                                    : "stiff clay without free water",
                                         c_, X);
        }
        c_avg_ = known != nullptr ? known->c_avg : fn_c_Avg(m, X);
        if (m.RunStatus > 0) {
            return false;
        }
        gamma_ = known != nullptr ? known->gamma : fn_Gamma_Avg(m, X);
        if (m.RunStatus > 0) {
            return false;
        }
        eps50_ = known != nullptr ? known->eps50 : fn_Eps50_In_Layer(m, layer, X);
        py_Keep_Soil(e, {.b = b_,
                         .c = c_,
                         .at_interface = at_node,
                         .strength_warning = warning,
                         .c_avg = c_avg_,
                         .gamma = gamma_,
                         .eps50 = eps50_,
                         .pm = pm_,
                         .ym = ym_});
        if (eps50_ <= 0.0) {
            if (const std::optional<double> d = Stiff_Clay_No_Water_Default_Eps50(c_, m.IUNITS)) {
                eps50_ = *d;
            }
        }
        Clay_X_Eq(m, p, b_, c_, gamma_, c_avg_, std::nullopt);
        x_ = py_Node_Model_Depth(m, e, layer, X);
        k_ = 0.0;
        if (initial_k_) {
            k_ = Stiff_Clay_k(m, e, layer, [&] {
                double k = Layer_k(m, layer, X);
                if (m.Layers[layer].k_Top == 0.0) {
                    if (const std::optional<double> d =
                            Stiff_Clay_No_Water_Default_k(c_, m.IUNITS, m.b_Cyclic)) {
                        k = *d;
                    }
                }
                return k;
            });
        }
        StiffClayNoWaterInput in;
        in.x = x_;
        in.b = b_;
        in.c = c_;
        in.gamma = gamma_;
        in.eps50 = eps50_;
        in.k = k_;
        in.N = m.Number_Of_Cycles;
        in.theta = m.Slope_Minus_Batter;
        in.y_slope = p.v.y;
        in.b_Cyclic = m.b_Cyclic;
        in.b_Initial_k = initial_k_;
        sc_ = &py_Cached_Curve<StiffClayNoWaterMemo>(e, in, Stiff_Clay_No_Water_Params, own_);
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Print_Stiff_Clay_No_Water(m, p.layer, m.Py.Print_Curve_Number[p.i], p.v, x_, b_, c_, gamma_,
                                  k_, eps50_, pm_, ym_, *sc_, initial_k_);
    }

    bool Integrates_Resistance() const override { return true; }

    double Ultimate_Resistance() const override { return sc_->pu; }

    std::optional<double> Whole_Layer_Resistance(const AnalysisModel& m) const override {
        return py_Layer_Thickness(m, 1) * 0.5 * (3.0 * c_avg_ * b_ + sc_->pu);
    }

    bool Secant_Modulus(AnalysisModel&, const PyLayerPoint& p, double& Es) override {
        Es = Stiff_Clay_No_Water_Es(*sc_, py_Scaled_Deflection(p.v, ym_), pm_, ym_);
        return true;
    }

  private:
    bool initial_k_;
    double b_ = 0.0, c_ = 0.0, c_avg_ = 0.0, gamma_ = 0.0, eps50_ = 0.0, k_ = 0.0, x_ = 0.0;
    double pm_ = 1.0, ym_ = 1.0;
    // The curve at the point: the entry's, or own_ without an entry.
    StiffClayNoWaterParams own_{};
    const StiffClayNoWaterParams* sc_ = &own_;
};

// One cycle at least: the cyclic deflections grow with log10 N.
void Stiff_Clay_No_Water_Layer(AnalysisModel& m, int layer, bool initial_k) {
    if (!initial_k && m.Number_Of_Cycles < 1.0) {
        m.Number_Of_Cycles = 1.0;
    }
    if (initial_k && m.Number_Of_Cycles == 0.0) {
        m.Number_Of_Cycles = 1.0;
    }
    StiffClayNoWaterModel model(initial_k);
    Run_py_Layer(m, layer, model);
}

// ---------------------------------------------------------------------------------------
// Stiff clay with free water

class StiffClayFreeWaterModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const int layer = p.layer;
        const double X = p.v.Xv;
        PyNodeEntry* const e = py_Node_Cache_Entry(m, p);
        const PySoilValues* const known = py_Known_Soil(e);
        bool at_node = false;
        if (!Stiff_Clay_Soil_At(m, p, known, pm_, ym_, b_, c_, at_node)) {
            return false;
        }
        if (!p.first && c_ < 1e-10) {
            return Fail_Run(m, MessageId::StiffClayWaterZeroCohesion) == 0;
        }
        const int warning =
            known != nullptr ? known->strength_warning
                             : Stiff_Clay_Warning(m.IUNITS, c_, at_node, STIFF_CLAY_BW_MIN_C_USCS,
                                                  STIFF_CLAY_BW_MAX_C_USCS, STIFF_CLAY_BW_MIN_C_SI,
                                                  STIFF_CLAY_BW_MAX_C_SI, -3050);
        if (warning != 0) {
            Record_Clay_Strength_Warning(m, warning, layer, "stiff clay with free water", c_, X);
        }
        gamma_ = known != nullptr ? known->gamma : fn_Gamma_Avg(m, X);
        if (m.RunStatus > 0) {
            return false;
        }
        // A lower layer averages its strength over its own nodes so far: a running
        // trapezoidal integral of c.
        ca_ = c_;
        if (layer == 1) {
            ca_ = known != nullptr ? known->c_avg : fn_c_Avg(m, X);
            if (m.RunStatus > 0) {
                return false;
            }
        } else if (p.first) {
            c_integral_ = 0.0;
            X_first_ = X;
        } else {
            c_integral_ += (X - X_prev_) * (c_prev_ + c_) / 2.0;
            if (X > X_first_) {
                ca_ = c_integral_ / (X - X_first_);
            }
        }
        X_prev_ = X;
        c_prev_ = c_;
        // A curve kept for the same loading: k and eps50 (after their defaults) are the
        // entry's own, as py_Kept_Curve argues; k depends on the loading too.
        const StiffClayFreeWaterMemo* kept = py_Kept_Curve<StiffClayFreeWaterMemo>(e);
        if (kept != nullptr && kept->in.b_Cyclic != m.b_Cyclic) {
            kept = nullptr;
        }
        if (kept != nullptr) {
            Settle_Bottom_k(m.Layers[layer]);
            k_ = kept->in.k;
            eps50_ = kept->in.eps50;
        } else {
            k_ = Stiff_Clay_k(m, e, layer, [&] {
                double k = Layer_k(m, layer, X);
                if (m.Layers[layer].k_Top <= 0.0) {
                    if (const std::optional<double> d =
                            Stiff_Clay_Free_Water_Default_k(c_, m.IUNITS, m.b_Cyclic)) {
                        k = *d;
                    }
                }
                return k;
            });
            eps50_ = known != nullptr ? known->eps50 : fn_Eps50_In_Layer(m, layer, X);
            py_Keep_Soil(e, {.b = b_,
                             .c = c_,
                             .at_interface = at_node,
                             .strength_warning = warning,
                             .c_avg = layer == 1 ? ca_ : 0.0,
                             .gamma = gamma_,
                             .eps50 = eps50_,
                             .pm = pm_,
                             .ym = ym_});
            if (eps50_ <= 0.0) {
                if (const std::optional<double> d =
                        Stiff_Clay_Free_Water_Default_Eps50(c_, m.IUNITS)) {
                    eps50_ = *d;
                }
            }
        }
        Clay_X_Eq(m, p, b_, c_, gamma_, ca_, std::nullopt);
        x_ = py_Node_Model_Depth(m, e, layer, X);
        if (kept != nullptr && Same_Bits(kept->in.x, x_) && Same_Bits(kept->in.ca, ca_) &&
            Same_Slope_Side(kept->in.theta, kept->in.y_slope, m.Slope_Minus_Batter, p.v.y)) {
            sc_ = &kept->out;
            return true;
        }
        StiffClayFreeWaterInput in;
        in.x = x_;
        in.b = b_;
        in.c = c_;
        in.ca = ca_;
        in.gamma = gamma_;
        in.eps50 = eps50_;
        in.k = k_;
        in.theta = m.Slope_Minus_Batter;
        in.y_slope = p.v.y;
        in.b_Cyclic = m.b_Cyclic;
        sc_ = &py_Cached_Curve<StiffClayFreeWaterMemo>(e, in, Stiff_Clay_Free_Water_Params, own_);
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Print_Stiff_Clay_Free_Water(m, p.layer, m.Py.Print_Curve_Number[p.i], p.v, x_, b_, c_, ca_,
                                    gamma_, k_, eps50_, pm_, ym_, *sc_);
    }

    bool Integrates_Resistance() const override { return true; }

    double Ultimate_Resistance() const override { return sc_->pr; }

    std::optional<double> Whole_Layer_Resistance(const AnalysisModel& m) const override {
        return py_Layer_Thickness(m, 1) * 0.5 * (2.0 * ca_ * b_ + sc_->pc);
    }

    bool Secant_Modulus(AnalysisModel& m, const PyLayerPoint& p, double& Es) override {
        Es = Stiff_Clay_Free_Water_Es(*sc_, py_Scaled_Deflection(p.v, ym_), pm_, ym_);
        if (std::isnan(Es) && !m.b_Cyclic) {
            m.Messages.Write_Line("Error in stiff clay with water at line 502");
        }
        return true;
    }

  private:
    double b_ = 0.0, c_ = 0.0, ca_ = 0.0, gamma_ = 0.0, eps50_ = 0.0, k_ = 0.0, x_ = 0.0;
    double pm_ = 1.0, ym_ = 1.0;
    double c_integral_ = 0.0, X_first_ = 0.0, X_prev_ = 0.0, c_prev_ = 0.0;
    // The curve at the point: the entry's, or own_ without an entry.
    StiffClayFreeWaterParams own_{};
    const StiffClayFreeWaterParams* sc_ = &own_;
};

// ---------------------------------------------------------------------------------------
// Sands

int Sand_Default_k_Error(AnalysisModel& m) {
    return Fail_Run(m, MessageId::SandDefaultK);
}

// The layer's k at X, or the default from the friction angle when the layer gives none
// (its k values are then cleared). Returns false after raising the general-units error.
bool Sand_k(AnalysisModel& m, int layer, double X, double phi_deg, double gamma, double& k,
            bool& b_Default) {
    SoilLayer& s = m.Layers[layer];
    b_Default = false;
    if (s.k_Top <= 0.0) {
        s.k_Top = 0.0;
        s.k_Bottom = 0.0;
        const std::optional<double> d = fn_k_Sand_Default(phi_deg, gamma, m.IUNITS);
        if (!d) {
            k = 0.0;
            return Sand_Default_k_Error(m) == 0;
        }
        k = *d;
        b_Default = true;
        return true;
    }
    k = Layer_k(m, layer, X);
    return true;
}

void Set_Sand_State(AnalysisModel& m, const SandAngles& a, double b, double gamma, double xt) {
    PyState& py = m.Py;
    py.phi = a.phi;
    py.alpha = a.alpha;
    py.beta = a.beta;
    py.K0 = a.K0;
    py.Ka = a.Ka;
    py.Kp = a.Kp;
    py.b = b;
    py.Gamma = gamma;
    py.xt = xt;
}

// The sand angles at a node, through its entry when it has one.
SandAngles Node_Sand_Angles(PyNodeEntry* e, double phi, double K0) {
    const SandAnglesInput in{.phi = phi, .K0 = K0};
    const auto angles = [](const SandAnglesInput& a) { return Sand_Angles(a.phi, a.K0); };
    return e != nullptr ? Memoized<SandAnglesMemo>(e->sand_angles, in, angles) : angles(in);
}

void Below_Rock_Sentence(AnalysisModel& m) {
    if (m.Py.i_RockLayersAbove > 0) {
        m.Report.Write_Line("This layer is below one or more layers of rock.  In this case, the ");
        m.Report.Write_Line("layering correction is not used and the true depth below the ground ");
        m.Report.Write_Line("surface is used when computing the p-y curve.  ");
    } else {
        m.Report.Write_Line("This p-y curve is computed using the equivalent depth.");
    }
}

int Sand_Slope_Error(AnalysisModel& m, int layer, bool api) {
    return Fail_Run(m, api ? MessageId::ApiSandSlope : MessageId::ReeseSandSlope,
                    Format_I(layer, 0));
}

struct SandPrint {
    int layer;
    int curve;
    PyNodeView v;
    double b, gamma, phi_deg, k, pm, ym;
    bool b_Default_k;
};

void Print_Reese_Sand(AnalysisModel& m, const SandPrint& d, const ReeseSandParams& rs) {
    const UnitLabels& u = m.Labels;
    const bool us = m.IUNITS == USCS;
    const std::string fpl = py_Force_Per_Length(m);
    const std::string len = Trim_Right(u.Length);
    Write_py_Title(m, m.b_Cyclic ? "p-y Curve in Sand Computed Using Reese Criteria for Cyclic "
                                   "Loading Conditions"
                                 : "p-y Curve in Sand Computed Using Reese Criteria for Static "
                                   "Loading Conditions");
    Write_py_Label_Line(m, "Soil Layer Number", Format_I(d.layer, 12));
    Write_py_Depth_Lines(m, d.v.X, d.v.Xv - m.Ground_Surface_Depth, "Equivalent Depth (see note)",
                         rs.x, us);
    Write_py_Slope_Lines(m, "Pile Batter");
    Write_py_Label_Line(m, "Pile Diameter, b", py_F12(d.b, 3), u.Length);
    Write_py_Label_Line(m, "Angle of Friction", py_F12(d.phi_deg, 3), "degrees");
    Write_py_Label_Line(m, "Avg. Eff. Unit Weight", py_F12(d.gamma, 5), u.Force_Per_Volume);
    Write_py_Label_Line(m, "kpy", py_F12(d.k, 3), u.Force_Per_Volume2);
    Write_py_Label_Line(m, "K active", py_F12(rs.Angles.Ka, 5));
    Write_py_Label_Line(m, "K passive", py_F12(rs.Angles.Kp, 5));
    Write_py_Label_Line(m, "K0", py_F12(rs.Angles.K0, 5));
    Write_py_Label_Line(m, "Pst", py_F12(rs.pst, 3), fpl);
    Write_py_Label_Line(m, "Psd", py_F12(rs.psd, 3), fpl);
    Write_py_Label_Line(m,
                        rs.b_Shallow ? "Ps = Pst (shallow controls)" : "Ps = Psd (deep controls)",
                        py_F12(rs.ps, 3), fpl);
    Write_py_Label_Line(m, m.b_Cyclic ? "A (cyclic)" : "A (static)", py_F12(rs.A, 5));
    Write_py_Label_Line(m, m.b_Cyclic ? "B (cyclic)" : "B (static)", py_F12(rs.B, 5));
    Write_py_Label_Line(m, "C = Pm/(Ym^(1/n))", py_F12(rs.C, 5));
    Write_py_Label_Line(m, "n = Pm/(m Ym)", py_F12(rs.n, 5));
    Write_py_Label_Line(m, "m = (Pu-Pm)/(Yu-Ym)", py_F12(rs.m, 3), fpl + "/" + len);
    Write_py_Label_Line(m, "Yk = [c/(kx)]^(n/(n-1))", py_F12(rs.yk, 5), u.Length);
    Write_py_Label_Line(m, "Pk", py_F12(rs.pk, 3), fpl);
    Write_py_Label_Line(m, "Ym = b/60", py_F12(rs.ym, 5), u.Length);
    Write_py_Label_Line(m, "Pm = B ps", py_F12(rs.pm, 3), fpl);
    Write_py_Label_Line(m, "Yu = 3b/80", py_F12(rs.yu, 5), u.Length);
    Write_py_Label_Line(m, "Pu = A Ps", py_F12(rs.pu, 3), fpl);
    Write_py_Label_Line(m, "Es,lim", py_F12(rs.kx, 3), fpl + "/" + len);
    Write_py_Multiplier_Lines(m, d.pm, d.ym);
    Below_Rock_Sentence(m);
    switch (rs.Shape) {
    case ReeseShape::Normal:
        m.Report.Write_Line("This curve has the normal shape for a Reese sand p-y curve where Yk "
                            "< Ym < Yu.");
        break;
    case ReeseShape::TriLinear:
        m.Report.Write_Line("This curve has a tri-linear shape for a Reese sand p-y curve "
                            "because Ym < Yk < Yu.");
        break;
    case ReeseShape::BiLinear:
        m.Report.Write_Line("This curve has a bi-linear shape for a Reese sand p-y curve because "
                            "Ym < Yu < Yk.");
        break;
    }
    m.Report.Blank_Lines(1);
    std::string head = std::string(9, ' ') + "y, " + len;
    head.resize(25, ' ');
    m.Report.Write_Line(head + "p, " + fpl);
    m.Report.Write_Line("----------------    -----------------");
    Write_py_Plot_Line7(m, d.v.X, 17, "Line 7:  p-y curve depth in sand, ", d.curve);
    const std::array<double, 18> y = Reese_Sand_Print_y(rs);
    bool any_line = false;
    for (int j = 1; j <= 17; ++j) {
        bool on_line = false;
        const double p = Reese_Sand_p(rs, y[j], &on_line);
        const double yy = y[j] * d.ym;
        const double pp = p * d.pm;
        m.Report.Write_Blanks(3);
        m.Report.Write_Number(yy, 12);
        m.Report.Write_Blanks(5);
        m.Report.Write_Number(pp, 12);
        if (on_line && j > 1) {
            m.Report.Write_Text("   *");
            any_line = true;
        }
        m.Report.End_Line();
        Write_py_Plot_Line8(m, yy, pp, j, "sand");
    }
    if (any_line) {
        m.Report.Blank_Lines(1);
        m.Report.Write_Line("* p value(s) computed using p = k * Eff x * y ");
    }
    if (d.b_Default_k) {
        m.Report.Blank_Lines(1);
        m.Report.Write_Line("The above p-y curve was computed using internal default values of k.");
    }
}

void Print_API_Sand(AnalysisModel& m, const SandPrint& d, const ApiSandParams& as) {
    const UnitLabels& u = m.Labels;
    const bool us = m.IUNITS == USCS;
    const std::string fpl = py_Force_Per_Length(m);
    Write_py_Title(m, m.b_Cyclic ? "p-y Curve Computed Using API Sand Criteria for Cyclic Loading"
                                 : "p-y Curve Computed Using API Sand Criteria for Static Loading");
    Write_py_Label_Line(m, "Soil Layer Number", Format_I(d.layer, 12));
    Write_py_Depth_Lines(m, d.v.X, d.v.Xv - m.Ground_Surface_Depth, "Equivalent Depth", as.x, us);
    Write_py_Slope_Lines(m, "Pile Batter");
    Write_py_Label_Line(m, "Diameter", py_F12(d.b, 3), u.Length);
    Write_py_Label_Line(m, "Friction Angle phi", py_F12(d.phi_deg, 3) + " deg.");
    Write_py_Label_Line(m, "Avg. Eff. Unit Weight", py_F12(d.gamma, 5), u.Force_Per_Volume);
    if (us) {
        Write_py_Label_Line(m, "Avg. Eff. Unit Weight", py_F12(d.gamma * 1728.0, 5), u.Unit_Weight);
    }
    Write_py_Label_Line(m, "A", py_F12(as.A, 5));
    Write_py_Label_Line(m, "k", py_F12(d.k, 3), u.Force_Per_Volume2);
    Write_py_Label_Line(m, "C1", py_F12(as.C1, 5));
    Write_py_Label_Line(m, "C2", py_F12(as.C2, 5));
    Write_py_Label_Line(m, "C3", py_F12(as.C3, 5));
    Write_py_Label_Line(m, "Pus", py_F12(as.pus, 3), fpl);
    Write_py_Label_Line(m, "Pud", py_F12(as.pud, 3), fpl);
    Write_py_Label_Line(m, "Pu", py_F12(as.pu, 3), fpl);
    Write_py_Multiplier_Lines(m, d.pm, d.ym);
    Below_Rock_Sentence(m);
    m.Report.Blank_Lines(1);
    m.Report.Write_Line(us ? "    y, inches           p, lb/inch   "
                           : "    y, meter           p, kN/meter   ");
    Write_py_Plot_Line7(m, d.v.X, 17, "Line 7:  p-y curve depth in API sand, ", d.curve);
    const double step = API_Sand_Print_Step(as, m.IUNITS);
    for (int j = 1; j <= 17; ++j) {
        const double y = (j - 1) * step;
        const double yy = y * d.ym;
        const double pp = API_Sand_p(as, y) * d.pm;
        m.Report.Write_Line(Format_F(yy, 15, 4) + Format_F(pp, 17, 3));
        Write_py_Plot_Line8(m, yy, pp, j, "API sand");
    }
    if (d.b_Default_k) {
        m.Report.Blank_Lines(1);
        m.Report.Write_Line("The above p-y curve was computed using the internal default value of "
                            "k.");
    }
}

void Print_Liquefied_Sand(AnalysisModel& m, int layer, int curve, const PyNodeView& v, double b,
                          double gamma, double pm, double ym, const LiquefiedSandParams& ls) {
    const UnitLabels& u = m.Labels;
    const bool us = m.IUNITS == USCS;
    const std::string fpl = py_Force_Per_Length(m);
    Write_py_Title(m, "p-y Curve Computed Using Liquefied Sand Criteria");
    Write_py_Depth_Lines(m, v.X, v.Xv - m.Ground_Surface_Depth, nullptr, 0.0, us);
    if (layer > 1) {
        Write_py_Label_Line(m, "Normalized depth below ground surface in meters*", py_F12(ls.z, 3));
    }
    Write_py_Label_Line(m, "Pile Diameter", py_F12(b, 3), u.Length);
    Write_py_Label_Line(m, "Pile Diameter in meters ", py_F12(ls.b_m, 3));
    Write_py_Label_Line(m, "Avg. Eff. Unit Weight", py_F12(gamma, 5), u.Force_Per_Volume);
    Write_py_Label_Line(m, "A ", Format_ES(ls.A, 12, 5));
    Write_py_Label_Line(m, "B ", py_F12(ls.B, 5));
    Write_py_Label_Line(m, "C ", py_F12(ls.C, 5));
    Write_py_Label_Line(m, "Pd", py_F12(ls.Pd, 5));
    Write_py_Label_Line(m, "Upper limit Pu", py_F12(ls.Pu, 3), fpl);
    Write_py_Label_Line(m, "Yu ", py_F12(ls.yu, 5), u.Length);
    Write_py_Multiplier_Lines(m, pm, ym);
    if (layer > 1) {
        m.Report.Write_Line("The depth of the p-y curve was equated to the initial vertical stress "
                            "divided ");
        m.Report.Write_Line("by 10 kN/m3, as recommended by Rollins, et al. (2005)");
    }
    if (ls.z > 6.0) {
        m.Report.Write_Line("NOTE: The normalized depth of the p-y curve is deeper than the depth "
                            "of ");
        m.Report.Write_Line("6.0 meters recommended by Rollins, et al. (2005)");
    }
    m.Report.Blank_Lines(1);
    m.Report.Write_Line("        y, " + Trim_Right(u.Length) + "            p, " + fpl);
    m.Report.Write_Line("----------------    -----------------");
    Write_py_Plot_Line7(m, v.X, 17, "Line 7:  p-y curve depth in liquefied sand, ", curve);
    const std::array<double, 18> y = Liquefied_Sand_Print_y(ls);
    for (int j = 1; j <= 17; ++j) {
        const double yy = y[j] * ym;
        const double pp = Liquefied_Sand_p(ls, y[j]) * pm;
        Write_py_Number_Row(m, yy, pp);
        Write_py_Plot_Line8(m, yy, pp, j, "liquefied sand", true);
    }
}

} // namespace

void py_Soft_Clay(AnalysisModel& m, int layer) {
    SoftClayModel model(false);
    Run_py_Layer(m, layer, model);
}

void py_Soft_Clay_J(AnalysisModel& m, int layer) {
    SoftClayModel model(true);
    Run_py_Layer(m, layer, model);
}

void py_Stiff_Clay_Free_Water(AnalysisModel& m, int layer) {
    StiffClayFreeWaterModel model;
    Run_py_Layer(m, layer, model);
}

void py_Stiff_Clay_No_Water(AnalysisModel& m, int layer) {
    Stiff_Clay_No_Water_Layer(m, layer, false);
}

void py_Stiff_Clay_No_Water_k(AnalysisModel& m, int layer) {
    Stiff_Clay_No_Water_Layer(m, layer, true);
}

namespace {

// What both sand models look up at a node: width, average unit weight, friction angle
// (degrees) and the group multipliers. RunStatus is set when a lookup fails.
struct SandNodeValues {
    PyNodeView v;
    double b = 0.0;
    double gamma = 0.0;
    double phi_deg = 0.0;
    double pm = 1.0;
    double ym = 1.0;
};

SandNodeValues Sand_Node_Lookups(AnalysisModel& m, const PyLayerPoint& p, PyNodeEntry* e) {
    const int layer = p.layer;
    SandNodeValues n;
    n.v = p.v;
    if (const PySoilValues* known = py_Known_Soil(e)) {
        n.b = known->b;
        n.gamma = known->gamma;
        n.phi_deg = known->phi_deg;
        n.pm = known->pm;
        n.ym = known->ym;
        return n;
    }
    n.b = Pile_Props_at_DepthX(m, n.v.X).b;
    n.gamma = fn_Gamma_Avg(m, n.v.Xv);
    if (m.RunStatus > 0) {
        return n;
    }
    n.phi_deg = fn_Phi_In_Layer(m, layer, n.v.Xv);
    if (m.RunStatus > 0) {
        return n;
    }
    n.pm = fn_pMult(m, n.v.X);
    n.ym = fn_yMult(m, n.v.X);
    py_Keep_Soil(e, {.b = n.b, .gamma = n.gamma, .phi_deg = n.phi_deg, .pm = n.pm, .ym = n.ym});
    return n;
}

class ReeseSandModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const int layer = p.layer;
        PyNodeEntry* const e = py_Node_Cache_Entry(m, p);
        n_ = Sand_Node_Lookups(m, p, e);
        if (m.RunStatus > 0) {
            return false;
        }
        const double X = n_.v.Xv;
        const double phi = n_.phi_deg * PY_PI / 180.0;
        if (phi < 1e-10) {
            return Fail_Run(m, MessageId::ReeseSandZeroFriction) == 0;
        }
        if (n_.phi_deg < 20.0 || n_.phi_deg > 48.0) {
            TextFile& f = m.Messages;
            f.Blank_Lines(1);
            f.Write_Line("**** Warning ****");
            f.Blank_Lines(1);
            f.Write_Line("An unreasonable value for friction angle was input for a Reese sand "
                         "layer. ");
            f.Write_Line("The input value is either smaller than 20 degrees or higher than 48 "
                         "degrees.");
            f.Write_Line("The input data should be checked for correctness.");
            f.Blank_Lines(1);
            f.Write_Line("The input value for friction angle was used in computations.");
            f.Blank_Lines(1);
            Record_Friction_Warning(m, -302, layer, "sand", n_.phi_deg);
        }
        if (!Sand_k(m, layer, X, n_.phi_deg, n_.gamma, k_, b_Default_k_)) {
            return false;
        }
        const double xt = X - m.Ground_Surface_Depth;
        Set_Sand_State(m, Node_Sand_Angles(e, phi, 0.4), n_.b, n_.gamma, xt);
        // The Reese sand layer fixes its equivalent depth once, in the first pass of the run.
        if (py_Needs_X_Eq(m, p) && m.Py.X_Eq[layer] == X_EQ_NOT_SET) {
            Compute_X_Eq(m, layer);
        }
        SandInput in;
        in.x = py_Node_Model_Depth(m, e, layer, X);
        in.xt = xt;
        in.b = n_.b;
        in.gamma = n_.gamma;
        in.phi = phi;
        in.k = k_;
        in.theta = m.Slope_Minus_Batter;
        in.y_slope = n_.v.y;
        in.b_Cyclic = m.b_Cyclic;
        const std::optional<ReeseSandParams>& rs =
            py_Cached_Curve<ReeseSandMemo>(e, in, Reese_Sand_Params, own_);
        if (!rs) {
            // No real active coefficient on a slope this steep, in any layer.
            return Sand_Slope_Error(m, layer, false) == 0;
        }
        rs_ = &*rs;
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Print_Reese_Sand(m,
                         {p.layer, m.Py.Print_Curve_Number[p.i], n_.v, n_.b, n_.gamma, n_.phi_deg,
                          k_, n_.pm, n_.ym, b_Default_k_},
                         *rs_);
    }

    bool Integrates_Resistance() const override { return true; }

    double Ultimate_Resistance() const override { return rs_->pu; }

    std::optional<double> Whole_Layer_Resistance(const AnalysisModel& m) const override {
        return rs_->pu * 0.5 * py_Layer_Thickness(m, 1);
    }

    bool Secant_Modulus(AnalysisModel& m, const PyLayerPoint& p, double& Es) override {
        const double yr = py_Scaled_Deflection(n_.v, n_.ym);
        Es = Reese_Sand_Es(*rs_, yr, n_.pm, n_.ym);
        if (!std::isnan(Es)) {
            return true;
        }
        if (yr < 1e-14) {
            return Modulus_Not_A_Number(m, 32, "default", "Reese Sand", p.i) == 0;
        }
        return Modulus_Not_A_Number(m, 31, "computed", "Reese Sand", p.i) == 0;
    }

  private:
    SandNodeValues n_;
    double k_ = 0.0;
    bool b_Default_k_ = false;
    // The curve at the point: the entry's, or own_ without an entry.
    std::optional<ReeseSandParams> own_;
    const ReeseSandParams* rs_ = nullptr;
};

class ApiSandModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const int layer = p.layer;
        PyNodeEntry* const e = py_Node_Cache_Entry(m, p);
        n_ = Sand_Node_Lookups(m, p, e);
        if (m.RunStatus > 0) {
            return false;
        }
        const double X = n_.v.Xv;
        const double phi = n_.phi_deg * PY_PI / 180.0;
        if (n_.phi_deg < 20.0 || n_.phi_deg > 48.0) {
            Record_Friction_Warning(m, -303, layer, "API sand", n_.phi_deg);
        }
        if (!p.first && phi < 1e-10) {
            return Fail_Run(m, MessageId::ApiSandZeroFriction, Format_I(layer, 0)) == 0;
        }
        const double xt = X - m.Ground_Surface_Depth;
        Set_Sand_State(m, Node_Sand_Angles(e, phi, 0.4000000059604645), n_.b, n_.gamma, xt);
        if (py_Needs_X_Eq(m, p)) {
            Compute_X_Eq(m, layer);
        }
        const double k_input = m.Layers[layer].k_Top > 0.0 ? Layer_k(m, layer, X) : 0.0;
        SandInput in;
        in.x = py_Node_Model_Depth(m, e, layer, X);
        in.xt = xt;
        in.b = n_.b;
        in.gamma = n_.gamma;
        in.phi = phi;
        in.k = k_input;
        in.theta = m.Slope_Minus_Batter;
        in.y_slope = n_.v.y;
        in.b_Cyclic = m.b_Cyclic;
        in.b_Rock_Above = m.Py.i_RockLayersAbove > 0;
        const std::optional<ApiSandParams>* as =
            &py_Cached_Curve<ApiSandMemo>(e, in, API_Sand_Params, own_);
        if (!*as) {
            return Sand_Slope_Error(m, layer, true) == 0;
        }
        // The default modulus enters only the initial slope, after the resistances.
        k_ = k_input;
        b_Default_k_ = false;
        if (m.Layers[layer].k_Top <= 0.0) {
            if (!Sand_k(m, layer, X, n_.phi_deg, n_.gamma, k_, b_Default_k_)) {
                return false;
            }
            in.k = k_;
            as = e != nullptr ? &Memoized(e->curve_default_k, in, API_Sand_Params)
                              : &(own_default_k_ = API_Sand_Params(in));
        }
        as_ = &**as;
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Print_API_Sand(m,
                       {p.layer, m.Py.Print_Curve_Number[p.i], n_.v, n_.b, n_.gamma, n_.phi_deg, k_,
                        n_.pm, n_.ym, b_Default_k_},
                       *as_);
    }

    bool Integrates_Resistance() const override { return true; }

    // The resistance integrated is the curve's p at its ultimate deflection.
    double Ultimate_Resistance() const override { return API_Sand_p_At_yu(*as_, n_.b); }

    std::optional<double> Whole_Layer_Resistance(const AnalysisModel& m) const override {
        return API_Sand_p_At_yu(*as_, n_.b) * 0.5 * py_Layer_Thickness(m, 1);
    }

    bool Secant_Modulus(AnalysisModel&, const PyLayerPoint&, double& Es) override {
        Es = API_Sand_Es(*as_, py_Scaled_Deflection(n_.v, n_.ym), n_.pm, n_.ym);
        return true;
    }

  private:
    SandNodeValues n_;
    double k_ = 0.0;
    bool b_Default_k_ = false;
    // The curve at the point: the entry's, or own_ (own_default_k_ with the default k)
    // without an entry.
    std::optional<ApiSandParams> own_;
    std::optional<ApiSandParams> own_default_k_;
    const ApiSandParams* as_ = nullptr;
};

class LiquefiedSandModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const double X = p.v.Xv;
        b_ = Pile_Props_at_DepthX(m, p.v.X).b;
        gamma_ = fn_Gamma_Avg(m, X);
        if (m.RunStatus > 0) {
            return false;
        }
        pm_ = fn_pMult(m, p.v.X);
        ym_ = fn_yMult(m, p.v.X);
        LiquefiedSandInput in;
        in.x = X - m.Ground_Surface_Depth;
        in.b = b_;
        in.gamma = gamma_;
        in.b_Layer1 = p.layer == 1;
        in.IUNITS = m.IUNITS;
        ls_ = Liquefied_Sand_Params(in);
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Print_Liquefied_Sand(m, p.layer, m.Py.Print_Curve_Number[p.i], p.v, b_, gamma_, pm_, ym_,
                             ls_);
    }

    bool Integrates_Resistance() const override { return true; }
    bool Keeps_Saved_Integral() const override { return true; }

    double Ultimate_Resistance() const override { return ls_.Pu; }

    bool Secant_Modulus(AnalysisModel&, const PyLayerPoint& p, double& Es) override {
        // At zero deflection the limit of p/y: zero for the concave curves of this model.
        Es = Liquefied_Sand_Es(ls_, py_Scaled_Deflection(p.v, ym_), pm_, ym_);
        return true;
    }

  private:
    double b_ = 0.0, gamma_ = 0.0, pm_ = 1.0, ym_ = 1.0;
    LiquefiedSandParams ls_{};
};

} // namespace

void py_Sand_Reese(AnalysisModel& m, int layer) {
    ReeseSandModel model;
    Run_py_Layer(m, layer, model);
}

void py_API_Sand(AnalysisModel& m, int layer) {
    ApiSandModel model;
    Run_py_Layer(m, layer, model);
}

void py_Liquefied_Sand(AnalysisModel& m, int layer) {
    if (m.Number_Of_Cycles <= 0.0) {
        m.Number_Of_Cycles = 1.0;
    }
    LiquefiedSandModel model;
    Run_py_Layer(m, layer, model);
}

} // namespace zarno
