#!/usr/bin/env bash
# Sets everything up, builds the widget and shows it on the desktop when a
# display is there ($WAYLAND_DISPLAY or $DISPLAY); extra arguments go to
# `kelpo-widget desktop` (e.g. --family small --family medium --corner
# bottom-right). Without a display it renders the images into out/ instead,
# as scripts/render.sh does, and says so.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${DISPLAY:-}" ]; then
  echo "show: no display found (neither WAYLAND_DISPLAY nor DISPLAY is set); rendering into out/ instead" >&2
  exec scripts/render.sh
fi

scripts/setup.sh widget
cmake --preset widget >/dev/null
cmake --build --preset widget
exec build/widget/kelpo-widget desktop "$@"
