#!/usr/bin/env bash
# Checks the layout and the include direction, then builds everything and runs every test,
# headless: once in an optimised build, once in a debug build with the address and
# undefined-behaviour sanitizers. A third build with the thread sanitizer runs only the tree's
# widget-free tests (its node model and the position cache with its background worker) and the
# M-Bus scan engines' tests: the Qt libraries are not instrumented, so tests that drive widgets
# would report races inside Qt's own thread pool. Warnings are errors in all three builds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

# Where ccache is installed, the three builds go through it: a run after another on the same
# machine (a developer's second run, or CI after the session that built the same sources) then
# compiles only what changed. Paths are taken relative to the checkout so that another clone
# of the same sources hits the same entries.
cache=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

bash scripts/check-format.sh
bash scripts/check-includes.sh

# Sums the GoogleTest reports that the ctest entries of build dir $1 wrote, and prints the
# count of cases run, failed and skipped. An entry that stopped before writing its report (a
# crash) has failed in ctest already; its cases are missing from the count.
summary() {
  local dir="$1/gtest-results"
  local run=0 failed=0 skipped=0 n
  shopt -s nullglob
  for f in "$dir"/*.xml; do
    n=$(grep -c 'status="run"' "$f" || true); run=$((run + n))
    n=$(grep -c 'result="skipped"' "$f" || true); skipped=$((skipped + n))
    n=$(sed -n 's/^<testsuites tests="[0-9]*" failures="\([0-9]*\)".*/\1/p' "$f"); failed=$((failed + ${n:-0}))
  done
  shopt -u nullglob
  echo "== $2: $run test cases run"
  echo "$((run - failed - skipped)) passed, $failed failed, $skipped skipped"
}

# Runs the ctest entries of build dir $1 (further arguments go to ctest) and prints the counts;
# the script stops after the counts when an entry failed.
run_ctest() {
  local build="$1" name="$2"; shift 2
  rm -rf "$build/gtest-results"
  local rc=0
  (cd "$build" && ctest --output-on-failure -j "$jobs" "$@") || rc=$?
  summary "$build" "$name"
  return "$rc"
}

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZFW_BUILD_TESTS=ON \
      -DZFW_WERROR=ON "${cache[@]}" >/dev/null
cmake --build build/test
run_ctest build/test "optimised build" --timeout 300

# Leak reports are off: the platform's font and display libraries keep caches until exit.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZFW_BUILD_TESTS=ON \
      -DZFW_WERROR=ON -DZFW_SANITIZE=ON "${cache[@]}" >/dev/null
cmake --build build/asan
run_ctest build/asan "address sanitizer build" --timeout 600

# The thread sanitizer cannot be combined with the address sanitizer: a build of its own. The
# tree's widget-free tests have an executable of their own when the tree's core is a target;
# before that, they are picked by suite from the tree's tests. The M-Bus scan engines' tests
# (engine, I/O and serial event threads) run here too; the suppressions cover reports inside
# the uninstrumented Qt libraries only, never our own code.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan-qt.supp"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZFW_BUILD_TESTS=ON \
      -DZFW_WERROR=ON -DZFW_SANITIZE_THREAD=ON "${cache[@]}" >/dev/null
if cmake --build build/tsan --target help | grep -q '^test_tree_core:'; then
  cmake --build build/tsan --target test_tree_core test_editors_metering_scan
  run_ctest build/tsan "thread sanitizer build" --timeout 600 \
    -R '^(test_tree_core|test_editors_metering_scan)\.'
else
  cmake --build build/tsan --target test_tree
  rm -rf build/tsan/gtest-results
  mkdir -p build/tsan/gtest-results
  rc=0
  build/tsan/tests/tree/test_tree --gtest_brief=1 \
    --gtest_filter='TreeWorker.*:TreeCache.*:TreeNodes.*:TreeEdit.*:TreeWalk.*:TreeSort.*:TreeOptions.*:Tree/*' \
    --gtest_output=xml:build/tsan/gtest-results/test_tree.xml || rc=$?
  summary build/tsan "thread sanitizer build"
  exit "$rc"
fi
