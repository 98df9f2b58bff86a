# Sourced by the Windows end-to-end scripts: finding the program's windows on the virtual
# screen, reading their controls and clicking their buttons. Needs WINDOW_TEXTS, the path of
# the test tool that lists a window's controls (window_texts.exe), built with the program.

# The Wine loader for this build's width (scripts/test.sh chooses it).
export FENNOCK_WINE=${FENNOCK_WINE:-wine}

# Whether this machine can start the build's programs: the test tool has the program's width
# and answers 2 at once when given no title. When it cannot, start_failure says why.
startable() {
    local rc
    start_failure=$(timeout 60 "$FENNOCK_WINE" "$WINDOW_TEXTS" 2>&1); rc=$?
    [ "$rc" -eq 2 ] && return 0
    start_failure="exit $rc: $start_failure"
    return 1
}

# A program this machine cannot start fails here, at once and with Wine's reason, instead of
# every later step waiting out its time for a window that never comes.
require_startable() {
    startable && return 0
    echo "cannot start this build's programs with $FENNOCK_WINE ($start_failure)"
    exit 1
}

# Waits (at most $2 seconds, default 60) for a visible top-level window with exactly this
# title; prints its id.
window() { timeout "${2:-60}" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }

# Waits until no window with this title is shown any more.
gone() {
    local i
    for i in $(seq 1 $((${2:-60} * 10))); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# The controls of the titled window, one per line: id, visibility, state, centre, class, text.
texts() { timeout 60 "$FENNOCK_WINE" "$WINDOW_TEXTS" "$1" 2>/dev/null | tr -d '\r'; }

# Clicks the button of the titled window whose text is one of the following words.
click() {
    local title=$1 where="" label
    shift
    for label in "$@"; do
        where=$(texts "$title" | awk -F'\t' -v t="$label" '$5 == "Button" && $6 == t { print $4; exit }')
        [ -n "$where" ] && break
    done
    [ -n "$where" ] || { echo "no button '$*' in '$title'"; return 1; }
    xdotool mousemove "${where%,*}" "${where#*,}" click 1
}

# Wine's WMI lacks some core classes (Win32_Registry, startup commands, the memory's Tag...),
# so a run meets the WMI repository question even in silent mode. This answers No whenever
# it is asked, as a user who wants the report would, until stop_answering.
answer_no_in_background() {
    (
        while :; do
            if xdotool search --onlyvisible --name '^Problem with Startup Commands$' >/dev/null 2>&1; then
                click "Problem with Startup Commands" "&No" >/dev/null 2>&1
            fi
            sleep 0.5
        done
    ) &
    answerer=$!
}
stop_answering() { [ -n "${answerer:-}" ] && kill "$answerer" 2>/dev/null; answerer=""; }
