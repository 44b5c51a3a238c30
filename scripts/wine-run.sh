#!/usr/bin/env bash
# Runs one Windows program under Wine for CMake and CTest. Wine's output goes
# to a file that is printed afterwards: processes that Wine starts in the
# background inherit the output handles and would hold a pipe open.
log=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
WINEDEBUG=${WINEDEBUG:--all} wine "$@" </dev/null >"$log" 2>&1
rc=$?
# Wine's own loader (not the Windows program, whose crash is an exit code)
# was seen, rarely, to die of a segmentation fault as a test program ended:
# such a run says nothing of the test, which runs once more from the start.
if ((rc == 139)); then
    echo "wine-run: Wine itself crashed (SIGSEGV); running the program again" >&2
    WINEDEBUG=${WINEDEBUG:--all} wine "$@" </dev/null >"$log" 2>&1
    rc=$?
fi
cat "$log"
rm -f "$log"
exit $rc
