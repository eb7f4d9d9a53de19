#!/usr/bin/env bash
# Installs a build tree into a temporary staging directory (DESTDIR) under an
# unusual prefix, then runs the installed command from elsewhere with no
# resource variable: it draws with the mascot, phrases and font installed
# beside it. Usage: install_into_staging_tree.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/installed_command_checks.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage="$work/stage"
prefix=/opt/kelpo
DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  fail "cmake --install failed: $(cat "$work/install.log")"

root="$stage$prefix"
for file in bin/kelpo-widget share/kelpo-widget/fonts/OFL.txt \
  share/kelpo-widget/phrases/en.po share/icons/hicolor/256x256/apps/kelpo-widget.png \
  share/doc/kelpo-widget/copyright; do
  [ -f "$root/$file" ] || fail "not installed: $prefix/$file"
done
# Outside /usr, the autostart entry stays below the prefix.
expect_valid_desktop_files "$root/share/applications/kelpo-widget.desktop" \
  "$root/etc/xdg/autostart/kelpo-widget.desktop"
expect_valid_man_page "$root/share/man/man1/kelpo-widget.1.gz"
grep -q 'SIL OPEN FONT LICENSE Version 1.1' "$root/share/doc/kelpo-widget/copyright" ||
  fail "the copyright file lacks the font's licence"

expect_own_resources "$root/bin/kelpo-widget" "$work/home"
expect_desktop_host "$root/bin/kelpo-widget" "$work/home"
expect_resources_from_install "$root/bin/kelpo-widget" "$root/share/kelpo-widget" "$work/home"
echo "ok: installed under $prefix and drew with its own resources"
