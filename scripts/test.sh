#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite:
# the unit and GUI tests under ctest, the effect rows under the sanitizers,
# the include check, then every fuzz target for FUZZ_SECONDS seconds each
# (30 by default; 0 skips fuzzing).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# Real files written by other programs, when the shared corpus is beside us.
if [ -z "${PIXORAN3_CORPUS:-}" ] && [ -d ../shared/corpus ]; then
  export PIXORAN3_CORPUS="$(cd ../shared/corpus && pwd)"
fi

bash scripts/build.sh
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

# A private CUPS server with a PDF queue for the printing tests, which skip
# when it cannot start.
cups_dir="$PWD/build/cups"
if bash scripts/start-cups.sh "$cups_dir"; then
  export CUPS_SERVER="$cups_dir/cups.sock" PIXORAN3_PRINT_OUTPUT="$cups_dir/out/print.pdf"
  trap 'bash scripts/start-cups.sh --stop "$cups_dir"' EXIT
fi
ctest --test-dir build --output-on-failure -j2 --timeout 300

# Every effect row again on the smallest images, with the sanitizers: any
# access outside an image fails.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPIXORAN3_SANITIZE=ON \
  -DPIXORAN3_GUI=OFF -DPIXORAN3_BENCH=OFF >/dev/null
cmake --build build-asan --target test_registry
./build-asan/tests/test_registry --gtest_brief=1

# Includes point down and never in a circle.
bash scripts/check-layers.sh

bash scripts/fuzz.sh "${FUZZ_SECONDS:-30}"
