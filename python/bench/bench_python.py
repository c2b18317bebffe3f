"""Speed of the Python package: overhead per run and sweep throughput.

    PYTHONPATH=python:build/python /usr/bin/python3 python/bench/bench_python.py [--runs 2000]

Overhead per run: wall time of zarno.run (conversion of the results to Python included,
DataFrames built lazily on first access) minus the engine's own time of the same run, as a
share of the engine's time, on the pipe example (median over many runs). Throughput: a
sweep of N runs of the pipe example (N head shears) on 1 and on 2 threads.
"""

import argparse
import pathlib
import statistics
import threading
import time

import zarno

ROOT = pathlib.Path(__file__).resolve().parents[2]
PIPE = ROOT / "examples" / "pipe_pile.inp"


def overhead(runs, **kwargs):
    source = kwargs.pop("source", PIPE)
    shares, engine, total = [], [], []
    for _ in range(runs):
        start = time.perf_counter()
        result = zarno.run(source, **kwargs)
        wall = time.perf_counter() - start
        shares.append((wall - result.engine_seconds) / result.engine_seconds)
        engine.append(result.engine_seconds)
        total.append(wall)
    return statistics.median(engine), statistics.median(total), statistics.median(shares)


def dataframes(runs):
    times = []
    for _ in range(runs):
        result = zarno.run(PIPE, keep_texts=False)
        start = time.perf_counter()
        result.cases, result.summary  # noqa: B018 - builds the DataFrames
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def lock_share(runs, threads):
    """Share of each run's time spent outside the engine (holding or awaiting the
    interpreter lock) when several threads run analyses at once."""
    text = PIPE.read_text()
    totals = []

    def work():
        engine = total = 0.0
        for _ in range(runs):
            start = time.perf_counter()
            r = zarno.run(text, keep_texts=False, warn=False, tables=False)
            total += time.perf_counter() - start
            engine += r.engine_seconds
        totals.append((engine, total))

    pool = [threading.Thread(target=work) for _ in range(threads)]
    for t in pool:
        t.start()
    for t in pool:
        t.join()
    engine = sum(e for e, _ in totals)
    total = sum(t for _, t in totals)
    return (total - engine) / total


def throughput(runs, workers):
    template = PIPE.read_text().replace("1  1  20000.0", "1  1  {H}")
    loads = [10000.0 + 10.0 * i for i in range(runs)]
    start = time.perf_counter()
    df = zarno.sweep(template, {"H": loads}, workers=workers, progress=False)
    seconds = time.perf_counter() - start
    assert (df["status"] == 0).all() and df["run"].nunique() == runs
    return runs / seconds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=2000)
    args = parser.parse_args()
    zarno.run(PIPE)  # load everything once
    for label, kwargs in [("path, texts kept", {}),
                          ("path, no texts", {"keep_texts": False}),
                          ("path, key values only", {"keep_texts": False, "tables": False}),
                          ("deck text, no texts", {"keep_texts": False,
                                                   "source": PIPE.read_text()})]:
        engine, total, share = overhead(300, **kwargs)
        print(f"run ({label}): engine {engine * 1e3:.3f} ms, zarno.run {total * 1e3:.3f} ms, "
              f"overhead {100 * share:.1f} %")
    print(f"DataFrames of the two load cases and the summary, on first access: "
          f"{dataframes(100) * 1e3:.3f} ms")
    for threads in (1, 2):
        print(f"{threads} thread(s): time outside the engine (interpreter lock held or "
              f"awaited) {100 * lock_share(300, threads):.1f} % of each run")
    one = throughput(args.runs, 1)
    two = throughput(args.runs, 2)
    print(f"sweep of {args.runs} runs: 1 thread {one:.0f} runs/s, 2 threads {two:.0f} runs/s, "
          f"speed-up {two / one:.2f}")


if __name__ == "__main__":
    main()
