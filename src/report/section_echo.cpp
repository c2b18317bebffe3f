// Echo of the pile sections: the pile diameter points used for the p-y curves and the
// input values of every section.
#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"
#include "report/echo_lines.h"
#include "report/fortran_format.h"
#include "report/input_echo_blocks.h"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>

namespace zarno {

namespace {

struct SectionUnits {
    std::string depth;   // section lengths
    std::string length;  // widths, diameters, thicknesses
    std::string area;    // "Sq. in"
    std::string inertia; // "in^4"
    std::string modulus; // "lbs/in^2"
    std::string moment;  // stored moment label
    std::string force;
    std::string stiffness; // "lbs-in^2"
    std::string curvature; // "rad/in"
};

SectionUnits Units_Of(const AnalysisModel& m) {
    const UnitLabels& u = m.Labels;
    SectionUnits s;
    s.depth = Trim_Right(u.Depth);
    s.length = Trim_Right(u.Length);
    s.force = Trim_Right(u.Force);
    s.area = "Sq. " + s.length;
    s.inertia = s.length + "^4";
    s.modulus = s.force + "/" + s.length + "^2";
    s.moment = Trim_Right(u.Moment);
    s.stiffness = s.force + "-" + s.length + "^2";
    s.curvature = "rad/" + s.length;
    return s;
}

// One point of the pile diameter table: a section end that has a width of its own.
struct DiameterPoint {
    double depth;
    double width;
};

int Collect_Diameter_Points(const AnalysisModel& m, std::array<DiameterPoint, 41>& points) {
    int n = 0;
    const int ns = std::clamp(m.i_Num_Sections, 0, MAX_SECTIONS);
    for (int k = 1; k <= ns; ++k) {
        const PileSection& s = m.Sections[k];
        if (s.i_Section_Type == SECTION_MICROPILE) {
            continue; // no depth range and no width
        }
        points[static_cast<std::size_t>(++n)] = {s.XTop, s.Width_Top};
        points[static_cast<std::size_t>(++n)] = {s.XBottom, s.Width_Bottom};
    }
    return n;
}

void Number_Line(TextFile& r, const char* label, double value, const std::string& unit) {
    Write_Label_Number(r, label, value, 15, unit);
}

void Write_Elastic_Shape(AnalysisModel& m, const PileSection& s, const SectionUnits& u) {
    TextFile& r = m.Report;
    static constexpr const char* kShapes[7] = {"",
                                               "    Rectangular",
                                               "       Circular",
                                               "  Circular Pipe",
                                               "  Strong H-Pile",
                                               "    Weak H-Pile",
                                               "Embedded Circular Pole"};
    const int shape = s.i_Shape_Type;
    if (shape < 1 || shape > 6) {
        return; // the reader admits shapes 1 to 6 only
    }
    const bool plastic = s.i_Section_Type == SECTION_ELASTIC_PLASTIC;
    Write_Label_Value(r, "   Cross-sectional Shape      ", kShapes[shape]);
    Number_Line(r, "   Elastic Modulus", s.Elastic_E, u.modulus);
    if (shape == SHAPE_STRONG_H_PILE || shape == SHAPE_WEAK_H_PILE) {
        if (plastic) {
            Number_Line(r, "   Plastic Moment Capacity", s.Mp_Top, u.moment);
        }
        Number_Line(r, "   Flange Width", s.Elastic_Width_Top, u.length);
        Number_Line(r, "   Section Depth", s.Elastic_Depth_Top, u.length);
        Number_Line(r, "   Flange Thickness", s.Flange_Thickness, u.length);
        Number_Line(r, "   Web Thickness", s.Web_Thickness, u.length);
        Number_Line(r, "   Cross-sectional Area", s.Elastic_Area_Top, u.area);
        Number_Line(r, "   Moment of Inertia", s.Elastic_I_Top, u.inertia);
        return;
    }
    if (plastic) {
        Number_Line(r, "   Plastic Moment Capacity at Top", s.Mp_Top, u.moment);
        Number_Line(r, "   Plastic Moment Capacity at Bottom", s.Mp_Bottom, u.moment);
    }
    Number_Line(r, "   Width at Top", s.Elastic_Width_Top, u.length);
    Number_Line(r, "   Width at Bottom", s.Elastic_Width_Bottom, u.length);
    if (shape == SHAPE_RECTANGULAR) {
        Number_Line(r, "   Section Depth at Top", s.Elastic_Depth_Top, u.length);
        Number_Line(r, "   Section Depth at Bottom", s.Elastic_Depth_Bottom, u.length);
    } else if (shape == SHAPE_CIRCULAR_PIPE) {
        Number_Line(r, "   Wall Thickness at Top", s.Elastic_Depth_Top, u.length);
        Number_Line(r, "   Wall Thickness at Bottom", s.Elastic_Depth_Bottom, u.length);
    }
    Number_Line(r, "   Area at Top", s.Elastic_Area_Top, u.area);
    Number_Line(r, "   Area at Bottom", s.Elastic_Area_Bottom, u.area);
    Number_Line(r, "   Moment of Inertia at Top", s.Elastic_I_Top, u.inertia);
    Number_Line(r, "   Moment of Inertia at Bottom", s.Elastic_I_Bottom, u.inertia);
    if (shape == SHAPE_EMBEDDED_POLE) {
        Number_Line(r, "   Drilled Hole Diameter", s.Diameter, u.length);
    }
}

// A value of the user EI table column, or "--" where it cannot be derived (a curvature
// of zero has no stiffness).
std::string Column20(double value, bool defined) {
    return defined ? Format_ES(value, 20, 6) : std::string(18, ' ') + "--";
}

void Write_User_EI(AnalysisModel& m, const PileSection& s, const SectionUnits& u) {
    TextFile& r = m.Report;
    const int thrusts = std::clamp(s.i_Num_User_Thrusts, 0, MAX_USER_EI_THRUSTS);
    Write_Label_Value(r, "   Number of Axial Thrusts", Format_I(thrusts, 15));
    for (int t = 1; t <= thrusts; ++t) {
        const UserEIThrust& curve = s.User_EI[t];
        const int n = std::clamp(curve.i_Num_Points, 0, MAX_USER_EI_POINTS);
        r.Blank_Lines(1);
        Number_Line(r, "   Axial Thrust", curve.Axial_Thrust, u.force);
        Write_Label_Value(r,
                          s.b_Moment_vs_EI ? "   Number of Moment-vs.-EI Points"
                                           : "   Number of Moment-vs.-Curvature Points",
                          Format_I(n, 15));
        r.Blank_Lines(1);
        r.Write_Line("   Point         Bending Moment         Bending Stiffness         Bending "
                     "Curvature");
        std::string units;
        // Each unit ends under the last column of its 20-character field.
        const auto end_at = [&units](int column, const std::string& text) {
            Put_At_Column(units, column + 1 - static_cast<int>(text.size()), text);
        };
        end_at(34, u.moment);
        end_at(59, u.stiffness);
        end_at(84, u.curvature);
        r.Write_Line(units);
        r.Write_Line("   -----      --------------------     --------------------     "
                     "--------------------");
        for (int j = 1; j <= n; ++j) {
            const double M = curve.Moment[j];
            const double v = curve.EI_or_Curvature[j];
            double EI = v;
            double phi = v;
            bool EI_defined = true;
            bool phi_defined = true;
            if (s.b_Moment_vs_EI) {
                phi = v != 0.0 ? M / v : 0.0;
            } else {
                EI_defined = v != 0.0;
                EI = EI_defined ? M / v : 0.0;
            }
            r.Write_Line(Format_I(j, 8) + std::string(6, ' ') + Format_ES(M, 20, 6) +
                         std::string(5, ' ') + Column20(EI, EI_defined) + std::string(5, ' ') +
                         Column20(phi, phi_defined));
        }
    }
}

void Write_One_Section(AnalysisModel& m, int k, const SectionUnits& u) {
    TextFile& r = m.Report;
    const PileSection& s = m.Sections[k];
    r.Blank_Lines(1);
    r.Write_Line(fmt::format("Pile Section No. {}:", k));
    r.Blank_Lines(1);
    auto typed = [&](const char* name) { r.Write_Line("   Section Type = " + std::string(name)); };
    switch (s.i_Section_Type) {
    case SECTION_MICROPILE:
        Write_Label_Value(r, "   Section Type", "Micropile");
        Number_Line(r, "   Section Length  ", s.Length, u.depth);
        return;
    case SECTION_USER_EI:
        Write_Label_Value(r, "   Section Type", "Pile with User-defined Nonlinear EI");
        Number_Line(r, "   Section Length  ", s.Length, u.depth);
        Number_Line(r, "   Pile Diameter   ", s.Diameter, u.length);
        Write_User_EI(m, s, u);
        return;
    case SECTION_ELASTIC_PLASTIC:
        Write_Label_Value(r, "   Section Type", "Elastic with Specified Moment Capacity ");
        Number_Line(r, "   Section Length  ", s.Length, u.depth);
        Write_Elastic_Shape(m, s, u);
        return;
    case SECTION_ELASTIC:
        Write_Label_Value(r, "   Section Type", "   Elastic Pile");
        Number_Line(r, "   Section Length  ", s.Length, u.depth);
        Write_Elastic_Shape(m, s, u);
        return;
    case SECTION_OCTAGONAL_HOLLOW_PRESTRESSED:
        typed("Octagonal Hollow Prestressed Pile   ");
        break;
    case SECTION_OCTAGONAL_SOLID_PRESTRESSED:
        typed("Octagonal Solid Prestressed Pile    ");
        break;
    case SECTION_SQUARE_HOLLOW_PRESTRESSED:
        typed("Square Hollow Prestressed Pile     ");
        break;
    case SECTION_SQUARE_SOLID_PRESTRESSED:
        typed("Square Solid Prestressed Pile     ");
        break;
    case SECTION_CIRCULAR_HOLLOW_PRESTRESSED:
        typed("Circular Hollow Prestressed Pile    ");
        break;
    case SECTION_CIRCULAR_SOLID_PRESTRESSED:
        typed("Circular Solid Prestressed Pile    ");
        break;
    case SECTION_STEEL_PIPE:
        typed("Steel Pipe Pile            ");
        break;
    case SECTION_CASED_SHAFT_WITH_CORE:
        typed(s.b_Core_Filled ? "Drilled Shaft with Casing and Concrete-filled Core   "
                              : "Drilled Shaft with Casing and Void Core   ");
        break;
    case SECTION_CASED_SHAFT:
        typed("Drilled Shaft with Permanent Casing  ");
        break;
    case SECTION_DRILLED_SHAFT:
        Write_Label_Value(r, "   Section Type ", "Drilled Shaft (Bored Pile)");
        break;
    case SECTION_RECTANGULAR_CONCRETE:
        Write_Label_Value(r, "   Section Type ", "Rectangular Concrete Pile");
        break;
    default:
        return;
    }
    Number_Line(r, "   Section Length  ", s.Length, u.depth);
    switch (s.i_Section_Type) {
    case SECTION_RECTANGULAR_CONCRETE:
        Number_Line(r, "   Section Width   ", s.Section_Width, u.length);
        Number_Line(r, "   Section Depth   ", s.Diameter, u.length);
        break;
    case SECTION_DRILLED_SHAFT:
    case SECTION_CASED_SHAFT:
    case SECTION_CASED_SHAFT_WITH_CORE:
        Number_Line(r, "   Section Diameter", s.Diameter, u.length);
        break;
    case SECTION_STEEL_PIPE:
    case SECTION_CIRCULAR_SOLID_PRESTRESSED:
        Number_Line(r, "   Pile Diameter   ", s.Diameter, u.length);
        break;
    case SECTION_CIRCULAR_HOLLOW_PRESTRESSED:
        Number_Line(r, "   Pile Diameter   ", s.Diameter, u.length);
        Number_Line(r, "   Void Diameter   ", s.Void_Diameter, u.length);
        break;
    case SECTION_SQUARE_SOLID_PRESTRESSED:
        Number_Line(r, "   Pile Width      ", s.Diameter, u.length);
        Number_Line(r, "   Corner Chamfer  ", s.Chamfer, u.length);
        break;
    case SECTION_SQUARE_HOLLOW_PRESTRESSED:
        Number_Line(r, "   Pile Width      ", s.Diameter, u.length);
        Number_Line(r, "   Void Diameter   ", s.Void_Diameter, u.length);
        Number_Line(r, "   Corner Chamfer  ", s.Chamfer, u.length);
        break;
    case SECTION_OCTAGONAL_SOLID_PRESTRESSED:
        Number_Line(r, "   Pile Width      ", s.Diameter, u.length);
        break;
    case SECTION_OCTAGONAL_HOLLOW_PRESTRESSED:
        Number_Line(r, "   Pile Width      ", s.Diameter, u.length);
        Number_Line(r, "   Void Diameter   ", s.Void_Diameter, u.length);
        break;
    default:
        break;
    }
}

} // namespace

void Write_Section_Echo(AnalysisModel& m) {
    TextFile& r = m.Report;
    const SectionUnits u = Units_Of(m);
    std::array<DiameterPoint, 41> points{};
    const int n = Collect_Diameter_Points(m, points);

    Write_Banner(r, 20, "Pile Structural Properties and Geometry");
    r.Blank_Lines(1);
    Write_Label_Value(r, "Total number of pile sections", Format_I(m.i_Num_Sections, 10));
    r.Blank_Lines(1);
    Write_Label_Value(r, "Total length of pile ", Format_F(m.Pile_Length, 10, 2) + " " + u.depth);
    r.Blank_Lines(1);
    Write_Label_Value(r, "Depth of ground surface below top of pile",
                      Format_F(m.Ground_Surface_Depth, 10, 2) + " " + u.depth);
    r.Blank_Lines(1);
    r.Write_Line(fmt::format(
        "Pile diameter values used for p-y curve computations are defined using {} points.", n));
    r.Blank_Lines(1);
    r.Write_Line(
        "p-y curves are computed using pile diameter values interpolated with depth over ");
    r.Write_Line("the length of the pile.");
    r.Blank_Lines(1);
    r.Write_Line("Point         Depth              Pile   ");
    r.Write_Line("                X              Diameter ");
    std::string units;
    Put_At_Column(units, 17, u.depth);
    Put_At_Column(units, 35, u.length);
    r.Write_Line(units);
    r.Write_Line("-----       ---------        -----------");
    for (int i = 1; i <= n; ++i) {
        r.Write_Line(Format_I(i, 5) + Format_F(points[static_cast<std::size_t>(i)].depth, 16, 3) +
                     Format_F(points[static_cast<std::size_t>(i)].width, 19, 4));
    }
    if (n < 2 || n > 40) {
        if (Fail_Run(m, MessageId::PileDiameterPoints, Format_I(n, 10)) > 0) {
            return;
        }
    }
    for (int i = 1; i <= n; ++i) {
        // Not-a-number widths fail this test as well.
        if (!(points[static_cast<std::size_t>(i)].width > 0.0)) {
            if (Fail_Run(m, MessageId::PileZeroDiameter) > 0) {
                return;
            }
        }
    }
    r.Blank_Lines(2);
    r.Write_Line("Input Structural Properties:");
    r.Write_Line(std::string(28, '-'));
    const int ns = std::clamp(m.i_Num_Sections, 0, MAX_SECTIONS);
    for (int k = 1; k <= ns; ++k) {
        Write_One_Section(m, k, u);
    }
}

} // namespace zarno
