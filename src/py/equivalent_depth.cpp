#include "py/equivalent_depth.h"

#include "py/stiff_clay_free_water.h"

#include <cmath>

namespace zarno {

double X_Eq_Resistance_Above(std::span<double> F_Layer, std::span<const double> F_Layer_Saved,
                             int m) {
    double sum = 0.0;
    for (int l = 1; l <= m - 1; ++l) {
        if (F_Layer[l] < 0.009999999776482582) {
            F_Layer[l] = F_Layer_Saved[l];
        }
        sum += F_Layer[l];
        if (sum > 1e20) {
            sum = 100.0;
        }
    }
    return sum;
}

namespace {

// Positive root of A*x^2 + B*x = F.
double Quadratic_Depth(double A, double B, double F) {
    return (std::sqrt(B * B + 4.0 * A * F) - B) / (2.0 * A);
}

} // namespace

std::optional<double> X_Eq_Soft_Clay(double F_above, double b, double c, double gamma, double J,
                                     bool b_Cyclic) {
    if (F_above == 0.0) {
        return 0.0;
    }
    const double den = J * c + gamma * b;
    const double A = 0.25 * c + 0.5 * b * gamma;
    if (c <= 0.0 || b <= 0.0 || den <= 0.0 || A <= 0.0) {
        return std::nullopt;
    }
    const double xr = 6.0 * b * c / den;
    const double cyc = 0.7200000286102295;
    const double Fu = b_Cyclic ? 9.0 * b * c * cyc : 9.0 * b * c;
    const double Fr = b_Cyclic
                          ? (1.5 * xr * b * c + c * xr * xr / 6.0 + xr * xr * b * gamma / 3.0) * cyc
                          : ((3.0 * c + J * xr * gamma) * b + 0.25 * xr * c) * xr;
    if (F_above > Fr) {
        return xr + (F_above - Fr) / Fu;
    }
    return Quadratic_Depth(A, 3.0 * b * c, F_above);
}

std::optional<double> X_Eq_Stiff_Clay_No_Water(double F_above, double b, double c, double ca,
                                               double gamma) {
    if (F_above == 0.0) {
        return 0.0;
    }
    const double den = 0.5 * ca + gamma * b;
    const double A = 0.25 * ca + 0.5 * gamma * b;
    if (c <= 0.0 || b <= 0.0 || den <= 0.0 || A <= 0.0) {
        return std::nullopt;
    }
    // Depth where the wedge reaches the flow-around resistance 9*c*b.
    const double xw = (9.0 * c - 3.0 * ca) * b / den;
    const double Fw = ((0.25 * xw + 3.0 * b) * ca + 0.5 * gamma * xw * b) * xw;
    if (F_above <= Fw) {
        return Quadratic_Depth(A, 3.0 * b * ca, F_above);
    }
    return xw + (F_above - Fw) / (9.0 * b * c);
}

std::optional<double> X_Eq_Stiff_Clay_Free_Water(double F_above, double b, double c, double ca,
                                                 double gamma, bool b_Cyclic) {
    if (F_above == 0.0) {
        return 0.0;
    }
    const double den = gamma * b + 2.8299999237060547 * ca;
    if (c <= 0.0 || b <= 0.0 || den <= 0.0) {
        return std::nullopt;
    }
    const double x_max = (11.0 * c - 2.0 * ca) * b / den;
    if (x_max <= 0.0) {
        return std::nullopt;
    }
    const double dx = x_max / 50.0;
    double F_prev = 0.0;
    double f = 0.0;
    for (int i = 1; i <= 50; ++i) {
        const double xi = i * dx;
        const double r = xi / b;
        f = b_Cyclic ? 0.9359999895095825 * A_c(r) - 0.41819998621940613 * A_s(r)
                     : 0.5 * std::sqrt(6.0 * A_s(r)) - 0.41100001335144043 - 0.75 * A_s(r);
        const double Fi =
            F_prev + dx * f * ((gamma * xi + 2.0 * ca) * b + 2.8299999237060547 * xi * ca);
        if (Fi > F_above) {
            return xi - dx * (Fi - F_above) / (Fi - F_prev);
        }
        F_prev = Fi;
    }
    const double deep = 11.0 * c * f * b;
    if (deep <= 0.0) {
        return std::nullopt;
    }
    return x_max + (F_above - F_prev) / deep;
}

namespace {

// 500 steps from the surface to the depth where wedge and deep resistance meet. With
// b_Silt the cohesive terms are added and the rectangle rule is used.
std::optional<double> X_Eq_Sand_Like(double F_above, double b, double c, double gamma,
                                     const SandAngles& a, double Ka, double xt, bool b_Cyclic,
                                     bool b_Silt) {
    if (F_above == 0.0) {
        return 0.0;
    }
    const SandCFactors cf = Sand_C_Factors(a, Ka);
    if (b <= 0.0 || gamma <= 0.0 || cf.C1 <= 0.0) {
        return std::nullopt;
    }
    const double xs = (cf.C3 - cf.C2) * b / cf.C1;
    if (xs <= 0.0) {
        return std::nullopt;
    }
    const double dx = xs / 500.0;
    double F_prev = 0.0;
    double p_prev = 0.0;
    for (int i = 1; i <= 500; ++i) {
        const double xi = i * dx;
        const double r = xi / b;
        const double A = Sand_A(xi, b, b_Cyclic);
        double p = A * gamma * b * b * (cf.C1 * r * r + cf.C2 * r);
        double Fi = 0.0;
        if (b_Silt) {
            p += (gamma * b + 0.5 * c) * xi + 3.0 * b * c;
            Fi = F_prev + dx * p;
        } else {
            Fi = F_prev + (p_prev + p) * dx / 2.0;
        }
        if (Fi > F_above) {
            return xi - dx * (Fi - F_above) / (Fi - F_prev);
        }
        F_prev = Fi;
        p_prev = p;
    }
    double deep = 0.8799999952316284 * cf.C3 * b * gamma * xt;
    if (b_Silt) {
        deep += 9.0 * b * c;
    }
    if (deep <= 0.0) {
        return std::nullopt;
    }
    return xs + (F_above - F_prev) / deep;
}

} // namespace

std::optional<double> X_Eq_Sand(double F_above, double b, double gamma, const SandAngles& a,
                                double Ka, double xt, bool b_Cyclic) {
    return X_Eq_Sand_Like(F_above, b, 0.0, gamma, a, Ka, xt, b_Cyclic, false);
}

std::optional<double> X_Eq_Cemented_Silt(double F_above, double b, double c, double gamma,
                                         const SandAngles& a, double Ka, double xt, bool b_Cyclic) {
    return X_Eq_Sand_Like(F_above, b, c, gamma, a, Ka, xt, b_Cyclic, true);
}

XEqResult X_Eq_For_Model(const XEqInput& in) {
    std::optional<double> x;
    switch (in.i_py_Type) {
    case 1:  // SoftClay
    case 15: // SoftClyJ
        x = X_Eq_Soft_Clay(in.F_above, in.b, in.c, in.gamma, in.J, in.b_Cyclic);
        break;
    case 3: // StfClyAW
    case 4: // StfClyAK
        x = X_Eq_Stiff_Clay_No_Water(in.F_above, in.b, in.c, in.ca, in.gamma);
        break;
    case 2: // StfClyBW
        x = X_Eq_Stiff_Clay_Free_Water(in.F_above, in.b, in.c, in.ca, in.gamma, in.b_Cyclic);
        break;
    case 5: // Sand
    case 6: // API Sand
        x = X_Eq_Sand(in.F_above, in.b, in.gamma, in.Angles, in.Ka, in.xt, in.b_Cyclic);
        break;
    case 11: // Cem Silt
        x = X_Eq_Cemented_Silt(in.F_above, in.b, in.c, in.gamma, in.Angles, in.Ka, in.xt,
                               in.b_Cyclic);
        break;
    default:
        return {XEqResult::Not_Applicable, 0.0};
    }
    if (!x) {
        return {XEqResult::Degenerate, 0.0};
    }
    return {XEqResult::Computed, *x};
}

} // namespace zarno
