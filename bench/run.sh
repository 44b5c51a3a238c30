#!/usr/bin/env bash
# The install benchmark: an unattended install of a payload of over 40 MB,
# timed against a bare expansion of the same files in the same run, with the
# setup window's reply latency measured from another process.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" >/dev/null

out="$root/build/bench"
python3 "$root/bench/make_payload.py" --from "$root/build/fixtures/product" --out "$out/product"
python3 "$root/tools/diskset/make_diskset.py" --product "$out/product" --share "$out/share" --quiet

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$out/env"

share="Z:$(echo "$out/share/" | tr '/' '\\')"
wine "$root/build/bin/install_bench.exe" "$share" 'C:\BENCHREF\' 'C:\BENCH\NT' </dev/null 2>/dev/null
