#include "input/deck_model.h"
#include "engine/text_trim.h"
#include "input/list_read.h"

#include "engine/analysis_model.h"
#include "input/read_input.h"

#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <nlohmann/json.hpp>
#include <string>

namespace zarno {

namespace {

using Json = nlohmann::ordered_json;

constexpr double kDegreesToRadians = 3.141592653589793 / 180.0;

bool Parse_Double(const std::string& text, double& value) {
    return Parse_List_Real(text, value); // the reader's own conversion, on every platform
}

// The value as entered, for the values the reader converts as it reads them (millimetres
// to metres in SI runs, degrees to radians): the shortest decimal x with forward(x) equal
// to the stored value, so that writing x and reading it again stores the same bits.
template <class Forward> double Entered(double stored, double guess, Forward forward) {
    if (!std::isfinite(guess)) {
        return guess;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        double x = 0.0;
        if (Parse_Double(fmt::format("{:.{}g}", guess, digits), x) && forward(x) == stored) {
            return x;
        }
    }
    double up = guess;
    double down = guess;
    for (int step = 0; step < 8; ++step) {
        up = std::nextafter(up, HUGE_VAL);
        down = std::nextafter(down, -HUGE_VAL);
        if (forward(up) == stored) {
            return up;
        }
        if (forward(down) == stored) {
            return down;
        }
    }
    return guess;
}

// Section dimensions as entered: millimetres (square millimetres, millimetres to the
// fourth) in SI runs, the stored value otherwise.
struct SectionUnits {
    bool si;
    double Length(double v) const {
        return si ? Entered(v, v * 1000.0, [](double x) { return x / 1000.0; }) : v;
    }
    double Area(double v) const {
        return si ? Entered(v, v * 1000000.0, [](double x) { return x / 1000000.0; }) : v;
    }
    double Inertia(double v) const {
        return si ? Entered(v, v * 1000000000000.0, [](double x) { return x / 1000000000000.0; })
                  : v;
    }
};

double Degrees(double radians) {
    return Entered(radians, radians / kDegreesToRadians,
                   [](double x) { return x * kDegreesToRadians; });
}

const char* Units_Name(int units) {
    return units == SI ? "SI" : units == GENERAL ? "GENERAL" : "USCS";
}

Json Concrete_Json(const PileSection& s, const SectionUnits& u) {
    Json c;
    c["concrete_compressive_strength"] = s.fc;
    c["maximum_aggregate_size"] = u.Length(s.Max_Aggregate_Size);
    c["concrete_tensile_strength"] =
        s.b_Default_Tensile_Strength ? Json(nullptr) : Json(s.Tensile_Strength);
    if (s.b_Input_Concrete_Curve) {
        Json curve = Json::array();
        for (int j = 1; j <= s.i_Num_Concrete_Curve_Points; ++j) {
            curve.push_back({s.Concrete_Curve_Strain[j], s.Concrete_Curve_Stress[j]});
        }
        c["stress_strain_curve"] = curve;
    } else {
        c["stress_strain_curve"] = nullptr;
    }
    return c;
}

Json Rebar_Json(const PileSection& s, const SectionUnits& u) {
    // The modulus of bars that were read is above 0; "No rebar" leaves it 0.
    if (s.Rebar_E == 0.0 && s.i_Num_Bars == 0) {
        return nullptr;
    }
    Json r;
    r["same_as_section_above"] = s.b_Rebar_Same_As_Above;
    r["arrangement"] = s.b_Bars_In_Circle ? "circle" : "noncircular";
    r["rebar_yield_stress"] = s.Rebar_fy;
    r["rebar_elastic_modulus"] = s.Rebar_E;
    if (s.b_Bars_In_Circle) {
        r["number_of_bar_positions"] = s.i_Num_Bar_Positions;
        r["number_of_bars_per_position"] = s.i_Bars_Per_Position;
        r["bar_diameter"] = u.Length(s.Bar_Diameter);
        r["bar_area"] = u.Area(s.Bar_Area);
        r["concrete_cover_thickness"] = u.Length(s.Cover);
        r["offset_of_the_rebar_cage_centre"] = u.Length(s.Cage_Offset);
    } else {
        Json bars = Json::array();
        for (int k = 1; k <= s.i_Num_Bars; ++k) {
            bars.push_back({{"bar_index", s.i_Bar_Index[k]},
                            {"diameter", u.Length(s.Bar_Dia[k])},
                            {"area", u.Area(s.Bar_Area_k[k])},
                            {"x", u.Length(s.Bar_X[k])},
                            {"y", u.Length(s.Bar_Y[k])}});
        }
        r["bars"] = bars;
    }
    return r;
}

// The strand type of a manually positioned strand other than the last: the model keeps the
// strand's size and diameter and area but only the last line's type, so the type is the
// one whose table gives this strand what it holds (tables that agree give the same strand).
int Strand_Type_Of(const AnalysisModel& m, int i, int k) {
    const PileSection& s = m.Sections[i];
    if (k == s.i_Num_Strands) {
        return s.i_Strand_Type;
    }
    for (int type : {s.i_Strand_Type, 0, 1, 2, 3, 4, 5}) {
        const auto [diameter, area] = Strand_Size_Of(m.IUNITS, type, s.i_Strand_Size[k]);
        if (diameter == s.Bar_Dia[k] && area == s.Bar_Area_k[k]) {
            return type;
        }
    }
    return s.i_Strand_Type;
}

Json Strands_Json(const AnalysisModel& m, int i, const SectionUnits& u) {
    const PileSection& s = m.Sections[i];
    Json r;
    r["positioning"] = s.b_Autoposition_Strands ? "auto" : "manual";
    r["strand_type"] = s.i_Strand_Type;
    if (s.b_Autoposition_Strands) {
        r["strand_size_index"] = s.i_Strand_Size[1];
        r["number_of_strands"] = s.i_Num_Strands;
    }
    r["initial_prestressing_force"] = s.Prestress_Force;
    r["fraction_of_loss_of_prestress"] = s.Prestress_Loss;
    if (s.b_Autoposition_Strands) {
        r["concrete_cover_over_strands"] = u.Length(s.Strand_Cover);
        r["strand_arrangement_code"] = s.i_Strand_Arrangement;
    } else {
        Json strands = Json::array();
        for (int k = 1; k <= s.i_Num_Strands; ++k) {
            strands.push_back({{"strand_type", Strand_Type_Of(m, i, k)},
                               {"strand_size_index", s.i_Strand_Size[k]},
                               {"x", u.Length(s.Bar_X[k])},
                               {"y", u.Length(s.Bar_Y[k])}});
        }
        r["strands"] = strands;
    }
    return r;
}

void Elastic_Fields(Json& j, const PileSection& s, bool with_mp, const SectionUnits& u) {
    const int shape = s.i_Shape_Type;
    j["cross_sectional_shape_code"] = shape;
    j["elastic_modulus"] = s.Elastic_E;
    if (shape == SHAPE_STRONG_H_PILE || shape == SHAPE_WEAK_H_PILE) {
        if (with_mp) {
            j["plastic_moment_capacity"] = s.Mp_Top;
        }
        j["flange_width"] = u.Length(s.Elastic_Width_Top);
        j["section_depth"] = u.Length(s.Elastic_Depth_Top);
        j["flange_thickness"] = u.Length(s.Flange_Thickness);
        j["web_thickness"] = u.Length(s.Web_Thickness);
        j["section_area"] = u.Area(s.Elastic_Area_Top);
        j["moment_of_inertia"] = u.Inertia(s.Elastic_I_Top);
        return;
    }
    if (with_mp) {
        j["plastic_moment_capacity_at_the_top"] = s.Mp_Top;
        j["plastic_moment_capacity_at_the_bottom"] = s.Mp_Bottom;
    }
    j["width_at_the_top"] = u.Length(s.Elastic_Width_Top);
    j["width_at_the_bottom"] = u.Length(s.Elastic_Width_Bottom);
    if (shape == SHAPE_RECTANGULAR) {
        j["section_depth_at_the_top"] = u.Length(s.Elastic_Depth_Top);
        j["section_depth_at_the_bottom"] = u.Length(s.Elastic_Depth_Bottom);
    } else if (shape == SHAPE_CIRCULAR_PIPE) {
        j["wall_thickness_at_the_top"] = u.Length(s.Elastic_Depth_Top);
        j["wall_thickness_at_the_bottom"] = u.Length(s.Elastic_Depth_Bottom);
    }
    j["area_at_the_top"] = u.Area(s.Elastic_Area_Top);
    j["area_at_the_bottom"] = u.Area(s.Elastic_Area_Bottom);
    j["moment_of_inertia_at_the_top"] = u.Inertia(s.Elastic_I_Top);
    j["moment_of_inertia_at_the_bottom"] = u.Inertia(s.Elastic_I_Bottom);
    if (shape == SHAPE_EMBEDDED_POLE) {
        j["drilled_hole_diameter"] = u.Length(s.Diameter);
    }
}

Json Section_Json(const AnalysisModel& m, int i) {
    const PileSection& s = m.Sections[i];
    const SectionUnits u{m.IUNITS == SI};
    const int type = s.i_Section_Type;
    int code = type;
    if (type == SECTION_CASED_SHAFT_WITH_CORE && !s.b_Core_Filled) {
        code = -3;
    } else if (type == SECTION_USER_EI && s.b_Moment_vs_Curvature) {
        code = -13;
    }
    Json j;
    j["section_type_code"] = code;
    j["section_length"] = s.Length;
    switch (type) {
    case 0:
        j["section_depth"] = u.Length(s.Diameter);
        j["section_width"] = u.Length(s.Section_Width);
        break;
    case 1:
    case 5:
        j["diameter"] = u.Length(s.Diameter);
        break;
    case 2:
    case 3:
    case 4:
        j["outer_diameter"] = u.Length(s.Diameter);
        j["wall_thickness"] = u.Length(s.Casing_Thickness);
        j["yield_stress_of_casing_or_pipe"] = s.Casing_Fy;
        j["elastic_modulus_of_casing_or_pipe"] = s.Casing_E;
        if (type == 3) {
            j["outside_diameter_of_the_core"] = u.Length(s.Core_Diameter);
            j["core_wall_thickness"] = u.Length(s.Core_Thickness);
            j["core_yield_stress"] = s.Core_Fy;
            j["core_elastic_modulus"] = s.Core_E;
        }
        break;
    case 6:
        j["diameter"] = u.Length(s.Diameter);
        j["void_diameter"] = u.Length(s.Void_Diameter);
        break;
    case 7:
        j["pile_width"] = u.Length(s.Diameter);
        j["corner_chamfer"] = u.Length(s.Chamfer);
        break;
    case 8:
        j["pile_width"] = u.Length(s.Diameter);
        j["void_diameter"] = u.Length(s.Void_Diameter);
        j["corner_chamfer"] = u.Length(s.Chamfer);
        break;
    case 9:
        j["pile_width"] = u.Length(s.Diameter);
        break;
    case 10:
        j["pile_width"] = u.Length(s.Diameter);
        j["void_diameter"] = u.Length(s.Void_Diameter);
        break;
    case 11:
    case 12:
        Elastic_Fields(j, s, type == 12, u);
        break;
    case 13: {
        j["section_diameter"] = u.Length(s.Diameter);
        Json thrusts = Json::array();
        for (int k = 1; k <= s.i_Num_User_Thrusts; ++k) {
            const UserEIThrust& t = s.User_EI[k];
            Json points = Json::array();
            for (int p = 1; p <= t.i_Num_Points; ++p) {
                points.push_back({t.Moment[p], t.EI_or_Curvature[p]});
            }
            thrusts.push_back({{"axial_thrust", t.Axial_Thrust}, {"points", points}});
        }
        j["axial_thrusts"] = thrusts;
        break;
    }
    default:
        break;
    }
    if (type <= 3 || (type >= 5 && type <= 10)) {
        j["concrete"] = Concrete_Json(s, u);
        if (type <= 3) {
            j["rebar"] = Rebar_Json(s, u);
        } else {
            j["strands"] = Strands_Json(m, i, u);
        }
    }
    return j;
}

// The parameters of one end of a layer (p = 2c - 1 for the top, 2c for the bottom).
Json Layer_Values(const AnalysisModel& m, const SoilLayer& layer, int p, bool top) {
    const SoilProfile& s = m.Profile;
    const double k = top ? layer.k_Top : layer.k_Bottom;
    Json v;
    v["effective_unit_weight"] = s.Gamma[p];
    switch (layer.i_SoilLayer_py_Type) {
    case 1:
    case 3:
        v["cohesion"] = s.c[p];
        v["eps50"] = s.eps50[p];
        break;
    case 2:
    case 4:
        v["cohesion"] = s.c[p];
        v["eps50"] = s.eps50[p];
        v["subgrade_modulus_k"] = k;
        break;
    case 5:
    case 6:
        v["friction_angle"] = s.phi[p];
        v["subgrade_modulus_k"] = k;
        break;
    case 8:
        v["uniaxial_compressive_strength"] = s.c[p];
        v["initial_modulus_of_rock"] = k;
        v["rqd"] = s.RQD[p];
        v["k_rm"] = s.eps50[p];
        break;
    case 9:
        v["uniaxial_compressive_strength"] = s.c[p];
        break;
    case 10:
        v["field_test_type"] = layer.i_Piedmont_Test_Type;
        v["spt_blow_count"] = s.N60[p];
        v["cpt_tip_resistance"] = s.qc[p];
        v["dilatometer_modulus"] = s.EDMT[p];
        v["pressuremeter_modulus"] = s.EPMT[p];
        break;
    case 11:
        v["cohesion"] = s.c[p];
        v["friction_angle"] = s.phi[p];
        v["eps50"] = s.eps50[p];
        v["subgrade_modulus_k"] = k;
        break;
    case 12:
        v["cone_tip_resistance"] = s.qc[p];
        break;
    case 13:
        v["elastic_subgrade_modulus"] = s.Es[p];
        break;
    case 14: {
        const UserPyCurve& curve = top ? layer.User_py_Top : layer.User_py_Bottom;
        Json points = Json::array();
        for (int j = 1; j <= curve.i_Num_Points; ++j) {
            points.push_back({curve.y[j], curve.p[j]});
        }
        v["py_points"] = points;
        break;
    }
    case 15:
        v["cohesion"] = s.c[p];
        v["eps50"] = s.eps50[p];
        v["j_factor"] = s.J[p];
        break;
    case 16:
        v["uniaxial_compressive_strength_of_intact_rock"] = s.HB_qu[p];
        v["rock_type_index"] = s.HB_Rock_Type[p];
        v["geological_strength_index"] = s.HB_GSI[p];
        v["rock_mass_modulus"] = s.HB_Erm[p];
        break;
    case 18:
    case 20:
        v["undrained_shear_strength"] = s.c[p];
        v["shear_modulus_g0"] = s.G0[p];
        break;
    case 19:
        v["relative_density"] = s.Dr[p];
        v["shear_modulus_g0"] = s.G0[p];
        break;
    default:
        break;
    }
    return v;
}

Json Layer_Json(const AnalysisModel& m, int c) {
    const SoilLayer& layer = m.Layers[c];
    const int t = layer.i_SoilLayer_py_Type;
    Json j;
    j["py_type"] = t;
    j["py_name"] = Trim_Right(m.py_Type_Names[t]);
    j["top"] = layer.XLayerTop;
    j["bottom"] = layer.XLayerBottom;
    if (t != 17) { // frozen soil has no parameter lines
        j["top_values"] = Layer_Values(m, layer, 2 * c - 1, true);
        j["bottom_values"] = Layer_Values(m, layer, 2 * c, false);
    }
    return j;
}

Json Options_Json(const AnalysisModel& m) {
    Json o;
    o["Units"] = Units_Name(m.IUNITS);
    o["UseLRFD"] = m.b_Use_LRFD;
    o["ComputeKmatrix"] = m.ib_ComputeKmatrix_1T0F;
    o["UseTipShear"] = m.b_Use_Tip_Shear;
    o["UseSoilMovement"] = m.b_Use_Soil_Movement;
    o["UsePYModifiers"] = m.b_Use_py_Modifiers;
    o["ComputeEIOnly"] = m.i_Analysis_Type == ANALYSIS_EI_ONLY;
    o["Loading"] = m.b_Cyclic ? "CYCLIC" : "STATIC";
    o["NumberOfCycles"] = m.Number_Of_Cycles;
    o["MaxIterations"] = m.i_Max_Iterations;
    o["ExcessDeflection"] = m.Excess_Deflection;
    o["Tolerance"] = m.Tolerance;
    o["Increments"] = m.i_Pile_Increments;
    o["PrintSummaryOnly"] = m.b_Print_Summary_Only;
    o["PrintIncrement"] = m.i_Print_Increment;
    o["PrintPYCurves"] = m.b_Print_py_Curves;
    o["ComputeInteraction"] = m.b_Compute_Interaction;
    static constexpr const char* kCodes[] = {nullptr, "AASHTO", "ACI318", "Eurocode2"};
    o["InteractionCode"] =
        m.b_Compute_Interaction && m.i_Interaction_Code >= 1 && m.i_Interaction_Code <= 3
            ? Json(kCodes[m.i_Interaction_Code])
            : Json(nullptr);
    return o;
}

Json Depth_Values(const DepthValue* rows, int n, const char* value_name) {
    Json a = Json::array();
    for (int i = 1; i <= n; ++i) {
        a.push_back({{"depth", rows[i].Depth}, {value_name, rows[i].Value}});
    }
    return a;
}

} // namespace

std::string Deck_Json(const AnalysisModel& m) {
    Json d;
    d["format"] = "zarno-deck";
    d["format_version"] = DECK_FORMAT_VERSION;
    Json title = Json::array();
    for (const std::string& line : m.Title) {
        title.push_back(line);
    }
    d["title"] = title;
    d["options"] = Options_Json(m);

    Json sections = Json::array();
    for (int i = 1; i <= m.i_Num_Sections; ++i) {
        sections.push_back(Section_Json(m, i));
    }
    d["sections"] = sections;

    Json layers = Json::array();
    for (int c = 1; c <= m.i_Num_Layers; ++c) {
        layers.push_back(Layer_Json(m, c));
    }
    d["soil_layers"] = layers;

    // The pile-head loads come from LOADING or, for the thrusts of the bending stiffness
    // tables, from AXIAL THRUST LOADS; the two blocks share the load table. When AXIAL
    // THRUST LOADS came last after a LOADING block, the loads keep LOADING's types and
    // conditions with its thrusts, so both are given (written in that order).
    Json loads = Json::array();
    bool loads_typed = false;
    for (int i = 1; i <= m.i_Num_Loads; ++i) {
        const PileHeadLoad& l = m.Loads[i];
        loads_typed = loads_typed || l.i_Load_Type != 0;
        loads.push_back({{"loading_type", l.i_Load_Type},
                         {"condition_1", l.Condition1},
                         {"condition_2", l.Condition2},
                         {"axial_thrust", l.Axial_Thrust},
                         {"deflection_vs_length_flag", l.i_Compute_Top_Deflection_vs_Length}});
    }
    Json loading;
    loading["loads"] = loads;
    loading["distributed_load"] =
        Depth_Values(m.Dist_Load.data(), m.i_Num_Dist_Load_Points, "load");
    if (m.Loads_From_Axial_Thrust_Block) {
        Json thrusts = Json::array();
        for (int i = 1; i <= m.i_Num_Loads; ++i) {
            thrusts.push_back(m.Loads[i].Axial_Thrust);
        }
        d["loading"] = loads_typed || m.i_Num_Dist_Load_Points > 0 ? loading : Json(nullptr);
        d["axial_thrusts"] = thrusts;
    } else {
        d["loading"] = loading;
        d["axial_thrusts"] = nullptr;
    }

    Json tip = Json::array();
    for (int i = 1; i <= m.i_Num_Tip_Shear_Points; ++i) {
        tip.push_back(
            {{"displacement", m.Tip_Shear[i].Displacement}, {"shear", m.Tip_Shear[i].Shear}});
    }
    d["tip_shear"] = tip;
    d["pile_batter_and_slope"] = {{"ground_slope_angle", Degrees(m.Ground_Slope)},
                                  {"pile_batter_angle", Degrees(m.Pile_Batter)}};
    Json group = Json::array();
    for (int i = 1; i <= m.i_Num_Group_Effect_Rows; ++i) {
        const GroupEffectRow& g = m.Group_Effect[i];
        group.push_back({{"depth", g.Z}, {"p_multiplier", g.pMult}, {"y_multiplier", g.yMult}});
    }
    d["group_effect_factors"] = group;

    // Soil movements and printed depths are only read, and only used, with their option.
    Json movements = Json::array();
    if (m.b_Use_Soil_Movement) {
        for (int i = 1; i <= m.i_Num_Soil_Movements; ++i) {
            const DepthValue& row = m.Soil_Movement[i];
            const double entered = m.IUNITS == SI ? Entered(row.Value, row.Value * 1000.0,
                                                            [](double x) { return x / 1000.0; })
                                                  : row.Value;
            movements.push_back({{"depth", row.Depth}, {"movement", entered}});
        }
    }
    d["soil_movements"] = movements;
    Json depths = Json::array();
    if (m.b_Print_py_Curves) {
        for (int i = 1; i <= m.i_Num_Printed_py_Depths; ++i) {
            depths.push_back(m.Printed_py_Depth[i]);
        }
    }
    d["printed_py_depths"] = depths;

    Json lrfd_loads = Json::array();
    for (int i = 1; i <= m.i_Num_Lrfd_Loads; ++i) {
        const LrfdLoad& l = m.Lrfd_Loads[i];
        lrfd_loads.push_back(
            {{"load_type", l.i_Load_Type},
             {"horizontal_force", l.Horizontal_Force},
             {"moment", l.Moment},
             {"axial_force", l.Axial_Force},
             {"distributed_load", Depth_Values(l.Dist_Load.data(), l.i_Num_Dist_Points, "load")}});
    }
    d["lrfd_loads"] = lrfd_loads;
    Json combinations = Json::array();
    for (int i = 1; i <= m.i_Num_Lrfd_Combinations; ++i) {
        const LrfdCombination& c = m.Lrfd_Combinations[i];
        Json factors = Json::array();
        for (int t = 1; t <= 13; ++t) {
            factors.push_back(c.Load_Factor[t]);
        }
        combinations.push_back({{"name", c.Name},
                                {"load_factors", factors},
                                {"resistance_factor_for_flexure", c.Resistance_Factor_Flexure},
                                {"resistance_factor_for_shear", c.Resistance_Factor_Shear}});
    }
    d["lrfd_combinations"] = combinations;
    return d.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace zarno
