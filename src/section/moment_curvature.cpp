#include "section/moment_curvature.h"

#include "engine/analysis_model.h"
#include "engine/run_status.h"
#include "section/materials.h"
#include "section/neutral_axis.h"
#include "section/slicing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zarno {

namespace {

constexpr double EPS_CU = static_cast<double>(0.003f);    // ACI crushing strain
constexpr double EPS_STOP = static_cast<double>(0.0038f); // end of the concrete law
constexpr double EPS_TENSION_T = static_cast<double>(-0.005f);

bool Is_Prestressed(const SectionWorkspace& ws) {
    return ws.i_Reinf_Kind >= 3;
}

} // namespace

void Initialize_EI_Vars(AnalysisModel& m, SectionWorkspace& ws) {
    Slice_Section(m, ws);
    Initialize_Materials(m, ws);
}

void Initialize_Materials(AnalysisModel& m, SectionWorkspace& ws) {
    Set_Concrete_Constants(ws);
    ws.e_pc = 0.0;
    ws.e_ps = 0.0;
    if (ws.i_Reinf_Kind >= REINF_PCI250 && ws.Bending_Angle == 0.0) {
        Calculate_Strains_Due_To_Prestressing(m, ws);
    }
}

double fn_Initial_Curvature_Increment(int iunits, double D) {
    if (iunits == USCS) {
        return 1.25e-6 / std::max(1.0, std::round(D / 24.0));
    }
    if (iunits == SI) {
        return 4.921259901994065e-5 /
               std::max(1.0, std::round(D / static_cast<double>(0.0254f) / 24.0));
    }
    // General units: keep the product of curvature and depth of a 24 in section.
    return D > 0.0 ? 1.25e-6 * 24.0 / D : 0.0;
}

double fn_Curvature_Step_Factor(int k) {
    if (k >= 120) {
        return 48.0;
    }
    if (k >= 80) {
        return 8.0;
    }
    if (k >= 40) {
        return 2.0;
    }
    return 1.0;
}

double fn_Curvature_Step(const SectionWorkspace& ws, int t, int k, double P) {
    const double step = ws.Curvature_Increment * fn_Curvature_Step_Factor(k);
    if (P >= 0.0 || k < 120 || !Is_Prestressed(ws)) {
        return step;
    }
    // Under a large tension the compression zone of a prestressed pile is shallow, and the fixed
    // schedule can end before the top fibre crushes. Over the last band the step is then stretched
    // so that the end of the concrete law is reached a few points before the table is full, at the
    // current neutral-axis depth; the depth only shrinks as the curvature grows, so the
    // estimate is renewed at every step. Curves that reach the crushing strain anyway keep
    // the fixed schedule.
    const double phi = ws.Curv[t][k - 1];
    const double depth = ws.Yn[t][k - 1];
    if (depth <= 0.0) {
        return step;
    }
    constexpr int SPARE_POINTS = 10;
    const int remaining = std::max(1, MAX_MC_POINTS - SPARE_POINTS + 1 - k);
    const double needed = (EPS_STOP / depth - phi) / static_cast<double>(remaining);
    return std::max(step, needed);
}

double fn_Pipe_Wall_Area(const SectionWorkspace& ws) {
    const double D = ws.Casing_Diameter;
    const double d = D - 2.0 * ws.Casing_Wall;
    return std::numbers::pi * (D * D - d * d) / 4.0;
}

double fn_Pipe_Curvature_Increment(const SectionWorkspace& ws, double P) {
    const double A = fn_Pipe_Wall_Area(ws);
    const double E = ws.Casing_E;
    return (static_cast<double>(1.7f) * ws.Casing_Fy / E - P / (A * E)) /
           (ws.Casing_Diameter / 2.0) / 80.0;
}

