#!/usr/bin/env bash
# Builds everything and runs every test: the core natively under AddressSanitizer
# and UndefinedBehaviorSanitizer, the fuzz targets for 30 seconds each, then the
# Windows tests under Wine in a private virtual display. Exits non-zero when
# anything fails, after showing the failing output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
trap stop_all EXIT
trap 'stop_all; exit 130' INT TERM

"$ROOT/scripts/setup.sh" || exit 1
mkdir -p "$BUILD"
FAILED=()

stage() {   # stage NAME COMMAND...
  local name="$1"; shift
  KORVEL_STAGE="$name"
  log "start"
  local start=$SECONDS
  if "$@"; then log "passed in $((SECONDS - start)) s"; else FAILED+=("$name"); log "FAILED"; fi
  KORVEL_STAGE=
}

native_tests() {
  cmake -S "$ROOT" -B "$BUILD/native-asan" -DKORVEL_SANITIZE=ON -DKORVEL_GTEST_SOURCE_DIR=/usr/src/googletest \
    >"$BUILD/native-configure.log" 2>&1 || { cat "$BUILD/native-configure.log" >&2; return 1; }
  build_tree "$BUILD/native-asan" || return 1
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$BUILD/native-asan" --output-on-failure -j"$JOBS" ${KORVEL_CTEST_ARGS:-}
}

fuzz_targets() {   # fuzz_targets SECONDS: how long each target runs
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD/fuzz" -DKORVEL_FUZZ=ON -DKORVEL_GTEST_SOURCE_DIR=/usr/src/googletest \
    -DKORVEL_FUZZ_SECONDS="$1" >"$BUILD/fuzz-configure.log" 2>&1 || { cat "$BUILD/fuzz-configure.log" >&2; return 1; }
  build_tree "$BUILD/fuzz" || return 1
  ctest --test-dir "$BUILD/fuzz" --output-on-failure ${KORVEL_CTEST_ARGS:-}
}

windows_tests() {
  configure_windows || return 1
  build_tree "$BUILD/win" || return 1
  start_display || return 1
  start_wine || return 1
  # One at a time: the tests share the display, its pointer and its focus.
  ctest --test-dir "$BUILD/win" --output-on-failure ${KORVEL_CTEST_ARGS:-}
}

# Stages to run: all by default (native, fuzz, windows), or those named.
# fuzz-long runs each fuzz target for KORVEL_FUZZ_LONG_SECONDS (default 1800)
# instead of 30 seconds; it is never part of the default run.
# KORVEL_CTEST_ARGS passes extra arguments to ctest, e.g. "-R gui".
STAGES=("$@")
[ "${#STAGES[@]}" -gt 0 ] || STAGES=(native fuzz windows)
for s in "${STAGES[@]}"; do
  case "$s" in
    native) stage native native_tests ;;
    fuzz) stage fuzz fuzz_targets 30 ;;
    fuzz-long) stage fuzz-long fuzz_targets "${KORVEL_FUZZ_LONG_SECONDS:-1800}" ;;
    windows) stage windows windows_tests ;;
    *) echo "unknown stage: $s (native, fuzz, fuzz-long or windows)" >&2; exit 64 ;;
  esac
done

if [ "${#FAILED[@]}" -gt 0 ]; then
  printf '\nFAILED: %s\n' "${FAILED[*]}" >&2
  exit 1
fi
printf '\nAll tests passed.\n'
