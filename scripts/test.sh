#!/usr/bin/env bash
# Builds everything and runs every test under Wine, in a prefix and on an X
# display of its own. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$root/build/test-env"

cd "$root/build"
ctest --output-on-failure --timeout 300
