#!/usr/bin/env python3
"""Plans and checks the demo tour (res/demo/tour.txt) with a model of the player's camera.

    tools/tour_sim.py write [--every N]      plan the tour and write res/demo/tour.txt
    tools/tour_sim.py check [SCRIPT] [--every N] [--at F1,F2,...]
                                             play a script and print where the camera goes

Both print the camera's position, heading and pitch every N frames, and warn where the eye
stands over a wall or comes close to one. The camera is modelled in double precision, so
positions drift from the program's by small amounts: the program itself
(`mazewalk --headless --demo --frames N`, third status line) has the last word.

Headings are in degrees, 0 towards -z (up the maze map), 90 towards +x (right on the map).

The model is the free camera of fly mode, which the tour turns on with F in its first frame:
no gravity, W carries the eye along the view. Scripts that walk are not modelled.
"""

import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from assetgen import maze, mazemap  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOUR = os.path.join(REPO, "res", "demo", "tour.txt")
KEYS = {"ESC": 1, "1": 2, "2": 3, "3": 4, "4": 5, "W": 17, "S": 31, "A": 30, "D": 32, "M": 50,
        "SPACE": 57, "F": 33, "C": 46, "R": 19, "HOME": 71}
NAMES = {code: name for name, code in KEYS.items()}
SCR_W, SCR_H = 640, 480
SCR_W2, SCR_H2 = SCR_W // 2, SCR_H // 2
PIXELS_PER_RADIAN = 250
SPEED = 15.0
EYE = 4.0
PROBE = 100.0
DT = 16.667 / 1000
CLEARANCE = 3.0   # walls closer than this beside the eye are cut by the near plane


def add(a, b): return tuple(x + y for x, y in zip(a, b))
def sub(a, b): return tuple(x - y for x, y in zip(a, b))
def mul(a, s): return tuple(x * s for x in a)
def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def norm(a):
    m = math.sqrt(sum(x * x for x in a))
    return mul(a, 1 / m) if m else a


def angle_diff(target, now):
    """target - now in degrees, folded into -180..180."""
    return (target - now + 180) % 360 - 180


