"""Triangle meshes written in the OBJ subset the program reads.

The reader is strict about layout: "Vertices:" and "Faces:" header lines before any data,
usemtl colours as three-digit fields starting in columns 12, 16 and 20, single blanks
between fields, and three vt lines right before each face, last corner first.
"""

import math


def number_text(value, places):
    """Shortest fixed-point text of value rounded to places decimals ("0.5", "-3", "12.25")."""
    text = f"{value:.{places}f}"
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    if text in ("-0", ""):
        text = "0"
    return text


def material_line(rgb):
    # "usemtl mat_" puts red in column 12, green in 16 and blue in 20.
    r, g, b = rgb
    return f"usemtl mat_{r:03d}_{g:03d}_{b:03d}"


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def face_normal(p1, p2, p3):
    """(V2 - V1) x (V3 - V1): points to the side that sees the corners counter-clockwise."""
    return cross(sub(p2, p1), sub(p3, p1))


class Mesh:
    def __init__(self, places=4, uv_places=4):
        self.places = places
        self.uv_places = uv_places
        self.vertex_texts = []
        self.vertex_index = {}
        self.positions = []
        self.faces = []  # (material, (i1, i2, i3), (uv1, uv2, uv3))

    def vertex(self, p):
        """1-based index of p, shared with every earlier vertex of the same written text."""
        text = " ".join(number_text(c, self.places) for c in p)
        index = self.vertex_index.get(text)
        if index is None:
            self.vertex_texts.append(text)
            self.positions.append(tuple(float(t) for t in text.split()))
            index = len(self.vertex_texts)
            self.vertex_index[text] = index
        return index

    def triangle(self, corners, uvs, material):
        indices = tuple(self.vertex(p) for p in corners)
        written = [self.positions[i - 1] for i in indices]
        n = face_normal(*written)
        if math.sqrt(dot(n, n)) < 1e-9:
            raise ValueError(f"triangle without area: {corners}")
        self.faces.append((material, indices, tuple(uvs)))
        return n

    def triangle_facing(self, corners, uvs, material, outward):
        """Adds the triangle wound so that its front side faces outward."""
        n = face_normal(*corners)
        if dot(n, outward) < 0:
            corners = (corners[0], corners[2], corners[1])
            uvs = (uvs[0], uvs[2], uvs[1])
        self.triangle(corners, uvs, material)

    def quad_facing(self, corners, uvs, material, outward):
        """A planar four-corner patch (corners in order around it); a collapsed corner makes it one triangle."""
        keep = [k for k in range(4) if corners[k] != corners[(k + 1) % 4]]
        if len(keep) == 3:
            self.triangle_facing([corners[k] for k in keep], [uvs[k] for k in keep], material, outward)
            return
        if len(keep) != 4:
            raise ValueError(f"degenerate patch: {corners}")
        for a, b, c in ((0, 1, 2), (0, 2, 3)):
            self.triangle_facing((corners[a], corners[b], corners[c]), (uvs[a], uvs[b], uvs[c]), material, outward)

    def text(self, title):
        lines = [f"# {title}", f"# Vertices: {len(self.vertex_texts)}", f"# Faces: {len(self.faces)}"]
        lines += [f"v {t}" for t in self.vertex_texts]
        current = None
        for material, indices, uvs in self.faces:
            if material != current:
                lines.append(material_line(material))
                current = material
            # The reader fills corner 3 from the first vt line, then corner 2, then corner 1.
            for u, v in reversed(uvs):
                lines.append(f"vt {number_text(u, self.uv_places)} {number_text(v, self.uv_places)}")
            lines.append("f {} {} {}".format(*indices))
        return "\n".join(lines) + "\n"


def shift_into_unit(uvs):
    """Moves a face's texture coordinates by whole tiles so its smallest u and v lie in [0, 1)."""
    su = math.floor(min(u for u, _ in uvs) + 1e-9)
    sv = math.floor(min(v for _, v in uvs) + 1e-9)
    return [(u - su, v - sv) for u, v in uvs]
