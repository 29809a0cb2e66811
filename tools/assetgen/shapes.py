"""The cube and the UFO: small closed meshes that share every vertex between their faces."""

import math

from .objmesh import Mesh, cross, dot

CUBE_HALF = 1
CUBE_COLOUR = (170, 96, 70)


def build_cube():
    """A cube of side 2 around its origin; each face shows the whole brick picture, upright."""
    mesh = Mesh()
    for n in [(1, 0, 0), (-1, 0, 0), (0, 0, 1), (0, 0, -1), (0, 1, 0), (0, -1, 0)]:
        up = (0, 1, 0) if n[1] == 0 else (0, 0, -n[1])
        right = cross(up, n)  # right x up = n: seen from the front, right is to the right
        corners, uvs = [], []
        for su, sv in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
            corners.append(tuple(CUBE_HALF * (n[k] + su * right[k] + sv * up[k]) for k in range(3)))
            uvs.append(((su + 1) / 2, (sv + 1) / 2))
        mesh.quad_facing(corners, uvs, CUBE_COLOUR, n)
    return mesh


# The saucer's outline from the bottom pole to the top pole, as (radius, height) rings.
UFO_SEGMENTS = 16
UFO_BOTTOM, UFO_TOP = -0.5, 0.62
UFO_PROFILE = [
    ("bottom", 0.45, -0.47), ("bottom", 0.9, -0.38), ("bottom", 1.25, -0.24),
    ("rim", 1.5, -0.1), ("top", 1.5, 0.02),
    ("top", 1.2, 0.1), ("top", 0.9, 0.16), ("dome", 0.6, 0.2),
    ("dome", 0.58, 0.35), ("dome", 0.46, 0.5), ("dome", 0.26, 0.59),
]
UFO_RIM = 1.5
RIM_BAND = (-0.1, 0.02)  # heights of the rings that bound the windowed band
UFO_COLOURS = {"bottom": (90, 96, 110), "rim": (200, 200, 190), "top": (160, 168, 180), "dome": (90, 170, 230)}

# Where each part lies on the hull picture (u, v, with v = 0 at the bottom of the image):
# three discs seen along the axis, and sixteen small strips for the windowed rim.
DISC_RADIUS = 0.23
DISC_CENTRES = {"top": (0.25, 0.75), "bottom": (0.75, 0.75), "dome": (0.25, 0.25)}
STRIP_COLUMNS, STRIP_ROWS = 2, 8
STRIP_MARGIN = 1 / 256


def rim_strip(k):
    """(u0, v0, u1, v1) of rim segment k in the lower right quarter of the picture."""
    width, height = 0.5 / STRIP_COLUMNS, 0.5 / STRIP_ROWS
    col, row = k % STRIP_COLUMNS, k // STRIP_COLUMNS
    u0, v0 = 0.5 + col * width, row * height
    return u0 + STRIP_MARGIN, v0 + STRIP_MARGIN, u0 + width - STRIP_MARGIN, v0 + height - STRIP_MARGIN


def dome_outline():
    """The dome's rings from its base up to the pole, with arc length from the base."""
    points = [(r, y) for part, r, y in UFO_PROFILE if part == "dome"] + [(0.0, UFO_TOP)]
    arcs = [0.0]
    for (r0, y0), (r1, y1) in zip(points, points[1:]):
        arcs.append(arcs[-1] + math.hypot(r1 - r0, y1 - y0))
    return points, arcs


def disc_uv(part, r, y, angle):
    """Seen along the axis: hull rings by their radius, dome rings by their arc length to the pole."""
    if part == "dome":
        points, arcs = dome_outline()
        rho = DISC_RADIUS * (1 - arcs[points.index((r, y))] / arcs[-1])
    else:
        rho = DISC_RADIUS * r / UFO_RIM
    cu, cv = DISC_CENTRES[part]
    # Mirrored for the parts seen from above, so that no face shows the picture flipped.
    turn = 1 if part == "bottom" else -1
    return cu + rho * math.cos(angle), cv + turn * rho * math.sin(angle)


def signed_volume(mesh):
    """Six times the enclosed volume: positive when every face points outwards."""
    total = 0.0
    for _, indices, _ in mesh.faces:
        a, b, c = (mesh.positions[i - 1] for i in indices)
        total += dot(a, cross(b, c))
    return total


def build_ufo():
    mesh = Mesh()
    n = UFO_SEGMENTS
    angles = [2 * math.pi * k / n for k in range(n + 1)]
    rings = [("bottom", 0.0, UFO_BOTTOM)] + UFO_PROFILE + [("dome", 0.0, UFO_TOP)]

    def pos(ring, a):
        return (ring[1] * math.cos(a), ring[2], ring[1] * math.sin(a))

    for lower, upper in zip(rings, rings[1:]):
        part = lower[0]  # each band takes the part of the ring it starts from
        for k in range(n):
            a0, a1 = angles[k], angles[k + 1]
            # Up the outline, then round the axis: this order runs counter-clockwise seen from outside.
            corners = [(lower, a0), (upper, a0), (upper, a1), (lower, a1)]
            if part == "rim":
                u0, v0, u1, v1 = rim_strip(k)
                uvs = [(u1, v0), (u1, v1), (u0, v1), (u0, v0)]  # seen from outside the angle grows to the left
            else:
                uvs = [disc_uv(part, ring[1], ring[2], a) for ring, a in corners]
            points = [pos(ring, a) for ring, a in corners]
            keep = [i for i in range(4) if points[i] != points[(i + 1) % 4]]  # a pole closes the band in one triangle
            triangles = [keep] if len(keep) == 3 else [(0, 1, 2), (0, 2, 3)]
            for tri in triangles:
                mesh.triangle([points[i] for i in tri], [uvs[i] for i in tri], UFO_COLOURS[part])
    if signed_volume(mesh) <= 0:
        raise ValueError("the saucer faces inwards")
    return mesh