class Player:
    """The camera, the movement keys and the ground probe, one frame at a time."""

    def __init__(self):
        with open(os.path.join(REPO, "res", "model", "maze.obj")) as f:
            self.probe = mazemap.Probe(*mazemap.read_model(f.read()))
        spans = maze.slot_spans()
        self.walls = [(spans[sx][0], spans[sx][1], spans[sz][0], spans[sz][1])
                      for sx, sz in maze.solid_slots(maze.carve())]
        self.r, self.u, self.f, self.p = (1, 0, 0), (0, 1, 0), (0, 0, 1), (0, 50, 0)
        self.rotate(1, 1, 1)
        self.frame = 0
        self.ground = None
        self.switches = {"wire frame": False, "textures": True, "half resolution": True,
                         "anti-aliasing": True}
        self.last_warning = None

    def rotate(self, x, y, z):
        f = norm(add(mul(self.f, math.cos(x)), mul(self.u, math.sin(x))))
        u = mul(cross(f, self.r), -1)
        f = norm(sub(mul(f, math.cos(y)), mul(self.r, math.sin(y))))
        r = cross(f, u)
        r = norm(add(mul(r, math.cos(z)), mul(u, math.sin(z))))
        self.u = mul(cross(f, r), -1)
        self.r, self.f = r, f

    def heading(self):
        return math.degrees(math.atan2(self.f[0], -self.f[2]))

    def pitch(self):
        return math.degrees(math.asin(max(-1.0, min(1.0, self.f[1]))))

    def gap(self):
        """Horizontal distance from the eye to the nearest wall."""
        x, z = self.p[0], self.p[2]
        return min(math.hypot(max(x0 - x, 0, x - x1), max(z0 - z, 0, z - z1))
                   for x0, x1, z0, z1 in self.walls)

    def step(self, mouse, held):
        """One frame with the pointer at MOUSE and the scan codes HELD down."""
        self.frame += 1
        frame_time = 0.0 if self.frame == 1 else -DT
        mx, my = mouse if 0 <= mouse[0] < SCR_W and 0 <= mouse[1] < SCR_H else (-1, -1)
        # Mouse look with the roll correction, then the pointer is centred again.
        self.rotate((SCR_H2 - my) / PIXELS_PER_RADIAN, (SCR_W2 - mx) / PIXELS_PER_RADIAN,
                    -self.r[1])
        names = {KEYS["1"]: "wire frame", KEYS["2"]: "textures", KEYS["3"]: "half resolution",
                 KEYS["4"]: "anti-aliasing"}
        for code, name in names.items():
            if code in held:
                self.switches[name] = not self.switches[name]
                print(f"{self.frame:5d} {name} {'on' if self.switches[name] else 'off'}")
        move = mul(self.f, SPEED)
        side = mul(self.r, SPEED)
        if KEYS["W"] in held: self.p = sub(self.p, mul(move, frame_time))
        if KEYS["S"] in held: self.p = add(self.p, mul(move, frame_time))
        if KEYS["A"] in held: self.p = add(self.p, mul(side, frame_time))
        if KEYS["D"] in held: self.p = sub(self.p, mul(side, frame_time))
        hit = self.probe.first_hit(self.p[0], self.p[2])
        self.ground = None
        if hit is not None and self.p[1] - PROBE <= hit[1] <= self.p[1]:
            self.ground = hit[1]
            if self.p[1] < self.ground + EYE:
                self.p = (self.p[0], self.ground + EYE, self.p[2])
        self.warn()

    def warn(self):
        """Reports each stretch of frames where the eye stands on a wall or close to one."""
        warning = None
        if self.ground is not None and self.ground >= maze.WALL_HEIGHT - 0.01:
            warning = "the eye is on a wall"
        elif self.gap() < CLEARANCE and self.p[1] < maze.WALL_HEIGHT:
            warning = "the eye is close to a wall"
        if warning and warning != self.last_warning:
            print(f"{self.frame:5d} WARNING {warning} (gap {self.gap():.2f})")
        self.last_warning = warning

    def report(self, held=()):
        ground = "-" if self.ground is None else f"{self.ground:5.2f}"
        keys = " ".join(NAMES.get(k, str(k)) for k in sorted(held))
        print(f"{self.frame:5d} P=({self.p[0]:8.3f},{self.p[1]:7.3f},{self.p[2]:8.3f}) "
              f"heading {self.heading():8.2f} pitch {self.pitch():7.2f} ground {ground} "
              f"gap {self.gap():5.2f} {keys}")


CORRIDOR_X = 24       # the middle of the corridor (x 19..29)
CORRIDOR_DEPTH = 10   # how far north up the corridor the tour walks, short of a cube in it
TURN_FRAMES = 24      # frames for a turn of up to a quarter circle
STATE_FRAMES = 120    # frames with a switch flipped away from its usual state
BETWEEN_FRAMES = 30   # frames in the usual state between two switches


