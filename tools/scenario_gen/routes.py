"""Sails fleets across the chart with the game's movement rules, to show that the islands trap no one.

A fleet steps its speed toward its goal each turn; a step whose straight line
crosses land is replaced by the best short probe step around the fleet, as
the game's movement does. Used by verify.py.
"""

import math

from chart import HEIGHT, WIDTH


def land_on_line(mask, x0, y0, x1, y1):
    if y0 % 2:
        x0 += 16  # the game's line walk starts 16 pixels to the right on odd rows
    dx, dy = x1 - x0, y1 - y0
    sx, sy = (dx > 0) - (dx < 0), (dy > 0) - (dy < 0)
    ax, ay = abs(dx), abs(dy)
    x, y = x0, y0
    if ax > ay:
        e = -ax
        for _ in range(ax + 1):
            if is_land(mask, x, y):
                return True
            x += sx
            e += 2 * ay
            if e >= 0:
                y += sy
                e -= 2 * ax
    else:
        e = -ay
        for _ in range(ay + 1):
            if is_land(mask, x, y):
                return True
            y += sy
            e += 2 * ax
            if e >= 0:
                x += sx
                e -= 2 * ay
    return False


def is_land(mask, x, y):
    return 0 <= x < WIDTH and 0 <= y < HEIGHT and mask[y][x]


def round_even(v):
    return int(round(v))


def polar_offset(x, y, bearing, distance):
    t = math.radians(bearing) - math.pi / 2
    return x + round_even(math.cos(t) * distance), y + round_even(math.sin(t) * distance)


def step_toward(x0, y0, x1, y1, length):
    k = length / math.hypot(x1 - x0, y1 - y0)
    return x0 + int((x1 - x0) * k), y0 + int((y1 - y0) * k)


def outside(x, y):
    return x < 0 or x > WIDTH or y < 0 or y > HEIGHT


def detour(mask, x, y, sx, sy, goal):
    px, py = x + sx, y + sy
    if outside(px, py):
        px, py = x, y
    if not is_land(mask, px, py):
        return px, py
    best = None
    seen = set()
    for a in range(1, 360):
        for r in range(5, 101):
            cx, cy = polar_offset(x, y, a, r)
            if (cx, cy) == (x, y):
                continue
            s = step_toward(x, y, cx, cy, 10)
            score = abs(goal[0] - cx) + abs(goal[1] - cy)
            if best is not None and score >= best[0]:
                continue
            if s not in seen and land_on_line(mask, x, y, s[0], s[1]):
                seen.add(s)
                continue
            best = (score, s)
    if best is None:
        return x, y
    px, py = best[1]
    return (x, y) if outside(px, py) else (px, py)


def sail(mask, start, goal, speed, max_turns):
    """Turns a fleet needs to come within one turn's reach of goal, or None."""
    x, y = start
    for turn in range(1, max_turns + 1):
        dx, dy = goal[0] - x, goal[1] - y
        if abs(dx) + abs(dy) < speed:
            return turn
        k = speed / math.hypot(dx, dy)
        sx, sy = int(dx * k), int(dy * k)
        if not land_on_line(mask, x, y, x + sx, y + sy):
            x, y = x + sx, y + sy
        else:
            x, y = detour(mask, x, y, sx, sy, goal)
    return None
