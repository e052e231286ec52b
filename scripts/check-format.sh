#!/usr/bin/env bash
# Fails when a C++ file under src/, tests/, bench/ or fuzz/ differs from what clang-format makes
# of it with the repository's .clang-format, and lists those files. Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is not installed (scripts/setup-deps.sh installs it)" >&2
  exit 2
fi

mapfile -t files < <(git ls-files --cached --others --exclude-standard -- \
  'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
  'fuzz/*.cpp' 'fuzz/*.h')
existing=()
for f in "${files[@]}"; do [ -f "$f" ] && existing+=("$f"); done
files=("${existing[@]}")

# clang-format names every file that differs in its messages ("<file>:<line>:<col>: error:").
# Each batch prints its own short list in one write, so parallel batches do not mix lines.
mapfile -t bad < <(printf '%s\0' "${files[@]}" |
  xargs -0 -n 40 -P "${ZFW_CHECK_JOBS:-3}" sh -c \
    'clang-format --dry-run -Werror "$@" 2>&1 | sed -n "s/^\(.*\):[0-9]*:[0-9]*: error: .*/\1/p" | sort -u' sh |
  sort -u)

if [ ${#bad[@]} -ne 0 ]; then
  echo "check-format: ${#bad[@]} of ${#files[@]} files differ from clang-format's layout:" >&2
  printf '  %s\n' "${bad[@]}" >&2
  echo "check-format: run 'clang-format -i <file>' on them" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
