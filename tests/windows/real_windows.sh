#!/usr/bin/env bash
# Both windows for Windows, driven under Wine on a virtual display as a
# person drives them, against the Linux windows driven the same way:
#   tests/windows/real_windows.sh LINUX_BUILD WINDOWS_FOLDER INSTALLER OUT
# 1. The calculator: the six-stage worked example is typed with xdotool and
#    the five calculation buttons are pressed; every result field, read back
#    through the clipboard, equals the Linux window's, and the weight equals
#    the worked example's (tests/support/kalvitra/testing/worked_example.h).
# 2. The designer opens a design (.kvd) from a folder with a Chinese name,
#    given on its command line; its exports through the File menu (section
#    as SVG and DXF, cut list as CSV and DXF) equal the Linux designer's
#    byte for byte.
# 3. The installer: /S into a fresh Wine prefix, the installed windows start,
#    .kvs and .kvd are theirs, and /S uninstall leaves no file and no
#    registry key of ours behind.
# Screenshots of both windows under Wine go into OUT. Needs DISPLAY (a
# virtual display) and WINEPREFIX with its server running (scripts/windows.sh).
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/strict.sh"

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
installer=$(realpath "$3")
out=$(realpath -m "$4")
rm -rf -- "$out"
mkdir -p "$out"
for program in "$linux/app/kalvitra" "$linux/designer/kalvitra-designer"; do
  [[ -x $program ]] || { echo "real_windows.sh: $program is not built" >&2; exit 1; }
done

fail() {
  echo "real_windows.sh: $*" >&2
  exit 1
}
say() { echo "== real windows: $*"; }

started_pids=()
stop_started() {
  local pid
  for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
at_exit stop_started

# The one window whose title matches, once it is shown (at most a minute).
window_of() {
  local id
  id=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1) ||
    fail "no window \"$1\" within a minute"
  echo "$id"
}
# The centre of a control of the calculator, in pixels of its client area,
# from its place in twips in the window's own control table.
control_centre() {
  local rect
  rect=$(grep -F -m1 "$1" "$root/ui/src/controls.cpp" | grep -o '{[0-9]*, [0-9]*, [0-9]*, [0-9]*}' |
    tr -d '{},') || fail "no control $1 in ui/src/controls.cpp"
  read -r left top width height <<<"$rect"
  echo "$(((left + width / 2) / 15)) $(((top + height / 2) / 15))"
}
click_control() {
  local x y
  read -r x y <<<"$(control_centre "$2")"
  xdotool mousemove --window "$1" "$x" "$y" click 1
  sleep 0.2
}
field_control() { echo "field(Field::$1,"; }
button_control() { echo "button(\"$1\","; }

# The worked example, and the results the five buttons leave.
inputs=(D 200 PK1 190 PK2 175 PK3 155 PK4 130 PK5 100 PK6 65 H 600 M 420 Z 3 MD 7.65 dpxs 0.97)
buttons=(jh jmj Command3 zdh 铁心重量)
results=(jh1 jh2 jh3 jh4 jh5 jh6 jh7 jh8 jh9 jh22 jh32 jh42 jh52 jh62 jh72 jh82 jh92 txmj txjmj dh txz)