namespace {

// The stress of greatest magnitude over the slices (the first one on a tie), or zero.
double Largest_Magnitude(const SliceArray& stress, int n) {
    double largest = 0.0;
    for (int i = 1; i <= n; ++i) {
        if (std::fabs(stress[i]) > std::fabs(largest)) {
            largest = stress[i];
        }
    }
    return largest;
}

bool Has_Casing(const SectionWorkspace& ws) {
    const int kind = ws.i_Geometry_Kind;
    return kind == GEOM_PIPE ||
           ((kind == GEOM_CASED || kind == GEOM_CASED_CORE) && ws.Casing_Wall > 0.0);
}

bool Has_Core_Tube(const SectionWorkspace& ws) {
    const int kind = ws.i_Geometry_Kind;
    return (kind == GEOM_RECTANGLE_CORE || kind == GEOM_CIRCLE_VOID || kind == GEOM_CASED_CORE) &&
           ws.Core_Wall > 0.0;
}

} // namespace

namespace {

// The largest stresses of point k.
void Store_Max_Stresses(SectionWorkspace& ws, int t, int k, double conc, double steel,
                        double casing, double core) {
    ws.Max_Concrete[t][k] = conc;
    ws.Max_Steel[t][k] = steel;
    ws.Max_Casing[t][k] = casing;
    ws.Max_Core[t][k] = core;
}

// The moment of point k from its sum over the slices, with its stiffness and strains.
void Store_Moment(SectionWorkspace& ws, int t, int k, double sum) {
    // The stored curve of a concrete section never descends.
    if (ws.i_Geometry_Kind != GEOM_PIPE && k >= 2) {
        sum = std::max(ws.M[t][k - 1], sum);
    }
    const double phi = ws.Curv[t][k];
    const double yn = ws.Yn[t][k];
    ws.M[t][k] = sum;
    ws.EI[t][k] = sum / phi;
    ws.Eps_Top[t][k] = phi * yn;
    ws.Eps_Bot[t][k] = phi * (yn - ws.H);
    // Least strain over the bars, each at its own position.
    double least = 0.0;
    for (int b = 1; b <= ws.i_Num_Bars; ++b) {
        const double e = (yn - (ws.Y_Top - ws.Bar_Y[b])) * phi;
        if (b == 1 || e < least) {
            least = e;
        }
    }
    ws.Least_Bar_Strain[t][k] = least;
}

} // namespace

void Find_Max_Stresses(SectionWorkspace& ws, const ForceOnlyPass& pass, int t, int k) {
    const int n = ws.i_Num_Slices;
    const bool pipe = ws.i_Geometry_Kind == GEOM_PIPE;
    double conc = 0.0;
    if (!pipe && n >= 1) {
        conc = ws.Stress_Concrete[1];
        for (int i = 2; i <= n; ++i) {
            if (ws.Stress_Concrete[i] > conc) {
                conc = ws.Stress_Concrete[i];
            }
        }
    }
    // Only the slices that hold steel can carry the largest bar stress; they are taken in
    // slice order, so a tie goes to the same slice as in a scan of all of them.
    double steel = 0.0;
    for (int j = 1; j <= pass.num_bar_slices; ++j) {
        const int i = pass.bar_slices[j];
        if (ws.Area_Bars[i] > 0.0 && std::fabs(ws.Stress_Bars[i]) > std::fabs(steel)) {
            steel = ws.Stress_Bars[i];
        }
    }
    // A section without a casing or a core tube never gives those stresses a value: they
    // keep the zero they start with.
    Store_Max_Stresses(ws, t, k, conc, steel,
                       Has_Casing(ws) ? Largest_Magnitude(ws.Stress_Casing, n) : 0.0,
                       Has_Core_Tube(ws) ? Largest_Magnitude(ws.Stress_Core_Tube, n) : 0.0);
}

