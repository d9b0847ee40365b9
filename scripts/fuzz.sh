#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a
# bounded time (FUZZ_SECONDS, 17 by default, so that the whole stage stays
# near two minutes) from its corpus in
# fuzz/corpus/<target>/. A crash, a leak or a broken property fails the
# script; the input that did it is left in build-fuzz/artifacts/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
export CCACHE_BASEDIR="$root"
seconds="${FUZZ_SECONDS:-17}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTESSERA_FUZZ=ON > build-fuzz-configure.log 2>&1 || { cat build-fuzz-configure.log; exit 1; }
cmake --build build-fuzz --parallel "$(nproc)"
mkdir -p build-fuzz/artifacts
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
for target in build-fuzz/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="fuzz/corpus/${name#fuzz_}"
  work="build-fuzz/corpus/${name#fuzz_}"
  mkdir -p "$corpus" "$work"
  echo "== $name: ${seconds}s"
  # New inputs go to the build tree; the repository's corpus is only read.
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/artifacts/$name-" "$work" "$corpus" > "build-fuzz/$name.log" 2>&1; then
    tail -n 60 "build-fuzz/$name.log"
    echo "FAILED: $name (input in build-fuzz/artifacts/)"
    status=1
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "build-fuzz/$name.log" | tail -n 2 || true
  fi
done
exit "$status"
