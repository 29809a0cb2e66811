"""Geometry helpers for the model checks: normals, areas, and the player's vertical ground probe."""

import math


def sub(a, b):
    return tuple(p - q for p, q in zip(a, b))


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return sum(p * q for p, q in zip(a, b))


def length(a):
    return math.sqrt(dot(a, a))


def corners(model, face):
    return [model.vertices[i] for i in face[0]]


def normal(tri):
    """(V2 - V1) x (V3 - V1): the side from which the corners run counter-clockwise."""
    return cross(sub(tri[1], tri[0]), sub(tri[2], tri[0]))


def uv_area(uvs):
    (u1, v1), (u2, v2), (u3, v3) = uvs
    return abs((u2 - u1) * (v3 - v1) - (u3 - u1) * (v2 - v1)) / 2


def height_under(tri, x, z, slack=1e-9):
    """Height where the vertical line through (x, z) meets the triangle, edges included, or None."""
    (x1, y1, z1), (x2, y2, z2), (x3, y3, z3) = tri
    det = (x2 - x1) * (z3 - z1) - (x3 - x1) * (z2 - z1)
    if abs(det) < 1e-12:
        return None
    a = ((x2 - x) * (z3 - z) - (x3 - x) * (z2 - z)) / det
    b = ((x3 - x) * (z1 - z) - (x1 - x) * (z3 - z)) / det
    if min(a, b, 1 - a - b) < -slack:
        return None
    return a * y1 + b * y2 + (1 - a - b) * y3


class GroundProbe:
    """All triangles under a point, in stored order, bucketed for speed."""

    CELL = 4

    def __init__(self, model):
        self.tris = [corners(model, f) for f in model.faces]
        self.buckets = {}
        for n, tri in enumerate(self.tris):
            xs, zs = [p[0] for p in tri], [p[2] for p in tri]
            for bx in range(math.floor(min(xs) / self.CELL), math.floor(max(xs) / self.CELL) + 1):
                for bz in range(math.floor(min(zs) / self.CELL), math.floor(max(zs) / self.CELL) + 1):
                    self.buckets.setdefault((bx, bz), []).append(n)

    def hits(self, x, z):
        """[(triangle index, height)] in stored order."""
        found = []
        for n in self.buckets.get((math.floor(x / self.CELL), math.floor(z / self.CELL)), ()):
            y = height_under(self.tris[n], x, z)
            if y is not None:
                found.append((n, y))
        return found

    def first(self, x, z):
        """What the player's probe stands on: the first triangle in stored order, not the nearest."""
        found = self.hits(x, z)
        return found[0] if found else None

    def highest(self, x, z):
        found = self.hits(x, z)
        return max(y for _, y in found) if found else None
