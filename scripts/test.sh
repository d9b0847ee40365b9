#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite; exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DTESSERA_WERROR=ON
# The print test prints on a real PDF printer of the local print server.
if [ "$(id -u)" -eq 0 ]; then "$root/scripts/cups-setup.sh"; else sudo "$root/scripts/cups-setup.sh"; fi
cd "$root/build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 600 -j "$(nproc)"
# Each fuzz target for a bounded time (clang, build-fuzz/).
"$root/scripts/fuzz.sh"
