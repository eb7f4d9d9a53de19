#!/usr/bin/env bash
# What the desktop host costs: one medium instance at 2x under a private
# Xvfb and session bus. Reports the time from start to the first frame, peak
# and settled RSS, context switches and CPU time over 10 s idle, CPU time and
# mean frame time during one sheen sweep (replayed by hovering the gold
# badge), and the same idle figures for a trivial conky (1 s update) as the
# reference most Linux desktops know.
#
#   bench/desktop_host.sh [path/to/kelpo-widget]   (default build/dev/kelpo-widget)
#
# Frame figures need the host's frame log (KELPO_DESKTOP_FRAME_LOG=1, one
# "frame <ms> ms at <monotonic µs>" line per frame on stderr).
set -euo pipefail
cd "$(dirname "$0")/.."
widget=${1:-build/dev/kelpo-widget}
idle_seconds=10

if [ ! -x "$widget" ]; then
  echo "desktop_host.sh: no kelpo-widget at $widget (build it, or pass its path)" >&2
  exit 2
fi
missing=()
for tool in Xvfb xdotool xwininfo dbus-daemon conky python3; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "desktop_host.sh: missing ${missing[*]}; install xvfb xdotool x11-utils dbus-daemon conky-std python3" >&2
  exit 2
fi

work=$(mktemp -d)
pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill -TERM "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# A private session: nothing here reaches the developer's own desktop.
mkdir -p "$work"/{home,data/group.app.kelpo,config,cache,runtime,bus}
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
export NO_AT_BRIDGE=1 GDK_BACKEND=x11
unset WAYLAND_DISPLAY KELPO_APP_GROUP_DIR
entry=(--now 2026-12-06T10:00:00Z --locale fr_FR --time-zone Europe/Paris)

wait_for_file() {  # path, seconds: until the file has a line
  local deadline=$((SECONDS + $2))
  until [ -s "$1" ]; do
    [ $SECONDS -lt $deadline ] || { echo "desktop_host.sh: timed out waiting for $1" >&2; exit 1; }
    sleep 0.02
  done
}

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset -auth /dev/null 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for_file "$work/display" 10
export DISPLAY=":$(head -1 "$work/display")"

sed "s|@BUS_DIR@|$work/bus|" tests/scenarios/bus/session_bus.conf >"$work/bus.conf"
dbus-daemon --config-file="$work/bus.conf" --nofork --print-address=3 3>"$work/bus-address" 2>"$work/dbus.log" &
pids+=($!)
wait_for_file "$work/bus-address" 10
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus-address")

# The sample record, its first item at score 10: a gold badge, which sheens.
"$widget" sample | sed '0,/"score": [0-9]*/s//"score": 10/' >"$XDG_DATA_HOME/group.app.kelpo/widget.json"
xdotool mousemove 0 0

