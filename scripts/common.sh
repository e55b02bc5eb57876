# Shared by test.sh and demo.sh: folder names and the build steps.
# Sourced, not run.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
jobs=${QF_JOBS:-$(nproc)}
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}

# QF_BUILD_TARGET: build only that target (and what it needs).
configure_and_build() {  # NAME [cmake args...]
  local name=$1; shift
  local dir=$build/$name
  mkdir -p "$build/logs"
  { cmake -S "$root" -B "$dir" -G Ninja "$@" &&
      cmake --build "$dir" -j "$jobs" ${QF_BUILD_TARGET:+--target "$QF_BUILD_TARGET"}; } \
    > "$build/logs/build-$name${QF_BUILD_TARGET:+-$QF_BUILD_TARGET}.log" 2>&1
}

configure_native() { configure_and_build native -DQF_BENCH=ON; }
configure_asan() {
  CC=clang CXX=clang++ configure_and_build asan -DCMAKE_BUILD_TYPE=Debug -DQF_SANITIZE=ON -DQF_FUZZ=ON
}
configure_tsan() { CC=clang CXX=clang++ configure_and_build tsan -DCMAKE_BUILD_TYPE=Debug -DQF_TSAN=ON; }
configure_win() {
  bash "$root/scripts/build-windows-deps.sh" "$build/deps" > "$build/logs/deps-win.log" 2>&1 &&
    configure_and_build win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DQF_DEPS_PREFIX="$build/deps/prefix"
}
# The downloads in dist/: the release targets of the native and Windows builds.
configure_release() {
  local rc=0
  QF_BUILD_TARGET=release configure_native && QF_BUILD_TARGET=release configure_win || rc=1
  cat "$build/logs/build-native-release.log" "$build/logs/build-win-release.log" \
    > "$build/logs/build-release.log" 2>/dev/null
  return $rc
}
