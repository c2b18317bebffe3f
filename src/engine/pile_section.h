// A pile section as read from the SECTIONS block. Every dimension is stored in the
// computation length unit of the run (millimetre input of SI runs is already converted
// to metres on reading); strengths and moduli are stored as entered.
#pragma once

#include "engine/capacities.h"

#include <array>

namespace zarno {

inline constexpr int MAX_CONCRETE_CURVE_POINTS = 100;
inline constexpr int MAX_USER_EI_THRUSTS = 100;
inline constexpr int MAX_USER_EI_POINTS = MAX_MC_POINTS; // 150 points per axial thrust

// Section type codes as stored (input -3 is stored as 3, input -13 as 13).
enum SectionType : int {
    SECTION_RECTANGULAR_CONCRETE = 0,
    SECTION_DRILLED_SHAFT = 1,
    SECTION_CASED_SHAFT = 2,
    SECTION_CASED_SHAFT_WITH_CORE = 3,
    SECTION_STEEL_PIPE = 4,
    SECTION_CIRCULAR_SOLID_PRESTRESSED = 5,
    SECTION_CIRCULAR_HOLLOW_PRESTRESSED = 6,
    SECTION_SQUARE_SOLID_PRESTRESSED = 7,
    SECTION_SQUARE_HOLLOW_PRESTRESSED = 8,
    SECTION_OCTAGONAL_SOLID_PRESTRESSED = 9,
    SECTION_OCTAGONAL_HOLLOW_PRESTRESSED = 10,
    SECTION_ELASTIC = 11,
    SECTION_ELASTIC_PLASTIC = 12,
    SECTION_USER_EI = 13,
    SECTION_MICROPILE = 14
};

// Cross-sectional shapes of elastic (11) and elastic-plastic (12) sections.
enum ElasticShape : int {
    SHAPE_RECTANGULAR = 1,
    SHAPE_CIRCULAR = 2,
    SHAPE_CIRCULAR_PIPE = 3,
    SHAPE_STRONG_H_PILE = 4,
    SHAPE_WEAK_H_PILE = 5,
    SHAPE_EMBEDDED_POLE = 6
};

// The moment points given for one axial thrust of a user-defined EI section.
struct UserEIThrust {
    double Axial_Thrust = 0.0;
    int i_Num_Points = 0;
    std::array<double, MAX_USER_EI_POINTS + 1> Moment{};
    // EI for moment-versus-EI input (13), curvature for moment-versus-curvature (-13).
    std::array<double, MAX_USER_EI_POINTS + 1> EI_or_Curvature{};
};

struct PileSection {
    // ---- identity and position ---------------------------------------------------------
    int i_Section_Type = 0; // SectionType
    int i_Shape_Type = 0;   // ElasticShape, types 11 and 12
    double Length = 0.0;    // section length
    double XTop = 0.0;      // depth of the section top below the pile head (derived)
    double XBottom = 0.0;   // depth of the section bottom (derived)
    double Width_Top = 0.0; // pile width facing the soil at the top (derived)
    double Width_Bottom = 0.0;
    // Elastic properties at the ends, derived for types 4, 11 and 12.
    double E_Top = 0.0;
    double E_Bottom = 0.0;
    double I_Top = 0.0;
    double I_Bottom = 0.0;
    double Area_Top = 0.0;
    double Area_Bottom = 0.0;

    // ---- outer geometry ----------------------------------------------------------------
    // Outer diameter of a shaft, casing, pipe or circular pile; side width of a square or
    // octagonal pile; the section depth (bending direction) of a rectangular pile; the
    // drilled hole diameter of an embedded pole; the diameter of a user-EI section.
    double Diameter = 0.0;
    double Section_Width = 0.0; // rectangular concrete pile: the width facing the soil
    double Chamfer = 0.0;       // corner chamfer of square prestressed piles
    double Void_Diameter = 0.0; // hollow prestressed piles

    // ---- casing or pipe (types 2, 3, 4) ------------------------------------------------
    double Casing_Thickness = 0.0;
    double Casing_Fy = 0.0;
    double Casing_E = 0.0;

