#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
cmake --workflow --preset default
