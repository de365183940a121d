"""Building and writing Metasequoia text documents (Format Text Ver 1.0).

Only what the game's model reader understands is written: a scene chunk,
materials (shader, col, dif, amb, emi, spc, power, tex) and objects with
visible, locking, shading, facet, color, color_type, vertex and face
(V, M, UV). Faces have three or four corners.

The reader reverses each face and takes (p2 - p1) x (p0 - p1) as its normal,
so a face must be listed clockwise as seen from outside. Every primitive is
convex; its faces are turned to point away from its own centre, which makes
that so without hand-ordering corners.
"""

import math


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def centre(points):
    n = float(len(points))
    return (sum(p[0] for p in points) / n, sum(p[1] for p in points) / n, sum(p[2] for p in points) / n)


def reader_normal(points):
    q = points[::-1]
    return cross(sub(q[2], q[1]), sub(q[0], q[1]))


class Material:
    def __init__(self, name, colour, texture=None, diffuse=0.8, ambient=0.6, emissive=0.0, specular=0.2, power=8.0):
        self.name = name
        self.colour = colour
        self.texture = texture
        self.diffuse = diffuse
        self.ambient = ambient
        self.emissive = emissive
        self.specular = specular
        self.power = power

    def line(self):
        r, g, b = self.colour[:3]
        a = self.colour[3] if len(self.colour) > 3 else 1.0
        text = '\t"%s" shader(3) col(%.3f %.3f %.3f %.3f) dif(%.3f) amb(%.3f) emi(%.3f) spc(%.3f) power(%.2f)' % (
            self.name, r, g, b, a, self.diffuse, self.ambient, self.emissive, self.specular, self.power)
        if self.texture:
            text += ' tex("%s")' % self.texture
        return text


class Part:
    """One object of the document."""

    def __init__(self, name, facet=40.0, colour=(0.8, 0.8, 0.8)):
        self.name = name
        self.facet = facet
        self.colour = colour
        self.vertices = []
        self.faces = []  # (corner indices, material index, uvs or None)

    def add_convex(self, points, faces, material, uv=None):
        """points: vertices of one convex solid; faces: corner lists into points.
        uv: None, or a function (point) -> (u, v) for planar texture mapping."""
        inside = centre(points)
        base = len(self.vertices)
        self.vertices.extend(points)
        for corners in faces:
            pts = [points[c] for c in corners]
            outward = sub(centre(pts), inside)
            n = reader_normal(pts)
            if dot(n, outward) < 0:
                corners = corners[::-1]
                pts = pts[::-1]
            uvs = [uv(p) for p in pts] if uv else None
            self.faces.append(([base + c for c in corners], material, uvs))

    def lines(self):
        out = ['Object "%s" {' % self.name,
               "\tvisible 15",
               "\tlocking 0",
               "\tshading 1",
               "\tfacet %.1f" % self.facet,
               "\tcolor %.3f %.3f %.3f" % self.colour,
               "\tcolor_type 0",
               "\tvertex %d {" % len(self.vertices)]
        out += ["\t\t%.4f %.4f %.4f" % v for v in self.vertices]
        out += ["\t}", "\tface %d {" % len(self.faces)]
        for corners, material, uvs in self.faces:
            text = "\t\t%d V(%s) M(%d)" % (len(corners), " ".join(str(c) for c in corners), material)
            if uvs:
                text += " UV(%s)" % " ".join("%.5f %.5f" % uv for uv in uvs)
            out.append(text)
        out += ["\t}", "}"]
        return out


class Model:
    def __init__(self):
        self.materials = []
        self.parts = []

    def material(self, mat):
        for i, m in enumerate(self.materials):
            if m.name == mat.name:
                return i
        self.materials.append(mat)
        return len(self.materials) - 1

    def part(self, name, **kw):
        p = Part(name, **kw)
        self.parts.append(p)
        return p

    def lines(self):
        out = ["Metasequoia Document", "Format Text Ver 1.0", "",
               "Scene {",
               "\tpos 0.0000 0.0000 1500.0000",
               "\tlookat 0.0000 0.0000 0.0000",
               "\thead -0.5236",
               "\tpich 0.5236",
               "\tortho 0",
               "\tzoom2 5.0000",
               "\tamb 0.250 0.250 0.250",
               "}",
               "Material %d {" % len(self.materials)]
        out += [m.line() for m in self.materials]
        out.append("}")
        for p in self.parts:
            out += p.lines()
        out.append("Eof")
        return out


