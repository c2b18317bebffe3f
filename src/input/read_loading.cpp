#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "input/list_read.h"
#include "input/read_input.h"

#include <fmt/format.h>
#include <string>
#include <string_view>
#include <vector>

namespace zarno {

namespace {

// The LRFD messages go to the report alone: a problem line and a detail line, the detail
// set off by a blank line where it quotes the input.
int Fail_Lrfd_Input(AnalysisModel& m, int n, const std::string& problem, const std::string& detail,
                    bool blank_before_detail) {
    return Fail_Run_Numbered(
        m, blank_before_detail ? MessageId::LrfdInputWithDetail : MessageId::LrfdInput, 100 + n,
        problem, detail);
}

} // namespace

void Read_Pile_Head_Loading(AnalysisModel& m) {
    constexpr std::string_view block = "LOADING";
    m.Messages.Write_Line("Reading pile head loading data");
    m.Loads_From_Axial_Thrust_Block = false;
    int n = 0;
    {
        ListRead r(m, block);
        if (!r.Int(n, "the number of pile-head loads")) {
            return;
        }
    }
    if (n > MAX_PILE_HEAD_LOADS) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(
            Raise_Capacity_Error(m, block, "pile-head loads", n, MAX_PILE_HEAD_LOADS));
        return;
    }
    // A lateral analysis (other than LRFD, whose cases are the combinations) without a
    // pile-head load would end with nothing analysed.
    if (n < 1 && m.i_Analysis_Type == ANALYSIS_LATERAL && !m.b_Use_LRFD) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Out_Of_Range(
            m, block, "number of pile-head loads", n,
            fmt::format("from 1 to {} for a lateral analysis", MAX_PILE_HEAD_LOADS)));
        return;
    }
    m.i_Num_Loads = std::max(n, 0);
    for (int i = 1; i <= n; ++i) {
        ListRead r(m, block);
        PileHeadLoad& load = m.Loads[i];
        int k = 0;
        if (!r.Int(k, fmt::format("the line number of pile-head load {}", i)) ||
            !r.Int(load.i_Load_Type, fmt::format("the loading type of load {}", i)) ||
            !r.Real(load.Condition1, fmt::format("condition 1 of load {}", i)) ||
            !r.Real(load.Condition2, fmt::format("condition 2 of load {}", i)) ||
            !r.Real(load.Axial_Thrust, fmt::format("the axial thrust of load {}", i)) ||
            !r.Int(load.i_Compute_Top_Deflection_vs_Length,
                   fmt::format("the deflection-versus-length flag of load {}", i))) {
            return;
        }
        if (load.i_Load_Type < 1 || load.i_Load_Type > 5) {
            // The reader is void: its caller tests RunStatus.
            static_cast<void>(Raise_Input_Line_Error(
                m, INPUT_ERROR_LOADING_TYPE,
                fmt::format("Problem:  Pile-head load {} in the LOADING block at line {} of the "
                            "input file has the loading type {}.",
                            i, m.Input.Line_Number(), load.i_Load_Type),
                "Solution: Use a loading type from 1 to 5 (1 shear and moment, 2 shear and "
                "slope, 3 shear and rotational stiffness, 4 deflection and moment, "
                "5 deflection and slope)."));
            return;
        }
    }
    int p = 0;
    {
        ListRead r(m, block);
        if (!r.Int(p, "the number of distributed lateral load points")) {
            return;
        }
    }
    if (p > MAX_DIST_LOAD_POINTS) {
        // The reader is void: its caller tests RunStatus.
        static_cast<void>(Raise_Capacity_Error(m, block, "distributed lateral load points", p,
                                               MAX_DIST_LOAD_POINTS));
        return;
    }
    if (p < 1) {
        m.i_Num_Dist_Load_Points = 0;
        m.Dist_Load[1] = DepthValue{};
        return;
    }
    m.i_Num_Dist_Load_Points = p;
    for (int j = 1; j <= p; ++j) {
        ListRead r(m, block);
        int k = 0;
        if (!r.Int(k, "the line number of a distributed load point") ||
            !r.Real(m.Dist_Load[j].Depth,
                    fmt::format("the depth of distributed load point {}", j)) ||
            !r.Real(m.Dist_Load[j].Value,
                    fmt::format("the load per unit length of distributed load point {}", j))) {
            return;
        }
        // The load profile is interpolated downwards; a point out of order would be lost.
        if (j > 1 && m.Dist_Load[j].Depth < m.Dist_Load[j - 1].Depth) {
            // The reader is void: its caller tests RunStatus.
            static_cast<void>(
                Raise_Out_Of_Order(m, block, fmt::format("depth of distributed load point {}", j),
                                   m.Dist_Load[j].Depth, fmt::format("depth of point {}", j - 1),
                                   m.Dist_Load[j - 1].Depth));
            return;
        }
    }
}

