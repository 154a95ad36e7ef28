#!/usr/bin/env bash
# Builds MORLA, the data kit and the stand-in line library (not the tests), and starts MORLA as
# a modem installation on that line library, in a program folder of its own (build/modem), so
# the serial folder build/bin stays as it is.
# Every dial text the program hands over is appended to build/modem/DRQdll.log.
# Usage: scripts/run-modem.sh [installation class text, "PC..."; "PC Dravenquista" by default]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build build --target morla morla_datakit_run
class="${1:-PC Dravenquista}"
bin="$PWD/build/bin"
app="$PWD/build/modem"
mkdir -p "$app"
cp -f "$bin/morla" "$app/morla"
"$bin/morla_datakit" "$app" --line-library "$bin/DRQdll.dll" --installation-class "$class"
echo "Dial texts go to $app/DRQdll.log"
"$app/morla"
