#!/usr/bin/env python3
"""Checks the committed model files: the exact file subset the loader reads, closed and
outward-facing cube and UFO, and a maze whose surfaces face the walkable space."""

import os
import sys
import unittest
from collections import Counter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from meshgeom import GroundProbe, corners, cross, dot, length, normal, uv_area  # noqa: E402
from objcheck import ObjError, read_like_program, read_strict  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MODELS = {name: os.path.join(REPO, "res", "model", name + ".obj") for name in ("maze", "cube", "ufo")}
TRIANGLE_RANGES = {"maze": (1500, 6000), "cube": (12, 12), "ufo": (200, 400)}
EYE_HEIGHT = 4


def load_text(name):
    with open(MODELS[name], "rb") as f:
        return f.read().decode("ascii")


_loaded = {}


def load(name):
    if name not in _loaded:
        _loaded[name] = read_strict(load_text(name))
    return _loaded[name]


class FileSubset(unittest.TestCase):
    def test_every_model_is_in_the_strict_subset_and_reads_the_same_in_the_loader(self):
        for name in MODELS:
            with self.subTest(model=name):
                text = load_text(name)
                strict = load(name)
                max_v, max_t, loader = read_like_program(text)
                self.assertEqual((max_v, max_t), (len(strict.vertices), len(strict.faces)))
                self.assertEqual(loader.vertices, strict.vertices)
                for got, want in zip(loader.faces, strict.faces):
                    self.assertEqual(got, want)

    def test_triangle_counts(self):
        for name, (low, high) in TRIANGLE_RANGES.items():
            with self.subTest(model=name):
                self.assertTrue(low <= len(load(name).faces) <= high, len(load(name).faces))

    def test_every_face_has_area(self):
        for name in MODELS:
            model = load(name)
            for face in model.faces:
                self.assertGreater(length(normal(corners(model, face))), 1e-6, (name, face))

    def test_no_face_shows_its_picture_mirrored(self):
        # Seen from the front, u runs to the right and v (0 at the picture's bottom) upwards:
        # the corners run counter-clockwise in the picture as they do in space.
        for name in MODELS:
            for face in load(name).faces:
                (u1, v1), (u2, v2), (u3, v3) = ((u, 1 - v) for u, v in face[1])
                self.assertGreater((u2 - u1) * (v3 - v1) - (u3 - u1) * (v2 - v1), 0, (name, face))

    def test_strict_reader_rejects_what_the_loader_would_misread(self):
        good = "# t\n# Vertices: 3\n# Faces: 1\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl mat_255_128_064\nvt 0 0\nvt 1 0\nvt 0 1\nf 1 2 3\n"
        model = read_strict(good)
        self.assertEqual(model.faces[0][2], (255, 128, 64))
        self.assertEqual(model.faces[0][1], ((0.0, 0.0), (1.0, 1.0), (0.0, 1.0)))  # corner 1 from the last vt
        self.assertEqual(read_like_program(good)[2].faces, model.faces)
        broken = {
            "count glued to the colon": good.replace("Vertices: 3", "Vertices:3"),
            "colour a column late": good.replace("mat_255", "mat__255"),
            "two blanks": good.replace("v 1 0 0", "v 1  0 0"),
            "trailing blank": good.replace("f 1 2 3", "f 1 2 3 "),
            "only two vt lines": good.replace("vt 0 1\n", ""),
            "corner out of range": good.replace("f 1 2 3", "f 1 2 4"),
            "needless digits": good.replace("v 1 0 0", "v 1.0 0 0"),
            "exponent": good.replace("v 1 0 0", "v 1e0 0 0"),
            "count too high": good.replace("Faces: 1", "Faces: 2"),
        }
        for why, text in broken.items():
            with self.subTest(why=why), self.assertRaises(ObjError):
                read_strict(text)


def edge_uses(model):
    return Counter((f[0][k], f[0][(k + 1) % 3]) for f in model.faces for k in range(3))


def signed_volume6(model):
    return sum(dot(a, cross(b, c)) for a, b, c in (corners(model, f) for f in model.faces))


class ClosedMeshes(unittest.TestCase):
    def test_cube_and_ufo_are_watertight_and_face_outwards(self):
        for name in ("cube", "ufo"):
            with self.subTest(model=name):
                model = load(name)
                uses = edge_uses(model)
                for (a, b), n in uses.items():
                    # Each edge once in each direction: two faces meet there, wound alike.
                    self.assertEqual(n, 1, (name, a, b))
                    self.assertEqual(uses.get((b, a)), 1, (name, a, b))
                self.assertGreater(signed_volume6(model), 0)

    def test_cube_is_side_two_with_the_whole_picture_on_each_face(self):
        cube = load("cube")
        self.assertEqual(sorted(set(cube.vertices)), sorted((x, y, z) for x in (-1, 1) for y in (-1, 1) for z in (-1, 1)))
        for face in cube.faces:
            self.assertAlmostEqual(uv_area(face[1]), 0.5)
            self.assertTrue(all(u in (0, 1) and v in (0, 1) for u, v in face[1]))

    def test_ufo_is_a_centred_saucer_with_each_face_inside_one_region_of_its_map(self):
        ufo = load("ufo")
        radius = max((x * x + z * z) ** 0.5 for x, _, z in ufo.vertices)
        ys = [y for _, y, _ in ufo.vertices]
        self.assertTrue(1.35 <= radius <= 1.65, radius)
        self.assertLess(max(ys) - min(ys), radius)  # flatter than it is wide
        self.assertLess(abs(max(ys) + min(ys)) / 2, 0.1)
        for face in ufo.faces:
            quarters = {(int(u >= 0.5), int(v >= 0.5)) for u, v in face[1]}
            self.assertEqual(len(quarters), 1, face)
            self.assertTrue(all(0 <= u <= 1 and 0 <= v <= 1 for u, v in face[1]), face)
            self.assertGreater(uv_area(face[1]), 0, face)


