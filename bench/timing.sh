# Shared by the comparison scripts: median wall time and peak memory of a command.
# Source it; then `measure NAME CMD...` prints "NAME  median_s  peak_kB" and sets
# MEDIAN (seconds) and PEAK (kB). RUNS (default 5) counted runs after one warm-up.

RUNS=${RUNS:-5}

measure() {
    local name=$1
    shift
    "$@" >/dev/null 2>&1 || true
    local times=() peak=0 t0 t1 mem
    for _ in $(seq "$RUNS"); do
        t0=$(date +%s%N)
        /usr/bin/time -o /tmp/quorvane-bench-time.$$ -f '%M' "$@" >/dev/null 2>&1 || true
        mem=$(tail -1 /tmp/quorvane-bench-time.$$)
        t1=$(date +%s%N)
        times+=($(( (t1 - t0) / 1000 )))
        [ "${mem:-0}" -gt "$peak" ] && peak=$mem
    done
    MEDIAN=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]/1e6}')
    PEAK=$peak
    printf '  %-44s %8ss  %8s kB peak\n' "$name" "$MEDIAN" "$PEAK"
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'
}

# once_timed CMD: runs the shell command CMD and prints "wall_us cpu_us peak_kB" (the peak
# of the largest process the shell waited for).
once_timed() {
    local t0 t1
    t0=$(date +%s%N)
    /usr/bin/time -o /tmp/quorvane-bench-cpu.$$ -f '%U %S %M' sh -c "$1" >/dev/null 2>&1 || true
    t1=$(date +%s%N)
    echo "$(((t1 - t0) / 1000)) $(awk '{ printf "%d %d", ($1 + $2) * 1e6, $3 }' /tmp/quorvane-bench-cpu.$$)"
}

# pair NAME_A CMD_A NAME_B CMD_B [SETUP]: A and B take turns RUNS times after one warm-up
# each (SETUP, a shell command, runs untimed before every run). On a shared machine the
# pairwise ratio is the figure to trust; prints both medians (wall and cpu) and the medians
# of the pairwise ratios, and sets PAIR_RATIO (wall) and PAIR_CPU_RATIO.
pair() {
    local name_a=$1 cmd_a=$2 name_b=$3 cmd_b=$4 setup=${5:-true}
    local wa=() wb=() ca=() cb=() rw=() rc=() a b a_peak b_peak
    PAIR_PEAK_A=0 PAIR_PEAK_B=0
    sh -c "$setup; $cmd_a" >/dev/null 2>&1 || true
    sh -c "$setup; $cmd_b" >/dev/null 2>&1 || true
    for _ in $(seq "$RUNS"); do
        sh -c "$setup" >/dev/null 2>&1
        read -r a_wall a_cpu a_peak < <(once_timed "$cmd_a")
        sh -c "$setup" >/dev/null 2>&1
        read -r b_wall b_cpu b_peak < <(once_timed "$cmd_b")
        [ "$a_peak" -gt "$PAIR_PEAK_A" ] && PAIR_PEAK_A=$a_peak
        [ "$b_peak" -gt "$PAIR_PEAK_B" ] && PAIR_PEAK_B=$b_peak
        wa+=("$a_wall") wb+=("$b_wall") ca+=("$a_cpu") cb+=("$b_cpu")
        rw+=("$(ratio "$a_wall" "$b_wall")") rc+=("$(ratio "$a_cpu" "$b_cpu")")
    done
    med() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
    PAIR_WALL_A=$(awk -v v="$(med "${wa[@]}")" 'BEGIN{print v/1e6}')
    PAIR_WALL_B=$(awk -v v="$(med "${wb[@]}")" 'BEGIN{print v/1e6}')
    printf '  %-40s wall %8.3fs  cpu %8.3fs  %8s kB peak\n' "$name_a" "$PAIR_WALL_A" "$(awk -v v="$(med "${ca[@]}")" 'BEGIN{print v/1e6}')" "$PAIR_PEAK_A"
    printf '  %-40s wall %8.3fs  cpu %8.3fs  %8s kB peak\n' "$name_b" "$PAIR_WALL_B" "$(awk -v v="$(med "${cb[@]}")" 'BEGIN{print v/1e6}')" "$PAIR_PEAK_B"
    PAIR_RATIO=$(med "${rw[@]}")
    PAIR_CPU_RATIO=$(med "${rc[@]}")
    echo "  ratio $name_a / $name_b: wall $PAIR_RATIO  cpu $PAIR_CPU_RATIO (medians of $RUNS pairs)"
}
