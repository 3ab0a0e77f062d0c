#!/usr/bin/env bash
# Gives the Wine prefix in WINEPREFIX what a Chinese Windows desktop has: a
# Chinese UI face under the name Microsoft YaHei. Microsoft's own font is not
# to be had here, so Debian's WenQuanYi Micro Hei (fonts-wqy-microhei) goes
# into the prefix's Fonts folder, registered as Windows registers a font, and
# Wine answers for Microsoft YaHei with it.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/strict.sh"

font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[[ -f $font ]] || { echo "chinese_font.sh: $font is missing (fonts-wqy-microhei)" >&2; exit 1; }
fonts=$WINEPREFIX/drive_c/windows/Fonts
if ! cmp -s "$font" "$fonts/wqy-microhei.ttc"; then
  mkdir -p "$fonts"
  cp "$font" "$fonts/wqy-microhei.ttc"
fi
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
  /v 'WenQuanYi Micro Hei & WenQuanYi Micro Hei Mono (TrueType)' /d wqy-microhei.ttc /f \
  >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft YaHei' \
  /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
