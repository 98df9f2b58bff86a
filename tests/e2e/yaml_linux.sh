#!/usr/bin/env bash
# The Linux program's YAML reports load in a real YAML 1.1 reader (PyYAML) and say exactly
# what the described machine holds: for every shipped machine and the machine of hostile
# values, a changes-only report without a previous run, the whole session, and after an edit
# of the description the changes-only report with its new, removed and changed items.
#   yaml_linux.sh FENNOCK MACHINES_FOLDER
set -u
exe=$1
machines=$2
checker=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/yaml_check.py
command -v python3 >/dev/null || { echo "no python3"; exit 77; }
python3 -c "import yaml" 2>/dev/null || { echo "no PyYAML (python3-yaml)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run TMPDIR=$work/tmp
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# Runs the checks of yaml_check.py; their own lines say what failed.
checks() {
    timeout 120 python3 "$checker" "$@" || failures=$((failures + 1))
}
run() {  # what, machine, output folder, options...
    local what=$1 machine=$2 out=$3
    shift 3
    printed=$(timeout 120 "$exe" --silent --yaml "$@" --machine "$machine" --path "$out")
    local rc=$?
    check "$what: exits 0 ($rc)" test "$rc" -eq 0
    check "$what: prints the report path" test "$printed" = "$out/inventory.yaml"
    check "$what: leaves no partial file" test ! -e "$out/inventory.yaml.tmp"
}

count=0
for machine in "$machines"/*.json; do
    name=$(basename "$machine" .json)
    count=$((count + 1))
    export XDG_DATA_HOME=$work/$name/data
    out=$work/$name
    echo "== $name"
    run "$name, changes without a previous run" "$machine" "$out/first" --diff
    checks empty "$out/first/inventory.yaml"
    run "$name, whole session" "$machine" "$out/full"
    checks full "$machine" "$out/full/inventory.yaml"
    timeout 60 python3 "$checker" change "$machine" "$out/changed.json" "$out/expected.json"
    check "$name: description edited" test -s "$out/expected.json"
    run "$name, changes" "$out/changed.json" "$out/diff" --diff
    checks diff "$out/diff/inventory.yaml" "$out/expected.json"
done
check "machines found in $machines ($count)" test "$count" -ge 3

finish yaml_linux
