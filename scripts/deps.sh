#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need,
# when they are missing. Runs as root on a fresh machine.
set -euo pipefail

packages=(
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    cmake ninja-build googletest
    wine wine64 xvfb
    imagemagick mscompress python3
)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
