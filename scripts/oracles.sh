#!/usr/bin/env bash
# Puts the two WMLScript reference programs the tests compare against
# (wmlsc, a compiler, and wmlsdasm, its disassembler) into the build tree.
# They come from Debian's WAP gateway package, which is never installed:
# installing it would start a gateway service. The package is downloaded
# into a cache folder and unpacked with dpkg-deb; only the shared libraries
# the two programs load are installed with apt-get.
# The programs land in <dest>/usr/bin (dest: build/oracles by default).
# A machine where they already run is left alone. When the package cannot
# be had (no network), the script says so and exits 0: the tests that need
# the programs skip themselves.
# Usage: oracles.sh [dest]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dest="${1:-$root/build/oracles}"
mkdir -p "$dest"
dest="$(cd "$dest" && pwd)"
cache="$dest/cache"
programs=(wmlsc wmlsdasm)
# What the two programs link beyond what the program's own packages bring
# (ldd on the unpacked programs; libxml2 brings ICU, zlib and lzma).
library_packages=(libmariadb3 libpcre3 libssl3 libxml2)

missing_libraries() {
  local p
  for p in "${programs[@]}"; do
    ldd "$dest/usr/bin/$p" 2>/dev/null | grep 'not found' || true
  done
}

runs() {
  local p
  for p in "${programs[@]}"; do
    [ -x "$dest/usr/bin/$p" ] || return 1
  done
  [ -z "$(missing_libraries)" ]
}

if runs; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${library_packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing the reference programs' libraries: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" || {
    "${sudo_cmd[@]}" apt-get update -q
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
  } || echo "oracles.sh: could not install ${missing[*]}; the comparison tests will skip"
fi

mkdir -p "$cache"
deb="$(ls "$cache"/kannel_*.deb 2>/dev/null | head -n 1 || true)"
if [ -z "$deb" ]; then
  # apt-get download runs as the user _apt when it can; a cache folder it
  # cannot reach only draws a warning. A machine that never ran apt-get
  # update has no package lists yet.
  (cd "$cache" && apt-get download -q kannel) || {
    "${sudo_cmd[@]}" apt-get update -q && (cd "$cache" && apt-get download -q kannel)
  } || true
  deb="$(ls "$cache"/kannel_*.deb 2>/dev/null | head -n 1 || true)"
fi
if [ -z "$deb" ]; then
  echo "oracles.sh: could not download the kannel package; the comparison tests will skip"
  exit 0
fi

unpacked="$cache/unpacked"
rm -rf "$unpacked"
dpkg-deb -x "$deb" "$unpacked"
mkdir -p "$dest/usr/bin"
for p in "${programs[@]}"; do
  install -m 0755 "$unpacked/usr/bin/$p" "$dest/usr/bin/$p"
done
rm -rf "$unpacked"

if ! runs; then
  echo "oracles.sh: the reference programs still miss libraries:"
  missing_libraries
  exit 0
fi
echo "Reference programs ready in $dest/usr/bin"
