#!/usr/bin/env bash
# Builds the Debian package and checks its files and dependencies.
set -euo pipefail
build="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
(cd "$out" && cpack --config "$build/CPackConfig.cmake" -G DEB > cpack.log 2>&1) ||
  { cat "$out/cpack.log"; fail "cpack"; }
deb="$(ls "$out"/*.deb | head -n 1)"
[ -f "$deb" ] || fail "no package"
dpkg-deb --info "$deb" > "$out/info"
grep -q '^ Package: tessera$' "$out/info" || fail "package name"
grep -q '^ Architecture: amd64$' "$out/info" || grep -q '^ Architecture: ' "$out/info" || fail "architecture"
depends="$(grep '^ Depends:' "$out/info")"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6; do
  echo "$depends" | grep -q "$lib" || fail "missing dependency $lib"
done
dpkg-deb --contents "$deb" > "$out/contents"
for f in ./usr/bin/tessera ./usr/share/applications/tessera.desktop \
         ./usr/share/icons/hicolor/scalable/apps/tessera.svg ./usr/share/icons/hicolor/32x32/apps/tessera.png \
         ./usr/share/mime/packages/tessera.xml; do
  grep -q " $f\$" "$out/contents" || fail "package lacks $f"
done
echo "1 passed, 0 failed"
