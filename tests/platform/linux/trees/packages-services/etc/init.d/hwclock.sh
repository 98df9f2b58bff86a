#!/bin/sh
### BEGIN INIT INFO
# Provides:          hwclock
# Required-Start:    $remote_fs
# Short-Description: Set system clock
# Default-Start:     2 3 4 5
### END INIT INFO
