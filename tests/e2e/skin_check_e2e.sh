#!/usr/bin/env bash
# korvel-skin.exe check under Wine, on the folders a skin author ships: the
# shipped skins and the internal one pass without an error, and each folder
# that write_incomplete_skins (lib.sh) makes from Basalt gives the findings its
# making implies, each at the line of Basalt's options that it concerns:
#   a section taken out     a warning "no section NAME", and an error at every
#                           PARENTCLASS line that named it
#   a picture not copied    an error at every key that names it
# Expected lines are read from Basalt's Options.dat here, never from the tool.
#
#   skin_check_e2e.sh WINE_LOADER BIN_DIR   (WINEPREFIX set, wineserver running)
set -uo pipefail
WINE="$1"
BIN="$2"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
DIR="$WINEPREFIX/drive_c/korvel-check"
BASALT="$ROOT/skins/Basalt"
FAILURES=0
E2E_TAG=skin-check
source "$HERE/lib.sh"

failed() { note "FAIL: $*"; FAILURES=$((FAILURES + 1)); }

rm -rf "$DIR" && mkdir -p "$DIR" || exit 1
cp -r "$ROOT/skins/." "$DIR/" && cp "$BIN/korvel-skin.exe" "$DIR/" || { note "FAIL: installing into $DIR"; exit 1; }
write_incomplete_skins "$DIR" "$BASALT" || { note "FAIL: writing the incomplete skins"; exit 1; }

OUT=""
STATUS=0
# Through a file: Wine's helper processes that the first run starts inherit the
# output, and a pipe to them would stay open as long as the wineserver lives.
run_check() {   # run_check ARGS...: sets OUT (line ends as on Linux) and STATUS
  (cd "$DIR" && "$WINE" korvel-skin.exe check "$@") >"$DIR/out.txt" 2>&1
  STATUS=$?
  OUT="$(tr -d '\r' <"$DIR/out.txt")"
}
count() { grep -cF -- "$1" <<<"$OUT"; }   # count TEXT: lines of OUT holding TEXT

# The shipped skins and the internal one.
for skin in "$ROOT"/skins/*/; do
  skin="$(basename "$skin")"
  run_check "c:\\korvel-check\\$skin"
  check "$skin: status" 0 "$STATUS"
  check "$skin: error lines" 0 "$(count ': error: ')"
done
run_check --internal
check "internal skin: status" 0 "$STATUS"
check "internal skin: error lines" 0 "$(count ': error: ')"

# Sections taken out: a warning each, an error at each PARENTCLASS that named one
# (at its line in the written options, which lost the sections' lines).
parent_lines_in() {   # parent_lines_in OPTIONS NAME...: the PARENTCLASS lines naming one of NAME
  local options="$1"; shift
  tr -d '\r' <"$options" | awk -v names=" $* " '
    toupper($0) ~ /^PARENTCLASS=/ { v = toupper(substr($0, 13)); if (index(names, " " v " ")) print NR }'
}
sections_case() {   # sections_case FOLDER NAME...
  local folder="$1" name line errors=0; shift
  run_check "c:\\korvel-check\\$folder"
  for name in "$@"; do
    check "$folder: a warning for the missing $name" 1 "$(count "/Options.dat: warning: no section $name ")"
  done
  while read -r line; do
    [ -z "$line" ] && continue
    errors=$((errors + 1))
    check "$folder: an error at line $line (PARENTCLASS naming a missing section)" 1 \
      "$(count "/Options.dat:$line: error: PARENTCLASS names ")"
  done < <(parent_lines_in "$DIR/$folder/Options.dat" "$@")
  check "$folder: error lines" "$errors" "$(count ': error: ')"
  check "$folder: status" "$([ "$errors" -gt 0 ] && echo 1 || echo 0)" "$STATUS"
}
sections_case "Lacking controls" BUTTON EDIT CHECKBOX
sections_case "Lacking form" FORM
sections_case "Lacking menus" MAINMENU MENUITEM
sections_case "Only globals" FORM FORMTITLE PANEL BUTTON EDIT CHECKBOX MAINMENU MENUITEM MENULINE

# Pictures not copied: an error at every key naming one, nothing else an error.
run_check "c:\\korvel-check\\Lacking pictures"
expected=0
for picture in "${INCOMPLETE_MISSING_PICTURES[@]}"; do
  while IFS=: read -r line _; do
    expected=$((expected + 1))
    check "Lacking pictures: line $line names the missing $picture" 1 \
      "$(grep -F -- "/Options.dat:$line: error: " <<<"$OUT" | grep -cF "names $picture: missing")"
  done < <(tr -d '\r' <"$DIR/Lacking pictures/Options.dat" | grep -niE "=[!]?$picture([!]|$)")
done
[ "$expected" -ge "${#INCOMPLETE_MISSING_PICTURES[@]}" ] || failed "fewer keys naming the missing pictures than pictures"
check "Lacking pictures: error lines" "$expected" "$(count ': error: ')"
check "Lacking pictures: status" 1 "$STATUS"

# --json, read by Python, carries as many findings as there are finding lines.
run_check "c:\\korvel-check\\Lacking pictures"
lines=$(grep -cE ': (error|warning): ' <<<"$OUT")
(cd "$DIR" && "$WINE" korvel-skin.exe check --json "c:\\korvel-check\\Lacking pictures") >"$DIR/out.json" 2>/dev/null
json_findings=$(python3 -c 'import json, sys; print(sum(len(s["findings"]) for s in json.load(open(sys.argv[1]))))' "$DIR/out.json")
check "Lacking pictures: --json carries every finding" "$lines" "$json_findings"

[ "$FAILURES" -eq 0 ] && note "all passed" || note "$FAILURES failed"
[ "$FAILURES" -eq 0 ]
