#include "section/neutral_axis.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "section/materials.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace zarno {

namespace {

double Resultant(const SliceArray& stress, const SliceArray& area, int n) {
    double f = 0.0;
    for (int i = 1; i <= n; ++i) {
        f += stress[i] * area[i];
    }
    return f;
}

// Elastic-perfectly plastic steel at strain e, for the trials that need only the force
// (the same comparisons as fn_Elastic_Plastic_Stress, without its yield flag).
inline double Steel_Stress(double e, double E, double Fy) {
    const double s = E * e;
    if (s >= Fy) {
        return Fy;
    }
    if (s <= -Fy) {
        return -Fy;
    }
    return s;
}

} // namespace

namespace {

// Safe search for a neutral axis that Newton's method could not settle: near the axial
// capacity the resultant flattens at the peak of the concrete law and a Newton step can
// land where the whole section has crushed and the resultant no longer changes. Moving the
// neutral axis down from far above the section, the resultant rises from the full tension
// of the steel to a peak in compression and falls again only once the concrete crushes;
// the equilibrium depth is the first crossing of the target on that rise. It is bracketed
// on a grid fine in strain (5e-6 at the top fibre) and bisected to the tolerance. Returns
// false when there is no crossing.
bool Bracketed_Neutral_Axis(SectionWorkspace& ws, double tol, double& y_found) {
    const double H = ws.H;
    const double phi = std::fabs(ws.Phi);
    if (!(phi > 0.0) || !(H > 0.0)) {
        return false;
    }
    auto residual = [&](double y) {
        Compute_Axial_Thrust_Force(ws, y);
        return ws.N - ws.P_Target;
    };
    // Beyond these depths every fibre is strained past the end of the material laws.
    const double reach = 0.01 / phi;
    double lo = -reach;
    if (residual(lo) >= 0.0) {
        return false;
    }
    const double step = 5.0e-6 / phi;
    double hi = lo;
    bool bracketed = false;
    while (hi < H + reach) {
        hi = lo + step;
        if (residual(hi) >= 0.0) {
            bracketed = true;
            break;
        }
        lo = hi;
    }
    if (!bracketed) {
        return false;
    }
    while (hi - lo > tol) {
        const double mid = 0.5 * (lo + hi);
        (residual(mid) < 0.0 ? lo : hi) = mid;
    }
    y_found = 0.5 * (lo + hi);
    residual(y_found);
    return true;
}

} // namespace

namespace {

// One pass over the slices for the strain, the concrete and (with Bars) the bar stresses and
// their resultants. Each quantity is formed by the same expression, and each resultant summed
// in the same slice order, as by the separate material routines, so the results are the same
// to the last bit; the pass only saves re-reading the strains and the per-call overhead.
template <bool Bars> void Concrete_And_Bar_Forces(SectionWorkspace& ws, double y_n) {
    const int n = ws.i_Num_Slices;
    const double phi = ws.Phi;
    // The extreme tension fibre decides whether the section has cracked at all.
    ws.e_Bottom = (y_n - ws.H) * phi;
    bool cracked = ws.b_Tension_Off || ws.e_Bottom < ws.ecr;
    const bool tension_off = ws.b_Tension_Off;
    const bool bars_present = ws.i_Num_Bars > 0;
    const double Es = ws.Es;
    const double fy = ws.fy;
    const double ft = ws.ft;
    double concrete = 0.0;
    double bars = 0.0;
    bool yielded = false;
    for (int i = 1; i <= n; ++i) {
        const double e = (y_n - ws.Slice_Depth[i]) * phi;
        ws.Strain[i] = e;
        double s = 0.0;
        if (e <= 0.0) {
            if (!cracked) {
                s = Tension_Until_Cracked(ws, e, ft, tension_off, cracked);
            }
        } else {
            s = fn_Concrete_Compression(ws, e);
        }
        ws.Stress_Concrete[i] = s;
        concrete += s * ws.Area_Concrete[i];
        if constexpr (Bars) {
            bool bar_yielded = false;
            const double sb = fn_Elastic_Plastic_Stress(e, Es, fy, bar_yielded);
            ws.Stress_Bars[i] = sb;
            // Most slices hold no steel: a term of exactly zero area adds a signed zero,
            // which leaves the sum as it is (it starts at +0 and so is never -0).
            const double area = ws.Area_Bars[i];
            if (area != 0.0) {
                // Only a slice that holds steel can signal yielding of the reinforcement.
                if (bar_yielded && bars_present && area > 0.0) {
                    yielded = true;
                }
                bars += sb * area;
            }
        }
    }
    ws.b_Eval_Cracked = ws.b_Eval_Cracked || cracked;
    ws.Force_Concrete = concrete;
    if constexpr (Bars) {
        ws.b_Eval_Yielded = ws.b_Eval_Yielded || yielded;
        ws.Force_Bars = bars;
    }
}

// Strain, casing stress and resultant of a steel pipe in one pass.
void Pipe_Force(SectionWorkspace& ws, double y_n) {
    const int n = ws.i_Num_Slices;
    const double phi = ws.Phi;
    const double E = ws.Casing_E;
    const double Fy = ws.Casing_Fy;
    bool yielded = false;
    double f = 0.0;
    for (int i = 1; i <= n; ++i) {
        const double e = (y_n - ws.Slice_Depth[i]) * phi;
        ws.Strain[i] = e;
        const double s = fn_Elastic_Plastic_Stress(e, E, Fy, yielded);
        ws.Stress_Casing[i] = s;
        f += s * ws.Area_Casing[i];
    }
    ws.b_Eval_Yielded = ws.b_Eval_Yielded || yielded;
    ws.Force_Casing = f;
}

} // namespace

