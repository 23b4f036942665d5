#!/usr/bin/env bash
# bench/metadata_compare.sh [WORKDIR]: media properties of 1,000 JPEGs and 100 short videos,
#   quorvane-cli meta FILE... (one process)  vs  ffprobe -v error -show_streams FILE, once per file.
# The files are made once under WORKDIR (default /var/tmp/quorvane-meta-bench) and kept.
# Before timing, every size and duration is checked against ffprobe's own figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/quorvane-meta-bench}
cli=$root/build/cli/quorvane-cli
"$root/scripts/build" "$root/build" >/dev/null
source "$root/bench/timing.sh"
trap 'rm -f /tmp/quorvane-meta.$$.*' EXIT

media=$work/media
if [ ! -e "$media/.done" ]; then
    rm -rf "$media"
    mkdir -p "$media/seeds"
    ff=(ffmpeg -nostdin -loglevel error -y)
    # Ten different pictures from 320x240 to 2048x1536, copied under distinct names.
    sizes=(320x240 480x360 640x480 800x600 1024x768 1280x720 1280x960 1600x1200 1920x1080 2048x1536)
    for n in "${!sizes[@]}"; do
        "${ff[@]}" -f lavfi -i "testsrc2=size=${sizes[$n]}:rate=1" -frames:v 1 -q:v 4 "$media/seeds/p$n.jpg"
    done
    for i in $(seq 0 999); do
        mkdir -p "$media/photos/$((i % 10))"
        cp "$media/seeds/p$((i % 10)).jpg" "$media/photos/$((i % 10))/photo-$i.jpg"
    done
    # 100 videos of 1 to 2 s in a few sizes; every tenth one is turned by a display matrix,
    # which needs a stream copy (the tag is dropped when re-encoding).
    mkdir -p "$media/videos"
    vsizes=(320x240 480x270 640x360 256x144)
    for i in $(seq 0 99); do
        duration=$(awk -v i="$i" 'BEGIN { printf "%.1f", 1 + (i % 11) / 10 }')
        out=$media/videos/clip-$i.mp4
        [ $((i % 10)) = 3 ] && out=$media/seeds/plain-$i.mp4
        "${ff[@]}" -f lavfi -i "testsrc=size=${vsizes[$((i % 4))]}:rate=25:duration=$duration" \
            -f lavfi -i "sine=frequency=$((300 + i * 7)):duration=$duration" \
            -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$out"
        if [ $((i % 10)) = 3 ]; then
            "${ff[@]}" -i "$out" -c copy -metadata:s:v:0 rotate=$((i % 20 == 3 ? 270 : 90)) \
                "$media/videos/turned-$i.mp4"
        fi
    done
    touch "$media/.done"
fi
list=/tmp/quorvane-meta.$$.list
find "$media/photos" "$media/videos" -type f | sort >"$list"
mapfile -t files <"$list"
echo "media: ${#files[@]} files ($(find "$media/photos" -type f | wc -l) JPEGs, $(find "$media/videos" -type f | wc -l) videos) in $media"

# What ffprobe says: displayed size (a quarter turn swaps it) and the container's duration.
truth=/tmp/quorvane-meta.$$.truth
for f in "${files[@]}"; do
    ffprobe -v error -select_streams v:0 -show_entries stream=width,height:stream_side_data=rotation:format=duration \
        -of json "$f" | python3 -c '
import json, sys
path = sys.argv[1]
r = json.load(sys.stdin)
s = r["streams"][0]
w, h = s["width"], s["height"]
turn = [d.get("rotation", 0) for d in s.get("side_data_list", [])]
if turn and abs(int(turn[0])) % 180 == 90:
    w, h = h, w
d = r.get("format", {}).get("duration")
d = "-" if path.endswith(".jpg") or d is None else "%.2f" % float(d)
print(path, w, h, d, sep="\t")' "$f"
done >"$truth"
ours=/tmp/quorvane-meta.$$.ours
"$cli" meta --json "${files[@]}" | python3 -c '
import json, sys
for item in json.load(sys.stdin)["items"]:
    d = item.get("duration")
    print(item["path"], item["width"], item["height"], "-" if d is None else "%.2f" % d, sep="\t")' >"$ours"
echo "  rows: quorvane-cli meta $(wc -l <"$ours"), ffprobe $(wc -l <"$truth")"
if cmp -s "$truth" "$ours"; then
    echo "  sizes and durations equal to ffprobe's: yes ($(grep -c turned "$ours") turned videos among them)"
else
    echo "  sizes and durations equal to ffprobe's: NO"
    diff "$truth" "$ours" | head -10
fi

measure "quorvane-cli meta (one process, ${#files[@]} files)" "$cli" meta "${files[@]}"
ours_time=$MEDIAN
RUNS=${PEER_RUNS:-3} measure "ffprobe -show_streams (once per file)" \
    bash -c 'while IFS= read -r f; do ffprobe -v error -show_streams "$f"; done <"$1"' - "$list"
peer_time=$MEDIAN
echo "  ffprobe / ours: $(ratio "$peer_time" "$ours_time")x   (target >= 5x)"
