#!/usr/bin/env bash
# Runs every test: the core unit tests natively (with sanitizers), the Windows
# programs built a second time with clang (warnings as errors, nothing run),
# then the Windows build's tests under Wine on a private Xvfb. Every suite runs
# even if an earlier one fails; the exit code is non-zero if anything failed.
#
# VANTREL_TEST_TIMEOUT: seconds a test may take unless it sets its own (900).
set -uo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$REPO" || exit 1
timeout_s="${VANTREL_TEST_TIMEOUT:-900}"
log_dir="$REPO/build/logs"
mkdir -p "$log_dir"
rm -f "$log_dir"/ctest-*.log

cleanup() {
  if declare -F wine_cleanup >/dev/null; then wine_cleanup; fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_all=$SECONDS

# phase LABEL COMMAND...: runs the command and prints how long it took.
phase() {
  local label=$1 t0=$SECONDS rc
  shift
  echo
  echo "=== $label"
  "$@"
  rc=$?
  if [ $rc -eq 0 ]; then
    echo "=== $label: ok ($((SECONDS - t0)) s)"
  else
    echo "=== $label: FAILED with exit code $rc ($((SECONDS - t0)) s)"
    failed_phase=$label
  fi
  return $rc
}

# run_ctest NAME: ctest with the preset NAME, its output kept for the totals.
run_ctest() {
  ctest --preset "$1" --no-tests=error --timeout "$timeout_s" 2>&1 | tee "$log_dir/ctest-$1.log"
  return "${PIPESTATUS[0]}"
}

wine_setup() {
  source scripts/wine-env.sh && start_xvfb && start_wineserver
}

native_suite() {
  phase "native: configure" cmake --preset native &&
    phase "native: build" cmake --build --preset native &&
    phase "native: core unit tests" run_ctest native &&
    phase "native: fuzz the parsers and text builders" bash scripts/fuzz.sh
}

# The soak test's short run (VANTREL_SOAK_SECONDS, 60), on the display and
# wineserver the tests used; its output is kept in build/logs/soak.txt. A state
# between two cycles may last 4 s (VANTREL_SOAK_GRACE_MS), as in the long run by
# hand. The capture cycle may stop for up to 6 s here (VANTREL_SOAK_STOP_LIMIT_MS)
# against 500 ms by hand: under Wine a frame or box of ours that takes the
# activation while viewers hang still waits for them, for as long as they hang.
run_soak() {
  VANTREL_SOAK_NO_BUILD=1 VANTREL_SOAK_NO_WINE_SETUP=1 \
    bash scripts/soak.sh --seconds "${VANTREL_SOAK_SECONDS:-60}" --grace "${VANTREL_SOAK_GRACE_MS:-4000}" \
      --stop-limit "${VANTREL_SOAK_STOP_LIMIT_MS:-6000}"
}

# A second compiler over the same sources, so that code only GCC accepts fails
# here. Build only: the programs it makes are not run.
clang_suite() {
  phase "clang: configure" cmake --preset mingw-clang &&
    phase "clang: build" cmake --build --preset mingw-clang
}

windows_suite() {
  phase "windows: configure" cmake --preset mingw &&
    phase "windows: build" cmake --build --preset mingw &&
    phase "windows: Wine and Xvfb" wine_setup || return 1
  local rc=0
  phase "windows: tests under Wine" run_ctest mingw || rc=1
  phase "windows: soak test" run_soak || rc=1
  return $rc
}

phase "dependencies" bash scripts/deps.sh || exit 1

failed_phase=""
native_suite
native_rc=$?
native_failed=$failed_phase
failed_phase=""
clang_suite
clang_rc=$?
clang_failed=$failed_phase
failed_phase=""
windows_suite
windows_rc=$?
windows_failed=$failed_phase
cleanup

# Totals from ctest's own summary lines ("N% tests passed, F tests failed out of T").
passed=0
failed=0
for preset in native mingw; do
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' \
    "$log_dir/ctest-$preset.log" 2>/dev/null | tail -n 1)
  if [ -n "$line" ]; then
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
    t=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + t - f))
    failed=$((failed + f))
  fi
done

# status RC FAILED_PHASE LOG
status() {
  if [ "$1" -eq 0 ]; then
    echo "passed"
  elif [ -f "$3" ]; then
    echo "FAILED"
  else
    echo "FAILED in \"$2\", no test ran"
  fi
}
echo
echo "=== Summary ($((SECONDS - start_all)) s)"
echo "native core unit tests:   $(status $native_rc "$native_failed" "$log_dir/ctest-native.log")"
if [ $clang_rc -eq 0 ]; then clang_status=passed; else clang_status="FAILED in \"$clang_failed\""; fi
echo "clang build:              $clang_status"
echo "Windows tests under Wine: $(status $windows_rc "$windows_failed" "$log_dir/ctest-mingw.log")"
echo "tests: $passed passed, $failed failed"
[ $native_rc -eq 0 ] && [ $clang_rc -eq 0 ] && [ $windows_rc -eq 0 ]
