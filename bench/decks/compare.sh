#!/usr/bin/env bash
# Runs the comparison circuits of make_decks.sh with run_netlist and with ngspice and prints, for each,
# the whole-process wall times (medians of RUNS paired runs, ours and ngspice in turn), the median of
# the ratios pair by pair, and how far the two traces lie apart (largest difference at the common time
# points, and to the nearest of ngspice's values within a step, over the range of ngspice's trace).
#
#   compare.sh RUN_NETLIST [--runs RUNS] [--keep FOLDER] [NAME...]
#
# ngspice is installed with apt-get when it is missing (with sudo when not root). Nothing here is part of
# the build or the tests.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
driver=${1:?usage: compare.sh RUN_NETLIST [--runs RUNS] [--keep FOLDER] [NAME...]}
shift
runs=5
keep=""
names=()
while [ $# -gt 0 ]; do
    case $1 in
    --runs) runs=$2; shift 2 ;;
    --keep) keep=$2; shift 2 ;;
    *) names+=("$1"); shift ;;
    esac
done
if ! command -v ngspice > /dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get install -y -qq ngspice > /dev/null
fi
work=${keep:-$(mktemp -d)}
[ -z "$keep" ] && trap 'rm -rf "$work"' EXIT
"$here/make_decks.sh" "$work" "${names[@]}"
[ ${#names[@]} -eq 0 ] && names=($(cd "$work" && ls *.cir | sed 's/\.cir$//'))

seconds() { # command... : wall seconds of one run, output thrown away
    local t0 t1
    t0=$(date +%s%N)
    "$@" > /dev/null 2>&1 || true
    t1=$(date +%s%N)
    echo "scale=4; ($t1 - $t0) / 1000000000" | bc
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-12s %10s %10s %8s %12s %12s\n' circuit ours_s ngspice_s ratio agreement within_step
for name in "${names[@]}"; do
    read -r -a options < <(sed -n '2s/^\* run_netlist: //p' "$work/$name.cir")
    ours=("$driver" "$work/$name.cir" "${options[@]}")
    spice=(ngspice -b "$work/$name.sp")
    "${ours[@]}" > "$work/$name.ours" 2> /dev/null
    "${spice[@]}" > "$work/$name.spice" 2> /dev/null
    # ngspice prints "index time value" lines between its page headers; the points are matched by time.
    # Beside the largest difference at the same time, the largest to the nearest of ngspice's values a
    # step before, at or after: steep fronts that the two programs place a step apart (ngspice restarts
    # with smaller steps at each corner of a source) differ much at the same time and little within a
    # step.
    agreement=$(awk -F'[,\t ]+' '
        FNR == 1 { file++ }
        file == 1 && FNR > 1 { t[FNR - 2] = sprintf("%.5e", $1); o[FNR - 2] = $2; n = FNR - 1 }
        file == 2 && $1 ~ /^[0-9]+$/ && NF >= 3 { s[sprintf("%.5e", $2)] = $3 }
        function gap(j, u) { d = o[j] - s[u]; return d < 0 ? -d : d }
        END {
            lo = 1e300; hi = -1e300
            for (u in s) { if (s[u] < lo) lo = s[u]; if (s[u] > hi) hi = s[u] }
            same = 0; near = 0
            for (j = 0; j < n; j++) {
                if (!(t[j] in s)) continue
                g = gap(j, t[j]); if (g > same) same = g; m = g
                if (j > 0 && (t[j - 1] in s) && gap(j, t[j - 1]) < m) m = gap(j, t[j - 1])
                if (j + 1 < n && (t[j + 1] in s) && gap(j, t[j + 1]) < m) m = gap(j, t[j + 1])
                if (m > near) near = m
            }
            range = hi > lo ? hi - lo : 1
            printf "%.1e %.1e", same / range, near / range
        }' "$work/$name.ours" "$work/$name.spice")
    a=() b=() r=()
    for ((i = 0; i < runs; i++)); do
        x=$(seconds "${ours[@]}")
        y=$(seconds "${spice[@]}")
        a+=("$x") b+=("$y") r+=("$(echo "scale=6; $x / $y" | bc)")
    done
    read -r same near <<< "$agreement"
    printf '%-12s %10s %10s %8s %12s %12s\n' "$name" "$(printf '%s\n' "${a[@]}" | median)" \
        "$(printf '%s\n' "${b[@]}" | median)" "$(printf '%s\n' "${r[@]}" | median)" "$same" "$near"
done