void Compute_Section_Moments(SectionWorkspace& ws, int t, int k) {
    const int n = ws.i_Num_Slices;
    const int kind = ws.i_Geometry_Kind;
    const bool pipe = kind == GEOM_PIPE;
    const bool casing = !pipe && Has_Casing(ws);
    const bool core_kind =
        kind == GEOM_RECTANGLE_CORE || kind == GEOM_CIRCLE_VOID || kind == GEOM_CASED_CORE;
    const bool core_tube = core_kind && ws.Core_Wall > 0.0;
    const bool core_concrete = core_kind && ws.i_Core_Concrete_Model == 2 && ws.b_Core_Filled;
    const double half = ws.H / 2.0;
    double sum = 0.0;
    if (pipe) {
        for (int i = 1; i <= n; ++i) {
            const double arm = half - ws.Slice_Depth[i];
            sum += ws.Stress_Casing[i] * ws.Area_Casing[i] * arm;
        }
    } else if (!casing && !core_tube && !core_concrete) {
        for (int i = 1; i <= n; ++i) {
            const double arm = half - ws.Slice_Depth[i];
            const double f =
                ws.Stress_Concrete[i] * ws.Area_Concrete[i] + ws.Stress_Bars[i] * ws.Area_Bars[i];
            sum += f * arm;
        }
    } else {
        for (int i = 1; i <= n; ++i) {
            const double arm = half - ws.Slice_Depth[i];
            double f =
                ws.Stress_Concrete[i] * ws.Area_Concrete[i] + ws.Stress_Bars[i] * ws.Area_Bars[i];
            if (casing) {
                f += ws.Stress_Casing[i] * ws.Area_Casing[i];
            }
            if (core_tube) {
                f += ws.Stress_Core_Tube[i] * ws.Area_Core_Tube[i];
            }
            if (core_concrete) {
                f += ws.Stress_Core_Concrete[i] * ws.Area_Core_Concrete[i];
            }
            sum += f * arm;
        }
    }
    Store_Moment(ws, t, k, sum);
}

