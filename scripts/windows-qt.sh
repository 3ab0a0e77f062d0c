#!/usr/bin/env bash
# Qt for 64-bit Windows, built from Debian's own source package qt6-base:
#   scripts/windows-qt.sh PREFIX_FILE
# fetches the source package of the same version as the host Qt (apt checks
# its hashes against the archive's signed index), builds only what Kalvitra
# uses (Core, Gui, Widgets, PrintSupport, Test and the Windows platform
# plugin) with the mingw-w64 compilers and Debian's host Qt tools, and
# installs it into build-windows/qt/<version>-<options>/. The folder's name
# comes from the source version, the compiler's version and the configure
# options below, so a second run with nothing changed reuses it. Writes the
# install folder's path into PREFIX_FILE.
# Adds a deb-src entry for Debian's archive when apt has none (needs root).
source "$(dirname "${BASH_SOURCE[0]}")/lib/strict.sh"

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
prefix_file=${1:?usage: windows-qt.sh PREFIX_FILE}
cache=$root/build-windows/qt

say() { echo "== windows-qt: $*"; }
as_root() {
  if [[ $(id -u) -ne 0 ]]; then sudo "$@"; else "$@"; fi
}

triplet=x86_64-w64-mingw32
# Everything a Windows user of Kalvitra needs and nothing else. Debian's
# tarball lacks Qt's Wintab header, hence no tablet events; without OpenGL,
# 6.4's Windows plugin still needs dynamic GL switched off by name. Direct2D
# stays on: Gui's DirectWrite font engine, which print support calls, is
# built only with it; the Direct2D platform plugin (Direct2D 1.1) is left
# out. Every third-party library is Qt's bundled copy from the same source
# package.
qt_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
  -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_direct2d1_1=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_printsupport=ON -DFEATURE_testlib=ON
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
)

host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
compiler_version=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
key=$(printf '%s\n' "$host_version" "$compiler_version" "${qt_options[@]}" | sha256sum | cut -c1-12)
prefix=$cache/${host_version//[:+~]/_}-$key
if [[ -f $prefix/.complete ]]; then
  say "reusing Qt $host_version for Windows in $prefix"
  echo "$prefix" >"$prefix_file"
  exit 0
fi

# A deb-src twin of every enabled Debian archive entry (same URIs, suites,
# components and key), unless apt already knows source packages there. Both
# of Debian 12's formats: deb822 files (*.sources) and one-line lists.
add_deb_src_entries() {
  local deb822=/etc/apt/sources.list.d/kalvitra-deb-src.sources
  local oneline=/etc/apt/sources.list.d/kalvitra-deb-src.list
  local archive='https?://[^ ]*/debian(-security)?/?( |$)|/archive/debian'
  local stanzas lines file deb822_files=() oneline_files=()
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -f $file && $file != "$deb822" ]] && deb822_files+=("$file")
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $file && $file != "$oneline" ]] && oneline_files+=("$file")
  done
  stanzas=$(awk -v archive="$archive" '
    function flush() {
      if (types ~ /(^| )deb( |$)/ && types !~ /deb-src/ && uris ~ archive && enabled !~ /^[Nn]o/)
        printf "Types: deb-src\n%s\n", body
      types = ""; uris = ""; enabled = ""; body = ""
    }
    FNR == 1 { flush() }
    /^[ \t]*#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^Types:/ { types = $0; sub(/^Types:[ \t]*/, "", types); next }
    /^Enabled:/ { enabled = $0; sub(/^Enabled:[ \t]*/, "", enabled); next }
    /^URIs:/ { uris = $0 " " }
    { body = body (body == "" ? "" : "\n") $0 }
    END { flush() }' /dev/null "${deb822_files[@]}")
  lines=$(awk -v archive="$archive" '
    $1 == "deb" && ($0 " ") ~ archive { sub(/^deb/, "deb-src"); order[++n] = $0; next }
    $1 == "deb-src" { have[$0] = 1 }
    END { for (i = 1; i <= n; i++) if (!(order[i] in have)) print order[i] }' \
    /dev/null "${oneline_files[@]}")
  [[ -n $stanzas || -n $lines ]] || { echo "windows-qt.sh: no Debian archive entry in apt's sources" >&2; exit 1; }
  if [[ -n $stanzas ]]; then
    # Stanzas apart by a blank line.
    sed 's/^Types: deb-src$/\n&/' <<<"$stanzas" | sed '1{/^$/d}' | as_root tee "$deb822" >/dev/null
  fi
  if [[ -n $lines ]]; then as_root tee "$oneline" <<<"$lines" >/dev/null; fi
  say "added deb-src entries for Debian's archive"
  as_root apt-get -o DPkg::Lock::Timeout=600 update -qq
}

source_version=${host_version}
if ! apt-cache showsrc "qt6-base=$source_version" 2>/dev/null | grep -q '^Package: qt6-base'; then
  add_deb_src_entries
fi

src_parent=$root/build-windows/qt-source
src=$src_parent/source-${source_version//[:+~]/_}
if [[ ! -f $src/.complete ]]; then
  say "fetching Debian's qt6-base $source_version source package"
  rm -rf -- "$src"
  mkdir -p "$src"
  # apt checks every file against the archive's signed index; as root it
  # says that it downloads without its sandbox user, which is harmless.
  (cd "$src" && apt-get source -qq --download-only "qt6-base=$source_version" >fetch.log 2>&1 &&
    dpkg-source -x ./*.dsc tree >unpack.log 2>&1) ||
    { cat "$src"/*.log >&2; exit 1; }
  touch "$src/.complete"
fi

# The sources with Debian's patches applied, as Debian builds them.
build=$root/build-windows/qt-build-$key
say "configuring Qt $source_version for Windows"
rm -rf -- "$build" "$prefix"
mkdir -p "$build"
started=$SECONDS
cmake -S "$src/tree" -B "$build" -G Ninja \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
  -DCMAKE_C_COMPILER=$triplet-gcc-posix -DCMAKE_CXX_COMPILER=$triplet-g++-posix \
  -DCMAKE_RC_COMPILER=$triplet-windres \
  -DCMAKE_FIND_ROOT_PATH=/usr/$triplet -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${qt_options[@]}" >"$build/configure.log" 2>&1 ||
  { tail -60 "$build/configure.log" >&2; exit 1; }
say "building Qt (about 1,100 steps)"
cmake --build "$build" --parallel "$(nproc)" >"$build/build.log" 2>&1 ||
  { grep -B2 -A20 -m3 'FAILED:' "$build/build.log" >&2 || tail -60 "$build/build.log" >&2; exit 1; }
cmake --install "$build" >"$build/install.log" 2>&1 || { tail -40 "$build/install.log" >&2; exit 1; }
echo "qt6-base $source_version" >"$prefix/debian-source"
touch "$prefix/.complete"
rm -rf -- "$build"
say "built Qt for Windows in $((SECONDS - started)) s"
echo "$prefix" >"$prefix_file"
