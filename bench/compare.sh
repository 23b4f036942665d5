#!/usr/bin/env bash
# bench/compare.sh [WORKDIR]: listing and scanning against the usual tools, warm cache.
#   scan of 300,000 small files in 20,000 folders   vs  du -sb
#   list of one folder of 50,000 entries            vs  ls -l
# Builds the trees once under WORKDIR (default /var/tmp/quorvane-bench) and keeps them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/quorvane-bench}
cli=$root/build/cli/quorvane-cli
"$root/scripts/build" "$root/build" >/dev/null
source "$root/bench/timing.sh"

make_trees() {
    python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
tree = os.path.join(work, "tree")
if not os.path.exists(os.path.join(tree, ".done")):
    for d in range(20000):
        folder = os.path.join(tree, f"d{d // 200:03}", f"sub{d:05}")
        os.makedirs(folder, exist_ok=True)
        for f in range(15):
            ext = ("jpg", "txt", "mp3", "pdf", "bin")[f % 5]
            with open(os.path.join(folder, f"file{f}.{ext}"), "wb") as out:
                out.write(b"x" * (f * 37 % 4000))
    open(os.path.join(tree, ".done"), "w").close()
big = os.path.join(work, "big")
if not os.path.exists(os.path.join(big, ".done")):
    os.makedirs(big, exist_ok=True)
    for i in range(50000):
        open(os.path.join(big, f"Entry {i}.dat"), "wb").close()
    open(os.path.join(big, ".done"), "w").close()
PY
}

make_trees
echo "scan: 300,000 files in 20,000 folders"
measure "du -sb" du -sb "$work/tree"; du_time=$MEDIAN
measure "quorvane-cli scan" "$cli" scan "$work/tree"; scan_time=$MEDIAN; scan_peak=$PEAK
measure "quorvane-cli scan --json" "$cli" scan --json "$work/tree"
echo "  ratio scan / du -sb: $(ratio "$scan_time" "$du_time")"
echo "  peak memory per file: $(awk -v p="$scan_peak" 'BEGIN { printf "%.0f", p * 1024 / 300000 }') bytes (entries included)"

echo "list: one folder of 50,000 entries"
measure "ls -l" ls -l "$work/big"; ls_time=$MEDIAN
measure "quorvane-cli list" "$cli" list "$work/big"; list_time=$MEDIAN
echo "  ratio list / ls -l: $(ratio "$list_time" "$ls_time")"
