#!/usr/bin/env bash
# Builds everything and runs every test under Wine, in a prefix and on an X
# display of its own: all tests on the 32-bit build, then the x64 build's
# tests of the code. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
# The folders under src/ include only layers below their own.
python3 "$root/scripts/check_layers.py"
bash "$root/scripts/build.sh" x86
bash "$root/scripts/build.sh" x64

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$root/build/test-env"

status=0
echo "== 32-bit x86 build: every test"
(cd "$root/build" && ctest --output-on-failure --timeout 300) || status=1
echo "== x64 build: the tests of the code"
(cd "$root/build/x64" && ctest --output-on-failure --timeout 300) || status=1
exit $status
