# The machine's package sources as the setup reads them, to add the deb-src
# entries that building libjpeg-turbo from Debian's source package needs.
# Source it; it defines functions and never runs anything by itself.

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

# The deb-src stanzas to add: those of the release suite, or every entry when
# none names the release by its code name (a "stable" one, say). Fails with a
# message on standard error when the machine has no binary entry at all.
deb_src_for_machine() {
  local stanzas
  stanzas="$(deb_src_stanzas)"
  [ -n "$stanzas" ] || stanzas="$(KORVEL_OS_RELEASE=/dev/null deb_src_stanzas)"
  if [ -z "$stanzas" ]; then
    printf '%s\n' "no package sources found in $APT_DIR/sources.list or $APT_DIR/sources.list.d/ (*.list, *.sources): add the machine's Debian archive there first; libjpeg-turbo is built from its source package" >&2
    return 1
  fi
  printf '%s\n' "$stanzas"
}
