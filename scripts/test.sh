#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, bounded fuzz and
# end-to-end (each end-to-end test starts its own Xvfb display) in build/, then
# the unit and bounded fuzz tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the libFuzzer targets (scripts/sanitize.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
scripts/build.sh
(cd build && ctest --output-on-failure -j2 --timeout 300)
scripts/sanitize.sh "${VISTREL_FUZZ_SECONDS:-20}"
