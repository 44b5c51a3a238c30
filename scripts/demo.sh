#!/usr/bin/env bash
# The main job: builds setup.exe, starts it under Wine on a private display
# as a person would, and saves a screenshot of what they see.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" >/dev/null

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
out="$root/build/demo"
wine_env_start "$out"

bin="$root/build/bin"
wine "$bin/setup.exe" </dev/null >"$out/setup.log" 2>&1 &
if ! wine "$bin/winwait.exe" Tapewright 60 </dev/null >/dev/null 2>&1; then
    echo "setup.exe did not show its language dialog" >&2
    exit 1
fi
import -window root "$out/setup-window.png"
echo "setup.exe is up with its language dialog."
echo "Screenshot: $out/setup-window.png"