void Compute_Axial_Thrust_Force(SectionWorkspace& ws, double y_n) {
    const int n = ws.i_Num_Slices;
    ws.y_n = y_n;
    ws.b_Eval_Cracked = false;
    ws.b_Eval_Yielded = false;
    ws.Force_Concrete = ws.Force_Bars = ws.Force_Casing = 0.0;
    ws.Force_Core_Tube = ws.Force_Core_Concrete = 0.0;
    const int kind = ws.i_Geometry_Kind;
    if (kind == GEOM_PIPE) {
        Pipe_Force(ws, y_n);
        ws.N = ws.Force_Casing;
        return;
    }
    const bool bars = ws.i_Reinf_Kind == REINF_BARS;
    if (bars) {
        Concrete_And_Bar_Forces<true>(ws, y_n);
    } else {
        Concrete_And_Bar_Forces<false>(ws, y_n);
    }
    if ((kind == GEOM_CASED || kind == GEOM_CASED_CORE) && ws.Casing_Wall > 0.0) {
        Compute_Casing_Stresses(ws);
        ws.Force_Casing = Resultant(ws.Stress_Casing, ws.Area_Casing, n);
    }
    if (!bars) {
        Compute_Reinforcement_Stresses(ws);
        ws.Force_Bars = Resultant(ws.Stress_Bars, ws.Area_Bars, n);
    }
    if (kind == GEOM_RECTANGLE_CORE || kind == GEOM_CIRCLE_VOID || kind == GEOM_CASED_CORE) {
        if (ws.Core_Wall > 0.0) {
            Compute_Core_Steel_Stresses(ws);
            ws.Force_Core_Tube = Resultant(ws.Stress_Core_Tube, ws.Area_Core_Tube, n);
        }
        if (ws.i_Core_Concrete_Model == 2 && ws.b_Core_Filled) {
            Compute_Core_Concrete_Stresses(ws);
            ws.Force_Core_Concrete = Resultant(ws.Stress_Core_Concrete, ws.Area_Core_Concrete, n);
        }
    }
    ws.N = ws.Force_Concrete + ws.Force_Casing + ws.Force_Bars + ws.Force_Core_Tube +
           ws.Force_Core_Concrete;
}

namespace {

// The casing force of a steel pipe at the trial depths y_n, the body of Pipe_Force without
// the stored slices: the same steel law (its limits formed once), the same sum in slice
// order for each trial.
std::array<double, TRIALS_PER_PASS> Pipe_Forces(const SectionWorkspace& ws,
                                                const std::array<double, TRIALS_PER_PASS>& y_n) {
    const int n = ws.i_Num_Slices;
    const double phi = ws.Phi;
    const double E = ws.Casing_E;
    const double Fy = ws.Casing_Fy;
    auto law = [&](double e) { return Steel_Stress(e, E, Fy); };
    const double ya = y_n[0];
    const double yb = y_n[1];
    const double yc = y_n[2];
    double fa = 0.0;
    double fb = 0.0;
    double fc = 0.0;
    for (int i = 1; i <= n; ++i) {
        const double d = ws.Slice_Depth[i];
        const double A = ws.Area_Casing[i];
        fa += law((ya - d) * phi) * A;
        fb += law((yb - d) * phi) * A;
        fc += law((yc - d) * phi) * A;
    }
    return {fa, fb, fc};
}

} // namespace

