#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the
# whole suite. Usage: scripts/sanitize.sh [build-dir] [ctest args...]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-asan}
shift || true
ROOT=$(pwd)
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDM_SANITIZE=ON -DDM_BUILD_TESTS=ON
cmake --build "$BUILD_DIR" --parallel "$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$ROOT/tests/sanitizers/ubsan.supp
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel 2 -LE install "$@"
