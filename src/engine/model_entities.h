// Entities read from the input file: soil layers and their property profiles, loads and
// the small tables that modify them. Pile sections have their own header.
#pragma once

#include "engine/capacities.h"
#include "engine/pile_section.h"

#include <array>
#include <string>

namespace zarno {

inline constexpr int MAX_PROFILE_POINTS = 2 * MAX_SOIL_LAYERS; // two points per layer

// A p-y curve given point by point at the top or bottom of a user p-y layer.
struct UserPyCurve {
    double Depth = 0.0;
    int i_Num_Points = 0;
    std::array<double, MAX_USER_PY_POINTS + 1> y{};
    std::array<double, MAX_USER_PY_POINTS + 1> p{};
};

struct SoilLayer {
    int i_SoilLayer_py_Type = 0;
    double XLayerTop = 0.0;    // depth of the top below the pile head
    double XLayerBottom = 0.0; // depth of the bottom below the pile head
    // Subgrade modulus k at top and bottom; for weak rock the initial rock modulus.
    double k_Top = 0.0;
    double k_Bottom = 0.0;
    int i_Piedmont_Test_Type = 0;
    UserPyCurve User_py_Top;
    UserPyCurve User_py_Bottom;
    // First and last pile node inside the layer, set with the node grid.
    int KTOP = 0;
    int i_BottomNodeInLayer = 0;
};

// Property profiles over depth: point 2i-1 at the top of layer i and point 2i at its
// bottom, so a property varies linearly in a layer and may jump at an interface.
struct SoilProfile {
    int i_Num_Gamma_Points = 0;
    std::array<double, MAX_PROFILE_POINTS + 1> Gamma_Depth{};
    std::array<double, MAX_PROFILE_POINTS + 1> Gamma{}; // effective unit weight

    int i_Num_Strength_Points = 0;
    std::array<double, MAX_PROFILE_POINTS + 1> Strength_Depth{};
    std::array<double, MAX_PROFILE_POINTS + 1> c{};     // cohesion, or qu of rock
    std::array<double, MAX_PROFILE_POINTS + 1> eps50{}; // eps50, or k_rm of weak rock
    std::array<double, MAX_PROFILE_POINTS + 1> J{};
    std::array<double, MAX_PROFILE_POINTS + 1> phi{}; // degrees
    std::array<double, MAX_PROFILE_POINTS + 1> RQD{}; // percent
    std::array<double, MAX_PROFILE_POINTS + 1> N60{};
    std::array<double, MAX_PROFILE_POINTS + 1> qc{};
    std::array<double, MAX_PROFILE_POINTS + 1> EDMT{};
    std::array<double, MAX_PROFILE_POINTS + 1> EPMT{};
    std::array<double, MAX_PROFILE_POINTS + 1> Es{}; // elastic subgrade modulus
    // Massive rock: intact qu and its Hoek-Brown parameters.
    std::array<double, MAX_PROFILE_POINTS + 1> HB_qu{};
    std::array<int, MAX_PROFILE_POINTS + 1> HB_Rock_Type{};
    std::array<double, MAX_PROFILE_POINTS + 1> HB_GSI{};
    std::array<double, MAX_PROFILE_POINTS + 1> HB_Erm{};
    // Monopile (PISA) layers: small-strain shear modulus, and the relative density of sand
    // in percent. Their undrained strength is the column c.
    std::array<double, MAX_PROFILE_POINTS + 1> G0{};
    std::array<double, MAX_PROFILE_POINTS + 1> Dr{};
};

struct PileHeadLoad {
    int i_Load_Type = 0; // 1 V,M  2 V,S  3 V,M/S  4 y,M  5 y,S
    double Condition1 = 0.0;
    double Condition2 = 0.0;
    double Axial_Thrust = 0.0;
    int i_Compute_Top_Deflection_vs_Length = 1; // 1: no, anything else: yes
};

struct DepthValue {
    double Depth = 0.0;
    double Value = 0.0;
};

struct LrfdLoad {
    int i_Load_Type = 0; // 1..13
    double Horizontal_Force = 0.0;
    double Moment = 0.0;
    double Axial_Force = 0.0;
    int i_Num_Dist_Points = 0;
    std::array<DepthValue, MAX_DIST_LOAD_POINTS + 1> Dist_Load{};
};

struct LrfdCombination {
    std::array<double, 14> Load_Factor{}; // by load type 1..13
    double Resistance_Factor_Flexure = 0.75;
    double Resistance_Factor_Shear = 0.75;
    std::string Name;
};

struct GroupEffectRow {
    double Z = 0.0;
    double pMult = 1.0;
    double yMult = 1.0;
};

struct TipShearPoint {
    double Displacement = 0.0;
    double Shear = 0.0;
};

} // namespace zarno
