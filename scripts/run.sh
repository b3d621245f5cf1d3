#!/usr/bin/env bash
# Installs what is missing, builds MERIDAVOLT and starts it on the desktop.
#
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) it runs the
# application on a virtual display instead, waits for its window, saves a
# screenshot, prints where, and stops the application again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Only the program: running it needs none of the tests or benchmarks.
if [ ! -f build/CMakeCache.txt ]; then
  generator=()
  if command -v ninja >/dev/null; then generator=(-G Ninja); fi
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build --target meridavolt
program=./build/meridavolt

# WebKit's sandbox needs user namespaces; a container without them kills the
# web views, so only there run them unsandboxed.
if ! bwrap --ro-bind / / --unshare-all --die-with-parent true 2>/dev/null; then
  echo "MERIDAVOLT: no namespaces for the web view sandbox here; running web views without it." >&2
  export WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program" "$@"
fi

# --- Headless: a virtual display and a private session bus, both ours.
display_number=99
while [ -e "/tmp/.X${display_number}-lock" ] || [ -e "/tmp/.X11-unix/X${display_number}" ]; do
  display_number=$((display_number + 1))
done
export DISPLAY=":${display_number}"
unset WAYLAND_DISPLAY

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "MERIDAVOLT: the virtual display did not start." >&2; exit 1; }

bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
pids+=("$(echo "$bus" | sed -n 2p)")

"$program" "$@" &
app=$!
pids=("$app" "${pids[@]}")

window=""
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^MERIDAVOLT$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$app" 2>/dev/null || { echo "MERIDAVOLT: the application ended before showing its window." >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "MERIDAVOLT: no window appeared." >&2; exit 1; }
sleep 2  # let the first frames settle

screenshot="$(mktemp --tmpdir meridavolt-screenshot-XXXXXX.png)"
import -window "$window" "$screenshot"
echo "MERIDAVOLT ran on the virtual display $DISPLAY (no display was set)."
echo "Screenshot of its window: $screenshot"
