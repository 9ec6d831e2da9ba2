#!/usr/bin/env bash
# The gallery as a user meets it: the real korvel-gallery.exe under Wine on the
# display in DISPLAY, driven with real keys and clicks (xdotool). It opens a
# child window from the File menu, maximises it with a double click on its
# title bar and restores it from the Window menu, switches to Basalt and back
# through the Skins menu, and compares the frame's pixels at each step with the
# reference pictures in tests/data/gallery, without tolerance:
#
#   elegant-start       the frame as it starts, with its Controls window (whose
#                       Controls menu shows in the frame's menu line)
#   elegant-maximised   the Sizeable window maximised (its icon starts the menu line)
#   elegant-normal      the Sizeable window restored, the Controls window inactive
#                       (after Basalt and back: the frame's title bar and both windows)
#   basalt-normal       the same in Basalt, after maximising and restoring (right
#                       after the switch: the frame's title bar and both windows)
#   basalt-maximised    the Sizeable window maximised in Basalt
#
#   gallery_e2e.sh WINE_LOADER BIN_DIR      (WINEPREFIX and DISPLAY set, wineserver running)
#
# A differing picture leaves NAME.actual.png and NAME.diff.png (changed pixels
# red) in BIN_DIR/../gallery-shots and names them. KORVEL_UPDATE_REFERENCES=1
# (which ctest never passes on) writes the pictures taken as the new references
# instead and ends with status 77, not run:
#   scripts/test.sh regenerate-gallery
# Look at every one before committing.
set -uo pipefail
WINE="$1"
BIN="$2"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}" "${DISPLAY:?DISPLAY must name the test display}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
REFERENCES="$ROOT/tests/data/gallery"
SHOTS="$(cd "$BIN/.." && pwd)/gallery-shots"
DIR="$WINEPREFIX/drive_c/korvel"
TITLE="Korvel Gallery"
UPDATE="${KORVEL_UPDATE_REFERENCES:-}"
FAILURES=0
PID=""
WID=""

E2E_TAG=gallery
source "$HERE/lib.sh"

failed() { note "FAIL: $*"; FAILURES=$((FAILURES + 1)); }

# start_program EXE: starts the program and waits (bounded, 30 s) for its
# visible window; sets PID and WID.
start_program() {
  "$WINE" "$1" >"$SHOTS/program.log" 2>&1 </dev/null &
  PID=$!
  WID="$(find_window "$TITLE" 600 0.05 "$PID")"
}

# window_name: the title of the program's window.
window_name() { xdotool getwindowname "$WID" 2>/dev/null; }