class Maze(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.model = load("maze")
        cls.probe = GroundProbe(cls.model)
        cls.tris = [corners(cls.model, f) for f in cls.model.faces]
        cls.normals = [normal(t) for t in cls.tris]
        cls.upright = [abs(n[1]) < 1e-9 * length(n) for n in cls.normals]
        cls.wall_height = max(p[1] for p in cls.model.vertices)

    def test_extent_and_wall_height(self):
        xs = [p[0] for p in self.model.vertices]
        zs = [p[2] for p in self.model.vertices]
        for lo, hi in ((min(xs), max(xs)), (min(zs), max(zs))):
            self.assertTrue(-72 <= lo <= -56 and 56 <= hi <= 72, (lo, hi))
        self.assertEqual(min(p[1] for p in self.model.vertices), 0)
        self.assertGreaterEqual(self.wall_height, 8)

    def test_every_surface_that_is_not_upright_faces_up(self):
        for tri, n, up in zip(self.tris, self.normals, self.upright):
            if not up:
                self.assertGreater(n[1], 0, tri)

    def test_floor_tiles_are_at_most_eight_units(self):
        floor = [t for t, up in zip(self.tris, self.upright) if not up and all(p[1] == 0 for p in t)]
        self.assertGreater(len(floor), 100)
        for tri in floor:
            for axis in (0, 2):
                self.assertLessEqual(max(p[axis] for p in tri) - min(p[axis] for p in tri), 8, tri)

    def test_upright_faces_look_into_open_space_and_have_something_solid_behind(self):
        for tri, n, up in zip(self.tris, self.normals, self.upright):
            if not up:
                continue
            cx, cy, cz = (sum(p[k] for p in tri) / 3 for k in range(3))
            step = 0.05 / length(n)
            front = self.probe.highest(cx + n[0] * step, cz + n[2] * step)
            behind = self.probe.highest(cx - n[0] * step, cz - n[2] * step)
            if front is not None:
                self.assertLess(front, cy, f"face {tri} looks into a solid")
            self.assertIsNotNone(behind, tri)
            self.assertGreater(behind, cy, f"face {tri} has nothing behind it")

    def test_the_probe_stands_on_the_highest_surface_everywhere(self):
        # The ground test takes the first triangle in stored order, so upper surfaces must come first.
        for tri, up in zip(self.tris, self.upright):
            if up:
                continue
            cx, cz = sum(p[0] for p in tri) / 3, sum(p[2] for p in tri) / 3
            self.assertAlmostEqual(self.probe.first(cx, cz)[1], self.probe.highest(cx, cz), 9, tri)

    def test_the_start_lands_on_open_floor(self):
        # The camera starts at (0, 50, 0); its probe reaches 100 units down.
        n, y = self.probe.first(0.0, 0.0)
        self.assertEqual(y, 0)
        self.assertLess(y + EYE_HEIGHT, 50)
        for dx in (-3, 0, 3):
            for dz in (-3, 0, 3):
                self.assertEqual(self.probe.highest(dx, dz), 0, (dx, dz))

    def test_a_platform_reached_by_a_ramp_and_by_a_step(self):
        flats = {}
        for tri, n, up in zip(self.tris, self.normals, self.upright):
            if not up and abs(n[0]) < 1e-12 and abs(n[2]) < 1e-12 and 0 < tri[0][1] < self.wall_height:
                flats.setdefault(tri[0][1], set()).update((p[0], p[2]) for p in tri)
        slopes = [t for t, n, up in zip(self.tris, self.normals, self.upright)
                  if not up and (abs(n[0]) > 1e-12 or abs(n[2]) > 1e-12)]
        self.assertGreaterEqual(len(flats), 2, "a platform and a lower step")
        platform, step = max(flats), min(flats)
        ramp_points = {(p[0], p[2]) for t in slopes for p in t if p[1] == platform}
        self.assertTrue(any(p[1] == 0 for t in slopes for p in t), "the ramp starts on the floor")
        self.assertTrue(ramp_points & flats[platform], "the ramp's top edge meets the platform")
        self.assertTrue(flats[step] & flats[platform], "the step stands against the platform")

    def test_texture_repeats_about_every_eight_units(self):
        for tri, face in zip(self.tris, self.model.faces):
            area = length(normal(tri)) / 2
            self.assertAlmostEqual(uv_area(face[1]) * 64 / area, 1, delta=0.1)


if __name__ == "__main__":
    unittest.main()
