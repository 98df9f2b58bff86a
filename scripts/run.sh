#!/usr/bin/env bash
# The main job: install what is missing, build the Linux program and take an inventory of
# this machine. Extra arguments go to the program (for example --path DIR or --yaml).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
"$here/scripts/setup.sh" >/dev/null
cmake --preset app >/dev/null
cmake --build --preset app --target fennock >/dev/null
exec "$here/build/app/fennock" --silent "$@"
