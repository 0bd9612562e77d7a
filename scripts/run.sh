#!/usr/bin/env bash
# Builds the program and starts it (scripts/run.sh [FILE] opens FILE). On a machine without a
# display it runs the headless netlist driver on an example netlist instead, and only its table goes
# to standard output (scripts/run.sh > table.csv): the build reports on standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh >&2
build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTORVEX_TESTS=OFF -DTORVEX_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" >&2
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$build"/app/torvex2 "$@"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are empty): running the headless netlist driver instead." >&2
netlist=${1:-examples/rlc.cir}
shift || true
"$build"/bench/run_netlist "$netlist" --step 0.1ns --span 400ns "$@"
