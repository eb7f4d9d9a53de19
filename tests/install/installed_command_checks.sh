# Checks shared by the install tests (sourced, not run): an installed
# kelpo-widget draws with its own resources, found beside itself, when run
# from another directory with no resource variable.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs the command with a clean environment: no KELPO_RESOURCE_DIR, and a
# private home so nothing reads or writes the developer's own files.
run_installed() {
  local command=$1 home=$2
  shift 2
  mkdir -p "$home/elsewhere"
  (cd "$home/elsewhere" && env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/config" \
    XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" TZ=UTC "$command" "$@")
}

# The sample widget's tree in English: the phrase table's "to sort", the
# awake mascot's pixels and the display font, with no font reported missing.
expect_own_resources() {
  local command=$1 home=$2
  mkdir -p "$home"
  run_installed "$command" "$home" tree --sample --locale en >"$home/tree.txt" 2>"$home/tree.err" ||
    fail "$command tree failed: $(cat "$home/tree.err")"
  grep -q '"3 to sort" "Bricolage Grotesque"' "$home/tree.txt" ||
    fail "no English phrase in the display font: $(grep -m1 'à trier\|to sort' "$home/tree.txt")"
  grep -Eq 'Image .* bitmap [1-9][0-9]* × [1-9]' "$home/tree.txt" ||
    fail "the mascot is empty: $(grep -m1 'Image (' "$home/tree.txt")"
  if grep -q 'is missing' "$home/tree.err"; then fail "$(cat "$home/tree.err")"; fi
  run_installed "$command" "$home" render --sample --family small --output "$home/widget.png" >/dev/null 2>"$home/render.err" ||
    fail "$command render failed: $(cat "$home/render.err")"
  [ "$(head -c 4 "$home/widget.png" | od -An -c | tr -d ' ')" = '211PNG' ] || fail "render wrote no PNG"
}

# The desktop verbs run in the installed host: `desktop --install-autostart`
# goes through it (no display needed) and writes the login entry.
expect_desktop_host() {
  local command=$1 home=$2
  run_installed "$command" "$home" desktop --install-autostart --family small >/dev/null 2>"$home/host.err" ||
    fail "$command desktop failed: $(cat "$home/host.err")"
  grep -q '^Exec=kelpo-widget desktop --family small$' "$home/config/autostart/kelpo-widget.desktop" ||
    fail "the host wrote no autostart entry"
}

# The control: with the installed resources taken away, the same command
# falls back to French, an empty mascot and a missing font. This shows the
# first check read the installed copies, not the source tree's.
expect_resources_from_install() {
  local command=$1 share=$2 home=$3
  rm "$share"/phrases/en.po "$share"/mascot/*.png "$share"/fonts/*.ttf
  run_installed "$command" "$home" tree --sample --locale en >"$home/tree.txt" 2>"$home/tree.err"
  grep -q '"3 à trier"' "$home/tree.txt" || fail "phrases found outside $share"
  grep -q 'bitmap empty' "$home/tree.txt" || fail "mascot found outside $share"
  grep -q 'font "Bricolage Grotesque" is missing' "$home/tree.err" || fail "font found outside $share"
}

# Desktop entries that desktops accept, and a manual page man can show.
expect_valid_desktop_files() {
  local file
  for file in "$@"; do
    [ -f "$file" ] || fail "missing $file"
    if command -v desktop-file-validate >/dev/null; then
      desktop-file-validate "$file" || fail "$file is not a valid desktop entry"
    fi
  done
}

expect_valid_man_page() {
  local page=$1
  [ -f "$page" ] || fail "missing $page"
  if command -v groff >/dev/null; then
    local warnings
    warnings=$(gzip -dc "$page" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
  fi
}
