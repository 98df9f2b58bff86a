#!/usr/bin/env bash
# The shipped machines' YAML reports and stored rows are what they were when these
# checksums were taken (tests/machines/reference.sha256): a change of structure must not
# change a byte of either. A deliberate change of output takes new checksums, made with
#   reference_linux.sh FENNOCK MACHINES_DIR --write
set -u
exe=$1
machines=$2
command -v sqlite3 >/dev/null || { echo "no sqlite3"; exit 77; }
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for machine in "$machines"/*.json; do
    name=$(basename "$machine" .json)
    run=$work/$name
    mkdir -p -m 700 "$run" "$run/data" "$run/run" "$run/cache" "$run/tmp"
    XDG_DATA_HOME=$run/data XDG_RUNTIME_DIR=$run/run XDG_CACHE_HOME=$run/cache TMPDIR=$run/tmp \
        timeout 120 "$exe" --silent --yaml --path "$run/out" --machine "$machine" >/dev/null 2>&1
    cp "$run/out/inventory.yaml" "$work/$name.yaml" 2>/dev/null
    sqlite3 "$run/data/fennock/inventory.db" "SELECT query_name, query_field_name,
        session_item_field_value FROM v_session_item_field ORDER BY session_item_field_id" \
        >"$work/$name.rows" 2>/dev/null
done

if [ "${3:-}" = --write ]; then
    (cd "$work" && sha256sum -- *.yaml *.rows | sort -k2) >"$machines/reference.sha256"
    exit 0
fi
while read -r sum file; do
    check "$file as before" test "$(sha256sum <"$work/$file" | cut -d' ' -f1)" = "$sum"
done <"$machines/reference.sha256"
finish reference_linux
