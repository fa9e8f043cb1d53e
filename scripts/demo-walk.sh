#!/usr/bin/env bash
# The first session of a new user, scripted with real mouse and key events against the running
# demo host under Xvfb: add the X86 matrix 127.0.0.1:9010 through the picture hint, connect,
# set 2 x 2 screens, put the car park's cameras on window 1 as a turn show and watch the
# simulated wall turn; then add the Linux matrix 127.0.0.1:6000, arrange its screens, and run a
# turn show in one of its cells. Pictures of every step go to build/demo-walk (or --out DIR);
# scripts/screenshots.sh is the one that renews docs/screenshots.
#   scripts/demo-walk.sh                     English
#   scripts/demo-walk.sh --lang zh_cn --out build/demo-walk/zh_cn
# Ports 9010 and 6000 must be free (--x86-port and --linux-port choose others).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh
BUILD_DIR=${DM_BUILD_DIR:-build}

dm_install_demo_packages
dm_build_targets "$BUILD_DIR" demo-walk matrix-client

args=("$@")
out="$BUILD_DIR/demo-walk"
has_out=0
for ((i = 0; i < ${#args[@]}; i++)); do
    if [ "${args[i]}" = "--out" ] && [ $((i + 1)) -lt ${#args[@]} ]; then
        has_out=1
        out=${args[i + 1]}
    fi
done
[ $has_out -eq 0 ] && args+=(--out "$out")

xvfb-run -a -s "-screen 0 1920x940x24" "$BUILD_DIR/demo/demo-walk" "${args[@]}"
echo "demo-walk: pictures in $out" >&2
