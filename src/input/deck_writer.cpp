// Deck text from a deck document: the blocks in the order the reader expects them, every
// number in its shortest form that reads back to the same value.
#include "engine/capacities.h"
#include "input/deck_model.h"
#include "input/list_read.h"

#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace zarno {

namespace {

using Json = nlohmann::json;

// Longest text line of the input (title lines, combination names).
constexpr std::size_t kRecordLength = static_cast<std::size_t>(RECORD_LENGTH);

// The shortest decimal text that reads back to v, within width characters when width is
// given; empty when there is none.
std::string Number_Text(double v, std::size_t width = 0) {
    std::string text = fmt::format("{}", v);
    if (width == 0 || text.size() <= width) {
        return text;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        for (const std::string& t :
             {fmt::format("{:.{}g}", v, digits), fmt::format("{:.{}e}", v, digits - 1)}) {
            double back = 0.0;
            if (t.size() <= width && Parse_List_Real(t, back) && back == v) {
                return t;
            }
        }
    }
    return {};
}

class DeckWriter {
  public:
    std::string text;
    std::string error;

    bool Fail(const std::string& path, const std::string& what) {
        if (error.empty()) {
            error = path + ": " + what;
        }
        return false;
    }

    // The member key of obj, or null with the error set when it is missing.
    const Json* Member(const Json& obj, const std::string& path, const char* key) {
        const auto it = obj.find(key);
        if (it == obj.end()) {
            Fail(path + "/" + key, "missing");
            return nullptr;
        }
        return &*it;
    }

    // A member that may be missing or null.
    static const Json* Optional(const Json& obj, const char* key) {
        const auto it = obj.find(key);
        return it == obj.end() || it->is_null() ? nullptr : &*it;
    }

    bool Real(const Json& obj, const std::string& path, const char* key, double& v) {
        const Json* j = Member(obj, path, key);
        return j != nullptr && Real(*j, path + "/" + key, v);
    }
    bool Real(const Json& j, const std::string& path, double& v) {
        if (!j.is_number()) {
            return Fail(path, "expected a number");
        }
        v = j.get<double>();
        if (!std::isfinite(v)) {
            return Fail(path, "expected a finite number");
        }
        return true;
    }
    bool Int(const Json& obj, const std::string& path, const char* key, int& v) {
        const Json* j = Member(obj, path, key);
        return j != nullptr && Int(*j, path + "/" + key, v);
    }
    bool Int(const Json& j, const std::string& path, int& v) {
        // A whole number written as a real (some JSON writers have only one number type)
        // is accepted; a fraction is not.
        // JSON keeps integers from 2^63 up as unsigned; read as signed they would wrap.
        if (j.is_number_unsigned()) {
            if (j.get<unsigned long long>() > 2147483647ULL) {
                return Fail(path, "integer out of range (at most 2147483647)");
            }
            v = static_cast<int>(j.get<unsigned long long>());
            return true;
        }
        if (j.is_number_integer()) {
            const auto x = j.get<long long>();
            if (x < -2147483647LL || x > 2147483647LL) {
                return Fail(path, "integer out of range (from -2147483647 to 2147483647)");
            }
            v = static_cast<int>(x);
            return true;
        }
        if (j.is_number_float()) {
            const double x = j.get<double>();
            if (x == std::floor(x) && std::fabs(x) <= 2147483647.0) {
                v = static_cast<int>(x);
                return true;
            }
        }
        return Fail(path, "expected an integer");
    }
    bool Bool(const Json& obj, const std::string& path, const char* key, bool& v) {
        const Json* j = Member(obj, path, key);
        if (j == nullptr) {
            return false;
        }
        if (!j->is_boolean()) {
            return Fail(path + "/" + key, "expected true or false");
        }
        v = j->get<bool>();
        return true;
    }
    // A text of one line of at most a record's length.
    bool Line_Text(const Json& j, const std::string& path, std::string& v) {
        if (!j.is_string()) {
            return Fail(path, "expected a string");
        }
        v = j.get<std::string>();
        if (v.find_first_of("\r\n") != std::string::npos) {
            return Fail(path, "a line break cannot stand in a one-line text");
        }
        if (v.size() > kRecordLength) {
            return Fail(path, "longer than " + std::to_string(kRecordLength) + " characters");
        }
        return true;
    }
    bool Choice(const Json& obj, const std::string& path, const char* key,
                std::initializer_list<const char*> choices, std::string& v) {
        const Json* j = Member(obj, path, key);
        if (j == nullptr) {
            return false;
        }
        if (j->is_string()) {
            v = j->get<std::string>();
            for (const char* c : choices) {
                if (v == c) {
                    return true;
                }
            }
        }
        std::string list;
        for (const char* c : choices) {
            list += list.empty() ? "" : ", ";
            list += c;
        }
        return Fail(path + "/" + key, "expected one of " + list);
    }
    const Json* Array(const Json& obj, const std::string& path, const char* key) {
        const Json* j = Member(obj, path, key);
        if (j != nullptr && !j->is_array()) {
            Fail(path + "/" + key, "expected an array");
            return nullptr;
        }
        return j;
    }
    const Json* Object(const Json& obj, const std::string& path, const char* key) {
        const Json* j = Member(obj, path, key);
        if (j != nullptr && !j->is_object()) {
            Fail(path + "/" + key, "expected an object");
            return nullptr;
        }
        return j;
    }
    bool Is_Object(const Json& j, const std::string& path) {
        return j.is_object() || Fail(path, "expected an object");
    }