void Read_Lrfd_Loads(AnalysisModel& m) {
    constexpr std::string_view block = "LRFD LOADS";
    m.Messages.Write_Line("Reading LRFD unfactored load data");
    int n = 0;
    {
        ListRead r(m, block);
        if (!r.Int(n, "the number of LRFD loads")) {
            return;
        }
    }
    if (n < 1 || n > MAX_LRFD_LOADS) {
        if (Fail_Lrfd_Input(m, 98, fmt::format("Number of LRFD loads specified is {}", n),
                            "This is outside of the valid range to 1 to 100", false) > 0) {
            return;
        }
    }
    m.i_Num_Lrfd_Loads = n;
    for (int i = 1; i <= n; ++i) {
        LrfdLoad& load = m.Lrfd_Loads[i];
        int k = 0;
        int d = 0;
        {
            ListRead r(m, block);
            if (!r.Int(k, fmt::format("the number of LRFD load {}", i)) ||
                !r.Int(load.i_Load_Type, fmt::format("the load type of LRFD load {}", i)) ||
                !r.Real(load.Horizontal_Force,
                        fmt::format("the horizontal force of LRFD load {}", i)) ||
                !r.Real(load.Moment, fmt::format("the moment of LRFD load {}", i)) ||
                !r.Real(load.Axial_Force, fmt::format("the axial force of LRFD load {}", i)) ||
                !r.Int(d,
                       fmt::format("the number of distributed load points of LRFD load {}", i))) {
                return;
            }
        }
        if (k != i) {
            if (Fail_Lrfd_Input(m, 97, "Input appears to be out-of-order for LRFD loading",
                                fmt::format("Input load number is {} and the expected load "
                                            "number is {}",
                                            k, i),
                                false) > 0) {
                return;
            }
        }
        // A load of no known type could be given no load factor.
        if (load.i_Load_Type < 1 || load.i_Load_Type > 13) {
            if (Fail_Lrfd_Input(
                    m, 51,
                    fmt::format("The load type of LRFD load number {} is outside of the "
                                "valid range of 1 to 13.",
                                i),
                    fmt::format("The input load type is {}", load.i_Load_Type), true) > 0) {
                return;
            }
        }
        if (d < 0 || d == 1 || d > 100) {
            if (Fail_Lrfd_Input(
                    m, 95,
                    fmt::format("Number of distributed load points for LRFD load number {} is "
                                "outside of the valid range of 0 or 2 to 100.",
                                i),
                    fmt::format("The input number of distributed load points is {}", d),
                    true) > 0) {
                return;
            }
        }
        // A load keeps at most 50 points; more would be dropped, so they are refused.
        if (d > MAX_DIST_LOAD_POINTS) {
            // The reader is void: its caller tests RunStatus.
            static_cast<void>(Raise_Capacity_Error(
                m, block, fmt::format("distributed load points for LRFD load {}", i), d,
                MAX_DIST_LOAD_POINTS));
            return;
        }
        load.i_Num_Dist_Points = d;
        for (int j = 1; j <= d; ++j) {
            ListRead r(m, block);
            int jj = 0;
            if (!r.Int(jj, fmt::format("the point number of distributed load point {} of LRFD "
                                       "load {}",
                                       j, i)) ||
                !r.Real(
                    load.Dist_Load[j].Depth,
                    fmt::format("the depth of distributed load point {} of LRFD load {}", j, i)) ||
                !r.Real(load.Dist_Load[j].Value,
                        fmt::format("the distributed load of point {} of LRFD load {}", j, i))) {
                return;
            }
            if (j > 1 && load.Dist_Load[j].Depth < load.Dist_Load[j - 1].Depth) {
                // The reader is void: its caller tests RunStatus.
                static_cast<void>(Raise_Out_Of_Order(
                    m, block,
                    fmt::format("depth of distributed load point {} of LRFD load {}", j, i),
                    load.Dist_Load[j].Depth, fmt::format("depth of point {}", j - 1),
                    load.Dist_Load[j - 1].Depth));
                return;
            }
            if (jj != j) {
                if (Fail_Lrfd_Input(
                        m, 96,
                        fmt::format("Input appears to be out-of-order for LRFD distributed load {}",
                                    i),
                        fmt::format("Input distributed load point is {} and the expected point "
                                    "number is {}",
                                    jj, j),
                        true) > 0) {
                    return;
                }
            }
        }
    }
}

void Read_Lrfd_Factors(AnalysisModel& m) {
    constexpr std::string_view block = "LRFD FACTORS AND CASES";
    m.Messages.Write_Line("Reading LRFD load and resistance factor data ");
    int c = 0;
    {
        ListRead r(m, block);
        if (!r.Int(c, "the number of LRFD load combinations")) {
            return;
        }
    }
    if (c < 1 || c > MAX_LRFD_COMBINATIONS) {
        if (Fail_Lrfd_Input(m, 94,
                            "Number of LRFD load combinations outside of the valid range of 1 to "
                            "100.",
                            fmt::format("Number of LRFD load combinations input is {}", c),
                            true) > 0) {
            return;
        }
    }
    m.i_Num_Lrfd_Combinations = c;
    // A combination without load factors is reported, and the rest of the block is still
    // read so that every such combination is reported before the run ends.
    std::vector<std::string> last_zero; // the block of the last such combination
    for (int i = 1; i <= c; ++i) {
        LrfdCombination& comb = m.Lrfd_Combinations[i];
        {
            ListRead r(m, block);
            int k = 0;
            if (!r.Int(k, fmt::format("the number of LRFD load combination {}", i))) {
                return;
            }
            for (int t = 1; t <= 13; ++t) {
                if (!r.Real(comb.Load_Factor[t],
                            fmt::format("load factor {} of LRFD load combination {}", t, i))) {
                    return;
                }
            }
            if (!r.Real(comb.Resistance_Factor_Flexure,
                        fmt::format("the resistance factor for flexure of combination {}", i)) ||
                !r.Real(comb.Resistance_Factor_Shear,
                        fmt::format("the resistance factor for shear of combination {}", i))) {
                return;
            }
        }
        if (!Read_Block_Record(m, comb.Name, block,
                               fmt::format("the name of LRFD load combination {}", i))) {
            return;
        }
        if (comb.Resistance_Factor_Flexure <= 0.0) {
            comb.Resistance_Factor_Flexure = 0.75;
        }
        if (comb.Resistance_Factor_Shear <= 0.0) {
            comb.Resistance_Factor_Shear = 0.75;
        }
        double sum = 0.0;
        for (int t = 1; t <= 13; ++t) {
            sum += comb.Load_Factor[t];
        }
        if (sum <= 0.0) {
            last_zero = {"All input load factors for LRFD analysis are zero.",
                         fmt::format("The number of the LRFD load combination in error is {}", i)};
            Write_Message_With(m, MessageId::LrfdInputWithDetail, last_zero, 100 + 72);
        }
    }
    if (!last_zero.empty() &&
        Fail_Run_Written(m, MessageId::LrfdInputWithDetail, last_zero, 100 + 72) > 0) {
        return;
    }
}

} // namespace zarno
