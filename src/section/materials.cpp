#include "section/materials.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "report/fortran_format.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zarno {

namespace {

constexpr double KSI_TO_KPA = 6894.75732421875;
constexpr double SOFTENING = static_cast<double>(0.15f);

} // namespace

double Stress_Unit_Factor(int iunits) {
    return iunits == USCS ? 1.0 : KSI_TO_KPA;
}

void Set_Concrete_Constants(SectionWorkspace& ws) {
    if (ws.i_Concrete_Model == 1) {
        ws.Ec = 0.0;
        return;
    }
    const double k = Stress_Unit_Factor(ws.IUNITS);
    const double fc_ksi = ws.fc / k;
    const double root = std::sqrt(1000.0 * fc_ksi);
    ws.Ec = 57.0 * root * k;
    const double c =
        ws.i_Reinf_Kind == REINF_BARS ? static_cast<double>(0.0075f) : static_cast<double>(0.004f);
    ws.ft = -c * root * k;
    ws.e0 = 1.7 * ws.fc / ws.Ec;
    // Tensile strain at which the mirrored parabola reaches ft.
    ws.ecr = -(1.0 - std::sqrt(ws.ft / ws.fc + 1.0)) * ws.e0;
    ws.fc_15 = SOFTENING * ws.fc;
    ws.e_Softening = CONCRETE_CRUSHING_STRAIN - ws.e0;
}

double fn_Deformed_Bar_fpu(int size_index) {
    constexpr double table[6] = {157.0, 150.0, 160.0, 150.0, 160.0, 150.0};
    if (size_index < 0 || size_index > 5) {
        return 150.0;
    }
    return table[size_index];
}

double fn_Strand_Stress_ksi(int kind, double e, double fpu_deformed) {
    const double a = std::fabs(e);
    const double sign = e < 0.0 ? -1.0 : 1.0;
    switch (kind) {
    case REINF_PCI250: {
        const double lim = static_cast<double>(0.0076f);
        const double c = static_cast<double>(0.04f);
        const double off = static_cast<double>(0.0064f);
        if (a <= lim) {
            return 28500.0 * e;
        }
        if (e > lim) {
            return std::min(250.0, 250.0 - c / (e - off));
        }
        return -(250.0 - c / (a - off));
    }
    case REINF_PCI270: {
        const double lim = static_cast<double>(0.0086f);
        if (a <= lim) {
            return 28500.0 * e;
        }
        const double s = 270.0 - static_cast<double>(0.04f) / (a - static_cast<double>(0.007f));
        return sign * std::min(270.0, s);
    }
    case REINF_PCI300: {
        const double lim = static_cast<double>(0.0088846f);
        if (a <= lim) {
            return 28500.0 * e;
        }
        const double s = 300.0 - static_cast<double>(0.0835f) / (a - static_cast<double>(0.0071f));
        return sign * std::min(300.0, s);
    }
    case REINF_SMOOTH145:
        return a <= 0.005 ? 29000.0 * e : sign * 145.0;
    case REINF_SMOOTH160:
        return a <= 160.0 / 29000.0 ? 29000.0 * e : sign * 160.0;
    case REINF_DEFORMED:
        return std::clamp(29000.0 * e, -fpu_deformed, fpu_deformed);
    default:
        return 0.0;
    }
}

void Compute_Concrete_Stresses(SectionWorkspace& ws) {
    const int n = ws.i_Num_Slices;
    // The extreme tension fibre decides whether the section has cracked at all. Slice strains
    // are the concrete's total strains: in a prestressed pile the precompression is already
    // part of them (the strands carry it through their prestrain e_ps), so it is not added
    // again here, in the top strain of the capacity or in the cracking load.
    ws.e_Bottom = (ws.y_n - ws.H) * ws.Phi;
    bool cracked = ws.b_Tension_Off || ws.e_Bottom < ws.ecr;
    for (int i = 1; i <= n; ++i) {
        const double e = ws.Strain[i];
        double s = 0.0;
        if (e <= 0.0) {
            if (!cracked) {
                s = fn_Concrete_Tension(ws, e);
                if (s < ws.ft || ws.b_Tension_Off) {
                    s = 0.0;
                    cracked = true;
                }
            }
        } else {
            s = fn_Concrete_Compression(ws, e);
        }
        ws.Stress_Concrete[i] = s;
    }
    ws.b_Eval_Cracked = ws.b_Eval_Cracked || cracked;
}

