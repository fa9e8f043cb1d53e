#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (installs what is missing), builds the demo host and
# starts it. Options are passed on to matrix-client, e.g.
#   scripts/run-demo.sh --show-wall
#   scripts/run-demo.sh --lang zh_cn
# Without a display, run it under a virtual one:
#   xvfb-run -a -s "-screen 0 1920x1080x24" scripts/run-demo.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh
BUILD_DIR=${DM_BUILD_DIR:-build}

dm_install_demo_packages
dm_build_targets "$BUILD_DIR" matrix-client matrix-sim

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<'HINT'
The demo is built, but this session has no display to show it on. Either
  - run it under a virtual display:  xvfb-run -a -s "-screen 0 1920x1080x24" scripts/run-demo.sh
    (to see that display, add a VNC server such as x11vnc to it), or
  - let the scripted first session run and look at its pictures:  scripts/demo-walk.sh
HINT
    exit 1
fi
exec "$BUILD_DIR/demo/matrix-client" "$@"
