#include "py/pisa_curves.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

constexpr double N_MAX = 0.999;

// Coefficients of the quadratic in the normalised reaction ratio r = y / y_u, for 0 <= x <= x_u.
struct Quadratic {
    double a, b, c;
};

Quadratic Conic_Quadratic(const ConicParameters& p, double x) {
    const double n = p.n;
    const double s = x / p.x_u;       // displacement ratio
    const double e = x * p.k / p.y_u; // elastic ratio: the reaction of the initial slope
    return {1.0 - 2.0 * n, 2.0 * n * s - (1.0 - n) * (1.0 + e), (1.0 - n) * e - n * s * s};
}

} // namespace

double Conic_Reaction(const ConicParameters& p, double x) {
    const double ax = std::fabs(x);
    if (ax == 0.0) {
        return 0.0;
    }
    double y = p.y_u;
    if (ax <= p.x_u) {
        const Quadratic q = Conic_Quadratic(p, ax);
        const double root = std::sqrt(std::max(q.b * q.b - 4.0 * q.a * q.c, 0.0));
        // -b > 0 in the range, so the denominator has no cancellation.
        y = p.y_u * 2.0 * q.c / (-q.b + root);
    }
    return x < 0.0 ? -y : y;
}

double Conic_Reaction_Quadratic(const ConicParameters& p, double x) {
    const double ax = std::fabs(x);
    double y = p.y_u;
    if (ax <= p.x_u) {
        const Quadratic q = Conic_Quadratic(p, ax);
        // The smaller root: the branch through the origin.
        y = p.y_u * (-q.b - std::sqrt(q.b * q.b - 4.0 * q.a * q.c)) / (2.0 * q.a);
    }
    return x < 0.0 ? -y : y;
}

ConicParameters Pisa_Raw_Parameters(PisaSoil soil, PisaReaction reaction, double z_D, double z_L,
                                    double L_D, double Dr) {
    ConicParameters c;
    switch (soil) {
    case PisaSoil::Cowden_Clay: // Byrne et al. (2020), Table of the Cowden calibration
        switch (reaction) {
        case PisaReaction::Lateral:
            c = {241.4, 10.6 - 1.650 * z_D, 0.9390 - 0.03345 * z_D,
                 10.7 - 7.101 * std::exp(-0.3085 * z_D)};
            break;
        case PisaReaction::Moment:
            c = {0.0, 1.420 - 0.09643 * z_D, 0.0, 0.2899 - 0.04775 * z_D};
            break;
        case PisaReaction::Base_Shear:
            c = {235.7, 2.717 - 0.3575 * L_D, 0.8793 - 0.03150 * L_D, 0.4038 + 0.04812 * L_D};
            break;
        case PisaReaction::Base_Moment:
            c = {173.1, 0.2146 - 0.002132 * L_D, 1.079 - 0.1087 * L_D, 0.8192 - 0.08588 * L_D};
            break;
        }
        break;
    case PisaSoil::Dunkirk_Sand: // Burd et al. (2020), General Dunkirk Sand Model
        switch (reaction) {
        case PisaReaction::Lateral:
            c = {146.1 - 92.11 * Dr, 8.731 - 0.6982 * Dr - 0.9178 * z_D, 0.917 + 0.06193 * Dr,
                 0.3667 + 25.89 * Dr + (0.3375 - 8.9 * Dr) * z_L};
            break;
        case PisaReaction::Moment:
            c = {0.0, 17.00, 0.0, 0.2605 + (-0.1989 + 0.2019 * Dr) * z_L};
            break;
        case PisaReaction::Base_Shear:
            c = {0.5150 + 2.883 * Dr + (0.1695 - 0.7018 * Dr) * L_D,
                 6.505 - 2.985 * Dr + (-0.007969 - 0.4299 * Dr) * L_D,
                 0.09978 + 0.7974 * Dr + (0.004994 - 0.07005 * Dr) * L_D,
                 0.09952 + 0.7996 * Dr + (0.03988 - 0.1606 * Dr) * L_D};
            break;
        case PisaReaction::Base_Moment:
            c = {44.89, 0.3515, 0.3 + 0.4986 * Dr,
                 0.09981 + 0.3710 * Dr + (0.01998 - 0.09041 * Dr) * L_D};
            break;
        }
        break;
    case PisaSoil::Bothkennar_Clay: // Burd et al. (2020), layered soils, Bothkennar clay
        switch (reaction) {
        case PisaReaction::Lateral:
            c = {173.8, 12.05 - 1.547 * z_D, 0.7204 - 0.002679 * z_D,
                 7.743 - 3.945 * std::exp(-0.8456 * z_D)};
            break;
        case PisaReaction::Moment:
            c = {0.0, 1.698 - 0.1576 * z_D, 0.0, 0.4862 - 0.05674 * z_D};
            break;
        case PisaReaction::Base_Shear:
            c = {291.5, 3.008 - 0.2701 * L_D, 0.3113 + 0.04263 * L_D, 0.5279 + 0.06864 * L_D};
            break;
        case PisaReaction::Base_Moment:
            c = {187.0, 0.3409 - 0.01995 * L_D, 0.6990 - 0.1155 * L_D, 0.8756 - 0.09195 * L_D};
            break;
        }
        break;
    }
    if (reaction == PisaReaction::Moment) {
        c.x_u = c.y_u / c.k; // the m-theta corner: slope k up to y_u
    }
    return c;
}

PisaParameters Pisa_Parameters(PisaSoil soil, PisaReaction reaction, double z_D, double z_L,
                               double L_D, double Dr) {
    PisaParameters r;
    r.c = Pisa_Raw_Parameters(soil, reaction, z_D, z_L, L_D, Dr);
    ConicParameters& c = r.c;
    const auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
    // Far outside the calibration a linear fit turns negative: that is no spring at all, and
    // must not be smoothed into one.
    if (!positive(c.k)) {
        r.valid = false;
        r.bad = "k";
        r.bad_value = c.k;
    } else if (!positive(c.y_u)) {
        r.valid = false;
        r.bad = "y_u";
        r.bad_value = c.y_u;
    } else if (!positive(c.x_u)) {
        r.valid = false;
        r.bad = "x_u";
        r.bad_value = c.x_u;
    } else if (!std::isfinite(c.n)) {
        r.valid = false;
        r.bad = "n";
        r.bad_value = c.n;
    }
    if (!r.valid) {
        return r;
    }
    c.n = std::clamp(c.n, 0.0, N_MAX);
    // A slope below the secant to the ultimate point would give a curve that overshoots y_u
    // before x_u; the published rule takes the secant slope instead.
    c.k = std::max(c.k, c.y_u / c.x_u);
    return r;
}

bool Pisa_Slenderness_Calibrated(double L_D) {
    return L_D >= 2.0 && L_D <= 6.0;
}

} // namespace zarno
