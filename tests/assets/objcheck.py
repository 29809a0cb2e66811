"""Two readers for the model files.

`read_strict` accepts only the exact layout the generator promises and raises ObjError on
anything else. `read_like_program` reads a file the way the program's loader does,
position by position, quirks included, so the two results can be compared.
"""

import re

NUMBER = r"-?(?:0|[1-9]\d*)(?:\.\d*[1-9])?"  # no sign on zero, no needless zeros, no exponent
VERTEX_LINE = re.compile(rf"v ({NUMBER}) ({NUMBER}) ({NUMBER})")
UV_LINE = re.compile(rf"vt ({NUMBER}) ({NUMBER})")
FACE_LINE = re.compile(r"f ([1-9]\d*) ([1-9]\d*) ([1-9]\d*)")
MATERIAL_LINE = re.compile(r"usemtl mat_(\d{3})_(\d{3})_(\d{3})")
COUNT_LINE = re.compile(r"# (Vertices|Faces): ([1-9]\d*)")


class ObjError(ValueError):
    pass


class Model:
    def __init__(self):
        self.vertices = []   # (x, y, z)
        self.faces = []      # ((i1, i2, i3) 0-based, ((u, v) per corner, v flipped as loaded), (r, g, b))


def read_strict(text):
    if not text.endswith("\n") or "\r" in text or "\t" in text:
        raise ObjError("lines must end in a bare newline, with no tabs")
    model, counts, pending_uvs, colour = Model(), {}, [], None
    for number, line in enumerate(text[:-1].split("\n"), 1):
        where = f"line {number}: {line!r}"
        if line != line.strip() or "  " in line:
            raise ObjError(f"{where}: blanks must be single and inside the line")
        if "Vertices:" in line or "Faces:" in line:
            m = COUNT_LINE.fullmatch(line)
            if not m or m.group(1) in counts:
                raise ObjError(f"{where}: count lines read '# Vertices: N' / '# Faces: N', once each")
            if model.vertices or model.faces or pending_uvs:
                raise ObjError(f"{where}: count lines must come before the data")
            counts[m.group(1)] = int(m.group(2))
            continue
        if line.startswith("#"):
            continue
        if len(counts) != 2:
            raise ObjError(f"{where}: data before both count lines")
        if pending_uvs and not line.startswith("vt"):
            if not line.startswith("f ") or len(pending_uvs) != 3:
                raise ObjError(f"{where}: exactly three vt lines must come right before a face")
        if m := MATERIAL_LINE.fullmatch(line):
            rgb = tuple(int(g) for g in m.groups())
            if max(rgb) > 255 or pending_uvs:
                raise ObjError(f"{where}: bad colour or colour inside a vt group")
            colour = rgb
        elif m := VERTEX_LINE.fullmatch(line):
            if model.faces:
                raise ObjError(f"{where}: vertex after the faces")
            model.vertices.append(tuple(float(g) for g in m.groups()))
        elif m := UV_LINE.fullmatch(line):
            if len(pending_uvs) == 3:
                raise ObjError(f"{where}: a fourth vt line before a face")
            pending_uvs.append((float(m.group(1)), float(m.group(2))))
        elif m := FACE_LINE.fullmatch(line):
            if len(pending_uvs) != 3 or colour is None:
                raise ObjError(f"{where}: a face needs a colour and three vt lines before it")
            indices = tuple(int(g) - 1 for g in m.groups())
            if max(indices) >= len(model.vertices) or len(set(indices)) != 3:
                raise ObjError(f"{where}: corner out of range or repeated")
            # The first vt line belongs to corner 3, the last to corner 1; v is flipped on loading.
            uvs = tuple((u, 1 - v) for u, v in reversed(pending_uvs))
            model.faces.append((indices, uvs, colour))
            pending_uvs = []
        else:
            raise ObjError(f"{where}: not part of the subset")
    if pending_uvs:
        raise ObjError("vt lines after the last face")
    if counts.get("Vertices") != len(model.vertices) or counts.get("Faces") != len(model.faces):
        raise ObjError(f"counts {counts} but {len(model.vertices)} vertices and {len(model.faces)} faces")
    return model


PREFIX = re.compile(r" *([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?)")


def val(text):
    """Leading blanks skipped, the longest decimal prefix taken, 0 when there is none."""
    m = PREFIX.match(text)
    return float(m.group(1)) if m else 0.0


def read_like_program(text):
    """The loader's own reading: counts two and seven characters past the colon, fixed colour
    columns, numbers after each blank, vt lines filling corners 3, 2, 1."""
    model = Model()
    max_v = max_t = 0
    vertices, corners, uvs = [], {}, {}
    colours = {}
    red = green = blue = 0
    uv_counter = triangle = 0
    for line in text.split("\n"):
        if (p := line.find("Vertices:")) >= 0:
            max_v = round(val(line[p + 10:]))
        if (p := line.find("Faces:")) >= 0:
            max_t = round(val(line[p + 7:]))
        if line[:6] == "usemtl":
            red, green, blue = (round(val(line[c:])) for c in (11, 15, 19))
        blanks = [i for i, ch in enumerate(line) if ch == " "]
        after = [val(line[i + 1:]) for i in blanks]
        if line[:2] == "v ":
            xyz = (after + [0.0, 0.0, 0.0])[:3]
            vertices.append(tuple(xyz))
        elif line[:2] == "vt":
            uv_counter = uv_counter % 3 + 1
            corner = 4 - uv_counter
            u = after[0] if after else 0.0
            v = 1 - after[1] if len(after) > 1 else 0.0
            uvs.setdefault(triangle, {})[corner] = (u, v)
        elif line[:2] == "f ":
            colours[triangle] = (red, green, blue)
            if len(after) > 3:
                raise ObjError("the loader stops on a fourth corner")
            corners[triangle] = tuple(round(a - 1) for a in after)
            triangle += 1
    model.vertices = vertices
    for t in range(triangle):
        got = uvs.get(t, {})
        model.faces.append((corners[t], tuple(got.get(k, (0.0, 0.0)) for k in (1, 2, 3)), colours[t]))
    return max_v, max_t, model
