#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (installs what is missing), builds everything
# and runs every test headless, then runs each fuzz target briefly (where clang is present).
# Usage: scripts/test.sh [build-dir]
#   DM_FUZZ_SECONDS=<s> sets the time per fuzz target (default 10; 0 skips the fuzzers).
# The sanitizer suite (scripts/sanitize.sh) and the benchmarks (scripts/bench.sh) are
# separate commands; docs/sanitizers.md, docs/fuzzing.md and docs/performance.md say more.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh
BUILD_DIR=${1:-build}

dm_install_packages "${DM_TEST_PACKAGES[@]}"

JOBS=$(nproc 2>/dev/null || echo 2)
cmake --preset default -B "$BUILD_DIR"
cmake --build "$BUILD_DIR" --parallel "$JOBS"
export QT_QPA_PLATFORM=offscreen
status=0
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$JOBS" --timeout 600 || status=1

# Short fuzz runs on the seed corpora; fuzz-smoke.sh skips without clang++.
FUZZ_SECONDS=${DM_FUZZ_SECONDS:-10}
if [ "$FUZZ_SECONDS" -gt 0 ]; then
    scripts/fuzz-smoke.sh "$FUZZ_SECONDS" "${BUILD_DIR}-fuzz" || status=1
fi
exit $status
