#!/usr/bin/env bash
# The gallery as a user meets it: the real korvel-gallery.exe under Wine on the
# display in DISPLAY, driven with real keys and clicks (xdotool), in every skin
# of tests/data/skins.list. For each skin it starts the program in that skin
# (the first, the program's own, by a plain start; the others named on the
# command line) and compares the frame's pixels at each step with the reference
# pictures SKIN-STEP.png in tests/data/gallery, without tolerance:
#
#   start           as it starts, with its Controls window (whose Controls menu
#                   shows in the frame's menu line)
#   button-hot      the pointer on the Controls window's Normal button
#   button-pressed  the left button held down on it (released there: a click)
#   check-hot       the pointer on the Unchecked check box
#   popup-menu      the frame's system menu open (a right click on its title bar)
#   maximised       the Sizeable window, opened from the File menu, maximised by
#                   a double click on its title bar (its icon starts the menu line)
#   normal          the Sizeable window restored from the Window menu, the
#                   Controls window inactive with its inactive title bar
#   menu-bar        the Window menu open, its head pressed in the menu line
#
# Then, in the program started in the first skin, the Skins menu changes skins
# in an order that takes every ordered pair of the listed skins once; right
# after the change from OLD to NEW the frame must equal NEW-normal (taken as
# NEW-from-OLD-normal), then with the Window menu open NEW-menu-bar and with
# the Sizeable window maximised NEW-maximised. File > Exit ends the program
# with exit code 0.
#
#   gallery_e2e.sh WINE_LOADER BIN_DIR [PART]   (WINEPREFIX and DISPLAY set, wineserver running)
#
# PART runs one piece, so that CTest can run the pieces side by side: "start
# PREFIX" the fresh start in that listed skin alone (not the first), "changes"
# the fresh start in the first skin and the skin changes. Without PART all of it.
# A differing picture leaves NAME.actual.png and NAME.diff.png (changed pixels
# red) in BIN_DIR/../gallery-shots/PART and names them. KORVEL_UPDATE_REFERENCES=1
# (which ctest never passes on) writes the pictures of the fresh starts as the
# new references instead (the pictures after skin changes are still compared
# with them) and ends with status 77, not run:
#   scripts/test.sh regenerate-gallery
# Look at every one before committing.
set -uo pipefail
WINE="$1"
BIN="$2"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}" "${DISPLAY:?DISPLAY must name the test display}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
REFERENCES="$ROOT/tests/data/gallery"
PART="${3:-all}"
SHOTS="$(cd "$BIN/.." && pwd)/gallery-shots/${PART// /-}"
DIR="$WINEPREFIX/drive_c/korvel"
TITLE="Korvel Gallery"
UPDATE="${KORVEL_UPDATE_REFERENCES:-}"
FAILURES=0
PID=""
WID=""

E2E_TAG=gallery
source "$HERE/lib.sh"

failed() { note "FAIL: $*"; FAILURES=$((FAILURES + 1)); }

