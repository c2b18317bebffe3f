#include "input_test_support.h"

#include <gtest/gtest.h>

namespace zarno::test {
namespace {

TEST(KeywordLoop, KeywordsMatchFromColumnOneWithTheirCase) {
    EXPECT_EQ(Read_Text(Input("OPTIONS \n" + Options().substr(8))).status(), 0)
        << "a trailing blank still matches";
    for (const char* keyword : {" OPTIONS", "Options", "OPTIONS X"}) {
        ReadResult r = Read_Text(Input(std::string(keyword) + "\n" + Options().substr(8)));
        EXPECT_EQ(r.status(), 199) << keyword;
        EXPECT_TRUE(Contains(r.report, "The following line is unrecognized or is out-of-order\n\n" +
                                           std::string(keyword) +
                                           "\nFound at line 2 of the input file: did you mean "
                                           "\"OPTIONS\"?"))
            << keyword;
    }
}

TEST(KeywordLoop, ProgressLinesFollowTheBlocks) {
    ReadResult r = Read_Text(
        Input("TITLE\nt\n\n\n\n\n" + Options() + "PILE BATTER AND SLOPE\n0\n0\nTIP SHEAR\n0\n"));
    ASSERT_EQ(r.status(), 0);
    EXPECT_EQ(r.messages, "Input of data begun\nReading title data\nReading analysis options\n"
                          "Reading pile batter and ground slope angles\nReading tip shear data\n");
}

TEST(Options, EveryLineIsStored) {
    std::string text = Options("Units SI", 7, "Loading CYCLIC   250");
    text = text.replace(text.find("UseLRFD NO"), 10, "UseLRFD YES");
    text = text.replace(text.find("ComputeEIOnly NO"), 16, "ComputeEIOnly YES");
    text = text.replace(text.find("UsePYModifiers NO"), 17, "UsePYModifiers YES");
    text = text.replace(text.find("ComputeInteraction NO"), 21,
                        "ComputeInteraction YES\nCode Eurocode2");
    text = text.replace(text.find("PrintPYCurves NO"), 16, "PrintPYCurves YES");
    ReadResult r = Read_Text(Input(text));
    ASSERT_EQ(r.status(), 0) << r.report;
    const AnalysisModel& m = *r.model;
    EXPECT_EQ(m.IUNITS, SI);
    EXPECT_TRUE(m.b_Use_LRFD);
    EXPECT_FALSE(m.ib_ComputeKmatrix_1T0F);
    EXPECT_TRUE(m.b_Use_py_Modifiers);
    EXPECT_EQ(m.i_Num_Group_Effect_Rows, 1);
    EXPECT_EQ(m.i_Analysis_Type, 2);
    EXPECT_TRUE(m.b_Cyclic);
    EXPECT_EQ(m.Number_Of_Cycles, 250.0);
    EXPECT_EQ(m.i_Max_Iterations, 100);
    EXPECT_EQ(m.Excess_Deflection, 100.0);
    EXPECT_EQ(m.Tolerance, 1.0e-5);
    EXPECT_EQ(m.i_Pile_Increments, 100);
    EXPECT_EQ(m.i_Print_Increment, 1);
    EXPECT_TRUE(m.b_Print_py_Curves);
    EXPECT_EQ(m.i_Print_py_Curves, 1);
    EXPECT_TRUE(m.b_Compute_Interaction);
    EXPECT_EQ(m.i_Interaction_Code, 3);
}

TEST(Options, NumericLimits) {
    struct Case {
        int index;
        const char* line;
        const char* units;
        int status;
    };
    const Case cases[] = {
        {8, "MaxIterations 29", "Units USCS", 195}, {8, "MaxIterations 30", "Units USCS", 0},
        {8, "MaxIterations 1000", "Units USCS", 0}, {8, "MaxIterations 1001", "Units USCS", 195},
        {11, "Increments 39", "Units USCS", 155},   {11, "Increments 40", "Units USCS", 0},
        {11, "Increments 500", "Units USCS", 0},    {11, "Increments 501", "Units USCS", 156},
        {10, "Tolerance 0.1", "Units USCS", 0},     {10, "Tolerance 0.1000001", "Units USCS", 166},
        {10, "Tolerance 1e-21", "Units USCS", 165}, {10, "Tolerance 0.00254", "Units SI", 0},
        {10, "Tolerance 0.0026", "Units SI", 168},  {10, "Tolerance 1e-23", "Units SI", 167},
        {10, "Tolerance 5.0", "Units GENERAL", 0},  {10, "Tolerance 0.0", "Units GENERAL", 0},
        {10, "Tolerance,0.2", "Units SI", 168},
    };
    for (const Case& c : cases) {
        ReadResult r = Read_Text(Input(Options(c.units, c.index, c.line)));
        EXPECT_EQ(r.status(), c.status) << c.units << " / " << c.line;
    }
}

TEST(Options, LimitMessages) {
    ReadResult it = Read_Text(Input(Options("Units USCS", 8, "MaxIterations 1001")));
    EXPECT_TRUE(Contains(it.report,
                         "\n\n***** Input Data Error No. 95 *****\n\nProblem: Input value "
                         "for iterations limit = 1001 and is more than 1,000 "
                         "iteractions\nSolution:  Correct input value to be between "
                         "30 and 1000 iterations.\n\n\n"));
    ReadResult tol = Read_Text(Input(Options("Units USCS", 10, "Tolerance 0.5")));
    const std::string block66 = "\n**** Input Data Error No. 66 ****\n\nInput value for "
                                "convergence tolerance is too large (more than 0.1 inches). \n"
                                "The recommended value for convergence tolerance is 0.00001 "
                                "inches.\n\n";
    EXPECT_TRUE(Contains(tol.report, block66));
    EXPECT_TRUE(Contains(tol.messages, block66));
    ReadResult inc = Read_Text(Input(Options("Units USCS", 11, "Increments 39")));
    const std::string block55 = "**** Input Data Error No. 55 ****\n\nProblem:  The number of "
                                "pile increments is less than 40.\n\nSolution: Increase the "
                                "number of pile increments to more than 40, preferably more "
                                "than 100 increments.\n";
    EXPECT_TRUE(Contains(inc.report, block55));
    EXPECT_TRUE(Contains(inc.messages, block55));
    EXPECT_TRUE(Contains(inc.report, "input error number INP00055"));
}

TEST(Options, UnrecognizedOptionLines) {
    struct Case {
        int index;
        const char* line;
        int status;
        const char* text;
    };
    const Case cases[] = {
        {0, "Units FPS", 199, "The following line is unrecognized or is out-of-order"},
        {1, "UseLRFD yes", 195, "INPUT ERROR - Unrecognized command for LRFD analysis option"},
        {1, "UseLRFX YES", 195, "INPUT ERROR - Unrecognized command for LRFD analysis option"},
        {3, "UseTipShear_NO", 195, "INPUT ERROR - Unrecognized command for tip shear option"},
        {2, "ComputeKmatrix", 195,
         "INPUT ERROR - Unrecognized command for compute pile-head stiffness matrix option"},
        {3, "UseTipShear  NO", 195, "INPUT ERROR - Unrecognized command for tip shear option"},
        {4, " UseSoilMovement NO", 195,
         "INPUT ERROR - Unrecognized command for soil movement option"},
        {5, "UsePYModifiers N", 195,
         "INPUT ERROR - Unrecognized command for use of p-y modifiers option"},
        {6, "ComputeEIOnly MAYBE", 195,
         "INPUT ERROR - Unrecognized command for compute nonlinear EI only option"},
        {7, "Loading  STATIC    0", 195,
         "INPUT ERROR - Unrecognized command for loading type option"},
        {7, "Loading CYCLIC  1x0", 190, "cycles of loading"},
        {12, "PrintSummaryOnly", 195,
         "INPUT ERROR - Unrecognized command for print summary only option"},
        {14, "PrintPYCurves NO!", 195,
         "INPUT ERROR - Unrecognized command for p-y curve output depths option"},
        {15, "ComputeInteraction", 195,
         "INPUT ERROR - Unrecognized command for compute interaction option"},
        {15, "ComputeInteraction YES\nCode ACI", 195,
         "INPUT ERROR - Unrecognized command for interaction code option"},
        {8, "MaxIterations many", 190, "Expected the maximum number of iterations (an integer)"},
    };
    for (const Case& c : cases) {
        ReadResult r = Read_Text(Input(Options("Units USCS", c.index, c.line)));
        EXPECT_EQ(r.status(), c.status) << c.line;
        EXPECT_TRUE(Contains(r.report, c.text)) << c.line << "\n" << r.report;
    }
}

} // namespace
} // namespace zarno::test
