#!/usr/bin/env bash
# Installs what building and running the Linux program needs on a Debian bookworm machine,
# and nothing of the test tools (scripts/setup-tests.sh adds those). Safe to run again:
# packages already present are skipped.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$here/scripts/lib/install.sh"

# The libraries the Linux program links (SQLite, systemd's bus, udev's hardware database,
# CUPS, util-linux's mount table reader).
install_packages cmake g++ make pkg-config libsqlite3-dev nlohmann-json3-dev \
    libsystemd-dev libudev-dev libcups2-dev libmount-dev
