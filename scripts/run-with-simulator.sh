#!/usr/bin/env bash
# Builds MORLA, starts the device simulator as port 1 of the program folder, then the program.
# Usage: scripts/run-with-simulator.sh [model] [simulator options...]   (model: luvero by default)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build build
model="${1:-luvero}"
shift || true
bin="$PWD/build/bin"
"$bin/morla_devsim" --model "$model" --link "$bin" --port 1 \
    --memory "$bin/simulator-$model.mem" "$@" >"$bin/simulator.out" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -L "$bin/COM1" ] && break; sleep 0.1; done
echo "Log in as Ingenieria (password Tirel), then choose port 1: the simulated $model."
"$bin/morla"
