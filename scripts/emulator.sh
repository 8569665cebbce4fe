# Sourced by the scripts that talk to the instrument emulator.
#   start_emulator PROGRAM OUTPUT_FILE [EMULATOR OPTIONS...]
# starts the emulator in the background, waits up to 5 s for its first line
# (the path of the pseudo-terminal it serves) and sets `sim` to its process
# and `port` to that path. Fails when no path came.
start_emulator() {
    local program=$1 out=$2
    shift 2
    "$program" "$@" >"$out" &
    sim=$!
    for _ in $(seq 50); do
        [ -s "$out" ] && break
        sleep 0.1
    done
    port=$(head -n 1 "$out")
    [ -n "$port" ]
}

#   stop_emulator
# ends the emulator started last, if it still runs, and forgets it.
stop_emulator() {
    if [ -n "${sim:-}" ]; then
        kill "$sim" 2>/dev/null || true
        wait "$sim" 2>/dev/null || true
    fi
    sim=
}
