#!/usr/bin/env bash
# Brings the SQLite amalgamation that is compiled into the Windows build. The npm package
# below ships it; the two files are pinned by checksum so a changed upload is refused.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dest="$here/third_party/sqlite"
package="better-sqlite3@12.4.1"
sum_c=90b7189566ea710ee18361b25d893f5cda3fcf43033223a16384762f53e99a85
sum_h=abd1514e0351f79393d1be882830afdb40a8099e8257f311f0bfdf8486f11bea

verified() {
    [ -f "$dest/sqlite3.c" ] && [ -f "$dest/sqlite3.h" ] &&
        echo "$sum_c  $dest/sqlite3.c" | sha256sum --quiet -c - 2>/dev/null &&
        echo "$sum_h  $dest/sqlite3.h" | sha256sum --quiet -c - 2>/dev/null
}

verified && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package" >/dev/null)
tar -xzf "$work"/*.tgz -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
mkdir -p "$dest"
cp "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$dest/"
if ! verified; then
    rm -f "$dest/sqlite3.c" "$dest/sqlite3.h"
    echo "fetch-sqlite: checksum mismatch for the SQLite amalgamation from $package" >&2
    exit 1
fi
