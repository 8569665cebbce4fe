#!/usr/bin/env bash
# Takes the pictures of the user manuals (docs/help/images/*-en.png and
# *-ru.png) from the real program under a virtual X server:
#   ./scripts/screenshots.sh
# Builds what it needs, then for each language prepares a program folder of
# its own in a temporary place (stored verifications read from the
# instrument emulator, a meter database file, an empty home folder) and runs
# build/bin/vardosk-screenshots there, which opens every window the manuals
# show and saves it. Run it again whenever the windows change, and look at
# the pictures before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup-deps.sh
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build --parallel "$(nproc)" \
    --target vardosk vardosk-cli vardosk-instrument-sim vardosk-screenshots
bin=$root/build/bin
out=$root/docs/help/images
mkdir -p "$out"

work=$(mktemp -d)
source scripts/emulator.sh
sim=
stop() {
    stop_emulator
    rm -rf "$work"
}
trap stop EXIT

# Settings, the password and the protocol texts live in the home folder: a
# fresh one for each language, so that nothing of the user's own set-up, nor
# of the other language's run, shows.
use_home() {
    export HOME=$work/home-$1 XDG_CONFIG_HOME=$work/home-$1/.config XDG_DATA_HOME=$work/home-$1/.local/share
    mkdir -p "$HOME"
}
use_home tools
export XDG_RUNTIME_DIR=$work/run LC_ALL=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# The emulator serves a generated archive of 30 verifications (six meters)
# and its default meter database on a pseudo-terminal.
if ! start_emulator "$bin/vardosk-instrument-sim" "$work/sim.out" --records 30; then
    echo "the instrument emulator did not start" >&2
    exit 1
fi
"$bin/vardosk-cli" meterdb read --port "$port" --out "$work/meters.bdc" >/dev/null

# Folder names of each language; the first holds most of the archive, the
# second one meter, and the last meter stays in the instrument only, so that
# the archive list shows both stored and new verifications (the tool then
# reads the new ones into the first folder).
declare -A first=([en]="Workshop" [ru]="Мастерская")
declare -A second=([en]="Customers" [ru]="Заказчики")
declare -A title=([en]="Verification protocol No. 17" [ru]="Протокол поверки № 17")
for lang in en ru; do
    use_home "$lang"
    program=$work/program-$lang
    mkdir -p "$program/Data/${first[$lang]}/2024" "$program/Data/${second[$lang]}"
    "$bin/vardosk-cli" read-archive --port "$port" --into "$program/Data/${first[$lang]}" \
        --records 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20 >/dev/null
    "$bin/vardosk-cli" read-archive --port "$port" --into "$program/Data/${second[$lang]}" \
        --records 21,22,23,24,25 >/dev/null
    xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$bin/vardosk-screenshots" --program-folder "$program" --strings "$bin/DataStrings.xml" \
        --port "$port" --language "$lang" --out "$out" --folder "${first[$lang]}" \
        --meter-database "$work/meters.bdc" --find-serial 100 --protocol-title "${title[$lang]}"
done
du -ch "$out"/*.png | tail -n 1
