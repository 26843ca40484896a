# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by tools/run and tools/test: Debian packages and the build.
# shellcheck shell=bash

VORNIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Installs the Debian packages that are missing; when not root, prints the apt-get line to run.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "These Debian packages are missing. Install them, then run this command again:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
}

# python3-markdown turns the user guide into HTML.
BUILD_PACKAGES=(cmake ninja-build g++ libgtest-dev libgmock-dev nlohmann-json3-dev libcli11-dev
    qt6-base-dev qt6-qpa-plugins python3-markdown)
# cpack's Debian package asks dpkg-shlibdeps for its dependencies.
PACKAGE_PACKAGES=(dpkg-dev file)
# Real encoders, a prober, a tag reader and a stream checker for the integration tests, clang for
# the sanitizers and the fuzzer; xmllint parses the XML exports.
# Xvfb, xauth, ImageMagick and xdotool run the desktop program on a virtual screen; the
# validators and man check what is installed.
TEST_PACKAGES=(clang libclang-rt-14-dev lame twolame ffmpeg musepack-tools python3-mutagen mediainfo mp3val mpg123
    libxml2-utils
    xvfb xauth imagemagick xdotool desktop-file-utils appstream man-db "${PACKAGE_PACKAGES[@]}")

# configure_and_build DIR [cmake options...] [--target NAME]: incremental after the first run.
configure_and_build() {
    local dir=$1
    shift
    local options=() targets=()
    while [ $# -gt 0 ]; do
        if [ "$1" = "--target" ]; then
            targets+=(--target "$2")
            shift 2
        else
            options+=("$1")
            shift
        fi
    done
    # Configured every time: CMake keeps its cache, and takes options that changed.
    cmake -S "$VORNIK_ROOT" -B "$dir" -G Ninja "${options[@]}" >/dev/null
    cmake --build "$dir" "${targets[@]}"
}
