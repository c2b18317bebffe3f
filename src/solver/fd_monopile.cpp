// The banded solution of the pile equations with distributed moment and base springs (the
// monopile soil reactions); the equations are set out in fd_solver.h.
#include "engine/capacities.h"
#include "solver/fd_solver.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zarno {

namespace {

// Bandwidths of the system below: the head shear row reaches four columns to the right of
// its own, the tip shear row four to the left.
constexpr int LOWER = 4;
constexpr int UPPER = 4;
// A row holds its columns r - LOWER .. r + LOWER + UPPER: row exchanges with the LOWER rows
// below widen the upper band by LOWER.
constexpr int WIDTH = 2 * LOWER + UPPER + 1;

// A square band matrix of n rows with a right-hand side, rows and columns from 0.
class BandSystem {
  public:
    explicit BandSystem(int n)
        : n_(n), a_(static_cast<size_t>(n) * WIDTH, 0.0), b_(static_cast<size_t>(n), 0.0) {}
    double& a(int r, int c) { return a_[static_cast<size_t>(r) * WIDTH + (c - r + LOWER)]; }
    double& b(int r) { return b_[static_cast<size_t>(r)]; }
    int n() const { return n_; }

    // Gaussian elimination with partial pivoting; the solution replaces b. Returns the row
    // of a vanishing pivot, or -1.
    int Solve(double& small_pivot) {
        for (int c = 0; c < n_; ++c) {
            const int last = std::min(n_ - 1, c + LOWER);
            int best = c;
            for (int r = c + 1; r <= last; ++r) {
                if (std::fabs(a(r, c)) > std::fabs(a(best, c))) {
                    best = r;
                }
            }
            const int right = std::min(n_ - 1, c + LOWER + UPPER);
            if (best != c) {
                for (int j = c; j <= right; ++j) {
                    std::swap(a(c, j), a(best, j));
                }
                std::swap(b(c), b(best));
            }
            const double pivot = a(c, c);
            if (std::fabs(pivot) < SMALL_PIVOT_LIMIT) {
                small_pivot = pivot;
                return c;
            }
            for (int r = c + 1; r <= last; ++r) {
                const double f = a(r, c) / pivot;
                if (f == 0.0) {
                    continue;
                }
                for (int j = c; j <= right; ++j) {
                    a(r, j) -= f * a(c, j);
                }
                b(r) -= f * b(c);
            }
        }
        for (int r = n_ - 1; r >= 0; --r) {
            double sum = b(r);
            const int right = std::min(n_ - 1, r + LOWER + UPPER);
            for (int j = r + 1; j <= right; ++j) {
                sum -= a(r, j) * b(j);
            }
            b(r) = sum / a(r, r);
        }
        return -1;
    }

  private:
    int n_;
    std::vector<double> a_;
    std::vector<double> b_;
};

} // namespace

bool FdPileModel::Has_Monopile_Springs() const {
    if (Base_Shear_Spring != 0.0 || Base_Moment_Spring != 0.0) {
        return true;
    }
    for (int m = 1; m <= i_Num_Nodes && m <= MAX_NODES; ++m) {
        if (Km[m] != 0.0) {
            return true;
        }
    }
    return false;
}

