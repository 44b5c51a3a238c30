#!/usr/bin/env bash
# The main job: builds setup.exe and a sample disk set, then, under Wine on a
# private display, shows setup's first screen and runs a real install,
# printing what was installed, the product's entry in the list of installed
# programs, the run's events and where the screenshots are; then uninstalls
# it again and prints its events and what is left, and photographs every
# dialog in both looks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
source "$root/scripts/wine-env.sh"
bash "$root/scripts/build.sh" >/dev/null
# setup.exe is a 32-bit program: in this 64-bit prefix its system directory
# is syswow64 and its registry is the 32-bit view. Where the kernel runs no
# 32-bit programs, the demo runs the same code built for x64 (which does not
# ship), whose system directory is system32 and registry the 64-bit view.
build="$root/build" system=syswow64 view=32
if ! wine_env_runs_32bit; then
    echo "== This kernel runs no 32-bit programs: the demo runs setup.exe built for x64 (build/x64full)"
    bash "$root/scripts/build.sh" x64full >/dev/null
    build="$root/build/x64full" system=system32 view=64
fi

out="$root/build/demo"
mkdir -p "$out"
product="$build/fixtures/product"
echo "== Sample disk set, made by tools/diskset/make_diskset.py from $product"
python3 "$root/tools/diskset/make_diskset.py" --product "$product" --disks "$out/disks" --capacity 1400000
python3 "$root/tools/diskset/make_diskset.py" --product "$product" --share "$out/share" --quiet
echo "   and the same files in one folder, as on a network share: $out/share"

trap wine_env_stop EXIT
wine_env_start "$out"
winwait() { wine "$build/bin/winwait.exe" "$@" </dev/null >/dev/null 2>&1; }
# Wine keeps no event log: with its eventlog channel on, each event's text
# goes to the program's error output, in a line whose class is the event's
# type. This prints those of a run's log.
tracing=-all,+eventlog
print_events() {
    python3 - "$1" <<'PYTHON'
import re
import sys

KINDS = {"trace": "information", "warn": "warning", "err": "error"}
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}
for line in open(sys.argv[1], encoding="latin-1"):
    found = re.search(r':(trace|warn|err):eventlog:ReportEventW L"', line)
    if not found:
        continue
    text, i = "", found.end()
    while i < len(line) and line[i] != '"':
        if line[i] == "\\" and line[i + 1] in ESCAPES:
            text, i = text + ESCAPES[line[i + 1]], i + 2
        elif line[i] == "\\":
            text, i = text + chr(int(line[i + 1:i + 5], 16)), i + 5
        else:
            text, i = text + line[i], i + 1
    first, *rest = text.split("\n")
    print(f"  [{KINDS[found.group(1)]}] {first}")
    for following in rest:
        print(f"      {following}" if following else "")
PYTHON
}

share="Z:$(echo "$out/share/" | tr '/' '\\')"

# What a person sees first: the setup window and the language dialog.
wine "${share}setup.exe" </dev/null >"$out/setup-first.log" 2>&1 &
first=$!
winwait Tapewright 60 || { echo "setup.exe did not show its language dialog" >&2; exit 1; }
import -window root "$out/setup-window.png"
winwait Tapewright 5 --press 2
wait "$first" || true

# A real Backup Server install from the share into C:\TAPWRITE\NT: the
# language, type, directory and service account (this prefix's own user, as
# which Wine runs services) are given, the readme question is answered No.
user=$(id -un)
echo "== setup.exe /L:1 /TS: /DEST:C:\\TAPWRITE\\NT /USER:$user /DOMAIN:\$LOCAL\$ /PASSWORD:..., run from the share"
WINEDEBUG=$tracing wine "${share}setup.exe" /L:1 /TS: '/DEST:C:\TAPWRITE\NT' "/USER:$user" '/DOMAIN:$LOCAL$' /PASSWORD:x \
    </dev/null >"$out/setup-install.log" 2>&1 &
