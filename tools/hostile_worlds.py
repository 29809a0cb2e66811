#!/usr/bin/env python3
"""Writes model files made to stress the ground probe and the walls, for
trying `mazewalk --headless --frames 60 --maze FILE` by hand (they are large:
write them under /tmp, never into the tree).

    tools/hostile_worlds.py KIND OUT.obj

KIND: repeated-sliver (one long thin triangle 200,000 times), no-area
(200,000 faces without area), slivers (200,000 long thin quads over 2,000 x
2,000 units), huge (one triangle 1e30 wide), not-numbers (coordinates written
as nan, inf and 1e39), grid (2,000,000 triangles in a square grid). Each but
huge and not-numbers also has a floor under the start."""
import random
import sys

FLOOR = ["v -100 0 -100", "v 100 0 -100", "v 100 0 100", "v -100 0 100"]


def floor_faces(base):
    # Seen from above counter-clockwise: x to the right, z towards the viewer.
    return [f"f {base + 1} {base + 4} {base + 3}", f"f {base + 1} {base + 3} {base + 2}"]


def repeated_sliver():
    v = ["v -1000 1 0", "v 1000 1 0.001", "v 0 1.0001 0.002"] + FLOOR
    return v, ["f 1 2 3"] * 200_000 + floor_faces(3)


def no_area():
    v, f = [], []
    for i in range(100_000):
        x = (i % 400) - 200.0
        z = (i // 400) - 125.0
        n = len(v)
        v += [f"v {x} 1 {z}", f"v {x + 1} 2 {z + 1}", f"v {x + 2} 3 {z + 2}"]
        f += [f"f {n + 1} {n + 2} {n + 3}", f"f {n + 1} {n + 1} {n + 1}"]
    n = len(v)
    return v + FLOOR, f + floor_faces(n)


def slivers():
    rng = random.Random(5)
    v, f = [], []
    for _ in range(200_000):
        x, z, y = rng.uniform(-1000, 1000), rng.uniform(-1000, 1000), rng.uniform(0, 20)
        dx, dz = rng.uniform(-50, 50), rng.uniform(-50, 50)
        n = len(v)
        v += [f"v {x:.4f} {y:.4f} {z:.4f}", f"v {x + dx:.4f} {y:.4f} {z + dz:.4f}",
              f"v {x + dx:.4f} {y:.4f} {z + dz + 0.01:.4f}", f"v {x:.4f} {y:.4f} {z + 0.01:.4f}"]
        f += [f"f {n + 1} {n + 4} {n + 3}", f"f {n + 1} {n + 3} {n + 2}"]
    n = len(v)
    return v + FLOOR, f + floor_faces(n)


def huge():
    return ["v -1e30 0 -1e30", "v 1e30 0 -1e30", "v 0 0 1e30"], ["f 1 3 2"]


def not_numbers():
    v = ["v nan 0 0", "v inf 0 5", "v 0 -inf 0", "v 1e39 0 1", "v -1e39 1e39 2",
         "v 0 nan 1"] + FLOOR
    f = ["f 1 2 3", "f 4 5 6", "f 1 4 6", "f 2 5 3"] + floor_faces(6)
    return v, f


def grid():
    side = 1000  # 1000 x 1000 quads: 2,000,000 triangles
    v = [f"v {x - 500} 0 {z - 500}" for z in range(side + 1) for x in range(side + 1)]
    f = []
    for z in range(side):
        for x in range(side):
            a = z * (side + 1) + x + 1
            b, c, d = a + 1, a + side + 2, a + side + 1
            f += [f"f {a} {d} {c}", f"f {a} {c} {b}"]
    return v, f


KINDS = {"repeated-sliver": repeated_sliver, "no-area": no_area, "slivers": slivers,
         "huge": huge, "not-numbers": not_numbers, "grid": grid}


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in KINDS:
        sys.exit(__doc__)
    v, f = KINDS[sys.argv[1]]()
    with open(sys.argv[2], "w") as out:
        out.write("\n".join(v) + "\n" + "\n".join(f) + "\n")


if __name__ == "__main__":
    main()
