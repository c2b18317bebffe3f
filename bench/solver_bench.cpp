// One solution of the finite-difference pile equations: the unit of work an iteration of
// a load case repeats. Elastic pile in a uniform subgrade under a head shear.
#include "report/text_file.h"
#include "solver/fd_solver.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Solves the pile once per benchmark iteration, as the load-case loop does once per pass.
void Time_Solutions(benchmark::State& state, const zarno::FdPileModel& p, int n) {
    using namespace zarno;
    auto s = std::make_unique<FdSolution>();
    TextFile sink(nullptr);
    int iteration = 1;
    for (auto _ : state) {
        const Solve_Result r = Solve_Pile_Deflection(p, iteration, *s, sink, sink);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(s->Y[1]);
        ++iteration;
    }
    state.SetComplexityN(n);
}

void BM_Solve_Pile_Deflection(benchmark::State& state) {
    using namespace zarno;
    const int n = static_cast<int>(state.range(0));
    const int type = static_cast<int>(state.range(1));
    auto p = std::make_unique<FdPileModel>();
    p->i_Num_Nodes = n + 1;
    p->Increment = 1200.0 / n;
    p->Axial_Thrust = 1.0e5;
    p->i_Loading_Type = type;
    p->Condition_1 = type >= LOADING_DEFLECTION_MOMENT ? 0.5 : 10000.0;
    p->Condition_2 = 0.0;
    for (int m = 1; m <= n + 1; ++m) {
        p->EI[m] = 4.0e10;
        p->Es[m] = 1000.0 + 10.0 * m;
        p->Dist_Load[m] = m < 10 ? 5.0 : 0.0;
    }
    Time_Solutions(state, *p, n);
}

BENCHMARK(BM_Solve_Pile_Deflection)
    ->ArgNames({"increments", "type"})
    ->Args({100, 1})
    ->Args({500, 1})
    ->Args({100, 2})
    ->Args({500, 2})
    ->Args({100, 5})
    ->Args({500, 5});

// The same pile with the monopile springs (distributed moment at every station, base shear
// and moment at the tip): the banded solution that replaces the recurrence for such piles.
void BM_Solve_Monopile_Deflection(benchmark::State& state) {
    using namespace zarno;
    const int n = static_cast<int>(state.range(0));
    auto p = std::make_unique<FdPileModel>();
    p->i_Num_Nodes = n + 1;
    p->Increment = 1200.0 / n;
    p->i_Loading_Type = LOADING_SHEAR_MOMENT;
    p->Condition_1 = 10000.0;
    for (int m = 1; m <= n + 1; ++m) {
        p->EI[m] = 4.0e10;
        p->Es[m] = 1000.0 + 10.0 * m;
        p->Km[m] = 1.0e6;
    }
    p->Base_Shear_Spring = 1.0e5;
    p->Base_Moment_Spring = 1.0e9;
    Time_Solutions(state, *p, n);
}

BENCHMARK(BM_Solve_Monopile_Deflection)->ArgNames({"increments"})->Arg(100)->Arg(500);

} // namespace
