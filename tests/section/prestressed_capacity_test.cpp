// Moment capacity of a prestressed pile over its whole axial range, checked against an
// independent fibre integration written here from the material laws.
#include "section/section_stiffness.h"

#include "engine/analysis_model.h"
#include "input/read_input.h"
#include "lateral/lateral_input.h"
#include "section/moment_curvature.h"
#include "section/section_fixtures.h"
#include "section/section_setup.h"
#include "section/slicing.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace zarno {
namespace {

// 24 in square solid pile, f'c 6000 psi, twelve 0.5 in PCI 270 strands (0.153 in^2) on the
// perimeter with 3 in cover, jacked to 0.75 fpu with 20 % loss.
constexpr double WIDTH = 24.0;
constexpr double FC = 6.0;                                     // ksi
constexpr double JACKING_FORCE = 12 * 0.153 * 0.75 * 270000.0; // lb
constexpr double LOSS = 0.2;

std::unique_ptr<AnalysisModel> Prestressed_Pile_Model(const std::vector<double>& thrusts) {
    auto m = test::Quiet_Model();
    m->IUNITS = USCS;
    m->i_Analysis_Type = ANALYSIS_EI_ONLY;
    m->i_Num_Sections = 1;
    for (const double p : thrusts) {
        m->Axial_Thrust_List[++m->i_Num_Axial_Thrusts] = p;
    }
    PileSection& s = m->Sections[1];
    s.i_Section_Type = 7;
    s.Length = 480.0;
    s.Diameter = WIDTH;
    s.Chamfer = 0.0;
    s.fc = FC * 1000.0;
    s.Max_Aggregate_Size = 0.75;
    s.i_Strand_Type = 1;
    s.i_Num_Strands = 12;
    s.i_Num_Bars = 12;
    s.Prestress_Force = JACKING_FORCE;
    s.Prestress_Loss = LOSS;
    s.Strand_Cover = 3.0;
    s.b_Autoposition_Strands = true;
    s.i_Strand_Arrangement = 1;
    for (int k = 1; k <= 12; ++k) {
        s.i_Strand_Size[k] = 3;
        Set_Strand_Size(*m, 1, k, 1, 3);
    }
    s.Strand_Diameter = s.Bar_Dia[1];
    s.Strand_Area = s.Bar_Area_k[1];
    return m;
}

// ---- the independent fibre model -----------------------------------------------------------
// Compression positive. The strain e = phi (c - d) of a fibre is the concrete's total strain:
// the precompression is part of it, held in balance by the strands, whose strain is e plus
// their prestrain e_ps (bonded, they keep that offset from the concrete around them). The
// capacity is therefore reached when e itself is 0.003 at the top face.
// Concrete: Hognestad parabola to e0 = 1.7 f'c / Ec, a straight descent of 0.15 f'c to
// 0.0038, no tension (the section is cracked at its capacity). Strands: PCI 270 power law.

struct FibreSection {
    double Ec = 57.0 * std::sqrt(1000.0 * FC);
    double e0 = 1.7 * FC / Ec;
    double strand_area = static_cast<double>(0.153f);
    double As = 12 * strand_area;
    double Ac = WIDTH * WIDTH - As;
    double P_eff = (1.0 - LOSS) * JACKING_FORCE / 1000.0; // kips
    double e_ps = -P_eff / (29000.0 * As);                // strand prestrain (tensile)
    double e_pc = P_eff / (Ac * Ec);                      // concrete precompression
    // Strand rows: depth below the top face and number of strands.
    std::vector<std::pair<double, int>> rows;

    FibreSection() {
        const double a = (WIDTH - 0.5) / 2.0 - 3.0;
        rows = {
            {WIDTH / 2 - a, 4}, {WIDTH / 2 - a / 3, 2}, {WIDTH / 2 + a / 3, 2}, {WIDTH / 2 + a, 4}};
    }

    double Concrete(double e) const {
        const double crush = static_cast<double>(0.0038f);
        if (e <= 0.0) {
            return 0.0;
        }
        if (e > crush) {
            return static_cast<double>(0.001f);
        }
        const double x = e / e0;
        if (x < 1.0) {
            return FC * (2.0 * x - x * x);
        }
        return FC - static_cast<double>(0.15f) * FC * (e - e0) / (crush - e0);
    }

