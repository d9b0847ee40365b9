#!/usr/bin/env bash
# Configures and builds in build/ (Release): everything (the program, its
# tests and the benchmark), or with --program only the program and its data.
# Other arguments are passed to cmake's configure step.
# Usage: build.sh [--program] [-DOPTION=VALUE ...]
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD"
targets=()
if [ "${1:-}" = "--program" ]; then
  targets=(--target tessera)
  shift
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" > build-configure.log 2>&1 || {
  cat build-configure.log; exit 1; }
cmake --build build --parallel "$(nproc)" "${targets[@]}"
