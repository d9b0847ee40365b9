#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12; installs
# only what is missing, so a prepared machine starts at once.
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev libx11-dev
  fonts-liberation tango-icon-theme
  xvfb xauth xdotool x11-utils imagemagick openbox
  libxml2-utils desktop-file-utils shared-mime-info
  cups cups-client printer-driver-cups-pdf poppler-utils
  clang libclang-rt-dev
)

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
