#!/usr/bin/env bash
# Pictures of both pages with a turn show running (docs/screenshots and
# docs/screenshots/zh_cn), under Xvfb with the demo's style sheet and images (build/demo).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
cmake --build build --target on-air-shots matrix-client dm_translations
cd build/demo
run() {
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1920x1080x24" "$root/build/tests/on-air-shots"
}
DM_SHOTS_OUT="$root/docs/screenshots" run
DM_SHOTS_OUT="$root/docs/screenshots/zh_cn" DM_SHOTS_TRANSLATIONS="$root/build/translations" run
