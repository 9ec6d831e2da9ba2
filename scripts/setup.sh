#!/usr/bin/env bash
# Installs what Korvel Pro needs to build and test, then builds libjpeg-turbo
# for the Windows target from Debian's source package (cached in build/deps).
# Safe to run again: it installs only what is missing and rebuilds nothing cached.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS="$ROOT/build/deps"

PACKAGES=(
  ca-certificates git make cmake g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 nasm dpkg-dev
  wine64 fonts-wine xvfb xdotool x11-utils imagemagick
  googletest libbenchmark-dev libjpeg-dev libpng-dev
)

say() { printf '[setup] %s\n' "$*"; }
die() { printf '[setup] error: %s\n' "$*" >&2; exit 1; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else die "need root to run: $*  (run this script as root or install sudo)"
  fi
}

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || printf '%s\n' "$p"
  done
}

# The machine's own package sources: /etc/apt/sources.list and sources.list.d,
# one-line (*.list) and deb822 (*.sources) files alike. KORVEL_APT_DIR points
# elsewhere for a look at another configuration.
APT_DIR="${KORVEL_APT_DIR:-/etc/apt}"
SRC_FILE="$APT_DIR/sources.list.d/korvel-deb-src.sources"

apt_list_files() {
  local f
  for f in "$APT_DIR/sources.list" "$APT_DIR"/sources.list.d/*.list; do [ -f "$f" ] && printf '%s\n' "$f"; done
  return 0
}
apt_sources_files() {
  local f
  for f in "$APT_DIR"/sources.list.d/*.sources; do [ -f "$f" ] && [ "$f" != "$SRC_FILE" ] && printf '%s\n' "$f"; done
  return 0
}

has_deb_src() {
  local lists sources
  mapfile -t lists < <(apt_list_files)
  mapfile -t sources < <(apt_sources_files)
  [ -f "$SRC_FILE" ] && sources+=("$SRC_FILE")
  { [ "${#lists[@]}" -gt 0 ] && grep -qsE '^[[:space:]]*deb-src[[:space:]]' "${lists[@]}"; } ||
    { [ "${#sources[@]}" -gt 0 ] && grep -qsiE '^Types:.*[[:space:]]deb-src([[:space:]]|$)' "${sources[@]}"; }
}

# Prints a deb822 stanza of type deb-src for every enabled binary (deb) entry of
# the machine's sources that carries the system's release suite (the source
# package lives there; other archives may have no source indexes at all), with
# the same addresses, components and keys. Without a known release, every entry.
deb_src_stanzas() {
  local lists sources codename
  codename="$( (. "${KORVEL_OS_RELEASE:-/etc/os-release}" 2>/dev/null && echo "${VERSION_CODENAME:-}") || true)"
  mapfile -t lists < <(apt_list_files)
  mapfile -t sources < <(apt_sources_files)
  if [ "${#lists[@]}" -gt 0 ]; then
    awk -v codename="$codename" '
      /^[[:space:]]*deb[[:space:]]/ {
        sub(/#.*/, "")
        n = split($0, w, /[[:space:]]+/); i = 1
        while (i <= n && w[i] != "deb") i++
        i++
        opts = ""
        if (w[i] ~ /^\[/) {
          while (i <= n) { opts = opts " " w[i]; if (w[i] ~ /\]$/) { i++; break } i++ }
        }
        if (i + 1 > n) next
        uri = w[i]; suite = w[i + 1]; comps = ""
        if (codename != "" && suite != codename) next
        for (k = i + 2; k <= n; k++) if (w[k] != "") comps = comps (comps == "" ? "" : " ") w[k]
        gsub(/[][]/, "", opts)
        print "Types: deb-src"; print "URIs: " uri; print "Suites: " suite
        if (comps != "") print "Components: " comps
        m = split(opts, o, /[[:space:]]+/)
        for (k = 1; k <= m; k++) {
          if (o[k] ~ /^signed-by=/) print "Signed-By: " substr(o[k], 11)
          else if (o[k] ~ /^arch=/) print "Architectures: " substr(o[k], 6)
          else if (o[k] ~ /^trusted=/) print "Trusted: " substr(o[k], 9)
        }
        print ""
      }' "${lists[@]}"
  fi
  if [ "${#sources[@]}" -gt 0 ]; then
    # Stanza by stanza: copied field for field (continuation lines of an inline
    # key included), Types replaced; disabled stanzas and source-only ones skipped.
    awk -v codename="$codename" '
      function flush() {
        if (body != "" && deb && !disabled && suite) printf "Types: deb-src\n%s\n", body
        body = ""; deb = 0; disabled = 0; suite = 0
      }
      FNR == 1 { flush() }
      /^[[:space:]]*#/ { next }
      /^[[:space:]]*$/ { flush(); next }
      tolower($1) == "types:" { for (k = 2; k <= NF; k++) if ($k == "deb") deb = 1; next }
      tolower($1) == "suites:" {
        for (k = 2; k <= NF; k++) if (codename == "" || $k == codename) suite = 1
        if (codename != "" && suite) { body = body "Suites: " codename "\n"; next }
      }
      tolower($1) == "enabled:" { if (tolower($2) == "no") disabled = 1 }
      { body = body $0 "\n" }
      END { flush() }' "${sources[@]}"
  fi
}

