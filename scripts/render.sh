#!/usr/bin/env bash
# Sets everything up, builds the widget and renders it from the shared
# directory (or the built-in default record when nothing is there) into
# out/: small and medium, light and dark, at 2x. Extra arguments go to
# `kelpo-widget render` (e.g. --sample, --snapshot FILE, --appearance dark).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh widget

cmake --preset widget >/dev/null
cmake --build --preset widget --target kelpo-widget

mkdir -p out
for appearance in light dark; do
  build/widget/kelpo-widget render --family both --appearance "$appearance" --scale 2 \
    --output "out/widget-$appearance-{family}.png" "$@"
done
