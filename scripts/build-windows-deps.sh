#!/usr/bin/env bash
# build-windows-deps.sh CACHE_DIR
# Builds static Windows (mingw-w64) libraries of SQLite, Expat and jsoncpp from
# Debian's own source packages into CACHE_DIR/prefix, once; later runs return
# at once.  The system's apt configuration is only read, never changed: a
# private deb-src list is derived from it at run time.
set -euo pipefail
cache=$(mkdir -p "$1" && cd "$1" && pwd)
prefix=$cache/prefix
stamp=$prefix/.complete-v1
[ -f "$stamp" ] && exit 0

here=$(cd "$(dirname "$0")" && pwd)
triple=x86_64-w64-mingw32
jobs=$(nproc)
src=$cache/src
mkdir -p "$src" "$prefix"

# --- Debian source packages through a private source list -------------------
apt=$cache/apt
apt_opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt/sources.list.d"
          -o "Dir::State::Lists=$apt/lists" -o Debug::NoLocking=1)

fetch_sources() {
  rm -rf "$apt"; mkdir -p "$apt/sources.list.d" "$apt/lists/partial"
  local f n=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    sed -E 's/^Types:.*/Types: deb-src/' "$f" > "$apt/sources.list.d/$(basename "$f")"
    n=$((n + 1))
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -e "$f" ] || continue
    grep -E '^deb ' "$f" | sed -E 's/^deb /deb-src /' > "$apt/sources.list.d/$(basename "$f").list" || true
    n=$((n + 1))
  done
  [ "$n" -gt 0 ] || { echo "build-windows-deps: no apt sources found" >&2; exit 1; }
  apt-get "${apt_opts[@]}" update -qq </dev/null >/dev/null
  local name
  for name in sqlite3 expat libjsoncpp; do fetch_source "$name"; done
}

# fetch_source NAME: the archive's current source package of NAME. A suite can
# list a newer upload than its mirror serves yet (a security update's .dsc
# answering 404), so each version the archive lists is tried, newest first.
fetch_source() {
  local name=$1 version tried=()
  for version in $(apt-cache "${apt_opts[@]}" showsrc "$name" 2>/dev/null |
                   sed -n 's/^Version: //p' | sort -u -r -V); do
    if (cd "$src" && apt-get "${apt_opts[@]}" source --download-only -qq "$name=$version" \
          </dev/null >/dev/null 2>&1); then
      return 0
    fi
    tried+=("$version")
  done
  echo "build-windows-deps: no source package of $name could be fetched from the archive" \
       "(versions tried: ${tried[*]:-none listed}); check the network and the deb-src sources" >&2
  exit 1
}

unpack() {  # unpack PATTERN DIRNAME
  local dsc
  dsc=$(ls "$src"/$1 | head -n 1)
  rm -rf "$src/$2"
  (cd "$src" && dpkg-source --no-check -x "$dsc" "$2" >/dev/null)
}

if ! ls "$src"/sqlite3_*.dsc "$src"/expat_*.dsc "$src"/libjsoncpp_*.dsc >/dev/null 2>&1; then
  fetch_sources
fi
unpack 'sqlite3_*.dsc' sqlite3
unpack 'expat_*.dsc' expat
unpack 'libjsoncpp_*.dsc' jsoncpp

# --- SQLite: amalgamation made natively, compiled with mingw ----------------
(
  cd "$src/sqlite3"
  mkdir -p bld && cd bld
  ../configure --disable-tcl >/dev/null
  make -s sqlite3.c >/dev/null
  ${triple}-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -c sqlite3.c -o sqlite3.o
  ${triple}-ar rcs libsqlite3.a sqlite3.o
  mkdir -p "$prefix/include" "$prefix/lib"
  cp sqlite3.h sqlite3ext.h "$prefix/include/"
  cp libsqlite3.a "$prefix/lib/"
)

toolchain=$here/../cmake/mingw-w64-x86_64.cmake

# --- Expat ------------------------------------------------------------------
(
  cd "$src/expat/expat"
  # Debian's security patches test "#if XML_DTD == 1", which needs a value.
  sed -i -E 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' expat_config.h.cmake
  cmake -S . -B bld -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF \
    -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF \
    -DEXPAT_BUILD_PKGCONFIG=OFF >/dev/null
  cmake --build bld -j "$jobs" >/dev/null
  cmake --install bld >/dev/null
)

# --- jsoncpp ----------------------------------------------------------------
(
  cd "$src/jsoncpp"
  cmake -S . -B bld -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON \
    -DBUILD_OBJECT_LIBS=OFF -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF \
    -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF >/dev/null
  cmake --build bld -j "$jobs" >/dev/null
  cmake --install bld >/dev/null
)

# --- RapidJSON: header-only; expose only its own folder ----------------------
mkdir -p "$prefix/include"
ln -sfn /usr/include/rapidjson "$prefix/include/rapidjson"

touch "$stamp"
echo "build-windows-deps: ready in $prefix"
