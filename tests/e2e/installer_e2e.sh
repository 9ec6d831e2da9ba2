#!/usr/bin/env bash
# The setup program and the portable archive as an administrator meets them,
# in a Wine prefix of their own, made afresh for every run (an installer must
# meet a machine that never saw it): stand-in tools and the user's own files
# already in c:\korvel, a silent install, the program started from its
# Start-menu shortcut, the skins the installed program finds, a silent
# uninstall through the system's uninstall list, an install over an existing
# installation, and the portable archive unpacked and started.
#
#   installer_e2e.sh WINE_LOADER WIN_BUILD_DIR      (DISPLAY set)
#
# Exit status 0 only when every check passed.
set -uo pipefail
WIN="$2"
: "${DISPLAY:?DISPLAY must name the test display}"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# The rig's own prefix set-up, pointed at this test's prefix; its logs go beside it.
export KORVEL_BUILD="$WIN/installer-test"
export KORVEL_WINEPREFIX="$WIN/installer-prefix"
source "$ROOT/scripts/lib/common.sh"
WINE_LOADER="$1"
KORVEL_STAGE=installer
# A shortcut made in the prefix would otherwise become a menu entry of the machine's own desktop.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

VERSION="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$WIN/CMakeCache.txt")"
TITLE="Korvel Pro $VERSION"
SETUP="$WIN/packages/korvel-setup-$VERSION.exe"
PORTABLE="$WIN/packages/korvel-$VERSION-portable.zip"
STAGED_EXE="$WIN/packaging/stage/korvel.exe"   # the korvel.exe both packages carry
BIN="$WIN/bin"
DIR="$WINEPREFIX/drive_c/korvel"
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvelPro'
TOOLS=(vicinor vicinorSTEP invetta idlora hubrift pullvane pushvane memlatch triquery)
FAILURES=0
PID=""
E2E_TAG=installer
source "$ROOT/tests/e2e/lib.sh"

finish() {
  [ -n "$PID" ] && kill "$PID" 2>/dev/null
  stop_all
  note "$FAILURES failed check(s)"
  exit "$1"
}
trap 'finish 130' INT TERM
trap stop_all EXIT

wine_run() { timeout 60 "$WINE_LOADER" "$@" 2>/dev/null </dev/null | tr -d '\r'; }

# Everything below a folder, relative to it, folders with a trailing "/", in byte order.
listing() {
  (cd "$1" 2>/dev/null && find . -mindepth 1 \( -type d -printf '%P/\n' \) -o \( -type f -printf '%P\n' \)) | LC_ALL=C sort
}
# Checksums of the named files below a folder (absent files show as such).
sums() {
  local base="$1" f
  shift
  for f in "$@"; do
    if [ -f "$base/$f" ]; then sha256sum "$base/$f" | sed "s|  $base/|  |"; else echo "absent  $f"; fi
  done
}
# The shipped skin files as the repository holds them (hidden files are not shipped).
shipped_skin_files() { (cd "$ROOT/skins" && find . -type f ! -path '*/.*' -printf '%P\n') | LC_ALL=C sort; }
# The folders they lie in, with every folder above them.
shipped_skin_dirs() {
  shipped_skin_files | while read -r f; do
    d="$(dirname "$f")"
    while [ "$d" != "." ]; do echo "$d/"; d="$(dirname "$d")"; done
  done | LC_ALL=C sort -u
}
# What the setup program writes into c:\korvel.
installed_entries() {
  { echo korvel.exe; echo korvel-uninstall.exe; echo skins/
    shipped_skin_dirs | sed 's|^|skins/|'; shipped_skin_files | sed 's|^|skins/|'; } | LC_ALL=C sort
}
merge() { printf '%s\n' "$@" | grep -v '^$' | LC_ALL=C sort -u; }

# Processes of this test's prefix whose command line matches PATTERN (other prefixes are never looked at).
prefix_processes() {
  local p
  for p in /proc/[0-9]*; do
    { tr '\0' '\n' <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      tr '\0' ' ' <"$p/cmdline" | grep -qiE "$1" && basename "$p"; } 2>/dev/null
  done
}

registry_value() {   # registry_value NAME: a value of the uninstall entry, or nothing
  wine_run reg query "$UNINSTALL_KEY" /v "$1" | awk -v n="$1" '$1 == n { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print }'
}

install() {   # install: the setup program, silently; it waits for itself
  timeout 180 "$WINE_LOADER" "$SETUP" /S >/dev/null 2>&1 </dev/null
}

