// Pile-head stiffness. Cases 1 to 10 hold the head at zero slope and apply shears rising
// from 0.1 V0 to V0 on a log10 scale; cases 11 to 20 hold the head at zero deflection and
// apply moments from 0.1 M0 to M0 the same way. Because the soil springs and the section
// stiffness are nonlinear, each level gives its own secant terms:
//   K22 = V / y and K32 = -M / y (fixed head), K23 = V / theta and K33 = -M / theta
// (zero head deflection). With the moment positive where the shear's deflection would be
// resisted, all four terms come out positive for an ordinary pile.
#include "analyses/pile_head_stiffness.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "report/fortran_format.h"
#include "solver/load_case_results.h"
#include "solver/load_cases.h"

#include <array>
#include <cmath>
#include <fmt/format.h>
#include <string>

namespace zarno {

namespace {

// Base values below this magnitude are taken as "not given".
constexpr double BASE_VALUE_THRESHOLD = static_cast<double>(1.0e-7f);
// The first load level is a tenth of the base value.
constexpr double FIRST_LEVEL_FACTOR = static_cast<double>(0.1f);

// Defaults: 10 lbs and 100 in-lbs; the SI values are those loads converted, each kept as
// its own constant, the first-level values included.
constexpr double USCS_DEFAULT_SHEAR = 10.0;
constexpr double USCS_DEFAULT_MOMENT = 100.0;
constexpr double SI_DEFAULT_SHEAR = 0.04448220133781433;
constexpr double SI_DEFAULT_SHEAR_LEVEL_1 = 0.004448220200065078;
constexpr double SI_DEFAULT_MOMENT = 0.011298480443656445;
constexpr double SI_DEFAULT_MOMENT_LEVEL_1 = 0.0011298480612016923;

struct LoadLevels {
    std::array<double, NUM_STIFFNESS_LEVELS + 1> Shear{};
    std::array<double, NUM_STIFFNESS_LEVELS + 1> Moment{};
};

// Shear and moment of every level from the base values V0 and M0 of load case 1.
LoadLevels Stiffness_Load_Levels(int IUNITS, double V0, double M0) {
    double V1 = FIRST_LEVEL_FACTOR * V0;
    double M1 = FIRST_LEVEL_FACTOR * M0;
    if (std::abs(V0) < BASE_VALUE_THRESHOLD) {
        if (IUNITS == USCS) {
            V0 = USCS_DEFAULT_SHEAR;
            V1 = FIRST_LEVEL_FACTOR * V0;
        } else if (IUNITS == SI) {
            V0 = SI_DEFAULT_SHEAR;
            V1 = SI_DEFAULT_SHEAR_LEVEL_1;
        }
    }
    if (std::abs(M0) < BASE_VALUE_THRESHOLD) {
        if (IUNITS == USCS) {
            M0 = USCS_DEFAULT_MOMENT;
            M1 = FIRST_LEVEL_FACTOR * M0;
        } else if (IUNITS == SI) {
            M0 = SI_DEFAULT_MOMENT;
            M1 = SI_DEFAULT_MOMENT_LEVEL_1;
        }
    }
    LoadLevels L;
    L.Shear[1] = V1;
    L.Moment[1] = M1;
    for (int k = 2; k <= NUM_STIFFNESS_LEVELS; ++k) {
        L.Shear[k] = V0 * std::log10(static_cast<double>(k));
        L.Moment[k] = M0 * std::log10(static_cast<double>(k));
    }
    return L;
}

void Write_Failure_Block(AnalysisModel& m, int k, int iterations) {
    TextFile& r = m.Report;
    r.Blank_Lines(3);
    r.Write_Line("Error in computing pile-head stiffness matrix");
    r.Write_Line(fmt::format("i_Analysis = {}", k));
    r.Write_Line(fmt::format("Iteration Count = {}", iterations));
    r.Blank_Lines(1);
    r.Write_Line("Shear Force = " + Format_F(m.Loads[k].Condition1, 14, 3));
    r.Write_Line("Moment      = " + Format_F(m.Loads[k].Condition2, 14, 3));
    r.Blank_Lines(1);
    Record_Warning(m, WARNING_STIFFNESS_CASE,
                   {fmt::format("Pile-head stiffness matrix: load level {} (shear {:g}, moment "
                                "{:g}) did not converge or deflected beyond ExcessDeflection "
                                "after {} iterations; the matrix was not computed.",
                                k, m.Loads[k].Condition1, m.Loads[k].Condition2, iterations),
                    "Increase MaxIterations or ExcessDeflection in OPTIONS, or check the soil "
                    "and section data under load case 1, on which the matrix is based."});
}

enum class CaseOutcome { Converged, Failed, Fatal };

// One stiffness case iterated to convergence on the full pile; n is the iteration count.
CaseOutcome Run_Stiffness_Case(AnalysisModel& m, int k, int& n) {
    n = 1;
    if (!Prepare_Case(m, k, m.Pile_Length, false) || !Update_Case_EI(m)) {
        return CaseOutcome::Fatal;
    }
    const int maxit = m.i_Max_Iterations;
    while (n <= maxit) {
        if (!Solve_Case_Pass(m, n)) {
            return CaseOutcome::Fatal;
        }
        const FdSolution& s = m.Lateral.Solution;
        const double y1 = s.y(1);
        if (std::isnan(y1) || std::isnan(s.dYmax)) {
            if (Fail_Run(m, MessageId::StiffnessCaseNotANumber, n) > 0) {
                return CaseOutcome::Fatal;
            }
        }
        if (std::abs(s.dYmax) <= m.Tolerance) {
            if (n > 5) {
                return CaseOutcome::Converged;
            }
        } else if (n > 10 && std::abs(y1) >= m.Excess_Deflection) {
            return CaseOutcome::Failed;
        }
        if (!Regenerate_Case_Springs(m) || !Update_Case_EI(m)) {
            return CaseOutcome::Fatal;
        }
        ++n;
    }
    return CaseOutcome::Failed;
}

void Write_Stiffness_Report(AnalysisModel& m) {
    const PileHeadStiffness& K = m.Analyses.Stiffness;
    TextFile& r = m.Report;
    const bool uscs = m.IUNITS == USCS;
    r.Blank_Lines(2);
    r.Write_Line(std::string(80, '-'));
    r.Write_Line(std::string(19, ' ') + "Computed Pile-head Stiffness Matrix Values");
    r.Write_Line(std::string(24, ' ') + "K22, K23, K32, K33 for Pile Head");
    r.Write_Line(std::string(30, ' ') + "Based on Load Case 1");
    r.Write_Line(std::string(80, '-'));
    r.Blank_Lines(1);
    r.Write_Line("  K22 = abs(Shear Reaction/Top y)");
    r.Write_Line("  K32 = abs(Moment Reaction/Top y)");
    r.Blank_Lines(1);
    r.Write_Line("    Pile-Top       Pile-Top        Pile-Top                                   ");
    r.Write_Line("   Deflection   Shear Reaction   Moment React.       K22              K32     ");
    r.Write_Line(
        uscs ? "     inches          lbs            in-lbs          lb/in.         in-lb/in.  "
             : "     meters           kN             kN-m            kN/m            kN-m/m   ");
    r.Write_Line("  ------------  --------------  --------------  --------------  --------------");
    for (int k = 1; k <= NUM_STIFFNESS_LEVELS; ++k) {
        r.Write_Number(K.Top_y[k], 14);
        r.Write_Number(std::abs(K.Top_Shear[k]), 16);
        r.Write_Number(std::abs(K.Top_Moment[k]), 16);
        r.Write_Number(std::abs(K.K22[k]), 16);
        r.Write_Number(std::abs(K.K32[k]), 16);
        r.End_Line();
    }
    r.Blank_Lines(1);
    r.Write_Line("  K23 = abs(Shear Reaction/Top Rotation) ");
    r.Write_Line("  K33 = abs(Moment Reaction/Top Rotation)");
    r.Blank_Lines(1);
    if (uscs) {
        r.Write_Line(
            "    Pile-Top       Pile-Top        Pile-Top                                  ");
        r.Write_Line(
            "    Rotation     Shear React.    Moment React.       K23              K33    ");
        r.Write_Line(
            "     radians          lbs            in-lbs         lb/rad         in-lb/rad ");
    } else {
        r.Write_Line(
            "    Pile-Top       Pile-Top        Pile-Top                                   ");
        r.Write_Line(
            "    Rotation     Shear React.    Moment React.       K23              K33     ");
        r.Write_Line(
            "     radians          kN             kN-m           kN/rad          kN-m/rad  ");
    }
    r.Write_Line("  ------------  --------------  --------------  --------------  --------------");
    for (int k = NUM_STIFFNESS_LEVELS + 1; k <= NUM_STIFFNESS_CASES; ++k) {
        const int i = k - NUM_STIFFNESS_LEVELS;
        r.Write_Number(std::abs(K.Top_Rotation[k]), 14);
        r.Write_Number(std::abs(K.Top_Shear[k]), 16);
        r.Write_Number(std::abs(K.Top_Moment[k]), 16);
        r.Write_Number(std::abs(K.K23[i]), 16);
        r.Write_Number(std::abs(K.K33[i]), 16);
        r.End_Line();
    }
    r.Blank_Lines(1);
}

void Write_Stiffness_Plot_Records(AnalysisModel& m) {
    const PileHeadStiffness& K = m.Analyses.Stiffness;
    for (int i = 1; i <= NUM_STIFFNESS_LEVELS; ++i) {
        const int j = NUM_STIFFNESS_LEVELS + i;
        m.Plot.Write_Line(Format_ES(m.Loads[i].Condition1, 15, 7) +
                          Format_ES(m.Loads[j].Condition2, 15, 7) + Format_ES(K.K22[i], 15, 7) +
                          Format_ES(K.K23[i], 15, 7) + Format_ES(K.K32[i], 15, 7) +
                          Format_ES(K.K33[i], 15, 7) + Format_ES(std::abs(K.Top_y[i]), 15, 7) +
                          Format_ES(std::abs(K.Top_Rotation[j]), 15, 7) +
                          "  Line 14: V, M, K22, K23, K32, K33, ytop, theta");
        Record_Head_Stiffness(m, {m.Loads[i].Condition1, m.Loads[j].Condition2, K.K22[i], K.K23[i],
                                  K.K32[i], K.K33[i], std::abs(K.Top_y[i]),
                                  std::abs(K.Top_Rotation[j])});
    }
}

} // namespace

void Record_Stiffness_Case(AnalysisModel& m, int n, const LoadCaseSummary& head) {
    PileHeadStiffness& K = m.Analyses.Stiffness;
    if (n < 1 || n > NUM_STIFFNESS_CASES) {
        return;
    }
    K.Top_y[n] = head.Head_Deflection;
    K.Top_Rotation[n] = head.Head_Slope;
    K.Top_Shear[n] = head.Head_Shear;
    K.Top_Moment[n] = head.Head_Moment;
    if (n != m.i_Num_Loads) {
        return;
    }
    for (int i = 1; i <= NUM_STIFFNESS_LEVELS; ++i) {
        const int j = NUM_STIFFNESS_LEVELS + i;
        // The applied shear of the fixed-head case and the applied moment of the
        // zero-deflection case; the other two are the reactions of the solution.
        K.K22[i] = m.Loads[i].Condition1 / K.Top_y[i];
        K.K32[i] = -(K.Top_Moment[i] / K.Top_y[i]);
        K.K23[i] = K.Top_Shear[j] / K.Top_Rotation[j];
        K.K33[i] = -(m.Loads[j].Condition2 / K.Top_Rotation[j]);
    }
    K.b_Computed = true;
    Write_Stiffness_Report(m);
    Write_Stiffness_Plot_Records(m);
}

void Compute_Pile_Head_Stiffness(AnalysisModel& m) {
    if (!m.ib_ComputeKmatrix_1T0F) {
        return;
    }
    // The internal cases are reported only through the stiffness block.
    m.b_Print_py_Curves = false;
    m.b_Print_Summary_Only = true;
    m.Analyses.Stiffness = PileHeadStiffness{};

    // The stiffness cases occupy entries 1 to 20 of the load table while they run; the
    // ordinary table is put back on every way out.
    std::array<PileHeadLoad, NUM_STIFFNESS_CASES + 1> saved{};
    for (int k = 1; k <= NUM_STIFFNESS_CASES; ++k) {
        saved[static_cast<size_t>(k)] = m.Loads[k];
    }
    const int saved_num_loads = m.i_Num_Loads;
    const auto restore = [&] {
        for (int k = 1; k <= NUM_STIFFNESS_CASES; ++k) {
            m.Loads[k] = saved[static_cast<size_t>(k)];
        }
        m.i_Num_Loads = saved_num_loads;
    };

    const PileHeadLoad& base = m.Loads[1];
    const double P0 = base.Axial_Thrust;
    const LoadLevels levels = Stiffness_Load_Levels(m.IUNITS, base.Condition1, base.Condition2);
    for (int i = 1; i <= NUM_STIFFNESS_LEVELS; ++i) {
        PileHeadLoad& shear = m.Loads[i];
        shear.i_Load_Type = LOADING_SHEAR_SLOPE;
        shear.Condition1 = levels.Shear[static_cast<size_t>(i)];
        shear.Condition2 = 0.0;
        shear.Axial_Thrust = P0;
        shear.i_Compute_Top_Deflection_vs_Length = 1;
        PileHeadLoad& moment = m.Loads[NUM_STIFFNESS_LEVELS + i];
        moment.i_Load_Type = LOADING_DEFLECTION_MOMENT;
        moment.Condition1 = 0.0;
        moment.Condition2 = levels.Moment[static_cast<size_t>(i)];
        moment.Axial_Thrust = P0;
        moment.i_Compute_Top_Deflection_vs_Length = 1;
    }
    m.i_Num_Loads = NUM_STIFFNESS_CASES;

    for (int k = 1; k <= NUM_STIFFNESS_CASES; ++k) {
        int n = 1;
        const CaseOutcome outcome = Run_Stiffness_Case(m, k, n);
        if (outcome == CaseOutcome::Fatal) {
            restore();
            return;
        }
        if (outcome == CaseOutcome::Failed) {
            Write_Failure_Block(m, k, n);
            restore();
            return;
        }
        Write_Case_Results(m, k, n, true);
        if (m.RunStatus > 0) {
            restore();
            return;
        }
    }
    restore();
}

} // namespace zarno
