"""A small courtyard in the form common 3D tools export: an object line, vertex
normals, smoothing off, quads with v/vt/vn corners and no count comments, and a
material library whose one material names the brick texture. It is the
README's example of walking through a model of your own (--maze)."""

SIDE = 40.0  # the floor spans -20..20 in x and z
TILE = 8.0   # one quad of floor per tile, one texture repeat per quad
HEIGHT = 8.0


def courtyard_text():
    half = SIDE / 2
    steps = int(SIDE / TILE)
    verts, quads = [], []  # quads: four (vertex, uv, normal) corners, counter-clockwise from the front

    def vertex(p):
        verts.append(p)
        return len(verts)

    uvs = [(0.0, 0.0), (1.0, 0.0), (1.0, 1.0), (0.0, 1.0)]
    normals = [(0.0, 1.0, 0.0), (0.0, 0.0, 1.0), (0.0, 0.0, -1.0), (1.0, 0.0, 0.0), (-1.0, 0.0, 0.0)]

    # The floor faces up: counter-clockwise seen from above is x+, then z-.
    for i in range(steps):
        for j in range(steps):
            x0, z0 = -half + i * TILE, -half + j * TILE
            corners = [(x0, 0.0, z0 + TILE), (x0 + TILE, 0.0, z0 + TILE), (x0 + TILE, 0.0, z0), (x0, 0.0, z0)]
            quads.append([(vertex(c), k + 1, 1) for k, c in enumerate(corners)])

    # Four walls facing into the courtyard, one quad per tile.
    for i in range(steps):
        a, b = -half + i * TILE, -half + (i + 1) * TILE
        walls = [
            ([(b, 0, -half), (a, 0, -half), (a, HEIGHT, -half), (b, HEIGHT, -half)], 2),  # north, faces +z
            ([(a, 0, half), (b, 0, half), (b, HEIGHT, half), (a, HEIGHT, half)], 3),      # south, faces -z
            ([(-half, 0, a), (-half, 0, b), (-half, HEIGHT, b), (-half, HEIGHT, a)], 4),  # west, faces +x
            ([(half, 0, b), (half, 0, a), (half, HEIGHT, a), (half, HEIGHT, b)], 5),      # east, faces -x
        ]
        for corners, normal in walls:
            corners = corners[::-1]  # listed clockwise from inside: reversed to face in
            quads.append([(vertex(c), k + 1, normal) for k, c in enumerate(corners)])

    def num(v):
        return f"{v:.6f}"

    lines = ["# exported courtyard: 1 object", "mtllib courtyard.mtl", "o Courtyard"]
    lines += [f"v {num(x)} {num(y)} {num(z)}" for x, y, z in verts]
    lines += [f"vt {num(u)} {num(v)}" for u, v in uvs]
    lines += [f"vn {num(x)} {num(y)} {num(z)}" for x, y, z in normals]
    lines += ["usemtl Stone", "s off"]
    for q in quads:
        lines.append("f " + " ".join(f"{v}/{t}/{n}" for v, t, n in q))
    return "\n".join(lines) + "\n"


def courtyard_library_text():
    """The courtyard's material library: stone walls and floor in the bricks."""
    return "# courtyard materials\nnewmtl Stone\nKd 0.800000 0.800000 0.800000\nmap_Kd ../texture/wall.bmp\n"
