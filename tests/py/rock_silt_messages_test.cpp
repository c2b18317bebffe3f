#include "engine/analysis_model.h"
#include "py/rock_silt_messages.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zarno {
namespace {

using Files = test::ModelFiles;

TEST(RockSiltMessages, WeakRockKrmUsesCode163) {
    Files f;
    EXPECT_EQ(Raise_Weak_Rock_krm_Error(*f.m, 3), 163);
    EXPECT_EQ(f.m->RunStatus, 163);
    const std::string block = "**** Input Data Error No. 63 ****\n"
                              "\n"
                              "Problem:  The input value for k_rm for weak rock is less than or "
                              "equal to zero.\n"
                              "\n"
                              "Solution: Check the input values for layer 3\n"
                              "\n";
    EXPECT_EQ(f.Messages(), block);
    EXPECT_EQ(f.Report(),
              block + "\n\nZarno ended prematurely due to input error number INP00163\n");
}

TEST(RockSiltMessages, SiltCohesionShowsLayerDepthAndStrength) {
    Files f;
    EXPECT_EQ(Raise_Silt_Cohesion_Error(*f.m, 2, 120.5, 0.0), 148);
    EXPECT_EQ(f.m->RunStatus, 148);
    EXPECT_EQ(f.Messages(), "**** Input Data Error No. 48 ****\n"
                            "\n"
                            "Problem: A negative or zero value of cohesion was input for \n"
                            "a soil defined as a silt.\n"
                            "\n"
                            "Layer = 2, Depth =  120.50000000, c =  0.000E+00\n"
                            "\n"
                            "Solution:  Please revise and correct the input data.  \n"
                            "Both cohesion and friction angle should be non-zero for silt "
                            "soils.\n");
}

TEST(RockSiltMessages, LoessCyclesGoesToTheReportOnly) {
    Files f;
    EXPECT_EQ(Raise_Loess_Cycles_Error(*f.m, 4, -12.0), 170);
    EXPECT_EQ(f.m->RunStatus, 170);
    EXPECT_EQ(f.Messages(), "");
    EXPECT_EQ(f.Report(),
              "\n\n**** Input Data Error No. 70 ****\n\n"
              "PROBLEM: Soil layer 4 is a loess and the input value for the number of cycles of "
              "loading =        -12.0\n"
              "This value is greater than 10. The soil model for loess is valid only for 1 to 10 "
              "cycles of loading. \n"
              "SOLUTION: Revise the input data so that the number of cycles of loading is in the "
              "range of 1 to 10.\n"
              "\n"
              "\n\nZarno ended prematurely due to input error number INP00170\n");
}

TEST(RockSiltMessages, EveryBlockSetsItsStatusAndCode) {
    struct Case {
        std::function<int(AnalysisModel&)> raise;
        int status;
        const char* header;
        const char* closing;
    };
    const Case cases[] = {
        {[](AnalysisModel& m) { return Raise_Weak_Rock_Strength_Error(m, 1); }, 162,
         "**** Input Data Error No. 62 ****", "input error number INP00062"},
        {[](AnalysisModel& m) { return Raise_Weak_Rock_Zero_Strength_Error(m); }, 116,
         "**** Input Data Error No. 16 ****", "input error number INP00016"},
        {[](AnalysisModel& m) { return Raise_Weak_Rock_yrm_Error(m, 1); }, 222,
         "**** Runtime Error No. 22 ****", "runtime error number RUN00022"},
        {[](AnalysisModel& m) { return Raise_Weak_Rock_Initial_Slope_Error(m, 1); }, 164,
         "**** Input Data Error No. 64 ****", "input error number INP00064"},
        {[](AnalysisModel& m) { return Raise_Silt_Friction_Error(m); }, 110,
         "**** Input Data Error No. 10 ****", "input error number INP00010"},
        {[](AnalysisModel& m) { return Raise_Silt_Slope_Input_Error(m, 1); }, 111,
         "**** Input Data Error No. 11 ****", "input error number INP00011"},
        {[](AnalysisModel& m) { return Raise_Silt_Slope_Runtime_Error(m, 1); }, 223,
         "**** Runtime Error No. 23 ****", "runtime error number RUN00023"},
    };
    for (const Case& c : cases) {
        Files f;
        EXPECT_EQ(c.raise(*f.m), c.status);
        EXPECT_EQ(f.m->RunStatus, c.status);
        const std::string report = f.Report();
        EXPECT_NE(f.Messages().find(c.header), std::string::npos) << c.header;
        EXPECT_NE(report.find(c.header), std::string::npos) << c.header;
        EXPECT_NE(report.find(c.closing), std::string::npos) << c.closing;
    }
}

TEST(RockSiltMessages, SiltSlopeRuntimeBlock) {
    Files f;
    EXPECT_EQ(Raise_Silt_Slope_Runtime_Error(*f.m, 5), 223);
    EXPECT_EQ(f.Messages(), "**** Runtime Error No. 23 ****\n\n"
                            "A runtime error occurred due to the ground slope angle being\n"
                            "greater than the friction angle for silt for layer 5.\n\n"
                            "Problem:  The angle of the ground slope can not be greater \n"
                            "than the internal friction angle of silt.\n\n"
                            "Solution:  Set the value for slope angle to be less than \n"
                            "the angle of friction or convert the layer into an equivalent\n"
                            "strength clay layer.\n\n");
}

} // namespace
} // namespace zarno
