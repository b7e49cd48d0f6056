#!/usr/bin/env bash
# Drives the spraying page from outside the program, as a screen reader does: through AT-SPI on
# the session's accessibility bus, against r7-fcsim in its own process. Not part of CTest (it
# needs an X server and the AT-SPI services); run it by hand after a build:
#
#   apt-get install xvfb xauth at-spi2-core python3-pyatspi dbus-x11
#   tests/e2e/atspi/run-spraying-page.sh [build-dir]
#
# It checks on the wire (the simulator's --log) what the page sent, and exits non-zero on a fault.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=${1:-$root/build}
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 & pids+=($!)
export DISPLAY=$display HOME=$work/home TMPDIR=$work QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mkdir -p "$HOME"
eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & pids+=($!)
sleep 1
"$build/sim/r7-fcsim" --log >"$work/sim.out" 2>"$work/sim.log" & pids+=($!)
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
"$build/bin/r7assistant" --port "$(head -1 "$work/sim.out")" >"$work/app.log" 2>&1 & pids+=($!)
/usr/bin/python3 "$(dirname "$0")/spraying_page.py" "$work/sim.log"
