#!/usr/bin/env bash
# The setup's deb-src entries come from the machine's own package sources
# (scripts/lib/apt_sources.sh), read from made-up apt configurations in a
# temporary folder: one-line and deb822 files, comments, disabled stanzas,
# other suites, one repository listed in both formats, entries that disagree,
# and a machine without any source, which must fail with a message. The real
# apt-get reads each configuration with the entries added (apt_reads: no
# network, no root), and the file is written and taken back again the way the
# setup does it. Exit status 0 only when every check passed.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
PASSES=0 FAILURES=0

check() {   # check WHAT EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    printf '[setup-sources] ok: %s\n' "$1"
    PASSES=$((PASSES + 1))
  else
    printf '[setup-sources] FAIL: %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
    FAILURES=$((FAILURES + 1))
  fi
}

# run APT_DIR OS_RELEASE FUNCTION: the function's output in a fresh shell.
run() {
  KORVEL_APT_DIR="$1" KORVEL_OS_RELEASE="$2" bash -c 'source "$0/scripts/lib/apt_sources.sh"; '"$3" "$ROOT"
}

# apt_reads DIR: the real apt-get reads DIR as its /etc/apt and lists the indexes
# the sources there make; it fails with apt's own message on sources it refuses.
# In a file of its own: the setup's apt-get update stand-in below uses it too.
cat >"$WORK/apt-reads.sh" <<EOF
apt_reads() {
  mkdir -p "$WORK/apt/state/lists/partial" "$WORK/apt/cache/archives/partial" && : >"$WORK/apt/apt.conf"
  APT_CONFIG="$WORK/apt/apt.conf" apt-get -o Dir::Etc="\$1" -o Dir::State="$WORK/apt/state" \\
    -o Dir::Cache="$WORK/apt/cache" -o Debug::NoLocking=1 indextargets --no-release-info >/dev/null
}
EOF
source "$WORK/apt-reads.sh"
# apt_errors DIR: apt's exit status reading DIR, and its errors (not its warnings:
# a repository listed twice draws one for every index).
apt_errors() { apt_reads "$1" 2>&1 | grep '^E:'; echo "status ${PIPESTATUS[0]}"; }

printf 'VERSION_CODENAME=bookworm\n' >"$WORK/os-release"
: >"$WORK/no-release"

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
# Architectures is not carried over: a deb-src entry fetches one Sources index
# per component whatever it says.
check "one deb-src stanza per binary entry of the release suite, same address, components and keys" \
"Types: deb-src
URIs: http://one.invalid/debian
Suites: bookworm
Components: main contrib
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

# ---- one repository listed in both formats ------------------------------------
# An upgraded or debootstrapped machine lists its archive in sources.list without
# a key and in debian.sources with one (the address here with a trailing slash),
# with other components. apt reads the keyless entries first and takes the key
# from the later one; a deb-src entry shares the repository, so there is one
# stanza for it with the union of the components, first seen first, and the key.
mkdir -p "$WORK/twice/sources.list.d"
cat >"$WORK/twice/sources.list" <<'EOF'
deb http://deb.invalid/debian bookworm main non-free-firmware
deb http://deb.invalid/debian bookworm-updates main non-free-firmware
deb http://security.invalid/debian-security bookworm-security main
EOF
cat >"$WORK/twice/sources.list.d/debian.sources" <<'EOF'
Types: deb
URIs: http://deb.invalid/debian/
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://security.invalid/debian-security/
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
# An archive that keeps its Release files past their date, with an inline key in
# deb822 and an architecture in the one-line entry: the key is carried line for
# line, the repository option both entries set once, the architecture not at all.
mkdir -p "$WORK/inline/sources.list.d"
cat >"$WORK/inline/sources.list" <<'EOF'
deb [arch=amd64 check-valid-until=no] http://old.invalid/archive bookworm main
EOF
cat >"$WORK/inline/sources.list.d/old.sources" <<'EOF'
Types: deb
URIs: http://old.invalid/archive/
Suites: bookworm
Components: contrib main
Architectures: amd64
Check-Valid-Until: no
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mDMEYCQjIxYJKwYBBAHaRw8BAQdAD/P5Nvvnvk66SxBBHDbhRml9ORg1WV5CvzKY
 =IE0r
 -----END PGP PUBLIC KEY BLOCK-----