# Silent uninstall as the system's uninstall list starts it. The uninstaller
# copies itself to the temporary folder and returns at once; its copy deletes the
# uninstaller last, so the wait is for that file to go and the copy to end.
# Every failure here counts.
uninstall() {
  local command
  command="$(registry_value UninstallString)"
  [ -n "$command" ] || { uninstall_failed "no UninstallString in $UNINSTALL_KEY"; return 1; }
  command="${command#\"}"; command="${command%\"}"
  timeout 60 "$WINE_LOADER" "$command" /S >/dev/null 2>&1 </dev/null ||
    { uninstall_failed "the uninstaller $command did not start"; return 1; }
  uninstall_done() { [ ! -e "$DIR/korvel-uninstall.exe" ] && [ -z "$(prefix_processes 'Au_\.exe')" ]; }
  wait_until 600 0.1 uninstall_done && return 0
  uninstall_failed "the uninstaller did not finish within 60 s"
  return 1
}
uninstall_failed() { note "FAIL: $1"; FAILURES=$((FAILURES + 1)); }

# start_program WINDOWS_PATH UNIX_FOLDER: starts the program there and waits
# (bounded) for its window and its first complete paint. Sets CX CY, the client
# area's top-left on the screen.
start_program() {
  (cd "$2" && exec "$WINE_LOADER" "$1" >/dev/null 2>&1 </dev/null) &
  PID=$!
  local wid
  wid="$(find_window "$TITLE" 600 0.1 "$PID")" ||
    { note "FAIL: the window \"$TITLE\" of $1 did not appear within 60 s"; return 1; }
  window_geometry "$wid"
  wait_painted 300 0.1 || { note "FAIL: the window of $1 was not painted within 30 s"; return 1; }
}

# Closes the window as its close button would (the tools' close_window.exe) and waits for the program to end.
stop_program() {
  request_close "$WINE_LOADER" "$BIN" "$TITLE"
  local closed=$?
  if ! wait_ended "$PID"; then
    kill "$PID" 2>/dev/null
    note "FAIL: the program did not end within 10 s of closing its window"
    FAILURES=$((FAILURES + 1))
  fi
  wait "$PID" 2>/dev/null
  check "the program ends with exit code 0" 0 "$?"
  PID=""
  check "the window closes on request" 0 "$closed"
}

skin_value() {   # skin_value SECTION KEY: a value of the internal skin's options text
  tr -d '\r' <"$ROOT/skin/internal/elegant.ini" |
    awk -F= -v s="[$1]" -v k="$2" '$0 == s { f = 1; next } /^\[/ { f = 0 } f && $1 == k { print $2; exit }'
}
rgb_of() {   # rgb_of VALUE: a decimal 0x00BBGGRR colour as "R,G,B"
  echo "$(($1 & 255)),$((($1 >> 8) & 255)),$((($1 >> 16) & 255))"
}

# ---- a fresh prefix -----------------------------------------------------------
case "$WINEPREFIX" in "$WIN"/installer-prefix) ;; *) note "unexpected prefix $WINEPREFIX"; exit 1 ;; esac
# A run that was killed (a test time-out) may have left this prefix's own server behind.
[ -d "$WINEPREFIX" ] && timeout 30 "$WINE_SERVER" -k >/dev/null 2>&1
rm -rf "$WINEPREFIX"
mkdir -p "$BUILD"
for f in "$SETUP" "$PORTABLE" "$STAGED_EXE" "$BIN/close_window.exe" "$BIN/standin_tool.exe" \
         "$BIN/installed_skins.exe" "$BIN/shortcut_target.exe"; do
  [ -f "$f" ] || { note "FAIL: $f is missing: build the packages target first"; exit 1; }
done
start_wine || finish 1

# ---- the machine before: the tools and the user's files in c:\korvel ------------
mkdir -p "$DIR" || finish 1
for tool in "${TOOLS[@]}"; do cp "$BIN/standin_tool.exe" "$DIR/$tool.exe" || finish 1; done
printf '192.168.100.1\r\n' >"$DIR/config.cfg"
printf '192.168.100.1\r\n10.1.2.3\r\n' >"$DIR/seed.cfg"
printf '<html><body>vicinor</body></html>\n' >"$DIR/vicinor.html"
printf 'site notes\r\n' >"$DIR/Zürich site.txt"
USER_FILES=(config.cfg seed.cfg vicinor.html "Zürich site.txt")
TOOL_FILES=("${TOOLS[@]/%/.exe}")
BEFORE="$(listing "$DIR")"
BEFORE_SUMS="$(sums "$DIR" "${USER_FILES[@]}" "${TOOL_FILES[@]}")"