    void Line(std::string_view s) {
        text.append(s);
        text.push_back('\n');
    }
    void Value(double v) { Line(Number_Text(v)); }
    void Value(int v) { Line(std::to_string(v)); }

    // A value line read from obj[key].
    bool Real_Line(const Json& obj, const std::string& path, const char* key) {
        double v = 0.0;
        if (!Real(obj, path, key, v)) {
            return false;
        }
        Value(v);
        return true;
    }
    bool Int_Line(const Json& obj, const std::string& path, const char* key) {
        int v = 0;
        if (!Int(obj, path, key, v)) {
            return false;
        }
        Value(v);
        return true;
    }
    bool Real_Lines(const Json& obj, const std::string& path,
                    std::initializer_list<const char*> keys) {
        for (const char* key : keys) {
            if (!Real_Line(obj, path, key)) {
                return false;
            }
        }
        return true;
    }

    // One point line of numbers from a JSON array of numbers, after a leading text.
    bool Point_Line(const Json& j, const std::string& path, std::size_t count,
                    const std::string& lead) {
        if (!j.is_array() || j.size() != count) {
            return Fail(path, "expected an array of " + std::to_string(count) + " numbers");
        }
        std::string line = lead;
        for (std::size_t i = 0; i < count; ++i) {
            double v = 0.0;
            if (!Real(j[i], path + "/" + std::to_string(i), v)) {
                return false;
            }
            line += (line.empty() ? "" : "  ") + Number_Text(v);
        }
        Line(line);
        return true;
    }

    // A line of fields taken from an object: each field a real, or an integer when its
    // name is in ints.
    bool Fields_Line(const Json& obj, const std::string& path,
                     std::initializer_list<const char*> keys,
                     std::initializer_list<const char*> ints, const std::string& lead) {
        if (!Is_Object(obj, path)) {
            return false;
        }
        std::string line = lead;
        for (const char* key : keys) {
            bool is_int = false;
            for (const char* k : ints) {
                is_int = is_int || std::string_view(k) == key;
            }
            std::string item;
            if (is_int) {
                int v = 0;
                if (!Int(obj, path, key, v)) {
                    return false;
                }
                item = std::to_string(v);
            } else {
                double v = 0.0;
                if (!Real(obj, path, key, v)) {
                    return false;
                }
                item = Number_Text(v);
            }
            line += (line.empty() ? "" : "  ") + item;
        }
        Line(line);
        return true;
    }

