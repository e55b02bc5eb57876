#!/usr/bin/env bash
# Makes the downloads in dist/: the Windows release folder Quillfern-VERSION/,
# its zip and its installer, and the Debian package of the command-line tool.
# Builds only what they need (logs: build/logs/build-*-release.log).
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$root/scripts/bootstrap.sh"
echo "== building the release (log: build/logs/build-release.log)"
configure_release || { tail -n 30 "$build/logs/build-release.log"; exit 1; }
grep -E '^/.*dist/' "$build/logs/build-release.log" | sed "s|^$root/||"
