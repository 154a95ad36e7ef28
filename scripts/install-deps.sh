#!/usr/bin/env bash
# Installs the Debian packages that building and running MORLA need, when any is missing.
# Shared by the run command and CI; prints what it installs.
set -euo pipefail

packages=(
    cmake ninja-build g++        # build
    qt6-base-dev qt6-serialport-dev libgl-dev  # Qt 6 Widgets, SerialPort, Test
    fonts-comic-neue             # the look-alike of the panels' font
    qt6-translations-l10n        # Qt's own dialogs in Spanish
)

need=()
for pkg in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || need+=("$pkg")
done
[ ${#need[@]} -eq 0 ] && exit 0

echo "morla: installing ${need[*]}" >&2
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "morla: run as root or install sudo to install: ${need[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
