"""The sea chart of the Velmora Strait (MAP.Bmp) and its land mask (BMAP.Bmp).

Islands are noisy ellipses; the mask is the same land, black on white. The
chart shades the sea by depth (distance from the nearest coast), gives the
land a little relief with hill shading, outlines the coasts and lays a faint
50-pixel grid over everything.
"""

import math
import os
import random

from common import SHIPDATA, write_bytes
from imaging import bmp24

WIDTH = 790
HEIGHT = 545
GRID = 50


class Island:
    def __init__(self, name, cx, cy, rx, ry, seed, tilt=0.0):
        self.name = name
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.tilt = tilt
        rng = random.Random(seed)
        # a few low harmonics give the coast its bays and capes
        self.harmonics = [(k, rng.uniform(0.04, 0.13) / (1 + 0.3 * k), rng.uniform(0, 2 * math.pi))
                          for k in range(2, 12)]
        # hill tops: (u, v) in island units and their weight
        self.peaks = [(rng.uniform(-0.55, 0.55), rng.uniform(-0.4, 0.4), rng.uniform(0.5, 1.0))
                      for _ in range(3)]

    def boundary(self, angle):
        r = 1.0
        for k, amp, phase in self.harmonics:
            r += amp * math.cos(k * angle + phase)
        return r

    def local(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        c, s = math.cos(self.tilt), math.sin(self.tilt)
        return (dx * c + dy * s) / self.rx, (-dx * s + dy * c) / self.ry

    def rho(self, x, y):
        """Normalised radius: below 1 inside the island, 1 on the coast."""
        dx, dy = x - self.cx, y - self.cy
        c, s = math.cos(self.tilt), math.sin(self.tilt)
        u, v = (dx * c + dy * s) / self.rx, (-dx * s + dy * c) / self.ry
        d = math.hypot(u, v)
        if d == 0:
            return 0.0
        return d / self.boundary(math.atan2(v, u))


ISLANDS = [
    Island("ヴァレン島", 200, 276, 140, 52, 11, 0.08),
    Island("エスケラ島", 616, 288, 128, 48, 12, -0.10),
    Island("ザイラス島", 412, 262, 16, 13, 13),
    Island("ハルヴィク島", 566, 92, 50, 27, 14, 0.15),
    Island("リゼッタ島", 250, 468, 56, 29, 15, -0.12),
    Island("ペルネ島", 668, 452, 20, 13, 16, 0.4),
    Island("トリム島", 78, 138, 15, 10, 17),
    Island("ミュラ島", 726, 150, 13, 9, 18),
    Island("ソルム島", 470, 178, 10, 8, 19),
    Island("カネリア島", 330, 372, 11, 8, 20),
    Island("エルダ岩礁", 112, 430, 9, 6, 21),
]


def island_by_name(name):
    for island in ISLANDS:
        if island.name == name:
            return island
    raise KeyError(name)


def land_mask():
    """mask[y][x] is True on land."""
    mask = [[False] * WIDTH for _ in range(HEIGHT)]
    for island in ISLANDS:
        reach = int(max(island.rx, island.ry) * 1.6) + 2
        for y in range(max(0, island.cy - reach), min(HEIGHT, island.cy + reach)):
            row = mask[y]
            for x in range(max(0, island.cx - reach), min(WIDTH, island.cx + reach)):
                if island.rho(x, y) < 1.0:
                    row[x] = True
    return mask


def sea_distance(mask):
    """Chamfer distance of every sea pixel to the nearest land pixel (0 on land)."""
    big = 10 ** 6
    d = [[0 if mask[y][x] else big for x in range(WIDTH)] for y in range(HEIGHT)]
    for y in range(HEIGHT):
        row, up = d[y], d[y - 1] if y else None
        for x in range(WIDTH):
            v = row[x]
            if v == 0:
                continue
            if x and row[x - 1] + 3 < v:
                v = row[x - 1] + 3
            if up is not None:
                if up[x] + 3 < v:
                    v = up[x] + 3
                if x and up[x - 1] + 4 < v:
                    v = up[x - 1] + 4
                if x + 1 < WIDTH and up[x + 1] + 4 < v:
                    v = up[x + 1] + 4
            row[x] = v
    for y in range(HEIGHT - 1, -1, -1):
        row, down = d[y], d[y + 1] if y + 1 < HEIGHT else None
        for x in range(WIDTH - 1, -1, -1):
            v = row[x]
            if v == 0:
                continue
            if x + 1 < WIDTH and row[x + 1] + 3 < v:
                v = row[x + 1] + 3
            if down is not None:
                if down[x] + 3 < v:
                    v = down[x] + 3
                if x + 1 < WIDTH and down[x + 1] + 4 < v:
                    v = down[x + 1] + 4
                if x and down[x - 1] + 4 < v:
                    v = down[x - 1] + 4
            row[x] = v
    return [[v / 3.0 for v in row] for row in d]


class ValueNoise:
    """Smoothly interpolated random values on a square lattice."""

    def __init__(self, seed, cell):
        self.cell = cell
        rng = random.Random(seed)
        self.values = [[rng.random() for _ in range(WIDTH // cell + 2)] for _ in range(HEIGHT // cell + 2)]

    def at(self, x, y):
        gx, gy = x / self.cell, y / self.cell
        ix, iy = int(gx), int(gy)
        fx, fy = gx - ix, gy - iy
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        v = self.values
        top = v[iy][ix] + (v[iy][ix + 1] - v[iy][ix]) * fx
        bottom = v[iy + 1][ix] + (v[iy + 1][ix + 1] - v[iy + 1][ix]) * fx
        return top + (bottom - top) * fy


def smoothstep(edge0, edge1, x):
    t = max(0.0, min(1.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def height_field(mask):
    """Land height 0..1: a low dome per island with hills and rolling ground, falling to the beach."""
    h = [[0.0] * WIDTH for _ in range(HEIGHT)]
    coarse, fine = ValueNoise(31, 24), ValueNoise(32, 9)
    for island in ISLANDS:
        reach = int(max(island.rx, island.ry) * 1.6) + 2
        size = min(1.0, max(island.rx, island.ry) / 120.0) * 0.7 + 0.3
        for y in range(max(0, island.cy - reach), min(HEIGHT, island.cy + reach)):
            for x in range(max(0, island.cx - reach), min(WIDTH, island.cx + reach)):
                if not mask[y][x]:
                    continue
                r = island.rho(x, y)
                if r >= 1.0:
                    continue
                u, v = island.local(x, y)
                hills = max(w * math.exp(-((u - pu) ** 2 + (v - pv) ** 2) * 9.0) for pu, pv, w in island.peaks)
                dome = max(0.0, 1.0 - (u * u + v * v) / 1.6)
                rolling = 0.6 * coarse.at(x, y) + 0.4 * fine.at(x, y)
                value = 0.6 * smoothstep(0.0, 0.3, 1.0 - r) * size * (0.2 + 0.5 * dome * hills + 0.3 * rolling * dome + 0.1 * rolling)
                h[y][x] = max(h[y][x], min(1.0, value))
    return h


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


SHALLOW = (132, 184, 206)
MID_SEA = (70, 124, 170)
DEEP_SEA = (34, 72, 122)
BEACH = (214, 204, 160)
LOWLAND = (112, 152, 86)
UPLAND = (146, 136, 96)
SUMMIT = (178, 170, 156)
COAST_LINE = (52, 58, 50)


def land_colour(height):
    if height < 0.06:
        return BEACH
    if height < 0.35:
        return lerp(LOWLAND, UPLAND, (height - 0.06) / 0.29)
    return lerp(UPLAND, SUMMIT, min(1.0, (height - 0.35) / 0.4))


def sea_colour(distance, x, y):
    if distance < 18:
        base = lerp(SHALLOW, MID_SEA, distance / 18.0)
    else:
        base = lerp(MID_SEA, DEEP_SEA, min(1.0, (distance - 18) / 70.0))
    # faint swell so the open sea is not a flat plate
    swell = int(3 * math.sin(x * 0.045 + y * 0.02) + 2 * math.sin(y * 0.06 - x * 0.01))
    return tuple(max(0, min(255, c + swell)) for c in base)


def chart_pixels(mask):
    dist = sea_distance(mask)
    height = height_field(mask)
    rgb = bytearray(WIDTH * HEIGHT * 3)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if mask[y][x]:
                coast = any(not mask[ny][nx] for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1))
                            if 0 <= nx < WIDTH and 0 <= ny < HEIGHT)
                if coast:
                    colour = COAST_LINE
                else:
                    colour = land_colour(height[y][x])
                    # light from the north-west
                    hx = height[y][x + 1] - height[y][x - 1] if 0 < x < WIDTH - 1 else 0.0
                    hy = height[y + 1][x] - height[y - 1][x] if 0 < y < HEIGHT - 1 else 0.0
                    shade = 1.0 - 7.0 * (hx + hy)
                    colour = tuple(max(0, min(255, int(c * shade))) for c in colour)
            else:
                colour = sea_colour(dist[y][x], x, y)
            if x % GRID == 0 or y % GRID == 0:
                colour = lerp(colour, (235, 240, 245), 0.16)
            i = (y * WIDTH + x) * 3
            rgb[i:i + 3] = bytes(colour)
    return bytes(rgb)


def mask_pixels(mask):
    rgb = bytearray(b"\xff" * (WIDTH * HEIGHT * 3))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if mask[y][x]:
                i = (y * WIDTH + x) * 3
                rgb[i:i + 3] = b"\0\0\0"
    return bytes(rgb)


def coastal_base_point(mask, island, bearing_deg, inland=3):
    """A land pixel `inland` pixels inside the coast of `island`, seen from its centre along a bearing."""
    theta = math.radians(bearing_deg) - math.pi / 2
    last_land = None
    for step in range(0, 400):
        x = int(round(island.cx + math.cos(theta) * step))
        y = int(round(island.cy + math.sin(theta) * step))
        if not (0 <= x < WIDTH and 0 <= y < HEIGHT) or not mask[y][x]:
            break
        last_land = step
    step = last_land - inland
    return (int(round(island.cx + math.cos(theta) * step)), int(round(island.cy + math.sin(theta) * step)))


def write_chart(mask):
    write_bytes(os.path.join(SHIPDATA, "MAP.Bmp"), bmp24(WIDTH, HEIGHT, chart_pixels(mask)))
    write_bytes(os.path.join(SHIPDATA, "BMAP.Bmp"), bmp24(WIDTH, HEIGHT, mask_pixels(mask)))
