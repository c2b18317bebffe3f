#!/usr/bin/env bash
# Builds Zarno twice (plain, and with AddressSanitizer + UndefinedBehaviorSanitizer) and
# runs the whole test suite in both builds, with the browser page's end-to-end test after the
# plain build. Any failure or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
bash scripts/test-python.sh build
bash scripts/test-web.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZARNO_SANITIZE=ON -DZARNO_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"
