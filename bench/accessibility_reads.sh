#!/usr/bin/env bash
# Times a screen reader's reads of the loading dialog while quarvel loads the demo program into a
# ktv-sim that answers every frame after 400 ms, and once the load has ended; bench/README.md
# says more. Runs on its own X server (Xvfb, with openbox) and accessibility bus.
# Usage: bench/accessibility_reads.sh [QUARVEL [KTV_SIM]] (default: the build/default programs).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
quarvel=${1:-$root/build/default/src/app/quarvel}
sim=${2:-$root/build/default/sim/ktv-sim}
"$root/scripts/install-deps.sh" accessibility

if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ -z "${QUARVEL_BENCH_DISPLAY:-}" ]; then
    display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
    xvfb_pid=$!
    trap 'kill $xvfb_pid' EXIT
    sleep 1
    DISPLAY=$display QUARVEL_BENCH_DISPLAY=$display dbus-run-session -- "$0" "$quarvel" "$sim"
    exit
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

/usr/libexec/at-spi-bus-launcher --launch-immediately &
pids+=($!)
openbox &
pids+=($!)

"$sim" --delay-ms 400 >"$work/sim.out" &
pids+=($!)
until [ -s "$work/sim.out" ]; do sleep 0.1; done
terminal=$(head -n 1 "$work/sim.out")

mkdir -p "$work/config"
printf '[Ports]\nCOM2=%s\n[Last Values]\nComm Port=1\nMidi Channel=0\nTransfer File=%s\n' \
    "$terminal" "$root/examples/demo.a21" >"$work/config/quarvel.INI"
XDG_CONFIG_HOME=$work/config QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$quarvel" &
pids+=($!)

/usr/bin/python3 "$root/bench/accessibility_reads.py"
