#!/usr/bin/env bash
# A second local user (nobody) prepares the places a root run writes to: links, pipes and
# folders of theirs under the names of the report, its old partial file, the support folder
# and the data folder. Each case runs twice, on the live system and on a described machine:
# nothing of the other user's may change, no run may hang, and a run that cannot be safe
# stops with exit code 1 and says why.
set -u
exe=$1
machine=$(cd "$(dirname "${BASH_SOURCE[0]}")/../machines" && pwd)/xp-desktop.json
[ "$(id -u)" -eq 0 ] || { echo "playing a second user needs root"; exit 77; }
command -v setpriv >/dev/null || { echo "setpriv is missing"; exit 77; }
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
other() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }

# A fresh shared folder like /tmp, and a folder of the other user's with a file to protect.
fresh() {
    rm -rf "$work/shared" "$work/theirs" "$work/root"
    mkdir -m 1777 "$work/shared"
    mkdir -m 755 "$work/theirs" && chown 65534:65534 "$work/theirs"
    other sh -c "echo precious >'$work/theirs/victim'; mkdir '$work/theirs/dir'"
    mkdir -p -m 700 "$work/root/tmp" "$work/root/run"
    export XDG_DATA_HOME=$work/root/data XDG_CACHE_HOME=$work/root/cache
    export TMPDIR=$work/root/tmp XDG_RUNTIME_DIR=$work/root/run
}

# Their things as they left them: the file's contents and owner, their folder still empty.
untouched() {
    test "$(cat "$work/theirs/victim")" = precious &&
        test "$(stat -c %u "$work/theirs/victim")" -eq 65534 &&
        test -z "$(ls -A "$work/theirs/dir")"
}

# run MODE ARGS...: a root run, under timeout (124 would be a hang); sets rc, err in $work/err.
run() {
    local mode=$1
    shift
    local args=(--silent)
    [ "$mode" = machine ] && args+=(--machine "$machine")
    timeout 120 "$exe" "${args[@]}" "$@" >"$work/out" 2>"$work/err"
    rc=$?
}

