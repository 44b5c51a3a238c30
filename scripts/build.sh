#!/usr/bin/env bash
# Configures and builds setup.exe, its tools and its tests.
#
#   build.sh        the 32-bit x86 build into build/: the setup.exe that ships
#   build.sh x64    the x64 build into build/x64/, with only the tests of the
#                   code itself, to check it at the other pointer size
#   build.sh x64full  every test and the bench built for x64 into build/x64full/,
#                   for machines whose kernel runs no 32-bit programs (see the
#                   README); it does not ship
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
case "${1:-x86}" in
    x86) dir="$root/build" toolchain=mingw-w64-i686 unit_only=OFF shipped=() ;;
    x64) dir="$root/build/x64" toolchain=mingw-w64-x86_64 unit_only=ON shipped=() ;;
    # Its checks of the image that ships read the 32-bit build's, built first.
    x64full) dir="$root/build/x64full" toolchain=mingw-w64-x86_64 unit_only=OFF
             shipped=("-DSETUP_SHIPPED_EXE=$root/build/bin/setup.exe") ;;
    *) echo "usage: build.sh [x86|x64|x64full]" >&2; exit 2 ;;
esac
# A build folder configured for another target (build/ was once x64) starts
# afresh: CMake keeps the compilers of its first configuration.
cache="$dir/CMakeCache.txt"
if [[ -f "$cache" ]] && ! grep -qx "CMAKE_TOOLCHAIN_FILE:[A-Z]*=$root/cmake/$toolchain.cmake" "$cache"; then
    rm -rf "$cache" "$dir/CMakeFiles"
fi
cmake -S "$root" -B "$dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DSETUP_UNIT_TESTS_ONLY=$unit_only "${shipped[@]}" >/dev/null
cmake --build "$dir"
