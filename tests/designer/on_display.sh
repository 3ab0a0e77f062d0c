#!/usr/bin/env bash
# Runs a command on a virtual display of its own, with a session bus of its
# own:  on_display.sh COMMAND...
# Xvfb picks a free display number itself and says which once it accepts
# clients (-displayfd), so tests started side by side never race for one and
# the command never starts before its display. -noreset: an X server resets
# when its last client goes, refusing connections meanwhile, and the
# accessibility bus comes and goes as it likes.
set -euo pipefail
ready=$(mktemp)
xvfb=
cleanup() {
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
  rm -f "$ready"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$ready" &
xvfb=$!
for _ in $(seq 300); do
  [[ -s $ready ]] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb ended before it took a display" >&2; exit 1; }
  sleep 0.1
done
display=$(tr -dc '0-9' <"$ready")
[[ -n $display ]] || { echo "Xvfb took no display in 30 s" >&2; exit 1; }
DISPLAY=":$display" dbus-run-session -- "$@"
