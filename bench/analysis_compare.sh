#!/usr/bin/env bash
# bench/analysis_compare.sh [WORKDIR]: the analysis commands against the usual tools, warm cache.
#   duplicates on ~20,000 files / ~1 GB   vs  jdupes -r, rmlint -a sha256 (answers checked with sha256sum)
#   tree on the 300,000-file tree         vs  du -ab
#   large --limit 100 on the same tree    vs  find -printf | sort -n | tail -100
# The duplicate tree is made under WORKDIR (default /var/tmp/quorvane-bench) and removed at
# the end; the 300,000-file tree is bench/compare.sh's and is kept. Run as root: the
# duplicate search runs as "nobody" so the unreadable files really are unreadable.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/quorvane-bench}
cli=$root/build/cli/quorvane-cli
dups=$work/dups
"$root/scripts/build" "$root/build" >/dev/null
source "$root/bench/timing.sh"

# The peers are only needed here, never by Quorvane itself.
for tool in jdupes rmlint; do
    command -v "$tool" >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$tool" >/dev/null
done
[ -e "$work/tree/.done" ] || RUNS=1 "$root/bench/compare.sh" "$work" >/dev/null

# KEEP=1 leaves the duplicate tree for profiling.
trap 'rm -f /tmp/quorvane-analysis.$$.*; [ -n "${KEEP:-}" ] || rm -rf "$dups"' EXIT
rm -rf "$dups"
python3 - "$dups" <<'PY'
import os, random, sys
top = sys.argv[1]
rng = random.Random(7)
os.makedirs(top, exist_ok=True)
os.chmod(top, 0o755)
made = []
def write(path, data, mode=0o644):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)
    os.chmod(path, mode)
    made.append(path)
for i in range(18000):
    r = rng.random()
    size = rng.randint(1, 16000) if r < 0.8 else rng.randint(16000, 300000) if r < 0.995 else rng.randint(2_000_000, 6_000_000)
    if i % 7 == 0:  # many files of one common size that differ only in the middle
        size = 65536
        data = bytearray(b"\0" * size)
        data[30000:30008] = i.to_bytes(8, "little")
        data = bytes(data)
    else:
        data = rng.randbytes(size)
    write(f"{top}/d{i % 100:02}/f{i}.bin", data)
# ~10% duplicates: copies into other folders, hard links, symbolic links.
for n, src in enumerate(rng.sample(made[:18000], 2000)):
    with open(src, "rb") as f:
        data = f.read()
    dest = f"{top}/copies{n % 20:02}/c{n}.bin"
    if n % 10 == 0:
        os.makedirs(os.path.dirname(dest), exist_ok=True)
        os.link(src, dest)
    elif n % 10 == 1:
        os.makedirs(os.path.dirname(dest), exist_ok=True)
        os.symlink(src, dest)
    else:
        write(dest, data)
for n in range(50):
    write(f"{top}/empty/e{n}", b"")
# Two equal files in one folder and a same-size unreadable one elsewhere: the pair must be found.
pair = rng.randbytes(777_777)
write(f"{top}/pair/one", pair)
write(f"{top}/pair/two", pair)
write(f"{top}/locked/three", rng.randbytes(777_777), 0o000)
for n in range(20):
    src = made[n]
    write(f"{top}/locked/u{n}", open(src, "rb").read(), 0o000)
PY
nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
echo "duplicates: $(find "$dups" -type f | wc -l) files, $(du -sh "$dups" | cut -f1)"

# Ground truth: every readable non-empty regular file hashed by sha256sum.
truth=/tmp/quorvane-analysis.$$.truth
"${nobody[@]}" find "$dups" -type f -size +0 -readable -print0 | "${nobody[@]}" xargs -0 sha256sum |
    awk '{ h = $1; $1 = ""; sub(/^ +/, ""); group[h] = group[h] "\t" $0; count[h]++ }
         END { for (h in group) if (count[h] > 1) print group[h] }' |
    python3 -c 'import sys; print("\n".join(sorted("\t".join(sorted(l.strip("\n").strip("\t").split("\t"))) for l in sys.stdin)))' >"$truth"
ours=/tmp/quorvane-analysis.$$.ours
"${nobody[@]}" "$cli" duplicates --json "$dups" |
    python3 -c 'import json, sys; r = json.load(sys.stdin); print("\n".join(sorted("\t".join(sorted(f["path"] for f in g["files"])) for g in r["groups"]))); print("skipped", r["skipped"], file=sys.stderr)' >"$ours"
if cmp -s "$truth" "$ours"; then
    echo "  groups equal to sha256sum ground truth: yes ($(wc -l <"$truth") groups)"
else
    echo "  groups equal to sha256sum ground truth: NO"; diff "$truth" "$ours" | head -20
fi
grep -q "$dups/pair/one" "$ours" && echo "  pair next to an unreadable same-size file: found"

measure "quorvane-cli duplicates" "${nobody[@]}" "$cli" duplicates "$dups"; ours_time=$MEDIAN
measure "jdupes -r" "${nobody[@]}" jdupes -r -q "$dups"; jdupes_time=$MEDIAN
measure "rmlint -a sha256" "${nobody[@]}" rmlint -a sha256 -o summary:/dev/null -T df "$dups"; rmlint_time=$MEDIAN
echo "  ratio / jdupes -r: $(ratio "$ours_time" "$jdupes_time")   ratio / rmlint: $(ratio "$ours_time" "$rmlint_time")"
"${nobody[@]}" jdupes -r -q "$dups" 2>/dev/null | grep -q "$dups/pair/one" && j=found || j=missed
echo "  jdupes on the pair next to an unreadable file: $j"

echo "tree and large: 300,000 files in 20,000 folders"
measure "du -ab" du -ab "$work/tree"; du_time=$MEDIAN
measure "quorvane-cli tree" "$cli" tree "$work/tree"; tree_time=$MEDIAN; tree_peak=$PEAK
echo "  ratio tree / du -ab: $(ratio "$tree_time" "$du_time")"
echo "  tree peak memory: $(awk -v t="$tree_peak" 'BEGIN { printf "%.0f", t * 1024 / 300000 }') bytes per file, all in (build/bench/storage_tree_bench gives the growth over the entries)"
measure "find -printf | sort -n | tail -100" bash -c "find '$work/tree' -type f -printf '%s %p\n' | sort -n | tail -100"
find_time=$MEDIAN
measure "quorvane-cli large --limit 100" "$cli" large "$work/tree" --limit 100; large_time=$MEDIAN
echo "  ratio large / find: $(ratio "$large_time" "$find_time")"
