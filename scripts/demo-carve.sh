#!/usr/bin/env bash
# The carve command on the built-in demo SD card: builds the command-line
# program and the card (native build folder), carves the card into
# build/demo/carved/ and lists what came back, checked against the originals.
set -euo pipefail
source "$(dirname "$0")/common.sh"
dir=${QF_DEMO_BUILD:-$build/native}
mkdir -p "$build/logs" "$build/demo"
echo "== building quillfern and the demo card (log: build/logs/build-demo-carve.log)"
{ cmake -S "$root" -B "$dir" -G Ninja && cmake --build "$dir" --target quillfern demo_card -j "$jobs"; } \
  > "$build/logs/build-demo-carve.log" 2>&1 || { tail -n 30 "$build/logs/build-demo-carve.log"; exit 1; }

card=$dir/demo-card
out=$build/demo/carved
rm -rf "$out"
echo "== the card: $(stat -c %s "$card/card.img") bytes, FAT32 at 1 MiB; deleted from it: $(tr '\n' ' ' < "$card/deleted.txt")"
"$dir/tools/quillfern/quillfern" carve "$card/card.img" --out "$out"
echo "== recovered files (manifest: $out/manifest.csv)"
tail -n +2 "$out/manifest.csv" | while IFS=, read -r name type offset size sha _validated; do
  original=$(cd "$card/originals" && sha256sum -- * | awk -v h="$sha" '$1 == h { print $2; exit }')
  printf '  %-16s %8s bytes at %9s  %s\n' "$name" "$size" "$offset" "${original:+= originals/$original}"
done
