#!/usr/bin/env bash
# Regenerates the LibreOffice-made documents kept in this folder (run by hand,
# needs libreoffice-writer, -calc and -impress): a Word document, an Excel
# workbook, a PowerPoint presentation (kept gzip-packed: its preview picture
# is large and compresses well), an OpenDocument text and an OOXML document
# (whose entries carry data descriptors).
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'Quillfern carving test document.\nSecond line of text.\n' > "$work/note.txt"
printf 'a,b,c\n1,2,3\n4,5,6\n' > "$work/sheet.csv"
cat > "$work/slides.fodp" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.presentation">
<office:body><office:presentation><draw:page draw:name="one"><draw:frame svg:x="2cm" svg:y="2cm" svg:width="10cm" svg:height="3cm"><draw:text-box><text:p>Quillfern slide</text:p></draw:text-box></draw:frame></draw:page></office:presentation></office:body></office:document>
XML
convert() { HOME=$work soffice --headless --convert-to "$1" --outdir "$work" "$2" >/dev/null 2>&1; }
convert doc "$work/note.txt"
convert odt "$work/note.txt"
convert docx "$work/note.txt"
convert xls "$work/sheet.csv"
convert ppt "$work/slides.fodp"
cp "$work/note.doc" "$work/note.odt" "$work/note.docx" "$work/sheet.xls" .
gzip -9 -n -c "$work/slides.ppt" > slides.ppt.gz
