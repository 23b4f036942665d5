#!/usr/bin/env bash
# bench/thumbnail_compare.sh [WORKDIR]: thumbnails at edge 256 of 1,000 12-megapixel JPEGs
# and 100 five-second 720p H.264 clips, warm cache.
#   ours: build/bench/thumbnail_throughput over the whole folder, one process, the
#         application's ThumbnailStore with its four generations at a time
#   peer: ffmpegthumbnailer -s 256 -i FILE -o OUT.png once per file, four at a time
#         (xargs -P4) and, unless SEQUENTIAL=0, one after another
# The files are made once under WORKDIR (default /var/tmp/quorvane-thumb-compare) and kept.
# RUNS (default 3) counted runs of ours after a warm-up. The peer takes minutes a run on
# two cores, so PEER_RUNS (default 1) counted runs each way and no warm-up of its own:
# ours has just read the very same files, so the cache is warm for it too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/var/tmp/quorvane-thumb-compare}
build=$root/build
files=$work/files
RUNS=${RUNS:-3}
PEER_RUNS=${PEER_RUNS:-1}
source "$root/bench/timing.sh"

# The peer is only needed here, never by Quorvane itself, and is not installed for you.
if ! command -v ffmpegthumbnailer >/dev/null; then
    echo "ffmpegthumbnailer is missing; it is a bench-only peer tool:" >&2
    echo "  apt-get install -y --no-install-recommends ffmpegthumbnailer" >&2
    exit 1
fi
command -v ffmpeg >/dev/null || { echo "ffmpeg is needed to make the files" >&2; exit 1; }

[ -f "$build/build.ninja" ] ||
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
# Two cores shared with other builds.
cmake --build "$build" -j2 --target thumbnail_throughput >/dev/null
ours=$build/bench/thumbnail_throughput

if [ ! -e "$work/.done" ]; then
    echo "making the files under $work (once)"
    rm -rf "$work"
    mkdir -p "$work/masters" "$files"
    ffq=(ffmpeg -nostdin -loglevel error -y -f lavfi)
    # Twenty distinct photo-like pictures: fractals and test charts, upscaled and
    # with grain, so that they are as big as camera JPEGs (2-4 MB at 12 MP).
    for i in $(seq 0 19); do
        if [ $((i % 2)) -eq 0 ]; then
            x=$(awk -v i="$i" 'BEGIN { printf "%.4f", -0.75 + 0.01 * i }')
            y=$(awk -v i="$i" 'BEGIN { printf "%.4f", 0.05 + 0.01 * i }')
            src="mandelbrot=s=2000x1500:maxiter=250:start_scale=$((i / 2 + 1)).0e-1:start_x=$x:start_y=$y"
            src+=",scale=4000:3000:flags=bicubic,noise=alls=28:allf=t+u"
        else
            src="testsrc2=s=1000x750:r=1:d=30,trim=start=$i,setpts=PTS-STARTPTS"
            src+=",scale=4000:3000:flags=bicubic,hue=h=$((i * 17)),noise=alls=26:allf=t+u"
        fi
        "${ffq[@]}" -i "$src" -frames:v 1 -pix_fmt yuvj420p -q:v 3 "$work/masters/photo$i.jpg"
    done
    # 1,000 names from the twenty: copying is fine, since nothing caches by content,
    # and a comment segment after the start marker still makes every file distinct.
    python3 - "$work/masters" "$files" <<'PY'
import struct, sys
masters, out = sys.argv[1], sys.argv[2]
data = [open(f"{masters}/photo{i}.jpg", "rb").read() for i in range(20)]
for n in range(1000):
    jpeg = data[n % 20]
    assert jpeg[:2] == b"\xff\xd8"
    text = f"quorvane fixture {n:04}".encode()
    with open(f"{out}/photo{n:04}.jpg", "wb") as f:
        f.write(jpeg[:2] + b"\xff\xfe" + struct.pack(">H", len(text) + 2) + text + jpeg[2:])
PY
    # 100 distinct clips, two encodes at a time on the two cores.
    seq 0 99 | xargs -P2 -I{} sh -c '
        n=$1; h=$((n * 37 % 360))
        ffmpeg -nostdin -loglevel error -y -f lavfi \
            -i "testsrc2=s=1280x720:r=30:d=5,hue=h=$h,noise=alls=6:allf=t+u" \
            -c:v libx264 -preset veryfast -pix_fmt yuv420p -threads 1 \
            "$2/clip$(printf %03d "$n").mp4"' _ {} "$files"
    touch "$work/.done"
