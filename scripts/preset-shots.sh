#!/usr/bin/env bash
# Pictures of the X86 page's cameras dragged onto a window and of its preset menu
# (docs/screenshots and docs/screenshots/zh_cn): the demo walk's --presets mode under Xvfb
# (see scripts/demo-walk.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/demo-walk.sh --presets --out docs/screenshots
scripts/demo-walk.sh --presets --lang zh_cn --out docs/screenshots/zh_cn