void Compute_Core_Concrete_Stresses(SectionWorkspace& ws) {
    const int n = ws.i_Num_Slices;
    bool cracked = ws.b_Tension_Off || ws.e_Bottom < ws.ecr;
    for (int i = 1; i <= n; ++i) {
        const double e = ws.Strain[i];
        double s = 0.0;
        if (e <= 0.0) {
            if (!cracked) {
                s = fn_Concrete_Tension(ws, e);
                if (s < ws.ft || ws.b_Tension_Off) {
                    s = 0.0;
                    cracked = true;
                }
            }
        } else {
            s = fn_Core_Concrete_Compression(ws, e);
        }
        ws.Stress_Core_Concrete[i] = s;
    }
    ws.b_Eval_Cracked = ws.b_Eval_Cracked || cracked;
}

void Compute_Reinforcement_Stresses(SectionWorkspace& ws) {
    const int n = ws.i_Num_Slices;
    if (ws.i_Reinf_Kind == REINF_BARS) {
        // Only a slice that holds steel can signal yielding of the reinforcement.
        for (int i = 1; i <= n; ++i) {
            bool yielded = false;
            ws.Stress_Bars[i] = fn_Elastic_Plastic_Stress(ws.Strain[i], ws.Es, ws.fy, yielded);
            if (yielded && ws.i_Num_Bars > 0 && ws.Area_Bars[i] > 0.0) {
                ws.b_Eval_Yielded = true;
            }
        }
        return;
    }
    const double k = Stress_Unit_Factor(ws.IUNITS);
    const double fpu9 = fn_Deformed_Bar_fpu(ws.i_Strand_Size_First);
    for (int i = 1; i <= n; ++i) {
        ws.Stress_Bars[i] = fn_Strand_Stress_ksi(ws.i_Reinf_Kind, ws.Strain[i] + ws.e_ps, fpu9) * k;
    }
}

void Compute_Casing_Stresses(SectionWorkspace& ws) {
    bool yielded = false;
    for (int i = 1; i <= ws.i_Num_Slices; ++i) {
        ws.Stress_Casing[i] =
            fn_Elastic_Plastic_Stress(ws.Strain[i], ws.Casing_E, ws.Casing_Fy, yielded);
    }
    ws.b_Eval_Yielded = ws.b_Eval_Yielded || yielded;
}

void Compute_Core_Steel_Stresses(SectionWorkspace& ws) {
    ws.Stress_Core_Tube.fill(0.0);
    if (ws.Core_Wall <= 0.0) {
        return;
    }
    bool yielded = false;
    for (int i = ws.i_Core_First_Slice; i <= ws.i_Core_Last_Slice; ++i) {
        ws.Stress_Core_Tube[i] =
            fn_Elastic_Plastic_Stress(ws.Strain[i], ws.Core_E, ws.Core_Fy, yielded);
    }
    ws.b_Eval_Yielded = ws.b_Eval_Yielded || yielded;
}

namespace {

[[nodiscard]] int Prestress_Area_Error(AnalysisModel& m, int n, const char* what, double value) {
    return Fail_Run_Numbered(m, MessageId::PrestressArea, 200 + n, what, Format_Number(value, 15));
}

void Property_Line(TextFile& r, const std::string& label, double value, const std::string& unit) {
    std::string text = label;
    text.resize(56, ' ');
    r.Write_Text(text + "= ");
    r.Write_Number(value, 15);
    r.Write_Text(unit);
    r.End_Line();
}

struct MnRule {
    double k;
    const char* text;
};

MnRule Prestress_Mn_Rule(int section_type) {
    switch (section_type) {
    case 6:
        return {0.34, "Mn = 0.34 D As fpu"};
    case 7:
        return {0.37, "Mn = 0.37 D As fpu"};
    case 8:
        return {0.38, "Mn = 0.38 D As fpu"};
    case 9:
        return {0.32, "Mn = 0.32 D As fpu"};
    case 10:
        return {0.34, "Mn = 0.34 D As fpu"};
    default:
        return {0.32, "Mn = 0.32 D As fpu "};
    }
}

} // namespace