fi

pictures=$(find "$files" -name '*.jpg' | wc -l)
videos=$(find "$files" -name '*.mp4' | wc -l)
total=$((pictures + videos))
echo "thumbnails at edge 256: $pictures JPEGs of 4000x3000 ($(du -shc "$files"/*.jpg | tail -1 | cut -f1)), $videos clips of 1280x720 5 s"

# Ours once in the open: its own count of failures and sizes, and its own timing.
echo "ours, one run:"
"$ours" "$files" | sed 's/^/  /' || echo "  SOME FILES FAILED"

list=$work/list
(cd "$files" && ls) >"$list"
out=$(mktemp -d /tmp/quorvane-thumb-peer.XXXXXX)
trap 'rm -rf "$out" /tmp/quorvane-bench-time.$$' EXIT

# The peer's output, checked after its runs: one PNG per file, none above 256.
check_peer() {
    python3 - "$out" "$list" <<'PY'
import os, struct, sys
out, names = sys.argv[1], open(sys.argv[2]).read().split()
missing = oversized = 0
for name in names:
    try:
        with open(f"{out}/{name}.png", "rb") as f:
            head = f.read(24)
        w, h = struct.unpack(">II", head[16:24])
        oversized += max(w, h) > 256
    except (OSError, struct.error):
        missing += 1
print(f"  peer output: {len(names) - missing} of {len(names)} thumbnails, missing {missing}, larger than 256: {oversized}")
PY
}

# Like measure, but without the warm-up run.
timed() {
    local runs=$1 name=$2 times=() peak=0 t0 t1 mem
    shift 2
    for _ in $(seq "$runs"); do
        t0=$(date +%s%N)
        /usr/bin/time -o /tmp/quorvane-bench-time.$$ -f '%M' "$@" >/dev/null 2>&1 || true
        t1=$(date +%s%N)
        mem=$(tail -1 /tmp/quorvane-bench-time.$$)
        times+=($(((t1 - t0) / 1000)))
        [ "${mem:-0}" -gt "$peak" ] && peak=$mem
    done
    MEDIAN=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]/1e6}')
    PEAK=$peak
    printf '  %-44s %8ss  %8s kB peak  (median of %s)\n' "$name" "$MEDIAN" "$PEAK" "$runs"
}
rate() { awk -v n="$total" -v t="$1" 'BEGIN { printf "%.1f", (t > 0 ? n / t : 0) }'; }

echo "wall seconds of one process over all $total files (peak memory: largest single process):"
measure "quorvane thumbnail_throughput (store, 4 at once)" "$ours" "$files"
ours_time=$MEDIAN
ours_peak=$PEAK
echo "  (median of $RUNS after a warm-up; $(rate "$ours_time") files/s)"
timed "$PEER_RUNS" "ffmpegthumbnailer -s 256 per file, xargs -P4" \
    xargs -a "$list" -P4 -I{} ffmpegthumbnailer -s 256 -i "$files/{}" -o "$out/{}.png"
peer4_time=$MEDIAN
peer4_peak=$PEAK
check_peer
echo "  peer -P4 $(rate "$peer4_time") files/s; ratio peer / ours: $(ratio "$peer4_time" "$ours_time")x (target 2x)"

if [ "${SEQUENTIAL:-1}" != 0 ]; then
    rm -rf "${out:?}"/*
    timed "$PEER_RUNS" "ffmpegthumbnailer -s 256 per file, one by one" \
        xargs -a "$list" -I{} ffmpegthumbnailer -s 256 -i "$files/{}" -o "$out/{}.png"
    seq_time=$MEDIAN
    check_peer
    echo "  peer sequential $(rate "$seq_time") files/s; ratio peer / ours: $(ratio "$seq_time" "$ours_time")x"
fi

# One process of the peer for each kind of file, for its memory per process.
for sample in "$files/photo0000.jpg" "$files/clip000.mp4"; do
    /usr/bin/time -o /tmp/quorvane-bench-time.$$ -f '%M' \
        ffmpegthumbnailer -s 256 -i "$sample" -o "$out/sample.png" >/dev/null 2>&1 || true
    echo "  peer peak memory for $(basename "$sample"): $(tail -1 /tmp/quorvane-bench-time.$$) kB"
done
echo "  ours peak memory, whole run of $total files: $ours_peak kB; peer -P4 largest process: $peer4_peak kB"