setup=$!
# Under Wine the prefix's user is no administrator by the membership list
# and holds no right: setup asks to make it one and reports both grants.
winwait "Administrative Rights Required" 120 --press 6 || { echo "the account was not checked" >&2; exit 1; }
winwait "Rights Granted" 20 --press 1
winwait "Rights Granted" 20 --press 1
winwait "Read Important Information" 120 --press 7 || { echo "the install did not finish" >&2; exit 1; }
sleep 1
import -window root "$out/setup-finished.png"

echo "== Installed into C:\\TAPWRITE\\NT"
(cd "$WINEPREFIX/drive_c/TAPWRITE/NT" && ls -l --time-style=+%Y-%m-%d\ %H:%M | tail -n +2)
echo "== In the system directory ($system)"
ls -l "$WINEPREFIX/drive_c/windows/$system/dlg3d32.dll"
echo "== Registry: HKLM\\Software\\Velmar\\Tapewright (paths and a few defaults)"
for query in 'User Interface|Data Path' 'User Interface|Data Path Remote' 'Catalogs|Catalog Path' \
             'Catalogs|Catalog Path Remote' 'Display|Font Face' 'Backup Engine|Max Buffer Size'; do
    key=${query%%|*}
    value=${query#*|}
    wine reg query "HKLM\\Software\\Velmar\\Tapewright\\$key" /v "$value" "/reg:$view" </dev/null 2>/dev/null | grep -a "$value" || true
done
show_services() {
    local name key display account start state
    for name in 'Velmar Advertising and Naming Service' 'Velmar RPC Interfaces Service' 'VelmarAgentBrowser'; do
        key="HKLM\\System\\CurrentControlSet\\Services\\$name"
        display=$(wine reg query "$key" /v DisplayName </dev/null 2>/dev/null | grep -a DisplayName | sed 's/.*REG_SZ *//' | tr -d '\r')
        account=$(wine reg query "$key" /v ObjectName </dev/null 2>/dev/null | grep -a ObjectName | sed 's/.*REG_SZ *//' | tr -d '\r')
        start=$(wine reg query "$key" /v Start </dev/null 2>/dev/null | grep -a ' Start' | sed 's/.*REG_DWORD *//' | tr -d '\r ')
        state=$(wine sc query "$name" </dev/null 2>/dev/null | grep -a STATE | sed 's/.*: *[0-9]* *//' | tr -d '\r ')
        case "$start" in 0x2) start=automatic ;; 0x3) start=manual ;; 0x4) start=disabled ;; esac
        printf '  %s\n    display name %s, %s, start %s, account %s\n' "$name" "$display" "${state:-absent}" "$start" "$account"
    done
}
echo "== The product's services"
show_services
echo "== The program group \"Tapewright 6.0\" (the Start Menu folder made of it)"
group=("$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu"/Programs/"Tapewright 6.0")
if [[ -d "${group[0]}" ]]; then
    for link in "${group[0]}"/*.lnk; do
        [[ -e "$link" ]] && echo "  $(basename "$link" .lnk)"
    done
else
    echo "  absent"
fi
echo "== The entry in the list of installed programs ($view-bit view)"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tapewright' "/reg:$view" \
    </dev/null 2>/dev/null | grep -a REG_ | tr -d '\r' | sed 's/^ */  /' || true
# The run has completed: closing its window ends it as the OK button would.
winwait "Tapewright Installation" 10 --close
code=0
wait "$setup" || code=$?
echo "== The install's events in the Application event log (exit code $code)"
print_events "$out/setup-install.log"

# A reinstall over the working install from a copy of the share whose
# twwinnt.ex_, one of the last files, is cut short: it fails after most
# files were replaced and the services stopped, and gives everything back.
damaged="$out/share-damaged"
rm -rf "$damaged"
cp -r "$out/share" "$damaged"
truncate -s $(($(stat -c %s "$damaged/twwinnt.ex_") / 2)) "$damaged/twwinnt.ex_"
product_state() {
    (cd "$WINEPREFIX/drive_c/TAPWRITE" && find . \( -type f -printf '%p %s %T@ %M\n' \) -o -printf '%p/\n' \
        | sort | sha256sum | cut -c1-16)
}
before=$(product_state)
echo "== setup.exe /SMS: /TS: /DEST:C:\\TAPWRITE\\NT ..., again, from a share whose twwinnt.ex_ is cut in half"
code=0
WINEDEBUG=$tracing wine "Z:$(echo "$damaged/" | tr '/' '\\')setup.exe" /SMS: /TS: '/DEST:C:\TAPWRITE\NT' "/USER:$user" \
    '/DOMAIN:$LOCAL$' /PASSWORD:x </dev/null >"$out/setup-reinstall.log" 2>&1 || code=$?
