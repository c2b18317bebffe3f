#!/usr/bin/env bash
# Installs what Zarno needs to build and test on a fresh Debian machine (run as root).
set -euo pipefail
packages=(g++ cmake make binutils libfmt-dev libcli11-dev libgtest-dev libbenchmark-dev
  nlohmann-json3-dev valgrind locales)
# The Python package: the extension (pybind11), tables, plots, parametric studies and tests.
packages+=(python3 python3-dev pybind11-dev python3-pybind11 python3-pandas python3-matplotlib
  python3-tqdm python3-distributed python3-pytest python3-venv python3-setuptools python3-wheel
  python3-pip)
# The browser front end: the engine compiled to WebAssembly, and a headless browser for its
# end-to-end test.
packages+=(emscripten chromium nodejs)
# npm installs the page's plotting library and browser driver from web/package-lock.json; some
# node packagings bring their own npm.
command -v npm >/dev/null 2>&1 || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
# A comma-decimal locale for the test that numbers are read the same under any locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen 2>/dev/null || true
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'de_DE.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
