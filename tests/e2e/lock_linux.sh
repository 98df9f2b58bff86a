#!/usr/bin/env bash
# The Linux single-instance guard from the outside: the lock belongs to the data folder
# (whatever runtime folder each run has), and a lock file that another user owns keeps no run
# out. `flock` stands for the other instance: it holds the file as a run does.
set -u
exe=$1
machine=$(cd "$(dirname "${BASH_SOURCE[0]}")/../machines" && pwd)/xp-desktop.json
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data TMPDIR=$work/tmp
mkdir -p "$TMPDIR" "$work/run1" "$work/run2"
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
lock=$XDG_DATA_HOME/fennock/fennock.lock

# Runs a silent inventory of a described machine (help takes no lock) with the given runtime
# folder ("" for none) and without fd 9; sets out and rc, stderr in $work/err. A run that goes
# on prints the report's path.
run() {
    local args=(--silent --yaml --machine "$machine")
    if [ -n "$1" ]; then
        out=$(XDG_RUNTIME_DIR=$1 timeout 60 "$exe" "${args[@]}" 2>"$work/err" 9>&-); rc=$?
    else
        out=$(env -u XDG_RUNTIME_DIR timeout 60 "$exe" "${args[@]}" 2>"$work/err" 9>&-); rc=$?
    fi
}

run "$work/run1"
check "a run with no other goes on" grep -q 'inventory.yaml$' <<<"$out"
check "the lock is in the data folder" test -f "$lock"
check "the data folder is made private" test "$(stat -c %a "$XDG_DATA_HOME/fennock")" = 700

# The other instance runs with another runtime folder.
exec 9<>"$lock"
flock -n 9
run "$work/run2"
check "another runtime folder: exits 0" test "$rc" -eq 0
check "another runtime folder: no report" test -z "$out"
check "another runtime folder: told" grep -q '^Fennock is already running.$' "$work/err"
run ""
check "no runtime folder: told" grep -q '^Fennock is already running.$' "$work/err"
run "$work/missing"
check "an unusable runtime folder: told" grep -q '^Fennock is already running.$' "$work/err"
exec 9>&-

run "$work/run2"
check "once the other has gone, a run goes on" grep -q 'inventory.yaml$' <<<"$out"

# A lock file of another user's is not trusted, even while it is held.
if [ "$(id -u)" -eq 0 ]; then
    chown 65534:65534 "$lock"
    exec 9<"$lock"
    flock -n 9
    run "$work/run1"
    exec 9>&-
    check "another user's lock file keeps no run out" grep -q 'inventory.yaml$' <<<"$out"
    check "another user's lock file is left as it was" test "$(stat -c %u "$lock")" -eq 65534
else
    echo "skip another user's lock file (needs root)"
fi

finish lock_linux
