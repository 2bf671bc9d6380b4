#!/usr/bin/env bash
# The production bench: two stand-in devices, paced like real 19200 baud lines, each with three
# units put on and taken off in turn; the second port's second unit cannot be programmed. A
# quarvel-cli station loads examples/demo.a21 into each unit and keeps a log, printed at the end.
# scripts/demo-station.sh [build folder, default build/default]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
program=$root/examples/demo.a21
units=3

work=$(mktemp -d)
pids=()
stop_all() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    pids=()
}
trap 'stop_all; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

"$build/sim/ktv-sim" --pace --absent --link "$work/bench-left" > "$work/left.out" &
left=$!
"$build/sim/ktv-sim" --pace --absent --fail-unit 2 --link "$work/bench-right" > "$work/right.out" &
right=$!
pids+=("$left" "$right")
# Each ktv-sim names its terminal on its first line once the terminal and its link are ready.
for out in left right; do
    for _ in $(seq 100); do
        [[ -s $work/$out.out ]] && break
        sleep 0.05
    done
done

# Waits until the station's output holds every line given, for at most a minute.
await_lines() {
    for _ in $(seq 600); do
        local all=1
        for line in "$@"; do
            grep -q -- "$line" "$work/station.out" || all=0
        done
        [[ $all -eq 1 ]] && return 0
        kill -0 "$station" 2>/dev/null || return 1
        sleep 0.1
    done
    echo "demo-station: the station did not go on" >&2
    return 1
}

# The benches' own names for their ports, from section [Ports] of the settings file.
printf '[Ports]\nbench-left=%s\nbench-right=%s\n' "$work/bench-left" "$work/bench-right" \
    > "$work/quarvel.INI"
export XDG_CONFIG_HOME=$work

echo "demo-station: two stand-in KTV-271 benches, $units units each; the right one's unit 2 is bad"
echo
"$build/src/cli/quarvel-cli" station "$program" --port bench-left --port bench-right --units "$units" --log "$work/units.log" > "$work/station.out" &
station=$!
pids+=("$station")
tail -f --pid="$station" "$work/station.out" &
pids+=("$!")

for unit in $(seq "$units"); do
    kill -USR2 "$left" "$right"
    await_lines "^bench-left: unit $unit \(completed\|failed\)" \
        "^bench-right: unit $unit \(completed\|failed\)"
    [[ $unit -eq $units ]] && break
    kill -USR1 "$left" "$right"
    await_lines "^bench-left: unit $unit removed" "^bench-right: unit $unit removed"
done
status=0
wait "$station" || status=$?
sleep 0.2
echo
echo "demo-station: the station ended with exit status $status (1: a unit failed); its log:"
cat "$work/units.log"
