#!/usr/bin/env bash
# The whole flow in the Windows program under Wine, headless: the simulated
# phone beside the program and the demo card (plus an empty 40 GiB sparse card image
# that keeps a scan running long enough to be seen) on its command line.
# Screenshots go to build/demo/window-*.png; the recovered folder is moved to
# build/demo/recovered/ and its carved files are matched to the card's
# originals by SHA-256. Needs the Windows build, the native fixture builder
# and the demo card (demo.sh builds them).
set -euo pipefail
source "$(dirname "$0")/common.sh"
demo=$build/demo
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
title="Tarnwick Quillfern for Android"

if [ "${1:-}" = "--inside-xvfb" ]; then
  card=$2 blank=$3
  shot() { import -window root -crop "984x674+$wx+$wy" "$demo/window-$1.png"; echo "  screenshot: build/demo/window-$1.png ($2)"; }
  click() { xdotool mousemove $((wx + $1)) $((wy + $2)) click 1; sleep "${3:-1}"; }
  wineserver -p
  wine "$build/win/program/Quillfern.exe" "$(winepath -w "$card")" "$(winepath -w "$blank")" </dev/null >/dev/null 2>&1 &
  main=$(xdotool search --sync --onlyvisible --name "$title" | head -n 1)
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$main")"
  wx=$X wy=$Y
  sleep 11                      # the pull, the two readers, the demo card
  shot 2-scan "the scan of the empty card in progress"
  sleep 3
  shot 1-contacts "the contacts, deleted ones in red"
  click 540 70 3                # Stop the scan of the empty card
  click 70 94                   # the Message item
  click 480 164 2               # its first conversation
  shot 3-conversation "a conversation"
  click 90 144 2                # the card's first folder
  click 480 164 3               # its first picture
  shot 4-picture "a carved picture previewed"
  click 380 70 3                # Recover: the folder browser opens on the Desktop
  xdotool key Return
  sleep 6
  dialog=$(xdotool search --onlyvisible --name "$title" | grep -v "^$main\$" | head -n 1 || true)
  if [ -n "$dialog" ]; then
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" "$demo/window-5-recovered.png"
    echo "  screenshot: build/demo/window-5-recovered.png (the recover dialog at its end)"
    xdotool mousemove $((X + 287 + 30)) $((Y + 200 + 12)) click 1
    sleep 1
  fi
  click $((984 - 17)) 14 2      # close the program
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  exit 0
fi

mkdir -p "$demo"
rm -f "$demo"/window-*.png
# The cards live on another volume than the folder recovered into (the
# program refuses to write onto a volume it reads deleted files from).
cards=$(mktemp -d /dev/shm/quillfern-demo.XXXXXX)
trap 'rm -rf "$cards"' EXIT
card=$cards/card.img
blank=$cards/blank-card.img
cp "$build/win/demo-card/card.img" "$card"
truncate -s 40G "$blank"
scenario=$demo/window-phone-scenario
bash "$root/tools/phone-sim/make-scenario.sh" "$scenario" device "$build/native/tools/fixtures/make-fixtures"
export QF_PHONE_SCENARIO=$scenario
desktop=$WINEPREFIX/drive_c/users/$(id -un)/Desktop
desktop=$(readlink -f "$desktop")
before=$(ls -d "$desktop"/RoduderOzuzerev* 2>/dev/null || true)
echo "== the Windows program: the demo phone and the demo card, driven through its window"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside-xvfb "$card" "$blank"
run=$(ls -d "$desktop"/RoduderOzuzerev* 2>/dev/null | grep -vxF -e "$before" | tail -n 1 || true)
[ -n "$run" ] || { echo "no recovered folder appeared on the Desktop ($desktop)"; exit 1; }
rm -rf "$demo/recovered"
mv "$run" "$demo/recovered"
echo "== recovered into build/demo/recovered/ ($(basename "$run")):"
(cd "$demo/recovered" && find . -type f | sort | sed 's/^\.\//  /')
for manifest in "$demo"/recovered/disk*/manifest.csv; do
  [ -f "$manifest" ] || continue
  echo "== carved files against the card's originals (SHA-256):"
  tail -n +2 "$manifest" | while IFS=, read -r name type offset size sha _validated; do
    original=$(cd "$build/win/demo-card/originals" && sha256sum -- * | awk -v h="$sha" '$1 == h { print $2; exit }')
    printf '  %-16s %8s bytes  %s\n' "$name" "$size" "${original:+= originals/$original}"
  done
done
