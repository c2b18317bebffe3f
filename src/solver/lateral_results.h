// What the lateral analysis keeps in the model: the working data of the load case being
// solved, and the values of every converged case that the summary of pile responses and
// the pile-head stiffness matrix read afterwards.
#pragma once

#include "engine/capacities.h"
#include "engine/pile_node.h"
#include "engine/station_array.h"
#include "solver/fd_solver.h"
#include "solver/iteration_control.h"
#include "solver/load_case_results.h"
#include "solver/node_results.h"

#include <array>

namespace zarno {

struct LateralState {
    // ---- working data of the current load case -------------------------------------------
    FdPileModel Pile;
    FdSolution Solution;
    NodeResultInputs Inputs;
    NodeResults Results;
    ResultMaxima Maxima;
    EquilibriumCheck Balance;
    IterationControl Control; // recognises and damps a cycling iteration
    int i_Loading_Type = LOADING_SHEAR_MOMENT;
    double Condition_1 = 0.0;
    double Condition_2 = 0.0;
    double Axial_Thrust = 0.0; // Q of the case, computation units
    int i_Iterations = 0;      // iterations used by the last solved case
    bool b_Stiffness_Mode = false;
    int Case_In_Progress = 0; // the ordinary load case being solved, 0 between cases

    // ---- per-node plastic moment of elastic-plastic sections ------------------------------
    StationArray<double, 1, NODE_TABLE_SIZE> Node_Mp{};

    // ---- converged load cases ---------------------------------------------------------------
    int i_Num_Cases_Done = 0;
    std::array<LoadCaseSummary, MAX_PILE_HEAD_LOADS + 1> Case{};
    // Per case and section: moment and shear of largest magnitude with their nodes.
    std::array<std::array<double, MAX_SECTIONS + 1>, MAX_PILE_HEAD_LOADS + 1> Section_Moment{};
    std::array<std::array<int, MAX_SECTIONS + 1>, MAX_PILE_HEAD_LOADS + 1> i_Section_Moment_Node{};
    std::array<std::array<double, MAX_SECTIONS + 1>, MAX_PILE_HEAD_LOADS + 1> Section_Shear{};
};

} // namespace zarno
