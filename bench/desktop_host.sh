#!/usr/bin/env bash
# What the desktop host costs: one medium instance at 2x under a private
# Xvfb, session bus and accessibility bus (the bridge on, as in a real
# session). Over RUNS starts it reports, as medians, the time from the
# command to the first frame and, 8 s after the start, resident memory and
# the private dirty and private clean parts of it (/proc/PID/smaps_rollup),
# each beside its goal. Once: context switches and CPU time over 10 s idle,
# CPU time and mean frame time during one sheen sweep (replayed by hovering
# the gold badge), memory after the host read a large snapshot, and the same
# idle figures for a trivial conky (1 s update) as the reference most Linux
# desktops know.
#
#   bench/desktop_host.sh [path/to/kelpo-widget] [RUNS]   (default build/dev/kelpo-widget, 5)
#   KELPO_BENCH_MAPPINGS=1 also lists the mappings holding the most private dirty memory.
#
# Frame figures need the host's frame log (KELPO_DESKTOP_FRAME_LOG=1, one
# "frame <ms> ms at <monotonic µs>" line per frame on stderr).
set -euo pipefail
cd "$(dirname "$0")/.."
widget=${1:-build/dev/kelpo-widget}
runs=${2:-5}
idle_seconds=10
settle_seconds=8
bus_launcher=/usr/libexec/at-spi-bus-launcher
registry=/usr/libexec/at-spi2-registryd

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
for program in "$bus_launcher" "$registry"; do
  [ -x "$program" ] || { echo "desktop_host.sh: missing $program; install at-spi2-core" >&2; exit 2; }
done

# A program just linked sits in page-cache pages not yet written to disk,
# which /proc counts as the process's own dirty memory: write them out first.
sync "$widget" "$(dirname "$widget")/kelpo-widget-desktop" 2>/dev/null || sync

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
export GDK_BACKEND=x11 GSETTINGS_BACKEND=memory
unset WAYLAND_DISPLAY KELPO_APP_GROUP_DIR NO_AT_BRIDGE
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

# The accessibility bus, as a session has it: its launcher (which starts the
# bus's own daemon) and the registry. The launcher leaves its daemon behind,
# so the daemon is stopped by its PID too.
"$bus_launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
pids+=($!)
launcher=$!
a11y_address() {
  dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>/dev/null |
    tr -d ' '
}
deadline=$((SECONDS + 10))
until [ -n "$(a11y_address)" ]; do
  [ $SECONDS -lt $deadline ] || { echo "desktop_host.sh: no accessibility bus after 10 s" >&2; exit 1; }
  sleep 0.05
done
for daemon in $(cat /proc/"$launcher"/task/*/children); do pids+=("$daemon"); done
"$registry" >>"$work/atspi.log" 2>&1 &
pids+=($!)

# The sample record, its first item at score 10: a gold badge, which sheens.
"$widget" sample | sed '0,/"score": [0-9]*/s//"score": 10/' >"$work/sample.json"
cp "$work/sample.json" "$XDG_DATA_HOME/group.app.kelpo/widget.json"
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
mb() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }
# Context switches by thread, "tid count" a line; switches_since adds up
# what each thread did since (a thread that ended meanwhile counts none).
switches() {
  local task
  for task in /proc/"$1"/task/*; do
    echo "${task##*/} $(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n + 0 }' "$task/status" 2>/dev/null)"
  done
}
switches_since() {  # pid, the switches() lines from before
  awk 'NR == FNR { before[$1] = $2; next } { n += $2 - before[$1] } END { print n + 0 }' <(echo "$2") <(switches "$1")
}
memory_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
rollup_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/smaps_rollup"; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
log=/dev/null
frames() {  # the log appears once the host's shell has opened it
  if [ -f "$log" ]; then grep -c 'frame .* ms at' "$log" || true; else echo 0; fi
}
await_frames() {  # count, seconds
  local deadline=$((SECONDS + $2))
  until [ "$(frames)" -ge "$1" ]; do
    [ $SECONDS -lt $deadline ] || { echo "desktop_host.sh: no frame after $2 s" >&2; exit 1; }
    sleep 0.02
  done
}
# Where the resident memory lies, by mapping: libraries and data files by
# name, the heap, anonymous mappings (malloc's arenas, thread stacks).
mappings() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6) ? $6 : "[anonymous]"; sub(/.*\//, "", name) }
       /^Rss:/ { rss[name] += $2 } /^Private_Dirty:/ { dirty[name] += $2 }
       /^Private_Clean:/ { clean[name] += $2 }
       END { for (n in rss) if (rss[n] >= 128) printf "    %6d kB resident  %6d kB private dirty  %6d kB private clean  %s\n", rss[n], dirty[n], clean[n], n }' \
    "/proc/$1/smaps" | sort -rn | head -30
}