# ---- primitives -------------------------------------------------------------

def box(part, material, x0, x1, y0, y1, z0, z1, uv=None):
    pts = [(x, y, z) for x in (x0, x1) for y in (y0, y1) for z in (z0, z1)]
    # index = xi*4 + yi*2 + zi
    faces = [[0, 1, 3, 2], [4, 6, 7, 5], [0, 4, 5, 1], [2, 3, 7, 6], [0, 2, 6, 4], [1, 5, 7, 3]]
    part.add_convex(pts, faces, material, uv)


def loft(part, material, sections, uv=None, cap_start=True, cap_end=True):
    """sections: rings of equal length, each listed in the same rotational order.
    Rings are joined by quads; the end rings are closed by a fan."""
    pts = [p for ring in sections for p in ring]
    n = len(sections[0])
    faces = []
    for s in range(len(sections) - 1):
        for k in range(n):
            a, b = s * n + k, s * n + (k + 1) % n
            faces.append([a, b, b + n, a + n])
    for ring_index, wanted in ((0, cap_start), (len(sections) - 1, cap_end)):
        if not wanted:
            continue
        first = ring_index * n
        ring = list(range(first, first + n))
        if n == 4:
            faces.append(ring)
        else:
            for k in range(1, n - 1):
                faces.append([ring[0], ring[k], ring[k + 1]])
    part.add_convex(pts, faces, material, uv)


def cylinder(part, material, axis, start, length, radius, sides=8, radius_end=None, uv=None):
    """A prism of `sides` faces along axis 'x', 'y' or 'z' from `start` (a point) for `length`."""
    radius_end = radius if radius_end is None else radius_end
    rings = []
    for along, r in ((0.0, radius), (length, radius_end)):
        ring = []
        for k in range(sides):
            a = 2 * math.pi * k / sides
            u, v = math.cos(a) * r, math.sin(a) * r
            if axis == "x":
                ring.append((start[0] + along, start[1] + u, start[2] + v))
            elif axis == "y":
                ring.append((start[0] + u, start[1] + along, start[2] + v))
            else:
                ring.append((start[0] + u, start[1] + v, start[2] + along))
        rings.append(ring)
    loft(part, material, rings, uv)


def wedge(part, material, root, tip, y, thickness, uv=None):
    """A flat plate (wing, fin) from a root chord to a tip chord.
    root and tip: ((x_lead, z), (x_trail, z)); the plate lies at height y."""
    (rl, rz), (rt, _) = root
    (tl, tz), (tt, _) = tip
    h = thickness / 2.0
    pts = [(rl, y - h, rz), (rt, y - h, rz), (tt, y - h * 0.5, tz), (tl, y - h * 0.5, tz),
           (rl, y + h, rz), (rt, y + h, rz), (tt, y + h * 0.5, tz), (tl, y + h * 0.5, tz)]
    faces = [[0, 1, 2, 3], [4, 7, 6, 5], [0, 4, 5, 1], [1, 5, 6, 2], [2, 6, 7, 3], [3, 7, 4, 0]]
    part.add_convex(pts, faces, material, uv)


def fin(part, material, x_lead, x_trail, x_tip_lead, x_tip_trail, y_root, y_tip, z, thickness):
    """A vertical plate (tail fin) standing on y_root, rising to y_tip."""
    h = thickness / 2.0
    pts = [(x_lead, y_root, z - h), (x_trail, y_root, z - h), (x_tip_trail, y_tip, z - h * 0.5),
           (x_tip_lead, y_tip, z - h * 0.5),
           (x_lead, y_root, z + h), (x_trail, y_root, z + h), (x_tip_trail, y_tip, z + h * 0.5),
           (x_tip_lead, y_tip, z + h * 0.5)]
    faces = [[0, 1, 2, 3], [4, 7, 6, 5], [0, 4, 5, 1], [1, 5, 6, 2], [2, 6, 7, 3], [3, 7, 4, 0]]
    part.add_convex(pts, faces, material)
