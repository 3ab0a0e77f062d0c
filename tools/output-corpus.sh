#!/usr/bin/env bash
# Writes everything a kalvitra-cli writes for a fixed corpus of inputs: each
# case's standard output, standard error and exit status, one folder a case.
# Two corpora of two builds compared with `diff -r` show whether a change of
# the code changed a single byte of what the tool writes:
#   tools/output-corpus.sh OLD/kalvitra-cli /tmp/old
#   tools/output-corpus.sh build/cli/kalvitra-cli /tmp/new
#   diff -r /tmp/old /tmp/new && echo identical
# The corpus: the fuzzers' sheets, sections and tables, each command with its
# main options and help, and a few hundred seeded random sheets.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$(realpath "$1")
out=$2
rm -rf -- "$out"
mkdir -p "$out"
corpus=$root/tests/fuzz/corpus
core196=$corpus/fuzz_section/workshop-core-196
count=0

# case NAME INPUT_FILE ARGS...: one run of the tool.
case_() {
  local name=$1 input=$2
  shift 2
  local dir=$out/$name
  mkdir -p "$dir"
  local status=0
  (cd "$dir" && "$tool" "$@" <"$input" >stdout 2>stderr) || status=$?
  echo "$status" >"$dir/status"
  count=$((count + 1))
}

for sheet in "$corpus"/fuzz_sheet/* "$corpus"/fuzz_section/*; do
  base=$(basename "$(dirname "$sheet")")-$(basename "$sheet")
  case_ "$base-actions" "$sheet" stages gross-area net-area stack weight
  case_ "$base-strict" "$sheet" --strict stages gross-area net-area stack weight
  case_ "$base-svg" "$sheet" section
  case_ "$base-dxf-zh" "$sheet" section --format dxf --lang zh
  case_ "$base-cutlist" "$sheet" cutlist --stack-round 2 --sheet-thickness 0.27
  case_ "$base-loss" "$sheet" loss --volts-per-turn 10 --grade 27ZH100 --stack-round 2
done
for table in "$corpus"/fuzz_csv/*; do
  case_ "csv-$(basename "$table")" "$table" --csv stages gross-area net-area stack weight
  case_ "csv-zh-$(basename "$table")" "$table" --csv --header zh --bom --strict stages weight
done

case_ section-en "$core196" section --format dxf --lang en
case_ section-svg-zh "$core196" section --lang zh
case_ cutlist-plain "$core196" cutlist
case_ cutlist-rounded "$core196" cutlist --stack-round 2
case_ cutlist-dxf "$core196" cutlist --stack-round 2 --sheet-thickness 0.27 --dxf core.dxf --lang zh
case_ loss-flux /dev/null loss --flux-density 1.6352 --grade M4-0.27 --mass 1123.6 --building-factor 1.25
case_ loss-volts "$core196" loss --volts-per-turn 18 --frequency 60 --grade 30Q120
case_ loss-outside /dev/null loss --flux-density 1.9 --grade M4-0.27 --mass 1
case_ widths-grid /dev/null widths --diameter 200 --stages 6 --grid 5
case_ widths-free /dev/null widths --diameter 196 --stages 9 --min-width 20
case_ widths-bad /dev/null widths --diameter 200mm --stages 6
case_ diameter /dev/null diameter --net-area 1000 --stacking-factor 0.96 --stages 9
case_ diameter-step /dev/null diameter --net-area 331.5 --stages 8 --grid 5 --diameter-step 5
for command in "" widths diameter section cutlist loss; do
  case_ "help-${command:-tool}" /dev/null $command --help
done
case_ version /dev/null --version
case_ unknown /dev/null cutlist --widht 3

# Seeded random sheets: the same series every run, from awk's own generator.
awk -v dir="$out" 'BEGIN {
  srand(1094)
  for (n = 1; n <= 300; n++) {
    file = dir "/random-" n ".kvs"
    d = 100 + int(rand() * 900)
    print "D=" d > file
    w = d - 1 - int(rand() * 20)
    stages = 1 + int(rand() * 9)
    for (k = 1; k <= stages && w > 0; k++) {
      print "PK" k "=" w > file
      w -= 1 + int(rand() * 40)
    }
    print "H=" 200 + int(rand() * 1500) > file
    print "M=" d + int(rand() * 500) > file
    print "Z=" 2 + int(rand() * 4) > file
    print "dpxs=0.9" int(rand() * 10) > file
    close(file)
  }
}'
for n in $(seq 1 300); do
  sheet=$out/random-$n.kvs
  case_ "random-$n-actions" "$sheet" stages gross-area net-area stack weight
  case_ "random-$n-cutlist" "$sheet" cutlist --stack-round 1 --sheet-thickness 0.3
  case_ "random-$n-dxf" "$sheet" section --format dxf
done
echo "$count cases written to $out"
