#!/usr/bin/env bash
# Pictures of both pages with a turn show running and of the X86 login wait (docs/screenshots
# and docs/screenshots/zh_cn): the demo walk's --on-air mode under Xvfb (see scripts/demo-walk.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/demo-walk.sh --on-air --x86-port 0 --linux-port 0 --out docs/screenshots
scripts/demo-walk.sh --on-air --x86-port 0 --linux-port 0 --lang zh_cn \
    --out docs/screenshots/zh_cn
