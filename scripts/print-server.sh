#!/usr/bin/env bash
# A print server of Kalvitra's own, for proving the print button on a real
# CUPS: a private cupsd with a cups-pdf queue as its default destination.
#
#   scripts/print-server.sh start [STATE_FILE]
#   scripts/print-server.sh stop  [STATE_FILE]
#   scripts/print-server.sh status [STATE_FILE]
#
# STATE_FILE (default build/print-server.env) tells the print test where the
# server is: CUPS_SERVER, the queue, the folder cups-pdf writes into, and the
# process id that `stop` ends.
#
# The server is private: its configuration, spool, logs and queue live in a
# fresh folder under /tmp and it listens only on a socket there, never on
# port 631 or the system's socket. Only programs that are pointed at it with
# CUPS_SERVER see it. A print server already running on this machine, its
# queues and its default printer are left exactly as they are, and `stop`
# ends only the cupsd that `start` started.
#
# Installs nothing: scripts/setup.sh installs cups and printer-driver-cups-pdf.
# Needs root: the cups-pdf backend runs only as root and writes each job into
# its owner's folder (~/PDF, see /etc/cups/cups-pdf.conf). Without root,
# `start` exits with 77 and starts nothing.
source "$(dirname "${BASH_SOURCE[0]}")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)

command=${1:-}
state=${2:-$root/build/print-server.env}
queue=PDF
ppd_model=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
backend=/usr/lib/cups/backend/cups-pdf
cups_pdf_conf=/etc/cups/cups-pdf.conf

say() { echo "print-server: $*" >&2; }
fail() {
  say "$*"
  exit 1
}

# Reads one KEY=VALUE line of the state file.
state_value() {
  sed -n "s/^$1=//p" "$state" 2>/dev/null | head -1
}

# True when PID is the cupsd that was started on the configuration in DIR:
# guards against a process id that has since been reused.
is_our_cupsd() {
  local pid=$1 dir=$2
  [[ -n $pid && -n $dir && -r /proc/$pid/cmdline ]] || return 1
  local cmdline
  cmdline=$(tr '\0' ' ' <"/proc/$pid/cmdline")
  [[ $cmdline == *cupsd\ *"$dir/etc/cupsd.conf"* ]]
}

# The folder cups-pdf writes this user's jobs into: its Out setting with
# ${HOME} expanded to the job owner's home.
output_folder() {
  local out home
  out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' "$cups_pdf_conf" 2>/dev/null | tail -1)
  # shellcheck disable=SC2016 # ${HOME} is cups-pdf's placeholder, not ours
  out=${out:-'${HOME}/PDF'}
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  # shellcheck disable=SC2016
  echo "${out//'${HOME}'/$home}"
}

stop() {
  [[ -f $state ]] || {
    say "not running (no $state)"
    return 0
  }
  local pid dir
  pid=$(state_value KALVITRA_CUPSD_PID)
  dir=$(state_value KALVITRA_CUPS_DIR)
  if is_our_cupsd "$pid" "$dir"; then
    kill -TERM "$pid"
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      say "cupsd $pid did not end on TERM; killing it"
      kill -KILL "$pid" 2>/dev/null || true
    fi
    say "stopped cupsd $pid"
  elif [[ -n $pid ]]; then
    say "process $pid is not the cupsd started here any more; left alone"
  fi
  if [[ $dir == /tmp/kalvitra-cups.* && -d $dir ]]; then
    rm -rf -- "$dir"
  fi
  rm -f -- "$state"
}

status() {
  local pid dir
  pid=$(state_value KALVITRA_CUPSD_PID)
  dir=$(state_value KALVITRA_CUPS_DIR)
  if is_our_cupsd "$pid" "$dir"; then
    echo "running: cupsd $pid on $(state_value CUPS_SERVER), default queue $(state_value KALVITRA_PRINT_QUEUE)"
  else
    echo "not running"
    return 1
  fi
}

# Writes the server's two configuration files into DIR. With PEER_CRED=yes
# root is let in by its socket credentials through the PeerCred directive,
# which only recent security updates of CUPS know; older ones trust those
# credentials without being told and reject the directive.
write_config() {
  local dir=$1 peer_cred=$2
  mkdir -p "$dir"/{etc/ppd,spool/tmp,cache,state,log}
  # The filters run as lp: it must reach the spool through this folder.
  chmod 0755 "$dir"
  cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/printcap
User lp
Group lp
SystemGroup root
FileDevice No
EOF
  if [[ $peer_cred == yes ]]; then
    # Lets root administer the server through the socket without a password.
    echo "PeerCred on" >>"$dir/etc/cups-files.conf"
  fi
  # Administration only for root (by its socket credentials); printing for
  # anyone who can reach the socket.
  cat >"$dir/etc/cupsd.conf" <<EOF
Listen $dir/cups.sock
LogLevel info
Browsing No
WebInterface No
DefaultShared No
PreserveJobHistory Yes
PreserveJobFiles No
MaxJobs 100
<Location />
  Order allow,deny
</Location>
<Location /admin>
  AuthType Default
  Require user @SYSTEM
  Order allow,deny
</Location>
<Policy default>
  <Limit Create-Job Print-Job Print-URI Validate-Job Send-Document Get-Jobs Get-Job-Attributes>
    Order deny,allow
  </Limit>
  <Limit Cancel-Job Cancel-My-Jobs Purge-Jobs Close-Job Hold-Job Release-Job Restart-Job Set-Job-Attributes>
    Require user @OWNER @SYSTEM
    Order deny,allow
  </Limit>
  <Limit All>
    AuthType Default
    Require user @SYSTEM
    Order deny,allow
  </Limit>
</Policy>
EOF
}