    bool Title(const Json& deck);
    bool Options(const Json& deck, bool& soil_movement, bool& printed_curves, bool& py_modifiers);
    bool Sections(const Json& deck);
    bool Section(const Json& s, const std::string& path, int i);
    bool Concrete(const Json& s, const std::string& path);
    bool Rebar(const Json& s, const std::string& path);
    bool Strands(const Json& s, const std::string& path);
    bool Elastic(const Json& s, const std::string& path, bool with_mp);
    bool User_EI(const Json& s, const std::string& path);
    bool Soil_Layers(const Json& deck);
    bool Layer_Line(const Json& v, const std::string& path, int type);
    bool Loading(const Json& deck);
    bool Rows(const Json& deck, const char* key, const char* keyword,
              std::initializer_list<const char*> fields);
    bool Batter_And_Slope(const Json& deck);
    bool Lrfd(const Json& deck);
    bool Printed_Depths(const Json& deck);
};

bool DeckWriter::Title(const Json& deck) {
    const Json* title = Array(deck, "", "title");
    if (title == nullptr) {
        return false;
    }
    if (title->size() > 5) {
        return Fail("/title", "at most five lines");
    }
    Line("TITLE");
    for (std::size_t i = 0; i < 5; ++i) {
        std::string line;
        if (i < title->size() && !Line_Text((*title)[i], "/title/" + std::to_string(i), line)) {
            return false;
        }
        Line(line);
    }
    return true;
}

bool DeckWriter::Options(const Json& deck, bool& soil_movement, bool& printed_curves,
                         bool& py_modifiers) {
    const Json* o = Object(deck, "", "options");
    if (o == nullptr) {
        return false;
    }
    const std::string path = "/options";
    std::string units;
    if (!Choice(*o, path, "Units", {"USCS", "SI", "GENERAL"}, units)) {
        return false;
    }
    Line("OPTIONS");
    Line("Units " + units);
    auto yes_no = [&](const char* key, bool* out) {
        bool v = false;
        if (!Bool(*o, path, key, v)) {
            return false;
        }
        if (out != nullptr) {
            *out = v;
        }
        Line(fmt::format("{} {}", key, v ? "YES" : "NO"));
        return true;
    };
    if (!yes_no("UseLRFD", nullptr) || !yes_no("ComputeKmatrix", nullptr) ||
        !yes_no("UseTipShear", nullptr) || !yes_no("UseSoilMovement", &soil_movement) ||
        !yes_no("UsePYModifiers", &py_modifiers) || !yes_no("ComputeEIOnly", nullptr)) {
        return false;
    }
    // Loading type in columns 9 to 14, the number of cycles in columns 15 to 20.
    std::string loading;
    double cycles = 0.0;
    if (!Choice(*o, path, "Loading", {"STATIC", "CYCLIC"}, loading)) {
        return false;
    }
    if (const Json* c = Optional(*o, "NumberOfCycles");
        c != nullptr && !Real(*c, path + "/NumberOfCycles", cycles)) {
        return false;
    }
    const std::string cycles_text = Number_Text(cycles, 6);
    if (cycles_text.empty()) {
        return Fail(path + "/NumberOfCycles", "does not fit in its six columns");
    }
    Line(fmt::format("Loading {}{:>6}", loading, cycles_text));
    int iterations = 0;
    int increments = 0;
    int print_increment = 0;
    double excess = 0.0;
    double tolerance = 0.0;
    if (!Int(*o, path, "MaxIterations", iterations) ||
        !Real(*o, path, "ExcessDeflection", excess) || !Real(*o, path, "Tolerance", tolerance) ||
        !Int(*o, path, "Increments", increments)) {
        return false;
    }
    Line(fmt::format("MaxIterations {}", iterations));
    Line("ExcessDeflection " + Number_Text(excess));
    Line("Tolerance " + Number_Text(tolerance));
    Line(fmt::format("Increments {}", increments));
    if (!yes_no("PrintSummaryOnly", nullptr) || !Int(*o, path, "PrintIncrement", print_increment)) {
        return false;
    }
    Line(fmt::format("PrintIncrement {}", print_increment));
    bool interaction = false;
    if (!yes_no("PrintPYCurves", &printed_curves) || !yes_no("ComputeInteraction", &interaction)) {
        return false;
    }
    if (interaction) {
        std::string code;
        if (!Choice(*o, path, "InteractionCode", {"AASHTO", "ACI318", "Eurocode2"}, code)) {
            return false;
        }
        Line("Code " + code);
    }
    return true;
}

bool DeckWriter::Concrete(const Json& s, const std::string& section_path) {
    const Json* c = Object(s, section_path, "concrete");
    if (c == nullptr) {
        return false;
    }
    const std::string path = section_path + "/concrete";
    if (!Real_Lines(*c, path, {"concrete_compressive_strength", "maximum_aggregate_size"})) {
        return false;
    }
    if (const Json* t = Optional(*c, "concrete_tensile_strength"); t != nullptr) {
        double v = 0.0;
        if (!Real(*t, path + "/concrete_tensile_strength", v)) {
            return false;
        }
        Line("Override concrete tensile strength");
        Value(v);
    } else {
        Line("Use default concrete tensile strength");
    }
    const Json* curve = Optional(*c, "stress_strain_curve");
    if (curve == nullptr) {
        Line("Use internal stress-strain curve for concrete");
        return true;
    }
    if (!curve->is_array()) {
        return Fail(path + "/stress_strain_curve", "expected an array or null");
    }
    Line("Input stress-strain curve for concrete");
    Value(static_cast<int>(curve->size()));
    for (std::size_t j = 0; j < curve->size(); ++j) {
        if (!Point_Line((*curve)[j], path + "/stress_strain_curve/" + std::to_string(j), 2,
                        std::to_string(j + 1))) {
            return false;
        }
    }
    return true;
}

bool DeckWriter::Rebar(const Json& s, const std::string& section_path) {
    const Json* r = Optional(s, "rebar");
    if (r == nullptr) {
        Line("No rebar");
        return true;
    }
    const std::string path = section_path + "/rebar";
    if (!Is_Object(*r, path)) {
        return false;
    }
    bool same = false;
    std::string arrangement;
    if (!Bool(*r, path, "same_as_section_above", same) ||
        !Choice(*r, path, "arrangement", {"circle", "noncircular"}, arrangement)) {
        return false;
    }
    Line(same ? "Rebar Arrangement Same As Section Above"
              : "Rebar Arrangement Not Same As Section Above");
    Line(arrangement == "circle" ? "Rebar in circle" : "Rebar in noncircular pattern");
    if (!Real_Lines(*r, path, {"rebar_yield_stress", "rebar_elastic_modulus"})) {
        return false;
    }
    if (arrangement == "circle") {
        return Int_Line(*r, path, "number_of_bar_positions") &&
               Int_Line(*r, path, "number_of_bars_per_position") &&
               Real_Lines(*r, path,
                          {"bar_diameter", "bar_area", "concrete_cover_thickness",
                           "offset_of_the_rebar_cage_centre"});
    }
    const Json* bars = Array(*r, path, "bars");
    if (bars == nullptr) {
        return false;
    }
    Value(static_cast<int>(bars->size()));
    for (std::size_t k = 0; k < bars->size(); ++k) {
        if (!Fields_Line((*bars)[k], path + "/bars/" + std::to_string(k),
                         {"bar_index", "diameter", "area", "x", "y"}, {"bar_index"},
                         std::to_string(k + 1))) {
            return false;
        }
    }
    return true;
}

bool DeckWriter::Strands(const Json& s, const std::string& section_path) {
    const Json* r = Object(s, section_path, "strands");
    if (r == nullptr) {
        return false;
    }
    const std::string path = section_path + "/strands";
    std::string positioning;
    if (!Choice(*r, path, "positioning", {"auto", "manual"}, positioning)) {
        return false;
    }
    if (positioning == "auto") {
        Line("Autoposition strands");
        return Int_Line(*r, path, "strand_type") && Int_Line(*r, path, "strand_size_index") &&
               Int_Line(*r, path, "number_of_strands") &&
               Real_Lines(*r, path,
                          {"initial_prestressing_force", "fraction_of_loss_of_prestress",
                           "concrete_cover_over_strands"}) &&
               Int_Line(*r, path, "strand_arrangement_code");
    }
    Line("Manually-positioned strands");
    const Json* strands = nullptr;
    if (!Int_Line(*r, path, "strand_type") || (strands = Array(*r, path, "strands")) == nullptr) {
        return false;
    }
    Value(static_cast<int>(strands->size()));
    if (!Real_Lines(*r, path, {"initial_prestressing_force", "fraction_of_loss_of_prestress"})) {
        return false;
    }
    for (std::size_t k = 0; k < strands->size(); ++k) {
        if (!Fields_Line((*strands)[k], path + "/strands/" + std::to_string(k),
                         {"strand_type", "strand_size_index", "x", "y"},
                         {"strand_type", "strand_size_index"}, std::to_string(k + 1))) {
            return false;
        }
    }
    return true;
}

bool DeckWriter::Elastic(const Json& s, const std::string& path, bool with_mp) {
    int shape = 0;
    if (!Int(s, path, "cross_sectional_shape_code", shape)) {
        return false;
    }
    Value(shape);
    if (!Real_Line(s, path, "elastic_modulus")) {
        return false;
    }
    if (shape == 4 || shape == 5) {
        return (!with_mp || Real_Line(s, path, "plastic_moment_capacity")) &&
               Real_Lines(s, path,
                          {"flange_width", "section_depth", "flange_thickness", "web_thickness",
                           "section_area", "moment_of_inertia"});
    }
    if (shape < 1 || shape > 6) {
        return true; // the reader refuses the code; nothing follows it
    }
    if (with_mp && !Real_Lines(s, path,
                               {"plastic_moment_capacity_at_the_top",
                                "plastic_moment_capacity_at_the_bottom"})) {
        return false;
    }
    if (!Real_Lines(s, path, {"width_at_the_top", "width_at_the_bottom"})) {
        return false;
    }
    if (shape == 1 &&
        !Real_Lines(s, path, {"section_depth_at_the_top", "section_depth_at_the_bottom"})) {
        return false;
    }
    if (shape == 3 &&
        !Real_Lines(s, path, {"wall_thickness_at_the_top", "wall_thickness_at_the_bottom"})) {
        return false;
    }
    if (!Real_Lines(s, path,
                    {"area_at_the_top", "area_at_the_bottom", "moment_of_inertia_at_the_top",
                     "moment_of_inertia_at_the_bottom"})) {
        return false;
    }
    return shape != 6 || Real_Line(s, path, "drilled_hole_diameter");
}

bool DeckWriter::User_EI(const Json& s, const std::string& path) {
    const Json* thrusts = nullptr;
    if (!Real_Line(s, path, "section_diameter") ||
        (thrusts = Array(s, path, "axial_thrusts")) == nullptr) {
        return false;
    }
    Value(static_cast<int>(thrusts->size()));
    for (std::size_t k = 0; k < thrusts->size(); ++k) {
        const std::string tp = path + "/axial_thrusts/" + std::to_string(k);
        const Json& t = (*thrusts)[k];
        const Json* points = nullptr;
        if (!Is_Object(t, tp) || !Real_Line(t, tp, "axial_thrust") ||
            (points = Array(t, tp, "points")) == nullptr) {
            return false;
        }
        Value(static_cast<int>(points->size()));
        for (std::size_t j = 0; j < points->size(); ++j) {
            if (!Point_Line((*points)[j], tp + "/points/" + std::to_string(j), 2, "")) {
                return false;
            }
        }
    }
    return true;
}

bool DeckWriter::Section(const Json& s, const std::string& path, int i) {
    int code = 0;
    if (!Is_Object(s, path) || !Int(s, path, "section_type_code", code)) {
        return false;
    }
    Value(i);
    Value(code);
    if (!Real_Line(s, path, "section_length")) {
        return false;
    }
    const int type = code == -3 ? 3 : code == -13 ? 13 : code;
    bool ok = true;
    switch (type) {
    case 0:
        ok = Real_Lines(s, path, {"section_depth", "section_width"});
        break;
    case 1:
    case 5:
        ok = Real_Line(s, path, "diameter");
        break;
    case 2:
    case 4:
        ok = Real_Lines(s, path,
                        {"outer_diameter", "wall_thickness", "yield_stress_of_casing_or_pipe",
                         "elastic_modulus_of_casing_or_pipe"});
        break;
    case 3:
        ok = Real_Lines(s, path,
                        {"outer_diameter", "wall_thickness", "yield_stress_of_casing_or_pipe",
                         "elastic_modulus_of_casing_or_pipe", "outside_diameter_of_the_core",
                         "core_wall_thickness", "core_yield_stress", "core_elastic_modulus"});
        break;
    case 6:
        ok = Real_Lines(s, path, {"diameter", "void_diameter"});
        break;
    case 7:
        ok = Real_Lines(s, path, {"pile_width", "corner_chamfer"});
        break;
    case 8:
        ok = Real_Lines(s, path, {"pile_width", "void_diameter", "corner_chamfer"});
        break;
    case 9:
        ok = Real_Line(s, path, "pile_width");
        break;
    case 10:
        ok = Real_Lines(s, path, {"pile_width", "void_diameter"});
        break;
    case 11:
    case 12:
        ok = Elastic(s, path, type == 12);
        break;
    case 13:
        ok = User_EI(s, path);
        break;
    case 14:
        break;
    default:
        return Fail(path + "/section_type_code", "expected 0 to 14, -3 or -13");
    }
    if (!ok) {
        return false;
    }
    if (type <= 3 || (type >= 5 && type <= 10)) {
        if (!Concrete(s, path)) {
            return false;
        }
        return type <= 3 ? Rebar(s, path) : Strands(s, path);
    }
    return true;
}

bool DeckWriter::Sections(const Json& deck) {
    const Json* sections = Array(deck, "", "sections");
    if (sections == nullptr) {
        return false;
    }
    Line("SECTIONS");
    Value(static_cast<int>(sections->size()));
    for (std::size_t i = 0; i < sections->size(); ++i) {
        if (!Section((*sections)[i], "/sections/" + std::to_string(i), static_cast<int>(i) + 1)) {
            return false;
        }
    }
    return true;
}

bool DeckWriter::Layer_Line(const Json& v, const std::string& path, int type) {
    auto line = [&](std::initializer_list<const char*> keys,
                    std::initializer_list<const char*> ints = {}) {
        return Fields_Line(v, path, keys, ints, "");
    };
    switch (type) {
    case 1:
    case 3:
        return line({"effective_unit_weight", "cohesion", "eps50"});
    case 2:
    case 4:
        return line({"effective_unit_weight", "cohesion", "eps50", "subgrade_modulus_k"});
    case 5:
    case 6:
        return line({"effective_unit_weight", "friction_angle", "subgrade_modulus_k"});
    case 7:
        return line({"effective_unit_weight"});
    case 8:
        return line({"effective_unit_weight", "uniaxial_compressive_strength",
                     "initial_modulus_of_rock", "rqd", "k_rm"});
    case 9:
        return line({"effective_unit_weight", "uniaxial_compressive_strength"});
    case 10:
        return line({"effective_unit_weight", "field_test_type", "spt_blow_count",
                     "cpt_tip_resistance", "dilatometer_modulus", "pressuremeter_modulus"},
                    {"field_test_type"});
    case 11:
        return line(
            {"effective_unit_weight", "cohesion", "friction_angle", "eps50", "subgrade_modulus_k"});
    case 12:
        return line({"effective_unit_weight", "cone_tip_resistance"});
    case 13:
        return line({"effective_unit_weight", "elastic_subgrade_modulus"});
    case 14: {
        double gamma = 0.0;
        const Json* points = nullptr;
        if (!Is_Object(v, path) || !Real(v, path, "effective_unit_weight", gamma) ||
            (points = Array(v, path, "py_points")) == nullptr) {
            return false;
        }
        Line(fmt::format("{}  {}", Number_Text(gamma), points->size()));
        for (std::size_t j = 0; j < points->size(); ++j) {
            if (!Point_Line((*points)[j], path + "/py_points/" + std::to_string(j), 2, "")) {
                return false;
            }
        }
        return true;
    }
    case 15:
        return line({"effective_unit_weight", "cohesion", "eps50", "j_factor"});
    case 16:
        return line({"effective_unit_weight", "uniaxial_compressive_strength_of_intact_rock",
                     "rock_type_index", "geological_strength_index", "rock_mass_modulus"},
                    {"rock_type_index"});
    case 18:
    case 20:
        return line({"effective_unit_weight", "undrained_shear_strength", "shear_modulus_g0"});
    case 19:
        return line({"effective_unit_weight", "relative_density", "shear_modulus_g0"});
    default:
        return true;
    }
}

bool DeckWriter::Soil_Layers(const Json& deck) {
    const Json* layers = Optional(deck, "soil_layers");
    if (layers == nullptr) {
        return true;
    }
    if (!layers->is_array()) {
        return Fail("/soil_layers", "expected an array");
    }
    if (layers->empty()) {
        return true;
    }
    Line("SOIL LAYERS");
    Value(static_cast<int>(layers->size()));
    for (std::size_t c = 0; c < layers->size(); ++c) {
        const std::string path = "/soil_layers/" + std::to_string(c);
        const Json& layer = (*layers)[c];
        int type = 0;
        double top = 0.0;
        double bottom = 0.0;
        if (!Is_Object(layer, path) || !Int(layer, path, "py_type", type) ||
            !Real(layer, path, "top", top) || !Real(layer, path, "bottom", bottom)) {
            return false;
        }
        if (type < 1 || type > 20) {
            return Fail(path + "/py_type", "expected a p-y type code from 1 to 20");
        }
        Line(fmt::format("{}  {}  {}", type, Number_Text(top), Number_Text(bottom)));
        if (type == 17) {
            continue; // frozen soil has no parameter lines
        }
        for (const char* end : {"top_values", "bottom_values"}) {
            const Json* values = Object(layer, path, end);
            if (values == nullptr || !Layer_Line(*values, path + "/" + end, type)) {
                return false;
            }
        }
    }
    return true;
}

// LOADING, then AXIAL THRUST LOADS: the thrusts of the second replace those of the loads.
bool DeckWriter::Loading(const Json& deck) {
    if (const Json* loading = Optional(deck, "loading"); loading != nullptr) {
        const std::string path = "/loading";
        const Json* loads = nullptr;
        const Json* distributed = nullptr;
        if (!Is_Object(*loading, path) || (loads = Array(*loading, path, "loads")) == nullptr ||
            (distributed = Array(*loading, path, "distributed_load")) == nullptr) {
            return false;
        }
        if (!loads->empty() || !distributed->empty()) {
            Line("LOADING");
            Value(static_cast<int>(loads->size()));
            for (std::size_t i = 0; i < loads->size(); ++i) {
                if (!Fields_Line((*loads)[i], path + "/loads/" + std::to_string(i),
                                 {"loading_type", "condition_1", "condition_2", "axial_thrust",
                                  "deflection_vs_length_flag"},
                                 {"loading_type", "deflection_vs_length_flag"},
                                 std::to_string(i + 1))) {
                    return false;
                }
            }
            Value(static_cast<int>(distributed->size()));
            for (std::size_t j = 0; j < distributed->size(); ++j) {
                if (!Fields_Line((*distributed)[j], path + "/distributed_load/" + std::to_string(j),
                                 {"depth", "load"}, {}, std::to_string(j + 1))) {
                    return false;
                }
            }
        }
    }
    const Json* thrusts = Optional(deck, "axial_thrusts");
    if (thrusts == nullptr) {
        return true;
    }
    if (!thrusts->is_array()) {
        return Fail("/axial_thrusts", "expected an array or null");
    }
    // An empty list is "no thrusts" (a front end's way of saying none), not a block of 0.
    if (thrusts->empty()) {
        return true;
    }
    // The thrusts replace those of the loads one for one, so a list of another length would
    // change the number of loads.
    if (const Json* loading = Optional(deck, "loading"); loading != nullptr) {
        const Json& loads = (*loading)["loads"];
        if (!loads.empty() && loads.size() != thrusts->size()) {
            return Fail("/axial_thrusts",
                        fmt::format("holds {} thrusts for the {} loads of /loading/loads; give one "
                                    "thrust per load, or null",
                                    thrusts->size(), loads.size()));
        }
    }
    Line("AXIAL THRUST LOADS");
    Value(static_cast<int>(thrusts->size()));
    for (std::size_t i = 0; i < thrusts->size(); ++i) {
        double v = 0.0;
        if (!Real((*thrusts)[i], "/axial_thrusts/" + std::to_string(i), v)) {
            return false;
        }
        Line(fmt::format("{}  {}", i + 1, Number_Text(v)));
    }
    return true;
}

// A block of numbered rows of fields, written when it has rows.
bool DeckWriter::Rows(const Json& deck, const char* key, const char* keyword,
                      std::initializer_list<const char*> fields) {
    const Json* rows = Optional(deck, key);
    if (rows == nullptr) {
        return true;
    }
    const std::string path = std::string("/") + key;
    if (!rows->is_array()) {
        return Fail(path, "expected an array");
    }
    if (rows->empty()) {
        return true;
    }
    Line(keyword);
    Value(static_cast<int>(rows->size()));
    for (std::size_t i = 0; i < rows->size(); ++i) {
        if (!Fields_Line((*rows)[i], path + "/" + std::to_string(i), fields, {},
                         std::to_string(i + 1))) {
            return false;
        }
    }
    return true;
}

bool DeckWriter::Batter_And_Slope(const Json& deck) {
    const Json* b = Optional(deck, "pile_batter_and_slope");
    if (b == nullptr) {
        return true;
    }
    const std::string path = "/pile_batter_and_slope";
    double slope = 0.0;
    double batter = 0.0;
    if (!Is_Object(*b, path) || !Real(*b, path, "ground_slope_angle", slope) ||
        !Real(*b, path, "pile_batter_angle", batter)) {
        return false;
    }
    if (slope != 0.0 || batter != 0.0) {
        Line("PILE BATTER AND SLOPE");
        Value(slope);
        Value(batter);
    }
    return true;
}

bool DeckWriter::Lrfd(const Json& deck) {
    if (const Json* loads = Optional(deck, "lrfd_loads"); loads != nullptr) {
        if (!loads->is_array()) {
            return Fail("/lrfd_loads", "expected an array");
        }
        if (!loads->empty()) {
            Line("LRFD LOADS");
            Value(static_cast<int>(loads->size()));
        }
        for (std::size_t i = 0; i < loads->size(); ++i) {
            const std::string path = "/lrfd_loads/" + std::to_string(i);
            const Json& l = (*loads)[i];
            const Json* points = nullptr;
            if (!Is_Object(l, path) || (points = Array(l, path, "distributed_load")) == nullptr) {
                return false;
            }
            int type = 0;
            double h = 0.0;
            double mo = 0.0;
            double p = 0.0;
            if (!Int(l, path, "load_type", type) || !Real(l, path, "horizontal_force", h) ||
                !Real(l, path, "moment", mo) || !Real(l, path, "axial_force", p)) {
                return false;
            }
            Line(fmt::format("{}  {}  {}  {}  {}  {}", i + 1, type, Number_Text(h), Number_Text(mo),
                             Number_Text(p), points->size()));
            for (std::size_t j = 0; j < points->size(); ++j) {
                if (!Fields_Line((*points)[j], path + "/distributed_load/" + std::to_string(j),
                                 {"depth", "load"}, {}, std::to_string(j + 1))) {
                    return false;
                }
            }
        }
    }
    const Json* combinations = Optional(deck, "lrfd_combinations");
    if (combinations == nullptr) {
        return true;
    }
    if (!combinations->is_array()) {
        return Fail("/lrfd_combinations", "expected an array");
    }
    if (combinations->empty()) {
        return true;
    }
    Line("LRFD FACTORS AND CASES");
    Value(static_cast<int>(combinations->size()));
    for (std::size_t i = 0; i < combinations->size(); ++i) {
        const std::string path = "/lrfd_combinations/" + std::to_string(i);
        const Json& c = (*combinations)[i];
        const Json* factors = nullptr;
        std::string name;
        double flexure = 0.0;
        double shear = 0.0;
        if (!Is_Object(c, path) || (factors = Array(c, path, "load_factors")) == nullptr) {
            return false;
        }
        if (factors->size() != 13) {
            return Fail(path + "/load_factors", "expected 13 load factors, one per load type");
        }
        std::string line = std::to_string(i + 1);
        for (std::size_t t = 0; t < 13; ++t) {
            double f = 0.0;
            if (!Real((*factors)[t], path + "/load_factors/" + std::to_string(t), f)) {
                return false;
            }
            line += "  " + Number_Text(f);
        }
        const Json* n = Member(c, path, "name");
        if (n == nullptr || !Line_Text(*n, path + "/name", name) ||
            !Real(c, path, "resistance_factor_for_flexure", flexure) ||
            !Real(c, path, "resistance_factor_for_shear", shear)) {
            return false;
        }
        Line(line + "  " + Number_Text(flexure) + "  " + Number_Text(shear));
        Line(name);
    }
    return true;
}

} // namespace

