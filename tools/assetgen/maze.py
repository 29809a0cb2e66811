"""The maze: an 11 x 11 grid of 10-unit cells between 2-unit walls, -67 to 67 in x and z.

The middle 3 x 3 cells form one open room around the origin. Its south-east cell (x and z
from 7 to 17) holds a platform, reached from the west by a ramp and from the north (lower z)
by a step. Everything is laid on one grid of columns at most 5 units wide, so floor tiles, wall faces and the raised
pieces share their vertices and meet without cracks.
"""

from .objmesh import Mesh, shift_into_unit
from .prng import Prng

CELLS = 11
CELL_SIZE = 10
WALL_THICK = 2
ORIGIN = -67
WALL_HEIGHT = 10
BAND = 10           # upright faces are cut into bands at most this high
TEXTURE_SPAN = 8    # world units per repeat of the sand texture
PLATFORM_TOP = 3.5
STEP_TOP = 1.75
RAMP_FROM_X, RAMP_TO_X = -7, 7   # the ramp climbs from 0 at x = -7 to the platform's top at x = 7

ROOM = range(4, 7)  # cells of the central room, in both directions
SEED = 0x6D617A65
EXTRA_OPENINGS = 5

# Rectangles (x0, x1, z0, z1) of the raised pieces.
PLATFORM = (7, 17, 7, 17)
STEP = (7, 17, 5, 7)
RAMP = (RAMP_FROM_X, RAMP_TO_X, 7, 17)

# The platform's far sides (+x, +z) and the ramp's +z side stand against walls: no openings there.
KEEP_CLOSED = {((6, 6), (6, 7)), ((6, 6), (7, 6)), ((5, 6), (5, 7))}

COLOURS = {
    "floor": (196, 170, 122),
    "wall": (150, 118, 88),
    "wall_top": (74, 62, 50),
    "platform": (205, 80, 55),
    "step": (90, 170, 80),
    "ramp": (72, 140, 200),
    "side": (170, 66, 48),
}


def in_room(cell):
    return cell[0] in ROOM and cell[1] in ROOM


def carve(seed=SEED):
    """Open cell-to-cell passages: a depth-first spanning tree with the room as one node, plus a few loops."""
    rng = Prng(seed)
    node = lambda c: "room" if in_room(c) else c
    edges = []
    for i in range(CELLS):
        for j in range(CELLS):
            if i + 1 < CELLS:
                edges.append(((i, j), (i + 1, j)))
            if j + 1 < CELLS:
                edges.append(((i, j), (i, j + 1)))
    opened = {e for e in edges if in_room(e[0]) and in_room(e[1])}
    neighbours = {}
    for e in edges:
        a, b = node(e[0]), node(e[1])
        if a == b or e in KEEP_CLOSED:
            continue
        neighbours.setdefault(a, []).append((e, b))
        neighbours.setdefault(b, []).append((e, a))

    visited = {"room"}
    stack = ["room"]
    while stack:
        choices = [(e, n) for e, n in neighbours[stack[-1]] if n not in visited]
        if not choices:
            stack.pop()
            continue
        e, n = choices[rng.below(len(choices))]
        opened.add(e)
        visited.add(n)
        stack.append(n)

    closed = [e for e in edges if e not in opened and e not in KEEP_CLOSED]
    for _ in range(EXTRA_OPENINGS):
        opened.add(closed.pop(rng.below(len(closed))))
    return opened


def slot_spans():
    """(start, end) of the 2 * CELLS + 1 slots along one axis: wall, cell, wall, ..., wall."""
    spans, at = [], ORIGIN
    for s in range(2 * CELLS + 1):
        width = WALL_THICK if s % 2 == 0 else CELL_SIZE
        spans.append((at, at + width))
        at += width
    return spans


def grid_columns():
    """The fine columns along one axis: each wall slot whole, each cell slot in two halves."""
    columns = []
    for s, (lo, hi) in enumerate(slot_spans()):
        if s % 2 == 0:
            columns.append((lo, hi, s))
        else:
            mid = (lo + hi) // 2
            columns += [(lo, mid, s), (mid, hi, s)]
    return columns


def solid_slots(opened):
    """Set of (sx, sz) slots filled by wall."""
    def open_between(a, b):
        return (a, b) in opened or (b, a) in opened

    solid = set()
    n = 2 * CELLS + 1
    for sx in range(n):
        for sz in range(n):
            if sx % 2 == 1 and sz % 2 == 1:
                continue
            if sx % 2 == 0 and sz % 2 == 0:
                continue
            if sx % 2 == 0:
                i, j = sx // 2, (sz - 1) // 2
                closed = i == 0 or i == CELLS or not open_between((i - 1, j), (i, j))
            else:
                i, j = (sx - 1) // 2, sz // 2
                closed = j == 0 or j == CELLS or not open_between((i, j - 1), (i, j))
            if closed:
                solid.add((sx, sz))
    # A post stands wherever a wall meets it or the border runs through it.
    for sx in range(0, n, 2):
        for sz in range(0, n, 2):
            around = [(sx - 1, sz), (sx + 1, sz), (sx, sz - 1), (sx, sz + 1)]
            if sx in (0, n - 1) or sz in (0, n - 1) or any(a in solid for a in around):
                solid.add((sx, sz))
    return solid


