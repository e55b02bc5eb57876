#!/usr/bin/env bash
# windows-release.sh WIN_BUILD DEPS_SOURCES DIST VERSION
# Assembles the Windows download from a Windows build folder: the release
# folder DIST/Quillfern-VERSION/ (only the files named below, whatever else
# the build holds), its zip and its installer.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/reproducible.sh"
build=$1 deps_src=$2 dist=$3 version=$4
name=Quillfern-$version
folder=$dist/$name
program=$build/program

mkdir -p "$dist"
rm -rf "$folder" "$folder.zip" "$dist/$name-setup.exe"
mkdir -p "$folder/image" "$folder/licences"

# The program and what stands beside it; the command-line tool.
for f in Quillfern.exe morvatch.dll template.html; do cp "$program/$f" "$folder/"; done
# Windows file names ignore case: beside Quillfern.exe the command-line tool
# needs a name of its own.
cp "$build/tools/quillfern/quillfern.exe" "$folder/quillfern-cli.exe"
# Debugging information stays in the build folder.
x86_64-w64-mingw32-strip --strip-unneeded "$folder"/*.exe "$folder"/*.dll
# The skin: the pictures the skin generator draws, nothing else of the folder.
find "$program/image" -maxdepth 1 -type f \( -name '*.png' -o -name '*.gif' -o -name '*.bmp' \) \
  -exec cp {} "$folder/image/" \;

product=$(version_macro QF_PRODUCT_NAME)
company=$(version_macro QF_COMPANY_NAME)
# Notepad of older Windows shows a text only with CR LF line ends.
sed -e "s/@PRODUCT@/$product/g" -e "s/@VERSION@/$version/g" -e 's/$/\r/' \
  "$here/README-windows.txt" > "$folder/README.txt"

# Licences of everything linked into the binaries: the three libraries built
# from Debian's sources, RapidJSON's headers, the mingw-w64 runtime (C
# runtime and winpthreads) and GCC's runtime (libgcc, libstdc++).
licence() {  # licence NAME SOURCE
  [ -s "$2" ] || { echo "windows-release: licence text $2 is missing" >&2; exit 1; }
  cp "$2" "$folder/licences/$1.txt"
}
licence SQLite "$deps_src/sqlite3/LICENSE.md"
licence Expat "$deps_src/expat/COPYING"
licence jsoncpp "$deps_src/jsoncpp/LICENSE"
licence RapidJSON /usr/share/doc/rapidjson-dev/copyright
licence mingw-w64-runtime /usr/share/doc/mingw-w64-x86-64-dev/copyright
licence GCC-runtime /usr/share/doc/gcc-mingw-w64-base/copyright
normalise_tree "$folder"

# The zip: sorted names, no extra fields, fixed times (TZ is UTC).
(cd "$dist" && find "$name" -type f | sort | zip -q -X -D -9 "$name.zip" -@)

# The installer: one File line per file, removed one by one on uninstall.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
list() { (cd "$folder" && find . -mindepth 1 "$@" | sed 's|^\./||' | sort); }
win() { printf '%s' "${1//\//\\}"; }
{
  echo '!macro QF_INSTALL_FILES'
  list -type f | while read -r f; do
    dir=$(dirname "$f")
    [ "$dir" = . ] && echo '  SetOutPath "$INSTDIR"' || echo "  SetOutPath \"\$INSTDIR\\$(win "$dir")\""
    echo "  File \"$folder/$f\""
  done
  echo '!macroend'
  echo '!macro QF_REMOVE_FILES'
  list -type f | while read -r f; do echo "  Delete \"\$INSTDIR\\$(win "$f")\""; done
  list -type d | sort -r | while read -r d; do echo "  RMDir \"\$INSTDIR\\$(win "$d")\""; done
  echo '!macroend'
} > "$work/files.nsh"
makensis -V2 -NOCD "-DPRODUCT=$product" "-DCOMPANY=$company" "-DVERSION=$version" \
  "-DSOURCE=$folder" "-DFILES=$work/files.nsh" "-DICON=$build/packaging/quillfern.ico" \
  "-DOUTFILE=$dist/$name-setup.exe" "$here/quillfern.nsi"
touch -d "@$SOURCE_DATE_EPOCH" "$dist/$name.zip" "$dist/$name-setup.exe"
echo "$folder"
echo "$dist/$name.zip"
echo "$dist/$name-setup.exe"
