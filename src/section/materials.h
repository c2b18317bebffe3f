// Stress-strain laws of the section materials and the constants derived from them.
// Compressive strains and stresses are positive. Empirical laws are written in ksi;
// runs in other units convert the stresses with Stress_Unit_Factor.
#pragma once

#include "section/section_workspace.h"

#include <cmath>

namespace zarno {

struct AnalysisModel;

// ksi per working stress unit: 1 in US customary runs, kPa per ksi otherwise.
double Stress_Unit_Factor(int iunits);

// Ec, ft, e0, ecr and the softening constants of the concrete of the section.
void Set_Concrete_Constants(SectionWorkspace& ws);

// Strain at which concrete crushes, and the token stress that crushed concrete keeps.
inline constexpr double CONCRETE_CRUSHING_STRAIN = static_cast<double>(0.0038f);
inline constexpr double CRUSHED_CONCRETE_STRESS = static_cast<double>(0.001f);

// The point laws below are defined here so that the slice loops of the equilibrium search
// can inline them.

// Parabolic concrete in compression with its linear descending branch (0 < e).
inline double fn_Concrete_Compression(const SectionWorkspace& ws, double e) {
    if (e > CONCRETE_CRUSHING_STRAIN) {
        return CRUSHED_CONCRETE_STRESS; // crushed concrete keeps a token stress
    }
    const double x = e / ws.e0;
    if (x < 1.0) {
        return ws.fc * (2.0 * x - x * x);
    }
    return ws.fc - ws.fc_15 * (e - ws.e0) / ws.e_Softening;
}

// Confined core concrete: the plain parabola up to 0.0038 (0 < e).
inline double fn_Core_Concrete_Compression(const SectionWorkspace& ws, double e) {
    if (e > CONCRETE_CRUSHING_STRAIN) {
        return CRUSHED_CONCRETE_STRESS;
    }
    const double x = e / ws.e0;
    return ws.fc * (2.0 * x - x * x);
}

// Uncracked concrete in tension, the mirrored parabola (e <= 0).
inline double fn_Concrete_Tension(const SectionWorkspace& ws, double e) {
    const double x = e / ws.e0;
    return -ws.fc * (2.0 * std::fabs(x) - x * x);
}

// Concrete in tension (e <= 0) of a slice not yet cracked: the mirrored parabola, or 0 with
// cracked raised once the stress falls below the tensile strength ft (negative) or tension
// is not counted at all.
inline double Tension_Until_Cracked(const SectionWorkspace& ws, double e, double ft,
                                    bool tension_off, bool& cracked) {
    const double s = fn_Concrete_Tension(ws, e);
    if (s < ft || tension_off) {
        cracked = true;
        return 0.0;
    }
    return s;
}

// Elastic-perfectly plastic steel; raises yielded when a limit is reached.
inline double fn_Elastic_Plastic_Stress(double e, double E, double Fy, bool& yielded) {
    double s = E * e;
    if (s >= Fy) {
        s = Fy;
        yielded = true;
    } else if (s <= -Fy) {
        s = -Fy;
        yielded = true;
    }
    return s;
}

// Prestressing strand or high-strength bar law of the given kind at total strain e
// (slice strain plus initial strand strain), in ksi. fpu_deformed is the strength of
// deformed bars (kind 9).
double fn_Strand_Stress_ksi(int kind, double e, double fpu_deformed);
// fpu in ksi of a deformed high-strength bar of the given size index.
double fn_Deformed_Bar_fpu(int size_index);

// Per-slice stresses from the strains in ws.Strain.
void Compute_Concrete_Stresses(SectionWorkspace& ws);
void Compute_Core_Concrete_Stresses(SectionWorkspace& ws);
void Compute_Reinforcement_Stresses(SectionWorkspace& ws);
void Compute_Casing_Stresses(SectionWorkspace& ws);
void Compute_Core_Steel_Stresses(SectionWorkspace& ws);

// Initial strains of a prestressed section and the estimated PCI capacities; writes the
// loss-of-prestress block to the report once per section. RUN00014/15 on empty areas.
void Calculate_Strains_Due_To_Prestressing(AnalysisModel& m, SectionWorkspace& ws);

} // namespace zarno
