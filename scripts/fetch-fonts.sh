#!/usr/bin/env bash
# Fetches "Bricolage Grotesque" ExtraBold (SIL Open Font License) from the npm
# registry into resources/fonts, with the licence text the same package ships
# (installed and packaged beside the font). Both files are checked against
# pinned checksums and never committed; the widget registers the font as an
# application font, so nothing is installed system-wide.
set -euo pipefail
cd "$(dirname "$0")/.."

package="@expo-google-fonts/bricolage-grotesque@0.4.1"
member="package/800ExtraBold/BricolageGrotesque_800ExtraBold.ttf"
target="resources/fonts/BricolageGrotesque_800ExtraBold.ttf"
checksum="1b388794a690020404db308fc090729c4cc1ada08088771597dc3f7360ea1db5"
licence_member="package/LICENSE_FONT"
licence_target="resources/fonts/OFL.txt"
licence_checksum="4b5a7d8f37f5602621c8a8d7358a6a2e71317e6c231c661e15aef0275d3e07ba"

if [ -f "$target" ] && [ -f "$licence_target" ] &&
  printf '%s  %s\n' "$checksum" "$target" "$licence_checksum" "$licence_target" |
  sha256sum --check --status; then
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package" >/dev/null)
tar -xzf "$work"/*.tgz -C "$work" "$member" "$licence_member"
for pinned in "$checksum $member" "$licence_checksum $licence_member"; do
  if ! echo "${pinned% *}  $work/${pinned#* }" | sha256sum --check --status; then
    echo "fetch-fonts: checksum mismatch for ${pinned#* } from $package" >&2
    exit 1
  fi
done
mkdir -p "$(dirname "$target")"
cp "$work/$member" "$target"
cp "$work/$licence_member" "$licence_target"
echo "fetch-fonts: $target, $licence_target" >&2
