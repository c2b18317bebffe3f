#include "py/cemented_silt.h"

#include "engine/analysis_model.h"
#include "py/sand.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zarno {

namespace {

constexpr double PI = PY_PI;
constexpr double K0_SILT = 0.4000000059604645;
constexpr double HALF_SQRT2 = SQRT2_HALF_SINGLE;
constexpr double STEP_FRACTION = 0.05000000074505806;

// The frictional resistance of the Reese sand criteria: the wedge near the surface (with
// the sloping-ground form when theta is not zero) and the flow-around resistance at
// depth, the smaller one governing. The resistances are the sand's; the silt takes the
// sloped wedge from a smaller slope on (1e-20) than the sand does.
void Silt_Frictional_Resistance(const CementedSiltInput& in, CementedSiltCurve& cs) {
    const SandAngles a = Sand_Angles(in.phi, cs.K0);
    const double abs_theta = std::fabs(in.theta);

    cs.pst = Sand_Wedge_Level(a, cs.Ka, in.gamma, in.x, in.b);

    double s = 1.0;
    if (abs_theta > 1e-20) {
        // A deflection below 1e-14 counts as negative.
        const double tan_beta = std::tan(a.beta);
        const bool positive = in.y_Node >= 1e-14;
        const bool same_sign = (positive && in.theta > 0.0) || (!positive && in.theta < 0.0);
        s = same_sign ? 1.0 + std::tan(abs_theta) * tan_beta : 1.0 - std::tan(abs_theta) * tan_beta;
        if (s > 1e-20) {
            cs.pst = Sand_Wedge_Sloped(a, cs.Ka, in.gamma, in.x, in.b, s, std::tan(abs_theta));
        }
    }

    // The flow-around resistance at the true depth, with the level-ground coefficient.
    cs.psd = Sand_Deep(a, in.gamma, in.xt, in.b);
    if (s <= 1e-10 && abs_theta > 1e-10) {
        cs.pst = cs.psd;
    }
    cs.ps = std::min(cs.pst, cs.psd);
}

// Sloping-ground factor on the cohesive wedge; for the silt a deflection below 1e-20,
// zero included, counts as negative (so it is neither the common factor, which gives 1 at
// a zero deflection, nor the stiff clays', which takes exactly 1e-20 as negative).
double Silt_Sloping_Ground_Factor(double theta, double y) {
    const double abs_theta = std::fabs(theta);
    const bool positive = y >= 1e-20;
    const bool same_sign = (positive && theta > 0.0) || (!positive && theta < 0.0);
    if (same_sign) {
        return 1.0 / (1.0 + std::tan(abs_theta));
    }
    return std::cos(abs_theta) * HALF_SQRT2 / std::cos(abs_theta + PI / 4.0);
}

} // namespace

CementedSiltCurve Cemented_Silt_Curve(const CementedSiltInput& in) {
    CementedSiltCurve cs;
    const double phi = in.phi;
    const double theta = in.theta;
    cs.x = in.x;
    cs.alpha = phi / 2.0;
    cs.K0 = K0_SILT;
    cs.beta = PI / 4.0 + cs.alpha;
    if (std::fabs(theta) > phi) {
        cs.Status = CementedSiltStatus::Slope_Exceeds_Phi;
        return cs;
    }
    const double d = std::cos(theta) * std::cos(theta) - std::cos(phi) * std::cos(phi);
    if (d < 1e-10 && in.c <= 0.0) {
        cs.Status = CementedSiltStatus::Slope_Without_Cohesion;
        return cs;
    }
    const double t_active = std::tan(PI / 4.0 - cs.alpha);
    cs.Ka_Level = t_active * t_active;
    if (std::fabs(theta) <= 1e-10) {
        cs.Ka = cs.Ka_Level;
    } else {
        // |theta| <= phi keeps d >= 0; the clamp only absorbs rounding.
        const double root = std::sqrt(std::max(d, 0.0));
        cs.Ka = std::cos(theta) * (std::cos(theta) - root) / (std::cos(theta) + root);
    }
    cs.Kp = std::tan(cs.beta) * std::tan(cs.beta);

    Silt_Frictional_Resistance(in, cs);

    // Cohesive resistance. Without cohesion there is none (the ratio gamma'x/c would be
    // undefined at the top of a layer whose strength starts at zero).
    if (in.c > 0.0) {
        cs.Np = 3.0 + in.gamma * in.x / in.c + in.J * in.x / in.b;
        if (std::fabs(theta) > 1e-20) {
            cs.Np *= Silt_Sloping_Ground_Factor(theta, in.y_Node);
        }
        cs.pc = cs.Np < 9.0 ? in.c * in.b * cs.Np : 9.0 * in.c * in.b;
    }

    cs.A = Sand_A(in.x, in.b, in.b_Cyclic);
    cs.B = Sand_B(in.x, in.b, in.b_Cyclic);

    cs.Pu = cs.A * cs.ps + cs.pc;
    cs.Pm = 1.5 * (cs.ps + cs.pc);
    cs.Ym = in.b / 60.0;
    cs.Yu = 3.0 * in.b / 80.0;
    cs.kx = in.k * in.x;

    cs.b = in.b;
    Cemented_Silt_Shape(cs);
    return cs;
}

