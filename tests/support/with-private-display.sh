#!/usr/bin/env bash
# Runs a command on an X display of its own. The clipboard, keyboard focus and
# pointer belong to a display, so window tests that run side by side would
# otherwise take them from each other.
set -u
fd_file="$(mktemp)"
trap 'rm -f "$fd_file"; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null; wait 2>/dev/null' EXIT
# -displayfd picks a free display number atomically and writes it once ready.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$fd_file" ] && break
  sleep 0.05
done
display="$(head -n1 "$fd_file")"
if [ -z "$display" ]; then
  echo "with-private-display: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$display"
unset WAYLAND_DISPLAY
"$@"
