// Fixed capacities of one analysis. Every table of the model is sized from these and
// indexed from 1; input that would exceed one is rejected with an input error.
#pragma once

namespace zarno {

inline constexpr int ENGINE_INTERFACE_VERSION = 6036;
inline constexpr const char* ENGINE_VERSION_STRING = "2012-06.036";

inline constexpr int MAX_PILE_INCREMENTS = 500;
inline constexpr int MAX_NODES = MAX_PILE_INCREMENTS + 1;
inline constexpr int MAX_SECTIONS = 20;
inline constexpr int MAX_SOIL_LAYERS = 40;
inline constexpr int MAX_PILE_HEAD_LOADS = 100;
inline constexpr int MAX_LRFD_LOADS = 100;
inline constexpr int MAX_LRFD_COMBINATIONS = 100;
inline constexpr int MAX_AXIAL_THRUSTS = 100;
inline constexpr int MAX_MC_POINTS = 150;
inline constexpr int MAX_BARS = 300;
inline constexpr int MAX_SLICES = 100;
inline constexpr int MAX_DIST_LOAD_POINTS = 50;
inline constexpr int MAX_GROUP_EFFECT_ROWS = 80;
inline constexpr int MAX_SOIL_MOVEMENT_ROWS = 100;
inline constexpr int MAX_TIP_SHEAR_POINTS = 50;
inline constexpr int MAX_PRINTED_PY_DEPTHS = 100;
inline constexpr int MAX_USER_PY_POINTS = 30;
inline constexpr int MAX_WARNING_CODES = 4000;
// Highest warning code magnitude the tallies can hold: the solution-balance warning is
// -5501, above the 4,000 occurrences kept per code.
inline constexpr int HIGHEST_WARNING_CODE = 5501;
inline constexpr int MAX_MEI_REPORT_NAMES = 100;
inline constexpr int NUM_PY_TYPES = 20;
inline constexpr int RECORD_LENGTH = 256;

} // namespace zarno
