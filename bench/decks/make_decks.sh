#!/usr/bin/env bash
# Writes the comparison circuits into FOLDER: for each NAME a netlist NAME.cir for run_netlist and the
# same circuit as an ngspice deck NAME.sp, with the same fixed step and one trace printed by both.
# The second comment line of NAME.cir holds the driver's options for the run.
#
#   make_decks.sh FOLDER [NAME...]     (default: every circuit)
#
# Models are matched as far as the two programs allow: the diode without capacitance or breakdown at
# the temperature where kT/q is 0.0259 V; the switches' TIME/TANH law as a resistance of time; a
# LOSSYR line as a chain of one-step lossless cells with its series resistance between them.
set -euo pipefail
out=${1:?usage: make_decks.sh FOLDER [NAME...]}
shift
mkdir -p "$out"
all=(rc400 rc20000 marx20 lossy50 charged20 cut100k bank100 bank1000 chain20000)
names=("$@")
[ ${#names[@]} -eq 0 ] && names=("${all[@]}")

# ngspice: the transient at a fixed largest step, kT/q = 0.0259 V, values at the step's multiples.
spice_tail() { # step span trace [uic]
    printf '.options temp=27.407 tnom=27.407 interp\n.tran %s %s 0 %s %s\n.print tran %s\n.end\n' \
        "$1" "$2" "$1" "${4:-}" "$3"
}

# An RC ladder of $1 sections from a pulsed source: 10 ohm and 10 pF each.
rc() {
    local n=$1 span=$2 trace=$3 c=$out/rc$1.cir s=$out/rc$1.sp
    {
        echo "* RC ladder of $n sections"
        echo "* run_netlist: --step 0.1N --span $span --trace V(N$trace)"
        echo "V1 N0 0 PULSE 0 1 0 1N 1N 1U 2U"
        for ((i = 1; i <= n; i++)); do echo "R$i N$((i - 1)) N$i 10"; echo "C$i N$i 0 10P"; done
    } > "$c"
    {
        echo "* RC ladder of $n sections"
        echo "V1 N0 0 PULSE(0 1 0 1N 1N 1U 2U)"
        for ((i = 1; i <= n; i++)); do echo "R$i N$((i - 1)) N$i 10"; echo "C$i N$i 0 10P"; done
        spice_tail 0.1N "$span" "v(n$trace)"
    } > "$s"
}

# A Marx generator of 20 stages charged to 40 kV: each stage's gap closes with a tanh law (50 ns
# apart by 1 ns) through 100 nH into the next stage; charging resistors of 10 k, 10 pF strays, a
# 100 ohm load behind the output gap.
marx20() {
    local c=$out/marx20.cir s=$out/marx20.sp n=20
    local lines=() spice=()
    for ((i = 1; i <= n; i++)); do
        local low="NL$i" next="NL$((i + 1))"
        [ $i -eq 1 ] && low=0
        [ $i -eq $n ] && next=NOUT
        lines+=("C$i $low NH$i 100N IC=40K" "LG$i NH$i NG$i 100N")
        spice+=("C$i $low NH$i 100N IC=40K" "LG$i NH$i NG$i 100N")
        lines+=("S$i NG$i $next TIME 1MEG 0.1 $((49 + i))N 2N TANH")
        spice+=("RS$i NG$i $next R='(1MEG-0.1)*0.5*(1-tanh((time-$((49 + i))N)/2N))+0.1'")
        if [ $i -lt $n ]; then
            lines+=("RH$i NH$i NH$((i + 1)) 10K" "CS$i NL$((i + 1)) 0 10P")
            spice+=("RH$i NH$i NH$((i + 1)) 10K" "CS$i NL$((i + 1)) 0 10P")
            [ $i -gt 1 ] && lines+=("RL$i NL$i NL$((i + 1)) 10K") && spice+=("RL$i NL$i NL$((i + 1)) 10K")
        fi
    done
    lines+=("RL1 0 NL2 10K" "RLOAD NOUT 0 100")
    spice+=("RL1 0 NL2 10K" "RLOAD NOUT 0 100")
    { echo "* Marx generator of $n stages"; echo "* run_netlist: --step 0.1N --span 1000N --trace V(NOUT)"
      printf '%s\n' "${lines[@]}"; } > "$c"
    { echo "* Marx generator of $n stages"; printf '%s\n' "${spice[@]}"
      spice_tail 0.1N 1000N "v(nout)" uic; } > "$s"
}

# 50 lossy lines (50 ohm, 5 ns, 0.2 to 10 ohm of series resistance) from one pulsed source, each
# into a matched load. ngspice: a chain of 50 cells of one step with 49 resistors between them.
lossy50() {
    local c=$out/lossy50.cir s=$out/lossy50.sp cells=50
    {
        echo "* 50 lossy lines"
        echo "* run_netlist: --step 0.1N --span 200N --trace V(NB50)"
        echo "V1 NS 0 PULSE 0 1K 0 1N 1N 50N 1U"
        for ((i = 1; i <= 50; i++)); do
            echo "RS$i NS NA$i 50"
            echo "T$i NA$i 0 NB$i 0 LOSSYR Z0=50 TD=5N R=$(awk "BEGIN{print $i*0.2}") IC=0"
            echo "RL$i NB$i 0 50"
        done
    } > "$c"
    {
        echo "* 50 lossy lines"
        echo "V1 NS 0 PULSE(0 1K 0 1N 1N 50N 1U)"
        for ((i = 1; i <= 50; i++)); do
            echo "RS$i NS NA$i 50"
            local r
            r=$(awk "BEGIN{printf \"%.12g\", $i*0.2/($cells-1)}")
            for ((j = 1; j <= cells; j++)); do
                local from="NC${i}_$((2 * j - 1))" to="NC${i}_$((2 * j))"
                [ $j -eq 1 ] && from="NA$i"
                [ $j -eq $cells ] && to="NB$i"
                echo "T${i}_$j $from 0 $to 0 Z0=50 TD=0.1N"
                if [ $j -lt $cells ]; then echo "R${i}_$j $to NC${i}_$((2 * j + 1)) $r"; fi
            done
            echo "RL$i NB$i 0 50"
        done
        spice_tail 0.1N 200N "v(nb50)"
    } > "$s"
}

# 20 lines of 10 ohm and 20 ns charged to 10 kV, each discharged through a tanh gap (10 ns on, 0.5 ns
# apart) into a matched load; port 2 open.
charged20() {
    local c=$out/charged20.cir s=$out/charged20.sp i close
    local ours=() spice=()
    for ((i = 1; i <= 20; i++)); do
        close=$(awk "BEGIN{print 10+$i*0.5}")N
        ours+=("T$i NA$i 0 NB$i 0 Z0=10 TD=20N IC=10K" "S$i NA$i NO$i TIME 1MEG 0.1 $close 0.5N TANH")
        spice+=("T$i NA$i 0 NB$i 0 Z0=10 TD=20N IC=10K,0,10K,0"
            "RS$i NA$i NO$i R='(1MEG-0.1)*0.5*(1-tanh((time-$close)/0.5N))+0.1'")
        ours+=("RL$i NO$i 0 10") && spice+=("RL$i NO$i 0 10")
    done
    { echo "* 20 charged lines"; echo "* run_netlist: --step 0.1N --span 200N --trace V(NO20)"
      printf '%s\n' "${ours[@]}"; } > "$c"
    { echo "* 20 charged lines"; printf '%s\n' "${spice[@]}"; spice_tail 0.1N 200N "v(no20)" uic; } > "$s"
}

# The RC ladder of 100,000 nodes with every tenth resistor a line (partitions of 10 nodes), Maximal.
cut100k() {
    local c=$out/cut100k.cir s=$out/cut100k.sp n=100000 i
    {
        echo "* RC ladder of $n nodes cut by lines"
        echo "* run_netlist: --step 0.1N --span 20N --mode Maximal --trace V(N9)"
        echo "V1 N0 0 PULSE 0 1 0 1N 1N 1U 2U"
        for ((i = 1; i <= n; i++)); do
            if ((i % 10 == 0)); then echo "T$i N$((i - 1)) 0 N$i 0 Z0=50 TD=1N"; else echo "R$i N$((i - 1)) N$i 10"; fi
            echo "C$i N$i 0 10P"
        done
    } > "$c"
    {
        echo "* RC ladder of $n nodes cut by lines"
        echo "V1 N0 0 PULSE(0 1 0 1N 1N 1U 2U)"
        sed -n '4,$p' "$c"
        spice_tail 0.1N 20N "v(n9)"
    } > "$s"
}

# $1 diodes from a pulsed bus, each behind 10 ohm, with 0.5 ohm of series resistance, into 100 ohm
# and 100 pF.
bank() {
    local n=$1 c=$out/bank$1.cir s=$out/bank$1.sp i
    local body=()
    for ((i = 1; i <= n; i++)); do
        body+=("R$i NBUS NA$i 10" "D$i NA$i NK$i DIODE_MODEL" "RL$i NK$i NM$i 100" "CL$i NM$i 0 100P")
    done
    {
        echo "* bank of $n diodes"
        echo "* run_netlist: --step 0.1N --span 1000N --trace V(NK1)"
        echo "V1 NBUS 0 PULSE 0 5 0 10N 10N 400N 1000N"
        printf '%s\n' "${body[@]}" | sed 's/DIODE_MODEL/IS=1E-14 N=1 RS=0.5/'
    } > "$c"
    {
        echo "* bank of $n diodes"
        echo "V1 NBUS 0 PULSE(0 5 0 10N 10N 400N 1000N)"
        printf '%s\n' "${body[@]}" | sed 's/DIODE_MODEL/DM/'
        echo ".model DM D(IS=1E-14 N=1 RS=0.5)"
        spice_tail 0.1N 1000N "v(nk1)"
    } > "$s"
}

# A stack of $1 diodes in series from a 30 kV pulse through 100 ohm into 1 k.
chain() {
    local n=$1 c=$out/chain$1.cir s=$out/chain$1.sp i
    local body=()
    for ((i = 1; i <= n; i++)); do body+=("D$i N$((i - 1)) N$i DIODE_MODEL"); done
    {
        echo "* stack of $n diodes"
        echo "* run_netlist: --step 0.1N --span 100N --trace V(N$n)"
        echo "V1 NIN 0 PULSE 0 30K 0 10N 10N 40N 1U"
        echo "RIN NIN N0 100"
        printf '%s\n' "${body[@]}" | sed 's/DIODE_MODEL/IS=1E-14 N=1/'
        echo "RLOAD N$n 0 1K"
    } > "$c"
    {
        echo "* stack of $n diodes"
        echo "V1 NIN 0 PULSE(0 30K 0 10N 10N 40N 1U)"
        echo "RIN NIN N0 100"
        printf '%s\n' "${body[@]}" | sed 's/DIODE_MODEL/DM/'
        echo "RLOAD N$n 0 1K"
        echo ".model DM D(IS=1E-14 N=1)"
        spice_tail 0.1N 100N "v(n$n)"
    } > "$s"
}

for name in "${names[@]}"; do
    case $name in
    rc400) rc 400 2000N 400 ;;
    rc20000) rc 20000 200N 20 ;;
    marx20) marx20 ;;
    lossy50) lossy50 ;;
    charged20) charged20 ;;
    cut100k) cut100k ;;
    bank100) bank 100 ;;
    bank1000) bank 1000 ;;
    chain20000) chain 20000 ;;
    *) echo "make_decks.sh: no circuit $name (${all[*]})" >&2; exit 2 ;;
    esac
done
