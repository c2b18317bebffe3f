// Section property blocks of the output report: dimensions by section type, axial
// capacities, strand details, bar tables, concrete properties, run-message definitions
// and the moment-curvature table headings.
#pragma once

#include "section/section_workspace.h"

#include <string>

namespace zarno {

struct AnalysisModel;

// Unit texts of the section reports, eight characters each.
struct SectionUnitTexts {
    std::string length, stress, force, curvature, area, inertia, stiffness, moment;
};
SectionUnitTexts Section_Unit_Texts(int iunits);

// Label from column 1, "= " from column 56, the value by Write_Number and the unit.
void Write_Property_Line(AnalysisModel& m, const std::string& label, double value,
                         const std::string& unit, int width = 15);

void Write_Section_Dimensions(AnalysisModel& m, int k, const SectionWorkspace& ws);
void Write_Axial_Capacities(AnalysisModel& m, const SectionWorkspace& ws);
void Write_Strand_Details(AnalysisModel& m, int k, const SectionWorkspace& ws);
void Write_Bar_Table(AnalysisModel& m, int k, const SectionWorkspace& ws);
void Write_Concrete_Properties(AnalysisModel& m, int k, const SectionWorkspace& ws);
void Write_Run_Message_Definitions(AnalysisModel& m, const SectionWorkspace& ws);
void Write_Moment_Curvature_Heading(AnalysisModel& m, const SectionWorkspace& ws, double thrust);

} // namespace zarno