namespace {

// The concrete force at the trial depth y when the strains fall down the section (slice
// depths increase, the curvature is positive), cracked telling whether the trial starts
// cracked. Each slice's strain is then no larger than the one above it, and so is its
// strain over e0 (a division by the same positive number keeps the order), so the slices
// fall into bands in section order: crushed (strain beyond the end of the law), softening
// (strain over e0 of one or more), parabolic (positive strain), uncracked tension and,
// from the first cracked slice on, cracked tension, whose stresses of zero add nothing. The
// slices of each band take the stress the concrete law gives them and are added in slice
// order, as in the full evaluation; what differs is only that a slice is not asked again
// what the band it lies in already answers (whether it is crushed, in tension, or below
// e0), and the pass ends at the cracked band.
double Concrete_Force_Strains_Falling(const SectionWorkspace& ws, double y, bool cracked) {
    const std::ptrdiff_t n = ws.i_Num_Slices;
    const double phi = ws.Phi;
    const double fc = ws.fc;
    const double e0 = ws.e0;
    double sum = 0.0;
    std::ptrdiff_t i = 1;
    for (; i <= n; ++i) {
        const double e = (y - ws.Slice_Depth[i]) * phi;
        if (!(e > CONCRETE_CRUSHING_STRAIN)) {
            break;
        }
        sum += CRUSHED_CONCRETE_STRESS * ws.Area_Concrete[i];
    }
    for (; i <= n; ++i) {
        const double e = (y - ws.Slice_Depth[i]) * phi;
        const double x = e / e0;
        if (x < 1.0) {
            break;
        }
        sum += (fc - ws.fc_15 * (e - e0) / ws.e_Softening) * ws.Area_Concrete[i];
    }
    for (; i <= n; ++i) {
        const double e = (y - ws.Slice_Depth[i]) * phi;
        if (e <= 0.0) {
            break;
        }
        const double x = e / e0;
        sum += fc * (2.0 * x - x * x) * ws.Area_Concrete[i];
    }
    if (!cracked) {
        const double ft = ws.ft;
        for (; i <= n; ++i) {
            const double s = fn_Concrete_Tension(ws, (y - ws.Slice_Depth[i]) * phi);
            if (s < ft) {
                break; // cracks here
            }
            sum += s * ws.Area_Concrete[i];
        }
    }
    return sum;
}

// Whether the steel law of modulus E can be taken by bands.
bool Steel_Bands_Apply(double E) {
    return E > 0.0 && E < HUGE_VAL;
}

// The first j of first .. count at which in_band(j) fails, or count + 1, where in_band holds
// for a run of j from first on and fails from there on: the j at which a scan from first
// would stop. The range that holds it shrinks with every probe, each probe j telling whether
// the end lies after j (in_band(j) holds) or at j or before. A guess (the end found for a
// nearby trial) is probed first, at guess - 1 and guess. Then the range is probed from the
// side where the end is expected, a step of 1 growing twofold, so that an end near that side
// (an empty band most often) costs a probe or two, and a band of any length a number of
// probes growing with its logarithm; the last range is halved.
template <typename InBand>
int Band_End(int first, int count, InBand in_band, int guess, bool near_count) {
    int last = count + 1;
    if (guess > 0 && guess >= first && guess <= last) { // 0: no guess
        if (guess > first) {
            if (in_band(guess - 1)) {
                first = guess;
            } else {
                last = guess - 1;
            }
        }
        if (first == guess && guess < last) {
            if (in_band(guess)) {
                first = guess + 1;
            } else {
                last = guess;
            }
        }
    }
    for (int step = 1; first < last; step = std::min(2 * step, last - first)) {
        if (near_count) {
            const int probe = std::max(last - step, first);
            if (in_band(probe)) {
                first = probe + 1;
                break;
            }
            last = probe;
        } else {
            const int probe = std::min(first + step - 1, last - 1);
            if (!in_band(probe)) {
                last = probe;
                break;
            }
            first = probe + 1;
        }
    }
    while (first < last) {
        const int mid = first + (last - first) / 2;
        if (in_band(mid)) {
            first = mid + 1;
        } else {
            last = mid;
        }
    }
    return first;
}

// The force of an elastic-perfectly plastic steel (modulus E > 0, yield stress Fy) at the trial
// depth y when the strains fall down the section, over count slices, the j-th being
// slice_of(j), in section order, of the given areas; bands holds the yielded forces of these
// slices under Fy. With depths increasing and phi > 0, y - d, its product with phi and that
// with E are each rounded from a value that does not rise from slice to slice, and rounding
// keeps that order, so the stress E e is no larger in a slice than in the one above: the slices
// fall into bands in section order, yielded in compression (E e >= Fy), elastic and yielded in
// tension (E e <= -Fy). The ends of the bands are therefore found by probing (Band_End), at
// the slices a scan would stop at; guess, when given, holds the ends of a nearby trial. The sum is
// that of a pass over the slices in slice order: the compressed band's own running sum from +0
// (taken from bands), then each elastic slice's E e A and each slice in tension's -Fy A added in
// turn.
template <typename SliceOf>
SteelBandEnds Steel_Band_Ends(const SectionWorkspace& ws, int count, SliceOf slice_of, double y,
                              double E, double Fy, SteelBandEnds guess = {0, 0}) {
    const double phi = ws.Phi;
    auto stress = [&](int j) { return E * ((y - ws.Slice_Depth[slice_of(j)]) * phi); };
    SteelBandEnds ends;
    // The compressed band starts at the top, the band in tension ends at the bottom.
    ends.elastic = Band_End(
        1, count, [&](int j) { return stress(j) >= Fy; }, guess.elastic, false);
    ends.tension = Band_End(
        ends.elastic, count, [&](int j) { return !(stress(j) <= -Fy); }, guess.tension, true);
    return ends;
}

// Kept out of line: inlined into the composite force, the compiler carried the elastic band's
// running sum through memory, so each slice waited for the store of the one before (the cased
// shaft's curve took half as long again).
template <typename SliceOf>
[[gnu::noinline]] double
Steel_Force_Strains_Falling(const SectionWorkspace& ws, const SliceArray& area,
                            const SteelBands& bands, int count, SliceOf slice_of, double y,
                            double E, double Fy) {
    const double phi = ws.Phi;
    const SteelBandEnds ends = Steel_Band_Ends(ws, count, slice_of, y, E, Fy);
    double sum = bands.compressed[ends.elastic - 1];
    for (int j = ends.elastic; j < ends.tension; ++j) {
        const int i = slice_of(j);
        sum += E * ((y - ws.Slice_Depth[i]) * phi) * area[i];
    }
    for (int j = ends.tension; j <= count; ++j) {
        sum += bands.in_tension[j];
    }
    return sum;
}

// The forces of an elastic-perfectly plastic steel at the trial depths y_n when the strains
// fall down the section, each what Steel_Force_Strains_Falling gives it: the same bands, and
// the same terms added to each trial's own sum in slice order. The trials of one Newton step
// lie close together, so their elastic bands mostly share slices: over the slices elastic in
// all three each slice's depth and area are read once for the three sums, and the first
// trial's band ends are the guess for the others.
template <typename SliceOf>
std::array<double, TRIALS_PER_PASS>
Steel_Forces_Strains_Falling(const SectionWorkspace& ws, const SliceArray& area,
                             const SteelBands& bands, int count, SliceOf slice_of,
                             const std::array<double, TRIALS_PER_PASS>& y_n, double E, double Fy) {
    const double phi = ws.Phi;
    const SliceArray& depth = ws.Slice_Depth;
    std::array<SteelBandEnds, TRIALS_PER_PASS> ends;
    std::array<double, TRIALS_PER_PASS> sum{};
    // The slices elastic in every trial.
    int shared_first = 1;
    int shared_end = count + 1;
    for (int t = 0; t < TRIALS_PER_PASS; ++t) {
        ends[t] = Steel_Band_Ends(ws, count, slice_of, y_n[t], E, Fy,
                                  t == 0 ? SteelBandEnds{0, 0} : ends[0]);
        sum[t] = bands.compressed[ends[t].elastic - 1];
        shared_first = std::max(shared_first, ends[t].elastic);
        shared_end = std::min(shared_end, ends[t].tension);
    }
    if (shared_first >= shared_end) {
        shared_first = shared_end = count + 1; // none: each trial takes its band alone
    }
    // Each trial's elastic slices above the shared ones.
    for (int t = 0; t < TRIALS_PER_PASS; ++t) {
        const int last = std::min(shared_first, ends[t].tension);
        for (int j = ends[t].elastic; j < last; ++j) {
            const int i = slice_of(j);
            sum[t] += E * ((y_n[t] - depth[i]) * phi) * area[i];
        }
    }
    double a = sum[0];
    double b = sum[1];
    double c = sum[2];
    const double ya = y_n[0];
    const double yb = y_n[1];
    const double yc = y_n[2];
    for (int j = shared_first; j < shared_end; ++j) {
        const int i = slice_of(j);
        const double d = depth[i];
        const double A = area[i];
        a += E * ((ya - d) * phi) * A;
        b += E * ((yb - d) * phi) * A;
        c += E * ((yc - d) * phi) * A;
    }
    sum = {a, b, c};
    // Each trial's elastic slices below the shared ones, then its slices in tension.
    for (int t = 0; t < TRIALS_PER_PASS; ++t) {
        for (int j = std::max(shared_end, ends[t].elastic); j < ends[t].tension; ++j) {
            const int i = slice_of(j);
            sum[t] += E * ((y_n[t] - depth[i]) * phi) * area[i];
        }
        for (int j = ends[t].tension; j <= count; ++j) {
            sum[t] += bands.in_tension[j];
        }
    }
    return sum;
}

// The yielded forces of the steel of yield stress Fy over count slices, the j-th being
// slice_of(j), of the given areas.
template <typename SliceOf>
SteelBands Yielded_Forces(const SliceArray& area, int count, SliceOf slice_of, double Fy) {
    SteelBands bands;
    const double yielded = -Fy;
    double sum = 0.0;
    for (int j = 1; j <= count; ++j) {
        const int i = slice_of(j);
        sum += Fy * area[i];
        bands.compressed[j] = sum;
        bands.in_tension[j] = yielded * area[i];
    }
    return bands;
}

} // namespace

