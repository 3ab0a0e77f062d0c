#!/usr/bin/env bash
# The Debian package as a designer's machine receives it.
#
#   package_test.sh build     BUILD_DIR DEB_DIR   make the package with CPack
#   package_test.sh control   DEB_DIR VERSION     name, version, dependencies
#   package_test.sh contents  DEB_DIR             exactly the programs and the files around them
#   package_test.sh installed DEB_DIR             unpacked into a fresh root: every program runs
#   package_test.sh resolves  DEB_DIR             apt finds every dependency for a bare machine
#   package_test.sh desktop   DESKTOP_FILE        the menu entry passes desktop-file-validate
#   package_test.sh manpages  DEB_DIR             every manual page renders cleanly; the batch
#                                                 tool's says what its --help and every
#                                                 command's --help say
#   package_test.sh metainfo  DEB_DIR             the AppStream metadata validates with both menu entries
#   package_test.sh icons     DEB_DIR             the menu entry's icon in every size
#   package_test.sh lintian   DEB_DIR             lintian finds no errors
#   package_test.sh help_to_man GENERATOR         help texts of every shape make clean pages
#   package_test.sh docs_version SOURCE_DIR VERSION  the package and archive names the
#                                                 README and docs/ give are this version's
#
# Exit status 77 means the check could not run here (skipped). Under CI
# (CI=true) a missing checker fails instead: a skip there would pass for a pass.
set -euo pipefail

# The fixed sizes the icon comes in beside the scalable drawing.
icon_sizes=(16 24 32 48 64 128 256)

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

# The program a check needs, from the Debian package named.
need() {
  local tool=$1 package=$2
  command -v "$tool" >/dev/null && return 0
  if [[ ${CI:-} == true ]]; then
    echo "FAIL: $tool is missing (Debian package $package), and CI must run this check" >&2
    exit 1
  fi
  echo "$tool is missing (Debian package $package): skipped"
  exit 77
}

