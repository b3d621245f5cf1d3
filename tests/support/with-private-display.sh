#!/usr/bin/env bash
# Runs a command on an X display of its own. The clipboard, keyboard focus and
# pointer belong to a display, so window tests that run side by side would
# otherwise take them from each other.
#
# The display number is drawn at random from a wide range rather than taking
# the lowest free one: a server that is ending removes its socket file after
# it gave up the number, so a new server on that same number could lose its
# socket a moment after starting. Programs that reach the display only through
# that file (WebKit's sandboxed web processes) then cannot open it.
set -u
fd_file="$(mktemp)"
trap 'rm -f "$fd_file"; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null; wait 2>/dev/null' EXIT
display=""
for _ in $(seq 1 20); do
  number="$(shuf -i 1000-59000 -n 1)"
  Xvfb ":$number" -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
  xvfb_pid=$!
  # The server writes its number once it is ready; it ends at once when the number is taken.
  for _ in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  display="$(head -n1 "$fd_file")"
  [ -n "$display" ] && break
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
done
if [ -z "$display" ]; then
  echo "with-private-display: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$display"
unset WAYLAND_DISPLAY
"$@"