class Planner:
    """Builds the script block by block while the model plays it, so that every turn aims at
    an absolute heading and pitch from where the camera really is."""

    def __init__(self, every):
        self.player = Player()
        self.lines = []
        self.held = set()
        self.every = every
        self.open_block = None

    @property
    def next_frame(self):
        return self.player.frame + 1

    def block(self, text):
        """Starts a block of events under a comment that names its frames."""
        self.close_block()
        self.open_block = (len(self.lines) + 1, self.next_frame)
        self.lines += ["", "", *("# " + line for line in text.strip().splitlines())]
        print(f"{self.next_frame:5d} -- {text.strip().splitlines()[0]}")

    def close_block(self):
        if self.open_block:
            at, first = self.open_block
            last = self.player.frame
            span = f"frame {first}" if last <= first else f"frames {first}-{last}"
            self.lines[at] = f"# {span}"
            self.open_block = None

    def emit(self, frame, event):
        self.lines.append(f"{frame:<6d}{event}")

    def play(self, mouse=(SCR_W2, SCR_H2)):
        if mouse != (SCR_W2, SCR_H2):
            self.emit(self.next_frame, f"mouse {mouse[0]} {mouse[1]}")
        self.player.step(mouse, self.held)
        if self.player.frame % self.every == 0:
            self.player.report(self.held)

    def down(self, key):
        self.emit(self.next_frame, f"down {key}")
        self.held.add(KEYS[key])

    def up(self, key):
        self.emit(self.next_frame, f"up {key}")
        self.held.discard(KEYS[key])

    def wait(self, frames):
        for _ in range(frames):
            self.play()

    def face(self, heading, pitch, frames):
        """Turns to HEADING and PITCH (degrees) over FRAMES frames: each frame aims at the
        point of an even turn that the camera should have reached by its end."""
        yaw_total = angle_diff(heading, self.player.heading())
        start_heading, start_pitch = self.player.heading(), self.player.pitch()
        for k in range(1, frames + 1):
            want_heading = start_heading + yaw_total * k / frames
            want_pitch = start_pitch + (pitch - start_pitch) * k / frames
            # Looking up or down, a turn about the camera's own up axis swings the heading
            # faster, by about 1 / cos(pitch).
            yaw = math.radians(angle_diff(want_heading, self.player.heading()))
            yaw *= math.cos(math.radians(self.player.pitch()))
            dx = round(yaw * PIXELS_PER_RADIAN)
            dy = round(math.radians(want_pitch - self.player.pitch()) * PIXELS_PER_RADIAN)
            mx, my = SCR_W2 + dx, SCR_H2 - dy
            if not (0 <= mx < SCR_W and 0 <= my < SCR_H):
                raise SystemExit(f"frame {self.next_frame}: turn too fast for the window")
            self.play((mx, my))

    def face_point(self, x, z, pitch, frames):
        """Turns to look at the point (x, z) of the floor plan."""
        here = self.player.p
        self.face(math.degrees(math.atan2(x - here[0], here[2] - z)), pitch, frames)

    def walk_until(self, done, limit=2000, held=False):
        """Holds W until DONE(player) is true; the frame where it is true is the last one held.
        HELD: W is down already."""
        if not held:
            self.down("W")
        for _ in range(limit):
            self.play()
            if done(self.player):
                break
        else:
            raise SystemExit("walked too long")
        self.up("W")

    def tap(self, key):
        """Holds KEY for exactly one frame: one flip of a switch."""
        self.down(key)
        self.play()
        self.up(key)

    def text(self):
        self.close_block()
        return "\n".join(self.lines).lstrip("\n") + "\n"