the_deb() {
  local debs=("$1"/kalvitra_*.deb)
  [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || {
    echo "expected one kalvitra_*.deb in $1, found: ${debs[*]}" >&2
    exit 1
  }
  echo "${debs[0]}"
}

# Unpacks the package into a fresh root nothing else has touched, removed
# when the check ends.
unpacked() {
  fresh_root=$(mktemp -d)
  trap 'rm -rf -- "$fresh_root"' EXIT
  dpkg-deb -x "$1" "$fresh_root"
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
  local icons=./usr/share/icons/hicolor
  expected=$(
    {
      printf '%s\n' ./usr/bin/kalvitra ./usr/bin/kalvitra-cli ./usr/bin/kalvitra-designer \
        ./usr/share/applications/org.example.kalvitra.desktop \
        ./usr/share/applications/org.example.kalvitra.designer.desktop \
        ./usr/share/mime/packages/kalvitra.xml \
        ./usr/share/metainfo/org.example.kalvitra.metainfo.xml \
        ./usr/share/man/man1/kalvitra.1.gz ./usr/share/man/man1/kalvitra-cli.1.gz \
        ./usr/share/man/man1/kalvitra-designer.1.gz \
        ./usr/share/doc/kalvitra/copyright ./usr/share/doc/kalvitra/changelog.gz \
        ./usr/share/kalvitra/user-guide.md ./usr/share/kalvitra/user-guide.zh_CN.md \
        $icons/scalable/apps/kalvitra.svg
      for size in "${icon_sizes[@]}"; do
        echo "$icons/${size}x$size/apps/kalvitra.png"
      done
    } | sort
  )
  # Nothing else: no tests, benchmarks, static libraries or headers of the
  # libraries used to build.
  [[ $listed == "$expected" ]] || fail "package holds:"$'\n'"$listed"$'\n'"expected:"$'\n'"$expected"
  # Programs run, everything else is read; folders open to all, owned by root.
  local entry mode owner path
  while read -r mode owner _ _ _ path; do
    case $mode:$path in
      d*) entry=drwxr-xr-x ;;
      *:./usr/bin/*) entry=-rwxr-xr-x ;;
      *) entry=-rw-r--r-- ;;
    esac
    [[ $mode == "$entry" ]] || fail "$path has mode $mode, expected $entry"
    [[ $owner == root/root ]] || fail "$path belongs to $owner"
  done < <(dpkg-deb -c "$deb")
  finish
}

installed() {
  local deb
  deb=$(the_deb "$1")
  unpacked "$deb"
  local root=$fresh_root
  local bin=$root/usr/bin

  # The programs must run from where the package puts them: no path into
  # the build tree, every library found on the system.
  local program
  local dynamic libraries
  for program in "$bin/kalvitra" "$bin/kalvitra-cli" "$bin/kalvitra-designer"; do
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

  # Each installed window starts the way its menu entry starts it (the Exec
  # line, found on PATH, with a sheet file opened in place of %f) and keeps
  # running until it is ended: the timeout's own status 124 is the success.
  local sheet=$root/example.kvs
  printf 'D=200\nPK1=190\n' >"$sheet"
  local entry expected exec_line status log
  for entry in org.example.kalvitra:kalvitra org.example.kalvitra.designer:kalvitra-designer; do
    expected=${entry#*:}
    local desktop=$root/usr/share/applications/${entry%%:*}.desktop
    validate_desktop_entry "$desktop"
    exec_line=$(sed -n 's/^Exec=//p' "$desktop")
    [[ $exec_line == "$expected %f" ]] || fail "the menu entry ${entry%%:*} runs '$exec_line'"
    status=0
    log=$root/$expected.log
    PATH=$bin:$PATH QT_QPA_PLATFORM=offscreen timeout 3 "${exec_line% %f}" "$sheet" >"$log" 2>&1 ||
      status=$?
    [[ $status -eq 124 ]] || fail "$expected ended by itself with status $status: $(cat "$log")"
    if grep -i -E 'could not|cannot|failed|error' "$log"; then
      fail "$expected reported problems at start"
    fi
  done
  # Design files are known to the desktop as the designer's.
  grep -q 'MimeType=application/x-kalvitra-design;' \
    "$root/usr/share/applications/org.example.kalvitra.designer.desktop" ||
    fail "the designer's menu entry opens no design files"
  grep -q '<glob pattern="\*.kvd"/>' "$root/usr/share/mime/packages/kalvitra.xml" ||
    fail "the design file type has no *.kvd"
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

# Words as a reader sees them: colons gone, runs of blanks one space.
plain_words() {
  tr -d ':' | tr -s '[:space:]' ' '
}

# A manual page as plain words, every paragraph on one line.
render() {
  LC_ALL=C.UTF-8 MANWIDTH=1000 man -l "$1" | plain_words
}

# A page must render without a single warning at the width lintian checks
# with, where the terminal shows Chinese and where it does not.
renders_cleanly() {
  local name=$1 file=$2 locale report
  for locale in C.UTF-8 C; do
    report=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null) || true
    [[ -z $report ]] || fail "$name renders with warnings in $locale:"$'\n'"$report"
  done
}

# Every line of a help text, section headings aside, is in the rendered
# page word for word.
says_help() {
  local name=$1 rendered=$2 help=$3 line missing=0
  while IFS= read -r line; do
    [[ $line =~ ^[A-Z][a-z]+: || -z ${line// /} ]] && continue
    line=$(plain_words <<<"$line")
    line=${line# }
    line=${line% }
    if [[ $rendered != *"$line"* ]]; then
      fail "$name lacks the help line: $line"
      missing=$((missing + 1))
    fi
  done <<<"$help"
  ((missing == 0)) || echo "$name as rendered:"$'\n'"$rendered"
}

manpages() {
  local deb
  deb=$(the_deb "$1")
  need man man-db
  unpacked "$deb"
  local root=$fresh_root page file
  for page in kalvitra kalvitra-cli kalvitra-designer; do
    file=$root/usr/share/man/man1/$page.1.gz
    if [[ ! -f $file ]]; then
      fail "no manual page $page(1)"
      continue
    fi
    gzip -t "$file" || fail "$page.1.gz is not a whole gzip file"
    renders_cleanly "$page(1)" "$file"
  done

  # A page from another version, a lost line or a character mangled on the
  # way shows up here.
  local rendered
  rendered=$(render "$root/usr/share/man/man1/kalvitra-cli.1.gz")
  local help command
  help=$("$root/usr/bin/kalvitra-cli" --help)
  says_help "kalvitra-cli(1)" "$rendered" "$help"
  grep -q -F 'EXIT STATUS' <<<"$rendered" || fail "kalvitra-cli(1) has no EXIT STATUS"
  for command in $(commands_of "$help"); do
    says_help "kalvitra-cli(1) on $command" "$rendered" \
      "$("$root/usr/bin/kalvitra-cli" "$command" --help)"
    grep -q -F "COMMAND ${command^^}" <<<"$rendered" || fail "kalvitra-cli(1) has no $command"
  done
  finish
}

# The commands a help lists in its section COMMANDS: tags of one word.
commands_of() {
  sed -n '/^COMMANDS/,/^$/s/^  \([a-z][a-z-]*\)  .*/\1/p' <<<"$1"
}

