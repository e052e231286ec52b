#!/usr/bin/env bash
# Builds everything and runs every test, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZFW_BUILD_TESTS=ON >/dev/null
cmake --build build/test
cd build/test
ctest --output-on-failure -j "$(nproc)" --timeout 300