add_deb_src() {
  local stanzas
  stanzas="$(deb_src_stanzas)"
  # No entry names the release by its code name (a "stable" one, say): take them all.
  [ -n "$stanzas" ] || stanzas="$(KORVEL_OS_RELEASE=/dev/null deb_src_stanzas)"
  [ -n "$stanzas" ] || die "no package sources found in $APT_DIR/sources.list or $APT_DIR/sources.list.d/ (*.list, *.sources): add the machine's Debian archive there first; libjpeg-turbo is built from its source package"
  say "adding deb-src entries for the machine's own package sources ($SRC_FILE) for the libjpeg-turbo sources"
  printf '%s\n' "$stanzas" | as_root tee "$SRC_FILE" >/dev/null
  NEED_UPDATE=1
}

NEED_UPDATE=0
mapfile -t MISSING < <(missing_packages)
has_deb_src || add_deb_src

if [ "${#MISSING[@]}" -gt 0 ] || [ "$NEED_UPDATE" -eq 1 ]; then
  [ "${#MISSING[@]}" -gt 0 ] && say "installing: ${MISSING[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! as_root apt-get update -q -o Acquire::Retries=1 -o Acquire::http::Timeout=30 >"$ROOT/.setup-apt.log" 2>&1; then
    cat "$ROOT/.setup-apt.log" >&2
    die "apt-get update failed (no network to the package registry?). Missing: ${MISSING[*]:-none}. Install them with: apt-get install ${MISSING[*]:-}"
  fi
  if [ "${#MISSING[@]}" -gt 0 ] && ! as_root apt-get install -y -q --no-install-recommends "${MISSING[@]}" >>"$ROOT/.setup-apt.log" 2>&1; then
    tail -n 30 "$ROOT/.setup-apt.log" >&2
    die "apt-get install failed. Missing: ${MISSING[*]}. Install them with: apt-get install ${MISSING[*]}"
  fi
  rm -f "$ROOT/.setup-apt.log"
  mapfile -t STILL < <(missing_packages)
  [ "${#STILL[@]}" -eq 0 ] || die "still missing after install: ${STILL[*]}"
fi

# ---- libjpeg-turbo for the Windows target ------------------------------------
JPEG_PREFIX="$DEPS/mingw"
if [ -f "$JPEG_PREFIX/.libjpeg-turbo.done" ]; then
  exit 0
fi
say "building libjpeg-turbo for Windows (once; cached in build/deps)"
mkdir -p "$DEPS/src"
cd "$DEPS/src"
if ! ls -d libjpeg-turbo-*/ >/dev/null 2>&1; then
  apt-get source -q libjpeg-turbo >"$DEPS/src/apt-source.log" 2>&1 || {
    cat "$DEPS/src/apt-source.log" >&2
    die "apt-get source libjpeg-turbo failed (is a deb-src entry reachable?)"
  }
fi
SRC="$(ls -d "$DEPS"/src/libjpeg-turbo-*/ | head -n1)"
rm -rf "$DEPS/jpeg-build"
cmake -S "$SRC" -B "$DEPS/jpeg-build" \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$JPEG_PREFIX" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON \
  >"$DEPS/jpeg-build.log" 2>&1 || { tail -n 40 "$DEPS/jpeg-build.log" >&2; die "configuring libjpeg-turbo failed"; }
cmake --build "$DEPS/jpeg-build" -j"$(nproc)" --target install >>"$DEPS/jpeg-build.log" 2>&1 ||
  { tail -n 40 "$DEPS/jpeg-build.log" >&2; die "building libjpeg-turbo failed"; }
touch "$JPEG_PREFIX/.libjpeg-turbo.done"
say "libjpeg-turbo ready in $JPEG_PREFIX"
