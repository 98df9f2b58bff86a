#!/usr/bin/env bash
# The Windows program under Wine, with its message boxes on a virtual screen: help, the
# single-instance guard, and a silent run. The interactive run has a script of its own. Needs DISPLAY and
# WINEPREFIX (scripts/test.sh provides both); skipped (77) without them.
set -u
exe=$1
shots=${2:-.}
export WINDOW_TEXTS=${3:-}
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] || { echo "no DISPLAY/WINEPREFIX"; exit 77; }
command -v xdotool >/dev/null || { echo "no xdotool"; exit 77; }
export WINEDEBUG=-all
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
. "$(dirname "${BASH_SOURCE[0]}")/wine_windows.sh"
require_startable
close() { xdotool key --window "$1" Return 2>/dev/null; }

timeout 120 "$FENNOCK_WINE" "$exe" /? &
first=$!
help_box=$(window "Fennock Help")
check "help box appears" test -n "$help_box"
command -v import >/dev/null && import -window root "$shots/help-box.png" 2>/dev/null

# While the first instance shows its box it holds the mutex.
timeout 120 "$FENNOCK_WINE" "$exe" /silent &
second=$!
busy_box=$(window "Already Running")
check "second instance shows Already Running" test -n "$busy_box"
[ -n "$busy_box" ] && close "$busy_box"
wait "$second"; rc=$?
check "second instance exits 0" test "$rc" -eq 0

[ -n "$help_box" ] && close "$help_box"
wait "$first"; rc=$?
check "help exits 0 once closed" test "$rc" -eq 0

answer_no_in_background
timeout 120 "$FENNOCK_WINE" "$exe" /silent; rc=$?
stop_answering
check "silent run exits 0" test "$rc" -eq 0
check "a silent run records no version" bash -c \
    "! timeout 60 "$FENNOCK_WINE" reg query 'HKCU\\Software\\ZEPH\\Fennock' /v Version >/dev/null 2>&1"

finish cli_windows
