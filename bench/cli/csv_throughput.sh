#!/usr/bin/env bash
# Times `kalvitra-cli --csv` with all five actions on generated tables of
# designs and prints rows per second and peak memory for each size; equal
# peaks for 100k and 1M rows show that memory stays flat. Rows per second are
# given by wall-clock time and by CPU time (user + system), which is the
# steadier figure on a machine shared with other work.
#   bench/cli/csv_throughput.sh [--against OTHER_CLI] [--runs N] [BUILD_DIR [ROWS...]]
# Defaults: BUILD_DIR=build, ROWS=100000 1000000, N=1. Needs GNU time
# (/usr/bin/time).
# Each size is also run through the build's kalvitra-csv-floor, the least work
# a row needs, and the tool's CPU time is given as a multiple of the floor's.
# --against times another kalvitra-cli (an older release, say) on the same
# tables in the same run, one program after the other, and fails unless both
# write the same bytes. With --runs, each program runs N times in turn and
# the run with the least CPU time counts.
set -euo pipefail
against=
runs=1
while (($# > 0)); do
  case $1 in
    --against) against=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) break ;;
  esac
done
build=${1:-build}
shift || true
sizes=("$@")
if ((${#sizes[@]} == 0)); then sizes=(100000 1000000); fi

cli=$build/cli/kalvitra-cli
gen=$build/bench/cli/kalvitra-gen-designs
floor=$build/bench/cli/kalvitra-csv-floor
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

programs=(tool)
if [[ -n $against ]]; then programs+=(against); fi
programs+=(floor)

# Runs program NAME over the table into $work/NAME.csv; sets wall, cpu, peak.
time_program() {
  local name=$1 status=0
  local command=("$cli" --csv stages gross-area net-area stack weight)
  case $name in
    against) command[0]=$against ;;
    floor) command=("$floor") ;;
  esac
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "${command[@]}" \
    <"$work/designs.csv" >"$work/$name.csv" || status=$?
  if ((status > 1)); then
    echo "$name (${command[0]}) stopped with status $status" >&2
    exit 1
  fi
  # GNU time adds a line of its own when the command exits non-zero.
  local user system
  read -r wall user system peak < <(tail -n 1 "$work/time")
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
}

per_second() { awk -v r="$rows" -v s="$1" 'BEGIN { printf "%.0f", (s > 0 ? r / s : 0) }'; }

printf '%10s %8s %9s %12s %9s %12s %13s %8s\n' rows program wall_s rows/s_wall cpu_s rows/s_cpu \
  peak_RSS_KiB x_floor
for rows in "${sizes[@]}"; do
  "$gen" "$rows" >"$work/designs.csv"
  declare -A best_wall=() best_cpu=() best_peak=()
  for ((run = 0; run < runs; run++)); do
    for name in "${programs[@]}"; do
      time_program "$name"
      if [[ -z ${best_cpu[$name]:-} ]] ||
        awk -v a="$cpu" -v b="${best_cpu[$name]}" 'BEGIN { exit !(a < b) }'; then
        best_wall[$name]=$wall best_cpu[$name]=$cpu best_peak[$name]=$peak
      fi
    done
  done
  out_rows=$(($(wc -l <"$work/tool.csv") - 1))
  if ((out_rows < rows)); then
    echo "only $out_rows of $rows rows came out" >&2
    exit 1
  fi
  if [[ -n $against ]] && ! cmp "$work/tool.csv" "$work/against.csv"; then
    echo "$cli and $against write different output" >&2
    exit 1
  fi
  for name in "${programs[@]}"; do
    ratio=$(awk -v c="${best_cpu[$name]}" -v f="${best_cpu[floor]}" \
      'BEGIN { printf "%.2f", (f > 0 ? c / f : 0) }')
    printf '%10s %8s %9s %12s %9s %12s %13s %8s\n' "$rows" "$name" "${best_wall[$name]}" \
      "$(per_second "${best_wall[$name]}")" "${best_cpu[$name]}" \
      "$(per_second "${best_cpu[$name]}")" "${best_peak[$name]}" "$ratio"
  done
done
