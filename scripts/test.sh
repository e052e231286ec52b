#!/usr/bin/env bash
# Builds everything and runs every test, headless: once in an optimised build, once in a
# debug build with the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZFW_BUILD_TESTS=ON >/dev/null
cmake --build build/test
(cd build/test && ctest --output-on-failure -j "$jobs" --timeout 300)

# Leak reports are off: the platform's font and display libraries keep caches until exit.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZFW_BUILD_TESTS=ON \
      -DZFW_SANITIZE=ON >/dev/null
cmake --build build/asan
(cd build/asan && ctest --output-on-failure -j "$jobs" --timeout 600)
