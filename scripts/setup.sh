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
  nsis zip python3
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

source "$ROOT/scripts/lib/apt_sources.sh"

apt_update() {
  as_root apt-get update -q -o Acquire::Retries=1 -o Acquire::http::Timeout=30
}

export DEBIAN_FRONTEND=noninteractive
UPDATED=0
mapfile -t MISSING < <(missing_packages)
if ! has_deb_src; then
  say "adding deb-src entries for the machine's own package sources ($SRC_FILE) for the libjpeg-turbo sources"
  ERR="$(add_deb_src_file 2>&1 >/dev/null)" || die "$ERR"
  UPDATED=1
fi

if [ "${#MISSING[@]}" -gt 0 ]; then
  say "installing: ${MISSING[*]}"
  if [ "$UPDATED" -eq 0 ] && ! apt_update >"$ROOT/.setup-apt.log" 2>&1; then
    cat "$ROOT/.setup-apt.log" >&2
    die "apt-get update failed (no network to the package registry?). Missing: ${MISSING[*]}. Install them with: apt-get install ${MISSING[*]}"
  fi
  if ! as_root apt-get install -y -q --no-install-recommends "${MISSING[@]}" >>"$ROOT/.setup-apt.log" 2>&1; then
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
