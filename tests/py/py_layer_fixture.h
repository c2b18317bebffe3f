// A pile on a node grid in a layered soil, for the tests of the layer routines: elastic
// section, layers with their strength and unit-weight profiles, deflections per node.
#pragma once

#include "../profile/profile_fixture.h"
#include "engine/pile_section.h"
#include "profile/pile_grid.h"
#include "py/py_framework.h"
#include "report/report_header.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace zarno::test {

inline constexpr double kPi = std::numbers::pi;

class PyLayerTest : public ProfileTest {
  protected:
    void SetUp() override {
        ProfileTest::SetUp();
        Set_Unit_Labels(m(), USCS);
    }

    void Section(double L, double b) {
        const int k = ++m().i_Num_Sections;
        PileSection& s = m().Sections[k];
        s.i_Section_Type = SECTION_ELASTIC;
        s.i_Shape_Type = SHAPE_CIRCULAR;
        s.XTop = 0.0;
        s.XBottom = L;
        s.Length = L;
        s.Width_Top = s.Width_Bottom = b;
        s.E_Top = s.E_Bottom = 29e6;
        s.I_Top = s.I_Bottom = 10000.0;
        s.Area_Top = s.Area_Bottom = 100.0;
    }

    // Pile of length L and width b in increments of L/n.
    void Grid(double L, double b, int n) {
        Section(L, b);
        m().Pile_Length = L;
        m().i_Pile_Increments = n;
        Build_Node_Grid(m());
        ASSERT_EQ(m().RunStatus, 0);
    }

    // Profile column of layer i at its top and bottom.
    static void Set(std::array<double, MAX_PROFILE_POINTS + 1>& col, int i, double top,
                    double bottom) {
        col[2 * i - 1] = top;
        col[2 * i] = bottom;
    }

    void Y(int node, double y) { m().Lateral.Solution.y(node) = y; }
    double Es(int node) { return m().Nodes[node].Es; }
    void Pass() { Compute_py_All_Layers(m(), 0); }

    std::string Plot() { return files_.Plot(); }
};

// Effective unit weight of 36 pcf in pci.
inline constexpr double kGamma36 = 36.0 / 1728.0;

} // namespace zarno::test
