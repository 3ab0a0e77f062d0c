#!/usr/bin/env bash
# Builds the libFuzzer tree (build-fuzz, clang, AddressSanitizer and
# UndefinedBehaviorSanitizer), replays every checked-in corpus, then runs each
# fuzzer for SECONDS (default 60) and reports its executions, coverage and
# speed. The tree holds everything else too (window, tests, benchmarks), so
# that the whole project is built once with clang and its warnings as errors:
# clang warns of things GCC lets pass. Any crash, failed property, leak or hang fails the script; the input
# that did it is kept under build-fuzz/fuzz-work/NAME/ and belongs in
# tests/fuzz/corpus/NAME/ once the fault is mended.
#   scripts/fuzz.sh [SECONDS]
source "$(dirname "${BASH_SOURCE[0]}")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
jobs=$(nproc)

CC=clang CXX=clang++ bash scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKALVITRA_FUZZ=ON -DKALVITRA_BUILD_GUI=ON -DKALVITRA_BUILD_TESTS=ON -DKALVITRA_BUILD_BENCH=ON

# Every input that ever broke something must still pass. (The other tests
# run in the builds before this one.)
ctest --test-dir build-fuzz --output-on-failure --parallel "$jobs" --label-regex '^fuzz$'

fuzzers=(fuzz_read_number fuzz_write_number fuzz_sheet fuzz_sheet_lines fuzz_csv fuzz_section)
declare -A dictionaries=(
  [fuzz_read_number]=numbers [fuzz_write_number]=numbers [fuzz_sheet]=sheet
  [fuzz_sheet_lines]=sheet_lines [fuzz_csv]=csv [fuzz_section]=sheet_lines)

run_fuzzer() {
  local name=$1
  local work=build-fuzz/fuzz-work/$name
  mkdir -p "$work/corpus" "$work/artifacts"
  # New inputs go to the scratch corpus (first directory); the checked-in
  # corpus is only read. -timeout makes one slow input a failure too.
  "build-fuzz/tests/fuzz/$name" "$work/corpus" "tests/fuzz/corpus/$name" \
    -dict="tests/fuzz/dict/${dictionaries[$name]}.dict" \
    -max_total_time="$seconds" -max_len=4096 -timeout=25 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" >"$work/log" 2>&1
}

# As many fuzzers at a time as there are cores.
declare -A pids=()
failed=()
for name in "${fuzzers[@]}"; do
  while (($(jobs -rp | wc -l) >= jobs)); do
    wait -n || true
  done
  run_fuzzer "$name" &
  pids[$name]=$!
done
for name in "${fuzzers[@]}"; do
  if ! wait "${pids[$name]}"; then
    failed+=("$name")
  fi
done

printf '\n%-18s %12s %8s %8s\n' fuzzer executions cov exec/s
for name in "${fuzzers[@]}"; do
  log=build-fuzz/fuzz-work/$name/log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  printf '%-18s %12s %8s %8s\n' "$name" "${runs:--}" "${cov:--}" "${speed:--}"
done

if ((${#failed[@]})); then
  for name in "${failed[@]}"; do
    echo
    echo "== $name FAILED; its log ends:"
    tail -40 "build-fuzz/fuzz-work/$name/log"
    echo "Input kept in: $(ls -d "build-fuzz/fuzz-work/$name/artifacts/"* 2>/dev/null | tr '\n' ' ')"
  done
  exit 1
fi
