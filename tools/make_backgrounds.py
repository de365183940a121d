#!/usr/bin/env python3
"""Draws the windows' background pictures and stores them compressed.

Every picture is our own: a dark steel-blue naval panel for the dialogs and
a sea-and-sky title picture for the main window. Each is written as a 24-bit
BMP and then run through compress_image into src/ui/backgrounds/NAME.vci.

    tools/make_backgrounds.py BUILD_DIR [NAME...]

BUILD_DIR is a configured build folder; compress_image is built there first
(cmake --build BUILD_DIR --target compress_image).
"""

import math
import os
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "src", "ui", "backgrounds")


class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        alpha = min(alpha, 1.0)
        old = self.pixels[y][x]
        self.pixels[y][x] = tuple(int(round(o + (c - o) * alpha)) for o, c in zip(old, colour))

    def fill_rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            row = self.pixels[y]
            for x in range(max(0, x0), min(self.width, x1)):
                row[x] = colour

    def to_bmp(self):
        stride = (self.width * 3 + 3) & ~3
        body = bytearray()
        for y in range(self.height - 1, -1, -1):  # BMP rows run bottom-up
            row = bytearray()
            for r, g, b in self.pixels[y]:
                row += bytes((b, g, r))
            row += b"\0" * (stride - len(row))
            body += row
        header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(body),
                           2835, 2835, 0, 0)
        return header + info + bytes(body)


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


# ---- the steel panel --------------------------------------------------------

STEEL_TOP = (0x2E, 0x44, 0x62)
STEEL_BOTTOM = (0x12, 0x1C, 0x2C)
STEEL_EDGE = (0x5A, 0x78, 0x9E)  # top row: the buttons take this face colour
STEEL_SHADOW = (0x08, 0x0E, 0x18)
RIVET = (0x7C, 0x92, 0xB0)


def draw_rivet(canvas, cx, cy):
    for dy in range(-2, 3):
        for dx in range(-2, 3):
            d = math.hypot(dx, dy)
            if d <= 2.2:
                shade = mix(RIVET, STEEL_SHADOW, max(0.0, (dx + dy) / 6.0 + 0.2))
                canvas.blend(cx + dx, cy + dy, shade, min(1.0, 2.4 - d))


def steel_panel(width, height):
    canvas = Canvas(width, height)
    for y in range(height):
        base = mix(STEEL_TOP, STEEL_BOTTOM, y / max(1, height - 1))
        # Faint brushed lines across the plate.
        if y % 3 == 0:
            base = mix(base, (0, 0, 0), 0.06)
        for x in range(width):
            canvas.put(x, y, base)
    # Raised bevel: light top and left, dark bottom and right.
    for x in range(width):
        canvas.put(x, 0, STEEL_EDGE)
        canvas.put(x, 1, mix(STEEL_EDGE, STEEL_TOP, 0.5))
        canvas.put(x, height - 1, STEEL_SHADOW)
        canvas.put(x, height - 2, mix(STEEL_SHADOW, STEEL_BOTTOM, 0.5))
    for y in range(height):
        canvas.put(0, y, STEEL_EDGE)
        canvas.put(1, y, mix(STEEL_EDGE, canvas.get(1, y), 0.5))
        canvas.put(width - 1, y, STEEL_SHADOW)
        canvas.put(width - 2, y, mix(STEEL_SHADOW, canvas.get(width - 2, y), 0.5))
    # An inset line a few pixels in.
    inset = 4
    line = mix(STEEL_EDGE, STEEL_TOP, 0.65)
    for x in range(inset, width - inset):
        canvas.blend(x, inset, line, 0.6)
        canvas.blend(x, height - 1 - inset, STEEL_SHADOW, 0.5)
    for y in range(inset, height - inset):
        canvas.blend(inset, y, line, 0.6)
        canvas.blend(width - 1 - inset, y, STEEL_SHADOW, 0.5)
    for cx, cy in ((8, 8), (width - 9, 8), (8, height - 9), (width - 9, height - 9)):
        draw_rivet(canvas, cx, cy)
    return canvas


# ---- the title picture ------------------------------------------------------

