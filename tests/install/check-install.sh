#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the program is
# installed as desktops expect it: both executables, the tips and help pages,
# the icon in the hicolor theme, a valid desktop entry and AppStream file,
# and that the installed editor finds its data.
#     check-install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
expect() {
  if [ ! -e "$prefix/$1" ]; then
    echo "missing: $1"
    fail=1
  fi
}
expect bin/pixoran3
expect bin/pixoran3-editor
expect share/pixoran3/astuces.txt
expect share/pixoran3/aide/index.html
expect share/icons/hicolor/scalable/apps/pixoran3.svg
expect share/icons/hicolor/48x48/apps/pixoran3.png
expect share/icons/hicolor/256x256/apps/pixoran3.png
expect share/applications/pixoran3.desktop
expect share/metainfo/example.pixoran3.Pixoran3.metainfo.xml
[ "$fail" = 0 ] || exit 1

for side in 48 256; do
  size=$(file -b "$prefix/share/icons/hicolor/${side}x${side}/apps/pixoran3.png" | grep -o '[0-9]* x [0-9]*')
  if [ "$size" != "$side x $side" ]; then
    echo "the ${side}-pixel icon is $size"
    exit 1
  fi
done

desktop-file-validate "$prefix/share/applications/pixoran3.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/example.pixoran3.Pixoran3.metainfo.xml"

entry="$prefix/share/applications/pixoran3.desktop"
grep -qx 'Exec=pixoran3 %F' "$entry" || { echo "Exec is not 'pixoran3 %F'"; exit 1; }
grep -q '^Name\[fr\]=' "$entry" && grep -q '^Comment\[fr\]=' "$entry" && grep -q '^Comment=' "$entry" ||
  { echo "the entry lacks its French or English name or comment"; exit 1; }

# The installed program starts from its own folder: pixoran3 hands the editor
# over to pixoran3-editor beside it.
"$prefix/bin/pixoran3" --help >/dev/null
echo "installed and valid"
