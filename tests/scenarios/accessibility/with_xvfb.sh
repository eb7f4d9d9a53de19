#!/bin/sh
# Runs a command under a private Xvfb, which is stopped by its PID after.
set -eu
fifo_dir=$(mktemp -d)
trap 'rm -rf "$fifo_dir"' EXIT
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -auth /dev/null 3>"$fifo_dir/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$fifo_dir/display" ] && break
  sleep 0.05
done
if [ ! -s "$fifo_dir/display" ]; then
  kill "$xvfb" 2>/dev/null || true
  echo "with_xvfb.sh: Xvfb did not start (package xvfb)" >&2
  exit 1
fi
status=0
DISPLAY=":$(cat "$fifo_dir/display")" GDK_BACKEND=x11 "$@" || status=$?
kill "$xvfb"
wait "$xvfb" 2>/dev/null || true
exit "$status"
