#!/usr/bin/env bash
# Installs the Debian packages that Kalvitra needs, and only those missing:
#   scripts/setup.sh run    building and running the window and the batch tool
#   scripts/setup.sh test   that, plus everything the whole test suite uses
#   scripts/setup.sh windows  the batch tool built for Windows and run under
#                             Wine, with the Linux tool it is compared with
# Quick when everything is already there: apt is only asked for what is
# missing. Needs root (or sudo) on a Debian machine.
source "$(dirname "${BASH_SOURCE[0]}")/lib/strict.sh"

profile=${1:-test}

run_packages=(
  # build
  g++ cmake ninja-build pkg-config
  # batch tool
  libcli11-dev
  # window: Qt, the Chinese font its captions need, and libcups to ask
  # whether the default queue accepts jobs before printing
  qt6-base-dev fonts-noto-cjk libcups2-dev
  # the core designer's Chinese and English: Qt Linguist's tools (lupdate,
  # lrelease) at build time, Qt's own translations for its dialogs
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  # the program's icon, rendered from its drawing at each size; gzip for
  # the manual pages comes with every Debian
  librsvg2-bin
)

test_packages=(
  # unit tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # window tests: a virtual display, and reading back printed PDFs
  xvfb xauth poppler-utils
  # the designer driven as a screen reader drives it: a session bus of its
  # own, the accessibility bus, and Python's AT-SPI client
  dbus-daemon dbus-x11 at-spi2-core python3-pyatspi
  # peak memory of the batch tool in bench/cli/csv_throughput.sh
  time
  # the Debian package: dpkg-shlibdeps and file (CPack's dependency scan),
  # the menu entry's validator
  dpkg-dev file desktop-file-utils
  # what a packager checks: manual pages render, AppStream metadata
  # validates, lintian finds no errors
  man-db appstream lintian
  # a real print server with a PDF printer for the print test
  cups printer-driver-cups-pdf
  # sanitizer and fuzzing stages: clang with libFuzzer and the sanitizer
  # runtimes, llvm-symbolizer for readable reports, Valgrind for the leak check
  clang libclang-rt-14-dev llvm valgrind
  # formatting check of the sources, which git lists
  clang-format git
  # an independent reader of the DXF drawings
  python3-ezdxf
)

windows_packages=(
  # the Linux build the Windows tool is compared with
  g++ cmake ninja-build libcli11-dev libgtest-dev
  # the Windows build: cross compiler (POSIX threads) and GoogleTest's sources
  g++-mingw-w64-x86-64-posix googletest
  # running the Windows programs
  wine wine64
  # Qt for Windows from Debian's qt6-base source package (dpkg-source
  # unpacks it), its host tools, and the designer's translations tools
  dpkg-dev qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  # the installer; both windows driven on a virtual display (xdotool, the
  # clipboard read back with xclip, screenshots with ImageMagick), with a
  # Chinese font for Wine
  nsis xvfb xauth xdotool xclip imagemagick fonts-wqy-microhei
  # the programs' icon, rendered from its drawing (packed into an .ico
  # by ImageMagick above)
  librsvg2-bin
)

case $profile in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}") ;;
  windows) packages=("${windows_packages[@]}") ;;
  *)
    echo "usage: $0 run|test|windows" >&2
    exit 2
    ;;
esac

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
  "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi
