#!/usr/bin/env bash
# Configures and builds the program, its tests and the benchmark (Release)
# in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" > build-configure.log 2>&1 || {
  cat build-configure.log; exit 1; }
cmake --build build --parallel "$(nproc)"
