#!/usr/bin/env bash
# Builds Kalvitra's Windows installer from an installed folder:
#   packaging/windows/installer.sh STAGE VERSION OUTFILE
# STAGE is what `cmake --install` put into a folder for Windows (the
# programs, Qt's DLLs and plugins, LICENSES.txt). Every file in it is named
# once for the installer and once for the uninstaller, so that the
# uninstaller removes what was installed and nothing else.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/strict.sh"

stage=$(cd "$1" && pwd)
version=$2
outfile=$(realpath -m "$3")
[[ -f $stage/LICENSES.txt && -f $stage/kalvitra.exe && -f $stage/kalvitra-designer.exe ]] ||
  { echo "installer.sh: $stage is not an installed Kalvitra for Windows" >&2; exit 1; }

files=$(mktemp "${TMPDIR:-/tmp}/kalvitra-files.XXXXXX.nsh")
at_exit "rm -f -- '$files'"
windows_path() { tr '/' '\\' <<<"$1"; }
{
  echo '!ifdef INSTALL_SECTION'
  (cd "$stage" && find . -type d | sort) | while read -r dir; do
    relative=${dir#.}
    echo "SetOutPath \"\$INSTDIR$(windows_path "$relative")\""
    find "$stage$relative" -maxdepth 1 -type f | sort | while read -r file; do
      echo "File \"$file\""
    done
  done
  echo '!endif'
  echo '!ifdef UNINSTALL_SECTION'
  (cd "$stage" && find . -type f | sort) | while read -r file; do
    echo "Delete \"\$INSTDIR$(windows_path "${file#.}")\""
  done
  # The deepest folders first; $INSTDIR itself last, by the script.
  (cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
    echo "RMDir \"\$INSTDIR$(windows_path "${dir#.}")\""
  done
  echo '!endif'
} >"$files"

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DFILES="$files" \
  -DOUTFILE="$outfile" "$(dirname "${BASH_SOURCE[0]}")/kalvitra.nsi"
