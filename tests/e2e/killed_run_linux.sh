#!/usr/bin/env bash
# Runs killed at random points (SIGKILL: no clean-up of any kind) leave their unfinished
# sessions in the database, and the previous report whole; the next complete run keeps
# exactly one session, its own.
set -u
exe=$1
machines=$2
command -v sqlite3 >/dev/null || { echo "no sqlite3"; exit 77; }
work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data TMPDIR=$work/tmp
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"
db=$XDG_DATA_HOME/fennock/inventory.db
machine=$machines/win7-laptop.json
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

# A run the script kills may have left a hot journal; the reader waits instead of failing.
query() { sqlite3 -cmd '.timeout 5000' "$db" "$1" 2>/dev/null; }
sessions() { query "SELECT COUNT(*) FROM session WHERE status_type_id = $1;"; }
# The shell's "Killed" notice is noise here.
run() { { timeout -s KILL "$1" "$exe" --silent --machine "$machine" --path "$work/out"; } >/dev/null 2>&1; }

run 120; rc=$?
check "first complete run exits 0" test "$rc" -eq 0

# Killed by a short time limit: anywhere from the start-up to the end, the schema included.
for limit in 0.0$((RANDOM % 10 + 1)) 0.$((RANDOM % 5 + 1)) 0.$((RANDOM % 9 + 1)); do
    run "$limit"
done

# Killed soon after its first stored rows (a session of status 1 shows once the first
# query is committed); the delays are random and short, the last none at all. A run that
# got to its end before the kill removes what the earlier ones left, as it should.
left=0
for delay_ms in $((RANDOM % 100)) $((RANDOM % 50)) $((RANDOM % 20)) 0; do
    before=$(sessions 1)
    # Not under timeout: the kill must reach the program itself. The wait below is bounded
    # and the kill follows it in any case.
    "$exe" --silent --machine "$machine" --path "$work/out" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 3000); do  # at most about 30 s
        kill -0 "$pid" 2>/dev/null || break
        [ "$(sessions 1)" -gt "${before:-0}" ] 2>/dev/null && break
        sleep 0.01
    done
    sleep "$(printf '0.%03d' "$delay_ms")"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    pid=
    [ "$(sessions 1)" -gt "${before:-0}" ] 2>/dev/null && left=$((left + 1))
done
check "killed runs left their unfinished sessions ($left of 4)" test "$left" -ge 1
# A report is replaced only by a complete one: whatever the kills hit, a whole report is
# there (the first run's, or that of a run that ended before its kill).
check "a whole report survives the kills" bash -c "tail -c 9 '$work/out/inventory.html' | grep -q '</html>'"
unfinished=$(sessions 1)
check "unfinished sessions before the complete run (${unfinished:-none})" test "${unfinished:-0}" -ge 1

run 120; rc=$?
check "complete run after the killed ones exits 0" test "$rc" -eq 0
check "complete run wrote its report" test -s "$work/out/inventory.html"
check "exactly one session remains" test "$(query 'SELECT COUNT(*) FROM session;')" = 1
check "the session is kept (status 2)" test "$(query 'SELECT status_type_id FROM session;')" = 2
check "no item of another session remains" \
    test "$(query 'SELECT COUNT(*) FROM session_item WHERE session_id NOT IN (SELECT id FROM session);')" = 0
check "no field of a removed item remains" \
    test "$(query 'SELECT COUNT(*) FROM session_item_field WHERE session_item_id NOT IN (SELECT id FROM session_item);')" = 0
check "the kept session has items" test "$(query 'SELECT COUNT(*) FROM session_item;')" -gt 0
check "the file is intact" test "$(query 'PRAGMA integrity_check;')" = ok

finish killed_run_linux
