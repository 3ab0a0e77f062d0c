#!/usr/bin/env bash
# Every word of the designer is translated in both languages:
#   translations_test.sh LUPDATE SOURCE_DIR TS_FILE...
# lupdate reads the sources into a copy of each .ts file; the copy must equal
# the file in the repository (no new word missing from it, none left over)
# and hold no entry that is unfinished, vanished or obsolete.
set -euo pipefail
lupdate=$1 sources=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
failures=0
for ts in "$@"; do
  copy=$work/$(basename "$ts")
  cp "$ts" "$copy"
  language=$(sed -n 's/.*<TS [^>]*language="\([^"]*\)".*/\1/p' "$ts")
  "$lupdate" "$sources/src" "$sources/include" -no-obsolete -locations none \
    -target-language "$language" -ts "$copy" >/dev/null
  if grep -n -E 'type="(unfinished|vanished|obsolete)"' "$copy"; then
    echo "FAIL: $(basename "$ts") has words without a translation (above)" >&2
    failures=$((failures + 1))
  elif ! diff -u "$ts" "$copy"; then
    echo "FAIL: $(basename "$ts") is not what lupdate makes of the sources (above)" >&2
    failures=$((failures + 1))
  fi
done
((failures == 0)) && echo "every word translated in $# languages"
