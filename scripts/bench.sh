#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench), runs them, the soak and a short soak under
# valgrind, and writes docs/performance.md from the results (bench/report.py) together with
# the explanations in bench/performance-notes.md. Raw results stay in <build-dir>/bench-results.
# Run it on a quiet machine: the page records the load average before and after.
#
# Usage: scripts/bench.sh [build-dir]        (BENCH_NO_VALGRIND=1 skips the valgrind run)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-bench}
RESULTS=$BUILD_DIR/bench-results

cmake --preset bench -B "$BUILD_DIR" >/dev/null
cmake --build "$BUILD_DIR" --parallel 2 --target dm_bench dm_soak
mkdir -p "$RESULTS"

export QT_QPA_PLATFORM=offscreen
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
"$BUILD_DIR/bench/dm_bench" --benchmark_out="$RESULTS/bench.json" \
    --benchmark_out_format=json 2>"$RESULTS/bench.stderr"
"$BUILD_DIR/bench/dm_soak" 1000 100 >"$RESULTS/soak.txt" 2>"$RESULTS/soak.stderr"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
rm -f "$RESULTS/valgrind.txt"
if [ -z "${BENCH_NO_VALGRIND:-}" ] && command -v valgrind >/dev/null 2>&1; then
    valgrind --leak-check=full --errors-for-leak-kinds=definite --num-callers=30 \
        --suppressions=tests/sanitizers/valgrind.supp \
        "$BUILD_DIR/bench/dm_soak" 20 10 >"$RESULTS/valgrind.txt" 2>&1 || true
fi

{
    echo "date:          $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "commit:        $(git rev-parse --short HEAD 2>/dev/null || echo unknown)$(git diff --quiet 2>/dev/null || echo ' (with local changes)')"
    echo "cpu:           $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //') × $(nproc)"
    echo "memory:        $(awk '/MemTotal/ {printf "%.1f GB", $2 / 1048576}' /proc/meminfo)"
    echo "system:        $(uname -sr), Qt $(qmake -query QT_VERSION 2>/dev/null || echo 5), offscreen platform"
    echo "build:         Release, $(c++ --version | head -1)"
    echo "load average:  $load_before (before), $load_after (after)"
} >"$RESULTS/machine.txt"

python3 bench/report.py "$RESULTS" bench/performance-notes.md >docs/performance.md
echo "bench: wrote docs/performance.md (raw results in $RESULTS)"
