#!/usr/bin/env python3
"""Fails when a file includes a header of a layer above its own.

The layers, lowest first: the failure report, platform, math, then the
rasterizers and the models side by side, render, app, cli. A file may include
its own layer's headers and those of the layers it stands on, nothing else.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]

# Each layer's folder and the layers whose headers it may include.
LAYERS = {
    "fail": ("platform/fail", set()),
    "platform": ("platform", {"fail"}),
    "math": ("src/math", {"fail"}),
    "raster": ("src/raster", {"math", "platform", "fail"}),
    "model": ("src/model", {"math", "platform", "fail"}),
    "render": ("src/render", {"raster", "model", "math", "platform", "fail"}),
    "app": ("src/app", {"render", "raster", "model", "math", "platform", "fail"}),
    "cli": ("src/cli", {"app", "render", "raster", "model", "math", "platform", "fail"}),
}
# The failure report's public headers live under the platform/ prefix.
FAIL_HEADERS = {"platform/fail.h", "platform/checked_array.h"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def layer_of_file(path):
    rel = path.relative_to(ROOT).as_posix()
    best = None
    for name, (folder, _) in LAYERS.items():
        if rel.startswith(folder + "/") and (best is None or len(folder) > len(LAYERS[best][0])):
            best = name
    return best


def layer_of_header(header, own):
    if header in FAIL_HEADERS:
        return "fail"
    prefix = header.split("/", 1)[0] if "/" in header else None
    if prefix is None:
        return own  # a private header of the same folder
    if prefix in LAYERS:
        return prefix
    # A private header in a subfolder of the layer's own folder.
    return own if (ROOT / LAYERS[own][0] / prefix).is_dir() else "unknown"


def main():
    faults = []
    for path in sorted(ROOT.glob("platform/**/*")) + sorted(ROOT.glob("src/**/*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        own = layer_of_file(path)
        allowed = LAYERS[own][1] | {own}
        for header in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if ".." in header:
                faults.append(f"{path.relative_to(ROOT)}: reaches out with {header}")
                continue
            layer = layer_of_header(header, own)
            if layer not in allowed:
                faults.append(f"{path.relative_to(ROOT)} ({own}) includes {header} ({layer})")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) against the layer order")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
