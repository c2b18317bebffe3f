#include "py/rock_silt_messages.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "report/fortran_format.h"

#include <initializer_list>
#include <string>

namespace zarno {

namespace {

std::string Layer_Text(int layer) {
    return Format_I(layer, 0);
}

void Write_Block(TextFile& f, std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) {
        f.Write_Line(line);
    }
}

// The same block to the runtime message file and to the report.
void Write_Both(AnalysisModel& m, std::initializer_list<std::string> lines) {
    Write_To_Both(m.Messages, m.Report, std::span<const std::string>(lines.begin(), lines.size()));
}

} // namespace

void Raise_Weak_Rock_Strength_Error(AnalysisModel& m, int layer) {
    Write_Both(m, {"**** Input Data Error No. 62 ****", "",
                   "Problem:   The input value for compressive strength is less than or equal "
                   "to zero.",
                   "", "Solution:  Check the input values for layer " + Layer_Text(layer)});
    Report_Fatal_Error(m, "INP00062", 162);
}

void Raise_Weak_Rock_Zero_Strength_Error(AnalysisModel& m) {
    Write_Both(m, {"**** Input Data Error No. 16 ****", "",
                   "An error was detected when computing the p-y curve for weak rock.",
                   "Problem:   The input value for the compressive strength of a weak rock was ",
                   "           input as negative or zero (0).", "",
                   "Solution:  Check the depth values for soil layering and soil shear strength ",
                   "           values and correct the input data.", ""});
    Report_Fatal_Error(m, "INP00016", 116);
}

void Raise_Weak_Rock_krm_Error(AnalysisModel& m, int layer) {
    Write_Both(m, {"**** Input Data Error No. 63 ****", "",
                   "Problem:  The input value for k_rm for weak rock is less than or equal to "
                   "zero.",
                   "", "Solution: Check the input values for layer " + Layer_Text(layer), ""});
    Report_Fatal_Error(m, "INP00163", 163);
}

void Raise_Weak_Rock_yrm_Error(AnalysisModel& m, int layer) {
    Write_Both(m, {"**** Runtime Error No. 22 ****", "",
                   "An error was detected when computing the p-y curve for weak rock.     ",
                   "Problem:  The input value for k_rm is less than or equal to 0. ", "",
                   "Solution:  Check the input values for the week rock properties in the soil "
                   "layer " +
                       Layer_Text(layer),
                   ""});
    Report_Fatal_Error(m, "RUN00022", 222);
}

void Raise_Weak_Rock_Initial_Slope_Error(AnalysisModel& m, int layer) {
    m.Messages.Write_Line("ERROR 2 BEFORE EQN 11");
    Write_Both(m, {"**** Input Data Error No. 64 ****", "",
                   "An error was detected when computing the p-y curve for weak rock.",
                   "Problem:   The initial modulus of rock, Eir, and the compressive strength of "
                   "layer " +
                       Layer_Text(layer),
                   "           give no initial slope for the p-y curve.", "",
                   "Solution:  Check the input values of Eir and of the compressive strength for "
                   "layer " +
                       Layer_Text(layer),
                   ""});
    Report_Fatal_Error(m, "INP00064", 164);
}

void Raise_Silt_Cohesion_Error(AnalysisModel& m, int layer, double X, double c) {
    Write_Both(m, {"**** Input Data Error No. 48 ****", "",
                   "Problem: A negative or zero value of cohesion was input for ",
                   "a soil defined as a silt.", "",
                   "Layer = " + Layer_Text(layer) + ", Depth = " + Format_F(X, 13, 8) +
                       ", c = " + Format_ES(c, 10, 3),
                   "", "Solution:  Please revise and correct the input data.  ",
                   "Both cohesion and friction angle should be non-zero for silt soils."});
    Report_Fatal_Error(m, "INP00048", 148);
}

void Raise_Silt_Friction_Error(AnalysisModel& m) {
    Write_Both(m, {"**** Input Data Error No. 10 ****", "",
                   "Problem:  A negative or zero value was input for the friction angle for a "
                   "silt.",
                   "", "Solution:  Please revise and correct the input data.  ",
                   "Both cohesion and friction angle must be non-zero for the cemented silt "
                   "soil."});
    Report_Fatal_Error(m, "INP00010", 110);
}

void Raise_Silt_Slope_Input_Error(AnalysisModel& m, int layer) {
    Write_Both(m, {"**** Input Data Error No. 11 ****", "",
                   "An error was detected in the input data when computing a p-y.",
                   "curve using the criteria for silt for layer " + Layer_Text(layer) + ".", "",
                   "Problem:  The angle of the ground slope can not be greater ",
                   "than the internal friction angle of cohesionless silt.", "",
                   "Solution:  Set the value for slope angle to be less than ",
                   "the angle of friction.", ""});
    Report_Fatal_Error(m, "INP00011", 111);
}

void Raise_Silt_Slope_Runtime_Error(AnalysisModel& m, int layer) {
    Write_Both(m, {"**** Runtime Error No. 23 ****", "",
                   "A runtime error occurred due to the ground slope angle being",
                   "greater than the friction angle for silt for layer " + Layer_Text(layer) + ".",
                   "", "Problem:  The angle of the ground slope can not be greater ",
                   "than the internal friction angle of silt.", "",
                   "Solution:  Set the value for slope angle to be less than ",
                   "the angle of friction or convert the layer into an equivalent",
                   "strength clay layer.", ""});
    Report_Fatal_Error(m, "RUN00023", 223);
}

void Raise_Loess_Cycles_Error(AnalysisModel& m, int layer, double N) {
    Write_Block(m.Report,
                {"", "", "**** Input Data Error No. 70 ****", "",
                 "PROBLEM: Soil layer " + Layer_Text(layer) +
                     " is a loess and the input value for the number of cycles of loading = " +
                     Format_F(N, 12, 1),
                 "This value is greater than 10. The soil model for loess is valid only for 1 "
                 "to 10 cycles of loading. ",
                 "SOLUTION: Revise the input data so that the number of cycles of loading is in "
                 "the range of 1 to 10.",
                 ""});
    Report_Fatal_Error(m, "INP00170", 170);
}

} // namespace zarno