ForceOnlyPass Prepare_Force_Only_Pass(const SectionWorkspace& ws) {
    ForceOnlyPass pass;
    const int kind = ws.i_Geometry_Kind;
    const bool casing = (kind == GEOM_CASED || kind == GEOM_CASED_CORE) && ws.Casing_Wall > 0.0;
    const bool core_kind =
        kind == GEOM_RECTANGLE_CORE || kind == GEOM_CIRCLE_VOID || kind == GEOM_CASED_CORE;
    pass.usable = kind != GEOM_PIPE && ws.i_Reinf_Kind == REINF_BARS && !casing && !core_kind;
    pass.pipe = kind == GEOM_PIPE;
    pass.composite = !pass.usable && !pass.pipe;
    pass.casing = casing;
    pass.core_tube = core_kind && ws.Core_Wall > 0.0;
    pass.core_concrete = core_kind && ws.i_Core_Concrete_Model == 2 && ws.b_Core_Filled;
    // A slice without steel adds a signed zero to the bar force, which leaves the sum as
    // it is. The slices that hold steel are listed for every section: the largest bar
    // stress is sought among them.
    pass.depths_increase = true;
    for (int i = 1; i <= ws.i_Num_Slices; ++i) {
        if (ws.Area_Bars[i] != 0.0) {
            pass.bar_slices[++pass.num_bar_slices] = i;
        }
        if (i > 1 && !(ws.Slice_Depth[i] > ws.Slice_Depth[i - 1])) {
            pass.depths_increase = false;
        }
    }
    const auto every_slice = [](int j) { return j; };
    if (pass.pipe || pass.casing) {
        pass.casing_bands =
            Yielded_Forces(ws.Area_Casing, ws.i_Num_Slices, every_slice, ws.Casing_Fy);
    }
    if (pass.pipe) {
        // The products of the one-pass point of a pipe: the force f = Fy A, or -Fy A, of the
        // slice times its arm.
        const double half = ws.H / 2.0;
        const double Fy = ws.Casing_Fy;
        const double yielded = -Fy;
        double sum = 0.0;
        for (int i = 1; i <= ws.i_Num_Slices; ++i) {
            const double arm = half - ws.Slice_Depth[i];
            sum += Fy * ws.Area_Casing[i] * arm;
            pass.casing_moments.compressed[i] = sum;
            pass.casing_moments.in_tension[i] = yielded * ws.Area_Casing[i] * arm;
        }
    }
    if (ws.i_Reinf_Kind == REINF_BARS) {
        const auto bar_slice = [&](int j) { return pass.bar_slices[j]; };
        pass.bar_bands = Yielded_Forces(ws.Area_Bars, pass.num_bar_slices, bar_slice, ws.fy);
    }
    if (pass.core_tube) {
        const int first = ws.i_Core_First_Slice;
        const auto tube_slice = [first](int j) { return first - 1 + j; };
        pass.core_tube_bands = Yielded_Forces(ws.Area_Core_Tube, ws.i_Core_Last_Slice - first + 1,
                                              tube_slice, ws.Core_Fy);
    }
    return pass;
}

