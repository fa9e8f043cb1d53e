#!/usr/bin/env bash
# Builds everything with AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer
# and runs the whole suite under them: every test of such a build carries the CTest label
# "sanitize" and the sanitizers' options (docs/sanitizers.md).
# Usage: scripts/sanitize.sh [build-dir] [ctest args...]
#   scripts/sanitize.sh                      # build-asan, the whole suite
#   scripts/sanitize.sh build-asan -R faults # one test
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-asan}
shift || true
JOBS=$(nproc 2>/dev/null || echo 2)
cmake --preset sanitize -B "$BUILD_DIR"
cmake --build "$BUILD_DIR" --parallel "$JOBS"
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$JOBS" -L sanitize "$@"
