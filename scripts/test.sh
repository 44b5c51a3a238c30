#!/usr/bin/env bash
# Builds everything and runs every test under Wine, in a prefix and on an X
# display of its own: all tests on the 32-bit build, then the x64 build's
# tests of the code. Where the kernel runs no 32-bit programs, the 32-bit
# build is still built (warnings as errors, and its image is checked) and
# every test runs on the x64 build instead. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
# The folders under src/ include only layers below their own.
python3 "$root/scripts/check_layers.py"
source "$root/scripts/wine-env.sh"
bash "$root/scripts/build.sh" x86
if wine_env_runs_32bit; then
    bash "$root/scripts/build.sh" x64
    names=("32-bit x86 build: every test" "x64 build: the tests of the code")
    dirs=("$root/build" "$root/build/x64")
else
    bash "$root/scripts/build.sh" x64full
    names=("x64 build: every test (this kernel runs no 32-bit programs)")
    dirs=("$root/build/x64full")
fi

trap wine_env_stop EXIT
wine_env_start "$root/build/test-env"

status=0
for i in "${!dirs[@]}"; do
    echo "== ${names[$i]}"
    (cd "${dirs[$i]}" && ctest --output-on-failure --timeout 300) || status=1
done
exit $status
