#!/usr/bin/env bash
# Installs what is missing, builds MORLA, the device simulator and the data kit (not the tests),
# starts the simulator as port 1 of the program folder, then the program.
# Usage: scripts/run-with-simulator.sh [model] [simulator options...]   (model: luvero by default)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
echo "morla: configuring the build in build/" >&2
cmake --preset default >/dev/null
echo "morla: building the program, the simulator and the data kit" >&2
cmake --build build --target morla morla_devsim morla_datakit_run
model="${1:-luvero}"
shift || true
bin="$PWD/build/bin"
echo "morla: starting the simulated $model on $bin/COM1 (log: $bin/simulator.out)" >&2
"$bin/morla_devsim" --model "$model" --link "$bin" --port 1 \
    --memory "$bin/simulator-$model.mem" "$@" >"$bin/simulator.out" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -L "$bin/COM1" ] && break; sleep 0.1; done
echo "Log in as Ingenieria (password Tirel), then choose port 1: the simulated $model."
echo "morla: starting the program" >&2
"$bin/morla"
