#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (address and undefined-
# behaviour sanitizers on) and runs each for a while from its seeds.
# Usage: scripts/fuzz.sh [seconds per target, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not installed, skipped"
  exit 0
fi
if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVISTREL_LIBFUZZER=ON -DVISTREL_WERROR=OFF >/dev/null
fi
targets=$(cd tests/fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build build-fuzz -j"$(nproc)" --target $targets
for t in $targets; do
  corpus=build-fuzz/corpus/$t
  mkdir -p "$corpus"
  echo "fuzz: $t for ${seconds}s"
  log=build-fuzz/$t.log
  if ! build-fuzz/tests/$t -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 "$corpus" "tests/fuzz/seeds/$t" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: $t FAILED (crash input saved in the current folder)"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units' "$log" || true
done
echo "fuzz: all targets ran clean"
