#!/usr/bin/env bash
# Installs what is missing, builds and runs every test:
#   1. the full build (core, batch tool, window) and its tests;
#   2. a build without any window toolkit, proving the core and the batch
#      tool need none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

# No display is needed: the window's tests draw offscreen.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

bash scripts/build.sh build -DKALVITRA_BUILD_TESTS=ON -DKALVITRA_BUILD_BENCH=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

bash scripts/build.sh build-nogui -DKALVITRA_BUILD_GUI=OFF -DKALVITRA_BUILD_BENCH=OFF
ctest --test-dir build-nogui --output-on-failure --parallel "$(nproc)"
