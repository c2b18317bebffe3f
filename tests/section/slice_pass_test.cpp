// The equilibrium evaluation forms strains, stresses and resultants in one pass over the
// slices, and the neutral-axis search forms most of its trial forces by a force-only pass.
// Both must give, to the last bit, what the separate material routines give when applied
// one after the other: that is what makes the stored curves independent of how the passes
// are organised.
#include "section/materials.h"
#include "section/moment_curvature.h"
#include "section/neutral_axis.h"
#include "section/section_fixtures.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace zarno {
namespace {

double Sum(const SliceArray& stress, const SliceArray& area, int n) {
    double f = 0.0;
    for (int i = 1; i <= n; ++i) {
        f += stress[i] * area[i];
    }
    return f;
}

// The evaluation written out law by law, in the order of the component forces.
void Plain_Evaluation(SectionWorkspace& ws, double y) {
    const int n = ws.i_Num_Slices;
    ws.y_n = y;
    for (int i = 1; i <= n; ++i) {
        ws.Strain[i] = (y - ws.Slice_Depth[i]) * ws.Phi;
    }
    ws.b_Eval_Cracked = ws.b_Eval_Yielded = false;
    ws.Force_Concrete = ws.Force_Bars = ws.Force_Casing = 0.0;
    ws.Force_Core_Tube = ws.Force_Core_Concrete = 0.0;
    if (ws.i_Geometry_Kind == GEOM_PIPE) {
        Compute_Casing_Stresses(ws);
        ws.N = ws.Force_Casing = Sum(ws.Stress_Casing, ws.Area_Casing, n);
        return;
    }
    Compute_Concrete_Stresses(ws);
    ws.Force_Concrete = Sum(ws.Stress_Concrete, ws.Area_Concrete, n);
    Compute_Reinforcement_Stresses(ws);
    ws.Force_Bars = Sum(ws.Stress_Bars, ws.Area_Bars, n);
    ws.N = ws.Force_Concrete + ws.Force_Casing + ws.Force_Bars + ws.Force_Core_Tube +
           ws.Force_Core_Concrete;
}

std::uint64_t Bits(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

void Expect_Same_Bits(const SectionWorkspace& a, const SectionWorkspace& b,
                      const std::string& where) {
    EXPECT_EQ(Bits(a.N), Bits(b.N)) << where;
    EXPECT_EQ(Bits(a.Force_Concrete), Bits(b.Force_Concrete)) << where;
    EXPECT_EQ(Bits(a.Force_Bars), Bits(b.Force_Bars)) << where;
    EXPECT_EQ(Bits(a.Force_Casing), Bits(b.Force_Casing)) << where;
    EXPECT_EQ(Bits(a.e_Bottom), Bits(b.e_Bottom)) << where;
    EXPECT_EQ(a.b_Eval_Cracked, b.b_Eval_Cracked) << where;
    EXPECT_EQ(a.b_Eval_Yielded, b.b_Eval_Yielded) << where;
    for (int i = 1; i <= a.i_Num_Slices; ++i) {
        ASSERT_EQ(Bits(a.Strain[i]), Bits(b.Strain[i])) << where << " slice " << i;
        ASSERT_EQ(Bits(a.Stress_Concrete[i]), Bits(b.Stress_Concrete[i])) << where << " " << i;
        ASSERT_EQ(Bits(a.Stress_Bars[i]), Bits(b.Stress_Bars[i])) << where << " " << i;
        ASSERT_EQ(Bits(a.Stress_Casing[i]), Bits(b.Stress_Casing[i])) << where << " " << i;
    }
}

struct PassCase {
    const char* name;
    std::unique_ptr<SectionWorkspace> (*make)();
};

std::unique_ptr<SectionWorkspace> Shaft_With_Bars() {
    auto ws = test::Shaft(36.0);
    for (int b = 0; b < 12; ++b) {
        const double a = b * 3.141592653589793 / 6.0;
        test::Add_Bar(*ws, 14.0 * std::cos(a), 14.0 * std::sin(a), 1.128, 1.0);
    }
    return ws;
}

std::unique_ptr<SectionWorkspace> Rectangle_With_Bars() {
    auto ws = test::Rectangle(12.0, 24.0);
    test::Add_Bar(*ws, -4.0, -9.5, 1.0, 0.79);
    test::Add_Bar(*ws, 4.0, -9.5, 1.0, 0.79);
    test::Add_Bar(*ws, 0.0, 9.5, 1.0, 0.79);
    return ws;
}

std::unique_ptr<SectionWorkspace> Strand_Shaft() {
    auto ws = Shaft_With_Bars();
    ws->i_Reinf_Kind = REINF_PCI270;
    return ws;
}

std::unique_ptr<SectionWorkspace> Steel_Pipe() {
    return test::Pipe(24.0, 0.5, 36.0, 29000.0);
}

std::unique_ptr<SectionWorkspace> Prestrained_Strand_Shaft() {
    auto ws = Strand_Shaft();
    ws->e_ps = -0.006; // kept over the set-up of the materials (no prestressing force here)
    return ws;
}

std::unique_ptr<SectionWorkspace> Cased_Shaft() {
    auto ws = Shaft_With_Bars();
    ws->i_Geometry_Kind = GEOM_CASED;
    ws->Casing_Diameter = 36.0;
    ws->Casing_Wall = 0.375;
    ws->Casing_E = 29000.0;
    ws->Casing_Fy = 36.0;
    return ws;
}

std::unique_ptr<SectionWorkspace> Shaft_With_Filled_Core() {
    auto ws = Shaft_With_Bars();
    ws->i_Geometry_Kind = GEOM_CIRCLE_VOID;
    ws->b_Core_Present = true;
    ws->b_Core_Filled = true;
    ws->Core_Diameter = 16.0;
    ws->Core_Wall = 0.5;
    ws->Core_E = 29000.0;
    ws->Core_Fy = 50.0;
    ws->i_Core_Concrete_Model = 2;
    return ws;
}

TEST(SlicePass, OnePassEqualsTheMaterialLawsBitForBit) {
    const PassCase cases[] = {{"shaft with bars", Shaft_With_Bars},
                              {"rectangle with bars", Rectangle_With_Bars},
                              {"strand shaft", Strand_Shaft},
                              {"steel pipe", Steel_Pipe}};
    // Curvatures from the elastic range to crushing; depths above, inside and below the
    // section, so that cracking, tension off, yielding and crushing all occur.
    const double curvatures[] = {1.0e-6, 4.0e-5, 6.0e-4};
    const double depth_fractions[] = {-0.3, 0.05, 0.37, 0.5, 0.81, 1.4};
    for (const PassCase& c : cases) {
        auto m = test::Quiet_Model();
        auto fast = c.make();
        Initialize_EI_Vars(*m, *fast);
        if (fast->i_Reinf_Kind != REINF_BARS) {
            fast->e_ps = -0.006;
        }
        auto plain = std::make_unique<SectionWorkspace>(*fast);
        int cracked = 0, yielded = 0, evaluations = 0;
        for (const bool tension_off : {false, true}) {
            for (const double phi : curvatures) {
                for (const double f : depth_fractions) {
                    const double y = f * fast->H;
                    fast->Phi = plain->Phi = phi;
                    fast->b_Tension_Off = plain->b_Tension_Off = tension_off;
                    const ForceOnlyPass pass = Prepare_Force_Only_Pass(*fast);
                    Compute_Axial_Thrust_Force(*fast, y);
                    Plain_Evaluation(*plain, y);
                    // Sections of concrete and bars alone: the force-only pass too.
                    ASSERT_EQ(pass.usable, fast->i_Geometry_Kind != GEOM_PIPE &&
                                               fast->i_Reinf_Kind == REINF_BARS)
                        << c.name;
                    if (pass.usable) {
                        EXPECT_EQ(Bits(Axial_Forces_Of_Trials(*fast, pass, {y, y, y})[0]),
                                  Bits(plain->N))
                            << c.name << " force only, phi " << phi << " depth " << f;
                    }
                    Expect_Same_Bits(*fast, *plain,
                                     std::string(c.name) + " phi " + std::to_string(phi) +
                                         " depth " + std::to_string(f) +
                                         (tension_off ? " tension off" : ""));
                    cracked += fast->b_Eval_Cracked;
                    yielded += fast->b_Eval_Yielded;
                    ++evaluations;
                }
            }
        }
        // The table reaches both sides of every state change it is meant to cover.
        if (fast->i_Geometry_Kind != GEOM_PIPE) {
            EXPECT_GT(cracked, 0) << c.name;
            EXPECT_LT(cracked, evaluations) << c.name;
        }
        if (fast->i_Reinf_Kind == REINF_BARS) {
            EXPECT_GT(yielded, 0) << c.name;
            EXPECT_LT(yielded, evaluations) << c.name;
        }
    }
}

// The fused pass of a Newton iteration (concrete and bars, or a steel pipe) gives each of
// its trial forces exactly as a full evaluation at that depth alone does, whether it takes
// the slices by bands of the material laws (strains falling down the section) or one by one
// (a negative curvature). The trials are the
// search's own (a step of 1e-7 in either direction) and wide ones, so that the three trials of one
// pass fall on different sides of cracking, of crushing and of the neutral axis and stop at
// different slices.
TEST(SlicePass, FusedTrialsEqualSingleEvaluationsBitForBit) {
    const PassCase cases[] = {
        {"shaft with bars", Shaft_With_Bars}, {"rectangle with bars", Rectangle_With_Bars},
        {"steel pipe", Steel_Pipe},           {"strand shaft", Prestrained_Strand_Shaft},
        {"cased shaft", Cased_Shaft},         {"shaft with filled core", Shaft_With_Filled_Core}};
    const double curvatures[] = {-4.0e-5, 1.0e-6, 4.0e-5, 6.0e-4};
    const double depth_fractions[] = {-0.3, 0.02, 0.37, 0.5, 0.81, 1.4};
    const double steps[] = {1.0e-7, 0.3, 4.0};
    for (const PassCase& c : cases) {
        auto m = test::Quiet_Model();
        auto fused = c.make();
        const double e_ps = fused->e_ps;
        Initialize_EI_Vars(*m, *fused);
        fused->e_ps = e_ps;
        auto single = std::make_unique<SectionWorkspace>(*fused);
        const ForceOnlyPass pass = Prepare_Force_Only_Pass(*fused);
        ASSERT_TRUE(pass.usable || pass.pipe || pass.composite) << c.name;
        const bool steel_law = pass.pipe || fused->i_Reinf_Kind == REINF_BARS;
        int cracked = 0, uncracked = 0, crushed = 0, softening = 0, yielded = 0, evaluations = 0;
        int yielded_both_ways = 0;
        for (const bool tension_off : {false, true}) {
            for (const double phi : curvatures) {
                for (const double f : depth_fractions) {
                    for (const double step : steps) {
                        const double y = f * fused->H;
                        fused->Phi = single->Phi = phi;
                        fused->b_Tension_Off = single->b_Tension_Off = tension_off;
                        const std::array<double, TRIALS_PER_PASS> depths = {y, y - step, y + step};
                        const auto forces = Axial_Forces_Of_Trials(*fused, pass, depths);
                        for (int j = 0; j < TRIALS_PER_PASS; ++j) {
                            Compute_Axial_Thrust_Force(*single, depths[j]);
                            EXPECT_EQ(Bits(forces[j]), Bits(single->N))
                                << c.name << " phi " << phi << " depth " << depths[j]
                                << (tension_off ? " tension off" : "");
                            (single->b_Eval_Cracked ? cracked : uncracked) += 1;
                            yielded += single->b_Eval_Yielded;
                            crushed +=
                                single->Strain[1] > CONCRETE_CRUSHING_STRAIN ||
                                single->Strain[single->i_Num_Slices] > CONCRETE_CRUSHING_STRAIN;
                            // A band of every kind: concrete past its peak but not crushed,
                            // steel yielded in compression above and in tension below.
                            bool past_peak = false, in_compression = false, in_tension = false;
                            const double Fy = pass.pipe ? single->Casing_Fy : single->fy;
                            for (int i = 1; i <= single->i_Num_Slices; ++i) {
                                const double e = single->Strain[i];
                                past_peak |= e > single->e0 && e <= CONCRETE_CRUSHING_STRAIN;
                                const double steel =
                                    pass.pipe ? single->Stress_Casing[i] : single->Stress_Bars[i];
                                const bool holds = pass.pipe ? single->Area_Casing[i] > 0.0
                                                             : single->Area_Bars[i] > 0.0;
                                in_compression |= holds && steel == Fy;
                                in_tension |= holds && steel == -Fy;
                            }
                            softening += past_peak;
                            yielded_both_ways += in_compression && in_tension;
                            ++evaluations;
                        }
                    }
                }
            }
        }
        // The table reaches both sides of the state changes it is meant to cover.
        if (steel_law) {
            EXPECT_GT(yielded, 0) << c.name;
            EXPECT_LT(yielded, evaluations) << c.name;
            EXPECT_GT(yielded_both_ways, 0) << c.name;
        }
        if (!pass.pipe) {
            EXPECT_GT(softening, 0) << c.name;
            EXPECT_GT(cracked, 0) << c.name;
            EXPECT_GT(uncracked, 0) << c.name;
            EXPECT_GT(crushed, 0) << c.name;
            EXPECT_LT(crushed, evaluations) << c.name;
        }
    }
}

// Where the strains fall down the section the trials take each steel by bands whose ends are
// found by halving, and the yielded slices from sums formed once per curve. Each steel slice in
// turn is put on the edge of yield in compression and in tension (the depth at which its stress
// E e is +-Fy, and a few ulps either side, so that some slices sit exactly on a yield limit),
// and the whole section in one band (far above, far below, hardly curved): the band ends of a
// pipe are where a scan of the steel law stops, and every trial force and pipe point equals the
// full evaluation to the last bit.
TEST(SlicePass, SteelBandEdgesGiveTheScannedForcesBitForBit) {
    struct SteelCase {
        const char* name;
        std::unique_ptr<SectionWorkspace> (*make)();
        SliceArray SectionWorkspace::*area;
        double SectionWorkspace::*E;
        double SectionWorkspace::*Fy;
    };
    const SteelCase cases[] = {{"steel pipe", Steel_Pipe, &SectionWorkspace::Area_Casing,
                                &SectionWorkspace::Casing_E, &SectionWorkspace::Casing_Fy},
                               {"shaft with bars", Shaft_With_Bars, &SectionWorkspace::Area_Bars,
                                &SectionWorkspace::Es, &SectionWorkspace::fy},
                               {"cased shaft", Cased_Shaft, &SectionWorkspace::Area_Casing,
                                &SectionWorkspace::Casing_E, &SectionWorkspace::Casing_Fy},
                               {"shaft with filled core", Shaft_With_Filled_Core,
                                &SectionWorkspace::Area_Core_Tube, &SectionWorkspace::Core_E,
                                &SectionWorkspace::Core_Fy}};
    for (const SteelCase& c : cases) {
        auto m = test::Quiet_Model();
        auto ws = c.make();
        Initialize_EI_Vars(*m, *ws);
        auto full = std::make_unique<SectionWorkspace>(*ws);
        const ForceOnlyPass pass = Prepare_Force_Only_Pass(*ws);
        ASSERT_TRUE(pass.depths_increase) << c.name;
        const int n = ws->i_Num_Slices;
        const double E = (*ws).*c.E;
        const double Fy = (*ws).*c.Fy;
        const SliceArray& area = (*ws).*c.area;
        int on_limit = 0, all_compressed = 0, all_elastic = 0, all_in_tension = 0;
        auto check = [&](double phi, double y, const std::string& where) {
            ws->Phi = full->Phi = phi;
            if (pass.pipe) {
                // The scan of the steel law: where it leaves each band.
                int elastic = 1;
                while (elastic <= n && E * ((y - ws->Slice_Depth[elastic]) * phi) >= Fy) {
                    ++elastic;
                }
                int tension = elastic;
                while (tension <= n && !(E * ((y - ws->Slice_Depth[tension]) * phi) <= -Fy)) {
                    ++tension;
                }
                const SteelBandEnds ends = Pipe_Band_Ends(*ws, y);
                ASSERT_EQ(ends.elastic, elastic) << where;
                ASSERT_EQ(ends.tension, tension) << where;
                all_compressed += elastic == n + 1;
                all_elastic += elastic == 1 && tension == n + 1;
                all_in_tension += tension == 1;
                // The point at this depth, by bands and by the full evaluation.
                ws->Curv[1][1] = full->Curv[1][1] = phi;
                ws->Yn[1][1] = full->Yn[1][1] = y;
                ws->y_n = y;
                Evaluate_Point(*ws, pass, 1, 1);
                Compute_Axial_Thrust_Force(*full, y);
                Find_Max_Stresses(*full, pass, 1, 1);
                Compute_Section_Moments(*full, 1, 1);
                EXPECT_EQ(Bits(ws->N), Bits(full->N)) << where;
                EXPECT_EQ(Bits(ws->M[1][1]), Bits(full->M[1][1])) << where;
                EXPECT_EQ(Bits(ws->Max_Casing[1][1]), Bits(full->Max_Casing[1][1])) << where;
                EXPECT_EQ(ws->b_Eval_Yielded, full->b_Eval_Yielded) << where;
            }
            const std::array<double, TRIALS_PER_PASS> depths = {y, std::nextafter(y, -HUGE_VAL),
                                                                std::nextafter(y, HUGE_VAL)};
            const auto forces = Axial_Forces_Of_Trials(*ws, pass, depths);
            for (int j = 0; j < TRIALS_PER_PASS; ++j) {
                Compute_Axial_Thrust_Force(*full, depths[j]);
                ASSERT_EQ(Bits(forces[j]), Bits(full->N)) << where << " trial " << j;
                for (int i = 1; i <= n; ++i) {
                    on_limit += area[i] > 0.0 && std::fabs(E * full->Strain[i]) == Fy;
                }
            }
        };
        for (const double phi : {1.0e-6, 4.0e-5, 6.0e-4}) {
            for (int i = 1; i <= n; ++i) {
                if (!(area[i] > 0.0)) {
                    continue;
                }
                for (const double limit : {Fy, -Fy}) {
                    double y = ws->Slice_Depth[i] + limit / (E * phi);
                    for (int u = 0; u < 3; ++u) {
                        y = std::nextafter(y, -HUGE_VAL);
                    }
                    for (int u = 0; u < 7; ++u) {
                        check(phi, y,
                              std::string(c.name) + " phi " + std::to_string(phi) + " slice " +
                                  std::to_string(i) + (limit > 0.0 ? " compression" : " tension") +
                                  " ulp " + std::to_string(u - 3));
                        y = std::nextafter(y, HUGE_VAL);
                    }
                }
            }
        }
        check(6.0e-4, 10.0 * ws->H, std::string(c.name) + " all compressed");
        check(6.0e-4, -10.0 * ws->H, std::string(c.name) + " all in tension");
        check(1.0e-9, 0.5 * ws->H, std::string(c.name) + " all elastic");
        // The sweep reaches the cases the bands treat apart.
        EXPECT_GT(on_limit, 0) << c.name;
        if (pass.pipe) {
            EXPECT_GT(all_compressed, 0);
            EXPECT_GT(all_elastic, 0);
            EXPECT_GT(all_in_tension, 0);
        }
    }
}

// A point of the curve formed in one pass (the evaluation at the depth of the last trial,
// the largest stresses, the moment) stores what the full evaluation followed by the
// separate routines for the largest stresses and the moment stores, to the last bit. The
// table puts the neutral axis above, inside and below the section under curvatures of both
// signs (a negative one makes the strains rise down the section, so no cracked zone is
// skipped), with and without tensile strength, at the first point and at a later point
// whose previous moment is larger than some of the sums.
TEST(SlicePass, OnePassPointEqualsFullEvaluationBitForBit) {
    const PassCase cases[] = {{"shaft with bars", Shaft_With_Bars},
                              {"rectangle with bars", Rectangle_With_Bars},
                              {"steel pipe", Steel_Pipe},
                              {"strand shaft", Strand_Shaft},
                              {"cased shaft", Cased_Shaft}};
    const double curvatures[] = {-4.0e-5, 1.0e-6, 4.0e-5, 6.0e-4};
    const double depth_fractions[] = {-0.3, 0.0, 0.02, 0.37, 0.5, 0.81, 1.0, 1.4};
    for (const PassCase& c : cases) {
        auto m = test::Quiet_Model();
        auto one = c.make();
        Initialize_EI_Vars(*m, *one);
        auto full = std::make_unique<SectionWorkspace>(*one);
        const ForceOnlyPass pass = Prepare_Force_Only_Pass(*one);
        int skipped_tail = 0, tensile_top = 0, kept_previous = 0;
        for (const bool tension_off : {false, true}) {
            for (const double phi : curvatures) {
                for (const double f : depth_fractions) {
                    const double y = f * one->H;
                    for (const int k : {1, 2}) {
                        const std::string where =
                            std::string(c.name) + " phi " + std::to_string(phi) + " depth " +
                            std::to_string(f) + " point " + std::to_string(k) +
                            (tension_off ? " tension off" : "");
                        for (SectionWorkspace* ws : {one.get(), full.get()}) {
                            ws->Phi = ws->Curv[1][k] = phi;
                            ws->Yn[1][k] = y;
                            ws->b_Tension_Off = tension_off;
                            ws->M[1][1] = 1.0e3; // the previous point of point 2
                        }
                        // The search leaves the depth of its last trial; a section without a
                        // force-only pass has its slices evaluated there as well.
                        one->y_n = y;
                        if (!pass.usable && !pass.pipe && !pass.composite) {
                            Compute_Axial_Thrust_Force(*one, y);
                        }
                        Evaluate_Point(*one, pass, 1, k);
                        Compute_Axial_Thrust_Force(*full, y);
                        Find_Max_Stresses(*full, pass, 1, k);
                        Compute_Section_Moments(*full, 1, k);

                        EXPECT_EQ(Bits(one->N), Bits(full->N)) << where;
                        EXPECT_EQ(Bits(one->Force_Concrete), Bits(full->Force_Concrete)) << where;
                        EXPECT_EQ(Bits(one->Force_Bars), Bits(full->Force_Bars)) << where;
                        EXPECT_EQ(Bits(one->Force_Casing), Bits(full->Force_Casing)) << where;
                        EXPECT_EQ(Bits(one->e_Bottom), Bits(full->e_Bottom)) << where;
                        EXPECT_EQ(one->b_Eval_Cracked, full->b_Eval_Cracked) << where;
                        EXPECT_EQ(one->b_Eval_Yielded, full->b_Eval_Yielded) << where;
                        for (const CurveArray SectionWorkspace::*table :
                             {&SectionWorkspace::M, &SectionWorkspace::EI,
                              &SectionWorkspace::Eps_Top, &SectionWorkspace::Eps_Bot,
                              &SectionWorkspace::Max_Concrete, &SectionWorkspace::Max_Steel,
                              &SectionWorkspace::Max_Casing, &SectionWorkspace::Max_Core,
                              &SectionWorkspace::Least_Bar_Strain}) {
                            EXPECT_EQ(Bits((*one.*table)[1][k]), Bits((*full.*table)[1][k]))
                                << where;
                        }
                        const int n = full->i_Num_Slices;
                        skipped_tail += phi > 0.0 && full->b_Eval_Cracked &&
                                        full->Stress_Concrete[n] == 0.0 && full->Strain[n] < 0.0;
                        tensile_top += full->Max_Concrete[1][k] < 0.0;
                        kept_previous += k == 2 && full->M[1][2] == 1.0e3;
                    }
                }
            }
        }
        // The table reaches the cases that the one pass treats apart.
        if (pass.usable) {
            EXPECT_GT(skipped_tail, 0) << c.name;
            EXPECT_GT(tensile_top, 0) << c.name;
        }
        if (!pass.pipe) {
            EXPECT_GT(kept_previous, 0) << c.name;
        }
    }
}

// Every table of thrust t, bit for bit, and the state flags of its points.
void Expect_Same_Curve(const SectionWorkspace& a, int ta, const SectionWorkspace& b, int tb,
                       const std::string& where) {
    ASSERT_EQ(a.n_Points[ta], b.n_Points[tb]) << where;
    ASSERT_GT(a.n_Points[ta], 10) << where;
    EXPECT_EQ(Bits(a.Mn[ta]), Bits(b.Mn[tb])) << where;
    for (int k = 1; k <= a.n_Points[ta]; ++k) {
        const std::string at = where + " point " + std::to_string(k);
        ASSERT_EQ(Bits(a.Curv[ta][k]), Bits(b.Curv[tb][k])) << at;
        ASSERT_EQ(Bits(a.Yn[ta][k]), Bits(b.Yn[tb][k])) << at;
        ASSERT_EQ(Bits(a.M[ta][k]), Bits(b.M[tb][k])) << at;
        ASSERT_EQ(Bits(a.EI[ta][k]), Bits(b.EI[tb][k])) << at;
        ASSERT_EQ(Bits(a.Max_Concrete[ta][k]), Bits(b.Max_Concrete[tb][k])) << at;
        ASSERT_EQ(Bits(a.Max_Steel[ta][k]), Bits(b.Max_Steel[tb][k])) << at;
        ASSERT_EQ(Bits(a.Max_Casing[ta][k]), Bits(b.Max_Casing[tb][k])) << at;
        ASSERT_EQ(a.Msg[ta][k], b.Msg[tb][k]) << at;
    }
}

std::unique_ptr<AnalysisModel> Curves(SectionWorkspace& ws, std::initializer_list<double> thrusts) {
    auto m = test::Quiet_Model();
    Initialize_EI_Vars(*m, ws);
    if (ws.i_Geometry_Kind != GEOM_PIPE) {
        ws.Curvature_Increment = fn_Initial_Curvature_Increment(ws.IUNITS, ws.H);
    }
    ws.i_Num_Thrusts = 0;
    for (const double p : thrusts) {
        ws.Thrust[++ws.i_Num_Thrusts] = p;
    }
    for (int t = 1; t <= ws.i_Num_Thrusts && m->RunStatus == 0; ++t) {
        Compute_Thrust_Curve(*m, ws, t);
    }
    return m;
}

// Nothing of one curve leaks into the next: a thrust analysed after others in the same
// workspace, or a section analysed in a workspace that held another arrangement of bars,
// gives the tables it gives alone.
TEST(SlicePass, CurvesDoNotDependOnWhatTheWorkspaceHeldBefore) {
    const std::initializer_list<double> thrusts = {400.0, 0.0, -50.0};
    auto together = Shaft_With_Bars();
    Curves(*together, thrusts);
    int t = 0;
    for (const double p : thrusts) {
        ++t;
        auto alone = Shaft_With_Bars();
        Curves(*alone, {p});
        Expect_Same_Curve(*together, t, *alone, 1, "thrust " + std::to_string(p));
    }

    // The same workspace, now with the bars of the rectangle and re-sliced.
    auto reused = Shaft_With_Bars();
    Curves(*reused, {0.0});
    auto rectangle = Rectangle_With_Bars();
    reused->i_Geometry_Kind = rectangle->i_Geometry_Kind;
    reused->Width = rectangle->Width;
    reused->Diameter = rectangle->Diameter;
    reused->i_Num_Bars = 0;
    reused->Area_Bars.fill(0.0);
    for (int b = 1; b <= rectangle->i_Num_Bars; ++b) {
        test::Add_Bar(*reused, rectangle->Bar_X0[b], rectangle->Bar_Y0[b],
                      rectangle->Bar_Diameter[b], rectangle->Bar_Area[b]);
    }
    Curves(*reused, {0.0});
    Curves(*rectangle, {0.0});
    Expect_Same_Curve(*reused, 1, *rectangle, 1, "re-used workspace");
}

} // namespace
} // namespace zarno
