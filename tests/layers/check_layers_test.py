#!/usr/bin/env python3
"""The layer check itself: a tree in order passes, and an upward include, an
upward link and a benchmark reaching a private header each fail it."""
import pathlib
import shutil
import subprocess
import sys
import tempfile

CHECK = pathlib.Path(__file__).resolve().with_name("check_layers.py")


def tree(files):
    root = pathlib.Path(tempfile.mkdtemp(prefix="mw_layers_"))
    for name, text in files.items():
        (root / name).parent.mkdir(parents=True, exist_ok=True)
        (root / name).write_text(text)
    return root


def faults(files):
    root = tree(files)
    run = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
    shutil.rmtree(root)
    return run.returncode, run.stdout


IN_ORDER = {
    "src/base/image.cpp": '#include "base/image.h"\n',
    "src/math/vec.cpp": '#include "base/fail.h"\n#include "math/vec.h"\n',
    "src/math/CMakeLists.txt": "target_link_libraries(mw_math PUBLIC mw_base)\n",
    "platform/CMakeLists.txt": "target_link_libraries(mw_platform PUBLIC mw_base)\n"
                               "target_link_libraries(mw_platform PRIVATE PkgConfig::SDL2)\n",
    "bench/bench_math.cpp": '#include "math/vec.h"\n',
}
CASES = [
    ("nothing against the order", {}, 0, "0 include(s)"),
    ("base includes math", {"src/base/line.cpp": '#include "math/vec.h"\n'}, 1,
     "src/base/line.cpp (base) includes math/vec.h (math)"),
    ("math includes the hosts", {"src/math/vec.cpp": '#include "platform/screen.h"\n'}, 1,
     "(math) includes platform/screen.h (platform)"),
    ("model links platform", {"src/model/CMakeLists.txt":
                              "target_link_libraries(mw_model PUBLIC\n  mw_math mw_platform)\n"}, 1,
     "src/model/CMakeLists.txt (model) links mw_platform (platform)"),
    ("a link in a comment", {"src/base/CMakeLists.txt": "# target_link_libraries(mw_base mw_app)\n"}, 0,
     "0 include(s)"),
    ("bench reaches out", {"bench/bench_raster.cpp": '#include "../src/raster/tri_walk.h"\n'}, 1,
     "reaches out with"),
]

failed = 0
for name, planted, status, expected in CASES:
    code, out = faults({**IN_ORDER, **planted})
    if code != status or expected not in out:
        failed += 1
        print(f"FAIL {name}: status {code}, output:\n{out}")
print(f"{len(CASES) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
