#!/usr/bin/env bash
# Skin folders that lack sections, as a user meets them: the real korvel.exe and
# korvel-gallery.exe under Wine on the display in DISPLAY, each switched by its
# window menu (a right click on the caption, then keys) to every folder that
# write_incomplete_skins (lib.sh) makes from the shipped Basalt, then to the
# shipped skins again, and used in each: the window stays visible, a window
# frame painted from the skin only where the skin has FORM, a real click and
# typed keys reach a field, and the launcher's launch line is exact.
#
#   incomplete_skins_e2e.sh WINE_LOADER BIN_DIR   (WINEPREFIX and DISPLAY set, wineserver running)
#
# The skins the window menu offers are the internal one and every folder of
# c:\korvel\skins (the shipped skins/ and the incomplete ones), sorted without
# regard to case; a skin is chosen by its place in that list.
set -uo pipefail
WINE="$1"
BIN="$2"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}" "${DISPLAY:?DISPLAY must name the test display}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
DIR="$WINEPREFIX/drive_c/korvel"
LOG="$DIR/launches.log"
SHOTS="$(cd "$BIN/.." && pwd)/incomplete-skins-shots"
INTERNAL="Elegant (internal)"
FAILURES=0
PID=""
WID=""
TITLE=""
E2E_TAG=incomplete
source "$HERE/lib.sh"

failed() { note "FAIL: $*"; FAILURES=$((FAILURES + 1)); }

# ---- the skins on offer ---------------------------------------------------------------

rm -rf "$SHOTS" "$DIR/skins"
mkdir -p "$SHOTS" "$DIR/skins" || exit 1
cp "$BIN/korvel.exe" "$BIN/korvel-gallery.exe" "$BIN/standin_tool.exe" "$DIR/" &&
  cp "$BIN/standin_tool.exe" "$DIR/invetta.exe" &&
  cp -r "$ROOT/skins/." "$DIR/skins/" || { note "FAIL: installing into $DIR"; exit 1; }
write_incomplete_skins "$DIR/skins" "$ROOT/skins/Basalt" || { note "FAIL: writing the incomplete skins"; exit 1; }
SHIPPED=()
for folder in "$ROOT"/skins/*/; do folder="${folder%/}"; SHIPPED+=("${folder##*/}"); done
# The window menu's list: the internal skin and the folders holding an Options.dat, case ignored.
mapfile -t OFFERED < <({ echo "$INTERNAL"; for f in "$DIR"/skins/*/Options.dat; do f="${f%/Options.dat}"; echo "${f##*/}"; done; } |
  LC_ALL=C sort -f)
place_of() {   # place_of NAME: its index in OFFERED
  local i
  for i in "${!OFFERED[@]}"; do [ "${OFFERED[$i]}" == "$1" ] && { echo "$i"; return 0; }; done
  return 1
}
# frame_shaped NAME: the skin paints the window's frame with its cut corners:
# it has FORM, and the master bitmap its frame masks lie on is there (a missing
# picture leaves out what it would have drawn).
frame_shaped() {
  [ "$1" == "$INTERNAL" ] && return 0
  local options="$DIR/skins/$1/Options.dat" master
  grep -qi '^\[FORM\]' "$options" || return 1
  master="$(tr -d '\r' <"$options" | sed -n 's/^MASTERBITMAP=//Ip' | head -n1)"
  [ -n "$master" ] && [ -f "$DIR/skins/$1/$master" ]
}

# ---- the program's window ----------------------------------------------------------------

start_program() {   # start_program EXE: sets PID and WID (bounded, 30 s)
  "$WINE" "$1" >"$SHOTS/program.log" 2>&1 </dev/null &
  PID=$!
  WID="$(find_window "$TITLE" 600 0.05 "$PID")"
}
stop_program() {
  [ -n "$PID" ] || return 0
  request_close "$WINE" "$BIN" "$TITLE"
  if ! wait_ended "$PID"; then
    failed "$TITLE still runs 10 s after closing its window"
    kill "$PID" 2>/dev/null
  fi
  wait "$PID" 2>/dev/null
  check "closing $TITLE ends it with exit code 0" 0 "$?"
  PID=""
}
trap 'stop_program' EXIT

# switch_to NAME: the window menu from a right click on the caption, down to
# "Available skins", into it, down to NAME, Enter. The pointer rests on the
# caption, so keys go to the window and hovering changes nothing.
switch_to() {
  local place X Y WIDTH HEIGHT SCREEN WINDOW
  place="$(place_of "$1")" || { failed "$1 is not among the skins on offer"; return 1; }
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + 10)) click 3
  sleep 0.6
  xdotool key Down; sleep 0.2
  xdotool key Right; sleep 0.3
  [ "$place" -gt 0 ] && xdotool key --repeat "$place" --delay 150 Down
  sleep 0.2
  xdotool key Return
  sleep 0.5
}