def plan_tour(p):
    """The tour, as the blocks a reader of tour.txt sees."""
    p.lines += [
        "# The demo tour: a scripted walk through the maze, played by --demo and, once per",
        "# render mode, by --bench (which leaves out the switch keys 1 to 4). Written by",
        "# tools/tour_sim.py write; the comment over each block says what it does.",
        "#",
        "# Directions as on the maze map (tools/make_assets.py --map): +x to the right (east),",
        "# +z down (south). A mouse event turns the camera in that one frame by",
        "# (240 - y) / 250 radians up and (320 - x) / 250 radians to the left; then the",
        "# pointer is centred again. F in the first frame turns fly mode on: W then moves",
        "# 15 units a second along the view, climbing or descending with it, nothing pulls",
        "# the eye down, and the ground probe keeps it at least 4 above the floor.",
        "#",
        "# frame event  arguments",
    ]
    p.block("Start 50 units above the room, looking up and to the west, the view tilted.\n"
            "F turns fly mode on. The pointer stays centred while the roll correction sets\n"
            "the view upright.")
    p.tap("F")
    p.wait(7)
    p.block("Turn to face west and look steeply down.")
    p.face(-90, 0, 10)
    p.face(-90, -80, 20)
    p.block("Descend: walk forward, looking down, until the ground probe holds the eye\n"
            "4 units above the room's floor.")
    p.walk_until(lambda s: s.p[1] <= EYE + 0.001)
    p.block("Raise the eyes and turn left, round to a view across the room to the\n"
            "south-east: the ramp, the platform and the step, cubes and UFOs.")
    p.face(125, 0, 50)
    p.wait(10)
    p.block("Turn right to face south: the ramp (x -7..7, z 7..17) starts on the left.")
    p.face(180, -5, TURN_FRAMES)
    p.block("Walk south beside the foot of the ramp.")
    p.walk_until(lambda s: s.p[2] >= 12)
    p.block("Turn left to face east, up the ramp.")
    p.face(90, -5, TURN_FRAMES)
    p.block("Walk up the ramp (rising from 0 at x -7 to 3.5 at x 7) onto the platform\n"
            "(x and z 7..17, top 3.5); the ground probe lifts the eye.")
    p.walk_until(lambda s: s.p[0] >= 12)
    p.block("Turn left to face north, towards the step.")
    p.face(0, -5, TURN_FRAMES)
    p.block("Walk north towards the platform's edge.")
    p.walk_until(lambda s: s.p[2] <= 9.5)
    p.block("Look down at the step (z 5..7, top 1.75) while walking on: off the platform,\n"
            "onto the step, and down to the floor.")
    p.down("W")
    p.face(0, -45, 10)
    p.walk_until(lambda s: s.p[1] <= EYE + 0.001, held=True)
    p.block("Raise the eyes and turn right, towards the middle of the room's east\n"
            "opening (z -5..5) and the corridor beyond it (x 19..29).")
    p.face_point(CORRIDOR_X, -1.5, -5, TURN_FRAMES)
    p.block("Walk east through the opening into the corridor.")
    p.walk_until(lambda s: s.p[0] >= CORRIDOR_X)
    p.block("Turn left to face north (-z), up the long corridor.")
    p.face(0, -5, TURN_FRAMES)
    p.block("Walk north up the corridor.")
    p.walk_until(lambda s: s.p[2] <= -CORRIDOR_DEPTH)
    p.block("Turn round.")
    p.face(180, -5, 40)
    p.block("Walk back south to the corner.")
    p.walk_until(lambda s: s.p[2] >= 0)
    p.block("Turn right to face west, back into the room.")
    p.face(-90, -5, TURN_FRAMES)
    p.block("Walk west through the opening into the room.")
    p.walk_until(lambda s: s.p[0] <= 10)
    p.block("Look up and round at the spinning cubes and UFOs: a full circle to the left.")
    for heading in (-150, 150, 90, 30, -30, -90):
        p.face(heading, 15, 22)
    p.block("Turn to a view across the room to the north-west: floor, walls and objects.")
    p.face(-55, 8, 25)
    toggle_pairs = [
        ("1", "wire frame on: outlines only", "wire frame off again"),
        ("2", "textures off: flat colours", "textures on again"),
        ("3", "half resolution off: drawn at full size", "half resolution on again"),
        ("4", "anti-aliasing off: no 2 x 2 averaging", "anti-aliasing on again"),
    ]
    heading = -55
    for key, on_text, off_text in toggle_pairs:
        p.block(f"Key {key}, {on_text}. The key is held for exactly one frame,\n"
                "so the switch flips once; the view keeps turning slowly to the right.")
        p.tap(key)
        heading += 8
        p.face(heading, 8, STATE_FRAMES - 1)
        p.block(f"Key {key} again, {off_text}.")
        p.tap(key)
        heading += 3
        p.face(heading, 8, BETWEEN_FRAMES - 1)
    p.block("Quit with Escape: the program finishes this frame and ends.")
    p.down("ESC")
    p.play()


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("mode", choices=("write", "check"))
    ap.add_argument("script", nargs="?", default=TOUR)
    ap.add_argument("--every", type=int, default=50)
    ap.add_argument("--at", default="")
    args = ap.parse_args()

    if args.mode == "write":
        planner = Planner(args.every)
        plan_tour(planner)
        os.makedirs(os.path.dirname(TOUR), exist_ok=True)
        with open(TOUR, "w") as f:
            f.write(planner.text())
        print(f"wrote {TOUR}: {planner.player.frame} frames")
        return

    at = {int(a) for a in args.at.split(",") if a}
    events = []
    with open(args.script) as f:
        for line in f:
            words = line.split("#")[0].split()
            if words:
                events.append((int(words[0]), words[1], words[2:]))
    events.sort(key=lambda e: e[0])
    last_frame = events[-1][0] if events else 1
    player, held, i = Player(), set(), 0
    while True:
        frame, mouse = player.frame + 1, (SCR_W2, SCR_H2)
        while i < len(events) and events[i][0] <= frame:
            _, kind, rest = events[i]
            i += 1
            if kind == "mouse":
                mouse = (int(rest[0]), int(rest[1]))
            elif kind == "down":
                held.add(KEYS[rest[0].upper()])
            else:
                held.discard(KEYS[rest[0].upper()])
        player.step(mouse, held)
        done = KEYS["ESC"] in held or frame >= last_frame
        if frame % args.every == 0 or frame in at or done:
            player.report(held)
        if done:
            break


if __name__ == "__main__":
    main()
