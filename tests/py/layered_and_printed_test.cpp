// Equivalent depth of lower layers in layered profiles, checked against hand evaluations,
// and the p-y curves printed at requested depths.
#include "py/compute_x_eq.h"
#include "py/py_models.h"
#include "py/py_print.h"
#include "py_layer_fixture.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

namespace zarno::test {
namespace {

// 50 ft pile, 24 in wide, 40 increments of 15 in: node i at 15*(i - 1) in; the interface
// at 120 in is node 9.
class LayeredTest : public PyLayerTest {
  protected:
    // Soft clay 120 in thick over a sand of the given model, a 24-in pile 600 in long in
    // 40 increments.
    void Soft_Clay_Over_Sand(int sand_type) {
        SetUp();
        Add_Layer({PY_SOFT_CLAY, 0.0, 120.0, 5.0, 5.0, 0.0, 0.0, kGamma36, kGamma36});
        Add_Layer({sand_type, 120.0, 600.0, 0.0, 0.0, 35.0, 35.0, kGamma36, kGamma36});
        Set(m().Profile.eps50, 1, 0.01, 0.01);
        m().Layers[2].k_Top = m().Layers[2].k_Bottom = 100.0;
        Grid(600.0, 24.0, 40);
    }
};

double Matlock_pu(double x, double c, double b, double gamma) {
    return std::min(3.0 + gamma * x / c + 0.5 * x / b, 9.0) * c * b;
}

// Reese A (static) at x/b, by straight lines between the tabulated points.
double Reese_A(double r) {
    const double xs[] = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6};
    const double as[] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
    if (r >= 6.0) {
        return 0.88;
    }
    int k = 1;
    while (r >= xs[k]) {
        ++k;
    }
    return as[k - 1] + (as[k] - as[k - 1]) * (r - xs[k - 1]) / (xs[k] - xs[k - 1]);
}

TEST_F(LayeredTest, SandBelowSoftClayMobilisesTheClayResistanceAtItsEquivalentDepth) {
    for (const int type : {PY_SAND, PY_API_SAND}) {
        Soft_Clay_Over_Sand(type);
        ASSERT_EQ(m().Layers[2].KTOP, 9);
        Pass();
        ASSERT_EQ(m().RunStatus, 0);

        // Clay resistance: trapezoids over nodes 1..8 and pu*h at node 8.
        double F = 0.0;
        for (int i = 2; i <= 8; ++i) {
            F += (Matlock_pu(15.0 * (i - 2), 5.0, 24.0, kGamma36) +
                  Matlock_pu(15.0 * (i - 1), 5.0, 24.0, kGamma36)) *
                 7.5;
        }
        F += Matlock_pu(105.0, 5.0, 24.0, kGamma36) * 15.0;
        EXPECT_NEAR(m().Py.F_Layer[1], F, 1e-9 * F);

        // The sand resistance integrated from the surface to X_Eq (fine Simpson rule) equals
        // the clay resistance above.
        const double b = 24.0;
        const double phi = 35.0 * kPi / 180.0;
        const double al = phi / 2.0;
        const double be = kPi / 4.0 + phi / 2.0;
        const double K0 = type == PY_SAND ? 0.4 : 0.4000000059604645;
        const double Ka = std::pow(std::tan(kPi / 4.0 - phi / 2.0), 2);
        const double Kp = std::pow(std::tan(be), 2);
        const double C1 =
            std::tan(be) *
            (Kp * std::tan(al) +
             K0 * (std::tan(phi) * std::sin(be) * (1.0 / std::cos(al) + 1.0) - std::tan(al)));
        const double C2 = Kp - Ka;
        auto p = [&](double x) {
            return Reese_A(x / b) * kGamma36 * b * b * (C1 * (x / b) * (x / b) + C2 * x / b);
        };
        const double xe = m().Py.X_Eq[2];
        ASSERT_GT(xe, 0.0);
        const int n = 20000;
        double integral = p(0.0) + p(xe);
        for (int i = 1; i < n; ++i) {
            integral += (i % 2 == 1 ? 4.0 : 2.0) * p(xe * i / n);
        }
        integral *= xe / n / 3.0;
        EXPECT_NEAR(integral, F, 2e-3 * F) << type;

        // Reese sand keeps its first equivalent depth; API sand recomputes it every pass.
        m().Py.X_Eq[2] = 7.0;
        Pass();
        if (type == PY_SAND) {
            EXPECT_EQ(m().Py.X_Eq[2], 7.0);
        } else {
            EXPECT_NEAR(m().Py.X_Eq[2], xe, 1e-12);
        }
    }
}

TEST_F(LayeredTest, StiffClayBelowSandStartsAtTheDepthOfEqualResistance) {
    Add_Layer({PY_SAND, 0.0, 120.0, 0.0, 0.0, 35.0, 35.0, kGamma36, kGamma36});
    Add_Layer({PY_STIFF_CLAY_NO_WATER, 120.0, 600.0, 10.0, 10.0, 0.0, 0.0, kGamma36, kGamma36});
    Set(m().Profile.eps50, 2, 0.007, 0.007);
    m().Layers[1].k_Top = m().Layers[1].k_Bottom = 100.0;
    Grid(600.0, 24.0, 40);
    const double y50 = 2.5 * 0.007 * 24.0;
    Y(10, y50);
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const double F = m().Py.F_Layer[1];
    ASSERT_GT(F, 0.0);
    // Average strength from the surface is 0 at the top of the clay (the sand has none), so
    // the wedge branch reduces to F = 0.5*gamma*b*X^2.
    const double b = 24.0;
    const double xw = 9.0 * 10.0 * b / (kGamma36 * b);
    ASSERT_LT(F, 0.5 * kGamma36 * xw * b * xw);
    const double xe = std::sqrt(F / (0.5 * kGamma36 * b));
    EXPECT_NEAR(m().Py.X_Eq[2], xe, 1e-9 * xe);
    // Node 10 at 135 in works at the equivalent depth 15 in below the layer top.
    const double x = 15.0 + xe;
    const double pu = std::min(3.0 * 10.0 * b + kGamma36 * b * x + 0.5 * 10.0 * x, 9.0 * 10 * b);
    EXPECT_NEAR(Es(10), 0.5 * pu / y50, 1e-9 * Es(10));
}

TEST_F(LayeredTest, DegenerateEquivalentDepthFallsBackToTheTrueDepth) {
    // A clay whose strength is 0 at its top cannot match the resistance above.
    Add_Layer({PY_SAND, 0.0, 120.0, 0.0, 0.0, 35.0, 35.0, kGamma36, kGamma36});
    Add_Layer({PY_SOFT_CLAY, 120.0, 600.0, 0.0, 5.0, 0.0, 0.0, 0.0, 0.0});
    m().Layers[1].k_Top = 100.0;
    Grid(600.0, 24.0, 40);
    m().Py.F_Layer[1] = 1000.0;
    m().Py.b = 24.0;
    m().Py.c = 0.0;
    m().Py.Gamma = 0.0;
    m().Py.J = 0.5;
    Compute_X_Eq(m(), 2);
    EXPECT_EQ(m().Py.X_Eq[2], 120.0);
}

// The 17 Line 8 records of printed curve n: (y, p) pairs.
std::vector<std::pair<double, double>> Curve_Points(const std::string& plot, int n,
                                                    std::string* line7 = nullptr) {
    std::istringstream in(plot);
    std::string line;
    std::vector<std::pair<double, double>> pts;
    bool inside = false;
    const std::string tag = "curve no. " + std::to_string(n);
    while (std::getline(in, line)) {
        if (line.find("Line 7:") != std::string::npos) {
            inside = line.size() >= tag.size() &&
                     line.compare(line.size() - tag.size(), tag.size(), tag) == 0;
            if (inside && line7 != nullptr) {
                *line7 = line;
            }
            continue;
        }
        if (inside && line.find("Line 8(") != std::string::npos) {
            pts.emplace_back(std::stod(line.substr(0, 15)), std::stod(line.substr(15, 15)));
        }
    }
    return pts;
}

TEST_F(LayeredTest, PrintedSoftClayCurveAtSortedDistinctDepths) {
    Add_Layer({PY_SOFT_CLAY, 0.0, 600.0, 5.0, 5.0, 0.0, 0.0, kGamma36, kGamma36});
    Set(m().Profile.eps50, 1, 0.01, 0.01);
    Grid(600.0, 24.0, 40);
    m().i_Num_Printed_py_Depths = 4;
    m().Printed_py_Depth[1] = 48.0;
    m().Printed_py_Depth[2] = 24.0;
    m().Printed_py_Depth[3] = 48.0;
    m().Printed_py_Depth[4] = 30.0;
    const auto nodes_before = m().Nodes;
    Report_py_Curves_At_Depths(m());
    ASSERT_EQ(m().RunStatus, 0);
    EXPECT_EQ(m().i_Num_Printed_py_Depths, 3);
    EXPECT_EQ(m().Printed_py_Depth[1], 24.0);
    EXPECT_EQ(m().Printed_py_Depth[2], 30.0);
    EXPECT_EQ(m().Printed_py_Depth[3], 48.0);
    const std::string plot = Plot();
    EXPECT_EQ(plot.substr(0, 5), "    3");
    EXPECT_NE(plot.find("Line 6 : number of output p-y curves"), std::string::npos);
    std::string line7;
    const auto pts = Curve_Points(plot, 3, &line7);
    EXPECT_EQ(line7.substr(0, 20), "  4.8000000E+01   17");
    EXPECT_EQ(line7.substr(80),
              "Line 7:  p-y curve depth in soft clay, no. p-y points on curve no. 3");
    ASSERT_EQ(pts.size(), 17u);
    const double mult[18] = {0, 0,   0.05, 0.125, 0.25, 0.375, 0.5, 1.0, 1.5,
                             2, 2.5, 3.0,  4.0,   5.0,  6.0,   7.0, 8.0, 8.5};
    const double y50 = 0.6;
    const double pu = 504.0; // Np = 4.2 at 48 in
    for (int j = 1; j <= 17; ++j) {
        const double y = mult[j] * y50;
        const double p = mult[j] <= 8.0 ? 0.5 * pu * std::cbrt(mult[j]) : pu;
        EXPECT_NEAR(pts[j - 1].first, y, 1e-6 * y + 1e-12) << j;
        EXPECT_NEAR(pts[j - 1].second, p, 1e-6 * p + 1e-12) << j;
    }
    const std::string report = Report();
    EXPECT_NE(report.find("p-y Curve Computed Using the Soft Clay Criteria for Static Loading "
                          "Conditions"),
              std::string::npos);
    const auto at = report.find("Equivalent Depth");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(report.substr(at + 55, 2), "= ");
    // The curves walk the requested depths: every node, inside the grid and beyond it,
    // keeps its own depth, layer, section and spring.
    for (size_t i = 1; i < nodes_before.size(); ++i) {
        const PileNode& a = nodes_before[i];
        const PileNode& b = m().Nodes[i];
        ASSERT_TRUE(a.X == b.X && a.Xv == b.Xv && a.i_Layer == b.i_Layer &&
                    a.i_Section == b.i_Section && a.Es == b.Es && a.EI == b.EI)
            << "node " << i;
    }
    EXPECT_EQ(m().Nodes[41].X, 600.0);
    EXPECT_EQ(m().Layers[1].KTOP, 1);
    EXPECT_EQ(m().Layers[1].i_BottomNodeInLayer, 41);
    EXPECT_FALSE(m().Py.b_PrintPY);
}

// The printed curves take layer ranges of their own: whether the print pass completes or stops
// at a depth below the soil data, the layers' node ranges and every station stay as they
// were, and the next pass over the stations gives the springs of a pass without printing.
TEST_F(LayeredTest, PrintingCurvesLeavesTheLayersAndStationsAsTheyWere) {
    struct Case {
        const char* name;
        std::vector<double> depths;
        bool stops;
    };
    const Case cases[] = {
        {"depths inside the soil", {30.0, 60.0, 200.0, 400.0}, false},
        {"deepest depth below the soil data", {30.0, 60.0, 200.0, 700.0}, true},
    };
    const auto build = [&] {
        Soft_Clay_Over_Sand(PY_SAND);
        for (int i = 1; i <= 41; ++i) {
            Y(i, 0.5 * std::exp(-0.01 * 15.0 * (i - 1)));
        }
    };
    build();
    Pass();
    ASSERT_EQ(m().RunStatus, 0);
    const auto plain = m().Nodes;

    for (const Case& c : cases) {
        build();
        const auto layers_before = m().Layers;
        const auto nodes_before = m().Nodes;
        m().i_Num_Printed_py_Depths = static_cast<int>(c.depths.size());
        for (size_t k = 0; k < c.depths.size(); ++k) {
            m().Printed_py_Depth[k + 1] = c.depths[k];
        }
        Report_py_Curves_At_Depths(m());
        EXPECT_EQ(m().RunStatus != 0, c.stops) << c.name;
        // Two depths in each layer, where the stations have 8 and 33.
        EXPECT_EQ(m().Py.Print_Layers[1].first, 1) << c.name;
        EXPECT_EQ(m().Py.Print_Layers[1].last, 2) << c.name;
        EXPECT_EQ(m().Py.Print_Layers[2].first, 3) << c.name;
        EXPECT_EQ(m().Py.Print_Layers[2].last, 4) << c.name;
        for (size_t k = 1; k < layers_before.size(); ++k) {
            EXPECT_EQ(m().Layers[k].KTOP, layers_before[k].KTOP) << c.name << ", layer " << k;
            EXPECT_EQ(m().Layers[k].i_BottomNodeInLayer, layers_before[k].i_BottomNodeInLayer)
                << c.name << ", layer " << k;
        }
        for (size_t i = 1; i < nodes_before.size(); ++i) {
            const PileNode& a = nodes_before[i];
            const PileNode& b = m().Nodes[i];
            ASSERT_TRUE(a.X == b.X && a.Xv == b.Xv && a.i_Layer == b.i_Layer &&
                        a.i_Section == b.i_Section && a.Es == b.Es && a.EI == b.EI)
                << c.name << ", node " << i;
        }
        if (c.stops) {
            continue;
        }
        Pass();
        ASSERT_EQ(m().RunStatus, 0);
        for (int i = 1; i <= 41; ++i) {
            EXPECT_EQ(m().Nodes[i].Es, plain[i].Es) << "node " << i;
            EXPECT_EQ(m().Nodes[i].i_Layer, plain[i].i_Layer) << "node " << i;
        }
    }
}

TEST_F(LayeredTest, ShallowestDepthAboveGroundPrintsNoCurve) {
    Add_Layer({PY_SOFT_CLAY, 24.0, 600.0, 5.0, 5.0, 0.0, 0.0, kGamma36, kGamma36});
    Set(m().Profile.eps50, 1, 0.01, 0.01);
    Grid(600.0, 24.0, 40);
    m().i_Num_Printed_py_Depths = 2;
    m().Printed_py_Depth[1] = 100.0;
    m().Printed_py_Depth[2] = 12.0;
    Report_py_Curves_At_Depths(m());
    EXPECT_EQ(m().RunStatus, 123);
    const std::string plot = Plot();
    EXPECT_NE(plot.find("  1.2000000E+01    0" + std::string(60, ' ') +
                        "Line 7:  p-y curve depth, no. p-y points"),
              std::string::npos);
    EXPECT_EQ(plot.find("Line 8("), std::string::npos);
    const std::string report = Report();
    EXPECT_NE(report.find("**** Input Data Error No. 23 (NON-FATAL) ****"), std::string::npos);
    EXPECT_NE(report.find("This location is    12.000 in below the pile head and "),
              std::string::npos);
}

TEST_F(LayeredTest, EveryClayAndSandModelPrintsSeventeenPoints) {
    struct Case {
        int type;
        const char* soil;
    };
    const Case cases[] = {
        {PY_SOFT_CLAY, "soft clay"},
        {PY_SOFT_CLAY_J, "API soft clay"},
        {PY_STIFF_CLAY_FREE_WATER, "static stiff clay with free water"},
        {PY_STIFF_CLAY_NO_WATER, "stiff clay w/o water"},
        {PY_STIFF_CLAY_NO_WATER_K, "stiff clay with k"},
        {PY_SAND, "sand"},
        {PY_API_SAND, "API sand"},
        {PY_LIQUEFIED_SAND, "liquefied sand"},
    };
    for (const Case& c : cases) {
        SetUp();
        Add_Layer({c.type, 0.0, 600.0, 10.0, 10.0, 35.0, 35.0, kGamma36, kGamma36});
        Set(m().Profile.eps50, 1, 0.007, 0.007);
        Set(m().Profile.J, 1, 0.5, 0.5);
        m().Layers[1].k_Top = m().Layers[1].k_Bottom = 100.0;
        Grid(600.0, 24.0, 40);
        m().i_Num_Printed_py_Depths = 1;
        m().Printed_py_Depth[1] = 60.0;
        Report_py_Curves_At_Depths(m());
        ASSERT_EQ(m().RunStatus, 0) << c.type;
        const std::string plot = Plot();
        const auto pts = Curve_Points(plot, 1);
        ASSERT_EQ(pts.size(), 17u) << c.type;
        EXPECT_EQ(pts[0].first, 0.0) << c.type;
        EXPECT_EQ(pts[0].second, 0.0) << c.type;
        for (int j = 1; j < 17; ++j) {
            EXPECT_GT(pts[j].first, pts[j - 1].first) << c.type << " point " << j + 1;
            EXPECT_GE(pts[j].second, 0.0) << c.type;
        }
        EXPECT_NE(plot.find(std::string("): y, p, for ") + c.soil + "\n"), std::string::npos)
            << c.type;
    }
}

} // namespace
} // namespace zarno::test
