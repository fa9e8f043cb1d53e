#!/usr/bin/env bash
# Pictures of the X86 page counting down to connecting again after its matrix restarted, and
# back (docs/screenshots and docs/screenshots/zh_cn): the demo walk's --reconnect mode under
# Xvfb (see scripts/demo-walk.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/demo-walk.sh --reconnect --out docs/screenshots
scripts/demo-walk.sh --reconnect --lang zh_cn --out docs/screenshots/zh_cn
