#!/usr/bin/env bash
# Installs everything the two builds and the tests need on a Debian bookworm machine.
# Safe to run again: packages already present are skipped, and the SQLite sources for the
# Windows build are fetched only when missing or when their checksum does not match.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(
    cmake g++ clang make pkg-config libsqlite3-dev libgtest-dev googletest nlohmann-json3-dev
    libsystemd-dev libudev-dev libcups2-dev pci.ids usb.ids
    g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
    wine wine32:i386 wine64 xvfb xauth x11-utils xdotool imagemagick
    clang-format sqlite3 python3 python3-yaml ca-certificates chromium
)
# Node.js may come from elsewhere with its own npm; Debian's npm would clash with it.
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

"$here/scripts/fetch-sqlite.sh"

# The browser test's own packages: the driver only, the browser is Debian's chromium.
if [ ! -d "$here/tests/browser/node_modules/playwright-core" ]; then
    (cd "$here/tests/browser" && timeout 300 npm ci --no-audit --no-fund)
fi
