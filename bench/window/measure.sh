#!/usr/bin/env bash
# Times the calculator window's start-up as a whole process (build, show,
# first paint, quit), offscreen and under Xvfb, beside a plain Qt window of
# as many controls as a yardstick, and one print request into a PDF file.
# Reports the median wall time of several runs, the median CPU time where
# perf is available, and the peak resident memory that /usr/bin/time reports.
#
#   bench/window/measure.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$root/build}
runs=${2:-15}
programs=$build_dir/bench/window
for program in kalvitra-window-startup kalvitra-window-startup-bare kalvitra-window-print; do
  [[ -x $programs/$program ]] || {
    echo "missing $programs/$program: build with -DKALVITRA_BUILD_BENCH=ON" >&2
    exit 1
  }
done

scratch=$(mktemp -d)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$scratch}
xvfb=
trap 'if [[ -n $xvfb ]]; then kill "$xvfb" 2>/dev/null || true; fi; rm -rf "$scratch"' EXIT

with_perf=false
if command -v perf >/dev/null && perf stat -x, -e task-clock true >/dev/null 2>&1; then
  with_perf=true
fi

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Runs the command $runs times; prints wall median, CPU median, peak memory.
measure() {
  local walls=() cpus=() peaks=() start end
  for ((run = 0; run < runs; run++)); do
    start=$(date +%s%N)
    /usr/bin/time -o "$scratch/time" -f '%M' "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    walls+=($(((end - start) / 1000)))
    peaks+=("$(tail -n 1 "$scratch/time")")
    if $with_perf; then
      perf stat -x, -e task-clock -o "$scratch/perf" "$@" >/dev/null 2>&1
      cpus+=("$(grep task-clock "$scratch/perf" | cut -d, -f1)")
    fi
  done
  local wall cpu="" peak
  wall=$(printf '%s\n' "${walls[@]}" | median)
  peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -n 1)
  if $with_perf; then
    cpu=$(printf '%s\n' "${cpus[@]}" | median)
    cpu=$(awk -v ms="$cpu" 'BEGIN { printf ", CPU %.1f ms", ms }')
  fi
  awk -v us="$wall" -v kb="$peak" -v cpu="$cpu" \
    'BEGIN { printf "median %.1f ms%s, peak memory %.1f MB\n", us / 1000, cpu, kb / 1024 }'
}

echo "machine load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; $runs runs each"
export QT_QPA_PLATFORM=offscreen
echo "start-up, offscreen:        $(measure "$programs/kalvitra-window-startup")"
echo "  plain 68-control window:  $(measure "$programs/kalvitra-window-startup-bare")"

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do
  [[ -S /tmp/.X11-unix/X${display#:} ]] && break
  sleep 0.1
done
export QT_QPA_PLATFORM=xcb DISPLAY=$display
echo "start-up, Xvfb:             $(measure "$programs/kalvitra-window-startup")"
echo "  plain 68-control window:  $(measure "$programs/kalvitra-window-startup-bare")"

export QT_QPA_PLATFORM=offscreen
echo "print request into a PDF file:"
"$programs/kalvitra-window-print" "$scratch/sheet.pdf" 9 | sed 's/^/  /'
echo "  whole printing process:   $(runs=5 measure "$programs/kalvitra-window-print" "$scratch/sheet.pdf" 1)"
