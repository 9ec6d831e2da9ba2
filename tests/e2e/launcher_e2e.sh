#!/usr/bin/env bash
# The launcher as a user meets it: the real korvel.exe under Wine on the
# display in DISPLAY, driven with real clicks and keys (xdotool). Stand-in tool
# programs installed as c:\korvel\<tool>.exe log the command line they receive;
# an HTML association registered in the prefix sends Views to another stand-in.
# What the window shows is read back with the probe program.
#
#   launcher_e2e.sh WINE_LOADER BIN_DIR      (WINEPREFIX and DISPLAY set, wineserver running)
#
# Also measures start to first complete paint of the main window (median of 5)
# and prints it; exit status 0 only when every check passed.
set -uo pipefail
WINE="$1"
BIN="$2"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}" "${DISPLAY:?DISPLAY must name the test display}"
TITLE="Korvel Pro 2007.1"
DIR="$WINEPREFIX/drive_c/korvel"
LOG="$DIR/launches.log"
VIEWLOG="$DIR/viewer/launches.log"
TOOLS=(vicinor vicinorSTEP invetta idlora hubrift pullvane pushvane memlatch triquery)
FAILURES=0
PID=""
WID=""
E2E_TAG=e2e
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

finish() {
  [ -n "$PID" ] && stop_launcher
  note "$FAILURES failed check(s)"
  exit "$1"
}

install() {
  mkdir -p "$DIR/viewer" || return 1
  cp "$BIN/korvel.exe" "$DIR/" || { note "cannot copy korvel.exe from $BIN"; return 1; }
  local tool
  for tool in "${TOOLS[@]}"; do cp "$BIN/standin_tool.exe" "$DIR/$tool.exe" || return 1; done
  cp "$BIN/standin_tool.exe" "$DIR/viewer/htmlview.exe" || return 1
  printf '<html></html>\n' >"$DIR/vicinor.html"
  printf '<html></html>\n' >"$DIR/invetta.html"
  local root
  reg() {   # a fresh wineserver may still be settling: up to three attempts
    local attempt
    for attempt in 1 2 3; do
      timeout 60 "$WINE" reg add "$@" /f >/dev/null 2>&1 && return 0
      sleep 1
    done
    return 1
  }
  for root in 'HKCU\Software\Classes' 'HKLM\Software\Classes'; do
    reg "$root\\.html" /ve /d KorvelTestHtml ||
      { note "registering .html under $root failed"; return 1; }
    reg "$root\\KorvelTestHtml\\shell\\open\\command" /ve /d '"c:\korvel\viewer\htmlview.exe" "%1"' ||
      { note "registering the HTML viewer under $root failed"; return 1; }
  done
}

# Starts the launcher and waits (bounded) for its first complete paint; sets
# START_MS, the milliseconds from start to that moment. Runs in this shell (not
# in a command substitution) so that PID is the program this shell waits for.
start_launcher() {
  rm -f "$LOG" "$VIEWLOG"
  local t0 now
  t0=$(date +%s%N)
  "$WINE" "$DIR/korvel.exe" >/dev/null 2>&1 </dev/null &
  PID=$!
  WID="$(find_window "$TITLE" 1500 0.02)" || { note "FAIL: the main window did not appear within 30 s"; return 1; }
  window_geometry "$WID"
  wait_painted 300 0 || { note "FAIL: the main window was not painted"; return 1; }
  now=$(date +%s%N)
  START_MS=$(((now - t0) / 1000000))
}

# Closes the window as its close button would; the program ends with exit code 0.
stop_launcher() {
  request_close "$WINE" "$BIN" "$TITLE"
  if ! wait_ended "$PID"; then
    note "FAIL: the program still runs 10 s after closing its window"
    FAILURES=$((FAILURES + 1))
    kill "$PID" 2>/dev/null
  fi
  wait "$PID" 2>/dev/null
  check "closing the window ends the program with exit code 0" 0 "$?"
  PID=""
}

# Clicks at client coordinates X Y of the main window.
click() {
  xdotool mousemove --sync $((CX + $1)) $((CY + $2)) click 1
  sleep 0.3
}
# Clicks into the edit field at client X Y (its top-left), clears it and types TEXT.
retype() {
  click $(($1 + 5)) $(($2 + 10))
  xdotool key End
  xdotool key --repeat 60 --delay 5 BackSpace
  [ -n "$3" ] && xdotool type --delay 40 "$3"
  sleep 0.3
}

