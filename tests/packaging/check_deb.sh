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
# What the program links to (found by dpkg-shlibdeps, libc6 among them) and
# what it only loads at run time or reads as files.
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libxml2 \
           qt6-image-formats-plugins fonts-liberation; do
  echo "$depends" | grep -Eq "(: |, )$lib( |,|\$)" || fail "missing dependency $lib"
done
dpkg-deb --contents "$deb" > "$out/contents"
grep -Eq ' ./usr/lib/([^/]+/)?tessera/libtessera-program.so$' "$out/contents" ||
  fail "package lacks the program module"
for f in ./usr/bin/tessera ./usr/share/applications/tessera.desktop \
         ./usr/share/icons/hicolor/scalable/apps/tessera.svg ./usr/share/icons/hicolor/32x32/apps/tessera.png \
         ./usr/share/mime/packages/tessera.xml ./usr/share/doc/tessera/copyright \
         ./usr/share/doc/tessera/changelog.gz; do
  grep -q " $f\$" "$out/contents" || fail "package lacks $f"
done
# Debian's own checks: no errors (warnings and notes are printed).
lintian --version > /dev/null 2>&1 || fail "lintian is missing"
status=0
lintian --fail-on error "$deb" > "$out/lintian" 2>&1 || status=$?
grep -v 'running with root privileges' "$out/lintian" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"
echo "1 passed, 0 failed"
