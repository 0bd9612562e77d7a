#!/usr/bin/env bash
# Builds the program and runs its main job: the headless netlist driver on an example netlist.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTORVEX_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
netlist=${1:-examples/rlc.cir}
shift || true
"$build"/bench/run_netlist "$netlist" --step 0.1ns --span 400ns "$@"