bool Pipe_Bands_Apply(const SectionWorkspace& ws, const ForceOnlyPass& pass) {
    return pass.pipe && pass.depths_increase && ws.Phi > 0.0 && ws.i_Num_Slices >= 1 &&
           Steel_Bands_Apply(ws.Casing_E);
}

SteelBandEnds Pipe_Band_Ends(const SectionWorkspace& ws, double y) {
    return Steel_Band_Ends(
        ws, ws.i_Num_Slices, [](int j) { return j; }, y, ws.Casing_E, ws.Casing_Fy);
}

namespace {

// The force of concrete of the given slice areas at the trial depth y, slice by slice, under
// the compression law given: the law of the full evaluation, starting cracked or not, with
// the cracked tension zone adding nothing (and ending the pass once strains fall).
template <typename Compression>
double Concrete_Force_By_Slices(const SectionWorkspace& ws, const SliceArray& area, double y,
                                bool cracked, bool strains_fall, Compression compression) {
    const int n = ws.i_Num_Slices;
    const double phi = ws.Phi;
    const bool tension_off = ws.b_Tension_Off;
    const double ft = ws.ft;
    double sum = 0.0;
    for (int i = 1; i <= n; ++i) {
        const double e = (y - ws.Slice_Depth[i]) * phi;
        double s = 0.0;
        if (e <= 0.0) {
            if (cracked) {
                if (strains_fall) {
                    break;
                }
                continue;
            }
            s = Tension_Until_Cracked(ws, e, ft, tension_off, cracked);
            if (cracked) {
                continue;
            }
        } else {
            s = compression(ws, e);
        }
        sum += s * area[i];
    }
    return sum;
}

// The force of elastic-perfectly plastic steel (E, Fy) at the trial depth y over count
// slices, the j-th being slice_of(j), in slice order; by bands when strains fall.
template <typename SliceOf>
double Steel_Force(const SectionWorkspace& ws, const SliceArray& area, const SteelBands& bands,
                   int count, SliceOf slice_of, double y, double E, double Fy, bool strains_fall) {
    if (strains_fall && Steel_Bands_Apply(E)) {
        return Steel_Force_Strains_Falling(ws, area, bands, count, slice_of, y, E, Fy);
    }
    const double phi = ws.Phi;
    double sum = 0.0;
    for (int j = 1; j <= count; ++j) {
        const int i = slice_of(j);
        sum += Steel_Stress((y - ws.Slice_Depth[i]) * phi, E, Fy) * area[i];
    }
    return sum;
}

// The axial force of a composite section at the trial depth y: the component forces of the
// full evaluation, each summed in slice order, added in its order. A slice outside a
// component (no area, or outside the core tube, whose stress is then zero) adds a zero, which
// leaves a sum starting at +0 as it is, so only the slices that hold the component are taken.
double Composite_Force(const SectionWorkspace& ws, const ForceOnlyPass& pass, double y) {
    const int n = ws.i_Num_Slices;
    const double phi = ws.Phi;
    const bool strains_fall = pass.depths_increase && phi > 0.0;
    const bool cracked = ws.b_Tension_Off || (y - ws.H) * phi < ws.ecr;
    const auto every_slice = [](int j) { return j; };
    const auto bar_slice = [&](int j) { return pass.bar_slices[j]; };
    double concrete = 0.0;
    if (strains_fall && ws.e0 > 0.0 && ws.e0 < HUGE_VAL) {
        concrete = Concrete_Force_Strains_Falling(ws, y, cracked);
    } else {
        concrete = Concrete_Force_By_Slices(ws, ws.Area_Concrete, y, cracked, strains_fall,
                                            fn_Concrete_Compression);
    }
    double casing = 0.0;
    if (pass.casing) {
        casing = Steel_Force(ws, ws.Area_Casing, pass.casing_bands, n, every_slice, y, ws.Casing_E,
                             ws.Casing_Fy, strains_fall);
    }
    double bars = 0.0;
    if (ws.i_Reinf_Kind == REINF_BARS) {
        bars = Steel_Force(ws, ws.Area_Bars, pass.bar_bands, pass.num_bar_slices, bar_slice, y,
                           ws.Es, ws.fy, strains_fall);
    } else {
        const double k = Stress_Unit_Factor(ws.IUNITS);
        const double fpu9 = fn_Deformed_Bar_fpu(ws.i_Strand_Size_First);
        for (int j = 1; j <= pass.num_bar_slices; ++j) {
            const int i = pass.bar_slices[j];
            const double e = (y - ws.Slice_Depth[i]) * phi;
            bars += fn_Strand_Stress_ksi(ws.i_Reinf_Kind, e + ws.e_ps, fpu9) * k * ws.Area_Bars[i];
        }
    }
    double core_tube = 0.0;
    if (pass.core_tube) {
        const int first = ws.i_Core_First_Slice;
        const auto tube_slice = [first](int j) { return first - 1 + j; };
        core_tube = Steel_Force(ws, ws.Area_Core_Tube, pass.core_tube_bands,
                                ws.i_Core_Last_Slice - first + 1, tube_slice, y, ws.Core_E,
                                ws.Core_Fy, strains_fall);
    }
    double core_concrete = 0.0;
    if (pass.core_concrete) {
        core_concrete = Concrete_Force_By_Slices(ws, ws.Area_Core_Concrete, y, cracked,
                                                 strains_fall, fn_Core_Concrete_Compression);
    }
    return concrete + casing + bars + core_tube + core_concrete;
}

// The running state of one trial depth in the fused pass.
struct TrialState {
    double y = 0.0;
    bool cracked = false;
    double concrete = 0.0;
    double bars = 0.0;
};

} // namespace

