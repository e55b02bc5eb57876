#!/usr/bin/env bash
# debian-package.sh QUILLFERN LIBMORVATCH TEMPLATE DIST VERSION
# The command-line tool as a Debian package, DIST/quillfern_VERSION_ARCH.deb.
# The tool finds its parser library and report template beside its own file,
# so all three live in /usr/lib/quillfern and /usr/bin/quillfern links there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/reproducible.sh"
tool=$1 library=$2 template=$3 dist=$4 version=$5
arch=$(dpkg --print-architecture)
product=$(version_macro QF_PRODUCT_NAME)
company=$(version_macro QF_COMPANY_NAME)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
lib=$root/usr/lib/quillfern
install -d "$lib" "$root/usr/bin" "$root/usr/share/man/man1" "$root/usr/share/doc/quillfern" "$root/DEBIAN"
install -m 755 "$tool" "$lib/quillfern"
install -m 644 "$library" "$lib/$(basename "$library")"
install -m 644 "$template" "$lib/template.html"
strip --strip-unneeded --remove-section=.comment "$lib/quillfern" "$lib/$(basename "$library")"
# The build folder's library path becomes "beside the program".
printf 'file(RPATH_SET FILE "%s" NEW_RPATH "$ORIGIN")\n' "$lib/quillfern" > "$work/runpath.cmake"
cmake -P "$work/runpath.cmake"
ln -s ../lib/quillfern/quillfern "$root/usr/bin/quillfern"
bash "$here/manpage.sh" "$tool" "$version" | gzip -9n > "$root/usr/share/man/man1/quillfern.1.gz"
install -m 644 "$here/debian/copyright" "$root/usr/share/doc/quillfern/copyright"

# Run-time dependencies from the shared libraries the two binaries use.
mkdir -p "$work/debian"
printf 'Source: quillfern\n\nPackage: quillfern\nArchitecture: any\n' > "$work/debian/control"
depends=$(cd "$work" && dpkg-shlibdeps -O --ignore-missing-info -l"${lib#$work/}" \
            "root/usr/lib/quillfern/quillfern" "root/usr/lib/quillfern/$(basename "$library")" 2>/dev/null |
          sed -n 's/^shlibs:Depends=//p')
size=$(du -s -k --apparent-size --exclude=DEBIAN "$root" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@COMPANY@/$company/" -e "s/@SIZE@/$size/" \
    -e "s/@DEPENDS@/$depends/" -e "s/@PRODUCT@/$product/" "$here/debian/control.in" > "$root/DEBIAN/control"

normalise_tree "$root"
mkdir -p "$dist"
deb=$dist/quillfern_${version}_$arch.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
touch -d "@$SOURCE_DATE_EPOCH" "$deb"
echo "$deb"
