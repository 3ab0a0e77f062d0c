#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh BUILD_DIR [CMAKE ARGS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
shift
generator=()
if command -v ninja >/dev/null; then generator=(-G Ninja); fi
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release "$@"
else
  cmake "$build_dir" "$@" >/dev/null
fi
cmake --build "$build_dir" --parallel "$(nproc)"