# ---- silent install -----------------------------------------------------------
install
check "the silent install succeeds" 0 "$?"
check "c:\\korvel holds the tools, the user's files and exactly what was installed" \
  "$(merge "$BEFORE" "$(installed_entries)")" "$(listing "$DIR")"
check "the tools and the user's files are untouched, byte for byte" "$BEFORE_SUMS" \
  "$(sums "$DIR" "${USER_FILES[@]}" "${TOOL_FILES[@]}")"
cmp -s "$STAGED_EXE" "$DIR/korvel.exe"
check "the installed korvel.exe is the packaged one" 0 "$?"
skins_differ=0
while read -r f; do cmp -s "$ROOT/skins/$f" "$DIR/skins/$f" || skins_differ=$((skins_differ + 1)); done < <(shipped_skin_files)
check "every installed skin file equals the shipped one" 0 "$skins_differ"
check "the uninstall entry's name" "$TITLE" "$(registry_value DisplayName)"
check "the uninstall entry's command" '"C:\korvel\korvel-uninstall.exe"' "$(registry_value UninstallString)"
check "the uninstall entry's quiet command" '"C:\korvel\korvel-uninstall.exe" /S' "$(registry_value QuietUninstallString)"

# The Start-menu shortcut, read as the shell reads it.
mapfile -t LINKS < <(find "$WINEPREFIX/drive_c" -path '*/Start Menu/*' -name '*.lnk' -path '*Korvel*')
check "one Start-menu shortcut" "Korvel Pro/Korvel Pro.lnk" "$(printf '%s\n' "${LINKS[@]}" | sed 's|.*/Programs/||')"
if [ "${#LINKS[@]}" -ge 1 ]; then
  link="$(wine_run winepath -w "${LINKS[0]}")"
  shortcut="$(wine_run "$BIN/shortcut_target.exe" "$link")"
  target="$(printf '%s\n' "$shortcut" | awk -F'\t' '$1 == "target" { print $2 }')"
  folder="$(printf '%s\n' "$shortcut" | awk -F'\t' '$1 == "folder" { print $2 }')"
  check "the shortcut starts c:\\korvel\\korvel.exe in c:\\korvel" 'c:\korvel\korvel.exe|c:\korvel' \
    "$(printf '%s|%s' "$target" "$folder" | tr 'A-Z' 'a-z')"
  # The program as the shortcut starts it, skinned by the internal skin: the
  # form's background in the skin's FORM colour (between two page buttons), and
  # the page's face a vertical gradient between PANEL's two gradient colours,
  # lighter at the top (a window without its skin is one flat system colour).
  if start_program "$target" "$(wine_run winepath -u "$folder")"; then
    check "the form's background is the internal skin's FORM colour" "$(rgb_of "$(skin_value FORM COLOR)")" "$(pixel $((CX + 3)) $((CY + 36)))"
    top="$(pixel $((CX + 216)) $((CY + 8 + 130)))"
    bottom="$(pixel $((CX + 216)) $((CY + 8 + 270)))"
    # GRADIENTDATA: first colour; second colour; ... (greys: the red channel stands for all three)
    IFS=';' read -r from to _ <<<"$(skin_value PANEL GRADIENTDATA)"
    light=$((from & 255)) dark=$((to & 255))
    t=${top%%,*} b=${bottom%%,*}
    verdict="not a gradient from $light down to $dark: $top over $bottom"
    [ "$t" -le "$light" ] && [ "$t" -gt "$b" ] && [ "$b" -ge "$dark" ] && verdict="gradient"
    check "the page's face is PANEL's gradient, lighter at the top ($top over $bottom)" "gradient" "$verdict"
    stop_program
  else
    FAILURES=$((FAILURES + 1))
  fi
fi

# The skins the installed program finds: its own skin directory setting resolved
# against c:\korvel, each shipped folder listed and loaded from its files, all its
# pictures found; every section of its options file becomes one section.
expected_skins() {   # expected_skins FOLDER...: the listing lines for these skin folders, sorted as the program sorts
  local name
  for name in "$@"; do
    printf 'skin\t%s\tfolder\tsections=%s\twarnings=0\n' "$name" "$(grep -c '^[[:space:]]*\[' "$DIR/skins/$name/Options.dat")"
  done | LC_ALL=C sort -f
}
skins_seen() {
  wine_run "$BIN/installed_skins.exe" 'c:\korvel\korvel.exe' |
    awk -F'\t' '$1 == "directory" { print; next } { sub(/\tmasks=[0-9]+\tpatterns=[0-9]+/, ""); print }'
}
mapfile -t SHIPPED_SKINS < <(cd "$ROOT/skins" && for d in */; do [ -f "$d/Options.dat" ] && echo "${d%/}"; done)
check "the installed program finds and loads the shipped skins" \
  "$(printf 'directory\tc:\\korvel\\skins\\\n'; expected_skins "${SHIPPED_SKINS[@]}")" "$(skins_seen)"

