# Sourced by the Windows scripts (after scripts/lib/strict.sh):
#   start_display SCRATCH_DIR
# starts a virtual display of its own (Xvfb takes a free display number and
# says which once it accepts clients), exports DISPLAY, and ends it when the
# script exits. -noreset: Wine's programs come and go without the server
# resetting between them.
start_display() {
  local ready=$1/display-ready pid display
  : >"$ready"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$ready" 2>/dev/null &
  pid=$!
  at_exit "kill $pid 2>/dev/null || true"
  for _ in $(seq 300); do
    [[ -s $ready ]] && break
    kill -0 "$pid" 2>/dev/null || { echo "Xvfb ended before it took a display" >&2; return 1; }
    sleep 0.1
  done
  display=$(tr -dc '0-9' <"$ready")
  [[ -n $display ]] || { echo "Xvfb took no display in 30 s" >&2; return 1; }
  export DISPLAY=":$display"
}
