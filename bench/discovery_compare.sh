#!/usr/bin/env bash
# bench/discovery_compare.sh [WORKDIR]: library discovery against the same query asked from the shell.
#   quorvane-cli discover other (every indexed item)  vs  tracker3 sparql -q of the earlier query
#   (one DISTINCT query with a folder test per row) and of the provider's own query; the rows
#   of ours and of the earlier query are compared
#   build/bench/discovery_slices: first interim and final snapshot, longest GUI-thread slice
# A private Tracker 3 index (own session bus, HOME and settings) covers only a folder of FILES
# (default 20,000) small text, PNG and JPEG files under WORKDIR (default
# /var/tmp/quorvane-discovery-bench). Folder and index are kept for the next run (FRESH=1
# rebuilds both); the bus and the miners are stopped at the end. Works as root. KINDS lists the
# kinds to time on the GUI thread (default "other"; e.g. "other image"), each but "other" with
# the index's own time for its query.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/quorvane-discovery-bench}
count=${FILES:-20000}
cli=$root/build/cli/quorvane-cli
slices=$root/build/bench/discovery_slices
"$root/scripts/build" "$root/build" >/dev/null
source "$root/bench/timing.sh"

# Both live outside /tmp and $TMPDIR: the miner silently skips folders there.
fixture=$work/files-$count
state=$work/index-$count
[ -z "${FRESH:-}" ] || rm -rf "$fixture" "$state"

if [ ! -e "$fixture/.done" ]; then
    rm -rf "$fixture"
    mkdir -p "$fixture"
    seeds=$work/seeds
    mkdir -p "$seeds"
    ff=(ffmpeg -nostdin -loglevel error -y)
    for n in 0 1 2 3; do
        size=$((48 + n * 16))x$((32 + n * 12))
        "${ff[@]}" -f lavfi -i "testsrc=size=$size:rate=1" -frames:v 1 "$seeds/s$n.png"
        "${ff[@]}" -f lavfi -i "testsrc2=size=$size:rate=1" -frames:v 1 -q:v 5 "$seeds/s$n.jpg"
    done
    # Copies with distinct names over 200 folders; mostly text, a fifth each PNG and JPEG,
    # modification times spread over a year so the newest-first order means something.
    python3 - "$fixture" "$seeds" "$count" <<'PY'
import os, random, sys
top, seeds, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
rng = random.Random(11)
pictures = {ext: [open(f"{seeds}/s{n}.{ext}", "rb").read() for n in range(4)] for ext in ("png", "jpg")}
words = "invoice holiday report budget notes draft letter summary minutes recipe".split()
now = 1_700_000_000
for i in range(count):
    folder = f"{top}/{words[i % 10]}/{i % 200:03}"
    os.makedirs(folder, exist_ok=True)
    r = i % 5
    if r < 3:
        path = f"{folder}/{words[(i // 7) % 10]}-{i}.txt"
        data = (f"{words[i % 10]} {i}\n" + " ".join(rng.choices(words, k=rng.randint(5, 60))) + "\n").encode()
    else:
        ext = "png" if r == 3 else "jpg"
        path = f"{folder}/picture-{i}.{ext}"
        data = pictures[ext][i % 4]
    with open(path, "wb") as out:
        out.write(data)
    t = now - rng.randint(0, 365 * 86400)
    os.utime(path, (t, t))
PY
    touch "$fixture/.done"
fi
echo "fixture: $(find "$fixture" -type f ! -name .done | wc -l) files in $(find "$fixture" -mindepth 1 -type d | wc -l) folders ($fixture)"

mkdir -p "$state"/{home,config/glib-2.0/settings,data,cache,run,tmp}
chmod 700 "$state/run"
export HOME=$state/home XDG_CONFIG_HOME=$state/config XDG_DATA_HOME=$state/data \
    XDG_CACHE_HOME=$state/cache XDG_RUNTIME_DIR=$state/run TMPDIR=$state/tmp GSETTINGS_BACKEND=keyfile
unset DBUS_SESSION_BUS_ADDRESS
cat >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile" <<KF
[org/freedesktop/tracker/miner/files]
index-recursive-directories=['$fixture']
index-single-directories=@as []
initial-sleep=0
index-applications=false
index-removable-devices=false
throttle=0
KF

bus_pid=
service_pids=()
pid_of() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetConnectionUnixProcessID "$1" 2>/dev/null |
        sed -nE 's/.*uint32 ([0-9]+).*/\1/p'
}
teardown() {
    # Ask the miners to stop first so the kept database is closed cleanly, then end the bus.
    if [ -n "$bus_pid" ]; then
        for name in org.freedesktop.Tracker3.Miner.Extract org.freedesktop.Tracker3.Miner.Files; do
            pid=$(pid_of "$name" || true)
            [ -n "$pid" ] && service_pids+=("$pid")
        done
        for pid in "${service_pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
        for _ in $(seq 50); do
            alive=0
            for pid in "${service_pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
            [ $alive = 0 ] && break
            sleep 0.1
        done
        kill -TERM "$bus_pid" 2>/dev/null || true
    fi
    rm -f /tmp/quorvane-discovery.$$.*
}
trap teardown EXIT

dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$state/bus"
for _ in $(seq 50); do [ "$(wc -l <"$state/bus")" -ge 2 ] && break; sleep 0.1; done
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$state/bus")
bus_pid=$(sed -n 2p "$state/bus")

sparql=(tracker3 sparql --dbus-service org.freedesktop.Tracker3.Miner.Files -q)
number() { "${sparql[@]}" "$1" 2>/dev/null | awk 'NR > 1 && $1 ~ /^[0-9]+$/ { print $1; exit }'; }
t0=$(date +%s)
gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.StartServiceByName org.freedesktop.Tracker3.Miner.Files 0 >/dev/null
service_pids+=("$(pid_of org.freedesktop.Tracker3.Miner.Files)")
# Idle means the crawl is complete and every file has been through extraction.
deadline=$((t0 + ${INDEX_TIMEOUT:-1500}))
last_report=$t0
while :; do
    status=$(tracker3 status 2>/dev/null | tail -1 || true)
    files=$(number "SELECT (COUNT(DISTINCT ?f) AS ?n) WHERE { ?f a nfo:FileDataObject }")
    pending=$(number "SELECT (COUNT(DISTINCT ?f) AS ?n) WHERE { ?f a nfo:FileDataObject .
                      FILTER NOT EXISTS { ?f tracker:extractorHash ?h } }")
    case "$status" in
    *"indexing complete"*) [ "${pending:-1}" = 0 ] && [ "${files:-0}" -gt "$count" ] && break ;;
    esac
    now=$(date +%s)
    [ "$now" -ge "$deadline" ] && { echo "index not idle in time ($status, $files objects, $pending to extract)" >&2; exit 1; }
    if [ $((now - last_report)) -ge 15 ]; then
        echo "  indexing: ${files:-0} objects, ${pending:-?} to extract, $((now - t0)) s" >&2
        last_report=$now
    fi
    sleep 1
done
echo "index idle after $(($(date +%s) - t0)) s: $files file objects (files and folders)"
sleep 2

# The query discovery asked before it read in pages: DISTINCT over every graph and a folder
# test per row. Kept here as the yardstick and to prove the rows have not changed.
earlier='SELECT DISTINCT ?url ?size ?mtime ?folder WHERE { ?f a nfo:FileDataObject ; nie:url ?url . OPTIONAL { ?f nfo:fileSize ?size } OPTIONAL { ?f nfo:fileLastModified ?mtime } BIND (EXISTS { ?f nie:interpretedAs ?d . ?d a nfo:Folder } AS ?folder) } ORDER BY DESC(?mtime)'
query=$("$slices" --query other)
ours=/tmp/quorvane-discovery.$$.ours
peer=/tmp/quorvane-discovery.$$.peer
"$cli" discover other --json >"$ours"
"${sparql[@]}" "$earlier" >"$peer"
# Same rows (path, size, date, folder or not) and the same dates in the same order (the order
# among files of one date is the index's own).
python3 - "$ours" "$peer" <<'PY'
import json, sys
ours = [(f["path"], f["size"], f["modified"].replace(".000Z", "Z"), f["isDirectory"])
        for f in json.load(open(sys.argv[1]))["files"]]
peer = []
for line in open(sys.argv[2]):
    if line.startswith("  file://"):
        url, size, mtime, folder = line.strip().rsplit(", ", 3)
        peer.append((url[len("file://"):], int(size), mtime, folder == "true"))
same_rows = sorted(ours) == sorted(peer)
same_order = [r[2] for r in ours] == [r[2] for r in peer]
print(f"  rows: quorvane-cli discover other {len(ours)}, earlier query {len(peer)}; "
      f"{'same rows' if same_rows else 'ROWS DIFFER'}, {'same order' if same_order else 'ORDER DIFFERS'}")
PY

measure "quorvane-cli discover other" "$cli" discover other
ours_time=$MEDIAN
measure "tracker3 sparql (the earlier query)" "${sparql[@]}" "$earlier"
earlier_time=$MEDIAN
measure "tracker3 sparql (the provider's query)" "${sparql[@]}" "$query"
peer_time=$MEDIAN
echo "  ratio ours / tracker3 sparql of the earlier query: $(ratio "$ours_time" "$earlier_time")   (target <= 0.4)"
echo "  ratio ours / tracker3 sparql of the provider's query: $(ratio "$ours_time" "$peer_time")"

for kind in ${KINDS:-other}; do
    if [ "$kind" != other ]; then
        # What the index itself takes to hand over the first rows of the kind's query.
        measure "tracker3 sparql ($kind query, first 64 rows)" "${sparql[@]}" \
            "$("$slices" --query "$kind") LIMIT 64"
        measure "tracker3 sparql ($kind query, all rows)" "${sparql[@]}" "$("$slices" --query "$kind")"
    fi
    echo "discovery on the GUI thread (build/bench/discovery_slices $kind $RUNS; target: first interim <= 150 ms):"
    "$slices" "$kind" "$RUNS"
done
