#!/usr/bin/env bash
# Runs one Windows program under Wine for CMake and CTest. Wine's output goes
# to a file that is printed afterwards: processes that Wine starts in the
# background inherit the output handles and would hold a pipe open.
log=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
WINEDEBUG=${WINEDEBUG:--all} wine "$@" </dev/null >"$log" 2>&1
rc=$?
cat "$log"
rm -f "$log"
exit $rc
