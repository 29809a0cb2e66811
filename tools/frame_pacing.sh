#!/usr/bin/env bash
# Frame pacing of the real window under Xvfb: runs PROGRAM for about SECONDS
# (at least 7), measures the last SECONDS - 2 of them, notes the
# moment of every present (a small preloaded library wraps SDL's present calls,
# so any build can be measured, old or new), reads the FPS line off the window
# during the last seconds, and prints the frame-interval median and spread.
#   tools/frame_pacing.sh PROGRAM [SECONDS] [default|anti-alias]
# A benchmark, not a test: run it before and after a change on the same machine
# and note the load (uptime).
set -euo pipefail
PROGRAM=$(realpath "$1")
SECONDS_RUN=${2:-20}
MODE=${3:-default}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cat >"$WORK/present_log.c" <<'C'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static FILE* out;
static void note(void) {
  if (!out) {
    const char* path = getenv("PACING_LOG");
    out = fopen(path ? path : "/dev/null", "w");
    if (!out) return;
  }
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  fprintf(out, "%lld.%09ld\n", (long long)t.tv_sec, t.tv_nsec);
  fflush(out);
}
void SDL_RenderPresent(void* renderer) {
  static void (*real)(void*);
  if (!real) real = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
  real(renderer);
  note();
}
int SDL_UpdateWindowSurface(void* window) {
  static int (*real)(void*);
  if (!real) real = (int (*)(void*))dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface");
  const int result = real(window);
  note();
  return result;
}
C
cc -shared -fPIC -O2 -o "$WORK/present_log.so" "$WORK/present_log.c" -ldl

cat >"$WORK/drive.sh" <<'INNER'
#!/usr/bin/env bash
set -u
PROGRAM=$1; ROOT=$2; SECONDS_RUN=$3; MODE=$4; WORK=$5
. "$ROOT/tests/e2e/x11.sh"
cd "$WORK"
PACING_LOG="$WORK/presents.txt" LD_PRELOAD="$WORK/present_log.so" "$PROGRAM" --res "$ROOT" --seed 7 \
  >/dev/null 2>"$WORK/stderr.txt" &
PID=$!
WID=$(find_window '^mazewalk' 200)
[ -z "$WID" ] && { echo "no window"; cat "$WORK/stderr.txt"; kill $PID; exit 1; }
xdotool windowfocus "$WID" 2>/dev/null
sleep 1
xdotool mousemove_relative -- 0 150  # look at the maze rather than the sky
[ "$MODE" = "anti-alias" ] && { sleep 0.5; xdotool key 3; }  # half-resolution off
sleep 1
read -r START _ </proc/uptime  # the monotonic clock, as the presents are noted
sleep "$((SECONDS_RUN - 5))"
for I in 1 2 3 4 5; do xwd -id "$WID" -silent >"$WORK/fps$I.xwd"; sleep 1; done
read -r END _ </proc/uptime
echo "$START $END" >"$WORK/marks.txt"
xdotool key Escape
wait_gone $PID 100 || kill $PID 2>/dev/null
true
INNER
chmod +x "$WORK/drive.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$WORK/drive.sh" "$PROGRAM" "$ROOT" "$SECONDS_RUN" "$MODE" "$WORK"

python3 - "$WORK" "$ROOT" <<'PY'
import pathlib, re, statistics, sys
work, root = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
sys.path.insert(0, str(root / "tests" / "e2e"))
from shots import read_xwd

# The built-in font, to read the FPS line (row 2) off the window.
glyphs = {}
source = (root / "platform" / "font8x8.cpp").read_text()
for i, m in enumerate(re.finditer(r"\{((?:0x[0-9A-Fa-f]{2},?\s*){8})\}", source)):
    glyphs[tuple(int(v, 16) for v in re.findall(r"0x[0-9A-Fa-f]{2}", m.group(1)))] = chr(32 + i)

def text_row(shot, row):
    chars = []
    for cell in range(shot.width // 8):
        bits = tuple(sum(0x80 >> b for b in range(8) if shot.at(cell * 8 + b, row * 8 + r) == 0xC0C0C0)
                     for r in range(8))
        chars.append(glyphs.get(bits, "?"))
    return "".join(chars).rstrip()

fps_lines = [text_row(read_xwd(p), 1) for p in sorted(work.glob("fps*.xwd"))]
start, end = (float(v) for v in (work / "marks.txt").read_text().split())
times = [float(t) for t in (work / "presents.txt").read_text().split()]
times = [t for t in times if start <= t <= end]  # the measured stretch only
gaps = [(b - a) * 1000.0 for a, b in zip(times, times[1:])]
gaps.sort()
def pct(p):
    return gaps[min(len(gaps) - 1, int(p * (len(gaps) - 1) + 0.5))]
print(f"FPS lines read off the window: {', '.join(fps_lines)}")
print(f"presents: {len(times)} over {times[-1] - times[0]:.1f} s = {(len(times) - 1) / (times[-1] - times[0]):.1f} per second")
print(f"frame interval ms: median {statistics.median(gaps):.2f}, p5 {pct(0.05):.2f}, p95 {pct(0.95):.2f}, "
      f"max {gaps[-1]:.2f}, stdev {statistics.pstdev(gaps):.2f}; over 20 ms: {sum(g > 20 for g in gaps)}")
PY
