// Stations of the finite-difference pile model and the pile properties looked up along it.
#pragma once

#include "engine/capacities.h"

#include <array>

namespace zarno {

// Per-node tables are sized for the largest grid plus the few entries past the tip that
// the section assignment fills with a single section.
inline constexpr int NODE_TABLE_SIZE = 506;
// Pile property table: one point at the top and one at the bottom of every section.
inline constexpr int MAX_PILE_PROPERTY_POINTS = 2 * MAX_SECTIONS;

// One station, numbered 1 at the pile head to N at the tip. The deflections live in the
// lateral solution (FdSolution::Y), which also holds the fictitious stations beyond both
// ends.
struct PileNode {
    double X = 0.0;  // depth below the pile head along the pile axis
    double Xv = 0.0; // vertical depth, X * cos(batter)
    double EI = 0.0; // bending stiffness
    double b = 0.0;  // pile width
    int i_Section = 0;
    int i_Layer = 0;            // soil layer holding the node, 0 when none
    double Es = 0.0;            // secant soil modulus of the p-y spring
    double Dist_Load = 0.0;     // lateral load per unit length (plus the soil-movement term)
    double Soil_Movement = 0.0; // free-field soil movement
    // Secant spring of the distributed moment of a monopile (PISA) layer: moment per unit
    // length per radian of pile rotation (F L / L / rad). 0 where no such layer is.
    double Km = 0.0;
};

// The section properties at one depth, as Pile_Props_at_DepthX leaves them. I and A are
// those of the elastic sections (steel pipe, elastic and elastic-plastic sections) and 0
// for sections whose stiffness comes from the slice analysis.
struct PileProps {
    double b = 0.0;          // pile width facing the soil
    double E = 0.0;          // elastic modulus
    double I = 0.0;          // moment of inertia
    double A = 0.0;          // cross-sectional area
    double EI = 0.0;         // elastic bending stiffness
    double Pole_Width = 0.0; // own width of an embedded pole (b is the drilled hole)
    int i_Section = 0;
};

// Pile property table: depth of each point and the properties there.
struct PilePropertyTable {
    int i_Num_Points = 0;
    std::array<double, MAX_PILE_PROPERTY_POINTS + 1> Depth{};
    std::array<PileProps, MAX_PILE_PROPERTY_POINTS + 1> Props{};
};

} // namespace zarno
