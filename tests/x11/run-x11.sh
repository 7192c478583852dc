#!/usr/bin/env bash
# Runs the X11 test program on a fresh X server with a window manager:
#     run-x11.sh TEST_PROGRAM [ARGS...]
# Exits 77 (skipped) when Xvfb, openbox or xdotool is missing.
for tool in xvfb-run openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
done
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  QT_QPA_PLATFORM=xcb "$@"
  rc=$?
  kill $wm
  exit $rc' run-x11 "$@"
