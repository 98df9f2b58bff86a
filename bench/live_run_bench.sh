#!/usr/bin/env bash
# A full silent live run of fennock (collection, database, comparison, HTML report) beside
# what a Linux user would run instead for an inventory of the machine: lshw -html,
# hwinfo --short and inxi -F, timed in one run on the same machine by hyperfine, which
# prints each median and how many times faster the fastest is than the others.
#   bench/live_run_bench.sh [FENNOCK]     (default: build/linux/fennock)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fennock=${1:-$here/build/linux/fennock}
[ -x "$fennock" ] || { echo "no $fennock: build it first (cmake --build --preset linux)" >&2; exit 1; }

missing=()
for tool in hyperfine lshw hwinfo inxi; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work TMPDIR=$work
# Every run but the first compares with the one before, as a user's runs do.
"$fennock" --silent --path "$work/out" >/dev/null

hyperfine --warmup 2 --runs "${RUNS:-15}" --style basic --export-json "$work/times.json" \
    -n fennock "'$fennock' --silent --path '$work/out'" \
    -n 'lshw -html' 'lshw -html' \
    -n 'hwinfo --short' 'hwinfo --short' \
    -n 'inxi -F' 'inxi -F -c 0'

python3 - "$work/times.json" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
ours = results["fennock"]["median"]
print("\nmedians (ms) and the others' time over fennock's:")
for name, r in results.items():
    print("  %-15s %8.1f ms   %6.2fx" % (name, r["median"] * 1000, r["median"] / ours))
PY
