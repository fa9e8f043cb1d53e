#!/usr/bin/env bash
# Builds the libFuzzer targets of the matrix protocol with clang in a build directory of
# their own and runs each briefly on its seed corpus (fuzz/corpus/<target>). New inputs go
# to fuzz/corpus-work/<target>, crash inputs to the build directory.
# Exits non-zero when a target crashes or cannot be built; skips (exit 0) without clang++.
# Usage: scripts/fuzz-smoke.sh [seconds-per-target] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET=${1:-20}
BUILD_DIR=${2:-build-fuzz}
TARGETS=(fuzz_client_frames fuzz_server_frames)

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz-smoke: clang++ not found; fuzz targets skipped"
    exit 0
fi

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DDM_BUILD_FUZZERS=ON -DDM_BUILD_TESTS=OFF \
    -DDM_BUILD_DEMO=OFF -DDM_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" --parallel 2 --target "${TARGETS[@]}"

status=0
for target in "${TARGETS[@]}"; do
    work="fuzz/corpus-work/$target"
    mkdir -p "$work"
    echo "fuzz-smoke: $target for ${SECONDS_PER_TARGET}s"
    if ! "$BUILD_DIR/fuzz/$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=16384 \
            -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$BUILD_DIR/fuzz/$target-" "$work" "fuzz/corpus/$target"; then
        echo "fuzz-smoke: $target FAILED (crash input in $BUILD_DIR/fuzz/)"
        status=1
    fi
done
exit $status
