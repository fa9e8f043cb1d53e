#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (installs what is missing), builds everything
# and runs every test headless, then runs each fuzz target briefly (where clang is present).
# Usage: scripts/test.sh [build-dir]
#   DM_FUZZ_SECONDS=<s> sets the time per fuzz target (default 10; 0 skips the fuzzers).
# The sanitizer suite (scripts/sanitize.sh) and the benchmarks (scripts/bench.sh) are
# separate commands; docs/sanitizers.md, docs/fuzzing.md and docs/performance.md say more.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}

PACKAGES=(build-essential cmake ninja-build pkg-config qtbase5-dev qttools5-dev
          qttools5-dev-tools libqt5sql5-sqlite libqt5svg5-dev fonts-wqy-microhei xvfb xauth clang
          libfuzzer-14-dev)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDM_BUILD_TESTS=ON
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