namespace {

// Point k of a section of concrete and bars at the depth ws.y_n, in one pass over the slices:
// the strain and stresses of each slice as in the full evaluation, its force added to the
// component sums, its moment to the moment sum and its stresses to the largest ones, each
// sum and comparison in slice order as in the separate routines.
//
// Two kinds of terms are left out, both of which add exactly nothing. The bar stress of a
// slice without steel enters the moment as stress times zero area, a zero, and adding a zero
// to a slice force that is not zero leaves it as it is, while a zero slice force adds a zero
// to the moment. And under strains that fall down the section, the concrete of every slice
// from the first cracked one in tension on has a stress of +0: its concrete force and its
// moment without steel are zeros, so only the slices holding steel are visited there. Adding
// a zero of either sign changes a sum only if the sum is -0, and none of these sums can be:
// they start at +0, and in round-to-nearest a sum is -0 only when both terms are.
void Concrete_And_Bars_Point(SectionWorkspace& ws, const ForceOnlyPass& pass, int t, int k) {
    const int n = ws.i_Num_Slices;
    const double phi = ws.Phi;
    const double y_n = ws.y_n;
    ws.e_Bottom = (y_n - ws.H) * phi;
    bool cracked = ws.b_Tension_Off || ws.e_Bottom < ws.ecr;
    const bool tension_off = ws.b_Tension_Off;
    const bool strains_fall = pass.depths_increase && phi > 0.0;
    const bool bars_present = ws.i_Num_Bars > 0;
    const double Es = ws.Es;
    const double fy = ws.fy;
    const double ft = ws.ft;
    const double half = ws.H / 2.0;
    double concrete = 0.0;
    double bars = 0.0;
    double moment = 0.0;
    double conc = 0.0;
    double steel = 0.0;
    bool yielded = false;
    // The bar force of slice i, which holds steel, after adding it to the bar sums.
    auto bar_force = [&](int i, double e) {
        bool bar_yielded = false;
        const double sb = fn_Elastic_Plastic_Stress(e, Es, fy, bar_yielded);
        const double area = ws.Area_Bars[i];
        // Only a slice that holds steel can signal yielding of the reinforcement.
        if (bar_yielded && bars_present && area > 0.0) {
            yielded = true;
        }
        if (area > 0.0 && std::fabs(sb) > std::fabs(steel)) {
            steel = sb;
        }
        const double force = sb * area;
        bars += force;
        return force;
    };
    int j = 1; // the next entry of the slices that hold steel
    int next_bar = pass.num_bar_slices >= 1 ? pass.bar_slices[1] : n + 1;
    int i = 1;
    for (; i <= n; ++i) {
        const double d = ws.Slice_Depth[i];
        const double e = (y_n - d) * phi;
        double s = 0.0;
        if (e <= 0.0) {
            if (!cracked) {
                s = Tension_Until_Cracked(ws, e, ft, tension_off, cracked);
            } else if (strains_fall) {
                break; // the cracked tension zone, down to the bottom
            }
        } else {
            s = fn_Concrete_Compression(ws, e);
        }
        if (i == 1 || s > conc) {
            conc = s;
        }
        double f = s * ws.Area_Concrete[i];
        concrete += f;
        if (i == next_bar) {
            f += bar_force(i, e);
            ++j;
            next_bar = j <= pass.num_bar_slices ? pass.bar_slices[j] : n + 1;
        }
        moment += f * (half - d);
    }
    if (i <= n) {
        // The concrete stresses of +0 from slice i on: the first of them is the largest so
        // far if it is slice 1 or the stresses above were all tensile.
        if (i == 1 || 0.0 > conc) {
            conc = 0.0;
        }
        for (; j <= pass.num_bar_slices; ++j) {
            const int b = pass.bar_slices[j];
            const double d = ws.Slice_Depth[b];
            moment += bar_force(b, (y_n - d) * phi) * (half - d);
        }
    }
    ws.b_Eval_Cracked = cracked;
    ws.b_Eval_Yielded = yielded;
    ws.Force_Concrete = concrete;
    ws.Force_Bars = bars;
    ws.Force_Casing = ws.Force_Core_Tube = ws.Force_Core_Concrete = 0.0;
    ws.N = ws.Force_Concrete + ws.Force_Casing + ws.Force_Bars + ws.Force_Core_Tube +
           ws.Force_Core_Concrete;
    Store_Max_Stresses(ws, t, k, conc, steel, 0.0, 0.0);
    Store_Moment(ws, t, k, moment);
}

// Point k of a steel pipe at the depth ws.y_n in one pass: the casing stress of each slice,
// its force, its moment and the casing stress of greatest magnitude, in slice order.
void Pipe_Point(SectionWorkspace& ws, const ForceOnlyPass& pass, int t, int k) {
    const int n = ws.i_Num_Slices;
    const double phi = ws.Phi;
    const double y_n = ws.y_n;
    const double E = ws.Casing_E;
    const double Fy = ws.Casing_Fy;
    const double half = ws.H / 2.0;
    bool yielded = false;
    double force = 0.0;
    double moment = 0.0;
    double largest = 0.0;
    if (Pipe_Bands_Apply(ws, pass)) {
        // With the strains falling down the section the stress does not rise from slice to
        // slice (Pipe_Band_Ends), so the slices fall into bands: the yielded ones take their
        // forces and moments from the pass, which sums them in the same order, and only the
        // elastic ones are formed here. The steel has yielded where a band of yielded slices
        // exists, and the stress of greatest magnitude is the first or the last slice's: the
        // stresses between lie within them, and a stress equal to the last one is that same
        // value wherever it first occurs.
        const SteelBandEnds ends = Pipe_Band_Ends(ws, y_n);
        force = pass.casing_bands.compressed[ends.elastic - 1];
        moment = pass.casing_moments.compressed[ends.elastic - 1];
        for (int i = ends.elastic; i < ends.tension; ++i) {
            const double d = ws.Slice_Depth[i];
            const double f = E * ((y_n - d) * phi) * ws.Area_Casing[i];
            force += f;
            moment += f * (half - d);
        }
        for (int i = ends.tension; i <= n; ++i) {
            force += pass.casing_bands.in_tension[i];
            moment += pass.casing_moments.in_tension[i];
        }
        yielded = ends.elastic > 1 || ends.tension <= n;
        bool ignored = false;
        for (const int i : {1, n}) {
            const double s =
                fn_Elastic_Plastic_Stress((y_n - ws.Slice_Depth[i]) * phi, E, Fy, ignored);
            if (std::fabs(s) > std::fabs(largest)) {
                largest = s;
            }
        }
    } else {
        for (int i = 1; i <= n; ++i) {
            const double d = ws.Slice_Depth[i];
            const double s = fn_Elastic_Plastic_Stress((y_n - d) * phi, E, Fy, yielded);
            const double f = s * ws.Area_Casing[i];
            force += f;
            moment += f * (half - d);
            if (std::fabs(s) > std::fabs(largest)) {
                largest = s;
            }
        }
    }
    ws.b_Eval_Cracked = false;
    ws.b_Eval_Yielded = yielded;
    ws.Force_Concrete = ws.Force_Bars = ws.Force_Core_Tube = ws.Force_Core_Concrete = 0.0;
    ws.Force_Casing = force;
    ws.N = force;
    Store_Max_Stresses(ws, t, k, 0.0, 0.0, largest, 0.0);
    Store_Moment(ws, t, k, moment);
}

} // namespace

