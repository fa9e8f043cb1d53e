#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (installs what is missing), builds the demo host and
# starts it. Options are passed on to matrix-client, e.g.
#   scripts/run-demo.sh --show-wall
#   scripts/run-demo.sh --lang zh_cn
# Without a display, --headless runs it on a virtual display (Xvfb) of 1920 x 1080:
#   scripts/run-demo.sh --headless
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh
BUILD_DIR=${DM_BUILD_DIR:-build}

headless=0
args=()
for a in "$@"; do
    if [ "$a" = "--headless" ]; then headless=1; else args+=("$a"); fi
done

dm_install_demo_packages
dm_build_targets "$BUILD_DIR" matrix-client matrix-sim

if [ $headless -eq 1 ]; then
    cat >&2 <<'HINT'
matrix-client runs on a virtual display (Xvfb, 1920 x 1080): nothing appears on this screen, and
the matrices it simulates listen on 127.0.0.1:9010 (X86) and 127.0.0.1:6000 (Linux) for a
matrix-client or matrix-sim elsewhere on this machine. Stop it with Ctrl+C.
To see what a person sees there, run the scripted first session instead: scripts/demo-walk.sh
leaves a picture of every step in build/demo-walk/.
HINT
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$BUILD_DIR/demo/matrix-client" "${args[@]}"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<'HINT'
The demo is built, but this session has no display to show it on. Either
  - run it on a virtual display:  scripts/run-demo.sh --headless
    (to see that display, add a VNC server such as x11vnc to it), or
  - let the scripted first session run and look at its pictures:  scripts/demo-walk.sh
    (they go to build/demo-walk/)
HINT
    exit 1
fi
exec "$BUILD_DIR/demo/matrix-client" "${args[@]}"