# wait_for_name TEXT: waits (bounded, 10 s) until the window's title is TEXT.
wait_for_name() {
  for _ in $(seq 1 100); do
    [ "$(window_name)" == "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# grab FILE: the window's rectangle of the screen, as a PNG.
grab() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  area_picture "PNG24:$1" "$WIDTH" "$HEIGHT" "$X" "$Y"
}

# settle FILE: grabs until two pictures in a row are the same (bounded, 10 s),
# so fades and late repaints have ended; the last picture stays in FILE.
settle() {
  local previous="$1.previous.png"
  grab "$previous" || return 1
  for _ in $(seq 1 50); do
    sleep 0.2
    grab "$1" || return 1
    if same_picture "$previous" "$1"; then
      rm -f "$previous"
      return 0
    fi
    mv "$1" "$previous"
  done
  rm -f "$previous"
  return 1
}

# matches NAME: the settled window against the reference NAME.png (or, with
# KORVEL_UPDATE_REFERENCES set, the picture becomes the reference).
matches() {
  local name="$1" shot="$SHOTS/$1.png" reference="$REFERENCES/$1.png"
  settle "$shot" || { failed "$name: the window did not stop changing within 10 s"; return 1; }
  if [ -n "$UPDATE" ]; then
    # No time stamps: a picture made again from the same pixels is the same file.
    convert "$shot" -strip -define png:exclude-chunks=date,time "PNG24:$reference" && note "wrote $reference"
    return 0
  fi
  [ -f "$reference" ] || { failed "$name: no reference $reference (make them with scripts/test.sh regenerate-gallery)"; return 1; }
  local differing
  differing="$(compare -metric AE "$reference" "$shot" -compose src -highlight-color red \
    -lowlight-color none "PNG24:$SHOTS/$name.diff.png" 2>&1 >/dev/null)"
  if [ "$differing" == "0" ]; then
    note "ok: $name"
    rm -f "$SHOTS/$name.diff.png"
    return 0
  fi
  cp "$shot" "$SHOTS/$name.actual.png"
  failed "$name differs from its reference in $differing pixel(s)"
  note "    reference:  $reference"
  note "    actual:     $SHOTS/$name.actual.png"
  note "    difference: $SHOTS/$name.diff.png"
  return 1
}

# matches_part NAME REFERENCE GEOMETRY...: the settled window against the
# reference REFERENCE.png within each rectangle (WxH+X+Y of the window). With
# KORVEL_UPDATE_REFERENCES set the references are being made: nothing is compared.
matches_part() {
  local name="$1" reference="$REFERENCES/$2.png" shot="$SHOTS/$1.png" part
  shift 2
  settle "$shot" || { failed "$name: the window did not stop changing within 10 s"; return 1; }
  [ -n "$UPDATE" ] && return 0
  [ -f "$reference" ] || { failed "$name: no reference $reference"; return 1; }
  for part in "$@"; do
    convert "$reference" -crop "$part" +repage "PNG24:$SHOTS/$name.expected-part.png" &&
      convert "$shot" -crop "$part" +repage "PNG24:$SHOTS/$name.actual-part.png" ||
      { failed "$name: cutting $part out of the pictures failed"; return 1; }
    if ! same_picture "$SHOTS/$name.expected-part.png" "$SHOTS/$name.actual-part.png"; then
      failed "$name differs from $reference within $part (actual: $shot)"
      return 1
    fi
  done
  rm -f "$SHOTS/$name".*-part.png
  note "ok: $name"
}

stop_program() {
  [ -n "$PID" ] || return 0
  request_close "$WINE" "$BIN" "$TITLE"
  wait_ended "$PID" || kill "$PID" 2>/dev/null
  wait "$PID" 2>/dev/null
  PID=""
}

finish() {
  stop_program
  note "$FAILURES failed check(s)"
  [ "$FAILURES" -eq 0 ] || exit 1
  # Writing references compares nothing: not run, never passed.
  [ -n "$UPDATE" ] && { note "references written to $REFERENCES; nothing compared: not run"; exit 77; }
  exit 0
}

# Keys go to the window under the pointer (Xvfb has no window manager): the
# pointer rests on the frame's title bar, where hovering changes nothing.
rest_pointer() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + 10))
}
keys() {   # keys KEY...: one key at a time, each given time to open its menu
  rest_pointer
  local key
  for key in "$@"; do xdotool key "$key"; sleep 0.4; done
}
# The Sizeable window's title bar: the window lies at (380, 404) in the MDI area,
# which starts below the frame's title bar and its menu line.
maximise_by_title() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  xdotool mousemove --sync $((X + 508)) $((Y + 459)) click --repeat 2 --delay 80 1
  sleep 0.3
  rest_pointer
}

rm -rf "$SHOTS"
mkdir -p "$SHOTS" "$DIR/skins" || exit 1
cp "$BIN/korvel-gallery.exe" "$DIR/" || { note "cannot copy korvel-gallery.exe from $BIN"; exit 1; }
cp -r "$ROOT/skins/." "$DIR/skins/" || { note "cannot copy the shipped skins"; exit 1; }
trap 'stop_program' EXIT

start_program "$DIR/korvel-gallery.exe" || { failed "the gallery's window did not appear within 30 s"; finish; }
rest_pointer
matches elegant-start

keys alt+f z
maximise_by_title
wait_for_name "$TITLE - [Sizeable]" || failed "a double click on the Sizeable window's title bar did not maximise it (title: $(window_name))"
matches elegant-maximised
keys alt+w r
wait_for_name "$TITLE" || failed "Window > Restore did not restore the Sizeable window (title: $(window_name))"
matches elegant-normal

# Right after a skin switch the whole frame, the inactive Controls window with
# its scroll bars and the MDI area's edge included, shows exactly the new skin's
# pixels: the same picture as after a maximise and restore have repainted
# everything.
WHOLE_WINDOW=728x686+0+0
# The Skins menu lists Basalt, then the internal skin.
keys alt+s Return
matches_part basalt-switched basalt-normal "$WHOLE_WINDOW"
maximise_by_title
wait_for_name "$TITLE - [Sizeable]" || failed "the Sizeable window did not maximise in Basalt (title: $(window_name))"
matches basalt-maximised
keys alt+w r
wait_for_name "$TITLE" || failed "the Sizeable window was not restored in Basalt (title: $(window_name))"
matches basalt-normal

keys alt+s Down Return
matches_part elegant-switched-back elegant-normal "$WHOLE_WINDOW"

# File > Exit ends the program.
keys alt+f x
for _ in $(seq 1 100); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$PID" 2>/dev/null; then
  failed "File > Exit did not end the gallery within 10 s"
else
  wait "$PID"
  code=$?
  PID=""
  [ "$code" -eq 0 ] && note "ok: File > Exit ends the gallery with exit code 0" || failed "the gallery ended with exit code $code"
fi
finish