# Help texts the page generator must turn into clean pages, whatever the
# batch tool's help grows into.
declare -A help_cases=(
  [options_and_subcommands]='Designs the stepped iron core of a transformer.
Usage: kalvitra-cli [OPTIONS] [ACTION...] [SUBCOMMAND]

Positionals:
  ACTION TEXT ...             Calculations to run, in order

Options:
  -h,--help                   Print this help and exit
  --stages INT:INT in [1 - 9] REQUIRED
                              Number of stages, on a line of its own
                              and a second line

Subcommands:
  widths                      Best stage widths for a diameter
  section                     SVG drawing of the section

EXIT STATUS:
  0  success
  2  bad input: a line
     without a field name
EXAMPLES:
  kalvitra-cli widths --diameter 200 --stages 6 --grid 5 |
    kalvitra-cli stages gross-area net-area stack
# a note at the margin
  kalvitra-cli section <core.kvs >core.svg'
  [roff_characters]='Usage: tool ARG
.TH looks like a request,
'"'"'so does a quote
a back\slash, \n, \\ and \fB stay as typed; so do --csv and -h
  .IP indented, '"'"'quoted
NOTE: not a heading, it follows a line'
  [no_usage_line]='Only a description, then a section.

FILES (none):   text after the heading
  a.kvs   one sheet'
)

