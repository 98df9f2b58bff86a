#!/usr/bin/env bash
# The Linux program writes the HTML report of the described machines: a first run comments
# the recent changes out and writes the support files; a second run after an edit of the
# description lists exactly the edits; a portable run refers to the portable base URL and
# writes no support files; hostile inventory texts show as text.
#   report_linux.sh FENNOCK MACHINES_FOLDER PORTABLE_BASE_URL
set -u
exe=$1
machines=$2
base_url=$3
tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/report_tools.py
command -v python3 >/dev/null || { echo "no python3"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data TMPDIR=$work/tmp
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# Runs the report checks of report_tools.py; their own lines say what failed.
checks() {
    timeout 60 python3 "$tools" "$@" || failures=$((failures + 1))
}
run() {  # machine, output folder, extra options...
    local machine=$1 out=$2
    shift 2
    printed=$(timeout 120 "$exe" --silent --path "$out" --machine "$machine" "$@")
}

machine=$work/win7-laptop.json
cp "$machines/win7-laptop.json" "$machine"
out=$work/report

run "$machine" "$out"; rc=$?
check "first run exits 0" test "$rc" -eq 0
check "first run prints the report path ($printed)" test "$printed" = "$out/inventory.html"
check "template written to the data folder" test -s "$XDG_DATA_HOME/fennock/inventory.html.tpl"
checks first "$out/inventory.html" --support-files

timeout 60 python3 "$tools" change "$machine" "$work/expected.json"
check "description edited" test -s "$work/expected.json"
run "$machine" "$out"; rc=$?
check "second run exits 0" test "$rc" -eq 0
checks second "$out/inventory.html" "$work/expected.json"

# The program creates the output folder only when it writes a support file there.
portable=$work/portable
mkdir -p "$portable"
run "$machine" "$portable" --portable; rc=$?
check "portable run exits 0" test "$rc" -eq 0
check "portable run prints the report path" test "$printed" = "$portable/inventory.html"
checks portable "$portable/inventory.html" "$base_url"
checks unchanged "$portable/inventory.html"
check "portable run leaves the first folder's support files" test -s "$out/inventory_files/common.css"

# A fresh data folder: the XP desktop's first inventory, with setup subcomponents.
export XDG_DATA_HOME=$work/data-xp
run "$machines/xp-desktop.json" "$work/xp"; rc=$?
check "XP desktop: first run exits 0" test "$rc" -eq 0
checks first "$work/xp/inventory.html" --support-files --components "$machines/xp-desktop.json"

finish report_linux
