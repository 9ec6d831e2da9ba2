#!/usr/bin/env bash
# Runs one Windows test in a slot of its own; CTest runs every Windows test
# through it:
#
#   in_slot.sh COMMAND [ARGUMENT...]
#
# With KORVEL_WIN_SLOTS naming the slots' folder (scripts/test.sh starts them,
# see start_slots in common.sh) it takes a free slot, holds it while the test
# runs, and runs the command with the slot's DISPLAY and WINEPREFIX, so real
# input, screenshots and Wine's processes stay with that test. Without it the
# command runs with the caller's DISPLAY and WINEPREFIX as they are.
# The exit status is the command's.
set -uo pipefail
[ $# -gt 0 ] || { echo "usage: in_slot.sh COMMAND [ARGUMENT...]" >&2; exit 64; }
[ -n "${KORVEL_WIN_SLOTS:-}" ] || exec "$@"

# Every slot is held through a lock on its file "lock": free when nobody holds
# it. CTest runs no more tests at once than there are slots, so one is free at
# once; the wait is bounded all the same.
slot=""
for _ in $(seq 1 600); do
  for dir in "$KORVEL_WIN_SLOTS"/*/; do
    [ -f "$dir/env" ] || continue
    exec 9>>"$dir/lock" || continue
    if flock -n 9; then slot="${dir%/}"; break 2; fi
    exec 9>&-
  done
  sleep 1
done
[ -n "$slot" ] || {
  echo "in_slot: no free slot in $KORVEL_WIN_SLOTS within 10 minutes (more tests at once than slots?)" >&2
  exit 1
}
source "$slot/env" || { echo "in_slot: cannot read $slot/env" >&2; exit 1; }
export DISPLAY WINEPREFIX
echo "[slot ${slot##*/}] DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"

# The test does not inherit the lock: the slot is free again when this script ends.
"$@" 9>&- &
test_pid=$!
trap 'kill -TERM "$test_pid" 2>/dev/null' TERM INT
wait "$test_pid"
status=$?
# A signal ends the wait early: wait for the test itself.
if kill -0 "$test_pid" 2>/dev/null; then wait "$test_pid"; status=$?; fi
exit "$status"
