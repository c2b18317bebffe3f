#!/usr/bin/env bash
# Installs what Zarno needs to build and test on a fresh Debian machine (run as root).
set -euo pipefail
packages=(g++ cmake make binutils libfmt-dev libcli11-dev libgtest-dev libbenchmark-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
