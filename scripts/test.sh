#!/usr/bin/env bash
# Builds everything and runs every test: the core natively under AddressSanitizer
# and UndefinedBehaviorSanitizer, the fuzz targets for 30 seconds each, then the
# Windows tests under Wine, several at once, each in a slot with its own virtual
# display, Wine prefix and wineserver. Exits non-zero when anything fails, after
# showing the failing output.
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

configure_native() {
  cmake -S "$ROOT" -B "$BUILD/native-asan" -DKORVEL_SANITIZE=ON -DKORVEL_GTEST_SOURCE_DIR=/usr/src/googletest \
    >"$BUILD/native-configure.log" 2>&1 || { cat "$BUILD/native-configure.log" >&2; return 1; }
}

native_tests() {
  configure_native || return 1
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

# How many Windows tests run at once, each in its own slot: KORVEL_WIN_JOBS, or
# twice the cores (the tests mostly wait on timers, fades and input).
# KORVEL_WIN_JOBS=1 runs them one at a time.
win_jobs() {
  local jobs="${KORVEL_WIN_JOBS:-$((2 * JOBS))}"
  [[ "$jobs" =~ ^[1-9][0-9]*$ ]] || { fail "KORVEL_WIN_JOBS must be a positive number, not \"$jobs\""; return 1; }
  echo "$jobs"
}

windows_tests() {
  local jobs
  jobs="$(win_jobs)" || return 1
  configure_windows || return 1
  build_tree "$BUILD/win" || return 1
  start_slots "$jobs" || return 1
  ctest --test-dir "$BUILD/win" --output-on-failure -j"$jobs" ${KORVEL_CTEST_ARGS:-}
}

# ---- new reference pictures ------------------------------------------------------
# The switches that make a picture check write its references instead of
# comparing. A test run never passes them on (CMakeLists.txt unsets them for
# every test); the regenerate-* stages set one deliberately for the one test
# that reads it, run that test alone and expect it to report "not run".
REGENERATION_SWITCHES=(KORVEL_UPDATE_GOLDEN KORVEL_REGENERATE_PAGES KORVEL_UPDATE_REFERENCES)

regenerate_golden() {
  configure_native && build_tree "$BUILD/native-asan" core_paint_golden_test || return 1
  local out="$BUILD/native-asan/regenerate-golden.log"
  (cd "$BUILD/native-asan" && KORVEL_UPDATE_GOLDEN=1 bin/core_paint_golden_test) >"$out" 2>&1
  local status=$?
  grep -q '^\[  SKIPPED \]' "$out" && [ "$status" -eq 0 ] ||
    { cat "$out" >&2; fail "the golden test did not write its references (exit status $status)"; return 1; }
  log "wrote tests/data/golden: look at every changed picture before committing"
}

regenerate_pictures() {   # regenerate_pictures SCRIPT SWITCH: an end-to-end picture check writing its references
  configure_windows && build_tree "$BUILD/win" || return 1
  start_slots 1 || return 1
  # In the build tree, as ctest runs it (the tests find the sources from there).
  (cd "$BUILD/win" && env "$2=1" KORVEL_WIN_SLOTS="$SLOTS_DIR" bash "$ROOT/scripts/lib/in_slot.sh" \
    bash "$ROOT/tests/e2e/$1" "$WINE_LOADER" "$BUILD/win/bin")
  local status=$?
  stop_all
  [ "$status" -eq 77 ] || { fail "$1 did not write its references (exit status $status, 77 expected)"; return 1; }
  log "wrote the references of $1: look at every changed picture before committing"
}

# Stages to run: all by default (native, fuzz, windows), or those named.
# fuzz-long runs each fuzz target for KORVEL_FUZZ_LONG_SECONDS (default 1800)
# instead of 30 seconds; it is never part of the default run.
# KORVEL_CTEST_ARGS passes extra arguments to ctest, e.g. "-R gui".
# KORVEL_WIN_JOBS sets how many Windows tests run at once (1: one at a time).
# regenerate-golden, regenerate-pages and regenerate-gallery write new reference
# pictures (tests/data/README.md); never part of the default run.
STAGES=("$@")
[ "${#STAGES[@]}" -gt 0 ] || STAGES=(native fuzz windows)
for switch in "${REGENERATION_SWITCHES[@]}"; do
  [ -n "${!switch:-}" ] && log "$switch is set but ignored: the tests compare; regenerate-* stages write references"
  unset "$switch"
done
for s in "${STAGES[@]}"; do
  case "$s" in
    native) stage native native_tests ;;
    fuzz) stage fuzz fuzz_targets 30 ;;
    fuzz-long) stage fuzz-long fuzz_targets "${KORVEL_FUZZ_LONG_SECONDS:-1800}" ;;
    windows) stage windows windows_tests ;;
    regenerate-golden) stage regenerate-golden regenerate_golden ;;
    regenerate-pages) stage regenerate-pages regenerate_pictures pages_e2e.sh KORVEL_REGENERATE_PAGES ;;
    regenerate-gallery) stage regenerate-gallery regenerate_pictures gallery_e2e.sh KORVEL_UPDATE_REFERENCES ;;
    *) echo "unknown stage: $s (native, fuzz, fuzz-long, windows or regenerate-golden, -pages, -gallery)" >&2
       exit 64 ;;
  esac
done

if [ "${#FAILED[@]}" -gt 0 ]; then
  printf '\nFAILED: %s\n' "${FAILED[*]}" >&2
  exit 1
fi
case "${STAGES[*]}" in
  regenerate-*) printf '\nReferences written: look at them (git status tests/data) before committing.\n' ;;
  *) printf '\nAll tests passed.\n' ;;
esac
