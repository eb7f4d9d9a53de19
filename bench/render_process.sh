#!/usr/bin/env bash
# Whole-process figures for one medium widget at 2x: wall time and peak
# resident memory (from /usr/bin/time -v), median of several runs, for
# `kelpo-widget render` and for bench/render_floor.cpp, the same drawing done
# with Cairo and Pango alone. Usage: bench/render_process.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
runs=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KELPO_APP_GROUP_DIR="$work/none" XDG_CONFIG_HOME="$work/config"

measure() {  # name, command...
  local name=$1; shift
  local times=() memories=()
  for _ in $(seq "$runs"); do
    /usr/bin/time -v "$@" >/dev/null 2>"$work/time.txt"
    times+=("$(awk -F': ' '/Elapsed \(wall clock\)/ {split($2, t, ":"); print t[1] * 60 + t[2]}' "$work/time.txt")")
    memories+=("$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")")
  done
  local time memory
  time=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  memory=$(printf '%s\n' "${memories[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  printf '%-14s wall %6.3f s   peak RSS %7.1f MiB   (median of %d)\n' \
    "$name" "$time" "$(awk -v m="$memory" 'BEGIN {print m / 1024}')" "$runs"
}

measure kelpo-widget "$build/kelpo-widget" render --sample --family medium --scale 2 \
  --now 2026-12-06T10:00:00Z --time-zone Europe/Paris --output "$work/widget.png"
measure render_floor "$build/render_floor" "$work/floor.png" \
  resources/fonts/BricolageGrotesque_800ExtraBold.ttf resources/mascot/mascot-found.png
