#!/usr/bin/env bash
# The Windows program's interactive run under Wine, on a virtual screen, driven as a person
# would drive it: the licence agreement, the progress window to the end with the report
# opened, Cancel, the About box and its licence view, and the WMI repository question with
# Wine's WMI switched off. xdotool finds the windows by title and clicks their buttons; a
# small tool of ours reads the controls' texts. A screenshot of every window goes to the
# screenshot folder. Needs DISPLAY and WINEPREFIX (scripts/test.sh provides both).
#
#   interactive_windows.sh FENNOCK.EXE WINDOW_TEXTS.EXE SCREENSHOT_FOLDER
set -u
exe=$1
tool=$2
shots=$3
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] || { echo "no DISPLAY/WINEPREFIX"; exit 77; }
command -v xdotool >/dev/null || { echo "no xdotool"; exit 77; }
export WINEDEBUG=-all
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
export WINDOW_TEXTS=$tool
. "$(dirname "${BASH_SOURCE[0]}")/wine_windows.sh"
require_startable
mkdir -p "$shots"
work=$(mktemp -d /tmp/fennock-interactive.XXXXXX)
trap 'rm -rf "$work"' EXIT
out_win="Z:${work//\//\\}\\out"
viewer_log="$WINEPREFIX/drive_c/viewer.txt"

shot() { import -window root "$shots/$1.png" 2>/dev/null; }
recorded() { timeout 60 "$FENNOCK_WINE" reg query 'HKCU\Software\ZEPH\Fennock' /v Version 2>/dev/null | tr -d '\r' | grep -q 'REG_SZ *1.0.32278$'; }
sessions() {
    local db
    db=$(find "$WINEPREFIX/drive_c/users" -path '*ZEPH/Fennock/inventory.db' 2>/dev/null | head -n 1)
    sqlite3 "$db" "SELECT id || ':' || status_type_id FROM session ORDER BY id" 2>/dev/null | tr '\n' ' '
}
start() { timeout 300 "$FENNOCK_WINE" "$exe" /path "$out_win" & pid=$!; }
finish_run() { timeout 120 tail --pid="$pid" -f /dev/null; wait "$pid"; }

# The HTML handler of this prefix becomes a recorder of what it is asked to open.
timeout 60 "$FENNOCK_WINE" reg add 'HKCR\.html' /ve /t REG_SZ /d htmlfile /f >/dev/null 2>&1
timeout 60 "$FENNOCK_WINE" reg add 'HKCR\htmlfile\shell\open\command' /ve /t REG_SZ /f \
    /d 'C:\windows\system32\cmd.exe /c echo %1>>C:\viewer.txt' >/dev/null 2>&1
# A first start: no recorded version, no earlier sessions.
timeout 60 "$FENNOCK_WINE" reg delete 'HKCU\Software\ZEPH\Fennock' /f >/dev/null 2>&1
find "$WINEPREFIX/drive_c/users" -path '*ZEPH/Fennock/inventory.db*' -delete 2>/dev/null
rm -f "$viewer_log"

# The question box comes up over the progress window: it is moved aside, as a person would,
# so that the window's buttons can be reached.
question() {
    local box
    box=$(window "Problem with Startup Commands" "${1:-60}") || return 1
    [ -n "$box" ] || return 1
    xdotool windowmove "$box" 0 0
    sleep 0.5
    echo "$box"
}

# First start: the agreement. Reject ends the program with 2 and records nothing.
start
eula=$(window EULA)
check "a first interactive start shows EULA" test -n "$eula"
shot eula
controls=$(texts EULA)
check "the agreement is shown in the rich edit" grep -q $'RichEdit20W\tFennock Licence Agreement' <<<"$controls"
check "with Accept" grep -qP '^1\tvisible\tenabled\t.*\tAccept$' <<<"$controls"
check "and Reject" grep -qP '^2\tvisible\tenabled\t.*\tReject$' <<<"$controls"
click EULA Reject
finish_run; rc=$?
check "Reject gives exit 2" test "$rc" -eq 2
check "and no recorded version" bash -c "! timeout 60 "$FENNOCK_WINE" reg query 'HKCU\\Software\\ZEPH\\Fennock' /v Version >/dev/null 2>&1"

