#!/usr/bin/env bash
# The Linux program inventories a described machine: the database it leaves holds what the
# description says, shaped by the catalogue; a second run replaces the kept session; a
# broken description is refused with a message naming the file and the place.
set -u
exe=$1
machines=$2
command -v sqlite3 >/dev/null || { echo "no sqlite3"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data TMPDIR=$work/tmp
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"
db=$XDG_DATA_HOME/fennock/inventory.db
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
items() {
    sqlite3 "$db" "SELECT COUNT(*) FROM session_item si JOIN query q ON q.id = si.query_id
                   JOIN session s ON s.id = si.session_id
                   WHERE s.status_type_id = 2 AND q.name = '$1';"
}
field() {  # query, field name, value: how many kept fields have it
    sqlite3 "$db" "SELECT COUNT(*) FROM v_session_item_field v JOIN session s ON s.id = v.session_id
                   WHERE s.status_type_id = 2 AND v.query_name = '$1'
                   AND v.query_field_name = '$2' AND v.session_item_field_value = '$3';"
}

timeout 120 "$exe" --silent --machine "$machines/xp-desktop.json"; rc=$?
check "XP desktop: silent run exits 0" test "$rc" -eq 0
while read -r query expected; do
    n=$(items "$query")
    check "XP desktop: $query has $expected items ($n)" test "$n" -eq "$expected"
done <<'COUNTS'
Version 1
Process 68
BIOS 1
OperatingSystem 1
LogicalDisk 4
NetworkAdapterConfiguration 1
Printer 5
StartupCommand 9
PhysicalMemory 2
InstalledSoftware32 62
InstalledSoftware64 0
UserAccount 1
QuickFixEngineering 73
Services 155
Subcomponents 50
Processor 1
Platform 1
Tpm 0
InstalledSoftwareUser 1
COUNTS
check "XP desktop: OS caption stored" test "$(field OperatingSystem Caption 'Microsoft Windows XP Professional')" -eq 1
check "XP desktop: script text stored verbatim" \
    test "$(sqlite3 "$db" "SELECT COUNT(*) FROM session_item_field WHERE field LIKE '%<script>%'")" -ge 1
check "XP desktop: recorded data version revision stored" test "$(field Version DataVersionRevision 0)" -eq 1
check "XP desktop: firmware type stored" test "$(field Platform FirmwareType BIOS)" -eq 1

timeout 120 "$exe" --silent --machine "$machines/win7-laptop.json"; rc=$?
check "Win7 laptop: silent run exits 0" test "$rc" -eq 0
check "Win7 laptop replaces the kept session" test "$(sqlite3 "$db" 'SELECT COUNT(*) FROM session')" -eq 1
while read -r query expected; do
    n=$(items "$query")
    check "Win7 laptop: $query has $expected items ($n)" test "$n" -eq "$expected"
done <<'COUNTS'
Process 134
InstalledSoftware32 86
InstalledSoftware64 130
InstalledSoftwareUser 3
Tpm 0
QuickFixEngineering 216
Services 261
OptionalFeature 24
PhysicalMemoryArray 1
COUNTS
check "Win7 laptop: unsigned capacity above 2^31" test "$(field PhysicalMemoryArray MaxCapacity 3221225472)" -eq 1
check "Win7 laptop: a per-user program has its user" \
    test "$(field InstalledSoftwareUser UserName soconnell)" -eq 3
check "Win7 laptop: a 32-bit memory size in the registry leaves WMI's figure" \
    test "$(field VideoController AdapterRAM 1073741824)" -eq 1

timeout 120 "$exe" --silent --machine "$machines/win10-desktop.json"; rc=$?
check "Win10 desktop: silent run exits 0" test "$rc" -eq 0
check "Win10 desktop: graphics memory above 4 GB from the registry" \
    test "$(field VideoController AdapterRAM 8589934592)" -eq 1
check "Win10 desktop: TPM 2.0 seen as administrator" test "$(field Tpm SpecVersion '2.0, 0, 1.38')" -eq 1
check "Win10 desktop: processor caption" \
    test "$(field Processor Caption 'Intel64 Family 6 Model 165 Stepping 5')" -eq 1
check "Win10 desktop: system drive" test "$(field OperatingSystem SystemDrive 'C:')" -eq 1

out=$(timeout 120 "$exe" --silent --yaml --path "$work/yaml" --machine "$machines/xp-desktop.json"); rc=$?
check "YAML run exits 0 and names its report" test "$rc" -eq 0 -a "$out" = "$work/yaml/inventory.yaml"
check "YAML report starts with its header" test "$(head -n 2 "$work/yaml/inventory.yaml" | tr -d '\r')" = $'---\n# Fennock'
check "YAML report lists the processes" grep -q '^Process:' "$work/yaml/inventory.yaml"
out=$(timeout 120 "$exe" --silent --yaml --diff --path "$work/yaml" --machine "$machines/xp-desktop.json"); rc=$?
check "changes-only YAML of an unchanged machine holds the header alone" \
    test "$(tr -d '\r' <"$work/yaml/inventory.yaml")" = $'---\n# Fennock'

printf '{\n  "host": {"userName": 5}\n}\n' >"$work/bad.json"
out=$(timeout 20 "$exe" --silent --machine "$work/bad.json" 2>&1); rc=$?
check "bad description: exit code 2" test "$rc" -eq 2
check "bad description: file and place named ($out)" grep -q "bad.json: host.userName" <<<"$out"
out=$(timeout 20 "$exe" --silent --machine "$work/missing.json" 2>&1); rc=$?
check "missing description: exit code 2" test "$rc" -eq 2

finish machine_linux
