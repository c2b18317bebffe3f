#include "section/elastic_sections.h"

#include "engine/analysis_model.h"
#include "engine/results.h"
#include "report/fortran_format.h"
#include "report/plot_file.h"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>
#include <string>
#include <string_view>

namespace zarno {

namespace {

constexpr int CURVE_POINTS = MAX_MC_POINTS; // 150

// Thrusts shared by every curve of an elastic section: the run's thrust list, or a single
// zero thrust when the run has none (the curve does not depend on the thrust).
int Thrust_Count(const AnalysisModel& m) {
    return std::max(1, std::min(m.i_Num_Axial_Thrusts, MAX_AXIAL_THRUSTS));
}
double Thrust_Value(const AnalysisModel& m, int t) {
    return t <= m.i_Num_Axial_Thrusts ? m.Axial_Thrust_List[t] : 0.0;
}

void Plot_Line3(AnalysisModel& m, int count, const char* label) {
    m.Plot.Write_Line(Format_I(count, 5) + std::string(75, ' ') + label);
}

void Plot_Line4(AnalysisModel& m, int n, double thrust, double Mn, const std::string& label) {
    m.Plot.Write_Line(Format_I(n, 5) + std::string(10, ' ') + Format_ES(thrust, 15, 7) +
                      Format_ES(Mn, 15, 7) + std::string(35, ' ') + label);
    Record_Section_Curve(m, 0, 0, thrust, Mn, label);
}

void Plot_Line5(AnalysisModel& m, double M, double EI, double phi, const char* label, int s, int t,
                int p) {
    Write_Curve_Point_Line(m.Plot, M, EI, phi, label, s, t, p);
    Record_Section_Point(m, s, t, M, EI, phi, label);
}

// Writes one tabulated curve (identical for every thrust) with its plot records.
struct CurveLabels {
    const char* line3;
    const char* line4_us;
    const char* line4_si;
    const char* line5_us;
    const char* line5_si;
};

// The points go into the section's tables only when `tabulate` is set: an elastic section's
// stiffness is its EI whatever the moment, so nothing reads its points, and leaving them
// out spares a run the fresh pages they would land on.
void Store_Same_Curve_For_Every_Thrust(AnalysisModel& m, int s, const double* M, const double* EI,
                                       const double* phi, const CurveLabels& lab, bool tabulate) {
    SectionEITable& T = m.EI_Table;
    const bool us = m.IUNITS == USCS;
    const int nt = Thrust_Count(m);
    if (s == 1) {
        Plot_Line3(m, nt, lab.line3);
    }
    T.i_Num_Thrusts[s] = nt;
    for (int t = 1; t <= nt; ++t) {
        T.Thrust[s][t] = Thrust_Value(m, t);
        T.Mn[s][t] = us ? M[CURVE_POINTS] * 1000.0 : M[CURVE_POINTS];
        Plot_Line4(m, CURVE_POINTS, T.Thrust[s][t], M[CURVE_POINTS],
                   us ? lab.line4_us : lab.line4_si);
        if (tabulate) {
            T.n_Points[s][t] = CURVE_POINTS;
            for (int p = 1; p <= CURVE_POINTS; ++p) {
                T.M[s][t][p] = M[p];
                T.EI[s][t][p] = EI[p];
                T.Phi[s][t][p] = phi[p];
            }
        }
        for (int p = 1; p <= CURVE_POINTS; ++p) {
            Plot_Line5(m, M[p], EI[p], phi[p], us ? lab.line5_us : lab.line5_si, s, t, p);
        }
    }
}

} // namespace

void Compute_Elastic_Section_EI(AnalysisModel& m, int s) {
    const PileSection& sec = m.Sections[s];
    const double scale = m.IUNITS == USCS ? 1000.0 : 1.0;
    const double EI = sec.E_Top * sec.I_Top;
    std::array<double, CURVE_POINTS + 1> M{};
    std::array<double, CURVE_POINTS + 1> K{};
    std::array<double, CURVE_POINTS + 1> phi{};
    for (int k = 1; k <= CURVE_POINTS; ++k) {
        phi[k] = 10.0 * k;
        K[k] = EI / scale;
        M[k] = std::abs(10.0 * k * EI) < 9.9999e-99 ? 0.0 : phi[k] * EI / scale;
    }
    Store_Same_Curve_For_Every_Thrust(
        m, s, M.data(), K.data(), phi.data(),
        {"Line 3 : Total number of axial thrusts for elastic section",
         "Line 4 : Num. Elas. M-EI-Crv Points, Axial Thrust Load (kips), Nom. Moment Cap. "
         "(in-kips) for linear EI pile at top of section",
         "Line 4 : Num. Elas. M-EI-Crv Points, Axial Thrust Load (kN) , Nom. Moment Cap. (kN-m) "
         "for linear EI pile at top of section",
         "Line 5 : Elastic Moment (in-kips), EI (kip-in^2), Curvature (rad/in) ",
         "Line 5 : Elastic Moment (kN-m), EI (kN-m^2), Curvature (rad/m) "},
        false);
    m.Report.Write_Line("Moment-curvature properties were derived from elastic section properties");
    m.Report.Blank_Lines(2);
}

void Compute_Elastic_Plastic_Section_EI(AnalysisModel& m, int s) {
    const PileSection& sec = m.Sections[s];
    const double scale = m.IUNITS == USCS ? 1000.0 : 1.0;
    const double EI = sec.E_Top * sec.I_Top;
    const double Mp = sec.Mp_Top;
    // A zero stiffness or plastic moment leaves no yield curvature; the curve is then flat
    // at zero rather than undefined.
    const double phi_y = EI != 0.0 ? Mp / EI : 0.0;
    const double delta = phi_y / 100.0;
    std::array<double, CURVE_POINTS + 1> M{};
    std::array<double, CURVE_POINTS + 1> K{};
    std::array<double, CURVE_POINTS + 1> phi{};
    for (int k = 1; k <= 100; ++k) {
        phi[k] = k * delta;
        K[k] = EI / scale;
        M[k] = std::abs(k * delta * EI) < 9.9999e-99 ? 0.0 : phi[k] * EI / scale;
    }
    for (int k = 101; k <= CURVE_POINTS; ++k) {
        phi[k] = phi_y + 20.0 * delta * (k - 100);
        M[k] = Mp / scale;
        K[k] = phi[k] != 0.0 ? Mp / phi[k] / scale : EI / scale;
    }
    Store_Same_Curve_For_Every_Thrust(
        m, s, M.data(), K.data(), phi.data(),
        {"Line 3 : Total number of axial thrusts for elastic-plastic section",
         "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load (kips), Nom. Moment Cap. (in-kip) for "
         "elastic-plastic EI at top of section",
         "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load (kN), Nom. Moment Cap. (kN-m) for "
         "elastic-plastic EI at top of section",
         "Line 5 : Elas-Plas Moment (in-lb), EI (lb-in^2), Curvature (rad/in) ",
         "Line 5 : Elas-Plas Moment (kN-m), EI (kN-m^2), Curvature (rad/m) "},
        true);
    // Plastic moment per node, linear from the top to the bottom of the section.
    for (int i = 1; i <= m.i_Num_Nodes; ++i) {
        const double X = m.Nodes[i].X;
        if (i == 1) {
            if (s == 1) {
                m.Lateral.Node_Mp[1] = sec.Mp_Top;
            }
        } else if (sec.XTop < X && X <= sec.XBottom) {
            m.Lateral.Node_Mp[i] =
                sec.Length != 0.0
                    ? sec.Mp_Bottom - (sec.XBottom - X) * (sec.Mp_Bottom - sec.Mp_Top) / sec.Length
                    : sec.Mp_Top;
        }
    }
    m.Report.Write_Line(
        "Moment-curvature properties were derived from elastic-plastic section properties");
    m.Report.Blank_Lines(2);
}

void Build_User_EI_Tables(AnalysisModel& m, int s) {
    const PileSection& sec = m.Sections[s];
    SectionEITable& T = m.EI_Table;
    const bool us = m.IUNITS == USCS;
    const double scale = us ? 1000.0 : 1.0;
    const int nu = std::min(sec.i_Num_User_Thrusts, MAX_AXIAL_THRUSTS);
    if (s == 1) {
        Plot_Line3(m, nu, "Line 3 : Total number of axial thrusts for input M-EI section");
    }
    T.i_Num_Thrusts[s] = nu;
    for (int u = 1; u <= nu; ++u) {
        const UserEIThrust& ut = sec.User_EI[u];
        const int P = std::min(ut.i_Num_Points, MAX_USER_EI_POINTS);
        // The user's points with both moment and stiffness.
        std::array<double, MAX_USER_EI_POINTS + 2> Mu{};
        std::array<double, MAX_USER_EI_POINTS + 2> EIu{};
        for (int k = 1; k <= P; ++k) {
            Mu[k] = ut.Moment[k];
            if (sec.b_Moment_vs_Curvature) {
                EIu[k] = ut.EI_or_Curvature[k] != 0.0 ? ut.Moment[k] / ut.EI_or_Curvature[k] : 0.0;
            } else {
                EIu[k] = ut.EI_or_Curvature[k];
            }
        }
        if (sec.b_Moment_vs_Curvature && P >= 2 && EIu[1] == 0.0) {
            EIu[1] = EIu[2];
        }
        // Local curve: a zero point in front when the first moment is not zero.
        std::array<double, MAX_USER_EI_POINTS + 2> Ml{};
        std::array<double, MAX_USER_EI_POINTS + 2> EIl{};
        int n_local = 0;
        if (P >= 1 && Mu[1] != 0.0) {
            ++n_local;
            Ml[n_local] = 0.0;
            EIl[n_local] = EIu[1];
        }
        for (int k = 1; k <= P; ++k) {
            ++n_local;
            Ml[n_local] = Mu[k];
            EIl[n_local] = EIu[k];
        }
        const int q = n_local > 1 ? (CURVE_POINTS - P) / (n_local - 1) : 0;
        int n = 0;
        auto put = [&](double M, double EI) {
            ++n;
            T.M[s][u][n] = M;
            T.EI[s][u][n] = EI;
            // A zero stiffness has no curvature; the point is kept at zero curvature so
            // that no infinite value reaches the solver.
            T.Phi[s][u][n] = EI != 0.0 ? M / EI : 0.0;
        };
        if (q >= 1) {
            for (int j = 1; j < n_local; ++j) {
                put(Ml[j], EIl[j]);
                for (int i = 1; i < q; ++i) {
                    put(Ml[j] + i * (Ml[j + 1] - Ml[j]) / q,
                        EIl[j] + i * (EIl[j + 1] - EIl[j]) / q);
                }
            }
            put(Ml[n_local], EIl[n_local]);
        } else {
            for (int k = 1; k <= P; ++k) {
                put(Mu[k], EIu[k]);
            }
        }
        T.n_Points[s][u] = n;
        double Mn = 0.0;
        for (int p = 1; p <= n; ++p) {
            Mn = p == 1 ? T.M[s][u][p] : std::max(Mn, T.M[s][u][p]);
        }
        T.Mn[s][u] = Mn; // in input units; US customary moments are already in in-lb
        T.Thrust[s][u] = Thrust_Value(m, u);
        Plot_Line4(m, n, T.Thrust[s][u], Mn,
                   fmt::format("{}{}",
                               us ? "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load (kips), Nom. "
                                    "Moment Cap. (in-kips) for input M-EI pile, Section "
                                  : "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load (kN), Nom. "
                                    "Moment Cap. (kN-m) for input M-EI pile, Section ",
                               s));
        for (int p = 1; p <= n; ++p) {
            Plot_Line5(m, T.M[s][u][p], T.EI[s][u][p], T.Phi[s][u][p],
                       "Line 5 : Moment, EI, Curvature ", s, u, p);
        }
        m.Report.Write_Line(fmt::format("Moment-Curvature properties for Section {} derived from "
                                        "input values for nonlinear M-EI properties",
                                        s));
        m.Report.Blank_Lines(2);
        if (us) {
            for (int p = 1; p <= n; ++p) {
                T.M[s][u][p] /= scale;
                T.EI[s][u][p] /= scale;
            }
        }
    }
}

bool Compute_Tabulated_Section_EI(AnalysisModel& m, int s) {
    switch (m.Sections[s].i_Section_Type) {
    case SECTION_ELASTIC:
        Compute_Elastic_Section_EI(m, s);
        return true;
    case SECTION_ELASTIC_PLASTIC:
        Compute_Elastic_Plastic_Section_EI(m, s);
        return true;
    case SECTION_USER_EI:
        Build_User_EI_Tables(m, s);
        return true;
    default:
        return false;
    }
}

} // namespace zarno