void Cemented_Silt_Shape(CementedSiltCurve& cs) {
    cs.b_Flat = false;
    if (cs.x < 0.0) {
        cs.m_s = 0.0;
        cs.n = 0.0;
        cs.C = 0.0;
        cs.yk = 2.0 * cs.b;
        return;
    }
    cs.m_s = (cs.Pu - cs.Pm) / (cs.Yu - cs.Ym);
    if (cs.m_s == 0.0) {
        // Pu = Pm: the limit of C·y^(1/n) for an infinite n is the constant Pm, which the
        // initial line reaches at Pm/(k·x).
        cs.b_Flat = true;
        cs.n = std::numeric_limits<double>::infinity();
        cs.C = cs.Pm;
        cs.yk = cs.kx == 0.0 ? 0.0 : cs.Pm / cs.kx;
        return;
    }
    cs.n = cs.Pm / (cs.m_s * cs.Ym);
    cs.C = cs.n == 0.0 ? 0.0 : cs.Pm / std::pow(cs.Ym, 1.0 / cs.n);
    if (cs.kx == 0.0) {
        cs.yk = 0.0;
    } else if (cs.n == 1.0) {
        // The power curve is the straight line C·y: the initial line either lies above it
        // everywhere (the curve is C·y from the origin) or below it up to Ym.
        cs.yk = cs.kx >= cs.C ? 0.0 : cs.Ym;
    } else {
        cs.yk = std::pow(cs.C / cs.kx, cs.n / (cs.n - 1.0));
    }
}

double Cemented_Silt_p(const CementedSiltCurve& cs, double y) {
    if (cs.x < 0.0) {
        return 0.0; // above the ground surface the soil offers no resistance
    }
    double p;
    // The initial line ends at yk, or at Ym when the power curve is never reached before
    // the peak: beyond Ym the linear branches govern, so p never exceeds them.
    if (y <= cs.yk && y <= cs.Ym) {
        p = cs.kx * y;
    } else if (y <= cs.Ym) {
        if (cs.b_Flat) {
            p = cs.Pm;
        } else if (cs.n == 0.0) {
            p = 0.0;
        } else {
            p = cs.C * std::pow(y, 1.0 / cs.n);
        }
    } else if (y <= cs.Yu) {
        p = cs.Pm + cs.m_s * (y - cs.Ym);
    } else {
        p = cs.Pu;
    }
    return std::min(p, cs.kx * y);
}

double Cemented_Silt_Es(const CementedSiltCurve& cs, double y, double pm, double ym) {
    if (cs.x < 0.0) {
        return 0.0;
    }
    if (y < 1e-14) {
        return cs.kx;
    }
    return pm * Cemented_Silt_p(cs, y) / (std::fabs(y) * ym);
}

PyPrintDeflections Cemented_Silt_Print_y(const CementedSiltCurve& cs) {
    PyPrintDeflections y{};
    y[1] = 0.0;
    for (int j = 1; j <= 12; ++j) {
        y[1 + j] = j * cs.Ym / 12.0;
    }
    y[14] = cs.Yu;
    for (int j = 15; j <= 17; ++j) {
        y[j] = y[j - 1] + STEP_FRACTION * cs.Yu;
    }
    return y;
}

double Cemented_Silt_Default_k(double c, double gamma, double phi_deg, bool cyclic, int units) {
    if (units != USCS && units != SI) {
        return 0.0;
    }
    const bool us = units == USCS;
    // Cohesive part by strength class and loading.
    static constexpr double kc_us[4][2] = {{250, 100}, {500, 200}, {1000, 400}, {2000, 800}};
    static constexpr double kc_si[4][2] = {{67861.796875, 27144.7109375},
                                           {135723.59375, 54289.3984375},
                                           {271447.1875, 108578.8984375},
                                           {542894.375, 217157.703125}};
    const double c1 = us ? 6.940000057220459 : 47.8927001953125;
    const double c2 = us ? 13.880000114440918 : 95.785400390625;
    const double c3 = us ? 27.780000686645508 : 191.57080078125;
    const int c_class = c < c1 ? 0 : c < c2 ? 1 : c < c3 ? 2 : 3;
    const double kc = (us ? kc_us : kc_si)[c_class][cyclic ? 1 : 0];

    // Frictional part by unit weight and friction angle.
    static constexpr double kphi_us[2][3] = {{25, 90, 225}, {20, 60, 125}};
    static constexpr double kphi_si[2][3] = {{6786.18017578125, 24430.240234375, 61075.6015625},
                                             {5428.93994140625, 16286.830078125, 33930.8984375}};
    const bool heavy = gamma > (us ? 0.04500000178813934 : 12.225000381469727);
    const int phi_class = phi_deg <= 30.0 ? 0 : phi_deg <= 36.0 ? 1 : 2;
    const double kphi = (us ? kphi_us : kphi_si)[heavy ? 0 : 1][phi_class];
    return kc + kphi;
}

double Cemented_Silt_Default_Eps50(double c, int units) {
    if (units != USCS && units != SI) {
        return 0.0;
    }
    const bool us = units == USCS;
    if (c < (us ? 3.472222328186035 : 23.94013023376465)) {
        return 0.019999999552965164;
    }
    if (c < (us ? 6.94444465637207 : 47.8802604675293)) {
        return 0.009999999776482582;
    }
    if (c < (us ? 27.77777862548828 : 191.5210418701172)) {
        return 0.004999999888241291;
    }
    return 0.004000000189989805;
}

double Cemented_Silt_k_In_Layer(double k_Top, double k_Bottom, double XLayerTop,
                                double XLayerBottom, double X) {
    if (k_Bottom == 0.0) {
        k_Bottom = k_Top;
    }
    const double thickness = XLayerBottom - XLayerTop;
    if (!(thickness > 0.0)) {
        return k_Top;
    }
    return k_Top + (k_Bottom - k_Top) * (X - XLayerTop) / thickness;
}

} // namespace zarno
