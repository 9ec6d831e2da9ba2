#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under Wine.
# With a display (DISPLAY set and reachable) the window appears there and the
# command returns when it is closed. Without one, it starts a virtual display,
# waits for the main window, saves build/screenshot.png and closes the program.
#
#   scripts/run.sh            the launcher, Korvel Pro
#   scripts/run.sh gallery    the skinning engine's gallery (build/gallery-screenshot.png)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
trap stop_all EXIT
trap 'stop_all; exit 130' INT TERM
KORVEL_STAGE=run
case "${1:-}" in
  "") PROGRAM=korvel TITLE="Korvel Pro 2007.1" NAME="Korvel Pro" SHOT="$BUILD/screenshot.png" ;;
  gallery) PROGRAM=korvel-gallery TITLE="Korvel Gallery" NAME="Korvel Gallery" SHOT="$BUILD/gallery-screenshot.png" ;;
  *) echo "usage: scripts/run.sh [gallery]" >&2; exit 64 ;;
esac

"$ROOT/scripts/setup.sh" || exit 1
mkdir -p "$BUILD"
configure_windows || exit 1
build_tree "$BUILD/win" "$PROGRAM" close_window >"$BUILD/run-build.log" 2>&1 ||
  { tail -n 60 "$BUILD/run-build.log" >&2; fail "the build failed"; exit 1; }

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  start_wine || exit 1
  install_program "$PROGRAM" || exit 1
  log "starting $NAME on $DISPLAY"
  "$WINE_LOADER" "$(program_path "$PROGRAM")"
  exit $?
fi

start_display || exit 1
start_wine || exit 1
install_program "$PROGRAM" || exit 1
log "starting $NAME on the virtual display $DISPLAY"
"$WINE_LOADER" "$(program_path "$PROGRAM")" >"$BUILD/$PROGRAM-run.log" 2>&1 </dev/null &
PROGRAM_PID=$!

# Bounded wait for the main window.
window=""
for _ in $(seq 1 600); do
  window="$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n1)"
  [ -n "$window" ] && break
  kill -0 "$PROGRAM_PID" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  cat "$BUILD/$PROGRAM-run.log" >&2
  fail "the main window did not appear within 60 seconds"
  exit 1
fi
sleep 2   # let the first paint settle
import -display "$DISPLAY" -window root "$SHOT" || { fail "taking the screenshot failed"; exit 1; }
log "screenshot saved as $SHOT"

"$WINE_LOADER" "$BUILD/win/bin/close_window.exe" "$TITLE" 10000 >/dev/null 2>&1 || log "the window did not close on request"
for _ in $(seq 1 100); do
  kill -0 "$PROGRAM_PID" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$PROGRAM_PID" 2>/dev/null; then
  kill "$PROGRAM_PID" 2>/dev/null
  fail "$NAME did not end within 10 seconds of closing its window"
  exit 1
fi
wait "$PROGRAM_PID"
log "$NAME ended with exit code $?"
