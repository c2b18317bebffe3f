#include "section/section_reports.h"

#include "engine/analysis_model.h"
#include "engine/text_trim.h"
#include "report/fortran_format.h"
#include "section/bar_placement.h"
#include "section/section_setup.h"

#include <cmath>
#include <fmt/format.h>
#include <numbers>

namespace zarno {

namespace {

std::string Pad(std::string s, std::size_t n) {
    s.resize(std::max(n, s.size()), ' ');
    return s;
}

void Title(TextFile& r, const std::string& title, bool blank_before = true, int rule = 0) {
    if (blank_before) {
        r.Blank_Lines(1);
    }
    r.Write_Line(title);
    r.Write_Line(std::string(rule > 0 ? static_cast<std::size_t>(rule) : title.size(), '-'));
    r.Blank_Lines(1);
}

double Length_For_Report(const AnalysisModel& m, double length) {
    return m.IUNITS == USCS ? length / 12.0 : length;
}

std::string Length_Unit_For_Report(const AnalysisModel& m) {
    return m.IUNITS == USCS ? " ft" : m.IUNITS == SI ? " m" : " L";
}

void Count_Line(TextFile& r, const std::string& label, int n) {
    r.Write_Text(Pad(label, 55) + "= ");
    r.Write_Integer(n, 15);
    r.Write_Line(n == 1 ? " bar" : " bars");
}

void Fixed_Line(TextFile& r, const std::string& label, double v, int w, int d,
                const std::string& unit) {
    r.Write_Text(Pad(label, 55) + "= ");
    r.Write_Text(Format_F(v, w, d));
    r.Write_Line(unit);
}

// Edge-to-edge spacing of a circular arrangement, else the least clear spacing.
double Bar_Spacing(const AnalysisModel& m, int k, const SectionWorkspace& ws) {
    const PileSection& s = m.Sections[k];
    const int n = ws.i_Num_Bars;
    if (n < 2) {
        return 0.0;
    }
    if (s.b_Bars_In_Circle) {
        const int b = std::max(1, s.i_Bars_Per_Position);
        if (b + 1 <= n) {
            return std::hypot(ws.Bar_X0[1] - ws.Bar_X0[b + 1], ws.Bar_Y0[1] - ws.Bar_Y0[b + 1]) -
                   s.Bar_Diameter;
        }
    }
    BarCoordinates X{}, Y{}, d{};
    for (int i = 1; i <= n; ++i) {
        X[i] = ws.Bar_X0[i];
        Y[i] = ws.Bar_Y0[i];
        d[i] = ws.Bar_Diameter[i];
    }
    return fn_Min_Clear_Bar_Spacing(X, Y, d, n).spacing;
}

} // namespace

SectionUnitTexts Section_Unit_Texts(int iunits) {
    if (iunits == USCS) {
        return {" in     ", " ksi    ", " kips   ", " rad/in ",
                " sq. in.", " in^4   ", "kip-in^2", " in-kip "};
    }
    if (iunits == SI) {
        return {" m      ", " kPa    ", " kN     ", " rad/m  ",
                " sq. m  ", " m^4    ", "kN-m^2  ", " kN-m   "};
    }
    return {" L      ", " F/L^2  ", " F      ", " rad/L  ",
            " L^2    ", " L^4    ", "F-L^2   ", " F-L    "};
}

void Write_Property_Line(AnalysisModel& m, const std::string& label, double value,
                         const std::string& unit, int width) {
    TextFile& r = m.Report;
    r.Write_Text(Pad(label, 55) + "= ");
    r.Write_Number(value, width);
    r.Write_Line(unit);
}

void Write_Section_Dimensions(AnalysisModel& m, int k, const SectionWorkspace& ws) {
    const PileSection& s = m.Sections[k];
    const SectionUnitTexts u = Section_Unit_Texts(m.IUNITS);
    TextFile& r = m.Report;
    const SectionAreas a = fn_Section_Areas(ws);
    const double L = Length_For_Report(m, s.Length);
    const std::string Lu = Length_Unit_For_Report(m);
    const double spacing = Bar_Spacing(m, k, ws);
    const double agg = s.Max_Aggregate_Size;
    const double ratio = agg > 0.0 ? spacing / agg : 0.0;
    const double pi = std::numbers::pi;
    auto P = [&](const std::string& label, double v, const std::string& unit) {
        Write_Property_Line(m, label, v, unit);
    };
    auto F = [&](const std::string& label, double v, const std::string& unit) {
        Fixed_Line(r, label, v, 15, 2, unit);
    };
    const std::string lt = Trim_Right(u.length);
    switch (s.i_Section_Type) {
    case SECTION_RECTANGULAR_CONCRETE:
        Title(r, "Dimensions and Properties of Rectangular Concrete Pile:");
        P("Length of Section", L, Lu);
        P("Depth of Section", s.Diameter, u.length);
        P("Width of Section", s.Section_Width, u.length);
        Count_Line(r, "Number of Reinforcing Bars", ws.i_Num_Bars);
        P("Yield Stress of Reinforcing Bars", ws.fy, u.stress);
        P("Modulus of Elasticity of Reinforcing Bars", ws.Es, u.stress);
        P("Compressive Strength of Concrete", ws.fc, u.stress);
        P("Modulus of Rupture of Concrete", ws.ft, u.stress);
        P("Gross Area of Pile", a.gross, u.area);
        P("Total Area of Reinforcing Steel", a.bars, u.area);
        P("Area Ratio of Steel Reinforcement", 100.0 * a.bars / a.gross, " percent");
        break;
    case SECTION_DRILLED_SHAFT:
        Title(r, "Dimensions and Properties of Drilled Shaft (Bored Pile):");
        P("Length of Section", L, Lu);
        P("Shaft Diameter ", s.Diameter, u.length);
        P("Concrete Cover Thickness", s.Cover, u.length);
        Count_Line(r, "Number of Reinforcing Bars", ws.i_Num_Bars);
        P("Yield Stress of Reinforcing Bars", ws.fy, u.stress);
        P("Modulus of Elasticity of Reinforcing Bars", ws.Es, u.stress);
        P("Gross Area of Shaft", a.gross, u.area);
        P("Total Area of Reinforcing Steel", a.bars, u.area);
        F("Area Ratio of Steel Reinforcement ", 100.0 * a.bars / a.gross, " percent");
        P("Edge-to-Edge Bar Spacing", spacing, u.length);
        P("Maximum Concrete Aggregate Size", agg, u.length);
        F("Ratio of Bar Spacing to Aggregate Size", ratio, "");
        P("Offset of Rebar Cage Center from Center of Pile", s.Cage_Offset, u.length);
        break;
    case SECTION_CASED_SHAFT: {
        Title(r, "Dimensions and Properties of Drilled Shaft (Bored Pile) with Permanent Casing:");
        const double d = s.Diameter - 2.0 * s.Casing_Thickness;
        P("Length of Section", L, Lu);
        P("Outer Diameter of Casing", s.Diameter, u.length);
        P("Concrete Cover Thickness Inside Casing", s.Cover, u.length);
        P("Casing Wall Thickness", s.Casing_Thickness, u.length);
        P("Moment of Inertia of Steel Casing",
          pi * (std::pow(s.Diameter, 4) - std::pow(d, 4)) / 64.0, u.inertia);
        P("Yield Stress of Casing", ws.Casing_Fy, std::string(" ").append(Trim_Right(u.stress)));
        P("Elastic Modulus of Casing", ws.Casing_E, std::string(" ").append(Trim_Right(u.stress)));
        Count_Line(r, "Number of Reinforcing Bars", ws.i_Num_Bars);
        P("Area of Single Reinforcing Bar", s.Bar_Area, u.area);
        P("Edge-to-Edge Bar Spacing", spacing, u.length);
        P("Maximum Concrete Aggregate Size", agg, u.length);
        F("Ratio of Bar Spacing to Aggregate Size", ratio, "");
        P("Offset of Rebar Cage Center from Center of Pile", s.Cage_Offset, u.length);
        P("Yield Stress of Reinforcing Bars", ws.fy, u.stress);
        P("Elastic Modulus of Reinforcing Bars", ws.Es, u.stress);
        P("Area of Concrete", ws.Total_Concrete_Area, u.area);
        P("Cross-sectional Area of Steel Casing", a.casing, u.area);
        P("Area of All Steel (Casing and Bars)", a.casing + a.bars, u.area);
        F("Area Ratio of All Steel", 100.0 * (a.casing + a.bars) / a.gross, " percent");
        break;
    }
    case SECTION_CASED_SHAFT_WITH_CORE: {
        r.Blank_Lines(1);
        r.Write_Line(s.b_Core_Filled ? "Dimensions and Properties of Drilled Shaft (Bored Pile) "
                                       "with Casing and Filled Core:"
                                     : "Dimensions and Properties of Drilled Shaft (Bored Pile) "
                                       "with Casing and Hollow Core:");
        r.Write_Line(std::string(71, '-'));
        r.Blank_Lines(1);
        const double d = s.Diameter - 2.0 * s.Casing_Thickness;
        const double dk = s.Core_Diameter - 2.0 * s.Core_Thickness;
        P("Length of Section", L, Lu);
        P("Outside Diameter of Casing", s.Diameter, u.length);
        P("Concrete Cover Thickness Inside Casing", s.Cover, u.length);
        P("Casing Wall Thickness", s.Casing_Thickness, u.length);
        P("Moment of Inertia of Steel Casing",
          pi * (std::pow(s.Diameter, 4) - std::pow(d, 4)) / 64.0, u.inertia);
        P("Outside Diameter of Core", s.Core_Diameter, u.length);
        P("Core Wall Thickness", s.Core_Thickness, u.length);
        P("Moment of Inertia of Steel Core",
          pi * (std::pow(s.Core_Diameter, 4) - std::pow(dk, 4)) / 64.0, u.inertia);
        P("Yield Stress of Casing and Core", ws.Casing_Fy,
          std::string(" ").append(Trim_Right(u.stress)));
        P("Elastic Modulus of Casing and Core", ws.Casing_E,
          std::string(" ").append(Trim_Right(u.stress)));
        Count_Line(r, "Number of Reinforcing Bars", ws.i_Num_Bars);
        P("Area of Single Reinforcing Bar", s.Bar_Area, u.area);
        P("Area of All Reinforcing Bars", a.bars, u.area);
        P("Edge-to-Edge Bar Spacing", spacing, u.length);
        P("Maximum Concrete Aggregate Size", agg, u.length);
        F("Ratio of Bar Spacing to Aggregate Size", ratio, "");
        P("Offset of Rebar Cage Center from Center of Pile", s.Cage_Offset, u.length);
        P("Yield Stress of Reinforcing Bars", ws.fy, u.stress);
        P("Elastic Modulus of Reinforcing Bars", ws.Es, u.stress);
        P("Area of Concrete", ws.Total_Concrete_Area, u.area);
        P("Cross-sectional Area of Steel Casing", a.casing, u.area);
        P("Cross-sectional Area of Steel Core", a.core, u.area);
        P("Area of All Steel (Casing, Core, and Bars)", a.casing + a.core + a.bars, u.area);
        F("Area Ratio of All Steel", 100.0 * (a.casing + a.core + a.bars) / a.gross, " percent");
        r.Write_Line(s.b_Core_Filled ? "Note that the core is assumed to be filled with concrete"
                                     : "Note that the core is assumed to be void of concrete");
        break;
    }
    case SECTION_STEEL_PIPE: {
        Title(r, "Dimensions and Properties of Steel Pipe Pile:");
        const double D = s.Diameter;
        const double d = D - 2.0 * s.Casing_Thickness;
        const double I = pi * (std::pow(D, 4) - std::pow(d, 4)) / 64.0;
        const double Z = (std::pow(D, 3) - std::pow(d, 3)) / 6.0;
        P("Length of Section", L, Lu);
        P("Outer Diameter of Pipe", D, u.length);
        P("Pipe Wall Thickness", s.Casing_Thickness, u.length);
        P("Yield Stress of Pipe", ws.Casing_Fy, u.stress);
        P("Elastic Modulus", ws.Casing_E, u.stress);
        P("Cross-sectional Area", a.casing, u.area);
        P("Moment of Inertia", I, u.inertia);
        P("Elastic Bending Stiffness", ws.Casing_E * I,
          std::string(" ").append(Trim_Right(u.stiffness)));
        P("Plastic Modulus, Z", Z, lt + "^3");
        P("Plastic Moment Capacity = Fy Z", ws.Casing_Fy * Z, Trim_Right(u.moment));
        break;
    }
    case SECTION_CIRCULAR_SOLID_PRESTRESSED:
        Title(r, "Dimensions and Properties of Circular Prestressed Pile:");
        P("Length of Section", L, Lu);
        Fixed_Line(r, "Diameter", s.Diameter, 10, 3, lt);
        break;
    case SECTION_CIRCULAR_HOLLOW_PRESTRESSED:
        Title(r, "Dimensions and Properties of Hollow Core Circular Prestressed Pile:");
        P("Length of Section", L, Lu);
        Fixed_Line(r, "Outside Diameter", s.Diameter, 10, 3, lt);
        Fixed_Line(r, "Inside Diameter", s.Void_Diameter, 10, 3, lt);
        break;
    case SECTION_SQUARE_SOLID_PRESTRESSED:
        Title(r, "Dimensions of Square Prestressed Pile Section:", false);
        Write_Property_Line(m, "Length of Section", L, Lu, 10);
        Fixed_Line(r, "Pile Width", s.Diameter, 10, 3, fmt::format("{:>4}", lt.substr(1)));
        Fixed_Line(r, "Corner Chamfer", s.Chamfer, 10, 3, fmt::format("{:>4}", lt.substr(1)));
        break;
    case SECTION_SQUARE_HOLLOW_PRESTRESSED:
        Title(r, "Dimensions and Properties of Square Prestressed Pile Section with Hollow Core:");
        Write_Property_Line(m, "Length of Section", L, Lu, 10);
        Fixed_Line(r, "Pile Width", s.Diameter, 10, 3, lt);
        Fixed_Line(r, "Corner Chamfer", s.Chamfer, 10, 3, lt);
        Fixed_Line(r, "Inside Void Diameter", s.Void_Diameter, 10, 3, lt);
        break;
    case SECTION_OCTAGONAL_SOLID_PRESTRESSED:
        Title(r, "Dimensions and Properties of Octagonal Prestressed Pile:");
        Write_Property_Line(m, "Length of Section", L, Lu, 10);
        Fixed_Line(r, "Pile Width", s.Diameter, 10, 3, lt);
        break;
    case SECTION_OCTAGONAL_HOLLOW_PRESTRESSED:
        Title(r,
              "Dimensions and Properties of Octagonal Prestressed Pile Section with Hollow Core:");
        Write_Property_Line(m, "Length of Section", L, Lu, 10);
        Fixed_Line(r, "Pile Width", s.Diameter, 10, 3, lt);
        Fixed_Line(r, "Inside Void Diameter", s.Void_Diameter, 10, 3, lt);
        break;
    default:
        break;
    }
}

void Write_Axial_Capacities(AnalysisModel& m, const SectionWorkspace& ws) {
    TextFile& r = m.Report;
    const SectionUnitTexts u = Section_Unit_Texts(m.IUNITS);
    const int type = ws.i_Section_Type;
    Title(r, "Axial Structural Capacities:", true, 28);
    Fixed_Line(r,
               type == SECTION_STEEL_PIPE ? "Nom. Axial Structural Capacity = Fy As"
                                          : "Nom. Axial Structural Capacity = 0.85 Fc Ac + Fy As",
               ws.Pn, 15, 3, u.force);
    if (type != SECTION_STEEL_PIPE) {
        Fixed_Line(r, "Tensile Load for Cracking of Concrete", ws.Pcr, 15, 3, u.force);
    }
    Fixed_Line(r,
               type == SECTION_CASED_SHAFT_WITH_CORE ? "Nominal Axial Tensile Capacity       "
                                                     : "Nominal Axial Tensile Capacity  ",
               ws.Nt, 15, 3, u.force);
    r.Blank_Lines(2);
}

void Write_Strand_Details(AnalysisModel& m, int k, const SectionWorkspace& ws) {
    const PileSection& s = m.Sections[k];
    TextFile& r = m.Report;
    const SectionUnitTexts u = Section_Unit_Texts(m.IUNITS);
    const bool us = m.IUNITS == USCS;
    Title(r, "Prestressing Strand Details:", true, 28);
    static constexpr const char* kNames[] = {"   PCI 250",          "   PCI 270",
                                             "   PCI 300",          "Smooth 145 ksi bars",
                                             "Smooth 160 ksi bars", "Deformed bars (150-160 ksi)"};
    const int st = s.i_Strand_Type;
    r.Write_Line(Pad("Strand Type", 55) + "= " + (st >= 0 && st <= 5 ? kNames[st] : ""));
    Fixed_Line(r, "Yield Stress, fpu", ws.fpu, 10, 0,
               std::string(" ").append(Trim_Right(u.stress)));
    switch (st) {
    case 0:
        r.Write_Line("Stress-strain curve for reinforcement defined using PCI 250 Lo-lax equation");
        r.Write_Line("If eps > 0.008, fps = 248 - 0.058/(eps-0.006) < 0.98 fpu (ksi)");
        break;
    case 1:
        r.Write_Line("Stress-strain curve for reinforcement defined ssing PCI 270 Lo-lax equation");
        r.Write_Line("If eps > 0.008 fpu = 268 - 0.075/(eps-0.0065) < 0.98 fpu (ksi)");
        break;
    case 2:
        r.Write_Line("Stress-strain curve for reinforcement defined using grade 300 equation");
        r.Write_Line("If eps > 0.0088846 fpu = 300.0-(0.0835/(eps-0.0071))) < 300 (ksi)");
        break;
    default:
        r.Write_Line("Stress-strain curve for reinforcement defined using Richard equation");
        break;
    }
    r.Write_Text(Pad("Number of Reinforcing Strands", 55) + "= ");
    r.Write_Line(Format_I(ws.i_Num_Bars, 10));
    Fixed_Line(r, "Cross-sectional Area of Single Strand", s.Strand_Area, 10, us ? 3 : 7,
               Trim_Right(u.area));
    Fixed_Line(r, "Concrete Cover Thickness Over Strands", s.Strand_Cover, 10, us ? 3 : 5,
               Trim_Right(u.length));
    Title(r, "Prestressing Strand Geometry:", true, 29);
    r.Write_Line("Strand     Diameter       Area            X             Y");
    const std::string lt = Trim_Right(u.length).substr(1);
    std::string units = "  No.";
    units = Pad(units, 11) + lt;
    units = Pad(units, 28) + "Sq. " + lt;
    units = Pad(units, 42) + lt;
    units = Pad(units, 56) + lt;
    r.Write_Line(units);
    r.Write_Line("------    ---------    ----------    ----------    ----------");
    const int d = us ? 3 : 6;
    for (int b = 1; b <= ws.i_Num_Bars; ++b) {
        r.Write_Line(Format_I(b, 4) + Format_F(ws.Bar_Diameter[b], 14, d) +
                     Format_F(ws.Bar_Area[b], 14, d) + Format_F(ws.Bar_X0[b], 14, d) +
                     Format_F(ws.Bar_Y0[b], 14, d));
    }
}

void Write_Bar_Table(AnalysisModel& m, int k, const SectionWorkspace& ws) {
    const PileSection& s = m.Sections[k];
    TextFile& r = m.Report;
    const bool us = m.IUNITS == USCS;
    const int n = ws.i_Num_Bars;
    if (s.i_Section_Type == SECTION_RECTANGULAR_CONCRETE) {
        const SectionUnitTexts u = Section_Unit_Texts(m.IUNITS);
        r.Blank_Lines(1);
        r.Write_Line("Reinforcing Bar Details:");
        r.Blank_Lines(1);
        r.Write_Line("   Bar              Bar           Bar Diam.        Bar Area          Bar X  "
                     "          Bar Y");
        std::string units = "  Number           Index";
        units = Pad(units, 37) + u.length;
        units = Pad(units, 52) + u.area;
        units = Pad(units, 72) + u.length;
        units = Pad(units, 88) + u.length;
        r.Write_Line(Trim_Right(units));
        r.Write_Line("----------     ------------     ------------     ------------     "
                     "------------     ------------");
        for (int b = 1; b <= n; ++b) {
            // Five blanks after the index, then each value as five blanks and F12.6,
            // under the dashed fields of the rule.
            r.Write_Line(Format_I(b, 5) + Format_I(s.i_Bar_Index[b], 17) + "          " +
                         Format_F(ws.Bar_Diameter[b], 12, 6) + "     " +
                         Format_F(ws.Bar_Area[b], 12, 6) + "     " + Format_F(ws.Bar_X0[b], 12, 6) +
                         "     " + Format_F(ws.Bar_Y0[b], 12, 6));
        }
        return;
    }
    r.Write_Line("Reinforcing Bar Dimensions and Positions Used in Computations:");
    r.Blank_Lines(1);
    r.Write_Line("     Bar          Bar Diam.      Bar Area          X              Y     ");
    r.Write_Line(us ? "    Number         inches         sq. in.        inches         inches  "
                    : "    Number         meters         sq. m.         meters         meters  ");
    r.Write_Line("  ----------     ----------     ----------     ----------     ----------");
    auto coordinate = [&](double v) {
        if (std::fabs(v) <= 9.9999e-6) {
            r.Write_Text("     0.00000");
        } else {
            r.Write_Number(v, 12);
        }
    };
    for (int b = 1; b <= n; ++b) {
        r.Write_Integer(b, 7);
        r.Write_Blanks(8);
        r.Write_Number(ws.Bar_Diameter[b], 12);
        r.Write_Blanks(3);
        r.Write_Number(s.b_Bars_In_Circle ? s.Bar_Area : ws.Bar_Area[b], 12);
        r.Write_Blanks(3);
        coordinate(ws.Bar_X0[b]);
        r.Write_Blanks(3);
        coordinate(ws.Bar_Y0[b]);
        r.End_Line();
    }
    r.Blank_Lines(2);
    r.Write_Line(s.b_Bars_In_Circle
                     ? "NOTE: The positions of the above rebars were computed by Zarno"
                     : "NOTE: The positions of the above rebars were input by the user");
    r.Blank_Lines(1);
    if (n < 2) {
        return;
    }
    BarCoordinates X{}, Y{}, d{};
    for (int i = 1; i <= n; ++i) {
        X[i] = ws.Bar_X0[i];
        Y[i] = ws.Bar_Y0[i];
        d[i] = ws.Bar_Diameter[i];
    }
    const BarSpacing sp = fn_Min_Clear_Bar_Spacing(X, Y, d, n);
    r.Write_Text("Minimum spacing between any two bars not equal to zero = ");
    r.Write_Number(sp.spacing, 12);
    r.Write_Line(
        fmt::format("{} between Bars {} and {}", us ? " inches" : " meters", sp.bar_i, sp.bar_j));
    r.Blank_Lines(1);
    r.Write_Text("Spacing to aggregate size ratio = ");
    r.Write_Number(s.Max_Aggregate_Size > 0.0 ? sp.spacing / s.Max_Aggregate_Size : 0.0, 12);
    r.End_Line();
    r.Blank_Lines(2);
}

void Write_Concrete_Properties(AnalysisModel& m, int k, const SectionWorkspace& ws) {
    const SectionUnitTexts u = Section_Unit_Texts(m.IUNITS);
    Title(m.Report, "Concrete Properties:", true, 20);
    Write_Property_Line(m, "Compressive Strength of Concrete", ws.fc, u.stress);
    Write_Property_Line(m, "Modulus of Elasticity of Concrete", ws.Ec, u.stress);
    Write_Property_Line(m,
                        ws.i_Reinf_Kind >= REINF_PCI250
                            ? "Modulus of Rupture of Prestressed Concrete"
                            : "Modulus of Rupture of Concrete",
                        ws.ft, u.stress);
    Write_Property_Line(m, "Compression Strain at Peak Stress", ws.e0, "");
    Write_Property_Line(m, "Tensile Strain at Fracture of Concrete", ws.ecr, "");
    Write_Property_Line(m, "Maximum Coarse Aggregate Size", m.Sections[k].Max_Aggregate_Size,
                        u.length);
}

void Write_Run_Message_Definitions(AnalysisModel& m, const SectionWorkspace& ws) {
    TextFile& r = m.Report;
    if (ws.i_Geometry_Kind == GEOM_PIPE) {
        r.Blank_Lines(1);
        r.Write_Line("Definition of Run Messages:");
        r.Blank_Lines(1);
        r.Write_Line("   Y = part of pipe section has yielded.");
        return;
    }
    r.Blank_Lines(2);
    r.Write_Line("Definitions of Run Messages and Notes:");
    r.Write_Line(std::string(38, '-'));
    r.Blank_Lines(1);
    r.Write_Line("   C = concrete in section has cracked in tension.");
    r.Write_Line("   Y = stress in reinforcing steel has reached yield stress.");
    r.Write_Line(
        "   T = ACI 318-08 criteria for tension-controlled section met, tensile strain in ");
    r.Write_Line("       reinforcement exceeds 0.005 while simultaneously compressive strain in ");
    r.Write_Line("       concrete more than than 0.003. See ACI 318-08, Section 10.3.4.");
    r.Write_Line(
        "   Z = depth of tensile zone in concrete section is less than 10 percent of section "
        "depth.");
    r.Blank_Lines(1);
    r.Write_Line("Bending Stiffness (EI) = Computed Bending Moment / Curvature.");
    r.Write_Line("Position of neutral axis is measured from edge of compression side of pile.");
    r.Write_Line("Compressive stresses and strains are positive in sign.");
    r.Write_Line("Tensile stresses and strains are negative in sign.");
}

namespace {

// Dashed rule under the heading: one 13-dash field per 14-character column of the rows,
// then the run-message field.
std::string Heading_Rule(int columns) {
    std::string rule;
    for (int c = 0; c < columns; ++c) {
        rule += " -------------";
    }
    return rule + "  ---";
}

} // namespace

void Write_Moment_Curvature_Heading(AnalysisModel& m, const SectionWorkspace& ws, double thrust) {
    TextFile& r = m.Report;
    const SectionUnitTexts u = Section_Unit_Texts(m.IUNITS);
    if (ws.i_Heading_Mode == MC_HEADING_BY_DIRECTION) {
        r.Write_Line("Direction of Loading = " + Format_F(ws.Bending_Angle, 10, 3) + " degrees");
        r.Blank_Lines(1);
    } else {
        r.Blank_Lines(2);
        r.Write_Line("Axial Thrust Force = " + Format_F(thrust, 10, 3) + u.force.substr(0, 7));
        r.Blank_Lines(1);
    }
    const bool us = m.IUNITS == USCS;
    const bool si = m.IUNITS == SI;
    const char* su = us ? "           ksi" : si ? "           kPa" : "         F/L^2";
    if (ws.i_Geometry_Kind == GEOM_PIPE) {
        r.Write_Line("    Bending       Bending       Bending       Depth to     Max Total    Run");
        r.Write_Line("   Curvature      Moment       Stiffness       N Axis        Stress     Msg");
        r.Write_Line(
            us   ? "    rad/in.       in-kip        kip-in2          in           ksi          "
            : si ? "     rad/m         kN-m          kN-m2           m            kPa          "
                 : "     rad/L         F-L           F-L2            L            F/L^2        ");
        r.Write_Line(Heading_Rule(5));
        return;
    }
    int extra = 0;
    if (ws.i_Geometry_Kind == GEOM_CASED) {
        extra = 1;
    } else if (ws.i_Geometry_Kind == GEOM_CASED_CORE) {
        extra = 2;
    }
    std::string h1 =
        "    Bending       Bending       Bending       Depth to      Max Comp      Max "
        "Tens    Max Concrete   Max Steel";
    std::string h2 = "   Curvature      Moment       Stiffness       N Axis        Strain        "
                     "Strain        Stress        Stress";
    std::string h3 =
        us   ? "    rad/in.       in-kip        kip-in2          in          in/in         "
               "in/in          ksi           ksi"
        : si ? "     rad/m         kN-m          kN-m2           m            m/m           "
               "m/m           kPa           kPa"
             : "     rad/L         F-L           F-L2            L            L/L           "
               "L/L          F/L^2         F/L^2";
    if (extra >= 1) {
        h1 += "     Max Casing";
        h2 += "        Stress";
        h3 += su;
    }
    if (extra >= 2) {
        h1 += "    Max Core";
        h2 += "        Stress";
        h3 += su;
    }
    r.Write_Line(h1 + "   Run");
    r.Write_Line(h2 + "     Msg");
    r.Write_Line(h3);
    r.Write_Line(Heading_Rule(8 + extra));
}

} // namespace zarno
