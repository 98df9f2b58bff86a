#!/usr/bin/env bash
# Installs, beside what the Linux program needs (scripts/setup.sh), everything the tests
# need: GoogleTest, both Windows cross compilers, Wine with its 32-bit half, a virtual screen,
# Chromium and the browser driver, the checkers' tools. Safe to run again.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$here/scripts/lib/install.sh"

"$here/scripts/setup.sh"

packages=(
    clang libgtest-dev googletest
    g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine32:i386 wine64 xvfb xauth x11-utils xdotool imagemagick
    clang-format sqlite3 python3 python3-yaml ca-certificates chromium
)
# Node.js may come from elsewhere with its own npm; Debian's npm would clash with it.
command -v npm >/dev/null || packages+=(nodejs npm)
install_packages "${packages[@]}"

"$here/scripts/fetch-sqlite.sh"

# The browser test's own packages: the driver only, the browser is Debian's chromium.
if [ ! -d "$here/tests/browser/node_modules/playwright-core" ]; then
    (cd "$here/tests/browser" && timeout 300 npm ci --no-audit --no-fund)
fi