std::array<double, TRIALS_PER_PASS>
Axial_Forces_Of_Trials(const SectionWorkspace& ws, const ForceOnlyPass& pass,
                       const std::array<double, TRIALS_PER_PASS>& y_n) {
    if (pass.composite) {
        return {Composite_Force(ws, pass, y_n[0]), Composite_Force(ws, pass, y_n[1]),
                Composite_Force(ws, pass, y_n[2])};
    }
    if (pass.pipe) {
        if (pass.depths_increase && ws.Phi > 0.0 && Steel_Bands_Apply(ws.Casing_E)) {
            return Steel_Forces_Strains_Falling(
                ws, ws.Area_Casing, pass.casing_bands, ws.i_Num_Slices, [](int j) { return j; },
                y_n, ws.Casing_E, ws.Casing_Fy);
        }
        return Pipe_Forces(ws, y_n);
    }
    const int n = ws.i_Num_Slices;
    const double phi = ws.Phi;
    const bool tension_off = ws.b_Tension_Off;
    const double ft = ws.ft;
    const bool strains_fall = pass.depths_increase && phi > 0.0;
    // Three named states rather than an array, so that they can live in registers.
    TrialState a, b, c;
    a.y = y_n[0];
    b.y = y_n[1];
    c.y = y_n[2];
    // The extreme tension fibre of each trial decides whether it starts cracked.
    auto start = [&](TrialState& s) {
        const double e_bottom = (s.y - ws.H) * phi;
        s.cracked = tension_off || e_bottom < ws.ecr;
    };
    start(a);
    start(b);
    start(c);
    // The slice at depth d of area A, for one trial. A slice in tension with the concrete cracked
    // adds a stress of zero, which leaves the sum as it is: it is skipped, and true is returned,
    // since with strains falling every slice below it is the same; the pass ends once all trials
    // are there.
    auto concrete_slice = [&](TrialState& s, double d, double A) {
        const double e = (s.y - d) * phi;
        double stress = 0.0;
        if (e <= 0.0) {
            if (s.cracked) {
                return true;
            }
            stress = Tension_Until_Cracked(ws, e, ft, tension_off, s.cracked);
        } else {
            stress = fn_Concrete_Compression(ws, e);
        }
        s.concrete += stress * A;
        return false;
    };
    // The bands need a positive, finite e0 (a section with concrete).
    if (strains_fall && ws.e0 > 0.0 && ws.e0 < HUGE_VAL) {
        a.concrete = Concrete_Force_Strains_Falling(ws, a.y, a.cracked);
        b.concrete = Concrete_Force_Strains_Falling(ws, b.y, b.cracked);
        c.concrete = Concrete_Force_Strains_Falling(ws, c.y, c.cracked);
    } else {
        for (int i = 1; i <= n; ++i) {
            const double d = ws.Slice_Depth[i];
            const double A = ws.Area_Concrete[i];
            const bool rest_a = concrete_slice(a, d, A);
            const bool rest_b = concrete_slice(b, d, A);
            const bool rest_c = concrete_slice(c, d, A);
            if (rest_a && rest_b && rest_c && strains_fall) {
                break;
            }
        }
    }
    const double Es = ws.Es;
    const double fy = ws.fy;
    if (strains_fall && Steel_Bands_Apply(Es)) {
        const auto bar_slice = [&](int j) { return pass.bar_slices[j]; };
        const int nb = pass.num_bar_slices;
        const auto bars = Steel_Forces_Strains_Falling(ws, ws.Area_Bars, pass.bar_bands, nb,
                                                       bar_slice, y_n, Es, fy);
        a.bars = bars[0];
        b.bars = bars[1];
        c.bars = bars[2];
    } else {
        auto bar_stress = [&](double e) { return Steel_Stress(e, Es, fy); };
        for (int j = 1; j <= pass.num_bar_slices; ++j) {
            const int i = pass.bar_slices[j];
            const double d = ws.Slice_Depth[i];
            const double A = ws.Area_Bars[i];
            a.bars += bar_stress((a.y - d) * phi) * A;
            b.bars += bar_stress((b.y - d) * phi) * A;
            c.bars += bar_stress((c.y - d) * phi) * A;
        }
    }
    const double none = 0.0;
    return {a.concrete + none + a.bars + none + none, b.concrete + none + b.bars + none + none,
            c.concrete + none + c.bars + none + none};
}

