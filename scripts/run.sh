#!/usr/bin/env bash
# Sets up, builds and starts the editor; an optional file name is passed on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
exec "$root/build/bin/tessera" "$@"
