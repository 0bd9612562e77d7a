#!/usr/bin/env bash
# Writes the netlist of the example schematic with the netlist writer's driver, checks its lines, runs
# it with the netlist driver and checks a few values of the reference simulator; then the warning for
# a schematic whose wire ends beside a pin, and the driver's exit status for a missing file and for
# bad arguments.
#   smoke_write_netlist.sh WRITE_NETLIST RUN_NETLIST EXAMPLE.cas WIRE_BESIDE_PIN.cas
set -euo pipefail
writer=$1
runner=$2
schematic=$3
beside=$4
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$writer" "$schematic" >"$dir/rlc.cir" 2>"$dir/err"
if [ -s "$dir/err" ]; then cat "$dir/err"; exit 1; fi
printf '%s\r\n' "* TORVEX Generated Netlist of $(cd "$(dirname "$schematic")" && pwd)/$(basename "$schematic")" \
    "V1 PIN 0 PULSE 0 1 0 0.1N 0.1N 1 2" "R1 PIN P1 10" "L1 P1 P2 1U IC=0" "C1 P2 0 1N IC=0" \
    "C2 P5 0 1N IC=5" "R2 P5 0 1K" >"$dir/expected.cir"
cmp "$dir/rlc.cir" "$dir/expected.cir"

"$runner" "$dir/rlc.cir" --step 0.1ns --span 400ns --trace 'V(P2)' --trace 'V(P5)' >"$dir/table" 2>"$dir/err"
awk -F', ' '
    NR == 1 { next }
    { t = sprintf("%.1f", $1 * 1e9); v2[t] = $2; v5[t] = $3 }
    function near(what, got, want, tol) {
        if (got == "" || got - want > tol || want - got > tol) { print what ": " got " not " want; bad = 1 }
    }
    END {
        near("V(P2) at 100 ns", v2["100.0"], 1.604546, 2e-5)
        near("V(P5) at 100 ns", v5["100.0"], 4.524187, 1e-3)
        exit bad
    }' "$dir/table"

# Written all the same, with the pins that nothing connects to on standard error.
"$writer" "$beside" >"$dir/beside.cir" 2>"$dir/err"
grep -q "^R1 N4 0 1K" "$dir/beside.cir"
[ "$(cat "$dir/err")" = "message: Warning:  Nothing connects to these pins, each a node of its own in the netlist: V1 pin 1, R1 pin 1" ]

status=0
"$writer" "$dir/none.cas" >/dev/null 2>"$dir/err" || status=$?
[ "$status" -eq 1 ]
grep -q "^message: Cannot read $dir/none.cas" "$dir/err"
status=0
"$writer" >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ]
