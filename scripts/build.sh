#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh BUILD_DIR [CMAKE ARGS...]
# A tree that was configured with the same arguments before is only brought
# up to date: the build tool itself re-runs CMake when a CMakeLists changed.
source "$(dirname "${BASH_SOURCE[0]}")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
shift
generator=()
if command -v ninja >/dev/null; then generator=(-G Ninja); fi
arguments_file=$build_dir/kalvitra-configure-arguments
arguments=$(printf '%s\n' "${generator[@]}" "$@")
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release "$@"
elif [[ ! -f $arguments_file || $(<"$arguments_file") != "$arguments" ]]; then
  cmake "$build_dir" "$@" >/dev/null
fi
printf '%s\n' "$arguments" >"$arguments_file"
cmake --build "$build_dir" --parallel "$(nproc)"
