#!/usr/bin/env bash
# Builds everything and runs every test, headless: once in an optimised build, once in a
# debug build with the address and undefined-behaviour sanitizers. A third build with the thread
# sanitizer runs only the tree's widget-free tests (its node model and the position cache with
# its background worker): the Qt libraries are not instrumented, so tests that drive widgets
# would report races inside Qt's own thread pool.
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

# The thread sanitizer cannot be combined with the address sanitizer: a build of its own.
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZFW_BUILD_TESTS=ON \
      -DZFW_SANITIZE_THREAD=ON >/dev/null
cmake --build build/tsan --target test_tree
(cd build/tsan && ctest --output-on-failure -j "$jobs" --timeout 600 \
    -R '^(TreeWorker|TreeCache|TreeNodes|TreeEdit|TreeWalk|TreeSort|TreeOptions)\.|^Tree/')
