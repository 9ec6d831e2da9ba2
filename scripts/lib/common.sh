# Shared by the run and test commands: build trees, the virtual display and Wine.
# Source it; it defines functions and never runs anything by itself.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# KORVEL_BUILD lets several people (or helpers) build side by side; the
# dependencies built once stay in build/deps either way.
BUILD="${KORVEL_BUILD:-$ROOT/build}"
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
DEPS="$ROOT/build/deps"
JOBS="$(nproc)"
WINE_LOADER=/usr/lib/wine/wine64
WINE_SERVER=/usr/lib/wine/wineserver
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${KORVEL_WINEPREFIX:-$BUILD/wine}"

log() { printf '[%s] %s\n' "${KORVEL_STAGE:-korvel}" "$*"; }
fail() { printf '[%s] error: %s\n' "${KORVEL_STAGE:-korvel}" "$*" >&2; return 1; }

configure_windows() {
  cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DKORVEL_GTEST_SOURCE_DIR=/usr/src/googletest \
    -DJPEG_INCLUDE_DIR="$DEPS/mingw/include" -DJPEG_LIBRARY="$DEPS/mingw/lib/libjpeg.a" \
    -DKORVEL_WINE="$WINE_LOADER" >"$BUILD/win-configure.log" 2>&1 ||
    { cat "$BUILD/win-configure.log" >&2; fail "configuring the Windows build failed"; }
}

build_tree() {   # build_tree DIR [TARGET...]
  local dir="$1"; shift
  local targets=()
  local t
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build "$dir" -j"$JOBS" "${targets[@]}"
}

# open_display LOG: starts a private Xvfb on the first free display from 90 up,
# its output in LOG; sets OPENED_DISPLAY (":N") and OPENED_PID. Every wait is bounded.
open_display() {
  local log="$1" n pid waited
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # A server of another file-system root (a chroot, a container) leaves no lock
    # here but still answers on the shared abstract socket: never share it.
    DISPLAY=":$n" timeout 5 xdpyinfo >/dev/null 2>&1 && continue
    # -br: a black root, so pixels cut out of a shaped window are known.
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac -br >"$log" 2>&1 &
    pid=$!
    waited=0
    while [ $waited -lt 100 ]; do
      if ! kill -0 "$pid" 2>/dev/null; then break; fi
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        OPENED_DISPLAY=":$n" OPENED_PID=$pid
        return 0
      fi
      sleep 0.1; waited=$((waited + 1))
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null
  done
  cat "$log" >&2 2>/dev/null || true
  fail "Xvfb did not start on any display from :90 to :140"
}

# Starts a private Xvfb and exports DISPLAY.
start_display() {
  open_display "$BUILD/xvfb.log" || return 1
  export DISPLAY="$OPENED_DISPLAY"
  XVFB_PID=$OPENED_PID
  DISPLAY_OWNED=1
  log "virtual display $DISPLAY ready"
}

# Wine's own fonts (Debian's fonts-wine): among them "MS Sans Serif" as the
# classic bitmap face with Windows' metrics, and Marlett, the glyphs of the
# caption buttons Wine draws on its own frames.
WINE_FONTS=/usr/share/wine/fonts
# What prepare_prefix does to a prefix. Raise it whenever prepare_prefix
# changes: every prefix prepared before is prepared again on its next start.
PREFIX_VERSION=2
PREFIX_STAMP=.korvel-prefix-version

