#!/usr/bin/env python3
"""Write a minimal camera raw file (DNG) without any imaging library.
usage: mkdng.py [--orientation N] [--no-preview] OUT.dng
The raw data is an 80 x 60 RGGB mosaic of 16-bit grey; IFD 0 holds a 40 x 30
uncompressed red RGB preview (left out with --no-preview), as cameras embed one."""
import struct, sys
args = sys.argv[1:]
orientation, preview = 1, True
if "--orientation" in args:
    i = args.index("--orientation"); orientation = int(args[i + 1]); del args[i:i + 2]
if "--no-preview" in args:
    args.remove("--no-preview"); preview = False
out = args[0]
RAW_W, RAW_H, PRE_W, PRE_H = 80, 60, 40, 30
BYTE, ASCII, SHORT, LONG, SRATIONAL = 1, 2, 3, 4, 10
SIZES = {BYTE: 1, ASCII: 1, SHORT: 2, LONG: 4, SRATIONAL: 8}

def pack(kind, values):
    if kind == ASCII: return values.encode() + b"\0"
    if kind == BYTE: return bytes(values)
    if kind == SHORT: return struct.pack(f"<{len(values)}H", *values)
    if kind == LONG: return struct.pack(f"<{len(values)}I", *values)
    return b"".join(struct.pack("<ii", n, d) for n, d in values)

def ifd(entries, at, next_ifd=0):
    """Bytes of an IFD placed at `at`, with out-of-line values right after it."""
    entries = sorted(entries)
    data_at = at + 2 + 12 * len(entries) + 4
    table, data = struct.pack("<H", len(entries)), b""
    for tag, kind, values in entries:
        raw = pack(kind, values)
        count = len(raw) // SIZES[kind]
        if len(raw) <= 4:
            table += struct.pack("<HHI", tag, kind, count) + raw.ljust(4, b"\0")
        else:
            table += struct.pack("<HHII", tag, kind, count, data_at + len(data))
            data += raw + (b"\0" if len(raw) % 2 else b"")
    return table + struct.pack("<I", next_ifd) + data

raw_pixels = struct.pack("<H", 2000) * (RAW_W * RAW_H)
preview_pixels = bytes([220, 20, 20]) * (PRE_W * PRE_H)
# Layout: header, pixel data, then IFD 0 and the raw IFD.
raw_at = 8
preview_at = raw_at + len(raw_pixels)
ifd0_at = preview_at + (len(preview_pixels) if preview else 0)
common = [(271, ASCII, "Quorvane"), (272, ASCII, "Test"), (274, SHORT, [orientation]),
          (50706, BYTE, [1, 4, 0, 0]), (50707, BYTE, [1, 1, 0, 0]),
          (50708, ASCII, "Quorvane Test"),
          (50721, SRATIONAL, [(1, 1), (0, 1), (0, 1), (0, 1), (1, 1), (0, 1), (0, 1), (0, 1), (1, 1)]),
          (50778, SHORT, [21])]
raw_entries = [(254, LONG, [0]), (256, LONG, [RAW_W]), (257, LONG, [RAW_H]), (258, SHORT, [16]),
               (259, SHORT, [1]), (262, SHORT, [32803]), (273, LONG, [raw_at]), (277, SHORT, [1]),
               (278, LONG, [RAW_H]), (279, LONG, [len(raw_pixels)]), (284, SHORT, [1]),
               (33421, SHORT, [2, 2]), (33422, BYTE, [0, 1, 1, 2]), (50717, LONG, [4095])]
if preview:
    first = [(254, LONG, [1]), (256, LONG, [PRE_W]), (257, LONG, [PRE_H]), (258, SHORT, [8, 8, 8]),
             (259, SHORT, [1]), (262, SHORT, [2]), (273, LONG, [preview_at]), (277, SHORT, [3]),
             (278, LONG, [PRE_H]), (279, LONG, [len(preview_pixels)]), (284, SHORT, [1])]
    sub_at = ifd0_at + len(ifd(first + common + [(330, LONG, [0])], ifd0_at))
    ifd0 = ifd(first + common + [(330, LONG, [sub_at])], ifd0_at)
    tail = ifd0 + ifd(raw_entries, sub_at)
else:
    tail = ifd([e for e in raw_entries] + common, ifd0_at)
with open(out, "wb") as f:
    f.write(b"II*\0" + struct.pack("<I", ifd0_at) + raw_pixels + (preview_pixels if preview else b"") + tail)
