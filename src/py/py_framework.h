// The p-y curve framework: one pass over the soil layers, dispatch of each layer to its soil
// model, the rock protocol for lower layers and the thin-layer check.
//
// A model routine runs over the nodes KTOP..KBOT of its layer (m.Py) through the layer
// driver (py_layer_driver.h). In evaluate mode it leaves the secant modulus Es (and, with
// soil movements, the load term) at each node; in print mode (m.Py.b_PrintPY) its "nodes"
// are the requested depths of the printed curves and it writes the curve instead.
#pragma once

#include <string_view>

namespace zarno {

struct AnalysisModel;

// Model codes, the index of a layer's model in py_Type_Names.
enum PyType : int {
    PY_SOFT_CLAY = 1,
    PY_STIFF_CLAY_FREE_WATER = 2,
    PY_STIFF_CLAY_NO_WATER = 3,
    PY_STIFF_CLAY_NO_WATER_K = 4,
    PY_SAND = 5,
    PY_API_SAND = 6,
    PY_LIQUEFIED_SAND = 7,
    PY_WEAK_ROCK = 8,
    PY_VUGGY_LIMESTONE = 9,
    PY_PIEDMONT = 10,
    PY_CEMENTED_SILT = 11,
    PY_LOESS = 12,
    PY_ELASTIC_SUBGRADE = 13,
    PY_USER_INPUT = 14,
    PY_SOFT_CLAY_J = 15,
    PY_MASSIVE_ROCK = 16,
    PY_FROZEN_SOIL = 17,
    // Monopile soil-reaction models (PISA): p-y, distributed moment and base springs.
    PY_PISA_COWDEN_CLAY = 18,
    PY_PISA_DUNKIRK_SAND = 19,
    PY_PISA_BOTHKENNAR_CLAY = 20,
};

// Whether a model code is one of the PISA monopile models.
inline bool Is_Pisa_Type(int code) {
    return code >= PY_PISA_COWDEN_CLAY && code <= PY_PISA_BOTHKENNAR_CLAY;
}

// The model code of a layer, 0 when the code names no model.
int py_Model_Of_Layer(const AnalysisModel& m, int layer);

// One pass over all layers in layer order. i_Pass 0 starts a load case; 1 is a pass of the
// deflection-versus-length analysis, which adds the thin-layer check.
void Compute_py_All_Layers(AnalysisModel& m, int i_Pass);

// Runs the model routine of one layer over its nodes (KTOP, KBOT must be set).
void Run_py_Layer_Model(AnalysisModel& m, int layer);

// After a layer's routine: counts rock layers and marks the layers below rock, which then
// use the depth below the ground surface instead of an equivalent depth.
void Apply_Rock_Protocol(AnalysisModel& m, int layer);

// A layer below the first that holds no node, whose top is above the pile tip, has no
// equivalent depth yet and is not below rock: Runtime Error No. 29. Returns true when raised.
bool Check_Thin_Layer(AnalysisModel& m, int layer);

// The point a model evaluates: node i in evaluate mode, requested depth i in print mode.
struct PyNodeView {
    double X = 0.0;   // depth along the pile below the head
    double Xv = 0.0;  // vertical depth
    double y = 0.0;   // current deflection
    double ysm = 0.0; // soil movement
};

// Depth used by a model at vertical depth Xv in a layer: the depth below the ground in
// layer 1 and below rock, otherwise the equivalent depth of the layer top plus the distance
// into the layer (X_Eq must already be computed for the layer).
double py_Model_Depth(const AnalysisModel& m, int layer, double Xv);

// Soil movement: the node's lateral load becomes ysm * Es plus the distributed load.
void py_Set_Soil_Movement_Load(AnalysisModel& m, int node);

// Warning code of a secant modulus held at the ceiling.
inline constexpr int WARNING_ES_CEILING = -721;

// The largest secant soil modulus any ground can give, in the computation units of the run
// (lb/in^2, kN/m^2; in general units the largest of those of common consistent systems).
double py_Max_Secant_Modulus(int iunits);

// The secant modulus a model gives at node i of layer, held at the ceiling. A modulus above
// it (a vanishing strength under a huge equivalent depth, a subgrade modulus of 1e19, a user
// curve through a point at y = 1e-300) would pin the pile at that station, or overflow, with
// results that depend on the station spacing; it is recorded once per layer with the layer,
// depth, value and limit. A modulus that is not a number is returned as it is, for the
// models' own checks.
double py_Limit_Secant_Modulus(AnalysisModel& m, int layer, int i, double Es);

} // namespace zarno
