#!/usr/bin/env python3
"""Writes the small hand-made seeds of fuzz/corpus/3ds: each shows one way a
3DS file is laid out or damaged. Run from anywhere; rewrites the seed_* files."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "3ds")


def chunk(cid, payload=b"", length=None):
    return struct.pack("<HI", cid, length if length is not None else 6 + len(payload)) + payload


def name(text):
    return text.encode() + b"\0"


def vertices(points):
    return chunk(0x4110, struct.pack("<H", len(points)) + b"".join(struct.pack("<3f", *p) for p in points))


def texcoords(pairs):
    return chunk(0x4140, struct.pack("<H", len(pairs)) + b"".join(struct.pack("<2f", *p) for p in pairs))


def group(material, faces):
    return chunk(0x4130, name(material) + struct.pack("<H", len(faces)) + b"".join(struct.pack("<H", f) for f in faces))


def faces(tris, subs=b""):
    return chunk(0x4120, struct.pack("<H", len(tris)) + b"".join(struct.pack("<4H", a, b, c, 0) for a, b, c in tris) + subs)


def material(mname, color=None, floatcolor=None, mapfile=None, mapchunk=0xA200):
    body = chunk(0xA000, name(mname))
    if color:
        body += chunk(0xA020, chunk(0x0011, bytes(color)))
    if floatcolor:
        body += chunk(0xA020, chunk(0x0010, struct.pack("<3f", *floatcolor)))
    if mapfile:
        body += chunk(mapchunk, chunk(0xA300, name(mapfile)))
    return chunk(0xAFFF, body)


def obj(oname, mesh):
    return chunk(0x4000, name(oname) + chunk(0x4100, mesh))


def model(*editor, root=0x4D4D):
    return chunk(root, chunk(0x3D3D, b"".join(editor)))


QUAD = [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)]
TRIS = [(0, 1, 2), (0, 2, 3)]
GOOD = obj("Quad", vertices(QUAD) + texcoords([(0, 0), (1, 0), (1, 1), (0, 1)]) +
           faces(TRIS, group("Red", [0]) + group("Blue", [1])))
MATS = material("Red", color=(255, 0, 0)) + material("Blue", floatcolor=(0.0, 0.0, 1.0), mapfile="BLUE.PNG")

seeds = {
    "seed_two_groups": model(MATS, GOOD),
    "seed_materials_after_objects": model(GOOD, MATS),
    "seed_faces_before_vertices": model(MATS, obj("Quad", faces(TRIS, group("Red", [0, 1])) + vertices(QUAD))),
    "seed_other_root": model(MATS, GOOD, root=0x1234) + b"trailing bytes",
    "seed_two_editors": model(MATS) + model(GOOD)[6:],
    "seed_specular_map": model(material("Spec", mapfile="spec.jpg", mapchunk=0xA030), GOOD),
    "seed_bad_indices": model(MATS, obj("Bad", vertices(QUAD) + faces([(0, 1, 9), (0, 2, 3)], group("Red", [0, 1, 7])))),
    "seed_no_material": model(obj("Lonely", vertices(QUAD) + faces(TRIS, group("Nothing", [0, 1])))),
    "seed_long_name": model(chunk(0x4000, b"N" * 100 + chunk(0x4100, vertices(QUAD)))),
    "seed_short_length": model(MATS, chunk(0x4000, name("x") + chunk(0x4100, b"", length=3))),
    "seed_length_past_parent": model(MATS, obj("Quad", vertices(QUAD) + chunk(0x4120, struct.pack("<H", 2), length=4000))),
    "seed_truncated": model(MATS, GOOD)[:-23],
    "seed_empty_editor": model(),
}

os.makedirs(HERE, exist_ok=True)
for seed, data in seeds.items():
    with open(os.path.join(HERE, seed + ".3ds"), "wb") as out:
        out.write(data)
