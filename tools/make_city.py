#!/usr/bin/env python3
"""Writes a city of textured blocks and streets for measuring large worlds:
a square of blocks, each a street-level ground of tiles and four buildings
whose walls are cut into panels, in four materials (asphalt, concrete, brick,
glass) with a material library and four 256 x 256 BMP textures. The same
arguments always give the same files. They are large: write them under /tmp,
never into the tree.

    tools/make_city.py OUT_DIR [--triangles N]

N (default 1,000,000) is met to within one row of blocks. Streets run along
x and z at every multiple of the block pitch (60 units), so
`--spawn 0,1.7,30` stands in a street:

    tools/make_city.py /tmp/city
    build/mazewalk --maze /tmp/city/city.obj --spawn 0,1.7,30
    build/mazewalk --bench --maze /tmp/city/city.obj --spawn 0,1.7,30
"""
import argparse
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__))))

from assetgen import imagefiles  # noqa: E402
from assetgen.prng import Prng  # noqa: E402

PITCH = 60.0      # block to block
STREET = 12.0     # street width between blocks
TILE_CELLS = 10   # ground tiles per block side
WALL_COLS = 6     # panels across a wall
WALL_ROWS = 12    # panels up a wall
SIZE = 256        # texture side

# Triangles of one block: the ground, four buildings of four walls and a roof.
BLOCK_TRIANGLES = 2 * TILE_CELLS * TILE_CELLS + 4 * (4 * 2 * WALL_COLS * WALL_ROWS + 2)


def texture(kind):
    """One 256 x 256 picture, a pattern per material, seeded by its name."""
    rng = Prng(sum(map(ord, kind)))
    grain = [[rng.signed() for _ in range(16)] for _ in range(16)]
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            n = grain[y % 16][x % 16] * 12
            if kind == "asphalt":
                line = 60 if (x // 8) % 8 == 0 and 120 < y < 136 else 0
                g = 70 + n + line
                rgb = (g, g, g + 4)
            elif kind == "concrete":
                joint = -40 if x % 64 < 2 or y % 64 < 2 else 0
                g = 170 + n + joint
                rgb = (g, g - 4, g - 10)
            elif kind == "brick":
                course = y // 16
                shift = 16 if course % 2 else 0
                mortar = y % 16 < 2 or (x + shift) % 32 < 2
                rgb = (200 + n, 190 + n, 180 + n) if mortar else (150 + n, 60 + n, 40 + n)
            else:  # glass: windows in a frame
                frame = x % 32 < 4 or y % 32 < 4
                rgb = (90 + n, 90 + n, 100 + n) if frame else (60 + n, 110 + n, 160 + n + y % 32)
            row.append(tuple(max(0, min(255, int(c))) for c in rgb))
        rows.append(row)
    return rows


class Writer:
    """Vertex and face lines of one OBJ file; texture coordinates shared."""

    def __init__(self, out):
        self.out = out
        self.vertices = 0
        self.uv_index = {}

    def uv(self, u, v):
        key = (u, v)
        if key not in self.uv_index:
            self.out.write(f"vt {u:g} {v:g}\n")
            self.uv_index[key] = len(self.uv_index) + 1
        return self.uv_index[key]

    def grid(self, origin, across, up, cols, rows, uv_scale):
        """A grid of COLS x ROWS quads from ORIGIN, spanned by ACROSS and UP
        (left to right and bottom to top as seen from its front), each quad
        two counter-clockwise triangles."""
        base = self.vertices
        lines = []
        for r in range(rows + 1):
            for c in range(cols + 1):
                p = [origin[k] + across[k] * c / cols + up[k] * r / rows for k in range(3)]
                lines.append(f"v {p[0]:.3f} {p[1]:.3f} {p[2]:.3f}\n")
        self.out.write("".join(lines))
        self.vertices += (cols + 1) * (rows + 1)
        faces = []
        for r in range(rows):
            for c in range(cols):
                a = base + r * (cols + 1) + c + 1
                corners = [(a, c, r), (a + 1, c + 1, r), (a + cols + 2, c + 1, r + 1),
                           (a + cols + 1, c, r + 1)]
                ids = [f"{v}/{self.uv(cu * uv_scale, cv * uv_scale)}" for v, cu, cv in corners]
                faces.append(f"f {ids[0]} {ids[1]} {ids[2]}\nf {ids[0]} {ids[2]} {ids[3]}\n")
        self.out.write("".join(faces))


def building(w, rng, x0, z0, x1, z1):
    height = 12.0 + 4.0 * rng.below(10)
    w.out.write("usemtl " + ("brick" if rng.below(2) else "glass") + "\n")
    up = (0.0, height, 0.0)
    # Each wall from its viewer's left to right, facing out.
    walls = [((x0, 0.0, z1), (x1 - x0, 0.0, 0.0)),   # faces +z
             ((x1, 0.0, z0), (x0 - x1, 0.0, 0.0)),   # faces -z
             ((x1, 0.0, z1), (0.0, 0.0, z0 - z1)),   # faces +x
             ((x0, 0.0, z0), (0.0, 0.0, z1 - z0))]   # faces -x
    for origin, across in walls:
        w.grid(origin, across, up, WALL_COLS, WALL_ROWS, 0.5)
    w.out.write("usemtl concrete\n")
    w.grid((x0, height, z1), (x1 - x0, 0.0, 0.0), (0.0, 0.0, z0 - z1), 1, 1, 1.0)


def block(w, rng, i, j):
    x, z = i * PITCH, j * PITCH
    w.out.write("usemtl asphalt\n")
    # The ground faces up: left to right is +x, bottom to top -z.
    w.grid((x, 0.0, z + PITCH), (PITCH, 0.0, 0.0), (0.0, 0.0, -PITCH), TILE_CELLS, TILE_CELLS, 1.0)
    inner = PITCH - STREET
    half = inner / 2.0
    for bi in range(2):
        for bj in range(2):
            bx = x + STREET / 2 + bi * half + 2.0
            bz = z + STREET / 2 + bj * half + 2.0
            building(w, rng, bx, bz, bx + half - 4.0, bz + half - 4.0)


def write_city(out_dir, triangles):
    side = max(1, round(math.sqrt(triangles / BLOCK_TRIANGLES)))
    os.makedirs(out_dir, exist_ok=True)
    kinds = ["asphalt", "concrete", "brick", "glass"]
    with open(os.path.join(out_dir, "city.mtl"), "w") as mtl:
        for kind in kinds:
            mtl.write(f"newmtl {kind}\nKd 1 1 1\nmap_Kd {kind}.bmp\n")
    for kind in kinds:
        with open(os.path.join(out_dir, kind + ".bmp"), "wb") as f:
            f.write(imagefiles.bmp_bytes(texture(kind)))
    rng = Prng(1234)
    with open(os.path.join(out_dir, "city.obj"), "w") as out:
        out.write(f"# generated city: {side} x {side} blocks\nmtllib city.mtl\n")
        w = Writer(out)
        # Blocks in rows, so the triangles of one neighbourhood stay together;
        # the square is centred on the origin's street corner.
        first = -(side // 2)
        for j in range(first, first + side):
            for i in range(first, first + side):
                block(w, rng, i, j)
    return side * side * BLOCK_TRIANGLES


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out_dir")
    parser.add_argument("--triangles", type=int, default=1_000_000)
    args = parser.parse_args()
    count = write_city(args.out_dir, args.triangles)
    print(f"{args.out_dir}/city.obj: {count} triangles")


if __name__ == "__main__":
    main()
