#!/usr/bin/env bash
# The launcher's ten pages in the internal skin and in Basalt, compared pixel for
# pixel with the reference pictures in tests/data/pages. The main window is
# built from the program's own resources in a test process
# (tests/win/app_form_pages_test.cpp), which switches the skin through the skin
# manager, writes the client area of every page as a BMP and checks the hovered
# launch buttons itself; this script compares the pictures with ImageMagick.
#
#   pages_e2e.sh WINE_LOADER BIN_DIR [--regenerate]   (WINEPREFIX and DISPLAY set)
#
# A differing page leaves NAME.actual.png and NAME.diff.png (changed pixels red)
# in BIN_DIR/../page-shots and names them. --regenerate (or KORVEL_REGENERATE_PAGES=1,
# which ctest never passes on) writes the pictures taken as the new references
# instead and ends with status 77, not run:
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

rm -rf "$SHOTS"
mkdir -p "$SHOTS"
KORVEL_PAGE_SHOTS="Z:$SHOTS" timeout 600 "$WINE" "$BIN/win_app_form_pages_test.exe" ||
  { note "FAIL: the pages test process failed (its output is above)"; FAILURES=$((FAILURES + 1)); }
# References come only from a run whose own checks passed.
[ "$REGENERATE" -eq 1 ] && [ "$FAILURES" -gt 0 ] && { note "FAIL: no reference written: the pages test failed"; exit 1; }

for skin in elegant basalt; do
  for page in "${PAGES[@]}"; do
    name="$skin-$page"
    shot="$SHOTS/$name.bmp"
    reference="$REFERENCES/$name.png"
    if [ ! -f "$shot" ]; then
      note "FAIL: $name was not written"
      FAILURES=$((FAILURES + 1))
      continue
    fi
    if [ "$REGENERATE" -eq 1 ]; then
      # No time stamps: a picture made again from the same pixels is the same file.
      convert "$shot" -strip -define png:exclude-chunks=date,time "PNG24:$reference" ||
        { note "FAIL: writing $reference"; FAILURES=$((FAILURES + 1)); }
      continue
    fi
    if [ ! -f "$reference" ]; then
      note "FAIL: no reference $reference (make them with scripts/test.sh regenerate-pages)"
      FAILURES=$((FAILURES + 1))
      continue
    fi
    differing="$(compare -metric AE "$reference" "$shot" -compose src -highlight-color red \
      -lowlight-color none "PNG24:$SHOTS/$name.diff.png" 2>&1 >/dev/null)"
    if [ "$differing" == "0" ]; then
      note "ok: $name"
      rm -f "$SHOTS/$name.diff.png"
    else
      convert "$shot" "PNG24:$SHOTS/$name.actual.png"
      note "FAIL: $name differs from its reference in $differing pixel(s)"
      note "    actual:     $SHOTS/$name.actual.png"
      note "    difference: $SHOTS/$name.diff.png"
      FAILURES=$((FAILURES + 1))
    fi
  done
done
note "$FAILURES failed check(s)"
[ "$FAILURES" -eq 0 ] || exit 1
# Writing references compares nothing: not run, never passed.
[ "$REGENERATE" -eq 1 ] && { note "references written to $REFERENCES; nothing compared: not run"; exit 77; }
exit 0
