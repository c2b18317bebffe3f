// The report block of one converged load case: heading, pile-head conditions, the table of
// results along the pile, the stress note and the output summary, with the station results
// and the balance check computed on the way. Plot records are written by the caller.
#pragma once

#include "solver/fd_solver.h"
#include "solver/node_results.h"

#include <string_view>

namespace zarno {

class TextFile;

// Values below this magnitude are printed as 0.
inline constexpr double PRINT_ZERO_LIMIT = 1.0e-20;
inline double Output_Value(double v) {
    return (v < PRINT_ZERO_LIMIT && v > -PRINT_ZERO_LIMIT) ? 0.0 : v;
}

// Heading of the block. lrfd_name is the combination's name (LRFD runs only).
void Write_Results_Heading(TextFile& report, int n, bool lrfd, std::string_view lrfd_name);

// Pile-head conditions of a load case: title, condition 1, condition 2 and the axial
// thrust in the unit system's units (none in GENERAL units), and for loading type 2 the
// fixed- or rotated-head note.
void Write_Head_Conditions(TextFile& report, int IUNITS, int type, double condition_1,
                           double condition_2, double axial_thrust);

// Four heading lines of the results table (none in GENERAL units).
void Write_Results_Column_Headings(TextFile& report, int IUNITS);

// Number of sign changes of the deflection from station 1 to N + 1; a zero deflection
// starts or ends no crossing.
int Count_Zero_Deflection_Points(const FdSolution& s, int N);

struct LoadCaseOutput {
    int IUNITS = 1;
    int i_Analysis_Type = 3;
    bool b_Print_Summary_Only = false;
    bool b_Stiffness_Mode = false; // pile-head stiffness cases
    bool b_Compute_Kmatrix = false;
    int i_Print_Increment = 1;
    bool b_Nonlinear_Sections = false; // a section of a type other than elastic (11)
    std::string_view Length_Label;
    std::string_view Force_Label;
};

// Values kept per load case for the summary of pile responses and the stiffness matrix.
struct LoadCaseSummary {
    double Head_Deflection = 0.0;
    double Head_Slope = 0.0; // computed
    double Head_Shear = 0.0;
    double Head_Moment = 0.0;
    double Max_Moment = 0.0;
    double Max_Moment_Depth = 0.0;
    double Max_Shear = 0.0;
    double Max_Shear_Depth = 0.0;
    double Max_Stress = 0.0;
    int i_Zero_Deflection_Points = 0;
};

// Everything of the results of load case n after its heading and conditions: the column
// headings, the station results (into r and mx, whose section entries the caller has
// cleared), the table rows every i_Print_Increment stations, the balance check with its
// verdict, the stress note and the output summary. Returns the per-case values.
LoadCaseSummary Write_Load_Case_Table(int n, int iterations, FdPileModel& p,
                                      const NodeResultInputs& in, const FdSolution& s,
                                      NodeResults& r, ResultMaxima& mx, EquilibriumCheck& eq,
                                      const LoadCaseOutput& out, TextFile& report,
                                      TextFile& messages);

} // namespace zarno
