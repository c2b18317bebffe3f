#include "py/rock_silt_report.h"

#include "engine/analysis_model.h"
#include "engine/text_trim.h"
#include "report/fortran_format.h"

#include <functional>
#include <string>
#include <string_view>

namespace zarno {

namespace {

constexpr int LABEL_COLUMN = 56; // column of "= " on every label line

// Label, blanks up to the "= " column, the value and, after a blank, the unit.
void Label_Line(AnalysisModel& m, std::string_view label, const std::string& value,
                std::string_view unit = {}) {
    std::string line(label);
    if (line.size() < LABEL_COLUMN - 1) {
        line.append(LABEL_COLUMN - 1 - line.size(), ' ');
    }
    line += "= " + value;
    if (!unit.empty()) {
        line += " " + Trim_Right(unit);
    }
    m.Report.Write_Line(line);
}

std::string F(double v, int d) {
    return Format_F(v, 12, d);
}

std::string Force_Per_Length(const AnalysisModel& m) {
    return Trim_Right(m.Labels.Force) + "/" + Trim_Right(m.Labels.Length);
}

// The two depth lines (and optionally the equivalent depth): feet in US customary units.
void Depth_Lines(AnalysisModel& m, const PyReportCommon& c, const char* equivalent_label,
                 double x) {
    const bool us = m.IUNITS == USCS;
    const double scale = us ? 12.0 : 1.0;
    const std::string& unit = us ? m.Labels.Depth : m.Labels.Length;
    Label_Line(m, "Depth below pile head", F(c.X / scale, 3), unit);
    Label_Line(m, "Depth below ground surface", F(c.xt / scale, 3), unit);
    if (equivalent_label != nullptr) {
        Label_Line(m, equivalent_label, F(x / scale, 3), unit);
    }
}

void Multiplier_Lines(AnalysisModel& m, const PyReportCommon& c) {
    Label_Line(m, "p-multiplier", F(c.pm, 5));
    Label_Line(m, "y-multiplier", F(c.ym, 5));
}

// Column heading: "        y, " and the length label, then "p, " (or the given text)
// from column p_column with the force-per-length label.
void Heading(AnalysisModel& m, int p_column, std::string_view p_text, const char* rule) {
    std::string line = "        y, " + Trim_Right(m.Labels.Length);
    if (static_cast<int>(line.size()) < p_column - 1) {
        line.append(p_column - 1 - line.size(), ' ');
    }
    line += std::string(p_text) + Force_Per_Length(m);
    m.Report.Write_Line(line);
    m.Report.Write_Line(rule);
}

void Plot_Line7(AnalysisModel& m, double depth, int points, const std::string& label, int curve) {
    m.Plot.Write_Line(Format_ES(depth, 15, 7) + Format_I(points, 5) + std::string(60, ' ') + label +
                      "no. p-y points on curve no. " + Format_I(curve, 0));
    Record_py_Curve(m, depth, curve);
}

// The 17 rows of the curve, y·ym and p·pm, each followed by its Line 8 record.
void Curve_Rows(AnalysisModel& m, const PyReportCommon& c, const PyPrintDeflections& y,
                const std::function<double(double)>& p_of_y, std::string_view soil_name) {
    for (int j = 1; j <= PY_PRINT_POINTS; ++j) {
        const double yy = y[j] * c.ym;
        const double pp = p_of_y(y[j]) * c.pm;
        m.Report.Write_Blanks(3);
        m.Report.Write_Number(yy, 12);
        m.Report.Write_Blanks(5);
        m.Report.Write_Number(pp, 12);
        m.Report.End_Line();
        m.Plot.Write_Line(Format_ES(yy, 15, 7) + Format_ES(pp, 15, 7) + std::string(50, ' ') +
                          "Line 8(" + Format_I(j, 0) + "): y, p, for " + std::string(soil_name));
        Record_py_Point(m, yy, pp, soil_name);
    }
}

void Title(AnalysisModel& m, std::string_view title) {
    m.Report.Blank_Lines(2);
    m.Report.Write_Line(title);
    m.Report.Blank_Lines(1);
}

} // namespace

void Write_Weak_Rock_Report(AnalysisModel& m, const PyReportCommon& c, const WeakRockCurve& w,
                            double gamma, double RQD, double Eir, double k_rm) {
    const UnitLabels& u = m.Labels;
    Title(m, "p-y Curve Computed Using Weak Rock Criteria");
    Label_Line(m, "Soil Layer Number", Format_I(c.layer, 12));
    Depth_Lines(m, c, nullptr, 0.0);
    Label_Line(m, "Diameter", F(c.b, 3), u.Length);
    Label_Line(m, "Unconfined Compressive Strength", F(w.qur, 3), u.Material_Stress);
    Label_Line(m, "Avg. Eff. Unit Weight", F(gamma, 5), u.Force_Per_Volume);
    if (m.IUNITS == USCS) {
        Label_Line(m, "Avg. Eff. Unit Weight", F(gamma * 1728.0, 3), u.Unit_Weight);
    }
    Label_Line(m, "Xr", F(w.xr, 3), u.Length);
    Label_Line(m, "RQD", F(RQD, 3) + " %");
    Label_Line(m, "Eir", F(Eir, 0), u.Material_Stress);
    Label_Line(m, "Pu", F(w.pur, 3), Force_Per_Length(m));
    Label_Line(m, "k_rm", Format_ES(k_rm, 12, 5));
    Label_Line(m, "K_ir", Format_ES(w.K_ir, 12, 5));
    Label_Line(m, "Alpha_r", F(w.Alpha_r, 5));
    Label_Line(m, "Yu", F(w.Yu, 5), u.Length);
    Label_Line(m, "Yrm", F(w.yrm, 5), u.Length);
    Label_Line(m, "Y_A", Format_ES(w.yA, 12, 5), u.Length);
    Multiplier_Lines(m, c);
    m.Report.Blank_Lines(1);
    Heading(m, 30, "p, ", "----------------    -----------------");
    Plot_Line7(m, c.X, PY_PRINT_POINTS, "Line 7:  p-y curve depth in weak rock, ", c.curve);
    Curve_Rows(
        m, c, Weak_Rock_Print_y(w), [&](double y) { return Weak_Rock_p(w, y); }, "weak rock");
}

void Write_Vuggy_Limestone_Report(AnalysisModel& m, const PyReportCommon& c,
                                  const VuggyLimestoneCurve& v) {
    Title(m, "p-y Curve for Vuggy Limestone (Strong Rock) Criteria");
    Label_Line(m, "Soil Layer Number", Format_I(c.layer, 12));
    Depth_Lines(m, c, nullptr, 0.0);
    Label_Line(m, "Shaft Diameter", F(c.b, 3), m.Labels.Length);
    Label_Line(m, "Uniaxial Compressive Strength", F(2.0 * v.s, 3), m.Labels.Material_Stress);
    Multiplier_Lines(m, c);
    m.Report.Blank_Lines(1);
    Heading(m, 22, "p, ", "---------------   ---------------");
    Plot_Line7(m, c.X, PY_PRINT_POINTS, "Line 7:  p-y curve depth in vuggy limestone, ", c.curve);
    Curve_Rows(
        m, c, Vuggy_Limestone_Print_y(v), [&](double y) { return Vuggy_Limestone_p(v, y); },
        "vuggy limestone rock");
}

void Write_Cemented_Silt_Report(AnalysisModel& m, const PyReportCommon& c,
                                const CementedSiltCurve& cs, double cohesion, double phi_deg,
                                double gamma, double k, double eps50) {
    const UnitLabels& u = m.Labels;
    const bool us = m.IUNITS == USCS;
    Title(m, m.b_Cyclic ? "p-y Curve Computed Using the Cyclic Criteria for Cemented Silt"
                        : "p-y Curve Computed Using the Static Criteria for Cemented Silt");
    Label_Line(m, "Soil Layer Number", Format_I(c.layer, 12));
    Depth_Lines(m, c, "Equivalent Depth, x", cs.x);
    Label_Line(m, "Pile Diameter, B", F(c.b, 3), u.Length);
    Label_Line(m, "Cohesion, c", F(cohesion, 3), u.Material_Stress);
    if (us) {
        Label_Line(m, "Cohesion, c", F(cohesion * 144.0, 3), u.Soil_Stress);
    }
    Label_Line(m, "Angle of Friction, phi", F(phi_deg, 3) + " deg.");
    Label_Line(m, "Avg. Eff. Unit Weight", F(gamma, 5), u.Force_Per_Volume);
    if (us) {
        Label_Line(m, "Avg. Eff. Unit Weight", F(gamma * 1728.0, 3), u.Unit_Weight);
    }
    Label_Line(m, "k (interp. from input)", F(k, 3), u.Force_Per_Volume2);
    Label_Line(m, "Epsilon50 (interp.)", F(eps50, 5));
    Label_Line(m, "x/B ratio", F(cs.x / c.b, 3));
    Label_Line(m, "A parameter = fn(x/B)", F(cs.A, 5));
    Label_Line(m, "B parameter = fn(x/B)", F(cs.B, 5));
    Label_Line(m, "m", F(cs.m_s, 5));
    Label_Line(m, "n", F(cs.n, 5));
    Label_Line(m, "Cbar", F(cs.C, 5));
    Label_Line(m, "yk", F(cs.yk, 5), u.Length);
    // These two labels carry the cohesive and frictional values crossed, as the
    // established report has always shown them.
    Label_Line(m, "Pu", F(cs.pc, 3), Force_Per_Length(m));
    Label_Line(m, "Pc", F(cs.ps, 3), Force_Per_Length(m));
    Label_Line(m, "ym = b/60", F(cs.Ym, 5), u.Length);
    Label_Line(m, "pm", F(cs.Pm, 3), Force_Per_Length(m));
    Label_Line(m, "yu = 3b/80", F(cs.Yu, 5), u.Length);
    Label_Line(m, "Pu,c", F(cs.pc, 3), Force_Per_Length(m));
    Label_Line(m, "Pu,phi", F(cs.ps, 3), Force_Per_Length(m));
    Multiplier_Lines(m, c);
    m.Report.Blank_Lines(1);
    m.Report.Blank_Lines(1);
    m.Report.Write_Line("        y, " + Trim_Right(u.Length) + "             p, " +
                        Force_Per_Length(m));
    m.Report.Write_Line("----------------    -----------------");
    Plot_Line7(m, c.X, PY_PRINT_POINTS,
               us ? "Line 7:  p-y curve depth in cemented silt (in), "
                  : "Line 7:  p-y curve depth in cemented silt (m), ",
               c.curve);
    Curve_Rows(
        m, c, Cemented_Silt_Print_y(cs), [&](double y) { return Cemented_Silt_p(cs, y); },
        "cemented c-phi");
}

void Write_Loess_Report(AnalysisModel& m, const PyReportCommon& c, const LoessCurve& l, double N) {
    const UnitLabels& u = m.Labels;
    Title(m, "p-y Curve for Loess");
    Label_Line(m, "Soil Layer Number", Format_I(c.layer, 10));
    Depth_Lines(m, c, nullptr, 0.0);
    Label_Line(m, "Shaft Diameter", F(c.b, 3), u.Length);
    Label_Line(m, l.b_Depth_Adjusted ? "Depth Adj. Cone tip resistance" : "Cone tip resistance",
               F(l.qc_adj, 3), u.Material_Stress);
    Label_Line(m, "Initial Modulus, Ei", F(l.Ei, 3), u.Material_Stress);
    Label_Line(m, "p_u0", F(l.p_u0, 3), u.Material_Stress);
    Label_Line(m, "p_u", F(l.p_u, 3), Force_Per_Length(m));
    Label_Line(m, "Number of Cycles of Loading", F(N, 0) + " cycles");
    Multiplier_Lines(m, c);
    m.Report.Blank_Lines(1);
    Heading(m, 22, "p, ", "---------------   ---------------");
    Plot_Line7(m, c.X, PY_PRINT_POINTS, "Line 7:  p-y curve depth in Piedmont residual soil, ",
               c.curve);
    Curve_Rows(
        m, c, Loess_Print_y(l), [&](double y) { return Loess_p(l, y); }, "Loess");
}

void Write_Piedmont_Report(AnalysisModel& m, const PyReportCommon& c, const PiedmontCurve& p,
                           int test, double value) {
    const UnitLabels& u = m.Labels;
    Title(m, "p-y Curve Computed Using the Piedmont Residual Soil Criteria");
    Label_Line(m, "Soil Layer Number", Format_I(c.layer, 10));
    Depth_Lines(m, c, nullptr, 0.0);
    Label_Line(m, "Shaft Diameter", F(c.b, 3), u.Length);
    static constexpr const char* kTestName[5] = {"", "Standard Penetration Test",
                                                 "Cone Penetration Test", "Dilatometer Test",
                                                 "Pressuremeter Test"};
    static constexpr const char* kValueLabel[5] = {"", "SPT  N60-value", "CPT qc", "DMT Edmt",
                                                   "DMT Epmt    "};
    const bool known = test >= PIEDMONT_SPT && test <= PIEDMONT_PMT;
    if (known) {
        Label_Line(m, "Type of Field Test", kTestName[test]);
        if (m.IUNITS == USCS || m.IUNITS == SI) {
            const bool us = m.IUNITS == USCS;
            const char* unit =
                test == PIEDMONT_SPT ? (us ? " blows/ft" : " blows/0.3 m") : (us ? " psi" : " kPa");
            Label_Line(m, kValueLabel[test], F(value, 3) + unit);
        }
    }
    Label_Line(m, "Initial p-y Modulus from Field Tests", F(p.Esi, 3),
               Trim_Right(u.Material_Stress) + "/" + Trim_Right(u.Length));
    Multiplier_Lines(m, c);
    m.Report.Blank_Lines(1);
    Heading(m, 22, "p, ", "---------------   ---------------");
    Plot_Line7(m, c.X, PY_PRINT_POINTS, "Line 7:  p-y curve depth in Piedmont residual soil, ",
               c.curve);
    Curve_Rows(
        m, c, Piedmont_Print_y(p), [&](double y) { return Piedmont_p(p, y); },
        "Piedmont residual soil");
}

} // namespace zarno
