"""The three 256 x 256 pictures: sand, bricks and the UFO's hull map.

Noise comes from lattices that wrap at the picture's edge, so sand and bricks repeat
without seams. The hull map is painted in the same (u, v) layout as the UFO's faces.
"""

import math

from . import shapes
from .prng import Prng

SIZE = 256


def clamp_byte(x):
    return max(0, min(255, int(round(x))))


def colour(rgb):
    return tuple(clamp_byte(c) for c in rgb)


def blank(rgb=(0, 0, 0)):
    return [[rgb] * SIZE for _ in range(SIZE)]


class WrappingNoise:
    """Smooth value noise on a lattice of `cells` x `cells` that repeats across the picture."""

    def __init__(self, rng, cells):
        self.cells = cells
        self.values = [[rng.signed() for _ in range(cells)] for _ in range(cells)]

    def at(self, x, y):
        step = SIZE / self.cells
        fx, fy = x / step, y / step
        ix, iy = int(math.floor(fx)), int(math.floor(fy))
        tx, ty = fx - ix, fy - iy
        tx, ty = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
        c = self.cells
        v00 = self.values[iy % c][ix % c]
        v10 = self.values[iy % c][(ix + 1) % c]
        v01 = self.values[(iy + 1) % c][ix % c]
        v11 = self.values[(iy + 1) % c][(ix + 1) % c]
        top = v00 + (v10 - v00) * tx
        bottom = v01 + (v11 - v01) * tx
        return top + (bottom - top) * ty


def sand():
    rng = Prng(0x73616E64)
    broad, middle, fine = WrappingNoise(rng, 4), WrappingNoise(rng, 16), WrappingNoise(rng, 64)
    picture = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            shade = 0.07 * broad.at(x, y) + 0.05 * middle.at(x, y) + 0.04 * fine.at(x, y)
            # Wind ripples: whole periods across the picture, bent by the broad noise.
            shade += 0.035 * math.sin(2 * math.pi * (3 * y + x) / SIZE * 4 + 3 * broad.at(x, y))
            grain = rng.signed() * 0.06
            speck = rng.unit()
            base = (200, 174, 124)
            if speck < 0.015:
                base = (150, 128, 92)   # dark grains
            elif speck < 0.03:
                base = (232, 214, 172)  # bright grains
            row.append(colour(c * (1 + shade + grain) for c in base))
        picture.append(row)
    return picture


BRICK_ROWS, BRICKS_PER_ROW, MORTAR = 8, 4, 4