void Evaluate_Point(SectionWorkspace& ws, const ForceOnlyPass& pass, int t, int k) {
    if (pass.usable) {
        Concrete_And_Bars_Point(ws, pass, t, k);
        return;
    }
    // A pipe's slices hold no bars; were there any, the general route takes them.
    if (pass.pipe && pass.num_bar_slices == 0) {
        Pipe_Point(ws, pass, t, k);
        return;
    }
    if (pass.pipe || pass.composite) {
        Compute_Axial_Thrust_Force(ws, ws.y_n);
    }
    Find_Max_Stresses(ws, pass, t, k);
    Compute_Section_Moments(ws, t, k);
}

void Compute_Nominal_Moment_Capacity(AnalysisModel& m, SectionWorkspace& ws, int t) {
    const int n = ws.n_Points[t];
    if (n < 1) {
        ws.Mn[t] = 0.0;
        ws.Strain_At_Mn[t] = 0.0;
        return;
    }
    if (ws.i_Geometry_Kind == GEOM_PIPE) {
        ws.Mn[t] = ws.M[t][n];
        ws.Strain_At_Mn[t] = ws.Eps_Top[t][n];
        return;
    }
    const auto& e = ws.Eps_Top[t];
    const auto& M = ws.M[t];
    if (n < 2) {
        ws.Mn[t] = M[1];
        ws.Strain_At_Mn[t] = e[1];
        if (ws.Thrust[t] > 0.0) {
            Record_Warning(m, -355);
        }
        return;
    }
    int l = 1;
    while (e[l + 1] < EPS_CU && l + 1 < n) {
        ++l;
    }
    if (e[l + 1] > EPS_CU && M[l + 1] > 0.0) {
        ws.Mn[t] = M[l] + (M[l + 1] - M[l]) * (EPS_CU - e[l]) / (e[l + 1] - e[l]);
        ws.Strain_At_Mn[t] = EPS_CU;
    } else {
        ws.Mn[t] = M[l];
        ws.Strain_At_Mn[t] = e[l];
        if (ws.Thrust[t] > 0.0) {
            Record_Warning(m, -355);
        }
    }
}

double Interpolate_EI_At_Moment(const SectionWorkspace& ws, int t, double M_target) {
    const auto& M = ws.M[t];
    const auto& EI = ws.EI[t];
    const int n = ws.n_Points[t];
    if (n < 2) {
        return n == 1 ? EI[1] : 0.0;
    }
    int j = 1;
    while (j + 1 < n && M_target > M[j + 1]) {
        ++j;
    }
    const double dm = M[j + 1] - M[j];
    if (dm == 0.0) {
        return EI[j];
    }
    return EI[j] + (M_target - M[j]) * (EI[j + 1] - EI[j]) / dm;
}

namespace {

void Write_Negative_Moment_Warning(AnalysisModel& m) {
    TextFile& r = m.Report;
    r.Blank_Lines(1);
    r.Write_Line("Warning - Negative values of bending moment were computed.");
    r.Write_Line("This usually indicates that the pile is too weak or is ");
    r.Write_Line("under-reinforced, where all reinforcing steel has yielded.");
    r.Write_Line("You should examine your input data and increase the amount");
    r.Write_Line("of steel reinforcement if necessary.");
    Record_Warning(m, -306);
}

} // namespace