# Types the example into the calculator window, presses the buttons and
# writes "FIELD=TEXT" for every result field into FILE.
drive_calculator() {
  local window=$1 file=$2 i field
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  for ((i = 0; i < ${#inputs[@]}; i += 2)); do
    click_control "$window" "$(field_control "${inputs[i]}")"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 30 "${inputs[i + 1]}"
  done
  for field in "${buttons[@]}"; do
    click_control "$window" "$(button_control "$field")"
    sleep 0.5
  done
  : >"$file"
  for field in "${results[@]}"; do
    printf '' | xclip -selection clipboard
    click_control "$window" "$(field_control "$field")"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.3
    echo "$field=$(xclip -o -selection clipboard 2>/dev/null || true)" >>"$file"
  done
}

# Writes a screenshot of a window.
snapshot() {
  import -window "$1" "$2" 2>/dev/null || fail "no screenshot of window $1"
}

# 1. The calculator: Linux's, then Windows'.
say "the calculator"
QT_QPA_PLATFORM=xcb "$linux/app/kalvitra" >"$out/linux-kalvitra.log" 2>&1 &
started_pids+=($!)
drive_calculator "$(window_of '^Form1$')" "$out/linux-results.txt"
kill "${started_pids[-1]}"
wait "${started_pids[-1]}" 2>/dev/null || true

wine "$windows/kalvitra.exe" >"$out/windows-kalvitra.log" 2>&1 &
started_pids+=($!)
window=$(window_of '^Form1$')
drive_calculator "$window" "$out/windows-results.txt"
snapshot "$window" "$out/kalvitra-wine.png"
kill "${started_pids[-1]}"
wait "${started_pids[-1]}" 2>/dev/null || true

weight=$(sed -n 's/.*kCoreWeight = {Field::txz, "\([^"]*\)"}.*/\1/p' \
  "$root/tests/support/kalvitra/testing/worked_example.h")
grep -qx "txz=$weight" "$out/linux-results.txt" ||
  fail "the Linux window's weight is not the worked example's $weight: $(cat "$out/linux-results.txt")"
diff -u "$out/linux-results.txt" "$out/windows-results.txt" ||
  fail "the Windows calculator's results differ from the Linux window's"
say "all ${#results[@]} result fields equal the Linux window's (weight $weight kg)"

# 2. The designer. A design as the designers keep it, in a folder named in
#    Chinese; exports are written beside it under its name.
design_file() {
  mkdir -p "$1"
  printf '%s\n' '{' '    "kalvitra-design": 1,' '    "diameter": "200",' \
    '    "widthMode": "given",' '    "widths": "190 175 155 130 100 65"' '}' >"$1/core.kvd"
}
# Opens the File menu's Export submenu, picks an entry by its mnemonic and
# accepts the suggested file in the save dialog; waits for a new file in
# FOLDER and writes its name.
export_through_menu() {
  local window=$1 key=$2 folder=$3 dialog before file
  before=$(ls "$folder")
  # Now and then under Wine the menu does not take the first keys (the
  # window is not yet the active one): the menu is asked for again.
  for _ in 1 2 3; do
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    sleep 0.5
    xdotool key --clearmodifiers alt+f
    sleep 0.5
    xdotool key e
    sleep 0.5
    xdotool key "$key"
    dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '^Export (section|cut list)$' \
      2>/dev/null | head -1) && [[ -n $dialog ]] && break
    xdotool key --clearmodifiers Escape Escape Escape
  done
  [[ -n $dialog ]] || fail "no save dialog from the export menu's \"$key\""
  sleep 1
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key Return
  for _ in $(seq 100); do
    file=$(comm -13 <(echo "$before") <(ls "$folder") | head -1)
    if [[ -n $file && -s $folder/$file ]]; then
      # The dialog is gone before the next one is asked for.
      for _ in $(seq 50); do
        xdotool search --onlyvisible --name '^Export (section|cut list)$' >/dev/null 2>&1 || break
        sleep 0.2
      done
      sleep 0.5
      echo "$file"
      return 0
    fi
    sleep 0.2
  done
  fail "no new file in $folder from the export menu's \"$key\""
}
# Makes the exports of the open design into its folder, by the mnemonics of
# the Export submenu: section as SVG and DXF, cut list as DXF and CSV.
export_keys=(s d x c)
export_all() {
  local window=$1 folder=$2 key
  for key in "${export_keys[@]}"; do
    export_through_menu "$window" "$key" "$folder" >>"$folder/../exports.txt"
  done
}

say "the designer"
linux_folder=$out/linux/设计
design_file "$linux_folder"
QT_QPA_PLATFORM=xcb "$linux/designer/kalvitra-designer" --lang en "$linux_folder/core.kvd" \
  >"$out/linux-designer.log" 2>&1 &
started_pids+=($!)
export_all "$(window_of '^core — Core designer$')" "$linux_folder"
kill "${started_pids[-1]}"
wait "${started_pids[-1]}" 2>/dev/null || true

windows_folder=$out/windows/设计
design_file "$windows_folder"
wine "$windows/kalvitra-designer.exe" --lang en "$(winepath -w "$windows_folder/core.kvd")" \
  >"$out/windows-designer.log" 2>&1 &
started_pids+=($!)
window=$(window_of '^core — Core designer$')
sleep 1
snapshot "$window" "$out/designer-wine.png"
export_all "$window" "$windows_folder"
kill "${started_pids[-1]}"
wait "${started_pids[-1]}" 2>/dev/null || true
diff -u "$out/linux/exports.txt" "$out/windows/exports.txt" ||
  fail "the Windows designer suggested other file names than the Linux designer"
mapfile -t exports <"$out/linux/exports.txt"
((${#exports[@]} == ${#export_keys[@]})) || fail "not every export was made: ${exports[*]}"
for file in "${exports[@]}"; do
  cmp "$linux_folder/$file" "$windows_folder/$file" ||
    fail "the Windows designer's $file differs from the Linux designer's"
done
say "the exports ${exports[*]} are the Linux designer's, byte for byte"

# 3. The installer, into a Wine prefix of its own that has never seen
#    Kalvitra: what a fresh Windows has is listed first, so that what the
#    uninstaller leaves is seen whatever it is.
say "the installer"
wine_files() {
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -path ./users -prune -o -print |
    sort)
}
wait_until() {
  local what=$1
  shift
  for _ in $(seq 150); do
    "$@" && return 0
    sleep 0.2
  done
  fail "$what"
}
registry_has() { wine reg query "$1" >/dev/null 2>&1; }
(
  export WINEPREFIX=$out/fresh-prefix
  trap 'wineserver -k 2>/dev/null || true' EXIT
  wineboot --init >"$out/fresh-prefix.log" 2>&1 || { cat "$out/fresh-prefix.log" >&2; exit 1; }
  wine_files >"$out/files-before.txt"
  program_files="$WINEPREFIX/drive_c/Program Files/Kalvitra"
  start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"

  wine "$installer" /S >"$out/install.log" 2>&1 || fail "the silent install failed"
  (cd "$windows" && find . -type f | sort) >"$out/staged.txt"
  (cd "$program_files" && find . -type f ! -name uninstall.exe | sort) >"$out/installed.txt"
  diff -u "$out/staged.txt" "$out/installed.txt" || fail "the installer installed other files"
  for entry in Kalvitra "Core designer"; do
    [[ -f "$start_menu/$entry.lnk" ]] || fail "no Start-menu entry \"$entry\""
  done
  for type in .kvs:kalvitra.exe .kvd:kalvitra-designer.exe; do
    progid=$(wine reg query "HKLM\\Software\\Classes\\${type%%:*}" /ve 2>/dev/null |
      sed -n 's/.*REG_SZ[[:space:]]*//p' | tr -d '\r')
    wine reg query "HKLM\\Software\\Classes\\$progid\\shell\\open\\command" /ve 2>/dev/null |
      grep -q "Kalvitra\\\\${type#*:}\" \"%1\"" || fail "${type%%:*} does not open in ${type#*:}"
  done
  say "installed silently: ${program_files#"$WINEPREFIX/"}, Start-menu entries, .kvs and .kvd"

  # The installed windows start through their file types, as a double
  # click in Explorer starts them.
  mkdir -p "$out/installed"
  cp "$windows_folder/core.kvd" "$out/installed/core.kvd"
  wine start /unix "$out/installed/core.kvd" >"$out/open-kvd.log" 2>&1
  window=$(window_of '^core — Core designer$')
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers alt+F4
  printf 'D=200\nPK1=190\n' >"$out/installed/sheet.kvs"
  wine start /unix "$out/installed/sheet.kvs" >"$out/open-kvs.log" 2>&1
  window=$(window_of '^Form1$')
  click_control "$window" "$(button_control exit)"
  say "the installed windows open .kvd and .kvs files"
  # Whatever is still open ends with this prefix's server before uninstalling.
  sleep 1
  wineserver -k 2>/dev/null || true
  wineserver -w

  wine "$program_files/uninstall.exe" /S >"$out/uninstall.log" 2>&1 || fail "the uninstall failed"
  # The uninstaller runs from a copy of itself in the temporary folder.
  wait_until "the uninstaller left ${program_files#"$WINEPREFIX/"}" test ! -e "$program_files"
  wineserver -w
  wine_files >"$out/files-after.txt"
  diff -u "$out/files-before.txt" "$out/files-after.txt" ||
    fail "the uninstaller left files behind"
  for entry in Kalvitra "Core designer"; do
    [[ ! -e "$start_menu/$entry.lnk" ]] || fail "the Start-menu entry \"$entry\" is left"
  done
  for key in 'HKLM\Software\Kalvitra' 'HKLM\Software\Classes\.kvs' 'HKLM\Software\Classes\.kvd' \
    'HKLM\Software\Classes\Kalvitra.Sheet' 'HKLM\Software\Classes\Kalvitra.Design' \
    'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvitra'; do
    ! registry_has "$key" || fail "the uninstaller left the registry key $key"
  done
)
say "uninstalled silently: no file, Start-menu entry or registry key left"
