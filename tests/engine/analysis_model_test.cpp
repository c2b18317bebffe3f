// The model's large tables: zero when created, zero again after a reset, and private to
// each model.
#include "engine/analysis_model.h"

#include <gtest/gtest.h>

#include <memory>

namespace zarno {
namespace {

TEST(LargeTables, FreshAndResetModelsReadZeroEverywhere) {
    auto a = Make_Fresh_Model();
    auto b = Make_Fresh_Model();
    // Corners of both tables, including the last section and the last curve point.
    a->Sections[1].Length = 12.0;
    a->Sections[MAX_SECTIONS].Length = 3.0;
    a->EI_Table.M[1][1][1] = 5.0;
    a->EI_Table.Phi[MAX_SECTIONS][MAX_AXIAL_THRUSTS][MAX_MC_POINTS] = 7.0;
    a->EI_Table.i_Num_Thrusts[MAX_SECTIONS] = 4;
    EXPECT_EQ(b->Sections[1].Length, 0.0) << "two models share a table";
    EXPECT_EQ(b->EI_Table.M[1][1][1], 0.0);
    // The stores kept beside the tables: warnings, LRFD loads and the optional analyses.
    a->Warnings.i_Warning_Tally[3] = 2;
    a->Lrfd_Loads[MAX_LRFD_LOADS].Moment = 4.0;
    a->Lrfd.Node_Load[7] = 1.0;
    a->Analyses.Stiffness.K22[1] = 9.0;
    EXPECT_EQ(b->Warnings.i_Warning_Tally[3], 0) << "two models share a warning store";
    EXPECT_EQ(b->Lrfd_Loads[MAX_LRFD_LOADS].Moment, 0.0);
    EXPECT_FALSE(b->Warnings.Recording_Paused);

    // One value in every part of the model.
    a->i_Num_Sections = 2;
    a->RunStatus = 7;
    a->Report_File_Name = "old.rpt";
    a->Layers[3].KTOP = 12;
    a->Labels.Force = "lbs";
    a->i_Num_Nodes = 41;
    a->Nodes[41].Es = 3.0;
    a->Pile_Property_Table.i_Num_Points = 4;
    a->Py.Print_Layers[2].last = 5;
    a->Py_Cache.nodes.resize(8);
    a->Lateral.Solution.y(1) = 0.25;
    a->Results.title.push_back("old");
    Reset_Model_State(*a);
    EXPECT_EQ(a->i_Num_Sections, 0);
    EXPECT_EQ(a->RunStatus, 0);
    EXPECT_TRUE(a->Run_Control().Report_File_Name.empty());
    EXPECT_EQ(a->Run_Input().Layers[3].KTOP, 0);
    EXPECT_TRUE(a->Run_Input().Labels.Force.empty());
    EXPECT_EQ(a->Grid().i_Num_Nodes, 0);
    EXPECT_EQ(a->Grid().Nodes[41].Es, 0.0);
    EXPECT_EQ(a->Grid().Pile_Property_Table.i_Num_Points, 0);
    EXPECT_EQ(a->Py.Print_Layers[2].last, 0);
    EXPECT_TRUE(a->Py_Cache.nodes.empty());
    EXPECT_EQ(a->Lateral.Solution.y(1), 0.0);
    EXPECT_TRUE(a->Results.title.empty());
    EXPECT_EQ(a->Sections[1].Length, 0.0);
    EXPECT_EQ(a->Sections[MAX_SECTIONS].Length, 0.0);
    EXPECT_EQ(a->EI_Table.M[1][1][1], 0.0);
    EXPECT_EQ(a->EI_Table.Phi[MAX_SECTIONS][MAX_AXIAL_THRUSTS][MAX_MC_POINTS], 0.0);
    EXPECT_EQ(a->EI_Table.i_Num_Thrusts[MAX_SECTIONS], 0);
    EXPECT_EQ(a->Warnings.i_Warning_Tally[3], 0);
    EXPECT_EQ(a->Lrfd_Loads[MAX_LRFD_LOADS].Moment, 0.0);
    EXPECT_EQ(a->Lrfd.Node_Load[7], 0.0);
    EXPECT_EQ(a->Analyses.Stiffness.K22[1], 0.0);
    // The start-of-run settings are applied again.
    EXPECT_EQ(a->Default_J, 0.5);
    EXPECT_EQ(a->Py.X_Eq[1], X_EQ_NOT_SET);
    // The reset table is still writable.
    a->EI_Table.EI[3][2][1] = 1.5;
    EXPECT_EQ(a->EI_Table.EI[3][2][1], 1.5);
}

} // namespace
} // namespace zarno
