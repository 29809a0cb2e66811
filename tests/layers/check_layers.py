#!/usr/bin/env python3
"""Fails when a file includes a header of a layer above its own, or when a
layer's library links one above it.

The layers, lowest first: base, then math and platform (the hosts) side by
side, then the rasterizers and the models, render, app, cli. A file may include
its own layer's headers and those of the layers it stands on, nothing else;
a layer's CMake link list names only libraries of those layers (and outside
ones such as SDL2). The benchmarks count as a layer on top.

    check_layers.py [ROOT]   (default: the source tree this file lies in)
"""
import pathlib
import re
import sys

# Each layer's folder, its library and the layers whose headers it may include.
LAYERS = {
    "base": ("src/base", "mw_base", set()),
    "platform": ("platform", "mw_platform", {"base"}),
    "math": ("src/math", "mw_math", {"base"}),
    # A null target means the screen page to the rasterizers.
    "raster": ("src/raster", "mw_raster", {"math", "platform", "base"}),
    "model": ("src/model", "mw_model", {"math", "base"}),
    "render": ("src/render", "mw_render", {"raster", "model", "math", "platform", "base"}),
    "app": ("src/app", "mw_app", {"render", "raster", "model", "math", "platform", "base"}),
    "cli": ("src/cli", "mw_cli", {"app", "render", "raster", "model", "math", "platform", "base"}),
    "bench": ("bench", None,
              {"cli", "app", "render", "raster", "model", "math", "platform", "base"}),
}
LIBRARY_LAYER = {lib: name for name, (_, lib, _) in LAYERS.items() if lib}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
LINK = re.compile(r"target_link_libraries\s*\(\s*(\S+)([^)]*)\)", re.S)


def layer_of_file(root, path):
    rel = path.relative_to(root).as_posix()
    best = None
    for name, (folder, _, _) in LAYERS.items():
        if rel.startswith(folder + "/") and (best is None or len(folder) > len(LAYERS[best][0])):
            best = name
    return best


def layer_of_header(root, header, own):
    if "/" not in header:
        return own  # a private header of the same folder
    prefix = header.split("/", 1)[0]
    if prefix in LAYERS:
        return prefix
    # A private header in a subfolder of the layer's own folder.
    return own if (root / LAYERS[own][0] / prefix).is_dir() else "unknown"


def include_faults(root):
    faults = []
    for name, (folder, _, _) in LAYERS.items():
        for path in sorted((root / folder).glob("**/*")):
            if path.suffix not in (".h", ".cpp") or not path.is_file():
                continue
            own = layer_of_file(root, path)
            if own != name:
                continue  # a folder nested in another layer's is checked as its own
            allowed = LAYERS[own][2] | {own}
            for header in INCLUDE.findall(path.read_text(encoding="utf-8")):
                rel = path.relative_to(root)
                if ".." in header:
                    faults.append(f"{rel}: reaches out with {header}")
                    continue
                layer = layer_of_header(root, header, own)
                if layer not in allowed:
                    faults.append(f"{rel} ({own}) includes {header} ({layer})")
    return faults


def link_faults(root):
    faults = []
    for name, (folder, _, below) in LAYERS.items():
        path = root / folder / "CMakeLists.txt"
        if not path.is_file():
            continue
        text = re.sub(r"#.*", "", path.read_text(encoding="utf-8"))
        for _, items in LINK.findall(text):
            for item in items.split():
                layer = LIBRARY_LAYER.get(item)
                if layer is not None and layer != name and layer not in below:
                    faults.append(f"{path.relative_to(root)} ({name}) links {item} ({layer})")
    return faults


def main(argv):
    root = pathlib.Path(argv[1]).resolve() if len(argv) > 1 else pathlib.Path(__file__).resolve().parents[2]
    faults = include_faults(root) + link_faults(root)
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) or link(s) against the layer order")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