int Write_Deck_Text(const std::string& deck_json, std::string& deck_text, std::string& error) {
    deck_text.clear();
    error.clear();
    const Json deck = Json::parse(deck_json, nullptr, false);
    if (deck.is_discarded()) {
        error = "the deck document is not valid JSON";
        return 2;
    }
    DeckWriter w;
    if (!deck.is_object()) {
        w.Fail("", "expected an object");
        error = w.error;
        return 1;
    }
    if (const Json* v = DeckWriter::Optional(deck, "format_version"); v != nullptr) {
        int version = 0;
        const std::string path = "/format_version";
        if (!w.Int(*v, path, version)) {
            error = w.error;
            return 1;
        }
        if (version > DECK_FORMAT_VERSION) {
            error = fmt::format("/format_version: {} is newer than this engine's {}", version,
                                DECK_FORMAT_VERSION);
            return 1;
        }
    }
    bool soil_movement = false;
    bool printed_curves = false;
    bool py_modifiers = false;
    w.Line("ZARNOK6");
    bool ok = w.Title(deck) && w.Options(deck, soil_movement, printed_curves, py_modifiers) &&
              w.Sections(deck) && w.Soil_Layers(deck) && w.Loading(deck) &&
              w.Rows(deck, "tip_shear", "TIP SHEAR", {"displacement", "shear"}) &&
              w.Batter_And_Slope(deck);
    // With p-y modifiers the options give one neutral row; a block with no rows replaces it.
    if (ok) {
        const Json* group = DeckWriter::Optional(deck, "group_effect_factors");
        if (py_modifiers && group != nullptr && group->is_array() && group->empty()) {
            w.Line("GROUP EFFECT FACTORS");
            w.Value(0);
        } else {
            ok = w.Rows(deck, "group_effect_factors", "GROUP EFFECT FACTORS",
                        {"depth", "p_multiplier", "y_multiplier"});
        }
    }
    // Soil movements and printed depths are read only with their option set.
    ok = ok && (!soil_movement ||
                w.Rows(deck, "soil_movements", "SOIL MOVEMENTS", {"depth", "movement"}));
    ok = ok && w.Lrfd(deck);
    if (ok && printed_curves) {
        const Json* depths = DeckWriter::Optional(deck, "printed_py_depths");
        if (depths != nullptr && !depths->is_array()) {
            ok = w.Fail("/printed_py_depths", "expected an array");
        } else if (depths != nullptr && !depths->empty()) {
            w.Line("DEPTHS OF PRINTED P-Y CURVES");
            w.Value(static_cast<int>(depths->size()));
            for (std::size_t i = 0; ok && i < depths->size(); ++i) {
                double v = 0.0;
                const std::string path = "/printed_py_depths/" + std::to_string(i);
                ok = w.Real((*depths)[i], path, v);
                w.Line(fmt::format("{}  {}", i + 1, Number_Text(v)));
            }
        }
    }
    if (!ok) {
        error = w.error;
        return 1;
    }
    w.Line("END");
    deck_text = std::move(w.text);
    return 0;
}

} // namespace zarno
