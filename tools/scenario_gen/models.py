"""Low-poly models of every ship class and aircraft type, with their textures, for 3Dimage.

Ships lie along X with the bow at +X, Y up, the keel at y = 0; a destroyer
is some 80 units long, a carrier 150. Aircraft point their nose along +X.
"""

import math
import os
import random

from common import MODELS, write_bytes, write_windows_text
from imaging import bmp24, png
from mqo import Material, Model, box, cylinder, fin, loft, wedge
from units import AIRCRAFT, SHIP_CLASSES

# ---- textures -----------------------------------------------------------------


def deck_texture():
    """Carrier flight deck: dark non-skid grey, white edge lines, a dashed centre line, yellow lift marks."""
    w = h = 128
    rng = random.Random(7)
    rgb = bytearray()
    for y in range(h):
        for x in range(w):
            g = 70 + rng.randint(-6, 6)
            c = (g, g, g + 4)
            if y in (4, 5, 122, 123):
                c = (225, 225, 225)
            elif 62 <= y <= 65 and (x // 8) % 2 == 0:
                c = (230, 230, 230)
            elif (20 <= x <= 34 or 90 <= x <= 104) and y in (20, 21, 42, 43) or \
                    (x in (20, 21, 33, 34, 90, 91, 103, 104) and 20 <= y <= 43):
                c = (220, 190, 40)
            rgb += bytes(c)
    return bmp24(w, h, bytes(rgb))


def runway_texture():
    w = h = 128
    rng = random.Random(8)
    rgb = bytearray()
    for y in range(h):
        for x in range(w):
            g = 58 + rng.randint(-5, 5)
            c = (g, g, g)
            if y in (10, 11, 116, 117):
                c = (230, 230, 230)
            elif 62 <= y <= 65 and (x // 10) % 2 == 0:
                c = (235, 235, 235)
            elif x < 14 and 18 <= y <= 110 and (y // 6) % 2 == 0:
                c = (235, 235, 235)
            rgb += bytes(c)
    return bmp24(w, h, bytes(rgb))


def blotch_texture(seed, colours, size=64):
    """Soft-edged camouflage or ground blotches: the colour of the nearest of some random centres."""
    rng = random.Random(seed)
    centres = [(rng.uniform(0, size), rng.uniform(0, size), rng.randrange(len(colours))) for _ in range(18)]
    rgb = bytearray()
    for y in range(size):
        for x in range(size):
            best = None
            for cx, cy, k in centres:
                # wrap so the picture tiles
                dx = min(abs(x - cx), size - abs(x - cx))
                dy = min(abs(y - cy), size - abs(y - cy))
                d = dx * dx + dy * dy
                if best is None or d < best[0]:
                    best = (d, k)
            c = colours[best[1]]
            n = rng.randint(-4, 4)
            rgb += bytes(max(0, min(255, v + n)) for v in c)
    return png(size, size, bytes(rgb))


TEXTURES = {
    "deck_flight.bmp": deck_texture,
    "runway.bmp": runway_texture,
    "camo_south.png": lambda: blotch_texture(21, [(150, 160, 172), (120, 132, 148), (176, 184, 192)]),
    "camo_north.png": lambda: blotch_texture(22, [(92, 104, 84), (128, 126, 100), (70, 78, 66)]),
    "ground.png": lambda: blotch_texture(23, [(104, 138, 78), (124, 150, 90), (150, 144, 112)]),
}


# ---- palettes -----------------------------------------------------------------

SOUTH = {
    "hull": Material("hull", (0.62, 0.66, 0.71)),
    "deck": Material("deck", (0.42, 0.44, 0.46)),
    "upper": Material("superstructure", (0.74, 0.77, 0.80)),
    "dark": Material("fittings", (0.25, 0.27, 0.30)),
    "red": Material("boot", (0.55, 0.16, 0.14)),
}
NORTH = {
    "hull": Material("hull", (0.44, 0.48, 0.46)),
    "deck": Material("deck", (0.30, 0.33, 0.32)),
    "upper": Material("superstructure", (0.55, 0.59, 0.56)),
    "dark": Material("fittings", (0.20, 0.22, 0.21)),
    "red": Material("boot", (0.36, 0.12, 0.12)),
}
FLIGHT_DECK = Material("flight_deck", (1.0, 1.0, 1.0), texture="deck_flight.bmp", specular=0.05)
RUNWAY = Material("runway", (1.0, 1.0, 1.0), texture="runway.bmp", specular=0.05)
GROUND = Material("ground", (1.0, 1.0, 1.0), texture="ground.png", specular=0.0)
CONCRETE = Material("concrete", (0.70, 0.69, 0.64))
GLASS = Material("glass", (0.20, 0.35, 0.50, 0.9), specular=0.8, power=30.0)
CARGO = [Material("cargo_red", (0.66, 0.24, 0.18)), Material("cargo_blue", (0.20, 0.34, 0.58)),
         Material("cargo_ochre", (0.74, 0.58, 0.22))]


# ---- ship parts ---------------------------------------------------------------


def hull(part, m, boot, length, beam, height, bow_rake=0.18, stern=0.75, waterline=0.3):
    """A hull from stern (x = -length/2) to a sharp bow, wider at the deck than at the keel,
    painted `boot` below the waterline."""
    x0 = -length / 2.0
    stations = [(0.0, stern), (0.15, 0.95), (0.45, 1.0), (0.70, 0.85), (0.88, 0.45), (1.0, 0.06)]
    lower, upper = [], []
    for t, w in stations:
        x = x0 + t * length
        half = beam / 2.0 * w
        keel = half * 0.55
        wet = keel + (half - keel) * waterline
        wy = height * waterline
        rise = height * bow_rake * max(0.0, t - 0.7) / 0.3  # the bow sheers up a little
        lower.append([(x, wy, wet), (x, wy, -wet), (x, 0.0, -keel), (x, 0.0, keel)])
        upper.append([(x, height + rise, half), (x, height + rise, -half), (x, wy, -wet), (x, wy, wet)])
    loft(part, boot, lower)
    loft(part, m, upper)


def turret(part, m_body, m_gun, x, y, size, barrels=1, facing=1):
    # a barbette, the gun house on it, and the barrels pointing fore or aft
    cylinder(part, m_gun, "y", (x, y, 0.0), size * 0.35, size * 0.45, sides=8)
    cylinder(part, m_body, "y", (x, y + size * 0.35, 0.0), size * 0.45, size * 0.55, sides=8, radius_end=size * 0.45)
    gun_y = y + size * 0.55
    for k in range(barrels):
        z = (k - (barrels - 1) / 2.0) * size * 0.3
        x0, x1 = (x, x + size * 1.6) if facing > 0 else (x - size * 1.6, x)
        box(part, m_gun, x0, x1, gun_y, gun_y + size * 0.12, z - size * 0.07, z + size * 0.07)


def mast(part, m, x, y, height, yard):
    box(part, m, x - 0.8, x + 0.8, y, y + height, -0.8, 0.8)
    box(part, m, x - 0.6, x + 0.6, y + height * 0.75, y + height * 0.75 + 1.0, -yard, yard)


def radar_panels(part, m, x, y, size):
    # the faceted block of a phased-array radar
    loft(part, m, [[(x - size, y, size), (x - size, y, -size), (x + size, y, -size), (x + size, y, size)],
                   [(x - size * 0.6, y + size * 1.4, size * 0.6), (x - size * 0.6, y + size * 1.4, -size * 0.6),
                    (x + size * 0.6, y + size * 1.4, -size * 0.6), (x + size * 0.6, y + size * 1.4, size * 0.6)]])


def vls(part, m, x0, x1, y, width):
    box(part, m, x0, x1, y, y + 1.2, -width / 2.0, width / 2.0)


def deck_uv(x0, length, half_width):
    return lambda p: ((p[0] - x0) / length, (p[2] + half_width) / (2 * half_width))


def parked(part, m, x_start, deck, z, count):
    """A row of aircraft parked along the deck edge, noses toward the bow."""
    for k in range(count):
        x = x_start + k * 13.0
        box(part, m, x - 6.0, x + 6.0, deck, deck + 1.8, z - 0.9, z + 0.9)
        for side in (1, -1):
            wedge(part, m, ((x + 2.0, z + side * 0.9), (x - 4.0, z + side * 0.9)),
                  ((x - 3.2, z + side * 6.0), (x - 4.6, z + side * 6.0)), deck + 0.8, 0.5)
        fin(part, m, x - 4.0, x - 6.0, x - 5.2, x - 6.4, deck + 1.8, deck + 4.5, z, 0.4)


def carrier(model, pal, length=150.0, beam=26.0):
    hull_part = model.part("hull", facet=30.0, colour=pal["hull"].colour[:3])
    upper = model.part("island", facet=20.0)
    h = 12.0
    hull(hull_part, model.material(pal["hull"]), model.material(pal["red"]), length, beam, h, bow_rake=0.1, stern=0.9)
    x0, x1 = -length / 2.0 - 2, length / 2.0 + 4
    half = beam * 0.8
    box(hull_part, model.material(FLIGHT_DECK), x0, x1, h + 0.5, h + 2.5, -half, half * 0.9,
        uv=deck_uv(x0, x1 - x0, half))
    parked(hull_part, model.material(pal["upper"]), x0 + 14, h + 2.5, -half * 0.55, 6)
    # the island on the starboard edge
    u = model.material(pal["upper"])
    box(upper, u, 2, 34, h + 2.5, h + 18, half * 0.45, half * 0.85)
    box(upper, u, 8, 30, h + 18, h + 25, half * 0.5, half * 0.8)
    box(upper, model.material(GLASS), 29.9, 30.2, h + 19, h + 24, half * 0.52, half * 0.78)
    box(upper, model.material(pal["dark"]), -6, 2, h + 2.5, h + 14, half * 0.55, half * 0.8)
    mast(upper, model.material(pal["dark"]), 19, h + 25, 16, 6)
    radar_panels(upper, model.material(pal["dark"]), 24, h + 12, 3.5)


def air_cruiser(model, pal, length=130.0, beam=20.0):
    hull_part = model.part("hull", facet=30.0)
    upper = model.part("superstructure", facet=20.0)
    h = 10.0
    hull(hull_part, model.material(pal["hull"]), model.material(pal["red"]), length, beam, h)
    x0, x1 = -length / 2.0, -2.0
    box(hull_part, model.material(FLIGHT_DECK), x0, x1, h + 0.3, h + 2.0, -beam * 0.55, beam * 0.55,
        uv=deck_uv(x0, x1 - x0, beam * 0.55))
    u = model.material(pal["upper"])
    box(upper, u, -2, 30, h, h + 11, -beam * 0.35, beam * 0.35)
    box(upper, u, 6, 24, h + 11, h + 16, -beam * 0.25, beam * 0.25)
    box(upper, model.material(GLASS), 23.9, 24.2, h + 12, h + 15, -beam * 0.22, beam * 0.22)
    radar_panels(upper, model.material(pal["dark"]), 14, h + 16, 3)
    mast(upper, model.material(pal["dark"]), 12, h + 20, 10, 4)
    vls(upper, model.material(pal["dark"]), 34, 46, h, beam * 0.4)
    turret(upper, u, model.material(pal["dark"]), 50, h, 7, barrels=2)


def surface_ship(model, pal, length, beam, guns, vls_cells, stack, funnel=True):
    """Battleships, cruisers and destroyers: hull, stepped superstructure, turrets, cells and masts."""
    hull_part = model.part("hull", facet=30.0)
    upper = model.part("superstructure", facet=20.0)
    h = beam * 0.5
    hull(hull_part, model.material(pal["hull"]), model.material(pal["red"]), length, beam, h)
    u = model.material(pal["upper"])
    dark = model.material(pal["dark"])
    # stepped superstructure a little aft of midships
    sx0, sx1 = -length * 0.18, length * 0.12
    for level, (shrink, height) in enumerate(stack):
        box(upper, u, sx0 + shrink * length * 0.5, sx1 - shrink * length * 0.2,
            h + sum(s[1] for s in stack[:level]), h + sum(s[1] for s in stack[:level + 1]),
            -beam * (0.36 - shrink * 0.4), beam * (0.36 - shrink * 0.4))
    top = h + sum(s[1] for s in stack)
    box(upper, model.material(GLASS), sx1 - length * 0.06 - 0.2, sx1 - length * 0.06 + 0.1, top - stack[-1][1] * 0.8,
        top - stack[-1][1] * 0.2, -beam * 0.2, beam * 0.2)
    radar_panels(upper, dark, (sx0 + sx1) / 2.0, top, beam * 0.18)
    mast(upper, dark, (sx0 + sx1) / 2.0 - 2, top + beam * 0.25, beam * 0.7, beam * 0.25)
    if funnel:
        box(upper, dark, sx0 - length * 0.08, sx0 + length * 0.02, h, top - 1, -beam * 0.12, beam * 0.12)
    for x, size, barrels, facing in guns:
        turret(upper, u, dark, x * length, h, size, barrels, facing)
    for x0, x1 in vls_cells:
        vls(upper, dark, x0 * length, x1 * length, h, beam * 0.45)


def transport(model, pal, length=90.0, beam=18.0):
    hull_part = model.part("hull", facet=30.0)
    upper = model.part("cargo", facet=20.0)
    h = 9.0
    hull(hull_part, model.material(pal["hull"]), model.material(pal["red"]), length, beam, h, stern=0.95)
    u = model.material(pal["upper"])
    box(upper, u, -length / 2.0 + 2, -length / 2.0 + 18, h, h + 12, -beam * 0.4, beam * 0.4)
    box(upper, model.material(GLASS), -length / 2.0 + 17.9, -length / 2.0 + 18.2, h + 8, h + 11, -beam * 0.35,
        beam * 0.35)
    box(upper, model.material(pal["dark"]), -length / 2.0 + 6, -length / 2.0 + 11, h + 12, h + 18, -2, 2)
    for row in range(4):
        for col in (-1, 1):
            m = model.material(CARGO[(row + (col > 0)) % len(CARGO)])
            x = -length / 2.0 + 22 + row * 12
            box(upper, m, x, x + 10, h, h + 5 + (row % 2) * 3, col * 0.5, col * beam * 0.38)
    box(upper, model.material(pal["dark"]), 24, 25.5, h, h + 16, -0.8, 0.8)
    box(upper, model.material(pal["dark"]), 10, 25, h + 15, h + 16, -0.6, 0.6)


def ground_base(model, pal):
    ground = model.part("ground", facet=10.0)
    works = model.part("installations", facet=20.0)
    box(ground, model.material(GROUND), -75, 75, -4, 0, -55, 55, uv=lambda p: ((p[0] + 75) / 37.5, (p[2] + 55) / 37.5))
    box(ground, model.material(RUNWAY), -68, 68, 0, 0.6, -40, -22, uv=lambda p: ((p[0] + 68) / 136.0, (p[2] + 40) / 18.0))
    c = model.material(CONCRETE)
    box(ground, c, -40, 40, 0, 0.4, -22, -8)
    u = model.material(pal["upper"])
    for k in range(3):
        x = -40 + k * 28
        loft(works, u, [[(x, 0, 0), (x, 0, 18), (x, 9, 16), (x, 11, 9), (x, 9, 2)],
                        [(x + 22, 0, 0), (x + 22, 0, 18), (x + 22, 9, 16), (x + 22, 11, 9), (x + 22, 9, 2)]])
    box(works, u, 50, 58, 0, 22, 20, 28)
    box(works, model.material(GLASS), 49, 59, 22, 27, 19, 29)
    cylinder(works, model.material(pal["dark"]), "y", (30, 0, 38), 12, 1.2)
    cylinder(works, model.material(pal["upper"]), "y", (30, 12, 38), 1.5, 6, sides=10, radius_end=5)


def aa_site(model, pal):
    ground = model.part("ground", facet=10.0)
    works = model.part("launchers", facet=20.0)
    box(ground, model.material(GROUND), -45, 45, -4, 0, -45, 45, uv=lambda p: ((p[0] + 45) / 30.0, (p[2] + 45) / 30.0))
    c = model.material(CONCRETE)
    dark = model.material(pal["dark"])
    u = model.material(pal["upper"])
    box(works, c, -12, 12, 0, 6, -12, 12)
    radar_panels(works, dark, 0, 6, 6)
    for cx, cz in ((-28, -28), (28, -28), (-28, 28), (28, 28)):
        box(works, dark, cx - 4, cx + 4, 0, 3, cz - 4, cz + 4)
        # launcher box raised toward the sky
        loft(works, u, [[(cx - 3, 3, cz - 5), (cx - 3, 3, cz + 5), (cx + 3, 3, cz + 5), (cx + 3, 3, cz - 5)],
                        [(cx + 6, 14, cz - 5), (cx + 6, 14, cz + 5), (cx + 12, 14, cz + 5), (cx + 12, 14, cz - 5)]])


# ---- aircraft -----------------------------------------------------------------

CAMO = {"south": Material("camouflage", (1.0, 1.0, 1.0), texture="camo_south.png", specular=0.3),
        "north": Material("camouflage", (1.0, 1.0, 1.0), texture="camo_north.png", specular=0.3)}
AIR_PLAIN = {"south": Material("skin", (0.70, 0.74, 0.78), specular=0.4, power=16.0),
             "north": Material("skin", (0.50, 0.55, 0.48), specular=0.4, power=16.0)}
AIR_DARK = {"south": Material("radome", (0.30, 0.32, 0.36)), "north": Material("radome", (0.24, 0.26, 0.24))}
STEALTH_SKIN = Material("stealth_skin", (0.32, 0.34, 0.38), specular=0.5, power=20.0)


def octagon(x, radius, height_scale=1.0, y=0.0):
    return [(x, y + math.sin(2 * math.pi * k / 8) * radius * height_scale, math.cos(2 * math.pi * k / 8) * radius)
            for k in range(8)]


def fuselage(part, m, profile, y=0.0, squash=1.0):
    """profile: (x, radius) from tail to nose; a radius of 0 is drawn as a small tip."""
    loft(part, m, [octagon(x, max(r, 0.3), squash, y) for x, r in profile],
         uv=lambda p: ((p[0] + 50) / 100.0, (p[2] + 50) / 100.0))


def plan_uv(span):
    return lambda p: ((p[0] + span) / (2 * span), (p[2] + span) / (2 * span))


def fighter(model, side, stealthy):
    body = model.part("fuselage", facet=45.0)
    wings = model.part("wings", facet=10.0)
    skin = model.material(STEALTH_SKIN if stealthy else CAMO[side])
    fuselage(body, skin, [(-42, 3.0), (-30, 4.5), (0, 5.0), (25, 4.0), (38, 2.2), (46, 0.3)], squash=0.8)
    box(body, model.material(GLASS), 14, 28, 3.2, 6.5, -2.2, 2.2)
    sweep = 20 if stealthy else 14
    for s in (1, -1):
        wedge(wings, skin, ((10, s * 4), (-30, s * 4)), ((-18 - sweep * 0.5, s * 34), (-30, s * 34)), 0, 1.6,
              uv=plan_uv(50))
        wedge(wings, skin, ((-30, s * 3), (-44, s * 3)), ((-40, s * 15), (-46, s * 15)), 0.5, 1.0, uv=plan_uv(50))
    if stealthy:
        for s in (1, -1):
            fin(wings, skin, -28, -42, -38, -46, 2.5, 16, s * 4.5, 1.0)
    else:
        fin(wings, skin, -26, -42, -38, -46, 3.0, 17, 0.0, 1.2)


def attack_plane(model, side, stealthy):
    body = model.part("fuselage", facet=45.0)
    wings = model.part("wings", facet=10.0)
    skin = model.material(STEALTH_SKIN if stealthy else CAMO[side])
    fuselage(body, skin, [(-40, 3.0), (-26, 5.5), (5, 6.0), (28, 5.0), (40, 2.5), (46, 0.3)], squash=0.85)
    box(body, model.material(GLASS), 16, 32, 3.8, 7.5, -2.6, 2.6)
    for s in (1, -1):
        wedge(wings, skin, ((8, s * 5), (-12, s * 5)), ((-2, s * 40), (-12, s * 40)), 0, 2.0, uv=plan_uv(50))
        wedge(wings, skin, ((-28, s * 4), (-40, s * 4)), ((-34, s * 16), (-41, s * 16)), 1.0, 1.0, uv=plan_uv(50))
        # anti-ship missiles under the wings
        cylinder(wings, model.material(AIR_DARK[side]), "x", (-10, -3.2, s * 20), 22, 1.2)
    if stealthy:
        for s in (1, -1):
            fin(wings, skin, -24, -38, -34, -41, 3.0, 14, s * 5, 1.0)
    else:
        fin(wings, skin, -24, -40, -36, -44, 3.5, 18, 0.0, 1.2)


def search_plane(model, side):
    body = model.part("fuselage", facet=45.0)
    wings = model.part("wings", facet=10.0)
    skin = model.material(AIR_PLAIN[side])
    dark = model.material(AIR_DARK[side])
    fuselage(body, skin, [(-42, 2.5), (-30, 5.0), (10, 6.0), (32, 5.0), (42, 2.0), (46, 0.4)])
    box(body, model.material(GLASS), 30, 38, 2.5, 5.5, -3.0, 3.0)
    for s in (1, -1):
        wedge(wings, skin, ((10, s * 5), (-2, s * 5)), ((7, s * 44), (0, s * 44)), 5.5, 1.6, uv=plan_uv(50))
        cylinder(wings, dark, "x", (0, 3.0, s * 16), 14, 2.4, radius_end=1.8)
        wedge(wings, skin, ((-32, s * 3), (-42, s * 3)), ((-38, s * 15), (-43, s * 15)), 1.5, 1.0)
    fin(wings, skin, -30, -42, -38, -45, 3.5, 16, 0.0, 1.2)
    # the rotodome on its pylon
    box(body, skin, -12, -6, 5.5, 11, -0.8, 0.8)
    cylinder(body, dark, "y", (-9, 11, 0), 2.4, 15, sides=12)


def patrol_plane(model, side):
    body = model.part("fuselage", facet=45.0)
    wings = model.part("wings", facet=10.0)
    skin = model.material(AIR_PLAIN[side])
    dark = model.material(AIR_DARK[side])
    fuselage(body, skin, [(-54, 1.5), (-44, 4.5), (-20, 7.0), (26, 7.0), (40, 5.0), (48, 0.5)])
    box(body, model.material(GLASS), 38, 44, 2.5, 5.5, -3.5, 3.5)
    for s in (1, -1):
        wedge(wings, skin, ((12, s * 6), (-2, s * 6)), ((6, s * 52), (0, s * 52)), 4.0, 1.8, uv=plan_uv(60))
        for z in (16, 30):
            cylinder(wings, dark, "x", (-2, 2.0, s * z), 15, 2.2, radius_end=1.6)
        wedge(wings, skin, ((-38, s * 3), (-48, s * 3)), ((-44, s * 17), (-49, s * 17)), 2.0, 1.0)
    fin(wings, skin, -36, -48, -44, -51, 5.0, 20, 0.0, 1.4)
    cylinder(body, dark, "x", (-62, 0.5, 0), 8, 0.8)  # the magnetic detector boom


def missile(model, side):
    body = model.part("missile", facet=45.0)
    skin = model.material(AIR_PLAIN[side])
    dark = model.material(AIR_DARK[side])
    fuselage(body, skin, [(-40, 3.2), (-36, 3.5), (30, 3.5), (38, 2.4), (44, 0.3)])
    for angle in (0, 90, 180, 270):
        a = math.radians(angle)
        cz, cy = math.cos(a), math.sin(a)
        # tail fins and mid wings as thin plates radiating from the body
        for x_lead, x_trail, span in ((-26, -40, 9), (8, -4, 7)):
            pts = [(x_lead, cy * 3.0, cz * 3.0), (x_trail, cy * 3.0, cz * 3.0),
                   (x_trail + 2, cy * span, cz * span), (x_trail + 5, cy * span, cz * span)]
            thick = [(p[0], p[1] + cz * 0.4, p[2] - cy * 0.4) for p in pts]
            thin = [(p[0], p[1] - cz * 0.4, p[2] + cy * 0.4) for p in pts]
            body.add_convex(thick + thin, [[0, 1, 2, 3], [4, 7, 6, 5], [0, 4, 5, 1], [1, 5, 6, 2], [2, 6, 7, 3],
                                           [3, 7, 4, 0]], dark)


# ---- the catalogue -----------------------------------------------------------

SHIP_BUILDERS = {
    "verdalis_cv.mqo": lambda m: carrier(m, SOUTH),
    "fioresta_cvl.mqo": lambda m: carrier(m, SOUTH, length=118.0, beam=20.0),
    "grandio_bb.mqo": lambda m: surface_ship(m, SOUTH, 140.0, 24.0,
                                             [(0.32, 9, 3, 1), (0.22, 8, 2, 1), (-0.34, 9, 3, -1)],
                                             [(0.06, 0.16), (-0.28, -0.2)], [(0.0, 7), (0.1, 6), (0.25, 5)]),
    "seryuon_cg.mqo": lambda m: surface_ship(m, SOUTH, 100.0, 15.0, [(0.36, 5, 1, 1)],
                                             [(0.22, 0.3), (-0.32, -0.24)], [(0.0, 6), (0.12, 6)], funnel=False),
    "rapiel_dd.mqo": lambda m: surface_ship(m, SOUTH, 80.0, 11.0, [(0.34, 4, 1, 1)], [(0.2, 0.28)],
                                            [(0.0, 5), (0.12, 4)], funnel=False),
    "tilseia_dd.mqo": lambda m: surface_ship(m, SOUTH, 76.0, 11.0, [(0.34, 4, 1, 1)], [(-0.36, -0.3)],
                                           [(0.0, 5), (0.15, 4)]),
    "portana_ap.mqo": lambda m: transport(m, SOUTH),
    "south_base.mqo": lambda m: ground_base(m, SOUTH),
    "south_aa_site.mqo": lambda m: aa_site(m, SOUTH),
    "dragnir_cv.mqo": lambda m: carrier(m, NORTH, length=156.0, beam=27.0),
    "zemrik_cvh.mqo": lambda m: air_cruiser(m, NORTH),
    "grauben_bb.mqo": lambda m: surface_ship(m, NORTH, 146.0, 25.0,
                                             [(0.33, 10, 3, 1), (0.22, 9, 3, 1), (-0.35, 10, 3, -1)],
                                             [(0.06, 0.15), (-0.27, -0.2)], [(0.0, 8), (0.12, 7), (0.3, 5)]),
    "stragon_cg.mqo": lambda m: surface_ship(m, NORTH, 104.0, 16.0, [(0.36, 6, 2, 1)],
                                             [(0.2, 0.3), (-0.34, -0.22)], [(0.0, 6), (0.14, 5)]),
    "vixel_dd.mqo": lambda m: surface_ship(m, NORTH, 82.0, 11.0, [(0.34, 4, 1, 1), (-0.36, 4, 1, -1)],
                                           [(0.2, 0.27)], [(0.0, 5), (0.15, 4)]),
    "zarik_dd.mqo": lambda m: surface_ship(m, NORTH, 72.0, 10.0, [(0.34, 4, 1, 1)], [(-0.34, -0.28)],
                                           [(0.0, 5), (0.2, 3)]),
    "kargona_ap.mqo": lambda m: transport(m, NORTH, length=94.0),
    "north_base.mqo": lambda m: ground_base(m, NORTH),
    "north_aa_site.mqo": lambda m: aa_site(m, NORTH),
}

AIRCRAFT_BUILDERS = {
    "scf7_alven.mqo": lambda m: fighter(m, "south", False),
    "scf9_zephal.mqo": lambda m: fighter(m, "south", True),
    "sca4_trista.mqo": lambda m: attack_plane(m, "south", False),
    "sca6_noxtia.mqo": lambda m: attack_plane(m, "south", True),
    "sce2_lux.mqo": lambda m: search_plane(m, "south"),
    "scp3_maren.mqo": lambda m: patrol_plane(m, "south"),
    "npf31_dravik.mqo": lambda m: fighter(m, "north", False),
    "npf40_kazym.mqo": lambda m: fighter(m, "north", True),
    "npb12_gradim.mqo": lambda m: attack_plane(m, "north", False),
    "npr5_vigil.mqo": lambda m: search_plane(m, "north"),
    "npp8_sonaris.mqo": lambda m: patrol_plane(m, "north"),
    "avm3_missile.mqo": lambda m: missile(m, "south"),
    "vrk17_missile.mqo": lambda m: missile(m, "north"),
}


def write_models():
    for name, make in TEXTURES.items():
        write_bytes(os.path.join(MODELS, name), make())
    wanted = [c.model for c in SHIP_CLASSES] + [a.model for a in AIRCRAFT]
    builders = dict(SHIP_BUILDERS, **AIRCRAFT_BUILDERS)
    for name in wanted:
        model = Model()
        builders[name](model)
        write_windows_text(os.path.join(MODELS, name), model.lines())
