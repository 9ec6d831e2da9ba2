#!/usr/bin/env bash
# The skinned frame of the real launcher under Wine, driven with xdotool and read
# back from the screen: the corners show the root window (black) exactly where
# the FORM and FORMTITLE frame masks hold the key colour, the window's own
# pixels elsewhere; the caption has the minimise and close buttons only; a
# press on minimise released outside it does nothing; minimise minimises and a
# restore brings back the same window, frame and client background; the title
# bar looks different while another window has the focus; close ends the
# program with exit code 0.
# frame_probe.exe (tests/e2e/frame_probe.cpp) computes the corners from the
# launcher's own skin and reads hit codes and the minimised state inside Wine.
#
#   frame_e2e.sh WINE_LOADER BIN_DIR      (WINEPREFIX and DISPLAY set, wineserver running)
set -uo pipefail
WINE="$1"
BIN="$2"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}" "${DISPLAY:?DISPLAY must name the test display}"
TITLE="Korvel Pro 2007.1"
DIR="$WINEPREFIX/drive_c/korvel"
WORK="$(cd "$BIN/.." && pwd)/frame-e2e"
FAILURES=0
PID=""
E2E_TAG=frame
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

probe() { timeout 60 "$WINE" "$BIN/frame_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

# The window's pixels as "x y r,g,b", window-relative, from the screen.
window_pixels() { area_pixels "$WIDTH" "$HEIGHT" "$WX" "$WY"; }
# The title bar (the window's top 20 rows) or the whole window as a picture file.
title_bar() { area_picture "$1" "$WIDTH" 20 "$WX" "$WY"; }
whole_window() { area_picture "$1" "$WIDTH" "$HEIGHT" "$WX" "$WY"; }

start_launcher() {
  "$WINE" "$DIR/korvel.exe" >/dev/null 2>&1 </dev/null &
  PID=$!
  WID="$(find_window "$TITLE" 1500 0.02)" || { note "FAIL: the main window did not appear within 30 s"; return 1; }
  geometry
  wait_painted 300 0.1 || { note "FAIL: the main window was not painted within 30 s"; return 1; }
}
geometry() { window_geometry "$WID"; }

# How long a negative check waits for a fault to show (seconds).
NOTHING_HAPPENS=1
iconic_is() { [ "$(probe iconic "$TITLE")" == "$1" ]; }
# title_matches REFERENCE FILE / title_differs REFERENCE FILE: grabs the title bar into FILE and compares.
title_matches() { title_bar "$2" && same_picture "$1" "$2"; }
title_differs() { title_bar "$2" && ! same_picture "$1" "$2"; }

# Counts the corner pixels that break the masks' rule; prints "wrong checked".
check_corners() {   # check_corners WHAT
  probe corners "$WIDTH" "$HEIGHT" >"$WORK/corners.txt"
  window_pixels >"$WORK/window.txt"
  local result
  result="$(awk 'NR == FNR { colour[$1 " " $2] = $3; next }
    { at = $1 " " $2; c = colour[at]; n++
      if ($3 == "hole" && c != "0,0,0") { bad++; if (bad <= 5) print "hole not black at " at ": " c > "/dev/stderr" }
      if ($3 == "opaque" && c != $4) { bad++; if (bad <= 5) print "opaque " $4 " at " at ": " c > "/dev/stderr" }
      if ($3 == "skin" && c == "0,0,0") { bad++; if (bad <= 5) print "black skin pixel at " at > "/dev/stderr" }
      kinds[$3]++ }
    END { printf "%d %d %d %d %d\n", bad + 0, n + 0, kinds["hole"] + 0, kinds["opaque"] + 0, kinds["skin"] + 0 }' \
    "$WORK/window.txt" "$WORK/corners.txt")"
  read -r wrong checked holes opaque skin <<<"$result"
  note "$1: $checked corner pixels ($holes holes, $opaque opaque title pixels, $skin other skin pixels)"
  check "$1: corners follow the frame masks" "0" "$wrong"
  [ "$holes" -gt 0 ] && [ "$opaque" -gt 0 ] || { note "FAIL: $1: the masks gave no holes or opaque pixels"; FAILURES=$((FAILURES + 1)); }
}

mkdir -p "$DIR" "$WORK" || exit 1
cp "$BIN/korvel.exe" "$DIR/" || { note "cannot copy korvel.exe from $BIN"; exit 1; }
check "the root window is black" "0,0,0" "$(pixel 0 0)"
start_launcher || exit 1

check_corners "at start"

# The caption's hit codes: the buttons among them, left to right.
probe hits "$TITLE" >"$WORK/hits.txt"
buttons="$(awk '$1 == 8 || $1 == 9 || $1 == 20 || $1 == 21 { printf "%s ", $1 }' "$WORK/hits.txt")"
check "caption buttons: minimise (8) then close (20), nothing else" "8 20 " "$buttons"
read -r _ MINX MINY <<<"$(awk '$1 == 8 { print; exit }' "$WORK/hits.txt")"
read -r _ CLOSEX CLOSEY <<<"$(awk '$1 == 20 { print; exit }' "$WORK/hits.txt")"
read -r _ CAPX CAPY <<<"$(awk '$1 == 2 { print; exit }' "$WORK/hits.txt")"
[ -n "${MINX:-}" ] && [ -n "${CLOSEX:-}" ] && [ -n "${CAPX:-}" ] || { note "FAIL: no minimise, close or caption point"; exit 1; }

title_bar "$WORK/active.png"
# The focused edit's caret blinks (on and off for the caret blink time each, 530 ms
# by default): shots 0.3 s apart over 1.2 s hold it in both phases.
for n in 1 2 3 4 5; do whole_window "$WORK/start-$n.png"; sleep 0.3; done

# A press on minimise released outside it does not minimise.
xdotool mousemove --sync "$MINX" "$MINY" mousedown 1
sleep 0.3
xdotool mousemove --sync $((WX + WIDTH / 2)) $((WY + HEIGHT / 2))
sleep 0.2
xdotool mouseup 1
sleep "$NOTHING_HAPPENS"
check "a press on minimise released outside leaves the window as it is" "0" "$(probe iconic "$TITLE")"

# Minimise, then restore: the same skinned frame.
xdotool mousemove --sync "$MINX" "$MINY" click 1
wait_until 50 0.1 iconic_is 1
check "minimise minimises" "1" "$(probe iconic "$TITLE")"
probe restore "$TITLE"
wait_until 50 0.1 iconic_is 0
check "restore brings the window back" "0" "$(probe iconic "$TITLE")"
WID="$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n1)"
geometry
check_corners "after restore"
xdotool mousemove --sync $((WX + WIDTH + 20)) $((WY + HEIGHT + 20))   # off the caption buttons
wait_until 50 0.1 title_matches "$WORK/active.png" "$WORK/restored-title.png"
if same_picture "$WORK/active.png" "$WORK/restored-title.png"; then note "ok: the restored title bar is the one at start"
else note "FAIL: the restored title bar differs (see $WORK/active.png, $WORK/restored-title.png)"; FAILURES=$((FAILURES + 1)); fi
# The whole restored window, client background included, is the one at start
# (in one of the caret's phases).
whole_window "$WORK/restored.png"
same_as_start=""
for n in 1 2 3 4 5; do same_picture "$WORK/start-$n.png" "$WORK/restored.png" && same_as_start=$n; done
if [ -n "$same_as_start" ]; then note "ok: the restored window is the one at start"
else
  compare "$WORK/start-1.png" "$WORK/restored.png" "$WORK/restored.diff.png" 2>/dev/null
  note "FAIL: the restored window differs from the one at start"
  note "    at start: $WORK/start-1.png (to -5); restored: $WORK/restored.png; difference: $WORK/restored.diff.png"
  FAILURES=$((FAILURES + 1))
fi

# Another window takes the focus: the inactive look; a click on the caption brings the active one back.
probe other 3 &
OTHER=$!
wait_until 25 0.1 title_differs "$WORK/active.png" "$WORK/inactive.png"
if same_picture "$WORK/active.png" "$WORK/inactive.png"; then
  note "FAIL: the title bar looks the same while another window has the focus ($WORK/inactive.png)"
  FAILURES=$((FAILURES + 1))
else
  note "ok: the title bar changes while another window has the focus"
fi
wait "$OTHER"
xdotool mousemove --sync "$CAPX" "$CAPY" click 1
xdotool mousemove --sync $((WX + WIDTH + 20)) $((WY + HEIGHT + 20))
wait_until 50 0.1 title_matches "$WORK/active.png" "$WORK/reactivated.png"
if same_picture "$WORK/active.png" "$WORK/reactivated.png"; then note "ok: active again, the title bar is the one at start"
else note "FAIL: the reactivated title bar differs (see $WORK/reactivated.png)"; FAILURES=$((FAILURES + 1)); fi

# Close ends the program with exit code 0.
xdotool mousemove --sync "$CLOSEX" "$CLOSEY" click 1
for _ in $(seq 1 100); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$PID" 2>/dev/null; then
  note "FAIL: the program still runs 10 s after the close button"
  FAILURES=$((FAILURES + 1))
  timeout 20 "$WINE" "$BIN/close_window.exe" "$TITLE" 10000 >/dev/null 2>&1
  kill "$PID" 2>/dev/null
fi
wait "$PID"
check "close ends the program with exit code 0" "0" "$?"

note "$FAILURES failed check(s)"
[ "$FAILURES" -eq 0 ]
