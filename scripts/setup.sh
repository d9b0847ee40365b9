#!/usr/bin/env bash
# Installs what is missing on Debian 12: with --program, only what building
# and running the editor needs; without, also what its tests need (X server,
# print server, sanitizers, fuzzing, packaging checks). A prepared machine
# starts at once.
# Usage: setup.sh [--program]
set -euo pipefail

# Building and running the program.
program_packages=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev
  fonts-liberation tango-icon-theme
  libxml2-dev libwbxml2-dev qt6-image-formats-plugins libmicrohttpd-dev
)
# The tests, the benchmark, the sanitizer and fuzz builds, the format check.
test_packages=(
  xvfb xauth xdotool x11-utils imagemagick openbox
  libxml2-utils desktop-file-utils shared-mime-info libwbxml2-utils
  cups-daemon cups-core-drivers poppler-utils
  dpkg-dev lintian
  clang libclang-rt-dev clang-format
)

packages=("${program_packages[@]}")
if [ "${1:-}" != "--program" ]; then
  packages+=("${test_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The tests' WMLScript reference programs, unpacked into the build tree.
if [ "${1:-}" != "--program" ]; then
  "$(dirname "$0")/oracles.sh"
fi
