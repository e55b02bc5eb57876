#!/usr/bin/env bash
# The whole `quillfern carve` run on a 1 GiB card image against a plain
# pipeline doing the same physical work: read the image once, write the bytes
# of the files the carve run found, and SHA-256 them with the same library
# (OpenSSL's, through python's hashlib). Prints both runs' CPU time, wall time
# and peak resident memory, and the CPU ratio.
#
#   bash bench/carve_end_to_end.sh [BUILD_DIR]     (default build/native)
#
# The image is made once (files by ImageMagick, ffmpeg, Ghostscript and zip,
# copies of them at random sectors over random filler) into BUILD_DIR/bench-carve
# and used again by later runs. Both runs read it from the page cache.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/native}" && pwd)
tool=$build/tools/quillfern/quillfern
work=$build/bench-carve
image=$work/card-v1.img
mkdir -p "$work"
[ -x "$tool" ] || { echo "build the quillfern target first" >&2; exit 1; }

make_files() {
  local d=$work/files
  rm -rf "$d" && mkdir -p "$d" && cd "$d"
  local ff=(ffmpeg -hide_banner -loglevel error -y)
  convert -seed 1 -size 3000x2000 xc:gray +noise Random -quality 90 photo.jpg
  convert -seed 2 -size 1200x900 xc:gray +noise Random screenshot.png
  convert -seed 3 -size 640x480 plasma: small.jpg
  "${ff[@]}" -f lavfi -i testsrc2=size=1280x720:rate=30 -f lavfi -i sine=frequency=440 -t 8 \
    -c:v mpeg4 -q:v 2 -c:a aac -shortest video.mp4
  "${ff[@]}" -f lavfi -i testsrc2=size=720x576:rate=25 -t 6 -c:v mpeg2video -q:v 2 -f vob movie.mpg
  "${ff[@]}" -f lavfi -i sine=frequency=440:duration=30 -ac 2 -ar 44100 -c:a pcm_s16le voice.wav
  head -c 12000000 /dev/urandom > payload.bin && zip -q -0 archive.zip payload.bin && rm payload.bin
  printf '%%!PS\n/Helvetica findfont 24 scalefont setfont 72 720 moveto (Quillfern) show showpage\n' > p.ps
  gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -o document.pdf p.ps && rm p.ps
  cd - >/dev/null
}

