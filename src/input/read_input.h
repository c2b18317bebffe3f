// The keyword loop of the input file and its block readers.
#pragma once

#include <string>

namespace zarno {

struct AnalysisModel;

// The blocks the keyword loop met, for the checks that need the whole input.
struct InputBlocksRead {
    bool options = false;
    bool sections = false;     // also a SECTIONS block of 0 sections
    int axial_thrust_line = 0; // line of the last AXIAL THRUST LOADS keyword, 0 for none
    int loading_loads = 0;     // loads of the last LOADING block
};

// Reads every block of the input file up to END; returns with RunStatus set on the first
// fatal input error.
void Read_Input_Data(AnalysisModel& m);
void Read_Input_Data(AnalysisModel& m, InputBlocksRead& blocks);
void Read_Title(AnalysisModel& m);
void Read_Options(AnalysisModel& m);

// SECTIONS and its sub-records (section number i).
void Read_Section_Properties(AnalysisModel& m);
void Read_Concrete_Properties(AnalysisModel& m, int i);
void Read_Rebar_Properties(AnalysisModel& m, int i);
void Read_Strand_Properties(AnalysisModel& m, int i);
void Read_Elastic_Section(AnalysisModel& m, int i);
void Read_Elastic_Plastic_Section(AnalysisModel& m, int i);
// Fills fpu, modulus, diameter and area of strand k of section i from the size table.
void Set_Strand_Size(AnalysisModel& m, int i, int k, int strand_type, int size_index);
// Diameter and area of one strand of the given type and size index in the run's units
// (both 0 when the table has no such size).
struct StrandDimensions {
    double diameter = 0.0;
    double area = 0.0;
};
StrandDimensions Strand_Size_Of(int units, int strand_type, int size_index);

void Read_Soil_Layers(AnalysisModel& m);

void Read_Pile_Head_Loading(AnalysisModel& m);
void Read_Lrfd_Loads(AnalysisModel& m);
void Read_Lrfd_Factors(AnalysisModel& m);
void Read_Axial_Thrust_Loads(AnalysisModel& m);
void Read_Soil_Movements(AnalysisModel& m);
void Read_Group_Effect_Factors(AnalysisModel& m);
void Read_Tip_Shear(AnalysisModel& m);
void Read_Pile_Batter_And_Slope(AnalysisModel& m);
void Read_Printed_py_Depths(AnalysisModel& m);

// The distinct axial thrusts (ascending) for which section stiffness tables are computed.
void Build_Axial_Thrust_List(AnalysisModel& m);

// An unrecognised or out-of-order line: input error 99 with the line itself.
void Report_Unrecognized_Line(AnalysisModel& m, const std::string& line);

} // namespace zarno
