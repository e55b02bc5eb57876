#!/usr/bin/env bash
# The program's main job on built-in demo data: recovers contacts and messages
# from a simulated phone, carves the demo SD card, then runs the Windows
# program under Wine on the simulated phone: headless (the default) it keeps
# screenshots of the connect page and the loaded data page in build/demo/;
# with --interactive (needs a display) it leaves the window to use.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/bootstrap.sh"
bash "$root/scripts/demo-phone.sh"
echo
bash "$root/scripts/demo-carve.sh"
echo
echo "== building the Windows program (log: build/logs/build-win.log)"
configure_win || { tail -n 30 "$build/logs/build-win.log"; exit 1; }
bash "$root/scripts/demo-window.sh" "$@"
