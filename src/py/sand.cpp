#include "py/sand.h"

#include "engine/analysis_model.h"
#include "profile/soil_profile.h"

#include <algorithm>
#include <cmath>

namespace zarno {

std::optional<double> fn_k_Sand_Default(double phi_deg, double gamma, int IUNITS) {
    if (IUNITS == USCS) {
        if (phi_deg <= 40.0) {
            return 1.2098290369522147e-07 * std::pow(phi_deg, 5.694468021392822);
        }
        return 160.54745483398438;
    }
    if (IUNITS == SI) {
        if (gamma <= 12.225000381469727) {
            if (phi_deg <= 40.0) {
                return 3.284046397311613e-05 * std::pow(phi_deg, 5.694468021392822);
            }
            return 43580.1484375;
        }
        if (phi_deg <= 40.0) {
            return 4.14174883189844e-06 * std::pow(phi_deg, 6.416118144989014);
        }
        return 78739.0078125;
    }
    return std::nullopt;
}

double Sand_A(double x, double b, bool b_Cyclic) {
    return fn_Interp10(x, b, SAND_XB, b_Cyclic ? SAND_A_CYCLIC : SAND_A_STATIC);
}

double Sand_B(double x, double b, bool b_Cyclic) {
    return fn_Interp10(x, b, SAND_XB, b_Cyclic ? SAND_B_CYCLIC : SAND_B_STATIC);
}

SandAngles Sand_Angles(double phi, double K0) {
    SandAngles a;
    a.phi = phi;
    a.alpha = phi / 2.0;
    a.beta = PY_PI / 4.0 + phi / 2.0;
    a.K0 = K0;
    const double ta = std::tan(PY_PI / 4.0 - phi / 2.0);
    a.Ka = ta * ta;
    const double tb = std::tan(a.beta);
    a.Kp = tb * tb;
    return a;
}

SandCFactors Sand_C_Factors(const SandAngles& a, double Ka) {
    const double tphi = std::tan(a.phi);
    const double tb = std::tan(a.beta);
    const double ta = std::tan(a.alpha);
    SandCFactors f;
    f.C1 =
        tb * (a.Kp * ta + a.K0 * (tphi * std::sin(a.beta) * (1.0 / std::cos(a.alpha) + 1.0) - ta));
    f.C2 = a.Kp - Ka;
    f.C3 = a.Kp * a.Kp * (a.Kp + a.K0 * tphi) - Ka;
    return f;
}

std::optional<double> Sand_Ka_Sloped(double theta, double phi) {
    const double ct = std::cos(theta);
    const double cp = std::cos(phi);
    const double d = ct * ct - cp * cp;
    if (d < 1e-10) {
        return std::nullopt;
    }
    const double sd = std::sqrt(d);
    return ct * (ct - sd) / (ct + sd);
}

double Sand_Wedge_Level(const SandAngles& a, double Ka, double gamma, double x, double b) {
    const double tphi = std::tan(a.phi);
    const double tb = std::tan(a.beta);
    const double ta = std::tan(a.alpha);
    const double tbp = std::tan(a.beta - a.phi);
    const double sb = std::sin(a.beta);
    return gamma * x *
           (a.K0 * x * tphi * sb / (tbp * std::cos(a.alpha)) + tb * (b + x * tb * ta) / tbp +
            a.K0 * x * tb * (tphi * sb - ta) - Ka * b);
}

double Sand_Wedge_Sloped(const SandAngles& a, double Ka, double gamma, double x, double b, double s,
                         double tan_theta) {
    const double tphi = std::tan(a.phi);
    const double tb = std::tan(a.beta);
    const double ta = std::tan(a.alpha);
    const double tbp = std::tan(a.beta - a.phi);
    const double sb = std::sin(a.beta);
    // The wedge shrinks (or grows) with the slope; f blends the side-friction terms.
    const double t = tan_theta * tb / s;
    const double f = 4.0 * t * t * t - 3.0 * t * t + 1.0;
    return gamma * x *
           (tb / tbp * (x * ta * tb / s + b) / s - Ka * b +
            f * a.K0 * x * tphi * sb / (tbp * std::cos(a.alpha)) +
            f * a.K0 * x * tb * (tphi * sb - ta));
}

double Sand_Deep(const SandAngles& a, double gamma, double xt, double b) {
    const double tb = std::tan(a.beta);
    const double tb4 = tb * tb * tb * tb;
    return b * gamma * xt * (a.K0 * std::tan(a.phi) * tb4 + a.Ka * (tb4 * tb4 - 1.0));
}

std::optional<ReeseSandParams> Reese_Sand_Params(const SandInput& in) {
    ReeseSandParams rs;
    rs.x = in.x;
    rs.b = in.b;
    rs.Angles = Sand_Angles(in.phi, 0.4);
    const SandAngles& a = rs.Angles;
    rs.Ka_Slope = a.Ka;
    if (std::fabs(in.theta) > 1e-10) {
        const std::optional<double> ka = Sand_Ka_Sloped(in.theta, in.phi);
        if (!ka) {
            return std::nullopt;
        }
        rs.Ka_Slope = *ka;
    }
    rs.pst = Sand_Wedge_Level(a, rs.Ka_Slope, in.gamma, in.x, in.b);
    if (std::fabs(in.theta) > 1e-15) {
        const double tt = std::tan(std::fabs(in.theta));
        // A deflection below 1e-14 counts as negative.
        const bool same_sign = (in.y_slope >= 1e-14) == (in.theta > 0.0);
        rs.s = same_sign ? 1.0 + tt * std::tan(a.beta) : 1.0 - tt * std::tan(a.beta);
        if (rs.s > 1e-20) {
            rs.pst = Sand_Wedge_Sloped(a, rs.Ka_Slope, in.gamma, in.x, in.b, rs.s, tt);
        }
    }
    rs.psd = Sand_Deep(a, in.gamma, in.xt, in.b);
    if (rs.s <= 1e-10 && std::fabs(in.theta) > 1e-10) {
        rs.pst = rs.psd;
    }
    rs.b_Shallow = rs.pst < rs.psd;
    rs.ps = std::min(rs.pst, rs.psd);

    rs.A = Sand_A(in.x, in.b, in.b_Cyclic);
    rs.B = Sand_B(in.x, in.b, in.b_Cyclic);
    rs.pu = rs.A * rs.ps;
    rs.pm = rs.B * rs.ps;
    rs.ym = in.b / 60.0;
    rs.yu = 3.0 * in.b / 80.0;
    rs.m = (rs.pu - rs.pm) / (rs.yu - rs.ym);
    rs.kx = in.k * in.x;
    if (in.x == 0.0) {
        rs.n = 0.0;
        rs.C = 0.0;
        rs.yk = 0.0;
        rs.pk = 0.0;
    } else {
        rs.n = rs.pm / (rs.m * rs.ym);
        rs.C = rs.pm / std::pow(rs.ym, 1.0 / rs.n);
        rs.yk = in.x < 0.0 ? 2.0 * in.b : std::pow(rs.C / rs.kx, rs.n / (rs.n - 1.0));
        rs.pk = rs.C * std::pow(rs.yk, 1.0 / rs.n);
    }
    if (rs.yk <= rs.ym) {
        rs.Shape = ReeseShape::Normal;
    } else if (rs.yk < rs.yu) {
        rs.Shape = ReeseShape::TriLinear;
    } else {
        rs.Shape = ReeseShape::BiLinear;
    }
    return rs;
}

double Reese_Sand_p(const ReeseSandParams& rs, double y, bool* b_Initial_Line) {
    const double line = rs.kx * y;
    double p = 0.0;
    if (y <= rs.yk && y < rs.ym) {
        p = line;
    } else if (y > rs.yk && y <= rs.ym) {
        p = rs.n == 0.0 ? 0.0 : rs.C * std::pow(y, 1.0 / rs.n);
    } else if (y <= rs.yu) {
        // From ym (also reached at y = ym when yk >= ym) the straight line to (yu, pu).
        p = rs.pm + rs.m * (y - rs.ym);
    } else {
        p = rs.pu;
    }
    const bool on_line = line <= p;
    if (b_Initial_Line != nullptr) {
        *b_Initial_Line = on_line;
    }
    return on_line ? line : p;
}

double Reese_Sand_Es(const ReeseSandParams& rs, double y, double pm, double ym) {
    if (y < 1e-14) {
        return rs.kx;
    }
    return pm * Reese_Sand_p(rs, y) / (y * ym);
}

std::array<double, 18> Reese_Sand_Print_y(const ReeseSandParams& rs) {
    std::array<double, 18> y{};
    const double f1 = 1.0 + 0.02500000037252903;
    const double f2 = 1.0 + 0.05000000074505806;
    switch (rs.Shape) {
    case ReeseShape::Normal:
        y[2] = rs.yk;
        for (int j = 1; j <= 10; ++j) {
            y[2 + j] = rs.yk + j * (rs.ym - rs.yk) / 11.0;
        }
        y[13] = rs.ym;
        y[14] = 13.0 * rs.b / 480.0;
        y[15] = rs.yu;
        y[16] = rs.yu * f1;
        y[17] = rs.yu * f2;
        break;
    case ReeseShape::TriLinear: {
        // Where the initial line meets the straight line through (yk, pk) and (yu, pu).
        const double slope = (rs.pu - rs.pk) / (rs.yu - rs.yk);
        const double yi = (rs.pk - slope * rs.yk) / (rs.kx - slope);
        y[2] = yi;
        for (int j = 1; j <= 12; ++j) {
            y[2 + j] = yi + j * (rs.yu - yi) / 13.0;
        }
        y[15] = rs.yu;
        y[16] = rs.yu * f1;
        y[17] = rs.yu * f2;
        break;
    }
    case ReeseShape::BiLinear: {
        const double yb = rs.pu / rs.kx;
        for (int j = 1; j <= 14; ++j) {
            y[1 + j] = j * yb / 14.0;
        }
        y[16] = yb * f1;
        y[17] = yb * f2;
        break;
    }
    }
    return y;
}

std::optional<ApiSandParams> API_Sand_Params(const SandInput& in) {
    ApiSandParams as;
    as.x = in.x;
    as.Angles = Sand_Angles(in.phi, 0.4000000059604645);
    const SandAngles& a = as.Angles;
    const SandCFactors cf = Sand_C_Factors(a, a.Ka);
    as.C1 = cf.C1;
    as.C2 = cf.C2;
    as.C3 = cf.C3;
    const double tb = std::tan(a.beta);
    as.Ka_Slope = a.Ka;
    if (std::fabs(in.theta) <= 1e-10) {
        as.pus = (as.C1 * in.x + as.C2 * in.b) * in.gamma * in.x;
        as.pud = as.C3 * in.b * in.gamma * in.xt;
    } else {
        const std::optional<double> ka = Sand_Ka_Sloped(in.theta, in.phi);
        if (!ka) {
            return std::nullopt;
        }
        as.Ka_Slope = *ka;
        const double tt = std::tan(std::fabs(in.theta));
        // Deflections within 1e-14 of zero count as negative, but an unmoved pile on a
        // positive slope is taken as deflecting down the slope.
        const bool positive = in.y_slope >= 1e-14;
        bool same_sign = positive == (in.theta > 0.0);
        if (in.y_slope == 0.0 && in.theta > 1e-14) {
            same_sign = true;
        }
        as.s = same_sign ? 1.0 + tt * tb : 1.0 - tt * tb;
        as.pus = Sand_Wedge_Level(a, as.Ka_Slope, in.gamma, in.x, in.b);
        if (as.s > 1e-20) {
            as.pus = Sand_Wedge_Sloped(a, as.Ka_Slope, in.gamma, in.x, in.b, as.s, tt);
        }
        as.pud = Sand_Deep(a, in.gamma, in.xt, in.b);
        // No wedge in front of the pile on a slope this steep: the deep resistance governs.
        if (as.s <= 1e-10) {
            as.pus = as.pud;
        }
    }
    as.pu = std::min(as.pus, as.pud);
    const double a_min = 0.8999999761581421;
    as.A = in.b_Cyclic ? a_min : std::max(3.0 - 0.800000011920929 * in.x / in.b, a_min);
    as.pA = as.A * as.pu;
    as.kx = in.k * in.x;
    as.k_Initial = in.b_Rock_Above ? in.k * in.xt : as.kx;
    return as;
}

double API_Sand_p(const ApiSandParams& as, double y) {
    if (as.x < 1e-10 || as.pA == 0.0) {
        return 0.0;
    }
    return as.pA * std::tanh(as.kx * y / as.pA);
}

double API_Sand_Es(const ApiSandParams& as, double y, double pm, double ym) {
    if (y < 1e-14) {
        return as.k_Initial;
    }
    return pm * API_Sand_p(as, y) / (y * ym);
}

double API_Sand_p_At_yu(const ApiSandParams& as, double b) {
    return API_Sand_p(as, 3.0 * b / 80.0);
}

double API_Sand_Print_Step(const ApiSandParams& as, int IUNITS) {
    if (as.kx == 0.0) {
        return IUNITS == USCS ? 0.05 : 0.00127;
    }
    return 0.19634954084936207 * as.pA / as.kx;
}

} // namespace zarno
