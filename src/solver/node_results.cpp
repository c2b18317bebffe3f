#include "solver/node_results.h"

#include "engine/text_trim.h"
#include "report/fortran_format.h"
#include "report/text_file.h"

#include <cmath>
#include <string>

namespace zarno {

void Clear_Running_Maxima(ResultMaxima& mx) {
    mx.Moment = 0.0;
    mx.Moment_Depth = 0.0;
    mx.Shear = 0.0;
    mx.Shear_Depth = 0.0;
    mx.Stress = 0.0;
}

void Clear_Section_Maxima(ResultMaxima& mx) {
    mx.Section_Moment.fill(0.0);
    mx.i_Section_Moment_Node.fill(0);
    mx.Section_Shear.fill(0.0);
    mx.i_Section_Shear_Node.fill(0);
}

double Distributed_Moment_Flux(const FdPileModel& p, const FdSolution& s, int m) {
    const int N = p.i_Num_Nodes;
    if (m < 1 || m > N) {
        return 0.0;
    }
    auto Km = [&](int j) { return p.Km[j]; };
    const double above = m > 1 ? 0.5 * (Km(m - 1) + Km(m)) : Km(m);
    const double below = m < N ? 0.5 * (Km(m) + Km(m + 1)) : Km(m);
    if (above == 0.0 && below == 0.0) {
        return 0.0;
    }
    return (below * (s.y(m + 1) - s.y(m)) + above * (s.y(m) - s.y(m - 1))) / (2.0 * p.Increment);
}

void Compute_Node_Bending(int m, FdPileModel& p, const FdSolution& s, NodeResults& r) {
    const int N = p.i_Num_Nodes;
    if (m < 1 || m > N || N < MIN_SOLVER_NODES || N > MAX_NODES) {
        return;
    }
    if (!p.Own_Head_Stiffness) {
        p.EI[2] = p.EI[1];
    }
    const NodeBending b = Node_Bending(m, p, s);
    r.Curvature[m] = b.Curvature;
    r.Moment[m] = b.Moment;
}

void Compute_Node_Results(int m, FdPileModel& p, const NodeResultInputs& in, const FdSolution& s,
                          NodeResults& r, ResultMaxima& mx) {
    const int N = p.i_Num_Nodes;
    if (m < 1 || m > N || N < MIN_SOLVER_NODES || N > MAX_NODES) {
        return;
    }
    // The head station's stiffness is carried to station 2, where the head differences
    // reach (unless each keeps its own).
    if (!p.Own_Head_Stiffness) {
        p.EI[2] = p.EI[1];
    }

    const double h = p.Increment;
    const double h2 = h * h;
    const double h3 = h2 * h;
    const double Q = p.Axial_Thrust;
    auto y = [&](int j) { return s.y(j); };
    auto R = [&](int j) { return p.EI[j]; };
    // The shear that balances the lateral loads: a monopile's distributed moment takes its
    // share (V = EI y''' + Q y' - Km y'), with Km y' at a station the mean of the spring
    // fluxes on either side, as the difference equations sum them.
    auto Km_Flux = [&](int j) { return Distributed_Moment_Flux(p, s, j); };

    const NodeBending bending = Node_Bending(m, p, s);
    const double phi = bending.Curvature;
    const double M = bending.Moment;
    double S = 0.0;
    double V = 0.0;
    if (m == 1) {
        if (p.i_Loading_Type == LOADING_DEFLECTION_SLOPE) {
            // Slope imposed: one-sided differences below the head.
            const double M2 = R(p.Own_Head_Stiffness ? 2 : 1) * (y(3) - 2.0 * y(2) + y(1)) / h2;
            const double M3 = R(3) * (y(4) - 2.0 * y(3) + y(2)) / h2;
            r.Head_Slope_Computed = (4.0 * y(2) - 3.0 * y(1) - y(3)) / (2.0 * h);
            V = Q * r.Head_Slope_Computed + (4.0 * M2 - 3.0 * M - M3) / (2.0 * h) - Km_Flux(1);
            S = p.Condition_2;
        } else {
            r.Head_Slope_Computed = (y(2) - y(0)) / (2.0 * h);
            V = Q * r.Head_Slope_Computed +
                R(1) * (y(3) - 2.0 * y(2) + 2.0 * y(0) - y(-1)) / (2.0 * h3) - Km_Flux(1);
            if (p.Own_Head_Stiffness && R(2) != R(1)) {
                // The shear from the moments on both sides, station 2's with its own EI.
                V = Q * r.Head_Slope_Computed +
                    (R(2) * (y(3) - 2.0 * y(2) + y(1)) - R(1) * (y(1) - 2.0 * y(0) + y(-1))) /
                        (2.0 * h3) -
                    Km_Flux(1);
            }
            S = r.Head_Slope_Computed;
        }
        const bool moment_imposed = p.i_Loading_Type == LOADING_SHEAR_MOMENT ||
                                    p.i_Loading_Type == LOADING_DEFLECTION_MOMENT;
        r.Balance_Head_Moment = moment_imposed ? p.Condition_2 : M;
    } else if (m == N) {
        // Free tip: no moment, the tip shear resistance as shear (and a monopile's base shear).
        V = s.V_Tip + p.Base_Shear_Spring * y(N);
        S = (y(N) - y(N - 1)) / h;
    } else {
        S = (y(m + 1) - y(m - 1)) / (2.0 * h);
        if (m == 2) {
            const double M3 = R(3) * (y(4) - 2.0 * y(3) + y(2)) / h2;
            V = Q * (y(3) - y(1)) / (2.0 * h) + (M3 - r.Moment[1]) / (2.0 * h) - Km_Flux(2);
        } else {
            V = Q * (y(m + 1) - y(m - 1)) / (2.0 * h) +
                (R(m + 1) * (y(m + 2) - 2.0 * y(m + 1) + y(m)) -
                 R(m - 1) * (y(m) - 2.0 * y(m - 1) + y(m - 2))) /
                    (2.0 * h3) -
                Km_Flux(m);
        }
    }
    r.Curvature[m] = phi;
    r.Moment[m] = M;
    r.Slope[m] = S;
    r.Shear[m] = V;

    // Maxima; equal magnitudes keep the earlier station.
    const double depth = in.Depth[m];
    if (std::fabs(M) > std::fabs(mx.Moment)) {
        mx.Moment = M;
        mx.Moment_Depth = depth;
    }
    if (std::fabs(V) > std::fabs(mx.Shear)) {
        mx.Shear = V;
        mx.Shear_Depth = depth;
    }
    const int sec = in.i_Section[m];
    if (sec >= 1 && sec <= MAX_SECTIONS) {
        const size_t j = static_cast<size_t>(sec);
        if (std::fabs(M) > std::fabs(mx.Section_Moment[j])) {
            mx.Section_Moment[j] = M;
            mx.i_Section_Moment_Node[j] = m;
        }
        if (std::fabs(V) > std::fabs(mx.Section_Shear[j])) {
            mx.Section_Shear[j] = V;
            mx.i_Section_Shear_Node[j] = m;
        }
    }

    // Soil reaction: the spring acts on the movement of the pile relative to the soil.
    double pr = 0.0;
    if (in.b_Use_Soil_Movement) {
        pr = -p.Es[m] * (y(m) - p.Soil_Movement[m]) - in.Dist_Load_Avg[m];
    } else {
        pr = -p.Es[m] * y(m);
    }
    if (std::isnan(pr) && y(m) == 0.0) {
        pr = 0.0;
    }
    r.Soil_Reaction[m] = pr;

    // Combined axial and bending stress at the extreme fibre.
    const double I = in.Inertia[m];
    const double A = in.Area[m];
    double sigma = 0.0;
    if (I != 0.0 && A != 0.0) {
        sigma = std::fabs(Q) / A + std::fabs(M) * (in.Stress_Width[m] / 2.0) / I;
    }
    r.Stress[m] = sigma;
    if (std::fabs(sigma) > std::fabs(mx.Stress)) {
        mx.Stress = sigma;
    }
}

void Clear_Equilibrium_Check(EquilibriumCheck& e) {
    e = EquilibriumCheck{};
}

bool Balance_Warning_Due(int IUNITS, const EquilibriumCheck& e) {
    if (IUNITS != 1 && IUNITS != 2) {
        return false;
    }
    return std::fabs(e.dM_max) > (IUNITS == 1 ? BALANCE_LIMIT_USCS : BALANCE_LIMIT_SI);
}

void Write_Equilibrium_Verdict(int final, const EquilibriumCheck& e,
                               const EquilibriumReporting& out, TextFile& report,
                               TextFile& messages) {
    double limit = 0.0;
    if (out.IUNITS == 1) {
        limit = BALANCE_LIMIT_USCS;
    } else if (out.IUNITS == 2) {
        limit = BALANCE_LIMIT_SI;
    } else {
        return;
    }
    const double dM = std::fabs(e.dM_max);
    if (!out.b_Print_Summary_Only && !out.b_Compute_Kmatrix && dM <= limit) {
        report.Blank_Lines(1);
        report.Write_Line("Output Verification: Computed forces and moments are within specified "
                          "convergence limits.");
        report.Blank_Lines(1);
    }
    if (final != 1 || dM <= limit) {
        return;
    }
    const std::string force = Trim_Both(out.Force_Label);
    const std::string moment = Trim_Both(out.Length_Label) + "-" + force;
    const bool si = out.IUNITS == 2;

    auto body = [&](TextFile& f, std::string_view heading, std::string_view stiffness_line) {
        f.Blank_Lines(2);
        f.Write_Line(heading);
        f.Blank_Lines(1);
        f.Write_Line("Force and moment imbalances may be too large for a good solution.");
        f.Blank_Lines(1);
        f.Write_Line("The cause of the imbalance may be due to extreme changes in magnitude");
        f.Write_Line(stiffness_line);
        f.Write_Line("which may affect the finite difference computation of shear force.");
        f.Blank_Lines(1);
        f.Write_Line(
            "Please examine curves and printed output for deflection, moment, shear force,");
        f.Write_Line("and number of iterations to determine if computed values are reasonable.");
        f.Write_Line("If the shear force shows large changes, increase the number of nodal points");
        f.Write_Line("(pile increments) and repeat the analysis.");
        f.Blank_Lines(1);
    };
    const char* uscs_line =
        "of nonlinear bending stiffness within three nodal points of the top of the pile";
    const char* si_line =
        "of nonlinear bending stiffness within the top three nodal points of the pile";

    auto message_block = [&](std::string_view heading) {
        body(messages, heading, uscs_line);
        messages.Write_Line("Maximum internal moment imbalance for pile solution         = " +
                            Format_ES(e.dM_max, 12, 5) + " " + moment + " at node " +
                            Format_I(e.i_dM_Index, 0));
        messages.Write_Line("Maximum internal lateral force imbalance for pile  solution = " +
                            Format_ES(e.dV_max, 12, 5) + " " + force + " at node " +
                            Format_I(e.i_dV_Index, 0));
    };
    auto report_block = [&](std::string_view heading, std::string_view stiffness_line) {
        body(report, heading, stiffness_line);
        report.Write_Text("Maximum internal moment imbalance for pile        = ");
        report.Write_Number(e.dM_max, 12);
        report.Write_Line(" " + moment);
        report.Write_Text("Maximum internal lateral force imbalance for pile = ");
        report.Write_Number(e.dV_max, 12);
        report.Write_Line(" " + force);
    };
    if (si) {
        message_block("**** Warning - Possible Solution Error 550 ****");
        report_block("**** Warning - Possible Solution Error 5501 ****", si_line);
    } else {
        report_block("**** Warning - POSSIBLE SOLUTION ERROR 5501 ****", uscs_line);
        message_block("**** Warning - POSSIBLE SOLUTION ERROR 550 ****");
    }
}

void Check_Segment_Equilibrium(int i, int final, const FdPileModel& p, const FdSolution& s,
                               const NodeResults& r, EquilibriumCheck& e,
                               const EquilibriumReporting& out, TextFile& report,
                               TextFile& messages) {
    const int N = p.i_Num_Nodes;
    if (i < 3 || i > N + 1 || N < MIN_SOLVER_NODES || N > MAX_NODES) {
        return;
    }
    const double h = p.Increment;
    const double Q = p.Axial_Thrust;
    const int a = i - 2;
    const int b = i - 1;
    auto f = [&](int j) { return p.Load_Term(j) - p.Es[j] * s.y(j); };

    // Distributed moment springs of monopile layers act like a tension (zero elsewhere).
    auto Km = [&](int j) { return p.Km[j < 1 ? 1 : (j > N ? N : j)]; };
    if (i == 3) {
        e.M_a = r.Balance_Head_Moment;
        e.M_b = r.Moment[2];
        e.S_a = (s.y(2) - s.y(0)) / (2.0 * h);
        e.V_a = Q * e.S_a +
                p.EI[1] * (s.y(3) - 2.0 * s.y(2) + 2.0 * s.y(0) - s.y(-1)) / (2.0 * h * h * h) -
                Distributed_Moment_Flux(p, s, 1);
        if (p.Own_Head_Stiffness && p.EI[2] != p.EI[1]) {
            e.V_a = Q * e.S_a +
                    (p.EI[2] * (s.y(3) - 2.0 * s.y(2) + s.y(1)) -
                     p.EI[1] * (s.y(1) - 2.0 * s.y(0) + s.y(-1))) /
                        (2.0 * h * h * h) -
                    Distributed_Moment_Flux(p, s, 1);
        }
    }
    double S_b = 0.0;
    double V_b = 0.0;
    double M_i = 0.0;
    if (i <= N) {
        M_i = r.Moment[i];
        S_b = (s.y(i) - s.y(i - 2)) / (2.0 * h);
        V_b = Q * S_b + (M_i - r.Moment[i - 2]) / (2.0 * h) - Distributed_Moment_Flux(p, s, i - 1);
    } else {
        // The tip moment: none at a free tip, a monopile's base moment.
        e.M_b = -p.Base_Moment_Spring * (s.y(N + 1) - s.y(N - 1)) / (2.0 * h);
    }

    const double Qab = Q - 0.5 * (Km(a) + Km(b));
    const double dM = e.M_a + e.V_a * h + 0.5 * f(a) * h * h + Qab * (s.y(a) - s.y(b)) - e.M_b;
    double dV = e.V_a - V_b + 0.5 * (f(a) + f(b)) * h;
    if (i == N + 1) {
        dV -= s.V_Tip + p.Base_Shear_Spring * s.y(N);
    }
    if (std::fabs(dM) > std::fabs(e.dM_max)) {
        e.dM_max = dM;
        e.i_dM_Index = i;
    }
    if (std::fabs(dV) > std::fabs(e.dV_max)) {
        e.dV_max = dV;
        e.i_dV_Index = i;
    }

    e.M_a = e.M_b;
    e.M_b = M_i;
    e.V_a = V_b;
    e.S_a = S_b;

    if (i == N + 1) {
        Write_Equilibrium_Verdict(final, e, out, report, messages);
    }
}

} // namespace zarno
