# Sourced by every script here: stop at the first failing command, say which
# command failed and on which line, and run the cleanups registered with
# at_exit however the script ends.
#   source "$(dirname "${BASH_SOURCE[0]}")/lib/strict.sh"
set -Eeuo pipefail

# Only the script's own shell reports: a failure inside $(...) or a subshell
# surfaces again as the failure of the command that contains it, and one
# line per failure is enough.
report_failure() {
  local status=$1 line=$2 command=$3
  if [[ $BASHPID == "$$" ]]; then
    echo "${0##*/}: line $line: '$command' failed with status $status" >&2
  fi
}
trap 'report_failure $? "$LINENO" "$BASH_COMMAND"' ERR

kalvitra_exit_actions=()
# Registers a command (one string, run with eval) to run when the script
# exits, in reverse order of registration, whatever the exit status.
at_exit() {
  kalvitra_exit_actions+=("$1")
}
# The script's exit status stays the one it exited with.
run_exit_actions() {
  local i
  trap - ERR
  set +e
  for ((i = ${#kalvitra_exit_actions[@]} - 1; i >= 0; i--)); do
    eval "${kalvitra_exit_actions[i]}"
  done
}
trap run_exit_actions EXIT