# The window visible after a switch, whole: a window of the program's title
# shows on the screen, its picture changed from BEFORE (the switch happened),
# and its top-left pixel shows the root behind a skinned frame's cut corner
# exactly when the skin shapes the frame (frame_shaped; else the system's frame
# or the skin's uncut one fills it).
expect_switched() {   # expect_switched NAME BEFORE.png AFTER.png
  local wid corner
  wid="$(find_window "$TITLE" 50 0.1)"
  [ -n "$wid" ] || { failed "$1: no visible window titled $TITLE"; return 1; }
  WID="$wid"
  settle "$3" || failed "$1: the window did not stop changing within 10 s"
  same_picture "$2" "$3" && failed "$1: the window looks as it did before the switch ($3)"
  corner="$(convert "$3" -crop 1x1+0+0 -depth 8 txt:- | sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p')"
  if frame_shaped "$1"; then
    check "$1: the skinned frame's corner is cut" "0,0,0" "$corner"
  else
    [ "$corner" != "0,0,0" ] && note "ok: $1: the frame's corner is not cut" ||
      failed "$1: the window's corner is cut without FORM or its pictures"
  fi
}

# ---- the launcher ---------------------------------------------------------------------------

# Clicks at client X Y of the launcher (client area 432 x 334, window_geometry).
click() {
  window_geometry "$WID"
  xdotool mousemove --sync $((CX + $1)) $((CY + $2)) click 1
  sleep 0.3
}
retype() {   # retype LEFT TOP TEXT: the field at client LEFT,TOP cleared and TEXT typed
  click $(($1 + 5)) $(($2 + 10))
  xdotool key End
  xdotool key --repeat 60 --delay 5 BackSpace
  xdotool type --delay 40 "$3"
  sleep 0.3
}
logged_lines() { [ -f "$LOG" ] && sed -e 's/^"[^"]*" //' -e 's/^[^ "]*\.exe //' "$LOG" | wc -l || echo 0; }

# use_launcher NAME: the Invetta page, a config file named after the skin typed
# into its field, its launch button pressed: the stand-in receives exactly the
# line the tool table makes of the page's texts.
use_launcher() {
  local cfg launched
  cfg="d:\\$(echo "$1" | tr -c 'A-Za-z0-9\n' '-').cfg"
  click 40 $((72 + 12))                          # the Invetta page button
  retype $((95 + 24)) $((8 + 80)) "$cfg"         # its config file field
  local before
  before="$(logged_lines)"
  click $((96 + 240 + 30)) $((8 + 208 + 12))     # its launch button
  for _ in $(seq 1 300); do [ "$(logged_lines)" -gt "$before" ] && break; sleep 0.1; done
  launched="$(sed -e 's/^"[^"]*" //' -e 's/^[^ "]*\.exe //' "$LOG" 2>/dev/null | tail -n1)"
  check "$1: the typed config file reaches Invetta's launch line" "$cfg vireon c:\\korvel\\invetta.html #" "$launched"
}

TITLE="Korvel Pro 2007.1"
rm -f "$LOG"
start_program "$DIR/korvel.exe"
[ -n "$WID" ] || { failed "the launcher's window did not appear within 30 s"; exit 1; }
window_geometry "$WID"
wait_painted 300 0.05 || failed "the launcher was not painted"
previous="$SHOTS/launcher-start.png"
settle "$previous"
for skin in "${INCOMPLETE_SKINS[@]}" "${SHIPPED[@]}" "$INTERNAL"; do
  tag="launcher-$(echo "$skin" | tr 'A-Z ()' 'a-z-__')"
  switch_to "$skin" || continue
  expect_switched "$skin" "$previous" "$SHOTS/$tag.png"
  use_launcher "$skin"
  settle "$SHOTS/$tag.used.png"
  previous="$SHOTS/$tag.used.png"
done
stop_program

# ---- the gallery ------------------------------------------------------------------------------

# use_gallery NAME: a click into the Controls window's empty field and typed
# text: the field holds the text (read back by the probe).
use_gallery() {
  local line left top width height text typed
  typed="typed in $1"
  line="$(timeout 30 "$WINE" "$BIN/probe.exe" "$TITLE" --screen 2>/dev/null | tr -d '\r' |
    awk -F'\t' '$2 == "Edit" && $3 == 1 && $4 == 1 && $6 == "" { print $5; exit }')"
  [ -n "$line" ] || { failed "$1: the gallery shows no empty field to type into"; return 1; }
  IFS=, read -r left top width height <<<"$line"
  xdotool mousemove --sync $((left + width / 2)) $((top + height / 2)) click 1
  sleep 0.3
  xdotool type --delay 30 "$typed"
  sleep 0.3
  text="$(timeout 30 "$WINE" "$BIN/probe.exe" "$TITLE" --screen 2>/dev/null | tr -d '\r' |
    awk -F'\t' -v at="$line" '$2 == "Edit" && $5 == at { print $6; exit }')"
  check "$1: a click and typed keys reach the gallery's field" "$typed" "$text"
  # Emptied again for the next skin.
  xdotool key End
  xdotool key --repeat ${#typed} --delay 5 BackSpace
}

TITLE="Korvel Gallery"
start_program "$DIR/korvel-gallery.exe"
[ -n "$WID" ] || { failed "the gallery's window did not appear within 30 s"; exit 1; }
previous="$SHOTS/gallery-start.png"
settle "$previous"
for skin in "${INCOMPLETE_SKINS[@]}" "${SHIPPED[@]}" "$INTERNAL"; do
  tag="gallery-$(echo "$skin" | tr 'A-Z ()' 'a-z-__')"
  switch_to "$skin" || continue
  expect_switched "$skin" "$previous" "$SHOTS/$tag.png"
  use_gallery "$skin"
  settle "$SHOTS/$tag.used.png"
  previous="$SHOTS/$tag.used.png"
done
stop_program

note "$FAILURES failed check(s)"
[ "$FAILURES" -eq 0 ]
