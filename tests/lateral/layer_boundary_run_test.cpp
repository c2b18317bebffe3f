// Layered profiles: the answer must not depend on whether a station lands exactly on a layer
// boundary, nor on the unit system the same problem is entered in.
#include "test_support.h"

#include <cmath>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace zarno::test {
namespace {

constexpr int kSoftClay = 1;
constexpr int kApiSand = 6;

// One layer in SI: unit weight (kN/m^3); c (kPa) and eps50 for soft clay, or friction angle
// (degrees) and k (kN/m^3) for API sand. The same values at the top and the bottom.
struct Layer {
    int type;
    double gamma;
    double strength;
    double third;
};

struct TwoLayers {
    const char* name;
    Layer upper;
    Layer lower;
    double shear_kN;
};

// Exact unit factors from the definitions of the foot, the inch and the pound-force.
constexpr double kLbfPerKN = 1000.0 / 4.4482216152605;
constexpr double kFtPerM = 1.0 / 0.3048;
constexpr double kInPerM = 1.0 / 0.0254;

// A 1 m steel pipe (25 mm wall), 25 m long, under a head shear, in two layers meeting at
// `boundary_m`; written in SI or, converted exactly, in US customary units.
std::string Two_Layer_Input(const TwoLayers& t, double boundary_m, bool uscs) {
    const double length = uscs ? kFtPerM : 1.0;
    const double width = uscs ? kInPerM / 1000.0 : 1.0; // from mm
    const double E = uscs ? kLbfPerKN / (kInPerM * kInPerM) : 1.0;
    auto layer_line = [&](const Layer& l) {
        const double gamma = uscs ? l.gamma * kLbfPerKN / std::pow(kFtPerM, 3) : l.gamma;
        double second = l.strength;
        double third = l.third;
        if (uscs && l.type == kSoftClay) {
            second = l.strength * kLbfPerKN / (kFtPerM * kFtPerM); // psf
        }
        if (uscs && l.type == kApiSand) {
            third = l.third * kLbfPerKN / std::pow(kInPerM, 3); // pci
        }
        return fmt::format("{:.15g} {:.15g} {:.15g}\n", gamma, second, third);
    };
    std::string s = fmt::format(
        "ZARNOK6\nTITLE\nTwo layers\n\n\n\n\nOPTIONS\nUnits {}\nUseLRFD NO\n"
        "ComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
        "ComputeEIOnly NO\nLoading STATIC     0\nMaxIterations 200\nExcessDeflection {:.15g}\n"
        "Tolerance {:.15g}\nIncrements 500\nPrintSummaryOnly NO\nPrintIncrement 10\n"
        "PrintPYCurves NO\nComputeInteraction NO\nSECTIONS\n1\n1\n11\n{:.15g}\n2\n{:.15g}\n"
        "{:.15g}\n{:.15g}\n{:.15g}\n{:.15g}\n{:.15g}\n{:.15g}\nSOIL LAYERS\n2\n",
        uscs ? "USCS" : "SI", 10.0 * (uscs ? kInPerM : 1.0), 2.0e-6 * (uscs ? kInPerM : 1.0),
        25.0 * length, 2.0e8 * E, 1000.0 * width, 1000.0 * width, 76576.0 * width * width,
        76576.0 * width * width, 9.1e9 * std::pow(width, 4), 9.1e9 * std::pow(width, 4));
    s += fmt::format("{} 0.0 {:.15g}\n", t.upper.type, boundary_m * length);
    s += layer_line(t.upper) + layer_line(t.upper);
    s += fmt::format("{} {:.15g} {:.15g}\n", t.lower.type, boundary_m * length, 30.0 * length);
    s += layer_line(t.lower) + layer_line(t.lower);
    s += fmt::format("LOADING\n1\n1 1 {:.15g} 0.0 0.0 1\n0\nEND\n",
                     t.shear_kN * (uscs ? kLbfPerKN : 1.0));
    return s;
}

double Value_After(const std::string& text, const std::string& label) {
    const size_t at = text.find(label);
    return at == std::string::npos ? std::nan("") : std::stod(text.substr(at + label.size()));
}

// The (y, p) rows of the printed curves (plot records Line 8).
std::vector<std::pair<double, double>> Printed_Points(const std::string& plot) {
    std::vector<std::pair<double, double>> points;
    std::istringstream in(plot);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("Line 8(") != std::string::npos) {
            points.emplace_back(std::strtod(line.substr(0, 15).c_str(), nullptr),
                                std::strtod(line.substr(15, 15).c_str(), nullptr));
        }
    }
    return points;
}

