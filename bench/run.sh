#!/usr/bin/env bash
# Runs every benchmark against a release build and prints one table; bench/README.md says how
# each figure is made. Usage: bench/run.sh [BUILD_DIR] (default build/release).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
cli=$build/src/cli/quarvel-cli
sim=$build/sim/ktv-sim
benches=$build/bench
usage=$benches/bench_child_usage
convert=/usr/bin/convert # ImageMagick itself; /usr/local/bin/convert may be a stand-in
font=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
wire_bytes_per_second=1920 # 19200 baud, 8N1: ten bit times a byte

for tool in "$cli" "$sim" "$benches/bench_logo_speed" "$benches/bench_scan_speed" \
    "$benches/bench_wire_bytes" "$benches/bench_ideal_line" "$benches/bench_dialog_load" \
    "$usage" "$convert"; do
    if [ ! -x "$tool" ]; then
        echo "bench: $tool is missing; run 'make bench'" >&2
        exit 1
    fi
done

work=$(mktemp -d)
sim_pid=""
gang_pids=()
# ktv-sim --once ends by itself after a load, so it may be gone by the time it is stopped.
stop_sim() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=""
    fi
}
stop_gang() {
    local pid
    for pid in "${gang_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    gang_pids=()
}
cleanup() {
    stop_sim
    stop_gang
    rm -rf "$work"
}
trap cleanup EXIT

# Seconds between two $EPOCHREALTIME readings.
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.6f", b - a }'; }
# The smaller of two numbers.
least() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b ? a : b) }'; }

# Starts ktv-sim with the given options and sets sim_pid and sim_line (its terminal).
start_sim() {
    # A fresh file, so that the path read is this simulator's and not the one before it.
    rm -f "$work/sim.out"
    "$sim" --once "$@" >"$work/sim.out" 2>"$work/sim.err" &
    sim_pid=$!
    for _ in $(seq 100); do
        if [ -f "$work/sim.out" ] && [ "$(wc -l <"$work/sim.out")" -ge 1 ]; then
            sim_line=$(head -n 1 "$work/sim.out")
            return
        fi
        sleep 0.05
    done
    echo "bench: ktv-sim did not start: $(cat "$work/sim.err")" >&2
    exit 1
}

# Starts N paced ktv-sim devices and sets gang_ports to "--port TERMINAL" for each.
start_gang() {
    local i line
    gang_ports=()
    for i in $(seq "$1"); do
        rm -f "$work/gang$i.out"
        "$sim" --once --pace >"$work/gang$i.out" 2>"$work/gang$i.err" &
        gang_pids+=($!)
    done
    for i in $(seq "$1"); do
        line=""
        for _ in $(seq 100); do
            line=$(head -n 1 "$work/gang$i.out" 2>/dev/null || true)
            [ -n "$line" ] && break
            sleep 0.05
        done
        if [ -z "$line" ]; then
            echo "bench: ktv-sim did not start: $(cat "$work/gang$i.err")" >&2
            exit 1
        fi
        gang_ports+=(--port "$line")
    done
}

load_average=$(cut -d ' ' -f 1-3 /proc/loadavg)

# --- fixtures, written by srec_cat and ImageMagick -----------------------------------------------
program=$work/program.a21 # 8 KiB in 32-byte S1 records at 8000h, sector 3
srec_cat -generate 0x8000 0xA000 -random -execution-start-address 0x8000 \
    -o "$program" -Motorola -address-length=2 -obs=32 -line-termination=crlf -disable=data-count
large=$work/large.a21 # 16 MiB in 32-byte S2 records
srec_cat -generate 0 0x690680 -random -execution-start-address 0 \
    -o "$large" -Motorola -address-length=3 -obs=32 -line-termination=crlf -disable=data-count
logo=$work/128x56.gif
"$convert" -size 128x56 -background white -fill black -font "$font" -gravity center \
    label:QUARVEL -colors 2 "$logo"
