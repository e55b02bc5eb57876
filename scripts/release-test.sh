#!/usr/bin/env bash
# release-test.sh: checks the downloads that the `release` targets of
# build/win and build/native put into dist/ (test.sh builds them first):
# the release folder's exact file list, the version resources, the installer's
# install / start / uninstall cycle under Wine (screenshots at 96 and 192 DPI),
# the Debian package run from a temporary root, and that making the downloads
# again gives the same bytes. Ends with ctest's summary line, which test.sh reads.
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$root/packaging/reproducible.sh"
version=$(version_macro QF_VERSION_TEXT)
product=$(version_macro QF_PRODUCT_NAME)
name=Quillfern-$version
dist=${QF_DIST_DIR:-$root/dist}
folder=$dist/$name
deb=$dist/quillfern_${version}_$(dpkg --print-architecture).deb
out=$build/release-test
export WINEPREFIX=$build/wineprefix-release WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
installed="$WINEPREFIX/drive_c/Program Files/$product"

# ---------------------------------------------------------------- checks

# Nothing from tests or demos: exactly the program, its library, template and
# skin, the command-line tool, the read-me and the licences; the zip holds the same.
release_folder_holds_only_the_listed_files() {
  local skin=$out/skin
  /usr/bin/python3 "$root/tools/skin/make_skin.py" "$skin" || return 1
  {
    printf '%s\n' Quillfern.exe morvatch.dll template.html quillfern-cli.exe README.txt
    printf 'licences/%s.txt\n' SQLite Expat jsoncpp RapidJSON mingw-w64-runtime GCC-runtime
    (cd "$skin" && find . -type f | sed 's|^\./|image/|')
  } | sort > "$out/expected-files"
  (cd "$folder" && find . -type f -o -type l | sed 's|^\./||' | sort) > "$out/actual-files"
  diff -u "$out/expected-files" "$out/actual-files" || return 1
  # Windows file names ignore case: two such names would be one file there.
  [ -z "$(sort -f "$out/actual-files" | uniq -di)" ] || { echo "names equal but for case"; return 1; }
  # The skin is the generator's, byte for byte.
  diff -r "$skin" "$folder/image" || return 1
  grep -q 'tarnwick-recovery-for-android-adb-help.exe' "$folder/README.txt" || return 1
  # The zip unpacks to the same folder.
  unzip -q "$dist/$name.zip" -d "$out/unzipped" && diff -r "$folder" "$out/unzipped/$name"
}

# Each shipped binary: file and product version, product and company names;
# the programs an icon; the window program its manifest (common controls 6,
# no elevation).
binaries_carry_version_resources() {
  local f rc want wants
  for f in Quillfern.exe quillfern-cli.exe morvatch.dll; do
    rc=$(x86_64-w64-mingw32-windres -J coff -O rc -i "$folder/$f") || return 1
    wants=("FILEVERSION ${version//./, }" "PRODUCTVERSION ${version//./, }"
           "\"ProductName\", \"$product\"" "\"CompanyName\", \"$(version_macro QF_COMPANY_NAME)\"")
    [ "$f" = morvatch.dll ] || wants+=(RT_GROUP_ICON)
    [ "$f" != Quillfern.exe ] || wants+=(Microsoft.Windows.Common-Controls asInvoker)
    for want in "${wants[@]}"; do
      grep -q -F "$want" <<<"$rc" || { echo "$f lacks $want"; return 1; }
    done
  done
}

# window_size PNG: width x height of what is not the black screen.
window_size() { convert "$1" -bordercolor black -border 1 -trim -format '%w %h' info:; }

# start_installed SHOT: starts the installed program, waits for its window,
# keeps the screen once the device check has had a moment, and ends it. It
# fails when no window comes or the program has ended by then.
start_installed() {
  wine "$installed/Quillfern.exe" </dev/null >/dev/null 2>&1 &
  local pid=$! shown=0
  timeout 60 xdotool search --sync --onlyvisible --name '.+' >/dev/null 2>&1 && shown=1
  sleep 1.5
  import -window root "$1"
  kill "$pid" 2>/dev/null || shown=0
  wait "$pid" 2>/dev/null
  [ "$shown" -eq 1 ]
}

set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}

# Everything in the prefix's C: drive except the temporary folders, where the
# program keeps its work folders and the uninstaller its own copy, and the
# system's own internet cache, which its HTTP library sets up for any program
# that goes online (the update check asks it to store nothing).
drive_files() {
  (cd "$WINEPREFIX/drive_c" &&
    find . \( -path '*/Temp' -o -path '*/Microsoft/Windows/INet*' -o -path '*/Microsoft/Windows/History' \) -prune \
      -o -print | sort)
}

