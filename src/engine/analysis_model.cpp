#include "engine/analysis_model.h"

#include <memory>

namespace zarno {

namespace {

constexpr const char* kPyTypeNames[NUM_PY_TYPES] = {
    "SoftClay", "StfClyBW", "StfClyAW", "StfClyAK",  "Sand",      "API Sand", "Liq Sand",
    "WeakRock", "Vuggy LS", "Piedmont", "Cem Silt",  "KS Loess",  "Elast SG", "User p-y",
    "SoftClyJ", "MassRock", "Frz Soil", "Undefined", "Undefined", "Undefined"};

} // namespace

void Reset_Model_State(AnalysisModel& m) {
    // Start from a zeroed model: nothing of an earlier run may survive. The fresh data
    // is built on the heap because the tables are too large for the stack.
    auto fresh = std::make_unique<AnalysisData>();
    static_cast<AnalysisData&>(m) = *fresh;

    m.RunStatus = 0;
    for (int i = 1; i <= NUM_PY_TYPES; ++i) {
        std::string name = kPyTypeNames[i - 1];
        name.resize(10, ' ');
        m.py_Type_Names[i] = name;
    }
    for (int i = 1; i <= 6; ++i) {
        m.Enum6[i] = i;
    }
    for (int i = 1; i <= 9; ++i) {
        m.Enum9[i] = i;
    }
    for (int i = 1; i <= 11; ++i) {
        m.Enum11[i] = i;
    }
    m.b_Print_Summary_Only = false;
    m.b_Cyclic = false;
    for (int i = 1; i <= MAX_SOIL_LAYERS; ++i) {
        m.Py.X_Eq[i] = X_EQ_NOT_SET;
    }
    m.Default_J = 0.5;
}

void Convert_USCS_Input_Units(AnalysisModel& m) {
    if (m.IUNITS != USCS || m.b_Units_Converted) {
        m.b_Units_Converted = true;
        return;
    }
    constexpr double ft = 12.0;
    m.Pile_Length *= ft;
    m.Ground_Surface_Depth *= ft;
    for (int i = 1; i <= m.i_Num_Layers; ++i) {
        SoilLayer& layer = m.Layers[i];
        layer.XLayerTop *= ft;
        layer.XLayerBottom *= ft;
    }
    m.b_Units_Converted = true;
}

void Convert_SI_Input_Units(AnalysisModel& m) {
    // SI and general-unit input is used as read.
    m.b_Units_Converted = true;
}

} // namespace zarno
