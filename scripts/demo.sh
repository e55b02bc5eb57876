#!/usr/bin/env bash
# The program's main job on built-in demo data: recovers contacts and messages
# from a simulated phone, carves the demo SD card, then runs the Windows
# program under Wine (in a virtual display when there is no screen) and keeps
# a screenshot of its window in build/demo/.
set -euo pipefail
source "$(dirname "$0")/common.sh"
demo=$build/demo
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"

if [ "${1:-}" = "--inside-xvfb" ]; then
  wine "$build/win/program/Quillfern.exe" --smoke-test </dev/null &
  pid=$!
  sleep 1.5
  import -window root "$demo/screenshot.png" 2>/dev/null || true
  wait $pid
  exit 0
fi

bash "$root/scripts/bootstrap.sh"
bash "$root/scripts/demo-phone.sh"
echo
bash "$root/scripts/demo-carve.sh"
echo
echo "== building the Windows program (log: build/logs/build-win.log)"
configure_win || { tail -n 30 "$build/logs/build-win.log"; exit 1; }
bash "$root/scripts/wine-prefix.sh" "$WINEPREFIX"
mkdir -p "$demo"

echo "== starting Tarnwick Quillfern for Android under Wine"
if [ -n "${DISPLAY:-}" ]; then
  wine "$build/win/program/Quillfern.exe" </dev/null
else
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside-xvfb
  echo "screenshot of the window: build/demo/screenshot.png"
fi
wineserver -k 2>/dev/null || true

# The whole flow through the window: records, scan, preview, recover.
bash "$root/scripts/demo-window.sh"
