#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "input/list_read.h"
#include "input/read_input.h"
#include "py/py_framework.h"

#include <fmt/format.h>
#include <string>
#include <string_view>

namespace zarno {

namespace {

constexpr std::string_view kBlock = "SOIL LAYERS";

// The parameters of one line (top or bottom) of a layer, in input order.
struct LayerLine {
    double gamma = 0.0;
    double values[6] = {};
    int integer = 0; // Piedmont test type, massive rock type, user p-y point count
};

int Raise_Type_Error(AnalysisModel& m, int layer, int code) {
    return Fail_Run_Numbered(m, MessageId::PyTypeCode, 100 + INPUT_ERROR_PY_TYPE, layer,
                             m.Input.Line_Number(), code);
}

// Heaviest effective unit weight accepted, in input units (pcf, kN/m3); soils and rocks
// weigh less than a third of it. General units have only the magnitude limit.
double Max_Unit_Weight(const AnalysisModel& m) {
    if (m.IUNITS == USCS) {
        return 500.0;
    }
    if (m.IUNITS == SI) {
        return 80.0;
    }
    return MAX_INPUT_MAGNITUDE;
}

// A clay's cohesion is 0 (no strength at that end of the layer) or at least the strength of
// a remoulded slurry, about 0.05 kPa (1 psf). A positive cohesion far below it is no clay:
// under a stronger layer its equivalent depth grows without bound as the strength vanishes,
// and the station's initial modulus with it. General units have no scale for the floor.
bool Check_Cohesion(AnalysisModel& m, int t, int layer, const char* end, double c) {
    const bool cohesive = t == 1 || t == 2 || t == 3 || t == 4 || t == 11 || t == 15;
    if (!cohesive || c == 0.0) {
        return true;
    }
    const double floor = m.IUNITS == USCS ? 1.0 : m.IUNITS == SI ? 0.05 : 0.0;
    if (c >= floor && c > 0.0) {
        return true;
    }
    const char* unit = m.IUNITS == USCS ? " psf" : m.IUNITS == SI ? " kPa" : "";
    return Raise_Out_Of_Range(
               m, kBlock, fmt::format("the cohesion at the {} of layer {}", end, layer), c,
               fmt::format("of 0 (no strength) or {} {:g}{} (a clay weaker than that is a "
                           "slurry with no lateral resistance)",
                           floor > 0.0 ? "at least" : "greater than", floor, unit)) == 0;
}

// Reads the points of one user p-y curve, one point per line.
bool Read_User_Curve(AnalysisModel& m, UserPyCurve& curve, int layer, const char* end) {
    for (int j = 1; j <= curve.i_Num_Points; ++j) {
        ListRead r(m, kBlock);
        if (!r.Real(curve.y[j],
                    fmt::format("y of point {} of the {} p-y curve of layer {}", j, end, layer)) ||
            !r.Real(curve.p[j],
                    fmt::format("p of point {} of the {} p-y curve of layer {}", j, end, layer))) {
            return false;
        }
        if (j > 1 && !(curve.y[j] > curve.y[j - 1])) {
            // The curve is interpolated segment by segment in rising y; a step back would
            // make it many-valued.
            return Raise_Input_Line_Error(
                       m, INPUT_ERROR_USER_PY_ORDER,
                       fmt::format(
                           "Problem:  Point {} of the {} p-y curve of soil layer {} at line {} of "
                           "the input file has y = {}, not larger than y = {} of point {}.",
                           j, end, layer, m.Input.Line_Number(), curve.y[j], curve.y[j - 1], j - 1),
                       "Solution: Enter the points of a user p-y curve in increasing order of "
                       "y.") == 0;
        }
    }
    return true;
}

// Reads one parameter line of a layer of type t. The names in the messages say which
// value is missing when a line is short.
bool Read_Layer_Line(AnalysisModel& m, int t, int layer, const char* end, LayerLine& v) {
    if (t == 17) {
        return true; // frozen soil has no parameter lines
    }
    ListRead r(m, kBlock);
    auto what = [&](const char* name) {
        // Built for every value read, so by concatenation rather than a format string.
        return std::string("the ") + name + " at the " + end + " of layer " + std::to_string(layer);
    };
    // A soil strength (cohesion, friction angle, rock or cone strength, blow count, subgrade
    // modulus) is never negative, and a friction angle is below 90 degrees. A value outside
    // is refused here, where its layer, field and line are known, rather than by the p-y
    // model, which could only say that the value is unusable. (Moduli and strains where
    // zero or less asks for the model's default are read as they stand.)
    auto real = [&](double& x, const char* name) {
        if (!r.Real(x, what(name))) {
            return false;
        }
        const bool angle = std::string_view(name) == "friction angle";
        if (x >= 0.0 && (!angle || x < 90.0)) {
            return true;
        }
        return Raise_Out_Of_Range(m, kBlock, what(name), x,
                                  angle ? "of at least 0 and below 90 degrees"
                                        : "of zero or more (a negative value has no meaning "
                                          "for this parameter)") == 0;
    };
    if (!r.Real(v.gamma, what("effective unit weight"))) {
        return false;
    }
    switch (t) {
    case 1:
    case 3:
        return real(v.values[0], "cohesion") && r.Real(v.values[1], what("eps50"));
    case 2:
    case 4:
        return real(v.values[0], "cohesion") && r.Real(v.values[1], what("eps50")) &&
               r.Real(v.values[2], what("subgrade modulus k"));
    case 5:
    case 6:
        return real(v.values[0], "friction angle") &&
               r.Real(v.values[1], what("subgrade modulus k"));
    case 7:
        return true;
    case 8:
        return real(v.values[0], "uniaxial compressive strength") &&
               r.Real(v.values[1], what("initial modulus of rock")) &&
               r.Real(v.values[2], what("RQD")) && r.Real(v.values[3], what("k_rm"));
    case 9:
        return real(v.values[0], "uniaxial compressive strength");
    case 10:
        return r.Int(v.integer, what("field-test type")) && real(v.values[0], "SPT blow count") &&
               r.Real(v.values[1], what("CPT tip resistance")) &&
               r.Real(v.values[2], what("dilatometer modulus")) &&
               r.Real(v.values[3], what("pressuremeter modulus"));
    case 11:
        return real(v.values[0], "cohesion") && real(v.values[1], "friction angle") &&
               r.Real(v.values[2], what("eps50")) &&
               r.Real(v.values[3], what("subgrade modulus k"));
    case 12:
        return real(v.values[0], "cone tip resistance");
    case 13:
        return real(v.values[0], "elastic subgrade modulus");
    case 14:
        return r.Int(v.integer, what("number of p-y points"));
    case 15:
        return real(v.values[0], "cohesion") && r.Real(v.values[1], what("eps50")) &&
               r.Real(v.values[2], what("J factor"));
    case 18:
    case 20:
        return r.Real(v.values[0], what("undrained shear strength")) &&
               r.Real(v.values[1], what("small-strain shear modulus G0"));
    case 19:
        return r.Real(v.values[0], what("relative density")) &&
               r.Real(v.values[1], what("small-strain shear modulus G0"));
    case 16:
        return real(v.values[0], "uniaxial compressive strength of intact rock") &&
               r.Int(v.integer, what("rock type index")) &&
               r.Real(v.values[1], what("geological strength index")) &&
               r.Real(v.values[2], what("rock mass modulus"));
    default:
        return false;
    }
}

// The monopile layers' strength and stiffness: a curve normalised by a zero strength or
// stiffness has no meaning, and the relative density is a percentage.
bool Check_Pisa_Line(AnalysisModel& m, int t, int layer, const char* end, const LayerLine& v) {
    const std::string where = std::string(" at the ") + end + " of layer " + std::to_string(layer);
    const bool strength_ok = t == PY_PISA_DUNKIRK_SAND
                                 ? Check_Range(m, kBlock, "relative density (percent)" + where,
                                               v.values[0], 0.0, 100.0, true)
                                 : Check_Range(m, kBlock, "undrained shear strength" + where,
                                               v.values[0], 0.0, MAX_INPUT_MAGNITUDE, true);
    return strength_ok && Check_Range(m, kBlock, "small-strain shear modulus G0" + where,
                                      v.values[1], 0.0, MAX_INPUT_MAGNITUDE, true);
}

// Stores one line's values at profile point p (2c - 1 for the top, 2c for the bottom).
void Store_Layer_Line(AnalysisModel& m, int t, SoilLayer& layer, int p, bool top,
                      const LayerLine& v) {
    SoilProfile& s = m.Profile;
    s.Gamma[p] = v.gamma;
    double& k = top ? layer.k_Top : layer.k_Bottom;
    switch (t) {
    case 1:
    case 3:
        s.c[p] = v.values[0];
        s.eps50[p] = v.values[1];
        break;
    case 2:
    case 4:
        s.c[p] = v.values[0];
        s.eps50[p] = v.values[1];
        k = v.values[2];
        break;
    case 5:
    case 6:
        s.phi[p] = v.values[0];
        k = v.values[1];
        break;
    case 8:
        s.c[p] = v.values[0];
        k = v.values[1];
        s.RQD[p] = v.values[2];
        s.eps50[p] = v.values[3];
        break;
    case 9:
        s.c[p] = v.values[0];
        break;
    case 10:
        if (top) {
            layer.i_Piedmont_Test_Type = v.integer;
        }
        s.N60[p] = v.values[0];
        s.qc[p] = v.values[1];
        s.EDMT[p] = v.values[2];
        s.EPMT[p] = v.values[3];
        break;
    case 11:
        s.c[p] = v.values[0];
        s.phi[p] = v.values[1];
        s.eps50[p] = v.values[2];
        k = v.values[3];
        break;
    case 12:
        s.qc[p] = v.values[0];
        break;
    case 13:
        s.Es[p] = v.values[0];
        break;
    case 15:
        s.c[p] = v.values[0];
        s.eps50[p] = v.values[1];
        s.J[p] = v.values[2];
        break;
    case 16:
        // The intact strength is the strength column c, looked up like a cohesion.
        s.c[p] = v.values[0];
        s.HB_qu[p] = v.values[0];
        s.HB_Rock_Type[p] = v.integer;
        s.HB_GSI[p] = v.values[1];
        s.HB_Erm[p] = v.values[2];
        break;
    case 18:
    case 20:
        s.c[p] = v.values[0];
        s.G0[p] = v.values[1];
        break;
    case 19:
        s.Dr[p] = v.values[0];
        s.G0[p] = v.values[1];
        break;
    default:
        break;
    }
}

} // namespace

void Read_Soil_Layers(AnalysisModel& m) {
    m.Messages.Write_Line("Reading soil layering data");
    int n = 0;
    {
        ListRead r(m, kBlock);
        if (!r.Int(n, "the number of soil layers")) {
            return;
        }
    }
    if (n > MAX_SOIL_LAYERS) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Capacity_Error(m, kBlock, "soil layers", n, MAX_SOIL_LAYERS));
        return;
    }
    // A later block replaces the whole profile.
    m.Profile = SoilProfile{};
    m.i_Num_Layers = 0;
    int count = 0;
    for (int c = 1; c <= n; ++c) {
        SoilLayer& layer = m.Layers[c];
        layer = SoilLayer{};
        {
            ListRead r(m, kBlock);
            const std::string number = std::to_string(c);
            if (!r.Int(layer.i_SoilLayer_py_Type, "the p-y type code of layer " + number) ||
                !r.Real(layer.XLayerTop, "the depth of the top of layer " + number) ||
                !r.Real(layer.XLayerBottom, "the depth of the bottom of layer " + number)) {
                return;
            }
        }
        const int t = layer.i_SoilLayer_py_Type;
        if (t < 1 || t > PY_PISA_BOTHKENNAR_CLAY) {
            if (Raise_Type_Error(m, c, t) > 0) {
                return;
            }
        }
        if (layer.XLayerBottom < layer.XLayerTop) {
            // The reader is void: its caller tests RunStatus.
            static_cast<void>(Raise_Out_Of_Order(
                m, kBlock, fmt::format("depth of the bottom of layer {}", c), layer.XLayerBottom,
                fmt::format("top of the layer"), layer.XLayerTop));
            return;
        }
        const int top = 2 * c - 1;
        const int bottom = 2 * c;
        for (int end = 0; end < 2 && t != 17; ++end) {
            const bool is_top = end == 0;
            const char* end_name = is_top ? "top" : "bottom";
            LayerLine v;
            if (!Read_Layer_Line(m, t, c, end_name, v) ||
                !Check_Cohesion(m, t, c, end_name, v.values[0]) ||
                !Check_Range(m, kBlock,
                             std::string("effective unit weight at the ") + end_name +
                                 " of layer " + std::to_string(c),
                             v.gamma, 0.0, Max_Unit_Weight(m))) {
                return;
            }
            if (Is_Pisa_Type(t) && !Check_Pisa_Line(m, t, c, end_name, v)) {
                return;
            }
            Store_Layer_Line(m, t, layer, is_top ? top : bottom, is_top, v);
            if (t == 14) {
                UserPyCurve& curve = is_top ? layer.User_py_Top : layer.User_py_Bottom;
                if (v.integer < 0 || v.integer > MAX_USER_PY_POINTS) {
                    // The reader is void: its caller tests RunStatus.
                    static_cast<void>(Raise_Capacity_Error(
                        m, kBlock,
                        fmt::format("points on the {} p-y curve of layer {}", end_name, c),
                        v.integer, MAX_USER_PY_POINTS));
                    return;
                }
                curve.Depth = is_top ? layer.XLayerTop : layer.XLayerBottom;
                curve.i_Num_Points = v.integer;
                if (!Read_User_Curve(m, curve, c, end_name)) {
                    return;
                }
            }
        }
        ++count;
        m.Profile.Gamma_Depth[top] = layer.XLayerTop;
        m.Profile.Gamma_Depth[bottom] = layer.XLayerBottom;
        m.Profile.Strength_Depth[top] = layer.XLayerTop;
        m.Profile.Strength_Depth[bottom] = layer.XLayerBottom;
    }
    m.i_Num_Layers = count;
    m.Profile.i_Num_Gamma_Points = 2 * count;
    m.Profile.i_Num_Strength_Points = 2 * count;
    m.Ground_Surface_Depth = count > 0 ? m.Layers[1].XLayerTop : 0.0;
}

} // namespace zarno