# Brings the prefix to what the program and its tests expect. Safe to repeat.
prepare_prefix() {
  # Without a window manager nobody would draw window frames: Wine draws
  # them itself (and the skinned program replaces them with its own).
  timeout 60 "$WINE_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f \
    >>"$BUILD/wineboot.log" 2>&1 || { fail "setting up the Wine prefix failed"; return 1; }
  # Wine looks for the faces a program names in the prefix's Windows font
  # folder and among the system's fonts. Without its own fonts there, "MS Sans
  # Serif" falls back to a wider face (DejaVu Sans: 82 px for "192.168.100.1"
  # at -11 where Windows needs 69) and text wraps where it would not on Windows.
  [ -f "$WINE_FONTS/sserife.fon" ] && [ -f "$WINE_FONTS/marlett.ttf" ] ||
    { fail "Wine's own fonts are missing ($WINE_FONTS; package fonts-wine): run scripts/setup.sh"; return 1; }
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" &&
    cp -f "$WINE_FONTS"/*.fon "$WINE_FONTS"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" ||
    { fail "copying Wine's fonts into the prefix failed"; return 1; }
  timeout 180 "$WINE_SERVER" -w
}

# Creates the prefix in WINEPREFIX once (bounded) and prepares it when it was
# prepared by an older version of prepare_prefix (or never). No server of it
# is left running.
make_prefix() {
  [ -x "$WINE_LOADER" ] || { fail "Wine is not installed ($WINE_LOADER missing); run scripts/setup.sh"; return 1; }
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/.korvel-ready" ]; then
    log "creating the Wine prefix $WINEPREFIX (once)"
    timeout 300 "$WINE_LOADER" wineboot -i >"$BUILD/wineboot.log" 2>&1 ||
      { cat "$BUILD/wineboot.log" >&2; fail "wineboot failed or took over 5 minutes"; return 1; }
    timeout 180 "$WINE_SERVER" -w || { fail "the Wine prefix did not settle within 3 minutes"; return 1; }
    touch "$WINEPREFIX/.korvel-ready"
  fi
  if [ "$(cat "$WINEPREFIX/$PREFIX_STAMP" 2>/dev/null)" != "$PREFIX_VERSION" ]; then
    log "preparing the Wine prefix (version $PREFIX_VERSION)"
    prepare_prefix || return 1
    echo "$PREFIX_VERSION" >"$WINEPREFIX/$PREFIX_STAMP"
  fi
}

# Keeps one wineserver of WINEPREFIX alive and starts Wine's services in it;
# LOG receives the start's output.
serve_prefix() {   # serve_prefix LOG
  timeout 30 "$WINE_SERVER" -p || { fail "wineserver -p did not start"; return 1; }
  # The first program of a session starts Wine's own services and desktop
  # process, which live as long as the server and would inherit the output
  # pipes of whoever came first (a test runner would then wait for them forever).
  timeout 120 "$WINE_LOADER" wineboot >"$1" 2>&1 </dev/null ||
    { cat "$1" >&2; fail "Wine did not start its services within 2 minutes"; return 1; }
}

# Creates and prepares the private prefix (make_prefix), then keeps one wineserver alive.
start_wine() {
  make_prefix || return 1
  WINE_OWNED=1
  serve_prefix "$BUILD/wine-warmup.log"
}

# ---- slots: Windows tests side by side ------------------------------------------
# A slot is a place to run one Windows test at a time: its own virtual display
# (real input goes there only), its own Wine prefix and its own wineserver.
# Tests in different slots cannot disturb each other. scripts/lib/in_slot.sh,
# which CTest runs every Windows test through, takes a free one.

# The prepared prefix the slots' prefixes are copied from; never run in.
TEMPLATE_PREFIX="$BUILD/wine-template"
SLOTS_DIR="$BUILD/win-slots"
SLOT_PIDS=()
SLOT_PREFIXES=()

# copy_prefix FROM TO: a whole copy, 700 MB in about a second from a warm cache
# (hard links for the DLLs were no faster, and would let one slot's write reach
# the template and every other slot).
copy_prefix() {
  rm -rf "$2" && cp -a "$1" "$2" || { fail "copying the prefix $1 to $2 failed"; return 1; }
}

# start_slot DIR: the Wine half of a slot whose display is already in DIR/env:
# a fresh copy of the template prefix with its own wineserver and services.
start_slot() {
  local DISPLAY WINEPREFIX
  source "$1/env" || return 1
  export DISPLAY WINEPREFIX
  copy_prefix "$TEMPLATE_PREFIX" "$WINEPREFIX" && serve_prefix "$1/warmup.log"
}

# start_slots COUNT: COUNT slots in SLOTS_DIR, started side by side; exports
# KORVEL_WIN_SLOTS for the runner. stop_all ends them.
start_slots() {
  local count="$1" i first="" pids=() failed=0
  # The servers of a run that was killed would otherwise keep the old prefixes busy.
  for i in "$SLOTS_DIR"/*/wine; do
    [ -d "$i" ] && WINEPREFIX="$i" timeout 30 "$WINE_SERVER" -k >/dev/null 2>&1
  done
  rm -rf "$SLOTS_DIR" && mkdir -p "$SLOTS_DIR" || { fail "cannot create $SLOTS_DIR"; return 1; }
  for i in $(seq 1 "$count"); do
    mkdir -p "$SLOTS_DIR/$i" && open_display "$SLOTS_DIR/$i/xvfb.log" || return 1
    SLOT_PIDS+=("$OPENED_PID")
    first="${first:-$OPENED_DISPLAY}"
    SLOT_PREFIXES+=("$SLOTS_DIR/$i/wine")
    printf 'DISPLAY=%q\nWINEPREFIX=%q\n' "$OPENED_DISPLAY" "$SLOTS_DIR/$i/wine" >"$SLOTS_DIR/$i/env"
  done
  # The template is made (once) on the first slot's display.
  ( export DISPLAY="$first" WINEPREFIX="$TEMPLATE_PREFIX"; make_prefix ) || return 1
  for i in $(seq 1 "$count"); do
    start_slot "$SLOTS_DIR/$i" &
    pids+=($!)
  done
  for i in "${pids[@]}"; do wait "$i" || failed=1; done
  [ "$failed" -eq 0 ] || { fail "a slot did not start"; return 1; }
  export KORVEL_WIN_SLOTS="$SLOTS_DIR"
  log "$count slot(s) ready: displays $(sed -n 's/^DISPLAY=//p' "$SLOTS_DIR"/*/env | tr '\n' ' ')"
}

stop_all() {
  if [ -n "${WINE_OWNED:-}" ]; then
    timeout 30 "$WINE_SERVER" -k 2>/dev/null || true
    WINE_OWNED=
  fi
  local p
  for p in "${SLOT_PREFIXES[@]}"; do WINEPREFIX="$p" timeout 30 "$WINE_SERVER" -k 2>/dev/null || true; done
  SLOT_PREFIXES=()
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
  for p in "${SLOT_PIDS[@]}"; do
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  SLOT_PIDS=()
}

# The program lives where users install it: c:\korvel in the prefix, with the
# shipped skins in c:\korvel\skins.
program_dir() { echo "$WINEPREFIX/drive_c/korvel"; }
program_path() { echo "$(program_dir)/${1:-korvel}.exe"; }

# install_program [PROGRAM]: korvel (the default) or korvel-gallery, with the shipped skins.
install_program() {
  local dir program="${1:-korvel}"
  dir="$(program_dir)"
  mkdir -p "$dir/skins" || { fail "cannot create $dir"; return 1; }
  cp "$BUILD/win/bin/$program.exe" "$dir/" || { fail "cannot copy $program.exe to $dir"; return 1; }
  if [ -d "$ROOT/skins" ] && [ -n "$(ls -A "$ROOT/skins" 2>/dev/null)" ]; then
    cp -r "$ROOT/skins/." "$dir/skins/" || { fail "cannot copy the shipped skins"; return 1; }
  fi
}
