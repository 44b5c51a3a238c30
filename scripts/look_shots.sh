#!/usr/bin/env bash
# Photographs each of setup's dialogs as Windows NT 3.51 (the 3D look) and as
# Windows 10 (the system's own look), in the four translated banks, cropped
# to the dialog: OUT/MODE-DIALOG-BANK.png. Run by demo.sh inside its Wine
# environment (WINEPREFIX and DISPLAY set), BUILD being the build folder
# whose setup.exe it runs.
#
#   look_shots.sh BUILD OUT
set -euo pipefail
build=$1
out=$2
fixtures="$build/fixtures"
mkdir -p "$out"
banks=(1:en 2:es 3:fr 4:de)

winwait() { wine "$build/bin/winwait.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# A source folder holding setup.exe alone: setup asks for the first disk.
empty="$out/empty-source"
mkdir -p "$empty"
cp "$build/bin/setup.exe" "$empty/"

# Starts setup, waits for its first dialog, photographs it and ends setup.
shoot() {
    local name=$1 program=$2
    shift 2
    wine "$program" "$@" </dev/null >"$out/$name.log" 2>&1 &
    local pid=$! place
    if place=$(winwait '*' 120 --rect) && [[ -n "$place" ]]; then
        import -window root -crop "$place" +repage "$out/$name.png"
    else
        echo "   no dialog for $name" >&2
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -f "$out/$name.log"
}

for mode in nt351 win10; do
    wine reg add 'HKCU\Software\Wine\AppDefaults\setup.exe' /v Version /d "$mode" /f </dev/null >/dev/null 2>&1
    shoot "$mode-language" "$fixtures/share-en/setup.exe"
    for bank in "${banks[@]}"; do
        n=${bank%%:*}
        share="$fixtures/share-${bank#*:}/setup.exe"
        shoot "$mode-type-$n" "$share" "/L:$n"
        shoot "$mode-destination-$n" "$share" "/L:$n" /TS:
        shoot "$mode-message-$n" "$share" "/L:$n" /TS: '/DEST:Q:\NOWHERE'
        shoot "$mode-disk-$n" "$empty/setup.exe" "/L:$n" /TS: "/DEST:C:\\LOOK\\$mode\\DISK$n"
        shoot "$mode-account-$n" "$share" "/L:$n" /TS: "/DEST:C:\\LOOK\\$mode\\ACCOUNT$n"
    done
done
wine reg delete 'HKCU\Software\Wine\AppDefaults\setup.exe' /f </dev/null >/dev/null 2>&1 || true
rm -rf "$empty"
