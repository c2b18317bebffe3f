#include "solver/lrfd.h"

#include "engine/analysis_model.h"
#include "engine/text_trim.h"
#include "profile/soil_profile.h"
#include "report/fortran_format.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zarno {

namespace {

// Below this magnitude a batter angle (radians) is taken as a vertical pile.
constexpr double BATTER_LIMIT = 1.0e-6;
// Factored axial forces closer than this are one thrust of the stiffness tables.
constexpr double DISTINCT_AXIAL_LIMIT = 1.0e-15;

int Clamped_Combinations(const AnalysisModel& m) {
    return std::clamp(m.i_Num_Lrfd_Combinations, 0, MAX_LRFD_COMBINATIONS);
}

// Integral of the linear piece between points j and j + 1 over [a, b] within it.
double Piece_Integral(const DepthValue& lo, const DepthValue& hi, double a, double b) {
    const double span = hi.Depth - lo.Depth;
    const auto at = [&](double z) {
        return lo.Value + (hi.Value - lo.Value) * (z - lo.Depth) / span;
    };
    return (at(a) + at(b)) / 2.0 * (b - a);
}

void Write_Type_Load_Report(AnalysisModel& m, int t) {
    const LrfdState& s = m.Lrfd;
    const int N = std::clamp(m.i_Num_Nodes, 0, NODE_TABLE_SIZE);
    TextFile& r = m.Report;
    r.Blank_Lines(2);
    r.Write_Line("Distributed Lateral Loads for LRFD:");
    r.Write_Line("-----------------------------------");
    r.Blank_Lines(1);
    r.Blank_Lines(1);
    r.Write_Line("Sums of Distributed Lateral Load Per Unit Length due to " +
                 Lrfd_Load_Type_Name(t));
    r.Blank_Lines(1);
    r.Write_Line("   Depth     Distributed Load");
    std::string units = "    " + m.Labels.Length.substr(0, 3);
    units.resize(18, ' ');
    units += Trim_Right(m.Labels.Force) + m.Labels.Division + Trim_Right(m.Labels.Length);
    r.Write_Line(units);
    r.Write_Line("----------   ----------------");
    for (int i = 1; i <= N; ++i) {
        const double q = s.Type_Load[static_cast<size_t>(t)][static_cast<size_t>(i)];
        if (q != 0.0) {
            r.Write_Line(Format_F(m.Nodes[i].X, 10, 2) + "   " + Format_F(q, 10, 2));
        }
    }
    r.Blank_Lines(2);
}

} // namespace

std::string Lrfd_Load_Type_Name(int t) {
    static constexpr const char* names[NUM_LRFD_LOAD_TYPES + 1] = {"",
                                                                   "Dead Loads",
                                                                   "Live Loads",
                                                                   "Earthquake Loads",
                                                                   "Impact Loads",
                                                                   "Wind Loads",
                                                                   "Water Loads",
                                                                   "Ice Loads",
                                                                   "Horizontal Soil Pressures",
                                                                   "Live Roof Loads",
                                                                   "Rain Loads",
                                                                   "Snow Loads",
                                                                   "Temperature Loads",
                                                                   "Special Loads"};
    std::string name = t >= 1 && t <= NUM_LRFD_LOAD_TYPES ? names[t] : "";
    name.resize(30, ' ');
    return name;
}

