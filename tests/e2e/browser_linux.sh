#!/usr/bin/env bash
# The report of the described Windows 7 laptop, second run (so that the recent-changes
# sections exist, with crafted markup among the changes), opened in headless Chromium by
# tests/browser/report.test.mjs. Skipped (77) without Chromium or Node.js.
#   browser_linux.sh FENNOCK MACHINES_FOLDER BUILD_FOLDER
set -u
exe=$1
machines=$2
build=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
browser=$here/../browser
[ -x /usr/bin/chromium ] || { echo "no /usr/bin/chromium"; exit 77; }
command -v node >/dev/null || { echo "no node"; exit 77; }
command -v python3 >/dev/null || { echo "no python3"; exit 77; }

if [ ! -d "$browser/node_modules/playwright-core" ]; then
    command -v npm >/dev/null || { echo "no npm"; exit 77; }
    (cd "$browser" && timeout 300 npm ci --no-audit --no-fund) || { echo "npm ci failed"; exit 1; }
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data TMPDIR=$work/tmp
mkdir -p "$XDG_RUNTIME_DIR" "$TMPDIR"
machine=$work/win7-laptop.json
cp "$machines/win7-laptop.json" "$machine"
out=$work/report

timeout 120 "$exe" --silent --path "$out" --machine "$machine" >/dev/null || { echo "first run failed"; exit 1; }
timeout 60 python3 "$here/report_tools.py" change "$machine" "$work/expected.json" || exit 1
timeout 120 "$exe" --silent --path "$out" --machine "$machine" >/dev/null || { echo "second run failed"; exit 1; }

mkdir -p "$build/browser"
screenshot=$build/browser/report.png
rm -f "$screenshot"
cd "$browser" || exit 1
FENNOCK_REPORT=$out/inventory.html FENNOCK_SCREENSHOT=$screenshot \
    timeout --kill-after=10 180 node --test report.test.mjs; rc=$?
[ "$rc" -eq 0 ] || { echo "browser test failed ($rc)"; exit 1; }
[ -s "$screenshot" ] || { echo "no screenshot at $screenshot"; exit 1; }
echo "screenshot: $screenshot"
