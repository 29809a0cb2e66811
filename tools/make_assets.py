#!/usr/bin/env python3
"""Writes mazewalk's data files, the same bytes on every run: the six the program
reads and the example model of the README.

    tools/make_assets.py               write res/model/*.obj, res/texture/*.bmp, res/example/*.obj
    tools/make_assets.py --check       rebuild in a temporary folder, compare with the committed files
    tools/make_assets.py --map F.png   also draw a top-down map of the maze (not a data file)
"""

import argparse
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen import example, imagefiles, mazemap, maze, shapes, textures  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def data_files():
    """{relative path: bytes} of the data files."""
    return {
        "res/model/maze.obj": maze.build_maze().text("mazewalk maze").encode("ascii"),
        "res/model/cube.obj": shapes.build_cube().text("mazewalk cube").encode("ascii"),
        "res/model/ufo.obj": shapes.build_ufo().text("mazewalk ufo").encode("ascii"),
        "res/texture/sand.bmp": imagefiles.bmp_bytes(textures.sand()),
        "res/texture/wall.bmp": imagefiles.bmp_bytes(textures.bricks()),
        "res/texture/ufouvmap.bmp": imagefiles.bmp_bytes(textures.ufo_map()),
        "res/example/courtyard.obj": example.courtyard_text().encode("ascii"),
        "res/example/courtyard.mtl": example.courtyard_library_text().encode("ascii"),
    }


def write_all(root, files):
    for rel, data in files.items():
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def check(files):
    """Writes a fresh copy to a temporary folder and compares it byte for byte with the repository's."""
    differences = 0
    with tempfile.TemporaryDirectory() as tmp:
        write_all(tmp, files)
        for rel in files:
            with open(os.path.join(tmp, rel), "rb") as f:
                fresh = f.read()
            try:
                with open(os.path.join(REPO, rel), "rb") as f:
                    committed = f.read()
            except FileNotFoundError:
                committed = None
            if committed != fresh:
                differences += 1
                print(f"differs: {rel}")
            else:
                print(f"same: {rel} ({len(fresh)} bytes)")
    return differences


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true", help="compare a fresh build with the committed files")
    parser.add_argument("--map", metavar="FILE.png", help="write a top-down map of the maze")
    args = parser.parse_args()
    files = data_files()
    if args.map:
        with open(args.map, "wb") as f:
            f.write(imagefiles.png_bytes(mazemap.draw_map(files["res/model/maze.obj"].decode("ascii"))))
    if args.check:
        return 1 if check(files) else 0
    write_all(REPO, files)
    return 0


if __name__ == "__main__":
    sys.exit(main())