void Compute_Factored_Loads(AnalysisModel& m) {
    LrfdState& s = m.Lrfd;
    s.i_Num_Loads_Of_Type.fill(0);
    s.Sum_Horizontal.fill(0.0);
    s.Sum_Moment.fill(0.0);
    s.Sum_Axial.fill(0.0);
    s.Horizontal.fill(0.0);
    s.Vertical.fill(0.0);
    s.Shear.fill(0.0);
    s.Moment.fill(0.0);
    s.Axial.fill(0.0);
    s.i_Thrust_Index.fill(0);
    s.Distinct_Axial.fill(0.0);
    s.i_Num_Distinct_Axial = 0;

    const int N = std::clamp(m.i_Num_Lrfd_Loads, 0, MAX_LRFD_LOADS);
    for (int i = 1; i <= N; ++i) {
        const LrfdLoad& load = m.Lrfd_Loads[i];
        const int t = load.i_Load_Type;
        if (t < 1 || t > NUM_LRFD_LOAD_TYPES) {
            continue; // the reader refuses such a load; it can add to no type
        }
        ++s.i_Num_Loads_Of_Type[t];
        s.Sum_Horizontal[t] += load.Horizontal_Force;
        s.Sum_Moment[t] += load.Moment;
        s.Sum_Axial[t] += load.Axial_Force;
    }

    const int C = Clamped_Combinations(m);
    const double beta = m.Pile_Batter;
    const bool battered = std::abs(beta) > BATTER_LIMIT;
    for (int c = 1; c <= C; ++c) {
        const LrfdCombination& comb = m.Lrfd_Combinations[c];
        double H = 0.0;
        double M = 0.0;
        double P = 0.0;
        for (int t = 1; t <= NUM_LRFD_LOAD_TYPES; ++t) {
            H += comb.Load_Factor[t] * s.Sum_Horizontal[t];
            M += comb.Load_Factor[t] * s.Sum_Moment[t];
            P += comb.Load_Factor[t] * s.Sum_Axial[t];
        }
        s.Horizontal[c] = H;
        s.Vertical[c] = P;
        s.Moment[c] = M;
        // The head loads are given horizontal and vertical; a battered pile takes them as
        // a shear across and a thrust along its axis.
        if (battered) {
            s.Shear[c] = std::cos(beta) * H + std::sin(beta) * P;
            s.Axial[c] = -std::sin(beta) * H + std::cos(beta) * P;
        } else {
            s.Shear[c] = H;
            s.Axial[c] = P;
        }
    }

    std::array<double, MAX_LRFD_COMBINATIONS + 1> sorted{};
    for (int c = 1; c <= C; ++c) {
        sorted[static_cast<size_t>(c)] = s.Axial[c];
    }
    std::sort(sorted.begin() + 1, sorted.begin() + 1 + C);
    int K = 0;
    for (int c = 1; c <= C; ++c) {
        const double v = sorted[static_cast<size_t>(c)];
        if (K == 0 || std::abs(v - s.Distinct_Axial[K]) >= DISTINCT_AXIAL_LIMIT) {
            s.Distinct_Axial[++K] = v;
        }
    }
    s.i_Num_Distinct_Axial = K;
    // Each combination's thrust is the list entry it was merged into: the nearest one.
    for (int c = 1; c <= C; ++c) {
        int best = 1;
        for (int j = 2; j <= K; ++j) {
            if (std::abs(s.Distinct_Axial[j] - s.Axial[c]) <
                std::abs(s.Distinct_Axial[best] - s.Axial[c])) {
                best = j;
            }
        }
        s.i_Thrust_Index[c] = K > 0 ? best : 0;
    }

    // The section stiffness tables are computed for exactly these thrusts.
    const double scale = m.IUNITS == USCS ? 1000.0 : 1.0;
    m.Axial_Thrust_List.fill(0.0);
    for (int j = 1; j <= K; ++j) {
        m.Axial_Thrust_List[j] = s.Distinct_Axial[j] / scale;
    }
    m.i_Num_Axial_Thrusts = K;
    s.b_Factored_Loads_Formed = true;
}

void Set_Lrfd_Load_Cases(AnalysisModel& m) {
    const LrfdState& s = m.Lrfd;
    const int C = std::min(Clamped_Combinations(m), MAX_PILE_HEAD_LOADS);
    for (int c = 1; c <= C; ++c) {
        PileHeadLoad& load = m.Loads[c];
        load.i_Load_Type = LOADING_SHEAR_MOMENT;
        load.Condition1 = s.Shear[c];
        load.Condition2 = s.Moment[c];
        load.Axial_Thrust = s.Axial[c];
        load.i_Compute_Top_Deflection_vs_Length = 1; // no length sweep for a combination
    }
    m.i_Num_Loads = C;
}

