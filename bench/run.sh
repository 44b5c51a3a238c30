#!/usr/bin/env bash
# The install benchmark. First the whole unattended Backup Server install as
# an administrator (services, program group) and its uninstall, on the 45 MB
# payload, each in its phases beside the floors of their mandated work.
# Then, for payloads of 45, 10 and 180 MB it times, in
# interleaved rounds on the same files, setup.exe's unattended install,
# LZCopy of every file, an NSIS silent install of the same expanded files
# and a reference loop doing the work setup is required to do with one
# window open; it measures setup's window reply latency while copying and
# its launch to the first painted frame, and prints it all as Markdown
# (also kept in build/bench/report.md). The first payload is the one the
# targets are judged on. Its share is then timed again beside a copy made
# without the checksum list, to show what checking the list costs.
#
#   bash bench/run.sh            BENCH_ROUNDS=3 bash bench/run.sh   (rounds; 7 by default)
#   BENCH_NO_NSIS=1 bash bench/run.sh   leaves NSIS out (and does not install it)
#   BENCH_BUILD=x64full bash bench/run.sh   the x64 build, where the kernel runs
#                                           no 32-bit programs
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sizes=(45 10 180)
rounds=${BENCH_ROUNDS:-7}
# NSIS's 64-bit stub; the 32-bit one (x86-unicode) also runs where Wine has
# its 32-bit half.
nsis_target=amd64-unicode

bash "$root/scripts/deps.sh"
with_nsis=$([[ -n "${BENCH_NO_NSIS:-}" ]] && echo no || echo yes)
if [[ $with_nsis == yes ]] && ! dpkg-query -W -f='${Status}' nsis 2>/dev/null | grep -q 'install ok installed'; then
    echo "Installing: nsis" >&2
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq nsis >/dev/null
fi
build=${BENCH_BUILD:-x86}
bash "$root/scripts/build.sh" "$build" >/dev/null
built="$root/build"
[[ $build == x86 ]] || built="$root/build/$build"

out="$root/build/bench"
mkdir -p "$out"
windows_path() {
    echo "Z:$(echo "$1" | tr '/' '\\')"
}

payload_args=()
for mb in "${sizes[@]}"; do
    dir="$out/$mb"
    mkdir -p "$dir"
    python3 "$root/bench/make_payload.py" --from "$built/fixtures/product" --out "$dir/product" \
        --megabytes "$mb" >/dev/null
    python3 "$root/tools/diskset/make_diskset.py" --product "$dir/product" --share "$dir/share" --quiet
    cat >"$dir/payload.nsi" <<NSI
Target $nsis_target
SetCompressor zlib
Name "Tapewright benchmark payload"
OutFile "install.exe"
InstallDir "C:\\BENCHNSIS"
RequestExecutionLevel user
Section
    SetOutPath "\$INSTDIR"
    File "$dir/product/*"
SectionEnd
NSI
    nsis_installer=-
    if [[ $with_nsis == yes ]]; then
        makensis -V1 "$dir/payload.nsi" >"$dir/makensis.log"
        nsis_installer=$(windows_path "$dir/install.exe")
    fi
    payload_args+=(--payload "$mb" "$(windows_path "$dir/share/")" "$nsis_installer")
done
first="$out/${sizes[0]}"
python3 "$root/tools/diskset/make_diskset.py" --product "$first/product" --share "$first/share-nolist" \
    --no-checksums --quiet
first_nsis=$([[ $with_nsis == yes ]] && windows_path "$first/install.exe" || echo -)
checksum_args=(--payload "${sizes[0]}" "$(windows_path "$first/share/")" "$first_nsis"
               --payload "${sizes[0]}" "$(windows_path "$first/share-nolist/")" "$first_nsis")

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$out/env"

{
    echo "## Install benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$root" rev-parse --short HEAD)"
    echo
    if [[ $with_nsis == yes ]]; then
        echo "\`bash bench/run.sh\` on $(nproc) cores, $(wine --version), $(makensis -VERSION) with" \
            "\`Target $nsis_target\` and \`SetCompressor zlib\`."
    else
        echo "\`BENCH_NO_NSIS=1 bash bench/run.sh\` on $(nproc) cores, $(wine --version); NSIS left out."
    fi
} >"$out/report.md"
status=0
wine "$built/bin/install_bench.exe" --rounds "$rounds" --scratch 'C:\BENCH\' --load 'Z:\proc\loadavg' \
    --whole "$(windows_path "$first/share/")" "${payload_args[@]}" </dev/null >>"$out/report.md" \
    2>"$out/install_bench.log" || status=$?
{
    echo
    echo "## The checksum list's cost"
    echo
    echo "The ${sizes[0]} MB payload's share with the checksum list (the first row of each table) and the same" \
        "share made with \`--no-checksums\` (the second row), in interleaved rounds."
} >>"$out/report.md"
wine "$built/bin/install_bench.exe" --rounds "$rounds" --scratch 'C:\BENCH\' --load 'Z:\proc\loadavg' \
    "${checksum_args[@]}" </dev/null >"$out/checksum_report.md" 2>"$out/checksum_bench.log" || status=$?
# Its medians and extremes: the ratios and fits of two payloads of one size
# say nothing more.
sed '/^setup.exe writes/,$d' "$out/checksum_report.md" >>"$out/report.md"
cat "$out/report.md"
exit "$status"
