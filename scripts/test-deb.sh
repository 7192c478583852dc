#!/usr/bin/env bash
# Builds the Debian package of the program with CPack, installs it with dpkg,
# starts the installed editor under xvfb-run with an image to open, and
# removes the package: it must install, start and go away cleanly. Changes
# the system's packages, so it runs as root (or through sudo); CI runs it.
#     scripts/test-deb.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

rm -f "$build"/pixoran3_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/pixoran3_*.deb)
echo "package: $deb"
dpkg-deb --info "$deb" | grep -E 'Package|Version|Depends'

# dpkg waits for nobody: retry while another installation holds its lock.
dpkg_retry() {
  for _ in $(seq 1 30); do
    if "${sudo_cmd[@]}" dpkg "$@" 2>/tmp/pixoran3-dpkg.err; then
      return 0
    fi
    grep -q 'lock' /tmp/pixoran3-dpkg.err || { cat /tmp/pixoran3-dpkg.err; return 1; }
    sleep 2
  done
  cat /tmp/pixoran3-dpkg.err
  return 1
}

dpkg_retry -i "$deb"
installed=(/usr/bin/pixoran3 /usr/bin/pixoran3-editor /usr/share/pixoran3/astuces.txt
  /usr/share/pixoran3/aide/index.html /usr/share/applications/pixoran3.desktop
  /usr/share/icons/hicolor/scalable/apps/pixoran3.svg /usr/share/icons/hicolor/48x48/apps/pixoran3.png
  /usr/share/icons/hicolor/256x256/apps/pixoran3.png /usr/share/metainfo/example.pixoran3.Pixoran3.metainfo.xml)
for f in "${installed[@]}"; do
  [ -e "$f" ] || { echo "not installed: $f"; exit 1; }
done

# The installed editor starts, shows its window with the image and prints
# nothing; a second file given on the command line opens too.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[Astuces]\nDemarrage=0\n' > "$work/Pixoran3.ini"
pixoran3 --batch /usr/share/icons/hicolor/48x48/apps/pixoran3.png "$work/icone.bmp"
cp "$work/icone.bmp" "$work/copie.bmp"
mkdir -m 700 "$work/run"
cat > "$work/start.sh" <<'INNER'
set -u
work=$1
# The test run exports QT_QPA_PLATFORM=offscreen for its GUI tests; the
# installed editor must open a real window on the X server here.
QT_QPA_PLATFORM=xcb PIXORAN3_INI="$work/Pixoran3.ini" XDG_RUNTIME_DIR="$work/run" pixoran3 "$work/icone.bmp" "$work/copie.bmp" \
  >"$work/out.txt" 2>"$work/err.txt" &
pid=$!
for _ in $(seq 1 150); do
  xdotool search --name '^Pixoran3$' >/dev/null 2>&1 && break
  sleep 0.2
done
xdotool search --name '^Pixoran3$' >/dev/null 2>&1 || {
  echo "no window"; cat "$work/out.txt" "$work/err.txt"; kill $pid; exit 1; }
sleep 1
kill -0 $pid || { echo "the editor ended"; exit 1; }
kill $pid
wait $pid
exit 0
INNER
xvfb-run -a -s "-screen 0 1280x800x24" bash "$work/start.sh" "$work"
if [ -s "$work/err.txt" ] || [ -s "$work/out.txt" ]; then
  echo "the start printed:"
  cat "$work/out.txt" "$work/err.txt"
  exit 1
fi

dpkg_retry -r pixoran3
for f in "${installed[@]}"; do
  [ ! -e "$f" ] || { echo "left behind: $f"; exit 1; }
done
[ ! -d /usr/share/pixoran3 ] || { echo "left behind: /usr/share/pixoran3"; exit 1; }
echo "package installed, started and removed cleanly"
