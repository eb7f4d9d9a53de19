#!/usr/bin/env bash
# Builds the Debian package of a build tree with CPack, checks its files and
# declared dependencies, unpacks it and runs the unpacked command from
# elsewhere with no resource variable. Usage: package_builds_and_runs.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/installed_command_checks.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
package=$(find "$work/package" -maxdepth 1 -name '*.deb')
[ -n "$package" ] || fail "cpack made no .deb: $(cat "$work/cpack.log")"

dpkg-deb -c "$package" | awk '{print $NF}' >"$work/files.txt"
for file in ./usr/bin/kelpo-widget ./usr/libexec/kelpo-widget-desktop ./usr/share/kelpo-widget/mascot/mascot-found.png \
  ./usr/share/kelpo-widget/fonts/BricolageGrotesque_800ExtraBold.ttf \
  ./usr/share/kelpo-widget/fonts/OFL.txt ./usr/share/applications/kelpo-widget.desktop \
  ./usr/share/man/man1/kelpo-widget.1.gz ./usr/share/doc/kelpo-widget/copyright \
  ./usr/share/doc/kelpo-widget/changelog.gz ./usr/share/lintian/overrides/kelpo-widget \
  ./etc/xdg/autostart/kelpo-widget.desktop; do
  grep -qxF "$file" "$work/files.txt" || fail "the package lacks $file"
done
if grep -q '^\./usr/etc' "$work/files.txt"; then fail "configuration below /usr/etc"; fi

dpkg-deb -I "$package" >"$work/info.txt"
depends=$(sed -n 's/^ Depends: //p' "$work/info.txt")
# Read from the binary, not written by hand: the drawing and text libraries.
for library in libcairo2 libpango-1.0-0 libicu libgtk-3-0 libgtk-layer-shell0 fonts-inter; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
grep -q '^ Maintainer: .\+' "$work/info.txt" || fail "no maintainer"
grep -q '^ Description: .\+' "$work/info.txt" || fail "no description"
[ "$(dpkg-deb -f "$package" Package)" = kelpo-widget ] || fail "wrong package name"
dpkg-deb --ctrl-tarfile "$package" | tar -xO ./conffiles | grep -qxF /etc/xdg/autostart/kelpo-widget.desktop ||
  fail "the autostart entry is not a configuration file"

dpkg-deb -x "$package" "$work/unpacked"
expect_own_resources "$work/unpacked/usr/bin/kelpo-widget" "$work/home"
expect_desktop_host "$work/unpacked/usr/bin/kelpo-widget" "$work/home"
expect_resources_from_install "$work/unpacked/usr/bin/kelpo-widget" \
  "$work/unpacked/usr/share/kelpo-widget" "$work/home"
echo "ok: $(basename "$package") (Depends: $depends) unpacked and drew with its own resources"
