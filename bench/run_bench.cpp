// Whole lateral runs: input read, report and plot written, every load case iterated to
// convergence. An elastic pile in an elastic subgrade, so the cost is that of the run
// itself (reading, six solutions per case, results and files), not of a soil model.
#include "engine/run.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Elastic_Pile_Input(int increments, int cases) {
    std::ostringstream s;
    s << "ZARNOK6\nTITLE\nBenchmark pile\n\n\n\n\n"
         "OPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\n"
         "UseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     0\n"
         "MaxIterations 100\nExcessDeflection 100.0\nTolerance 1.0E-05\n";
    s << "Increments " << increments << "\n";
    s << "PrintSummaryOnly NO\nPrintIncrement 1\nPrintPYCurves NO\nComputeInteraction NO\n"
         "SECTIONS\n1\n1\n11\n100.0\n2\n29e6\n24\n24\n452.4\n452.4\n16000\n16000\n"
         "SOIL LAYERS\n1\n13 0.0 100.0\n60.0 50.0\n60.0 150.0\n";
    s << "LOADING\n" << cases << "\n";
    for (int c = 1; c <= cases; ++c) {
        s << c << " " << 1 + (c - 1) % 5 << " " << ((1 + (c - 1) % 5) >= 4 ? "0.5" : "10000.0")
          << " 0.0 0.0 1\n";
    }
    s << "0\nEND\n";
    return s.str();
}

void BM_Whole_Run(benchmark::State& state) {
    const int increments = static_cast<int>(state.range(0));
    const int cases = static_cast<int>(state.range(1));
    std::random_device rd;
    const fs::path dir =
        fs::temp_directory_path() / ("zarno_bench_" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(dir);
    zarno::RunRequest r;
    r.input_file = (dir / "pile.inp").string();
    r.report_file = (dir / "pile.zro").string();
    r.plot_file = (dir / "pile.zrp").string();
    r.message_file = (dir / "pile.zrm").string();
    { std::ofstream(r.input_file) << Elastic_Pile_Input(increments, cases); }
    int result = 0;
    for (auto _ : state) {
        result = zarno::Run_Analysis(r);
        benchmark::DoNotOptimize(result);
    }
    if (result != 0) {
        state.SkipWithError("the benchmark run did not end normally");
    }
    state.counters["nodes_x_cases"] =
        benchmark::Counter(static_cast<double>((increments + 1) * cases),
                           benchmark::Counter::kIsIterationInvariantRate);
    std::error_code ec;
    fs::remove_all(dir, ec);
}

BENCHMARK(BM_Whole_Run)
    ->ArgNames({"increments", "cases"})
    ->Args({100, 1})
    ->Args({500, 1})
    ->Args({100, 10})
    ->Args({500, 10})
    ->Unit(benchmark::kMillisecond);

} // namespace