void Compute_Thrust_Curve(AnalysisModel& m, SectionWorkspace& ws, int t) {
    const bool pipe = ws.i_Geometry_Kind == GEOM_PIPE;
    const double P = ws.Thrust[t];
    ws.P_Target = P;
    ws.b_Stop = false;
    ws.b_Yielded = false;
    // A tension beyond the cracking load leaves the concrete without tensile strength
    // from the first step on. A prestressed pile is taken as cracked once the tension has
    // removed its precompression: the concrete would then hold the thrust by its tensile
    // strength alone, and the slightest bending would crack it through, dropping the moment
    // from the uncracked to the strands-only value (a snap the secant stiffness of the
    // lateral iteration cannot follow). Its tensile strength is not relied on there.
    const double tension_off_load =
        Is_Prestressed(ws) ? std::max(ws.Pcr, ws.Decompression_Load) : ws.Pcr;
    if (!pipe && P < 0.0 && P < tension_off_load) {
        ws.b_Tension_Off = true;
        ws.b_Cracked = true;
    } else {
        ws.b_Tension_Off = false;
        ws.b_Cracked = false;
    }
    if (pipe) {
        ws.Curvature_Increment = fn_Pipe_Curvature_Increment(ws, P);
    }
    const double d0 = ws.Curvature_Increment;
    ws.y_n_Seed = ws.H / 2.0;
    ws.Yn[t][1] = 0.0;
    const double A_pipe = pipe ? fn_Pipe_Wall_Area(ws) : 0.0;
    const int kind = ws.i_Geometry_Kind;
    // The slices do not change along the curve.
    const ForceOnlyPass pass = Prepare_Force_Only_Pass(ws);
    int k = 0;
    while (true) {
        ++k;
        ws.Curv[t][k] = k == 1 ? d0 : ws.Curv[t][k - 1] + fn_Curvature_Step(ws, t, k, P);
        ws.Phi = ws.Curv[t][k];
        if (!Find_Neutral_Axis(m, ws, pass, t, k)) {
            if (m.RunStatus > 0) {
                return;
            }
            // No equilibrium at this curvature: the section has reached its capacity under
            // the thrust, and the curve ends with the previous point.
            --k;
            break;
        }
        Evaluate_Point(ws, pass, t, k);
        ws.b_Cracked = ws.b_Cracked || ws.b_Eval_Cracked;
        ws.b_Yielded = ws.b_Yielded || ws.b_Eval_Yielded;

        auto& msg = ws.Msg[t][k];
        msg = {' ', ' ', ' '};
        const double top = ws.Eps_Top[t][k];
        if (!pipe && ws.b_Cracked) {
            msg[0] = 'C';
        }
        if (kind >= GEOM_RECTANGLE && kind <= GEOM_CASED_CORE && ws.i_Num_Bars > 0 &&
            ws.Least_Bar_Strain[t][k] < EPS_TENSION_T && top >= EPS_CU) {
            msg[2] = 'T';
        }
        if (!pipe) {
            if (top >= EPS_STOP) {
                ws.b_Stop = true;
            }
            // A compression zone shrinking to the top tenth of a prestressed pile means the
            // strands have run far past yield: the end of a useful curve. Under a tensile
            // thrust the neutral axis starts above the section and only moves down into it
            // as the curvature grows, so a shallow axis there says nothing about the strands.
            if (Is_Prestressed(ws) && P >= 0.0 && ws.Yn[t][k] < static_cast<double>(0.1f) * ws.H) {
                msg[1] = 'Z';
                ws.b_Stop = true;
            } else if (ws.b_Yielded) {
                msg[1] = 'Y';
            }
        } else {
            const double E = ws.Casing_E;
            const double limit = 5.0 * ws.Casing_Fy / E - P / (A_pipe * E);
            if (limit <= std::max(std::fabs(top), std::fabs(ws.Eps_Bot[t][k]))) {
                ws.b_Stop = true;
            }
            if (ws.b_Yielded) {
                msg[1] = 'Y';
            }
        }
        if (ws.M[t][k] <= 0.0) {
            Write_Negative_Moment_Warning(m);
            ws.b_Stop = true;
        }
        if (k >= MAX_MC_POINTS) {
            ws.b_Stop = true;
        }
        if (ws.b_Stop) {
            break;
        }
    }
    ws.n_Points[t] = k;
    Compute_Nominal_Moment_Capacity(m, ws, t);
}

} // namespace zarno
