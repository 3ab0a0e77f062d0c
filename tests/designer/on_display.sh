#!/usr/bin/env bash
# Runs a command on a virtual display with its own session bus:
#   on_display.sh COMMAND...
# xvfb-run -a may lose the race for a display number to another X server
# starting at the same moment; the command then gets one more run. A fault
# of the command itself fails both.
set -uo pipefail
for attempt in 1 2; do
  xvfb-run -a dbus-run-session -- "$@" && exit 0
  status=$?
  echo "attempt $attempt ended with status $status" >&2
done
exit "$status"
