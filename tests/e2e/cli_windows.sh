#!/usr/bin/env bash
# The Windows program under Wine, with its message boxes on a virtual screen: help, the
# single-instance guard, and the recorded version of an interactive run. Needs DISPLAY and
# WINEPREFIX (scripts/test.sh provides both); skipped (77) without them.
set -u
exe=$1
shots=${2:-.}
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] || { echo "no DISPLAY/WINEPREFIX"; exit 77; }
command -v xdotool >/dev/null || { echo "no xdotool"; exit 77; }
export WINEDEBUG=-all
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# Waits for a top-level window with exactly this title; prints its id.
window() { timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
close() { xdotool key --window "$1" Return 2>/dev/null; }

timeout 120 wine "$exe" /? &
first=$!
help_box=$(window "Fennock Help")
check "help box appears" test -n "$help_box"
command -v import >/dev/null && import -window root "$shots/help-box.png" 2>/dev/null

# While the first instance shows its box it holds the mutex.
timeout 120 wine "$exe" /silent &
second=$!
busy_box=$(window "Already Running")
check "second instance shows Already Running" test -n "$busy_box"
[ -n "$busy_box" ] && close "$busy_box"
wait "$second"; rc=$?
check "second instance exits 0" test "$rc" -eq 0

[ -n "$help_box" ] && close "$help_box"
wait "$first"; rc=$?
check "help exits 0 once closed" test "$rc" -eq 0

timeout 120 wine "$exe" /silent; rc=$?
check "silent run exits 0" test "$rc" -eq 0

timeout 120 wine "$exe"; rc=$?
check "interactive run exits 0" test "$rc" -eq 0
check "interactive run records the version" bash -c \
    "timeout 60 wine reg query 'HKCU\\Software\\ZEPH\\Fennock' /v Version 2>/dev/null | tr -d '\\r' | grep -q 'REG_SZ *1.0.32278\$'"

finish cli_windows
