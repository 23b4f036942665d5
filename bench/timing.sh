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
