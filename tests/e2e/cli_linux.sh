#!/usr/bin/env bash
# The Linux program from the outside: help, version, the single-instance guard, and the
# recorded version of an interactive run.
set -u
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data TMPDIR=$work/tmp
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

out=$(timeout 20 "$exe" --help 2>"$work/err"); rc=$?
check "--help exits 0" test "$rc" -eq 0
check "--help prints usage on stdout" grep -q '^Usage: fennock' <<<"$out"
check "--help prints nothing on stderr" test ! -s "$work/err"
check "-? is help too" bash -c "timeout 20 '$exe' -? | grep -q '^Usage: fennock'"
check "--version" test "$(timeout 20 "$exe" --version)" = "Fennock 1.0.32278"

# Another instance holds the lock: this one says so and leaves.
exec 9>"$XDG_RUNTIME_DIR/fennock.lock"
flock -n 9
out=$(timeout 20 "$exe" --help 2>"$work/err" 9>&-); rc=$?
exec 9>&-
check "second instance exits 0" test "$rc" -eq 0
check "second instance prints no help" test -z "$out"
check "second instance is told" grep -q '^Fennock is already running.$' "$work/err"

timeout 20 "$exe" --silent; rc=$?
check "silent run exits 0" test "$rc" -eq 0
check "silent run records no version" test ! -e "$XDG_DATA_HOME/fennock/inventory.ini"
timeout 20 "$exe" </dev/null >/dev/null; rc=$?
check "interactive run exits 0" test "$rc" -eq 0
check "interactive run records the version" \
    grep -qx 'Version=1.0.32278' "$XDG_DATA_HOME/fennock/inventory.ini"

finish cli_linux
