#include "py/pisa_report.h"
#include "py/py_report_lines.h"

#include "engine/analysis_model.h"
#include "engine/text_trim.h"
#include "report/fortran_format.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zarno {

namespace {

std::string Stress_Unit(const AnalysisModel& m) {
    return Trim_Right(m.Labels.Force) + "/" + Trim_Right(m.Labels.Length) + "**2";
}

} // namespace

const char* Pisa_Soil_Title(PisaSoil soil) {
    switch (soil) {
    case PisaSoil::Dunkirk_Sand:
        return "PISA Dunkirk Sand (GDSM, Burd et al., 2020)";
    case PisaSoil::Bothkennar_Clay:
        return "PISA Bothkennar Soft Clay (Burd et al., 2020)";
    default:
        return "PISA Cowden Stiff Clay (Byrne et al., 2020)";
    }
}

double Pisa_Print_Fraction(int j) {
    static constexpr std::array<double, PISA_PRINT_POINTS + 1> kFractions = {
        0.0,  0.0,  1e-4, 2e-4, 5e-4, 1e-3, 2e-3, 5e-3, 0.01,
        0.02, 0.05, 0.1,  0.2,  0.35, 0.5,  0.75, 1.0,  1.25};
    return kFractions[static_cast<std::size_t>(j)];
}

void Print_Pisa_Curve(AnalysisModel& m, const PisaPrintedCurve& c) {
    TextFile& r = m.Report;
    const bool us = m.IUNITS == USCS;
    const double scale = us ? 12.0 : 1.0;
    const std::string depth_unit = Trim_Right(us ? m.Labels.Depth : m.Labels.Length);
    const std::string length = Trim_Right(m.Labels.Length);
    const std::string force = Trim_Right(m.Labels.Force);
    const bool clay = c.soil != PisaSoil::Dunkirk_Sand;
    r.Blank_Lines(2);
    r.Write_Line(std::string("p-y and m-theta Curves for ") + Pisa_Soil_Title(c.soil));
    r.Blank_Lines(1);
    Write_py_Label_Line(m, "Soil Layer Number", Format_I(c.layer, 10));
    Write_py_Label_Line(m, "Depth below pile head", Format_F(c.X / scale, 12, 3), depth_unit);
    Write_py_Label_Line(m, "Depth below ground surface",
                        Format_F((c.Xv - m.Ground_Surface_Depth) / scale, 12, 3), depth_unit);
    Write_py_Label_Line(m, "Pile Diameter", Format_F(c.D, 12, 3), length);
    if (clay) {
        Write_py_Label_Line(m, "Undrained shear strength", Format_ES(c.su, 12, 4), Stress_Unit(m));
    } else {
        Write_py_Label_Line(m, "Relative density", Format_F(c.Dr * 100.0, 12, 2), "%");
    }
    Write_py_Label_Line(m, "Vertical effective stress", Format_ES(c.sigma, 12, 4), Stress_Unit(m));
    Write_py_Label_Line(m, "Small-strain shear modulus G0", Format_ES(c.G0, 12, 4), Stress_Unit(m));
    Write_py_Label_Line(m, "p-y conic: x_u, k, n, y_u",
                        Format_F(c.py.x_u, 10, 4) + Format_F(c.py.k, 10, 4) +
                            Format_F(c.py.n, 10, 4) + Format_F(c.py.y_u, 10, 4));
    Write_py_Label_Line(m, "m-theta conic: x_u, k, n, y_u",
                        Format_F(c.mt.x_u, 10, 5) + Format_F(c.mt.k, 10, 4) +
                            Format_F(c.mt.n, 10, 4) + Format_F(c.mt.y_u, 10, 4));
    if (!clay) {
        Write_py_Label_Line(m, "Lateral reaction scaling the m-theta curve",
                            Format_ES(c.p_mobilised, 12, 4), force + "/" + length);
    }
    Write_py_Label_Line(m, "p-multiplier", Format_F(c.pm, 12, 5));
    Write_py_Label_Line(m, "y-multiplier", Format_F(c.ym, 12, 5));
    r.Blank_Lines(1);
    r.Write_Line("        y, " + length +
                 std::string(10 - std::min<std::size_t>(length.size(), 9), ' ') + "p, " + force +
                 "/" + length + "      theta, rad       m, " + force + "-" + length + "/" + length);
    r.Write_Line("---------------   ---------------   ---------------   ---------------");
    // The normalising stress: s_u of a clay, sigma'_v of the sand.
    const double s = clay ? c.su : c.sigma;
    const bool live = s > 0.0 && c.G0 > 0.0;
    const double y_ref = live ? c.py.x_u * s * c.D / c.G0 : 0.0;
    const double theta_ref = live ? 2.0 * c.mt.x_u * s / c.G0 : 0.0;
    const double m_scale = clay ? c.su * c.D * c.D : c.p_mobilised * c.D;
    m.Plot.Write_Line(Format_ES(c.X, 15, 7) + Format_I(PISA_PRINT_POINTS, 5) +
                      std::string(60, ' ') + "Line 7:  p-y curve depth in PISA soil, " +
                      "no. p-y points on curve no. " + Format_I(c.curve, 0));
    Record_py_Curve(m, c.X, c.curve);
    for (int j = 1; j <= PISA_PRINT_POINTS; ++j) {
        const double f = Pisa_Print_Fraction(j);
        const double yv = f * y_ref;
        const double p = live ? c.pm * s * c.D * Conic_Reaction(c.py, yv * c.G0 / (s * c.D)) : 0.0;
        const double th = f * theta_ref;
        const double mm = live ? m_scale * Conic_Reaction(c.mt, th * c.G0 / s) : 0.0;
        const double y = yv * c.ym;
        r.Write_Blanks(3);
        r.Write_Number(y, 12);
        r.Write_Blanks(6);
        r.Write_Number(p, 12);
        r.Write_Blanks(6);
        r.Write_Number(th, 12);
        r.Write_Blanks(6);
        r.Write_Number(mm, 12);
        r.End_Line();
        m.Plot.Write_Line(Format_ES(y, 15, 7) + Format_ES(p, 15, 7) + std::string(50, ' ') +
                          "Line 8(" + Format_I(j, 0) + "): y, p, for PISA soil");
        Record_py_Point(m, y, p, "PISA soil");
    }
}

} // namespace zarno
