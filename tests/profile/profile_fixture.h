// A model with open report and message files and helpers that fill the soil profile the
// way the SOIL LAYERS reader does: two points per layer, top then bottom.
#pragma once

#include "engine/analysis_model.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace zarno::test {

// Values at the top and bottom of a layer, in internal units.
struct LayerData {
    int type;
    double top;
    double bottom;
    double c_top = 0.0, c_bottom = 0.0;
    double phi_top = 0.0, phi_bottom = 0.0;
    double gamma_top = 0.0, gamma_bottom = 0.0;
};

class ProfileTest : public ::testing::Test {
  protected:
    // Also called again by tests that run several cases in turn: each starts afresh.
    void SetUp() override {
        files_.Start_Again();
        Set_Unit_Labels_USCS();
    }

    AnalysisModel& m() { return *files_.m; }

    void Set_Unit_Labels_USCS() { m().Labels.Length = "in "; }

    // Appends one layer and its two profile points.
    void Add_Layer(const LayerData& s) {
        AnalysisModel& a = m();
        const int i = ++a.i_Num_Layers;
        SoilLayer& layer = a.Layers[i];
        layer.i_SoilLayer_py_Type = s.type;
        layer.XLayerTop = s.top;
        layer.XLayerBottom = s.bottom;
        if (i == 1) {
            a.Ground_Surface_Depth = s.top;
        }
        SoilProfile& p = a.Profile;
        for (int end = 0; end < 2; ++end) {
            const int k = 2 * i - 1 + end;
            p.Strength_Depth[k] = end == 0 ? s.top : s.bottom;
            p.Gamma_Depth[k] = p.Strength_Depth[k];
            p.c[k] = end == 0 ? s.c_top : s.c_bottom;
            p.phi[k] = end == 0 ? s.phi_top : s.phi_bottom;
            p.Gamma[k] = end == 0 ? s.gamma_top : s.gamma_bottom;
        }
        p.i_Num_Strength_Points = 2 * i;
        p.i_Num_Gamma_Points = 2 * i;
    }

    // The report so far; the report goes on in a fresh file, so a test can read it again
    // for what follows.
    std::string Report() {
        std::string text = files_.Report();
        EXPECT_TRUE(m().Report.Open(files_.dir / "report2.txt"));
        return text;
    }
    std::string Messages() { return files_.Messages(); }

    ModelFiles files_;
};

} // namespace zarno::test
