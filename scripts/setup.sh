#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kalvitra
# need. Quick when everything is already there: apt is only asked for what is
# missing. Needs root (or sudo) on a Debian machine.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config
  # core and batch tool
  libcli11-dev
  # window
  qt6-base-dev fonts-noto-cjk libcups2-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth poppler-utils
  # peak memory of the batch tool in bench/cli/csv_throughput.sh
  time
  # the Debian package (dpkg-shlibdeps) and its menu entry
  dpkg-dev desktop-file-utils
  # a real print server with a PDF printer for the print test
  cups printer-driver-cups-pdf
  # sanitizer and fuzzing stages: clang with libFuzzer and the sanitizer
  # runtimes, llvm-symbolizer for readable reports, Valgrind for the leak check
  clang libclang-rt-14-dev llvm valgrind
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
