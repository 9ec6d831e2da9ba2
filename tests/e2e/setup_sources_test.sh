#!/usr/bin/env bash
# The setup's deb-src entries come from the machine's own package sources
# (scripts/lib/apt_sources.sh), read from made-up apt configurations in a
# temporary folder: one-line and deb822 files, comments, disabled stanzas,
# other suites, and a machine without any source, which must fail with a
# message. Exit status 0 only when every check passed.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
FAILURES=0

check() {   # check WHAT EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    printf '[setup-sources] ok: %s\n' "$1"
  else
    printf '[setup-sources] FAIL: %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
    FAILURES=$((FAILURES + 1))
  fi
}

# run APT_DIR OS_RELEASE FUNCTION: the function's output in a fresh shell.
run() {
  KORVEL_APT_DIR="$1" KORVEL_OS_RELEASE="$2" bash -c 'source "$0/scripts/lib/apt_sources.sh"; '"$3" "$ROOT"
}

printf 'VERSION_CODENAME=bookworm\n' >"$WORK/os-release"

# A machine with both kinds of file.
mkdir -p "$WORK/both/sources.list.d"
cat >"$WORK/both/sources.list" <<'EOF'
# deb http://commented.invalid/debian bookworm main
deb [arch=amd64 signed-by=/k/one.gpg] http://one.invalid/debian bookworm main contrib # trailing note
deb http://one.invalid/debian bookworm-updates main
deb http://plain.invalid/debian bookworm main
EOF
cat >"$WORK/both/sources.list.d/archive.sources" <<'EOF'
Types: deb
# a comment inside the stanza
URIs: http://two.invalid/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /k/two.gpg

Types: deb
URIs: http://two.invalid/debian-security
Suites: bookworm-security
Components: main

Types: deb
Enabled: no
URIs: http://off.invalid/debian
Suites: bookworm
Components: main
EOF
cat >"$WORK/both/sources.list.d/other.sources" <<'EOF'
Types: deb deb-src
URIs: http://three.invalid/x
Suites: nodistro
Components: main
EOF
check "one deb-src stanza per binary entry of the release suite, same address, components and keys" \
"Types: deb-src
URIs: http://one.invalid/debian
Suites: bookworm
Components: main contrib
Architectures: amd64
Signed-By: /k/one.gpg

Types: deb-src
URIs: http://plain.invalid/debian
Suites: bookworm
Components: main

Types: deb-src
URIs: http://two.invalid/debian
Suites: bookworm
Components: main
Signed-By: /k/two.gpg" "$(run "$WORK/both" "$WORK/os-release" deb_src_for_machine)"
check "a deb822 entry with deb-src counts as one" "yes" "$(run "$WORK/both" "$WORK/os-release" 'has_deb_src && echo yes || echo no')"

# Only deb822, no deb-src yet; the release named "stable" rather than by code name.
mkdir -p "$WORK/stable/sources.list.d"
cat >"$WORK/stable/sources.list.d/debian.sources" <<'EOF'
Types: deb
URIs: http://four.invalid/debian
Suites: stable
Components: main non-free
EOF
check "no deb-src entry yet" "no" "$(run "$WORK/stable" "$WORK/os-release" 'has_deb_src && echo yes || echo no')"
check "without an entry of the code name every entry is taken" \
"Types: deb-src
URIs: http://four.invalid/debian
Suites: stable
Components: main non-free" "$(run "$WORK/stable" "$WORK/os-release" deb_src_for_machine)"

# A one-line deb-src entry is recognised.
mkdir -p "$WORK/src/sources.list.d"
printf 'deb http://five.invalid/debian bookworm main\ndeb-src http://five.invalid/debian bookworm main\n' \
  >"$WORK/src/sources.list.d/five.list"
check "a one-line deb-src entry counts" "yes" "$(run "$WORK/src" "$WORK/os-release" 'has_deb_src && echo yes || echo no')"

# No sources at all: a clear failure, nothing printed as entries.
mkdir -p "$WORK/none/sources.list.d"
printf '# deb http://commented.invalid/debian bookworm main\n' >"$WORK/none/sources.list"
out="$(run "$WORK/none" "$WORK/os-release" deb_src_for_machine 2>"$WORK/none.err")"
status=$?
check "no sources: failure" "1" "$status"
check "no sources: no entries" "" "$out"
check "no sources: the message names where it looked" \
  "no package sources found in $WORK/none/sources.list or $WORK/none/sources.list.d/ (*.list, *.sources): add the machine's Debian archive there first; libjpeg-turbo is built from its source package" \
  "$(cat "$WORK/none.err")"

printf '%d passed, %d failed\n' "$(( $(grep -c '^check ' "$0") - FAILURES ))" "$FAILURES"
[ "$FAILURES" -eq 0 ]
