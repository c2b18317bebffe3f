#include "py/piedmont.h"

#include "engine/analysis_model.h"

#include <cmath>

namespace zarno {

namespace {
constexpr double INCH_IN_M = 0.02539999969303608;
constexpr double KPA_PER_PSI = 6.894757270812988;
constexpr double Y1_PER_WIDTH = 0.0010000000474974513;
constexpr double Y2_PER_WIDTH = 0.03750000149011612;
constexpr double SOFTENING = 0.21624703162973105;
constexpr double ULTIMATE = 0.008112028136109242;
} // namespace

double Piedmont_Esi(int test, double v, int units) {
    if (units == USCS) {
        switch (test) {
        case PIEDMONT_SPT:
            return 22.0 * v;
        case PIEDMONT_CPT:
            return 0.8135813628874473 * v;
        case PIEDMONT_DMT:
            return 0.07599999755620956 * v;
        case PIEDMONT_PMT:
            return 0.23499999940395355 * v;
        default:
            return 0.0;
        }
    }
    if (units == SI) {
        switch (test) {
        case PIEDMONT_SPT:
            return v * 151.68465995788574 / INCH_IN_M;
        case PIEDMONT_CPT:
            return v * 0.8135813628874473 / INCH_IN_M;
        case PIEDMONT_DMT:
            return (v / KPA_PER_PSI) * 0.5240015357324452 / INCH_IN_M;
        case PIEDMONT_PMT:
            return (v / KPA_PER_PSI) * 1.6202679545314567 / INCH_IN_M;
        default:
            return 0.0;
        }
    }
    return 0.0;
}

PiedmontCurve Piedmont_Curve(int test, double value, double b, int units) {
    PiedmontCurve pc;
    pc.Esi = Piedmont_Esi(test, value, units);
    pc.b = b;
    pc.y1 = Y1_PER_WIDTH * b;
    pc.y2 = Y2_PER_WIDTH * b;
    pc.p_Ultimate = ULTIMATE * pc.Esi * b * b;
    return pc;
}

double Piedmont_p(const PiedmontCurve& pc, double y) {
    if (y < pc.y1) {
        return pc.Esi * pc.b * y;
    }
    if (y < pc.y2) {
        return pc.Esi * pc.b * y * (1.0 - SOFTENING * std::log(1000.0 * y / pc.b));
    }
    return pc.p_Ultimate;
}

double Piedmont_Es(const PiedmontCurve& pc, double y, double pm, double ym) {
    if (y >= 9.9999998245167e-15) {
        return (Piedmont_p(pc, y) / y) * pm / ym;
    }
    return pc.b * pc.Esi / ym;
}

PyPrintDeflections Piedmont_Print_y(const PiedmontCurve& pc) {
    PyPrintDeflections y{};
    y[1] = 0.0;
    y[2] = pc.y1;
    for (int j = 1; j <= 13; ++j) {
        y[2 + j] = pc.y1 + j * (pc.y2 - pc.y1) / 14.0;
    }
    y[16] = pc.y2;
    y[17] = 1.0499999523162842 * pc.y2;
    return y;
}

} // namespace zarno
