#!/usr/bin/env bash
# Pictures of the X86 page's messages when the matrix refuses a command, and of other consoles on
# the matrix (a watcher named, the takeover question, the watch banner, the forced-login question
# naming the holder) in docs/screenshots and docs/screenshots/zh_cn: the demo walk's --refusals
# mode under Xvfb (see scripts/demo-walk.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/demo-walk.sh --refusals --out docs/screenshots
scripts/demo-walk.sh --refusals --lang zh_cn --out docs/screenshots/zh_cn