photo=$work/800x600.gif
"$convert" -size 800x600 -seed 7 plasma:fractal -blur 0x1 "$photo"

# --- 1. wire efficiency and the loader's own time per record -------------------------------------
read -r sent received records < <("$benches/bench_wire_bytes" "$program")
wire_bytes=$((sent + received))
# A record exchange is its frame (7 + record length) and an 8-byte acknowledgement.
transfer_bytes=$(awk '{ sub(/\r$/, ""); total += 7 + length($0) + 8 } END { print total }' \
    "$program")

# Runs quarvel-cli load on the simulator's line, stamping each message line as it arrives.
# Sets load_seconds (the whole run) and transfer_seconds (first to last record).
timed_cli_load() {
    local start end
    start=$EPOCHREALTIME
    "$usage" "$work/cli_load.usage" \
        "$cli" load "$program" --port "$sim_line" --retry never --progress none |
        while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done \
            >"$work/cli.log"
    end=$EPOCHREALTIME
    load_seconds=$(elapsed "$start" "$end")
    if ! grep -q ' Loading complete. No errors$' "$work/cli.log"; then
        echo "bench: quarvel-cli load failed:" >&2
        cat "$work/cli.log" >&2
        exit 1
    fi
    transfer_seconds=$(awk '/ Flash Erased, sending new program$/ { s = $1 }
        / Loading complete. No errors$/ { e = $1 } END { printf "%.6f", e - s }' "$work/cli.log")
}

# The best of three loads at line speed, each after a replay of the same bytes by a client that
# does nothing else, so that both meet the machine in the same state.
paced_seconds=1e9
ideal_seconds=1e9
for _ in 1 2 3; do
    start_sim --pace
    ideal_seconds=$(least "$ideal_seconds" "$("$benches/bench_ideal_line" "$program" "$sim_line")")
    stop_sim
    start_sim --pace
    timed_cli_load
    stop_sim
    paced_seconds=$(least "$paced_seconds" "$load_seconds")
done
read -r _ cli_load_kib <"$work/cli_load.usage"

# --- 1b. gang: the same load into eight paced devices at once -----------------------------------
gang_size=8
gang_seconds=1e9
for _ in 1 2 3; do
    start_gang "$gang_size"
    start=$EPOCHREALTIME
    if ! "$usage" "$work/gang.usage" "$cli" load "$program" "${gang_ports[@]}" --progress none \
        >"$work/gang.log" 2>&1; then
        echo "bench: the gang load failed:" >&2
        cat "$work/gang.log" >&2
        exit 1
    fi
    end=$EPOCHREALTIME
    stop_gang
    if [ "$(grep -c ': completed$' "$work/gang.log")" -ne "$gang_size" ]; then
        echo "bench: the gang load did not complete on every port:" >&2
        cat "$work/gang.log" >&2
        exit 1
    fi
    gang_seconds=$(least "$gang_seconds" "$(elapsed "$start" "$end")")
done
read -r _ gang_kib <"$work/gang.usage"

# --- 1c. station: unit after unit at eight paced devices ---------------------------------------
# Each ktv-sim starts with no unit on its line; all eight get one at once, the station loads them,
# and once every port has said so they are taken off and, once every port has seen them go, the
# next ones put on: the station's waits for presence and absence are in the time.
station_units=3
station_devices=()
station_ports=()
for i in $(seq "$gang_size"); do
    "$sim" --pace --absent >"$work/station$i.out" 2>"$work/station$i.err" &
    station_devices+=($!)
    gang_pids+=($!)
    for _ in $(seq 100); do
        [ -s "$work/station$i.out" ] && break
        sleep 0.05
    done
    station_ports+=(--port "$(head -n 1 "$work/station$i.out")")
done
# Waits until every port has said "unit N WHAT"; the station may not end first.
await_station() {
    while [ "$(grep -c ": unit $1 $2" "$work/station.log" || true)" -lt "$gang_size" ]; do
        if ! kill -0 "$station_pid" 2>/dev/null; then
            echo "bench: the station ended early:" >&2
            cat "$work/station.log" >&2
            exit 1
        fi
        sleep 0.02
    done
}
"$cli" station "$program" "${station_ports[@]}" --units "$station_units" >"$work/station.log" 2>&1 &
station_pid=$!
gang_pids+=($station_pid)
start=$EPOCHREALTIME
for unit in $(seq "$station_units"); do
    kill -USR2 "${station_devices[@]}"
    await_station "$unit" "completed"
    [ "$unit" -eq "$station_units" ] && break
    kill -USR1 "${station_devices[@]}"
    await_station "$unit" "removed"
done
if ! wait "$station_pid"; then
    echo "bench: a unit of the station failed:" >&2
    cat "$work/station.log" >&2
    exit 1
fi
end=$EPOCHREALTIME
station_seconds=$(elapsed "$start" "$end")
stop_gang

# Against an unpaced line, the best of three transfers each.
cli_transfer_seconds=1e9
dialog_transfer_seconds=1e9
for _ in 1 2 3; do
    start_sim
    timed_cli_load
    stop_sim
    cli_transfer_seconds=$(least "$cli_transfer_seconds" "$transfer_seconds")

    start_sim
    if ! read -r dialog_records seconds < <(QT_QPA_PLATFORM=offscreen \
        "$benches/bench_dialog_load" "$program" "$sim_line" 2>"$work/dialog.err"); then
        cat "$work/dialog.err" >&2
        exit 1
    fi
    stop_sim
    dialog_transfer_seconds=$(least "$dialog_transfer_seconds" "$seconds")
done

# --- 2. logo conversion against giflib ----------------------------------------------------------
logo_times=$("$benches/bench_logo_speed" "$work" "$logo" "$photo")
if ! "$usage" "$work/convert.usage" "$cli" convert-logo "$photo" "$work/Temp.s21" \
    >/dev/null 2>"$work/convert.err"; then
    cat "$work/convert.err" >&2
    exit 1
fi
read -r _ convert_kib <"$work/convert.usage"

# --- 3. scan speed against wc -l ----------------------------------------------------------------
read -r large_bytes scan_seconds < <("$benches/bench_scan_speed" "$large")
# wc's own reading time: its least CPU time in ten runs on the file, less that on an empty file
# (starting a process).
: >"$work/empty"
best_wc() {
    local best=1e9 seconds
    for _ in $(seq 10); do
        "$usage" "$work/wc.usage" wc -l "$1" >/dev/null
        read -r seconds _ <"$work/wc.usage"
        best=$(least "$best" "$seconds")
    done
    echo "$best"
}
wc_seconds=$(awk -v f="$(best_wc "$large")" -v e="$(best_wc "$work/empty")" \
    'BEGIN { printf "%.6f", f - e }')

# --- the table ----------------------------------------------------------------------------------
awk -v sent="$sent" -v received="$received" -v records="$records" -v wire="$wire_bytes" \
    -v transfer_bytes="$transfer_bytes" -v rate="$wire_bytes_per_second" \
    -v paced="$paced_seconds" -v ideal="$ideal_seconds" -v cli_transfer="$cli_transfer_seconds" \
    -v dialog_records="$dialog_records" -v dialog_transfer="$dialog_transfer_seconds" \
    -v logo_times="$logo_times" -v cli_kib="$cli_load_kib" -v convert_kib="$convert_kib" \
    -v large_bytes="$large_bytes" -v scan="$scan_seconds" -v wc="$wc_seconds" \
    -v load_average="$load_average" -v cores="$(nproc)" -v gang="$gang_seconds" \
    -v gang_size="$gang_size" -v gang_kib="$gang_kib" -v station="$station_seconds" \
    -v station_units="$station_units" '
function row(what, measured, reference, ratio, goal, met) {
    printf "%-44s %-20s %-22s %-8s %-8s %s\n", what, measured, reference, ratio, goal, met
}
function verdict(ok) { return ok ? "met" : "MISSED" }
BEGIN {
    # The transfer of each record costs its exchange on the wire; the rest is the loader.
    exchange = transfer_bytes / records / rate
    limit = wire / rate
    efficiency = limit / paced
    printf "Quarvel benchmarks: release build, %d cores, load average %s at the start\n\n",
        cores, load_average
    row("figure", "measured", "limit / reference", "ratio", "goal", "")
    row("wire: quarvel-cli load 8 KiB, ktv-sim --pace", sprintf("%.3f s", paced),
        sprintf("%.3f s (%d B)", limit, wire), sprintf("%.4f", efficiency), ">= 0.99",
        verdict(efficiency >= 0.99))
    row("  bytes sent / received, records", sprintf("%d / %d", sent, received),
        sprintf("%d records", records), "", "", "")
    row("  the same bytes replayed with no loader", sprintf("%.3f s", ideal),
        sprintf("%.3f s", limit), sprintf("%.4f", limit / ideal), "", "")
    row("  quarvel-cli against that replay", sprintf("%+.3f s", paced - ideal),
        sprintf("%.3f s", ideal), sprintf("%.4f", ideal / paced), "", "")
    row(sprintf("gang: the same load into %d at once", gang_size), sprintf("%.3f s", gang),
        sprintf("one %.3f s", paced), sprintf("%.4f", gang / paced), "<= 1.05",
        verdict(gang <= 1.05 * paced))
    units_per_hour = gang_size * station_units * 3600 / station
    lines_allow = gang_size * 3600 / limit
    row(sprintf("station: %d units at each of %d", station_units, gang_size),
        sprintf("%.0f units/h", units_per_hour), sprintf("lines %.0f units/h", lines_allow),
        sprintf("%.4f", units_per_hour / lines_allow), ">= 0.95",
        verdict(units_per_hour >= 0.95 * lines_allow))
    row("loader per record: quarvel-cli, unpaced",
        sprintf("%.3f ms", cli_transfer / records * 1000),
        sprintf("wire %.2f ms", exchange * 1000), "", "", "")
    row("loader per record: loading dialog, unpaced",
        sprintf("%.3f ms", dialog_transfer / dialog_records * 1000),
        sprintf("wire %.2f ms", exchange * 1000), "", "", "")
    n = split(logo_times, t, /[ \n]/)
    for (i = 1; i + 2 <= n; i += 3) {
        name = t[i]; sub(/.*\//, "", name); sub(/\.gif$/, "", name)
        row("logo " name ": convertGifToLogo / giflib", sprintf("%.1f us", t[i + 1] * 1e6),
            sprintf("giflib %.1f us", t[i + 2] * 1e6), sprintf("%.2f", t[i + 1] / t[i + 2]),
            "<= 1", verdict(t[i + 1] <= t[i + 2]))
    }
    row(sprintf("scan %.1f MiB: scanProgramFile / wc -l", large_bytes / 1048576),
        sprintf("%.1f ms, %.0f MB/s", scan * 1000, large_bytes / scan / 1e6),
        sprintf("wc -l %.1f ms", wc * 1000), sprintf("%.2f", scan / wc), "<= 4",
        verdict(scan <= 4 * wc))
    row("peak memory: quarvel-cli load", sprintf("%.1f MiB", cli_kib / 1024), "", "", "< 32 MiB",
        verdict(cli_kib < 32 * 1024))
    row(sprintf("peak memory: quarvel-cli load into %d", gang_size),
        sprintf("%.1f MiB", gang_kib / 1024), "", "", "", "")
    row("peak memory: quarvel-cli convert-logo", sprintf("%.1f MiB", convert_kib / 1024), "", "",
        "< 32 MiB", verdict(convert_kib < 32 * 1024))
}'