# The probe's lines with its backslash escapes undone (texts here hold no tabs or line breaks).
probe() { timeout 30 "$WINE" "$BIN/probe.exe" "$TITLE" 2>/dev/null | tr -d '\r' | sed 's/\\\\/\\/g'; }
# Texts of the visible edit fields, in window order, one per line.
visible_edits() { probe | awk -F'\t' '$2 == "Edit" && $3 == 1 { print $6 }'; }
# The text of the edit field at client position LEFT,TOP (any visibility).
edit_at() { probe | awk -F'\t' -v at="$1,$2," '$2 == "Edit" && index($5, at) == 1 { print $6; exit }'; }
# Lines logged by the stand-in tools, parameter part only (after the quoted program path).
logged() { [ -f "$LOG" ] && sed -e 's/^"[^"]*" //' -e 's/^[^ "]*\.exe //' "$LOG"; }
wait_lines() {   # wait_lines FILE COUNT: bounded wait (60 s: a loaded machine starts processes slowly)
  for _ in $(seq 1 600); do
    [ -f "$1" ] && [ "$(wc -l <"$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

install || { note "FAIL: installing into $DIR"; exit 1; }

# Start to first complete paint, five times.
times=()
for run in 1 2 3 4 5; do
  start_launcher || finish 1
  times+=("$START_MS")
  stop_launcher
done
median="$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)"
note "start to first complete paint: ${times[*]} ms; median $median ms"

start_launcher || finish 1
PAGE_BUTTONS=(rootgen:8 vicinor:40 invetta:72 idlora:104 hubrift:136 pullvane:168 pushvane:200 memlatch:232 triquery:264)
page() {   # page NAME: clicks the page button of NAME
  local entry
  for entry in "${PAGE_BUTTONS[@]}"; do
    [ "${entry%%:*}" == "$1" ] && click 40 $((${entry#*:} + 12))
  done
}
CFG='c:\korvel\config.cfg'

check "only the Rootgen page shows at start" "192.168.100.1
$CFG" "$(visible_edits | grep -v '^$' | LC_ALL=C sort)"

# Every tool with its default texts.
launch() {   # launch PAGE [LEFT TOP]: presses the launch button of the page
  click $((96 + 240 + 30)) $((8 + 208 + 12))
}
expected_defaults=(
  "$CFG vireon c:\\korvel\\vicinor.html #"
  "$CFG vireon c:\\korvel\\invetta.html #"
  "15 $CFG vireon c:\\korvel\\idlora.html #"
  "x 1 $CFG vireon c:\\korvel\\hubrift.html #"
  "$CFG taskelm 10.5.5.17 "
  "$CFG taskelm 10.5.5.17 router-config"
  "$CFG taskelm"
  "$CFG vireon c:\\korvel\\triquery.html Uptime .1.3.6.1.2.1.1.3.0    "
)
n=0
for tool in vicinor invetta idlora hubrift pullvane pushvane memlatch triquery; do
  page "$tool"
  launch
  n=$((n + 1))
  wait_lines "$LOG" "$n" || { note "FAIL: $tool did not log its start"; FAILURES=$((FAILURES + 1)); }
done
expected="$(printf '%s\n' "${expected_defaults[@]}")"
check "default parameter lines of the eight tools" "$expected" "$(logged)"
check "programs started" "$(printf 'c:\\korvel\\%s.exe\n' vicinor invetta idlora hubrift pullvane pushvane memlatch triquery)" \
  "$(sed -e 's/^"\([^"]*\)".*/\1/' -e 's/^\([^ "]*\.exe\) .*/\1/' "$LOG" | tr 'A-Z' 'a-z')"

# Step Thru: the check box at page 240,16.
page vicinor
click $((96 + 240 + 6)) $((8 + 16 + 10))
launch
n=$((n + 1))
wait_lines "$LOG" "$n"
check "Step Thru starts vicinorSTEP.exe without the wildcard" "\"c:\\korvel\\vicinorSTEP.exe\" $CFG vireon c:\\korvel\\vicinor.html" \
  "$(tail -n1 "$LOG" | sed 's/^\([^ "]*\.exe\)/"\1"/')"
click $((96 + 240 + 6)) $((8 + 16 + 10))   # unchecked again

# Typed texts: the config file on the Invetta page spreads to every page, the
# read community on Idlora too, the write community stays apart.
page invetta
retype $((95 + 24)) $((8 + 80)) 'd:\site two.cfg'
page idlora
retype $((95 + 24)) $((8 + 32)) 'pub#1'
retype $((95 + 216)) $((8 + 32)) '7'
page pushvane
retype $((96 + 24)) $((8 + 128)) '10.0.0.9'
page memlatch
launch
page hubrift
launch
page idlora
launch
n=$((n + 3))
wait_lines "$LOG" "$n"
check "typed texts reach the parameter lines" "d:\\site two.cfg taskelm
x 1 d:\\site two.cfg pub#1 c:\\korvel\\hubrift.html #
7 d:\\site two.cfg pub#1 c:\\korvel\\idlora.html #" "$(logged | tail -n3)"
check "the config relay holds the typed text" 'd:\site two.cfg' "$(edit_at 304 304)"
check "Pullvane shows the typed TFTP server" "10.0.0.9" "$(page pullvane; visible_edits | sed -n 3p)"

# More edited texts, a non-ASCII one among them, on the remaining tools.
page vicinor
retype $((96 + 24)) $((8 + 176)) '%'
page triquery
retype $((96 + 24)) $((8 + 200)) 'Zürich'
retype $((96 + 96)) $((8 + 200)) '.1.3'
page pullvane
retype $((96 + 24)) $((8 + 176)) 'sub'
page pushvane
retype $((96 + 24)) $((8 + 176)) 'new-config'
for tool in vicinor invetta pullvane pushvane triquery; do
  page "$tool"
  launch
done
n=$((n + 5))
wait_lines "$LOG" "$n"
check "edited texts of the other tools, byte for byte" "d:\\site two.cfg pub#1 c:\\korvel\\vicinor.html %
d:\\site two.cfg pub#1 c:\\korvel\\invetta.html %
d:\\site two.cfg taskelm 10.0.0.9 sub
d:\\site two.cfg taskelm 10.0.0.9 new-config
d:\\site two.cfg pub#1 c:\\korvel\\triquery.html Uptime .1.3.6.1.2.1.1.3.0 Zürich .1.3  " "$(logged | tail -n5)"

# A View opens the output file through the registered association.
page invetta
click $((95 + 240 + 30)) $((8 + 240 + 12))
wait_lines "$VIEWLOG" 1
check "the Invetta View opens its HTML file" 'c:\korvel\invetta.html' \
  "$(sed -e 's/^"[^"]*" //' -e 's/^[^ "]*\.exe //' -e 's/"//g' "$VIEWLOG" | tail -n1)"

# The seed site file of the default address, then the Vicinor View counts it:
# one line, as the address fits on one row of the 89-pixel Memo1 in the
# prefix's "MS Sans Serif" (a wider fallback face would wrap it into two).
page rootgen
retype $((96 + 24)) $((8 + 80)) 'c:\korvel\seed.cfg'
click $((96 + 240 + 30)) $((8 + 208 + 12))
SEED_BYTES="$(printf '192.168.100.1\r\n' | od -An -tx1)"
seed_written() { [ "$(od -An -tx1 "$DIR/seed.cfg" 2>/dev/null)" == "$SEED_BYTES" ]; }
# The count shows in the Vicinor View's field once the View has read the file.
view_counts() { [ "$(edit_at 104 256)" == "$1" ]; }
wait_until 100 0.1 seed_written
check "seed file bytes" "$SEED_BYTES" "$(od -An -tx1 "$DIR/seed.cfg" 2>/dev/null)"
page vicinor
click $((96 + 240 + 30)) $((8 + 240 + 12))
wait_until 30 0.1 view_counts 1
check "the Vicinor View counts the seed file of 192.168.100.1 as one line" "1" "$(edit_at 104 256)"

# A second address on its own line: two lines.
printf '192.168.100.1\r\n10.1.2.3\r\n' >"$DIR/seed.cfg"
click $((96 + 240 + 30)) $((8 + 240 + 12))
wait_until 30 0.1 view_counts 2
check "a config file of two addresses counts two lines" "2" "$(edit_at 104 256)"

stop_launcher
note "$FAILURES failed check(s)"
[ "$FAILURES" -eq 0 ]