Solve_Result Solve_Monopile_Deflection(const FdPileModel& p, FdSolution& s, TextFile& report,
                                       TextFile& messages) {
    const int N = p.i_Num_Nodes;
    const double h = p.Increment;
    const double h2 = h * h;
    const double h3 = h2 * h;
    const double h4 = h2 * h2;
    const double Q = p.Axial_Thrust;
    auto R = [&](int m) { return p.EI[m < 1 ? 1 : (m > N ? N : m)]; };
    auto Km = [&](int m) { return p.Km[m < 1 ? 1 : (m > N ? N : m)]; };
    // Unknown y(m) is column m + 1: y(-1) .. y(N+2).
    auto col = [](int m) { return m + 1; };
    BandSystem sys(N + 4);

    // Rows 0 and 1: the two pile-head conditions (as in the recurrence's head system),
    // divided by the EI of the head station.
    const double R1 = R(1);
    if (std::fabs(R1) < SMALL_PIVOT_LIMIT) {
        Write_Small_Pivot_Error(1, R1, HeadSystem{}, report, messages);
        return Solve_Result::Small_Pivot;
    }
    const int type = p.i_Loading_Type;
    const double V = p.Condition_1;
    const double C2 = p.Condition_2;
    // Distributed moment springs between stations: the mean of the two stations' secants,
    // and the station's own beyond the ends.
    auto K_between = [&](int m) { return m < 1 || m >= N ? Km(m) : 0.5 * (Km(m) + Km(m + 1)); };
    auto shear_row = [&](int r) {
        // EI y''' + Q y' - (distributed moment) = V, times 2 h^3 / EI; the distributed moment
        // at the head is the mean of the spring fluxes on either side of it, as the
        // difference equations of the stations below sum them.
        const double Kb = K_between(1) * h2 / R1; // between stations 1 and 2
        const double Ka = Km(1) * h2 / R1;        // above station 1
        // With the head stations' own stiffnesses the moment at station 2 is taken with
        // station 2's EI (rho = R2 / R1), as in the recurrence's head system.
        const double rho = p.Own_Head_Stiffness ? R(2) / R1 : 1.0;
        sys.a(r, col(3)) = rho;
        sys.a(r, col(2)) = -2.0 * rho + Q * h2 / R1 - Kb;
        sys.a(r, col(1)) = rho - 1.0 + Kb - Ka;
        sys.a(r, col(0)) = 2.0 - Q * h2 / R1 + Ka;
        sys.a(r, col(-1)) = -1.0;
        sys.b(r) = 2.0 * V * h3 / R1;
    };
    auto moment_row = [&](int r) {
        sys.a(r, col(2)) = 1.0;
        sys.a(r, col(1)) = -2.0;
        sys.a(r, col(0)) = 1.0;
        sys.b(r) = C2 * h2 / R1;
    };
    auto slope_row = [&](int r) {
        sys.a(r, col(2)) = 1.0;
        sys.a(r, col(0)) = -1.0;
        sys.b(r) = 2.0 * h * C2;
    };
    auto deflection_row = [&](int r, double y) {
        sys.a(r, col(1)) = 1.0;
        sys.b(r) = y;
    };
    switch (type) {
    case LOADING_SHEAR_MOMENT:
        shear_row(0);
        moment_row(1);
        break;
    case LOADING_SHEAR_SLOPE:
        shear_row(0);
        slope_row(1);
        break;
    case LOADING_SHEAR_ROTATIONAL: {
        shear_row(0);
        const double f = h * C2 / (2.0 * R1);
        sys.a(1, col(2)) = 1.0 - f;
        sys.a(1, col(1)) = -2.0;
        sys.a(1, col(0)) = 1.0 + f;
        break;
    }
    case LOADING_DEFLECTION_MOMENT:
        deflection_row(0, V);
        moment_row(1);
        break;
    default:
        deflection_row(0, V + p.Soil_Movement[1]);
        slope_row(1);
        break;
    }

    // Rows 2 .. N + 1: the difference equation of station m = row - 1, times h^4.
    for (int m = 1; m <= N; ++m) {
        const int r = m + 1;
        const double Rm1 = R(m - 1);
        const double Rm = R(m);
        const double Rp1 = R(m + 1);
        const double K_minus = m > 1 ? K_between(m - 1) : Km(m);
        const double K_plus = K_between(m);
        sys.a(r, col(m - 2)) += Rm1;
        sys.a(r, col(m - 1)) += -2.0 * Rm1 - 2.0 * Rm + Q * h2 - K_minus * h2;
        sys.a(r, col(m)) +=
            Rm1 + 4.0 * Rm + Rp1 - 2.0 * Q * h2 + p.Es[m] * h4 + (K_minus + K_plus) * h2;
        sys.a(r, col(m + 1)) += -2.0 * Rm - 2.0 * Rp1 + Q * h2 - K_plus * h2;
        sys.a(r, col(m + 2)) += Rp1;
        sys.b(r) = p.Load_Term(m) * h4;
    }

    // Row N + 2: the base moment, EI y'' + K_MB y' = 0 at the tip, times h^2.
    const double RN = R(N);
    {
        const int r = N + 2;
        const double c = p.Base_Moment_Spring * h / 2.0;
        sys.a(r, col(N - 1)) = RN - c;
        sys.a(r, col(N)) = -2.0 * RN;
        sys.a(r, col(N + 1)) = RN + c;
    }
    // Row N + 3: the base shear, EI y''' + Q y' - (distributed moment) = V_tip + K_HB y at the
    // tip, times 2h^3, the distributed moment again the mean of the fluxes beside the tip.
    {
        const int r = N + 3;
        const double Kp = Km(N) * h2;            // below the tip
        const double Kq = K_between(N - 1) * h2; // between stations N - 1 and N
        sys.a(r, col(N + 2)) = RN;
        sys.a(r, col(N + 1)) = -2.0 * RN + Q * h2 - Kp;
        sys.a(r, col(N)) = Kp - Kq - 2.0 * h3 * p.Base_Shear_Spring;
        sys.a(r, col(N - 1)) = 2.0 * RN - Q * h2 + Kq;
        sys.a(r, col(N - 2)) = -RN;
        sys.b(r) = 2.0 * s.V_Tip * h3;
    }

    double pivot = 0.0;
    const int failed = sys.Solve(pivot);
    if (failed >= 0) {
        // The failing column as a station number (columns count from y(-1)).
        Write_Small_Pivot_Error(failed - 1, pivot, HeadSystem{}, report, messages);
        return Solve_Result::Small_Pivot;
    }

    // The change measures of the recurrence: largest |change| over stations 1 .. N, the
    // first strictly larger value winning, reported at station 2 when at station 1 or 2.
    double largest = 0.0;
    int node = 1;
    for (int m = 1; m <= N; ++m) {
        const double change = std::fabs(sys.b(col(m)) - s.y(m));
        if (m == 1 || change > largest) {
            largest = change;
            node = m;
        }
    }
    for (int m = -1; m <= N + 1; ++m) {
        s.y(m) = sys.b(col(m));
    }
    s.i_Unstable_Node = 0;
    s.dYmax = largest;
    s.i_dYmax_Node = node <= 2 ? 2 : node;
    s.Delta_dYmax = std::fabs(largest - s.Previous_dYmax);
    s.Previous_dYmax = largest;
    return Solve_Result::Solved;
}

} // namespace zarno
