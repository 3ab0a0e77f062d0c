#!/usr/bin/env bash
# Installs what is missing, builds and starts the calculator window.
source "$(dirname "${BASH_SOURCE[0]}")/lib/strict.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh run
# A build folder of its own: the test command's build/ has other options,
# and neither should undo the other's configuration.
bash scripts/build.sh build-run -DKALVITRA_BUILD_TESTS=OFF -DKALVITRA_BUILD_BENCH=OFF

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  cat >&2 <<'MESSAGE'
No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the
calculator window cannot be shown here. It is built as build-run/app/kalvitra.

To run it on a virtual display instead (package xvfb):
  xvfb-run -a build-run/app/kalvitra
or start one yourself and look at it with a screenshot:
  Xvfb :99 -screen 0 1024x768x24 &
  DISPLAY=:99 build-run/app/kalvitra &
  DISPLAY=:99 import -window root window.png   # import: package imagemagick
MESSAGE
  exit 1
fi
exec build-run/app/kalvitra "$@"
