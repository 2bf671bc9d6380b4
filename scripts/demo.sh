#!/usr/bin/env bash
# The demo load: starts ktv-sim on a pseudo-terminal, paced like a real 19200 baud line, loads
# examples/demo.a21 into it with quarvel-cli, and checks that the device's flash now holds
# exactly what srec_cat reads from the file (FF wherever the file writes nothing).
# scripts/demo.sh [build folder, default build/default]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
program=$root/examples/demo.a21

work=$(mktemp -d)
sim_pid=
stop_device() {
    if [[ -n $sim_pid ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=
    fi
}
trap 'stop_device; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

"$build/sim/ktv-sim" --pace --flash-out "$work/flash.bin" > "$work/sim.out" &
sim_pid=$!
# ktv-sim names its terminal on its first line once it is ready.
port=
for _ in $(seq 100); do
    port=$(head -n 1 "$work/sim.out" 2>/dev/null || true)
    [[ -n $port ]] && break
    sleep 0.05
done
if [[ -z $port ]]; then
    echo "demo: ktv-sim did not come up" >&2
    exit 1
fi

echo "demo: ktv-sim, a stand-in KTV-271, listens on $port"
echo "demo: loading $(basename "$program") with quarvel-cli"
echo
progress=lines
[[ -t 2 ]] && progress=bar
status=0
"$build/src/cli/quarvel-cli" load "$program" --port "$port" --channel all --retry never \
    --progress "$progress" || status=$?
echo

# ktv-sim writes its flash image as it ends.
stop_device
srec_cat "$program" -fill 0xFF 0 0x80000 -o "$work/expected.bin" -binary
if [[ $status -eq 0 ]] && cmp -s "$work/flash.bin" "$work/expected.bin"; then
    echo "demo: verified: the device's 512 KiB flash equals the contents of $(basename "$program")"
else
    echo "demo: FAILED: quarvel-cli exited with $status; flash and file differ or were not compared" >&2
    exit 1
fi