def inside(rect, x, z):
    return rect[0] <= x <= rect[1] and rect[2] <= z <= rect[3]


class Layout:
    """What stands on each fine grid cell, and its height along its edges."""

    def __init__(self, opened):
        self.columns = grid_columns()
        solid = solid_slots(opened)
        self.kind = {}
        for ix, (x0, x1, sx) in enumerate(self.columns):
            for iz, (z0, z1, sz) in enumerate(self.columns):
                cx, cz = (x0 + x1) / 2, (z0 + z1) / 2
                if (sx, sz) in solid:
                    kind = "wall"
                elif inside(PLATFORM, cx, cz):
                    kind = "platform"
                elif inside(STEP, cx, cz):
                    kind = "step"
                elif inside(RAMP, cx, cz):
                    kind = "ramp"
                else:
                    kind = "floor"
                self.kind[ix, iz] = kind

    def height(self, cell, x):
        """Top of the cell at x; outside the grid the ground is at 0."""
        kind = self.kind.get(cell, "floor")
        if kind == "wall":
            return WALL_HEIGHT
        if kind == "platform":
            return PLATFORM_TOP
        if kind == "step":
            return STEP_TOP
        if kind == "ramp":
            return PLATFORM_TOP * (x - RAMP_FROM_X) / (RAMP_TO_X - RAMP_FROM_X)
        return 0

    def bounds(self, cell):
        x0, x1, _ = self.columns[cell[0]]
        z0, z1, _ = self.columns[cell[1]]
        return x0, x1, z0, z1


def top_patch(mesh, layout, cell, material):
    x0, x1, z0, z1 = layout.bounds(cell)
    corners = [(x, layout.height(cell, x), z) for x, z in ((x0, z0), (x0, z1), (x1, z1), (x1, z0))]
    uvs = shift_into_unit([(x / TEXTURE_SPAN, -z / TEXTURE_SPAN) for x, _, z in corners])
    mesh.quad_facing(corners, uvs, material, (0, 1, 0))


def side_patches(mesh, ends, lows, highs, outward, material):
    """The vertical face over the edge ends[0]-ends[1] between heights lows and highs, cut into bands."""
    nx, _, nz = outward
    cuts = [min(lows)] + [k * BAND for k in range(1, WALL_HEIGHT // BAND + 1) if min(lows) < k * BAND < max(highs)]
    cuts.append(max(highs))
    for c0, c1 in zip(cuts, cuts[1:]):
        bottom = [min(max(h, c0), c1) for h in lows]
        top = [min(max(h, c0), c1) for h in highs]
        if all(t <= b for t, b in zip(top, bottom)):
            continue
        (ax, az), (bx, bz) = ends
        corners = [(ax, bottom[0], az), (bx, bottom[1], bz), (bx, top[1], bz), (ax, top[0], az)]
        # u runs to the right as the face is seen from the front, v upwards.
        uvs = shift_into_unit([((x * nz - z * nx) / TEXTURE_SPAN, y / TEXTURE_SPAN) for x, y, z in corners])
        mesh.quad_facing(corners, uvs, material, outward)


def cell_edges(layout):
    """Every edge between two grid cells, or a cell and the outside: (cell a, cell b, ends, normal from a to b)."""
    n = len(layout.columns)
    for ix in range(-1, n):
        for iz in range(n):
            x = layout.columns[ix + 1][0] if ix + 1 < n else layout.columns[ix][1]
            z0, z1, _ = layout.columns[iz]
            yield (ix, iz), (ix + 1, iz), ((x, z0), (x, z1)), (1, 0, 0)
    for iz in range(-1, n):
        for ix in range(n):
            z = layout.columns[iz + 1][0] if iz + 1 < n else layout.columns[iz][1]
            x0, x1, _ = layout.columns[ix]
            yield (ix, iz), (ix, iz + 1), ((x0, z), (x1, z)), (0, 0, 1)


def build_maze(seed=SEED):
    layout = Layout(carve(seed))
    mesh = Mesh(places=4, uv_places=4)
    cells = sorted(layout.kind)
    # The ground probe takes the first triangle it crosses, so the raised walkways come first.
    for kind in ("platform", "step", "ramp", "floor"):
        for cell in cells:
            if layout.kind[cell] == kind:
                top_patch(mesh, layout, cell, COLOURS[kind])
    for cell in cells:
        if layout.kind[cell] == "wall":
            top_patch(mesh, layout, cell, COLOURS["wall_top"])
    for a, b, ends, normal in cell_edges(layout):
        xs = [e[0] for e in ends]
        ha = [layout.height(a, x) for x in xs]
        hb = [layout.height(b, x) for x in xs]
        if ha == hb:
            continue
        if all(p >= q for p, q in zip(ha, hb)):
            high, lows, highs, outward = a, hb, ha, normal
        elif all(p <= q for p, q in zip(ha, hb)):
            high, lows, highs, outward = b, ha, hb, tuple(-c for c in normal)
        else:
            raise ValueError(f"surfaces cross between {a} and {b}")
        material = COLOURS["wall"] if layout.kind.get(high) == "wall" else COLOURS["side"]
        side_patches(mesh, ends, lows, highs, outward, material)
    return mesh
