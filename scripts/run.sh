#!/usr/bin/env bash
# Builds the program and starts it.
#   ./scripts/run.sh [PROGRAM OPTIONS]   the program as installed on this machine
#   ./scripts/run.sh --demo              the program talking to the instrument
#                                        emulator and its generated archive, on a
#                                        pseudo-terminal, for this run only
set -euo pipefail
cd "$(dirname "$0")/.."
demo=0
if [ "${1:-}" = "--demo" ]; then
    demo=1
    shift
fi
bash scripts/build.sh
if [ "$demo" = 0 ]; then
    exec build/bin/vardosk "$@"
fi

# The emulator prints the path of its terminal as its first line and serves
# requests until it is terminated.
source scripts/emulator.sh
out=$(mktemp)
sim=
stop_sim() {
    stop_emulator
    rm -f "$out"
}
trap stop_sim EXIT
if ! start_emulator build/bin/vardosk-instrument-sim "$out" --records 12; then
    echo "the instrument emulator did not start" >&2
    exit 1
fi
echo "Instrument emulator on $port; choose File, \"Read from device\" in the program."
build/bin/vardosk --port "$port" "$@"
