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

# Options that belong to a repository (address and suite) rather than to one
# entry: apt refuses to read two entries of one repository that set one of them
# differently, and a deb-src entry shares the repository with the binary ones.
# They are carried over with one value per repository. The other options are
# left out: they concern one entry's own indexes, and apt does not ask entries to
# agree on them; Architectures and Languages pick binary indexes and
# translations, while a repository has one Sources index per component whatever
# they say.
APT_REPOSITORY_OPTIONS="Signed-By Trusted Check-Valid-Until Valid-Until-Min Valid-Until-Max Check-Date Date-Max-Future InRelease-Path Allow-Insecure Allow-Weak Allow-Downgrade-To-Insecure"

# Prints one deb822 stanza of type deb-src for every repository (address and
# suite) of the machine's enabled binary (deb) entries that carries the system's
# release suite (the source package lives there; other archives may have no
# source indexes at all); without a known release, for every repository. The
# entries of one repository are merged, one-line and deb822 alike, however
# often it is listed: an address with or without its trailing slash is the
# same, the components are those of all its entries in the order first seen,
# and each repository option takes the value the entries name. Two entries
# naming different values for one are a configuration apt refuses as well: it
# fails then, naming both, and prints no stanza.
deb_src_stanzas() {
  local lists sources codename
  codename="$( (. "${KORVEL_OS_RELEASE:-/etc/os-release}" 2>/dev/null && echo "${VERSION_CODENAME:-}") || true)"
  mapfile -t lists < <(apt_list_files)
  mapfile -t sources < <(apt_sources_files)
  [ "${#lists[@]}" -gt 0 ] || [ "${#sources[@]}" -gt 0 ] || return 0
  awk -v codename="$codename" -v options="$APT_REPOSITORY_OPTIONS" '
    BEGIN { nopt = split(options, optname, " ") }
    # The entry of URI and SUITE with COMPS (blank-separated) and the repository
    # options in val[1..nopt] ("" when not named), read at WHERE (file:line).
    function add(uri, suite, comps, where,   key, g, n, c, i, k) {
      if (codename != "" && suite != codename) return
      key = uri; sub(/\/+$/, "", key); key = key " " suite
      if (!(key in group)) { group[key] = ++ngroup; guri[ngroup] = uri; gsuite[ngroup] = suite }
      g = group[key]
      n = split(comps, c)
      for (i = 1; i <= n; i++)
        if (!((g, c[i]) in gcomp)) { gcomp[g, c[i]] = 1; gcomps[g] = gcomps[g] (gcomps[g] == "" ? "" : " ") c[i] }
      for (k = 1; k <= nopt; k++) {
        if (val[k] == "") continue
        if (gval[g, k] == "") { gval[g, k] = val[k]; gwhere[g, k] = where }
        else if (canonical(gval[g, k]) != canonical(val[k])) {
          printf "%s and %s name different values of %s for the repository %s %s (%s, %s); apt refuses to read the package sources like that as well: give both entries the same one\n",
            gwhere[g, k], where, optname[k], guri[g], suite, shown(gval[g, k]), shown(val[k]) > "/dev/stderr"
          failed = 1; exit 1
        }
      }
    }
    # Key lists compare alike with commas or blanks between the keys.
    function canonical(v) {
      if (v ~ /\n/) { gsub(/[ \t]+\n/, "\n", v); sub(/[ \t]+$/, "", v); return v }
      gsub(/^[ ,\t]+|[ ,\t]+$/, "", v); gsub(/[ ,\t]+/, ",", v); return v
    }
    function shown(v) { return v ~ /\n/ ? "an inline key" : v }
    function trim(v) { sub(/^[ \t]+/, "", v); sub(/[ \t]+$/, "", v); return v }

    # deb822 stanzas: fields are collected (continuation lines, an inline key
    # among them, stay part of their field) and taken at the blank line.
    function stanza_end(   t, nt, u, nu, s, ns, i, j, k, deb) {
      if (start != "" && tolower(trim(f["enabled"])) != "no") {
        nt = split(f["types"], t)
        for (i = 1; i <= nt; i++) if (t[i] == "deb") deb = 1
        if (deb) {
          split("", val)
          for (k = 1; k <= nopt; k++) if (tolower(optname[k]) in f) val[k] = f[tolower(optname[k])]
          nu = split(f["uris"], u); ns = split(f["suites"], s)
          for (i = 1; i <= nu; i++) for (j = 1; j <= ns; j++) add(u[i], s[j], f["components"], start)
        }
      }
      split("", f); start = ""; field = ""
    }
    FNR == 1 { stanza_end() }
    FILENAME ~ /\.sources$/ {
      if ($0 ~ /^[ \t]*#/) next
      if ($0 ~ /^[ \t]*$/) { stanza_end(); next }
      if ($0 ~ /^[ \t]/) { if (field != "") f[field] = f[field] "\n" $0; next }
      i = index($0, ":")
      field = i > 0 ? tolower(substr($0, 1, i - 1)) : ""
      if (field != "") f[field] = trim(substr($0, i + 1))
      if (start == "") start = FILENAME ":" FNR
      next
    }
    # One-line entries: deb [option=value ...] uri suite [component ...]
    /^[ \t]*deb[ \t]/ {
      line = $0; sub(/#.*/, "", line)
      n = split(line, w); i = 2
      split("", val)
      if (w[i] ~ /^\[/) {
        for (; i <= n; i++) {
          o = w[i]; last = o ~ /\]$/; gsub(/[][]/, "", o)
          eq = index(o, "=")
          for (k = 1; k <= nopt; k++) if (eq > 1 && tolower(substr(o, 1, eq - 1)) == tolower(optname[k])) val[k] = substr(o, eq + 1)
          if (last) { i++; break }
        }
      }
      if (i + 1 > n) next
      comps = ""
      for (k = i + 2; k <= n; k++) comps = comps " " w[k]
      add(w[i], w[i + 1], comps, FILENAME ":" FNR)
    }
    END {
      if (failed) exit 1
      stanza_end()
      if (failed) exit 1
      for (g = 1; g <= ngroup; g++) {
        if (g > 1) print ""
        print "Types: deb-src"; print "URIs: " guri[g]; print "Suites: " gsuite[g]
        if (gcomps[g] != "") print "Components: " gcomps[g]
        for (k = 1; k <= nopt; k++)
          if (gval[g, k] != "") print optname[k] ":" (gval[g, k] ~ /^\n/ ? "" : " ") gval[g, k]
      }
    }' "${lists[@]}" "${sources[@]}"
}

# The deb-src stanzas to add: those of the release suite, or every entry when
# none names the release by its code name (a "stable" one, say). Fails with a
# message on standard error when the machine has no binary entry at all, or
# when its entries disagree about a repository.
deb_src_for_machine() {
  local stanzas
  stanzas="$(deb_src_stanzas)" || return 1
  [ -n "$stanzas" ] || stanzas="$(KORVEL_OS_RELEASE=/dev/null deb_src_stanzas)" || return 1
  if [ -z "$stanzas" ]; then
    printf '%s\n' "no package sources found in $APT_DIR/sources.list or $APT_DIR/sources.list.d/ (*.list, *.sources): add the machine's Debian archive there first; libjpeg-turbo is built from its source package" >&2
    return 1
  fi
  printf '%s\n' "$stanzas"
}

# Writes the deb-src stanzas to $SRC_FILE, then has apt read the package sources
# with them through the caller's apt_update (apt-get update in the setup). When
# that fails the file goes again, so the machine is left as it was, and apt's own
# messages are passed on to standard error. Writes and removes through the
# caller's as_root.
add_deb_src_file() {
  local stanzas out
  stanzas="$(deb_src_for_machine)" || return 1
  if ! printf '%s\n' "$stanzas" | as_root tee "$SRC_FILE" >/dev/null; then
    as_root rm -f "$SRC_FILE"
    printf 'could not write %s\n' "$SRC_FILE" >&2
    return 1
  fi
  out="$(apt_update 2>&1)" && return 0
  printf '%s\n' "$out" >&2
  if as_root rm -f "$SRC_FILE"; then
    printf '%s\n' "apt-get update failed with the deb-src entries of $SRC_FILE in place, so that file is removed again and the package sources are as they were" >&2
  else
    printf '%s\n' "apt-get update failed with the deb-src entries of $SRC_FILE in place, and removing that file failed too: remove it by hand" >&2
  fi
  return 1
}
