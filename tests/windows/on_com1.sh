#!/usr/bin/env bash
# Runs a command while ktv-sim, started with the given options, is on Wine's COM1.
# on_com1.sh KTV_SIM [OPTION]... -- COMMAND [ARGUMENT]...
set -euo pipefail
. "$(dirname "$0")/com1_device.sh"
ktv_sim=$1
shift
options=()
while [[ $1 != -- ]]; do
    options+=("$1")
    shift
done
shift
trap 'stop_device; rm -f "$device_out"' EXIT
start_device "$ktv_sim" "${options[@]}"
"$@"
