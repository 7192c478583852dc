#!/usr/bin/env bash
# Checks the include structure of src/:
#  - every folder has a floor, and a file includes only files of its own
#    folder or of a folder on a lower floor (dependencies point down);
#  - no two files include each other, directly or through others (a header
#    and its source count as one file).
# Prints every offending include and exits 1 when there is one.
#   scripts/check-layers.sh [SRC_DIR]
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"
cd "$src"

# Floors, lowest first. A subfolder not listed has the floor of its parent.
# dialogs/ and qt/ subfolders sit just above their folder: they may use it,
# it may not use them. The drawing tools sit below the image window that
# runs them; their windows (colour panel, palette, options) above it.
# The effects index (effects/browser) previews effects of both effects/ and
# transforms/, so it sits above them.
floor_of() {
  case "$1" in
    graphics/*) echo 10 ;;
    platform/qt/*) echo 25 ;;
    platform/*) echo 20 ;;
    codecs/*) echo 30 ;;
    effects/dialogs/*) echo 35 ;;
    effects/browser/*) echo 46 ;;
    effects/*) echo 30 ;;
    transforms/dialogs/*) echo 45 ;;
    transforms/*) echo 40 ;;
    fileio/dialogs/*) echo 45 ;;
    fileio/*) echo 40 ;;
    registry/*) echo 50 ;;
    batch/*) echo 55 ;;
    tools/dialogs/*) echo 65 ;;
    tools/*) echo 55 ;;
    document/*) echo 60 ;;
    output/*) echo 70 ;;
    app/*) echo 80 ;;
    main.cpp|editor_main.cpp) echo 90 ;;
    *) echo "" ;;
  esac
}

# The folder a file belongs to for the rule: its path up to the first level
# that has a floor of its own (effects/dialogs, platform/qt, or the top).
folder_of() {
  case "$1" in
    */dialogs/*|platform/qt/*|effects/browser/*) dirname "$1" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "$1" ;;
  esac
}

status=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT

while IFS= read -r file; do
  from_floor=$(floor_of "$file")
  if [ -z "$from_floor" ]; then
    echo "no floor for $file (add its folder to scripts/check-layers.sh)"
    status=1
    continue
  fi
  from_folder=$(folder_of "$file")
  from_room="${file%.*}"
  while IFS= read -r included; do
    [ -f "$included" ] || continue
    to_room="${included%.*}"
    [ "$to_room" = "$from_room" ] && continue
    echo "$from_room $to_room" >>"$edges"
    to_folder=$(folder_of "$included")
    [ "$to_folder" = "$from_folder" ] && continue
    to_floor=$(floor_of "$included")
    if [ -z "$to_floor" ] || [ "$to_floor" -ge "$from_floor" ]; then
      echo "$file includes $included: $to_folder is not below $from_folder"
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

if ! loop=$(tsort "$edges" 2>&1 >/dev/null) || [ -n "$loop" ]; then
  echo "files that include each other:"
  echo "$loop" | sed -n 's/^tsort: //p' | grep -v 'input contains a loop' | sed 's/^/  /'
  status=1
fi

[ $status -eq 0 ] && echo "layers: every include points down, no circle"
exit $status
