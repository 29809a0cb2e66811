#!/usr/bin/env python3
"""Draws mazewalk's desktop icons from the program's own pixels: one frame of the
demo tour looking down on the maze among the saucers and cubes, cropped to a
square and averaged down to each size. The PNGs are committed; run this again
when the picture should change, and look at them before committing.

    tools/make_icons.py build/mazewalk    write packaging/icons/hicolor/SIZExSIZE/apps/mazewalk.png
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngio import read_png, write_png  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FRAME = 40                # early in the tour, high above the maze
CROP = (190, 100, 350)   # left, top, side: a saucer, a brick cube and a bend of the walls
SIZES = (48, 128, 256)


def shoot(program, frame):
    """The page after FRAME of the headless demo tour, as (width, height, rows)."""
    with tempfile.TemporaryDirectory() as tmp:
        shot = os.path.join(tmp, "frame.png")
        subprocess.run([program, "--headless", "--demo", "--frames", str(frame), "--shot", f"{frame}:{shot}"],
                       check=True, stdout=subprocess.DEVNULL, cwd=REPO)
        return read_png(shot)


def box_weights(source, target):
    """For each target pixel, the (source index, share) pairs that its box covers."""
    scale = source / target
    weights = []
    for t in range(target):
        start, end = t * scale, (t + 1) * scale
        row = []
        s = int(start)
        while s < end and s < source:
            share = min(end, s + 1) - max(start, s)
            if share > 0:
                row.append((s, share / scale))
            s += 1
        weights.append(row)
    return weights


def shrink(pixels, side, size):
    """Averages a SIDE x SIDE grid of (r, g, b) down to SIZE x SIZE, each output the mean of the area it covers."""
    weights = box_weights(side, size)

    def resample(line):
        return [tuple(sum(line[s][c] * w for s, w in ws) for c in range(3)) for ws in weights]

    across = [resample(row) for row in pixels]
    columns = [resample([across[y][x] for y in range(side)]) for x in range(size)]
    return [bytes(min(255, int(columns[x][y][c] + 0.5)) for x in range(size) for c in range(3))
            for y in range(size)]


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 64
    width, height, rows = shoot(os.path.abspath(sys.argv[1]), FRAME)
    left, top, side = CROP
    if left + side > width or top + side > height:
        raise SystemExit(f"the crop does not fit a {width} x {height} page")
    pixels = [[tuple(rows[y][3 * x:3 * x + 3]) for x in range(left, left + side)] for y in range(top, top + side)]
    for size in SIZES:
        path = os.path.join(REPO, "packaging", "icons", "hicolor", f"{size}x{size}", "apps", "mazewalk.png")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_png(path, size, size, shrink(pixels, side, size))
        print(f"wrote {os.path.relpath(path, REPO)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
