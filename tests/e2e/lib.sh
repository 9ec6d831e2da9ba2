# Shared by the end-to-end scripts: their report lines and checks, the screen
# read back with ImageMagick, and the launcher's window waited for and closed.
# Source it after setting E2E_TAG (what every report line starts with) and
# FAILURES=0; it defines functions and runs nothing by itself.

note() { printf '[%s] %s\n' "${E2E_TAG:-e2e}" "$*"; }

check() {   # check WHAT EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    note "ok: $1"
  else
    note "FAIL: $1"
    printf '    expected: %q\n    actual:   %q\n' "$2" "$3"
    FAILURES=$((FAILURES + 1))
  fi
}

# ---- the screen (DISPLAY) ------------------------------------------------------

# Pixel at screen X Y as "R,G,B".
pixel() {
  import -display "$DISPLAY" -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
# The pixels of the screen area W x H at X Y as "x y r,g,b", relative to the area.
area_pixels() {   # area_pixels W H X Y
  import -display "$DISPLAY" -window root -crop "$1x$2+$3+$4" -depth 8 txt:- 2>/dev/null |
    sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3,\4,\5/p'
}
# The screen area W x H at X Y as a picture file.
area_picture() {   # area_picture FILE W H X Y
  import -display "$DISPLAY" -window root -crop "$2x$3+$4+$5" +repage -depth 8 "$1" 2>/dev/null
}
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" == "0" ]; }

# ---- the launcher's window -------------------------------------------------------

# find_window TITLE TRIES PAUSE [PID]: prints the id of the visible window of
# that title once there is one, looking TRIES times PAUSE seconds apart, and
# stops looking when the process PID (if given) has ended. Fails when none came.
find_window() {
  local title="$1" tries="$2" pause="$3" pid="${4:-}" wid=""
  for _ in $(seq 1 "$tries"); do
    wid="$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1)"
    [ -n "$wid" ] && break
    [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null && break
    sleep "$pause"
  done
  [ -n "$wid" ] && echo "$wid"
}

# window_geometry WID: sets WX WY WIDTH HEIGHT, the window on the screen, and
# CX CY, the screen position of the launcher's 432 x 334 client area in it.
window_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  WX=$X WY=$Y
  local border=$(((WIDTH - 432) / 2))
  CX=$((WX + border)) CY=$((WY + HEIGHT - 334 - border))
}

# wait_painted TRIES PAUSE: waits until the launcher's first complete paint, seen
# as the Rootgen IP field white at a point right of its text (the address ends
# about 75 pixels into the 97-pixel field); needs CX CY. Fails when it never came.
wait_painted() {
  for _ in $(seq 1 "$1"); do
    [ "$(pixel $((CX + 96 + 24 + 90)) $((CY + 8 + 32 + 10)))" == "255,255,255" ] && return 0
    sleep "$2"
  done
  return 1
}

# request_close WINE BIN TITLE: asks the window to close as its close button
# would (close_window.exe from BIN waits up to 10 s); answers its exit status.
request_close() {
  timeout 20 "$1" "$2/close_window.exe" "$3" 10000 >/dev/null 2>&1 </dev/null
}

# wait_ended PID: waits up to 10 s for the process to end; fails if it still runs.
wait_ended() {
  for _ in $(seq 1 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  ! kill -0 "$1" 2>/dev/null
}

# wait_until TRIES PAUSE COMMAND...: runs COMMAND until it succeeds, at most
# TRIES times PAUSE seconds apart; fails when it never did.
wait_until() {
  local tries="$1" pause="$2"
  shift 2
  for _ in $(seq 1 "$tries"); do
    "$@" && return 0
    sleep "$pause"
  done
  return 1
}

# ---- skin folders that lack sections ----------------------------------------------

# The skin folders real users bring are often incomplete. write_incomplete_skins
# DEST BASALT writes five of them into DEST, each made from the shipped Basalt
# folder BASALT (its options with sections taken out, its pictures copied):
#   "Lacking controls"   no BUTTON, EDIT, CHECKBOX
#   "Lacking form"       no FORM
#   "Lacking menus"      no MAINMENU, MENUITEM
#   "Lacking pictures"   every section, but MASTER.BMP, BUTTON.BMP, SUNKEN.BMP,
#                        SLATE.JPG and two check box glyphs are not there
#                        (named by 6 + 2 + 1 + 1 + 1 + 1 keys)
#   "Only globals"       nothing but GLOBALINFO
INCOMPLETE_SKINS=("Lacking controls" "Lacking form" "Lacking menus" "Lacking pictures" "Only globals")
INCOMPLETE_MISSING_PICTURES=(MASTER.BMP BUTTON.BMP SUNKEN.BMP SLATE.JPG BOXCHECKED.BMP BOXGRAYED.BMP)
# without_sections NAME...: the options on stdin without the sections NAME (case ignored).
without_sections() {
  awk -v drop=" $(echo "$*" | tr 'a-z' 'A-Z') " '
    /^\[/ { name = toupper($0); sub(/\r$/, "", name); gsub(/[][]/, "", name); skipping = index(drop, " " name " ") > 0 }
    !skipping'
}
# only_sections NAME...: the options on stdin with only the sections NAME (and the lines before the first).
only_sections() {
  awk -v keep=" $(echo "$*" | tr 'a-z' 'A-Z') " '
    /^\[/ { name = toupper($0); sub(/\r$/, "", name); gsub(/[][]/, "", name); skipping = index(keep, " " name " ") == 0 }
    !skipping'
}
write_incomplete_skins() {   # write_incomplete_skins DEST BASALT
  local dest="$1" basalt="$2" name picture
  for name in "${INCOMPLETE_SKINS[@]}"; do
    rm -rf "${dest:?}/$name" && mkdir -p "$dest/$name" && cp "$basalt"/*.BMP "$basalt"/*.JPG "$dest/$name/" || return 1
  done
  without_sections BUTTON EDIT CHECKBOX <"$basalt/Options.dat" >"$dest/Lacking controls/Options.dat" &&
    without_sections FORM <"$basalt/Options.dat" >"$dest/Lacking form/Options.dat" &&
    without_sections MAINMENU MENUITEM <"$basalt/Options.dat" >"$dest/Lacking menus/Options.dat" &&
    cp "$basalt/Options.dat" "$dest/Lacking pictures/Options.dat" &&
    only_sections GLOBALINFO <"$basalt/Options.dat" >"$dest/Only globals/Options.dat" || return 1
  for picture in "${INCOMPLETE_MISSING_PICTURES[@]}"; do rm -f "$dest/Lacking pictures/$picture"; done
}

# ---- the skins every picture test runs in ------------------------------------------

# read_skin_list: sets SKIN_PREFIXES and SKIN_NAMES from tests/data/skins.list
# (one skin a line: the pictures' file name prefix, a space, the skin's name; the
# first is the one the programs start in). Fails on a line without both parts.
read_skin_list() {
  local list prefix name
  list="$(cd "$(dirname "${BASH_SOURCE[0]}")/../data" && pwd)/skins.list"
  SKIN_PREFIXES=() SKIN_NAMES=()
  while IFS= read -r line || [ -n "$line" ]; do
    line="${line%$'\r'}"
    [ -z "$line" ] || [ "${line:0:1}" == "#" ] && continue
    prefix="${line%% *}" name="${line#* }"
    [ -n "$prefix" ] && [ -n "$name" ] && [ "$prefix" != "$line" ] ||
      { note "$list: expected \"PREFIX Skin name\", not \"$line\""; return 1; }
    SKIN_PREFIXES+=("$prefix") SKIN_NAMES+=("$name")
  done <"$list"
  [ "${#SKIN_PREFIXES[@]}" -ge 2 ] || { note "$list lists fewer than two skins"; return 1; }
}

# skin_change_chain COUNT: indexes into a list of COUNT skins, starting and
# ending at the first, in which every ordered pair of different skins follows
# each other exactly once: 0, then for each k from 1: k, 1, k, ..., k-1, k, 0
# (three skins: 0 1 0 2 1 2 0). The same order as EveryOrderedPairChain in
# tests/win/skin_list_support.h.
skin_change_chain() {
  local k i chain=(0)
  for ((k = 1; k < $1; k++)); do
    chain+=("$k")
    for ((i = 1; i < k; i++)); do chain+=("$i" "$k"); done
    chain+=(0)
  done
  echo "${chain[*]}"
}

# ---- pictures of the program's window (WID: its X window) ---------------------------

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
