#!/usr/bin/env python3
"""Golden frames: runs the headless program and compares chosen frames, pixel for
pixel, with the PNGs committed in tests/golden/.

  golden.py check  PROGRAM ROOT    compare (exit 1 on any difference)
  golden.py update PROGRAM ROOT    write the goldens anew (look at them before committing)
"""
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngio import read_png  # noqa: E402

# Demo-tour frames (res/demo/tour.txt): (golden name, frame number). A new tour moves the
# views: choose the frames again (tools/tour_sim.py check --at ...) and look at them.
DEMO_FRAMES = [
    ("tour-room", 283),               # down in the room: ramp, step, platform, cubes, UFOs
    ("tour-platform", 497),           # on the platform, looking north across the room
    ("tour-corridor", 649),           # in the corridor east of the room, a cube ahead
    ("tour-wire-frame", 1047),        # wire frame on
    ("tour-flat", 1197),              # textures off: flat colours
    ("tour-full-resolution", 1347),   # half resolution off: drawn at 1280 x 960, averaged down
    ("tour-no-anti-aliasing", 1497),  # anti-aliasing off: drawn at 320 x 240, doubled
]


def write_bmp(path, width, height, pixel):
    """A 24-bit uncompressed BMP filled with one (r, g, b) colour."""
    row = bytes((pixel[2], pixel[1], pixel[0])) * width
    pad = (4 - len(row) % 4) % 4
    body = (row + b"\0" * pad) * height
    header = b"BM" + struct.pack("<IHHI", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def make_empty_scene(root):
    """A resource folder whose three models hold one triangle each, far beyond the far
    plane wherever its entity stands: the queue stays empty."""
    os.makedirs(os.path.join(root, "res", "model"))
    os.makedirs(os.path.join(root, "res", "texture"))
    for name in ("maze", "cube", "ufo"):
        with open(os.path.join(root, "res", "model", name + ".obj"), "w") as f:
            f.write("# one triangle far away\nv 9000 9000 9000\nv 9001 9000 9000\n"
                    "v 9000 9001 9000\nf 1 2 3\n")
    for name in ("sand", "wall", "ufouvmap"):
        write_bmp(os.path.join(root, "res", "texture", name + ".bmp"), 256, 256, (200, 180, 120))


def run(program, args, cwd):
    result = subprocess.run([program] + args, cwd=cwd, capture_output=True, text=True, timeout=600)
    if result.returncode != 0:
        sys.exit(f"{program} {' '.join(args)} failed with {result.returncode}:\n{result.stderr}")
    return result.stdout


def render_cases(program, root, out):
    """Renders every case into OUT; returns {name: png path}."""
    shots = {}
    with tempfile.TemporaryDirectory() as empty:
        make_empty_scene(empty)
        path = os.path.join(out, "empty-scene.png")
        run(program, ["--headless", "--seed", "1", "--frames", "2", "--res", empty,
                      "--shot", "1:" + path], out)
        shots["empty-scene"] = path
    if DEMO_FRAMES:
        args = ["--headless", "--seed", "1", "--demo", "--res", root]
        for name, frame in DEMO_FRAMES:
            path = os.path.join(out, name + ".png")
            args += ["--shot", f"{frame}:{path}"]
            shots[name] = path
        run(program, args, out)
    return shots


def check_empty_scene(path):
    """Black everywhere but the status text in the top rows."""
    width, height, rows = read_png(path)
    for y in range(40, height):
        if any(rows[y]):
            return f"{path}: row {y} is not black"
    if not any(any(rows[y]) for y in range(8)):
        return f"{path}: no status text in the first row"
    return None


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("check", "update"):
        sys.exit(__doc__)
    mode, program, root = sys.argv[1], os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3])
    golden_dir = os.path.join(root, "tests", "golden")
    with tempfile.TemporaryDirectory() as out:
        shots = render_cases(program, root, out)
        problems = []
        problem = check_empty_scene(shots["empty-scene"])
        if problem:
            problems.append(problem)
        for name, path in shots.items():
            golden = os.path.join(golden_dir, name + ".png")
            if mode == "update":
                os.makedirs(golden_dir, exist_ok=True)
                with open(path, "rb") as src, open(golden, "wb") as dst:
                    dst.write(src.read())
                print("wrote", golden)
                continue
            if not os.path.exists(golden):
                problems.append(f"{name}: no golden {golden}")
                continue
            got, want = read_png(path), read_png(golden)
            if got[:2] != want[:2]:
                problems.append(f"{name}: size {got[:2]} differs from {want[:2]}")
                continue
            diff = sum(1 for a, b in zip(got[2], want[2]) for i in range(0, len(a), 3)
                       if a[i:i + 3] != b[i:i + 3])
            if diff:
                keep = os.path.join(tempfile.gettempdir(), "mazewalk-" + name + ".png")
                with open(path, "rb") as src, open(keep, "wb") as dst:
                    dst.write(src.read())
                problems.append(f"{name}: {diff} pixels differ (frame kept in {keep})")
            else:
                print(f"{name}: identical")
        for p in problems:
            print("FAIL", p)
        sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
