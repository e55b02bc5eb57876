#!/usr/bin/env bash
# wine-prefix.sh PREFIX
# Makes a private 64-bit Wine prefix for the tests and the demo, once, without
# dialogs: fonts GDI and GDI+ can find by name (CJK text included), no crash
# dialog.
set -euo pipefail
prefix=$1
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
[ -f "$prefix/.quillfern-ready-v2" ] && exit 0
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
wineboot --init </dev/null >/dev/null 2>&1 || true
wineserver -w || true
# Debian's Wine does not load its own fonts and has no Arial or Courier New.
mkdir -p "$prefix/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
reg=$(mktemp --suffix=.reg)
cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Courier New"="Liberation Mono"
"Times New Roman"="Liberation Serif"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
wine regedit /S "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
# Names in Chinese, Japanese or Korean: the faces the program draws with fall
# back to the system's CJK font (Windows links its own CJK fonts the same way).
for face in Tahoma Arial "Liberation Sans" "Courier New" "Liberation Mono" "Microsoft Sans Serif" \
  "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
    /t REG_MULTI_SZ /d "wqy-zenhei.ttc,WenQuanYi Zen Hei" /f </dev/null >/dev/null 2>&1
done
wineserver -w || true
rm -f "$reg"
touch "$prefix/.quillfern-ready-v2"
