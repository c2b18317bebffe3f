#include "profile/soil_layer_models.h"

#include "engine/analysis_model.h"
#include "engine/run_status.h"

#include <algorithm>
#include <fmt/format.h>
#include <string>

namespace zarno {

namespace {

constexpr int FROZEN_SOIL_ERROR = 57;
constexpr int GENERAL_UNITS_DEFAULT_ERROR = 58;

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
    std::string name = code >= 1 && code <= NUM_PY_TYPES ? m.py_Type_Names[code] : "";
    const auto end = name.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : name.substr(0, end + 1);
}

void Frozen_Soil_Error(AnalysisModel& m, int layer) {
    for (TextFile* f : {&m.Report, &m.Messages}) {
        f->Blank_Lines(2);
        f->Write_Line(fmt::format("**** Input Data Error No. {} ****", FROZEN_SOIL_ERROR));
        f->Blank_Lines(1);
        f->Write_Line(fmt::format("Problem:  Soil layer {} is frozen soil (p-y type 17). No p-y "
                                  "criterion is available",
                                  layer));
        f->Write_Line("          for frozen soil in this version of Zarno, so the layer would "
                      "give the pile no");
        f->Write_Line("          soil resistance that could be trusted.");
        f->Blank_Lines(1);
        f->Write_Line("Solution: Describe this layer with user-input p-y curves (p-y type 14) "
                      "obtained for the");
        f->Write_Line("          frozen soil at the site.");
        f->Blank_Lines(1);
    }
    Raise_Input_Error(m, FROZEN_SOIL_ERROR);
}

void General_Units_Default_Error(AnalysisModel& m, int layer, const std::string& property,
                                 bool top) {
    const std::string model = Model_Name(m, m.Layers[layer].i_SoilLayer_py_Type);
    for (TextFile* f : {&m.Report, &m.Messages}) {
        f->Blank_Lines(2);
        f->Write_Line(
            fmt::format("**** Input Data Error No. {} ****", GENERAL_UNITS_DEFAULT_ERROR));
        f->Blank_Lines(1);
        f->Write_Line(fmt::format("Problem:  Soil layer {} ({}) has no value of {} at its {}.",
                                  layer, model, property, top ? "top" : "bottom"));
        f->Write_Line("          General units are selected, and Zarno can compute a default "
                      "value of");
        f->Write_Line(fmt::format("          {} only in US customary or SI units.", property));
        f->Blank_Lines(1);
        f->Write_Line(fmt::format("Solution: Enter a value of {} greater than zero for this "
                                  "layer,",
                                  property));
        f->Write_Line("          or select US customary or SI units.");
        f->Blank_Lines(1);
    }
    Raise_Input_Error(m, GENERAL_UNITS_DEFAULT_ERROR);
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
            Frozen_Soil_Error(m, i);
            return false;
        }
    }
    if (m.IUNITS != GENERAL) {
        return true;
    }
    for (int i = 1; i <= n; ++i) {
        bool top = true;
        const std::string missing = Missing_Default(m, i, top);
        if (!missing.empty()) {
            General_Units_Default_Error(m, i, missing, top);
            return false;
        }
    }
    return true;
}

} // namespace zarno