docs_version() {
  local source=$1 version=$2 file name named=0
  while IFS=: read -r file name; do
    named=$((named + 1))
    case $name in
      "kalvitra_${version}_"*.deb | "kalvitra-${version}-"*.zip) ;;
      *) fail "$file names $name, which is not version $version" ;;
    esac
  done < <(cd "$source" && grep -o -E 'kalvitra[_-][0-9]+(\.[0-9]+)+[_-][A-Za-z0-9_-]*\.(deb|zip)' \
    README.md docs/*.md)
  ((named)) || fail "neither the README nor docs/ names the package file"
  finish
}

help_to_man() {
  local generator=$1
  need man man-db
  work=$(mktemp -d)
  trap 'rm -rf -- "$work"' EXIT
  printf '%s\n' '.TH T 1' '.SH NAME' 't \- test page' '.\" --help' '.SH SEE ALSO' 'none' >"$work/template"
  # The program: prints the help text in $work/help (or, for COMMAND --help,
  # in $work/help.COMMAND) with the status in $work/status.
  printf '%s\n' '#!/bin/bash' "if [[ \$# -gt 1 ]]; then cat '$work/help.'\"\$1\"; else cat '$work/help'; fi" \
    "exit \$(cat '$work/status')" >"$work/program"
  chmod +x "$work/program"

  local name page
  for name in "${!help_cases[@]}"; do
    printf '%s\n' "${help_cases[$name]}" >"$work/help"
    echo 0 >"$work/status"
    page=$work/$name.1
    if ! bash "$generator" "$work/template" "$work/program" "$page"; then
      fail "$name: no page written"
      continue
    fi
    renders_cleanly "$name" "$page"
    says_help "$name" "$(render "$page")" "${help_cases[$name]}"
  done

  # Each command listed gets its own section from its own help.
  printf '%s\n' 'Usage: tool [COMMAND]' '' 'COMMANDS (each has its own help):' \
    '  alpha  the first' '  beta   the second' >"$work/help"
  printf '%s\n' 'Does alpha.' 'Usage: tool alpha [OPTIONS]' '' 'EXAMPLE:' '  tool alpha' >"$work/help.alpha"
  printf '%s\n' 'Does beta.' 'Usage: tool beta' '' 'NOTES: beta text' >"$work/help.beta"
  echo 0 >"$work/status"
  page=$work/commands.1
  if bash "$generator" "$work/template" "$work/program" "$page"; then
    renders_cleanly commands "$page"
    for name in "" .alpha .beta; do
      says_help "commands$name" "$(render "$page")" "$(<"$work/help$name")"
    done
    [[ $(grep -c '^COMMAND ' "$page") -eq 2 ]] || fail "commands: not one section per command"
  else
    fail "commands: no page written"
  fi

  # A program whose help fails or says nothing, or a template without the
  # place for the help, must stop the build: no page at all, not an empty one.
  local -A broken=([help_fails]='1 help' [help_empty]='0 ' [no_marker]='0 help')
  for name in "${!broken[@]}"; do
    read -r status text <<<"${broken[$name]}"
    echo "$status" >"$work/status"
    printf '%s' "$text" >"$work/help"
    cp "$work/template" "$work/broken-template"
    [[ $name != no_marker ]] || sed -i '/--help/d' "$work/broken-template"
    page=$work/$name.1
    if bash "$generator" "$work/broken-template" "$work/program" "$page" 2>"$work/stderr"; then
      fail "$name: the generator reported success"
    fi
    [[ ! -e $page && ! -e $page.tmp ]] || fail "$name: a page was left behind"
    [[ -s $work/stderr ]] || fail "$name: the generator failed without a message"
  done
  finish
}

metainfo() {
  local deb
  deb=$(the_deb "$1")
  need appstreamcli appstream
  unpacked "$deb"
  local root=$fresh_root
  local file=$root/usr/share/metainfo/org.example.kalvitra.metainfo.xml
  [[ -f $file ]] || {
    fail "no AppStream metadata"
    finish
  }
  local report
  report=$(appstreamcli validate --no-net "$file" 2>&1) || fail "appstreamcli validate:"$'\n'"$report"
  # The installed tree as a software centre reads it: the metadata's
  # launchable must be the menu entry the package installs.
  report=$(appstreamcli validate-tree --no-net "$root" 2>&1) ||
    fail "appstreamcli validate-tree:"$'\n'"$report"
  local newest version
  newest=$(grep -o -m 1 '<release version="[^"]*"' "$file" | cut -d'"' -f2)
  version=$(dpkg-deb -f "$deb" Version)
  [[ $newest == "$version" ]] || fail "the newest release in the metadata is '$newest', the package is $version"
  finish
}

icons() {
  local deb
  deb=$(the_deb "$1")
  unpacked "$deb"
  local root=$fresh_root
  local icon
  icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/org.example.kalvitra.desktop")
  [[ $icon == kalvitra ]] || fail "the menu entry names the icon '$icon'"
  local hicolor=$root/usr/share/icons/hicolor
  [[ $(file -b "$hicolor/scalable/apps/$icon.svg") == *SVG* ]] ||
    fail "no scalable icon $icon.svg"
  local size kind
  for size in "${icon_sizes[@]}"; do
    kind=$(file -b "$hicolor/${size}x$size/apps/$icon.png" 2>&1) || true
    [[ $kind == "PNG image data, $size x $size,"* ]] ||
      fail "${size}x$size/apps/$icon.png is not a $size x $size PNG: $kind"
  done
  finish
}

run_lintian() {
  local deb
  deb=$(the_deb "$1")
  need lintian lintian
  local report status=0
  # Warnings and notes are listed; errors fail. Status 2 means error tags,
  # status 1 that lintian itself could not run.
  report=$(lintian --no-cfg --display-info --fail-on error "$deb" 2>&1) || status=$?
  echo "$report"
  ((status != 1)) || fail "lintian could not check the package"
  if ((status == 2)) || grep '^E: ' <<<"$report" >/dev/null; then
    fail "lintian reports errors"
  fi
  finish
}

case ${1:-} in
  build) build "$2" "$3" ;;
  control) control "$2" "$3" ;;
  contents) contents "$2" ;;
  installed) installed "$2" ;;
  resolves) resolves "$2" ;;
  desktop) desktop "$2" ;;
  manpages) manpages "$2" ;;
  metainfo) metainfo "$2" ;;
  icons) icons "$2" ;;
  lintian) run_lintian "$2" ;;
  help_to_man) help_to_man "$2" ;;
  docs_version) docs_version "$2" "$3" ;;
  *)
    echo "usage: $0 build|control|contents|installed|resolves|desktop|manpages|metainfo|icons|lintian|help_to_man|docs_version ARGS" >&2
    exit 2
    ;;
esac
