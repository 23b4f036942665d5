#!/usr/bin/env bash
# bench/transfer_compare.sh [WORKDIR] [BIG_MIB]: quorvane-cli copy against `cp -a` followed by
# a sync of the copy (our copy is on stable storage when it ends; a bare cp is not), warm cache.
#   one big file (default 2048 MiB)
#   a tree of 50,000 small files in 500 folders
#   a 2 GB sparse disk image holding 4 KB, against plain `cp -a` (time and blocks used)
# The data lives under WORKDIR (default /var/tmp/quorvane-transfer-bench) and is deleted at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/quorvane-transfer-bench}
big_mib=${2:-2048}
runs=${RUNS:-5}
cli=$root/build/cli/quorvane-cli
"$root/scripts/build" "$root/build" >/dev/null
source "$root/bench/timing.sh"
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/src" "$work/out"
echo "making data: one ${big_mib} MiB file, 50,000 small files"
head -c "$((big_mib * 1024 * 1024))" /dev/urandom >"$work/src/big.bin"
python3 - "$work/src/tree" <<'PY'
import os, sys
tree = sys.argv[1]
for d in range(500):
    folder = os.path.join(tree, f"d{d:03}")
    os.makedirs(folder, exist_ok=True)
    for f in range(100):
        with open(os.path.join(folder, f"file{f}.dat"), "wb") as out:
            out.write(os.urandom((d * 100 + f) * 37 % 4000))
PY
sync
cat "$work/src/big.bin" >/dev/null # warm cache
find "$work/src/tree" -type f -exec cat {} + >/dev/null

# once ITEM CMD...: wall time (µs) of one fresh copy of ITEM into $work/out; its peak memory
# (kB) goes to $work/peak.
# The copy from the run before is removed and flushed outside the timing.
once() {
    local item=$1
    shift
    rm -rf "$work/out/$item"
    sync
    local t0 t1
    t0=$(date +%s%N)
    /usr/bin/time -o "$work/time" -f '%M' "$@" >/dev/null
    t1=$(date +%s%N)
    tail -1 "$work/time" >"$work/peak"
    echo $(((t1 - t0) / 1000))
}
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]/1e6}'; }
max() { echo $(($1 > $2 ? $1 : $2)); }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# The disk is shared, so the two take turns and the medians are compared.
for item in big.bin tree; do
    echo "$item ($runs runs each, taking turns):"
    peer=() ours=() peer_peak=0 our_peak=0
    for _ in $(seq "$runs"); do
        peer+=($(once "$item" sh -c "cp -a '$work/src/$item' '$work/out/' && sync -f '$work/out/$item'"))
        peer_peak=$(max "$peer_peak" "$(cat "$work/peak")")
        ours+=($(once "$item" "$cli" copy "$work/src/$item" "$work/out"))
        our_peak=$(max "$our_peak" "$(cat "$work/peak")")
    done
    p=$(median "${peer[@]}")
    o=$(median "${ours[@]}")
    printf '  %-24s %8ss  %8s kB peak\n' "cp -a + sync" "$p" "$peer_peak" "quorvane-cli copy" "$o" "$our_peak"
    echo "  ratio quorvane-cli / (cp -a + sync): $(ratio "$o" "$p")"
done

echo "sparse disk image: 2 GB holding 4 KB ($runs pairs, taking turns)"
truncate -s 2G "$work/src/disk.img"
dd if=/dev/urandom of="$work/src/disk.img" bs=4096 count=1 seek=262144 conv=notrunc status=none
RUNS=$runs pair "quorvane-cli copy" "'$cli' copy '$work/src/disk.img' '$work/out'" \
    "cp -a" "cp -a '$work/src/disk.img' '$work/out/'" "rm -f '$work/out/disk.img'"
rm -f "$work/out/disk.img"
"$cli" copy "$work/src/disk.img" "$work/out" >/dev/null
echo "  blocks used: source $(du -k "$work/src/disk.img" | cut -f1) kB, copy $(du -k "$work/out/disk.img" | cut -f1) kB"
