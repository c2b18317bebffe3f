#include "profile/section_props.h"

#include "engine/analysis_model.h"
#include "engine/pile_section.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zarno {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kPsiPerKsiSI = 6894.75732421875; // kPa per ksi, single-precision value

double Circle_I(double d) {
    return d > 0.0 ? kPi * d * d * d * d / 64.0 : 0.0;
}

// Moment of inertia of a square of side w with corners chamfered by legs c, about a
// centroidal axis parallel to a side.
double Square_I(double w, double c) {
    double I = w * w * w * w / 12.0;
    if (c > 0.0) {
        const double arm = w / 2.0 - c / 3.0;
        I -= 4.0 * (c * c * c * c / 36.0 + c * c / 2.0 * arm * arm);
    }
    return I;
}

// Regular octagon of width w across flats: I = A/24·(6R² − a²), side a, circumradius R.
double Octagon_I(double w) {
    const double a = w * std::tan(kPi / 8.0);
    const double R = a / (2.0 * std::sin(kPi / 8.0));
    const double A = 2.0 * (1.0 + std::sqrt(2.0)) * a * a;
    return A / 24.0 * (6.0 * R * R - a * a);
}

double Tube_I(double d, double t) {
    return Circle_I(d) - Circle_I(std::max(d - 2.0 * t, 0.0));
}

double User_Starting_EI(const PileSection& s) {
    if (s.i_Num_User_Thrusts < 1) {
        return 0.0;
    }
    const UserEIThrust& u = s.User_EI[1];
    const int n = std::clamp(u.i_Num_Points, 0, MAX_USER_EI_POINTS);
    if (s.b_Moment_vs_EI) {
        return n >= 1 ? u.EI_or_Curvature[1] : 0.0;
    }
    for (int k = 1; k <= n; ++k) {
        if (u.EI_or_Curvature[k] != 0.0) {
            return u.Moment[k] / u.EI_or_Curvature[k];
        }
    }
    return 0.0;
}

} // namespace

double Concrete_Elastic_Modulus(double fc, int iunits) {
    if (fc <= 0.0) {
        return 0.0;
    }
    if (iunits == USCS) {
        return 1000.0 * 57.0 * std::sqrt(fc); // 57·sqrt(1000·f'c[ksi]) ksi, in psi
    }
    const double fc_ksi = fc / kPsiPerKsiSI;
    return 57.0 * std::sqrt(1000.0 * fc_ksi) * kPsiPerKsiSI;
}

PileProps Section_End_Props(const PileSection& s, bool bottom, int iunits) {
    PileProps p;
    p.b = bottom ? s.Width_Bottom : s.Width_Top;
    const double Ec = Concrete_Elastic_Modulus(s.fc, iunits);
    const double D = s.Diameter;
    switch (s.i_Section_Type) {
    case SECTION_STEEL_PIPE:
    case SECTION_ELASTIC:
    case SECTION_ELASTIC_PLASTIC:
        p.E = bottom ? s.E_Bottom : s.E_Top;
        p.I = bottom ? s.I_Bottom : s.I_Top;
        p.A = bottom ? s.Area_Bottom : s.Area_Top;
        p.EI = p.E * p.I;
        if (s.i_Section_Type != SECTION_STEEL_PIPE && s.i_Shape_Type == SHAPE_EMBEDDED_POLE) {
            p.Pole_Width = bottom ? s.Elastic_Width_Bottom : s.Elastic_Width_Top;
        }
        break;
    case SECTION_RECTANGULAR_CONCRETE:
        // The diameter field holds the section depth in the bending direction.
        p.EI = Ec * s.Section_Width * D * D * D / 12.0;
        break;
    case SECTION_DRILLED_SHAFT:
    case SECTION_CIRCULAR_SOLID_PRESTRESSED:
        p.EI = Ec * Circle_I(D);
        break;
    case SECTION_CIRCULAR_HOLLOW_PRESTRESSED:
        p.EI = Ec * (Circle_I(D) - Circle_I(s.Void_Diameter));
        break;
    case SECTION_CASED_SHAFT: {
        const double inner = std::max(D - 2.0 * s.Casing_Thickness, 0.0);
        p.EI = s.Casing_E * Tube_I(D, s.Casing_Thickness) + Ec * Circle_I(inner);
        break;
    }
    case SECTION_CASED_SHAFT_WITH_CORE: {
        const double inner = std::max(D - 2.0 * s.Casing_Thickness, 0.0);
        const double dc = std::min(s.Core_Diameter, inner);
        const double core_inner = std::max(dc - 2.0 * s.Core_Thickness, 0.0);
        p.EI = s.Casing_E * Tube_I(D, s.Casing_Thickness) + Ec * (Circle_I(inner) - Circle_I(dc)) +
               s.Core_E * Tube_I(dc, s.Core_Thickness);
        if (s.b_Core_Filled) {
            p.EI += Ec * Circle_I(core_inner);
        }
        break;
    }
    case SECTION_SQUARE_SOLID_PRESTRESSED:
        p.EI = Ec * Square_I(D, s.Chamfer);
        break;
    case SECTION_SQUARE_HOLLOW_PRESTRESSED:
        p.EI = Ec * (Square_I(D, s.Chamfer) - Circle_I(s.Void_Diameter));
        break;
    case SECTION_OCTAGONAL_SOLID_PRESTRESSED:
        p.EI = Ec * Octagon_I(D);
        break;
    case SECTION_OCTAGONAL_HOLLOW_PRESTRESSED:
        p.EI = Ec * (Octagon_I(D) - Circle_I(s.Void_Diameter));
        break;
    case SECTION_USER_EI:
        p.EI = User_Starting_EI(s);
        break;
    default: // a micropile has no width and no stiffness of its own
        break;
    }
    return p;
}

void Build_Pile_Property_Table(const RunInput& in, const SectionTable& sections,
                               StationGrid& grid) {
    PilePropertyTable& t = grid.Pile_Property_Table;
    t = PilePropertyTable{};
    const int ns = std::clamp(in.i_Num_Sections, 0, MAX_SECTIONS);
    int n = 0;
    for (int k = 1; k <= ns; ++k) {
        const PileSection& s = sections[k];
        if (s.i_Section_Type == SECTION_MICROPILE) {
            continue; // no depth range of its own
        }
        for (bool bottom : {false, true}) {
            ++n;
            t.Depth[n] = bottom ? s.XBottom : s.XTop;
            t.Props[n] = Section_End_Props(s, bottom, in.IUNITS);
            t.Props[n].i_Section = k;
        }
    }
    t.i_Num_Points = n;
}

} // namespace zarno
