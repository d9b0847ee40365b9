#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer (leaks included)
# and UndefinedBehaviorSanitizer in build-asan/ and runs the whole suite
# there; any sanitizer report fails its test and so this script.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
export CCACHE_BASEDIR="$root"
# Unoptimised with line tables only: the instrumented build is compiled from
# scratch on a fresh machine, and the suite runs quickly enough without -O.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g1" \
  -DTESSERA_SANITIZE=ON -DBUILD_TESTING=ON > build-asan-configure.log 2>&1 || {
  cat build-asan-configure.log; exit 1; }
cmake --build build-asan --parallel "$(nproc)"
cd build-asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
# The packaging checks look at install rules, not at memory; they run in build/.
ctest --output-on-failure --timeout 900 -j "$(nproc)" -E '^packaging_' "$@"
