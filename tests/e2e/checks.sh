# Shared by the end-to-end scripts: `check DESCRIPTION COMMAND...` runs the command, prints
# "ok" or "FAIL" with the description and counts failures; `finish NAME` ends the script
# with the count.
failures=0

check() {
    local what=$1
    shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

finish() {
    echo "$1: $failures failure(s)"
    test "$failures" -eq 0
}
