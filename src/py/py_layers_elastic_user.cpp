// Elastic subgrade and user-input curves as the layer driver runs them (py_layer_driver.h).
//
// In evaluate mode each node gets its secant modulus at the current deflection (and, with
// soil movements, the lateral load term); in print mode the "nodes" are the requested
// depths and the curve is written to the report and the plot file.
#include "py/py_models.h"
#include "py/py_report_lines.h"

#include "engine/analysis_model.h"
#include "engine/text_trim.h"
#include "profile/soil_profile.h"
#include "py/py_framework.h"
#include "py/py_layer_driver.h"
#include "py/user_curves.h"
#include "report/fortran_format.h"

#include <cmath>
#include <string>
#include <string_view>

namespace zarno {

namespace {

constexpr int PRINT_POINTS = 17;

// The two depth lines: feet in US customary runs, the length unit otherwise. X is along the
// pile, Xv the vertical depth that the ground surface is measured in.
void Depth_Lines(AnalysisModel& m, double X, double Xv) {
    const bool us = m.IUNITS == USCS;
    const double scale = us ? 12.0 : 1.0;
    const std::string unit = Trim_Right(us ? m.Labels.Depth : m.Labels.Length);
    Write_py_Label_Line(m, "Depth below pile head", Format_F(X / scale, 12, 3), unit);
    Write_py_Label_Line(m, "Depth below ground surface",
                        Format_F((Xv - m.Ground_Surface_Depth) / scale, 12, 3), unit);
}

// Curve number of requested depth i in print mode.
int Curve_Number(const AnalysisModel& m, int i) {
    return m.Py.Print_Curve_Number[i] > 0 ? m.Py.Print_Curve_Number[i] : i;
}

void Plot_Line7(AnalysisModel& m, double depth, const char* label, int curve) {
    m.Plot.Write_Line(Format_ES(depth, 15, 7) + Format_I(PRINT_POINTS, 5) + std::string(60, ' ') +
                      label + "no. p-y points on curve no. " + Format_I(curve, 0));
    Record_py_Curve(m, depth, curve);
}

void Print_Elastic_Subgrade(AnalysisModel& m, int layer, int i, double X, double Xv, double b,
                            double Esub, double pm, double ym, double kp) {
    TextFile& r = m.Report;
    r.Blank_Lines(2);
    r.Write_Line("p-y Curve for Elastic Subgrade");
    r.Blank_Lines(1);
    Write_py_Label_Line(m, "Soil Layer Number", Format_I(layer, 10));
    Depth_Lines(m, X, Xv);
    Write_py_Label_Line(m, "Shaft Diameter", Format_F(b, 12, 3), Trim_Right(m.Labels.Length));
    Write_py_Label_Line(m, "Elastic Subgrade Modulus", Format_F(Esub, 12, 3),
                        Trim_Right(m.Labels.Force) + "/" + Trim_Right(m.Labels.Length) + "**2");
    Write_py_Label_Line(m, "p-multiplier", Format_F(pm, 12, 5));
    Write_py_Label_Line(m, "y-multiplier", Format_F(ym, 12, 5));
    r.Blank_Lines(1);
    std::string head = "        y, " + Trim_Right(m.Labels.Length);
    if (head.size() < 21) {
        head.append(21 - head.size(), ' ');
    }
    r.Write_Line(head + "p, " + py_Force_Per_Length(m));
    r.Write_Line("---------------   ---------------");
    Plot_Line7(m, X, "Line 7:  p-y curve depth in elastic subgrade soil, ", Curve_Number(m, i));
    const auto ys = Elastic_Subgrade_Print_y(b);
    for (int j = 1; j <= PRINT_POINTS; ++j) {
        const double y = ys[static_cast<size_t>(j)] * ym;
        const double p = kp * ys[static_cast<size_t>(j)];
        r.Write_Blanks(3);
        r.Write_Number(y, 12);
        r.Write_Blanks(5);
        r.Write_Number(p, 12);
        r.End_Line();
        m.Plot.Write_Line(Format_ES(y, 15, 7) + Format_ES(p, 15, 7) + std::string(50, ' ') +
                          "Line 8(" + Format_I(j, 0) + "): y, p, for elastic subgrade");
        Record_py_Point(m, y, p, "elastic subgrade");
    }
}

// X along the pile (depth lines, plot record), Xv vertical (the curves' depths).
void Print_User_Curve(AnalysisModel& m, int layer, int i, double X, double Xv, double b, double pm,
                      double ym) {
    const SoilLayer& s = m.Layers[layer];
    TextFile& r = m.Report;
    r.Blank_Lines(2);
    r.Write_Line("p-y Curve Computed by Interpolation Between User-input Curves");
    r.Blank_Lines(1);
    Write_py_Label_Line(m, "Soil Layer Number", Format_I(layer, 12));
    Depth_Lines(m, X, Xv);
    Write_py_Label_Line(m, "Pile diameter", Format_F(b, 12, 3), Trim_Right(m.Labels.Length));
    Write_py_Label_Line(m, "p-multiplier", Format_F(pm, 12, 3));
    Write_py_Label_Line(m, "y-multiplier", Format_F(ym, 12, 3));
    r.Blank_Lines(1);
    std::string head = "      y, " + Trim_Right(m.Labels.Length);
    if (head.size() < 24) {
        head.append(24 - head.size(), ' ');
    }
    r.Write_Line(head + "p, " + py_Force_Per_Length(m));
    r.Write_Line("----------------    ----------------");
    Plot_Line7(m, X, "Line 7:  p-y curve depth in user-input p-y curve, ", Curve_Number(m, i));
    const auto ys = User_py_Print_y(b);
    for (int j = 1; j <= PRINT_POINTS; ++j) {
        const double yj = ys[static_cast<size_t>(j)];
        const double y = yj * ym;
        const double p = User_py_p(s.User_py_Top, s.User_py_Bottom, Xv, yj) * pm;
        r.Write_Line(Format_F(y, 15, 4) + std::string(5, ' ') + Format_F(p, 15, 4));
        m.Plot.Write_Line(Format_ES(y, 15, 7) + Format_ES(p, 15, 7) + std::string(20, ' ') +
                          "Line 8(" + Format_I(j, 2) + "): y, p, for user-input p-y curve");
        Record_py_Point(m, y, p, "user-input p-y curve");
    }
}

class ElasticSubgradeModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        const SoilProfile& prof = m.Profile;
        const int top = 2 * p.layer - 1;
        const int bottom = 2 * p.layer;
        // The modulus varies with the vertical depth; the pile properties and group
        // multipliers are looked up along the pile.
        Esub_ =
            Elastic_Subgrade_Modulus(p.v.Xv, prof.Strength_Depth[top], prof.Strength_Depth[bottom],
                                     prof.Es[top], prof.Es[bottom]);
        // The width and the multipliers of a station are kept between passes: they change
        // only with the tables, and the passes empty the cache when a table changes.
        PyNodeEntry* const e = py_Node_Cache_Entry(m, p);
        if (const PySoilValues* const known = py_Known_Soil(e)) {
            pm_ = known->pm;
            ym_ = known->ym;
            b_ = known->b;
            return m.RunStatus == 0;
        }
        pm_ = fn_pMult(m, p.v.X);
        ym_ = fn_yMult(m, p.v.X);
        b_ = Pile_Props_at_DepthX(m, p.v.X).b;
        if (m.RunStatus != 0) {
            return false;
        }
        py_Keep_Soil(e, {.b = b_, .pm = pm_, .ym = ym_});
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Print_Elastic_Subgrade(m, p.layer, p.i, p.v.X, p.v.Xv, b_, Esub_, pm_, ym_,
                               pm_ * Esub_ * b_);
    }

