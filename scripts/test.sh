#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test: natively for Linux,
# under Wine (on a virtual screen) for Windows. Ends with one "N passed, M failed" line.
#
# The Windows suites run on the 32-bit build where this machine can run 32-bit programs,
# otherwise on the 64-bit build under 64-bit Wine; FENNOCK_WINE64=1 takes the 64-bit path
# on any machine. Both Windows builds are always compiled.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"

log=$(mktemp)
wine_prefix=""
xvfb_pid=""
cleanup() {
    if [ -n "$wine_prefix" ]; then
        WINEPREFIX=$wine_prefix timeout 30 /usr/lib/wine/wineserver -k 2>/dev/null
        rm -rf "$wine_prefix"
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -f "$log"
}
trap cleanup EXIT

started=$SECONDS
stage_start=$SECONDS
stage() {  # name: the time since the previous stage ended
    printf 'stage %-22s %4d s\n' "$1" $((SECONDS - stage_start))
    stage_start=$SECONDS
}

build() {  # preset
    cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}

"$here/scripts/setup-tests.sh" || { echo "setup failed" >&2; exit 1; }
stage "install"

# Some hosts offer no 32-bit user mode: there every 32-bit program fails with "Exec format
# error" at once, so asking the 32-bit loader for its version tells in a moment.
windows=windows
export FENNOCK_WINE=/usr/lib/wine/wine
if [ -n "${FENNOCK_WINE64:-}" ]; then
    windows=windows64
    echo "FENNOCK_WINE64 is set: the Windows suites run on the 64-bit build under wine64"
# Through bash, whose message names the failure; timeout's own exec would fall back on sh.
elif ! reason=$(timeout 10 bash -c '"$0" --version' "$FENNOCK_WINE" 2>&1 >/dev/null); then
    windows=windows64
    echo "This machine cannot run 32-bit programs (${reason:-no answer}): the Windows suites run on the 64-bit build under wine64"
fi
if [ "$windows" = windows64 ]; then
    export FENNOCK_WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
fi

# A throw-away Wine prefix (64-bit, as Wine makes one by default) and X display for this run only.
start_wine() {
    wine_prefix=$(mktemp -d /tmp/fennock-wine.XXXXXX)
    export WINEPREFIX=$wine_prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    local display=99
    while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$display"
    timeout 300 "$FENNOCK_WINE" wineboot -i >/dev/null 2>&1
}

status=0
build linux || exit 1
stage "build linux"
ctest --preset linux 2>&1 | tee -a "$log" || status=1
stage "test linux"

build windows || exit 1
stage "build windows (32-bit)"
build windows64 || exit 1
stage "build windows64"

start_wine
stage "wine prefix"
ctest --preset "$windows" 2>&1 | tee -a "$log" || status=1
stage "test $windows"

passed=0
failed=0
while read -r line; do
    if [[ $line =~ ([0-9]+)%\ tests\ passed,\ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        failed=$((failed + BASH_REMATCH[2]))
        passed=$((passed + BASH_REMATCH[3] - BASH_REMATCH[2]))
    fi
done <"$log"
echo
echo "all stages: $((SECONDS - started)) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ] || status=1
exit "$status"
