#include "profile/soil_layer_models.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"

#include <algorithm>
#include <fmt/format.h>
#include <string>

namespace zarno {

namespace {

// Model codes of the layers checked here.
constexpr int SOFT_CLAY = 1;
constexpr int STIFF_CLAY_FREE_WATER = 2;
constexpr int STIFF_CLAY_NO_WATER = 3;
constexpr int STIFF_CLAY_NO_WATER_K = 4;
constexpr int REESE_SAND = 5;
constexpr int API_SAND = 6;
constexpr int CEMENTED_SILT = 11;
constexpr int SOFT_CLAY_J = 15;
constexpr int FROZEN_SOIL = 17;

std::string Model_Name(const AnalysisModel& m, int code) {
    return code >= 1 && code <= NUM_PY_TYPES ? Trim_Right(m.py_Type_Names[code]) : std::string();
}

int Frozen_Soil_Error(AnalysisModel& m, int layer) {
    return Fail_Run(m, MessageId::FrozenSoil, layer);
}

int General_Units_Default_Error(AnalysisModel& m, int layer, const std::string& property,
                                bool top) {
    return Fail_Run(m, MessageId::GeneralUnitsNoValue, layer,
                    Model_Name(m, m.Layers[layer].i_SoilLayer_py_Type), property,
                    top ? "top" : "bottom");
}

// The first property of layer i that its model would have to default, or an empty name.
// `top` tells at which end of the layer it is missing.
std::string Missing_Default(const AnalysisModel& m, int i, bool& top) {
    const SoilLayer& s = m.Layers[i];
    const SoilProfile& p = m.Profile;
    const int t = s.i_SoilLayer_py_Type;
    const bool clay = t == SOFT_CLAY || t == SOFT_CLAY_J || t == STIFF_CLAY_FREE_WATER ||
                      t == STIFF_CLAY_NO_WATER || t == STIFF_CLAY_NO_WATER_K;
    for (int end = 0; end < 2; ++end) {
        top = end == 0;
        const int k = 2 * i - 1 + end;
        // Cemented silt needs the strain only where it has cohesion.
        if ((clay || (t == CEMENTED_SILT && p.c[k] > 0.0)) && p.eps50[k] <= 0.0) {
            return "epsilon-50";
        }
    }
    top = true;
    const bool needs_k = t == STIFF_CLAY_FREE_WATER || t == STIFF_CLAY_NO_WATER_K ||
                         t == REESE_SAND || t == API_SAND || t == CEMENTED_SILT;
    if (needs_k && s.k_Top <= 0.0) {
        return "the subgrade modulus k";
    }
    return {};
}

} // namespace

bool Check_Soil_Layer_Models(AnalysisModel& m) {
    const int n = std::clamp(m.i_Num_Layers, 0, MAX_SOIL_LAYERS);
    for (int i = 1; i <= n; ++i) {
        if (m.Layers[i].i_SoilLayer_py_Type == FROZEN_SOIL) {
            return Frozen_Soil_Error(m, i) == 0;
        }
    }
    if (m.IUNITS != GENERAL) {
        return true;
    }
    for (int i = 1; i <= n; ++i) {
        bool top = true;
        const std::string missing = Missing_Default(m, i, top);
        if (!missing.empty()) {
            return General_Units_Default_Error(m, i, missing, top) == 0;
        }
    }
    return true;
}

} // namespace zarno