def segment_distance(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    length2 = vx * vx + vy * vy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / length2))
    return math.hypot(px - (ax + t * vx), py - (ay + t * vy))


def arc(cx, cy, rx, ry, start, end, steps):
    points = [(cx + rx * math.cos(math.radians(start + (end - start) * k / steps)),
               cy + ry * math.sin(math.radians(start + (end - start) * k / steps)))
              for k in range(steps + 1)]
    return list(zip(points, points[1:]))


# Letters as strokes in a box 1 wide and 1.4 high, y downward.
GLYPHS = {
    "V": [((0, 0), (0.5, 1.4)), ((0.5, 1.4), (1, 0))],
    "e": [((0.05, 0.95), (0.95, 0.95))] + arc(0.5, 0.95, 0.45, 0.45, 40, 360, 16),
    "l": [((0.3, 0), (0.3, 1.4))],
    "m": [((0, 0.5), (0, 1.4))] + arc(0.25, 0.75, 0.25, 0.25, 180, 360, 8)
         + [((0.5, 0.75), (0.5, 1.4))] + arc(0.75, 0.75, 0.25, 0.25, 180, 360, 8)
         + [((1, 0.75), (1, 1.4))],
    "o": arc(0.5, 0.95, 0.45, 0.45, 0, 360, 20),
    "r": [((0.1, 0.5), (0.1, 1.4))] + arc(0.55, 0.95, 0.45, 0.45, 180, 290, 8),
    "a": arc(0.45, 1.0, 0.42, 0.4, 0, 360, 20) + [((0.87, 0.55), (0.87, 1.4))],
}
ADVANCE = {"V": 1.15, "e": 1.05, "l": 0.6, "m": 1.2, "o": 1.05, "r": 0.8, "a": 1.05}


def draw_word(canvas, word, left, top, unit, thickness, fill_top, fill_bottom, outline):
    x = left
    for letter in word:
        strokes = [((ax * unit + x, ay * unit + top), (bx * unit + x, by * unit + top))
                   for (ax, ay), (bx, by) in GLYPHS[letter]]
        x0 = int(min(min(a[0], b[0]) for a, b in strokes) - thickness - 4)
        x1 = int(max(max(a[0], b[0]) for a, b in strokes) + thickness + 4)
        y0 = int(min(min(a[1], b[1]) for a, b in strokes) - thickness - 4)
        y1 = int(max(max(a[1], b[1]) for a, b in strokes) + thickness + 4)
        for py in range(y0, y1):
            fill = mix(fill_top, fill_bottom, max(0.0, min(1.0, (py - top) / (1.4 * unit))))
            for px in range(x0, x1):
                d = min(segment_distance(px + 0.5, py + 0.5, a[0], a[1], b[0], b[1])
                        for a, b in strokes)
                # Shadow, then outline, then the face of the letter.
                canvas.blend(px + 4, py + 5, (0, 0, 0), (thickness / 2 + 2.5 - d) * 0.5)
                canvas.blend(px, py, outline, thickness / 2 + 2.0 - d)
                canvas.blend(px, py, fill, thickness / 2 - d)
        x += ADVANCE[letter] * unit


def fill_polygon(canvas, points, colour):
    ys = [p[1] for p in points]
    for y in range(int(min(ys)), int(max(ys)) + 1):
        cross = []
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay <= y + 0.5 < by) or (by <= y + 0.5 < ay):
                cross.append(ax + (y + 0.5 - ay) * (bx - ax) / (by - ay))
        cross.sort()
        for a, b in zip(cross[::2], cross[1::2]):
            for x in range(int(round(a)), int(round(b))):
                canvas.put(x, y, colour)


