#!/usr/bin/env bash
# Times `kalvitra-cli --csv` with all five actions on generated tables of
# designs and prints rows per second and peak memory for each size; equal
# peaks for 100k and 1M rows show that memory stays flat. Rows per second are
# given by wall-clock time and by CPU time (user + system), which is the
# steadier figure on a machine shared with other work.
#   bench/cli/csv_throughput.sh [BUILD_DIR [ROWS...]]
# Defaults: BUILD_DIR=build, ROWS=100000 1000000. Needs GNU time (/usr/bin/time).
set -euo pipefail
build=${1:-build}
shift || true
sizes=("$@")
if ((${#sizes[@]} == 0)); then sizes=(100000 1000000); fi

cli=$build/cli/kalvitra-cli
gen=$build/bench/cli/kalvitra-gen-designs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%10s %9s %12s %9s %12s %13s\n' rows wall_s rows/s_wall cpu_s rows/s_cpu peak_RSS_KiB
for rows in "${sizes[@]}"; do
  "$gen" "$rows" >"$work/designs.csv"
  status=0
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" \
    "$cli" --csv stages gross-area net-area stack weight <"$work/designs.csv" >"$work/out.csv" ||
    status=$?
  if ((status > 1)); then
    echo "kalvitra-cli stopped with status $status" >&2
    exit 1
  fi
  # GNU time adds a line of its own when the command exits non-zero.
  read -r wall user system peak < <(tail -n 1 "$work/time")
  out_rows=$(($(wc -l <"$work/out.csv") - 1))
  if ((out_rows < rows)); then
    echo "only $out_rows of $rows rows came out" >&2
    exit 1
  fi
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
  per_second() { awk -v r="$rows" -v s="$1" 'BEGIN { printf "%.0f", (s > 0 ? r / s : 0) }'; }
  printf '%10s %9s %12s %9s %12s %13s\n' "$rows" "$wall" "$(per_second "$wall")" "$cpu" \
    "$(per_second "$cpu")" "$peak"
done