// The curve printed at 6 m, in the lower layer, with the boundary at `boundary_m` (SI).
std::vector<std::pair<double, double>> Lower_Layer_Curve(const TwoLayers& t, double boundary_m) {
    std::string text = Two_Layer_Input(t, boundary_m, false);
    text.replace(text.find("PrintPYCurves NO"), 16, "PrintPYCurves YES");
    text.insert(text.rfind("END"), "DEPTHS OF PRINTED P-Y CURVES\n1\n1 6.0\n");
    const RunOutput out = Run_Text(text);
    EXPECT_LE(out.result, 0) << out.messages;
    return Printed_Points(out.plot);
}

// Pile-head deflection in meters.
double Head_Deflection(const TwoLayers& t, double boundary_m, bool uscs = false) {
    const RunOutput out = Run_Text(Two_Layer_Input(t, boundary_m, uscs));
    EXPECT_LE(out.result, 0) << out.messages; // warnings of strong soft clay may come
    return Value_After(out.report, "Pile-head deflection             = ") * (uscs ? 0.0254 : 1.0);
}

const TwoLayers kProfiles[] = {
    {"sand over sand", {kApiSand, 10.0, 30.0, 20000.0}, {kApiSand, 10.0, 38.0, 40000.0}, 1500.0},
    {"clay over clay", {kSoftClay, 8.0, 25.0, 0.02}, {kSoftClay, 8.0, 80.0, 0.005}, 500.0},
    {"clay over sand", {kSoftClay, 8.0, 25.0, 0.02}, {kApiSand, 10.0, 36.0, 30000.0}, 500.0},
    {"sand over clay", {kApiSand, 10.0, 32.0, 20000.0}, {kSoftClay, 8.0, 60.0, 0.007}, 800.0},
};

// With 500 increments of 0.05 m a station lies exactly on a boundary at 4 m; moved down by
// 0.1 mm the boundary falls between stations. The lower layer is the same soil under the
// same resistance above it, so its curves (equivalent depth included) may not change.
TEST(LayerBoundaryRun, LowerLayerCurvesDoNotDependOnAStationAtTheBoundary) {
    for (const TwoLayers& t : kProfiles) {
        SCOPED_TRACE(t.name);
        const auto on_station = Lower_Layer_Curve(t, 4.0);
        const auto shifted = Lower_Layer_Curve(t, 4.0001);
        ASSERT_EQ(on_station.size(), 17u);
        ASSERT_EQ(shifted.size(), 17u);
        for (size_t j = 1; j < on_station.size(); ++j) {
            SCOPED_TRACE(j);
            EXPECT_NEAR(shifted[j].first, on_station[j].first, 1e-4 * on_station[j].first);
            EXPECT_NEAR(shifted[j].second, on_station[j].second, 1e-3 * on_station[j].second);
        }
    }
}

// The whole pile: the station at the boundary stands for soil of both layers whether the
// boundary lies on it or 0.1 mm below it, so the pile-head deflection barely changes.
TEST(LayerBoundaryRun, HeadDeflectionDoesNotJumpWhenTheBoundaryLeavesAStation) {
    for (const TwoLayers& t : kProfiles) {
        SCOPED_TRACE(t.name);
        const double on_station = Head_Deflection(t, 4.0);
        const double shifted = Head_Deflection(t, 4.0001);
        ASSERT_GT(on_station, 0.0);
        EXPECT_NEAR(shifted, on_station, 1e-3 * on_station);
    }
}

TEST(LayerBoundaryRun, SiAndUsCustomaryInputOfALayeredProfileAgree) {
    for (const TwoLayers& t : {kProfiles[0], kProfiles[2]}) {
        SCOPED_TRACE(t.name);
        const double si = Head_Deflection(t, 4.0);
        const double us = Head_Deflection(t, 4.0, true);
        ASSERT_GT(si, 0.0);
        EXPECT_NEAR(us, si, 1e-4 * si);
    }
}

} // namespace
} // namespace zarno::test
