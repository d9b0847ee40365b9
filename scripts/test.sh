#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite; exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# Prints how long each stage took, so a slow stage is seen at once.
stage_started=$SECONDS
stage_done() {
  echo "== stage '$1' took $((SECONDS - stage_started)) s"
  stage_started=$SECONDS
}
"$root/scripts/setup.sh"
stage_done setup
# Every C++ file as .clang-format lays it out (scripts/format.sh fixes them).
"$root/scripts/format.sh" --check
stage_done "format check"
"$root/scripts/build.sh" -DTESSERA_WERROR=ON
stage_done build
cd "$root/build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 600 -j "$(nproc)"
stage_done tests
# The whole suite again, built with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer in build-asan/; any report fails.
"$root/scripts/sanitize.sh"
stage_done "sanitizer build and tests"
# Each fuzz target for a bounded time (clang, build-fuzz/).
"$root/scripts/fuzz.sh"
stage_done "fuzz build and runs"