# The host stamps its frames with the monotonic clock, bash reads the wall
# clock ($EPOCHREALTIME): one look at both gives the offset between them.
read -r monotonic wall < <(python3 -c 'import time; print(time.monotonic_ns() // 1000, time.time_ns() // 1000)')
monotonic_minus_wall=$((monotonic - wall))
wall_us() { echo "${EPOCHREALTIME/./}"; }
# CPU time from the scheduler's nanosecond counts of every thread (the
# tick-based /proc/PID/stat counts in 10 ms steps, too coarse here).
cpu_us() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { printf "%d", ns / 1000 }'; }
ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }
switches() { cat /proc/"$1"/task/*/status | awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n }'; }
memory_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
frames() {  # the log appears once the host's shell has opened it
  if [ -f "$work/host.log" ]; then grep -c 'frame .* ms at' "$work/host.log" || true; else echo 0; fi
}

# 1. Start to first frame.
started=$(wall_us)
KELPO_DESKTOP_FRAME_LOG=1 GDK_SCALE=2 "$widget" desktop "${entry[@]}" --family medium --reduce-motion off \
  2>"$work/host.log" &
host=$!
pids+=($host)
deadline=$((SECONDS + 10))
until [ "$(frames)" -gt 0 ] || xdotool search --onlyvisible --pid "$host" >/dev/null 2>&1; do
  kill -0 "$host" 2>/dev/null || { echo "desktop_host.sh: the host exited:" >&2; cat "$work/host.log" >&2; exit 1; }
  [ $SECONDS -lt $deadline ] || { echo "desktop_host.sh: no window after 10 s" >&2; exit 1; }
  sleep 0.01
done
if [ "$(frames)" -eq 0 ]; then
  first_frame="$((($(wall_us) - started) / 1000)) ms (window mapped; the host printed no frame log)"
else
  first_us=$(awk '/frame .* ms at/ { print $NF; exit }' "$work/host.log")
  first_frame="$(((first_us - monotonic_minus_wall - started) / 1000)) ms"
fi

# 2. Idle: once the sheen of the first appearance is over, nothing moves.
sleep 2
window=$(xdotool search --onlyvisible --pid "$host" | head -1)
cpu_before=$(cpu_us "$host") switches_before=$(switches "$host")
sleep "$idle_seconds"
idle_cpu=$(ms $(($(cpu_us "$host") - cpu_before))) idle_switches=$(($(switches "$host") - switches_before))
settled_kb=$(memory_kb "$host" VmRSS)

# 3. One sheen sweep, replayed by the pointer entering the gold badge (the
# first row's badge, from the laid-out tree, in points).
read -r badge_x badge_y < <("$widget" tree "${entry[@]}" --family medium |
  awk '/overlay \(/ { gsub(/[(),]/, ""); print int(($2 + $4 / 2) * 2), int(($3 + $6 / 2) * 2); exit }')
eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print "wx=" $NF } /Absolute upper-left Y/ { print "wy=" $NF }')"
frames_before=$(frames) cpu_before=$(cpu_us "$host")
xdotool mousemove $((wx + badge_x)) $((wy + badge_y))
sleep 1.5
sweep_cpu=$(ms $(($(cpu_us "$host") - cpu_before)))
sweep=$(awk -v skip="$frames_before" '/frame .* ms at/ && ++n > skip { total += $(NF - 3); count++ }
  END { if (count) printf "%d frames, mean %.2f ms", count, total / count; else print "no frames logged" }' "$work/host.log")
peak_kb=$(memory_kb "$host" VmHWM)
xdotool mousemove 0 0

# 4. The reference: conky drawing a clock into its own window every second.
cat >"$work/conky.conf" <<'EOF'
conky.config = { out_to_x = true, own_window = true, own_window_type = 'desktop',
                 update_interval = 1, double_buffer = true, background = false }
conky.text = [[${time %H:%M:%S}]]
EOF
conky -c "$work/conky.conf" >"$work/conky.log" 2>&1 &
conky=$!
pids+=($conky)
sleep 2
cpu_before=$(cpu_us "$conky") switches_before=$(switches "$conky")
sleep "$idle_seconds"
conky_cpu=$(ms $(($(cpu_us "$conky") - cpu_before))) conky_switches=$(($(switches "$conky") - switches_before))
conky_kb=$(memory_kb "$conky" VmRSS)

cat <<EOF
desktop host, one medium instance at 2x under Xvfb ($widget)
  start to first frame        $first_frame
  RSS peak / settled          $((peak_kb / 1024)) MB / $((settled_kb / 1024)) MB   (goal: settled <= 40 MB)
  ${idle_seconds} s idle: context switches  $idle_switches   (goal: 0 to 2)
  ${idle_seconds} s idle: CPU time          $idle_cpu ms
  one sheen sweep: CPU time   $sweep_cpu ms
  one sheen sweep: frames     $sweep   (goal: <= 4 ms a frame)
conky, 1 s update, same display
  ${idle_seconds} s idle: context switches  $conky_switches
  ${idle_seconds} s idle: CPU time          $conky_cpu ms
  RSS                         $((conky_kb / 1024)) MB
EOF
