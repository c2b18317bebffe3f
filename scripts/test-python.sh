#!/usr/bin/env bash
# Installs the Python package from this tree into a virtual environment beside the build
# (BUILD_DIR/python-venv, default build), with the extension of that build, and runs the
# package's tests against the installed package, as a user would import it. The environment
# sees Debian's packages (numpy, pandas, matplotlib, distributed, pytest); nothing is
# downloaded. Fails when the install or a test fails, or when no test is collected.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "test-python: $build is not a configured build tree (cmake -S . -B $build)" >&2
  exit 1
fi
venv="$build/python-venv"
if [ ! -x "$venv/bin/python" ]; then
  /usr/bin/python3 -m venv --system-site-packages "$venv"
fi
export PYTHONDONTWRITEBYTECODE=1
# The build tree's engine is reused (ZARNO_CMAKE_BUILD_DIR) rather than compiled again.
ZARNO_CMAKE_BUILD_DIR="$build" PIP_NO_INDEX=1 PIP_DISABLE_PIP_VERSION_CHECK=1 \
  "$venv/bin/pip" install -q --no-build-isolation --no-deps ./python
rm -rf python/build python/*.egg-info
unset PYTHONPATH
export MPLBACKEND=Agg
# The tests find the command-line program and the examples through these.
export ZARNO_BUILD_DIR="$build"
# Run from outside the source tree, so that `import zarno` can only mean the installed package.
cd "$build"
# pytest exits with 5 when it collects no test; that is a failure here like any other.
"$venv/bin/python" -m pytest -q -p no:cacheprovider --rootdir="$root/python/tests" \
  "$root/python/tests"
