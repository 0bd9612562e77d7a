#!/usr/bin/env bash
# Runs the netlist driver on the example netlist as scripts/run.sh does and checks the table it prints:
# the header, the number of points and a few values of the RLC ring and the RC discharge. Then a
# netlist with accented names, traced by names in lower case.
#   smoke_run_netlist.sh RUN_NETLIST EXAMPLE.cir
set -euo pipefail
driver=$1
netlist=$2
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err" "$out.cir"' EXIT
"$driver" "$netlist" --step 0.1ns --span 400ns >"$out" 2>"$err"
grep -q "^message: Simulation completed in " "$err"
# The table: time in seconds, then V(NIN), V(N1), V(N2) and V(N5); values of the reference simulator.
awk -F', ' '
    NR == 1 { if ($0 != "Time, V(NIN), V(N1), V(N2), V(N5)") { print "header: " $0; bad = 1 }; next }
    { points++; t = sprintf("%.1f", $1 * 1e9); v2[t] = $4; v5[t] = $5 }
    function near(what, got, want, tol) {
        if (got == "" || got - want > tol || want - got > tol) { print what ": " got " not " want; bad = 1 }
    }
    END {
        if (points != 4001) { print "points: " points; bad = 1 }
        near("V(N2) at 100 ns", v2["100.0"], 1.604546, 2e-5)
        near("V(N2) at 201.2 ns", v2["201.2"], 0.634363, 2e-5)
        near("V(N5) at 400 ns", v5["400.0"], 3.351600, 1e-3)
        exit bad
    }' "$out"
# Trace names are upper-cased as the netlist is, letter for letter: V(Né) is the node the netlist
# names NÉ, and ß, which has no capital of its own, stays ß in both.
printf '* accents\nV1 N\xc3\xa9 0 DC 10\nR1 N\xc3\x89 0 1K\nV2 N\xc3\x9f 0 DC 5\nR2 N\xc3\x9f 0 1K\n' >"$out.cir"
"$driver" "$out.cir" --span 1ns --trace 'V(Né)' --trace 'i(r1)' --trace 'V(nß)' >"$out" 2>"$err"
for t in 0.000000000e+00 1.000000000e-09; do
    printf '%s, 1.000000000e+01, 1.000000000e-02, 5.000000000e+00\n' $t
done | sed '1i Time, V(N\xc3\x89), I(R1), V(N\xc3\x9f)' | cmp - "$out" || { echo "accents: the table is"; cat "$out"; exit 1; }
