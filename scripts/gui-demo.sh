#!/usr/bin/env bash
# Starts ktv-sim on a pseudo-terminal and the desktop program with COM1 pointed at it, with
# settings of their own so that the operator's settings file is left alone:
# scripts/gui-demo.sh [build folder, default build/default] [quarvel arguments, e.g. +boot].
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/default}" && pwd)
shift || true
source "$root/scripts/demo_program.sh"

work=$(mktemp -d)
sim_pid=
cleanup() {
    if [[ -n $sim_pid ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Paced like a real 19200 baud line, so the loading dialog can be watched.
"$build/sim/ktv-sim" --link "$work/ktv-271" --pace &
sim_pid=$!
for _ in $(seq 50); do
    [[ -e $work/ktv-271 ]] && break
    sleep 0.1
done
if [[ ! -e $work/ktv-271 ]]; then
    echo "gui-demo: ktv-sim did not come up" >&2
    exit 1
fi

mkdir -p "$work/config"
cat > "$work/config/quarvel.INI" <<INI
[Ports]
COM1=$work/ktv-271
[Last Values]
Comm Port=0
Midi Channel=0
Transfer File=$(demo_program "$work")
INI
echo "gui-demo: COM1 is $work/ktv-271; press Go to load the demo program."
XDG_CONFIG_HOME="$work/config" "$build/src/app/quarvel" "$@"
