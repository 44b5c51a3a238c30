#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need,
# when they are missing. Runs as root on a fresh machine.
set -euo pipefail

# setup.exe is a 32-bit x86 program; the x64 build checks the code at the
# other pointer size. Wine runs 32-bit programs only with wine32 from the
# i386 architecture beside wine64.
packages=(
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    cmake ninja-build googletest
    wine wine64 wine32:i386 xvfb
    imagemagick mscompress python3
    mtools dosfstools
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
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
