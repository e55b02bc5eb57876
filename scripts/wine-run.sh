#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's private prefix. Used by
# ctest as the cross-compiling emulator; standard input is never a terminal.
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=$(cd "$here/.." && pwd)/build/wineprefix}"
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
exec wine "$@" </dev/null