void Calculate_Strains_Due_To_Prestressing(AnalysisModel& m, SectionWorkspace& ws) {
    double Ac = 0.0;
    double As = 0.0;
    for (int i = 1; i <= ws.i_Num_Slices; ++i) {
        Ac += ws.Area_Concrete[i];
        As += ws.Area_Bars[i];
    }
    if (Ac <= 0.0) {
        if (Prestress_Area_Error(m, 14, "concrete", Ac) > 0) {
            return;
        }
    }
    if (As <= 0.0) {
        if (Prestress_Area_Error(m, 15, "steel", As) > 0) {
            return;
        }
    }
    const double P = (1.0 - ws.Prestress_Loss) * ws.Prestress_Force;
    // Prestressing forces are entered in pounds in US customary runs.
    const double force_scale = ws.IUNITS == USCS ? 1000.0 : 1.0;
    ws.e_ps = -P / (force_scale * ws.Strand_E * As);
    ws.e_pc = P / (force_scale * Ac * ws.Ec);
    const double fpc = ws.e_pc * ws.Ec;
    ws.Prestress_fpc = fpc;
    const double c85 = static_cast<double>(0.85f);
    ws.Prestress_Pn = (c85 * ws.fc - 0.60 * fpc) * (Ac + As);
    ws.Prestress_N = (0.33 * ws.fc - 0.27 * fpc) * (Ac + As);
    ws.Prestress_Nt = -As * ws.fpu;
    const MnRule rule = Prestress_Mn_Rule(ws.i_Section_Type);
    ws.Prestress_Mn = rule.k * ws.Diameter * As * ws.fpu;

    if (ws.b_Prestress_Reported) {
        return;
    }
    ws.b_Prestress_Reported = true;
    TextFile& r = m.Report;
    const UnitLabels& u = m.Labels;
    const bool us = ws.IUNITS == USCS;
    const std::string force = us ? " kips   " : " kN     ";
    const std::string stress = us ? " ksi    " : " kPa    ";
    const std::string area = us ? " sq. in." : " sq. m  ";
    const std::string moment = us ? " in-kip " : " kN-m   ";
    (void)u;
    r.Blank_Lines(1);
    r.Write_Line("Computation of Loss of Prestress:");
    r.Write_Line(std::string(33, '-'));
    r.Blank_Lines(1);
    // Forces of US customary runs are printed in kips.
    const double pf = us ? 1000.0 : 1.0;
    Property_Line(r, "Initial Prestressing Force", ws.Prestress_Force / pf, force);
    Property_Line(r, "Fraction of Loss of Prestress", ws.Prestress_Loss, "");
    Property_Line(r, "Effective Prestressing Force", P / pf, force);
    Property_Line(r, "Area of Concrete, Ac", Ac, area);
    Property_Line(r, "Area of Steel, As", As, area);
    Property_Line(r, "Stress in Concrete After Losses, f_pc", fpc, stress);
    Property_Line(r, "Stress in Steel After Losses", ws.e_ps * ws.Strand_E, stress);
    Property_Line(r, "Compressive Strain in Concrete", ws.e_pc, "");
    Property_Line(r, "Tensile Strain in Steel", ws.e_ps, "");
    r.Blank_Lines(1);
    r.Write_Line("Estimated Structural Capacities Computed Using PCI Equations:");
    r.Write_Line(std::string(61, '-'));
    r.Blank_Lines(1);
    Property_Line(r, "Nom. Axial Cap., Pn = (0.85 f'c - 0.60 f_pc) Ag", ws.Prestress_Pn, force);
    Property_Line(r, "Unfac. Axial Load Cap. N  = (0.33 f'c - 0.27 f_pc) Ag", ws.Prestress_N,
                  force);
    Property_Line(r, "Axial Capacity in Tension, Nt = As fpu", ws.Prestress_Nt, force);
    Property_Line(r, std::string("Nom. Moment Capacity, ") + rule.text, ws.Prestress_Mn, moment);
    r.Blank_Lines(1);
    r.Write_Line("Note:  The above value of nominal moment capacity is based on equations that");
    r.Write_Line("       are approximate. The moment capacity computed from the moment-curvature");
    r.Write_Line("       analysis below accounts for the actual strand arrangement, the");
    r.Write_Line("       prestress losses and the axial thrust, and is to be preferred for");
    r.Write_Line("       design.");
}

} // namespace zarno
