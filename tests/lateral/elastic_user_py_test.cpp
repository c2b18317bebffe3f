// The elastic subgrade and user-curve layer routines on a real model: moduli at the nodes
// in evaluate mode, the printed curve in print mode.
#include "engine/analysis_model.h"
#include "input/read_input.h"
#include "lateral_input.h"
#include "profile/pile_grid.h"
#include "py/py_models.h"
#include "report/report_header.h"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace zarno::test {
namespace {

// A model read from an input text and gridded as a load case does, with its files open.
struct PyModel {
    TempDir dir;
    std::unique_ptr<AnalysisModel> m = std::make_unique<AnalysisModel>();
    explicit PyModel(const std::string& text) {
        AnalysisModel& a = *m;
        Reset_Model_State(a);
        a.Report.Open(dir / "report.txt");
        a.Plot.Open(dir / "plot.txt");
        a.Messages.Open(dir / "messages.txt");
        a.Input.Open_Text(text);
        std::string token;
        a.Input.Read_Word(token);
        Read_Input_Data(a);
        Set_Unit_Labels(a, a.IUNITS);
        Convert_USCS_Input_Units(a);
        Make_Layers_Contiguous(a);
        Build_Node_Grid(a);
        Assign_Sections_To_Nodes(a, a.Sections, a, a.i_Num_Nodes);
        Assign_Layers_To_Nodes(a, a, a.Report, a.i_Num_Nodes);
    }
    std::string report() {
        m->Report.Close();
        return Read_File(dir.path() / "report.txt");
    }
    std::string plot() {
        m->Plot.Close();
        return Read_File(dir.path() / "plot.txt");
    }
};

// 100-ft pile, 24-in wide, 100 increments; subgrade modulus 100 pci at the top of the
// layer and 300 pci at 100 ft.
std::string Input_With(const std::string& layers) {
    LateralCase c;
    c.length_ft = 100.0;
    c.layers = layers;
    c.loads = {"1 1000.0 0.0 0.0 1"};
    return Lateral_Input(c);
}

TEST(ElasticUserPy, ElasticSubgradeModulusIsLinearInDepthAndIndependentOfDeflection) {
    PyModel pm(Input_With("1\n13 0.0 100.0\n60.0 100.0\n60.0 300.0\n"));
    AnalysisModel& m = *pm.m;
    ASSERT_EQ(m.RunStatus, 0) << pm.report();
    m.Py.KTOP = 1;
    m.Py.KBOT = m.i_Num_Nodes;
    for (double y : {0.0, 0.5, -3.0}) {
        m.Lateral.Solution.Y.fill(y);
        py_Elastic_Subgrade(m, 1);
        for (int i : {1, 26, 51, 101}) {
            const double X = m.Nodes[i].X;
            EXPECT_NEAR(m.Nodes[i].Es, (100.0 + 200.0 * X / 1200.0) * 24.0, 1e-9) << i;
        }
    }
}

TEST(ElasticUserPy, UserCurveNodeMidwayTakesTheMeanAndNodesAtZeroTakeTheInitialSlope) {
    // Top curve p = 100 y up to y = 1, then flat; bottom curve three times as stiff.
    PyModel pm(Input_With("1\n14 0.0 100.0\n60.0 3\n0.0 0.0\n1.0 100.0\n10.0 100.0\n"
                          "60.0 3\n0.0 0.0\n1.0 300.0\n10.0 300.0\n"));
    AnalysisModel& m = *pm.m;
    ASSERT_EQ(m.RunStatus, 0) << pm.report();
    m.Py.KTOP = 1;
    m.Py.KBOT = m.i_Num_Nodes;
    m.Lateral.Solution.Y.fill(0.0);
    m.Lateral.Solution.y(51) = 0.5;  // on the linear part
    m.Lateral.Solution.y(101) = 5.0; // beyond the last slope change
    py_User_Input(m, 1);
    EXPECT_NEAR(m.Nodes[51].Es, 200.0, 1e-9) << "mean of 100 and 300 at mid-depth";
    EXPECT_NEAR(m.Nodes[101].Es, 300.0 / 5.0, 1e-9) << "flat part: p stays at the last p";
    EXPECT_NEAR(m.Nodes[1].Es, 100.0, 1e-9) << "zero deflection: initial slope p(2)/y(2)";
    // F_Layer: h times the last p interpolated at every node, 100 .. 300 lb/in over 1200 in.
    EXPECT_NEAR(m.Py.F_Layer[1], 12.0 * (100.0 * 101 + 200.0 * 100.0 * 101 / 2.0 / 100.0), 1e-6);
}

TEST(ElasticUserPy, PrintedElasticSubgradeCurveIsAStraightLineToTwoDiameters) {
    PyModel pm(Input_With("1\n13 0.0 100.0\n60.0 100.0\n60.0 100.0\n"));
    AnalysisModel& m = *pm.m;
    ASSERT_EQ(m.RunStatus, 0) << pm.report();
    m.Py.b_PrintPY = true;
    m.Py.i_Num_Print_Points = 1;
    m.Py.Print_X[1] = 120.0;
    m.Py.Print_Xv[1] = 120.0;
    m.Py.Print_Curve_Number[1] = 1;
    m.Py.KTOP = 1;
    m.Py.KBOT = 1;
    py_Elastic_Subgrade(m, 1);
    const std::string report = pm.report();
    const std::string plot = pm.plot();
    EXPECT_NE(report.find("p-y Curve for Elastic Subgrade"), std::string::npos);
    EXPECT_NE(plot.find(" 1.2000000E+02   17" + std::string(60, ' ') +
                        "Line 7:  p-y curve depth in elastic subgrade soil, no. p-y points on "
                        "curve no. 1\n"),
              std::string::npos)
        << plot;
    // Last point: y = 2 b = 48 in, p = Esub b y = 100 * 24 * 48 lb/in.
    EXPECT_NE(plot.find(" 4.8000000E+01  1.1520000E+05" + std::string(50, ' ') +
                        "Line 8(17): y, p, for elastic subgrade\n"),
              std::string::npos)
        << plot;
    EXPECT_EQ(Count(plot, "for elastic subgrade\n"), 17);
}

} // namespace
} // namespace zarno::test
