#!/usr/bin/env bash
# Fails when a C++ source that git tracks differs from what clang-format
# makes of it with the project's .clang-format; lists each such file.
#   scripts/check-format.sh        check
#   scripts/check-format.sh --fix  rewrite the files in place
source "$(dirname "${BASH_SOURCE[0]}")/lib/strict.sh"
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || {
  echo "clang-format is missing: run scripts/setup.sh test" >&2
  exit 1
}
# git is asked first on its own: a failure inside the list below would go
# unseen and leave nothing to check, which must not pass as formatted.
git ls-files --error-unmatch -- .clang-format >/dev/null
mapfile -t sources < <(git ls-files -- '*.cpp' '*.h')
if ((${#sources[@]} == 0)); then
  echo "check-format.sh: git lists no C++ source to check" >&2
  exit 1
fi
if [[ ${1:-} == --fix ]]; then
  clang-format -i -- "${sources[@]}"
  exit 0
fi
# One clang-format run for all files; each difference is reported as
# FILE:LINE:COLUMN: error: ...
mapfile -t unformatted < <(clang-format --dry-run --Werror -- "${sources[@]}" 2>&1 |
  sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*/\1/p' | sort -u)
if ((${#unformatted[@]})); then
  echo "Not formatted as .clang-format says (scripts/check-format.sh --fix mends them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "Formatting: ${#sources[@]} C++ sources match .clang-format"
