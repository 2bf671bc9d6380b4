# Sourced: ktv-sim on a pseudo-terminal that Wine's COM1 reaches, through the link
# $WINE_COM1_LINK that scripts/wine-prefix.sh maps COM1 to.
#   start_device KTV_SIM [OPTION]...   stop_device

device_out=$(mktemp)
sim_pid=

start_device() {
    local ktv_sim=$1
    shift
    : > "$device_out"
    "$ktv_sim" "$@" > "$device_out" &
    sim_pid=$!
    # ktv-sim names its terminal on its first line once it is ready.
    local terminal=
    for _ in $(seq 200); do
        terminal=$(head -n 1 "$device_out")
        [[ -n $terminal ]] && break
        kill -0 "$sim_pid" 2>/dev/null || break
        sleep 0.05
    done
    if [[ -z $terminal ]]; then
        echo "ktv-sim did not come up" >&2
        exit 1
    fi
    # Replaced in one step: Wine never finds the link missing.
    ln -sfn "$terminal" "$WINE_COM1_LINK.new"
    mv -Tf "$WINE_COM1_LINK.new" "$WINE_COM1_LINK"
}

# Stops the device before its terminal goes: a stale reader would take the next test's bytes.
stop_device() {
    if [[ -n $sim_pid ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=
    fi
}
