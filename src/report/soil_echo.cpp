// Echo of the soil and rock layers: one block of property lines per layer, the check of
// the effective unit weights and the summary table of soil properties.
#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"
#include "report/echo_lines.h"
#include "report/fortran_format.h"
#include "report/input_echo_blocks.h"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>

namespace zarno {

namespace {

enum PyType : int {
    SOFT_CLAY = 1,
    STIFF_CLAY_FREE_WATER = 2,
    STIFF_CLAY_NO_WATER = 3,
    STIFF_CLAY_NO_WATER_K = 4,
    SAND = 5,
    API_SAND = 6,
    LIQUEFIED_SAND = 7,
    WEAK_ROCK = 8,
    VUGGY_LIMESTONE = 9,
    PIEDMONT = 10,
    CEMENTED_SILT = 11,
    LOESS = 12,
    ELASTIC_SUBGRADE = 13,
    USER_PY = 14,
    SOFT_CLAY_J = 15,
    MASSIVE_ROCK = 16,
    FROZEN_SOIL = 17,
    PISA_COWDEN_CLAY = 18,
    PISA_DUNKIRK_SAND = 19,
    PISA_BOTHKENNAR_CLAY = 20
};

// 6 m below the ground surface, in feet as a single-precision value.
constexpr double kLiquefiedDepthLimitFeet = 19.685039520263672;
constexpr double kLiquefiedDepthLimitMeters = 6.0;

struct SoilUnits {
    std::string depth;
    std::string unit_weight;
    std::string soil_stress;
    std::string subgrade_k;
    std::string material_stress;
    std::string elastic_subgrade;
    std::string length;
    std::string force_per_length;
};

SoilUnits Soil_Units_Of(const AnalysisModel& m) {
    const UnitLabels& u = m.Labels;
    SoilUnits s;
    s.depth = Trim_Right(u.Depth);
    s.unit_weight = Trim_Right(u.Unit_Weight);
    s.soil_stress = Trim_Right(u.Soil_Stress);
    s.subgrade_k = Trim_Right(u.Force_Per_Volume2);
    s.material_stress = Trim_Right(u.Material_Stress);
    s.length = Trim_Right(u.Length);
    s.elastic_subgrade = Trim_Right(u.Force) + "/" + s.length + u.Power + u.Cube;
    s.force_per_length = Trim_Right(u.Force_Per_Length);
    return s;
}

const char* Layer_Title(int type) {
    switch (type) {
    case SOFT_CLAY:
        return " is soft clay, p-y criteria by Matlock, 1970";
    case SOFT_CLAY_J:
        return " is soft clay with user-defined J, p-y criteria by Matlock, 1970";
    case STIFF_CLAY_FREE_WATER:
        return " is stiff clay with water-induced erosion";
    case STIFF_CLAY_NO_WATER:
    case STIFF_CLAY_NO_WATER_K:
        return " is stiff clay without free water";
    case SAND:
        return " is sand, p-y criteria by Reese et al., 1974";
    case API_SAND:
        return " is sand, p-y criteria by API RP-2A, 1987";
    case LIQUEFIED_SAND:
        return " is liquefiable sand, by Rollins et al., 2004";
    case WEAK_ROCK:
        return " is weak rock, p-y criteria by Reese, 1997";
    case VUGGY_LIMESTONE:
        return " is strong rock (vuggy limestone)";
    case CEMENTED_SILT:
        return " is cemented silt with cohesion and friction";
    case LOESS:
        return " is loess silt";
    case PIEDMONT:
        return " is Piedmont residual soil";
    case ELASTIC_SUBGRADE:
        return " is modelled using an elastic subgrade modulus";
    case USER_PY:
        return " is modelled using user-specified p-y curves";
    case MASSIVE_ROCK:
        return " is massive rock, p-y criteria by Liang et al., 2009";
    case FROZEN_SOIL:
        return " is frozen soil";
    case PISA_COWDEN_CLAY:
        return " is stiff clay, monopile reactions by PISA (Cowden till, Byrne et al., 2020)";
    case PISA_DUNKIRK_SAND:
        return " is sand, monopile reactions by PISA (Dunkirk sand GDSM, Burd et al., 2020)";
    case PISA_BOTHKENNAR_CLAY:
        return " is soft clay, monopile reactions by PISA (Bothkennar clay, Burd et al., 2020)";
    default:
        return "";
    }
}

// The pair of property lines of one quantity, at the top and at the bottom of a layer.
void Pair(TextFile& r, const char* what, double top, double bottom, const std::string& unit) {
    Write_Label_Number(r, fmt::format("   {} at top of layer", what), top, 12, unit);
    Write_Label_Number(r, fmt::format("   {} at bottom of layer", what), bottom, 12, unit);
}

// Friction angles and RQD carry their unit directly after the value.
void Pair_Suffix(TextFile& r, const char* what, double top, double bottom, const char* suffix) {
    Write_Label_Number(r, fmt::format("   {} at top of layer", what), top, 12, suffix);
    Write_Label_Number(r, fmt::format("   {} at bottom of layer", what), bottom, 12, suffix);
}

void Default_Note(TextFile& r, const char* what) {
    r.Write_Line(fmt::format("   NOTE: Internal default values for {} will be computed for", what));
    r.Write_Line("         the above soil layer.");
}

struct RockType {
    const char* group;
    const char* name;
    int mi;
};

constexpr RockType kRockTypes[42] = {{"sedimentary", "anhydrite", 12},
                                     {"sedimentary", "breccias", 20},
                                     {"sedimentary", "chalk", 7},
                                     {"sedimentary", "claystones", 4},
                                     {"sedimentary", "conglomerates", 21},
                                     {"sedimentary", "dolomites", 9},
                                     {"sedimentary", "greywackes", 18},
                                     {"sedimentary", "gypsum", 10},
                                     {"sedimentary", "marls", 7},
                                     {"sedimentary", "sandstones", 17},
                                     {"sedimentary", "siltstones", 7},
                                     {"sedimentary", "shales", 6},
                                     {"sedimentary", "crystalline limestones", 12},
                                     {"sedimentary", "micritic limestones", 8},
                                     {"sedimentary", "sparitic limestones", 10},
                                     {"metamorphic", "amphibolites", 26},
                                     {"metamorphic", "gneiss", 28},
                                     {"metamorphic", "hornfels", 19},
                                     {"metamorphic", "marble", 9},
                                     {"metamorphic", "metasandstone", 19},
                                     {"metamorphic", "migmatite", 29},
                                     {"metamorphic", "phyllites", 7},
                                     {"metamorphic", "quartzites", 20},
                                     {"metamorphic", "schists", 10},
                                     {"metamorphic", "slates", 7},
                                     {"igneous", "agglomerate", 19},
                                     {"igneous", "andesite", 25},
                                     {"igneous", "basalt", 25},
                                     {"igneous", "breccia", 19},
                                     {"igneous", "dacite", 25},
                                     {"igneous", "diabase", 15},
                                     {"igneous", "diorite", 25},
                                     {"igneous", "dolerite", 16},
                                     {"igneous", "gabbro", 27},
                                     {"igneous", "granite", 32},
                                     {"igneous", "granodiorite", 29},
                                     {"igneous", "norite", 20},
                                     {"igneous", "obsidian", 19},
                                     {"igneous", "perioditite", 25},
                                     {"igneous", "porphyries", 20},
                                     {"igneous", "rhyolite", 25},
                                     {"igneous", "tuff", 13}};

std::string Rock_Type_Line(int code) {
    if (code >= 1 && code <= 42) {
        const RockType& t = kRockTypes[code - 1];
        return fmt::format(" The rock type is ({}) {}, Hoek-Brown Material Constant mi = {}",
                           t.group, t.name, t.mi);
    }
    if (code >= 43 && code <= 71) {
        return fmt::format(
            " The rock type is (unclassified) User-defined Hoek-Brown Material Constant mi = {}",
            code - 39);
    }
    return fmt::format(" The rock type code {} names no rock type (1 to 71)", code);
}

void Write_User_Curve(TextFile& r, const UserPyCurve& c, int layer, bool top, const SoilUnits& u) {
    r.Blank_Lines(1);
    r.Write_Line(
        (top ? fmt::format("User-input p-y curve at top of layer {},    Depth = ", layer)
             : fmt::format("User-input p-y curve at bottom of layer {}, Depth = ", layer)) +
        Format_F(c.Depth, 10, 3) + " " + u.depth);
    r.Blank_Lines(1);
    r.Write_Line("Point                y                     p     ");
    r.Write_Line("-----          ------------          ------------");
    const int n = std::clamp(c.i_Num_Points, 0, MAX_USER_PY_POINTS);
    for (int j = 1; j <= n; ++j) {
        r.Write_Integer(j, 5);
        r.Write_Blanks(10);
        r.Write_Number(c.y[j], 12);
        r.Write_Blanks(10);
        r.Write_Number(c.p[j], 12);
        r.End_Line();
    }
}

void Write_Liquefied_Sand_Warning(AnalysisModel& m) {
    TextFile& r = m.Report;
    if (m.IUNITS == SI) {
        r.Write_Line("   Warning : The depth of this layer is deeper than the recommended depth ");
        r.Write_Line("             limit for using the p-y criteria for liquefied sand.");
        r.Blank_Lines(1);
        r.Write_Line("   Please consult the Zarno Technical Manual for additional background ");
        r.Write_Line("   information regarding limitations on the use of the liquefied sand ");
        r.Write_Line("   criteria.");
    } else {
        r.Write_Line("   Warning : The depth of this layer is deeper than the recommended depth "
                     "limit ");
        r.Write_Line("             for using the p-y criteria for liquefied sand.");
        r.Blank_Lines(1);
        r.Write_Line("   Please consult the Zarno Technical Manual for additional background ");
        r.Write_Line("   information regarding limitations on the use of the liquefied sand "
                     "criteria.");
    }
    Record_Warning(m, -354);
}

// Layers are analysed one on top of the other: a layer whose top differs from the bottom of
// the layer above (a gap or an overlap, beyond rounding of the typed depths) is moved to
// that bottom before the analysis. The echo shows the top used beside the top as typed, and
// a warning names both layers and the depths.
constexpr double LAYER_GAP_TOLERANCE = 1e-6;

void Echo_Layer_Gap(AnalysisModel& m, int i, const SoilUnits& u) {
    const double typed = m.Layers[i].XLayerTop;
    const double used = m.Layers[i - 1].XLayerBottom;
    Write_Label_Number(m.Report, "   Top of layer used (bottom of the layer above)", used, 12,
                       u.depth);
    const std::string unit = Trim_Both(u.depth);
    const bool gap = typed > used;
    Record_Warning(
        m, WARNING_LAYER_GAP,
        {fmt::format("SOIL LAYERS: layer {} ends at {:g} {} and layer {} starts at {:g} {}, "
                     "{} of {:g} {}.",
                     i - 1, used, unit, i, typed, unit, gap ? "leaving a gap" : "an overlap",
                     std::fabs(typed - used), unit),
         fmt::format("Layer {} was analysed from {:g} {} (the bottom of layer {}) to {:g} {}; if "
                     "the {} is meant, add a layer for it or correct the depths.",
                     i, used, unit, i - 1, m.Layers[i].XLayerBottom, unit,
                     gap ? "gap" : "overlap")});
}

void Write_One_Layer(AnalysisModel& m, int i, const SoilUnits& u) {
    TextFile& r = m.Report;
    const SoilLayer& layer = m.Layers[i];
    const SoilProfile& p = m.Profile;
    const int t = layer.i_SoilLayer_py_Type;
    const int a = 2 * i - 1; // profile point at the top of the layer
    const int b = 2 * i;     // and at its bottom
    r.Write_Line(fmt::format("Layer {}{}", i, Layer_Title(t)));
    r.Blank_Lines(1);
    Write_Label_Number(r, "   Distance from top of pile to top of layer", layer.XLayerTop, 12,
                       u.depth);
    Write_Label_Number(r, "   Distance from top of pile to bottom of layer", layer.XLayerBottom, 12,
                       u.depth);
    if (i >= 2 && std::fabs(layer.XLayerTop - m.Layers[i - 1].XLayerBottom) > LAYER_GAP_TOLERANCE) {
        Echo_Layer_Gap(m, i, u);
    }
    if (t == FROZEN_SOIL) {
        return; // no parameters are entered for frozen soil
    }
    Pair(r, "Effective unit weight", p.Gamma[a], p.Gamma[b], u.unit_weight);
    bool eps50_default = false;
    bool k_default = false;
    switch (t) {
    case SOFT_CLAY:
    case STIFF_CLAY_NO_WATER:
    case STIFF_CLAY_FREE_WATER:
    case STIFF_CLAY_NO_WATER_K:
    case SOFT_CLAY_J:
        Pair(r, "Undrained cohesion", p.c[a], p.c[b], u.soil_stress);
        Pair(r, "Epsilon-50", p.eps50[a], p.eps50[b], "");
        eps50_default = p.eps50[a] == 0.0 || p.eps50[b] == 0.0;
        if (t == SOFT_CLAY_J) {
            Pair(r, "p-y J factor", p.J[a], p.J[b], "");
        }
        if (t == STIFF_CLAY_FREE_WATER || t == STIFF_CLAY_NO_WATER_K) {
            Pair(r, "Subgrade k", layer.k_Top, layer.k_Bottom, u.subgrade_k);
            k_default = layer.k_Top == 0.0 || layer.k_Bottom == 0.0;
        }
        break;
    case SAND:
    case API_SAND:
        Pair_Suffix(r, "Friction angle", p.phi[a], p.phi[b], " deg.");
        Pair(r, "Subgrade k", layer.k_Top, layer.k_Bottom, u.subgrade_k);
        k_default = layer.k_Top == 0.0 || layer.k_Bottom == 0.0;
        break;
    case WEAK_ROCK:
        Pair(r, "Uniaxial compressive strength", p.c[a], p.c[b], u.material_stress);
        Pair(r, "Initial modulus of rock", layer.k_Top, layer.k_Bottom, u.material_stress);
        Pair_Suffix(r, "RQD of rock", p.RQD[a], p.RQD[b], " %");
        Pair(r, "k rm of rock", p.eps50[a], p.eps50[b], "");
        break;
    case VUGGY_LIMESTONE:
        Pair(r, "Uniaxial compressive strength", p.c[a], p.c[b], u.material_stress);
        break;
    case CEMENTED_SILT:
        Pair(r, "Cohesion", p.c[a], p.c[b], u.soil_stress);
        Pair_Suffix(r, "Friction angle", p.phi[a], p.phi[b], " deg.");
        Pair(r, "Epsilon-50", p.eps50[a], p.eps50[b], "");
        Pair(r, "Subgrade k", layer.k_Top, layer.k_Bottom, u.subgrade_k);
        eps50_default = p.eps50[a] == 0.0 || p.eps50[b] == 0.0;
        k_default = layer.k_Top == 0.0 || layer.k_Bottom == 0.0;
        break;
    case LOESS:
        Pair(r, "Cone tip resistance", p.qc[a], p.qc[b], u.material_stress);
        break;
    case PIEDMONT:
        switch (layer.i_Piedmont_Test_Type) {
        case 1:
            r.Write_Line("   The type of field test is the Standard Penetration Test (SPT)");
            Pair(r, "SPT N60", p.N60[a], p.N60[b], m.IUNITS == USCS ? " blows/ft" : " blows/0.3 m");
            break;
        case 2:
            r.Write_Line("   The type of field test is the Cone Penetration Test (CPT)");
            Pair(r, "Cone tip resistance", p.qc[a], p.qc[b], u.material_stress);
            break;
        case 3:
            r.Write_Line("   The type of field test is the Dilatometer Test (DMT)");
            Pair(r, "Dilatometer modulus", p.EDMT[a], p.EDMT[b], u.material_stress);
            break;
        case 4:
            r.Write_Line("   The type of field test is the Pressuremeter Test (DMT)");
            Pair(r, "Pressuremeter modulus", p.EPMT[a], p.EPMT[b], u.material_stress);
            break;
        default:
            r.Write_Line(fmt::format("   The field test type {} names no field test (1 to 4)",
                                     layer.i_Piedmont_Test_Type));
            break;
        }
        break;
    case ELASTIC_SUBGRADE:
        Pair(r, "Elastic subgrade", p.Es[a], p.Es[b], u.elastic_subgrade);
        break;
    case USER_PY:
        Write_User_Curve(r, layer.User_py_Top, i, true, u);
        Write_User_Curve(r, layer.User_py_Bottom, i, false, u);
        break;
    case MASSIVE_ROCK:
        r.Write_Line(Rock_Type_Line(p.HB_Rock_Type[a]));
        // The intact strength is entered in the soil stress unit (psf in US customary
        // input), like a cohesion.
        Pair(r, "Uniaxial strength of intact rock", p.HB_qu[a], p.HB_qu[b], u.soil_stress);
        Pair(r, "Geological strength index (GSI)", p.HB_GSI[a], p.HB_GSI[b], "");
        Pair(r, "Rock mass modulus", p.HB_Erm[a], p.HB_Erm[b], u.material_stress);
        break;
    case PISA_COWDEN_CLAY:
    case PISA_BOTHKENNAR_CLAY:
        Pair(r, "Undrained shear strength", p.c[a], p.c[b], u.soil_stress);
        Pair(r, "Small-strain shear modulus G0", p.G0[a], p.G0[b], u.soil_stress);
        break;
    case PISA_DUNKIRK_SAND:
        Pair_Suffix(r, "Relative density", p.Dr[a], p.Dr[b], " %");
        Pair(r, "Small-strain shear modulus G0", p.G0[a], p.G0[b], u.soil_stress);
        break;
    default:
        break;
    }
    if (eps50_default) {
        Default_Note(r, "Epsilon-50");
    }
    if (k_default) {
        Default_Note(r, "subgrade k");
    }
    if (t == LIQUEFIED_SAND && m.IUNITS != GENERAL) {
        const double limit =
            m.IUNITS == USCS ? kLiquefiedDepthLimitFeet : kLiquefiedDepthLimitMeters;
        if (layer.XLayerBottom - m.Ground_Surface_Depth > limit) {
            r.Blank_Lines(1);
            Write_Liquefied_Sand_Warning(m);
        }
    }
}

// Effective unit weights outside the usual range of soils: a hint at a unit mistake (pcf
// entered as pci, kN/m3 as kN/m3 * 10). Recorded as a warning whose note names the first
// layer and value at fault.
void Check_Unit_Weights(AnalysisModel& m) {
    const int n = std::clamp(m.i_Num_Layers, 0, MAX_SOIL_LAYERS);
    const bool si = m.IUNITS == SI;
    bool any = false;
    double lo = 0.0;
    double hi = 0.0;
    int culprit_layer = 0;
    double culprit = 0.0;
    for (int i = 1; i <= n; ++i) {
        if (m.Layers[i].i_SoilLayer_py_Type == FROZEN_SOIL) {
            continue; // frozen soil enters no unit weight
        }
        for (int j : {2 * i - 1, 2 * i}) {
            const double g = m.Profile.Gamma[j];
            lo = any ? std::min(lo, g) : g;
            hi = any ? std::max(hi, g) : g;
            any = true;
            const bool off =
                si ? (g <= 3.1500000953674316 || g >= 22.0) : (g <= 20.0 || g >= 140.0);
            if (off && culprit_layer == 0) {
                culprit_layer = i;
                culprit = g;
            }
        }
    }
    if (!any) {
        return;
    }
    if (m.IUNITS == GENERAL) {
        Write_To_Both(m, {"", "**** Warning ****", "",
                          "Values of effective unit weight cannot be checked because ",
                          "general units have been selected.", ""});
        Record_Warning(m, WARNING_UNIT_WEIGHT_UNCHECKED,
                       {"SOIL LAYERS: the effective unit weights of the layers cannot be checked "
                        "in general units.",
                        "Please make sure they are in the force and length units of the other "
                        "input values."});
        return;
    }
    const bool outside =
        si ? (lo <= 3.1500000953674316 || hi >= 22.0) : (lo <= 20.0 || hi >= 140.0);
    if (!outside) {
        return;
    }
    Write_Message(m, si ? MessageId::UnitWeightOutsideSI : MessageId::UnitWeightOutsideUSCS);
    const char* unit = si ? "kN/m3" : "pcf";
    const char* range = si ? "3.15 to 22 kN/m3" : "20 to 140 pcf";
    std::string hint;
    if (culprit <= 0.0) {
        hint = "A unit weight of zero or below gives the soil no weight.";
    } else if (si) {
        hint = culprit < 3.15 ? "A value this small may have been entered in MN/m3 or g/cm3."
                              : "A value this large may have been entered in N/m3 or kg/m3.";
    } else {
        hint = culprit < 20.0 ? "A value this small may have been entered in pci or kcf."
                              : "A value this large may have been entered in N/m3 or kg/m3.";
    }
    Record_Warning(m, WARNING_UNIT_WEIGHT_LIMITS,
                   {fmt::format("SOIL LAYERS, layer {}: the effective unit weight of {:g} {} is "
                                "outside the usual range of soils, {} (submerged soils about "
                                "half of that).",
                                culprit_layer, culprit, unit, range),
                    hint, "The value is used as read. Please check the input data."});
}

// ---- summary table -------------------------------------------------------------------

const char* Summary_Type_Name(int type) {
    static constexpr const char* kNames[21] = {"",
                                               "Soft Clay",
                                               "Stiff Clay with Free Water",
                                               "Stiff Clay w/o Free Water",
                                               "Stiff Clay w/o Free Water, using k",
                                               "Sand (Reese, et al.)",
                                               "API Sand",
                                               "Liquefied Sand",
                                               "Weak Rock",
                                               "Vuggy Limestone",
                                               "Piedmont Residual",
                                               "Cemented Silt",
                                               "Loess",
                                               "Elastic Subgrade",
                                               "User Input p-y Curves",
                                               "Soft Clay with User-defined J",
                                               "Massive Rock",
                                               "Frozen Soil",
                                               "PISA Cowden Clay",
                                               "PISA Dunkirk Sand",
                                               "PISA Bothkennar Clay"};
    return type >= 1 && type <= 20 ? kNames[type] : "";
}

struct ColumnGroup {
    std::initializer_list<int> types;
    const char* heading[4]; // lines 1, 2, 3 US customary, 3 SI
};

// Groups 10 and 11 (test type and test value) are written together.
const ColumnGroup kGroups[12] = {
    {{1, 2, 3, 4, 11, 15, 18, 20},
     {" Undrained   ", " Cohesion    ", "    psf      ", "    kPa      "}},
    {{5, 6, 11}, {" Angle of    ", " Friction    ", "    deg.     ", "    deg.     "}},
    {{9, 8, 16}, {"  Uniaxial   ", "    qu       ", "    psi      ", "    kPa      "}},
    {{8, 16}, {"   RQD %     ", "     or      ", "    GSI      ", "    GSI      "}},
    {{1, 2, 3, 4, 11}, {"  Strain     ", "  Factor     ", "Epsilon 50   ", "Epsilon 50   "}},
    {{15}, {"             ", "     J       ", "  Factor     ", "             "}},
    {{5, 6, 2, 4, 11}, {"             ", "   kpy       ", "   pci       ", "   kN/m3     "}},
    {{8}, {" Rock Mass   ", "Rock Emass   ", "   psi       ", "    kPa      "}},
    {{8}, {"             ", "   krm       ", "             ", "             "}},
    {{10, 12}, {"  In-situ    ", "   Test      ", "   Type      ", "   Type      "}},
    {{10, 12}, {"  In-situ    ", "   Test      ", " Property    ", " Property    "}},
    {{13}, {"  Elastic    ", " Subgrade    ", " Mod. pci    ", " Mod. kPa    "}},
};

bool Listed(const ColumnGroup& g, int type) {
    return std::find(g.types.begin(), g.types.end(), type) != g.types.end();
}

const std::string kNoValue = "    --    ";

std::string Field(double v) {
    return Format_Number(v, 10);
}

std::string Default_Or(double v) {
    return v == 0.0 ? std::string("  default ") : Field(v);
}

// The field of group g (0-based, not the test pair) for layer i at one end.
std::string Group_Field(const AnalysisModel& m, int g, int i, bool top) {
    const SoilLayer& layer = m.Layers[i];
    const SoilProfile& p = m.Profile;
    const int t = layer.i_SoilLayer_py_Type;
    const int j = top ? 2 * i - 1 : 2 * i;
    if (!Listed(kGroups[g], t)) {
        return kNoValue;
    }
    switch (g) {
    case 0:
        return Field(p.c[j]);
    case 1:
        return Field(p.phi[j]);
    case 2:
        if (t == MASSIVE_ROCK) {
            // Entered in psf in US customary input; the column is in psi.
            return Field(m.IUNITS == USCS ? p.HB_qu[j] / 144.0 : p.HB_qu[j]);
        }
        return Field(p.c[j]);
    case 3:
        if (t == MASSIVE_ROCK) {
            return top ? Field(p.HB_GSI[j]) : kNoValue;
        }
        return Field(p.RQD[j]);
    case 4:
        return Default_Or(p.eps50[j]);
    case 5:
        return Field(p.J[j]);
    case 6:
        return Default_Or(top ? layer.k_Top : layer.k_Bottom);
    case 7:
        return Default_Or(top ? layer.k_Top : layer.k_Bottom);
    case 8:
        return Field(p.eps50[j]);
    case 11:
        return Field(p.Es[j]);
    default:
        return kNoValue;
    }
}

// Groups 10 and 11 together: the field test and its value, 26 characters.
std::string Test_Fields(const AnalysisModel& m, int i, bool top) {
    const SoilLayer& layer = m.Layers[i];
    const SoilProfile& p = m.Profile;
    const int j = top ? 2 * i - 1 : 2 * i;
    if (layer.i_SoilLayer_py_Type == LOESS) {
        return "    CPT      " + Field(p.qc[j]) + "   ";
    }
    if (layer.i_SoilLayer_py_Type == PIEDMONT) {
        switch (layer.i_Piedmont_Test_Type) {
        case 1:
            return "    SPT      " + Field(p.N60[j]) + "   ";
        case 2:
            return "    CPT      " + Field(p.qc[j]) + "   ";
        case 3:
            return "    DMT      " + Field(p.EDMT[j]) + "   ";
        case 4:
            return "    PMT      " + Field(p.EPMT[j]) + "   ";
        default:
            break;
        }
    }
    return kNoValue + "   " + kNoValue + "   ";
}

void Write_Soil_Summary(AnalysisModel& m) {
    TextFile& r = m.Report;
    const int n = std::clamp(m.i_Num_Layers, 0, MAX_SOIL_LAYERS);
    std::array<bool, 12> present{};
    for (int g = 0; g < 12; ++g) {
        for (int i = 1; i <= n; ++i) {
            present[static_cast<std::size_t>(g)] =
                present[static_cast<std::size_t>(g)] ||
                Listed(kGroups[g], m.Layers[i].i_SoilLayer_py_Type);
        }
    }
    if (m.IUNITS != GENERAL) {
        const bool si = m.IUNITS == SI;
        r.Blank_Lines(2);
        r.Write_Line(std::string(80, '-'));
        r.Write_Line(std::string(27, ' ') + "Summary of Soil Properties");
        r.Write_Line(std::string(80, '-'));
        r.Blank_Lines(1);
        std::string lines[4] = {
            "                      Layer                     Layer      Effective   ",
            "Layer               Soil Type                   Depth       Unit Wt.   ",
            si ? " Num.         (p-y Curve Criteria)                m          kN/m3     "
               : " Num.         (p-y Curve Criteria)               ft           pcf      ",
            "-----   ----------------------------------   ----------   ----------   "};
        for (int g = 0; g < 12; ++g) {
            if (!present[static_cast<std::size_t>(g)]) {
                continue;
            }
            lines[0] += kGroups[g].heading[0];
            lines[1] += kGroups[g].heading[1];
            lines[2] += kGroups[g].heading[si ? 3 : 2];
            lines[3] += "----------   ";
        }
        for (std::string& line : lines) {
            r.Write_Line(line + " ");
        }
    }
    for (int i = 1; i <= n; ++i) {
        const SoilLayer& layer = m.Layers[i];
        for (bool top : {true, false}) {
            const int j = top ? 2 * i - 1 : 2 * i;
            if (top) {
                r.Write_Integer(i, 3);
                r.Write_Blanks(5);
                r.Write_Text(Pad_To(Summary_Type_Name(layer.i_SoilLayer_py_Type), 34));
                r.Write_Blanks(3);
            } else {
                r.Write_Blanks(45);
            }
            r.Write_Number(top ? layer.XLayerTop : layer.XLayerBottom, 10);
            r.Write_Blanks(3);
            r.Write_Number(m.Profile.Gamma[j], 10);
            r.Write_Blanks(3);
            for (int g = 0; g < 12; ++g) {
                if (!present[static_cast<std::size_t>(g)] || g == 10) {
                    continue;
                }
                if (g == 9) {
                    r.Write_Text(Test_Fields(m, i, top));
                    continue;
                }
                r.Write_Text(Group_Field(m, g, i, top));
                if (g != 11) {
                    r.Write_Blanks(3);
                }
            }
            r.End_Line();
        }
    }
}

} // namespace

void Write_Soil_Echo(AnalysisModel& m) {
    TextFile& r = m.Report;
    const SoilUnits u = Soil_Units_Of(m);
    const int n = std::clamp(m.i_Num_Layers, 0, MAX_SOIL_LAYERS);
    r.Blank_Lines(2);
    Write_Banner(r, 23, "Soil and Rock Layering Information");
    r.Blank_Lines(1);
    r.Write_Line(fmt::format("The soil profile is modelled using {} layers", n));
    r.Blank_Lines(1);
    for (int i = 1; i <= n; ++i) {
        Write_One_Layer(m, i, u);
        r.Blank_Lines(1);
    }
    const double below_tip = Bottom_Of_Lowest_Layer(m) - Vertical_Pile_Tip(m);
    if (n > 0 && below_tip > 0.0) {
        r.Write_Line("   (Depth of lowest soil layer extends " + Format_F(below_tip, 7, 2) + " " +
                     u.depth + " below pile tip)");
        r.Blank_Lines(1);
    }
    Check_Unit_Weights(m);
    Write_Soil_Summary(m);
}

} // namespace zarno