    bool Secant_Modulus(AnalysisModel&, const PyLayerPoint&, double& Es) override {
        Es = Elastic_Subgrade_Es(Esub_, b_, pm_, ym_);
        return true;
    }

  private:
    double Esub_ = 0.0, b_ = 0.0, pm_ = 1.0, ym_ = 1.0;
};

class UserCurveModel final : public PyLayerModel {
  public:
    bool Set_Up(AnalysisModel& m, const PyLayerPoint& p) override {
        pm_ = fn_pMult(m, p.v.X);
        ym_ = fn_yMult(m, p.v.X);
        b_ = Pile_Props_at_DepthX(m, p.v.X).b;
        if (m.RunStatus != 0) {
            return false;
        }
        return true;
    }

    void Print_Curve(AnalysisModel& m, const PyLayerPoint& p) override {
        Print_User_Curve(m, p.layer, p.i, p.v.X, p.v.Xv, b_, pm_, ym_);
    }

    // The curves give their own resistance increment per node.
    bool Integrates_Resistance() const override { return true; }
    PyResistance Resistance(const AnalysisModel& m, const PyLayerPoint& p) const override {
        const SoilLayer& s = m.Layers[p.layer];
        const double h = m.i_Pile_Increments > 0 ? m.Grid_Pile_Length / m.i_Pile_Increments : 0.0;
        PyResistance r;
        r.integrate[0] = false;
        r.add = User_py_F_Increment(s.User_py_Top, s.User_py_Bottom, p.v.Xv, h);
        return r;
    }

    // The two curves stand at the vertical depths of the layer's top and bottom, so a
    // battered pile interpolates between them at its stations' vertical depths.
    bool Secant_Modulus(AnalysisModel& m, const PyLayerPoint& p, double& Es) override {
        const SoilLayer& s = m.Layers[p.layer];
        const double y = std::abs(p.v.y - p.v.ysm) / ym_;
        Es = User_py_Es(s.User_py_Top, s.User_py_Bottom, p.v.Xv, y, pm_, ym_);
        return true;
    }

  private:
    double b_ = 0.0, pm_ = 1.0, ym_ = 1.0;
};

} // namespace

void py_Elastic_Subgrade(AnalysisModel& m, int layer) {
    ElasticSubgradeModel model;
    Run_py_Layer(m, layer, model);
}

void py_User_Input(AnalysisModel& m, int layer) {
    UserCurveModel model;
    Run_py_Layer(m, layer, model);
}

} // namespace zarno
