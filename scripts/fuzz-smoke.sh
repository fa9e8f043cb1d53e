#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build directory of their own (every library
# they link is instrumented) and runs each for a bounded time on its seed corpus
# (fuzz/corpus/<target>). New inputs go to fuzz/corpus-work/<target>, crash inputs to the
# build directory. Prints executions and coverage per target at the end.
# Exits non-zero when a target crashes or cannot be built; skips (exit 0) without clang++.
#
# Usage: scripts/fuzz-smoke.sh [seconds-per-target] [build-dir] [target...]
#   scripts/fuzz-smoke.sh            # 20 s each, all targets
#   scripts/fuzz-smoke.sh 600        # the nightly run: 10 minutes each
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET=${1:-20}
BUILD_DIR=${2:-build-fuzz}
TARGETS=(fuzz_client_frames fuzz_server_frames fuzz_wall_layout fuzz_port_readers)
if [ $# -gt 2 ]; then TARGETS=("${@:3}"); fi

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz-smoke: clang++ not found; fuzz targets skipped"
    exit 0
fi

cmake --preset fuzz -B "$BUILD_DIR" >/dev/null
cmake --build "$BUILD_DIR" --parallel 2 --target "${TARGETS[@]}"

ROOT=$(pwd)
# The offscreen platform plugin and fontconfig keep a few allocations for the life of the
# process (tests/sanitizers/lsan.supp); nothing of this project is suppressed.
export LSAN_OPTIONS=suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

status=0
summary=()
for target in "${TARGETS[@]}"; do
    work="fuzz/corpus-work/$target"
    log="$BUILD_DIR/fuzz/$target.log"
    mkdir -p "$work"
    echo "fuzz-smoke: $target for ${SECONDS_PER_TARGET}s"
    if "$BUILD_DIR/fuzz/$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=16384 \
            -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$BUILD_DIR/fuzz/$target-" "$work" "fuzz/corpus/$target" \
            >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
        grep -E "ERROR|runtime error|SUMMARY|Test unit written" "$log" | head -20 || true
        echo "fuzz-smoke: $target FAILED (log $log, crash input in $BUILD_DIR/fuzz/)"
    fi
    last=$(grep -E "^#[0-9]+" "$log" | grep -E "cov:" | tail -1 || true)
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9]*[a-zA-Z]*\).*/\1/p' <<<"$last")
    summary+=("$(printf '%-20s %-6s %6ss %10s %8s %6s %6s %12s' "$target" "$result" \
        "$SECONDS_PER_TARGET" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}")")
done

echo
printf '%-20s %-6s %7s %10s %8s %6s %6s %12s\n' target result time execs exec/s cov ft corpus
for line in "${summary[@]}"; do echo "$line"; done
exit $status
