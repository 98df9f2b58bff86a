#!/usr/bin/env bash
# Every benchmark in one go, figures only: the live run beside the system's own tools,
# a described machine with many processes (HTML and YAML reports, each with its peak
# memory), and the store's rate beside the bare prepared-statement floor.
#   bench/run_all.sh [BUILD_DIR]     (default: build/linux)
# PROCESSES=N changes the number of processes (100000); SKIP_LIVE=1 leaves out the live run.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build/linux}
fennock=$build/fennock
processes=${PROCESSES:-100000}
[ -x "$fennock" ] || { echo "no $fennock: build it first (cmake --build --preset linux)" >&2; exit 1; }
command -v /usr/bin/time >/dev/null || \
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends time >/dev/null

if [ -z "${SKIP_LIVE:-}" ]; then
    echo "== live run"
    "$here/bench/live_run_bench.sh" "$fennock"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work TMPDIR=$work
machine=$work/processes.json
python3 "$here/bench/make_process_machine.py" "$here/tests/machines/win7-laptop.json" \
    "$processes" "$machine"

# The first run of each format fills the database; the second is timed, so it compares too.
timed() { # label, fennock arguments...
    local label=$1
    shift
    "$fennock" --silent --machine "$machine" "$@" >/dev/null
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f %M -o "$work/peak" "$fennock" --silent --machine "$machine" "$@" >/dev/null
    end=$(date +%s.%N)
    printf '  %-6s %8.2f s   peak %7.1f MB\n' "$label" "$(echo "$end - $start" | bc)" \
        "$(echo "$(cat "$work/peak") / 1024" | bc -l)"
}
echo
echo "== described machine with $processes processes (second run of each)"
timed HTML --path "$work/html"
timed YAML --path "$work/yaml" --yaml

echo
echo "== store"
"$build/bench/store_bench"
