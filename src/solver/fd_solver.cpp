#include "solver/fd_solver.h"

#include "engine/messages.h"
#include "report/fortran_format.h"
#include "report/text_file.h"

#include <cmath>

namespace zarno {

void Clear_Solution(FdSolution& s) {
    s = FdSolution{};
}

void Write_Small_Pivot_Error(int node, double pivot, const HeadSystem& hs, TextFile& report,
                             TextFile& messages) {
    // The raising routine sets the status once the solver has returned.
    Write_Message_To(report, messages, MessageId::SmallPivot, Format_I(node, 0),
                     Format_ES(pivot, 12, 5));
    report.Blank_Lines(2);
    report.Write_Line("F Matrix ");
    report.Blank_Lines(1);
    for (int k = 1; k <= 25; ++k) {
        report.Write_Text(Format_ES(hs.F[k], 12, 4));
        if (k % 5 == 0) {
            report.End_Line();
        }
    }
    report.Blank_Lines(2);
    report.Write_Line("G Vector ");
    report.Blank_Lines(1);
    for (int k = 1; k <= 5; ++k) {
        report.Write_Line(Format_ES(hs.G[k], 12, 4));
    }
    report.Blank_Lines(2);
    report.Write_Line("YG Vector");
    report.Blank_Lines(1);
    for (int k = 1; k <= 5; ++k) {
        report.Write_Line(Format_ES(hs.YG[k], 12, 4));
    }
}

Solve_Result Solve_Head_System(HeadSystem& hs, TextFile& report, TextFile& messages) {
    const int n = hs.n;
    if (n < 1 || n > 5) {
        return Solve_Result::Invalid_Model;
    }
    // Forward elimination, column by column, rows in their given order. The last column is
    // tested as well: its pivot divides in the back substitution.
    hs.Determinant_Sign = 1;
    for (int c = 1; c <= n; ++c) {
        const double pivot = hs.a(c, c);
        if (std::fabs(pivot) < SMALL_PIVOT_LIMIT) {
            Write_Small_Pivot_Error(c, pivot, hs, report, messages);
            return Solve_Result::Small_Pivot;
        }
        if (pivot < 0.0) {
            hs.Determinant_Sign = -hs.Determinant_Sign;
        }
        for (int r = c + 1; r <= n; ++r) {
            if (hs.a(r, c) == 0.0) {
                continue;
            }
            const double factor = hs.a(r, c) / pivot;
            for (int j = c; j <= n; ++j) {
                hs.a(r, j) -= factor * hs.a(c, j);
            }
            hs.G[r] -= factor * hs.G[c];
        }
    }
    for (int r = n; r >= 1; --r) {
        double sum = hs.G[r];
        for (int j = r + 1; j <= n; ++j) {
            sum -= hs.a(r, j) * hs.YG[j];
        }
        hs.YG[r] = sum / hs.a(r, r);
    }
    return Solve_Result::Solved;
}

double Tip_Shear_Force(const FdPileModel& p, double y_tip, double previous) {
    const int t = p.i_Num_Tip_Shear_Points;
    if (t < 1 || t > MAX_TIP_SHEAR_POINTS) {
        return 0.0;
    }
    const auto& pt = p.Tip_Shear;
    const double a = std::fabs(y_tip);
    double v = 0.0;
    if (a > pt[static_cast<size_t>(t)].Displacement) {
        v = pt[static_cast<size_t>(t)].Shear;
    } else if (t > 1) {
        int j = 2;
        while (j < t && pt[static_cast<size_t>(j)].Displacement < a) {
            ++j;
        }
        const TipShearPoint& lo = pt[static_cast<size_t>(j - 1)];
        const TipShearPoint& hi = pt[static_cast<size_t>(j)];
        const double span = hi.Displacement - lo.Displacement;
        // Two points at one displacement are a vertical step: take the upper value.
        v = span != 0.0 ? lo.Shear + (a - lo.Displacement) * (hi.Shear - lo.Shear) / span
                        : hi.Shear;
    } else {
        // One point and a tip movement within its displacement: the resistance keeps the
        // magnitude it had and follows the current direction of movement.
        v = std::fabs(previous);
    }
    return y_tip < 0.0 ? -v : v;
}

int Stable_Head_Determinant_Sign(int loading_type) {
    // The determinant of the head system keeps one sign over all stable piles of a loading
    // type: the set of stable piles is connected (the stiffness is linear in EI, springs,
    // thrust and head restraint) and the determinant cannot vanish on it. The sign is that
    // of any stable pile, for example one without thrust. A rotational restraint joins the
    // free head (no restraint) and the fixed head (infinite restraint, the slope row scaled
    // by -h kr / 2 EI), which is why fixing the slope flips the sign; for the
    // deflection-and-moment system the unknowns are one fewer.
    switch (loading_type) {
    case LOADING_SHEAR_SLOPE:
    case LOADING_DEFLECTION_MOMENT:
        return -1;
    default:
        return 1;
    }
}

Solve_Result Solve_Pile_Deflection(const FdPileModel& p, int iteration, FdSolution& s,
                                   TextFile& report, TextFile& messages) {
    const int N = p.i_Num_Nodes;
    if (N < MIN_SOLVER_NODES || N > MAX_NODES || !(p.Increment > 0.0) ||
        p.i_Loading_Type < LOADING_SHEAR_MOMENT || p.i_Loading_Type > LOADING_DEFLECTION_SLOPE) {
        return Solve_Result::Invalid_Model;
    }
    if (iteration == 1) {
        s.Previous_dYmax = 0.0;
    }
    s.V_Tip = Tip_Shear_Force(p, s.y(N), s.V_Tip);
    if (p.Has_Monopile_Springs()) {
        return Solve_Monopile_Deflection(p, s, report, messages);
    }

    const double h = p.Increment;
    const double h2 = h * h;
    const double h3 = h2 * h;
    const double h4 = h2 * h2;
    const double Q = p.Axial_Thrust;
    const double Qh2 = Q * h2;
    // Only a compressive thrust can take the stiffness through zero; without one every
    // positive bending stiffness and spring gives a stable pile.
    const bool compressed = Q > 0.0;
    s.i_Unstable_Node = 0;
    auto buckled = [&](int m, double d) {
        if (compressed && d <= 0.0) {
            s.i_Unstable_Node = m;
            return true;
        }
        return false;
    };
    // EI continues unchanged past both ends of the pile.
    auto R = [&](int m) { return p.EI[m < 1 ? 1 : (m > N ? N : m)]; };
    auto k = [&](int m) { return p.Es[m]; };
    auto w = [&](int m) { return p.Load_Term(m); };

    // Recurrence coefficients, stations 1 .. N. Every diagonal D(m) is a pivot of the
    // elimination; one that vanishes leaves the deflections undetermined.
    NodeValues A1, A2, F, T;
    HeadSystem hs;
    auto pivot_failed = [&](int m, double d) {
        if (std::fabs(d) < SMALL_PIVOT_LIMIT) {
            Write_Small_Pivot_Error(m, d, hs, report, messages);
            return true;
        }
        return false;
    };

    // Tip: zero moment and shear equal to the tip shear eliminate yN+1 and yN+2.
    double D = R(N - 1) + R(N) - 2.0 * Qh2 + k(N) * h4;
    if (pivot_failed(N, D)) {
        return Solve_Result::Small_Pivot;
    }
    if (buckled(N, D)) {
        return Solve_Result::Unstable;
    }
    A1[N] = (R(N - 1) + R(N)) / D;
    A2[N] = 2.0 * (R(N - 1) + R(N) - Qh2) / D;
    F[N] = w(N) * h4 / D;
    T[N] = -2.0 * s.V_Tip * h3 / D;

    // Station N - 1: its yN+1 replaced by 2 yN - yN-1 (zero moment at the tip).
    {
        const int m = N - 1;
        const double c = 2.0 * R(m) - Qh2;
        D = R(m - 1) + 4.0 * R(m) - 2.0 * Qh2 + k(m) * h4 - c * A2[N];
        if (pivot_failed(m, D)) {
            return Solve_Result::Small_Pivot;
        }
        if (buckled(m, D)) {
            return Solve_Result::Unstable;
        }
        A1[m] = R(m - 1) / D;
        A2[m] = (2.0 * (R(m - 1) + (1.0 - A1[N]) * R(m)) - (1.0 - A1[N]) * Qh2) / D;
        F[m] = (w(m) * h4 + c * F[N]) / D;
        T[m] = c * T[N] / D;
    }

    // Stations N - 2 .. 1: the full five-point row with ym+1 and ym+2 substituted.
    for (int m = N - 2; m >= 1; --m) {
        const double Rm1 = R(m - 1);
        const double Rm = R(m);
        const double Rp1 = R(m + 1);
        const double E = 2.0 * Rm + (2.0 - A2[m + 2]) * Rp1 - Qh2;
        D = Rm1 + 4.0 * Rm + Rp1 - 2.0 * Qh2 + k(m) * h4 -
            (2.0 * Rm + 2.0 * Rp1 - Qh2) * A2[m + 1] + Rp1 * (A2[m + 1] * A2[m + 2] - A1[m + 2]);
        if (pivot_failed(m, D)) {
            return Solve_Result::Small_Pivot;
        }
        if (buckled(m, D)) {
            return Solve_Result::Unstable;
        }
        A1[m] = Rm1 / D;
        A2[m] = (2.0 * (Rm1 + Rm) - (1.0 - A1[m + 1]) * Qh2 -
                 (2.0 * Rm + (2.0 - A2[m + 2]) * Rp1) * A1[m + 1]) /
                D;
        F[m] = (w(m) * h4 + E * F[m + 1] - Rp1 * F[m + 2]) / D;
        T[m] = (E * T[m + 1] - Rp1 * T[m + 2]) / D;
    }

    // Every refusal above comes before the first new deflection is written, so a refused
    // solution leaves the previous deflections in place. The new ones overwrite the old in
    // s, each change being measured as its station is written: the previous deflections of
    // the stations the head conditions set are kept for that.
    const double old_y1 = s.y(1);
    const double old_y2 = s.y(2);
    auto Y = [&](int m) -> double& { return s.y(m); };
    auto G = [&](int m) { return F[m] + T[m]; };

    const int type = p.i_Loading_Type;
    const double R1 = R(1);
    if (type == LOADING_DEFLECTION_SLOPE) {
        // Deflection and slope known: no system to solve.
        const double S = p.Condition_2;
        if (pivot_failed(1, A1[1])) {
            return Solve_Result::Small_Pivot;
        }
        // 1 + A1(2) is the last pivot of this system.
        if (buckled(1, 1.0 + A1[2])) {
            return Solve_Result::Unstable;
        }
        Y(1) = p.Condition_1 + p.Soil_Movement[1];
        Y(2) = (A2[2] * Y(1) + A1[2] * 2.0 * h * S + G(2)) / (1.0 + A1[2]);
        Y(0) = Y(2) - 2.0 * h * S;
        Y(-1) = (A2[1] * Y(0) + G(1) - Y(1)) / A1[1];
    } else {
        // The head conditions are divided by the EI of the head station.
        if (pivot_failed(1, R1)) {
            return Solve_Result::Small_Pivot;
        }
        if (type == LOADING_DEFLECTION_MOMENT) {
            // Unknowns y2, y1, y0, y-1.
            hs.n = 4;
            hs.a(1, 1) = 1.0; // station 2
            hs.a(1, 2) = -A2[2];
            hs.a(1, 3) = A1[2];
            hs.G[1] = G(2);
            hs.a(2, 2) = 1.0; // station 1
            hs.a(2, 3) = -A2[1];
            hs.a(2, 4) = A1[1];
            hs.G[2] = G(1);
            hs.a(3, 1) = 1.0; // moment
            hs.a(3, 2) = -2.0;
            hs.a(3, 3) = 1.0;
            hs.G[3] = p.Condition_2 * h2 / R1;
            hs.a(4, 2) = 1.0; // deflection
            hs.G[4] = p.Condition_1;
        } else {
            // Unknowns y3, y2, y1, y0, y-1.
            hs.n = 5;
            hs.a(1, 1) = 1.0; // station 3
            hs.a(1, 2) = -A2[3];
            hs.a(1, 3) = A1[3];
            hs.G[1] = G(3);
            hs.a(2, 2) = 1.0; // station 2
            hs.a(2, 3) = -A2[2];
            hs.a(2, 4) = A1[2];
            hs.G[2] = G(2);
            hs.a(3, 3) = 1.0; // station 1
            hs.a(3, 4) = -A2[1];
            hs.a(3, 5) = A1[1];
            hs.G[3] = G(1);
            // Shear: EI y''' + Q y' = V.
            const double c = 2.0 - Qh2 / R1;
            hs.a(4, 1) = 1.0;
            hs.a(4, 2) = -c;
            hs.a(4, 4) = c;
            hs.a(4, 5) = -1.0;
            if (p.Own_Head_Stiffness && R(2) != R1) {
                // V = Q y' + (R2 phi2 - R1 phi0) / 2h, with the moment at station 2 taken
                // with station 2's own stiffness, as station 1's equation takes it.
                const double rho = R(2) / R1;
                hs.a(4, 1) = rho;
                hs.a(4, 2) = -2.0 * rho + Qh2 / R1;
                hs.a(4, 3) = rho - 1.0;
            }
            hs.G[4] = 2.0 * p.Condition_1 * h3 / R1;
            if (type == LOADING_SHEAR_MOMENT) {
                hs.a(5, 2) = 1.0;
                hs.a(5, 3) = -2.0;
                hs.a(5, 4) = 1.0;
                hs.G[5] = p.Condition_2 * h2 / R1;
            } else if (type == LOADING_SHEAR_SLOPE) {
                hs.a(5, 2) = 1.0;
                hs.a(5, 4) = -1.0;
                hs.G[5] = 2.0 * h * p.Condition_2;
            } else {
                // Rotational restraint M = kr S.
                const double f = h * p.Condition_2 / (2.0 * R1);
                hs.a(5, 2) = 1.0 - f;
                hs.a(5, 3) = -2.0;
                hs.a(5, 4) = 1.0 + f;
                hs.G[5] = 0.0;
            }
        }
        const Solve_Result r = Solve_Head_System(hs, report, messages);
        if (r != Solve_Result::Solved) {
            return r;
        }
        if (compressed && hs.Determinant_Sign != Stable_Head_Determinant_Sign(type)) {
            s.i_Unstable_Node = 1;
            return Solve_Result::Unstable;
        }
        // With five unknowns the first is y3, which the recurrence below sets from y2 and y1
        // by the same row of station 3.
        if (hs.n == 4) {
            Y(2) = hs.YG[1];
            Y(1) = hs.YG[2];
            Y(0) = hs.YG[3];
            Y(-1) = hs.YG[4];
        } else {
            Y(2) = hs.YG[2];
            Y(1) = hs.YG[3];
            Y(0) = hs.YG[4];
            Y(-1) = hs.YG[5];
        }
    }

    // Largest |change| over stations 1 .. N, the first strictly larger value winning; a
    // maximum at station 1 or 2 is reported at station 2.
    double largest = std::fabs(Y(1) - old_y1);
    int node = 1;
    auto measure = [&](int m, double change) {
        if (change > largest) {
            largest = change;
            node = m;
        }
    };
    measure(2, std::fabs(Y(2) - old_y2));
    for (int m = 3; m <= N; ++m) {
        const double old_y = Y(m);
        Y(m) = A2[m] * Y(m - 1) - A1[m] * Y(m - 2) + F[m] + T[m];
        measure(m, std::fabs(Y(m) - old_y));
    }
    Y(N + 1) = 2.0 * Y(N) - Y(N - 1);
    if (node <= 2) {
        node = 2;
    }
    s.dYmax = largest;
    s.i_dYmax_Node = node;
    s.Delta_dYmax = std::fabs(largest - s.Previous_dYmax);
    s.Previous_dYmax = largest;
    return Solve_Result::Solved;
}

} // namespace zarno