# Starts the host (the command, which hands over to it) and waits for its
# first frame; sets host, log and first_frame_ms.
start_host() {  # run number
  log="$work/host-$1.log"
  local started
  started=$(wall_us)
  KELPO_DESKTOP_FRAME_LOG=1 GDK_SCALE=2 "$widget" desktop "${entry[@]}" --family medium --reduce-motion off \
    2>"$log" >"$work/host-$1.out" &
  host=$!
  pids+=($host)
  local deadline=$((SECONDS + 10))
  until [ "$(frames)" -gt 0 ]; do
    kill -0 "$host" 2>/dev/null || { echo "desktop_host.sh: the host exited:" >&2; cat "$log" >&2; exit 1; }
    [ $SECONDS -lt $deadline ] || { echo "desktop_host.sh: no frame after 10 s" >&2; exit 1; }
    sleep 0.005
  done
  local first_us
  first_us=$(awk '/frame .* ms at/ { print $NF; exit }' "$log")
  first_frame_ms=$(((first_us - monotonic_minus_wall - started) / 1000))
  host_started=$started
}

stop_host() {
  kill -TERM "$host" 2>/dev/null || true
  wait "$host" 2>/dev/null || true
}

# 1. Start to first frame, and memory once settled, over $runs starts.
firsts=() rss=() dirty=() clean=()
for run in $(seq "$runs"); do
  start_host "$run"
  firsts+=("$first_frame_ms")
  sleep "$(awk -v s="$settle_seconds" -v us=$(($(wall_us) - host_started)) 'BEGIN { r = s - us / 1e6; print (r > 0) ? r : 0 }')"
  rss+=("$(rollup_kb "$host" Rss)") dirty+=("$(rollup_kb "$host" Private_Dirty)")
  clean+=("$(rollup_kb "$host" Private_Clean)")
  [ "$run" -eq "$runs" ] || stop_host
done
first_median=$(printf '%s\n' "${firsts[@]}" | median)
rss_median=$(printf '%s\n' "${rss[@]}" | median)
dirty_median=$(printf '%s\n' "${dirty[@]}" | median)
clean_median=$(printf '%s\n' "${clean[@]}" | median)
[ "${KELPO_BENCH_MAPPINGS:-0}" != 1 ] || { echo "memory by mapping, last start:"; mappings "$host"; }

# 2. Idle (the last start's host): once the sheen of the first appearance
# is over, nothing moves.
window=$(xdotool search --onlyvisible --pid "$host" | head -1)
cpu_before=$(cpu_us "$host") switches_before=$(switches "$host")
sleep "$idle_seconds"
idle_cpu=$(ms $(($(cpu_us "$host") - cpu_before))) idle_switches=$(switches_since "$host" "$switches_before")

# 3. One sheen sweep, replayed by the pointer entering the gold badge (the
# first row's badge, from the laid-out tree, in points).
read -r badge_x badge_y < <("$widget" tree "${entry[@]}" --family medium |
  awk '/overlay \(/ { gsub(/[(),]/, ""); print int(($2 + $4 / 2) * 2), int(($3 + $6 / 2) * 2); exit }')
eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print "wx=" $NF } /Absolute upper-left Y/ { print "wy=" $NF }')"
frames_before=$(frames) cpu_before=$(cpu_us "$host")
xdotool mousemove $((wx + badge_x)) $((wy + badge_y))
sleep 1.5
sweep_cpu=$(ms $(($(cpu_us "$host") - cpu_before)))
sweep_mean=$(awk -v skip="$frames_before" '/frame .* ms at/ && ++n > skip { total += $(NF - 3); count++ }
  END { if (count) printf "%.2f", total / count; else print "-" }' "$log")
sweep_count=$(($(frames) - frames_before))
xdotool mousemove 0 0
sleep 1

# 4. A large snapshot read and dropped again: the memory should come back.
before_large_kb=$(rollup_kb "$host" Rss)
python3 - "$work/sample.json" "$work/large.json" <<'PY'
import json, sys, uuid
record = json.load(open(sys.argv[1]))
item = record["toSort"][0]
record["toSort"] = [dict(item, id=str(uuid.uuid4()).upper(), title=f"{item['title']} ({n})")
                    for n in range(40000)]
record["toSortCount"] = len(record["toSort"])
json.dump(record, open(sys.argv[2], "w"), ensure_ascii=False)
PY
large_mb=$(mb $(($(stat -c %s "$work/large.json") / 1024)))
frames_before=$(frames)
cp "$work/large.json" "$XDG_DATA_HOME/group.app.kelpo/widget.json.new"
mv "$XDG_DATA_HOME/group.app.kelpo/widget.json.new" "$XDG_DATA_HOME/group.app.kelpo/widget.json"
await_frames $((frames_before + 1)) 10
sleep 2
after_large_kb=$(rollup_kb "$host" Rss)
peak_kb=$(memory_kb "$host" VmHWM)

# 5. The reference: conky drawing a clock into its own window every second.
cat >"$work/conky.conf" <<'CONF'
conky.config = { out_to_x = true, own_window = true, own_window_type = 'desktop',
                 update_interval = 1, double_buffer = true, background = false }
conky.text = [[${time %H:%M:%S}]]
CONF
conky -c "$work/conky.conf" >"$work/conky.log" 2>&1 &
conky=$!
pids+=($conky)
sleep 2
cpu_before=$(cpu_us "$conky") switches_before=$(switches "$conky")
sleep "$idle_seconds"
conky_cpu=$(ms $(($(cpu_us "$conky") - cpu_before))) conky_switches=$(switches_since "$conky" "$switches_before")
conky_rss=$(rollup_kb "$conky" Rss) conky_dirty=$(rollup_kb "$conky" Private_Dirty)

cat <<REPORT
desktop host, one medium instance at 2x under Xvfb, accessibility bridge on ($widget)
  medians of $runs starts (each: ${firsts[*]} ms)
  command to first frame        $first_median ms   (goal: <= 150 ms on a quiet machine)
  resident, ${settle_seconds} s after start    $(mb "$rss_median") MB   (goal: <= 30 MB)
  private dirty                 $(mb "$dirty_median") MB   (goal: <= 8 MB; each: $(for kb in "${dirty[@]}"; do mb "$kb"; echo -n " "; done)MB)
  private clean                 $(mb "$clean_median") MB
  ${idle_seconds} s idle: context switches  $idle_switches   (goal: 0)
  ${idle_seconds} s idle: CPU time          $idle_cpu ms
  one sheen sweep: CPU time     $sweep_cpu ms
  one sheen sweep: frames       $sweep_count frames, mean $sweep_mean ms   (goal: <= 2 ms a frame)
  resident before / after a $large_mb MB snapshot   $(mb "$before_large_kb") MB / $(mb "$after_large_kb") MB   (goal: within 2 MB)
  peak resident                 $(mb "$peak_kb") MB
conky, 1 s update, same display
  ${idle_seconds} s idle: context switches  $conky_switches
  ${idle_seconds} s idle: CPU time          $conky_cpu ms
  resident / private dirty      $(mb "$conky_rss") MB / $(mb "$conky_dirty") MB
REPORT
