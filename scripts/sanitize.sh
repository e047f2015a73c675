#!/usr/bin/env bash
# The sanitizer run. Builds the core, the unit tests and the fuzz targets (no
# Qt, no X) with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-san, runs the unit tests and the bounded fuzz tests there, where any
# report fails the test, then runs each libFuzzer target for a while from its
# seeds. With clang the libFuzzer binaries share the folder; without it g++
# builds the rest and the libFuzzer runs are skipped.
# Usage: scripts/sanitize.sh [seconds per libFuzzer target, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
dir=build-san
jobs=$(nproc)

if [ ! -f $dir/build.ninja ]; then
  # -O1 as the sanitizers advise; line tables are enough for their reports.
  flags=(-G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_C_FLAGS="-O1 -g1" -DCMAKE_CXX_FLAGS="-O1 -g1"
    -DVISTREL_CORE_ONLY=ON -DVISTREL_WERROR=OFF)
  if command -v clang++ >/dev/null; then
    CC=clang CXX=clang++ cmake -S . -B $dir "${flags[@]}" -DVISTREL_LIBFUZZER=ON >/dev/null
  else
    echo "sanitize: clang++ not installed, building with g++ and no libFuzzer runs"
    CC=gcc CXX=g++ cmake -S . -B $dir "${flags[@]}" -DVISTREL_SANITIZE=ON >/dev/null
  fi
fi
cmake --build $dir -j"$jobs"
(cd $dir && ctest --output-on-failure -j"$jobs" --timeout 300)

targets=$(cd tests/fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
for t in $targets; do
  [ -x $dir/tests/$t ] || continue
  corpus=$dir/corpus/$t
  mkdir -p "$corpus" $dir/crashes
  echo "fuzz: $t for ${seconds}s"
  log=$dir/$t.log
  if ! $dir/tests/$t -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 -artifact_prefix=$dir/crashes/ "$corpus" "tests/fuzz/seeds/$t" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: $t FAILED (the input is in $dir/crashes/)"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units' "$log" || true
done
echo "sanitize: clean"
