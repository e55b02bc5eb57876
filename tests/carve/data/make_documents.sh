#!/usr/bin/env bash
# Makes the document, archive and program files the carving tests place into
# disk images, in OUTDIR (made fresh), with Debian's zip, Ghostscript, qpdf,
# a JDK and mingw-w64. The office files that need LibreOffice are made once
# by make_office_documents.sh and kept beside this script; they are copied
# (slides.ppt unpacked) from there; python3 writes the incremental PDF update.
# OUTDIR/.complete marks a finished run. A tool that is missing leaves its
# files out; the tests that need them skip.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# --if-missing: do nothing when OUTDIR already holds a finished run.
if [ "${1:-}" = --if-missing ]; then
  shift
  [ -e "${1:?}/.complete" ] && exit 0
fi
out=${1:?usage: make_documents.sh [--if-missing] OUTDIR}
mkdir -p "$(dirname "$out")"
work=$(mktemp -d "${out%/}.tmp.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
have() { command -v "$1" >/dev/null 2>&1; }

# Office documents (OLE and ZIP) made by LibreOffice.
cp "$here/note.doc" "$here/sheet.xls" "$here/note.odt" "$here/note.docx" .
gzip -dc "$here/slides.ppt.gz" > slides.ppt

# HTML: tags in mixed case, one file with Windows line ends.
printf '<HtMl>\n<head><title>Quillfern</title></head>\n<body><p>Mixed case page.</p></body>\n</HTML>\n' > mixed.html
printf '<html lang="en">\r\n<head><title>CR LF</title></head>\r\n<body>Windows line ends</body>\r\n</Html>\r\n' > crlf.html

# C source with a comment block before its first #include.
cat > hello.c <<'C'
/* Quillfern carving test program.
   It prints one line. */
#include <stdio.h>

int main(void) {
  printf("hello from quillfern\n");
  return 0;
}
C

if have zip; then
  printf 'first entry\n' > a.txt
  printf 'second entry, a little longer than the first\n' > b.txt
  zip -q -X plain.zip a.txt b.txt
  # A Java archive: a compiled class when a JDK is here, else the smallest
  # valid class-file header (magic CAFEBABE, version 52).
  mkdir -p jar/META-INF
  printf 'Manifest-Version: 1.0\n' > jar/META-INF/MANIFEST.MF
  printf 'public class Hello { public static void main(String[] a) { System.out.println("hi"); } }\n' > jar/Hello.java
  if have javac && javac -d jar jar/Hello.java 2>/dev/null; then :; else
    printf '\xca\xfe\xba\xbe\x00\x00\x00\x34' > jar/Hello.class
  fi
  (cd jar && zip -q -X ../hello.jar META-INF/MANIFEST.MF Hello.class)
  # StarOffice XML documents: the stored "mimetype" entry comes first.
  for kind in writer:sxw calc:sxc impress:sxi; do
    mkdir -p "sx-${kind#*:}" && cd "sx-${kind#*:}"
    printf 'application/vnd.sun.xml.%s' "${kind%%:*}" > mimetype
    printf '<?xml version="1.0"?><office:document-content/>\n' > content.xml
    zip -q -X -0 "../office.${kind#*:}" mimetype && zip -q -X "../office.${kind#*:}" content.xml
    cd ..
  done
fi

if have gs; then
  printf '%%!PS\n/Helvetica findfont 12 scalefont setfont 72 720 moveto (Quillfern PDF page) show showpage\n' > page.ps
  gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -o plain.pdf page.ps
  # An incremental update: a new Info object, its xref section and a trailer
  # pointing back at the first, after the first "%%EOF".
  have python3 && python3 - <<'PY'
import re
data = open('plain.pdf', 'rb').read()
prev = int(re.findall(rb'startxref\s+(\d+)', data)[-1])
size = int(re.findall(rb'/Size (\d+)', data)[-1])
root = re.findall(rb'/Root (\d+ \d+ R)', data)[-1]
obj = b'%d 0 obj\n<< /Title (Updated) >>\nendobj\n' % size
at = len(data)
xref_at = at + len(obj)
xref = b'xref\n%d 1\n%010d 00000 n \n' % (size, at)
trailer = b'trailer\n<< /Size %d /Root %s /Info %d 0 R /Prev %d >>\nstartxref\n%d\n%%%%EOF\n' % (
    size + 1, root, size, prev, xref_at)
open('updated.pdf', 'wb').write(data + obj + xref + trailer)
PY
  if have qpdf; then qpdf --linearize plain.pdf linear.pdf; fi
fi

# Windows programs: stripped, so the file ends with the last section.
for cc in x86_64-w64-mingw32-gcc-posix:64 i686-w64-mingw32-gcc-posix:32; do
  compiler=${cc%%:*} bits=${cc#*:}
  have "$compiler" || continue
  "$compiler" -O1 -s -o "hello$bits.exe" hello.c
  printf '__declspec(dllexport) int quillfern_add(int a, int b) { return a + b; }\n' > lib.c
  "$compiler" -O1 -s -shared -o "lib$bits.dll" lib.c
done

# What phones, cameras and current programs write, for the exact-size tests.
# HTML with the openings real pages use.
printf '<!DOCTYPE html>\n<html>\n<head><meta charset="utf-8"><title>Doctype</title></head>\n<body><p>Gr\xc3\xbc\xc3\x9fe</p></body>\n</html>\n\n' > doctype.html
printf '<?xml version="1.0" encoding="UTF-8"?>\n<html xmlns="http://www.w3.org/1999/xhtml">\n<head><title>XHTML</title></head>\n<body><p>Prolog first</p></body>\n</html>\n' > prolog.xhtml
printf '<!doctype html>\n<meta charset="utf-8">\n<title>No closing tag</title>\n<p>The parser closes this page by itself.\n<p>A second paragraph, long enough to be taken for a page.\n' > unclosed.html
if have zip; then
  head -c 300000 /dev/urandom > payload.bin
  zip -q -X -fz zip64.zip payload.bin a.txt 2>/dev/null || zip -q -X -fz zip64.zip payload.bin
  rm -f payload.bin
fi
if have gs; then
  # Ghostscript writes comment lines (its invocation) before the first object.
  printf '%%!PS\n/Helvetica findfont 12 scalefont setfont 72 720 moveto (Comments) show showpage\n' > c.ps
  gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -o comments.pdf c.ps && rm -f c.ps
  if have qpdf; then
    qpdf --force-version=2.0 plain.pdf v2.pdf
    qpdf --object-streams=generate plain.pdf xrefstream.pdf
  fi
  # A second update on top of the first.
  [ -f updated.pdf ] && have python3 && python3 - <<'PY'
import re
data = open('updated.pdf', 'rb').read()
prev = int(re.findall(rb'startxref\s+(\d+)', data)[-1])
size = int(re.findall(rb'/Size (\d+)', data)[-1])
root = re.findall(rb'/Root (\d+ \d+ R)', data)[-1]
obj = b'%d 0 obj\n<< /Title (Updated twice) >>\nendobj\n' % size
xref = b'xref\n%d 1\n%010d 00000 n \n' % (size, len(data))
trailer = b'trailer\n<< /Size %d /Root %s /Info %d 0 R /Prev %d >>\nstartxref\n%d\n%%%%EOF\r\n' % (
    size + 1, root, size, prev, len(data) + len(obj))
open('updated_twice.pdf', 'wb').write(data + obj + xref + trailer)
PY
fi
if have ffmpeg; then
  ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
  src=(-f lavfi -i testsrc2=size=160x120:rate=15 -f lavfi -i sine=frequency=440:sample_rate=16000)
  ff "${src[@]}" -t 2 -c:v libx264 -pix_fmt yuv420p -c:a aac phone.mp4 || true
  ff "${src[@]}" -t 2 -c:v libx264 -pix_fmt yuv420p -c:a aac -movflags +faststart phone_faststart.mp4 || true
  ff "${src[@]}" -t 2 -c:v libx264 -pix_fmt yuv420p -c:a aac -ar 8000 -ac 1 phone.3gp || true
  ff -f lavfi -i sine=frequency=440:duration=2 -c:a aac voice.m4a || true
  ff "${src[@]}" -t 2 -c:v mjpeg -c:a pcm_s16le camera.mov || true
  ff -f lavfi -i testsrc2=size=352x288:rate=25 -t 2 -target pal-vcd vcd.mpg || true
  ff -f lavfi -i testsrc2=size=720x576:rate=25 -t 2 -target pal-dvd dvd.vob || true
  ff -f lavfi -i sine=frequency=330:duration=3 -c:a libmp3lame -b:a 64k -write_id3v1 1 \
    -metadata title=Quillfern song.mp3 || true
  ff -f lavfi -i sine=frequency=330:duration=3 -c:a libopus -b:a 24k voice.opus || true
  ff -f lavfi -i sine=frequency=330:duration=3 -c:a libvorbis music.ogg || true
  ff -f lavfi -i testsrc2=size=160x120:rate=5 -t 1 -c:v libwebp_anim -loop 0 sticker.webp || true
fi
if have convert; then
  convert -seed 5 -size 1800x1500 xc:gray +noise Random camera.png            # about 5 MiB
  convert -seed 6 -size 4000x300 xc:gray +noise Random panorama.png           # wider than 3000 px
  convert -seed 7 -size 320x240 plasma: -colorspace CMYK adobe.jpg            # opens with APP14
  convert -seed 8 -size 320x240 plasma: left.jpg
  convert -seed 9 -size 320x240 plasma: right.jpg
  cat left.jpg right.jpg > stereo.mpo && rm -f left.jpg right.jpg           # back-to-back streams
  convert -seed 10 -size 160x120 plasma: photo.heic 2>/dev/null || rm -f photo.heic
  convert -seed 11 -size 320x240 plasma: photo.webp 2>/dev/null || rm -f photo.webp
fi
for cc in x86_64-w64-mingw32-gcc-posix:64; do
  compiler=${cc%%:*} bits=${cc#*:}
  have "$compiler" || continue
  "$compiler" -O1 -g -o "symbols$bits.exe" hello.c       # COFF symbols and their string table
  if have osslsigncode && have openssl; then
    openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=Quillfern -days 2 -keyout k.pem -out c.pem 2>/dev/null
    osslsigncode sign -certs c.pem -key k.pem -in "hello$bits.exe" -out "signed$bits.exe" >/dev/null
    rm -f k.pem c.pem
  fi
done

rm -rf jar sx-* a.txt b.txt page.ps lib.c
touch .complete
chmod 755 .
rm -rf "$out"
mv "$work" "$out"
trap - EXIT
