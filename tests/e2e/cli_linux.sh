#!/usr/bin/env bash
# The Linux program from the outside: help, version, about, licence, the single-instance
# guard, and an interactive run without a terminal.
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
check "help and version create no data folder, no lock" test ! -e "$XDG_DATA_HOME"

# Another instance holds the lock: this one says so and leaves.
mkdir -p "$XDG_DATA_HOME/fennock"
exec 9>"$XDG_DATA_HOME/fennock/fennock.lock"
flock -n 9
out=$(timeout 20 "$exe" --silent 2>"$work/err" 9>&-); rc=$?
exec 9>&-
check "second instance exits 0" test "$rc" -eq 0
check "second instance writes no report" test -z "$out"
check "second instance is told" grep -q '^Fennock is already running.$' "$work/err"

timeout 20 "$exe" --silent; rc=$?
check "silent run exits 0" test "$rc" -eq 0
check "silent run records no version" test ! -e "$XDG_DATA_HOME/fennock/inventory.ini"
# Without a terminal the agreement cannot be shown: the run ends as when the dialog cannot be
# shown, and says how to go on.
timeout 20 "$exe" </dev/null >/dev/null 2>"$work/err"; rc=$?
check "interactive run without a terminal exits 255" test "$rc" -eq 255
check "and says to use --silent" grep -q -- '--silent' "$work/err"
check "and records no version" test ! -e "$XDG_DATA_HOME/fennock/inventory.ini"

check "--about" test "$(timeout 20 "$exe" --about | head -n 1)" = "Fennock 1.0.32278"
check "--about names the maker" bash -c "timeout 20 '$exe' --about | grep -q '^Copyright © ZEPH'"
check "--license prints the agreement as text" bash -c \
    "timeout 20 '$exe' --license | head -n 1 | grep -qx 'Fennock Licence Agreement'"
check "--license has no markup" bash -c "! timeout 20 '$exe' --license | grep -q '[{}\\\\]'"
check "--help lists --about and --license" bash -c \
    "timeout 20 '$exe' --help | grep -q -- '--about' && timeout 20 '$exe' --help | grep -q -- '--license'"

finish cli_linux
