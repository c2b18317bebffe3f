// Working data of the one pile section under nonlinear bending analysis: its outline
// cut into horizontal slices, the material constants, the equilibrium state of the
// current curvature step and the moment-curvature points of every axial thrust.
//
// Coordinates: X across the section, Y in the bending direction with the origin at the
// centre of the outline, Y positive towards the compression face. Depths (slice
// centroids, neutral axis) are measured downwards from the top of the section.
// Compressive strains and stresses are positive.
#pragma once

#include "engine/capacities.h"

#include <array>
#include <cstddef>
#include <vector>

namespace zarno {

inline constexpr int MAX_OUTLINE_VERTICES = 300;
inline constexpr int MAX_CLIPPED_VERTICES = 100;

// Geometry kinds of the slicing rules.
enum SectionGeometryKind : int {
    GEOM_RECTANGLE = 1,
    GEOM_RECTANGLE_CORE = 2, // rectangle around a steel core tube, void or concrete-filled
    GEOM_CIRCLE = 3,
    GEOM_CIRCLE_VOID = 5,
    GEOM_CASED = 6,
    GEOM_CASED_CORE = 7,
    GEOM_PIPE = 9,
    GEOM_POLYGON = 10,
    GEOM_POLYGON_VOID = 11,
};

// Reinforcement kinds: bars are elastic-perfectly plastic; strands and high-strength
// bars follow their own laws.
enum ReinforcementKind : int {
    REINF_BARS = 2,
    REINF_PCI250 = 4,
    REINF_PCI270 = 5,
    REINF_PCI300 = 6,
    REINF_SMOOTH145 = 7,
    REINF_SMOOTH160 = 8,
    REINF_DEFORMED = 9,
};

// Heading of a moment-curvature table: one table per axial thrust, or one per direction
// of loading (bending angle) of a section under a single thrust.
enum MomentCurvatureHeadingMode : int {
    MC_HEADING_BY_DIRECTION = 1,
    MC_HEADING_BY_THRUST = 2,
};

using SliceArray = std::array<double, MAX_SLICES + 1>;
using BarArray = std::array<double, MAX_BARS + 1>;
// The moment-curvature points of each axial thrust t (rows) and curvature step (columns).
// A row exists from the first time it is written or read and starts at zero, so a section
// pays for the thrusts it analyses rather than for the largest thrust list possible.
template <typename Value> class ThrustRows {
  public:
    using Row = std::array<Value, MAX_MC_POINTS + 1>;

    Row& operator[](std::size_t t) {
        if (t >= rows_.size()) [[unlikely]] {
            Grow(t);
        }
        return rows_[t];
    }
    // A row never written reads as zeros.
    const Row& operator[](std::size_t t) const { return t < rows_.size() ? rows_[t] : zero_; }

  private:
    // Out of line, so that the reading of an existing row stays a bounds check and an index.
    [[gnu::noinline]] void Grow(std::size_t t) { rows_.resize(t + 1, Row{}); }

    std::vector<Row> rows_;
    Row zero_{};
};

using CurveArray = ThrustRows<double>;

struct SectionWorkspace {
    int IUNITS = 1; // unit system of the run (1 USCS, 2 SI, 3 GENERAL)
    int i_Section_Type = 0;

    // ---- geometry --------------------------------------------------------------------
    int i_Geometry_Kind = 0;
    double Bending_Angle = 0.0; // degrees
    int i_Heading_Mode = MC_HEADING_BY_THRUST;
    int i_Num_Vertices = 0;
    std::array<double, MAX_OUTLINE_VERTICES + 1> Outline_X0{}, Outline_Y0{};
    std::array<double, MAX_OUTLINE_VERTICES + 1> Outline_X{}, Outline_Y{};
    double Diameter = 0.0; // D: diameter, or depth in the bending direction
    double Width = 0.0;    // W: width across the bending direction
    double Chamfer = 0.0;
    double Y_Top = 0.0;
    double Y_Bot = 0.0;
    double H = 0.0;
    int i_Num_Slices = MAX_SLICES;
    double Num_Slices = 100.0;
    double Slice_Thickness = 0.0;
    SliceArray Boundary{}; // B_0 .. B_N, decreasing
    SliceArray Slice_Depth{};
    int i_Last_Slice_Found = 0;

    SliceArray Area_Concrete{};
    SliceArray Area_Bars{};
    SliceArray Area_Casing{};
    SliceArray Area_Core_Tube{};
    SliceArray Area_Core_Concrete{};
    double Total_Concrete_Area = 0.0;
    double Total_Bar_Area = 0.0;

