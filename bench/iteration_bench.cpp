// Iterations of the load-case loop: the shipped examples (which converge with the classic
// head treatment and must not get slower) and the 1.2 m drilled shaft under fixed heads on
// its cracking step (which is solved again with each station's own head stiffness). Each
// benchmark reports the total and the largest number of iterations of its load cases as
// counters beside the time of one whole run, outputs kept in memory.
#include "bench_support.h"
#include "engine/results.h"
#include "run/run.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <fstream>
#include <sstream>
#include <string>

namespace {

zarno::DateTime Bench_Time() {
    return zarno::DateTime{};
}

std::string Read_Example(const std::string& name) {
    std::ifstream in(std::string(ZARNO_SOURCE_DIR) + "/examples/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Shaft_Deck(const std::string& load) {
    std::ostringstream s;
    s << "ZARNOK6\nTITLE\n1.2 m shaft, fixed head\n\n\n\n\nOPTIONS\nUnits SI\nUseLRFD NO\n"
         "ComputeKmatrix NO\nUseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\n"
         "ComputeEIOnly NO\nLoading STATIC     0\nMaxIterations 100\nExcessDeflection 2.5\n"
         "Tolerance 2.54E-05\nIncrements 100\nPrintSummaryOnly NO\nPrintIncrement 10\n"
         "PrintPYCurves NO\nComputeInteraction NO\n"
         "SECTIONS\n1\n1\n1\n20.0\n1200.0\n28000.0\n19.0\n"
         "Use default concrete tensile strength\nUse internal stress-strain curve for concrete\n"
         "Rebar Arrangement Not Same As Section Above\nRebar in circle\n420000.0\n200000000.0\n"
         "20\n1\n32.0\n804.0\n75.0\n0.0\n"
         "SOIL LAYERS\n3\n1  0.0  4.0\n7.0  20.0  0.02\n7.0  30.0  0.02\n"
         "5  4.0  10.0\n9.0  32.0  16300.0\n9.0  34.0  24400.0\n"
         "2  10.0  25.0\n9.5  100.0  0.005  136000.0\n9.5  150.0  0.004  271000.0\n"
         "LOADING\n1\n1 "
      << load << "\n0\nEND\n";
    return s.str();
}

void Run_And_Count(benchmark::State& state, const std::string& name, const std::string& deck) {
    const zarno::RunRequest r = zarno::bench::Request_In_Memory(name, &deck, "bench");
    int total = 0;
    int largest = 0;
    int status = 0;
    for (auto _ : state) {
        zarno::RunResults results;
        status = zarno::Run_Analysis(r, Bench_Time, results);
        total = 0;
        largest = 0;
        for (const zarno::LoadCaseResult& c : results.load_cases) {
            total += c.iterations;
            largest = std::max(largest, c.iterations);
        }
        benchmark::DoNotOptimize(results);
    }
    state.counters["iterations"] = total;
    state.counters["largest"] = largest;
    state.counters["status"] = status;
}

void BM_Example_Iterations(benchmark::State& state, const char* name) {
    Run_And_Count(state, name, Read_Example(name));
}
BENCHMARK_CAPTURE(BM_Example_Iterations, pipe_pile, "pipe_pile.inp");
BENCHMARK_CAPTURE(BM_Example_Iterations, drilled_shaft, "drilled_shaft.inp");
BENCHMARK_CAPTURE(BM_Example_Iterations, lrfd_pile, "lrfd_pile.inp");

void BM_Fixed_Head_Shaft(benchmark::State& state, const char* load) {
    Run_And_Count(state, load, Shaft_Deck(load));
}
BENCHMARK_CAPTURE(BM_Fixed_Head_Shaft, fixed_300kN, "2 300.0 0.0 2000.0 1");
BENCHMARK_CAPTURE(BM_Fixed_Head_Shaft, fixed_400kN, "2 400.0 0.0 2000.0 1");
BENCHMARK_CAPTURE(BM_Fixed_Head_Shaft, fixed_500kN, "2 500.0 0.0 2000.0 1");
BENCHMARK_CAPTURE(BM_Fixed_Head_Shaft, fixed_700kN, "2 700.0 0.0 2000.0 1");
BENCHMARK_CAPTURE(BM_Fixed_Head_Shaft, spring_1e7_300kN, "3 300.0 1.0E7 2000.0 1");

} // namespace