    // ---- steel core (type 3) -----------------------------------------------------------
    double Core_Diameter = 0.0; // outside diameter of the core
    double Core_Thickness = 0.0;
    double Core_Fy = 0.0;
    double Core_E = 0.0;
    bool b_Core_Filled = false; // true for input code 3, false for -3 (void core)

    // ---- concrete (types 0-3 and 5-10) -------------------------------------------------
    double fc = 0.0; // compressive strength f'c
    double Max_Aggregate_Size = 0.0;
    bool b_Default_Tensile_Strength = false;
    double Tensile_Strength = 0.0; // override value
    bool b_Input_Concrete_Curve = false;
    int i_Num_Concrete_Curve_Points = 0;
    // The two columns of an input stress-strain curve, in the order entered.
    std::array<double, MAX_CONCRETE_CURVE_POINTS + 1> Concrete_Curve_Strain{};
    std::array<double, MAX_CONCRETE_CURVE_POINTS + 1> Concrete_Curve_Stress{};

    // ---- reinforcing bars (types 0-3) --------------------------------------------------
    int i_Num_Bars = 0;
    bool b_Rebar_Same_As_Above = false; // stored only; bar data always follow
    bool b_Bars_In_Circle = false;
    double Rebar_fy = 0.0;
    double Rebar_E = 0.0;
    int i_Num_Bar_Positions = 0; // circular arrangement
    int i_Bars_Per_Position = 0; // 1 to 3
    double Bar_Diameter = 0.0;   // circular arrangement: one size for all bars
    double Bar_Area = 0.0;
    double Cover = 0.0;       // concrete cover thickness over the bars
    double Cage_Offset = 0.0; // offset of the cage centre from the pile centre (Y)

    // ---- prestressing strands (types 5-10) ---------------------------------------------
    int i_Strand_Type = 0; // 0..5, selects the strand size table
    int i_Num_Strands = 0;
    double Prestress_Force = 0.0; // initial prestressing force
    double Prestress_Loss = 0.0;  // fraction of loss of prestress
    double Strand_Cover = 0.0;    // concrete cover over the strands
    int i_Strand_Arrangement = 0; // 0 circle, 1 and 2 square perimeter
    bool b_Autoposition_Strands = false;
    double Strand_fpu = 0.0;      // ultimate strength of the strand material
    double Strand_E = 0.0;        // elastic modulus of the strand material
    double Strand_Diameter = 0.0; // of strand 1, for the placement routines
    double Strand_Area = 0.0;

    // ---- per bar or strand (bars and strands share these arrays) -----------------------
    std::array<int, MAX_BARS + 1> i_Bar_Index{};   // bar size index (noncircular rebar)
    std::array<int, MAX_BARS + 1> i_Strand_Size{}; // strand size index
    std::array<double, MAX_BARS + 1> Bar_Dia{};    // diameter of bar or strand k
    std::array<double, MAX_BARS + 1> Bar_Area_k{}; // area of bar or strand k
    std::array<double, MAX_BARS + 1> Bar_X{};      // centre, across the section
    std::array<double, MAX_BARS + 1> Bar_Y{};      // centre, in the bending direction

    // ---- elastic and elastic-plastic data (types 11 and 12) ----------------------------
    double Elastic_E = 0.0;
    double Elastic_Width_Top = 0.0; // flange width of an H-pile (both ends)
    double Elastic_Width_Bottom = 0.0;
    // Section depth (rectangle), wall thickness (pipe) or section depth (H-pile).
    double Elastic_Depth_Top = 0.0;
    double Elastic_Depth_Bottom = 0.0;
    double Flange_Thickness = 0.0;
    double Web_Thickness = 0.0;
    double Elastic_Area_Top = 0.0;
    double Elastic_Area_Bottom = 0.0;
    double Elastic_I_Top = 0.0;
    double Elastic_I_Bottom = 0.0;
    double Mp_Top = 0.0; // plastic moment capacity, type 12
    double Mp_Bottom = 0.0;

    // ---- user-defined nonlinear EI (type 13) -------------------------------------------
    bool b_User_EI = false;
    bool b_Moment_vs_EI = false;        // input 13
    bool b_Moment_vs_Curvature = false; // input -13
    int i_Num_User_Thrusts = 0;
    std::array<UserEIThrust, MAX_USER_EI_THRUSTS + 1> User_EI{};
};

} // namespace zarno
