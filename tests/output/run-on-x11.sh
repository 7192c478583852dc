#!/usr/bin/env bash
# Runs the screen-capture tests of test_output on a real X server (Xvfb,
# 1024 x 768) with a window manager (openbox), which minimising needs;
# xdotool presses the mouse buttons and keys there. Exits 77 (skipped) when
# one of the tools is missing.
#   tests/output/run-on-x11.sh PATH/TO/test_output
set -euo pipefail
exe="$1"
for tool in xvfb-run openbox xdotool xprop import xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "capture tests skipped: $tool is missing"
    exit 77
  fi
done
exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  # openbox manages windows once it has announced itself on the root window.
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  status=0
  QT_QPA_PLATFORM=xcb "$0" --gtest_filter="X11Capture.*" || status=$?
  kill $wm 2>/dev/null || true
  exit $status
' "$exe"
