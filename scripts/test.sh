#!/usr/bin/env bash
# Runs every test: the native suite, the sanitizer suite (ASan+UBSan, with the
# fuzz targets for a bounded time), the thread-sanitizer suite, the Windows
# suite under Wine, and the release downloads made from the native and Windows
# builds. Ends with one line "N passed, M failed".
set -uo pipefail
source "$(dirname "$0")/common.sh"

bash "$root/scripts/bootstrap.sh" || { echo "bootstrap failed"; echo "0 passed, 1 failed"; exit 1; }

total_pass=0
total_fail=0
summary=()

# record SUITE LOG RC: adds the counts of one ctest run.
record() {
  local suite=$1 log=$2 rc=$3 line passed failed all
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    all=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((all - failed))
  elif grep -q 'No tests were found' "$log"; then
    passed=0; failed=0
  else
    passed=0; failed=1
  fi
  [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1
  total_pass=$((total_pass + passed)); total_fail=$((total_fail + failed))
  summary+=("$(printf '%-8s %5d passed, %d failed' "$suite" "$passed" "$failed")")
  if [ "$failed" -ne 0 ]; then
    echo "---- $suite: failures ----"
    grep -E '^\s*[0-9]+ - |\*\*\*Failed|Failed|Timeout' "$log" | tail -n 40
  fi
}

build_failed() {  # SUITE
  # The newest build log: a suite may build more than one folder (release).
  local log
  log=$(ls -t "$build"/logs/build-*.log 2>/dev/null | head -n 1)
  echo "---- $1: build failed (log: ${log#$root/}) ----"
  [ -n "$log" ] && grep -E -m 20 'error|FAILED' "$log"
  [ -n "$log" ] && tail -n 30 "$log"
  total_fail=$((total_fail + 1))
  summary+=("$(printf '%-8s build failed' "$1")")
}

run_suite() {  # SUITE CONFIGURE_FUNCTION RUNNER...
  local suite=$1 configure=$2; shift 2
  echo "== $suite: building"
  if ! "$configure"; then build_failed "$suite"; return; fi
  echo "== $suite: testing"
  local log=$build/logs/test-$suite.log
  "$@" > "$log" 2>&1
  record "$suite" "$log" $?
}

run_suite native configure_native ctest --test-dir "$build/native" -j "$jobs" --output-on-failure
run_suite asan configure_asan env ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$build/asan" -j "$jobs" --output-on-failure
run_suite tsan configure_tsan env TSAN_OPTIONS=halt_on_error=1 ctest --test-dir "$build/tsan" -j "$jobs" --output-on-failure
run_suite windows configure_win bash "$root/scripts/win-ctest.sh" "$build/win" -j "$jobs"
run_suite release configure_release bash "$root/scripts/release-test.sh"

echo
printf '%s\n' "${summary[@]}"
echo "logs: build/logs/"
echo "$total_pass passed, $total_fail failed"
[ "$total_fail" -eq 0 ]
