#!/usr/bin/env bash
# Runs the Python package's tests against the extension built in BUILD_DIR (default: build),
# with Debian's interpreter, which has the package's dependencies. Fails when a test fails,
# when no test is collected, or when the extension was not built.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
if ! ls "$build"/python/zarno/_engine*.so >/dev/null 2>&1; then
  echo "test-python: the extension is missing in $build/python/zarno (ZARNO_BUILD_PYTHON)" >&2
  exit 1
fi
export PYTHONPATH="$PWD/python:$build/python"
export MPLBACKEND=Agg
export PYTHONDONTWRITEBYTECODE=1
# pytest exits with 5 when it collects no test; that is a failure here like any other.
/usr/bin/python3 -m pytest -q -p no:cacheprovider python/tests
