#!/usr/bin/env bash
# The netlist driver's refusals and exit codes: what cannot be read is named with the reason and no
# usage text (exit 2), a device is refused before it is read (also under a memory limit), and a table
# that cannot be written fails the run (exit 1), as does a trace that cannot be evaluated, which
# gets no column.
#   refusals_run_netlist.sh RUN_NETLIST EXAMPLE.cir SANITIZED(0|1)
set -uo pipefail
driver=$1
netlist=$2
sanitized=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bad=0

# expect NAME STATUS PATTERN COMMAND...: the command exits with STATUS and its error stream matches
# PATTERN (an extended regular expression) and holds no usage text.
expect() {
    local name=$1 status=$2 pattern=$3
    shift 3
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" -ne "$status" ]; then
        echo "$name: exit $got, not $status"; cat "$work/err"; bad=1
    elif ! grep -Eq "$pattern" "$work/err"; then
        echo "$name: no \"$pattern\" in:"; cat "$work/err"; bad=1
    elif grep -q "usage:" "$work/err"; then
        echo "$name: usage text shown"; bad=1
    fi
}

expect folder 2 "^run_netlist: cannot read $work: Is a directory$" "$driver" "$work"
expect missing 2 "^run_netlist: cannot read $work/none.cir: No such file or directory$" \
    "$driver" "$work/none.cir"
truncate -s 65M "$work/huge.cir"
expect "too large" 2 "^run_netlist: cannot read $work/huge.cir: larger than 64 MB$" "$driver" "$work/huge.cir"
# The sanitizers reserve far more address space than any limit that means something here.
if [ "$sanitized" = 1 ]; then
    expect device 2 "^run_netlist: cannot read /dev/zero: not a regular file$" "$driver" /dev/zero
else
    expect device 2 "^run_netlist: cannot read /dev/zero: not a regular file$" \
        bash -c 'ulimit -v 2000000 && exec "$0" /dev/zero' "$driver"
fi
if [ "$(id -u)" != 0 ]; then
    cp "$netlist" "$work/locked.cir" && chmod 000 "$work/locked.cir"
    expect unreadable 2 "^run_netlist: cannot read $work/locked.cir: .*[Pp]ermission denied" \
        "$driver" "$work/locked.cir"
fi
expect "full disk" 1 "^run_netlist: cannot write the table: No space left on device$" \
    bash -c 'exec "$0" "$1" --span 2ns >/dev/full' "$driver" "$netlist"

expect "bad trace" 1 "^message: Can't evaluate V\(NOPE\), aborting\.\.\.$" \
    "$driver" "$netlist" --span 2ns --trace "V(NIN)" --trace "V(NOPE)"
if [ "$(head -1 "$work/out")" != "Time, V(NIN)" ] || [ "$(wc -l <"$work/out")" -ne 4 ] ||
    awk -F', ' 'NF != 2 { found = 1 } END { exit !found }' "$work/out"; then
    echo "bad trace: the table is"; cat "$work/out"; bad=1
fi
exit $bad
