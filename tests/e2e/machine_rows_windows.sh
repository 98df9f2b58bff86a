#!/usr/bin/env bash
# The width of the program changes nothing a session holds: for each described machine, every
# Windows build this machine can start stores the same rows as the Linux program (a 64-bit
# build of the same code). A build of the other width that this machine cannot start is
# skipped with a line that says so. Needs WINEPREFIX and FENNOCK_WINE (scripts/test.sh);
# skipped (77) without them or without the Linux program. The checks that ask about a
# described machine's startup folder or WMI repository are answered No, as on Linux
# without a terminal.
#   machine_rows_windows.sh MACHINES_DIR LINUX_PROGRAM BUILD_DIR...
set -u
machines=$1
linux=$2
shift 2
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || { echo "no WINEPREFIX/DISPLAY"; exit 77; }
command -v xdotool >/dev/null || { echo "no xdotool"; exit 77; }
[ -x "$linux" ] || { echo "no Linux program at $linux"; exit 77; }
command -v sqlite3 >/dev/null || { echo "no sqlite3"; exit 77; }
export WINEDEBUG=-all FENNOCK_WINE=${FENNOCK_WINE:-wine}
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
. "$(dirname "${BASH_SOURCE[0]}")/wine_windows.sh"
work=$(mktemp -d /tmp/fennock-rows.XXXXXX)
trap 'stop_answering; rm -rf "$work"' EXIT

# The kept session's rows in the order they were stored, without the run's own times.
rows() {
    sqlite3 -separator '|' "$1" "SELECT v.query_name, v.session_item_id - (SELECT MIN(id) FROM session_item),
            v.query_field_name, v.session_item_field_value
        FROM v_session_item_field v JOIN session s ON s.id = v.session_id
        WHERE s.status_type_id = 2 AND NOT (v.query_name = 'Version' AND v.query_field_name LIKE '%Time%')
        ORDER BY v.session_item_field_id;"
}

windows_data() { find "$WINEPREFIX/drive_c/users" -path '*/ZEPH/Fennock' -type d 2>/dev/null | head -n 1; }

for machine in "$machines"/*.json; do
    name=$(basename "$machine" .json)
    mkdir -p "$work/linux-$name/tmp" "$work/linux-$name/run"
    XDG_DATA_HOME=$work/linux-$name/data XDG_RUNTIME_DIR=$work/linux-$name/run TMPDIR=$work/linux-$name/tmp \
        timeout 120 "$linux" --silent --yaml --machine "$machine" >/dev/null 2>&1
    rows "$work/linux-$name/data/fennock/inventory.db" >"$work/$name.linux"
    check "$name: the Linux program stores rows" test -s "$work/$name.linux"
done

for build in "$@"; do
    exe=$(find "$build" -maxdepth 1 -name 'Fennock*.exe' | head -n 1)
    export WINDOW_TEXTS=$build/tests/window_texts.exe
    [ -n "$exe" ] || { echo "skip $build: not built"; continue; }
    if ! startable; then
        echo "skip $(basename "$exe"): this machine cannot start it ($start_failure)"
        continue
    fi
    answer_no_in_background
    for machine in "$machines"/*.json; do
        name=$(basename "$machine" .json)
        data=$(windows_data)
        [ -n "$data" ] && rm -f "$data/inventory.db"
        out=$(timeout 60 "$FENNOCK_WINE" winepath -w "$work" 2>/dev/null)
        where=$(timeout 60 "$FENNOCK_WINE" winepath -w "$machine" 2>/dev/null)
        timeout --kill-after=10 300 "$FENNOCK_WINE" "$exe" /silent /yaml /path "$out" /machine "$where" \
            >/dev/null 2>&1
        data=$(windows_data)
        rows "$data/inventory.db" >"$work/$name.windows" 2>/dev/null
        check "$name: $(basename "$exe") stores the Linux program's rows" \
            cmp -s "$work/$name.linux" "$work/$name.windows"
        cmp -s "$work/$name.linux" "$work/$name.windows" ||
            diff "$work/$name.linux" "$work/$name.windows" | head -n 20
        [ -n "$data" ] && rm -f "$data/inventory.db"
    done
    stop_answering
done

finish machine_rows_windows
