#!/usr/bin/env bash
# Builds the demo SD-card image: an MBR with one FAT32 partition starting at
# 1 MiB, real files of several formats copied in, some of them deleted again.
#
#   make-demo-card.sh OUT_DIR
#
# OUT_DIR/card.img        the card (40 MiB)
# OUT_DIR/originals/      every file that was copied onto the card
# OUT_DIR/deleted.txt     names of the files deleted from the card
#
# The file system uses 512-byte clusters and is filled once, in order, so every
# file lies in one run of whole sectors: a deleted file's bytes stay on the
# card, contiguous and sector-aligned, until something overwrites them.
# Needs: ImageMagick (convert), mtools, dosfstools, python3.
set -euo pipefail

out=${1:?usage: make-demo-card.sh OUT_DIR}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
orig=$work/originals
mkdir -p "$orig"

# Pictures made by ImageMagick with fixed seeds, so every build makes the
# same bytes.
convert -size 640x480 -seed 11 plasma:fractal -quality 88 "$orig/beach.jpg"
convert -size 320x240 gradient:navy-orange -quality 90 "$orig/sunset.jpg"
convert -size 1024x768 -seed 5 plasma:fractal -quality 92 "$orig/garden.jpg"
convert -size 200x150 -seed 3 plasma:fractal "$orig/diagram.png"
convert -size 120x90 -seed 9 plasma:fractal -colors 64 "$orig/sticker.gif"
convert -size 160x120 gradient:white-green "BMP3:$orig/icon.bmp"
convert -size 300x200 -seed 4 plasma:fractal -quality 85 "$orig/kept.jpg"

# Mixed-case tags; no line break after the closing tag, where a carved HTML
# file ends.
printf '%s\n' '<HTML>' '<head><title>Trip notes</title></head>' \
  '<body><p>Ferry at 9:40, bring the charger.</p></body>' > "$orig/notes.html"
printf '</HTML>' >> "$orig/notes.html"
printf 'shopping list\nmilk\nbread\n' > "$work/list.txt"
printf 'call the dentist on monday\n' > "$work/todo.txt"
python3 - "$orig/papers.zip" "$work/list.txt" "$work/todo.txt" <<'PY'
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    for path in sys.argv[2:]:
        z.write(path, os.path.basename(path))
PY

# The partition: FAT32, one 512-byte sector per cluster.
part_sectors=$(( (40 - 1) * 2048 ))
rm -f "$work/part.img"
mkfs.fat -F 32 -s 1 -n DEMOCARD -i 20261208 -C "$work/part.img" $(( part_sectors / 2 )) >/dev/null
export MTOOLS_SKIP_CHECK=1
for f in beach.jpg diagram.png sunset.jpg notes.html sticker.gif kept.jpg papers.zip icon.bmp garden.jpg; do
  mcopy -i "$work/part.img" "$orig/$f" "::$f"
done
deleted=(beach.jpg diagram.png sunset.jpg notes.html sticker.gif papers.zip icon.bmp garden.jpg)
for f in "${deleted[@]}"; do mdel -i "$work/part.img" "::$f"; done

# The card: an MBR with one FAT32 (LBA, type 0x0C) entry at sector 2048.
python3 - "$work/card.img" "$work/part.img" "$part_sectors" <<'PY'
import struct, sys
card, part, sectors = sys.argv[1], sys.argv[2], int(sys.argv[3])
mbr = bytearray(512)
# Partition entry: status, CHS first (unused), type, CHS last, LBA first, sector count.
mbr[446:462] = struct.pack('<B3sB3sII', 0x00, b'\xfe\xff\xff', 0x0C, b'\xfe\xff\xff', 2048, sectors)
mbr[510:512] = b'\x55\xaa'
with open(part, 'rb') as p, open(card, 'wb') as c:
    c.write(mbr)
    c.write(bytes(2048 * 512 - 512))
    while True:
        block = p.read(1 << 20)
        if not block:
            break
        c.write(block)
PY

rm -rf "$out/originals"
mv "$orig" "$out/originals"
printf '%s\n' "${deleted[@]}" > "$out/deleted.txt"
mv "$work/card.img" "$out/card.img"
