#!/usr/bin/env bash
# bench/scale_compare.sh [WORKDIR]: how the cost of the command line grows with the work, warm
# cache, each job taking turns with a usual tool (medians of RUNS pairs, default 3):
#   trees of 100,000, 300,000 and 1,000,000 small files, 15 to a folder
#     scan                   vs  du -sb
#     tree                   vs  du -ab
#     duplicates             vs  jdupes -r (du -ab when jdupes is missing)
#     large --limit 100      vs  find -printf | sort -n | tail -100
#   one folder of 1,000,000 entries
#     list                   vs  ls -f | head (first screen) and ls -f (all of it)
# Then the growth from 300,000 to 1,000,000 files against a straight line (10/3) and the peak
# memory per file. SIZES and JOBS narrow the run ("300000 1000000", "scan tree"); BUSY=1 keeps
# one core busy with a shell loop throughout, as when another program is working. The trees
# are made under WORKDIR (default /var/tmp/quorvane-scale) and removed at the end; KEEP=1
# keeps them for the next run or a profiler.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/quorvane-scale}
# CLI names another build of the command line, say one from before a change.
cli=${CLI:-$root/build/cli/quorvane-cli}
sizes=${SIZES:-100000 300000 1000000}
jobs=${JOBS:-scan tree duplicates large list}
export RUNS=${RUNS:-3}
[ -n "${CLI:-}" ] || "$root/scripts/build" "$root/build" >/dev/null
source "$root/bench/timing.sh"
hog=
trap '[ -z "$hog" ] || kill "$hog"; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

# Room for the largest tree: about 4 GB of blocks and 2.1 million inodes.
avail_kb=$(df -Pk "$(dirname "$work")" | awk 'NR == 2 { print $4 }')
[ "$avail_kb" -gt 6000000 ] || { echo "need 6 GB free under $(dirname "$work")" >&2; exit 1; }

# make_tree N: N files, 15 to a folder, 200 folders to a group; every 100th file repeats the
# one before, so the duplicate search has real groups among many same-size strangers.
make_tree() {
    python3 - "$work/tree$1" "$1" <<'PY'
import os, sys
top, count = sys.argv[1], int(sys.argv[2])
if os.path.exists(os.path.join(top, ".done")):
    sys.exit(0)
flags = os.O_WRONLY | os.O_CREAT | os.O_TRUNC
previous = b""
for i in range(count):
    d, f = divmod(i, 15)
    if f == 0:
        folder = os.path.join(top, f"d{d // 200:04}", f"sub{d:06}")
        os.makedirs(folder, exist_ok=True)
    size = i * 37 % 4000
    data = previous if i % 100 == 1 else (i.to_bytes(8, "little") * (size // 8 + 1))[:size]
    fd = os.open(os.path.join(folder, f"file{f}.{('jpg', 'txt', 'mp3', 'pdf', 'bin')[f % 5]}"), flags)
    os.write(fd, data)
    os.close(fd)
    previous = data
open(os.path.join(top, ".done"), "w").close()
PY
}

make_flat() {
    python3 - "$work/flat" <<'PY'
import os, sys
top = sys.argv[1]
if os.path.exists(os.path.join(top, ".done")):
    sys.exit(0)
os.makedirs(top, exist_ok=True)
for i in range(1_000_000):
    os.close(os.open(os.path.join(top, f"Entry {i}.dat"), os.O_WRONLY | os.O_CREAT))
open(os.path.join(top, ".done"), "w").close()
PY
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ -n "${BUSY:-}" ]; then
    (exec sh -c 'while :; do :; done') &
    hog=$!
    echo "one core kept busy"
fi

has_job() { [[ " $jobs " == *" $1 "* ]]; }
per_file() { awk -v p="$1" -v n="$2" 'BEGIN { printf "%.0f", p * 1024 / n }'; }
declare -A took peak_of

for n in $sizes; do
    echo "tree of $n files ($((n / 15)) folders)"
    make_tree "$n"
    t=$work/tree$n
    if has_job scan; then
        pair "quorvane-cli scan" "'$cli' scan '$t'" "du -sb" "du -sb '$t'"
        took[scan$n]=$PAIR_WALL_A peak_of[scan$n]=$PAIR_PEAK_A
        echo "  scan peak memory: $(per_file "$PAIR_PEAK_A" "$n") bytes per file, entries included"
    fi
    if has_job tree; then
        pair "quorvane-cli tree" "'$cli' tree '$t'" "du -ab" "du -ab '$t'"
        took[tree$n]=$PAIR_WALL_A peak_of[tree$n]=$PAIR_PEAK_A
        echo "  tree peak memory: $(per_file "$PAIR_PEAK_A" "$n") bytes per file"
    fi
    if has_job duplicates; then
        if command -v jdupes >/dev/null; then
            pair "quorvane-cli duplicates" "'$cli' duplicates '$t'" "jdupes -r" "jdupes -r -q '$t'"
        else
            pair "quorvane-cli duplicates" "'$cli' duplicates '$t'" "du -ab" "du -ab '$t'"
        fi
        took[duplicates$n]=$PAIR_WALL_A peak_of[duplicates$n]=$PAIR_PEAK_A
    fi
    if has_job large; then
        pair "quorvane-cli large --limit 100" "'$cli' large '$t' --limit 100" \
            "find -printf | sort -n | tail -100" "find '$t' -type f -printf '%s %p\n' | sort -n | tail -100"
        took[large$n]=$PAIR_WALL_A peak_of[large$n]=$PAIR_PEAK_A
    fi
    [ -n "${KEEP:-}" ] || [ "$n" = 1000000 ] || rm -rf "$t"
done

if has_job list; then
    echo "one folder of 1,000,000 entries"
    make_flat
    pair "quorvane-cli list" "'$cli' list '$work/flat'" "ls -f | head" "ls -f '$work/flat' | head -50"
    pair "quorvane-cli list" "'$cli' list '$work/flat'" "ls -f" "ls -f '$work/flat'"
    echo "  list peak memory: $(per_file "$PAIR_PEAK_A" 1000000) bytes per entry"
fi

if [[ " $sizes " == *" 300000 "* && " $sizes " == *" 1000000 "* ]]; then
    echo "growth from 300,000 to 1,000,000 files (1.00 is a straight line)"
    for job in scan tree duplicates large; do
        [ -n "${took[${job}300000]+x}" ] || continue
        printf '  %-12s time %s   peak memory %s\n' "$job" \
            "$(awk -v a="${took[${job}1000000]}" -v b="${took[${job}300000]}" 'BEGIN { printf "%.2f", a / (b * 10 / 3) }')" \
            "$(awk -v a="${peak_of[${job}1000000]}" -v b="${peak_of[${job}300000]}" 'BEGIN { printf "%.2f", a / (b * 10 / 3) }')"
    done
fi
