#!/usr/bin/env bash
# Writes COUNT random circuits with diodes (resistors, capacitors and inductors with initial values,
# two or more diodes, half of them with a pulsed source), runs each with run_netlist and with ngspice at
# the same fixed step, and says which of them each program runs to the end.
#
#   random_diodes.sh RUN_NETLIST [--count COUNT] [--seed SEED] [--keep FOLDER] [--no-spice]
#
# The circuits depend on SEED and their number only, so two builds of the program can be set against
# each other on the same set. With --keep, FOLDER keeps for each circuit NAME.cir, NAME.sp and both
# programs' output (NAME.ours, NAME.spice). Nothing here is part of the build or the tests.
set -euo pipefail
driver=${1:?usage: random_diodes.sh RUN_NETLIST [--count COUNT] [--seed SEED] [--keep FOLDER] [--no-spice]}
shift
count=200
seed=1
keep=""
spice=1
while [ $# -gt 0 ]; do
    case $1 in
    --count) count=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --keep) keep=$2; shift 2 ;;
    --no-spice) spice=0; shift ;;
    *) echo "random_diodes.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
work=${keep:-$(mktemp -d)}
mkdir -p "$work"
[ -z "$keep" ] && trap 'rm -rf "$work"' EXIT

step=0.1N
span=61N
last=6.09e-08 # the last time point both programs must reach
bound=30      # seconds for one run of either program

# One circuit: a random tree over the nodes (so no part of it floats), more elements between random
# pairs, a megohm to ground at every node that only one element reaches, at least two diodes.
# Values are spread evenly over decades. The diode law is matched as make_decks.sh matches it.
generate() { # index cir sp
    awk -v seed="$((seed * 100003 + $1))" -v cir="$2" -v sp="$3" -v step=$step -v span=$span '
    function logu(lo, hi) { return lo * exp(rand() * log(hi / lo)) }
    function pick(a, b) { return a + int(rand() * (b - a + 1)) }
    function node(i) { return i == 0 ? "0" : "N" i }
    function line(o, s) { n++; ours[n] = o; spice[n] = s == "" ? o : s }
    function add(kind, a, b,    name, value, ic, model) {
        name = kind (++count[kind])
        deg[a]++; deg[b]++
        if (kind == "R") {
            value = logu(1, 1e4)
            line(sprintf("%s %s %s %.6g", name, node(a), node(b), value))
        } else if (kind == "C" || kind == "L") {
            value = kind == "C" ? logu(1e-12, 1e-6) : logu(1e-9, 2e-6)
            ic = rand() < 0.5 ? sprintf(" IC=%.6g", kind == "C" ? 4 * rand() - 2 : 0.14 * rand() - 0.07) : ""
            line(sprintf("%s %s %s %.6g%s", name, node(a), node(b), value, ic))
        } else {
            model = sprintf("IS=%.6g N=%.4g RS=%.6g", logu(1e-14, 1e-10), 1 + rand(),
                            rand() < 0.3 ? 0 : logu(0.01, 5))
            if (rand() < 0.5) { ic = a; a = b; b = ic }
            line(sprintf("%s %s %s %s", name, node(a), node(b), model),
                 sprintf("%s %s %s DM%d", name, node(a), node(b), count["D"]))
            models[count["D"]] = model
        }
    }
    function kind(r) { r = rand(); return r < 0.3 ? "R" : r < 0.55 ? "C" : r < 0.75 ? "L" : "D" }
    BEGIN {
        srand(seed)
        nodes = pick(8, 24)
        for (i = 1; i <= nodes; i++) add(kind(), i, pick(0, i - 1))
        extra = pick(4, 12)
        for (i = 0; i < extra; i++) {
            a = pick(0, nodes); b = pick(0, nodes)
            if (a != b) add(kind(), a, b)
        }
        while (count["D"] < 2) {
            a = pick(0, nodes); b = pick(1, nodes)
            if (a != b) add("D", a, b)
        }
        for (i = 1; i <= nodes; i++)
            if (deg[i] < 2) line(sprintf("RG%d %s 0 1e+06", i, node(i)))
        if (rand() < 0.5) {
            amp = (rand() < 0.5 ? -1 : 1) * logu(1, 20)
            shape = sprintf("0 %.4g %.3gN %.3gN %.3gN %.3gN %.3gN", amp, 10 * rand(), logu(0.5, 5),
                            logu(0.5, 5), logu(5, 30), logu(40, 100))
            src = sprintf("RSRC NS %s %.6g", node(pick(1, nodes)), logu(1, 1000))
            line("V1 NS 0 PULSE " shape, "V1 NS 0 PULSE(" shape ")")
            line(src)
        }
        print "* random diode circuit" > cir
        printf "* run_netlist: --step %s --span %s --trace V(N1)\n", step, span > cir
        print "* random diode circuit" > sp
        for (i = 1; i <= n; i++) { print ours[i] > cir; print spice[i] > sp }
        for (d in models) printf ".model DM%d D(%s)\n", d, models[d] > sp
        printf ".options temp=27.407 tnom=27.407 interp\n.tran %s %s 0 %s uic\n.print tran v(n1)\n.end\n",
               step, span, step > sp
    }'
}

# Whether a program's table reaches the last time point: the last number-led line's time.
reaches() { # file column-of-time
    awk -v col="$2" -v last=$last '$1 ~ /^[0-9]/ { gsub(",", "", $col); t = $col } END { exit !(t + 0 >= last * 0.9999) }' "$1"
}

ours_done=0 spice_done=0 ours_only=() spice_only=() neither=()
for ((i = 1; i <= count; i++)); do
    name=$(printf 'rd%03d' "$i")
    generate "$i" "$work/$name.cir" "$work/$name.sp"
    read -r -a options < <(sed -n '2s/^\* run_netlist: //p' "$work/$name.cir")
    timeout "$bound" "$driver" "$work/$name.cir" "${options[@]}" > "$work/$name.ours" 2> "$work/$name.err" || true
    a=0
    if ! grep -q "Failing to converge" "$work/$name.err" && reaches "$work/$name.ours" 1; then a=1; fi
    b=0
    if [ "$spice" -eq 1 ]; then
        # ngspice may shrink its step without end on a circuit it cannot solve; it is given a bound.
        timeout "$bound" ngspice -b "$work/$name.sp" 2>&1 | head -c 2000000 > "$work/$name.spice" || true
        if reaches "$work/$name.spice" 2; then b=1; fi
    fi
    ours_done=$((ours_done + a)) spice_done=$((spice_done + b))
    if [ $a -eq 0 ] && [ $b -eq 1 ]; then spice_only+=("$name"); fi
    if [ $a -eq 1 ] && [ $b -eq 0 ] && [ "$spice" -eq 1 ]; then ours_only+=("$name"); fi
    if [ $a -eq 0 ] && { [ $b -eq 0 ] || [ "$spice" -eq 0 ]; }; then neither+=("$name"); fi
done
echo "circuits: $count (seed $seed, step $step, span $span)"
echo "run_netlist completed: $ours_done"
[ "$spice" -eq 1 ] && echo "ngspice completed: $spice_done"
[ "$spice" -eq 1 ] && echo "only ngspice completed: ${spice_only[*]:-none}"
[ "$spice" -eq 1 ] && echo "only run_netlist completed: ${ours_only[*]:-none}"
if [ "$spice" -eq 1 ]; then echo "neither completed: ${neither[*]:-none}"
else echo "run_netlist did not complete: ${neither[*]:-none}"; fi
