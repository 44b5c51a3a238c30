#!/usr/bin/env bash
# Configures and builds setup.exe, its tools and its tests into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build"
