#!/usr/bin/env bash
# A block whose file label names a folder finds its file there (through the drive map, whatever the
# case of the names) or not at all: a file of the same name beside the schematic is a different file.
#   block_files_write_netlist.sh WRITE_NETLIST BLOCK_NAMED_ELSEWHERE.cas SECT.cas
# The schematic's block names "C:\Elsewhere\sect.cas"; SECT.cas is a block file (50 ohms from SUB1 to
# SUB2).
set -euo pipefail
writer=$1
top=$2
block=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/work" "$dir/home"
cp "$top" "$dir/work/top.cas"
cp "$block" "$dir/work/sect.cas"
# Drive C: is the home folder when the settings map no drive.
export HOME="$dir/home"
unset XDG_CONFIG_HOME

status=0
"$writer" "$dir/work/top.cas" >"$dir/out" 2>"$dir/err" || status=$?
if [ "$status" -ne 1 ] || [ -s "$dir/out" ] ||
    [ "$(cat "$dir/err")" != "message: Error.  Could not open subcircuit file 'C:\\Elsewhere\\sect.cas'" ]; then
    echo "the file beside the schematic was taken, or the failure not said (exit $status):"
    cat "$dir/out" "$dir/err"
    exit 1
fi

mkdir -p "$dir/home/elsewhere"
cp "$block" "$dir/home/elsewhere/SECT.CAS"
"$writer" "$dir/work/top.cas" >"$dir/out" 2>"$dir/err"
if [ -s "$dir/err" ] || ! grep -q $'^R1_X1 N1 0 50\r$' "$dir/out" ||
    ! grep -q "^\\*_X1 TORVEX Generated Netlist of $dir/home/elsewhere/SECT.CAS" "$dir/out"; then
    echo "the block's own file was not expanded:"
    cat "$dir/out" "$dir/err"
    exit 1
fi