# start_program EXE [ARGUMENT...]: starts the program and waits (bounded, 30 s)
# for its visible window; sets PID and WID.
start_program() {
  "$WINE" "$@" >>"$SHOTS/program.log" 2>&1 </dev/null &
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

# matches NAME [REFERENCE]: the settled window against REFERENCE.png (default:
# NAME.png). With KORVEL_UPDATE_REFERENCES set, a picture of its own name becomes
# the reference; one of another name (a picture after a skin change) is still
# compared, with the reference just written.
matches() {
  local name="$1" shot="$SHOTS/$1.png" reference="$REFERENCES/${2:-$1}.png"
  settle "$shot" || { failed "$name: the window did not stop changing within 10 s"; return 1; }
  if [ -n "$UPDATE" ] && [ "${2:-$1}" == "$1" ]; then
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
# The probe's lines for the gallery's window (tools/probe.cpp).
probe_lines() { timeout 30 "$WINE" "$BIN/probe.exe" "$TITLE" 2>/dev/null | tr -d '\r'; }
# child_at TEXT DOWN: sets PX PY to the screen point DOWN pixels below the top
# of the visible child window showing TEXT, in the middle of its width: the
# skins' frames differ, so the places come from the program's windows. A window
# just asked for may not show yet: it looks again, ten times at most.
child_at() {
  local lines origin="" place="" X Y WIDTH HEIGHT SCREEN WINDOW
  for _ in $(seq 1 10); do
    lines="$(probe_lines)"
    # The window's own line: where its client area lies in it (minus signs).
    origin="$(awk -F'\t' '$1 == -1 { split($5, r, ","); print r[1], r[2]; exit }' <<<"$lines")"
    place="$(awk -F'\t' -v text="$1" '$1 >= 0 && $3 == 1 && $6 == text { split($5, r, ","); print r[1], r[2], r[3], r[4]; exit }' <<<"$lines")"
    [ -n "$origin" ] && [ -n "$place" ] && break
    sleep 0.5
  done
  [ -n "$origin" ] && [ -n "$place" ] || { failed "no visible window showing \"$1\" in the gallery"; return 1; }
  local ox oy left top width height
  read -r ox oy <<<"$origin"
  read -r left top width height <<<"$place"
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  PX=$((X - ox + left + width / 2)) PY=$((Y - oy + top + ${2:-$((height / 2))}))
}
point_at() {   # point_at TEXT: the pointer on the middle of the child window showing TEXT
  child_at "$1" && xdotool mousemove --sync "$PX" "$PY"
}
# The Sizeable window's title bar, a double click on it.
maximise_by_title() {
  child_at Sizeable 10 || return 1
  xdotool mousemove --sync "$PX" "$PY" click --repeat 2 --delay 80 1
  sleep 0.3
  rest_pointer
}
maximise() {   # maximise SKIN-PREFIX
  maximise_by_title
  wait_for_name "$TITLE - [Sizeable]" || failed "$1: a double click on the Sizeable window's title bar did not maximise it (title: $(window_name))"
}
restore() {   # restore SKIN-PREFIX
  keys alt+w r
  wait_for_name "$TITLE" || failed "$1: Window > Restore did not restore the Sizeable window (title: $(window_name))"
}

# The Skins menu lists what ListSkins finds: the internal skin (the list's first)
# and the installed folders with an options file, sorted as CompareText sorts.
skins_menu_position() {   # skins_menu_position NAME: its item's place, from 0
  local listed
  listed="$({ printf '%s\n' "${SKIN_NAMES[0]}"
              for folder in "$DIR/skins"/*/; do
                [ -f "$folder/Options.dat" ] && basename "$folder"
              done; } | LC_ALL=C sort -s -f)"
  awk -v name="$1" '$0 == name { print NR - 1; found = 1; exit } END { if (!found) exit 1 }' <<<"$listed"
}
choose_skin() {   # choose_skin INDEX: Skins > that skin, with keys (the first item is selected as the menu opens)
  local position downs=()
  position="$(skins_menu_position "${SKIN_NAMES[$1]}")" || { failed "the Skins menu would not list ${SKIN_NAMES[$1]}"; return 1; }
  for ((i = 0; i < position; i++)); do downs+=(Down); done
  keys alt+s "${downs[@]}" Return
}

# fresh_start INDEX: the program started in the listed skin INDEX, through every
# step of its own pictures; it keeps running, the Sizeable window restored.
fresh_start() {
  local skin="${SKIN_PREFIXES[$1]}" arguments=()
  # The first is the program's own skin: a plain start.
  [ "$1" -gt 0 ] && arguments=("${SKIN_NAMES[$1]}")
  start_program "$DIR/korvel-gallery.exe" "${arguments[@]}" ||
    { failed "$skin: the gallery's window did not appear within 30 s"; return 1; }
  rest_pointer
  matches "$skin-start"
  point_at Normal && matches "$skin-button-hot"
  xdotool mousedown 1
  matches "$skin-button-pressed"
  xdotool mouseup 1
  point_at Unchecked && matches "$skin-check-hot"
  rest_pointer
  xdotool click 3
  matches "$skin-popup-menu"
  keys Escape
  keys alt+f z
  maximise "$skin"
  matches "$skin-maximised"
  restore "$skin"
  matches "$skin-normal"
  keys alt+w
  matches "$skin-menu-bar"
  keys Escape Escape
}

end_program() {   # File > Exit ends the program with exit code 0.
  keys alt+f x
  for _ in $(seq 1 100); do kill -0 "$PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$PID" 2>/dev/null; then
    failed "File > Exit did not end the gallery within 10 s"
    stop_program
    return
  fi
  wait "$PID"
  local code=$?
  PID=""
  [ "$code" -eq 0 ] && note "ok: File > Exit ends the gallery with exit code 0" || failed "the gallery ended with exit code $code"
}

read_skin_list || exit 1
case "$PART" in
  all | changes) ;;
  "start "*)
    ONLY=""
    for ((index = 1; index < ${#SKIN_PREFIXES[@]}; index++)); do
      [ "start ${SKIN_PREFIXES[index]}" == "$PART" ] && ONLY="$index"
    done
    [ -n "$ONLY" ] || { note "no skin after the first is listed as \"${PART#start }\""; exit 1; } ;;
  *) note "unknown part \"$PART\": all, changes or start PREFIX"; exit 1 ;;
esac
rm -rf "$SHOTS"
mkdir -p "$SHOTS" "$DIR/skins" || exit 1
cp "$BIN/korvel-gallery.exe" "$DIR/" || { note "cannot copy korvel-gallery.exe from $BIN"; exit 1; }
cp -r "$ROOT/skins/." "$DIR/skins/" || { note "cannot copy the shipped skins"; exit 1; }
trap 'stop_program' EXIT

# The other skins first: the changes of the last start compare with their references.
if [ "$PART" != changes ]; then
  for ((index = ${#SKIN_PREFIXES[@]} - 1; index > 0; index--)); do
    [ "$PART" == all ] || [ "$index" == "$ONLY" ] || continue
    fresh_start "$index" && end_program
    stop_program
  done
  [ "$PART" == all ] || finish
fi
fresh_start 0 || finish

# Right after a skin change the whole frame, the inactive Controls window with
# its scroll bars and the MDI area's edge included, shows exactly the new skin's
# pixels: the same picture as a start in that skin.
read -r -a chain <<<"$(skin_change_chain "${#SKIN_PREFIXES[@]}")"
for ((step = 1; step < ${#chain[@]}; step++)); do
  from="${SKIN_PREFIXES[${chain[step - 1]}]}" to="${SKIN_PREFIXES[${chain[step]}]}"
  choose_skin "${chain[step]}"
  matches "$to-from-$from-normal" "$to-normal"
  keys alt+w
  matches "$to-from-$from-menu-bar" "$to-menu-bar"
  keys Escape Escape
  maximise "$to"
  matches "$to-from-$from-maximised" "$to-maximised"
  restore "$to"
done
end_program
finish
