#!/usr/bin/env bash
# The drivers' refusals and exit codes. What cannot be read is named with the reason and no usage
# text (run_netlist exit 2, write_netlist exit 1); a named pipe or a device is refused before it is
# read (under a time limit here, and a memory limit where the sanitizers allow one); output that
# cannot be written fails the run with the reason (exit 1), a full disk and a closed pipe alike, as
# does a trace that cannot be evaluated, which gets no column, and a step that fails to converge.
#   refusals_drivers.sh RUN_NETLIST WRITE_NETLIST EXAMPLE.cir EXAMPLE.cas SANITIZED(0|1)
set -uo pipefail
driver=$1
writer=$2
netlist=$3
schematic=$4
sanitized=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bad=0

# expect NAME STATUS PATTERN COMMAND...: the command ends within 20 seconds with STATUS and its error
# stream matches PATTERN (an extended regular expression) and holds no usage text.
expect() {
    local name=$1 status=$2 pattern=$3
    shift 3
    timeout 20 "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" -ne "$status" ]; then
        echo "$name: exit $got, not $status"; cat "$work/err"; bad=1
    elif ! grep -Eq "$pattern" "$work/err"; then
        echo "$name: no \"$pattern\" in:"; cat "$work/err"; bad=1
    elif grep -q "usage:" "$work/err"; then
        echo "$name: usage text shown"; bad=1
    fi
}

mkfifo "$work/pipe.cir" "$work/pipe.cas"
truncate -s 65M "$work/huge.cir"
# The sanitizers reserve far more address space than any limit that means something here.
limited=(bash -c 'ulimit -v 2000000 && exec "$@"' limited)
[ "$sanitized" = 1 ] && limited=()
for kind in run write; do
    if [ $kind = run ]; then tool=$driver status=2 ext=cir; else tool=$writer status=1 ext=cas; fi
    if [ $kind = run ]; then cannot="^run_netlist: cannot read"; else cannot="^message: Cannot read"; fi
    expect "$kind: folder" $status "$cannot $work: Is a directory$" "$tool" "$work"
    expect "$kind: missing" $status "$cannot $work/none.$ext: No such file or directory$" "$tool" "$work/none.$ext"
    expect "$kind: pipe" $status "$cannot $work/pipe.$ext: Not a regular file \(a named pipe\)$" "$tool" "$work/pipe.$ext"
    expect "$kind: device" $status "$cannot /dev/zero: Not a regular file \(a device\)$" "${limited[@]}" "$tool" /dev/zero
    if [ "$(id -u)" != 0 ]; then
        cp "$netlist" "$work/locked.$ext" && chmod 000 "$work/locked.$ext"
        expect "$kind: unreadable" $status "$cannot $work/locked.$ext: Permission denied$" "$tool" "$work/locked.$ext"
    fi
done
expect "too large" 2 "^run_netlist: cannot read $work/huge.cir: The file is too large to open \(more than 64 MB, the limit for a netlist\)$" \
    "$driver" "$work/huge.cir"
head -c 4096 /dev/urandom >"$work/random.cas"
expect "not a schematic" 1 "^message: Cannot read $work/random.cas: Unexpected file format\.$" "$writer" "$work/random.cas"
if grep -q "newer version" "$work/err"; then echo "not a schematic: called a newer version"; bad=1; fi

expect "run: full disk" 1 "^run_netlist: cannot write the table: No space left on device$" \
    bash -c 'exec "$0" "$1" --span 2ns >/dev/full' "$driver" "$netlist"
expect "write: full disk" 1 "^write_netlist: cannot write the netlist: No space left on device$" \
    bash -c 'exec "$0" "$1" >/dev/full' "$writer" "$schematic"
# A reader that has gone (... | head -1): the driver starts once the pipe's only reader has ended.
closed=(bash -c 'exec 3> >(true); wait $!; exec "$@" >&3' closed)
expect "run: closed pipe" 1 "^run_netlist: cannot write the table: Broken pipe$" \
    "${closed[@]}" "$driver" "$netlist" --span 2ns
expect "write: closed pipe" 1 "^write_netlist: cannot write the netlist: Broken pipe$" \
    "${closed[@]}" "$writer" "$schematic"

expect "bad trace" 1 "^message: Can't evaluate V\(NOPE\), aborting\.\.\.$" \
    "$driver" "$netlist" --span 2ns --trace "V(NIN)" --trace "V(NOPE)"
if [ "$(head -1 "$work/out")" != "Time, V(NIN)" ] || [ "$(wc -l <"$work/out")" -ne 4 ] ||
    awk -F', ' 'NF != 2 { found = 1 } END { exit !found }' "$work/out"; then
    echo "bad trace: the table is"; cat "$work/out"; bad=1
fi
# A run that ends after a step that did not converge is no completed run here: the step is named and
# no table is written. The infinite source from 3 ns on leaves the diode nothing to converge to.
printf '* t\nV1 N1 0 PULSE 0 1E999 2N 1N 1N 10N 20N\nR1 N1 N2 1\nD1 N2 0 IS=1E-14\n' >"$work/unconverged.cir"
expect "unconverged" 1 "^run_netlist: step 3 \(t = 3\.000000000e-09 s\) failed to converge; the run ended there and no table is written$" \
    "$driver" "$work/unconverged.cir" --span 10ns
grep -q "^message: Failing to converge\.\.\. Aborting\.$" "$work/err" || { echo "unconverged: no message"; bad=1; }
if [ -s "$work/out" ]; then echo "unconverged: a table was written"; bad=1; fi
usage=$("$driver" 2>&1)
grep -q -- "--dense-solver" <<<"$usage" || { echo "usage: no --dense-solver in $usage"; bad=1; }
exit $bad
