#!/usr/bin/env bash
# Remakes the pictures of docs/screenshots: the scripted first session in English and in
# Simplified Chinese, under Xvfb (see scripts/demo-walk.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/demo-walk.sh --out docs/screenshots
scripts/demo-walk.sh --lang zh_cn --out docs/screenshots/zh_cn
scripts/on-air-shots.sh
scripts/refusal-shots.sh
scripts/reconnect-shots.sh
scripts/preset-shots.sh
