#!/usr/bin/env bash
# Pictures of the X86 page's messages when the matrix refuses a command or another console takes
# it over (docs/screenshots and docs/screenshots/zh_cn), under Xvfb with the demo's style sheet
# and images (build/demo).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
cmake --build build --target x86-refusal-shots matrix-client dm_translations
cd build/demo
run() {
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1920x1080x24" "$root/build/tests/x86-refusal-shots"
}
DM_SHOTS_OUT="$root/docs/screenshots" run
DM_SHOTS_OUT="$root/docs/screenshots/zh_cn" DM_SHOTS_TRANSLATIONS="$root/build/translations" run
