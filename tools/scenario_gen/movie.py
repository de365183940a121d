"""The strike launch clip (Movie/launch.ogv): an aircraft leaves a carrier deck and climbs away.

Frames are drawn here (320 x 240, 15 per second, four seconds) and handed to
ffmpeg, which encodes them as Ogg Theora. ffmpeg is needed only to rebuild
the clip; the game plays the committed file.
"""

import math
import os
import subprocess

from common import MOVIE

W, H = 320, 240
FPS = 15
FRAMES = 60
HORIZON = 96
FOCAL = 150.0
CAMERA_HEIGHT = 5.0


class Canvas:
    def __init__(self):
        self.pixels = bytearray(W * H * 3)

    def row(self, y, x0, x1, colour):
        x0, x1 = max(0, int(round(x0))), min(W, int(round(x1)))
        if 0 <= y < H and x1 > x0:
            i = (y * W + x0) * 3
            self.pixels[i:i + (x1 - x0) * 3] = bytes(colour) * (x1 - x0)

    def polygon(self, points, colour):
        """Fills a convex polygon given as (x, y) screen points."""
        ys = [p[1] for p in points]
        for y in range(max(0, int(math.ceil(min(ys)))), min(H, int(math.floor(max(ys))) + 1)):
            xs = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= y < yb) or (yb <= y < ya):
                    xs.append(xa + (y - ya) * (xb - xa) / (yb - ya))
            if len(xs) >= 2:
                self.row(y, min(xs), max(xs) + 1, colour)

    def blend_rect(self, x0, y0, x1, y1, colour, alpha):
        for y in range(max(0, y0), min(H, y1)):
            for x in range(max(0, x0), min(W, x1)):
                i = (y * W + x) * 3
                for c in range(3):
                    self.pixels[i + c] = int(self.pixels[i + c] * (1 - alpha) + colour[c] * alpha)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def project(x, y, z):
    """World to screen: x right, y up from the deck, z ahead of the camera."""
    return (W / 2 + x * FOCAL / z, HORIZON + (CAMERA_HEIGHT - y) * FOCAL / z)


def background(canvas, frame):
    for y in range(HORIZON):
        canvas.row(y, 0, W, mix((70, 96, 150), (236, 170, 120), (y / HORIZON) ** 1.6))
    for y in range(HORIZON, H):
        t = (y - HORIZON) / (H - HORIZON)
        canvas.row(y, 0, W, mix((120, 112, 120), (30, 58, 92), t ** 0.5))
    # glints on the swell drift toward the camera
    for k in range(24):
        depth = 6 + ((k * 37 + frame * 0.8) % 60)
        x = ((k * 83) % 40 - 20) * 1.0
        sx, sy = project(x, -2.0, depth)
        length = 60.0 / depth
        canvas.row(int(sy), sx - length, sx + length, (150, 150, 160))
    # the sun low over the horizon
    for dy in range(-6, 1):
        half = math.sqrt(max(0, 36 - dy * dy))
        canvas.row(HORIZON + dy, 250 - half, 250 + half, (255, 226, 170))


