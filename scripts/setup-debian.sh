#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs when they are missing (as root, or through
# sudo where it is there). Sourced by the other scripts; run on its own it installs what the demo
# host needs. Without root and without sudo it names the packages to install and stops.

# Packages to build and run the demo host.
DM_DEMO_PACKAGES=(build-essential cmake ninja-build pkg-config qtbase5-dev qttools5-dev
                  qttools5-dev-tools libqt5sql5-sqlite libqt5svg5-dev fonts-wqy-microhei
                  qttranslations5-l10n xvfb xauth)
# Packages to build and run every test (and the short fuzz runs).
DM_TEST_PACKAGES=(build-essential cmake ninja-build pkg-config qtbase5-dev qttools5-dev
                  qttools5-dev-tools libqt5sql5-sqlite libqt5svg5-dev fonts-wqy-microhei xvfb
                  xauth clang libfuzzer-14-dev)

# dm_install_packages PACKAGE...: installs those of the packages that are missing.
dm_install_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "These Debian packages are missing: ${missing[*]}" >&2
            echo "Install them as root, then run this script again:" >&2
            echo "    apt-get update && apt-get install -y ${missing[*]}" >&2
            return 1
        fi
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

dm_install_demo_packages() {
    dm_install_packages "${DM_DEMO_PACKAGES[@]}"
}

# dm_build_targets BUILD_DIR TARGET...: configures the default build in BUILD_DIR and builds
# the given targets.
dm_build_targets() {
    local build_dir=$1
    shift
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    cmake --preset default -B "$build_dir"
    cmake --build "$build_dir" --parallel "$jobs" --target "$@"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -euo pipefail
    dm_install_demo_packages
fi