# ---- silent uninstall through the uninstall list ------------------------------
uninstall
check "after the uninstall c:\\korvel holds exactly what was there before" "$BEFORE" "$(listing "$DIR")"
check "the tools and the user's files survive the uninstall, byte for byte" "$BEFORE_SUMS" \
  "$(sums "$DIR" "${USER_FILES[@]}" "${TOOL_FILES[@]}")"
check "the uninstall entry is gone" "" "$(wine_run reg query "$UNINSTALL_KEY" | grep -i DisplayName)"
check "the Start-menu folder is gone" "" "$(find "$WINEPREFIX/drive_c" -path '*/Start Menu/*' -name '*Korvel*')"

# ---- an install over an existing installation ---------------------------------
install
check "the first install of the second round succeeds" 0 "$?"
# The user adds a skin folder of their own and a file inside the shipped one.
mkdir -p "$DIR/skins/Mine" && cp "$ROOT/skins/Basalt/"* "$DIR/skins/Mine/"
printf 'my own notes\r\n' >"$DIR/skins/Basalt/notes.txt"
USER_SKIN_FILES=("skins/Basalt/notes.txt")
while read -r f; do USER_SKIN_FILES+=("skins/Mine/$f"); done < <(cd "$DIR/skins/Mine" && ls)
# What the user owns in the skin directory, recorded before any uninstall can touch it.
USER_SKIN_ENTRIES="$(merge skins/ skins/Basalt/ skins/Mine/ "${USER_SKIN_FILES[@]}")"
LISTED="$(listing "$DIR")"
SKIN_SUMS="$(sums "$DIR" "${USER_SKIN_FILES[@]}")"
install
check "installing over the installation succeeds" 0 "$?"
check "installing again adds and removes nothing" "$LISTED" "$(listing "$DIR")"
check "the user's skin folder and file are untouched, byte for byte" "$SKIN_SUMS" "$(sums "$DIR" "${USER_SKIN_FILES[@]}")"
check "the user's files and the tools are untouched, byte for byte" "$BEFORE_SUMS" \
  "$(sums "$DIR" "${USER_FILES[@]}" "${TOOL_FILES[@]}")"
check "the installed program finds the shipped skins and the user's" \
  "$(printf 'directory\tc:\\korvel\\skins\\\n'; expected_skins "${SHIPPED_SKINS[@]}" Mine)" "$(skins_seen)"

uninstall
# What stays: everything of the user's; a shipped skin folder that holds a user's
# file stays with just that file, and so does the skin directory.
check "the second uninstall removes only what was installed" \
  "$(merge "$BEFORE" "$USER_SKIN_ENTRIES")" "$(listing "$DIR")"
check "the user's skin files survive the uninstall, byte for byte" "$SKIN_SUMS" "$(sums "$DIR" "${USER_SKIN_FILES[@]}")"

# ---- the portable archive -----------------------------------------------------
PORTABLE_DIR="$WINEPREFIX/drive_c/portable/korvel-$VERSION"
mkdir -p "$PORTABLE_DIR" && (cd "$PORTABLE_DIR" && cmake -E tar xf "$PORTABLE")
check "the archive unpacks into a folder" 0 "$?"
check "the archive holds korvel.exe and the shipped skins" \
  "$(merge korvel.exe skins/ "$(shipped_skin_dirs | sed 's|^|skins/|')" "$(shipped_skin_files | sed 's|^|skins/|')")" \
  "$(listing "$PORTABLE_DIR")"
cmp -s "$STAGED_EXE" "$PORTABLE_DIR/korvel.exe"
check "the archive's korvel.exe is the packaged one" 0 "$?"
if start_program "c:\\portable\\korvel-$VERSION\\korvel.exe" "$PORTABLE_DIR"; then
  note "ok: the unpacked program starts and paints its window"
  stop_program
else
  FAILURES=$((FAILURES + 1))
fi

finish "$([ "$FAILURES" -eq 0 ] && echo 0 || echo 1)"