installer_installs_starts_and_uninstalls() {
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillfern'
  local menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$product.lnk"
  # This prefix is the test's own: clear what an interrupted run left.
  rm -rf "$installed" "$menu"
  wine reg delete "$key" /f </dev/null >/dev/null 2>&1
  drive_files > "$out/drive-before"
  timeout 120 wine "$dist/$name-setup.exe" /S </dev/null >/dev/null 2>&1 || { echo "setup failed"; return 1; }
  [ -f "$installed/Uninstall.exe" ] || { echo "nothing installed in $installed"; return 1; }
  diff -r -x Uninstall.exe "$folder" "$installed" || return 1
  [ -f "$menu" ] || { echo "no Start-menu entry"; return 1; }
  wine reg query "$key" </dev/null >/dev/null 2>&1 || { echo "no uninstall entry"; return 1; }

  start_installed "$out/connect-page.png" || { echo "the installed program failed"; return 1; }
  set_dpi 192
  start_installed "$out/connect-page-192dpi.png"
  local rc=$?
  set_dpi 96
  [ "$rc" -eq 0 ] || { echo "the installed program failed at 192 DPI"; return 1; }
  local w96 h96 w192 h192
  read -r w96 h96 < <(window_size "$out/connect-page.png")
  read -r w192 h192 < <(window_size "$out/connect-page-192dpi.png")
  echo "window: ${w96}x$h96 at 96 DPI, ${w192}x$h192 at 192 DPI"
  [ "$w96" -ge 200 ] && [ "$h96" -ge 100 ] || { echo "no window on the screen"; return 1; }
  [ "$w192" -ge "$w96" ] && [ "$h192" -ge "$h96" ] || { echo "the window shrinks at 192 DPI"; return 1; }

  wine "$installed/Uninstall.exe" /S </dev/null >/dev/null 2>&1
  # The uninstaller runs on from a temporary copy of itself.
  local i
  for i in $(seq 60); do [ -e "$installed" ] || break; sleep 1; done
  [ ! -e "$installed" ] || { echo "left behind:"; find "$installed"; return 1; }
  [ ! -e "$menu" ] || { echo "Start-menu entry left behind"; return 1; }
  ! wine reg query "$key" </dev/null >/dev/null 2>&1 || { echo "uninstall entry left behind"; return 1; }
  drive_files > "$out/drive-after"
  diff -u "$out/drive-before" "$out/drive-after"
}

# Installed into a temporary root, the tool runs through /usr/bin and finds
# its library and template: it writes a report from real databases.
debian_package_runs_from_a_temporary_root() {
  local tmp=$out/deb-root q
  dpkg -x "$deb" "$tmp" || return 1
  q=$tmp/usr/bin/quillfern
  local help shown
  help=$("$q" --help) || { echo "--help fails"; return 1; }
  grep -q 'usage: quillfern' <<<"$help" || { echo "--help shows no usage"; return 1; }
  # --version where the tool has it; a tool without it shows the version in --help.
  if shown=$("$q" --version 2>&1); then
    echo "--version: $shown"
  elif grep -q -- '--version' <<<"$help"; then
    echo "--version fails: $shown"; return 1
  else
    echo "this tool has no --version: the version is checked in --help"; shown=$help
  fi
  grep -q -F "$version" <<<"$shown" || { echo "no version $version shown"; return 1; }
  "$build/native/tools/fixtures/make-fixtures" "$out/phone" >/dev/null || return 1
  "$q" records --contacts "$out/phone/contacts2.db" --messages "$out/phone/mmssms.db" --out "$out/reports" ||
    return 1
  grep -q 'var data = \[\[' "$out/reports/Contacts.html" || { echo "empty contacts report"; return 1; }
  # The man page covers every command and formats without warnings.
  local man=$tmp/usr/share/man/man1/quillfern.1.gz warnings
  warnings=$(MANWIDTH=80 man --warnings -l "$man" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
  for c in records phone carve; do zgrep -q "^\.SS $c\$" "$man" || { echo "man page lacks $c"; return 1; }; done
}

make_release() {
  cmake --build "$build/win" --target release >/dev/null &&
    cmake --build "$build/native" --target release >/dev/null
}

# Made twice, the second time later and with the shipped binaries linked
# anew, every download is the same (no link times, no build times).
release_files_are_reproducible() {
  local f files=("$name.zip" "$name-setup.exe" "$(basename "$deb")")
  make_release || return 1
  mkdir -p "$out/first"
  for f in "${files[@]}"; do cp "$dist/$f" "$out/first/" || return 1; done
  rm -f "$build/win/program/Quillfern.exe" "$build/win/program/morvatch.dll" \
    "$build/win/tools/quillfern/quillfern.exe" "$build/native/tools/quillfern/quillfern" \
    "$build/native/records/morvatch/libmorvatch.so"
  sleep 1
  make_release || return 1
  for f in "${files[@]}"; do cmp "$out/first/$f" "$dist/$f" || return 1; done
}

# ---------------------------------------------------------------- runner

if [ "${1:-}" = "--inside-xvfb" ]; then
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1
  installer_installs_starts_and_uninstalls
  rc=$?
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  exit $rc
fi

rm -rf "$out"
mkdir -p "$out"
passed=0
failed=0
check() {  # NAME COMMAND...: one line per check, its output in NAME.log
  local log=$out/$1.log
  if "${@:2}" > "$log" 2>&1; then
    passed=$((passed + 1)); echo "Passed  $1"
  else
    failed=$((failed + 1)); echo "***Failed  $1"; sed 's/^/    /' "$log" | tail -n 30
  fi
}
in_wine() {
  bash "$root/scripts/wine-prefix.sh" "$WINEPREFIX" &&
    xvfb-run -a -s "-screen 0 1280x1024x24 -br" bash "$0" --inside-xvfb
}

check release_folder_holds_only_the_listed_files release_folder_holds_only_the_listed_files
check binaries_carry_version_resources binaries_carry_version_resources
check installer_installs_starts_and_uninstalls in_wine
check debian_package_runs_from_a_temporary_root debian_package_runs_from_a_temporary_root
check release_files_are_reproducible release_files_are_reproducible
echo "screenshots: $out/connect-page.png, $out/connect-page-192dpi.png"
echo "$((100 * passed / (passed + failed)))% tests passed, $failed tests failed out of $((passed + failed))"
[ "$failed" -eq 0 ]
