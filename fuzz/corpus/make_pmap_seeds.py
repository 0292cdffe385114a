#!/usr/bin/env python3
"""Writes the seeds of fuzz/corpus/pmap: a whole pmap block of the octahedron
with vertices at +/-1 on each axis (the mesh fuzz_pmap.cpp checks against),
and a few damaged copies. Run from anywhere; rewrites the seed_* files."""
import math
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pmap")
FNV_OFFSET, FNV_PRIME, MASK = 14695981039346656037, 1099511628211, (1 << 64) - 1


def fnv1a(data, h=FNV_OFFSET):
    for b in data:
        h = ((h ^ b) * FNV_PRIME) & MASK
    return h


def octahedron():
    points = [(-1, 0, 0), (1, 0, 0), (0, -1, 0), (0, 1, 0), (0, 0, -1), (0, 0, 1)]
    triangles = [(x, y, z) for x in (0, 1) for y in (2, 3) for z in (4, 5)]
    return points, triangles


def fingerprint(points, triangles):
    data = struct.pack("<II", len(points), len(triangles))
    data += b"".join(struct.pack("<3f", *p) for p in points)
    data += b"".join(struct.pack("<3I", *t) for t in triangles)
    return fnv1a(data)


def seal(block):
    checksum = fnv1a(block[52:], fnv1a(block[:44]))
    return block[:44] + struct.pack("<Q", checksum) + block[52:]


def block(resolution, lo, hi, solid, fp, version=1):
    cells = resolution ** 3
    bits = bytearray((cells + 7) // 8)
    size = (hi - lo) / resolution
    for i in range(cells):
        x, y, z = i % resolution, i // resolution % resolution, i // resolution ** 2
        centre = [lo + size * (k + 0.5) for k in (x, y, z)]
        if solid(centre):
            bits[i // 8] |= 1 << (i % 8)
    header = b"VPMP" + struct.pack("<II6fQQ", version, resolution, lo, lo, lo, hi, hi, hi, fp, 0)
    return seal(header + bytes(bits))


def main():
    os.makedirs(HERE, exist_ok=True)
    fp = fingerprint(*octahedron())
    inside = lambda c: sum(abs(v) for v in c) < 1
    good = block(5, -1.2, 1.2, inside, fp)  # 125 cells: 3 padding bits
    seeds = {
        "seed_valid": good,
        "seed_resolution_1": block(1, -1.2, 1.2, inside, fp),
        "seed_truncated": good[:60],
        "seed_trailing": good + b"\0",
        "seed_flipped_body": good[:60] + bytes([good[60] ^ 0x10]) + good[61:],
        "seed_version_2": block(5, -1.2, 1.2, inside, fp, version=2),
        "seed_nan_bound": seal(good[:12] + struct.pack("<f", math.nan) + good[16:]),
        "seed_padding_bit": seal(good[:-1] + bytes([good[-1] | 0x80])),
        "seed_other_mesh": block(5, -1.2, 1.2, inside, fp ^ 1),
        "seed_resolution_1024": seal(good[:8] + struct.pack("<I", 1024) + good[12:]),
    }
    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