EOF
KEY="/usr/share/keyrings/debian-archive-keyring.gpg"
# Each case: name, machine, os-release, the expected stanzas.
MERGE_CASES=(
  "release suite of a repository in both formats" twice "$WORK/os-release"
"Types: deb-src
URIs: http://deb.invalid/debian
Suites: bookworm
Components: main non-free-firmware contrib
Signed-By: $KEY"
  "every suite of a repository in both formats, release unknown" twice "$WORK/no-release"
"Types: deb-src
URIs: http://deb.invalid/debian
Suites: bookworm
Components: main non-free-firmware contrib
Signed-By: $KEY

Types: deb-src
URIs: http://deb.invalid/debian
Suites: bookworm-updates
Components: main non-free-firmware contrib
Signed-By: $KEY

Types: deb-src
URIs: http://security.invalid/debian-security
Suites: bookworm-security
Components: main
Signed-By: $KEY"
  "inline key and a repository option in both formats" inline "$WORK/os-release"
"Types: deb-src
URIs: http://old.invalid/archive
Suites: bookworm
Components: main contrib
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mDMEYCQjIxYJKwYBBAHaRw8BAQdAD/P5Nvvnvk66SxBBHDbhRml9ORg1WV5CvzKY
 =IE0r
 -----END PGP PUBLIC KEY BLOCK-----
Check-Valid-Until: no"
)
for ((c = 0; c < ${#MERGE_CASES[@]}; c += 4)); do
  what="${MERGE_CASES[c]}" machine="$WORK/${MERGE_CASES[c + 1]}" release="${MERGE_CASES[c + 2]}"
  expected="${MERGE_CASES[c + 3]}"
  check "$what: apt reads the machine's own sources" "status 0" "$(apt_errors "$machine")"
  actual="$(run "$machine" "$release" deb_src_for_machine)"
  check "$what: one stanza per repository" "$expected" "$actual"
  rm -rf "$WORK/with" && cp -r "$machine" "$WORK/with"
  printf '%s\n' "$actual" >"$WORK/with/sources.list.d/korvel-deb-src.sources"
  check "$what: apt reads them with the stanzas added" "status 0" "$(apt_errors "$WORK/with")"
done

# Two different keys for one repository: apt refuses the machine as it is, and the
# setup stops, naming both entries, with no stanza.
mkdir -p "$WORK/keys/sources.list.d"
printf 'deb [signed-by=/k/old.gpg] http://deb.invalid/debian bookworm main\n' >"$WORK/keys/sources.list"
printf 'Types: deb\nURIs: http://deb.invalid/debian\nSuites: bookworm\nComponents: main\nSigned-By: /k/new.gpg\n' \
  >"$WORK/keys/sources.list.d/debian.sources"
check "two keys: apt refuses the machine's own sources" \
  "E: Conflicting values set for option Signed-By regarding source http://deb.invalid/debian/ bookworm: /k/old.gpg != /k/new.gpg" \
  "$(apt_errors "$WORK/keys" | head -n 1)"
out="$(run "$WORK/keys" "$WORK/os-release" deb_src_for_machine 2>"$WORK/keys.err")"
check "two keys: failure and no stanza" "1:" "$?:$out"
check "two keys: the message names both entries and both keys" \
  "$WORK/keys/sources.list:1 and $WORK/keys/sources.list.d/debian.sources:1 name different values of Signed-By for the repository http://deb.invalid/debian bookworm (/k/old.gpg, /k/new.gpg); apt refuses to read the package sources like that as well: give both entries the same one" \
  "$(cat "$WORK/keys.err")"

# ---- the file written, and taken back when apt fails with it ---------------------
# apt_update stands in for the setup's apt-get update: the real apt reading the
# machine with the file in place, each call counted.
cat >"$WORK/stand-ins.sh" <<'EOF'
as_root() { "$@"; }
apt_update() { echo "$([ -f "$SRC_FILE" ] && echo with || echo without) the file" >>"$CALLS"; apt_reads "$APT_DIR"; }
EOF
# A machine whose keyless entries come on both sides of the new file (apt reads
# sources.list.d by name): with the key before its later keyless entry apt
# refuses the lot, so the file has to go again.
mkdir -p "$WORK/order/sources.list.d"
printf 'deb http://x.invalid/debian bookworm main\n' >"$WORK/order/sources.list"
printf 'deb http://x.invalid/debian bookworm contrib\n' >"$WORK/order/sources.list.d/zz-local.list"
printf 'Types: deb\nURIs: http://x.invalid/debian\nSuites: bookworm\nComponents: non-free\nSigned-By: /k/x.gpg\n' \
  >"$WORK/order/sources.list.d/zzz.sources"
check "keyless entries after the new file: apt reads the machine's own sources" "status 0" "$(apt_errors "$WORK/order")"
snapshot() { (cd "$1" && find . -type f | sort | xargs md5sum); }
# Each case: name, machine, exit status, calls of apt_update, the file afterwards,
# the error output's first and last lines (apt's own error, then what was done).
TAKEN_BACK="apt-get update failed with the deb-src entries of $WORK/machine/sources.list.d/korvel-deb-src.sources in place, so that file is removed again and the package sources are as they were"
WRITE_CASES=(
  "repository in both formats" twice 0 "with the file" "${MERGE_CASES[3]}" "" ""
  "apt refuses the sources with the file" order 1 "with the file" ""
  "E: Conflicting values set for option Signed-By regarding source http://x.invalid/debian/ bookworm: /k/x.gpg != "
  "$TAKEN_BACK"
  "two keys for a repository" keys 1 "" ""
  "$WORK/machine/sources.list:1 and $WORK/machine/sources.list.d/debian.sources:1 name different values of Signed-By for the repository http://deb.invalid/debian bookworm (/k/old.gpg, /k/new.gpg); apt refuses to read the package sources like that as well: give both entries the same one"
  ""
)
for ((c = 0; c < ${#WRITE_CASES[@]}; c += 7)); do
  what="written, ${WRITE_CASES[c]}"
  rm -rf "$WORK/machine" && cp -r "$WORK/${WRITE_CASES[c + 1]}" "$WORK/machine" && : >"$WORK/calls"
  before="$(snapshot "$WORK/machine")"
  CALLS="$WORK/calls" run "$WORK/machine" "$WORK/os-release" \
    "source '$WORK/apt-reads.sh'; source '$WORK/stand-ins.sh'; add_deb_src_file" >/dev/null 2>"$WORK/write.err"
  check "$what: exit status" "${WRITE_CASES[c + 2]}" "$?"
  check "$what: apt-get update after writing" "${WRITE_CASES[c + 3]}" "$(cat "$WORK/calls")"
  check "$what: the file" "${WRITE_CASES[c + 4]}" "$(cat "$WORK/machine/sources.list.d/korvel-deb-src.sources" 2>/dev/null)"
  [ -n "${WRITE_CASES[c + 4]}" ] || check "$what: the machine's files as they were" "$before" "$(snapshot "$WORK/machine")"
  check "$what: the error, first line" "${WRITE_CASES[c + 5]}" "$(head -n 1 "$WORK/write.err")"
  [ -z "${WRITE_CASES[c + 6]}" ] || check "$what: the error, last line" "${WRITE_CASES[c + 6]}" "$(tail -n 1 "$WORK/write.err")"
done

printf '%d passed, %d failed\n' "$PASSES" "$FAILURES"
[ "$FAILURES" -eq 0 ]
