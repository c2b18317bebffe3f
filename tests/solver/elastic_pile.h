// A long elastic pile in a uniform elastic subgrade, and its closed-form answer.
//
// With constant EI, constant subgrade modulus k and axial thrust Q the deflection of a
// pile long enough that the tip does not matter is the decaying solution of
// EI y'''' + Q y'' + k y = 0:
//
//     y(x) = Re(A e^(r x)),   EI r^4 + Q r^2 + k = 0,   Re r < 0,
//
// (for Q = 0, r = lambda (-1 + i) with lambda = (k / (4 EI))^(1/4)). The complex constant A
// follows from the two head conditions, each a real linear form Re(A z) = c.
#pragma once

#include "solver/fd_solver.h"
#include "solver/node_results.h"

#include <cmath>
#include <complex>
#include <memory>

namespace zarno::test {

struct ClosedFormPile {
    double EI;
    double k;
    double Q;
    std::complex<double> r;
    std::complex<double> A;

    ClosedFormPile(double ei, double kk, double q) : EI(ei), k(kk), Q(q) {
        // r^2 = (-Q + i sqrt(4 k EI - Q^2)) / (2 EI); the root with negative real part.
        const std::complex<double> r2(-Q / (2.0 * EI),
                                      std::sqrt(4.0 * k * EI - Q * Q) / (2.0 * EI));
        r = -std::sqrt(r2);
    }
    // Linear forms at the head: Re(A z) for each quantity.
    std::complex<double> Z_Deflection() const { return 1.0; }
    std::complex<double> Z_Slope() const { return r; }
    std::complex<double> Z_Moment() const { return EI * r * r; }
    std::complex<double> Z_Shear() const { return EI * r * r * r + Q * r; }

    // Fixes A from Re(A z1) = c1, Re(A z2) = c2.
    void Impose(std::complex<double> z1, double c1, std::complex<double> z2, double c2) {
        // Re(A z) = a Re z - b Im z with A = a + i b.
        const double a11 = z1.real(), a12 = -z1.imag();
        const double a21 = z2.real(), a22 = -z2.imag();
        const double det = a11 * a22 - a12 * a21;
        A = {(c1 * a22 - a12 * c2) / det, (a11 * c2 - a21 * c1) / det};
    }

    std::complex<double> E(double x, int n) const { return A * std::pow(r, n) * std::exp(r * x); }
    double y(double x) const { return E(x, 0).real(); }
    double slope(double x) const { return E(x, 1).real(); }
    double moment(double x) const { return EI * E(x, 2).real(); }
    double shear(double x) const { return EI * E(x, 3).real() + Q * E(x, 1).real(); }
};

// Elastic pile of length L with n increments, constant EI and k, everything below the head
// in soil. Heap-allocated: the station arrays are large.
inline std::unique_ptr<FdPileModel> Make_Elastic_Pile(double L, int n, double EI, double k,
                                                      double Q, int type, double c1, double c2) {
    auto p = std::make_unique<FdPileModel>();
    p->i_Num_Nodes = n + 1;
    p->Increment = L / n;
    p->Axial_Thrust = Q;
    p->i_Loading_Type = type;
    p->Condition_1 = c1;
    p->Condition_2 = c2;
    for (int m = 1; m <= n + 1; ++m) {
        p->EI[static_cast<size_t>(m)] = EI;
        p->Es[static_cast<size_t>(m)] = k;
    }
    return p;
}

} // namespace zarno::test