bool Find_Neutral_Axis(AnalysisModel& m, SectionWorkspace& ws, const ForceOnlyPass& pass, int t,
                       int k) {
    const double H = ws.H;
    double last_y = 0.0;
    // Whether ws.y_n is the depth of the trial evaluated last: a full evaluation sets it, a
    // force-only pass does not.
    bool y_n_current = true;
    // A trial by the full evaluation, for sections without a force-only pass.
    auto residual = [&](double y) {
        last_y = y;
        Compute_Axial_Thrust_Force(ws, y);
        y_n_current = true;
        return ws.N - ws.P_Target;
    };
    // Leaves in ws.y_n the depth of the trial evaluated last, where the point is taken.
    auto settle = [&] {
        if (!y_n_current) {
            ws.y_n = last_y;
            y_n_current = true;
        }
    };
    double y = ws.y_n_Seed;
    if (std::fabs(y) > H) {
        y = H / 2.0;
    }
    const bool us = ws.IUNITS == USCS;
    const double delta = us ? static_cast<double>(1e-7f) : static_cast<double>(2.54e-9f);
    const double tol = us ? static_cast<double>(1e-6f) : static_cast<double>(2.54e-8f);
    double best_y = y;
    double best_f = 0.0;
    for (int iter = 1;; ++iter) {
        double f0 = 0.0;
        double fm = 0.0;
        double fp = 0.0;
        if (pass.usable || pass.pipe || pass.composite) {
            // The three trials in one pass; the state is left as after the last of them.
            const auto forces = Axial_Forces_Of_Trials(ws, pass, {y, y - delta, y + delta});
            f0 = forces[0] - ws.P_Target;
            fm = forces[1] - ws.P_Target;
            ws.N = forces[2];
            fp = ws.N - ws.P_Target;
            last_y = y + delta;
            y_n_current = false;
        } else {
            f0 = residual(y);
            fm = residual(y - delta);
            fp = residual(y + delta);
        }
        if (iter == 1 || std::fabs(f0) < best_f) {
            best_y = y;
            best_f = std::fabs(f0);
        }
        const double dfdy = (fp - fm) / (2.0 * delta);
        const double correction = dfdy != 0.0 ? -f0 / dfdy : static_cast<double>(1e-8f);
        y += correction;
        ws.y_n_Seed = y;
        if (iter >= 1000) {
            settle();
            double found = 0.0;
            if (Bracketed_Neutral_Axis(ws, tol, found)) {
                y = found;
                break;
            }
            if (k > 1) {
                // The resultant cannot reach the thrust at this curvature: the section has
                // failed under its thrust after the previous step.
                return false;
            }
            // The run's status, which the caller tests, tells this failure from the
            // section's failing above.
            static_cast<void>(Fail_Run(m, MessageId::NeutralAxisNotFound));
            return false;
        }
        if (std::fabs(correction) > tol) {
            continue;
        }
        if (std::fabs(f0) > best_f) {
            y = best_y; // a better trial was passed on the way: resume from it
            continue;
        }
        break;
    }
    settle();
    ws.Yn[t][k] = y;
    ws.y_n_Seed = y;
    return true;
}

} // namespace zarno