def deck(canvas):
    near, far, half = 4.0, 40.0, 3.4
    grey, line, dash = (72, 72, 78), (222, 222, 222), (232, 232, 210)
    canvas.polygon([project(-half, 0, near), project(half, 0, near), project(half, 0, far), project(-half, 0, far)],
                   grey)
    # the bow edge and the hull falling away below it
    canvas.polygon([project(-half, 0, far), project(half, 0, far), project(half * 0.8, -1.2, far + 0.5),
                    project(-half * 0.8, -1.2, far + 0.5)], (52, 56, 64))
    for side in (-1, 1):
        x = side * (half - 0.15)
        canvas.polygon([project(x - 0.05, 0, near), project(x + 0.05, 0, near), project(x + 0.05, 0, far),
                        project(x - 0.05, 0, far)], line)
    for k in range(12):
        z0, z1 = near + 1 + k * 2.6, near + 2.2 + k * 2.6
        if z1 > far:
            break
        canvas.polygon([project(-0.06, 0, z0), project(0.06, 0, z0), project(0.06, 0, z1), project(-0.06, 0, z1)],
                       dash)
    # the island on the starboard side
    x0, x1, z0, z1 = half - 0.6, half + 0.4, 16.0, 22.0
    canvas.polygon([project(x0, 6.5, z0), project(x0, 6.5, z1), project(x0, 0, z1), project(x0, 0, z0)],
                   (96, 102, 112))
    canvas.polygon([project(x0, 6.5, z0), project(x1, 6.5, z0), project(x1, 0, z0), project(x0, 0, z0)],
                   (120, 126, 136))
    canvas.polygon([project(x0 - 0.01, 6.0, z0 - 0.01), project(x1, 6.0, z0 - 0.01), project(x1, 5.3, z0 - 0.01),
                    project(x0 - 0.01, 5.3, z0 - 0.01)], (60, 80, 100))
    canvas.polygon([project(x0 + 0.4, 9.5, 19.0), project(x0 + 0.6, 9.5, 19.0), project(x0 + 0.6, 6.5, 19.0),
                    project(x0 + 0.4, 6.5, 19.0)], (80, 84, 92))


def aircraft(canvas, x, y, z, bank):
    """A jet seen from behind: wings, fuselage, twin fins and the afterburner."""
    s = 1.8 * FOCAL / z  # drawn large: the clip is about the aircraft
    cx, cy = project(x, y, z)
    c, sn = math.cos(bank), math.sin(bank)

    def pt(u, v):
        return (cx + (u * c - v * sn) * s, cy - (u * sn + v * c) * s)

    dark = (36, 38, 44)
    canvas.polygon([pt(-1.5, 0.02), pt(1.5, 0.02), pt(1.4, -0.08), pt(-1.4, -0.08)], dark)
    canvas.polygon([pt(-0.55, 0.1), pt(0.55, 0.1), pt(0.5, -0.05), pt(-0.5, -0.05)], dark)
    canvas.polygon([pt(-0.28, 0.35), pt(0.28, 0.35), pt(0.36, 0.0), pt(0.2, -0.28), pt(-0.2, -0.28), pt(-0.36, 0.0)],
                   (46, 48, 56))
    for side in (-1, 1):
        canvas.polygon([pt(side * 0.18, 0.2), pt(side * 0.26, 0.22), pt(side * 0.52, 0.85), pt(side * 0.44, 0.86)],
                       dark)
    for side in (-1, 1):
        glow = [pt(side * 0.12 + 0.09 * math.cos(a), -0.1 + 0.09 * math.sin(a)) for a in
                [k * math.pi / 4 for k in range(8)]]
        canvas.polygon(glow, (255, 170, 70))


def flight_path(frame):
    """Position of the aircraft in world units at a frame: the take-off run, then the climb."""
    t = frame / (FRAMES - 1)
    if t < 0.45:
        run = t / 0.45
        return -0.6, 0.9, 7.0 + 33.0 * run ** 2, 0.0
    climb = (t - 0.45) / 0.55
    return -0.6 - 5.0 * climb ** 2, 0.9 + 16.0 * climb ** 1.4, 40.0 + 35.0 * climb, 0.3 * climb


def frame_pixels(frame):
    canvas = Canvas()
    background(canvas, frame)
    deck(canvas)
    aircraft(canvas, *flight_path(frame))
    if frame < 6:
        canvas.blend_rect(0, 0, W, H, (0, 0, 0), 1 - frame / 6.0)
    return bytes(canvas.pixels)


def write_clip(name):
    os.makedirs(MOVIE, exist_ok=True)
    out = os.path.join(MOVIE, name)
    command = ["ffmpeg", "-v", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", "%dx%d" % (W, H),
               "-r", str(FPS), "-i", "-", "-c:v", "libtheora", "-q:v", "7", "-pix_fmt", "yuv420p",
               "-map_metadata", "-1", "-fflags", "+bitexact", "-flags:v", "+bitexact", out]
    frames = b"".join(frame_pixels(f) for f in range(FRAMES))
    subprocess.run(command, input=frames, check=True)
