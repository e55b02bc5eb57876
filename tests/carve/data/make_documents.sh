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

rm -rf jar sx-* a.txt b.txt page.ps lib.c
touch .complete
chmod 755 .
rm -rf "$out"
mv "$work" "$out"
trap - EXIT
