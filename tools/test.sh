#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Usage: tools/test.sh [BUILD_DIR] [extra cmake arguments...]
# Warnings are errors here (QUIRTEL_WERROR), never in a plain cmake build.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
shift || true
tools/deps.sh build test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIRTEL_WERROR=ON "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