    double Casing_Diameter = 0.0;
    double Casing_Wall = 0.0;
    double Core_Diameter = 0.0;
    double Core_Wall = 0.0;
    bool b_Core_Present = false;
    bool b_Core_Filled = false;
    int i_Core_First_Slice = 1;
    int i_Core_Last_Slice = 0;

    int i_Num_Bars = 0;
    BarArray Bar_X0{}, Bar_Y0{}; // as placed
    BarArray Bar_X{}, Bar_Y{};   // after rotation
    BarArray Bar_Diameter{}, Bar_Area{};

    // ---- materials (working units: ksi in USCS, kPa otherwise) ------------------------
    int i_Concrete_Model = 2; // 1 no concrete, 2 parabolic concrete
    int i_Core_Concrete_Model = 1;
    int i_Reinf_Kind = REINF_BARS;
    double fc = 0.0;
    double Ec = 0.0;
    double ft = 0.0; // negative
    double e0 = 0.0;
    double ecr = 0.0; // negative
    double fc_15 = 0.0;
    double e_Softening = 0.0; // 0.0038 - e0
    double fy = 0.0;
    double Es = 0.0;
    double Casing_Fy = 0.0;
    double Casing_E = 0.0;
    double Core_Fy = 0.0;
    double Core_E = 0.0;
    double fpu = 0.0;
    double Strand_E = 0.0;
    int i_Strand_Type = 0;
    int i_Strand_Size_First = 0;
    double Prestress_Force = 0.0; // initial, pounds in USCS
    double Prestress_Loss = 0.0;
    double e_pc = 0.0; // initial concrete strain of prestressing (compression)
    double e_ps = 0.0; // initial strand strain (tension, negative)
    // Prestressed pile capacities (working force units)
    double Prestress_Pn = 0.0, Prestress_N = 0.0, Prestress_Nt = 0.0, Prestress_Mn = 0.0;
    double Prestress_fpc = 0.0;
    bool b_Prestress_Reported = false;

    // Axial capacities and cracking load of the section (working force units)
    double Pn = 0.0;  // nominal axial compressive capacity
    double Nt = 0.0;  // nominal axial tensile capacity (negative)
    double Pcr = 0.0; // tensile load for cracking of concrete (negative)
    // Tension at which a prestressed section loses its precompression (negative); zero for
    // sections without prestress.
    double Decompression_Load = 0.0;

    // ---- flags of the current thrust --------------------------------------------------
    bool b_Cracked = false;
    bool b_Yielded = false;
    bool b_Tension_Off = false;
    bool b_Stop = false;
    bool b_Eval_Cracked = false; // raised by the last equilibrium evaluation
    bool b_Eval_Yielded = false;

    // ---- equilibrium state --------------------------------------------------------------
    double Phi = 0.0;
    double P_Target = 0.0;
    double y_n = 0.0;
    double y_n_Seed = 0.0;
    double e_Bottom = 0.0;
    // Slice strains and stresses of the last full evaluation (Compute_Axial_Thrust_Force);
    // the points of a section with a force-only pass are formed without storing them.
    SliceArray Strain{};
    SliceArray Stress_Concrete{}, Stress_Bars{}, Stress_Casing{}, Stress_Core_Tube{},
        Stress_Core_Concrete{};
    double Force_Concrete = 0.0, Force_Bars = 0.0, Force_Casing = 0.0, Force_Core_Tube = 0.0,
           Force_Core_Concrete = 0.0;
    double N = 0.0;

    // ---- moment-curvature points per thrust t and step k ------------------------------
    int i_Num_Thrusts = 0;
    std::array<double, MAX_AXIAL_THRUSTS + 1> Thrust{};
    double Curvature_Increment = 0.0; // initial increment of the current thrust
    CurveArray Curv{}, Yn{}, M{}, EI{}, Eps_Top{}, Eps_Bot{};
    CurveArray Max_Concrete{}, Max_Steel{}, Max_Casing{}, Max_Core{}, Least_Bar_Strain{};
    ThrustRows<std::array<char, 3>> Msg{};
    std::array<int, MAX_AXIAL_THRUSTS + 1> n_Points{};
    std::array<double, MAX_AXIAL_THRUSTS + 1> Mn{};
    std::array<double, MAX_AXIAL_THRUSTS + 1> Strain_At_Mn{};
};

} // namespace zarno
