#!/usr/bin/env bash
# A silent run of the Windows program under Wine collects Wine's real WMI data, both views
# of the uninstall key and the services; the database it leaves is read back here.
# Needs WINEPREFIX and DISPLAY (scripts/test.sh provides both; the WMI repository question
# that Wine's WMI brings is answered No); skipped (77) without them.
#   collect_windows.sh FENNOCK.EXE WINDOW_TEXTS.EXE
set -u
exe=$1
export WINDOW_TEXTS=${2:-}
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || { echo "no WINEPREFIX/DISPLAY"; exit 77; }
command -v sqlite3 >/dev/null || { echo "no sqlite3"; exit 77; }
export WINEDEBUG=-all
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
. "$(dirname "${BASH_SOURCE[0]}")/wine_windows.sh"
require_startable
answer_no_in_background
trap stop_answering EXIT

uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
timeout 60 "$FENNOCK_WINE" reg add "$uninstall\\FennockTest32" /v DisplayName /t REG_SZ /d "Test App 32" /reg:32 /f >/dev/null 2>&1
timeout 60 "$FENNOCK_WINE" reg add "$uninstall\\FennockTest32" /v EstimatedSize /t REG_DWORD /d 4294967295 /reg:32 /f >/dev/null 2>&1
timeout 60 "$FENNOCK_WINE" reg add "$uninstall\\FennockTest64" /v DisplayName /t REG_SZ /d "Test App 64" /reg:64 /f >/dev/null 2>&1

timeout 300 "$FENNOCK_WINE" "$exe" /silent; rc=$?
check "silent run exits 0" test "$rc" -eq 0

db=$(find "$WINEPREFIX/drive_c/users" -path '*ZEPH/Fennock/inventory.db' 2>/dev/null | head -n 1)
check "inventory.db in the roaming data folder" test -n "$db"
[ -n "$db" ] || { echo "collect_windows: no database"; exit 1; }

# Items of the kept session, by query name.
items() {
    sqlite3 "$db" "SELECT COUNT(*) FROM session_item si JOIN query q ON q.id = si.query_id
                   JOIN session s ON s.id = si.session_id
                   WHERE s.status_type_id = 2 AND q.name = '$1';"
}
# Fields of the kept session with this value, by query name.
value() {
    sqlite3 "$db" "SELECT COUNT(*) FROM v_session_item_field v JOIN session s ON s.id = v.session_id
                   WHERE s.status_type_id = 2 AND v.query_name = '$1'
                   AND v.session_item_field_value = '$2';"
}

check "one kept session" test "$(sqlite3 "$db" 'SELECT COUNT(*) FROM session WHERE status_type_id = 2')" -eq 1
for query in Version BIOS OperatingSystem ComputerSystem Processor LogicalDisk Process VideoController; do
    n=$(items "$query")
    check "$query collected ($n)" test "$n" -ge 1
done
check "32-bit view program in InstalledSoftware32" test "$(value InstalledSoftware32 'Test App 32')" -eq 1
check "64-bit view program in InstalledSoftware64" test "$(value InstalledSoftware64 'Test App 64')" -eq 1
check "views kept apart" test "$(value InstalledSoftware32 'Test App 64')" -eq 0
n=$(items Services)
check "services collected ($n)" test "$n" -ge 5
check "Wine's processor text" test -n "$(sqlite3 "$db" "SELECT session_item_field_value FROM v_session_item_field WHERE query_name = 'Processor' AND query_field_name = 'Name' LIMIT 1")"

# A second run replaces the kept session.
timeout 300 "$FENNOCK_WINE" "$exe" /silent; rc=$?
check "second run exits 0" test "$rc" -eq 0
check "still one session" test "$(sqlite3 "$db" 'SELECT COUNT(*) FROM session')" -eq 1

finish collect_windows