    static double Strand(double e) {
        const double a = std::fabs(e);
        if (a <= static_cast<double>(0.0086f)) {
            return 28500.0 * e;
        }
        const double s =
            std::min(270.0, 270.0 - static_cast<double>(0.04f) / (a - static_cast<double>(0.007f)));
        return e < 0.0 ? -s : s;
    }

    // Axial force and moment about mid-depth for the strain phi (c - depth).
    void Resultants(double c, double phi, double& N, double& M) const {
        const int strips = 6000;
        const double t = WIDTH / strips;
        N = 0.0;
        M = 0.0;
        for (int i = 0; i < strips; ++i) {
            const double d = (i + 0.5) * t;
            const double f = Concrete(phi * (c - d)) * WIDTH * t;
            N += f;
            M += f * (WIDTH / 2 - d);
        }
        for (const auto& [d, n] : rows) {
            const double e = phi * (c - d);
            const double f = n * strand_area * (Strand(e + e_ps) - Concrete(e));
            N += f;
            M += f * (WIDTH / 2 - d);
        }
    }

    // Moment when the extreme compression strain is 0.003, with the neutral-axis depth found
    // by bisection for the thrust P.
    double Capacity(double P) const {
        const double top = static_cast<double>(0.003f);
        double lo = 1e-3, hi = 1e4, N = 0.0, M = 0.0;
        for (int k = 0; k < 200; ++k) {
            const double c = 0.5 * (lo + hi);
            Resultants(c, top / c, N, M);
            (N < P ? lo : hi) = c;
        }
        Resultants(lo, top / lo, N, M);
        return M;
    }
};

TEST(PrestressedCapacity, FibreIntegrationFromTensileToCompressiveCapacity) {
    const FibreSection fibre;
    const double Nt = -fibre.As * 270.0;
    const double Pn =
        (static_cast<double>(0.85f) * FC - 0.60 * fibre.e_pc * fibre.Ec) * (fibre.Ac + fibre.As);
    const std::vector<double> thrusts = {0.97 * Nt, -450.0, -400.0, -320.0, -280.0,  -250.0,
                                         -100.0,    0.0,    500.0,  1500.0, 0.9 * Pn};
    auto m = Prestressed_Pile_Model(thrusts);
    Compute_Section_Stiffness(*m, 1);
    ASSERT_EQ(m->RunStatus, 0);
    const SectionEITable& T = m->EI_Table;
    ASSERT_EQ(T.i_Num_Thrusts[1], static_cast<int>(thrusts.size()));
    for (int t = 1; t <= T.i_Num_Thrusts[1]; ++t) {
        const double P = thrusts[static_cast<size_t>(t - 1)];
        const double Mn = T.Mn[1][t] / 1000.0; // stored in lb-in
        // Close to the tensile capacity the compression zone (0.15 in) is thinner than one
        // slice of the section (0.24 in), whose concrete acts at its centroid strain; the
        // fibre model on the same 100 strips agrees within 0.5 % there too.
        const double tolerance = P < 0.95 * Nt ? 0.01 : 0.005;
        EXPECT_NEAR(Mn / fibre.Capacity(P), 1.0, tolerance) << "P = " << P;
        // A curve of rising curvature and moment, positive stiffness all along, that runs
        // far enough to bracket the crushing strain.
        const int n = T.n_Points[1][t];
        EXPECT_GT(n, 20) << "P = " << P;
        for (int k = 1; k <= n; ++k) {
            EXPECT_GT(T.EI[1][t][k], 0.0) << "P = " << P << " point " << k;
            if (k > 1) {
                EXPECT_GT(T.Phi[1][t][k], T.Phi[1][t][k - 1]);
                EXPECT_GE(T.M[1][t][k], T.M[1][t][k - 1]);
            }
        }
    }
    ASSERT_EQ(thrusts[2], -400.0);
    // -400 kips has removed the precompression: the curve starts cracked and its moment
    // rises from the first point, instead of holding the uncracked first moment flat over
    // a fiftyfold range of curvature.
    for (int k = 2; k <= 40; ++k) {
        EXPECT_GT(T.M[1][3][k], T.M[1][3][k - 1]) << "point " << k;
    }
    EXPECT_EQ(m->Warnings.i_Warning_Tally[306], 0);
    // Every curve reaches the crushing strain before the table of points is full.
    EXPECT_EQ(m->Warnings.i_Warning_Tally[305], 0);
}

// The same pile in a lateral run under -400 kips (0.8 Nt, beyond the loss of precompression
// but short of the cracking load): the stiffness table is usable, the head moves with its
// shear and the run converges (it ran out of iterations when the uncracked first moment was
// held flat until the cracked curve caught up with it).
TEST(PrestressedCapacity, LateralRunUnderTensionConverges) {
    test::LateralCase c;
    c.length_ft = 40.0;
    c.section_lines = "7\n40.0\n24.0\n0.0\n6000.0\n0.75\n"
                      "Use default concrete tensile strength\n"
                      "Use internal stress-strain curve for concrete\n"
                      "Autoposition strands\n1\n3\n12\n371790.0\n0.2\n3.0\n1\n";
    c.loads = {"1 10000.0 0.0 -400000.0 1", "1 10000.0 0.0 0.0 1"};
    const test::RunOutput out = test::Run_Text(test::Lateral_Input(c));
    ASSERT_LE(out.result, 0) << out.report.substr(out.report.size() - 3000);
    const auto cases = test::Read_Stations(out.plot);
    ASSERT_EQ(cases.size(), 2u);
    for (const auto& stations : cases) {
        EXPECT_GT(stations[0].y, 0.0);
        for (const auto& st : stations) {
            EXPECT_GT(st.EI, 0.0);
        }
    }
    // Cracked under the tension, the pile is softer than without thrust.
    EXPECT_GT(cases[0][0].y, cases[1][0].y);
}

// The tension loads of the pile by hand. Cracking: the uniform strain ecr, where the concrete
// carries ft and the strands, elastic there, 28500 ksi times ecr plus their prestrain.
// Decompression: zero concrete strain, the strands at their prestrain alone.
TEST(PrestressedCapacity, CrackingAndDecompressionLoadsByHand) {
    auto m = Prestressed_Pile_Model({0.0});
    auto ws = std::make_unique<SectionWorkspace>();
    Fill_Section_Workspace(*m, 1, *ws);
    Initialize_EI_Vars(*m, *ws);
    ASSERT_EQ(m->RunStatus, 0);
    Compute_Axial_Capacities(*ws);
    const FibreSection fibre;
    const double ft = -0.004 * std::sqrt(1000.0 * FC);
    const double ecr = -(1.0 - std::sqrt(ft / FC + 1.0)) * fibre.e0;
    EXPECT_NEAR(ws->Pcr / (ft * fibre.Ac + fibre.As * 28500.0 * (ecr + fibre.e_ps)), 1.0, 1e-4);
    EXPECT_NEAR(ws->Decompression_Load / (fibre.As * 28500.0 * fibre.e_ps), 1.0, 1e-4);
    // Both lie between the pile's tensile capacity and zero, cracking beyond decompression.
    EXPECT_LT(ws->Pcr, ws->Decompression_Load);
    EXPECT_GT(ws->Pcr, -fibre.As * 270.0);
}

// A strand is sliced as a circle of its own area centred on its position, so the steel of
// a symmetric pile in pure tension acts on the centre line and adds no moment of its own.
TEST(PrestressedCapacity, StrandAreaIsCentredOnEachStrand) {
    auto ws = std::make_unique<SectionWorkspace>();
    ws->i_Geometry_Kind = GEOM_RECTANGLE;
    ws->Width = 24.0;
    ws->Diameter = 24.0;
    // One strand whose nominal diameter (0.5 in) exceeds its equivalent diameter
    // (0.441 in for 0.153 in^2), centred on the middle of slice 30 (slices are 0.24 in).
    const double y_strand = 12.0 - 0.24 * 29.5;
    test::Add_Bar(*ws, 0.0, y_strand, 0.5, 0.153);
    auto m = test::Quiet_Model();
    Slice_Section(*m, *ws);
    double area = 0.0, first = 0.0;
    for (int i = 1; i <= ws->i_Num_Slices; ++i) {
        const double y = ws->Y_Top - ws->Slice_Depth[i];
        area += ws->Area_Bars[i];
        first += ws->Area_Bars[i] * y;
    }
    EXPECT_NEAR(area, 0.153, 1e-12);
    // The sliced area is symmetric about the strand's centre; placed from the nominal top
    // of the strand it would sit 0.03 in higher, towards the compression face.
    EXPECT_NEAR(first / area, y_strand, 1e-9);
}

} // namespace
} // namespace zarno
