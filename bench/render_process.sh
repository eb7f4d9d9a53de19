#!/usr/bin/env bash
# Whole-process figures for one medium widget at 2x: wall and CPU time and
# peak resident memory, median of several runs, for
# `kelpo-widget render` and for bench/render_floor.cpp, the same drawing done
# with Cairo and Pango alone; then the same figures for `kelpo-widget gallery`
# (24 cells at 2x on one sheet), each beside its goal. Wall times swing with
# whatever else the machine runs; with KELPO_BENCH_INSTRUCTIONS=1 the
# instruction counts of one run of each under callgrind follow, which do not.
# Usage: bench/render_process.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
runs=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KELPO_APP_GROUP_DIR="$work/none" XDG_CONFIG_HOME="$work/config"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Wall and CPU time in milliseconds (from bash's own timer, to the
# millisecond) and peak RSS (from /usr/bin/time -v), medians of $runs runs.
measure() {  # name, command...
  local name=$1; shift
  local walls=() cpus=() memories=() timing
  local TIMEFORMAT='%3R %3U %3S'
  for _ in $(seq "$runs"); do
    timing=$( { time /usr/bin/time -v "$@" >/dev/null 2>"$work/time.txt"; } 2>&1 )
    walls+=("$(awk '{print $1 * 1000}' <<<"$timing")")
    cpus+=("$(awk '{print ($2 + $3) * 1000}' <<<"$timing")")
    memories+=("$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")")
  done
  local wall cpu memory
  wall=$(printf '%s\n' "${walls[@]}" | median)
  cpu=$(printf '%s\n' "${cpus[@]}" | median)
  memory=$(printf '%s\n' "${memories[@]}" | median)
  printf '%-14s wall %6.1f ms   cpu %6.1f ms   peak RSS %5.1f MiB   (median of %d)\n' \
    "$name" "$wall" "$cpu" "$(awk -v m="$memory" 'BEGIN {print m / 1024}')" "$runs"
  eval "${name//-/_}_wall=$wall; ${name//-/_}_cpu=$cpu; ${name//-/_}_memory=$memory"
}

# Instructions of one run under callgrind: the same on a busy machine.
instructions() {  # command...
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    awk '/Collected :/ { print $NF }'
}

render=("$build/kelpo-widget" render --sample --family medium --scale 2
  --now 2026-12-06T10:00:00Z --time-zone Europe/Paris --output "$work/widget.png")
floor=("$build/render_floor" "$work/floor.png"
  resources/fonts/BricolageGrotesque_800ExtraBold.ttf resources/mascot/mascot-found.png)
gallery=("$build/kelpo-widget" gallery
  --now 2026-12-06T10:00:00Z --time-zone Europe/Paris --output "$work/gallery.png")
measure kelpo-widget "${render[@]}"
measure render_floor "${floor[@]}"
awk -v w="$kelpo_widget_wall" -v fw="$render_floor_wall" -v c="$kelpo_widget_cpu" \
  -v fc="$render_floor_cpu" -v m="$kelpo_widget_memory" 'BEGIN {
    printf "ratio to the floor: wall %.2f, cpu %.2f   (goal: <= 1.30)\n", w / fw, c / fc
    printf "render peak RSS %.1f MiB   (goal: <= 22 MiB)\n", m / 1024 }'
measure gallery "${gallery[@]}"
awk -v w="$gallery_wall" 'BEGIN { printf "gallery wall %.0f ms   (goal: <= 300 ms)\n", w }'
if [ "${KELPO_BENCH_INSTRUCTIONS:-0}" = 1 ]; then
  render_instructions=$(instructions "${render[@]}")
  floor_instructions=$(instructions "${floor[@]}")
  gallery_instructions=$(instructions "${gallery[@]}")
  awk -v r="$render_instructions" -v f="$floor_instructions" -v g="$gallery_instructions" 'BEGIN {
    printf "instructions (callgrind): render %.1f M, floor %.1f M, ratio %.2f; gallery %.1f M\n",
      r / 1e6, f / 1e6, r / f, g / 1e6 }'
fi