for mode in live machine; do
    fresh
    other ln -s "$work/theirs/victim" "$work/shared/inventory.html"
    other ln -s "$work/theirs/victim" "$work/shared/inventory.html.tmp"
    run $mode --path "$work/shared"
    check "$mode: links under the report's names: exit 0" test "$rc" -eq 0
    check "$mode: their file is untouched" untouched
    check "$mode: the link to it is replaced by a private report" \
        test "$(stat -c '%F %u %a' "$work/shared/inventory.html")" = "regular file 0 600"
    check "$mode: the old partial name is not used" test -L "$work/shared/inventory.html.tmp"
    check "$mode: support folder private" \
        test "$(stat -c '%u %a' "$work/shared/inventory_files")" = "0 700"
    check "$mode: database and template private" test \
        "$(stat -c %a "$XDG_DATA_HOME/fennock/inventory.db" "$XDG_DATA_HOME/fennock/inventory.html.tpl" \
            "$XDG_DATA_HOME/fennock" | sort -u)" = "$(printf '600\n700')"

    fresh
    other mkfifo "$work/shared/inventory.html.tmp" "$work/shared/inventory.html"
    mkdir -p "$XDG_DATA_HOME/fennock"
    mkfifo "$XDG_DATA_HOME/fennock/inventory.html.tpl"
    run $mode --path "$work/shared"
    check "$mode: pipes under the report's names: no hang, exit 0" test "$rc" -eq 0
    check "$mode: the pipe under the old partial name is left alone" \
        test -p "$work/shared/inventory.html.tmp"

    fresh
    other ln -s "$work/theirs/dir" "$work/shared/inventory_files"
    run $mode --path "$work/shared"
    check "$mode: support folder a link: exit 1" test "$rc" -eq 1
    check "$mode: and says so" grep -q "support folder '$work/shared/inventory_files' is a symbolic link" "$work/err"
    check "$mode: nothing written through it" untouched
    check "$mode: no report" test ! -e "$work/shared/inventory.html"

    fresh
    other mkdir "$work/shared/inventory_files"
    other ln -s "$work/theirs/victim" "$work/shared/inventory_files/common.css"
    run $mode --path "$work/shared"
    check "$mode: support folder of theirs: exit 1" test "$rc" -eq 1
    check "$mode: and says so" grep -q "inventory_files' belongs to another user" "$work/err"
    check "$mode: nothing written into it" test "$(ls -A "$work/shared/inventory_files")" = common.css
    check "$mode: nor through the link in it" untouched

    fresh
    other ln -s "$work/theirs/dir" "$work/shared/fennock"
    XDG_DATA_HOME=$work/shared run $mode
    check "$mode: data folder a link: exit 1" test "$rc" -eq 1
    check "$mode: and says so" grep -q "^The data folder '$work/shared/fennock/' is a symbolic link" "$work/err"
    check "$mode: nothing written through it" untouched
    check "$mode: nothing written at all" test -z "$(ls -A "$TMPDIR")"

    fresh
    other mkdir "$work/shared/fennock"
    XDG_DATA_HOME=$work/shared run $mode
    check "$mode: data folder of theirs: exit 1" test "$rc" -eq 1
    check "$mode: and says so" grep -q "fennock/' belongs to another user" "$work/err"
    check "$mode: nothing written into it" test -z "$(ls -A "$work/shared/fennock")"

    # XDG_DATA_HOME of theirs: the folder made in it could be swapped for a link.
    fresh
    XDG_DATA_HOME=$work/theirs/dir run $mode
    check "$mode: data folder in a folder of theirs: exit 1" test "$rc" -eq 1
    check "$mode: and says so" grep -q "fennock/' lies in a folder that other users can change" "$work/err"

    fresh
    mkdir -p -m 777 "$XDG_DATA_HOME/fennock"
    chmod 777 "$XDG_DATA_HOME/fennock"
    run $mode
    check "$mode: data folder open to all: exit 1" test "$rc" -eq 1
    check "$mode: and says so" grep -q "fennock/' can be written by other users" "$work/err"
    check "$mode: nothing written into it" test -z "$(ls -A "$XDG_DATA_HOME/fennock")"

    fresh
    other ln -s "$work/theirs/victim" "$work/shared/inventory.yaml.tmp"
    run $mode --yaml --path "$work/shared"
    check "$mode: link under the old YAML partial name: exit 0" test "$rc" -eq 0
    check "$mode: their file is untouched" untouched

    # A folder under the old partial name is no obstacle any more; under the report's name it
    # fails the run, and a file under the support folder's name too, each with its message.
    fresh
    other mkdir "$work/shared/inventory.html.tmp"
    run $mode --path "$work/shared"
    check "$mode: folder under the old partial name: exit 0" test "$rc" -eq 0
    fresh
    other mkdir "$work/shared/inventory.html"
    run $mode --path "$work/shared"
    check "$mode: folder under the report's name: exit 1" test "$rc" -eq 1
    check "$mode: and says so" grep -q "the report could not be written to '$work/shared/inventory.html'" "$work/err"
    fresh
    other touch "$work/shared/inventory_files"
    run $mode --path "$work/shared"
    check "$mode: file under the support folder's name: exit 1" test "$rc" -eq 1
    check "$mode: and says so" grep -q "inventory_files' is not a folder" "$work/err"

    # A shared $TMPDIR is not the default report folder any more.
    fresh
    other ln -s "$work/theirs/victim" "$work/shared/inventory.html"
    other ln -s "$work/theirs/dir" "$work/shared/inventory_files"
    TMPDIR=$work/shared run $mode
    check "$mode: shared TMPDIR: exit 0" test "$rc" -eq 0
    check "$mode: the report goes to the private cache folder" \
        test "$(cat "$work/out")" = "$XDG_CACHE_HOME/fennock/inventory.html"
    check "$mode: which is made private" test "$(stat -c %a "$XDG_CACHE_HOME/fennock")" = 700
    check "$mode: their links and files are untouched" \
        bash -c "test -L '$work/shared/inventory.html' && test -L '$work/shared/inventory_files'"
    check "$mode: their file is untouched" untouched

    # A damaged database is set aside and said so, also in a silent run.
    fresh
    mkdir -p -m 700 "$XDG_DATA_HOME/fennock"
    head -c 8192 /dev/zero >"$XDG_DATA_HOME/fennock/inventory.db"
    run $mode
    check "$mode: damaged database: exit 0" test "$rc" -eq 0
    check "$mode: set aside and said so" grep -q "The inventory file was damaged" "$work/err"
    check "$mode: kept beside" test -s "$XDG_DATA_HOME/fennock/inventory.db.damaged"
done

fresh
timeout 20 "$exe" --help >/dev/null && timeout 20 "$exe" --version >/dev/null
check "help and version make no data folder" test ! -e "$XDG_DATA_HOME"
check "nor anything else" test -z "$(ls -A "$TMPDIR")$(ls -A "$XDG_RUNTIME_DIR")"

finish other_user_linux
