#!/usr/bin/env bash
# win-ctest.sh BUILD_DIR [ctest arguments...]
# Runs ctest for a Windows build under Wine inside Xvfb, with one persistent
# wineserver for the whole run (a cold Wine start per test costs seconds, and
# Wine's background services would otherwise hold ctest's output pipes open).
# Set WINEPREFIX to use another prefix than build/wineprefix.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=$(cd "$here/.." && pwd)/build/wineprefix}"
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"

if [ "${1:-}" = "--inside-xvfb" ]; then
  shift
  build=$1; shift
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1
  # Wine closes an unused desktop and starts a new explorer.exe for the next
  # window program; that explorer.exe would hold the starting test's output
  # pipe open until ctest's time-out. The keeper holds the desktop all along
  # (the wineserver -k below ends it).
  keeper="$build/tests/wine_desktop/desktop_keeper.exe"
  if [ -f "$keeper" ]; then
    wine "$keeper" </dev/null >/dev/null 2>&1 &
  fi
  # The window program starts more of Wine's services (the desktop, COM,
  # networking); started here, they hold no test's output pipe open later.
  if [ -f "$build/program/Quillfern.exe" ]; then
    QF_PHONE_SCENARIO="$build/no-phone" timeout 60 wine "$build/program/Quillfern.exe" --smoke-test \
      </dev/null >/dev/null 2>&1 || true
  fi
  ctest --test-dir "$build" --output-on-failure "$@"
  rc=$?
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  exit $rc
fi

bash "$here/wine-prefix.sh" "$WINEPREFIX" || exit 1
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inside-xvfb "$@"
