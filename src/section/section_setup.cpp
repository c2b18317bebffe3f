#include "section/section_setup.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "section/bar_placement.h"
#include "section/materials.h"

#include <cmath>
#include <numbers>

namespace zarno {

namespace {

constexpr double PI = std::numbers::pi;

[[nodiscard]] int Placement_Error(AnalysisModel& m, int k, const char* what) {
    return Fail_Run(m, MessageId::SectionBarPlacement, what, k);
}

int Reinforcement_Kind(int strand_type) {
    switch (strand_type) {
    case 0:
        return REINF_PCI250;
    case 1:
        return REINF_PCI270;
    case 2:
        return REINF_PCI300;
    case 3:
        return REINF_SMOOTH145;
    case 4:
        return REINF_SMOOTH160;
    default:
        return REINF_DEFORMED;
    }
}

} // namespace

int fn_Geometry_Kind(const PileSection& s) {
    switch (s.i_Section_Type) {
    case SECTION_RECTANGULAR_CONCRETE:
        return GEOM_RECTANGLE;
    case SECTION_DRILLED_SHAFT:
    case SECTION_CIRCULAR_SOLID_PRESTRESSED:
        return GEOM_CIRCLE;
    case SECTION_CIRCULAR_HOLLOW_PRESTRESSED:
        return GEOM_CIRCLE_VOID;
    case SECTION_CASED_SHAFT:
        return GEOM_CASED;
    case SECTION_CASED_SHAFT_WITH_CORE:
        return GEOM_CASED_CORE;
    case SECTION_STEEL_PIPE:
        return GEOM_PIPE;
    case SECTION_SQUARE_SOLID_PRESTRESSED:
        return s.Chamfer == 0.0 ? GEOM_RECTANGLE : GEOM_POLYGON;
    case SECTION_OCTAGONAL_SOLID_PRESTRESSED:
        return GEOM_POLYGON;
    case SECTION_SQUARE_HOLLOW_PRESTRESSED:
    case SECTION_OCTAGONAL_HOLLOW_PRESTRESSED:
        return GEOM_POLYGON_VOID;
    default:
        return 0;
    }
}

void Fill_Section_Workspace(AnalysisModel& m, int k, SectionWorkspace& ws) {
    const PileSection& s = m.Sections[k];
    const int type = s.i_Section_Type;
    const bool us = m.IUNITS == USCS;
    // Strengths and moduli are entered in psi in US customary runs.
    const double stress = us ? 1.0 / 1000.0 : 1.0;
    ws.IUNITS = m.IUNITS;
    ws.i_Section_Type = type;
    ws.i_Geometry_Kind = fn_Geometry_Kind(s);
    ws.Bending_Angle = 0.0;
    ws.Diameter = s.Diameter;
    ws.Width = type == SECTION_RECTANGULAR_CONCRETE ? s.Section_Width : s.Diameter;
    ws.Chamfer = s.Chamfer;
    ws.fc = s.fc * stress;
    ws.i_Concrete_Model = type == SECTION_STEEL_PIPE ? 1 : 2;
    ws.i_Core_Concrete_Model = type == SECTION_CASED_SHAFT_WITH_CORE ? 2 : 1;
    ws.i_Reinf_Kind = type >= 5 ? Reinforcement_Kind(s.i_Strand_Type) : REINF_BARS;

    ws.Casing_Diameter = 0.0;
    ws.Casing_Wall = 0.0;
    if (type == SECTION_CASED_SHAFT || type == SECTION_CASED_SHAFT_WITH_CORE ||
        type == SECTION_STEEL_PIPE) {
        ws.Casing_Diameter = s.Diameter;
        ws.Casing_Wall = s.Casing_Thickness;
        ws.Casing_Fy = s.Casing_Fy * stress;
        ws.Casing_E = s.Casing_E * stress;
    }
    ws.b_Core_Present = false;
    ws.b_Core_Filled = false;
    ws.Core_Diameter = 0.0;
    ws.Core_Wall = 0.0;
    if (type == SECTION_CASED_SHAFT_WITH_CORE) {
        ws.b_Core_Present = true;
        ws.b_Core_Filled = s.b_Core_Filled;
        ws.Core_Diameter = s.Core_Diameter;
        ws.Core_Wall = s.Core_Thickness;
        ws.Core_Fy = s.Core_Fy * stress;
        ws.Core_E = s.Core_E * stress;
    } else if (type == SECTION_CIRCULAR_HOLLOW_PRESTRESSED ||
               type == SECTION_SQUARE_HOLLOW_PRESTRESSED ||
               type == SECTION_OCTAGONAL_HOLLOW_PRESTRESSED) {
        // The void is a core without wall and without concrete.
        ws.b_Core_Present = true;
        ws.Core_Diameter = s.Void_Diameter;
    }

    ws.i_Num_Bars = type == SECTION_STEEL_PIPE ? 0 : std::min(s.i_Num_Bars, MAX_BARS);
    for (int b = 1; b <= ws.i_Num_Bars; ++b) {
        ws.Bar_X0[b] = s.Bar_X[b];
        ws.Bar_Y0[b] = s.Bar_Y[b];
        ws.Bar_Diameter[b] = s.Bar_Dia[b];
        ws.Bar_Area[b] = s.Bar_Area_k[b];
    }
    if (type <= SECTION_CASED_SHAFT_WITH_CORE) {
        ws.fy = s.Rebar_fy * stress;
        ws.Es = s.Rebar_E * stress;
        if (s.b_Bars_In_Circle && ws.i_Num_Bars > 0) {
            // The cage sits inside the casing of a cased shaft.
            const double D = type == SECTION_CASED_SHAFT || type == SECTION_CASED_SHAFT_WITH_CORE
                                 ? s.Diameter - 2.0 * s.Casing_Thickness
                                 : s.Diameter;
            bool ok = false;
            BarCoordinates X{}, Y{};
            Place_Bars_In_Circle(X, Y, D, s.Cover, s.Bar_Diameter, s.i_Num_Bar_Positions,
                                 s.i_Bars_Per_Position, ok);
            if (!ok || s.i_Bars_Per_Position > 3) {
                if (Placement_Error(m, k, "reinforcing bars") > 0) {
                    return;
                }
            }
            for (int b = 1; b <= ws.i_Num_Bars; ++b) {
                ws.Bar_X0[b] = X[b];
                ws.Bar_Y0[b] = Y[b] + s.Cage_Offset;
            }
        }
    } else if (type >= 5) {
        // Strand strengths are tabled in psi.
        const double fpu_scale = us               ? 1.0 / 1000.0
                                 : m.IUNITS == SI ? 6894.75732421875 / 1000.0
                                                  : 1.0;
        ws.fpu = s.Strand_fpu * fpu_scale;
        ws.Strand_E = s.Strand_E;
        ws.i_Strand_Type = s.i_Strand_Type;
        ws.i_Strand_Size_First = s.i_Strand_Size[1];
        ws.Prestress_Force = s.Prestress_Force;
        ws.Prestress_Loss = s.Prestress_Loss;
        if (s.b_Autoposition_Strands && ws.i_Num_Bars > 0) {
            BarCoordinates X{}, Y{};
            for (int b = 1; b <= ws.i_Num_Bars; ++b) {
                X[b] = ws.Bar_X0[b];
                Y[b] = ws.Bar_Y0[b];
            }
            bool ok = true;
            if (s.i_Strand_Arrangement == 0) {
                Place_Bars_In_Circle(X, Y, s.Diameter, s.Strand_Cover, s.Strand_Diameter,
                                     ws.i_Num_Bars, 1, ok);
            } else if (s.i_Strand_Arrangement == 1 || s.i_Strand_Arrangement == 2) {
                if (ws.i_Num_Bars < 4) {
                    ok = false;
                } else {
                    Place_Strands_Square(X, Y, s.Diameter, s.Strand_Cover, s.Strand_Diameter,
                                         ws.i_Num_Bars, s.i_Strand_Arrangement, ok);
                }
            }
            if (!ok) {
                if (Placement_Error(m, k, "prestressing strands") > 0) {
                    return;
                }
            }
            for (int b = 1; b <= ws.i_Num_Bars; ++b) {
                ws.Bar_X0[b] = X[b];
                ws.Bar_Y0[b] = Y[b];
            }
        }
    }
}

SectionAreas fn_Section_Areas(const SectionWorkspace& ws) {
    SectionAreas a;
    const double D = ws.Diameter;
    switch (ws.i_Geometry_Kind) {
    case GEOM_RECTANGLE_CORE:
        a.gross = ws.Width * ws.Diameter;
        break;
    case GEOM_RECTANGLE:
    case GEOM_POLYGON:
    case GEOM_POLYGON_VOID: {
        a.gross = ws.Total_Concrete_Area + ws.Total_Bar_Area;
        break;
    }
    default:
        a.gross = PI * D * D / 4.0;
        break;
    }
    if (ws.Casing_Wall > 0.0) {
        const double d = ws.Casing_Diameter - 2.0 * ws.Casing_Wall;
        a.inside = PI * d * d / 4.0;
        a.casing = PI * ws.Casing_Diameter * ws.Casing_Diameter / 4.0 - a.inside;
    } else {
        a.inside = a.gross;
    }
    if (ws.b_Core_Present) {
        const double Dk = ws.Core_Diameter;
        const double dk = Dk - 2.0 * ws.Core_Wall;
        a.core_gross = PI * Dk * Dk / 4.0;
        a.core = PI * (Dk * Dk - dk * dk) / 4.0;
    }
    a.bars = ws.Total_Bar_Area;
    return a;
}

void Compute_Axial_Capacities(SectionWorkspace& ws) {
    const SectionAreas a = fn_Section_Areas(ws);
    const double c85 = static_cast<double>(0.85f);
    const double As = a.bars;
    const double fc = ws.fc;
    switch (ws.i_Section_Type) {
    case SECTION_RECTANGULAR_CONCRETE:
    case SECTION_DRILLED_SHAFT:
        ws.Pn = c85 * fc * (a.gross - As) + ws.fy * As;
        ws.Nt = -ws.fy * As;
        ws.Pcr = ws.ecr * (ws.Es * As + ws.Ec * (a.gross - As));
        break;
    case SECTION_CASED_SHAFT:
        ws.Pn = ws.Casing_Fy * a.casing + c85 * fc * (a.inside - As) + ws.fy * As;
        ws.Nt = -(ws.Casing_Fy * a.casing + ws.fy * As);
        ws.Pcr = ws.ecr * (ws.Es * (a.casing + As) + ws.Ec * (a.gross - a.casing - As));
        break;
    case SECTION_CASED_SHAFT_WITH_CORE: {
        const double Ak = ws.b_Core_Filled ? a.core : a.core_gross;
        ws.Pn = ws.Casing_Fy * a.casing + ws.Core_Fy * a.core + ws.fy * As +
                c85 * fc * (a.inside - Ak - As);
        ws.Nt = -(ws.Casing_Fy * a.casing + ws.Core_Fy * a.core + ws.fy * As);
        const double dk = ws.Core_Diameter - 2.0 * ws.Core_Wall;
        const double Ac = ws.b_Core_Filled ? a.gross - a.casing - a.core - As
                                           : PI * (ws.Diameter * ws.Diameter - dk * dk) / 4.0 -
                                                 a.casing - a.core - As;
        ws.Pcr = ws.ecr * (ws.Es * (a.casing + a.core + As) + ws.Ec * Ac);
        break;
    }
    case SECTION_STEEL_PIPE:
        ws.Pn = ws.Casing_Fy * a.casing;
        ws.Nt = -ws.Casing_Fy * a.casing;
        ws.Pcr = 0.0;
        break;
    default: {
        // Prestressed piles: PCI capacities. The concrete cracks under the uniform strain
        // ecr, where it carries ft; the strands then carry their law's stress at ecr plus
        // their prestrain, so the tension has first removed the whole precompression.
        ws.Pn = ws.Prestress_Pn;
        ws.Nt = ws.Prestress_Nt;
        const double Ac = ws.Total_Concrete_Area;
        const double strand_stress =
            fn_Strand_Stress_ksi(ws.i_Reinf_Kind, ws.ecr + ws.e_ps,
                                 fn_Deformed_Bar_fpu(ws.i_Strand_Size_First)) *
            Stress_Unit_Factor(ws.IUNITS);
        ws.Pcr = ws.ft * Ac + strand_stress * As;
        // At zero concrete strain the whole thrust is the strands' prestress force.
        ws.Decompression_Load = fn_Strand_Stress_ksi(ws.i_Reinf_Kind, ws.e_ps,
                                                     fn_Deformed_Bar_fpu(ws.i_Strand_Size_First)) *
                                Stress_Unit_Factor(ws.IUNITS) * As;
        break;
    }
    }
}

} // namespace zarno
