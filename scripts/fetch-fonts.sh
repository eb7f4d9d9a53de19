#!/usr/bin/env bash
# Fetches "Bricolage Grotesque" ExtraBold (SIL Open Font License) from the npm
# registry into resources/fonts. The file is checked against a pinned checksum
# and never committed; the widget registers it as an application font, so
# nothing is installed system-wide.
set -euo pipefail
cd "$(dirname "$0")/.."

package="@expo-google-fonts/bricolage-grotesque@0.4.1"
member="package/800ExtraBold/BricolageGrotesque_800ExtraBold.ttf"
target="resources/fonts/BricolageGrotesque_800ExtraBold.ttf"
checksum="1b388794a690020404db308fc090729c4cc1ada08088771597dc3f7360ea1db5"

if [ -f "$target" ] && echo "$checksum  $target" | sha256sum --check --status; then
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package" >/dev/null)
tar -xzf "$work"/*.tgz -C "$work" "$member"
if ! echo "$checksum  $work/$member" | sha256sum --check --status; then
  echo "fetch-fonts: checksum mismatch for $member from $package" >&2
  exit 1
fi
mkdir -p "$(dirname "$target")"
cp "$work/$member" "$target"
echo "fetch-fonts: $target" >&2