def draw_destroyer(canvas, left, waterline, scale, colour):
    def at(points):
        return [(left + x * scale, waterline - y * scale) for x, y in points]

    hull = [(0, 6), (8, 0), (96, 0), (104, 4), (112, 9), (80, 9), (78, 8), (20, 8), (18, 7)]
    fill_polygon(canvas, at(hull), colour)
    fill_polygon(canvas, at([(24, 8), (24, 14), (40, 14), (42, 8)]), colour)  # after deck house
    fill_polygon(canvas, at([(50, 8), (50, 20), (66, 20), (70, 14), (70, 8)]), colour)  # bridge
    fill_polygon(canvas, at([(44, 14), (44, 19), (49, 19), (49, 14)]), colour)  # funnel
    fill_polygon(canvas, at([(57, 20), (58, 34), (59, 34), (60, 20)]), colour)  # mast
    fill_polygon(canvas, at([(53, 29), (53, 30), (64, 30), (64, 29)]), colour)  # yard
    fill_polygon(canvas, at([(82, 9), (82, 12), (88, 12), (88, 9)]), colour)  # gun house
    fill_polygon(canvas, at([(88, 10.5), (88, 11.3), (98, 11.8), (98, 11)]), colour)  # barrel
    fill_polygon(canvas, at([(8, 8), (8, 10), (16, 10), (16, 8)]), colour)  # flight deck rail


def draw_jet(canvas, cx, cy, scale, colour):
    body = [(-10, 0), (-6, -1), (8, -1), (11, 0), (8, 1), (-6, 1)]
    wing = [(-1, 0), (3, 0), (-3, 7), (-5, 7)]
    wing2 = [(-1, 0), (3, 0), (-3, -7), (-5, -7)]
    tail = [(-9, 0), (-7, 0), (-10, -4), (-11, -4)]
    for shape in (body, wing, wing2, tail):
        fill_polygon(canvas, [(cx + x * scale, cy + y * scale) for x, y in shape], colour)


def title_picture(width=790, height=545):
    canvas = Canvas(width, height)
    horizon = 330
    sky_top, sky_low = (0x0A, 0x12, 0x26), (0x4A, 0x6C, 0x92)
    sea_top, sea_low = (0x1C, 0x34, 0x52), (0x04, 0x0A, 0x16)
    sun_x, sun_y = 560, horizon - 40
    for y in range(height):
        if y < horizon:
            row = mix(sky_top, sky_low, (y / horizon) ** 1.6)
        else:
            row = mix(sea_top, sea_low, ((y - horizon) / (height - horizon)) ** 0.7)
        for x in range(width):
            colour = row
            glow = math.hypot((x - sun_x) / 1.8, y - sun_y)
            if y < horizon:
                colour = mix(colour, (0xC8, 0xB0, 0x80), max(0.0, 1.0 - glow / 260.0) ** 2 * 0.8)
            else:
                # The sun's path on the water, broken up by swell.
                ripple = math.sin(x * 0.09 + y * 0.7) * math.sin(y * 0.31)
                path = max(0.0, 1.0 - abs(x - sun_x) / (60.0 + (y - horizon) * 0.8))
                colour = mix(colour, (0x9C, 0x94, 0x7C), path * max(0.0, ripple) * 0.6)
                if (int(x * 0.05 + math.sin(y * 0.2) * 6 + y * 1.7) % 23) == 0:
                    colour = mix(colour, (0x50, 0x70, 0x90), 0.25)
            canvas.put(x, y, colour)

    silhouette = (0x06, 0x0A, 0x12)
    draw_destroyer(canvas, 120, horizon + 3, 3.0, silhouette)
    draw_destroyer(canvas, 520, horizon + 1, 1.2, mix(silhouette, sky_low, 0.35))
    draw_jet(canvas, 610, 120, 2.2, silhouette)
    draw_jet(canvas, 660, 150, 1.8, silhouette)
    draw_jet(canvas, 570, 160, 1.6, silhouette)

    draw_word(canvas, "Velmora", 185, 372, 62, 14, (0xF4, 0xE8, 0xC8), (0xB8, 0x96, 0x5A),
              (0x10, 0x18, 0x28))
    # A thin steel frame around the picture.
    for x in range(width):
        for y in (0, 1, height - 2, height - 1):
            canvas.put(x, y, STEEL_EDGE if y < 2 else STEEL_SHADOW)
    for y in range(height):
        for x in (0, 1, width - 2, width - 1):
            canvas.put(x, y, STEEL_EDGE if x < 2 else STEEL_SHADOW)
    return canvas


