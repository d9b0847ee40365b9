#!/usr/bin/env bash
# Sets up and builds only what the editor needs, then starts it; the
# arguments (a file name, or an option) are passed on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" --program
"$root/scripts/build.sh" --program
exec "$root/build/bin/tessera" "$@"
