#!/usr/bin/env python3
"""Draws every model of the demo scenario into one contact sheet (PNG), as a quick look without the game.

    python3 tools/scenario_gen/preview.py OUT.png

Faces are read the way the game's model reader reads them (reversed, normal
from the first three corners) and back faces are culled, so a face listed
the wrong way round shows as a hole.
"""

import math
import os
import re
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from common import MODELS  # noqa: E402
from imaging import png, read_bmp24  # noqa: E402
from units import AIRCRAFT, SHIP_CLASSES  # noqa: E402

CELL_W, CELL_H = 220, 150


def average_colour(path):
    data = open(path, "rb").read()
    if path.lower().endswith(".bmp"):
        w, h, rgb = read_bmp24(data)
    else:
        w, h = struct.unpack(">II", data[16:24])
        raw = bytearray()
        pos = 8
        while pos < len(data):
            length = struct.unpack(">I", data[pos:pos + 4])[0]
            if data[pos + 4:pos + 8] == b"IDAT":
                raw += data[pos + 8:pos + 8 + length]
            pos += 12 + length
        raw = zlib.decompress(bytes(raw))
        rgb = b"".join(raw[y * (w * 3 + 1) + 1:(y + 1) * (w * 3 + 1)] for y in range(h))
    n = w * h
    return tuple(sum(rgb[i::3]) / n / 255.0 for i in range(3))


def load(path):
    text = open(path, "rb").read().decode("cp932").split("\r\n")
    colours, triangles, vertices = [], [], []
    for line in text:
        m = re.match(r'\s*"([^"]*)".*col\(([\d. ]+)\)', line)
        if m:
            col = [float(v) for v in m.group(2).split()][:3]
            t = re.search(r'tex\("([^"]+)"\)', line)
            if t:
                tex = average_colour(os.path.join(os.path.dirname(path), t.group(1)))
                col = [c * k for c, k in zip(col, tex)]
            colours.append(col)
            continue
        if re.match(r"\s*vertex \d+", line):
            vertices = []
            continue
        m = re.match(r"\s*(-?[\d.]+) (-?[\d.]+) (-?[\d.]+)\s*$", line)
        if m:
            vertices.append(tuple(float(v) for v in m.groups()))
            continue
        m = re.match(r"\s*(\d) V\(([\d ]+)\) M\((\d+)\)", line)
        if m:
            corners = [vertices[int(i)] for i in m.group(2).split()][::-1]  # the reader reverses faces
            for k in range(1, len(corners) - 1):
                triangles.append(((corners[0], corners[k], corners[k + 1]), int(m.group(3))))
    return colours, triangles


def render(path, image, ox, oy, yaw, pitch):
    colours, triangles = load(path)
    cy, sy, cp, sp = math.cos(yaw), math.sin(yaw), math.cos(pitch), math.sin(pitch)

    def view(p):
        x, y, z = p
        x, z = x * cy - z * sy, x * sy + z * cy
        y, z = y * cp - z * sp, y * sp + z * cp
        return x, y, z

    pts = [view(p) for tri, _ in triangles for p in tri]
    if not pts:
        return
    span = max(max(abs(p[0]) for p in pts), max(abs(p[1]) for p in pts) * CELL_W / CELL_H) or 1.0
    k = (CELL_W / 2 - 8) / span
    depth = [[1e9] * CELL_W for _ in range(CELL_H)]
    light = (0.4, 0.7, 0.6)
    for tri, mat in triangles:
        a, b, c = (view(p) for p in tri)
        # reader normal of the reversed face: (p2 - p1) x (p0 - p1)
        u = (c[0] - b[0], c[1] - b[1], c[2] - b[2])
        v = (a[0] - b[0], a[1] - b[1], a[2] - b[2])
        n = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
        length = math.sqrt(n[0] ** 2 + n[1] ** 2 + n[2] ** 2) or 1.0
        n = (n[0] / length, n[1] / length, n[2] / length)
        if n[2] <= 0:  # faces the viewer at +z only when the normal points toward +z
            continue
        shade = 0.35 + 0.65 * max(0.0, n[0] * light[0] + n[1] * light[1] + n[2] * light[2])
        col = colours[mat] if mat < len(colours) else (1, 0, 1)
        rgb = bytes(int(max(0, min(255, 255 * ch * shade))) for ch in col)
        sx = [CELL_W / 2 + q[0] * k for q in (a, b, c)]
        syy = [CELL_H / 2 - q[1] * k for q in (a, b, c)]
        zz = [-q[2] for q in (a, b, c)]
        area = (sx[1] - sx[0]) * (syy[2] - syy[0]) - (sx[2] - sx[0]) * (syy[1] - syy[0])
        if abs(area) < 1e-9:
            continue
        for py in range(max(0, int(min(syy))), min(CELL_H, int(max(syy)) + 1)):
            for px in range(max(0, int(min(sx))), min(CELL_W, int(max(sx)) + 1)):
                w0 = ((sx[1] - px) * (syy[2] - py) - (sx[2] - px) * (syy[1] - py)) / area
                w1 = ((sx[2] - px) * (syy[0] - py) - (sx[0] - px) * (syy[2] - py)) / area
                w2 = 1 - w0 - w1
                if w0 < 0 or w1 < 0 or w2 < 0:
                    continue
                z = w0 * zz[0] + w1 * zz[1] + w2 * zz[2]
                if z < depth[py][px]:
                    depth[py][px] = z
                    i = ((oy + py) * image[1] + ox + px) * 3
                    image[0][i:i + 3] = rgb


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "models.png"
    names = [c.model for c in SHIP_CLASSES] + [a.model for a in AIRCRAFT]
    cols = 6
    rows = (len(names) + cols - 1) // cols
    width, height = cols * CELL_W, rows * CELL_H
    pixels = bytearray(b"\x88" * (width * height * 3))
    image = (pixels, width)
    for i, name in enumerate(names):
        render(os.path.join(MODELS, name), image, (i % cols) * CELL_W, (i // cols) * CELL_H, 0.6, 0.45)
    with open(out, "wb") as f:
        f.write(png(width, height, bytes(pixels)))


if __name__ == "__main__":
    main()
