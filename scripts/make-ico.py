#!/usr/bin/env python3
"""Packs PNG frames into a Windows .ico with exact colour depths.

Usage: make-ico.py OUT.ico FRAME_<bpp>.png ...   (bpp = 4, 8 or 32, from the
file name's last "_N" part). Pixels come from ImageMagick (/usr/bin/convert);
4 and 8 bpp frames must already hold at most 16 / 256 colours (alpha below
128 is transparent and goes into the AND mask)."""
import struct
import subprocess
import sys

IM = "/usr/bin/convert"


def pixels(path):
    size = subprocess.run([IM, path, "-format", "%w %h", "info:"], check=True,
                          capture_output=True, text=True).stdout.split()
    w, h = int(size[0]), int(size[1])
    raw = subprocess.run([IM, path, "-depth", "8", "rgba:-"], check=True,
                         capture_output=True).stdout
    return w, h, [raw[i:i + 4] for i in range(0, len(raw), 4)]


def row_pad(n):
    return (4 - n % 4) % 4


def frame(path):
    bpp = int(path.rsplit("_", 1)[1].split(".")[0])
    w, h, px = pixels(path)
    opaque = [p[3] >= 128 for p in px]
    if bpp == 32:
        palette = []
        rows = []
        for y in range(h - 1, -1, -1):
            rows.append(b"".join(bytes((p[2], p[1], p[0], p[3])) for p in px[y * w:(y + 1) * w]))
        xor = b"".join(rows)
    else:
        limit = 1 << bpp
        palette = []
        index = {}
        for p, o in zip(px, opaque):
            c = bytes(p[:3]) if o else b"\0\0\0"
            if c not in index:
                index[c] = len(palette)
                palette.append(c)
        if len(palette) > limit:
            sys.exit(f"{path}: {len(palette)} colours do not fit {bpp} bpp")
        palette += [b"\0\0\0"] * (limit - len(palette))
        rows = []
        for y in range(h - 1, -1, -1):
            idx = [index[bytes(px[y * w + x][:3]) if opaque[y * w + x] else b"\0\0\0"] for x in range(w)]
            if bpp == 8:
                data = bytes(idx)
            else:
                data = bytes((idx[x] << 4) | (idx[x + 1] if x + 1 < w else 0) for x in range(0, w, 2))
            rows.append(data + b"\0" * row_pad(len(data)))
        xor = b"".join(rows)
    mask_rows = []
    for y in range(h - 1, -1, -1):
        bits = bytearray((w + 7) // 8)
        for x in range(w):
            if not opaque[y * w + x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(bits) + b"\0" * row_pad(len(bits)))
    pal = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0,
                         len(xor) + len(b"".join(mask_rows)), 0, 0,
                         len(palette), 0)
    return w, h, bpp, len(palette), header + pal + xor + b"".join(mask_rows)


def main():
    out, files = sys.argv[1], sys.argv[2:]
    frames = [frame(f) for f in files]
    offset = 6 + 16 * len(frames)
    head = struct.pack("<HHH", 0, 1, len(frames))
    body = b""
    for w, h, bpp, colours, data in frames:
        head += struct.pack("<BBBBHHII", w % 256, h % 256, colours % 256, 0, 1, bpp,
                            len(data), offset + len(body))
        body += data
    with open(out, "wb") as f:
        f.write(head + body)


main()
