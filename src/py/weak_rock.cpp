#include "py/weak_rock.h"

#include "engine/analysis_model.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

constexpr int PY_WEAK_ROCK = 8;
constexpr int PY_VUGGY_LIMESTONE = 9;

// Empirical constants of the criteria, held in single precision.
constexpr double ONE_OVER_150 = 0.006666666828095913;
constexpr double SHALLOW_FACTOR = 1.399999976158142; // growth of pur with xr/b near the top
constexpr double DEEP_FACTOR = 5.199999809265137;    // pur/(Alpha_r·qur·b) below 3·b
constexpr double YA_EXPONENT = 1.3329999446868896;   // 4/3 rounded in single precision
constexpr double DEPTH_OFFSET = 9.99999993922529e-09;

} // namespace

double fn_Alpha_r(double RQD) {
    return 1.0 - RQD * ONE_OVER_150;
}

double Weak_Rock_Depth_Into_Rock(const AnalysisData& m, int layer, double X) {
    double xr = X + DEPTH_OFFSET - m.Layers[layer].XLayerTop;
    for (int l = layer - 1; l >= 1; --l) {
        const int code = m.Layers[l].i_SoilLayer_py_Type;
        if (code != PY_WEAK_ROCK && code != PY_VUGGY_LIMESTONE) {
            break;
        }
        xr += m.Layers[l].XLayerBottom - m.Layers[l].XLayerTop;
    }
    return xr;
}

WeakRockCurve Weak_Rock_Curve(double b, double qur, double RQD, double Eir, double k_rm,
                              double xr) {
    WeakRockCurve w;
    w.b = b;
    w.qur = qur;
    w.xr = xr;
    w.Alpha_r = fn_Alpha_r(RQD);
    if (xr <= 3.0 * b) {
        w.pur = w.Alpha_r * qur * b * (1.0 + SHALLOW_FACTOR * xr / b);
        w.K_ir = 100.0 + 400.0 * xr / (3.0 * b);
    } else {
        w.pur = DEEP_FACTOR * w.Alpha_r * qur * b;
        w.K_ir = 500.0;
    }
    w.Mir = w.K_ir * Eir;
    w.yrm = k_rm * b;
    w.Yu = 16.0 * w.yrm;
    if (!(w.yrm > 0.0)) {
        w.Status = WeakRockStatus::Yrm_Not_Positive;
        return w;
    }
    // The initial line meets the 1/4-power curve where Mir·y = (pur/2)·(y/yrm)^0.25.
    const double ratio = w.pur / (2.0 * std::pow(w.yrm, 0.25) * w.Mir);
    if (!(ratio > 0.0) || !std::isfinite(ratio)) {
        w.Status = WeakRockStatus::No_Initial_Slope;
        return w;
    }
    w.yA = std::pow(ratio, YA_EXPONENT);
    return w;
}

double Weak_Rock_p(const WeakRockCurve& w, double y) {
    if (y < w.yA) {
        return w.Mir * y;
    }
    return std::min(0.5 * w.pur * std::pow(y / w.yrm, 0.25), w.pur);
}

double Weak_Rock_Es(const WeakRockCurve& w, double y, double pm, double ym) {
    if (std::fabs(y) >= w.yA) {
        return pm * Weak_Rock_p(w, y) / (y * ym);
    }
    return w.Mir;
}

PyPrintDeflections Weak_Rock_Print_y(const WeakRockCurve& w) {
    static constexpr float kFraction[14] = {0.02f, 0.04f, 0.06f, 0.08f, 0.1f, 0.2f, 0.3f,
                                            0.4f,  0.5f,  0.6f,  0.7f,  0.8f, 0.9f, 1.0f};
    PyPrintDeflections y{};
    y[1] = 0.0;
    y[2] = w.yA;
    for (int j = 0; j < 14; ++j) {
        y[3 + j] = w.yA + static_cast<double>(kFraction[j]) * (16.0 * w.yrm - w.yA);
    }
    y[17] = 20.0 * w.yrm;
    return y;
}

int Weak_Rock_Strength_Warning(double qur, int units) {
    if (units == USCS) {
        if (qur < 100.0) {
            return -3071;
        }
        if (qur > 1000.0) {
            return -3072;
        }
    } else if (units == SI) {
        if (qur < 689.5) {
            return -3073;
        }
        if (qur > 6895.0) {
            return -3074;
        }
    }
    return 0;
}

int Weak_Rock_krm_Warning(double k_rm) {
    if (k_rm < 5e-5) {
        return -316;
    }
    if (k_rm > 5e-4) {
        return -317;
    }
    return 0;
}

} // namespace zarno
