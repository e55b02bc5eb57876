#!/usr/bin/env bash
# ui-screenshots.sh BUILD_DIR
# Shows each skinned dialog (the message box with every icon and button set,
# a short and a wrapped text, and the about box) and the data page's tree,
# list and preview panes filled with sample records under Wine in Xvfb and saves
# a screenshot of each as BUILD_DIR/screenshots/<variant>.png. Needs the
# Windows build's ui_gallery and skin (cmake --build BUILD_DIR --target ui_gallery).
# Set WINEPREFIX to use another prefix than build/wineprefix.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=$(cd "$here/.." && pwd)/build/wineprefix}"
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"

variants=(
  msg-warn-ok msg-error-okcancel msg-info-yesno msg-success-yes
  msg-warn-yesno msg-info-yesno-long msg-error-ok-long about
  data-contacts data-messages data-files picture-small
)

if [ "${1:-}" = "--inside-xvfb" ]; then
  build=$2
  out=$build/screenshots
  mkdir -p "$out"
  gallery=$build/tools/skin/ui_gallery.exe
  skin=$(winepath -w "$build/program/image" 2>/dev/null)
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1
  rc=0
  # One more with the pointer resting on the first button: its hover frame.
  wine "$gallery" "$skin" msg-info-yesno 3000 </dev/null >/dev/null 2>&1 &
  pid=$!
  sleep 1.5
  # The box is centred on the 1280 x 1024 screen; Yes sits left of centre.
  xdotool mousemove $((640 - 50)) $((512 + 70)) 2>/dev/null
  sleep 0.5
  import -window root "$out/hover.full.png"
  convert "$out/hover.full.png" -bordercolor black -border 1 -trim +repage "$out/msg-info-yesno-hover.png"
  rm -f "$out/hover.full.png"
  xdotool mousemove 5 5 2>/dev/null
  wait "$pid" || rc=1
  for v in "${variants[@]}"; do
    wine "$gallery" "$skin" "$v" 2500 </dev/null >/dev/null 2>&1 &
    pid=$!
    sleep 1.5
    # The root window is black; the dialog is the only thing on it.
    import -window root "$out/$v.full.png"
    convert "$out/$v.full.png" -bordercolor black -border 1 -trim +repage "$out/$v.png"
    rm -f "$out/$v.full.png"
    wait "$pid" || { echo "ui-screenshots: $v failed (exit $?)"; rc=1; }
    echo "$out/$v.png $(identify -format '%wx%h' "$out/$v.png")"
  done
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  exit $rc
fi

build=$(cd "${1:?usage: ui-screenshots.sh BUILD_DIR}" && pwd)
[ -f "$build/tools/skin/ui_gallery.exe" ] || { echo "ui-screenshots: build ui_gallery first"; exit 1; }
bash "$here/wine-prefix.sh" "$WINEPREFIX" || exit 1
exec xvfb-run -a -s "-screen 0 1280x1024x24 -br" bash "$0" --inside-xvfb "$build"
