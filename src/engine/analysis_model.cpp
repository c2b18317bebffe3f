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
        return;
    }
    // Depths and lengths of the soil profile and the sections are entered in feet.
    constexpr double ft = 12.0;
    m.Pile_Length *= ft;
    m.Ground_Surface_Depth *= ft;
    for (int i = 1; i <= m.i_Num_Layers; ++i) {
        SoilLayer& layer = m.Layers[i];
        layer.XLayerTop *= ft;
        layer.XLayerBottom *= ft;
        layer.User_py_Top.Depth *= ft;
        layer.User_py_Bottom.Depth *= ft;
    }
    SoilProfile& p = m.Profile;
    for (int i = 1; i <= p.i_Num_Gamma_Points; ++i) {
        p.Gamma_Depth[i] *= ft;
        p.Gamma[i] /= 1728.0; // pcf to pci
    }
    for (int i = 1; i <= p.i_Num_Strength_Points; ++i) {
        p.Strength_Depth[i] *= ft;
    }
    // Cohesion is entered in psf, the strength of weak rock and vuggy limestone in psi.
    for (int i = 1; i <= m.i_Num_Layers; ++i) {
        const int type = m.Layers[i].i_SoilLayer_py_Type;
        if (type == 8 || type == 9) {
            continue;
        }
        for (int j = 2 * i - 1; j <= 2 * i && j <= p.i_Num_Strength_Points; ++j) {
            p.c[j] /= 144.0;
            p.HB_qu[j] /= 144.0;
        }
    }
    for (int i = 1; i <= m.i_Num_Sections; ++i) {
        PileSection& s = m.Sections[i];
        s.Length *= ft;
        s.XTop *= ft;
        s.XBottom *= ft;
    }
    m.i_Num_Section_Breakpoints = 2 * m.i_Num_Sections;
    for (int i = 1; i <= m.i_Num_Printed_py_Depths; ++i) {
        m.Printed_py_Depth[i] *= ft;
    }
    for (int i = 1; i <= m.i_Num_Group_Effect_Rows; ++i) {
        m.Group_Effect[i].Z *= ft;
    }
    for (int i = 1; i <= m.i_Num_Soil_Movements; ++i) {
        m.Soil_Movement[i].Depth *= ft;
    }
    m.b_Units_Converted = true;
}

void Convert_SI_Input_Units(AnalysisModel& m) {
    // SI and general-unit input is used as read.
    m.b_Units_Converted = true;
}

} // namespace zarno
