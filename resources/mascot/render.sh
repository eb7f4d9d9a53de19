#!/bin/sh
# Renders the mascot pictures from their SVG sources. The PNGs are committed,
# so building the widget never needs this; run it after editing an SVG.
# Needs rsvg-convert (Debian/Ubuntu: apt-get install librsvg2-bin).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
size=256  # the widget draws the mascot at up to ~70 pt, i.e. ~210 px at 3x

if ! command -v rsvg-convert >/dev/null 2>&1; then
  echo "render.sh: rsvg-convert not found (apt-get install librsvg2-bin)" >&2
  exit 1
fi

for pose in found resting; do
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "$here/mascot-$pose.png" "$here/mascot-$pose.svg"
  echo "wrote $here/mascot-$pose.png"
done
