#!/usr/bin/env bash
# Builds the configurator and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZFW_BUILD_TESTS=OFF >/dev/null
cmake --build build/release --target zandoveric-configurator
exec build/release/bin/zandoveric-configurator "$@"
