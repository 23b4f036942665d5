#!/usr/bin/env bash
# bench/duplicates_compare.sh [WORKDIR]: duplicates on 20,000 files / ~5 GB with 1,200 groups
# against jdupes -r and rmlint -a sha256, page cache warm, the two taking turns.
# SCALE=0.5 halves the tree (files, groups and bytes). The tree (bench/duplicates_data.py)
# is kept under WORKDIR (default /var/tmp/quorvane-dups-bench) for the next run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/quorvane-dups-bench}
tree=$work/tree-${SCALE:-1}
cli=${CLI:-$root/build/cli/quorvane-cli}
source "$root/bench/timing.sh"

# The peers are only needed here, never by Quorvane itself.
for tool in jdupes rmlint; do
    command -v "$tool" >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$tool" >/dev/null
done
python3 "$root/bench/duplicates_data.py" "$tree" "${SCALE:-1}"
echo "duplicates: $(find "$tree" -type f ! -name .done | wc -l) files, $(du -sh "$tree" | cut -f1)"
find "$tree" -type f -print0 | xargs -0 cat >/dev/null # warm cache

# The answer first: the same groups as sha256sum over every file.
truth=$(mktemp) ours=$(mktemp)
trap 'rm -f "$truth" "$ours"' EXIT
find "$tree" -type f -size +0 ! -name .done -print0 | xargs -0 sha256sum |
    awk '{ h = $1; $1 = ""; sub(/^ +/, ""); g[h] = g[h] "\t" $0; n[h]++ } END { for (h in g) if (n[h] > 1) print g[h] }' |
    python3 -c 'import sys; print("\n".join(sorted("\t".join(sorted(l.strip("\n").strip("\t").split("\t"))) for l in sys.stdin)))' >"$truth"
"$cli" duplicates --json "$tree" |
    python3 -c 'import json, sys; r = json.load(sys.stdin); print("\n".join(sorted("\t".join(sorted(f["path"] for f in g["files"])) for g in r["groups"])))' >"$ours"
if cmp -s "$truth" "$ours"; then
    echo "  groups equal to sha256sum's: yes ($(wc -l <"$truth") groups)"
else
    echo "  groups equal to sha256sum's: NO"
    diff "$truth" "$ours" | head -5
fi

pair "quorvane-cli duplicates" "'$cli' duplicates '$tree'" "jdupes -r" "jdupes -r -q '$tree'"
pair "quorvane-cli duplicates" "'$cli' duplicates '$tree'" "rmlint -a sha256" \
    "rmlint -a sha256 -o summary:/dev/null -T df '$tree'"