echo "   exit code $code"
after=$(product_state)
[[ "$before" == "$after" ]] && echo "   C:\\TAPWRITE: every folder, and every file's size, time and mode, as before ($after)" \
    || echo "   C:\\TAPWRITE: CHANGED ($before before, $after after)"
echo "== The product's services after the failed reinstall"
show_services
echo "== The failed reinstall's events in the Application event log"
print_events "$out/setup-reinstall.log"

# The uninstall, as a deployment tool runs it: the installed copy of setup,
# unattended, without restarting.
echo "== setup.exe /U: /UNINSTALL: /SMS:, run from C:\\TAPWRITE\\NT"
code=0
WINEDEBUG=$tracing wine 'C:\TAPWRITE\NT\setup.exe' /U: /UNINSTALL: /SMS: </dev/null >"$out/setup-uninstall.log" 2>&1 \
    || code=$?
echo "   exit code $code (0 done; 3010 done once Windows restarts)"
echo "== The uninstall's events in the Application event log"
print_events "$out/setup-uninstall.log"
echo "== What is left of the product"
echo "  C:\\TAPWRITE\\NT: $(cd "$WINEPREFIX/drive_c/TAPWRITE/NT" 2>/dev/null && ls -A | tr '\n' ' ' || echo absent)"
for name in 'Velmar Advertising and Naming Service' 'Velmar RPC Interfaces Service' 'VelmarAgentBrowser'; do
    state=$(wine sc query "$name" </dev/null 2>/dev/null | grep -a STATE | sed 's/.*: *[0-9]* *//' | tr -d '\r ' || true)
    echo "  service $name: ${state:-absent}"
done
keys=$(wine reg query 'HKLM\Software\Velmar' "/reg:$view" </dev/null 2>/dev/null | grep -a 'Velmar\\' | tr -d '\r' || true)
echo "  keys below HKLM\\Software\\Velmar: ${keys:-none}"
[[ -d "${group[0]}" ]] && echo "  the program group's folder: still there" || echo "  the program group's folder: absent"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tapewright' "/reg:$view" </dev/null >/dev/null 2>&1 \
    && echo "  the entry in the list of installed programs: still there" \
    || echo "  the entry in the list of installed programs: absent"
echo "== Deletions pending for the next restart (PendingFileRenameOperations)"
wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations \
    </dev/null 2>/dev/null | grep -a REG_MULTI_SZ | sed 's/.*REG_MULTI_SZ *//; s/\\0\\0/\n/g; s/\\0/\n/g' \
    | tr -d '\r' | sed '/^$/d; s/^/  /' || true
# This demo's prefix is its own, made anew on every run: the restart that
# carries out the pending deletions can be shown here.
echo "== After the restart (wineboot -r in this demo's own prefix)"
wine wineboot -r </dev/null >>"$out/setup-uninstall.log" 2>&1 || true
[[ -e "$WINEPREFIX/drive_c/TAPWRITE" ]] && echo "  C:\\TAPWRITE: $(ls -AR "$WINEPREFIX/drive_c/TAPWRITE" | tr '\n' ' ')" \
    || echo "  C:\\TAPWRITE: absent"

# Each of setup's dialogs as Windows NT 3.51 (the 3D look) and as Windows 10
# (the system's own look), in the four translated banks.
echo "== The dialogs as Windows NT 3.51 and as Windows 10: $out/look/"
bash "$root/scripts/look_shots.sh" "$build" "$out/look"
echo
echo "Screenshots: $out/setup-window.png (the first screen)"
echo "             $out/setup-finished.png (the finished install, button reading OK)"
echo "             $out/look/MODE-DIALOG-BANK.png (each dialog, nt351 and win10, banks 1 to 4)"
