#!/usr/bin/env bash
# demo-window.sh [--interactive]
# The Windows program under Wine on the simulated phone. The phone simulator
# already stands beside Quillfern.exe under the ADB client's file name (the
# Windows build puts it there); this script gives it a scenario folder beside
# it, "phone-scenario", so the program finds a rooted phone with live and
# deleted records. Only build and demo trees get the simulator: a folder for
# users gets a real ADB client instead.
#
# Headless (the default): in a virtual display the program first finds no
# phone, then the phone is attached and Refresh pressed; screenshots of the
# connect page and of the loaded data page go to build/demo/, and the
# program is closed with its close button. With --interactive (needs a
# display) the window stays for the person to use.
set -euo pipefail
source "$(dirname "$0")/common.sh"
demo=$build/demo
program=$build/win/program
scenario=$program/phone-scenario
fixtures=${QF_DEMO_BUILD:-$build/native}/tools/fixtures/make-fixtures
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
title="Tarnwick Quillfern for Android"

phone() { bash "$root/tools/phone-sim/make-scenario.sh" "$scenario" "$1" "$fixtures"; }

# Waits up to $2 seconds for the file $1 to contain the text $3.
wait_for_line() {
  for _ in $(seq $(( $2 * 4 ))); do
    grep -qF "$3" "$1" 2>/dev/null && return 0
    sleep 0.25
  done
  return 1
}

# The window's place on the screen: sets X Y W H.
window_geometry() {
  local id
  id=$(xdotool search --onlyvisible --name "^$title\$" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  X=$X; Y=$Y; W=$WIDTH; H=$HEIGHT
}

shot() {  # NAME: the window alone into build/demo/NAME.png
  import -window root "$demo/$1.full.png"
  convert "$demo/$1.full.png" -crop "${W}x${H}+${X}+${Y}" +repage "$demo/$1.png"
  rm -f "$demo/$1.full.png"
  echo "   $demo/$1.png"
}

click() {  # client X Y of the window
  xdotool mousemove $(( X + $1 )) $(( Y + $2 )) sleep 0.3 click 1
}

if [ "${1:-}" = "--inside-xvfb" ]; then
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1
  phone no-device
  wine "$program/Quillfern.exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  wait_for_line "$scenario/commands.log" 30 devices || { echo "the program did not ask for devices"; exit 1; }
  sleep 2
  window_geometry
  shot connect-page
  echo "== a rooted phone is attached; pressing Refresh"
  phone device
  click $(( W - 80 )) $(( H - 50 ))
  wait_for_line "$scenario/commands.log" 120 "chmod	660	/data/data/com.android.providers.telephony/databases/mmssms.db-wal" ||
    echo "the pull did not finish"
  sleep 4
  shot data-page
  click $(( W - 17 )) 14
  for _ in $(seq 40); do kill -0 $pid 2>/dev/null || break; sleep 0.25; done
  if kill -0 $pid 2>/dev/null; then echo "== the window did not close; ending Wine"; else echo "== closed by its close button"; fi
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  exit 0
fi

bash "$root/scripts/wine-prefix.sh" "$WINEPREFIX"
mkdir -p "$demo"
if [ "${1:-}" = "--interactive" ]; then
  [ -n "${DISPLAY:-}" ] || { echo "--interactive needs a display"; exit 1; }
  phone device
  echo "== Tarnwick Quillfern for Android on the simulated phone; close the window to end"
  wine "$program/Quillfern.exe" </dev/null
  wineserver -k 2>/dev/null || true
else
  echo "== Tarnwick Quillfern for Android under Wine in a virtual display"
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside-xvfb
fi
