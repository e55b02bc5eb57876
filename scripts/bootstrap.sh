#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config tcl dpkg-dev
  g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 fonts-wine fonts-liberation fonts-wqy-zenhei xvfb xdotool imagemagick
  libsqlite3-dev sqlite3 rapidjson-dev libjsoncpp-dev libexpat1-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  python3 python3-pil
  mtools dosfstools ffmpeg
  zip ghostscript qpdf openjdk-17-jdk-headless gcc-mingw-w64-i686-posix
  libssl-dev osslsigncode
  chromium
  adb
  nsis unzip man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq </dev/null
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
fi
