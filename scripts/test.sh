#!/usr/bin/env bash
# Checks the formatting of every tracked source, builds everything (benchmarks and the netlist driver
# included) with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/format.sh --check
build=build-asan
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORVEX_SANITIZE=ON -DTORVEX_BENCH=ON >/dev/null
cmake --build "$build" -j "${TORVEX_JOBS:-$(nproc)}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "${TORVEX_JOBS:-$(nproc)}"
