#!/usr/bin/env python3
"""bench/duplicates_data.py DIR [SCALE]: the duplicate benchmark's tree, made once.

At SCALE 1: 20,000 files, about 5 GB, 1,200 groups of 2 to 4 equal files (sizes 4 KB to
8 MB, some hard-linked), 17,000 other files (100 B to 1 MB), 300 of which share one size
and their first and last 4 KiB and differ only in the middle."""
import math, os, random, sys

top = sys.argv[1]
scale = float(sys.argv[2]) if len(sys.argv) > 2 else 1.0
done = os.path.join(top, ".done")
if os.path.exists(done):
    sys.exit(0)
rng = random.Random(22)


def log_uniform(low, high):
    return int(math.exp(rng.uniform(math.log(low), math.log(high))))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


groups = int(1200 * scale)
members = 0
for g in range(groups):
    data = rng.randbytes(log_uniform(4096, 8 << 20))
    count = rng.choice((2, 2, 2, 3, 4))
    first = f"{top}/g{g % 50:02}/a{g}.bin"
    write(first, data)
    for m in range(1, count):
        path = f"{top}/copies{(g + m) % 40:02}/c{g}_{m}.bin"
        if g % 25 == 0 and m == 1:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            os.link(first, path)
        else:
            write(path, data)
    members += count
edges = bytes(4096)
decoys = int(300 * scale)
for n in range(decoys):
    middle = rng.randbytes(1 << 20)
    write(f"{top}/decoys/d{n}.bin", edges + middle[4096:-4096] + edges)
for n in range(int(20000 * scale) - members - decoys):
    write(f"{top}/u{n % 200:03}/u{n}.bin", rng.randbytes(log_uniform(100, 1 << 20)))
open(done, "w").close()
