#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit, fuzz smoke and
# end-to-end (each end-to-end test starts its own Xvfb display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test
scripts/build.sh
cd build
ctest --output-on-failure -j2 --timeout 300
