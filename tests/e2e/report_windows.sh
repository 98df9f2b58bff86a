#!/usr/bin/env bash
# A silent run of the Windows program under Wine writes inventory.html and, from the
# program's own resources, the support files beside it; the sections hold Wine's real data
# (compared with what Wine's own WMI tool answers) and a crafted program name shows as text.
# A portable run writes no support files. Needs WINEPREFIX and DISPLAY (scripts/test.sh
# provides both); skipped (77) without them.
#   report_windows.sh FENNOCK.EXE WINDOW_TEXTS.EXE
set -u
exe=$1
export WINDOW_TEXTS=${2:-}
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || { echo "no WINEPREFIX/DISPLAY"; exit 77; }
command -v python3 >/dev/null || { echo "no python3"; exit 77; }
command -v iconv >/dev/null || { echo "no iconv"; exit 77; }
export WINEDEBUG=-all
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/report_tools.py
work=$(mktemp -d /tmp/fennock-report.XXXXXX)
drive_c=$WINEPREFIX/drive_c
inside=$(mktemp -d "$drive_c/fennock-report.XXXXXX")
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
probe="$uninstall\\FennockReportProbe"
probe64="$uninstall\\FennockReportProbe64"
cleanup() {
    stop_answering
    timeout 60 "$FENNOCK_WINE" reg delete "$probe" /reg:32 /f >/dev/null 2>&1
    timeout 60 "$FENNOCK_WINE" reg delete "$probe64" /reg:64 /f >/dev/null 2>&1
    rm -rf "$work" "$inside"
}
trap cleanup EXIT
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
. "$(dirname "${BASH_SOURCE[0]}")/wine_windows.sh"
require_startable
answer_no_in_background
checks() {
    timeout 60 python3 "$tools" "$@" || failures=$((failures + 1))
}
# One property of the first instance of a WMI class, as Wine's own tool reports it: a
# UTF-16 table, the property name over its values.
wmi_value() {  # class alias, property
    timeout 120 "$FENNOCK_WINE" wmic "$1" get "$2" 2>/dev/null | iconv -f UTF-16 -t UTF-8 2>/dev/null |
        tr -d '\r' | sed 's/[[:space:]]*$//' | awk -v p="$2" 'seen && NF { print; exit } $0 == p { seen = 1 }'
}

timeout 60 "$FENNOCK_WINE" reg add "$probe" /v DisplayName /t REG_SZ \
    /d "Report Probe <script>alert(1)</script>" /reg:32 /f >/dev/null 2>&1
# Both programs read both views on 64-bit Windows.
timeout 60 "$FENNOCK_WINE" reg add "$probe64" /v DisplayName /t REG_SZ /d "Report Probe Wide" \
    /reg:64 /f >/dev/null 2>&1
caption=$(wmi_value os Caption)
processor=$(wmi_value cpu Name)
bios=$(wmi_value bios Name)
check "Wine's WMI answers (caption '$caption', BIOS '$bios')" test -n "$caption" -a -n "$bios"

# A folder outside the prefix, through drive Z:, that does not exist yet.
out=$work/report
winout=$(timeout 60 "$FENNOCK_WINE" winepath -w "$out" 2>/dev/null)
check "Windows path of the output folder ($winout)" test -n "$winout"
timeout --kill-after=10 300 "$FENNOCK_WINE" "$exe" /silent /path "$winout"; rc=$?
check "silent run exits 0" test "$rc" -eq 0
checks windows "$out/inventory.html" "$caption" "$bios"
check "the processor Wine names ($processor)" grep -qF "$processor" "$out/inventory.html"
check "a program of the 32-bit view listed" grep -qF "Report Probe &lt;script&gt;" "$out/inventory.html"
check "a program of the 64-bit view listed" grep -qF "Report Probe Wide" "$out/inventory.html"

# Portable, into an existing folder inside the prefix, named by its drive-C path.
timeout --kill-after=10 300 "$FENNOCK_WINE" "$exe" /silent /portable /path "C:\\$(basename "$inside")"; rc=$?
check "portable run exits 0" test "$rc" -eq 0
check "portable run writes inventory.html" test -s "$inside/inventory.html"
check "portable run writes no inventory_files" test ! -e "$inside/inventory_files"
check "portable report refers to the portable base URL" \
    grep -q 'href="http[^"]*/common.css"' "$inside/inventory.html"
checks common "$inside/inventory.html"

finish report_windows
