// Width and elastic bending stiffness of a pile section at its top and bottom, the two
// points every section contributes to the pile property table.
#pragma once

#include "engine/pile_node.h"

#include <array>

namespace zarno {

struct PileSection;
struct RunInput;
struct StationGrid;

// Properties at the top (bottom = false) or bottom of a section. EI is E·I for steel
// pipes, elastic and elastic-plastic sections; for concrete and prestressed sections it
// is the gross uncracked stiffness (Ec = 57000·sqrt(f'c) psi, steel casing and core
// added), for user-defined EI sections the first stiffness of the first curve. Those are
// starting values that the moment-curvature tables replace before the first solution.
PileProps Section_End_Props(const PileSection& s, bool bottom, int iunits);

// Concrete modulus 57·sqrt(1000 f'c) ksi, with f'c as entered (psi in USCS, kPa in SI
// and general units).
double Concrete_Elastic_Modulus(double fc, int iunits);

// Fills the pile property table: two points per section, at its top and bottom.
void Build_Pile_Property_Table(const RunInput& in,
                               const std::array<PileSection, MAX_SECTIONS + 1>& sections,
                               StationGrid& grid);

} // namespace zarno