# Accept: the version is recorded and the progress window runs to the end. Wine's WMI lacks
# some core classes, so the repository question may come; No lets the run go on.
start
window EULA >/dev/null && click EULA Accept
main=$(window Fennock)
check "the progress window appears" test -n "$main"
shot progress
check "it shows the status line" grep -qP '^1002\tvisible\t.*\t(Start Gathering Inventory|Now gathering|Now creating|Now repairing)' <<<"$(texts Fennock)"
if box=$(question 20); then
    shot question-during-run
    click "Problem with Startup Commands" "&No" No
fi
finish_run; rc=$?
check "the run ends with exit code 129" test "$rc" -eq 129
check "the version is recorded" recorded
check "the report is written" test -s "$work/out/inventory.html"
for i in $(seq 1 100); do [ -s "$viewer_log" ] && break; sleep 0.1; done
check "the viewer is launched with the report" grep -qi 'out\\inventory.html' "$viewer_log"
base=$(sessions)
check "one kept session" bash -c "[[ '$base' =~ ^[0-9]+:2\ \$ ]]"

# With Wine's WMI provider switched off every WMI section is empty, and the run stops at the
# repository question: a run held there is cancelled from the progress window, and the
# About box is looked at.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}wbemprox=d"
rm -f "$viewer_log"
start
main=$(window Fennock)
box=$(question)
check "without WMI the repository question appears" test -n "$box"
shot question
check "the question's words" grep -q 'An error was detected in the WMI repository that resulted in missing data for some of the sections If you choose to repair the WMI reposiotry' <<<"$(texts 'Problem with Startup Commands')"
click Fennock "&About..."
about=$(window About)
check "About opens while the run waits" test -n "$about"
shot about
controls=$(texts About)
check "About shows Fennock" grep -qP '\tFennock$' <<<"$controls"
check "and 1.0.32278" grep -qP '\t1\.0\.32278$' <<<"$controls"
click About "&License..."
view=$(window EULA)
check "License shows the agreement" test -n "$view"
shot licence-view
controls=$(texts EULA)
check "with a single Close button" grep -qP '^2\tvisible\tenabled\t.*\tClose$' <<<"$controls"
check "and no Accept" grep -qP '^1\thidden' <<<"$controls"
click EULA Close
gone EULA
check "closing it returns to About" test -n "$(window About 5)"
click About Close
gone About
click Fennock Cancel
sleep 1
controls=$(texts Fennock)
check "Cancel disables the button" grep -qP '^2\tvisible\tdisabled' <<<"$controls"
check "and says so" grep -qF 'Now canceling inventory session...' <<<"$controls"
shot cancelling
click "Problem with Startup Commands" "&No" No
finish_run; rc=$?
check "a cancelled run ends with 129" test "$rc" -eq 129
check "Cancel removes the session and keeps the base" test "$(sessions)" = "$base"
check "no viewer after a cancel" test ! -e "$viewer_log"

# The question's answers: No gives a report, opened at the end; Cancel gives none (the file
# then holds the empty page a cancelled run writes) and removes the session; Yes runs the
# repair, which fails in Wine's prefix.
rm -f "$viewer_log" "$work/out/inventory.html"
start
question >/dev/null
click "Problem with Startup Commands" "&No" No
finish_run; rc=$?
check "No gives a report" test -s "$work/out/inventory.html"
for i in $(seq 1 100); do [ -s "$viewer_log" ] && break; sleep 0.1; done
check "and opens it" test -s "$viewer_log"
base=$(sessions)

rm -f "$viewer_log"
start
question >/dev/null
click "Problem with Startup Commands" Cancel
finish_run; rc=$?
check "Cancel ends the run with 129" test "$rc" -eq 129
check "and opens no report" test ! -e "$viewer_log"
check "and removes the session" test "$(sessions)" = "$base"

start
question >/dev/null
click "Problem with Startup Commands" "&Yes" Yes
failed=$(window "Insufficient Access" 200)
check "Yes runs the repair, which fails: Insufficient Access" test -n "$failed"
shot insufficient-access
check "with the repair's message" grep -qF 'The WMI repair could not be completed' <<<"$(texts 'Insufficient Access')"
click "Insufficient Access" OK
finish_run; rc=$?
check "after the repair the run ends with 129" test "$rc" -eq 129
check "without opening a report" test ! -e "$viewer_log"
check "and without a session of its own" test "$(sessions)" = "$base"

# Nothing of ours may be left running.
kill "$pid" 2>/dev/null
finish interactive_windows
