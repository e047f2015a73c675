#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, bounded fuzz and
# end-to-end (each end-to-end test starts its own Xvfb display) in build/, then
# the unit and bounded fuzz tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the libFuzzer targets (scripts/sanitize.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
scripts/build.sh
# An end-to-end test that fails once under load gets one more try; a real fault
# fails both.
(cd build && ctest --output-on-failure -j2 --timeout 300 --repeat until-pass:2)
scripts/sanitize.sh "${VISTREL_FUZZ_SECONDS:-20}"
