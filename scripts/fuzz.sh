#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in ./build-fuzz and runs each for SECONDS.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true
if [ "$seconds" = "0" ]; then
  exit 0
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPIXORAN3_GUI=OFF -DPIXORAN3_TESTS=OFF -DPIXORAN3_BENCH=OFF -DPIXORAN3_FUZZ=ON >/dev/null
cmake --build build-fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(cd build-fuzz/fuzz && ls fuzz_* 2>/dev/null | grep -v '\.' || true)
fi
for t in "${targets[@]}"; do
  corpus="build-fuzz/fuzz/corpus-$t"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/seeds/$t" ] && seeds+=("fuzz/seeds/$t")
  echo "== fuzzing $t for ${seconds}s"
  ./build-fuzz/fuzz/"$t" -max_total_time="$seconds" -print_final_stats=0 \
     -rss_limit_mb=4096 -artifact_prefix="build-fuzz/fuzz/$t-" "$corpus" "${seeds[@]}" 2>&1 | tail -n 3
  # libFuzzer exits non-zero when it found a crash; pipefail reports it.
done
echo "fuzzing: ${#targets[@]} targets, no crash"