def battle_picture(width=785, height=504):
    """The battle window's stage: a coast under a smoky dusk, ships offshore
    and the glow of fire on the shore."""
    canvas = Canvas(width, height)
    horizon = 300
    sky_top, sky_low = (0x14, 0x0C, 0x10), (0x6A, 0x3A, 0x26)
    sea_top, sea_low = (0x22, 0x1C, 0x24), (0x04, 0x06, 0x0C)
    fires = [(150, horizon - 6), (250, horizon - 14), (330, horizon - 4)]
    for y in range(height):
        if y < horizon:
            row = mix(sky_top, sky_low, (y / horizon) ** 1.8)
        else:
            row = mix(sea_top, sea_low, ((y - horizon) / (height - horizon)) ** 0.6)
        for x in range(width):
            colour = row
            for fx, fy in fires:
                glow = math.hypot((x - fx) / 1.6, y - fy)
                if y < horizon:
                    colour = mix(colour, (0xE0, 0x78, 0x30), max(0.0, 1.0 - glow / 120.0) ** 2 * 0.7)
                else:
                    ripple = max(0.0, math.sin(x * 0.11 + y * 0.8) * math.sin(y * 0.27))
                    path = max(0.0, 1.0 - abs(x - fx) / (20.0 + (y - horizon) * 0.5))
                    colour = mix(colour, (0xB0, 0x60, 0x28), path * ripple * 0.35)
            # Drifting smoke across the sky.
            if y < horizon:
                smoke = math.sin(x * 0.013 + y * 0.05) * math.sin(x * 0.007 - y * 0.021)
                colour = mix(colour, (0x20, 0x1A, 0x1A), max(0.0, smoke) * 0.5)
            canvas.put(x, y, colour)

    # The coast: low hills with the base on them, from the left edge.
    land = (0x0A, 0x08, 0x0A)
    for x in range(0, 430):
        top = horizon - 10 - 26 * math.sin(x / 430 * math.pi) - 6 * math.sin(x * 0.05)
        for y in range(int(top), horizon + 2):
            canvas.put(x, y, land)
    for left, w, h in ((180, 24, 16), (214, 14, 24), (236, 30, 12), (290, 18, 20)):
        canvas.fill_rect(left, int(horizon - 36 - h), left + w, horizon - 20, land)
    canvas.fill_rect(221, int(horizon - 78), 223, horizon - 56, land)  # radio mast
    for fx, fy in fires:  # flames
        for dy in range(12):
            for dx in range(-4 + dy // 3, 5 - dy // 3):
                canvas.blend(fx + dx, fy - dy - 30, (0xFF, 0xB0, 0x40), 0.8 - dy * 0.05)

    silhouette = (0x05, 0x06, 0x0A)
    draw_destroyer(canvas, 470, horizon + 4, 2.4, silhouette)
    draw_destroyer(canvas, 640, horizon + 2, 1.3, mix(silhouette, sky_low, 0.3))
    draw_destroyer(canvas, 40, horizon + 70, 3.2, silhouette)
    draw_jet(canvas, 560, 90, 2.0, silhouette)
    draw_jet(canvas, 610, 116, 1.6, silhouette)
    return canvas


PICTURES = {
    "battle": battle_picture,
    "message": lambda: steel_panel(289, 81),
    "number": lambda: steel_panel(241, 113),
    "panel": lambda: steel_panel(400, 300),
    "palette": lambda: steel_panel(353, 417),
    "title": title_picture,
}


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    subprocess.run(["cmake", "--build", build, "--target", "compress_image"], check=True,
                   stdout=subprocess.DEVNULL)
    tool = os.path.join(build, "compress_image")
    wanted = sys.argv[2:] or list(PICTURES)
    os.makedirs(OUT_DIR, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        for name, draw in PICTURES.items():
            if name not in wanted:
                continue
            bmp = os.path.join(work, name + ".bmp")
            with open(bmp, "wb") as f:
                f.write(draw().to_bmp())
            subprocess.run([tool, bmp, os.path.join(OUT_DIR, name + ".vci")], check=True)


if __name__ == "__main__":
    main()