def bricks():
    rng = Prng(0x6272696B)
    brick_h, brick_w = SIZE // BRICK_ROWS, SIZE // BRICKS_PER_ROW
    tints = [[(rng.signed(), rng.signed()) for _ in range(BRICKS_PER_ROW)] for _ in range(BRICK_ROWS)]
    grime = WrappingNoise(rng, 16)
    picture = []
    for y in range(SIZE):
        row = []
        course = y // brick_h
        shift = (course % 2) * brick_w // 2
        for x in range(SIZE):
            bx = (x + shift) % SIZE
            # Distance to the nearest joint, with the mortar straddling each brick edge.
            dy = min((y % brick_h), brick_h - 1 - (y % brick_h))
            dx = min((bx % brick_w), brick_w - 1 - (bx % brick_w))
            noise = rng.signed()
            if min(dx, dy) < MORTAR // 2:
                grey = 178 + 14 * noise + 10 * grime.at(x, y)
                row.append(colour((grey, grey * 0.97, grey * 0.9)))
                continue
            tone, hue = tints[course][bx // brick_w]
            edge = 1.0 - 0.18 * max(0, 3 - min(dx, dy) + MORTAR // 2) / 3
            base = (158 + 22 * tone, 66 + 10 * tone + 8 * hue, 48 + 8 * tone)
            light = edge * (1 + 0.08 * noise + 0.1 * grime.at(x, y))
            row.append(colour(c * light for c in base))
        picture.append(row)
    return picture


def uv_of_pixel(x, y):
    """Texture coordinates (v = 0 at the bottom) of a pixel's centre."""
    return (x + 0.5) / SIZE, 1 - (y + 0.5) / SIZE


def hull_disc(rng, u, v, centre, base, ring_radii, engine):
    """Metal panels seen along the saucer's axis: seams on the mesh's radial edges and rings."""
    du, dv = u - centre[0], v - centre[1]
    rho = math.hypot(du, dv) / shapes.DISC_RADIUS
    angle = math.atan2(dv, du) % (2 * math.pi)
    sector = 2 * math.pi / shapes.UFO_SEGMENTS
    off = min(angle % sector, sector - angle % sector) * rho * shapes.DISC_RADIUS * 256
    light = 1.0 + 0.12 * (1 - rho) + 0.04 * rng.signed()
    rgb = base
    if off < 0.9 or any(abs(rho - r) * shapes.DISC_RADIUS * 256 < 0.9 for r in ring_radii):
        light *= 0.62  # panel seams
    elif any(abs(rho - r) * shapes.DISC_RADIUS * 256 < 3.2 for r in ring_radii) and off % 6 < 1.2:
        light *= 0.8   # rivets beside the seams
    if engine and rho < 0.34:
        glow = max(0.0, 1 - rho / 0.34)
        rgb = tuple(b * (1 - glow) + g * glow for b, g in zip(base, (255, 150, 40)))
        if 0.22 < rho < 0.27:
            rgb = (255, 230, 150)
    return colour(c * light for c in rgb)


def dome_disc(u, v, centre):
    """Blue glass, brighter towards the top, with one highlight."""
    du, dv = u - centre[0], v - centre[1]
    rho = math.hypot(du, dv) / shapes.DISC_RADIUS
    base = tuple(a + (b - a) * min(rho, 1) for a, b in zip((150, 215, 255), (30, 80, 160)))
    spot = math.hypot(du + 0.06, dv - 0.06) / 0.05
    if spot < 1:
        base = tuple(c + (255 - c) * (1 - spot) ** 2 for c in base)
    return colour(base)


def rim_picture(picture, rng):
    """Sixteen strips of polished band, each with two portholes, lit or dark."""
    seg_len = 2 * math.pi * shapes.UFO_RIM / shapes.UFO_SEGMENTS
    band_h = shapes.RIM_BAND[1] - shapes.RIM_BAND[0]
    for k in range(shapes.UFO_SEGMENTS):
        u0, v0, u1, v1 = shapes.rim_strip(k)
        x0, x1 = int(u0 * SIZE) - 1, int(math.ceil(u1 * SIZE)) + 1
        y0, y1 = int((1 - v1) * SIZE) - 1, int(math.ceil((1 - v0) * SIZE)) + 1
        lit = [rng.unit() < 0.75 for _ in range(2)]
        for y in range(max(0, y0), min(SIZE, y1)):
            for x in range(max(0, x0), min(SIZE, x1)):
                u, v = uv_of_pixel(x, y)
                s = min(max((u - u0) / (u1 - u0), 0), 1)   # across the strip
                t = min(max((v - v0) / (v1 - v0), 0), 1)   # up the band
                grey = 175 + 60 * math.sin(math.pi * t) + 6 * rng.signed()
                rgb = (grey, grey, grey * 1.04)
                for w, on in zip((0.25, 0.75), lit):
                    # Round in the world, though the strip stretches the band.
                    d = math.hypot((s - w) * seg_len, (t - 0.5) * band_h) / (0.36 * band_h)
                    if d < 1:
                        rgb = (255, 236, 120) if on else (30, 40, 70)
                        rgb = tuple(c * (1 - 0.35 * d * d) for c in rgb)
                    elif d < 1.3:
                        rgb = (70, 70, 80)
                picture[y][x] = colour(rgb)


def ufo_map():
    rng = Prng(0x75666F21)
    picture = blank((40, 42, 48))
    profile = shapes.UFO_PROFILE
    top_rings = [r / shapes.UFO_RIM for part, r, _ in profile if part == "top"]
    bottom_rings = [r / shapes.UFO_RIM for part, r, _ in profile if part == "bottom"]
    reach = (shapes.DISC_RADIUS * SIZE + 4) / SIZE
    for y in range(SIZE):
        for x in range(SIZE):
            u, v = uv_of_pixel(x, y)
            for part, centre in shapes.DISC_CENTRES.items():
                if math.hypot(u - centre[0], v - centre[1]) > reach:
                    continue
                if part == "top":
                    picture[y][x] = hull_disc(rng, u, v, centre, (168, 176, 188), top_rings, False)
                elif part == "bottom":
                    picture[y][x] = hull_disc(rng, u, v, centre, (92, 98, 112), bottom_rings, True)
                else:
                    picture[y][x] = dome_disc(u, v, centre)
    rim_picture(picture, rng)
    return picture
