#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the program, its launcher, icon and the WML file type.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

fail() { echo "FAIL: $*"; exit 1; }
for f in bin/tessera share/applications/tessera.desktop \
         share/icons/hicolor/scalable/apps/tessera.svg \
         share/icons/hicolor/32x32/apps/tessera.png share/mime/packages/tessera.xml \
         share/tessera/data/1x1.bmp share/tessera/data/4x4.bmp \
         share/tessera/dtd/wml11.dtd share/tessera/dtd/wml12.dtd share/tessera/dtd/wml13.dtd; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
[ -x "$prefix/bin/tessera" ] || fail "bin/tessera is not executable"
# The editor and the picture modes are the module's: the installed program
# finds it (the module reports the missing input; a lost module says so).
said="$(QT_QPA_PLATFORM=offscreen "$prefix/bin/tessera" --wbmp 2>&1 || true)"
echo "$said" | grep -q 'the input file is missing' ||
  fail "the installed program does not load its module: $said"

desktop-file-validate "$prefix/share/applications/tessera.desktop" || fail "launcher invalid"
grep -q '^Exec=tessera %f$' "$prefix/share/applications/tessera.desktop" || fail "launcher must open files"
grep -q '^Categories=.*Development;.*TextEditor;' "$prefix/share/applications/tessera.desktop" ||
  fail "launcher categories"
grep -q 'MimeType=text/vnd.wap.wml;' "$prefix/share/applications/tessera.desktop" ||
  fail "launcher does not offer itself for WML files"

xmllint --noout "$prefix/share/mime/packages/tessera.xml" || fail "MIME definition is not well-formed"
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/tessera.svg" || fail "icon is not well-formed"
[ "$(xmllint --xpath 'string(//*[local-name()="mime-type"]/@type)' "$prefix/share/mime/packages/tessera.xml")" = "text/vnd.wap.wml" ] ||
  fail "MIME type name"
[ "$(xmllint --xpath 'string(//*[local-name()="glob"]/@pattern)' "$prefix/share/mime/packages/tessera.xml")" = "*.wml" ] ||
  fail "MIME glob"
[ "$(identify -format '%m %wx%h' "$prefix/share/icons/hicolor/32x32/apps/tessera.png")" = "PNG 32x32" ] ||
  fail "the 32 by 32 picture is not a 32 by 32 PNG"
if command -v update-mime-database > /dev/null; then
  update-mime-database "$prefix/share/mime" || fail "update-mime-database refused the definition"
  grep -q 'text/vnd.wap.wml' "$prefix/share/mime/globs2" || fail "glob not registered"
fi
echo "1 passed, 0 failed"