# The image, and beside it the list of the files placed (offset, size,
# SHA-256, name): the placements follow from a fixed seed.
make_image() {
  [ -f "$image" ] && [ -f "$image.files" ] && return
  [ -d "$work/files" ] || make_files
  python3 - "$work/files" "$image" <<'PY'
import hashlib, os, random, sys
files_dir, image = sys.argv[1], sys.argv[2]
size = 1 << 30
rnd = random.Random(16)
names = sorted(os.listdir(files_dir))
files = [open(os.path.join(files_dir, n), 'rb').read() for n in names]
placements, at = [], 8192
while True:
    k = rnd.randrange(len(files))
    if at + len(files[k]) > size - (1 << 20):
        break
    placements.append((at, k))
    at = (at + len(files[k]) + rnd.randrange(64 << 10, 1 << 20)) // 512 * 512 + rnd.choice([0, 0, 0, 4096 - 512])
if not os.path.exists(image):
    with open(image + '.tmp', 'wb') as out:
        for _ in range(size // (4 << 20)):
            out.write(os.urandom(4 << 20))
        for at, k in placements:
            out.seek(at); out.write(files[k])
    os.rename(image + '.tmp', image)
with open(image + '.files', 'w') as out:
    for at, k in placements:
        out.write('%d %d %s %s\n' % (at, len(files[k]), hashlib.sha256(files[k]).hexdigest(), names[k]))
print('image: %d files, %d MiB placed' % (len(placements), sum(len(files[k]) for _, k in placements) >> 20))
PY
}

# CPU seconds (user + system), wall seconds, peak RSS (KiB) and bytes read of
# a command. Bytes read come from the kernel's count of read() calls: a parent
# gains each child's count when it waits for it, so the wrapper's count before
# and after the run tells what the command read (the image, page cache or not,
# and a few small files).
measure() {  # NAME COMMAND...
  local name=$1; shift
  cat > "$work/count_reads.py" <<'PY'
import subprocess, sys
def rchar():
    return int(next(l for l in open('/proc/self/io') if l.startswith('rchar:')).split()[1])
before = rchar()
subprocess.run(sys.argv[2:])
open(sys.argv[1], 'w').write('%d\n' % (rchar() - before))
PY
  python3 "$work/count_reads.py" "$work/$name.read" /usr/bin/time -f "%U %S %e %M" -o "$work/$name.time" "$@" \
    > "$work/$name.log" 2>&1
  read -r user sys wall rss < "$work/$name.time"
  read -r bytes_read < "$work/$name.read"
  cpu=$(python3 -c "print(round($user + $sys, 2))")
  printf '%-10s cpu %6.2f s  wall %6.2f s  peak RSS %6.1f MiB  read %7.1f MiB\n' "$name" "$cpu" "$wall" \
    "$(python3 -c "print($rss/1024)")" "$(python3 -c "print($bytes_read/1048576)")"
  eval "${name}_cpu=$cpu"
}

make_image
cat "$image" > /dev/null  # into the page cache
rm -rf "$work/out" "$work/plain"
measure carve "$tool" carve "$image" --out "$work/out"
python3 - "$work/out/manifest.csv" > "$work/found.txt" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1])))
print(len(rows), sum(int(r['size']) for r in rows))
for r in rows: print(r['offset'], r['size'])
PY
read -r files bytes < <(head -1 "$work/found.txt")
echo "found: $files files, $((bytes >> 20)) MiB"
python3 - "$work/out/run.json" <<'PY'
import json, sys
run = json.load(open(sys.argv[1]))
print('found files read again: %s bytes; scan waited for the writer %s times' %
      (run.get('bytes_read_again', '?'), run.get('scan_waits_for_writer', '?')))
PY
measure plain python3 - "$image" "$work/found.txt" "$work/plain" <<'PY'
import hashlib, os, sys
image, found, out_dir = sys.argv[1:4]
os.makedirs(out_dir, exist_ok=True)
spans = [tuple(map(int, l.split())) for l in open(found).read().splitlines()[1:]]
spans.sort()
chunk = 4 << 20
open_files = []  # [end, file, hash]
i = 0
with open(image, 'rb', buffering=0) as f:
    pos = 0
    while True:
        data = f.read(chunk)
        if not data:
            break
        end = pos + len(data)
        while i < len(spans) and spans[i][0] < end:
            o, s = spans[i]
            open_files.append([o, o + s, open(os.path.join(out_dir, '%d.bin' % i), 'wb'), hashlib.sha256()])
            i += 1
        view = memoryview(data)
        for of in open_files:
            a, b = max(of[0], pos), min(of[1], end)
            if a < b:
                piece = view[a - pos:b - pos]
                of[2].write(piece)
                of[3].update(piece)
        for of in [x for x in open_files if x[1] <= end]:
            of[2].close(); of[3].hexdigest()
        open_files = [x for x in open_files if x[1] > end]
        pos = end
PY
echo "cpu ratio carve / plain: $(python3 -c "print(round($carve_cpu / max($plain_cpu, 0.01), 2))")"
# Per placed format: files placed, found at their offset, and byte-identical.
python3 - "$image.files" "$work/out/manifest.csv" <<'PY'
import collections, csv, sys
rows = {int(r['offset']): r for r in csv.DictReader(open(sys.argv[2]))}
count = collections.defaultdict(lambda: [0, 0, 0])
for line in open(sys.argv[1]):
    at, size, sha, name = line.split()
    c = count[name]
    c[0] += 1
    r = rows.get(int(at))
    if r:
        c[1] += 1
        c[2] += r['sha256'] == sha
print('%-16s %7s %6s %15s' % ('file', 'placed', 'found', 'byte-identical'))
for name, (placed, found, same) in sorted(count.items()):
    print('%-16s %7d %6d %15d' % (name, placed, found, same))
PY
