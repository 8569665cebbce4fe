#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds and tests with, when any
# is missing. Runs apt-get as root directly, otherwise through sudo.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-serialport-dev libqt6serialport6
    libftdi1-dev libftdi1-2
    fonts-liberation2
    # The toolkit's own Russian texts (file, print and font dialogs).
    qt6-translations-l10n
    xvfb xauth
    # Tests open the spreadsheet exports in LibreOffice Calc (no window).
    libreoffice-calc-nogui
    # Tests read protocols and manuals back from their PDFs; CPack's
    # dependency scan of the Debian package needs dpkg-dev and file.
    dpkg-dev file poppler-utils
    # The fuzzing build (scripts/fuzz.sh): clang and its runtime libraries,
    # which hold libFuzzer and clang's address and undefined-behaviour
    # sanitizers. gcc's sanitizer runtimes for scripts/sanitize.sh come
    # with g++.
    clang libclang-rt-14-dev
    # The layout check (scripts/check-format.sh).
    clang-format
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
