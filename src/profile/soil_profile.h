// Soil and pile properties as functions of the depth X below the pile head.
//
// The strength and unit-weight tables hold two points per layer (its top and its bottom),
// so a property varies linearly inside a layer and may jump at an interface, where two
// consecutive points share a depth. A lookup that finds the pile deeper than the data
// writes its input error and returns 0; callers test RunStatus after every call.
#pragma once

#include "engine/pile_node.h"

#include <array>

namespace zarno {

struct AnalysisModel;
struct RunInput;
struct StationGrid;

// A strength looked up at a depth, and whether the depth lies on a layer interface of the
// strength table (where the value may be a blend of two layers).
struct StrengthAtX {
    double value = 0.0;
    bool b_AtNode = false;
};

// Undrained shear strength (or qu of rock) at X, with the interface rules between layer
// models.
StrengthAtX fn_c(AnalysisModel& m, double X);
// fn_c for massive rock: at the pile tip the intact-rock qu of the point above.
StrengthAtX fn_HB_qu_at_DepthX(AnalysisModel& m, double X);
// Averages from the ground surface down to X.
double fn_c_Avg(AnalysisModel& m, double X);
double fn_Gamma_Avg(AnalysisModel& m, double X);
// Point values, averaged across an interface.
double fn_Phi(AnalysisModel& m, double X);
double fn_Eps50(AnalysisModel& m, double X);
double fn_J(AnalysisModel& m, double X);
double fn_RQD(AnalysisModel& m, double X);
// The same properties as the soil of one layer sees them: where X lies on an end point of
// the layer's own profile (a layer interface), the layer's own value instead of the
// interface value shared with its neighbour, so that a station that happens to fall on a
// boundary is modelled with the material of the layer it belongs to; above the layer's top,
// and below its bottom unless it is the deepest layer, the layer's own end value. Elsewhere,
// and for all errors and for the interface flag, these are the ordinary lookups above.
StrengthAtX fn_c_In_Layer(AnalysisModel& m, int layer, double X);
double fn_Phi_In_Layer(AnalysisModel& m, int layer, double X);
double fn_Eps50_In_Layer(AnalysisModel& m, int layer, double X);
double fn_J_In_Layer(AnalysisModel& m, int layer, double X);
// Strain factor k_rm of weak rock; takes the layer below at an interface.
double fn_krm(AnalysisModel& m, double X);
// Initial rock modulus of weak-rock layer i at X.
double fn_k_in_Layer(AnalysisModel& m, int i, double X);
// Group-action multipliers; 1.0 outside the table.
double fn_pMult(const RunInput& in, double X);
double fn_yMult(const RunInput& in, double X);
// Distributed lateral load averaged over the tributary length of the node at X.
double fn_DistLoad_Avg(const RunInput& in, const StationGrid& grid, double X);
// Pile width and section properties at X along the pile.
PileProps Pile_Props_at_DepthX(const StationGrid& grid, double X);
// Linear interpolation of the ratio a/b in a ten-point table (xs, ys indexed 1..10).
double fn_Interp10(double a, double b, const std::array<double, 11>& xs,
                   const std::array<double, 11>& ys);

} // namespace zarno
