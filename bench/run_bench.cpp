// Whole lateral runs: input read, report and plot written, every load case iterated to
// convergence. An elastic pile in an elastic subgrade, so the cost is that of the run
// itself (reading, six solutions per case, results and files), not of a soil model.
#include "bench_support.h"
#include "run/run.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A fresh scratch directory for the files of a benchmark's runs, removed afterwards.
struct RunDirectory {
    RunDirectory() {
        std::random_device rd;
        path = fs::temp_directory_path() /
               ("zarno_bench_" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path);
    }
    ~RunDirectory() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    RunDirectory(const RunDirectory&) = delete;
    RunDirectory& operator=(const RunDirectory&) = delete;
    fs::path path;
};

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
    const RunDirectory run_dir;
    const fs::path& dir = run_dir.path;
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
}

BENCHMARK(BM_Whole_Run)
    ->ArgNames({"increments", "cases"})
    ->Args({100, 1})
    ->Args({500, 1})
    ->Args({100, 10})
    ->Args({500, 10})
    ->Unit(benchmark::kMillisecond);

// The same run from the deck text with its outputs in memory: no file is read or written.
// The caller takes no text, so the report, plot and messages are not composed at all.
void Run_In_Memory(benchmark::State& state, bool take_texts) {
    const int increments = static_cast<int>(state.range(0));
    const int cases = static_cast<int>(state.range(1));
    const std::string deck = Elastic_Pile_Input(increments, cases);
    zarno::RunRequest r = zarno::bench::Request_In_Memory("pile.inp", &deck, "pile");
    std::string report, plot, messages;
    if (take_texts) {
        r.report_text = &report;
        r.plot_text = &plot;
        r.message_text = &messages;
    }
    int result = 0;
    for (auto _ : state) {
        result = zarno::Run_Analysis(r);
        benchmark::DoNotOptimize(result);
    }
    if (result != 0) {
        state.SkipWithError("the benchmark run did not end normally");
    }
}

void BM_Whole_Run_In_Memory(benchmark::State& state) {
    Run_In_Memory(state, false);
}

// The same with the three texts taken by the caller, composed as the files would be.
void BM_Whole_Run_In_Memory_With_Texts(benchmark::State& state) {
    Run_In_Memory(state, true);
}

BENCHMARK(BM_Whole_Run_In_Memory)
    ->ArgNames({"increments", "cases"})
    ->Args({100, 1})
    ->Args({500, 10})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Whole_Run_In_Memory_With_Texts)
    ->ArgNames({"increments", "cases"})
    ->Args({100, 1})
    ->Args({500, 10})
    ->Unit(benchmark::kMillisecond);

// A shipped example, read, analysed and written, as a user runs it.
void BM_Example(benchmark::State& state, const char* name) {
    const RunDirectory run_dir;
    const fs::path& dir = run_dir.path;
    fs::copy_file(fs::path(ZARNO_SOURCE_DIR) / "examples" / name, dir / name);
    zarno::RunRequest r;
    r.input_file = (dir / name).string();
    r.report_file = (dir / "out.zro").string();
    r.plot_file = (dir / "out.zrp").string();
    r.message_file = (dir / "out.zrm").string();
    int result = 0;
    for (auto _ : state) {
        result = zarno::Run_Analysis(r);
        benchmark::DoNotOptimize(result);
    }
    if (result > 0) {
        state.SkipWithError("the example did not end normally");
    }
}

BENCHMARK_CAPTURE(BM_Example, pipe_pile, "pipe_pile.inp")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Example, drilled_shaft, "drilled_shaft.inp")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Example, ei_only_shaft, "ei_only_shaft.inp")->Unit(benchmark::kMillisecond);

// A monopile in PISA Cowden clay (the D1 pile) with 500 increments and ten load steps up to
// 12 MN, all four soil reactions iterated as secant springs.
void BM_Monopile_Run(benchmark::State& state) {
    std::ifstream in(fs::path(ZARNO_SOURCE_DIR) / "examples" / "monopile_cowden.inp");
    std::string deck((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto replace = [&](const std::string& from, const std::string& to) {
        deck.replace(deck.find(from), from.size(), to);
    };
    replace("Increments 150", "Increments 500");
    replace("PrintPYCurves YES", "PrintPYCurves NO");
    const size_t printed = deck.find("DEPTHS OF PRINTED");
    deck.erase(printed, deck.find("LOADING") - printed);
    std::string loads = "LOADING\n10\n";
    for (int k = 1; k <= 10; ++k) {
        const double H = 1200.0 * k;
        loads += std::to_string(k) + " 1 " + std::to_string(H) + " " + std::to_string(H * 37.5) +
                 " 0.0 1\n";
    }
    deck.replace(deck.find("LOADING"), deck.find("END") - deck.find("LOADING"), loads + "0\n");
    const zarno::RunRequest r = zarno::bench::Request_In_Memory("monopile.inp", &deck, "monopile");
    int result = 0;
    for (auto _ : state) {
        result = zarno::Run_Analysis(r);
        benchmark::DoNotOptimize(result);
    }
    if (result > 0) {
        state.SkipWithError("the monopile run did not end normally");
    }
}

BENCHMARK(BM_Monopile_Run)->Unit(benchmark::kMillisecond);

// Throughput of a parametric study: many independent runs of the pipe-pile example on
// parallel threads, each with its own files. Reports runs per second.
void BM_Parallel_Runs(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    constexpr int kRunsPerThread = 20;
    const RunDirectory run_dir;
    const fs::path& dir = run_dir.path;
    std::vector<zarno::RunRequest> requests(static_cast<size_t>(threads));
    for (int t = 0; t < threads; ++t) {
        const std::string stem = (dir / ("run" + std::to_string(t))).string();
        fs::copy_file(fs::path(ZARNO_SOURCE_DIR) / "examples/pipe_pile.inp", stem + ".inp");
        zarno::RunRequest& r = requests[static_cast<size_t>(t)];
        r.input_file = stem + ".inp";
        r.report_file = stem + ".zro";
        r.plot_file = stem + ".zrp";
        r.message_file = stem + ".zrm";
    }
    std::atomic<int> failures{0};
    for (auto _ : state) {
        std::vector<std::thread> pool;
        for (int t = 0; t < threads; ++t) {
            pool.emplace_back([&, t] {
                for (int k = 0; k < kRunsPerThread; ++k) {
                    if (zarno::Run_Analysis(requests[static_cast<size_t>(t)]) > 0) {
                        ++failures;
                    }
                }
            });
        }
        for (std::thread& th : pool) {
            th.join();
        }
    }
    if (failures > 0) {
        state.SkipWithError("a run did not end normally");
    }
    state.counters["runs_per_second"] =
        benchmark::Counter(static_cast<double>(threads * kRunsPerThread),
                           benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_Parallel_Runs)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
