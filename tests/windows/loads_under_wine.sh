#!/usr/bin/env bash
# quarvel-cli.exe under Wine loading ktv-sim (of the Linux build) through Wine's COM1.
# loads_under_wine.sh QUARVEL_CLI_EXE KTV_SIM PROGRAM
set -euo pipefail
cli=$1
ktv_sim=$2
program=$3
# Wine hands the programs their command line in the terminal's character set.
export LC_ALL=C.UTF-8

. "$(dirname "$0")/com1_device.sh"
work=$(mktemp -d)
trap 'stop_device; rm -rf "$work" "$device_out"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Starts one load in the background.
start_load() {
    wine "$cli" load "$@" --retry never --progress none < /dev/null > "$work/raw" 2> "$work/err" &
    loading=$!
}

# Waits for the load to end; its standard output (CR LF from a Windows program) goes to $work/out.
end_load() {
    status=0
    wait "$loading" || status=$?
    tr -d '\r' < "$work/raw" > "$work/out"
}

load() {
    start_load "$@"
    end_load
}

# expect_load NAME STATUS LINES [LINES...]: the load printed one of the LINES, exactly.
expect_load() {
    local name=$1 expected_status=$2
    shift 2
    local printed expected
    printed=$(cat "$work/out")
    if [[ $status -eq $expected_status ]]; then
        for expected in "$@"; do
            [[ $printed == "$expected" ]] && return 0
        done
    fi
    fail "$name: exit $status (wanted $expected_status); printed:"
    cat "$work/out" "$work/err" >&2
}

erasing="Initialising
PC RS232 opened
Searching for device
Found Device 271, expecting 271
Received Acknowledgement
Erasing flash"
started="$erasing
Flash Erased, sending new program"

# The demo program, under a name in three scripts, completes, and the device's flash then holds
# exactly the file.
cp "$program" "$work/Démo ü 中.a21"
start_device "$ktv_sim" --flash-out "$work/flash.bin"
load "$work/Démo ü 中.a21" --port 1
stop_device
expect_load "demo load" 0 "$started
Loading complete. No errors"
srec_cat "$program" -fill 0xFF 0 0x80000 -o "$work/expected.bin" -binary
cmp -s "$work/flash.bin" "$work/expected.bin" || fail "demo load: the flash differs from the file"

# A record refused three times, and no retry wanted.
bad="Device received record with bad checksum. Trying record again"
start_device "$ktv_sim" --fault status:2:03:3
load "$program" --port COM1
stop_device
expect_load "refused record" 1 "$started
$bad
$bad
$bad
Error!"

# A COM number that no device answers on: COM2 names a device that does not exist.
load "$program" --port 2
expect_load "no device" 1 "Initialising
Could not open PC RS232
Error!"

# The line drops mid-load. When the record's write finds the device already gone, the port
# fails at once. When the record went out just before the hang-up, Wine's read sees only
# silence, so the record goes unanswered once and the retry's write finds the device gone.
port_failed="RS232 device error, reset PC and run program again
Leave device to be programmed in current state
Error!"
start_device "$ktv_sim" --fault drop:3
load "$program" --port 1
stop_device
expect_load "line drops" 1 "$started
$port_failed" "$started
No response. Trying record again
$port_failed"

# Ctrl-C mid-load (Wine turns SIGINT into the console's Ctrl-C event) ends the load at once and
# releases the port, as the next load shows. The device stays silent about the erase, so the
# load is still waiting (for 20 s) when the interrupt comes.
start_device "$ktv_sim" --fault no-erase
start_load "$program" --port 1
until grep -q "Erasing flash" "$work/raw" || ! kill -0 "$loading" 2>/dev/null; do
    sleep 0.05
done
kill -INT "$loading" 2>/dev/null || true
end_load
stop_device
expect_load "Ctrl-C" 1 "$erasing
Error!"
grep -q "interrupted; the port and the file are released" "$work/err" ||
    fail "Ctrl-C: standard error does not say that the load was interrupted"

# The same COM1 then loads again.
start_device "$ktv_sim"
load "$program" --port 1
stop_device
expect_load "load after the drop and Ctrl-C" 0 "$started
Loading complete. No errors"

[[ $failures -eq 0 ]]
