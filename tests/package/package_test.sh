#!/usr/bin/env bash
# The Debian package as a designer's machine receives it.
#
#   package_test.sh build     BUILD_DIR DEB_DIR   make the package with CPack
#   package_test.sh control   DEB_DIR VERSION     name, version, dependencies
#   package_test.sh contents  DEB_DIR             exactly the programs and the menu entry
#   package_test.sh installed DEB_DIR             unpacked into a fresh root: both programs run
#   package_test.sh resolves  DEB_DIR             apt finds every dependency for a bare machine
#   package_test.sh desktop   DESKTOP_FILE        the menu entry passes desktop-file-validate
#
# Exit status 77 means the check could not run here (skipped).
set -euo pipefail

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
finish() {
  if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

the_deb() {
  local debs=("$1"/kalvitra_*.deb)
  [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || {
    echo "expected one kalvitra_*.deb in $1, found: ${debs[*]}" >&2
    exit 1
  }
  echo "${debs[0]}"
}

# A menu entry must validate without errors and without warnings.
validate_desktop_entry() {
  local file=$1 report
  if ! command -v desktop-file-validate >/dev/null; then
    echo "desktop-file-validate is missing (package desktop-file-utils): $file not validated"
    return 0
  fi
  report=$(desktop-file-validate "$file" 2>&1) || true
  [[ -z $report ]] || fail "desktop-file-validate $file:"$'\n'"$report"
}

build() {
  local build_dir=$1 deb_dir=$2
  rm -rf -- "$deb_dir"
  mkdir -p "$deb_dir"
  "${CPACK:-cpack}" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$deb_dir"
  the_deb "$deb_dir" >/dev/null
}

control() {
  local deb version=$2
  deb=$(the_deb "$1")
  dpkg-deb -I "$deb"
  local -A expected=(
    [Package]=kalvitra
    [Version]=$version
    [Architecture]=$(dpkg --print-architecture)
    [Section]=science
  )
  local field value
  for field in "${!expected[@]}"; do
    value=$(dpkg-deb -f "$deb" "$field")
    [[ $value == "${expected[$field]}" ]] || fail "$field is '$value', expected '${expected[$field]}'"
  done
  for field in Maintainer Description; do
    [[ -n $(dpkg-deb -f "$deb" "$field") ]] || fail "no $field"
  done
  [[ $(dpkg-deb -f "$deb" Maintainer) =~ ^.+\ \<[^@\ ]+@[^@\ ]+\>$ ]] ||
    fail "Maintainer is not 'Name <address>'"

  # What a bare machine must fetch before either program starts: the
  # libraries they link, the platform plugins Qt loads at start, and the
  # Chinese face every caption is drawn with.
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  local package
  for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
    qt6-qpa-plugins fonts-noto-cjk; do
    [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
      fail "Depends lacks $package: $depends"
  done
  # Build-time packages never become run-time dependencies.
  for package in qt6-base-dev libgtest-dev libcli11-dev; do
    [[ ", $depends," != *", $package"[\ ,]* ]] || fail "Depends names the build package $package"
  done
  finish
}

contents() {
  local deb
  deb=$(the_deb "$1")
  local listed
  listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $NF}' | sort)
  local expected
  expected=$(printf '%s\n' ./usr/bin/kalvitra ./usr/bin/kalvitra-cli \
    ./usr/share/applications/kalvitra.desktop | sort)
  # Nothing else: no tests, benchmarks, static libraries or headers of the
  # libraries used to build.
  [[ $listed == "$expected" ]] || fail "package holds:"$'\n'"$listed"$'\n'"expected:"$'\n'"$expected"
  local program mode
  for program in ./usr/bin/kalvitra ./usr/bin/kalvitra-cli; do
    mode=$(dpkg-deb -c "$deb" | awk -v f="$program" '$NF == f {print $1}')
    [[ $mode == -rwxr-xr-x ]] || fail "$program has mode $mode"
  done
  finish
}

installed() {
  local deb
  deb=$(the_deb "$1")
  # A fresh root nothing else has touched, removed when the check ends.
  fresh_root=$(mktemp -d)
  trap 'rm -rf -- "$fresh_root"' EXIT
  local root=$fresh_root
  dpkg-deb -x "$deb" "$root"
  local bin=$root/usr/bin

  # The programs must run from where the package puts them: no path into
  # the build tree, every library found on the system.
  local program
  local dynamic libraries
  for program in "$bin/kalvitra" "$bin/kalvitra-cli"; do
    dynamic=$(readelf -d "$program")
    if grep -E 'RPATH|RUNPATH' <<<"$dynamic"; then
      fail "$program carries a library path"
    fi
    libraries=$(ldd "$program")
    if grep 'not found' <<<"$libraries"; then
      fail "$program misses libraries"
    fi
  done

  # The six-stage worked example through the installed batch tool.
  local output
  output=$(printf 'D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\ndpxs=0.96\n' |
    "$bin/kalvitra-cli" stages gross-area net-area stack) || fail "kalvitra-cli exited with $?"
  local line
  for line in jh1=0062.45 jh2=0017.19 jh3=0014.78 jh4=0012.80 jh5=0010.61 jh6=0007.97 jh7=0 \
    jh22=17.19 jh42=12.8 jh62=7.97 txmj=289.499 txjmj=277.91904 dh=189.15 MD=7.65; do
    grep -q -x -F "$line" <<<"$output" || fail "kalvitra-cli printed no line $line:"$'\n'"$output"
  done

  # The installed window starts the way the menu starts it (its Exec line,
  # found on PATH, with the sheet file opened in place of %f) and keeps
  # running until it is ended: the timeout's own status 124 is the success.
  local desktop=$root/usr/share/applications/kalvitra.desktop
  validate_desktop_entry "$desktop"
  local exec_line
  exec_line=$(sed -n 's/^Exec=//p' "$desktop")
  [[ $exec_line == 'kalvitra %f' ]] || fail "the menu entry runs '$exec_line'"
  local sheet=$root/example.kvs
  printf 'D=200\nPK1=190\n' >"$sheet"
  local status=0 log=$root/window.log
  PATH=$bin:$PATH QT_QPA_PLATFORM=offscreen timeout 3 "${exec_line% %f}" "$sheet" >"$log" 2>&1 ||
    status=$?
  [[ $status -eq 124 ]] || fail "the window ended by itself with status $status: $(cat "$log")"
  if grep -i -E 'could not|cannot|failed|error' "$log"; then
    fail "the window reported problems at start"
  fi
  finish
}

resolves() {
  local deb
  deb=$(readlink -f "$(the_deb "$1")")
  local policy
  policy=$(apt-cache policy libqt6widgets6 2>/dev/null || true)
  if ! grep -q 'Candidate: [0-9]' <<<"$policy"; then
    echo "apt has no package lists here (apt-get update): skipped"
    exit 77
  fi
  # apt resolves the package as if nothing at all were installed: every
  # dependency must come from the archive, not from this machine.
  local nothing_installed
  nothing_installed=$(mktemp)
  local plan status=0
  plan=$(apt-get install -s -o Dir::State::status="$nothing_installed" "$deb" 2>&1) || status=$?
  rm -f -- "$nothing_installed"
  [[ $status -eq 0 ]] || fail "apt cannot install the package on a bare machine:"$'\n'"$plan"
  local package
  for package in kalvitra libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins fonts-noto-cjk; do
    grep -q "^Inst $package " <<<"$plan" || fail "a bare machine would not get $package"
  done
  echo "a bare machine installs $(grep -c '^Inst ' <<<"$plan") packages with kalvitra"
  finish
}

desktop() {
  validate_desktop_entry "$1"
  local key
  for key in Name 'Name\[zh_CN\]' Comment 'Comment\[zh_CN\]' Exec Icon Categories; do
    grep -q "^$key=." "$1" || fail "the menu entry has no $key"
  done
  grep -q '^Terminal=false$' "$1" || fail "the menu entry would open a terminal"
  finish
}

case ${1:-} in
  build) build "$2" "$3" ;;
  control) control "$2" "$3" ;;
  contents) contents "$2" ;;
  installed) installed "$2" ;;
  resolves) resolves "$2" ;;
  desktop) desktop "$2" ;;
  *)
    echo "usage: $0 build|control|contents|installed|resolves|desktop ARGS" >&2
    exit 2
    ;;
esac
