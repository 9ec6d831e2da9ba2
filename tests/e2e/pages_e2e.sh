#!/usr/bin/env bash
# The launcher in every skin of tests/data/skins.list, compared pixel for pixel
# with the reference pictures in tests/data/pages. The main window is built from
# the program's own resources in a test process (tests/win/app_form_pages_test.cpp),
# which writes as BMPs, for each skin from a fresh window: the client area of
# every page (SKIN-PAGE) and of every page with its launch button hovered
# (SKIN-PAGE-hover), and the whole window with its frame active and inactive
# (SKIN-frame-active, SKIN-frame-inactive). Then one window changes skins through
# its system menu in an order that takes every ordered pair of the listed skins;
# after the change from OLD to NEW it writes NEW-from-OLD-PAGE and
# NEW-from-OLD-frame-active, which must equal NEW's fresh references. The test
# process checks what needs no reference itself; this script compares with
# ImageMagick.
#
#   pages_e2e.sh WINE_LOADER BIN_DIR [--regenerate]   (WINEPREFIX and DISPLAY set)
#
# A differing picture leaves NAME.actual.png and NAME.diff.png (changed pixels red)
# in BIN_DIR/../page-shots and names them. --regenerate (or KORVEL_REGENERATE_PAGES=1,
# which ctest never passes on) writes the fresh windows' pictures as the new
# references instead (the pictures after skin changes are still compared with
# them) and ends with status 77, not run:
#   scripts/test.sh regenerate-pages
# Look at every one before committing.
set -uo pipefail
WINE="$1"
BIN="$2"
REGENERATE=0
[ "${3:-}" == "--regenerate" ] || [ -n "${KORVEL_REGENERATE_PAGES:-}" ] && REGENERATE=1
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}" "${DISPLAY:?DISPLAY must name the test display}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
REFERENCES="$HERE/../data/pages"
SHOTS="$(cd "$BIN/.." && pwd)/page-shots"
PAGES=(rootgen vicinor invetta idlora hubrift pullvane pushvane memlatch triquery about)
FAILURES=0
E2E_TAG=pages
source "$HERE/lib.sh"
read_skin_list || exit 1

rm -rf "$SHOTS"
mkdir -p "$SHOTS"
KORVEL_PAGE_SHOTS="Z:$SHOTS" timeout 600 "$WINE" "$BIN/win_app_form_pages_test.exe" ||
  { note "FAIL: the pages test process failed (its output is above)"; FAILURES=$((FAILURES + 1)); }
# References come only from a run whose own checks passed.
[ "$REGENERATE" -eq 1 ] && [ "$FAILURES" -gt 0 ] && { note "FAIL: no reference written: the pages test failed"; exit 1; }

# compare_with NAME REFERENCE: the picture NAME.bmp against REFERENCE.png.
compare_with() {
  local name="$1" shot="$SHOTS/$1.bmp" reference="$REFERENCES/$2.png" differing
  if [ ! -f "$shot" ]; then
    note "FAIL: $name was not written"
    FAILURES=$((FAILURES + 1))
    return
  fi
  if [ ! -f "$reference" ]; then
    note "FAIL: no reference $reference (make them with scripts/test.sh regenerate-pages)"
    FAILURES=$((FAILURES + 1))
    return
  fi
  differing="$(compare -metric AE "$reference" "$shot" -compose src -highlight-color red \
    -lowlight-color none "PNG24:$SHOTS/$name.diff.png" 2>&1 >/dev/null)"
  if [ "$differing" == "0" ]; then
    note "ok: $name"
    rm -f "$SHOTS/$name.diff.png"
  else
    convert "$shot" "PNG24:$SHOTS/$name.actual.png"
    note "FAIL: $name differs from $2 in $differing pixel(s)"
    note "    actual:     $SHOTS/$name.actual.png"
    note "    difference: $SHOTS/$name.diff.png"
    FAILURES=$((FAILURES + 1))
  fi
}

# A fresh window's pictures: written as references or compared with them.
for skin in "${SKIN_PREFIXES[@]}"; do
  names=(frame-active frame-inactive "${PAGES[@]}")
  for page in "${PAGES[@]}"; do [ "$page" != about ] && names+=("$page-hover"); done
  for part in "${names[@]}"; do
    name="$skin-$part"
    if [ "$REGENERATE" -eq 1 ]; then
      if [ ! -f "$SHOTS/$name.bmp" ]; then
        note "FAIL: $name was not written"
        FAILURES=$((FAILURES + 1))
        continue
      fi
      # No time stamps: a picture made again from the same pixels is the same file.
      convert "$SHOTS/$name.bmp" -strip -define png:exclude-chunks=date,time "PNG24:$REFERENCES/$name.png" ||
        { note "FAIL: writing $REFERENCES/$name.png"; FAILURES=$((FAILURES + 1)); }
      continue
    fi
    compare_with "$name" "$name"
  done
done

# After each change of the chain, the new skin's fresh references (also while
# regenerating: a change that differs from a fresh start makes no reference).
read -r -a chain <<<"$(skin_change_chain "${#SKIN_PREFIXES[@]}")"
for ((step = 1; step < ${#chain[@]}; step++)); do
  from="${SKIN_PREFIXES[${chain[step - 1]}]}" to="${SKIN_PREFIXES[${chain[step]}]}"
  for part in frame-active "${PAGES[@]}"; do compare_with "$to-from-$from-$part" "$to-$part"; done
done
note "$FAILURES failed check(s)"
[ "$FAILURES" -eq 0 ] || exit 1
# Writing references compares nothing: not run, never passed.
[ "$REGENERATE" -eq 1 ] && { note "references written to $REFERENCES; nothing compared: not run"; exit 77; }
exit 0
