#!/usr/bin/env bash
# Installs the Debian 12 packages the demo host needs when they are missing (as root or with
# sudo). Sourced by run-demo.sh and demo-walk.sh; can also be run on its own.
dm_install_demo_packages() {
    local packages=(build-essential cmake ninja-build pkg-config qtbase5-dev qttools5-dev
                    qttools5-dev-tools libqt5sql5-sqlite libqt5svg5-dev fonts-wqy-microhei
                    qttranslations5-l10n xvfb xauth)
    local missing=()
    local p
    for p in "${packages[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

# Configures and builds the given targets in $1 (the build folder).
dm_build_targets() {
    local build_dir=$1
    shift
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build_dir" --parallel "$jobs" --target "$@"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    dm_install_demo_packages
fi
