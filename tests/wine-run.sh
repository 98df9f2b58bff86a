#!/usr/bin/env bash
# Runs one Windows test program under Wine with a time limit, so a dialog left open or a
# hung wineserver fails the test instead of the whole run. The caller (scripts/test.sh)
# provides WINEPREFIX, DISPLAY and FENNOCK_WINE, the loader for this build's width.
export WINEDEBUG=${WINEDEBUG:--all}
exec timeout --kill-after=10 "${FENNOCK_WINE_TIMEOUT:-300}" "${FENNOCK_WINE:-wine}" "$@"