double Lrfd_Profile_Integral(const LrfdLoad& load, double a, double b) {
    const int D = std::clamp(load.i_Num_Dist_Points, 0, MAX_DIST_LOAD_POINTS);
    double sum = 0.0;
    // Piece by piece over the overlap with [a, b]; a step (two points at one depth) is a
    // piece of no length, so each side of it uses its own value.
    for (int j = 1; j < D; ++j) {
        const DepthValue& lo = load.Dist_Load[static_cast<size_t>(j)];
        const DepthValue& hi = load.Dist_Load[static_cast<size_t>(j + 1)];
        if (!(hi.Depth > lo.Depth)) {
            continue;
        }
        const double from = std::max(a, lo.Depth);
        const double to = std::min(b, hi.Depth);
        if (to > from) {
            sum += Piece_Integral(lo, hi, from, to);
        }
    }
    return sum;
}

void Compute_Lrfd_Distributed_Loads(AnalysisModel& m) {
    LrfdState& s = m.Lrfd;
    for (auto& row : s.Type_Load) {
        row.fill(0.0);
    }
    const int N = std::clamp(m.i_Num_Nodes, 0, NODE_TABLE_SIZE);
    const double h = m.Increment_Length;
    const double L = m.Grid_Pile_Length;
    const int loads = std::clamp(m.i_Num_Lrfd_Loads, 0, MAX_LRFD_LOADS);
    if (N < 2 || !(h > 0.0)) {
        return;
    }
    for (int t = 1; t <= NUM_LRFD_LOAD_TYPES; ++t) {
        auto& q = s.Type_Load[static_cast<size_t>(t)];
        for (int i = 1; i <= loads; ++i) {
            const LrfdLoad& load = m.Lrfd_Loads[i];
            if (load.i_Load_Type != t || load.i_Num_Dist_Points < 1) {
                continue;
            }
            for (int k = 1; k <= N; ++k) {
                const double X = m.Nodes[k].X;
                const double from = std::max(X - h / 2.0, 0.0);
                const double to = std::min(X + h / 2.0, L);
                q[static_cast<size_t>(k)] += Lrfd_Profile_Integral(load, from, to);
            }
        }
        // Average over the window: h long, half of it at the head and the tip.
        for (int k = 1; k <= N; ++k) {
            q[static_cast<size_t>(k)] /= (k == 1 || k == N) ? h / 2.0 : h;
        }
    }
    for (int t = 1; t <= NUM_LRFD_LOAD_TYPES; ++t) {
        const auto& q = s.Type_Load[static_cast<size_t>(t)];
        if (std::any_of(q.begin() + 1, q.begin() + 1 + N, [](double v) { return v != 0.0; })) {
            Write_Type_Load_Report(m, t);
        }
    }
}

double Factored_Distributed_Load(const AnalysisModel& m, int i, int c) {
    if (i < 1 || i > NODE_TABLE_SIZE || c < 1 || c > MAX_LRFD_COMBINATIONS) {
        return 0.0;
    }
    const LrfdCombination& comb = m.Lrfd_Combinations[c];
    double w = 0.0;
    for (int t = 1; t <= NUM_LRFD_LOAD_TYPES; ++t) {
        w += comb.Load_Factor[t] * m.Lrfd.Type_Load[static_cast<size_t>(t)][static_cast<size_t>(i)];
    }
    return w;
}

void Apply_Lrfd_Distributed_Loads(AnalysisModel& m, int c) {
    Compute_Lrfd_Distributed_Loads(m);
    LrfdState& s = m.Lrfd;
    s.Node_Load.fill(0.0);
    for (int i = 1; i <= NODE_TABLE_SIZE; ++i) {
        m.Nodes[i].Dist_Load = 0.0;
    }
    const int N = std::clamp(m.i_Num_Nodes, 0, NODE_TABLE_SIZE);
    for (int i = 1; i <= N; ++i) {
        s.Node_Load[static_cast<size_t>(i)] = Factored_Distributed_Load(m, i, c);
        m.Nodes[i].Dist_Load = s.Node_Load[static_cast<size_t>(i)];
    }
}

double Applied_Distributed_Load(const AnalysisModel& m, int i) {
    if (i < 1 || i > NODE_TABLE_SIZE) {
        return 0.0;
    }
    if (m.b_Use_LRFD) {
        return m.Lrfd.Node_Load[static_cast<size_t>(i)];
    }
    return fn_DistLoad_Avg(m.Run_Input(), m.Grid(), m.Nodes[i].X);
}

} // namespace zarno