# True when cupsd takes the configuration in DIR; its verdict is kept in
# DIR/log/config-test.
config_accepted() {
  local dir=$1
  cupsd -t -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/config-test" 2>&1
}

unfinished_dir=
unfinished_pid=
abandon_unfinished_start() {
  if [[ -n $unfinished_pid ]] && is_our_cupsd "$unfinished_pid" "$unfinished_dir"; then
    kill -KILL "$unfinished_pid" 2>/dev/null || true
  fi
  if [[ $unfinished_dir == /tmp/kalvitra-cups.* && -d $unfinished_dir ]]; then
    rm -rf -- "$unfinished_dir"
    if [[ -f $state && $(state_value KALVITRA_CUPS_DIR) == "$unfinished_dir" ]]; then
      rm -f -- "$state"
    fi
  fi
  return 0
}

start() {
  if [[ -f $state ]]; then
    if status >/dev/null; then
      say "already $(status)"
      return 0
    fi
    say "removing the state of a server that is gone: $state"
    stop
  fi
  if [[ $(id -u) -ne 0 ]]; then
    say "needs root: the cups-pdf backend runs only as root. Not started."
    exit 77
  fi
  PATH=$PATH:/usr/sbin
  local tool
  for tool in cupsd lpadmin lpstat; do
    command -v "$tool" >/dev/null ||
      fail "$tool is missing: run scripts/setup.sh (packages cups, printer-driver-cups-pdf)"
  done
  [[ -x $backend ]] || fail "$backend is missing: run scripts/setup.sh (package printer-driver-cups-pdf)"

  local others
  others=$(pgrep -x cupsd | tr '\n' ' ' || true)
  if [[ -n $others ]]; then
    say "a print server is already running here (cupsd ${others% }); it is not touched:" \
      "ours gets its own socket, queue and spool"
  fi

  local dir
  dir=$(mktemp -d /tmp/kalvitra-cups.XXXXXX)
  # Until the server is up and described in the state file, any way out
  # of here takes the folder (and a cupsd already started) with it.
  unfinished_dir=$dir
  at_exit abandon_unfinished_start
  write_config "$dir" yes
  if ! config_accepted "$dir" && grep -q PeerCred "$dir/log/config-test"; then
    write_config "$dir" no
  fi
  if ! config_accepted "$dir"; then
    cat "$dir/log/config-test" >&2
    fail "cupsd rejected the configuration"
  fi
  # cups-pdf names each file after its job number, and a new spool counts
  # from 1 again: start past every number already in the output folder so
  # no earlier file is overwritten. Before the first job the folder does
  # not exist.
  local out last=
  out=$(output_folder)
  if [[ -d $out ]]; then
    last=$(find "$out" -maxdepth 1 -name '*.pdf' -printf '%f\n' |
      sed -n 's/.*job_\([0-9]\+\).*/\1/p' | sort -n | tail -1)
  fi
  echo "NextJobId $((${last:-0} + 1))" >"$dir/cache/job.cache"
  cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  local pid=$!
  unfinished_pid=$pid
  mkdir -p "$(dirname "$state")"
  cat >"$state" <<EOF
KALVITRA_CUPSD_PID=$pid
KALVITRA_CUPS_DIR=$dir
CUPS_SERVER=$dir/cups.sock
KALVITRA_PRINT_QUEUE=$queue
KALVITRA_PRINT_OUTPUT_DIR=$(output_folder)
EOF
  export CUPS_SERVER=$dir/cups.sock
  unset PRINTER LPDEST

  local up=
  for _ in $(seq 100); do
    if [[ $(lpstat -r 2>/dev/null) == *"is running"* ]]; then
      up=1
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [[ -z $up ]]; then
    cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
    stop
    fail "cupsd did not come up"
  fi

  # pdftocairo turns the job into PostScript for cups-pdf with its glyph
  # names intact, so the PDF that comes out still has its text; the default
  # Ghostscript path draws the text as nameless Type 3 glyphs.
  # (lpadmin warns on every run that PPD drivers are deprecated: kept in
  # its log, shown only when the queue cannot be made.)
  if ! lpadmin -p "$queue" -E -v cups-pdf:/ -m "$ppd_model" \
    -o pdftops-renderer-default=pdftocairo 2>>"$dir/log/lpadmin" ||
    ! lpadmin -d "$queue" 2>>"$dir/log/lpadmin" ||
    [[ $(lpstat -d) != *": $queue" ]]; then
    cat "$dir/log/lpadmin" "$dir/log/error_log" >&2 2>/dev/null || true
    stop
    fail "could not set up the queue $queue"
  fi
  unfinished_dir=
  unfinished_pid=
  say "cupsd $pid listens on $CUPS_SERVER; default queue $queue writes into $(output_folder)"
  say "state in $state"
}

case $command in
  start) start ;;
  stop) stop ;;
  status) status ;;
  *)
    echo "usage: $0 start|stop|status [STATE_FILE]" >&2
    exit 2
    ;;
esac
