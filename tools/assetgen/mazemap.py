"""A top-down picture of the maze, drawn from the model text the program reads.

Each pixel shows what the player's ground probe would stand on there: the first triangle in
stored order under the point, in its material's colour, brighter when higher up to the platform's height. The origin
is marked red and the box the fifty objects are placed in is outlined in cyan.
"""

import math

SCALE = 4          # pixels per world unit
EXTENT = 70        # the picture covers -EXTENT..EXTENT in x (left to right) and z (top to bottom)
BUCKET = 8


def read_model(text):
    vertices, faces, rgb = [], [], (0, 0, 0)
    for line in text.splitlines():
        if line.startswith("v "):
            vertices.append(tuple(float(t) for t in line.split()[1:4]))
        elif line.startswith("usemtl"):
            rgb = (int(line[11:14]), int(line[15:18]), int(line[19:22]))
        elif line.startswith("f "):
            faces.append((tuple(int(t.split("/")[0]) - 1 for t in line.split()[1:4]), rgb))
    return vertices, faces


def ground_under(tri, x, z):
    """Height where the vertical line through (x, z) meets the triangle, edges included; None when it misses."""
    (x1, y1, z1), (x2, y2, z2), (x3, y3, z3) = tri
    det = (x2 - x1) * (z3 - z1) - (x3 - x1) * (z2 - z1)
    if abs(det) < 1e-12:
        return None  # an upright face: the probe runs along it
    a = ((x2 - x) * (z3 - z) - (x3 - x) * (z2 - z)) / det
    b = ((x3 - x) * (z1 - z) - (x1 - x) * (z3 - z)) / det
    c = 1 - a - b
    if min(a, b, c) < -1e-9:
        return None
    return a * y1 + b * y2 + c * y3


class Probe:
    """Finds the first triangle in stored order under a point, as the player's ground test does."""

    def __init__(self, vertices, faces):
        self.tris = [tuple(vertices[i] for i in idx) for idx, _ in faces]
        self.colours = [rgb for _, rgb in faces]
        self.buckets = {}
        for n, tri in enumerate(self.tris):
            xs, zs = [p[0] for p in tri], [p[2] for p in tri]
            for bx in range(math.floor(min(xs) / BUCKET), math.floor(max(xs) / BUCKET) + 1):
                for bz in range(math.floor(min(zs) / BUCKET), math.floor(max(zs) / BUCKET) + 1):
                    self.buckets.setdefault((bx, bz), []).append(n)

    def first_hit(self, x, z):
        for n in self.buckets.get((math.floor(x / BUCKET), math.floor(z / BUCKET)), ()):
            y = ground_under(self.tris[n], x, z)
            if y is not None:
                return n, y
        return None


def draw_map(text):
    vertices, faces = read_model(text)
    probe = Probe(vertices, faces)
    size = 2 * EXTENT * SCALE
    picture = []
    for row in range(size):
        z = -EXTENT + (row + 0.5) / SCALE
        line = []
        for col in range(size):
            x = -EXTENT + (col + 0.5) / SCALE
            hit = probe.first_hit(x, z)
            if hit is None:
                line.append((20, 20, 28))
                continue
            n, y = hit
            light = 0.7 + 0.3 * min(y, 4) / 4  # walkable heights shade from dark to bright
            line.append(tuple(min(255, int(c * light)) for c in probe.colours[n]))
        picture.append(line)

    def put(x, z, rgb):
        col, row = int((x + EXTENT) * SCALE), int((z + EXTENT) * SCALE)
        if 0 <= row < size and 0 <= col < size:
            picture[row][col] = rgb

    for t in range(-30 * SCALE, 30 * SCALE + 1):
        if (t // 3) % 2 == 0:
            for a, b in ((t / SCALE, -30), (t / SCALE, 30), (-30, t / SCALE), (30, t / SCALE)):
                put(a, b, (0, 220, 230))
    for d in range(-6, 7):
        put(d / SCALE, 0, (255, 0, 0))
        put(0, d / SCALE, (255, 0, 0))
    return picture
