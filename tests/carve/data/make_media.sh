#!/usr/bin/env bash
# Regenerates the small media files the carving tests place into disk images.
# Made with Debian's ImageMagick and ffmpeg; the EXIF wrapper around an
# ImageMagick thumbnail is spliced in by python3. Run from this folder.
set -euo pipefail
cd "$(dirname "$0")"
ff() {  # ff INPUT-ARGS... -- OUTPUT-ARGS... OUT
  local in=()
  while [ "$1" != "--" ]; do in+=("$1"); shift; done
  shift
  ffmpeg -hide_banner -loglevel error -y "${in[@]}" -bitexact -map_metadata -1 "$@"
}

convert -size 64x48 gradient:red-blue -quality 85 photo_jfif.jpg
convert -seed 3 -size 160x120 plasma: -quality 80 exif_main.jpg
convert -seed 4 -size 32x24 plasma: -quality 70 exif_thumb.jpg
python3 - <<'PY'
import struct
main = open('exif_main.jpg', 'rb').read()
thumb = open('exif_thumb.jpg', 'rb').read()
# TIFF (little-endian): IFD0 with no entries pointing at IFD1, whose
# JPEGInterchangeFormat (0x0201) and its length (0x0202) locate the thumbnail.
ifd0 = struct.pack('<H', 0) + struct.pack('<I', 14)
ifd1_entries = [(0x0201, 4, 1, 14 + 2 + 2 * 12 + 4), (0x0202, 4, 1, len(thumb))]
ifd1 = struct.pack('<H', len(ifd1_entries)) + b''.join(struct.pack('<HHII', *e) for e in ifd1_entries) + struct.pack('<I', 0)
tiff = b'II*\x00' + struct.pack('<I', 8) + ifd0 + ifd1 + thumb
app1 = b'Exif\x00\x00' + tiff
segment = b'\xff\xe1' + struct.pack('>H', len(app1) + 2) + app1
# Drop the JFIF APP0 so the file starts FF D8 FF E1 as cameras write it.
assert main[2:4] == b'\xff\xe0'
app0_len = struct.unpack('>H', main[4:6])[0]
open('photo_exif_thumb.jpg', 'wb').write(main[:2] + segment + main[4 + app0_len:])
PY
rm exif_main.jpg exif_thumb.jpg
convert -size 80x60 gradient:yellow-green picture.png
convert -size 4000x2 xc:white too_wide.png
convert -size 32x32 gradient:white-black GIF87:still_87a.gif
# Noisy frames: their LZW data holds the bytes 00 3B long before the trailer.
convert -seed 2 -delay 10 -size 64x64 plasma: plasma: plasma: plasma: +noise Random -loop 0 animated_89a.gif
convert -size 40x30 gradient:blue-white BMP3:picture.bmp
convert -size 1x2001 xc:white BMP3:too_tall.bmp
ff -f lavfi -i testsrc=size=64x48:rate=25 -- -t 1 -c:v mpeg1video -f mpeg program.mpg
ff -f lavfi -i testsrc=size=64x48:rate=5 -- -t 1 -c:v mjpeg -q:v 10 -movflags +faststart movie_faststart.mov
ff -f lavfi -i testsrc=size=64x48:rate=5 -- -t 1 -c:v mjpeg -q:v 10 movie_moov_last.mov
ff -f lavfi -i testsrc=size=64x48:rate=5 -- -t 1 -c:v mjpeg -q:v 10 -f avi clip.avi
ff -f lavfi -i sine=frequency=440:duration=0.1 -- -ar 8000 -c:a pcm_s16le tone.wav
ff -f lavfi -i testsrc=size=64x48:rate=5 -- -t 1 -c:v wmv2 -f asf clip.wmv
