#!/usr/bin/env bash
# Builds the Debian package from the existing build tree, installs it on this
# machine, checks the installed program and tools, and removes the package
# again. Needs root (apt-get install / remove). Refuses to run when a vardosk
# package is installed already, so that it never removes a real installation.
#   scripts/test-package.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
start=$(date +%s)

fail() {
    echo "test-package: FAILED: $*" >&2
    exit 1
}
step() {
    echo "test-package: $*"
}

[ "$(id -u)" -eq 0 ] || fail "must run as root"
[ -f "$build/build.ninja" ] || fail "no configured build tree in $build"
if dpkg-query -W -f='${Status}' vardosk 2>/dev/null | grep -q "install ok installed"; then
    fail "a vardosk package is installed already; remove it first"
fi

step "building the package"
cmake --build "$build" --target package >/dev/null
deb=$(ls -t "$build"/vardosk_*.deb | head -n 1)
[ -f "$deb" ] || fail "no package built"

work=$(mktemp -d)
source scripts/emulator.sh
sim=
cleanup() {
    stop_emulator
    if dpkg-query -W -f='${Status}' vardosk 2>/dev/null | grep -q "install ok installed"; then
        apt-get remove -y -qq vardosk >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

step "installing $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$deb")" >/dev/null

for f in /usr/bin/vardosk /usr/bin/vardosk-cli /usr/bin/vardosk-instrument-sim \
         /usr/share/vardosk/DataStrings.xml /usr/share/applications/vardosk.desktop \
         /usr/share/icons/hicolor/scalable/apps/vardosk.svg /usr/lib/udev/rules.d/60-vardosk-ftdi.rules \
         /usr/share/man/man1/vardosk-cli.1.gz /usr/share/man/man1/vardosk-instrument-sim.1.gz; do
    [ -e "$f" ] || fail "$f not installed"
done
# The program looks for its manuals in ../share/vardosk beside /usr/bin.
for pdf in ReferenceEng.pdf ReferenceRus.pdf; do
    pdfinfo "/usr/bin/../share/vardosk/$pdf" >/dev/null 2>&1 || fail "manual $pdf missing or unreadable"
done

step "version and help"
[ "$(vardosk --version)" = "vardosk $(dpkg-query -W -f='${Version}' vardosk)" ] || fail "vardosk --version"
vardosk --help | grep -q -- "--port" || fail "vardosk --help"
vardosk-cli --version | grep -q "^vardosk-cli " || fail "vardosk-cli --version"

# The program runs as a user with a home of its own (root here, whose /usr/bin
# is writable: the data must still go to the per-user folders).
home="$work/home"
mkdir -p "$home"
user_env=(env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8)

step "short headless start"
"${user_env[@]}" vardosk >"$work/start.log" 2>&1 &
program=$!
# The data folder is created only after the string file was read and checked.
for _ in $(seq 100); do
    [ -d "$home/.local/share/Korvel/Tessmer/Data" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
alive=0
kill -0 "$program" 2>/dev/null && alive=1
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
[ "$alive" = 1 ] || { cat "$work/start.log" >&2; fail "the program ended at start-up"; }
[ -d "$home/.local/share/Korvel/Tessmer/Data" ] || fail "no per-user data folder (strings not found?)"
[ -f "$home/.config/Korvel/Tessmer/config.cfg" ] || [ -d "$home/.config/Korvel/Tessmer" ] || fail "no per-user settings folder"
[ ! -e /usr/bin/Data ] && [ ! -e /usr/bin/config.cfg ] || fail "the program wrote beside the installed binaries"

step "vardosk-cli against the emulator"
start_emulator vardosk-instrument-sim "$work/sim.out" --records 5 || fail "the emulator did not start"
mkdir -p "$work/store"
"${user_env[@]}" vardosk-cli read-archive --port "$port" --into "$work/store" >"$work/read.out" \
    || fail "vardosk-cli read-archive"
meters=$("${user_env[@]}" vardosk-cli scan "$work/store" | wc -l)
[ "$meters" -ge 1 ] || fail "no meters stored by vardosk-cli"
stop_emulator

step "removing the package"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vardosk >/dev/null
left=$(ls -d /usr/bin/vardosk* /usr/share/vardosk /usr/share/doc/vardosk /usr/lib/udev/rules.d/60-vardosk-ftdi.rules \
       /usr/share/applications/vardosk.desktop 2>/dev/null || true)
[ -z "$left" ] || fail "left after removal: $left"
[ -d "$home/.local/share/Korvel/Tessmer/Data" ] || fail "the user's data went with the package"

step "passed in $(( $(date +%s) - start )) s ($meters meters read through the emulator)"
