#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: fuzzing, unit and
# end-to-end (each end-to-end test starts its own Xvfb display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
scripts/build.sh
# libFuzzer runs of the fuzz targets (the suite below runs bounded versions too).
scripts/fuzz.sh "${VISTREL_FUZZ_SECONDS:-20}"
cd build
ctest --output-on-failure -j2 --timeout 300
